#pragma once

#include <QAccessible>
#include <QElapsedTimer>
#include <QString>
#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qplatformaccessibility.h>
#include <QtGui/qpa/qplatformintegration.h>

#include <vector>

// Plays the screen reader in-process: while it lives the accessibility layer is
// on, as when a reader listens on the bus, and every event the window sends
// is kept with the role and name of its source as they were then.
struct ScreenReader {
    struct Heard {
        QAccessible::Event type;
        QAccessible::Role role;
        QString name;
        QString inserted; // the new text of a text change
        qint64 ms;        // since the reader started
    };

    ScreenReader() {
        s_reader = this;
        m_clock.start();
        QAccessible::installUpdateHandler(&hear);
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
    }
    ~ScreenReader() {
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(false);
        QAccessible::installUpdateHandler(nullptr);
        s_reader = nullptr;
    }

    std::vector<Heard> heard;

private:
    static void hear(QAccessibleEvent* event) {
        QAccessibleInterface* source = event->accessibleInterface();
        if (!s_reader || !source)
            return;
        QString inserted;
        if (event->type() == QAccessible::TextUpdated)
            inserted = static_cast<QAccessibleTextUpdateEvent*>(event)->textInserted();
        s_reader->heard.push_back({event->type(), source->role(), source->text(QAccessible::Name),
                                   inserted, s_reader->m_clock.elapsed()});
    }

    static inline ScreenReader* s_reader = nullptr;
    QElapsedTimer m_clock;
};
