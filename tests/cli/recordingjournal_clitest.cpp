#include "core/journal/journalformat.h"
#include "core/store/samplestore.h"
#include "core/text/valuetext.h"
#include "support/clirun.h"
#include "support/frames.h"
#include "support/journalfile.h"
#include "support/ptypair.h"
#include "support/readonlyfolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

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

QStringList asideJournals(const QString& dir) {
    // Dated names; recording-2.journal is the journal of a second run.
    return QDir(dir).entryList({QStringLiteral("recording-[0-9]*-*.journal")}, QDir::Files);
}

QStringList recordArgs(const PtyPair& pty, const QString& journal, const QStringList& more) {
    return QStringList{QStringLiteral("record"), QStringLiteral("--device"), pty.slavePath(),
                       QStringLiteral("--journal"), journal} +
           more;
}

TEST(OrvaneCliJournal, AnUnsavedRecordingIsLeftForRecoverWhichWritesItAndSetsTheJournalAside) {
    PtyPair pty;
    ASSERT_TRUE(pty.isOpen());
    QTemporaryDir dir;
    const QString journal = dir.filePath(QStringLiteral("recording.journal"));
    // Three samples, and the start of a fourth record cut by a crash.
    std::vector<std::uint8_t> bytes = journalOf({20.1f, 21.1f, 22.1f});
    bytes.insert(bytes.end(), {0x01, 0x30});
    const QByteArray kept = writeJournalFile(journal, bytes);
    ASSERT_FALSE(kept.isEmpty());

    CliRun record(recordArgs(pty, journal, {"--count", "1", "--out", dir.filePath("new.DovDat")}),
                  dir.path());
    ASSERT_TRUE(record.waitRecording()) << record.err().toStdString();
    pty.write(celsiusFrame(250));
    ASSERT_EQ(record.finish(), 0) << record.err().toStdString();
    const QString firstTime = QString::fromStdString(formatTimeText(1796637600));
    const QString lastTime = QString::fromStdString(formatTimeText(1796637602));
    EXPECT_TRUE(record.err().contains(
        QStringLiteral("an unsaved recording of 3 samples (%1 to %2) was found in %3; "
                       "'orvane-cli recover --journal %3'")
            .arg(firstTime, lastTime, journal)))
        << record.err().toStdString();
    EXPECT_EQ(readAll(journal), kept);

    const QString data = dir.filePath(QStringLiteral("recovered.DovDat"));
    CliRun recover({"recover", "--journal", journal, "-o", data}, dir.path());
    ASSERT_EQ(recover.finish(), 0) << recover.err().toStdString();
    const QStringList said = recover.outLines();
    ASSERT_EQ(said.size(), 3) << recover.out().toStdString();
    EXPECT_TRUE(said[0].startsWith(QStringLiteral("Recovered 3 samples (%1 to %2) into %3 and ")
                                       .arg(firstTime, lastTime, data)))
        << said[0].toStdString();
    EXPECT_TRUE(
        said[1].startsWith(QStringLiteral("The journal is damaged: 2 bytes of it were left out")))
        << said[1].toStdString();
    const Result<DovDatContents> decoded = decodeDataFile(data);
    ASSERT_TRUE(decoded) << decoded.error();
    EXPECT_EQ(decoded->values, (std::vector<float>{20.1f, 21.1f, 22.1f}));
    EXPECT_EQ(decoded->times[2], lastTime.toStdString());
    EXPECT_EQ(readAll(said[0].section(QStringLiteral(" and "), 1).chopped(1)).count("\r\n"), 4);

    // The journal keeps its bytes under a dated name; the new one is empty.
    const QStringList aside = asideJournals(dir.path());
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(said[2], "The journal was set aside as " + dir.filePath(aside[0]) + '.');
    EXPECT_EQ(readAll(dir.filePath(aside[0])), kept);
    CliRun again({"recover", "--journal", journal}, dir.path());
    EXPECT_EQ(again.finish(), 1);
    EXPECT_TRUE(again.err().contains(QStringLiteral("nothing to recover")));
}

// A journal on a disk the kernel made read-only (for root a read-only bind
// mount, for a user read-only permissions), damaged in its middle: recover
// writes every whole sample and leaves the journal as it is.
TEST(OrvaneCliJournal, AJournalOnAReadOnlyDiskIsRecoveredAndLeftAsItIs) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("state"));
    const QString out = dir.filePath(QStringLiteral("out"));
    ASSERT_TRUE(QDir().mkdir(folder) && QDir().mkdir(out));
    const QString journal = folder + QStringLiteral("/recording.journal");
    std::vector<std::uint8_t> bytes = journalOf({20.0f, 21.0f, 22.0f, 23.0f});
    bytes[kJournalHeaderSize + 60] ^= 0x01; // in the second sample
    const QByteArray kept = writeJournalFile(journal, bytes);
    ASSERT_FALSE(kept.isEmpty());
    ::chmod(qPrintable(journal), 0444);
    ::chmod(qPrintable(folder), 0555);
    ::chmod(qPrintable(dir.path()), 0755);
    ::chmod(qPrintable(out), 0777);

    const QByteArray where = QFile::encodeName(folder);
    CliRun::Options options{out, out, [where] {
                                if (::geteuid() == 0 && !mountFolderReadOnly(where.constData()))
                                    (void)(::setgid(kNobody) + ::setuid(kNobody));
                            }};
    const QString data = out + QStringLiteral("/r.DovDat");
    CliRun recover({"recover", "--journal", journal, "-o", data}, options);
    ASSERT_EQ(recover.finish(), 0) << recover.err().toStdString();
    EXPECT_TRUE(recover.out().contains(QStringLiteral("The journal is damaged: 58 bytes")))
        << recover.out().toStdString();
    EXPECT_TRUE(recover.out().contains(QStringLiteral("The journal was left where it is")));
    EXPECT_EQ(dataFileValues(data), (std::vector<float>{20.0f, 22.0f, 23.0f}));
    EXPECT_EQ(readAll(journal), kept);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 1);
    ::chmod(qPrintable(folder), 0755);
}

