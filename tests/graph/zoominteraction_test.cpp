#include "core/graph/zoominteraction.h"
#include "graphrig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// A live graph of 50 samples on a 600 x 300 plot, painted once.
GraphRig liveRig() {
    GraphRig r;
    r.values = ramp(50, 20.0f, 2.0f);
    r.paint();
    return r;
}

TEST(Zoom, DragDirectionDoesNotMatter) {
    GraphRig forward = liveRig();
    GraphRig backward = liveRig();
    EXPECT_EQ(forward.zoom(100, 40, 400, 220), ZoomOutcome::Zoomed);
    EXPECT_EQ(backward.zoom(400, 220, 100, 40), ZoomOutcome::Zoomed);
    EXPECT_EQ(forward.f().g_fYTick[1], backward.f().g_fYTick[1]);
    for (int c = 0; c < 50; ++c) {
        EXPECT_EQ(forward.rows().g_fZoomX[1][c], backward.rows().g_fZoomX[1][c]);
        EXPECT_EQ(forward.rows().g_fZoomY[1][c], backward.rows().g_fZoomY[1][c]);
    }
    // The box's value range fills the plot: rows 220 and 40 held -20 and 160 degrees.
    EXPECT_NEAR(forward.f().g_fYTick[1][0], -100 + 300 * 80 / 300.0, 1e-3);
    EXPECT_NEAR(forward.f().g_fYTick[1][12], -100 + 300 * 260 / 300.0, 1e-3);
}

TEST(Zoom, TickStepOfATenthOrLessIsRefusedButLeavesAutoScale) {
    struct Row {
        int height; // box height in pixels on a plot of 0.1 degree per pixel
        ZoomOutcome outcome;
    };
    for (const Row row : {Row{0, ZoomOutcome::Refused}, Row{11, ZoomOutcome::Refused},
                          Row{12, ZoomOutcome::Refused}, Row{13, ZoomOutcome::Zoomed}}) {
        for (const int bottom : {1000, 1500, 2873}) {
            GraphRig r;
            r.h = 3000;
            r.values = ramp(50, 20.0f);
            r.paint();
            EXPECT_EQ(r.drag(100, bottom - row.height, 300, bottom), row.outcome) << row.height;
            EXPECT_EQ(r.f().g_nZoomLevel, row.outcome == ZoomOutcome::Zoomed ? 1 : 0);
            EXPECT_FALSE(r.f().g_bAutoScale);
            EXPECT_TRUE(r.g.isZoomed());
        }
    }
}

TEST(Zoom, NinetyNineLevelsAtMost) {
    GraphRig r = liveRig();
    for (int i = 1; i <= 99; ++i) {
        ASSERT_EQ(r.zoom(1, 0, 599, 300), ZoomOutcome::Zoomed) << i;
    }
    EXPECT_EQ(r.f().g_nZoomLevel, 99);
    const auto ticks = r.f().g_fYTick[99];
    EXPECT_EQ(r.zoom(1, 0, 599, 300), ZoomOutcome::Refused);
    EXPECT_EQ(r.f().g_nZoomLevel, 99);
    EXPECT_EQ(r.f().g_fYTick[99], ticks);
}

TEST(Zoom, ClicksAndBoxesWithoutWidthChangeNothing) {
    GraphRig r = liveRig();
    const PlotRect p = r.plot();
    // A click: press and release without a move.
    ASSERT_TRUE(r.g.zoomPress(p, 50, p.left + 50, p.top + 50));
    EXPECT_EQ(r.g.zoomRelease(p, 50, p.left + 80, p.top + 80).outcome, ZoomOutcome::Click);
    // A box without width, with a move at the press point that set m_bDragging.
    ASSERT_TRUE(r.g.zoomPress(p, 50, p.left + 50, p.top + 50));
    r.g.mouseMove(p, 50, p.left + 50, p.top + 50);
    r.g.mouseMove(p, 50, p.left + 50, p.top + 150);
    EXPECT_TRUE(r.g.dragging());
    const auto release = r.g.zoomRelease(p, 50, p.left + 50, p.top + 150);
    EXPECT_EQ(release.outcome, ZoomOutcome::ZeroWidth);
    EXPECT_EQ(release.eraseBox, (DragRect{p.left + 50, p.top + 50, p.left + 50, p.top + 150}));
    EXPECT_FALSE(r.g.dragging());
    EXPECT_TRUE(r.f().g_bAutoScale);
    EXPECT_EQ(r.f().g_nZoomLevel, 0);
    // A drag back to its start point has neither width nor height: refused, but the
    // graph leaves auto-scale.
    ASSERT_TRUE(r.g.zoomPress(p, 50, p.left + 50, p.top + 50));
    r.g.mouseMove(p, 50, p.left + 90, p.top + 80);
    r.g.mouseMove(p, 50, p.left + 50, p.top + 50);
    EXPECT_EQ(r.g.zoomRelease(p, 50, p.left + 50, p.top + 50).outcome, ZoomOutcome::Refused);
    EXPECT_FALSE(r.f().g_bAutoScale);
    // Without samples the mouse does nothing.
    EXPECT_FALSE(r.g.zoomPress(p, 0, p.left + 50, p.top + 50));
    EXPECT_FALSE(r.g.mouseMove(p, 0, p.left, p.top).handled);
}

