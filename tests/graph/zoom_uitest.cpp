#include "viewrig.h"

#include "ui/window/commandids.h"

#include <QAction>

#include <cmath>

namespace {

std::vector<float> wave(int n) {
    std::vector<float> v;
    for (int i = 0; i < n; ++i)
        v.push_back(60.0f + 50.0f * std::sin(static_cast<float>(i) * 0.2f));
    return v;
}

// Drags from a to b (plot-relative) with the left button.
void drag(ViewRig& rig, QPoint a, QPoint b) {
    QTest::mousePress(rig.view, Qt::LeftButton, {}, rig.at(a.x(), a.y()));
    QTest::mouseMove(rig.view, rig.at((a.x() + b.x()) / 2, (a.y() + b.y()) / 2));
    QTest::mouseMove(rig.view, rig.at(b.x(), b.y()));
    QTest::mouseRelease(rig.view, Qt::LeftButton, {}, rig.at(b.x(), b.y()));
    rig.settle();
}

// UndoZoom as the toolbar shows it, without asking for a refresh.
bool undoEnabled(ViewRig& rig) {
    return rig.frame->action(ID_UNDO_ZOOM)->isEnabled();
}

// The samples at the left and right edge of the plot at the current level.
double firstVisible(ViewRig& rig) {
    const int level = rig.g().zoomLevel();
    const double x0 = rig.rows().g_fZoomX[level][0];
    return -x0 / (rig.rows().g_fZoomX[level][1] - x0);
}

double lastVisible(ViewRig& rig) {
    const int level = rig.g().zoomLevel();
    const double x0 = rig.rows().g_fZoomX[level][0];
    return (rig.w() - x0) / (rig.rows().g_fZoomX[level][1] - x0);
}

// Pixels of `r` (view pixels) that are the inverse of what `before` shows there.
int invertedCount(const QImage& now, const QImage& before, const QRect& r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += now.pixel(x, y) == inverted(before.pixel(x, y)) ? 1 : 0;
    return n;
}

} // namespace

TEST(GraphZoom, AClickNeverZooms) {
    ViewRig rig;
    rig.setSamples(wave(200));
    const QImage before = rig.shot();
    QTest::mouseClick(rig.view, Qt::LeftButton, {}, rig.at(200, 100));
    rig.settle();
    EXPECT_EQ(rig.g().g_nZoomLevel, 0);
    EXPECT_TRUE(rig.g().g_bAutoScale);
    EXPECT_FALSE(rig.view->isZoomed());
    EXPECT_FALSE(undoEnabled(rig));
    EXPECT_TRUE(rig.shot() == before);
    // A box without width is taken for a click too.
    drag(rig, {200, 50}, {200, 250});
    EXPECT_EQ(rig.g().g_nZoomLevel, 0);
    EXPECT_TRUE(rig.g().g_bAutoScale);
    EXPECT_FALSE(undoEnabled(rig));
}

TEST(GraphZoom, BoxesDrawnEitherWayZoomToTheSameWindow) {
    ViewRig a;
    ViewRig b;
    a.setSamples(wave(200));
    b.setSamples(wave(200));
    drag(a, {100, 60}, {400, 300});
    drag(b, {400, 300}, {100, 60});
    ASSERT_EQ(a.g().g_nZoomLevel, 1);
    ASSERT_EQ(b.g().g_nZoomLevel, 1);
    for (int k = 0; k <= 12; ++k)
        EXPECT_FLOAT_EQ(a.g().g_fYTick[1][k], b.g().g_fYTick[1][k]) << k;
    EXPECT_NEAR(firstVisible(a), firstVisible(b), 1e-3);
    EXPECT_NEAR(lastVisible(a), lastVisible(b), 1e-3);
    // The box's value range fills the plot: its lower edge is tick 0.
    const double bottom = -100 + 300.0 * (a.h() - 300) / a.h();
    EXPECT_NEAR(a.g().g_fYTick[1][0], bottom, 1e-3);
    EXPECT_TRUE(a.shot() == b.shot());
}

TEST(GraphZoom, ABoxOfATenthPerTickOrLessIsRefusedButLeavesAutoScale) {
    ViewRig rig;
    rig.setSamples(wave(200));
    // One pixel of a 300-degree window is well under 1.2 degrees.
    ASSERT_LT(300.0 / rig.h(), 1.2);
    drag(rig, {100, 150}, {300, 151});
    EXPECT_EQ(rig.g().g_nZoomLevel, 0);
    EXPECT_FALSE(rig.g().g_bAutoScale);
    EXPECT_TRUE(rig.view->isZoomed());
    EXPECT_TRUE(undoEnabled(rig));
}

TEST(GraphZoom, NinetyNineLevelsAtMost) {
    ViewRig rig;
    rig.setSamples(wave(60));
    // Full height keeps the value window; a slightly narrower box each time.
    for (int i = 1; i <= 100; ++i) {
        drag(rig, {2, 0}, {rig.w() - 2, rig.h()});
        ASSERT_EQ(rig.g().g_nZoomLevel, std::min(i, 99)) << "box " << i;
    }
    EXPECT_NEAR(rig.g().g_fYTick[99][0], -100.0, 0.01);
    EXPECT_NEAR(rig.g().g_fYTick[99][12], 200.0, 0.01);
}

