#include "viewrig.h"

#include "ui/panels/cdisplaypanel.h"
#include "ui/panels/datalistpanel.h"

#include <cmath>

#include <QPainter>
#include <QScreen>

namespace {

QRgb faceOf(const ViewRig& rig) {
    return rig.view->palette().color(QPalette::Button).rgb();
}

// Indent counts of the value labels, by the tick's size and sign.
int indentOf(double t) {
    if (t >= 1000)
        return 1;
    if (t >= 100)
        return 2;
    if (t >= 10)
        return 3;
    if (t >= 0)
        return 4;
    if (t > -10)
        return 3;
    if (t > -100)
        return 2;
    return t >= -1000 ? 1 : 0;
}

// The value label of tick k, as the margin shows it (view pixels).
QPoint valueLabelPos(const ViewRig& rig, int k, double tick) {
    const PlotRect p = rig.plot();
    const int x = static_cast<int>(indentOf(tick) * 7.5 + 2.0);
    return {x, p.bottom - (k * (rig.h() - 2) / 12) - 8};
}

// Where frame-client coordinates lie in the view.
QPoint frameOffset(const ViewRig& rig) {
    return rig.frame->frameClientRect().topLeft() - rig.view->pos();
}

std::vector<float> sine(int n) {
    std::vector<float> v;
    for (int i = 0; i < n; ++i)
        v.push_back(100.0f + 80.0f * std::sin(static_cast<float>(i) * 0.1f));
    return v;
}

} // namespace

TEST(GraphView, StartUpShowsTheEmptyLiveGraph) {
    ViewRig rig;
    const QImage img = rig.shot();
    const int w = rig.w();
    const int h = rig.h();

    // Black plot: away from the grid nothing but black.
    const int firstCell = h / 12;
    EXPECT_EQ(rig.plotCount(img, QRect(3, 3, w - 6, firstCell - 6), kBlack),
              (w - 6) * (firstCell - 6) -
                  rig.plotCount(img, QRect(3, 3, w - 6, firstCell - 6), kGrid));
    EXPECT_EQ(rig.plotCount(img, QRect(0, 0, w, h), kBlue), 0);
    EXPECT_EQ(rig.plotCount(img, QRect(0, 0, w, h), kRed), 0);

    // Horizontal grid rows at j x H / 12, dotted; the rows between hold only
    // the dots of the vertical grid.
    for (int j = 1; j < 12; ++j) {
        const int y = static_cast<int>(j * h * (1.0 / 12.0));
        if (std::abs(y - rig.rowOf(150)) <= 1 || std::abs(y - rig.rowOf(-50)) <= 1)
            continue; // under a limit line
        const int dots = rig.plotCount(img, QRect(0, y, w, 1), kGrid);
        EXPECT_GT(dots, w / 3) << "row " << j;
        EXPECT_LT(dots, w * 2 / 3) << "row " << j;
        EXPECT_LT(rig.plotCount(img, QRect(0, y + 2, w, 1), kGrid), 25) << "row " << j;
    }
    // The vertical grid of the live mode starts at the left edge.
    EXPECT_GT(rig.plotCount(img, QRect(0, 0, 1, h), kGrid), h / 3);

    // Green limit lines at 150 and -50, over the grid.
    for (const int limit : {150, -50}) {
        const int y = rig.rowOf(limit);
        EXPECT_EQ(rig.plotCount(img, QRect(0, y, w, 1), kGreen), w) << limit;
        EXPECT_EQ(rig.plotCount(img, QRect(0, y - 2, w, 1), kGreen), 0) << limit;
        EXPECT_EQ(rig.plotCount(img, QRect(0, y + 2, w, 1), kGreen), 0) << limit;
    }

    // Value labels -100.00 at the bottom up to 200.00 at the top.
    for (int k = 0; k <= 12; ++k) {
        const double tick = -100 + 25 * k;
        EXPECT_TRUE(
            textAt(img, valueLabelPos(rig, k, tick), QString::number(tick, 'f', 2), faceOf(rig)));
    }
    EXPECT_EQ(rig.g().m_strYLabel[0], "-100.00");
    EXPECT_EQ(rig.g().m_strYLabel[12], "200.00");
    EXPECT_EQ(rig.view->valueScroll()->bar()->value(), 72);
    EXPECT_EQ(rig.view->valueScroll()->bar()->maximum(), 72);
    EXPECT_EQ(rig.pane1(), "time:");
    EXPECT_EQ(rig.pane2(), "temp:");
}

