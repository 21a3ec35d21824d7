// Faults from outside the program, played against the real main window: the
// line goes away in interval mode, the device refuses a user without
// permission, the line carries noise or frames at the highest rate, the
// configuration file is damaged or cannot be written, a folder refuses a Save,
// and data files are damaged. Each test checks that nothing recorded is lost
// and that nothing hangs.
#include "core/config/configuration.h"
#include "core/files/datafilereader.h"
#include "core/files/dovdatcodec.h"
#include "sim/ptyinstrument.h"
#include "support/frames.h"
#include "support/windowrig.h"
#include "ui/files/documentfiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <random>
#include <set>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

int envSeconds(const char* name, int def) {
    const char* text = std::getenv(name);
    const int v = text ? std::atoi(text) : 0;
    return v > 0 ? v : def;
}

// Runs the enclosed steps as the unprivileged user "nobody" when the tests run
// as root, for whom file and device permissions do not apply. Everything the
// steps reach must be open to that user.
class Unprivileged {
public:
    Unprivileged() {
        if (::geteuid() != 0)
            return;
        const passwd* pw = ::getpwnam("nobody");
        const uid_t uid = pw ? pw->pw_uid : 65534;
        const gid_t gid = pw ? pw->pw_gid : 65534;
        m_bActive = ::setegid(gid) == 0 && ::seteuid(uid) == 0;
    }
    ~Unprivileged() {
        if (m_bActive) {
            EXPECT_EQ(::seteuid(0), 0);
            EXPECT_EQ(::setegid(0), 0);
        }
    }
    Unprivileged(const Unprivileged&) = delete;
    Unprivileged& operator=(const Unprivileged&) = delete;
    bool ok() const { return ::geteuid() != 0; }

private:
    bool m_bActive = false;
};

// Measures the longest time the event loop went without turning.
class StallWatch {
public:
    StallWatch() {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer,
                         [this] { m_nLongestMs = std::max(m_nLongestMs, m_clock.restart()); });
        m_clock.start();
        m_timer.start();
    }
    qint64 longestMs() const { return m_nLongestMs; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_nLongestMs = 0;
};

TEST(LinkFaults, AHangUpInIntervalModeKeepsEveryReadingAndIdles) {
    WindowRig rig({.pty = true});
    PtyPair& pty = *rig.pty;
    rig.showAndPaint();
    const Acquisition& acq = rig.acq();
    rig.rec().selectSampleRate(1);
    rig.rec().overrideIntervalMs(300); // a short interval keeps the test quick
    ASSERT_EQ(rig.rec().commitTimerMs(), 300);
    ASSERT_TRUE(rig.connect());

    // Two intervals with readings, then one more reading and the line drops
    // before its interval ends.
    for (int c : {110, 120}) {
        const int before = rig.rows();
        pty.write(celsiusFrame(c));
        ASSERT_TRUE(QTest::qWaitFor([&] { return rig.rows() == before + 1; }, 2000)) << c;
    }
    pty.write(celsiusFrame(130));
    ASSERT_TRUE(QTest::qWaitFor([&] { return acq.panel().m_strValue == "13.0"; }, 2000));
    pty.hangUp();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.frame->line().isOpen(); }, 1000));
    EXPECT_NE(rig.frame->line().state(), LineState::Online);
    EXPECT_TRUE(rig.messages.isEmpty());

    // The reading that waited for its interval is committed all the same.
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.rows() == 3; }, 1000));
    EXPECT_EQ(rig.cell(2, 1), "13.0");
    rig.expectListMatchesStore();

    const double before = cpuSeconds();
    QTest::qWait(1000); // three more intervals: nothing new, nothing spinning
    EXPECT_LT(cpuSeconds() - before, 0.25);
    EXPECT_EQ(rig.rows(), 3);
    EXPECT_EQ(acq.store().recCount(), 3);
}