TEST(Zoom, DragLeavingThePlotIsCancelled) {
    GraphRig r = liveRig();
    const PlotRect p = r.plot();
    r.g.zoomPress(p, 50, p.left + 10, p.top + 10);
    r.g.mouseMove(p, 50, p.left + 200, p.top + 100);
    EXPECT_FALSE(r.g.dragWatch(p, p.left + 200, p.top + 100));
    EXPECT_TRUE(r.g.dragWatch(p, p.right + 1, p.top + 100));
    EXPECT_FALSE(r.g.dragging());
    EXPECT_EQ(r.g.zoomRelease(p, 50, p.left + 200, p.top + 100).outcome, ZoomOutcome::Click);
    EXPECT_TRUE(r.f().g_bAutoScale);
}

TEST(Zoom, ResizingKeepsTheValueWindowAndTheSamplesInView) {
    GraphRig r = liveRig();
    r.zoom(60, 30, 480, 270);
    r.zoom(100, 50, 400, 200);
    const float bottom = r.f().g_fYTick[2][0];
    const float top = r.f().g_fYTick[2][12];
    const double first = r.firstVisible();
    const double last = r.lastVisible();
    r.w = 900;
    r.h = 450;
    r.paint();
    EXPECT_NEAR(r.f().g_fYTick[2][0], bottom, 1e-3);
    EXPECT_NEAR(r.f().g_fYTick[2][12], top, 1e-3);
    EXPECT_NEAR(r.firstVisible(), first, 1e-3);
    EXPECT_NEAR(r.lastVisible(), last, 1e-3);
}

TEST(Zoom, UndoLeavesEveryLevel) {
    for (const int depth : {1, 5, 99}) {
        GraphRig r = liveRig();
        r.f().m_nPanOffset = 3;
        for (int i = 0; i < depth; ++i) {
            r.zoom(1, 0, 599, 300);
        }
        ASSERT_EQ(r.f().g_nZoomLevel, depth);
        r.g.undoZoom();
        EXPECT_FALSE(r.g.isZoomed());
        EXPECT_EQ(r.f().m_nPanOffset, 0);
        const auto scene = r.paint();
        EXPECT_EQ(r.f().g_nZoomLevel, 0);
        EXPECT_EQ(scene.valueAxis[0].label.text, "-100.00");
        EXPECT_EQ(scene.verticalGridX.size(), 20u);
        EXPECT_FLOAT_EQ(r.f().g_fBasePixelsPerSample, 600.0f / 99.0f);
        EXPECT_EQ(scene.curve.front().x1, 0);
    }
}

TEST(Zoom, LevelRowsTakeMemoryOnlyWhileZoomed) {
    GraphRig r = liveRig();
    const GraphRows& rows = r.rows();
    EXPECT_LT(sizeof(GraphState), 32u * 1024u);
    for (const auto* table : {&rows.g_fZoomX, &rows.g_fZoomY}) {
        ASSERT_EQ(table->size(), 1u);
        EXPECT_EQ(table->front().size(), 2u);
    }
    for (std::size_t depth = 1; depth <= 3; ++depth) {
        r.zoom(1, 0, 599, 300);
        for (const auto* table : {&rows.g_fZoomX, &rows.g_fZoomY}) {
            ASSERT_EQ(table->size(), depth + 1);
            for (const std::vector<float>& row : *table) {
                EXPECT_EQ(row.size(), 50u);
            }
        }
    }
    r.g.undoZoom();
    r.paint();
    for (const auto* table : {&rows.g_fZoomX, &rows.g_fZoomY}) {
        ASSERT_EQ(table->size(), 1u);
        EXPECT_EQ(table->front().capacity(), 2u);
    }
}

TEST(Zoom, ZoomedAxisPutsLinesOnWholeSamples) {
    // Fit mode, 100 samples of 6 pixels on 600: a 60-pixel box shows 10 samples.
    GraphRig r;
    r.fitMode = true;
    r.values = ramp(100, 20.0f);
    r.paint();
    r.drag(120, 0, 180, 300);
    auto scene = r.paint();
    EXPECT_EQ(r.f().m_nZoomFirstIndex, 20);
    EXPECT_EQ(scene.panMaximum, 100);
    EXPECT_EQ(scene.panPosition, 20);
    EXPECT_EQ(scene.verticalGridX,
              (std::vector<int>{0, 120, 240, 360, 480, 600, 720, 840, 960, 1080}));
    EXPECT_EQ(r.f().g_nXLabel[3], 27);
    ASSERT_EQ(scene.sampleLabels.size(), 6u);
    EXPECT_EQ(scene.sampleLabels[5].text, "31");
    EXPECT_EQ(scene.sampleLabels[5].x, r.plot().right);

    // The pan moves the curve and renumbers the lines; the level's row stays.
    const float row5 = r.rows().g_fZoomX[1][5];
    const auto before = scene.curve;
    r.f().m_nPanOffset = 3;
    scene = r.paint();
    EXPECT_FALSE(scene.panPosition); // only the first paint after a zoom positions the bar
    EXPECT_EQ(r.rows().g_fZoomX[1][5], row5);
    EXPECT_EQ(r.f().g_nXLabel[0], 18);
    ASSERT_EQ(scene.curve.size(), before.size());
    EXPECT_EQ(scene.curve[10].x1, before[10].x1 + 180);

    // Less than two samples across: one line per sample, numbered consecutively.
    r.f().m_nPanOffset = 0;
    r.drag(0, 0, 3, 300);
    r.paint();
    EXPECT_EQ(r.f().g_nXLabel[1] - r.f().g_nXLabel[0], 1);
    EXPECT_EQ(r.f().g_nZoomGridIndex[9] - r.f().g_nZoomGridIndex[0], 9);
}

