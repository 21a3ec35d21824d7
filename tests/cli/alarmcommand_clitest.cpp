#include "support/clirun.h"
#include "support/frames.h"
#include "support/ptypair.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The command runs on every change of the alarm state with the change in its
// environment, while the readings go on without waiting for it; its output
// and status are told only when it fails.
TEST(OrvaneCliAlarm, TheCommandRunsOnEveryChangeWithoutDelayingAReading) {
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
                QStringLiteral("--on-alarm"), command, QStringLiteral("--out"),
                dir.filePath(QStringLiteral("run.DovDat"))});
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
    ASSERT_EQ(entries.size(), 4) << run.err().toStdString();
    const QString device = QStringLiteral("ORVANE_DEVICE=") + pty.slavePath() + "\n";
    const char* expected[][3] = {{"high", "200.5", "150"},
                                 {"normal", "150.0", "150"},
                                 {"high", "200.0", "150"},
                                 {"normal", "20.0", "150"}};
    for (int i = 0; i < 4; ++i) {
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
    EXPECT_EQ(err.count(QStringLiteral("the alarm command exited with status 3")), 2);
    EXPECT_EQ(err.count(QStringLiteral("broken")), 2);
    EXPECT_EQ(err.count(QStringLiteral("chatter")), 2);
    EXPECT_EQ(run.outLines().size(), 6);
}

} // namespace
