#include "core/graph/graphaxes.h"
#include "core/graph/graphscale.h"
#include "core/graph/pixelmath.h"
#include "graphrig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

std::vector<std::string> labelTexts(const std::vector<SceneText>& labels) {
    std::vector<std::string> out;
    for (const SceneText& t : labels) {
        out.push_back(t.text);
    }
    return out;
}

TEST(GraphScale, LiveSeriesIsCompressedWhenItReachesTheRightEdge) {
    GraphRig r;
    r.values = ramp(100, 20.0f);
    auto scene = r.paint();
    EXPECT_FLOAT_EQ(r.f().g_fPixelsPerSample, 600.0f / 99.0f);
    EXPECT_NEAR(r.rows().g_fCurveX[99], 600.0, 1e-3);
    EXPECT_FALSE(scene.repaintRequested);

    // Sample 101 squeezes the curve into 11/12 of the width in the same paint.
    r.values.push_back(120.0f);
    scene = r.paint();
    EXPECT_FLOAT_EQ(r.f().g_fPixelsPerSample, 5.5f);
    EXPECT_EQ(r.f().g_nPointsPerScreen, 110);
    EXPECT_FLOAT_EQ(r.rows().g_fCurveX[2], 11.0f);
    EXPECT_FLOAT_EQ(r.rows().g_fCurveX[100], 550.0f);
    EXPECT_EQ(scene.curve.back().x2, 550);
    EXPECT_TRUE(scene.repaintRequested);

    scene = r.paint();
    EXPECT_FLOAT_EQ(r.f().g_fPixelsPerSample, 600.0f / 109.0f);
    EXPECT_FALSE(scene.repaintRequested);

    r.values = ramp(111, 20.0f);
    r.paint();
    EXPECT_FLOAT_EQ(r.f().g_fPixelsPerSample, 5.0f);
    EXPECT_EQ(r.f().g_nPointsPerScreen, 121);
}

TEST(GraphScale, LiveGridIsEightSamplesApartAtTheStart) {
    GraphRig r;
    r.values = ramp(40, 20.0f);
    const auto scene = r.paint();
    ASSERT_EQ(scene.verticalGridX.size(), 20u);
    EXPECT_EQ(scene.verticalGridX[1], 48); // trunc(8 * 600 / 99)
    EXPECT_EQ(scene.verticalGridX[12], 581);
    ASSERT_EQ(scene.sampleLabels.size(), 13u); // only lines left of the plot's right edge
    EXPECT_EQ(scene.sampleLabels[0].text, "1");
    EXPECT_EQ(scene.sampleLabels[2].text, "17");
    EXPECT_EQ(scene.sampleLabels[2].x, 70 + 96);
    EXPECT_EQ(scene.sampleLabels[2].y, r.plot().bottom + 40);
    EXPECT_EQ(r.f().m_strXLabel[19], "153");
}

TEST(GraphScale, FitModeSpreadsTheSeriesOverTheWidth) {
    struct Row {
        int count;
        std::vector<int> gridX;
        std::vector<std::string> labels;
    };
    const Row rows[] = {
        {0, {}, {}},
        {1, {0}, {"1"}},
        {2, {0, 600}, {"1"}}, // two samples: the second line falls on the right edge
        {5, {0, 120, 240, 360, 480}, {"1", "2", "3", "4", "5"}},
    };
    for (const Row& row : rows) {
        GraphRig r;
        r.fitMode = true;
        r.values = ramp(row.count, 120.0f);
        const auto scene = r.paint();
        EXPECT_EQ(scene.verticalGridX, row.gridX) << row.count;
        EXPECT_EQ(labelTexts(scene.sampleLabels), row.labels) << row.count;
        for (std::size_t m = 0; m < scene.sampleLabels.size(); ++m) {
            EXPECT_EQ(scene.sampleLabels[m].x, r.plot().left + row.gridX[m]);
        }
        EXPECT_EQ(scene.curve.empty(), row.count < 2);
    }
    GraphRig two;
    two.fitMode = true;
    two.values = {120.0f, 130.0f};
    two.paint();
    EXPECT_FLOAT_EQ(two.rows().g_fCurveX[1], 300.0f);
}