TEST(LinkFaults, ADeviceWithoutPermissionIsReportedAndCanBeRetried) {
    WindowRig rig({.pty = true});
    PtyPair& pty = *rig.pty;
    const QByteArray slave = QFile::encodeName(pty.slavePath());
    ASSERT_EQ(::chmod(slave.constData(), 0), 0);
    {
        Unprivileged user;
        ASSERT_TRUE(user.ok()) << "cannot run as an unprivileged user";
        rig.frame->OnOnOff();
    }
    EXPECT_NE(rig.frame->line().state(), LineState::Online);
    EXPECT_FALSE(rig.frame->line().isOpen());
    ASSERT_EQ(rig.messages.size(), 1);
    EXPECT_TRUE(rig.messages[0].contains(pty.slavePath())) << rig.messages[0].toStdString();
    EXPECT_TRUE(rig.messages[0].contains("ermission")) << rig.messages[0].toStdString();
    EXPECT_TRUE(rig.messages[0].contains("sudo usermod -aG dialout "))
        << rig.messages[0].toStdString();

    // Once the user may open it, On/Off connects and readings arrive.
    ASSERT_TRUE(rig.connect());
    pty.write(celsiusFrame(215));
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.rows() == 1; }, 2000));
    EXPECT_EQ(rig.cell(0, 1), "21.5");
}

// Random bytes at the line's pace. Rows may only come from a 0x10 in the stream
// and must read as the frame that starts there would; the window keeps turning.
// ORVANE_RANDOM_LINE_SECONDS sets the duration (a few seconds by default).
TEST(LinkFaults, RandomBytesOnTheLineMakeRowsOnlyFromFrameStarts) {
    const int seconds = envSeconds("ORVANE_RANDOM_LINE_SECONDS", 3);
    WindowRig rig({.pty = true});
    PtyPair& pty = *rig.pty;
    rig.showAndPaint();
    ASSERT_TRUE(rig.connect());

    std::mt19937 random(20240607u);
    std::uniform_int_distribution<int> byte(0, 255);
    QByteArray sent;
    StallWatch watch;
    QElapsedTimer clock;
    clock.start();
    // 12 bytes every 50 ms: 240 bytes a second, the line's rate.
    QTimer pace;
    pace.setTimerType(Qt::PreciseTimer);
    QObject::connect(&pace, &QTimer::timeout, &pace, [&] {
        QByteArray chunk;
        for (int i = 0; i < 12; ++i)
            chunk.append(static_cast<char>(byte(random)));
        sent.append(chunk);
        pty.write(chunk);
    });
    pace.start(50);
    QTest::qWait(seconds * 1000);
    pace.stop();
    QTest::qWait(200);
    const double cpu = cpuSeconds();

    // What a frame starting at each 0x10 of the stream would be listed as.
    std::set<std::string> possible;
    int starts = 0;
    for (qsizetype i = 0; i + 14 <= sent.size(); ++i) {
        if (static_cast<std::uint8_t>(sent[i]) != kFrameStart)
            continue;
        ++starts;
        Acquisition probe;
        const auto* p = reinterpret_cast<const std::uint8_t*>(sent.constData() + i);
        const BlockOutcome out = probe.onBlock(std::span(p, kFrameSize), 0);
        for (const ListRow& row : out.rows)
            possible.insert(row.value);
    }
    EXPECT_LE(rig.rows(), starts);
    for (int r = 0; r < rig.rows(); ++r)
        EXPECT_TRUE(possible.count(rig.cell(r, 1).toStdString()))
            << "row " << r + 1 << ": " << rig.cell(r, 1).toStdString();
    rig.expectListMatchesStore();
    EXPECT_TRUE(rig.frame->line().isOpen());
    EXPECT_LT(watch.longestMs(), 500);
    std::printf("random line: %d s, %lld bytes, %d frame starts, %d rows, longest stall %lld ms, "
                "CPU %.2f s\n",
                seconds, static_cast<long long>(sent.size()), starts, rig.rows(), watch.longestMs(),
                cpu);
}

