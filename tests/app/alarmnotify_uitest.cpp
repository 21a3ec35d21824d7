#include "core/link/frame.h"
#include "support/windowrig.h"
#include "ui/panels/alarmbar.h"
#include "ui/window/commandids.h"
#include "ui/window/desktopnotifier.h"

#include <QAction>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QVariantMap>

namespace {

// A notification service that keeps every call it gets.
class NotificationServer : public QDBusVirtualObject {
public:
    struct Call {
        QString app;
        uint replaces;
        QString summary;
        QString body;
        QVariantMap hints;
    };
    QList<Call> calls;

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& bus) override {
        const QList<QVariant> args = message.arguments();
        if (message.member() != "Notify" || args.size() != 8)
            return false;
        calls.append({args[0].toString(), args[1].toUInt(), args[3].toString(), args[4].toString(),
                      qdbus_cast<QVariantMap>(args[6])});
        return bus.send(message.createReply(QVariant::fromValue(40u + uint(calls.size()))));
    }
    QString introspect(const QString&) const override { return {}; }
};

// A session bus of the test's own, gone with it.
struct PrivateBus {
    QProcess daemon;
    QString address;

    PrivateBus() {
        daemon.start(QStringLiteral("dbus-daemon"),
                     {"--session", "--nofork", "--nosyslog", "--print-address=1"});
        if (daemon.waitForReadyRead(5000))
            address = QString::fromUtf8(daemon.readLine()).trimmed();
    }
    ~PrivateBus() {
        daemon.kill();
        daemon.waitForFinished(5000);
    }
    QDBusConnection connect(const QString& name) {
        return QDBusConnection::connectToBus(address, name);
    }
};

// Three crossings of the high limit are three notifications, each replacing
// the one before, whatever the readings between them; without a service an
// alarm is told on the message line alone, and nothing complains.
TEST(AlarmNotifications, OneNotificationForEachChangeOfState) {
    PrivateBus bus;
    ASSERT_FALSE(bus.address.isEmpty()) << "dbus-daemon did not start";
    QDBusConnection client = bus.connect(QStringLiteral("orvane-client"));
    QDBusConnection serverBus = bus.connect(QStringLiteral("orvane-server"));
    ASSERT_TRUE(client.isConnected() && serverBus.isConnected());

    WindowRig rig;
    rig.frame->setDesktopNotifier(std::make_unique<DesktopNotifier>(client));
    rig.record({1200, 2000}); // 120.0, then 200.0 against the limit 150
    const MessageLine& line = rig.frame->messageLine();
    EXPECT_EQ(line.level(MessageTopic::Alarm), MessageLevel::Error);
    EXPECT_TRUE(
        line.text(MessageTopic::Alarm).startsWith("Above the high alarm limit: 200.0 \u00b0C at "))
        << line.text(MessageTopic::Alarm).toStdString();
    QTest::qWait(200); // the call fails: nobody offers the service yet

    NotificationServer server;
    ASSERT_TRUE(serverBus.registerVirtualObject("/org/freedesktop/Notifications", &server));
    ASSERT_TRUE(serverBus.registerService("org.freedesktop.Notifications"));
    const auto crossing = [&](std::initializer_list<int> tenths, qsizetype calls) {
        rig.record(tenths);
        return QTest::qWaitFor([&] { return server.calls.size() >= calls; }, 5000);
    };
    ASSERT_TRUE(crossing({2100, 1500, 1000}, 1)); // 150.0 is not a deadband inside the limit
    EXPECT_TRUE(line.text(MessageTopic::Alarm).isEmpty());
    ASSERT_TRUE(crossing({1600, 1700}, 2));
    ASSERT_TRUE(crossing({1400, 900, 800}, 3));
    QTest::qWait(200);
    ASSERT_EQ(server.calls.size(), 3);

    const QStringList summaries = {"Back within the alarm limits", "Above the high alarm limit",
                                   "Back within the alarm limits"};
    const QStringList values = {"100.0 \u00b0C at ", "160.0 \u00b0C at ", "140.0 \u00b0C at "};
    for (int i = 0; i < 3; ++i) {
        const NotificationServer::Call& call = server.calls[i];
        EXPECT_EQ(call.app, "Orvane");
        EXPECT_EQ(call.replaces, i == 0 ? 0u : 40u + static_cast<uint>(i)) << i;
        EXPECT_EQ(call.summary, summaries[i]);
        EXPECT_TRUE(call.body.startsWith(values[i])) << call.body.toStdString();
        EXPECT_TRUE(call.body.endsWith("(limit 150 \u00b0C)")) << call.body.toStdString();
        EXPECT_EQ(call.hints.value("urgency").toInt(), i == 1 ? 2 : 1);
    }
    EXPECT_TRUE(rig.messages.isEmpty()) << rig.messages.join('\n').toStdString();
}

