#include "cli/recordpublisher.h"

#include "cli/exitstatus.h"
#include "cli/recordsession.h"

#include <QFile>

#include <cstdio>

Result<BrokerUrl> brokerFromOptions(const QString& url, const QString& user,
                                    const QString& passwordFile) {
    Result<BrokerUrl> broker = parseBrokerUrl(url.toStdString());
    if (!broker)
        return broker;
    if (!user.isEmpty())
        broker->user = user.toStdString();
    if (!passwordFile.isEmpty()) {
        QFile file(passwordFile);
        if (!file.open(QIODevice::ReadOnly))
            return Failure{"cannot read the password file " + passwordFile.toStdString() + ": " +
                           file.errorString().toStdString()};
        QByteArray line = file.readLine();
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        broker->password = line.toStdString();
    }
    if (!broker->password.empty() && broker->user.empty())
        return Failure{std::string("a password for the broker needs a user: give --mqtt-user")};
    return broker;
}

RecordPublisher::RecordPublisher(BrokerUrl url, RecordSession& session, QObject* parent)
    : QObject(parent), m_session(session), m_publisher(std::move(url)) {
    m_publisher.follow(session.recorder());
    connect(&session.line(), &InstrumentLine::lost, &m_publisher,
            [this] { m_publisher.setLineWaiting(true); });
    connect(&session.line(), &InstrumentLine::reconnected, &m_publisher,
            [this] { m_publisher.setLineWaiting(false); });
    connect(&m_publisher, &MqttPublisher::brokerLost, this, &RecordPublisher::onLost);
    connect(&m_publisher, &MqttPublisher::brokerConnected, this, &RecordPublisher::onConnected);
    connect(&m_publisher, &MqttPublisher::queueOverflowing, this, [this](qsizetype capacity) {
        m_session.warn("the broker has been away so long that " + std::to_string(capacity) +
                       " readings wait for it; the oldest go");
    });
}

void RecordPublisher::start() {
    std::fprintf(stderr, "Publishing to %s.\n", qPrintable(m_publisher.brokerName()));
    m_publisher.start();
}

void RecordPublisher::stop() {
    const std::size_t unsent = m_publisher.stop();
    if (unsent > 0)
        printWarning(std::to_string(unsent) + " message" + (unsent == 1 ? " was" : "s were") +
                     " not published: the broker " + m_publisher.brokerName().toStdString() +
                     " is away");
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
