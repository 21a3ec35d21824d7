#include "engine/silencewatch.h"

#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

// Frames that keep coming hold the notice off however long they come; once
// they stop, the silence is told once, a whole wait after the last of them.
TEST(SilenceWatch, TellsTheSilenceAWholeWaitAfterTheLastFrame) {
    qputenv("ORVANE_SILENCE_MS", "300");
    SilenceWatch watch;
    qunsetenv("ORVANE_SILENCE_MS");
    int silences = 0;
    QObject::connect(&watch, &SilenceWatch::silenceBegan, &watch, [&] { ++silences; });
    watch.start();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 900) {
        watch.frameArrived();
        QTest::qWait(40);
    }
    EXPECT_EQ(silences, 0);
    watch.frameArrived();
    clock.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return silences > 0; }, 3000));
    EXPECT_GE(clock.elapsed(), 280);
    QTest::qWait(700);
    EXPECT_EQ(silences, 1);
    EXPECT_TRUE(watch.silent());
}

// The wait is the promised 10 s unless ORVANE_SILENCE_MS gives a usable one,
// and the notice says how long it was.
TEST(SilenceWatch, WaitsTenSecondsUnlessTheEnvironmentShortensIt) {
    const struct {
        const char* environment; // nullptr: unset
        int timeoutMs;
        const char* said;
    } rows[] = {
        {nullptr, 10000, "for 10 s"}, {"300", 300, "for 1 s"},     {"0", 10000, "for 10 s"},
        {"-5", 10000, "for 10 s"},    {"soon", 10000, "for 10 s"},
    };
    const QByteArray kept = qgetenv("ORVANE_SILENCE_MS");
    for (const auto& row : rows) {
        if (row.environment)
            qputenv("ORVANE_SILENCE_MS", row.environment);
        else
            qunsetenv("ORVANE_SILENCE_MS");
        SilenceWatch watch;
        EXPECT_EQ(watch.timeoutMs(), row.timeoutMs)
            << (row.environment ? row.environment : "unset");
        EXPECT_TRUE(
            watch.silenceText(QStringLiteral("/dev/ttyUSB0")).contains(QLatin1String(row.said)));
    }
    if (kept.isNull())
        qunsetenv("ORVANE_SILENCE_MS");
    else
        qputenv("ORVANE_SILENCE_MS", kept);
}
