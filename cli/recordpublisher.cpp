#include "cli/recordpublisher.h"

#include "cli/exitstatus.h"
#include "cli/recordsession.h"

#include <QFile>

#include <cstdio>

Result<BrokerUrl> brokerFromOptions(const QString& url, const QString& user,
                                    const std::optional<std::string>& password) {
    Result<BrokerUrl> broker = parseBrokerUrl(url.toStdString());
    if (!broker)
        return broker;
    if (!user.isEmpty()) {
        broker->user = user.toStdString();
        if (!isValidUtf8(broker->user))
            return Failure{std::string("--mqtt-user is not valid UTF-8 text")};
    }
    if (password)
        broker->password = *password;
    if (!broker->password.empty() && broker->user.empty())
        return Failure{std::string("a password for the broker needs a user: give --mqtt-user")};
    return broker;
}

RecordPublisher::RecordPublisher(BrokerUrl url, RecordSession& session, QObject* parent)
    : QObject(parent), m_session(session), m_publisher(std::move(url)) {
    m_publisher.follow(session.recorder(), [&session] { return session.lastRowRecorded(); });
    connect(&session.line(), &InstrumentLine::lost, &m_publisher,
            [this] { m_publisher.setLineWaiting(true); });
    connect(&session.line(), &InstrumentLine::reconnected, &m_publisher,
            [this] { m_publisher.setLineWaiting(false); });
    connect(&m_publisher, &MqttPublisher::brokerLost, this, &RecordPublisher::onLost);
    connect(&m_publisher, &MqttPublisher::brokerConnected, this, &RecordPublisher::onConnected);
    connect(&m_publisher, &MqttPublisher::credentialsRefused, this, &RecordPublisher::onRefused);
    connect(&m_publisher, &MqttPublisher::queueOverflowing, this, [this](qsizetype capacity) {
        m_session.warn("the broker has been away so long that " + std::to_string(capacity) +
                       " readings wait for it; the oldest go");
    });
}

void RecordPublisher::start() {
    std::fprintf(stderr, "Publishing to %s.\n", qPrintable(m_publisher.brokerName()));
    m_publisher.start();
}

bool RecordPublisher::stop() {
    const std::size_t unsent = m_publisher.stop();
    if (unsent > 0)
        printWarning(std::to_string(unsent) + " message" + (unsent == 1 ? " was" : "s were") +
                     " not published: the broker " + m_publisher.brokerName().toStdString() +
                     (m_bRefused ? " refused the user name or password" : " is away"));
    return !m_bRefused || m_publisher.acknowledged() > 0;
}

void RecordPublisher::onRefused(const QString& reason) {
    m_bRefused = true;
    m_session.error("the broker " + m_publisher.brokerName().toStdString() +
                    " refused the user name or password (" + reason.toStdString() +
                    "); nothing more is published this run");
    m_session.setStatusNote("broker refused the login");
}

void RecordPublisher::onLost(const QString& reason) {
    m_bWasAway = true;
    m_session.warn("the broker " + m_publisher.brokerName().toStdString() + " cannot be reached (" +
                   reason.toStdString() + "); readings wait until it is back");
    m_session.setStatusNote("broker away");
}

void RecordPublisher::onConnected() {
    m_session.setStatusNote({});
    if (!m_bWasAway)
        return;
    m_bWasAway = false;
    m_session.tell("The broker " + m_publisher.brokerName().toStdString() +
                   " is back; what waited follows.");
}
