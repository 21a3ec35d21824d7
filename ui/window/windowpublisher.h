#pragma once

#include "core/publish/publishsettings.h"
#include "core/store/alarmstate.h"

#include <QObject>
#include <QString>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class MqttPublisher;
class PasswordStore;
class QWidget;
class Recorder;

// The window's side of publishing: the settings of Tools > Publish... from the
// configuration file, a publisher that follows the live readings of the
// recorder while they are on, and what the message line must say about the
// broker. New settings never wait for the broker: the publisher of the old
// ones goes on in the background until its broker has taken what was queued
// for it.
class WindowPublisher : public QObject {
    Q_OBJECT
public:
    // Shows the settings to the user (the password too, when known); false
    // when cancelled.
    using Ask = std::function<bool(QWidget* parent, PublishSettings& settings)>;

    WindowPublisher(const Recorder& recorder, std::filesystem::path configFile,
                    QObject* parent = nullptr);
    ~WindowPublisher() override;

    // Tools > Publish...: asks, keeps and applies the settings.
    void configure(QWidget* parent);
    void setAsk(Ask ask) { m_ask = std::move(ask); }
    // Where the broker's password is kept.
    PasswordStore& passwords() { return *m_passwords; }

    // The line is open: what the recorder commits from now on is live (a
    // recording restored at start-up is not published again).
    void lineOpened();
    // The line is lost: the status says "waiting" until it is open again.
    void lineLost();

    const PublishSettings& settings() const { return m_settings; }
    bool publishing() const { return m_publisher != nullptr; }
    // Publishers of earlier settings still sending what was queued for them.
    std::size_t retiring() const { return m_retiring.size(); }

Q_SIGNALS:
    // For the message line's broker topic: a warning, or nothing to say.
    void brokerMessage(const QString& text);
    void brokerMessageCleared();
    // The settings or the password could not be kept.
    void settingsNotKept(const QString& reason);

private:
    void apply();
    // Keeps the password; with `rewrite`, then writes the settings again
    // without the password the URL held.
    void keepPassword(bool rewrite);
    // "anna@broker:1883": whose password it is.
    static QString account(const BrokerUrl& broker);

    const Recorder& m_recorder;
    std::filesystem::path m_configFile;
    PublishSettings m_settings;
    std::unique_ptr<PasswordStore> m_passwords;
    bool m_bPasswordKnown = false; // m_settings.password is read or given
    std::unique_ptr<MqttPublisher> m_publisher;
    std::vector<std::unique_ptr<MqttPublisher>> m_retiring;
    std::optional<AlarmChange> m_lastAlarm; // the recorder's alarm state
    bool m_bLive = false;
    bool m_bLineLost = false;
    Ask m_ask;
};