TEST(GraphView, ScrollBarSelectsTheValueWindow) {
    ViewRig rig;
    QScrollBar* bar = rig.view->valueScroll()->bar();
    struct Row {
        std::vector<QAbstractSlider::SliderAction> actions;
        int position;
        double bottom;
        int limitLines; // limits inside the window
    };
    const std::vector<Row> rows = {
        {{QAbstractSlider::SliderPageStepSub}, 0, 1700, 0},
        {{QAbstractSlider::SliderPageStepAdd, QAbstractSlider::SliderSingleStepSub,
          QAbstractSlider::SliderSingleStepSub, QAbstractSlider::SliderSingleStepSub,
          QAbstractSlider::SliderSingleStepSub},
         68,
         0,
         1},
        {{QAbstractSlider::SliderPageStepAdd}, 72, -100, 2},
    };
    for (const Row& row : rows) {
        for (const auto action : row.actions)
            bar->triggerAction(action);
        rig.settle();
        ASSERT_EQ(rig.view->yScrollPos(), row.position);
        const QImage img = rig.shot();
        EXPECT_TRUE(textAt(img, valueLabelPos(rig, 0, row.bottom),
                           QString::number(row.bottom, 'f', 2), faceOf(rig)));
        EXPECT_TRUE(textAt(img, valueLabelPos(rig, 12, row.bottom + 300),
                           QString::number(row.bottom + 300, 'f', 2), faceOf(rig)));
        EXPECT_EQ(bar->value(), row.position);
        // A limit outside the window draws no line (each line is two rows).
        EXPECT_EQ(rig.plotCount(img, QRect(0, 0, rig.w(), rig.h()), kGreen) / rig.w(),
                  2 * row.limitLines)
            << row.position;
    }
}

TEST(GraphView, CurveIsBlueInsideTheLimitsAndRedBeyondThem) {
    ViewRig rig;
    // Fit mode: five samples across the width, crossing the high limit (150) up
    // and down and the low limit (-50) down.
    rig.setSamples({100, 200, 100, -20, -80}, true);
    const QImage img = rig.shot();
    const int high = rig.rowOf(150);
    const int low = rig.rowOf(-50);
    int red = 0;
    int blue = 0;
    for (int y = 0; y < rig.h(); ++y) {
        for (int x = 0; x < rig.w(); ++x) {
            const QRgb c = img.pixel(rig.at(x, y));
            if (c == kRed) {
                ++red;
                EXPECT_TRUE(y <= high + 1 || y >= low - 1) << "red at " << x << "," << y;
            } else if (c == kBlue) {
                ++blue;
                EXPECT_TRUE(y >= high - 1 && y <= low + 1) << "blue at " << x << "," << y;
            }
        }
    }
    EXPECT_GT(red, 100);
    EXPECT_GT(blue, 200);
    // Right above the high row the rising segment is red, right below it blue.
    const int crossX = rig.w() / 5 / 2; // 150 is halfway from 100 to 200
    EXPECT_GT(rig.plotCount(img, QRect(crossX, high - 4, 8, 2), kRed), 0);
    EXPECT_GT(rig.plotCount(img, QRect(crossX - 8, high + 3, 8, 2), kBlue), 0);
}

