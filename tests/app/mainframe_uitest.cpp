#include "core/config/serialdevices.h"
#include "support/frames.h"
#include "support/windowrig.h"
#include "ui/panels/cdisplaypanel.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include <unistd.h>

namespace {

// A main window bound to one end of a pseudo-terminal; the test plays the
// instrument on the other end.
struct Rig : WindowRig {
    Rig() : WindowRig({.pty = true, .show = true}) {}
};

TEST(MainFrameLink, ExampleFramesAreDecodedListedAndShown) {
    Rig rig;
    ASSERT_TRUE(rig.pty->isOpen());
    ASSERT_TRUE(rig.connect());
    ASSERT_TRUE(rig.send(frameBytes({0x10, 0x20, 0x35, 0x4F, 0x5F, 0x6D, 0x70, 0x80, 0x90, 0xA4})));
    EXPECT_EQ(rig.acq().panel().m_strValue, "25.3");
    EXPECT_EQ(rig.acq().panel().m_strEmissivity, "0.95");
    EXPECT_EQ(rig.acq().panel().m_strMode, "EMS");
    EXPECT_EQ(rig.acq().unit(), "C");
    ASSERT_TRUE(rig.send(frameBytes({0x10, 0x21, 0x36, 0x44, 0x52, 0x63, 0x70, 0x80, 0x90, 0xA5})));
    EXPECT_FLOAT_EQ(rig.acq().store().recData()[1], -3.5f);
    ASSERT_TRUE(rig.send(frameBytes({0x10, 0x28, 0x35, 0x4F, 0x5A, 0x65, 0x73, 0x81, 0x96, 0xA4})));
    ASSERT_EQ(rig.rows(), 3);
    EXPECT_EQ(rig.cell(0, 0), "1");
    EXPECT_EQ(rig.cell(0, 1), "25.3");
    EXPECT_EQ(rig.cell(1, 1), "-3.5");
    EXPECT_EQ(rig.cell(2, 1), "1270.9log");
    EXPECT_EQ(rig.cell(2, 2), "C");
    EXPECT_EQ(rig.cell(2, 3).size(), 17);
    EXPECT_TRUE(rig.messages.isEmpty());
}

// A USB adapter hands the line over about 4 bytes at a time; frames sent back
// to back then straddle the reads, and two may come in one.
TEST(MainFrameLink, FramesBackToBackInSmallPiecesAreAllRecorded) {
    Rig rig;
    ASSERT_TRUE(rig.connect());
    QByteArray line;
    for (int i = 0; i < 60; ++i)
        line += celsiusFrame(100 + i);
    for (qsizetype at = 0; at < line.size(); at += 4) {
        rig.pty->write(line.mid(at, 4));
        QTest::qWait(17); // 4 bytes at 2400 baud
    }
    rig.pty->write(celsiusFrame(900) + celsiusFrame(901));
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.rows() == 62; }, 3000)) << rig.rows();
    for (int i = 0; i < 60; ++i)
        ASSERT_EQ(rig.cell(i, 1), QString::number((100 + i) / 10.0, 'f', 1)) << i;
    EXPECT_EQ(rig.cell(60, 1), "90.0");
    EXPECT_EQ(rig.cell(61, 1), "90.1");
}

TEST(MainFrameLink, AStreamStartedMidFrameDecodesItsSecondFrame) {
    for (int offset = 1; offset < 14; ++offset) {
        Rig rig;
        ASSERT_TRUE(rig.connect());
        const QByteArray first = celsiusFrame(100 + offset);
        rig.pty->write(first.mid(offset));
        QTest::qWait(5);
        rig.pty->write(celsiusFrame(500 + offset));
        ASSERT_TRUE(QTest::qWaitFor([&] { return rig.rows() == 1; }, 2000)) << "offset " << offset;
        EXPECT_EQ(rig.cell(0, 1), QString::number((500 + offset) / 10.0, 'f', 1)) << offset;
        rig.send(celsiusFrame(700));
        EXPECT_EQ(rig.rows(), 2) << offset;
    }
}

TEST(MainFrameLink, IntervalModeCommitsTheLastFrameOfEachInterval) {
    Rig rig;
    rig.rec().selectSampleRate(1);
    rig.rec().overrideIntervalMs(400); // a short interval keeps the test quick
    ASSERT_EQ(rig.rec().commitTimerMs(), 400);
    ASSERT_TRUE(rig.connect());
    QElapsedTimer clock;
    clock.start();
    for (int c = 1; c <= 3; ++c)
        ASSERT_TRUE(rig.send(celsiusFrame(c * 10)));
    ASSERT_LT(clock.elapsed(), 350);
    EXPECT_EQ(rig.rows(), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.rows() == 1; }, 1000));
    EXPECT_EQ(rig.cell(0, 1), "3.0");
    QTest::qWait(500);
    EXPECT_EQ(rig.rows(), 1); // nothing arrived in that interval
}

