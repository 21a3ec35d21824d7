#include "support/clirun.h"
#include "support/frames.h"
#include "support/ptypair.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The command runs on the changes of the alarm state with the change in its
// environment, one at a time, while the readings go on without waiting for
// it; a change that comes while it runs waits, a later one replaces it. Its
// output and status are told only when it fails.
TEST(OrvaneCliAlarm, TheCommandRunsOnTheChangesWithoutDelayingAReading) {
    PtyPair pty;
    ASSERT_TRUE(pty.isOpen());
    QTemporaryDir dir;
    const QString seen = dir.filePath(QStringLiteral("seen"));
    const QString command =
        QStringLiteral("{ env | grep '^ORVANE_' | sort; echo --; } >> '%1'; echo chatter; "
                       "case $ORVANE_ALARM in high) sleep 3;; normal) echo broken; exit 3;; esac")
            .arg(seen);
    CliRun run({QStringLiteral("record"), QStringLiteral("--device"), pty.slavePath(),
                QStringLiteral("--count"), QStringLiteral("6"), QStringLiteral("--high"),
                QStringLiteral("150"), QStringLiteral("--low"), QStringLiteral("-50"),
                QStringLiteral("--deadband"), QStringLiteral("0"), QStringLiteral("--on-alarm"),
                command, QStringLiteral("--out"), dir.filePath(QStringLiteral("run.DovDat"))});
    ASSERT_TRUE(run.waitRecording()) << run.err().toStdString();

    // 120.0, 200.5 (high), 210.0, 150.0 (normal: a limit is inside), 200.0 (high), 20.0 (normal)
    QElapsedTimer clock;
    clock.start();
    for (const int tenths : {1200, 2005, 2100, 1500, 2000, 200}) {
        pty.write(celsiusFrame(tenths));
        QTest::qWait(60);
    }
    ASSERT_TRUE(run.waitSamples(6)) << run.err().toStdString();
    EXPECT_LT(clock.elapsed(), 2500) << "a reading waited for the command";
    ASSERT_EQ(run.finish(), 0) << run.err().toStdString();

    const QStringList entries =
        QString::fromUtf8(readAll(seen)).split(QStringLiteral("--\n"), Qt::SkipEmptyParts);
    // The first change, then the last: the two between waited and were replaced.
    ASSERT_EQ(entries.size(), 2) << run.err().toStdString();
    const QString device = QStringLiteral("ORVANE_DEVICE=") + pty.slavePath() + "\n";
    const char* expected[][3] = {{"high", "200.5", "150"}, {"normal", "20.0", "150"}};
    for (int i = 0; i < 2; ++i) {
        // Sorted by name: ALARM, DEVICE, LIMIT, TIME, UNIT, VALUE.
        const QStringList vars = entries[i].split('\n', Qt::SkipEmptyParts);
        ASSERT_EQ(vars.size(), 6) << entries[i].toStdString();
        EXPECT_EQ(vars[0], QStringLiteral("ORVANE_ALARM=") + expected[i][0]);
        EXPECT_EQ(vars[1] + "\n", device);
        EXPECT_EQ(vars[2], QStringLiteral("ORVANE_LIMIT=") + expected[i][2]);
        EXPECT_TRUE(vars[3].startsWith(QStringLiteral("ORVANE_TIME=20"))) << vars[3].toStdString();
        EXPECT_EQ(vars[4], QStringLiteral("ORVANE_UNIT=C"));
        EXPECT_EQ(vars[5], QStringLiteral("ORVANE_VALUE=") + expected[i][1]);
    }
    // An "alarm:" line for each change; the failed runs' output, and only theirs.
    const QString err = run.err();
    EXPECT_EQ(err.count(QStringLiteral("alarm: high ")), 2) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("alarm: normal 150.0 C limit 150 20")))
        << err.toStdString();
    EXPECT_EQ(err.count(QStringLiteral("alarm: ")), 4) << err.toStdString();
    EXPECT_EQ(err.count(QStringLiteral("the alarm command exited with status 3")), 1);
    EXPECT_EQ(err.count(QStringLiteral("broken")), 1);
    EXPECT_EQ(err.count(QStringLiteral("chatter")), 1);
    EXPECT_EQ(run.outLines().size(), 6);
}

