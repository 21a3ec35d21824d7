#include "core/graph/graphaxes.h"
#include "panels/panelsupport.h"
#include "ui/window/messageline.h"
#include "viewrig.h"

#include <cmath>
#include <functional>

namespace {

// The series the pictures were taken with.
std::vector<float> pictureSeries() {
    std::vector<float> v;
    for (int i = 0; i < 160; ++i)
        v.push_back(60.0f + 120.0f * std::sin(static_cast<float>(i) * 0.07f));
    return v;
}

QImage picture(const char* name) {
    return QImage(QStringLiteral(ORVANE_TEST_PICTURES "/") + QLatin1String(name))
        .convertToFormat(QImage::Format_RGB32);
}

// The view drawn into an image of `ratio` device pixels a view pixel.
QImage renderAt(CDTView& view, qreal ratio) {
    QImage img((QSizeF(view.size()) * ratio).toSize(), QImage::Format_RGB32);
    img.setDevicePixelRatio(ratio);
    view.render(&img);
    img.setDevicePixelRatio(1.0);
    return img;
}

// Of the 2 x 2 blocks of device pixels in `area` that hold some ink, the share
// that is one colour: 1 for a picture drawn at ratio 1 and doubled.
double uniformShare(const QImage& img, const QRect& area, const std::function<bool(QRgb)>& ink) {
    int inked = 0;
    int uniform = 0;
    for (int y = area.top() & ~1; y + 1 <= area.bottom(); y += 2) {
        for (int x = area.left() & ~1; x + 1 <= area.right(); x += 2) {
            const QRgb c[] = {img.pixel(x, y), img.pixel(x + 1, y), img.pixel(x, y + 1),
                              img.pixel(x + 1, y + 1)};
            if (!std::any_of(std::begin(c), std::end(c), ink))
                continue;
            ++inked;
            uniform += std::all_of(std::begin(c), std::end(c), [&](QRgb p) { return p == c[0]; });
        }
    }
    return inked == 0 ? 1.0 : static_cast<double>(uniform) / inked;
}

TEST(WindowPictures, AtTheDefaultSizeTheGraphIsDrawnAsItWas) {
    ViewRig rig;
    EXPECT_EQ(rig.frame->size(), CMainFrame::kClientSize);
    const QImage empty = rig.shot();
    keepShot(empty, "graph-empty.png");
    EXPECT_EQ(empty, picture("graph-empty.png"));
    rig.setSamples(pictureSeries());
    const QImage sine = rig.shot();
    keepShot(sine, "graph-sine.png");
    EXPECT_EQ(sine, picture("graph-sine.png"));
}

TEST(WindowPictures, AtRatioTwoTheGraphIsSharpAndInPlace) {
    ViewRig rig;
    const PlotRect p = rig.plot();
    const QRect plot2(2 * p.left, 2 * p.top, 2 * rig.w(), 2 * rig.h());
    // The empty graph: grid and limit lines where the picture at ratio 1 has
    // them, each view pixel two by two device pixels.
    const QImage empty1 = renderAt(*rig.view, 1.0);
    const QImage empty2 = renderAt(*rig.view, 2.0);
    EXPECT_EQ(empty2.copy(plot2),
              empty1.copy(QRect(p.left, p.top, rig.w(), rig.h())).scaled(plot2.size()));

    rig.setSamples(pictureSeries());
    const QImage img = renderAt(*rig.view, 2.0);
    keepShot(img, "graph-ratio2.png");
    const auto curve = [](QRgb c) { return c == kBlue || c == kRed; };
    const QRgb face = rig.view->palette().color(QPalette::Button).rgb();
    const auto text = [face](QRgb c) { return c != face && qGray(c) < 128; };
    const QRect margin(0, 2 * (p.top - 7), 2 * p.left, 2 * (rig.h() + 17));
    EXPECT_LT(uniformShare(img, plot2, curve), 0.6);
    EXPECT_LT(uniformShare(img, margin, text), 0.3);
    EXPECT_EQ(uniformShare(renderAt(*rig.view, 1.0).scaled(img.size()), plot2, curve), 1.0);
}

} // namespace

namespace {

TEST(WindowSize, TheGraphAndTheListTakeTheRoomOfALargerWindow) {
    ViewRig rig;
    CMainFrame& f = *rig.frame;
    EXPECT_EQ(f.maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    rig.setSamples(pictureSeries());
    const QSize plot(rig.w(), rig.h());
    const int list = rig.view->dataList()->height();
    const int scroll = rig.view->valueScroll()->height();
    const int curve = rig.plotCount(rig.shot(), QRect(0, 0, rig.w(), rig.h()), kBlue);

    f.resize(f.size() + QSize(300, 200));
    rig.settle();
    EXPECT_EQ(QSize(rig.w(), rig.h()), plot + QSize(300, 200));
    EXPECT_EQ(rig.view->dataList()->height(), list + 200);
    EXPECT_EQ(rig.view->valueScroll()->height(), scroll + 200);
    EXPECT_GT(rig.plotCount(rig.shot(), QRect(0, 0, rig.w(), rig.h()), kBlue), curve * 5 / 4);

    // Never smaller than at first.
    f.resize(600, 400);
    EXPECT_EQ(f.size(), CMainFrame::kClientSize);
}

TEST(WindowSize, SizeAndMaximisedStateAreKeptForTheNextStart) {
    WindowRig rig;
    const QString config = rig.path("config/loggerconfig.ini");
    rig.frame->resize(1000, 760);
    ASSERT_TRUE(rig.frame->close());
    WindowRig second({.configPath = config});
    EXPECT_EQ(second.frame->size(), QSize(1000, 760));
    EXPECT_FALSE(second.frame->isMaximized());
    second.frame->setWindowState(Qt::WindowMaximized);
    ASSERT_TRUE(second.frame->close());
    const WindowRig third({.configPath = config});
    EXPECT_TRUE(third.frame->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(Configuration(config.toStdString()).windowPlacement().width, 1000);
}

} // namespace

namespace {

TEST(MessageRoom, TheGraphMovesBelowTheMessageLineAndBackWhenItGoes) {
    ViewRig rig;
    const int bottom = rig.plot().bottom;
    auto* line = rig.frame->findChild<MessageLine*>();
    line->showMessage(MessageTopic::Alarm, "High alarm: 212.0 C at 10:00:00", MessageLevel::Error);
    line->showMessage(MessageTopic::Journal,
                      QString("The recording journal cannot be written. ").repeated(4),
                      MessageLevel::Warning);
    rig.settle();
    EXPECT_GT(line->height(), 50);
    const QPoint view = rig.view->pos();
    EXPECT_GT(rig.plot().top - PlotRect::kReachAbove + view.y(), line->geometry().bottom());
    EXPECT_EQ(rig.plot().bottom, bottom);
    // Every value label shows on the window, none under the line.
    const QImage shown = rig.frame->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb face = rig.view->palette().color(QPalette::Button).rgb();
    for (int k = 0; k <= 12; ++k) {
        const QString text = QString::number(-100 + 25 * k, 'f', 2);
        const int x = static_cast<int>(valueLabelIndent(-100 + 25 * k) * 7.5 + 2.0);
        const int y = rig.plot().bottom - (k * (rig.h() - 2) / 12) - 8;
        EXPECT_TRUE(textAt(shown, view + QPoint(x, y), text, face)) << k;
    }
    line->clearMessage(MessageTopic::Alarm);
    line->clearMessage(MessageTopic::Journal);
    rig.settle();
    EXPECT_EQ(rig.shot(), picture("graph-empty.png"));
}

} // namespace