// Frames back to back at 2400 baud, alone or in bursts with stray bytes between
// them: every frame is listed, in order.
TEST(LinkFaults, FramesAtTheHighestRateAreAllListed) {
    struct Case {
        const char* name;
        bool maxRate;
        int burst;
        int periodMs;
        int garbageEvery;
        int count;
    };
    for (const Case& c :
         {Case{"back to back", true, 1, 0, 0, 60}, Case{"bursts of 8", false, 8, 700, 0, 32},
          Case{"bursts with stray bytes", false, 6, 600, 2, 24}}) {
        PtyInstrument::Options o;
        o.profile.shape = SignalProfile::Shape::Ramp;
        o.profile.base = 20.0;
        o.profile.span = 400.0;
        o.profile.periodFrames = 1000; // 0.4 degrees a frame: every row differs
        o.maxRate = c.maxRate;
        o.burst = c.burst;
        o.periodMs = c.periodMs;
        o.garbageEvery = c.garbageEvery;
        o.count = c.count;
        // The window opens the instrument's terminal through a link made when
        // it starts.
        QTemporaryDir linkDir;
        o.linkPath = linkDir.filePath(QStringLiteral("tty"));
        WindowRig rig({.device = o.linkPath});
        rig.showAndPaint();
        // The instrument writes from the event loop, so nothing leaves before
        // the port is open.
        PtyInstrument sim(o);
        const Result<void, QString> started = sim.start();
        ASSERT_TRUE(started) << started.error().toStdString();
        ASSERT_TRUE(rig.connect());
        QSignalSpy finished(&sim, &PtyInstrument::finished);
        StallWatch watch;
        ASSERT_TRUE(finished.wait(c.count * 200 + 5000)) << c.name;
        QTest::qWait(100);
        ASSERT_EQ(rig.rows(), c.count) << c.name;
        for (int r = 1; r < rig.rows(); ++r)
            EXPECT_GT(rig.cell(r, 1).toDouble(), rig.cell(r - 1, 1).toDouble())
                << c.name << " row " << r;
        rig.expectListMatchesStore();
        EXPECT_TRUE(rig.messages.isEmpty()) << rig.messages.join('\n').toStdString();
        EXPECT_LT(watch.longestMs(), 500) << c.name;
    }
}

// The start-up values a configuration file gave, or the defaults.
struct Settings {
    int comPort;
    int alarmHigh;
    int alarmLow;
};

void expectStartsWith(const QString& what, const QString& configPath, Settings expected) {
    SCOPED_TRACE(what.toStdString());
    QElapsedTimer clock;
    clock.start();
    WindowRig rig({.pty = true, .configPath = configPath});
    PtyPair& pty = *rig.pty;
    EXPECT_LT(clock.elapsed(), 5000);
    rig.showAndPaint();
    EXPECT_EQ(rig.frame->line().port(), expected.comPort);
    // A reversed pair may be put in order; the two limits are kept.
    EXPECT_EQ(std::minmax(rig.rec().alarmLimits().high, rig.rec().alarmLimits().low),
              std::minmax(expected.alarmHigh, expected.alarmLow));
    // The window works: it connects and lists a reading.
    ASSERT_TRUE(rig.connect());
    pty.write(celsiusFrame(321));
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.rows() == 1; }, 2000));
    (void)rig.frame->grab();
}

TEST(ConfigurationFaults, ADamagedFileStartsTheWindowWithDefaultsOrWhatItSays) {
    const Settings defaults{Configuration::kDefaultComPort, Configuration::kDefaultAlarmHigh,
                            Configuration::kDefaultAlarmLow};
    QTemporaryDir dir;
    const QString path = dir.path() + "/loggerconfig.ini";
    const auto put = [&](const QByteArray& bytes) {
        QFile::remove(path);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };

    put("\x7f"
        "ELF garbage [[[ ]]] ==\n[COMInfo\nCOM num = banana\n[SAMPRATEInfo]\nSAMPRATE=999\n"
        "[ALARMHIInfo]\nALARMHI=99999999999999999999\n[ALARMLOInfo]\nALARMLO=-99999999999999999\n"
        "[COMDevices]\nCOM0=\n");
    expectStartsWith("garbage text", path, Settings{0, INT_MAX, INT_MIN});

    put("[COMInfo]\nCOM num=-7\n[ALARMHIInfo]\nALARMHI=-100\n[ALARMLOInfo]\nALARMLO=900\n");
    expectStartsWith("odd values", path, Settings{-7, -100, 900});

    std::mt19937 random(7);
    QByteArray binary;
    for (int i = 0; i < 8192; ++i)
        binary.append(static_cast<char>(random() & 0xFF));
    put(binary);
    expectStartsWith("binary", path, defaults);

    QByteArray huge;
    while (huge.size() <= static_cast<qsizetype>(ProfileFile::kMaxFileSize))
        huge.append("[COMInfo]\nCOM num=9\n; padding padding padding padding padding\n");
    put(huge);
    expectStartsWith("huge", path, defaults);

    QFile::remove(path);
    ASSERT_TRUE(QDir().mkdir(path));
    expectStartsWith("a folder", path, defaults);
    ASSERT_TRUE(QDir().rmdir(path));

    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    expectStartsWith("a pipe nobody writes to", path, defaults);
    QFile::remove(path);

    put("[COMInfo]\nCOM num=9\n");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0), 0);
    {
        Unprivileged user;
        ASSERT_TRUE(user.ok()) << "cannot run as an unprivileged user";
        Configuration unreadable{path.toStdString()};
        EXPECT_EQ(unreadable.comPort(), Configuration::kDefaultComPort);
    }
}