TEST(MainFrameLink, TheStoreFullMessageClosesThePortOnce) {
    Rig rig;
    ASSERT_TRUE(rig.connect());
    for (int i = 0; i < MAX_DATA; ++i)
        ASSERT_TRUE(rig.send(celsiusFrame(i % 2000))) << i;
    EXPECT_EQ(rig.rows(), MAX_DATA);
    EXPECT_EQ(rig.cell(MAX_DATA - 1, 0), "4000");
    EXPECT_FALSE(rig.frame->line().isOpen());
    EXPECT_EQ(rig.frame->line().state(), LineState::Closed);
    EXPECT_EQ(rig.messages, QStringList{"You have got the max data number,please restart!"});

    // A frame still handed over overwrites slot 4000; the counts stay.
    rig.record({1234});
    EXPECT_EQ(rig.acq().store().recCount(), MAX_DATA);
    EXPECT_FLOAT_EQ(rig.acq().store().recData()[MAX_DATA], 123.4f);
    EXPECT_EQ(rig.rows(), MAX_DATA);

    // On/Off answered No: the store restarts and the port opens again.
    rig.messages.clear();
    rig.frame->OnOnOff();
    EXPECT_EQ(rig.messages.value(0), "Do you want to save? ");
    EXPECT_EQ(rig.acq().store().recCount(), 0);
    EXPECT_EQ(rig.rows(), 0);
    EXPECT_EQ(rig.frame->line().state(), LineState::Online);
}

TEST(MainFrameLink, AHangUpClosesThePortKeepsTheSamplesAndIdles) {
    Rig rig;
    ASSERT_TRUE(rig.connect());
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(rig.send(celsiusFrame(100 + i)));
    rig.pty->hangUp();
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.frame->line().isOpen(); }, 1000));
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(rig.frame->line().state(), LineState::Lost);
    EXPECT_EQ(rig.acq().store().recCount(), 5);
    EXPECT_EQ(rig.rows(), 5);
    // No box waits for an answer: the status bar says what happened.
    EXPECT_TRUE(rig.messages.isEmpty()) << rig.messages.join('\n').toStdString();
    EXPECT_TRUE(rig.frame->messageLine().text(MessageTopic::Line).contains(rig.pty->slavePath()));
    EXPECT_TRUE(rig.frame->line().waitingForDevice());

    const double before = cpuSeconds();
    QTest::qWait(1000);
    EXPECT_LT(cpuSeconds() - before, 0.2); // no error loop left spinning
}

TEST(MainFrameLink, AMissingDeviceIsReportedWithItsPathAndReason) {
    WindowRig rig({.device = QStringLiteral("/dev/orvane-no-such-device")});
    rig.frame->OnOnOff();
    EXPECT_EQ(rig.frame->line().state(), LineState::Closed);
    EXPECT_FALSE(rig.frame->line().isOpen());
    ASSERT_EQ(rig.messages.size(), 1);
    EXPECT_TRUE(rig.messages[0].contains("/dev/orvane-no-such-device"));
    EXPECT_TRUE(rig.messages[0].contains("No such file or directory"))
        << rig.messages[0].toStdString();
    // ... and the devices there are instead (whatever this computer has).
    const std::string present = deviceListText(presentSerialDevices(rig.frame->config().profile()));
    EXPECT_TRUE(rig.messages[0].contains(QString::fromStdString(present)))
        << rig.messages[0].toStdString();
}

TEST(MainFrameLink, APortHeldByAnotherProgramIsReported) {
    WindowRig rig({.pty = true});
    CMSComm other;
    other.bindDevice(rig.pty->slavePath());
    const auto opened = other.setPortOpen(true);
    ASSERT_TRUE(opened) << opened.error().message.toStdString();

    rig.frame->OnOnOff();
    EXPECT_EQ(rig.frame->line().state(), LineState::Closed);
    ASSERT_EQ(rig.messages.size(), 1);
    EXPECT_TRUE(rig.messages[0].contains(rig.pty->slavePath())) << rig.messages[0].toStdString();
    // The holder is this very process.
    EXPECT_TRUE(rig.messages[0].contains(QStringLiteral("(process %1)").arg(::getpid())))
        << rig.messages[0].toStdString();
}

