#include "core/link/frame.h"
#include "sim/ptyinstrument.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

// Reads one end of a line as bytes arrive and remembers when each byte came.
class LineReader {
public:
    explicit LineReader(int fd) : m_fd(fd) {
        m_clock.start();
        if (m_fd < 0)
            return;
        m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                         [this] { readAvailable(); });
    }
    static LineReader open(const QString& path) {
        return LineReader(::open(QFile::encodeName(path).constData(),
                                 O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    }
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;
    ~LineReader() {
        m_notifier.reset();
        if (m_fd >= 0 && m_owns)
            ::close(m_fd);
    }
    void keepOpen() { m_owns = false; }
    bool isOpen() const { return m_fd >= 0; }

    // Runs the event loop until done() holds or timeoutMs has passed.
    bool pumpUntil(const std::function<bool()>& done, int timeoutMs) {
        QElapsedTimer t;
        t.start();
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (done() || t.elapsed() >= timeoutMs)
                loop.quit();
        });
        poll.start(2);
        if (!done())
            loop.exec();
        return done();
    }
    void pumpFor(int ms) {
        pumpUntil([] { return false; }, ms);
    }

    QByteArray data;
    std::vector<qint64> byteTimes; // ms since the reader was made, one per byte

    // The complete frames in the data, found the way a receiver resynchronises
    // on the start byte, with the offset each one starts at.
    std::vector<std::pair<qsizetype, Frame>> frames() const {
        std::vector<std::pair<qsizetype, Frame>> found;
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.constData());
        qsizetype pos = 0;
        while (pos + static_cast<qsizetype>(kFrameSize) <= data.size()) {
            const std::span<const std::uint8_t> rest(bytes + pos,
                                                     static_cast<std::size_t>(data.size() - pos));
            if (const auto f = decodeFrame(rest.first(kFrameSize))) {
                found.emplace_back(pos, *f);
                pos += static_cast<qsizetype>(kFrameSize);
            } else {
                pos += static_cast<qsizetype>(resyncOffset(rest));
            }
        }
        return found;
    }
    std::vector<qint64> frameTimes() const {
        std::vector<qint64> times;
        for (const auto& [offset, frame] : frames())
            times.push_back(byteTimes[static_cast<std::size_t>(offset)]);
        return times;
    }

private:
    void readAvailable() {
        char buf[512];
        for (;;) {
            const ssize_t n = ::read(m_fd, buf, sizeof buf);
            if (n > 0) {
                data.append(buf, n);
                byteTimes.insert(byteTimes.end(), static_cast<std::size_t>(n), m_clock.elapsed());
                continue;
            }
            if (n == 0 || errno != EAGAIN) // hung up: nothing more will come
                m_notifier->setEnabled(false);
            return;
        }
    }

    int m_fd = -1;
    bool m_owns = true;
    QElapsedTimer m_clock;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

PtyInstrument::Options steadyOptions(double value, int periodMs, int count) {
    PtyInstrument::Options o;
    o.profile.shape = SignalProfile::Shape::Steady;
    o.profile.base = value;
    o.periodMs = periodMs;
    o.count = count;
    return o;
}

