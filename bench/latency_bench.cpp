// Latency from a frame written to a pseudo-terminal to its row in the data
// list, with frames paced at the wire rate (14 bytes at 2400 baud = 58.3 ms),
// through the real main window. Prints p50, p99 and the largest value.
#include "core/link/frameencoder.h"
#include "ui/base/cdtdoc.h"
#include "ui/base/prompter.h"
#include "ui/graph/cdtview.h"
#include "ui/panels/datalistpanel.h"
#include "ui/window/cmainframe.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <pty.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

class SilentPrompter : public Prompter {
public:
    void information(QWidget*, const QString&) override {}
    void warning(QWidget*, const QString& text) override {
        std::fprintf(stderr, "%s\n", qPrintable(text));
    }
    bool askYesNo(QWidget*, const QString&) override { return false; }
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int frames = argc > 1 ? std::max(10, std::atoi(argv[1])) : 500;

    int master = -1, slave = -1;
    char name[256] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0)
        return 1;
    termios tio{};
    ::tcgetattr(slave, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(slave, TCSANOW, &tio);

    QTemporaryDir config;
    CMainFrame::Startup startup;
    startup.configPath = (config.path() + "/loggerconfig.ini").toStdString();
    startup.boundDevice = QString::fromLocal8Bit(name);
    CMainFrame frame(startup);
    frame.setPrompter(std::make_unique<SilentPrompter>());
    frame.show();
    frame.OnOnOff();
    if (frame.line().state() != LineState::Online)
        return 1;

    std::vector<double> latencies;
    QElapsedTimer clock;
    clock.start();
    qint64 sentAt = 0;
    DataListModel* model = frame.view().dataList()->model();
    QObject::connect(model, &QAbstractItemModel::rowsInserted, &frame, [&] {
        latencies.push_back(double(clock.nsecsElapsed() - sentAt) / 1e6);
        if (int(latencies.size()) >= frames)
            app.quit();
    });
    int n = 0;
    QTimer pace;
    pace.setTimerType(Qt::PreciseTimer);
    QObject::connect(&pace, &QTimer::timeout, &frame, [&] {
        const FrameBytes f =
            encodeFrame(makeFrame(20.0 + (n++ % 200) * 0.5, true, 0, 0.95, false, false, false));
        sentAt = clock.nsecsElapsed();
        if (::write(master, f.data(), f.size()) != static_cast<ssize_t>(f.size()))
            app.quit();
    });
    pace.start(58); // one frame per frame time on the wire
    QTimer::singleShot(frames * 200, &app, &QApplication::quit);
    app.exec();

    if (latencies.empty())
        return 1;
    std::sort(latencies.begin(), latencies.end());
    const auto at = [&](double q) {
        return latencies[std::min(latencies.size() - 1, std::size_t(q * latencies.size()))];
    };
    std::printf("frame-to-row latency over %zu frames at the wire rate: p50 %.3f ms, p99 %.3f ms, "
                "max %.3f ms\n",
                latencies.size(), at(0.50), at(0.99), latencies.back());
    ::close(master);
    ::close(slave);
    return 0;
}
