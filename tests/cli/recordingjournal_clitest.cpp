#include "core/files/valuetext.h"
#include "core/store/journalformat.h"
#include "core/store/samplestore.h"
#include "support/clirun.h"
#include "support/frames.h"
#include "support/ptypair.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>

#include <sys/resource.h>

// orvane-cli's recording journal: record keeps one, recover turns it into a
// data file, and a recording killed at any moment loses no sample it printed.
namespace {

constexpr std::int64_t kJournalStart = 1796637600; // 2026-12-07, one sample a second

// A journal of `values` recorded from kJournalStart on.
QByteArray journalOf(const std::vector<float>& values) {
    std::vector<std::uint8_t> bytes = encodeJournalHeader();
    for (std::size_t i = 0; i < values.size(); ++i) {
        JournalSample s;
        s.value = values[i];
        s.unit = "C";
        s.time = kJournalStart + static_cast<std::int64_t>(i);
        s.timeText = formatTimeText(s.time);
        s.recCount = s.graphCount = static_cast<int>(i + 1);
        appendSampleRecord(bytes, s);
    }
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList asideJournals(const QString& dir) {
    return QDir(dir).entryList({QStringLiteral("recording-*.journal")}, QDir::Files);
}

TEST(OrvaneCliJournal, RecordJournalsAndEmptiesTheJournalOnceTheDataFileHoldsTheRecording) {
    for (const bool csvOnly : {false, true}) {
        PtyPair pty;
        ASSERT_TRUE(pty.isOpen());
        QTemporaryDir dir;
        const QString journal = dir.filePath(QStringLiteral("state/recording.journal"));
        QStringList args{QStringLiteral("record"), QStringLiteral("--device"), pty.slavePath(),
                         QStringLiteral("--journal"), journal};
        args << (csvOnly ? QStringLiteral("--csv") : QStringLiteral("--out"))
             << dir.filePath(csvOnly ? QStringLiteral("run.csv") : QStringLiteral("run.DovDat"));
        CliRun run(args, dir.path());
        ASSERT_TRUE(run.waitRecording()) << run.err().toStdString();
        pty.write(celsiusFrame(201) + celsiusFrame(202));
        ASSERT_TRUE(run.waitSamples(2));
        // Every printed sample is in the journal already.
        const QByteArray bytes = readAll(journal);
        const JournalReading during =
            readJournal(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                  static_cast<std::size_t>(bytes.size())));
        EXPECT_EQ(during.recording.values, (std::vector<float>{20.1f, 20.2f})) << csvOnly;
        run.signal(SIGINT);
        ASSERT_EQ(run.finish(), 0) << run.err().toStdString();
        EXPECT_EQ(readAll(journal).size(), static_cast<qsizetype>(kJournalHeaderSize)) << csvOnly;
        EXPECT_TRUE(asideJournals(dir.filePath(QStringLiteral("state"))).isEmpty());
    }
}

TEST(OrvaneCliJournal, AnUnsavedRecordingIsLeftForRecoverWhichWritesItAndSetsTheJournalAside) {
    PtyPair pty;
    ASSERT_TRUE(pty.isOpen());
    QTemporaryDir dir;
    const QString journal = dir.filePath(QStringLiteral("recording.journal"));
    // Three whole records and the start of a fourth, cut by a crash.
    const QByteArray kept = journalOf({20.1f, 20.2f, 3000.0f}) + QByteArray("\x01\x30", 2);
    ASSERT_TRUE(writeFile(journal, kept));

    CliRun record({QStringLiteral("record"), QStringLiteral("--device"), pty.slavePath(),
                   QStringLiteral("--journal"), journal, QStringLiteral("--count"),
                   QStringLiteral("1"), QStringLiteral("--out"),
                   dir.filePath(QStringLiteral("new.DovDat"))},
                  dir.path());
    ASSERT_TRUE(record.waitRecording()) << record.err().toStdString();
    pty.write(celsiusFrame(250));
    ASSERT_EQ(record.finish(), 0) << record.err().toStdString();
    const QString firstTime = QString::fromStdString(formatTimeText(kJournalStart));
    const QString lastTime = QString::fromStdString(formatTimeText(kJournalStart + 2));
    EXPECT_TRUE(record.err().contains(
        QStringLiteral("an unsaved recording of 3 samples (%1 to %2) was found in %3; "
                       "'orvane-cli recover --journal %3'")
            .arg(firstTime, lastTime, journal)))
        << record.err().toStdString();
    EXPECT_EQ(readAll(journal), kept);

    const QString data = dir.filePath(QStringLiteral("recovered.DovDat"));
    CliRun recover({QStringLiteral("recover"), QStringLiteral("--journal"), journal,
                    QStringLiteral("-o"), data},
                   dir.path());
    ASSERT_EQ(recover.finish(), 0) << recover.err().toStdString();
    const QStringList said = recover.outLines();
    ASSERT_EQ(said.size(), 3) << recover.out().toStdString();
    EXPECT_TRUE(said[0].startsWith(QStringLiteral("Recovered 3 samples (%1 to %2) into %3 and ")
                                       .arg(firstTime, lastTime, data)))
        << said[0].toStdString();
    EXPECT_TRUE(said[1].contains(QStringLiteral("damaged end (2 bytes)")));
    const DovDatDecoded decoded = decodeDataFile(data);
    ASSERT_TRUE(decoded) << decoded.error;
    EXPECT_EQ(decoded.contents->values, (std::vector<float>{20.1f, 20.2f, 3000.0f}));
    EXPECT_EQ(decoded.contents->times[2], lastTime.toStdString());
    const QString textName = said[0].section(QStringLiteral(" and "), 1).chopped(1);
    EXPECT_EQ(readAll(textName).count("\r\n"), 4) << textName.toStdString();

    // The journal keeps its bytes under a dated name; a new one is empty.
    const QStringList aside = asideJournals(dir.path());
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(said[2], QStringLiteral("The journal was set aside as ") + dir.filePath(aside[0]) +
                           QLatin1Char('.'));
    EXPECT_EQ(readAll(dir.filePath(aside[0])), kept);
    CliRun again({QStringLiteral("recover"), QStringLiteral("--journal"), journal}, dir.path());
    EXPECT_EQ(again.finish(), 1);
    EXPECT_TRUE(again.err().contains(QStringLiteral("holds no samples")));
}

TEST(OrvaneCliJournal, AJournalHeldOrUnusableLeavesTheRecordingInMemoryAndRecoverRefuses) {
    PtyPair first;
    PtyPair second;
    ASSERT_TRUE(first.isOpen() && second.isOpen());
    QTemporaryDir dir;
    const QString journal = dir.filePath(QStringLiteral("recording.journal"));
    CliRun holder({QStringLiteral("record"), QStringLiteral("--device"), first.slavePath(),
                   QStringLiteral("--journal"), journal, QStringLiteral("--count"),
                   QStringLiteral("1"), QStringLiteral("--out"),
                   dir.filePath(QStringLiteral("a.DovDat"))},
                  dir.path());
    ASSERT_TRUE(holder.waitRecording()) << holder.err().toStdString();

    CliRun recover({QStringLiteral("recover"), QStringLiteral("--journal"), journal}, dir.path());
    EXPECT_EQ(recover.finish(), 1);
    EXPECT_TRUE(recover.err().contains(QStringLiteral("in use by another process")))
        << recover.err().toStdString();

    // Held elsewhere, or not a place a file can be: either way it records.
    const QString notAFolder = dir.filePath(QStringLiteral("a.txt/recording.journal"));
    ASSERT_TRUE(writeFile(dir.filePath(QStringLiteral("a.txt")), "x"));
    for (const QString& path : {journal, notAFolder}) {
        QFile::remove(dir.filePath(QStringLiteral("b.DovDat")));
        CliRun other({QStringLiteral("record"), QStringLiteral("--device"), second.slavePath(),
                      QStringLiteral("--journal"), path, QStringLiteral("--count"),
                      QStringLiteral("1"), QStringLiteral("--out"),
                      dir.filePath(QStringLiteral("b.DovDat"))},
                     dir.path());
        ASSERT_TRUE(other.waitRecording()) << other.err().toStdString();
        EXPECT_TRUE(other.err().contains(path == journal ? QStringLiteral("is in use")
                                                         : QStringLiteral("Not a directory")))
            << other.err().toStdString();
        second.write(celsiusFrame(300));
        EXPECT_EQ(other.finish(), 0) << other.err().toStdString();
        EXPECT_EQ(dataFileValues(dir.filePath(QStringLiteral("b.DovDat"))),
                  std::vector<float>{30.0f});
    }
    first.write(celsiusFrame(100));
    EXPECT_EQ(holder.finish(), 0) << holder.err().toStdString();

    CliRun none({QStringLiteral("recover"), QStringLiteral("--journal"),
                 dir.filePath(QStringLiteral("none.journal"))},
                dir.path());
    EXPECT_EQ(none.finish(), 1);
    EXPECT_TRUE(none.err().contains(QStringLiteral("nothing to recover")));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("none.journal"))));
}

