#include "engine/mqttpublisher.h"

#include "core/publish/publishmessages.h"
#include "engine/mosquittolibrary.h"
#include "engine/recorder.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <ctime>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kKeepAliveSeconds = 30;
// How long one wait for the broker's traffic lasts: what is queued meanwhile
// goes out at the latest after it.
constexpr int kLoopMs = 100;
// A connection that has not been answered by then is given up and tried again.
constexpr auto kAnswerWait = std::chrono::seconds(15);
// Messages handed to the broker and not yet acknowledged.
constexpr std::size_t kInFlight = 20;

// What a mosquitto error code means for the user; `error` is errno as the
// call left it.
std::string errorText(const MosquittoLibrary& mqtt, int rc, int error, bool connected) {
    switch (rc) {
    case MOSQ_ERR_ERRNO:
        return error == 0 ? "the connection was lost" : std::strerror(error);
    case MOSQ_ERR_CONN_LOST:
        return "the connection was lost";
    case MOSQ_ERR_KEEPALIVE:
        return "the broker stopped answering";
    case MOSQ_ERR_EAI:
        return "the broker's name cannot be looked up";
    case MOSQ_ERR_PROTOCOL:
        if (!connected)
            return "no MQTT broker answered there";
        break;
    default:
        break;
    }
    std::string text = mqtt.errorString(rc);
    if (text.empty() || text.starts_with("Unknown"))
        return "the MQTT client failed (error " + std::to_string(rc) + ")";
    text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    while (!text.empty() && text.back() == '.')
        text.pop_back();
    return text;
}

} // namespace

MqttPublisher::MqttPublisher(BrokerUrl url, QObject* parent)
    : QObject(parent), m_url(std::move(url)), m_strAlarm(startAlarmJson(std::time(nullptr))),
      m_mqtt(mosquittoLibrary(&m_strMqttMissing)) {}

MqttPublisher::~MqttPublisher() {
    stop();
}

void MqttPublisher::follow(const Recorder& recorder, std::function<bool()> live) {
    m_rowFollow = connect(&recorder, &Recorder::rowAppended, this,
                          [this, &recorder, live](const ListRow& row) {
                              if (live && !live())
                                  return;
                              const SampleStore& store = recorder.store();
                              const auto at = static_cast<std::size_t>(row.index);
                              publishReading(store.recTime()[at], store.recData()[at], row.unit,
                                             row.log != LogMark::None, store.recMillisecond()[at]);
                          });
    m_alarmFollow =
        connect(&recorder, &Recorder::alarmChanged, this, [this, live](const AlarmChange& change) {
            if (!live || live())
                publishAlarm(change);
        });
}

void MqttPublisher::start() {
    if (m_thread.joinable())
        return;
    m_bStopping = false;
    m_thread = std::thread([this] { run(); });
}

std::size_t MqttPublisher::stop(int waitMs) {
    if (m_thread.joinable()) {
        {
            const std::lock_guard lock(m_mutex);
            m_bStopping = true;
            m_bDrain = false;
            m_stopDeadline = Clock::now() + std::chrono::milliseconds(waitMs);
        }
        m_wake.notify_all();
        m_thread.join();
    }
    return queued();
}

void MqttPublisher::retire() {
    disconnect(m_rowFollow);
    disconnect(m_alarmFollow);
    if (!m_thread.joinable()) {
        QMetaObject::invokeMethod(this, &MqttPublisher::retired, Qt::QueuedConnection);
        return;
    }
    {
        const std::lock_guard lock(m_mutex);
        if (m_bStopping)
            return;
        m_bStopping = true;
        m_bDrain = true;
        m_stopDeadline = Clock::time_point::max();
    }
    m_wake.notify_all();
}

void MqttPublisher::publishReading(std::int64_t time, float value, const std::string& unit,
                                   bool log, int millisecond) {
    const std::string json = readingJson({++m_nReadings, time, value, unit, log, millisecond});
    bool kept = true;
    {
        const std::lock_guard lock(m_mutex);
        kept = m_queue.push("reading", json);
    }
    if (!kept && !m_bOverflowTold) {
        m_bOverflowTold = true;
        Q_EMIT queueOverflowing(static_cast<qsizetype>(PublishQueue::kDefaultCapacity));
    }
}

void MqttPublisher::publishAlarm(const AlarmChange& change) {
    // The reading that caused it was the last one published.
    std::string json = alarmJson(change, m_nReadings);
    const std::lock_guard lock(m_mutex);
    m_strAlarm = json;
    (void)m_queue.push("alarm", std::move(json));
}

void MqttPublisher::setAlarmState(const AlarmChange& change) {
    std::string json = alarmJson(change, 0);
    const std::lock_guard lock(m_mutex);
    m_strAlarm = std::move(json);
}

void MqttPublisher::setLineWaiting(bool waiting) {
    const std::lock_guard lock(m_mutex);
    m_strStatus = waiting ? "waiting" : "online";
}

std::size_t MqttPublisher::queued() const {
    const std::lock_guard lock(m_mutex);
    return m_queue.size();
}