TEST(GraphView, LiveSeriesIsSqueezedWhenItReachesTheRightEdge) {
    ViewRig rig;
    rig.setSamples(sine(101));
    const QImage img = rig.shot();
    EXPECT_EQ(rig.g().g_nPointsPerScreen, 110);
    // The last sample now lies at 11/12 of the width.
    int lastX = -1;
    for (int x = 0; x < rig.w(); ++x)
        if (rig.plotCount(img, QRect(x, 0, 1, rig.h()), kBlue) +
                rig.plotCount(img, QRect(x, 0, 1, rig.h()), kRed) >
            0)
            lastX = x;
    const double end = rig.w() - rig.w() / 12.0;
    EXPECT_NEAR(lastX, end, 2.0);
}

TEST(GraphView, FitModeWithOneSampleShowsOneLineNumberedOne) {
    ViewRig rig;
    rig.setSamples({42}, true);
    const QImage img = rig.shot();
    const int between = rig.h() / 24; // a row between two horizontal grid rows
    EXPECT_GT(rig.plotCount(img, QRect(0, 0, 1, rig.h()), kGrid), rig.h() / 3);
    EXPECT_EQ(rig.plotCount(img, QRect(1, between, rig.w() - 1, 1), kGrid), 0);
    const QPoint label = QPoint(rig.plot().left, rig.plot().bottom + 40) + frameOffset(rig);
    EXPECT_TRUE(textAt(img, label, QStringLiteral("1"), faceOf(rig)));
    EXPECT_EQ(rig.plotCount(img, QRect(0, 0, rig.w(), rig.h()), kBlue), 0); // no segment
}

TEST(GraphView, SampleNumbersSitUnderTheLiveGrid) {
    ViewRig rig;
    rig.setSamples(sine(50));
    const QImage img = rig.shot();
    // Live mode, 100 samples per width: a line every k samples, numbered 1, 1 + k, ...
    const double step = rig.w() / 99.0;
    const int k = static_cast<int>((rig.w() / 12) / step);
    for (int m = 0; m < 3; ++m) {
        const int x = static_cast<int>(k * m * static_cast<double>(static_cast<float>(step)));
        const QPoint label = QPoint(rig.plot().left + x, rig.plot().bottom + 40) + frameOffset(rig);
        EXPECT_TRUE(textAt(img, label, QString::number(1 + m * k), faceOf(rig))) << m;
    }
}

TEST(GraphView, TooSmallAWindowPaintsWithoutAPlot) {
    ViewRig rig;
    rig.setSamples(sine(30));
    int withoutArea = 0;
    for (const QSize size : {QSize(330, 300), QSize(200, 120), QSize(1, 1), QSize(450, 330)}) {
        rig.resizeFrame(size);
        const QImage img = rig.shot();
        if (rig.plot().hasArea())
            continue;
        ++withoutArea;
        EXPECT_EQ(countColour(img, img.rect(), faceOf(rig)), img.width() * img.height())
            << size.width() << "x" << size.height();
    }
    EXPECT_EQ(withoutArea, 3);
    rig.resizeFrame(QSize(1000, 700));
    EXPECT_GT(rig.plotCount(rig.shot(), QRect(0, 0, rig.w(), rig.h()), kBlue), 0);
}

TEST(GraphView, PanelsAreLaidOutAroundThePlot) {
    ViewRig rig;
    for (const QSize size : {QSize(1100, 800), QSize(900, 650)}) {
        rig.resizeFrame(size);
        const QRect rc = rig.frame->frameClientRect();
        const CDTView& v = *rig.view;
        EXPECT_EQ(v.displayPanel()->geometry(), QRect(rc.left(), rc.top() + 33, rc.width(), 155));
        EXPECT_EQ(v.alarmBar()->geometry(),
                  QRect(rc.left(), rc.bottom() + 1 - 65, rc.width() - 295, 45));
        EXPECT_EQ(v.valueScroll()->geometry(),
                  QRect(rc.right() + 1 - 312, rc.top() + 200, 20,
                        350 + std::max(0, size.height() - CMainFrame::kClientSize.height())));
        EXPECT_EQ(v.dataList()->geometry(),
                  QRect(rc.right() + 1 - 295, rc.top() + 200, 290, rc.height() - 220));
        EXPECT_TRUE(v.dataList()->isVisible());
    }
}