TEST(OrvaneCliJournal, AJournalThatStopsTakingRecordsIsReportedOnceAndTheRecordingGoesOn) {
    PtyPair pty;
    ASSERT_TRUE(pty.isOpen());
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("run.csv"));
    // Files may not grow past 1200 bytes: the journal (12 + 55 bytes a
    // sample) fills after 21 samples, the CSV file (about 40 a sample) does not.
    CliRun::Options options{dir.path(), {}, [] {
                                const rlimit limit{1200, 1200};
                                ::setrlimit(RLIMIT_FSIZE, &limit);
                                ::signal(SIGXFSZ, SIG_IGN);
                            }};
    CliRun run({QStringLiteral("record"), QStringLiteral("--device"), pty.slavePath(),
                QStringLiteral("--journal"), dir.filePath(QStringLiteral("recording.journal")),
                QStringLiteral("--csv"), csv, QStringLiteral("--count"), QStringLiteral("25")},
               options);
    ASSERT_TRUE(run.waitRecording()) << run.err().toStdString();
    for (int i = 0; i < 25; ++i)
        pty.write(celsiusFrame(200 + i));
    ASSERT_EQ(run.finish(), 0) << run.err().toStdString();
    EXPECT_EQ(run.outLines().size(), 25);
    EXPECT_EQ(run.err().count(QStringLiteral("Cannot write the recording journal")), 1)
        << run.err().toStdString();
    EXPECT_TRUE(run.err().contains(QStringLiteral("File too large; the recording goes on")));
    EXPECT_EQ(readAll(csv).count("\r\n"), 26);
}

