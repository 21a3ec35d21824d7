#include "core/store/acquisition.h"
#include "engine/instrumentline.h"
#include "support/frames.h"
#include "support/ptypair.h"
#include "support/storetestaccess.h"
#include "tests/panels/panelsupport.h"
#include "ui/panels/cdisplaypanel.h"

#include <QApplication>
#include <QComboBox>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <span>
#include <string>

namespace {

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);
const QColor kYellow(255, 255, 0);

// A display panel over state the test owns, at the size the view gives it.
struct PanelRig {
    Recorder rec;
    const Acquisition& acq = rec.acquisition();
    InstrumentLine line{rec};
    CDisplayPanel panel;

    explicit PanelRig(int sampleRateIni = 0) : panel(rec, line, sampleRateIni) {
        panel.resize(880, 155);
    }

    QImage image() { return panel.grab().toImage().convertToFormat(QImage::Format_RGB32); }

    // Feeds one received block as the main window does, repainting what it says.
    BlockOutcome receive(const QByteArray& bytes) {
        const auto span = std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                    static_cast<std::size_t>(bytes.size()));
        const BlockOutcome out = StoreTestAccess::acq(rec).onBlock(span, 1'700'000'000);
        panel.invalidateRegions(out.regions);
        return out;
    }
};

// How much text drawn twice may differ at its anti-aliased edges.
constexpr int kRedrawnEdge = 24;

// Whether `area` of `img` shows `texts` drawn with `font` and `colour`, each
// text's cell at its top-left point, over `background` (panel pixels). Text
// drawn twice may differ a little at its anti-aliased edges; another text
// differs by far more.
bool shows(const QImage& img, const QRect& area, const QColor& background, const QFont& font,
           const QColor& colour, const QList<QPair<QPoint, QString>>& texts) {
    QImage expected(area.size(), QImage::Format_RGB32);
    expected.fill(background);
    QPainter p(&expected);
    p.setFont(font);
    p.setPen(colour);
    for (const auto& [cell, text] : texts)
        p.drawText(cell - area.topLeft() + QPoint(0, QFontMetrics(font).ascent()), text);
    p.end();
    return worstDifference(img.copy(area), expected) <= kRedrawnEdge;
}

int countColour(const QImage& img, const QRect& area, const QColor& colour) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += img.pixel(x, y) == colour.rgb();
    return n;
}

bool filled(const QImage& img, const QRect& area, const QColor& colour) {
    return countColour(img, area, colour) == area.width() * area.height();
}

// Inside the maximum and minimum windows, clear of the frame lines that cross
// their right-hand end.
const QRect kMaxText(642, 74, 204, 33);
const QRect kMinText(642, 116, 204, 33);
const QRect kReadingWindow(172, 68, 382, 60);
const QRect kEmissivityWindow(16, 68, 150, 30);
const QRect kRangeWindow(322, 134, 126, 19);
const QRect kUnitWindow(522, 134, 34, 19);

// The unit and range windows of the bottom row.
bool bottomRowShows(const QImage& img, const PanelRig& rig, const char* unit, const char* range) {
    const QFont& small = rig.panel.smallFont();
    return shows(img, kUnitWindow, kWhite, small, kBlack, {{{530, 132}, unit}}) &&
           shows(img, kRangeWindow, kWhite, small, kBlack, {{{330, 132}, range}});
}

// Before the first reading and after Clear All: empty windows, Fahrenheit.
void expectAtRest(const QImage& img, const PanelRig& rig) {
    EXPECT_TRUE(bottomRowShows(img, rig, "F", "-58 to 1922"));
    EXPECT_FALSE(bottomRowShows(img, rig, "C", "-50 to 1050"));
    EXPECT_TRUE(filled(img, kReadingWindow, kBlack));
    EXPECT_TRUE(filled(img, kEmissivityWindow, kBlack));
    EXPECT_TRUE(filled(img, kMaxText, kWhite));
    EXPECT_TRUE(filled(img, kMinText, kWhite));
}

