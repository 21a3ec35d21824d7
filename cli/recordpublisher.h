#pragma once

#include "core/publish/brokerurl.h"
#include "engine/mqttpublisher.h"

#include <QObject>
#include <QString>

class RecordSession;

// The broker --mqtt names, with the user and the password given apart:
// --mqtt-user replaces the URL's user, the first line of --mqtt-password-file
// its password. Fails with the message for the command line.
Result<BrokerUrl> brokerFromOptions(const QString& url, const QString& user,
                                    const QString& passwordFile);

// `orvane-cli record --mqtt`: publishes what the recording commits and its
// alarm changes, "waiting" while the line is lost, and says on the standard
// error (and on the terminal's status line) when the broker is away.
class RecordPublisher : public QObject {
    Q_OBJECT
public:
    RecordPublisher(BrokerUrl url, RecordSession& session, QObject* parent = nullptr);

    void start();
    // At the end of the recording: what waits is sent (a few seconds at
    // most), then "offline"; what the broker did not take is told.
    void stop();

private:
    void onLost(const QString& reason);
    void onConnected();

    RecordSession& m_session;
    MqttPublisher m_publisher;
    bool m_bWasAway = false;
};