// ---- a recording killed at random moments

// Writes a Celsius frame every 58.3 ms (14 bytes at 2400 baud), counting up
// from `first`, until stopped.
class LineRateWriter {
public:
    LineRateWriter(PtyPair& pty, int first) : m_pty(pty), m_first(first) {
        m_thread = std::thread([this] { run(); });
    }
    ~LineRateWriter() { stop(); }
    LineRateWriter(const LineRateWriter&) = delete;
    LineRateWriter& operator=(const LineRateWriter&) = delete;
    void stop() {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    int sent() const { return m_sent; }

private:
    void run() {
        using namespace std::chrono;
        auto next = steady_clock::now();
        while (!m_stop) {
            if (!m_pty.write(celsiusFrame(m_first + m_sent)))
                return;
            ++m_sent;
            next += microseconds(58333);
            std::this_thread::sleep_until(next);
        }
    }

    PtyPair& m_pty;
    const int m_first;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_sent{0};
    std::thread m_thread;
};

// "2026-12-07T14:03:51+01:00" as a data file's time text, "12-07-26/14:03:51".
std::string timeTextOfIso(const QString& iso) {
    const std::string s = iso.toStdString();
    if (s.size() < 19)
        return s;
    return s.substr(5, 2) + "-" + s.substr(8, 2) + "-" + s.substr(2, 2) + "/" + s.substr(11, 8);
}

int killCycles() {
    const char* asked = std::getenv("ORVANE_KILL_CYCLES");
    const int n = asked ? std::atoi(asked) : 0;
    return n > 0 ? n : 5;
}

TEST(OrvaneCliJournal, EverySamplePrintedBeforeAKillIsRecovered) {
    const int cycles = killCycles();
    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delayUs(0, 2'000'000);
    QTemporaryDir dir;
    const QString journal = dir.filePath(QStringLiteral("recording.journal"));
    int checked = 0;
    int extra = 0; // journalled, not yet printed when killed
    int recovered = 0;
    for (int cycle = 0; cycle < cycles; ++cycle) {
        SCOPED_TRACE(cycle);
        PtyPair pty;
        ASSERT_TRUE(pty.isOpen());
        const int first = 200 + (cycle * 37) % 1500;
        CliRun record({QStringLiteral("record"), QStringLiteral("--device"), pty.slavePath(),
                       QStringLiteral("--journal"), journal},
                      dir.path());
        ASSERT_TRUE(record.waitRecording()) << record.err().toStdString();
        LineRateWriter writer(pty, first);
        // What it prints waits in the pipe for finish().
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
        record.signal(SIGKILL);
        ASSERT_EQ(record.finish(), -2) << record.err().toStdString();
        writer.stop();
        const QStringList printed = record.outLines();

        const QString data = dir.filePath(QStringLiteral("cycle%1.DovDat").arg(cycle));
        CliRun recover({QStringLiteral("recover"), QStringLiteral("--journal"), journal,
                        QStringLiteral("-o"), data},
                       dir.path());
        const int status = recover.finish();
        if (status == 1 && recover.err().contains(QStringLiteral("holds no samples"))) {
            // Killed before the first commit: nothing was printed either.
            EXPECT_TRUE(printed.isEmpty()) << printed.size() << " samples printed, none kept";
            continue;
        }
        ASSERT_EQ(status, 0) << recover.err().toStdString();
        const DovDatDecoded decoded = decodeDataFile(data);
        ASSERT_TRUE(decoded) << decoded.error;
        const DovDatContents& c = *decoded.contents;
        ASSERT_GE(c.count(), printed.size()) << "printed samples lost";
        ASSERT_LE(c.count(), writer.sent()) << "samples that were never sent";
        for (int i = 0; i < c.count(); ++i) {
            const auto at = static_cast<std::size_t>(i);
            const int count = first + i;
            const std::string sent = std::to_string(count / 10) + "." + std::to_string(count % 10);
            ASSERT_EQ(valueText(c.values[at]), sent) << "sample " << i + 1;
            ASSERT_EQ(c.units[at], "C");
            if (i >= printed.size()) {
                ++extra;
                continue;
            }
            // "N value unit time", as the recording printed it.
            const QStringList fields = printed[i].split(QLatin1Char(' '));
            ASSERT_EQ(fields.size(), 4) << printed[i].toStdString();
            EXPECT_EQ(fields[0].toInt(), i + 1);
            EXPECT_EQ(fields[1].toStdString(), sent);
            EXPECT_EQ(fields[2].toStdString(), c.units[at]);
            EXPECT_EQ(timeTextOfIso(fields[3]), c.times[at]);
            ++checked;
        }
        EXPECT_EQ(asideJournals(dir.path()).size(), ++recovered) << "recovered journals are kept";
    }
    std::printf("kill cycles: %d (seed %u), recovered: %d, printed samples checked: %d, "
                "journalled but not yet printed: %d\n",
                cycles, seed, recovered, checked, extra);
    RecordProperty("samples_checked", checked);
}

} // namespace
