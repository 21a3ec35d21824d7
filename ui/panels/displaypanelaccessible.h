#pragma once

#include <QAccessibleWidget>

#include <array>

class CDisplayPanel;

// What a screen reader finds on the painted instrument face: the panel, named
// "Instrument display", with one read-only text for each figure it shows
// (reading, unit, mode, emissivity, maximum, minimum), each named after the
// figure and valued with what the face shows now, beside the panel's real
// controls (the sample-rate selector).
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

    static constexpr int kFields = 6;
    mutable std::array<QAccessible::Id, kFields> m_fields{};
};
