#include "support/clirun.h"
#include "support/frames.h"
#include "support/mqttbroker.h"
#include "support/ptypair.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

// orvane-cli record --mqtt against a real broker, seen by a subscriber of the
// test's own.
namespace {

const QString kTopic = QStringLiteral("orvane/oven-1");

TEST(OrvaneCliPublish, EverySampleAndAlarmReachesTheBrokerWithThePasswordFromAFile) {
    MqttBroker broker(QStringLiteral("anna"), QStringLiteral("s3cret"));
    ASSERT_TRUE(broker.start());
    MqttSubscriber sub(broker.port(), kTopic + QStringLiteral("/#"),
                       {QStringLiteral("-u"), QStringLiteral("anna"), QStringLiteral("-P"),
                        QStringLiteral("s3cret")});
    ASSERT_TRUE(sub.subscribed());
    QTemporaryDir dir;
    QFile password(dir.filePath(QStringLiteral("password")));
    ASSERT_TRUE(password.open(QIODevice::WriteOnly));
    password.write("s3cret\n");
    password.close();
    PtyPair pty;
    CliRun run({"record", "--device", pty.slavePath(), "--count", "3", "--high", "25", "--mqtt",
                broker.url(kTopic), "--mqtt-user", "anna", "--mqtt-password-file",
                password.fileName()},
               dir.path());
    ASSERT_TRUE(run.waitRecording()) << run.err().toStdString();
    ASSERT_TRUE(sub.waitFor([](const QStringList& m) { return !m.isEmpty(); }));
    for (int tenths : {100, 300, 400})
        ASSERT_TRUE(pty.write(celsiusFrame(tenths)));
    ASSERT_EQ(run.finish(), 0) << run.err().toStdString();
    ASSERT_TRUE(sub.waitFor([](const QStringList& m) { return m.size() >= 6; }))
        << sub.messages().join('\n').toStdString();

    const QStringList m = sub.messages();
    EXPECT_EQ(m[0], kTopic + QStringLiteral("/status online"));
    for (int i = 1; i <= 3; ++i)
        EXPECT_TRUE(
            m[i == 3 ? 4 : i].startsWith(kTopic + QStringLiteral("/reading {\"n\":%1,").arg(i)))
            << m.join('\n').toStdString();
    EXPECT_TRUE(m[3].startsWith(kTopic + QStringLiteral("/alarm {\"n\":2,\"state\":\"high\"")));
    EXPECT_EQ(m[5], kTopic + QStringLiteral("/status offline"));
    EXPECT_FALSE(run.err().contains(QLatin1String("s3cret")));
}

TEST(OrvaneCliPublish, AKilledRecorderLeavesOfflineAndAnAbsentBrokerLosesNoSample) {
    MqttBroker broker;
    ASSERT_TRUE(broker.start());
    MqttSubscriber sub(broker.port(), kTopic + QStringLiteral("/status"));
    PtyPair pty;
    {
        CliRun run({"record", "--device", pty.slavePath(), "--mqtt", broker.url(kTopic)});
        ASSERT_TRUE(run.waitRecording());
        ASSERT_TRUE(sub.waitFor([](const QStringList& m) { return m.size() == 1; }));
        run.signal(SIGKILL);
        // The broker's last will.
        EXPECT_TRUE(sub.waitFor([](const QStringList& m) { return m.size() == 2; }));
        EXPECT_EQ(sub.messages().value(1), kTopic + QStringLiteral("/status offline"));
    }
    broker.stop();
    CliRun run(
        {"record", "--device", pty.slavePath(), "--count", "2", "--mqtt", broker.url(kTopic)});
    ASSERT_TRUE(run.waitErr(QStringLiteral("cannot be reached (Connection refused)")))
        << run.err().toStdString();
    for (int tenths : {100, 200})
        ASSERT_TRUE(pty.write(celsiusFrame(tenths)));
    EXPECT_EQ(run.finish(), 0) << run.err().toStdString();
    EXPECT_TRUE(run.err().contains(QLatin1String("Recorded 2 samples.")));
    EXPECT_TRUE(run.err().contains(QLatin1String("warning: 2 messages were not published")));
}

TEST(OrvaneCliPublish, AWrongBrokerOptionIsAUsageError) {
    QTemporaryDir dir;
    const struct {
        QStringList options;
        const char* said;
    } rows[] = {
        {{"--mqtt", "http://broker/t"}, "starts with mqtt:// or mqtts://"},
        {{"--mqtt", "mqtt://broker"}, "names no topic"},
        {{"--mqtt-user", "anna"}, "go with --mqtt"},
        {{"--mqtt", "mqtt://b/t", "--mqtt-password-file", dir.filePath("none")},
         "cannot read the password file"},
        {{"--mqtt", "mqtt://:pw@b/t"}, "no user name"},
    };
    for (const auto& row : rows) {
        CliRun run(QStringList{"record", "--simulator"} + row.options, dir.path());
        EXPECT_EQ(run.finish(), 2) << row.said;
        EXPECT_TRUE(run.err().contains(QLatin1String(row.said))) << run.err().toStdString();
    }
}

} // namespace
