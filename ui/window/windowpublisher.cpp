#include "ui/window/windowpublisher.h"

#include "engine/mqttpublisher.h"
#include "engine/recorder.h"
#include "ui/window/passwordstore.h"
#include "ui/window/publishdialog.h"

#include <sys/stat.h>

#include <algorithm>

WindowPublisher::WindowPublisher(const Recorder& recorder, std::filesystem::path configFile,
                                 QObject* parent)
    : QObject(parent), m_recorder(recorder), m_configFile(std::move(configFile)),
      m_settings(readPublishSettings(ProfileFile(m_configFile))),
      m_passwords(std::make_unique<PasswordStore>(m_configFile.parent_path() / "broker-password")),
      m_ask([](QWidget* parent, PublishSettings& settings) {
          PublishDialog dialog(settings, parent);
          if (dialog.exec() != QDialog::Accepted)
              return false;
          settings = dialog.settings();
          return true;
      }) {
    connect(&recorder, &Recorder::alarmChanged, this,
            [this](const AlarmChange& change) { m_lastAlarm = change; });
    if (takePasswordFromUrl(m_settings)) {
        // Written by an earlier version: out of others' sight at once, then
        // out of the file.
        (void)::chmod(m_configFile.c_str(), 0600);
        m_bPasswordKnown = true;
        keepPassword(true);
    }
    apply();
}

WindowPublisher::~WindowPublisher() = default;

void WindowPublisher::configure(QWidget* parent) {
    PublishSettings settings = m_settings;
    if (!m_ask(parent, settings) || settings == m_settings)
        return;
    const bool passwordGiven = settings.password != m_settings.password;
    m_settings = settings;
    ProfileFile profile(m_configFile);
    if (const Result<> kept = writePublishSettings(profile, m_settings); !kept)
        Q_EMIT settingsNotKept(QString::fromStdString(kept.error()));
    if (passwordGiven) {
        m_bPasswordKnown = true;
        keepPassword(false);
    }
    apply();
}

void WindowPublisher::lineOpened() {
    m_bLive = true;
    m_bLineLost = false;
    if (m_publisher)
        m_publisher->setLineWaiting(false);
}

void WindowPublisher::lineLost() {
    m_bLineLost = true;
    if (m_publisher)
        m_publisher->setLineWaiting(true);
}

void WindowPublisher::apply() {
    if (m_publisher) {
        // What was queued goes out under the settings it was recorded with.
        MqttPublisher* old = m_publisher.get();
        old->disconnect(this);
        connect(old, &MqttPublisher::retired, this, [this, old] {
            const auto it = std::find_if(m_retiring.begin(), m_retiring.end(),
                                         [old](const auto& p) { return p.get() == old; });
            if (it == m_retiring.end())
                return;
            // Not from inside its own signal.
            it->release()->deleteLater();
            m_retiring.erase(it);
        });
        m_retiring.push_back(std::move(m_publisher));
        old->retire();
    }
    Q_EMIT brokerMessageCleared();
    if (!m_settings.on)
        return;
    Result<BrokerUrl> broker = publishBroker(m_settings);
    if (!broker) {
        Q_EMIT brokerMessage(
            tr("Readings are not published: %1.").arg(QString::fromStdString(broker.error())));
        return;
    }
    m_publisher = std::make_unique<MqttPublisher>(std::move(*broker));
    MqttPublisher* p = m_publisher.get();
    p->follow(m_recorder, [this] { return m_bLive; });
    connect(p, &MqttPublisher::brokerLost, this, [this, p](const QString& reason) {
        Q_EMIT brokerMessage(tr("The broker %1 cannot be reached (%2). Readings wait until it is "
                                "back.")
                                 .arg(p->brokerName(), reason));
    });
    connect(p, &MqttPublisher::brokerConnected, this, &WindowPublisher::brokerMessageCleared);
    connect(p, &MqttPublisher::credentialsRefused, this, [this, p](const QString& reason) {
        Q_EMIT brokerMessage(tr("The broker %1 refused the user name or password (%2). Readings "
                                "are not published; Tools > Publish... takes others.")
                                 .arg(p->brokerName(), reason));
    });
    connect(p, &MqttPublisher::queueOverflowing, this, [this, p](qsizetype capacity) {
        Q_EMIT brokerMessage(tr("The broker %1 has been away so long that %2 readings wait for it; "
                                "the oldest go.")
                                 .arg(p->brokerName())
                                 .arg(capacity));
    });
    p->setLineWaiting(m_bLineLost);
    if (m_lastAlarm)
        p->setAlarmState(*m_lastAlarm);
    if (m_bPasswordKnown || broker->user.empty()) {
        p->start();
        return;
    }
    // Readings queue meanwhile.
    m_passwords->read(account(*broker), [this, p](std::string password) {
        if (m_publisher.get() != p)
            return; // other settings came meanwhile
        m_settings.password = password;
        m_bPasswordKnown = true;
        p->setPassword(std::move(password));
        p->start();
    });
}

void WindowPublisher::keepPassword(bool rewrite) {
    const Result<BrokerUrl> broker = publishBroker(m_settings);
    if (!broker)
        return;
    m_passwords->write(account(*broker), m_settings.password, [this, rewrite](const QString& why) {
        if (!why.isEmpty()) {
            Q_EMIT settingsNotKept(tr("the broker's password: %1").arg(why));
            return;
        }
        if (!rewrite)
            return;
        ProfileFile profile(m_configFile);
        if (const Result<> kept = writePublishSettings(profile, m_settings); !kept)
            Q_EMIT settingsNotKept(QString::fromStdString(kept.error()));
    });
}

QString WindowPublisher::account(const BrokerUrl& broker) {
    return QString::fromStdString(broker.user + "@" + broker.host + ":" +
                                  std::to_string(broker.port));
}