TEST(GraphView, TypedLimitsGoToTheRecorderAndTheGraphDrawsThem) {
    ViewRig rig;
    AlarmBar& bar = *rig.view->alarmBar();
    bar.highEdit()->selectAll();
    QTest::keyClicks(bar.highEdit(), QStringLiteral("125"));
    bar.lowEdit()->selectAll();
    QTest::keyClicks(bar.lowEdit(), QStringLiteral("175"));
    rig.settle();
    // 125 under the low 175: taken the other way round.
    EXPECT_EQ(rig.rec().alarmLimits(), (AlarmLimits{175, 125}));
    const QImage img = rig.shot();
    EXPECT_EQ(rig.plotCount(img, QRect(0, rig.rowOf(175), rig.w(), 1), kGreen), rig.w());
    EXPECT_EQ(rig.plotCount(img, QRect(0, rig.rowOf(125), rig.w(), 1), kGreen), rig.w());
    EXPECT_EQ(rig.plotCount(img, QRect(0, rig.rowOf(150), rig.w(), 1), kGreen), 0);
}

namespace {

// A live graph fed one sample at a time draws each new sample onto its last
// picture; the picture must stay what a whole repaint draws, through limit
// crossings, the squeeze at the right edge and a hover line.
TEST(GraphView, SampleBySamplePictureMatchesAWholeRepaint) {
    ViewRig rig;
    std::vector<float> values;
    const auto valueAt = [](int i) {
        return static_cast<float>(50.0 + 130.0 * std::sin(i / 23.0) + (i % 7) * 3.0);
    };
    // What the screen shows of the view's own area (the panels on top left out).
    const auto onScreen = [&] {
        const QRect r(rig.view->mapTo(rig.frame.get(), QPoint(0, 0)), rig.view->size());
        QImage shown = QGuiApplication::primaryScreen()
                           ->grabWindow(rig.frame->winId(), r.x(), r.y(), r.width(), r.height())
                           .toImage()
                           .convertToFormat(QImage::Format_RGB32);
        QPainter blank(&shown);
        for (const QWidget* child : rig.frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (child != rig.view && child->isVisible())
                blank.fillRect(child->geometry().translated(-rig.view->pos()), Qt::magenta);
        return shown;
    };
    const auto matchesWholeRepaint = [&](int n) {
        const QImage shown = onScreen();
        rig.view->dropPicture();
        rig.settle();
        const QImage whole = onScreen();
        if (shown == whole)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "after " << n << " samples";
    };
    const int before = rig.view->pieceRenders();
    // The series is squeezed at about 100 samples and again at about 200.
    int squeezes = 0;
    for (int n = 1; n <= 240; ++n) {
        const int screen = rig.g().g_nPointsPerScreen;
        values.push_back(valueAt(n));
        rig.streamSamples(values);
        squeezes += rig.g().g_nPointsPerScreen != screen;
        if (n % 3 == 0 || rig.g().g_nPointsPerScreen != screen) {
            ASSERT_TRUE(matchesWholeRepaint(n));
        }
    }
    EXPECT_GE(squeezes, 2);
    // Most samples took the short road.
    EXPECT_GT(rig.view->pieceRenders() - before, 150);

    // A hover line in the plot, kept by new samples, then wiped by a repaint
    // without one.
    QTest::mouseMove(rig.view, rig.at(rig.w() / 3, rig.h() / 2));
    rig.settle();
    for (const bool newData : {true, true, true, false, true}) {
        values.push_back(valueAt(int(values.size()) + 1));
        rig.setNewData(newData);
        rig.streamSamples(values);
        EXPECT_TRUE(matchesWholeRepaint(int(values.size()))) << newData;
    }
}

} // namespace
