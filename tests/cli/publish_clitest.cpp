#include "support/clirun.h"
#include "support/frames.h"
#include "support/mqttbroker.h"
#include "support/ptypair.h"

#include <QTemporaryDir>

#include <sys/stat.h>

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
    ASSERT_TRUE(sub.waitFor([](const QStringList& m) { return m.size() >= 7; }))
        << sub.messages().join('\n').toStdString();

    const QStringList m = sub.messages();
    EXPECT_EQ(m[0], kTopic + QStringLiteral("/status online"));
    // The alarm state comes first on every connection: none yet.
    EXPECT_TRUE(m[1].startsWith(kTopic + QStringLiteral("/alarm {\"n\":0,\"state\":\"normal\"")))
        << m[1].toStdString();
    for (int i = 1; i <= 3; ++i)
        EXPECT_TRUE(
            m[i == 3 ? 5 : i + 1].startsWith(kTopic + QStringLiteral("/reading {\"n\":%1,").arg(i)))
            << m.join('\n').toStdString();
    EXPECT_TRUE(m[4].startsWith(kTopic + QStringLiteral("/alarm {\"n\":2,\"state\":\"high\"")));
    EXPECT_EQ(m[6], kTopic + QStringLiteral("/status offline"));
    EXPECT_TRUE(
        run.err().contains(QLatin1String("warning: other users of this computer may read")));
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

TEST(OrvaneCliPublish, PublishesOnlyTheRecordedSamplesAndEndsOnARefusedLogin) {
    MqttBroker broker(QStringLiteral("anna"), QStringLiteral("s3cret"));
    ASSERT_TRUE(broker.start());
    MqttSubscriber sub(broker.port(), kTopic + QStringLiteral("/reading"),
                       {QStringLiteral("-u"), QStringLiteral("anna"), QStringLiteral("-P"),
                        QStringLiteral("s3cret")});
    ASSERT_TRUE(sub.subscribed());
    QTemporaryDir dir;
    const auto passwordFile = [&](const QByteArray& text) {
        QFile file(dir.filePath(QStringLiteral("password")));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        return file.fileName();
    };
    const QStringList login{"--mqtt", broker.url(kTopic), "--mqtt-user", "anna",
                            "--mqtt-password-file"};
    PtyPair pty;
    {
        // Five readings in one read; the count stops at two.
        CliRun run(QStringList{"record", "--device", pty.slavePath(), "--count", "2"} + login +
                       QStringList{passwordFile("s3cret\n")},
                   dir.path());
        ASSERT_TRUE(run.waitErr(QStringLiteral("Publishing to")));
        ASSERT_TRUE(pty.write(celsiusFrame(100).repeated(5)));
        ASSERT_EQ(run.finish(), 0) << run.err().toStdString();
        EXPECT_TRUE(sub.waitFor([](const QStringList& m) { return m.size() >= 2; }));
        QTest::qWait(300);
        EXPECT_EQ(sub.messages().size(), 2) << sub.messages().join('\n').toStdString();
    }
    CliRun run(QStringList{"record", "--device", pty.slavePath(), "--count", "2"} + login +
                   QStringList{passwordFile("wrong\n")},
               dir.path());
    ASSERT_TRUE(run.waitErr(QStringLiteral("refused the user name or password")))
        << run.err().toStdString();
    for (int tenths : {100, 200})
        ASSERT_TRUE(pty.write(celsiusFrame(tenths)));
    EXPECT_EQ(run.finish(), 1) << run.err().toStdString();
    EXPECT_EQ(run.err().count(QLatin1String("refused")), 2) << run.err().toStdString();
    EXPECT_FALSE(run.err().contains(QLatin1String("cannot be reached")));
    EXPECT_TRUE(run.err().contains(QLatin1String("Recorded 2 samples.")));
}

TEST(OrvaneCliPublish, AWrongBrokerOptionOrPasswordFileIsRefusedAtOnce) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QFile empty(dir.filePath(QStringLiteral("empty")));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    const struct {
        QStringList options;
        int status;
        const char* said;
    } rows[] = {
        {{"--mqtt", "http://broker/t"}, 2, "starts with mqtt:// or mqtts://"},
        {{"--mqtt", "mqtt://broker"}, 2, "names no topic"},
        {{"--mqtt", "mqtt://b/bad%FFutf"}, 2, "not valid UTF-8"},
        {{"--mqtt-user", "anna"}, 2, "go with --mqtt"},
        {{"--mqtt", "mqtt://:pw@b/t"}, 2, "no user name"},
        {{"--mqtt", "mqtt://b/t", "--mqtt-password-file", dir.filePath("none")},
         1,
         "cannot read the password file"},
        {{"--mqtt", "mqtt://b/t", "--mqtt-password-file", "/dev/zero"}, 1, "not a regular file"},
        {{"--mqtt", "mqtt://b/t", "--mqtt-password-file", fifo}, 1, "not a regular file"},
        {{"--mqtt", "mqtt://b/t", "--mqtt-password-file", empty.fileName()}, 1, "is empty"},
    };
    for (const auto& row : rows) {
        CliRun run(QStringList{"record", "--simulator", "--count", "1"} + row.options, dir.path());
        EXPECT_EQ(run.finish(), row.status) << row.said;
        EXPECT_TRUE(run.err().contains(QLatin1String(row.said))) << run.err().toStdString();
    }
}

} // namespace