TEST(DisplayPanel, BeforeTheFirstReadingAndAfterClearAllShowsFahrenheitAndEmptyWindows) {
    PanelRig rig;
    QImage img = rig.image();
    keepShot(img, "panel-start.png");
    expectAtRest(img, rig);
    EXPECT_TRUE(filled(img, CDisplayPanel::clockBox(), kBlack)); // no tick yet
    // Fills of the face at their places.
    EXPECT_EQ(img.pixel(20, 20), qRgb(177, 178, 172));
    EXPECT_EQ(img.pixel(20, 50), qRgb(95, 158, 160));
    EXPECT_EQ(img.pixel(845, 5), kWhite.rgb()); // logo box, right of the lettering
    EXPECT_EQ(img.pixel(350, 21), kRed.rgb());  // no frame yet

    rig.receive(celsiusFrame(35, 0x05));
    ASSERT_TRUE(bottomRowShows(rig.image(), rig, "C", "-50 to 1050"));
    rig.rec.clearAll();
    img = rig.image();
    keepShot(img, "panel-cleared.png");
    expectAtRest(img, rig);
}

TEST(DisplayPanel, NegativeCelsiusReadingShowsOneMinusSignAndTheCelsiusRange) {
    PanelRig rig;
    rig.receive(celsiusFrame(1509));     // a maximum above the high limit
    rig.receive(celsiusFrame(35, 0x05)); // -3.5 C
    rig.panel.tickClock();
    ASSERT_EQ(rig.acq.panel().m_strValue, "-3.5");
    const QImage img = rig.image();
    keepShot(img, "panel-reading.png");

    const QFont& big = rig.panel.readingFont();
    EXPECT_TRUE(
        shows(img, kReadingWindow, kBlack, big, kRed, {{{200, 60}, "-3.5"}, {{415, 60}, "C"}}));
    EXPECT_FALSE(
        shows(img, kReadingWindow, kBlack, big, kRed, {{{200, 60}, "--3.5"}, {{415, 60}, "C"}}));
    EXPECT_TRUE(bottomRowShows(img, rig, "C", "-50 to 1050"));
    EXPECT_TRUE(
        shows(img, kEmissivityWindow, kBlack, rig.panel.figuresFont(), kRed, {{{65, 60}, "0.95"}}));
    EXPECT_GT(countColour(img, kMaxText, kRed), 20);
}

TEST(DisplayPanel, ExtremesTurnRedOnlyStrictlyBeyondTheLimits) {
    PanelRig rig;
    DisplayTexts& t = StoreTestAccess::panel(StoreTestAccess::acq(rig.rec));
    t.m_strMax = "150.0";
    t.m_strMin = "-50.0";
    t.m_fMax = 150.0f;
    t.m_fMin = -50.0f;
    QImage img = rig.image();
    EXPECT_GT(countColour(img, kMaxText, kBlack), 20);
    EXPECT_EQ(countColour(img, kMaxText, kRed), 0);
    EXPECT_GT(countColour(img, kMinText, kBlack), 20);
    EXPECT_EQ(countColour(img, kMinText, kRed), 0);

    t.m_strMax = "150.1";
    t.m_strMin = "-50.1";
    t.m_fMax = 150.1f;
    t.m_fMin = -50.1f;
    img = rig.image();
    EXPECT_GT(countColour(img, kMaxText, kRed), 20);
    EXPECT_EQ(countColour(img, kMaxText, kBlack), 0);
    EXPECT_GT(countColour(img, kMinText, kRed), 20);
    EXPECT_EQ(countColour(img, kMinText, kBlack), 0);

    // The colours follow the recorder's limits.
    rig.rec.setAlarmLimits(151, -51);
    img = rig.image();
    EXPECT_EQ(countColour(img, kMaxText, kRed), 0);
    EXPECT_EQ(countColour(img, kMinText, kRed), 0);
}

TEST(DisplayPanel, IndicatorAlternatesFromFrameToFrameAndTheClockClearsIt) {
    PanelRig rig;
    const auto square = [&] { return QColor(rig.image().pixel(350, 21)); };
    rig.receive(celsiusFrame(253));
    EXPECT_EQ(square(), kBlue);
    rig.receive(celsiusFrame(253));
    EXPECT_EQ(square(), kRed);
    rig.receive(celsiusFrame(253));
    EXPECT_EQ(square(), kBlue);

    rig.panel.tickClock();
    EXPECT_FALSE(rig.acq.blink());
    EXPECT_EQ(square(), kRed); // when frames stop
    rig.receive(celsiusFrame(253));
    EXPECT_EQ(square(), kBlue); // the next frame after a tick
}

