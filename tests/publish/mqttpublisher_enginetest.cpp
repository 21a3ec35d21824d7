#include "engine/mqttpublisher.h"
#include "support/mqttbroker.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <vector>

namespace {

const QString kTopic = QStringLiteral("orvane/test");

// The spy has seen `count` signals, now or within the wait.
bool seen(QSignalSpy& spy, int count, int ms = 10000) {
    return QTest::qWaitFor([&] { return spy.size() >= count; }, ms);
}

std::unique_ptr<MqttPublisher> makePublisher(const MqttBroker& broker) {
    return std::make_unique<MqttPublisher>(*parseBrokerUrl(broker.url(kTopic).toStdString()));
}

// The n of every reading received, in the order received.
std::vector<int> readingNumbers(const QStringList& messages) {
    std::vector<int> n;
    const QString prefix = kTopic + QStringLiteral("/reading ");
    for (const QString& m : messages)
        if (m.startsWith(prefix))
            n.push_back(
                QJsonDocument::fromJson(m.mid(prefix.size()).toUtf8()).object()[u"n"].toInt());
    return n;
}

// Every reading from 1 to `count` once, in order, counting a resent one once.
bool allOnceInOrder(const std::vector<int>& received, int count) {
    std::vector<int> distinct;
    for (int n : received)
        if (std::find(distinct.begin(), distinct.end(), n) == distinct.end())
            distinct.push_back(n);
    std::vector<int> expected(static_cast<std::size_t>(count));
    std::iota(expected.begin(), expected.end(), 1);
    return distinct == expected;
}

TEST(MqttPublisher, PublishesReadingsAlarmsAndItsStatus) {
    MqttBroker broker;
    ASSERT_TRUE(broker.start());
    MqttSubscriber sub(broker.port(), kTopic + QStringLiteral("/#"));
    ASSERT_TRUE(sub.subscribed());
    auto publisher = makePublisher(broker);
    QSignalSpy connected(publisher.get(), &MqttPublisher::brokerConnected);
    publisher->start();
    ASSERT_TRUE(seen(connected, 1));

    publisher->publishReading(1796648631, 23.5f, "C", false);
    publisher->publishReading(1796648632, 3000.0f, "C", true);
    publisher->publishReading(1796648633, 162.5f, "C", false);
    publisher->publishAlarm({AlarmLevel::High, 162.5f, "C", 150, 1796648633});
    ASSERT_TRUE(sub.waitFor([](const QStringList& m) { return m.size() >= 6; }));
    publisher->setLineWaiting(true);
    ASSERT_TRUE(sub.waitFor([](const QStringList& m) { return m.size() >= 7; }));
    EXPECT_EQ(publisher->stop(), 0u);
    ASSERT_TRUE(sub.waitFor([](const QStringList& m) { return m.size() >= 8; }));

    const QStringList m = sub.messages();
    EXPECT_EQ(m[0], kTopic + QStringLiteral("/status online"));
    EXPECT_TRUE(m[2].startsWith(kTopic + QStringLiteral("/reading {\"n\":1,")))
        << m[2].toStdString();
    EXPECT_TRUE(m[3].contains(QLatin1String("\"value\":null,\"unit\":\"C\",\"log\":true}")));
    EXPECT_TRUE(m[5].startsWith(kTopic + QStringLiteral("/alarm {\"n\":3,\"state\":\"high\"")))
        << m[5].toStdString();
    EXPECT_EQ(m[6], kTopic + QStringLiteral("/status waiting"));
    EXPECT_EQ(m[7], kTopic + QStringLiteral("/status offline"));
}

TEST(MqttPublisher, TellsTheAlarmStateItBeganInToEveryoneWhoComesLater) {
    MqttBroker broker;
    ASSERT_TRUE(broker.start());
    auto publisher = makePublisher(broker);
    QSignalSpy connected(publisher.get(), &MqttPublisher::brokerConnected);
    publisher->setAlarmState({AlarmLevel::High, 162.5f, "C", 150, 1796648633});
    publisher->start();
    ASSERT_TRUE(seen(connected, 1));
    // Subscribed after it was published: retained.
    QTest::qWait(200);
    MqttSubscriber sub(broker.port(), kTopic + QStringLiteral("/alarm"));
    EXPECT_TRUE(sub.waitFor([](const QStringList& m) { return !m.isEmpty(); }));
    EXPECT_TRUE(sub.messages().value(0).startsWith(
        kTopic + QStringLiteral("/alarm {\"n\":0,\"state\":\"high\",")))
        << sub.messages().join('\n').toStdString();
}

TEST(MqttPublisher, KeepsEveryReadingWhileTheBrokerIsAway) {
    MqttBroker broker; // not started: away from the start
    auto publisher = makePublisher(broker);
    QSignalSpy lost(publisher.get(), &MqttPublisher::brokerLost);
    QSignalSpy connected(publisher.get(), &MqttPublisher::brokerConnected);
    publisher->start();
    ASSERT_TRUE(seen(lost, 1));
    EXPECT_TRUE(publisher->brokerAway());
    EXPECT_EQ(lost[0][0].toString(), QStringLiteral("Connection refused"));
    int n = 0;
    const auto publish = [&](int count) {
        for (int i = 0; i < count; ++i)
            publisher->publishReading(1796648631 + ++n, 20.0f, "C", false);
    };
    publish(10);
    ASSERT_TRUE(broker.start());
    MqttSubscriber sub(broker.port(), kTopic + QStringLiteral("/#"));
    ASSERT_TRUE(seen(connected, 1));
    ASSERT_TRUE(sub.waitFor([](const QStringList& m) { return readingNumbers(m).size() >= 10; }));

    // Stopped in the middle of a stream, then back.
    publish(5);
    broker.stop();
    ASSERT_TRUE(seen(lost, 2));
    publish(10);
    ASSERT_TRUE(broker.start());
    publish(5);
    ASSERT_TRUE(seen(connected, 2));
    EXPECT_EQ(lost.size(), 2) << "once an outage";
    EXPECT_TRUE(sub.waitFor([](const QStringList& m) {
        return allOnceInOrder(readingNumbers(m), 30);
    })) << sub.messages().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(publisher->stop(), 0u);
}

} // namespace