TEST(GraphScale, ScrollPositionSelectsTheValueWindow) {
    struct Row {
        int position;
        const char* bottom;
        const char* top;
    };
    for (const Row& row :
         {Row{72, "-100.00", "200.00"}, Row{68, "0.00", "300.00"}, Row{0, "1700.00", "2000.00"}}) {
        GraphRig r;
        r.yScrollPos = row.position;
        const auto scene = r.paint();
        EXPECT_EQ(scene.valueAxis[0].label.text, row.bottom);
        EXPECT_EQ(scene.valueAxis[12].label.text, row.top);
        EXPECT_EQ(r.f().g_fYTick[0][12] - r.f().g_fYTick[0][0], 300.0f);
        EXPECT_EQ(scene.valueScroll.position, row.position);
    }
}

TEST(GraphScale, AxisMarksAndGridRowsFollowThePlotHeight) {
    GraphRig r;
    r.h = 245;
    const auto scene = r.paint();
    for (int j = 1; j <= 12; ++j) {
        EXPECT_EQ(scene.horizontalGridY[j - 1], j * 245 / 12);
    }
    // Tick 0 on the plot's bottom row, tick 12 on its top row (margin origin: top - 7).
    EXPECT_EQ(scene.valueAxis[0].tickY, 245 + 6);
    EXPECT_EQ(scene.valueAxis[12].tickY, 7);
    EXPECT_EQ(scene.valueAxis[0].tickX1, 65);
    EXPECT_EQ(scene.valueAxis[6].label.y, 245 - 6 * 243 / 12 + 7 - 8);
    EXPECT_EQ(scene.valueAxis[0].label.x, 9);  // -100.00
    EXPECT_EQ(scene.valueAxis[4].label.x, 32); // 0.00
}

TEST(GraphScale, ValueLabelIndent) {
    const std::pair<double, int> rows[] = {{1000, 9},  {999, 17},  {10, 24},         {5, 32},
                                           {0, 32},    {-5, 24},   {-10, 17},        {-250, 9},
                                           {-1000, 9}, {-1001, 2}, {std::nan(""), 2}};
    for (const auto& [value, x] : rows) {
        EXPECT_EQ(valueLabelX(value), x) << value;
    }
}

TEST(GraphScale, EmptyLiveGraphResetsTheScale) {
    GraphRig r;
    r.f().g_nPointsPerScreen = 300;
    r.f().g_nZoomLevel = 4;
    r.f().g_bAutoScale = false;
    r.f().m_nPanOffset = 7;
    const auto scene = r.paint();
    EXPECT_EQ(r.f().g_nPointsPerScreen, 100);
    EXPECT_EQ(r.f().g_nZoomLevel, 0);
    EXPECT_TRUE(r.f().g_bAutoScale);
    EXPECT_EQ(r.f().m_nPanOffset, 0);
    EXPECT_TRUE(scene.emptyReadout);
    EXPECT_EQ(scene.horizontalGridY.size(), 12u);
    EXPECT_EQ(scene.verticalGridX.size(), 20u);
    EXPECT_TRUE(scene.curve.empty());
    EXPECT_EQ(scene.alarmLineY, (std::vector<int>{50, 100})); // 150 and 100 in -100..200
}