TEST(DisplayPanel, ClockDigitsStayInsideTheBlackBox) {
    PanelRig rig;
    rig.panel.tickClock();
    ASSERT_EQ(rig.panel.clockText().size(), 3 + 8 + 2 + 8);
    EXPECT_TRUE(rig.panel.clockText().startsWith(QLatin1String("   ")));
    const QImage img = rig.image();
    const QRect box = CDisplayPanel::clockBox();
    EXPECT_GT(countColour(img, box, kYellow), 50);
    // Nothing yellow left, right, above or below the box.
    const QRect around(360, 0, 340, 40);
    EXPECT_EQ(countColour(img, around, kYellow), countColour(img, box, kYellow));
}

TEST(DisplayPanel, TopRowShowsPortAndOnlineState) {
    PanelRig rig;
    const QRect port(60, 10, 50, 23); // right of "COM"
    const QRect online(116, 10, 100, 23);
    rig.line.setPort(16);
    QImage img = rig.image();
    const QFont& caption = rig.panel.captionFont();
    const QColor grey(177, 178, 172);
    EXPECT_TRUE(shows(img, port, grey, caption, kBlue, {{{29, 8}, "COM"}, {{80, 8}, "16"}}));
    EXPECT_TRUE(shows(img, online, grey, caption, kBlue, {{{129, 8}, "OffLine"}}));
    PtyPair pty;
    rig.line.bindDevice(pty.slavePath());
    ASSERT_TRUE(rig.line.open());
    img = rig.image();
    EXPECT_TRUE(shows(img, online, grey, caption, kBlue, {{{129, 8}, "OnLine"}}));
    // The simulated instrument has no port number.
    rig.panel.setSimulated(true);
    img = rig.image();
    EXPECT_TRUE(shows(img, QRect(16, 10, 95, 23), grey, caption, kBlue, {{{29, 8}, "SIM"}}));
}

TEST(DisplayPanel, NineteenEtchedFramesLieAtTheirPlaces) {
    PanelRig rig;
    const QImage img = rig.image();
    const QColor shadow = rig.panel.palette().color(QPalette::Dark);
    const QColor light = rig.panel.palette().color(QPalette::Light);
    const int frames[19][4] = {
        {14, 0, 100, 36},    {114, 0, 104, 36},  {218, 0, 166, 36},  {384, 0, 302, 36},
        {14, 28, 156, 38},   {170, 28, 388, 38}, {560, 28, 290, 38}, {14, 58, 156, 44},
        {14, 94, 156, 38},   {170, 58, 388, 74}, {560, 58, 290, 98}, {638, 62, 210, 50},
        {638, 104, 210, 50}, {14, 124, 68, 32},  {170, 124, 74, 32}, {244, 124, 74, 32},
        {318, 124, 134, 32}, {452, 124, 68, 32}, {520, 124, 38, 32}};
    for (const auto& f : frames) {
        const int midY = f[1] + f[3] / 2;
        SCOPED_TRACE(testing::Message() << "frame at " << f[0] << "," << f[1]);
        EXPECT_EQ(img.pixel(f[0], midY), shadow.rgb());
        EXPECT_EQ(img.pixel(f[0] + 1, midY), light.rgb());
        EXPECT_EQ(img.pixel(f[0] + f[2] - 2, midY), shadow.rgb());
        EXPECT_EQ(img.pixel(f[0] + f[2] - 1, midY), light.rgb());
    }
}

