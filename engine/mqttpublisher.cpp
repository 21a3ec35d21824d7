#include "engine/mqttpublisher.h"

#include "core/publish/publishmessages.h"
#include "engine/recorder.h"

#include <mosquitto.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

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

void initLibrary() {
    static const int done = [] { return mosquitto_lib_init(); }();
    (void)done;
}

std::string errorText(int rc) {
    if (rc == MOSQ_ERR_ERRNO)
        return std::strerror(errno);
    std::string text = mosquitto_strerror(rc);
    if (!text.empty())
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    while (!text.empty() && text.back() == '.')
        text.pop_back();
    return text;
}

} // namespace

MqttPublisher::MqttPublisher(BrokerUrl url, QObject* parent)
    : QObject(parent), m_url(std::move(url)) {
    initLibrary();
}

MqttPublisher::~MqttPublisher() {
    stop();
}

void MqttPublisher::follow(const Recorder& recorder, std::function<bool()> live) {
    connect(&recorder, &Recorder::rowAppended, this, [this, &recorder, live](const ListRow& row) {
        if (live && !live())
            return;
        const SampleStore& store = recorder.store();
        const auto at = static_cast<std::size_t>(row.index);
        publishReading(store.recTime()[at], store.recData()[at], row.unit,
                       row.log != LogMark::None);
    });
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
            m_stopDeadline = Clock::now() + std::chrono::milliseconds(waitMs);
        }
        m_wake.notify_all();
        m_thread.join();
    }
    return queued();
}

void MqttPublisher::publishReading(std::int64_t time, float value, const std::string& unit,
                                   bool log) {
    const std::string json = readingJson({++m_nReadings, time, value, unit, log});
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
    const std::string json = alarmJson(change, m_nReadings);
    const std::lock_guard lock(m_mutex);
    (void)m_queue.push("alarm", json);
}

void MqttPublisher::setLineWaiting(bool waiting) {
    const std::lock_guard lock(m_mutex);
    m_strStatus = waiting ? "waiting" : "online";
}

std::size_t MqttPublisher::queued() const {
    const std::lock_guard lock(m_mutex);
    return m_queue.size();
}

QString MqttPublisher::brokerName() const {
    return QString::fromStdString(brokerText(m_url));
}

bool MqttPublisher::stopping() {
    const std::lock_guard lock(m_mutex);
    return m_bStopping;
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
    while (!stopping()) {
        // A client of its own for every connection: nothing of a lost one is
        // sent again behind the queue's back.
        mosquitto* mosq = mosquitto_new(nullptr, true, this);
        if (!mosq) {
            reportLost("the MQTT client cannot be created");
        } else {
            m_link = {};
            connectOnce(mosq);
            mosquitto_destroy(mosq);
            if (m_link.wasConnected)
                pauseMs = kFirstPauseMs;
        }
        std::unique_lock lock(m_mutex);
        m_queue.connectionLost();
        if (m_wake.wait_for(lock, std::chrono::milliseconds(pauseMs),
                            [this] { return m_bStopping; }))
            break;
        pauseMs = std::min(pauseMs * 2, kLongestPauseMs);
    }
}

