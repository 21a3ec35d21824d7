// The real main window against a pseudo-terminal, offscreen:
//  1. fills the store with 4000 readings (each frame sent once the previous one
//     is listed) and reports the resident memory;
//  2. times Save (data file and text export) and Open of those 4000 samples;
//  3. empties the store with On/Off and streams frames at the wire rate (one
//     every 58.3 ms, from a child process) for SECONDS (default 60), and reports
//     the share of one core the logger used meanwhile. With --journal it streams
//     for SECONDS without the recording journal and SECONDS with it (in the
//     order off, on, on, off, half of SECONDS each) and reports both shares.
// Prints one "name: value" line per figure. With ORVANE_BENCH_FILL_ONLY set it
// ends right after the memory figures of step 1; ORVANE_BENCH_SMAPS=FILE copies
// /proc/self/smaps to FILE there.
//
//   streaming_bench [SECONDS] [--journal]
#include "core/journal/journalformat.h"
#include "core/link/frameencoder.h"
#include "sim/ptyinstrument.h"
#include "ui/base/cdtdoc.h"
#include "ui/base/memorysettings.h"
#include "ui/base/prompter.h"
#include "ui/files/documentfiles.h"
#include "ui/graph/cdtview.h"
#include "ui/panels/datalistpanel.h"
#include "ui/window/cmainframe.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPaintEvent>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <pty.h>
#include <signal.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

class SilentPrompter : public Prompter {
public:
    void information(QWidget*, const QString&) override {}
    void warning(QWidget*, const QString& text) override {
        std::fprintf(stderr, "warning: %s\n", qPrintable(text));
    }
    bool askYesNo(QWidget*, const QString&) override { return false; }
};

// A field of /proc/self/status in MiB ("VmRSS", "VmHWM").
double statusMiB(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(in, line)) {
        if (line.rfind(key, 0) == 0)
            return std::atof(line.c_str() + key.size()) / 1024.0; // kB
    }
    return 0.0;
}

double cpuSeconds() {
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    return double(use.ru_utime.tv_sec + use.ru_stime.tv_sec) +
           double(use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e6;
}

FrameBytes frameFor(int n) {
    return encodeFrame(makeFrame(20.0 + (n % 700) * 0.25, true, 0, 0.95, false, false, false));
}

// Runs the event loop (sleeping while there is nothing to do) until `done`
// holds or `ms` have passed.
template <typename F> bool waitFor(F done, int ms) {
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    check.start(1);
    // A timer of this scope's own: a single shot aimed at the loop would
    // stay pending after the loop is gone, thousands of them during the fill,
    // and be counted as the window's memory.
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(ms);
    if (!done())
        loop.exec();
    return done();
}

void wait(int ms) {
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(ms);
    loop.exec();
}

// Counts paint events and the pixels they cover per widget class while it
// lives (ORVANE_BENCH_PAINTS=1).
class PaintCounter : public QObject {
public:
    struct Tally {
        int events = 0;
        long long pixels = 0;
        QRect last;
    };
    std::map<std::string, Tally> counts;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            Tally& t = counts[std::string(watched->metaObject()->className()) + " " +
                              watched->objectName().toStdString()];
            ++t.events;
            const QRegion& region = static_cast<QPaintEvent*>(event)->region();
            for (const QRect& r : region)
                t.pixels += static_cast<long long>(r.width()) * r.height();
            t.last = region.boundingRect();
        }
        return false;
    }
};