TEST(GraphZoom, TheBoxFollowsThePointerAndLeavingThePlotCancelsIt) {
    ViewRig rig;
    rig.setSamples(wave(200));
    const QImage before = rig.shot();
    QTest::mousePress(rig.view, Qt::LeftButton, {}, rig.at(100, 50));
    QTest::mouseMove(rig.view, rig.at(300, 200));
    QTest::mouseMove(rig.view, rig.at(250, 150));
    QImage img = rig.shot();
    EXPECT_TRUE(rig.view->graph().dragging());
    // The box runs from the press point to the pointer: its top edge is drawn
    // inverted, the part of the earlier, larger box beyond it is gone.
    EXPECT_EQ(invertedCount(img, before, QRect(rig.at(110, 50), rig.at(240, 50))), 131);
    EXPECT_EQ(invertedCount(img, before, QRect(rig.at(100, 60), rig.at(100, 140))), 81);
    EXPECT_EQ(invertedCount(img, before, QRect(rig.at(260, 200), rig.at(290, 200))), 0);
    EXPECT_EQ(invertedCount(img, before, QRect(rig.at(300, 160), rig.at(300, 190))), 0);

    // Out of the plot with the button held: the box goes within the watch period.
    QTest::mouseMove(rig.view, rig.at(rig.w() + 40, 150));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !rig.view->graph().dragging(); }, 500));
    rig.settle();
    img = rig.shot();
    EXPECT_EQ(invertedCount(img, before, QRect(rig.at(110, 50), rig.at(240, 50))), 0);
    // Releasing back inside does nothing.
    QTest::mouseRelease(rig.view, Qt::LeftButton, {}, rig.at(250, 150));
    rig.settle();
    EXPECT_EQ(rig.g().g_nZoomLevel, 0);
    EXPECT_TRUE(rig.g().g_bAutoScale);
    EXPECT_FALSE(undoEnabled(rig));
}

TEST(GraphZoom, ResizingWhileZoomedKeepsTheWindowAndTheSamples) {
    ViewRig rig;
    rig.setSamples(wave(200));
    drag(rig, {60, 30}, {480, 270});
    drag(rig, {100, 50}, {400, 200});
    ASSERT_EQ(rig.g().g_nZoomLevel, 2);
    const float bottom = rig.g().g_fYTick[2][0];
    const float top = rig.g().g_fYTick[2][12];
    const double first = firstVisible(rig);
    const double last = lastVisible(rig);
    const int w = rig.w();
    rig.resizeFrame(QSize(1250, 900));
    ASSERT_NE(rig.w(), w);
    EXPECT_NEAR(rig.g().g_fYTick[2][0], bottom, 0.01);
    EXPECT_NEAR(rig.g().g_fYTick[2][12], top, 0.01);
    EXPECT_NEAR(firstVisible(rig), first, 0.01);
    EXPECT_NEAR(lastVisible(rig), last, 0.01);
    EXPECT_EQ(rig.g().m_strYLabel[0], QString::number(bottom, 'f', 2).toStdString());
}

TEST(GraphZoom, ZoomedPaintShowsTheBoxWithWholeSampleGridAndPanBar) {
    ViewRig rig;
    rig.setSamples(wave(200));
    drag(rig, {0, 0}, {rig.w() / 4, rig.h()});
    ASSERT_EQ(rig.g().g_nZoomLevel, 1);
    const QImage img = rig.shot();
    // About 25 samples across the width, the grid lines on whole samples.
    const double dx = rig.rows().g_fZoomX[1][1] - rig.rows().g_fZoomX[1][0];
    const double x0 = rig.rows().g_fZoomX[1][0];
    for (int m = 0; m < 4; ++m) {
        const int index = rig.g().g_nZoomGridIndex[m];
        const int x = static_cast<int>(index * dx + x0);
        if (x >= 0 && x < rig.w()) {
            EXPECT_GT(rig.plotCount(img, QRect(x, 0, 1, rig.h() / 13), kGrid), 5) << m;
        }
    }
    QScrollBar* pan = rig.view->alarmBar()->panBar();
    EXPECT_EQ(pan->maximum(), 200);
    EXPECT_EQ(pan->value(), rig.g().m_nZoomFirstIndex);
    EXPECT_GT(rig.plotCount(img, QRect(0, 0, rig.w(), rig.h()), kBlue), 300);

    // A click beside the thumb pans by a page (the samples across the plot).
    ASSERT_TRUE(pan->isEnabled());
    const int first = pan->value();
    QTest::mouseClick(pan, Qt::LeftButton, {}, QPoint(pan->width() - 30, pan->height() / 2));
    rig.settle();
    EXPECT_EQ(pan->value(), first + pan->pageStep());
    EXPECT_EQ(rig.g().m_nPanOffset, rig.g().m_nZoomFirstIndex - pan->value());
    EXPECT_FALSE(rig.shot() == img);
}

