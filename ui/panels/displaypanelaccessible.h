#pragma once

#include "ui/panels/cdisplaypanel.h"

#include <QAccessibleWidget>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <array>

// What a screen reader finds on the painted instrument face: the panel, named
// "Instrument display", with one read-only text for each figure it shows,
// named with its caption and what the face shows ("Reading: 25.4 C"), its
// text the value alone, beside the panel's real controls (the "Time:" caption
// and the sample-rate selector, named "Sample rate" rather than after the
// rate it shows).
class DisplayPanelAccessible : public QAccessibleWidget {
public:
    explicit DisplayPanelAccessible(CDisplayPanel* panel);
    ~DisplayPanelAccessible() override;

    // The factory QAccessible asks for every object that has no interface yet.
    static QAccessibleInterface* create(const QString& className, QObject* object);

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

private:
    CDisplayPanel* panel() const;

    static constexpr int kFields = CDisplayPanel::kFigures;
    mutable std::array<QAccessible::Id, kFields> m_fields{};
};

// Tells screen readers what changed on the face, at most once a second: the
// instrument sends up to 17 readings a second, and a reader told of each would
// never fall silent. Each figure that changed since it was last told sends a
// text change and a name change; the clock and the data-input indicator,
// which change all the time, send none.
class FigureNotices : public QObject {
public:
    static constexpr int kGapMs = 1000;

    explicit FigureNotices(CDisplayPanel* panel);

    // Something on the face may have changed: told now, or as soon as a
    // second has passed since the last notice.
    void changed();

private:
    void send();

    CDisplayPanel* m_panel;
    QTimer m_timer;
    QElapsedTimer m_sinceSent;
    std::array<QString, CDisplayPanel::kFigures> m_told; // each figure's value as last told
};