// Records the regions the panel is asked to paint.
struct PaintWatch : QObject {
    QRegion painted;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

TEST(DisplayPanel, ReadingsAndTheClockRepaintOnlyWhatChanged) {
    PanelRig rig;
    rig.panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&rig.panel));
    QCoreApplication::processEvents();
    PaintWatch watch;
    rig.panel.installEventFilter(&watch);

    rig.receive(celsiusFrame(253)); // everything new
    QCoreApplication::processEvents();
    const unsigned all = RegionValue | RegionMode | RegionMax | RegionMin | RegionUnit |
                         RegionEmissivity | RegionBlink;
    EXPECT_EQ(watch.painted, rig.panel.repaintRegion(all));
    EXPECT_FALSE(QRegion(rig.panel.rect()).subtracted(watch.painted).isEmpty());

    watch.painted = QRegion();
    rig.receive(celsiusFrame(253)); // the same reading: only the indicator
    QCoreApplication::processEvents();
    EXPECT_EQ(watch.painted, QRegion(CDisplayPanel::regionRect(RegionBlink)));
    EXPECT_EQ(CDisplayPanel::regionRect(RegionValue), QRect(172, 68, 382, 60));
    EXPECT_EQ(CDisplayPanel::regionRect(RegionBlink), QRect(342, 13, 17, 17));

    watch.painted = QRegion();
    rig.panel.tickClock();
    QCoreApplication::processEvents();
    EXPECT_TRUE(watch.painted.contains(CDisplayPanel::clockBox()));
    EXPECT_TRUE(QRegion(360, 0, 340, 40).contains(watch.painted.boundingRect()));
}

// Every text that changes is repainted whole and its old text is gone, without
// a repaint of the whole panel: what the panel paints after the change equals
// a fresh paint of the new state, whatever font stands in for the faces.
TEST(DisplayPanel, EveryChangedTextIsRepaintedCleanWithoutAWholeRepaint) {
    PanelRig rig;
    Acquisition& acq = StoreTestAccess::acq(rig.rec);
    DisplayTexts& t = StoreTestAccess::panel(acq);
    QObject::connect(&rig.rec, &Recorder::panelChanged, &rig.panel,
                     &CDisplayPanel::invalidateRegions);
    const auto paintAll = [&] {
        QImage img(rig.panel.size(), QImage::Format_RGB32);
        QPainter p(&img);
        rig.panel.paintFace(p);
        return img;
    };
    const struct {
        const char* what;
        std::function<void()> change;
        unsigned regions; // as the decoder names them; 0: the change repaints by itself
        bool whole;
    } rows[] = {
        {"value", [&] { t.m_strValue = "-3.5"; }, RegionValue, false},
        {"unit", [&] { StoreTestAccess::unit(acq) = "F"; }, RegionUnit, false},
        {"mode", [&] { t.m_strMode = "EMS"; }, RegionMode, false},
        {"emissivity", [&] { t.m_strEmissivity = "0.10"; }, RegionEmissivity, false},
        {"maximum", [&] { t.m_strMax = "99.8"; }, RegionMax, false},
        {"minimum", [&] { t.m_strMin = "-18.4"; }, RegionMin, false},
        {"lock", [&] { StoreTestAccess::locked(acq) = false; }, RegionLock, false},
        {"clear all", [&] { rig.rec.clearAll(); }, 0, true},
    };
    rig.panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&rig.panel));
    for (const auto& row : rows) {
        t = {"HAL", "0.95", "1049.9", "1888.8", "-48.8", 1888.8f, -48.8f};
        StoreTestAccess::unit(acq) = "C";
        StoreTestAccess::locked(acq) = true;
        rig.panel.repaint();
        QImage shown = paintAll();
        const QImage before = shown;

        PaintWatch watch;
        rig.panel.installEventFilter(&watch);
        row.change();
        rig.panel.invalidateRegions(row.regions);
        QCoreApplication::processEvents();
        rig.panel.removeEventFilter(&watch);
        {
            // What the panel's paint did to the screen.
            QPainter p(&shown);
            p.setClipRegion(watch.painted);
            rig.panel.paintFace(p, watch.painted);
        }
        const QImage expected = paintAll();
        keepShot(shown, (std::string("clean-") + row.what + ".png").c_str());
        EXPECT_NE(before, expected) << row.what;
        // Text drawn twice may differ a little at its anti-aliased edges (the
        // reading's large glyphs do from one paint to the next); a remnant of
        // the old text differs by far more.
        EXPECT_LE(worstDifference(shown, expected), kRedrawnEdge) << row.what;
        EXPECT_EQ(QRegion(rig.panel.rect()).subtracted(watch.painted).isEmpty(), row.whole)
            << row.what;
    }
}

