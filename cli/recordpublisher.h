#pragma once

#include "core/publish/brokerurl.h"
#include "engine/mqttpublisher.h"

#include <QObject>
#include <QString>

#include <optional>
#include <string>

class RecordSession;

// The broker --mqtt names, with the user and the password given apart:
// --mqtt-user replaces the URL's user, `password` (the first line of
// --mqtt-password-file) its password. Fails with the message for the command
// line.
Result<BrokerUrl> brokerFromOptions(const QString& url, const QString& user,
                                    const std::optional<std::string>& password);

// `orvane-cli record --mqtt`: publishes the samples the recording keeps and
// their alarm changes, "waiting" while the line is lost, and says on the
// standard error (and on the terminal's status line) when the broker is away
// or refuses the user name or password.
class RecordPublisher : public QObject {
    Q_OBJECT
public:
    RecordPublisher(BrokerUrl url, RecordSession& session, QObject* parent = nullptr);

    void start();
    // At the end of the recording: what waits is sent (a few seconds at
    // most), then "offline"; what the broker did not take is told. False
    // when the broker refused the login and took nothing.
    bool stop();

private:
    void onLost(const QString& reason);
    void onConnected();
    void onRefused(const QString& reason);

    RecordSession& m_session;
    MqttPublisher m_publisher;
    bool m_bWasAway = false;
    bool m_bRefused = false;
};