std::uint64_t MqttPublisher::acknowledged() const {
    const std::lock_guard lock(m_mutex);
    return m_nAcknowledged;
}

QString MqttPublisher::brokerName() const {
    return QString::fromStdString(brokerText(m_url));
}

bool MqttPublisher::stopping() {
    const std::lock_guard lock(m_mutex);
    return m_bStopping;
}

bool MqttPublisher::givingUp() {
    const std::lock_guard lock(m_mutex);
    return m_bStopping && (!m_bDrain || Clock::now() >= m_stopDeadline);
}

void MqttPublisher::reportLost(const std::string& reason) {
    QMetaObject::invokeMethod(
        this,
        [this, reason = QString::fromStdString(reason)] {
            if (m_bAway)
                return;
            m_bAway = true;
            Q_EMIT brokerLost(reason);
        },
        Qt::QueuedConnection);
}

void MqttPublisher::run() {
    int pauseMs = kFirstPauseMs;
    bool retiring = false;
    while (!givingUp()) {
        // A client of its own for every connection: nothing of a lost one is
        // sent again behind the queue's back.
        mosquitto* mosq = m_mqtt ? m_mqtt->create(nullptr, true, this) : nullptr;
        if (!mosq) {
            reportLost(m_mqtt ? "the MQTT client cannot be created" : m_strMqttMissing);
        } else {
            m_link = {};
            connectOnce(mosq);
            m_mqtt->destroy(mosq);
            if (m_link.wasConnected)
                pauseMs = kFirstPauseMs;
        }
        std::unique_lock lock(m_mutex);
        retiring = m_bDrain;
        if (m_link.finished)
            break;
        // Not before the pause is over, nor past a stop's deadline.
        const Clock::time_point wakeAt =
            std::min(Clock::now() + std::chrono::milliseconds(pauseMs), m_stopDeadline);
        m_queue.connectionLost();
        if (m_link.badLogin) {
            // The same user name and password would be refused again.
            QMetaObject::invokeMethod(
                this,
                [this, reason = QString::fromStdString(m_link.refused)] {
                    Q_EMIT credentialsRefused(reason);
                },
                Qt::QueuedConnection);
            // Until stop(); a retiring publisher ends at once.
            m_wake.wait(lock, [this] { return m_bStopping; });
            break;
        }
        const auto giveUp = [this] { return m_bStopping && !m_bDrain; };
        if (m_wake.wait_until(lock, wakeAt, giveUp))
            break;
        pauseMs = std::min(pauseMs * 2, kLongestPauseMs);
    }
    if (retiring)
        QMetaObject::invokeMethod(this, &MqttPublisher::retired, Qt::QueuedConnection);
}