void MqttPublisher::connectOnce(mosquitto* mosq) {
    mosquitto_int_option(mosq, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    mosquitto_connect_callback_set(mosq, &MqttPublisher::onConnect);
    mosquitto_publish_callback_set(mosq, &MqttPublisher::onPublish);
    const std::string status = subtopic(m_url, "status");
    mosquitto_will_set(mosq, status.c_str(), 7, "offline", 1, true);
    if (!m_url.user.empty())
        mosquitto_username_pw_set(mosq, m_url.user.c_str(),
                                  m_url.password.empty() ? nullptr : m_url.password.c_str());
    // TLS against the system's certificate authorities.
    if (m_url.tls && mosquitto_int_option(mosq, MOSQ_OPT_TLS_USE_OS_CERTS, 1) != MOSQ_ERR_SUCCESS) {
        reportLost("TLS cannot be used");
        return;
    }

    int rc = mosquitto_connect_async(mosq, m_url.host.c_str(), m_url.port, kKeepAliveSeconds);
    if (rc != MOSQ_ERR_SUCCESS) {
        reportLost(errorText(rc));
        return;
    }
    const Clock::time_point began = Clock::now();
    for (;;) {
        if (!m_link.refused.empty()) {
            reportLost(m_link.refused);
            return;
        }
        const bool stop = stopping();
        if (m_link.connected) {
            if (stop) {
                finish(mosq);
                return;
            }
            sendDue(mosq);
        } else if (stop) {
            return;
        } else if (Clock::now() - began > kAnswerWait) {
            reportLost("the broker does not answer");
            return;
        }
        rc = mosquitto_loop(mosq, kLoopMs, 1);
        if (rc != MOSQ_ERR_SUCCESS) {
            reportLost(m_link.refused.empty() ? errorText(rc) : m_link.refused);
            return;
        }
    }
}

void MqttPublisher::sendDue(mosquitto* mosq) {
    std::string status;
    std::vector<QueuedMessage> due;
    {
        const std::lock_guard lock(m_mutex);
        status = m_strStatus;
        due = m_queue.takeDue(kInFlight);
    }
    if (status != m_link.sentStatus) {
        const std::string topic = subtopic(m_url, "status");
        if (mosquitto_publish(mosq, nullptr, topic.c_str(), static_cast<int>(status.size()),
                              status.data(), 1, true) == MOSQ_ERR_SUCCESS)
            m_link.sentStatus = status;
    }
    for (const QueuedMessage& message : due) {
        const std::string topic = subtopic(m_url, message.kind);
        int mid = 0;
        if (mosquitto_publish(mosq, &mid, topic.c_str(), static_cast<int>(message.payload.size()),
                              message.payload.data(), 1, false) == MOSQ_ERR_SUCCESS)
            m_link.inFlight[mid] = message.id;
    }
}

void MqttPublisher::finish(mosquitto* mosq) {
    Clock::time_point deadline;
    {
        const std::lock_guard lock(m_mutex);
        deadline = m_stopDeadline;
    }
    while (Clock::now() < deadline) {
        sendDue(mosq);
        {
            const std::lock_guard lock(m_mutex);
            if (m_queue.empty())
                break;
        }
        if (mosquitto_loop(mosq, kLoopMs, 1) != MOSQ_ERR_SUCCESS)
            return;
    }
    const std::string topic = subtopic(m_url, "status");
    if (mosquitto_publish(mosq, &m_link.offlineMid, topic.c_str(), 7, "offline", 1, true) !=
        MOSQ_ERR_SUCCESS)
        return;
    // "offline" is waited for a little past the deadline: it must not stay
    // "online".
    const Clock::time_point last = std::max(deadline, Clock::now()) + std::chrono::seconds(1);
    while (!m_link.offlineAcknowledged && Clock::now() < last)
        if (mosquitto_loop(mosq, kLoopMs, 1) != MOSQ_ERR_SUCCESS)
            return;
    mosquitto_disconnect(mosq);
    mosquitto_loop(mosq, kLoopMs, 1);
}

void MqttPublisher::onConnect(mosquitto*, void* self, int rc) {
    auto* p = static_cast<MqttPublisher*>(self);
    if (rc != 0) {
        // "Connection Refused: not authorised." -> "not authorised"
        std::string answer = mosquitto_connack_string(rc);
        if (const std::size_t colon = answer.find(": "); colon != std::string::npos)
            answer.erase(0, colon + 2);
        while (!answer.empty() && answer.back() == '.')
            answer.pop_back();
        p->m_link.refused = "the broker refused the connection: " + answer;
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
    p->m_link.inFlight.erase(it);
}