TEST(OrvaneCliJournal, RecoverOffersEveryUnsavedJournalOfRunsAtTheSameTime) {
    QTemporaryDir dir;
    const QString journal = dir.filePath(QStringLiteral("recording.journal"));
    for (const int n : {1, 3}) { // recording-2.journal was saved, or never was
        ASSERT_FALSE(
            writeJournalFile(n == 1 ? journal
                                    : dir.filePath(QStringLiteral("recording-%1.journal").arg(n)),
                             journalOf({static_cast<float>(n)}, 1796637600 + n))
                .isEmpty());
    }
    const QString data = dir.filePath(QStringLiteral("night.DovDat"));
    CliRun recover({"recover", "--journal", journal, "-o", data}, dir.path());
    ASSERT_EQ(recover.finish(), 0) << recover.err().toStdString();
    EXPECT_EQ(dataFileValues(data), std::vector<float>{1.0f});
    EXPECT_EQ(dataFileValues(dir.filePath(QStringLiteral("night-2.DovDat"))),
              std::vector<float>{3.0f});
    EXPECT_EQ(asideJournals(dir.path()).size(), 2);
}

TEST(OrvaneCliJournal, AHeldJournalIsPassedOverAnUnusableOneIsAWarningAndRecoverRefuses) {
    PtyPair first;
    PtyPair second;
    ASSERT_TRUE(first.isOpen() && second.isOpen());
    QTemporaryDir dir;
    const QString journal = dir.filePath(QStringLiteral("recording.journal"));
    const QString data = dir.filePath(QStringLiteral("b.DovDat"));
    CliRun holder(recordArgs(first, journal, {"--count", "1", "--out", dir.filePath("a.DovDat")}),
                  dir.path());
    ASSERT_TRUE(holder.waitRecording()) << holder.err().toStdString();
    CliRun recover({"recover", "--journal", journal}, dir.path());
    EXPECT_EQ(recover.finish(), 1);
    EXPECT_TRUE(recover.err().contains(QStringLiteral("in use by another process")));

    // Held by the first run, or under a file instead of a folder: it records.
    for (const QString& path : {journal, journal + QStringLiteral("/x.journal")}) {
        CliRun other(recordArgs(second, path, {"--count", "1", "--out", data}), dir.path());
        ASSERT_TRUE(other.waitRecording()) << other.err().toStdString();
        // Held: the next free journal of the set; unusable: a warning.
        EXPECT_TRUE(other.err().contains(
            path == journal ? "warning: the recording journal " + journal +
                                  " is in use by another process; this recording is journalled "
                                  "in " +
                                  dir.filePath(QStringLiteral("recording-2.journal"))
                            : QStringLiteral("warning: no recording journal (")))
            << other.err().toStdString();
        EXPECT_TRUE(other.err().contains(QStringLiteral("Not a directory")) || path == journal);
        second.write(celsiusFrame(300));
        EXPECT_EQ(other.finish(), 0) << other.err().toStdString();
        EXPECT_EQ(dataFileValues(data), std::vector<float>{30.0f});
        QFile::remove(data);
    }
    // Saved at the end: the journal is emptied to its header.
    first.write(celsiusFrame(100));
    EXPECT_EQ(holder.finish(), 0) << holder.err().toStdString();
    EXPECT_EQ(readAll(journal).size(), static_cast<qsizetype>(kJournalHeaderSize));

    CliRun none({"recover", "--journal", dir.filePath("none.journal")}, dir.path());
    EXPECT_EQ(none.finish(), 1);
    EXPECT_TRUE(none.err().contains(QStringLiteral("nothing to recover")));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("none.journal"))));
}

