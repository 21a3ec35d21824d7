#include "core/sim/signalprofile.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Shape = SignalProfile::Shape;

SignalProfile profile(Shape shape, double base, double span, int period, double noise = 0.0,
                      std::uint64_t seed = 1) {
    SignalProfile::Params p;
    p.shape = shape;
    p.base = base;
    p.span = span;
    p.periodFrames = period;
    p.noise = noise;
    p.seed = seed;
    return SignalProfile(p);
}

TEST(SignalProfile, ShapesWithoutNoise) {
    struct Row {
        Shape shape;
        int period;
        std::int64_t n;
        double want;
    };
    // base 10, span 9
    const Row rows[] = {
        {Shape::Steady, 10, 0, 10.0},
        {Shape::Steady, 10, 12345, 10.0},
        {Shape::Ramp, 10, 0, 10.0},
        {Shape::Ramp, 10, 1, 11.0},
        {Shape::Ramp, 10, 9, 19.0},
        {Shape::Ramp, 10, 10, 10.0}, // wraps to the start
        {Shape::Ramp, 10, 25, 15.0},
        {Shape::Ramp, 10, -1, 19.0},
        {Shape::Ramp, 1, 7, 10.0},
        {Shape::Ramp, 0, 7, 10.0}, // no cycle to speak of
        {Shape::Sine, 8, 0, 10.0},
        {Shape::Sine, 8, 2, 19.0},
        {Shape::Sine, 8, 4, 10.0},
        {Shape::Sine, 8, 6, 1.0},
        {Shape::Sine, 8, 8 * 1000 + 2, 19.0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(row.shape) << " n=" << row.n);
        EXPECT_NEAR(profile(row.shape, 10.0, 9.0, row.period).valueAt(row.n), row.want, 1e-9);
    }
}

TEST(SignalProfile, NoiseIsBoundedRepeatableAndSpread) {
    const auto a = profile(Shape::Steady, 50.0, 0.0, 10, 2.0, 7);
    const auto again = profile(Shape::Steady, 50.0, 0.0, 10, 2.0, 7);
    const auto other = profile(Shape::Steady, 50.0, 0.0, 10, 2.0, 8);
    double lo = 1e9, hi = -1e9, sum = 0;
    int differ = 0;
    const int count = 2000;
    for (int n = 0; n < count; ++n) {
        const double v = a.valueAt(n);
        ASSERT_EQ(v, again.valueAt(n));
        ASSERT_GE(v, 48.0);
        ASSERT_LE(v, 52.0);
        lo = std::min(lo, v);
        hi = std::max(hi, v);
        sum += v;
        differ += other.valueAt(n) != v;
    }
    EXPECT_LT(lo, 48.5);
    EXPECT_GT(hi, 51.5);
    EXPECT_NEAR(sum / count, 50.0, 0.2);
    EXPECT_GT(differ, count - 5);
    // Asking out of order gives the same reading.
    EXPECT_EQ(a.valueAt(1234), again.valueAt(1234));
}

TEST(SignalProfile, ShapeNames) {
    EXPECT_EQ(SignalProfile::shapeFromName("steady"), Shape::Steady);
    EXPECT_EQ(SignalProfile::shapeFromName("Ramp"), Shape::Ramp);
    EXPECT_EQ(SignalProfile::shapeFromName("SINE"), Shape::Sine);
    EXPECT_EQ(SignalProfile::shapeFromName("square"), std::nullopt);
    EXPECT_EQ(SignalProfile::shapeFromName(""), std::nullopt);
}

} // namespace
