#include "ui/window/desktopnotifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

#include <utility>

namespace {

constexpr const char* kService = "org.freedesktop.Notifications";
constexpr const char* kPath = "/org/freedesktop/Notifications";
// A service that does not answer within this time is given up on.
constexpr int kCallTimeoutMs = 5000;

} // namespace

DesktopNotifier::DesktopNotifier(QDBusConnection bus, QObject* parent)
    : QObject(parent), m_bus(std::move(bus)) {}

void DesktopNotifier::notify(const QString& summary, const QString& body, Urgency urgency) {
    if (!m_bus.isConnected())
        return;
    if (m_bWaiting) {
        // The id of the notification to replace is not known yet: only the
        // latest state is sent once it is.
        m_next = Pending{summary, body, urgency};
        return;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(QLatin1String(kService), QLatin1String(kPath),
                                       QLatin1String(kService), QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(static_cast<uchar>(urgency)));
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("orvane"));
    // A critical notification stays until it is replaced or closed.
    const int expireMs = urgency == Urgency::Critical ? 0 : -1;
    call << QStringLiteral("Orvane") << m_nId << QStringLiteral("orvane") << summary << body
         << QStringList() << hints << expireMs;
    m_bWaiting = true;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* finished) {
                const QDBusPendingReply<uint> reply = *finished;
                finished->deleteLater();
                // No service, or one that failed: nothing to tell anybody.
                if (!reply.isError())
                    m_nId = reply.value();
                m_bWaiting = false;
                if (m_next) {
                    const Pending next = *std::exchange(m_next, std::nullopt);
                    notify(next.summary, next.body, next.urgency);
                }
            });
}