TEST(Zoom, PanMovesTheZoomedWindowAndANewBoxFollowsIt) {
    // Fit mode, 100 samples of 6 pixels on 600: the box 120..180 shows samples 20..30.
    GraphRig r;
    r.fitMode = true;
    r.values = ramp(100, 20.0f);
    r.paint();
    r.zoom(120, 0, 180, 300);
    EXPECT_EQ(r.paint().panPageStep, 10);

    // The bar at 40: samples 40..50 across the plot, numbered and read out as such.
    EXPECT_TRUE(r.g.panTo(40));
    EXPECT_EQ(r.paint().sampleLabels.at(0).text, "41");
    const PlotRect p = r.plot();
    EXPECT_EQ(r.g.mouseMove(p, 100, p.left + 1, p.top + 10).hoverIndex, 40);

    // A box over the left half zooms into samples 40..45, the bar at the first.
    ASSERT_EQ(r.drag(0, 0, 300, 300), ZoomOutcome::Zoomed);
    EXPECT_EQ(r.paint().panPosition, 40);
    EXPECT_NEAR(r.lastVisible() - r.f().m_nPanOffset, 45.0, 1e-3);
}

TEST(Zoom, ValueWindowStaysPutWhenZoomingAwayFromTheLowestScrollPosition) {
    GraphRig r = liveRig();
    r.yScrollPos = 68; // 0..300
    r.paint();
    r.zoom(0, 0, 600, 300);
    EXPECT_EQ(r.f().g_fYTick[0][0], 0.0f);
    EXPECT_NEAR(r.f().g_fYTick[1][0], 0.0, 1e-4);
    EXPECT_NEAR(r.f().g_fYTick[1][12], 300.0, 1e-3);
    r.yScrollPos = 67; // while zoomed one step moves the window by one degree
    r.paint();
    EXPECT_EQ(r.f().g_fYTick[0][0], 1.0f);
}

TEST(Zoom, AlarmRowsFollowTheNewLevelAtOnce) {
    GraphRig r = liveRig();
    // Rows 150 and 0 hold 50 and 200 degrees; the high limit 150 then sits at a third.
    r.drag(0, 0, 600, 150);
    const auto scene = r.paint();
    EXPECT_NEAR(r.f().g_fAlarmHighY, 100.0f, 1e-3);
    EXPECT_EQ(scene.alarmLineY.front(), 100);
}

TEST(Hover, ReadoutOfTheSampleUnderThePointer) {
    GraphRig r = liveRig();
    r.values[5] = 3000.0f;
    const PlotRect p = r.plot();
    auto move = r.g.mouseMove(p, 50, p.left + 31, p.top + 10); // 5 * 600/99 = 30.3
    EXPECT_FALSE(move.eraseHoverX);
    EXPECT_EQ(move.hoverIndex, 5);
    EXPECT_EQ(hoverTemperatureText(r.values[5], "C"), "-----C");
    EXPECT_EQ(hoverTemperatureText(23.44f, "F"), "temp:23.4F");
    EXPECT_EQ(hoverTimeText("03-04-24/10:11:12"), "time:03-04-24/10:11:12");

    move = r.g.mouseMove(p, 50, p.right + 40, p.top + 10); // clamped to the plot
    EXPECT_EQ(move.eraseHoverX, p.left + 31);
    EXPECT_EQ(move.hoverX, p.right);
    EXPECT_FALSE(move.hoverIndex); // sample 99 does not exist
}

TEST(Zoom, NarrowBoxesBeyondFloatRangeStayDefined) {
    // Each one-pixel box magnifies 600 times: the rows overflow after a dozen levels.
    GraphRig r = liveRig();
    for (int i = 0; i < 30; ++i) {
        r.zoom(300, 0, 301, 300);
    }
    EXPECT_EQ(r.f().g_nZoomLevel, 30);
    const auto scene = r.paint();
    EXPECT_TRUE(scene.curve.empty());
    const PlotRect p = r.plot();
    EXPECT_TRUE(r.g.mouseMove(p, 50, p.left + 10, p.top + 10).handled);
    r.g.undoZoom();
    EXPECT_FALSE(r.paint().curve.empty());
}

} // namespace