TEST(ConfigurationFaults, AHugeFileIsLeftAloneAtCloseAndTheUserIsTold) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/loggerconfig.ini";
    QByteArray huge(static_cast<qsizetype>(ProfileFile::kMaxFileSize) + 100, ';');
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(huge);
    }
    WindowRig rig({.configPath = path});
    rig.record({11, 22});
    EXPECT_TRUE(rig.frame->confirmClose());
    ASSERT_EQ(rig.messages.size(), 2) << rig.messages.join('\n').toStdString();
    EXPECT_TRUE(rig.messages[0].contains("The settings could not be kept."))
        << rig.messages[0].toStdString();
    EXPECT_TRUE(rig.messages[0].contains(path)) << rig.messages[0].toStdString();
    EXPECT_EQ(rig.messages[1], "Do you want to save? ");
    EXPECT_EQ(QFileInfo(path).size(), huge.size());
}

// The close sequence still offers the recording for saving, and saves it, when
// the settings cannot be written: their folder is a file, or a folder the user
// may not write to.
TEST(ConfigurationFaults, AnUnwritableConfigurationFolderLosesNoRecording) {
    QTemporaryDir dir;
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
    {
        QFile blocker(dir.path() + "/not-a-folder");
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    const QString readOnly = dir.path() + "/read-only";
    ASSERT_TRUE(QDir().mkdir(readOnly));
    ASSERT_EQ(::chmod(QFile::encodeName(readOnly).constData(), 0555), 0);

    for (const QString& configPath :
         {dir.path() + "/not-a-folder/loggerconfig.ini", readOnly + "/loggerconfig.ini"}) {
        SCOPED_TRACE(configPath.toStdString());
        WindowRig rig({.answerYes = true, .configPath = configPath});
        ASSERT_EQ(::chmod(QFile::encodeName(rig.dir.path()).constData(), 0777), 0);
        rig.record({101, 102, 103});
        const QString saved = rig.path("kept.DovDat");
        rig.prompter->m_savePaths << saved;
        bool closed = false;
        {
            Unprivileged user;
            ASSERT_TRUE(user.ok()) << "cannot run as an unprivileged user";
            closed = rig.frame->confirmClose();
        }
        EXPECT_TRUE(closed);
        ASSERT_EQ(rig.messages.size(), 2) << rig.messages.join('\n').toStdString();
        EXPECT_TRUE(rig.messages[0].startsWith("The settings could not be kept."))
            << rig.messages[0].toStdString();
        EXPECT_TRUE(rig.messages[0].contains("loggerconfig.ini")) << rig.messages[0].toStdString();
        EXPECT_EQ(rig.messages[1], "Do you want to save? ");
        EXPECT_EQ(QFileInfo(saved).size(), 4 + 24 * 3);
        EXPECT_FALSE(QFileInfo::exists(configPath));
    }
}

TEST(SaveFaults, AReadOnlyFolderRefusesTheSaveAndKeepsTheRecording) {
    WindowRig rig({.answerYes = true});
    ASSERT_EQ(::chmod(QFile::encodeName(rig.dir.path()).constData(), 0755), 0);
    const QString folder = rig.path("read-only");
    ASSERT_TRUE(QDir().mkdir(folder));
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0555), 0);
    rig.record({10, 20, 30});
    rig.prompter->m_savePaths << folder + "/run.DovDat";
    bool saved = true;
    {
        Unprivileged user;
        ASSERT_TRUE(user.ok()) << "cannot run as an unprivileged user";
        saved = rig.frame->saveRecording();
    }
    EXPECT_FALSE(saved);
    ASSERT_EQ(rig.messages.size(), 1);
    EXPECT_TRUE(rig.messages[0].contains(folder + "/run.DovDat")) << rig.messages[0].toStdString();
    EXPECT_TRUE(rig.messages[0].contains("ermission")) << rig.messages[0].toStdString();
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_EQ(rig.acq().store().recCount(), 3);
    EXPECT_TRUE(rig.acq().unsaved());

    // Another folder takes it.
    rig.prompter->m_savePaths << rig.path("run.DovDat");
    EXPECT_TRUE(rig.frame->saveRecording());
    EXPECT_EQ(QFileInfo(rig.path("run.DovDat")).size(), 4 + 24 * 3);
}