TEST(GraphZoom, HoverReadoutShowsTheSampleUnderThePointer) {
    ViewRig rig;
    std::vector<float> v = wave(100);
    v[40] = 3000.0f;
    v[41] = 23.44f;
    rig.setSamples(v);
    const double dx = rig.w() / 99.0;
    QTest::mouseMove(rig.view, rig.at(static_cast<int>(40 * dx + 1), 100));
    EXPECT_EQ(rig.pane1(),
              "time:" + QString::fromStdString(std::string(rig.store().graphTime()[40])));
    EXPECT_EQ(rig.pane2(), "-----C");
    QTest::mouseMove(rig.view, rig.at(static_cast<int>(41 * dx + 1), 100));
    EXPECT_EQ(rig.pane2(), "temp:23.4C");
    // Beyond the last sample the readout stays as it was.
    rig.setSamples(wave(20));
    QTest::mouseMove(rig.view, rig.at(static_cast<int>(60 * dx), 100));
    EXPECT_EQ(rig.pane2(), "temp:23.4C");
}

TEST(GraphZoom, HoverLineSurvivesOnlyARepaintForANewSample) {
    ViewRig rig;
    rig.setSamples(std::vector<float>(20, -80.0f)); // a red curve low down
    const int h = rig.h();
    const QPoint a = rig.at(rig.w() / 3, 40);
    QTest::mouseMove(rig.view, a);
    QImage img = rig.shot();
    const QRect column(a.x(), rig.plot().top, 1, h);
    const int dots = countColour(img, column, kWhite);
    EXPECT_GT(dots, h / 3);
    EXPECT_LT(dots, h * 2 / 3 + 1);

    // A new sample: the paint keeps the line, white and dotted.
    rig.setNewData(true);
    rig.setSamples(std::vector<float>(21, -80.0f));
    img = rig.shot();
    EXPECT_GT(countColour(img, column, kWhite), h / 3);
    EXPECT_FALSE(rig.acq().newData());

    // The line then follows the pointer again, leaving nothing behind.
    const QPoint b = rig.at(rig.w() * 2 / 3, 40);
    QTest::mouseMove(rig.view, b);
    img = rig.shot();
    EXPECT_EQ(countColour(img, column, kWhite), 0);
    EXPECT_GT(countColour(img, QRect(b.x(), rig.plot().top, 1, h), kWhite), h / 3);

    // Any other repaint wipes it.
    rig.view->setYScrollPos(71);
    rig.settle();
    img = rig.shot();
    EXPECT_EQ(countColour(img, QRect(b.x(), rig.plot().top, 1, h), kWhite), 0);
    EXPECT_TRUE(rig.g().g_bHoverLineErased);
    EXPECT_EQ(rig.plotCount(img, QRect(0, 0, rig.w(), h), kWhite), 0);
}

TEST(GraphZoom, UndoZoomFromAnyDepthRestoresTheUnzoomedPicture) {
    ViewRig rig;
    rig.setSamples(wave(150));
    const QImage before = rig.shot();
    for (const int depth : {1, 4, 99}) {
        for (int i = 0; i < depth; ++i)
            drag(rig, {3, 2}, {rig.w() - 3, rig.h() - 2});
        ASSERT_EQ(rig.g().g_nZoomLevel, depth);
        ASSERT_TRUE(undoEnabled(rig));
        rig.frame->action(ID_UNDO_ZOOM)->trigger();
        rig.settle();
        EXPECT_EQ(rig.g().g_nZoomLevel, 0);
        EXPECT_FALSE(rig.frame->action(ID_UNDO_ZOOM)->isEnabled()) << depth;
        EXPECT_FALSE(rig.view->alarmBar()->panBar()->isEnabled());
        EXPECT_TRUE(rig.shot() == before) << depth;
    }
}

// Clear Screen empties the graph: the zoom ends, and Undo Zoom says so at once.
TEST(GraphZoom, AnEmptiedGraphEndsTheZoom) {
    ViewRig rig;
    rig.setSamples(wave(200));
    drag(rig, {100, 60}, {400, 300});
    ASSERT_TRUE(undoEnabled(rig));
    rig.frame->OnClearScreen();
    rig.settle();
    EXPECT_FALSE(rig.view->isZoomed());
    EXPECT_FALSE(undoEnabled(rig));
}

TEST(GraphZoom, NoSamplesNoInteraction) {
    ViewRig rig;
    const QImage before = rig.shot();
    drag(rig, {10, 10}, {300, 200});
    QTest::mouseMove(rig.view, rig.at(100, 100));
    EXPECT_TRUE(rig.g().g_bAutoScale);
    EXPECT_TRUE(rig.g().g_bHoverLineErased);
    EXPECT_TRUE(rig.shot() == before);
}