// Select COM while on line: recording goes on from the open port, and the
// window says so; On/Off moves to the chosen port, then turns the line off.
TEST(MainFrameLink, SelectComOnLineStaysOnLineUntilOnOffMovesToThePort) {
    Rig rig;
    ASSERT_TRUE(rig.connect());
    rig.frame->OnSelectCom();
    EXPECT_EQ(rig.frame->line().port(), 4);
    EXPECT_EQ(rig.frame->line().state(), LineState::Online);
    EXPECT_EQ(rig.frame->messageLine().text(MessageTopic::Port),
              "Recording goes on from COM 3; On/Off moves to COM 4.");
    ASSERT_TRUE(rig.send(celsiusFrame(10)));
    EXPECT_EQ(rig.rows(), 1);
    rig.frame->OnOnOff();
    EXPECT_EQ(rig.frame->line().state(), LineState::Online);
    EXPECT_EQ(rig.frame->line().openPort(), 4);
    EXPECT_TRUE(rig.frame->messageLine().isEmpty());
    rig.frame->OnOnOff();
    EXPECT_FALSE(rig.frame->line().isOpen());
    EXPECT_EQ(rig.frame->line().state(), LineState::Closed);
}

} // namespace

namespace {

TEST(MainFrameLink, WhatArrivedBeforeOnOffIsNotRecorded) {
    Rig rig;
    rig.pty->write(celsiusFrame(111) + celsiusFrame(222));
    QTest::qWait(50);
    ASSERT_TRUE(rig.connect());
    ASSERT_TRUE(rig.send(celsiusFrame(333)));
    QTest::qWait(50);
    ASSERT_EQ(rig.rows(), 1);
    EXPECT_EQ(rig.cell(0, 1), "33.3");
}

TEST(MainFrame, TheSimulatedInstrumentIsNeverTakenForARealOne) {
    for (const bool simulated : {false, true}) {
        WindowRig rig;
        rig.frame = std::make_unique<CMainFrame>(
            CMainFrame::Startup{.configPath = rig.path("config/loggerconfig.ini").toStdString(),
                                .boundDevice = QStringLiteral("/dev/null"),
                                .simulated = simulated});
        EXPECT_EQ(rig.frame->windowTitle(), simulated ? "Orvane (simulated instrument)" : "Orvane");
        EXPECT_EQ(rig.frame->messageLine().text(MessageTopic::Simulator).contains("simulated"),
                  simulated);
    }
}

} // namespace

namespace {

// The widgets a paint reached, and how often, by the names `named` gives them.
struct PaintCount : QObject {
    std::map<const QWidget*, std::string> named;
    std::map<std::string, int> painted;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            const auto* w = static_cast<QWidget*>(watched);
            const auto it = named.find(w);
            ++painted[it != named.end() ? it->second
                                        : std::string(w->metaObject()->className()) + " " +
                                              w->objectName().toStdString()];
        }
        return false;
    }
};

// A reading in a long recording repaints what shows it, each once: the
// panel, the list's new row and its scroll bar, and the graph. Nothing
// beneath them (the window, the list's frame, the graph under the list) is
// painted again for it.
TEST(MainFrameRepaint, AReadingRepaintsThePanelTheListAndTheGraphOnceEach) {
    WindowRig rig({.show = true});
    for (int i = 0; i < 60; ++i)
        rig.record({100 + i});
    QTest::qWait(20);
    CDTView& view = rig.frame->view();
    DataListView* list = view.dataList()->list();
    ASSERT_TRUE(list->verticalScrollBar()->isVisible());

    PaintCount count;
    count.named = {{view.displayPanel(), "panel"},
                   {list->viewport(), "list rows"},
                   {list->verticalScrollBar(), "list scroll bar"},
                   {&view, "graph"}};
    qApp->installEventFilter(&count);
    const QString clock = view.displayPanel()->clockText();
    rig.record({170});
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    qApp->removeEventFilter(&count);

    // The clock's tick may fall in between: one more paint of the panel.
    const int panelPaints = view.displayPanel()->clockText() == clock ? 1 : 2;
    const std::map<std::string, int> expected = {
        {"panel", panelPaints}, {"list rows", 1}, {"list scroll bar", 1}, {"graph", 1}};
    EXPECT_EQ(count.painted, expected);
}

} // namespace
