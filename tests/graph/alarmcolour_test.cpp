#include "core/graph/alarmcolour.h"
#include "core/graph/pixelmath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

// A window of 0..300 on 300 rows: the row of value v is 300 - v. Limits 150 / 100.
constexpr AlarmBand kBand{150.0, 100.0, 150.0, 200.0};
constexpr auto R = CurveColour::Red;
constexpr auto B = CurveColour::Blue;

SegmentEnd at(double x, double value) {
    return {x, 300.0 - value, value};
}

std::vector<CurvePiece> pieces(const SegmentEnd& a, const SegmentEnd& b) {
    const ColouredPieces p = colourSegment(a, b, kBand);
    return {p.begin(), p.end()};
}

struct Row {
    const char* name;
    double u0;
    double u1;
    std::vector<CurvePiece> expected;
};

TEST(AlarmColour, SegmentsSplitAtTheLimitRows) {
    const Row rows[] = {
        {"rises through both limits",
         90,
         160,
         {{60, 150, 70, 140, R}, {10, 200, 60, 150, B}, {10, 200, 0, 210, R}}},
        {"falls through both limits",
         160,
         90,
         {{10, 150, 0, 140, R}, {60, 200, 10, 150, B}, {60, 200, 70, 210, R}}},
        {"from the low limit over the high one",
         100,
         200,
         {{35, 150, 70, 100, R}, {35, 150, 0, 200, B}}},
        {"from the high limit under the low one",
         150,
         50,
         {{35, 200, 70, 250, R}, {35, 200, 0, 150, B}}},
        {"into the band from below", 90, 120, {{23, 200, 0, 210, R}, {23, 200, 70, 180, B}}},
        {"from under the band up to the high limit",
         90,
         150,
         {{11, 200, 0, 210, R}, {11, 200, 70, 150, B}}},
        {"out of the band downwards", 120, 90, {{46, 200, 70, 210, R}, {46, 200, 0, 180, B}}},
        {"on the high row", 150, 150, {{0, 150, 70, 150, R}, {0, 150, 70, 150, B}}},
        {"on the low row", 100, 100, {{0, 200, 70, 200, R}, {0, 200, 70, 200, B}}},
        {"above the band", 160, 200, {{0, 140, 70, 100, R}}},
        {"below the band", 50, 80, {{0, 250, 70, 220, R}}},
        {"inside the band", 110, 140, {{0, 190, 70, 160, B}}},
        {"from the no-value mark, off the top",
         3000,
         100,
         {{68, 150, 0, -2700, R}, {68, 150, 70, 200, B}}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(pieces(at(0, row.u0), at(70, row.u1)), row.expected) << row.name;
    }
}

TEST(AlarmColour, DegenerateInputStaysDefined) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(pieces(at(0, nan), at(70, 120)).empty());
    EXPECT_TRUE(pieces({0, nan, 120}, {70, 180, 120}).empty());

    // Values on both sides of the limit that fall on one pixel row: no division by zero.
    const auto level = pieces({0, 150, 149.9}, {70, 150, 150.1});
    ASSERT_EQ(level.size(), 2u);
    EXPECT_EQ(level[0], (CurvePiece{0, 150, 70, 150, R}));

    // A row far beyond any screen is cut back along the line, keeping its direction.
    const auto steep = pieces({0, -1e30, 1e30}, {70, 200, 100});
    ASSERT_EQ(steep.size(), 2u);
    EXPECT_EQ(steep[0].y2, -static_cast<int>(kPixelLimit));
    EXPECT_EQ(steep[0].x2, 70);
    EXPECT_EQ(steep[1], (CurvePiece{70, 150, 70, 200, B}));
}

} // namespace
