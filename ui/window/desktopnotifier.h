#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <optional>

// Desktop notifications through the freedesktop.org Notifications service on
// the session bus. Each notification replaces the one shown before, so a
// state that changes is one notification on the desktop, not a pile. Nothing
// waits for the service: without a bus or a service nothing is shown and
// nothing is reported.
class DesktopNotifier : public QObject {
    Q_OBJECT
public:
    enum class Urgency : uchar { Low = 0, Normal = 1, Critical = 2 };

    explicit DesktopNotifier(QDBusConnection bus = QDBusConnection::sessionBus(),
                             QObject* parent = nullptr);

    void notify(const QString& summary, const QString& body, Urgency urgency);

private:
    struct Pending {
        QString summary;
        QString body;
        Urgency urgency = Urgency::Normal;
    };

    QDBusConnection m_bus;
    uint m_nId = 0;          // the service's id of the notification on show
    bool m_bWaiting = false; // a Notify call has not answered yet
    // Asked for while a call had not answered: sent when it has.
    std::optional<Pending> m_next;
};