void MqttPublisher::connectOnce(mosquitto* mosq) {
    m_mqtt->intOption(mosq, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    m_mqtt->onConnect(mosq, &MqttPublisher::onConnect);
    m_mqtt->onPublish(mosq, &MqttPublisher::onPublish);
    const std::string status = subtopic(m_url, "status");
    int rc = m_mqtt->willSet(mosq, status.c_str(), 7, "offline", 1, true);
    if (rc != MOSQ_ERR_SUCCESS) {
        reportLost("the last will cannot be set: " + errorText(*m_mqtt, rc, errno, false));
        return;
    }
    if (!m_url.user.empty()) {
        rc = m_mqtt->usernamePassword(mosq, m_url.user.c_str(),
                                      m_url.password.empty() ? nullptr : m_url.password.c_str());
        if (rc != MOSQ_ERR_SUCCESS) {
            reportLost("the user name cannot be used: " + errorText(*m_mqtt, rc, errno, false));
            return;
        }
    }
    // TLS against the system's certificate authorities.
    if (m_url.tls && m_mqtt->intOption(mosq, MOSQ_OPT_TLS_USE_OS_CERTS, 1) != MOSQ_ERR_SUCCESS) {
        reportLost("TLS cannot be used");
        return;
    }

    errno = 0;
    rc = m_mqtt->connectAsync(mosq, m_url.host.c_str(), m_url.port, kKeepAliveSeconds);
    if (rc != MOSQ_ERR_SUCCESS) {
        reportLost(errorText(*m_mqtt, rc, errno, false));
        return;
    }
    const Clock::time_point began = Clock::now();
    for (;;) {
        if (!m_link.refused.empty()) {
            if (!m_link.badLogin)
                reportLost(m_link.refused);
            return;
        }
        if (m_link.connected) {
            if (stopping()) {
                finish(mosq);
                return;
            }
            if (rc = sendDue(mosq); rc != MOSQ_ERR_SUCCESS) {
                reportLost("a message could not be handed to the broker: " +
                           errorText(*m_mqtt, rc, errno, true));
                return;
            }
        } else if (givingUp()) {
            return;
        } else if (Clock::now() - began > kAnswerWait) {
            reportLost("the broker does not answer");
            return;
        }
        errno = 0;
        rc = m_mqtt->loop(mosq, kLoopMs, 1);
        if (rc != MOSQ_ERR_SUCCESS) {
            if (m_link.refused.empty())
                reportLost(errorText(*m_mqtt, rc, errno, m_link.connected));
            else if (!m_link.badLogin)
                reportLost(m_link.refused);
            return;
        }
    }
}

int MqttPublisher::sendDue(mosquitto* mosq) {
    std::string status;
    std::string alarm;
    std::vector<QueuedMessage> due;
    {
        const std::lock_guard lock(m_mutex);
        status = m_strStatus;
        // The current alarm state first, unless a change waits to be sent:
        // the queue brings the subscribers up to date then.
        if (!m_link.alarmTold && !m_queue.holds("alarm"))
            alarm = m_strAlarm;
        due = m_queue.takeDue(kInFlight);
    }
    m_link.alarmTold = true;
    int rc = MOSQ_ERR_SUCCESS;
    if (status != m_link.sentStatus) {
        const std::string topic = subtopic(m_url, "status");
        rc = m_mqtt->publish(mosq, nullptr, topic.c_str(), static_cast<int>(status.size()),
                             status.data(), 1, true);
        if (rc != MOSQ_ERR_SUCCESS)
            return rc;
        m_link.sentStatus = status;
    }
    if (!alarm.empty()) {
        const std::string topic = subtopic(m_url, "alarm");
        rc = m_mqtt->publish(mosq, nullptr, topic.c_str(), static_cast<int>(alarm.size()),
                             alarm.data(), 1, true);
        if (rc != MOSQ_ERR_SUCCESS)
            return rc;
    }
    for (const QueuedMessage& message : due) {
        const std::string topic = subtopic(m_url, message.kind);
        int mid = 0;
        rc = m_mqtt->publish(mosq, &mid, topic.c_str(), static_cast<int>(message.payload.size()),
                             message.payload.data(), 1, message.kind == "alarm");
        if (rc != MOSQ_ERR_SUCCESS)
            return rc; // handed out again on the next connection
        m_link.inFlight[mid] = message.id;
    }
    return rc;
}

void MqttPublisher::finish(mosquitto* mosq) {
    Clock::time_point deadline;
    {
        const std::lock_guard lock(m_mutex);
        deadline = m_stopDeadline;
    }
    for (;;) {
        {
            const std::lock_guard lock(m_mutex);
            deadline = m_stopDeadline; // stop() may cut a retirement short
            if (m_queue.empty() || Clock::now() >= deadline)
                break;
        }
        if (sendDue(mosq) != MOSQ_ERR_SUCCESS || m_mqtt->loop(mosq, kLoopMs, 1) != MOSQ_ERR_SUCCESS)
            return;
    }
    const std::string topic = subtopic(m_url, "status");
    if (m_mqtt->publish(mosq, &m_link.offlineMid, topic.c_str(), 7, "offline", 1, true) !=
        MOSQ_ERR_SUCCESS)
        return;
    m_link.finished = true;
    // "offline" is waited for a little past the deadline: it must not stay
    // "online".
    const Clock::time_point last = std::min(deadline, Clock::now()) + std::chrono::seconds(1);
    while (!m_link.offlineAcknowledged && Clock::now() < last)
        if (m_mqtt->loop(mosq, kLoopMs, 1) != MOSQ_ERR_SUCCESS)
            return;
    m_mqtt->disconnect(mosq);
    m_mqtt->loop(mosq, kLoopMs, 1);
}

void MqttPublisher::onConnect(mosquitto*, void* self, int rc) {
    auto* p = static_cast<MqttPublisher*>(self);
    if (rc != 0) {
        // "Connection Refused: not authorised." -> "not authorised"
        std::string answer = p->m_mqtt->connackString(rc);
        if (const std::size_t colon = answer.find(": "); colon != std::string::npos)
            answer.erase(0, colon + 2);
        while (!answer.empty() && answer.back() == '.')
            answer.pop_back();
        // 4: bad user name or password, 5: not authorised.
        p->m_link.badLogin = rc == 4 || rc == 5;
        // A refused login is told by the broker's answer alone.
        p->m_link.refused =
            p->m_link.badLogin ? answer : "the broker refused the connection: " + answer;
        return;
    }
    p->m_link.connected = true;
    p->m_link.wasConnected = true;
    QMetaObject::invokeMethod(
        p,
        [p] {
            p->m_bAway = false;
            p->m_bOverflowTold = false;
            Q_EMIT p->brokerConnected();
        },
        Qt::QueuedConnection);
}

void MqttPublisher::onPublish(mosquitto*, void* self, int mid) {
    auto* p = static_cast<MqttPublisher*>(self);
    if (mid == p->m_link.offlineMid) {
        p->m_link.offlineAcknowledged = true;
        return;
    }
    const auto it = p->m_link.inFlight.find(mid);
    if (it == p->m_link.inFlight.end())
        return;
    const std::lock_guard lock(p->m_mutex);
    p->m_queue.acknowledge(it->second);
    ++p->m_nAcknowledged;
    p->m_link.inFlight.erase(it);
}