TEST(GraphScale, ALiveRecordingAfterALoadStartsFromTheEmptyScale) {
    // A long live recording, squeezed, zoomed and panned; then a file is loaded.
    GraphRig r;
    r.values = ramp(400, 20.0f);
    r.paint();
    r.zoom(100, 0, 300, 300);
    r.f().m_nPanOffset = 5;
    r.fitMode = true;
    r.paint();
    // The first live frame empties the store and is committed at once: no
    // paint sees the graph empty, yet it shows what a new graph shows.
    r.fitMode = false;
    r.values = {25.0f, 26.0f};
    ++r.emptied;
    const auto scene = r.paint();
    GraphRig fresh;
    fresh.paint();
    fresh.values = r.values;
    EXPECT_TRUE(extendsCurveOnly(fresh.paint(), scene) && !scene.panMaximum);
    EXPECT_EQ(r.f().g_nPointsPerScreen, 100);
    EXPECT_EQ(r.f().m_nPanOffset, 0);
}

TEST(GraphScale, HoverLineSurvivesOnlyARepaintForNewData) {
    GraphRig r;
    r.values = ramp(10, 20.0f);
    r.f().g_bHoverLineErased = false;
    r.f().g_nHoverX = 170;
    r.newData = true;
    auto scene = r.paint();
    EXPECT_EQ(scene.hoverLineX, 100);
    EXPECT_FALSE(r.newData);

    scene = r.paint();
    EXPECT_FALSE(scene.hoverLineX);
    EXPECT_TRUE(r.f().g_bHoverLineErased);
}

TEST(GraphScale, NoValueMarkRunsOffTheTopInRed) {
    GraphRig r;
    r.values = {20.0f, 3000.0f, 20.0f};
    const auto scene = r.paint();
    ASSERT_FALSE(scene.curve.empty());
    for (const CurvePiece& p : scene.curve) {
        if (p.y1 < 0 || p.y2 < 0) {
            EXPECT_EQ(p.colour, CurveColour::Red);
        }
    }
    EXPECT_LT(r.rows().g_fCurveY[1], -2500.0f);
}

TEST(GraphScale, PlotWithoutAreaPaintsNothing) {
    for (const ClientRect client : {ClientRect{0, 0, 380, 245}, ClientRect{0, 0, 100, 50},
                                    ClientRect{0, 0, 0, 0}, ClientRect{0, 0, -20, -20}}) {
        GraphRig r;
        r.values = ramp(50, 20.0f);
        const float step = r.f().g_fPixelsPerSample;
        const auto scene = r.paint(client);
        EXPECT_FALSE(scene.hasArea);
        EXPECT_TRUE(scene.curve.empty());
        EXPECT_TRUE(scene.horizontalGridY.empty());
        EXPECT_EQ(r.f().g_fPixelsPerSample, step);
    }
}

// Odd sizes, counts and values in every mode: the arithmetic stays defined and
// every coordinate handed to the painter stays within int range.
TEST(GraphScale, AnyInputGivesABoundedScene) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<float> patterns[] = {
        {20.0f}, {3000.0f, 20.0f}, {1e30f, -1e30f}, {nan, 20.0f, nan}, {inf, -inf, 5.0f}};
    for (const auto& [w, h] : {std::pair{1, 1}, std::pair{5, 3}, std::pair{600, 300}}) {
        for (const int count : {0, 1, 2, 4000}) {
            for (const auto& pattern : patterns) {
                for (const int fit : {0, 1}) {
                    GraphRig r;
                    r.w = w;
                    r.h = h;
                    r.fitMode = fit != 0;
                    for (int i = 0; i < count; ++i) {
                        r.values.push_back(pattern[static_cast<std::size_t>(i) % pattern.size()]);
                    }
                    r.paint();
                    r.zoom(0, 0, w, h);
                    r.zoom(w / 3, 0, w, h);
                    r.f().m_nPanOffset = 2;
                    const auto scene = r.paint();
                    for (const CurvePiece& p : scene.curve) {
                        for (const int c : {p.x1, p.y1, p.x2, p.y2}) {
                            ASSERT_LE(std::abs(c), kPixelLimit);
                        }
                    }
                    EXPECT_EQ(scene.valueAxis.size(), 13u);
                }
            }
        }
    }
}

} // namespace