TEST(OrvaneCliJournal, AJournalThatStopsTakingRecordsIsReportedOnceAndTheRecordingGoesOn) {
    PtyPair pty;
    ASSERT_TRUE(pty.isOpen());
    QTemporaryDir dir;
    const QString journal = dir.filePath(QStringLiteral("recording.journal"));
    const QString csv = dir.filePath(QStringLiteral("run.csv"));
    // No file may grow past 1200 bytes: the journal (12 + 58 bytes a sample)
    // fills at the 21st sample, the CSV file (about 40 bytes a sample) never.
    CliRun::Options options{dir.path(), {}, [] {
                                const rlimit limit{1200, 1200};
                                ::setrlimit(RLIMIT_FSIZE, &limit);
                                ::signal(SIGXFSZ, SIG_IGN);
                            }};
    CliRun run(recordArgs(pty, journal, {"--csv", csv, "--count", "25"}), options);
    ASSERT_TRUE(run.waitRecording()) << run.err().toStdString();
    for (int i = 0; i < 25; ++i)
        pty.write(celsiusFrame(200 + i));
    ASSERT_EQ(run.finish(), 0) << run.err().toStdString();
    EXPECT_EQ(run.outLines().size(), 25);
    EXPECT_EQ(readAll(csv).count("\r\n"), 26);
    EXPECT_EQ(run.err().count(QStringLiteral("File too large; the recording goes on")), 1)
        << run.err().toStdString();
    // The CSV file holds the recording: the journal is emptied at the end.
    EXPECT_EQ(readAll(journal).size(), static_cast<qsizetype>(kJournalHeaderSize));
}

int killCycles() {
    const char* asked = std::getenv("ORVANE_KILL_CYCLES");
    const int n = asked ? std::atoi(asked) : 0;
    return n > 0 ? n : 5;
}

// Records at the line rate (a frame every 58.3 ms), kills the program with
// SIGKILL at a random moment, recovers, and compares: every sample printed
// before the kill is in the recovered file, byte for byte.
TEST(OrvaneCliJournal, EverySamplePrintedBeforeAKillIsRecovered) {
    const int cycles = killCycles();
    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delayUs(0, 2'000'000);
    QTemporaryDir dir;
    const QString journal = dir.filePath(QStringLiteral("recording.journal"));
    int checked = 0;
    int unprinted = 0; // journalled, not yet printed at the kill
    int beforeFirst = 0;
    for (int cycle = 0; cycle < cycles; ++cycle) {
        SCOPED_TRACE(cycle);
        PtyPair pty;
        ASSERT_TRUE(pty.isOpen());
        const int first = 200 + (cycle * 37) % 1500;
        CliRun record(recordArgs(pty, journal, {}), dir.path());
        ASSERT_TRUE(record.waitRecording()) << record.err().toStdString();
        std::atomic<bool> stop{false};
        std::atomic<int> sent{0};
        std::thread writer([&] {
            auto next = std::chrono::steady_clock::now();
            while (!stop && pty.write(celsiusFrame(first + sent))) {
                ++sent;
                std::this_thread::sleep_until(next += std::chrono::microseconds(58333));
            }
        });
        // What it prints waits in the pipe for finish().
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
        record.signal(SIGKILL);
        const int killed = record.finish();
        stop = true;
        writer.join();
        ASSERT_EQ(killed, -2) << record.err().toStdString();
        const QStringList printed = record.outLines();

        const QString data = dir.filePath(QStringLiteral("cycle%1.DovDat").arg(cycle));
        CliRun recover({"recover", "--journal", journal, "-o", data}, dir.path());
        const int status = recover.finish();
        if (status == 1 && printed.isEmpty() && recover.err().contains("holds no samples")) {
            ++beforeFirst; // killed before the first sample
            continue;
        }
        ASSERT_EQ(status, 0) << recover.err().toStdString();
        const Result<DovDatContents> decoded = decodeDataFile(data);
        ASSERT_TRUE(decoded) << decoded.error();
        const DovDatContents& c = *decoded;
        ASSERT_GE(c.count(), printed.size()) << "printed samples were lost";
        ASSERT_LE(c.count(), sent) << "samples that were never sent";
        for (int i = 0; i < c.count(); ++i) {
            const auto at = static_cast<std::size_t>(i);
            const int count = first + i;
            const QString value = QStringLiteral("%1.%2").arg(count / 10).arg(count % 10);
            ASSERT_EQ(QString::fromStdString(valueText(c.values[at])), value) << i;
            if (i >= printed.size()) {
                ++unprinted;
                continue;
            }
            // "N value unit time" as printed; the time "2026-12-07T14:03:51+01:00"
            // is the data file's "12-07-26/14:03:51".
            const QString iso = printed[i].section(' ', 3);
            const QString timeText =
                iso.mid(5, 2) + '-' + iso.mid(8, 2) + '-' + iso.mid(2, 2) + '/' + iso.mid(11, 8);
            EXPECT_EQ(printed[i], QStringLiteral("%1 %2 C %3").arg(i + 1).arg(value, iso));
            EXPECT_EQ(c.units[at], "C");
            EXPECT_EQ(QString::fromStdString(c.times[at]), timeText) << i;
            ++checked;
        }
        EXPECT_EQ(asideJournals(dir.path()).size(), cycle + 1 - beforeFirst)
            << "a recovered journal is kept";
    }
    std::printf("kill cycles: %d (seed %u), killed before the first sample: %d, printed samples "
                "checked: %d, journalled but not yet printed: %d\n",
                cycles, seed, beforeFirst, checked, unprinted);
}

} // namespace