bool running(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    return stat.open(QIODevice::ReadOnly) && !stat.readAll().contains(") Z ");
}

qint64 residentKiB(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray text = status.readAll();
    const qsizetype at = text.indexOf("VmRSS:");
    return at < 0 ? 0
                  : text.mid(at + 6, text.indexOf('\n', at) - at - 6)
                        .trimmed()
                        .split(' ')[0]
                        .toLongLong();
}

// A command that prints without end, or hangs with a child of its own, on a
// reading that flaps: one runs at a time, its output costs a bounded amount,
// and at the end it and its child are ended and the run says so.
TEST(OrvaneCliAlarm, AChattyOrHangingCommandCostsABoundedAmountAndLeavesNothing) {
    for (const char* command :
         {"echo >> starts; yes", "echo >> starts; sleep 60 & echo $! > child; wait"}) {
        PtyPair pty;
        ASSERT_TRUE(pty.isOpen());
        QTemporaryDir dir;
        qputenv("ORVANE_ALARM_END_MS", "1000");
        // Under AddressSanitizer freed memory waits in a quarantine of 256 MiB:
        // kept small, the bound below speaks of the program alone.
        const QByteArray asan = qgetenv("ASAN_OPTIONS");
        qputenv("ASAN_OPTIONS", asan + (asan.isEmpty() ? "" : ":") + "quarantine_size_mb=8");
        CliRun run({"record", "--device", pty.slavePath(), "--count", "10", "--high", "150",
                    "--on-alarm", command, "--out", "run.DovDat"},
                   dir.path());
        qunsetenv("ORVANE_ALARM_END_MS");
        if (asan.isEmpty())
            qunsetenv("ASAN_OPTIONS");
        else
            qputenv("ASAN_OPTIONS", asan);
        ASSERT_TRUE(run.waitRecording()) << run.err().toStdString();
        for (int i = 0; i < 9; ++i) {
            pty.write(celsiusFrame(i % 2 ? 1000 : 2000));
            QTest::qWait(150);
        }
        EXPECT_LT(residentKiB(run.processId()), 200 * 1024) << command;
        pty.write(celsiusFrame(2000));
        EXPECT_EQ(run.finish(), 0) << command << run.err().toStdString();
        EXPECT_EQ(dataFileValues(dir.filePath("run.DovDat")).size(), 10U) << command;
        EXPECT_EQ(readAll(dir.filePath("starts")), "\n") << command;
        EXPECT_TRUE(run.err().contains("the alarm command was still running at the end and was "
                                       "stopped"))
            << command;
        EXPECT_TRUE(run.err().contains("the change to high at ")) << command; // the last one
        EXPECT_LT(run.err().size(), 8 * 1024) << command << run.err().toStdString();
        const qint64 child = readAll(dir.filePath("child")).trimmed().toLongLong();
        if (child > 0) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return !running(child); }, 2000)) << command;
        }
    }
}

// The built-in simulated instrument is called so, not by its pseudo-terminal.
TEST(OrvaneCliAlarm, TheSimulatorIsNamedAsSuch) {
    QTemporaryDir dir;
    const QString seen = dir.filePath(QStringLiteral("seen"));
    CliRun run({"record", "--simulator", "--count", "1", "--high", "-100", "--low", "-200",
                "--on-alarm", "echo \"$ORVANE_DEVICE\" > '" + seen + "'", "--out",
                dir.filePath(QStringLiteral("run.DovDat"))});
    ASSERT_EQ(run.finish(), 0) << run.err().toStdString();
    EXPECT_TRUE(run.err().contains(QStringLiteral("Recording from simulator;")))
        << run.err().toStdString();
    EXPECT_EQ(readAll(seen), "simulator\n");
}

} // namespace
