#include "support/windowrig.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>

#include <memory>

namespace {

// The cable is pulled and plugged in again: a pseudo-terminal behind a link
// that goes away and comes back pointing at a new one. Recording resumes in
// the same store each time, with nothing invented for the gap.
// ORVANE_RECONNECT_CYCLES sets how many times (default 2).
TEST(Reconnect, RecordingResumesWhenThePulledDeviceComesBack) {
    const int cycles = qEnvironmentVariableIntValue("ORVANE_RECONNECT_CYCLES") > 0
                           ? qEnvironmentVariableIntValue("ORVANE_RECONNECT_CYCLES")
                           : 2;
    QTemporaryDir dir;
    const QString link = dir.path() + "/ttyUSB-test";
    auto pty = std::make_unique<PtyPair>();
    ASSERT_TRUE(QFile::link(pty->slavePath(), link));
    WindowRig rig({.device = link});
    CMainFrame& frame = *rig.frame;
    DataListModel& list = rig.list();
    ASSERT_TRUE(rig.connect());

    int value = 100;
    const auto sendThree = [&] {
        for (int i = 0; i < 3; ++i) {
            const int before = list.rowCount();
            pty->write(celsiusFrame(value++));
            ASSERT_TRUE(QTest::qWaitFor([&] { return list.rowCount() == before + 1; }, 2000));
        }
    };
    sendThree();
    qint64 slowest = 0;
    for (int c = 0; c < cycles; ++c) {
        pty->hangUp();
        QFile::remove(link);
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return frame.line().state() != LineState::Online; }, 1000))
            << c;
        EXPECT_TRUE(frame.line().waitingForDevice());
        // The whole message on the message line, its short form in pane 0.
        const MessageLine& line = frame.messageLine();
        EXPECT_TRUE(line.text(MessageTopic::Line).contains(". Waiting for " + link)) << c;
        EXPECT_TRUE(line.text(MessageTopic::Line).endsWith("(On/Off stops waiting).")) << c;
        EXPECT_EQ(line.level(MessageTopic::Line), MessageLevel::Warning);
        EXPECT_EQ(frame.pane(0)->text(), "Waiting for COM 3");
        const double cpu = cpuSeconds();
        QTest::qWait(1200); // away for more than a retry
        EXPECT_LT(cpuSeconds() - cpu, 0.2) << "waiting must not spin";

        pty = std::make_unique<PtyPair>();
        ASSERT_TRUE(QFile::link(pty->slavePath(), link));
        QElapsedTimer back;
        back.start();
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return frame.line().state() == LineState::Online; }, 3000))
            << c;
        slowest = std::max(slowest, back.elapsed());
        EXPECT_LE(back.elapsed(), 2000) << c;
        sendThree();
        EXPECT_EQ(frame.messageLine().text(MessageTopic::Line),
                  QString("Connected to %1 again.").arg(link));
        EXPECT_EQ(frame.pane(0)->text(), "Ready");
    }
    EXPECT_EQ(list.rowCount(), 3 * (cycles + 1));
    EXPECT_EQ(frame.doc().store().recCount(), 3 * (cycles + 1));
    EXPECT_TRUE(rig.messages.isEmpty()) << rig.messages.join('\n').toStdString();
    std::printf("reconnect: %d cycles, slowest resume %lld ms after the device came back\n", cycles,
                static_cast<long long>(slowest));

    // On/Off turns the line off: "again" is no longer true.
    frame.OnOnOff();
    EXPECT_NE(frame.line().state(), LineState::Online);
    EXPECT_TRUE(frame.messageLine().isEmpty());
    EXPECT_FALSE(frame.messageLine().isVisible());

    // On/Off while waiting stops waiting, and says nothing more about it.
    ASSERT_TRUE(rig.connect());
    pty->hangUp();
    ASSERT_TRUE(QTest::qWaitFor([&] { return frame.line().waitingForDevice(); }, 1000));
    frame.OnOnOff();
    EXPECT_FALSE(frame.line().waitingForDevice());
    EXPECT_NE(frame.line().state(), LineState::Online);
    EXPECT_TRUE(frame.messageLine().isEmpty());
    EXPECT_EQ(frame.pane(0)->text(), "Ready");
}

} // namespace
