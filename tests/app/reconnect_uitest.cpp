#include "../app/tempdir.h"
#include "support/frames.h"
#include "support/ptypair.h"
#include "support/recordingprompter.h"
#include "ui/base/cdtdoc.h"
#include "ui/graph/cdtview.h"
#include "ui/panels/cdatalistpanel.h"
#include "ui/window/cmainframe.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <sys/resource.h>

namespace {

double cpuSeconds() {
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    return double(use.ru_utime.tv_sec + use.ru_stime.tv_sec) +
           double(use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e6;
}

// The cable is pulled and plugged in again: a pseudo-terminal behind a link
// that goes away and comes back pointing at a new one. Recording resumes in
// the same store each time, with nothing invented for the gap.
// ORVANE_RECONNECT_CYCLES sets how many times (default 2).
TEST(Reconnect, RecordingResumesWhenThePulledDeviceComesBack) {
    const int cycles = qEnvironmentVariableIntValue("ORVANE_RECONNECT_CYCLES") > 0
                           ? qEnvironmentVariableIntValue("ORVANE_RECONNECT_CYCLES")
                           : 2;
    TempDir dir;
    const QString link = QString::fromStdString((dir.path() / "ttyUSB-test").string());
    auto pty = std::make_unique<PtyPair>();
    ASSERT_TRUE(QFile::link(pty->slavePath(), link));

    CMainFrame::Startup startup;
    startup.configPath = dir.path() / "loggerconfig.ini";
    startup.boundDevice = link;
    CMainFrame frame(startup);
    QStringList messages;
    frame.setPrompter(std::make_unique<RecordingPrompter>(&messages));
    CDataListModel& list = *frame.m_pView->m_dlgList->model();
    frame.OnOnOff();
    ASSERT_TRUE(frame.m_link.m_bOnline);

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
        ASSERT_TRUE(QTest::qWaitFor([&] { return !frame.m_link.m_bOnline; }, 1000)) << c;
        EXPECT_TRUE(frame.m_reconnect.waiting());
        const double cpu = cpuSeconds();
        QTest::qWait(1200); // away for more than a retry
        EXPECT_LT(cpuSeconds() - cpu, 0.2) << "waiting must not spin";

        pty = std::make_unique<PtyPair>();
        ASSERT_TRUE(QFile::link(pty->slavePath(), link));
        QElapsedTimer back;
        back.start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return frame.m_link.m_bOnline; }, 3000)) << c;
        slowest = std::max(slowest, back.elapsed());
        EXPECT_LE(back.elapsed(), 2000) << c;
        sendThree();
    }
    EXPECT_EQ(list.rowCount(), 3 * (cycles + 1));
    EXPECT_EQ(frame.m_pDoc->store().recCount(), 3 * (cycles + 1));
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    std::printf("reconnect: %d cycles, slowest resume %lld ms after the device came back\n", cycles,
                static_cast<long long>(slowest));

    // On/Off while waiting stops waiting.
    pty->hangUp();
    ASSERT_TRUE(QTest::qWaitFor([&] { return frame.m_reconnect.waiting(); }, 1000));
    frame.OnOnOff();
    EXPECT_FALSE(frame.m_reconnect.waiting());
    EXPECT_FALSE(frame.m_link.m_bOnline);
}

} // namespace
