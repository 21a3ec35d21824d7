#include "support/windowrig.h"

#include <sys/resource.h>

WindowRig::WindowRig() : WindowRig(Options{}) {}

WindowRig::WindowRig(const Options& options) {
    CMainFrame::Startup startup;
    startup.configPath =
        (options.configPath.isEmpty() ? path("config/loggerconfig.ini") : options.configPath)
            .toStdString();
    if (options.pty)
        pty = std::make_unique<PtyPair>();
    startup.boundDevice = pty ? pty->slavePath() : options.device;
    frame = std::make_unique<CMainFrame>(startup);
    auto p = std::make_unique<RecordingPrompter>(&messages, options.answerYes);
    prompter = p.get();
    frame->setPrompter(std::move(p));
    if (options.show) {
        EXPECT_TRUE(show());
    }
}

::testing::AssertionResult WindowRig::connect() {
    frame->OnOnOff();
    if (frame->line().state() == LineState::Online)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << messages.join('\n').toStdString();
}

bool WindowRig::send(const QByteArray& bytes) {
    const int before = rows();
    const std::string value = acq().panel().m_strValue;
    if (!pty || !pty->write(bytes))
        return false;
    return QTest::qWaitFor([&] { return rows() != before || acq().panel().m_strValue != value; },
                           2000);
}

void WindowRig::expectListMatchesStore() const {
    const SampleStore& s = acq().store();
    ASSERT_EQ(rows(), s.recCount());
    for (int i = 0; i < s.recCount(); ++i) {
        EXPECT_EQ(cell(i, 0), QString::number(i + 1));
        EXPECT_EQ(cell(i, 3).toStdString(), s.recTimeText()[static_cast<std::size_t>(i)]);
    }
}

double cpuSeconds() {
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    return double(use.ru_utime.tv_sec + use.ru_stime.tv_sec) +
           double(use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e6;
}
