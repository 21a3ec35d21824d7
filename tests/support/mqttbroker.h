#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

// A real mosquitto broker on a free loopback port, and a client of the test's
// own subscribed to it.

inline int loopbackSocket(int port, bool bindIt) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const auto* a = reinterpret_cast<const sockaddr*>(&addr);
    if (bindIt ? ::bind(fd, a, sizeof addr) : ::connect(fd, a, sizeof addr)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// A port nothing listens on now.
inline int freeLoopbackPort() {
    const int fd = loopbackSocket(0, true);
    sockaddr_in addr{};
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);
    return ntohs(addr.sin_port);
}

// The broker keeps its subscribers' sessions across a stop, as a real
// installation does, so a subscriber misses nothing published while it
// reconnects.
class MqttBroker {
public:
    // With a user, only that user with that password is let in.
    explicit MqttBroker(const QString& user = {}, const QString& password = {}) {
        QString access = QStringLiteral("allow_anonymous true\n");
        if (!user.isEmpty()) {
            const QString file = m_dir.filePath(QStringLiteral("passwords"));
            QProcess::execute(QStringLiteral("mosquitto_passwd"),
                              {QStringLiteral("-c"), QStringLiteral("-b"), file, user, password});
            access = QStringLiteral("allow_anonymous false\npassword_file %1\n").arg(file);
        }
        QFile conf(m_dir.filePath(QStringLiteral("mosquitto.conf")));
        if (!conf.open(QIODevice::WriteOnly))
            return;
        conf.write(QStringLiteral("listener %1 127.0.0.1\n%2persistence true\n"
                                  "persistence_location %3/\nuser root\nlog_dest none\n")
                       .arg(m_nPort)
                       .arg(access, m_dir.path())
                       .toUtf8());
    }
    ~MqttBroker() { stop(); }

    // Starts it and waits until it takes connections.
    bool start() {
        m_process.start(QStringLiteral("mosquitto"),
                        {QStringLiteral("-c"), m_dir.filePath(QStringLiteral("mosquitto.conf"))});
        return QTest::qWaitFor(
            [this] {
                const int fd = loopbackSocket(m_nPort, false);
                if (fd >= 0)
                    ::close(fd);
                return fd >= 0;
            },
            5000);
    }
    // Stops it as a service stop does (SIGTERM).
    void stop() {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        m_process.waitForFinished(5000);
    }
    int port() const { return m_nPort; }
    QString url(const QString& topic) const {
        return QStringLiteral("mqtt://127.0.0.1:%1/%2").arg(m_nPort).arg(topic);
    }

private:
    QTemporaryDir m_dir;
    int m_nPort = freeLoopbackPort();
    QProcess m_process;
};

// mosquitto_sub on `filter` at QoS 1 with a session the broker keeps: every
// message as "topic payload".
class MqttSubscriber {
public:
    MqttSubscriber(int port, const QString& filter, const QStringList& login = {}) {
        // Line-buffered: its own log lines say when it has subscribed.
        m_process.start(
            QStringLiteral("stdbuf"),
            QStringList{QStringLiteral("-oL"), QStringLiteral("mosquitto_sub"),
                        QStringLiteral("-h"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                        QString::number(port), QStringLiteral("-q"), QStringLiteral("1"),
                        QStringLiteral("-c"), QStringLiteral("-i"),
                        QStringLiteral("orvane-test-%1").arg(::getpid()), QStringLiteral("-v"),
                        QStringLiteral("-d"), QStringLiteral("-t"), filter} +
                login);
        m_bSubscribed = QTest::qWaitFor(
            [this] {
                read();
                return m_bSubscribed;
            },
            5000);
    }
    ~MqttSubscriber() {
        m_process.kill();
        m_process.waitForFinished(2000);
    }
    bool subscribed() const { return m_bSubscribed; }
    QStringList messages() {
        read();
        return m_messages;
    }
    bool waitFor(const std::function<bool(const QStringList&)>& done, int ms = 10000) {
        return QTest::qWaitFor([&] { return done(messages()); }, ms);
    }

private:
    void read() {
        m_pending += QString::fromUtf8(m_process.readAllStandardOutput());
        qsizetype end = 0;
        while ((end = m_pending.indexOf(QLatin1Char('\n'))) >= 0) {
            const QString line = m_pending.left(end);
            m_pending.remove(0, end + 1);
            // -d adds the client's own log lines.
            if (line.startsWith(QLatin1String("Client ")) ||
                line.startsWith(QLatin1String("Subscribed")))
                m_bSubscribed = m_bSubscribed || line.contains(QLatin1String("SUBACK"));
            else
                m_messages << line;
        }
    }

    QProcess m_process;
    QString m_pending;
    QStringList m_messages;
    bool m_bSubscribed = false;
};
