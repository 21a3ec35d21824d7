#pragma once

#include "core/publish/brokerurl.h"
#include "core/publish/publishqueue.h"
#include "core/store/alarmstate.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>

class Recorder;
struct MosquittoLibrary;
struct mosquitto;

// Publishes committed readings and alarm changes to an MQTT broker (QoS 1):
// <topic>/reading and <topic>/alarm as small JSON objects, and a retained
// <topic>/status: "online", "waiting" while the line is lost, "offline" at the
// end or, as the broker's last will, when the program dies. The alarm topic is
// retained too, and every connection begins with the current alarm state, so
// that a subscriber that comes late knows it. Recording never waits for the
// broker: messages go into a bounded queue and a thread of its own talks to
// the broker, connecting again with a growing pause while it is away, and
// sends what waited, in order, when it is back. A broker that refuses the
// user name or password is not asked again.
class MqttPublisher : public QObject {
    Q_OBJECT
public:
    explicit MqttPublisher(BrokerUrl url, QObject* parent = nullptr);
    // Stops as stop() does.
    ~MqttPublisher() override;

    // Publishes every sample `recorder` commits from now on, and its alarm
    // changes; with `live`, only those committed while it says true.
    void follow(const Recorder& recorder, std::function<bool()> live = {});
    // The broker's password, when it is known only after construction;
    // before start().
    void setPassword(std::string password) { m_url.password = std::move(password); }
    // Connects in the background.
    void start();
    // Sends what is queued and "offline", waiting at most `waitMs` for a
    // broker it is connected to, and disconnects. Returns how many messages
    // the broker did not take.
    std::size_t stop(int waitMs = kStopWaitMs);
    // Follows nothing more and, in the background, goes on until the broker
    // has taken everything queued (however long it is away), then says
    // "offline", disconnects and emits retired(). stop() still ends it.
    void retire();

    void publishReading(std::int64_t time, float value, const std::string& unit, bool log,
                        int millisecond = -1);
    void publishAlarm(const AlarmChange& change);
    // The alarm state when publishing begins, told on connecting until the
    // first change (without it: "normal", before any reading).
    void setAlarmState(const AlarmChange& change);
    // The line is lost ("waiting") or back ("online").
    void setLineWaiting(bool waiting);

    // The broker could not be reached since the last connection.
    bool brokerAway() const { return m_bAway; }
    // Messages the broker has not acknowledged yet, and those it has.
    std::size_t queued() const;
    std::uint64_t acknowledged() const;
    // Where it publishes, without the password.
    QString brokerName() const;

    static constexpr int kStopWaitMs = 3000;
    static constexpr int kFirstPauseMs = 1000;
    static constexpr int kLongestPauseMs = 5000;

Q_SIGNALS:
    // The broker took the connection; what waited follows.
    void brokerConnected();
    // The broker could not be reached or the connection was lost: once until
    // the next connection.
    void brokerLost(const QString& reason);
    // The queue is full: the oldest messages go. Once until the next
    // connection.
    void queueOverflowing(qsizetype capacity);
    // The broker refused the user name or password: nothing more is tried.
    void credentialsRefused(const QString& reason);
    // The connection thread has ended after retire().
    void retired();

private:
    // What the connection thread keeps of one connection.
    struct Link {
        bool connected = false;
        bool wasConnected = false;
        bool finished = false;  // stopped as asked
        std::string refused;    // the broker's answer when it refused
        bool badLogin = false;  // refused for the user name or password
        std::string sentStatus; // the status published on this connection
        bool alarmTold = false; // the alarm state was considered on this connection
        int offlineMid = -1;    // "offline", sent when stopping
        bool offlineAcknowledged = false;
        std::unordered_map<int, std::uint64_t> inFlight; // message id -> queue id
    };

    // The connection thread: connections, one after the other, until stop().
    void run();
    // One connection from the attempt to its loss; false when stop() asked.
    void connectOnce(mosquitto* mosq);
    // Hands the broker the status, the alarm state and what is due; a
    // mosquitto error code when it could not.
    int sendDue(mosquitto* mosq);
    // Sends what is queued and "offline" before the deadline, then
    // disconnects.
    void finish(mosquitto* mosq);
    bool stopping();
    // Asked to stop, and done waiting for the broker.
    bool givingUp();
    // Told to the window's thread.
    void reportLost(const std::string& reason);
    static void onConnect(mosquitto* mosq, void* self, int rc);
    static void onPublish(mosquitto* mosq, void* self, int mid);

    BrokerUrl m_url;
    std::int64_t m_nReadings = 0; // readings published, the window's thread only
    bool m_bAway = false;
    bool m_bOverflowTold = false;
    QMetaObject::Connection m_rowFollow;
    QMetaObject::Connection m_alarmFollow;

    // Shared by both threads, under m_mutex.
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    PublishQueue m_queue;
    std::string m_strStatus = "online";
    std::string m_strAlarm; // the current alarm state's message
    std::uint64_t m_nAcknowledged = 0;
    bool m_bStopping = false;
    bool m_bDrain = false; // retiring: connect again until the queue is empty
    std::chrono::steady_clock::time_point m_stopDeadline =
        std::chrono::steady_clock::time_point::max();

    // The client library, or why it is missing; set once on construction.
    std::string m_strMqttMissing;
    const MosquittoLibrary* m_mqtt = nullptr;

    Link m_link; // the connection thread only
    std::thread m_thread;
};