TEST(PtyInstrument, WritesDecodableFramesAndFinishesAfterCount) {
    auto o = steadyOptions(-21.5, 60, 4);
    o.profile.celsius = false;
    o.modeIndex = 1;
    o.locked = true;
    o.logEvery = 2;
    PtyInstrument sim(o);
    QSignalSpy written(&sim, &PtyInstrument::frameWritten);
    QSignalSpy finished(&sim, &PtyInstrument::finished);
    const Result<void, QString> started = sim.start();
    ASSERT_TRUE(started) << started.error().toStdString();
    EXPECT_TRUE(sim.slavePath().startsWith("/dev/pts/"));
    auto reader = LineReader::open(sim.slavePath());
    ASSERT_TRUE(reader.isOpen());

    ASSERT_TRUE(reader.pumpUntil([&] { return finished.count() > 0; }, 2000));
    reader.pumpFor(200); // nothing follows the last frame
    EXPECT_EQ(finished.count(), 1);
    ASSERT_EQ(written.count(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(written.at(i).at(0).toInt(), i + 1);
    EXPECT_EQ(sim.framesWritten(), 4);

    ASSERT_EQ(reader.data.size(), 4 * 14);
    const auto frames = reader.frames();
    ASSERT_EQ(frames.size(), 4u);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const Frame& f = frames[i].second;
        SCOPED_TRACE(i);
        EXPECT_STREQ(modeKeyword(f.modeByte), "MAX");
        EXPECT_EQ(f.emissivityCount, 95);
        EXPECT_EQ(f.temperatureCount, 215);
        EXPECT_TRUE(f.negative());
        EXPECT_FALSE(f.celsius());
        EXPECT_TRUE(f.locked());
        EXPECT_EQ(f.logFrame(), i % 2 == 1);
        EXPECT_EQ(f.logHasValue(), i % 2 == 1);
    }
    EXPECT_EQ(reader.data.mid(10, 4), QByteArray("\xB0\xC0\xD0\xE0"));
}

TEST(PtyInstrument, KeepsThePeriodAndNeverOutrunsTheLine) {
    struct Row {
        const char* name;
        int periodMs;
        int burst;
        bool maxRate;
        std::vector<std::pair<int, int>> gaps; // allowed range of each gap, ms
    };
    // The lower ends are the point: never faster than the line or the period.
    // The upper ends only catch a stalled writer; a loaded machine running the
    // sanitizer build has been seen a hundred milliseconds late.
    const std::pair<int, int> wire{50, 250};
    const Row rows[] = {
        {"period", 150, 1, false, {{130, 340}, {130, 340}, {130, 340}}},
        {"max rate", 500, 1, true, {wire, wire, wire, wire}},
        {"burst", 330, 3, false, {wire, wire, {180, 410}, wire, wire}},
        {"period below the line", 10, 1, false, {wire, wire, wire}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        auto o = steadyOptions(25.0, row.periodMs, static_cast<int>(row.gaps.size()) + 1);
        o.burst = row.burst;
        o.maxRate = row.maxRate;
        PtyInstrument sim(o);
        QSignalSpy finished(&sim, &PtyInstrument::finished);
        ASSERT_TRUE(sim.start());
        auto reader = LineReader::open(sim.slavePath());
        ASSERT_TRUE(reader.pumpUntil([&] { return finished.count() > 0; }, 2500));
        const auto times = reader.frameTimes();
        ASSERT_EQ(times.size(), row.gaps.size() + 1);
        for (std::size_t i = 0; i < row.gaps.size(); ++i) {
            const qint64 gap = times[i + 1] - times[i];
            EXPECT_GE(gap, row.gaps[i].first) << "gap " << i;
            EXPECT_LE(gap, row.gaps[i].second) << "gap " << i;
        }
    }
}

TEST(PtyInstrument, MidFrameStartAndGarbageNeedAResync) {
    auto o = steadyOptions(30.0, 60, 4);
    o.startMidFrame = true;
    o.garbageEvery = 2;
    PtyInstrument sim(o);
    QSignalSpy written(&sim, &PtyInstrument::frameWritten);
    QSignalSpy finished(&sim, &PtyInstrument::finished);
    ASSERT_TRUE(sim.start());
    auto reader = LineReader::open(sim.slavePath());
    ASSERT_TRUE(reader.pumpUntil([&] { return finished.count() > 0; }, 2000));
    EXPECT_EQ(written.count(), 4); // the torn first frame does not count

    const QByteArray& d = reader.data;
    ASSERT_GT(d.size(), 7);
    // The line opens on the tail of a frame: bytes 7..13 of it, tags 0x80..0xE0.
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(static_cast<std::uint8_t>(d[i]) >> 4, 8 + i) << "byte " << i;
    const auto frames = reader.frames();
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[0].first, 7);
    EXPECT_EQ(frames[1].first, 7 + 14);
    EXPECT_GT(frames[2].first, 7 + 28); // stray bytes after frame 2
    EXPECT_EQ(frames[3].first, frames[2].first + 14);
    EXPECT_GT(d.size(), frames[3].first + 14); // and after frame 4
    EXPECT_EQ(d.count('\x10'), 4);             // stray bytes never look like a start
    for (const auto& [offset, f] : frames)
        EXPECT_EQ(f.temperatureCount, 300);
}

TEST(PtyInstrument, ALateReaderGetsTheLineAndStopEndsIt) {
    PtyInstrument sim(steadyOptions(20.0, 60, 0));
    QSignalSpy written(&sim, &PtyInstrument::frameWritten);
    ASSERT_TRUE(sim.start());
    ASSERT_TRUE(written.wait(1000)); // nobody reads yet; writing goes on
    LineReader idle(-1);
    idle.pumpUntil([&] { return written.count() >= 3; }, 1000);
    ASSERT_GE(written.count(), 3);

    auto reader = LineReader::open(sim.slavePath());
    const int before = written.count();
    ASSERT_TRUE(reader.pumpUntil([&] { return written.count() >= before + 3; }, 1500));
    EXPECT_TRUE(sim.isRunning());
    EXPECT_GE(reader.frames().size(), 3u);
    EXPECT_EQ(reader.data.size() % 14, 0);

    sim.stop();
    EXPECT_FALSE(sim.isRunning());
    EXPECT_TRUE(sim.slavePath().isEmpty());
    const int atStop = written.count();
    reader.pumpFor(200);
    EXPECT_EQ(written.count(), atStop);
}

TEST(PtyInstrument, SymlinkFollowsTheTerminalAndIsRemoved) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString link = dir.filePath("orvane-tty");
    ASSERT_EQ(::symlink("/nonexistent/old-tty", QFile::encodeName(link).constData()), 0);

    auto o = steadyOptions(20.0, 60, 2);
    o.linkPath = link;
    {
        PtyInstrument sim(o);
        QSignalSpy finished(&sim, &PtyInstrument::finished);
        const Result<void, QString> started = sim.start();
        ASSERT_TRUE(started) << started.error().toStdString(); // the stale link is replaced
        EXPECT_EQ(QFileInfo(link).symLinkTarget(), sim.slavePath());
        auto reader = LineReader::open(link);
        ASSERT_TRUE(reader.pumpUntil([&] { return finished.count() > 0; }, 2000));
        EXPECT_EQ(reader.frames().size(), 2u);
        sim.stop();
        EXPECT_FALSE(QFileInfo(link).isSymLink());
        EXPECT_FALSE(QFileInfo::exists(link));

        // Destruction removes it too.
        ASSERT_TRUE(sim.start());
        EXPECT_TRUE(QFileInfo(link).isSymLink());
    }
    EXPECT_FALSE(QFileInfo(link).isSymLink());

    // A file that is not a link is never replaced.
    QFile plain(link);
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write("keep");
    plain.close();
    PtyInstrument sim(o);
    const QString error = sim.start().error();
    EXPECT_TRUE(error.contains(link)) << error.toStdString();
    EXPECT_FALSE(sim.isRunning());
    ASSERT_TRUE(plain.open(QIODevice::ReadOnly));
    EXPECT_EQ(plain.readAll(), QByteArray("keep"));
}