// How many samples the journal at `path` holds.
int readJournalRows(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    return readJournal(bytes).recording.count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    settleWindowMemory(); // as the program does
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
    const bool journalToo = argc > 2 && std::string(argv[2]) == "--journal";

    int master = -1, slave = -1;
    char name[256] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0)
        return 1;
    termios tio{};
    ::tcgetattr(slave, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(slave, TCSANOW, &tio);

    QTemporaryDir dir;
    CMainFrame::Startup startup;
    startup.configPath = (dir.path() + "/loggerconfig.ini").toStdString();
    startup.boundDevice = QString::fromLocal8Bit(name);
    CMainFrame frame(startup);
    frame.setPrompter(std::make_unique<SilentPrompter>());
    frame.show();
    wait(200);
    frame.OnOnOff();
    if (frame.line().state() != LineState::Online)
        return 1;
    DataListModel* model = frame.view().dataList()->model();
    const SampleStore& store = frame.doc().store();

    // 1. Fill: the next frame goes out once the previous one is listed.
    QElapsedTimer clock;
    clock.start();
    for (int n = 0; n < MAX_DATA; ++n) {
        const FrameBytes f = frameFor(n);
        if (::write(master, f.data(), f.size()) != static_cast<ssize_t>(f.size()))
            return 1;
        if (!waitFor([&] { return store.recCount() > n; }, 5000)) {
            std::fprintf(stderr, "frame %d was not listed\n", n + 1);
            return 1;
        }
    }
    wait(200); // the last repaints
    std::printf("fill_frames: %d\n", store.recCount());
    std::printf("fill_seconds: %.1f\n", clock.elapsed() / 1000.0);
    std::printf("list_rows: %d\n", model->rowCount());
    std::printf("rss_4000_mib: %.1f\n", statusMiB("VmRSS"));
    std::printf("rss_peak_mib: %.1f\n", statusMiB("VmHWM"));
    // Of which: the heap and other private memory, the mapped files (the
    // program, the libraries, fonts), and shared memory (the X backing store).
    std::printf("rss_anon_mib: %.1f\n", statusMiB("RssAnon"));
    std::printf("rss_file_mib: %.1f\n", statusMiB("RssFile"));
    std::printf("rss_shmem_mib: %.1f\n", statusMiB("RssShmem"));
    if (const QByteArray to = qgetenv("ORVANE_BENCH_SMAPS"); !to.isEmpty()) {
        std::ifstream in("/proc/self/smaps"); // every mapping, for a breakdown
        std::ofstream(to.toStdString()) << in.rdbuf();
    }
    if (qEnvironmentVariableIsSet("ORVANE_BENCH_FILL_ONLY")) {
        std::fflush(stdout);
        std::_Exit(0); // as it stands, for a heap profiler's list of what is held
    }

    // 2. Save and Open of the 4000 samples, the median of five.
    std::vector<double> saves, opens;
    const QString dataPath = dir.path() + "/bench.DovDat";
    const QString textPath = dir.path() + "/bench.txt";
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer t;
        t.start();
        if (!frame.files().writeFiles(dataPath, textPath))
            return 1;
        saves.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        if (!frame.files().load(dataPath))
            return 1;
        QCoreApplication::processEvents(); // the refilled list and the graph repaint
        opens.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("save_4000_ms: %.2f\n", median(saves));
    std::printf("open_4000_ms: %.2f\n", median(opens));

    // 3. Streaming: On/Off offers the full store for saving (No) and empties it.
    frame.OnOnOff();
    if (frame.line().state() != LineState::Online)
        frame.OnOnOff();
    if (frame.line().state() != LineState::Online || store.recCount() != 0)
        return 1;
    // One stretch at the wire rate: `frames` frames from a child process on a
    // fixed schedule, into an empty store. The CPU share of one core meanwhile.
    struct Stretch {
        double cpu = 0.0;
        double wall = 0.0;
        int rows = 0;
    };
    const auto stream = [&](int frames) -> Stretch {
        Stretch out;
        const pid_t writer = ::fork();
        if (writer < 0)
            return out;
        if (writer == 0) {
            timespec next{};
            clock_gettime(CLOCK_MONOTONIC, &next);
            const long periodNs = static_cast<long>(PtyInstrument::kFrameMs * 1e6);
            for (int n = 0; n < frames; ++n) {
                next.tv_nsec += periodNs;
                while (next.tv_nsec >= 1000000000L) {
                    next.tv_nsec -= 1000000000L;
                    ++next.tv_sec;
                }
                clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
                const FrameBytes f = frameFor(n);
                if (::write(master, f.data(), f.size()) != static_cast<ssize_t>(f.size()))
                    _exit(1);
            }
            _exit(0);
        }
        const double cpuBefore = cpuSeconds();
        clock.restart();
        wait(static_cast<int>(frames * PtyInstrument::kFrameMs) + 200);
        // The writer may run a little late on a busy machine: the last frames too.
        waitFor([&] { return model->rowCount() == frames; }, 3000);
        out.wall = clock.elapsed() / 1000.0;
        out.cpu = cpuSeconds() - cpuBefore;
        out.rows = model->rowCount();
        int status = 0;
        ::waitpid(writer, &status, 0);
        return out;
    };

    const int frames = static_cast<int>(seconds * 1000.0 / PtyInstrument::kFrameMs);
    PaintCounter paints;
    const bool countPaints = qEnvironmentVariableIntValue("ORVANE_BENCH_PAINTS") != 0;
    if (countPaints)
        app.installEventFilter(&paints);
    Stretch off;
    Stretch on;
    int onRows = 0;
    if (!journalToo) {
        off = stream(frames);
    } else {
        // Without and with the recording journal, in the order off, on, on,
        // off (half of SECONDS each) so that a drift in the machine's load
        // weighs on both alike. The store is emptied before each stretch.
        const int half = frames / 2;
        const std::string journal = (dir.path() + "/state/recording.journal").toStdString();
        for (const bool journalled : {false, true, true, false}) {
            frame.OnClearAll();
            if (journalled && !frame.doc().recorder().journal())
                frame.openJournal(journal);
            if (!journalled && frame.doc().recorder().journal())
                frame.doc().recorder().setJournal(nullptr);
            if (journalled && !frame.doc().recorder().journal()) {
                std::fprintf(stderr, "the journal %s could not be opened\n", journal.c_str());
                return 1;
            }
            const Stretch s = stream(half);
            Stretch& sum = journalled ? on : off;
            sum.cpu += s.cpu;
            sum.wall += s.wall;
            sum.rows += s.rows;
            if (journalled)
                onRows = std::max(onRows,
                                  frame.doc().recorder().journal() ? readJournalRows(journal) : 0);
        }
    }
    if (countPaints) {
        app.removeEventFilter(&paints);
        for (const auto& [name, t] : paints.counts)
            std::printf("paints %s: %d events, %lld px each, last %d,%d %dx%d\n", name.c_str(),
                        t.events, t.pixels / std::max(1, t.events), t.last.x(), t.last.y(),
                        t.last.width(), t.last.height());
    }
    const int expected = journalToo ? 2 * (frames / 2) : frames;
    std::printf("stream_seconds: %.1f\n", off.wall);
    std::printf("stream_frames: %d\n", expected);
    std::printf("stream_rows: %d\n", off.rows);
    std::printf("cpu_percent: %.2f\n", 100.0 * off.cpu / off.wall);
    if (journalToo) {
        std::printf("journal_stream_seconds: %.1f\n", on.wall);
        std::printf("journal_stream_rows: %d\n", on.rows);
        std::printf("journal_samples_found: %d\n", onRows);
        std::printf("cpu_percent_journal: %.2f\n", 100.0 * on.cpu / on.wall);
        std::printf("journal_cpu_ratio: %.3f\n", (on.cpu / on.wall) / (off.cpu / off.wall));
    }
    std::printf("rss_streaming_mib: %.1f\n", statusMiB("VmRSS"));
    ::close(master);
    ::close(slave);
    return off.rows == expected && (!journalToo || on.rows == expected) ? 0 : 2;
}
