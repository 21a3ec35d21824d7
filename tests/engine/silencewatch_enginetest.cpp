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