// Alarm Notifications is on and Alarm Sound off at first; both are kept in the
// configuration file. The sound is played by the first player found, without
// waiting, on entering high or low and not on the way back.
TEST(AlarmNotifications, SwitchesAreKeptAndTheSoundPlaysOnEnteringAnAlarm) {
    QTemporaryDir bin;
    const QString played = bin.filePath("played");
    QFile player(bin.filePath("paplay"));
    ASSERT_TRUE(player.open(QIODevice::WriteOnly));
    player.write(QString("#!/bin/sh\necho \"$@\" >> '%1'\n").arg(played).toUtf8());
    player.close();
    player.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", bin.path().toUtf8());

    WindowRig rig;
    rig.frame->setDesktopNotifier(std::make_unique<DesktopNotifier>(QDBusConnection("none")));
    QAction* notify = rig.frame->action(ID_ALARM_NOTIFICATIONS);
    QAction* sound = rig.frame->action(ID_ALARM_SOUND);
    EXPECT_TRUE(notify->isCheckable() && notify->isChecked());
    EXPECT_TRUE(sound->isCheckable() && !sound->isChecked());
    rig.frame->setAlarmSoundFile(rig.path("alarm.wav"));
    QFile(rig.path("alarm.wav")).open(QIODevice::WriteOnly);

    rig.record({2000, 1000});
    sound->trigger();
    rig.feed(celsiusFrame(600, kFlagCelsius | kFlagNegative)); // -60.0
    rig.record({2000, 1000, 2000});
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return QFile(played).size() >= 3 * (rig.path("alarm.wav").size() + 1); }, 5000));
    QTest::qWait(200);
    QFile log(played);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(log.readAll()), QString(rig.path("alarm.wav") + "\n").repeated(3));
    qputenv("PATH", oldPath);

    notify->trigger();
    WindowRig again({.configPath = rig.path("config/loggerconfig.ini")});
    EXPECT_FALSE(again.frame->action(ID_ALARM_NOTIFICATIONS)->isChecked());
    EXPECT_TRUE(again.frame->action(ID_ALARM_SOUND)->isChecked());
}

// A typed limit moves the alarm at once: the message line names it, the next
// readings are held against it, and a high limit typed below the low one is
// said to be taken the other way round.
TEST(AlarmNotifications, ATypedLimitMovesTheAlarm) {
    WindowRig rig;
    rig.frame->setDesktopNotifier(std::make_unique<DesktopNotifier>(QDBusConnection("none")));
    std::vector<AlarmChange> changes;
    QObject::connect(&rig.rec(), &Recorder::alarmChanged,
                     [&](const AlarmChange& change) { changes.push_back(change); });
    const MessageLine& line = rig.frame->messageLine();
    AlarmBar& bar = *rig.frame->view().alarmBar();
    rig.record({1600});
    bar.highEdit()->selectAll();
    QTest::keyClicks(bar.highEdit(), QStringLiteral("120"));
    EXPECT_TRUE(line.text(MessageTopic::Alarm).endsWith("(limit 120 \u00b0C)"))
        << line.text(MessageTopic::Alarm).toStdString();
    rig.record({1300, 1100}); // still above 120, then back
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[1].level, AlarmLevel::Normal);
    EXPECT_EQ(changes[1].limit, 120);

    bar.lowEdit()->selectAll();
    QTest::keyClicks(bar.lowEdit(), QStringLiteral("130"));
    EXPECT_EQ(rig.rec().alarmLimits(), (AlarmLimits{130, 120}));
    EXPECT_TRUE(line.text(MessageTopic::Limits).contains("taken the other way round"));
    rig.record({1250}); // between the two: normal
    EXPECT_EQ(changes.size(), 2u);
}

} // namespace