TEST(DisplayPanel, SelectorShowsLowerCaseItemsAndTheStoredChoice) {
    for (int stored : {-1, 0, 5, 11, 12}) {
        PanelRig rig(stored);
        const QComboBox& combo = *rig.panel.sampleRateBox();
        ASSERT_EQ(combo.count(), 12);
        EXPECT_EQ(combo.itemText(0), "auto");
        EXPECT_EQ(combo.itemText(5), "1min");
        EXPECT_EQ(combo.currentIndex(), stored >= 0 && stored <= 11 ? stored : -1) << stored;
        EXPECT_EQ(combo.geometry().topLeft(), QPoint(82, 132));
        EXPECT_EQ(combo.width(), 82);
    }
}

TEST(DisplayPanel, ChoosingAutoAfterAnIntervalKeepsTheTimerButCommitsEveryReading) {
    PanelRig rig(0);
    QSignalSpy updates(&rig.panel, &CDisplayPanel::updateViewsRequested);
    QComboBox* combo = rig.panel.sampleRateBox();
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(combo, Qt::Key_Down);
    ASSERT_EQ(combo->currentIndex(), 3);
    EXPECT_EQ(rig.acq.sampleRateSel(), 3);
    EXPECT_FALSE(rig.acq.sampleSelFromIni());
    EXPECT_EQ(rig.acq.sampleMs(), 10000);
    EXPECT_EQ(rig.rec.commitTimerMs(), 10000);
    EXPECT_EQ(updates.count(), 3);
    EXPECT_TRUE(rig.receive(celsiusFrame(253)).rows.empty()); // waits for the interval
    EXPECT_TRUE(rig.acq.readingPending());

    QTest::keyClick(combo, Qt::Key_Home);
    ASSERT_EQ(combo->currentIndex(), 0);
    EXPECT_EQ(rig.acq.sampleRateSel(), 0);
    EXPECT_EQ(rig.acq.sampleMs(), 10000);
    EXPECT_EQ(rig.rec.commitTimerMs(), 10000);
    EXPECT_FALSE(rig.acq.readingPending());
    EXPECT_EQ(updates.count(), 3);
    EXPECT_EQ(rig.receive(celsiusFrame(254)).rows.size(), 1u);
    EXPECT_EQ(rig.receive(celsiusFrame(255)).rows.size(), 1u);
}

TEST(DisplayPanel, TheWheelChangesTheSelectorOnlyWhenItHasTheFocus) {
    PanelRig rig(3);
    rig.panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&rig.panel));
    QComboBox* combo = rig.panel.sampleRateBox();
    combo->clearFocus();
    const int before = rig.acq.sampleRateSel();
    // One notch down with the pointer over the selector, as the window
    // system delivers it.
    const auto turn = [combo] {
        const QPointF at = combo->rect().center();
        QWheelEvent wheel(at, combo->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QSpontaneKeyEvent::setSpontaneous(&wheel);
        qApp->notify(combo, &wheel);
    };
    // Scrolling the page over the selector leaves the interval alone.
    turn();
    EXPECT_EQ(combo->currentIndex(), 3);
    EXPECT_EQ(rig.acq.sampleRateSel(), before);
    EXPECT_TRUE(rig.acq.sampleSelFromIni());

    combo->setFocus();
    ASSERT_TRUE(combo->hasFocus());
    turn();
    EXPECT_EQ(combo->currentIndex(), 4);
    EXPECT_EQ(rig.acq.sampleRateSel(), 4);
}

TEST(DisplayPanel, EnterAndEscapeStopAtThePanel) {
    QWidget host;
    KeyWatch watch;
    host.installEventFilter(&watch);
    Recorder rec;
    InstrumentLine line(rec);
    auto* panel = new CDisplayPanel(rec, line, 2, &host);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(panel->sampleRateBox(), key);
        QTest::keyClick(panel, key);
    }
    EXPECT_EQ(watch.keys, 0);
    EXPECT_EQ(panel->sampleRateBox()->currentIndex(), 2);
    // Other keys take their usual way.
    QTest::keyClick(panel, Qt::Key_F5);
    EXPECT_EQ(watch.keys, 1);
}

} // namespace