TEST(PtyInstrument, DrivesASerialDeviceUntilItGoesAway) {
    int master = -1, slave = -1;
    char name[256] = {};
    ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    ::fcntl(master, F_SETFL, O_NONBLOCK);
    auto reader = std::make_unique<LineReader>(master); // the far end of the cable
    reader->keepOpen();

    auto o = steadyOptions(-5.5, 60, 3);
    o.device = QString::fromLocal8Bit(name);
    PtyInstrument sim(o);
    QSignalSpy finished(&sim, &PtyInstrument::finished);
    QSignalSpy failed(&sim, &PtyInstrument::failed);
    const Result<void, QString> started = sim.start();
    ASSERT_TRUE(started) << started.error().toStdString();
    EXPECT_EQ(sim.slavePath(), o.device);
    ASSERT_TRUE(reader->pumpUntil([&] { return reader->frames().size() >= 3; }, 2000));
    EXPECT_TRUE(reader->pumpUntil([&] { return finished.count() > 0; }, 1500));
    for (const auto& [offset, f] : reader->frames()) {
        EXPECT_EQ(f.temperatureCount, 55);
        EXPECT_TRUE(f.negative());
    }

    // Pulling the cable stops the instrument and says why.
    o.count = 0;
    sim.setOptions(o);
    ASSERT_TRUE(sim.start());
    reader.reset();
    ::close(master);
    EXPECT_TRUE(failed.wait(1500));
    EXPECT_FALSE(sim.isRunning());
    ::close(slave);

    auto bad = steadyOptions(1.0, 500, 0);
    bad.device = "/nonexistent/ttyUSB9";
    sim.setOptions(bad);
    const QString error = sim.start().error();
    EXPECT_TRUE(error.contains("/nonexistent/ttyUSB9")) << error.toStdString();
}

} // namespace
