#include "cli/recordpublisher.h"

#include "cli/clitext.h"
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
        m_session.warn(Cli::tr("the broker has been away so long that %1 readings wait for it; "
                               "the oldest go")
                           .arg(capacity)
                           .toStdString());
    });
}

void RecordPublisher::start() {
    m_session.tell(Cli::tr("Publishing to %1.").arg(m_publisher.brokerName()).toStdString());
    m_publisher.start();
}

bool RecordPublisher::stop() {
    const std::size_t unsent = m_publisher.stop();
    if (unsent > 0) {
        const QString broker = m_publisher.brokerName();
        const QString text =
            unsent == 1
                ? (m_bRefused ? Cli::tr("1 message was not published: the broker %1 refused the "
                                        "user name or password")
                              : Cli::tr("1 message was not published: the broker %1 is away"))
                      .arg(broker)
                : (m_bRefused ? Cli::tr("%1 messages were not published: the broker %2 refused "
                                        "the user name or password")
                              : Cli::tr("%1 messages were not published: the broker %2 is away"))
                      .arg(QString::number(unsent), broker);
        printWarning(text.toStdString());
    }
    return !m_bRefused || m_publisher.acknowledged() > 0;
}

void RecordPublisher::onRefused(const QString& reason) {
    m_bRefused = true;
    m_session.error(Cli::tr("the broker %1 refused the user name or password (%2); nothing more "
                            "is published this run")
                        .arg(m_publisher.brokerName(), reason)
                        .toStdString());
    m_session.setStatusNote(Cli::tr("broker refused the login").toStdString());
}

void RecordPublisher::onLost(const QString& reason) {
    m_bWasAway = true;
    m_session.warn(Cli::tr("the broker %1 cannot be reached (%2); readings wait until it is back")
                       .arg(m_publisher.brokerName(), reason)
                       .toStdString());
    m_session.setStatusNote(Cli::tr("broker away").toStdString());
}

void RecordPublisher::onConnected() {
    m_session.setStatusNote({});
    if (!m_bWasAway)
        return;
    m_bWasAway = false;
    m_session.tell("The broker " + m_publisher.brokerName().toStdString() +
                   " is back; what waited follows.");
}