// Damaged data files through Open: each is refused with its name, and the graph,
// the list and the recording stay as they were.
TEST(OpenFaults, DamagedDataFilesAreRefusedAndChangeNothing) {
    WindowRig rig;
    rig.showAndPaint();
    rig.record({11, 22, 33, 44});
    rig.rec().markSaved();
    const QString path = rig.path("damaged.DovDat");
    const auto put = [&](const QByteArray& bytes) {
        QFile::remove(path);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    const auto expectRefused = [&](const std::string& what) {
        rig.messages.clear();
        rig.prompter->m_openPaths << path;
        EXPECT_FALSE(rig.frame->files().open()) << what;
        ASSERT_EQ(rig.messages.size(), 1) << what;
        EXPECT_TRUE(rig.messages[0].contains(path)) << what;
        EXPECT_EQ(rig.acq().store().graphCount(), 4) << what;
        EXPECT_EQ(rig.acq().store().recCount(), 4) << what;
        EXPECT_EQ(rig.acq().showing(), Showing::Recording) << what;
        EXPECT_EQ(rig.rows(), 4) << what;
    };

    const std::vector<std::string> units{"C", "C", "F"};
    const std::vector<std::string> times{"12-06-26/09:37:51", "12-06-26/09:37:52",
                                         "12-06-26/09:37:53"};
    const std::vector<float> values{25.3f, -3.5f, 3000.0f};
    const std::vector<std::uint8_t> good = *encodeDovDat(values, units, times);
    const QByteArray whole(reinterpret_cast<const char*>(good.data()),
                           static_cast<qsizetype>(good.size()));
    for (qsizetype n = 0; n < whole.size(); ++n) {
        put(whole.left(n));
        expectRefused("truncated to " + std::to_string(n) + " bytes");
    }
    put(whole + '\0');
    expectRefused("one byte too many");
    QByteArray tooMany = whole;
    tooMany[0] = static_cast<char>(0xA1); // 4001 samples
    tooMany[1] = 0x0F;
    put(tooMany);
    expectRefused("4001 samples");
    put(QByteArray(static_cast<qsizetype>(kDataFileMaxSize) + 1, '\0'));
    expectRefused("oversized");

    std::mt19937 random(99);
    for (int i = 0; i < 50; ++i) {
        QByteArray noise;
        const int size = static_cast<int>(random() % 200);
        for (int b = 0; b < size; ++b)
            noise.append(static_cast<char>(random() & 0xFF));
        if (size > 4 && i % 2 == 0)
            noise[0] = noise[1] = noise[2] = noise[3] = 0; // 0 samples and trailing bytes
        put(noise);
        expectRefused("random file " + std::to_string(i));
    }

    QFile::remove(path);
    ASSERT_TRUE(QDir().mkdir(path));
    expectRefused("a folder");
    ASSERT_TRUE(QDir().rmdir(path));

    // The intact file opens afterwards.
    put(whole);
    rig.prompter->m_openPaths << path;
    EXPECT_TRUE(rig.frame->files().open());
    EXPECT_EQ(rig.acq().store().graphCount(), 3);
    EXPECT_EQ(rig.rows(), 3);
    (void)rig.frame->grab();
}

// A named pipe chosen in the Open dialog: the window must not wait for a writer.
TEST(OpenFaults, APipeIsRefusedWithoutWaiting) {
    WindowRig rig;
    rig.record({11, 22});
    rig.rec().markSaved();
    const QString path = rig.path("pipe.DovDat");
    const QByteArray name = QFile::encodeName(path);
    ASSERT_EQ(::mkfifo(name.constData(), 0600), 0);
    // Should Open wait for a writer, one comes after three seconds, so that the
    // test fails rather than hangs.
    std::atomic<bool> done{false};
    std::atomic<bool> rescued{false};
    std::thread rescuer([&] {
        for (int i = 0; i < 300 && !done; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (done)
            return;
        rescued = true;
        const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
    });
    rig.prompter->m_openPaths << path;
    QElapsedTimer clock;
    clock.start();
    const bool opened = rig.frame->files().open();
    done = true;
    rescuer.join();
    EXPECT_FALSE(rescued) << "Open waited " << clock.elapsed() << " ms for a writer";
    EXPECT_FALSE(opened);
    ASSERT_EQ(rig.messages.size(), 1);
    EXPECT_TRUE(rig.messages[0].contains(path)) << rig.messages[0].toStdString();
    EXPECT_EQ(rig.rows(), 2);
}

} // namespace
