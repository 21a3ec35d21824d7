#include "core/store/samplestore.h"
#include "support/clirun.h"
#include "support/frames.h"
#include "support/ptypair.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <memory>
#include <thread>

#include <sys/resource.h>

// Unattended recordings: a chain of files past the store's limit, an exit
// status that says how the run ended.
namespace {

TEST(OrvaneCliUnattended, ASplitRunFasterThanTheWireKeepsEveryFrameOnceAndInOrder) {
    constexpr int kFrames = 2 * MAX_DATA + 1000;
    PtyPair pty;
    ASSERT_TRUE(pty.isOpen());
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("full.csv"));
    CliRun run({"record", "--device", pty.slavePath(), "--split", "--out",
                dir.filePath("full.DovDat"), "--csv", csv, "--count", QString::number(kFrames)},
               dir.path());
    ASSERT_TRUE(run.waitRecording()) << run.err().toStdString();
    // As fast as the line takes them: frames keep coming while a file is written.
    std::atomic<bool> written{true};
    std::thread writer([&] {
        for (int i = 1; i <= kFrames + 5 && written; ++i)
            written = pty.write(celsiusFrame(i));
    });
    const bool all = run.waitSamples(kFrames);
    const int status = run.finish();
    pty.hangUp();
    writer.join();
    ASSERT_TRUE(all) << run.err().toStdString();
    ASSERT_EQ(status, 0) << run.err().toStdString();

    std::vector<float> values;
    const std::pair<const char*, std::size_t> files[] = {
        {"full.DovDat", MAX_DATA}, {"full-2.DovDat", MAX_DATA}, {"full-3.DovDat", 1000}};
    for (const auto& [name, size] : files) {
        const std::vector<float> file = dataFileValues(dir.filePath(name));
        EXPECT_EQ(file.size(), size) << name;
        values.insert(values.end(), file.begin(), file.end());
    }
    ASSERT_EQ(values.size(), std::size_t{kFrames});
    for (int i = 0; i < kFrames; ++i)
        ASSERT_FLOAT_EQ(values[static_cast<std::size_t>(i)], static_cast<float>((i + 1) * 0.1))
            << "sample " << i + 1;
    // Each file with its text export; the CSV numbers on across them.
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("* .txt")}).size(), 3);
    EXPECT_TRUE(run.outLines().last().startsWith(QStringLiteral("9000 900.0 C")));
}

// Two chains filling in one folder at the same second, under Save's names:
// each file takes a name of its own, and every sample of both is kept.
TEST(OrvaneCliUnattended, TwoChainsInOneFolderKeepEverySample) {
    constexpr int kFrames = 2 * MAX_DATA;
    QTemporaryDir dir;
    PtyPair pty[2];
    std::unique_ptr<CliRun> runs[2];
    for (int r = 0; r < 2; ++r) {
        ASSERT_TRUE(pty[r].isOpen());
        runs[r] =
            std::make_unique<CliRun>(QStringList{"record", "--device", pty[r].slavePath(),
                                                 "--split", "--count", QString::number(kFrames)},
                                     dir.path());
        ASSERT_TRUE(runs[r]->waitRecording()) << runs[r]->err().toStdString();
    }
    std::vector<std::thread> writers;
    for (int r = 0; r < 2; ++r)
        writers.emplace_back([&pty, r] {
            for (int i = 1; i <= kFrames + 5 && pty[r].write(celsiusFrame(r * 10000 + i)); ++i) {
            }
        });
    for (int r = 0; r < 2; ++r) {
        EXPECT_TRUE(runs[r]->waitSamples(kFrames)) << runs[r]->err().toStdString();
        EXPECT_EQ(runs[r]->finish(), 0) << runs[r]->err().toStdString();
        pty[r].hangUp();
    }
    for (std::thread& writer : writers)
        writer.join();

    std::vector<float> values;
    const QStringList files = QDir(dir.path()).entryList({QStringLiteral("*.DovDat")});
    for (const QString& file : files) {
        const std::vector<float> one = dataFileValues(dir.filePath(file));
        values.insert(values.end(), one.begin(), one.end());
    }
    std::sort(values.begin(), values.end());
    ASSERT_EQ(values.size(), std::size_t{2 * kFrames}) << files.join(' ').toStdString();
    for (int i = 0; i < 2 * kFrames; ++i)
        ASSERT_FLOAT_EQ(values[static_cast<std::size_t>(i)],
                        static_cast<float>((i / kFrames * 10000 + i % kFrames + 1) * 0.1));
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("* .txt")}).size(), 4);
}

// A disk that takes no more, played by a file-size limit on the recorder: the
// full file and then the last are kept in memory and tried again until the
// disk has room, in order; the run ends when they are written.
TEST(OrvaneCliUnattended, AFullDiskLosesNothingAndTheRunWaitsForRoom) {
    constexpr int kFrames = MAX_DATA + 10;
    PtyPair pty;
    ASSERT_TRUE(pty.isOpen());
    QTemporaryDir dir;
    QTemporaryDir temp;
    qputenv("ORVANE_RETRY_MS", "200");
    CliRun run({"record", "--device", pty.slavePath(), "--split", "--count",
                QString::number(kFrames), "--out", "full.DovDat"},
               CliRun::Options{dir.path(), temp.path(), [] {
                                   std::signal(SIGXFSZ, SIG_IGN);
                                   const rlimit small{4096, RLIM_INFINITY};
                                   ::setrlimit(RLIMIT_FSIZE, &small);
                               }});
    qunsetenv("ORVANE_RETRY_MS");
    ASSERT_TRUE(run.waitRecording()) << run.err().toStdString();
    std::thread writer([&pty] {
        for (int i = 1; i <= kFrames && pty.write(celsiusFrame(i)); ++i) {
        }
    });
    const bool all = run.waitSamples(kFrames);
    writer.join();
    ASSERT_TRUE(all) << run.err().toStdString();
    ASSERT_TRUE(run.waitErr(QStringLiteral("kept in memory"), 2)) << run.err().toStdString();
    QTest::qWait(600); // tried again, and again refused
    EXPECT_TRUE(run.running()) << run.err().toStdString();
    EXPECT_TRUE(QDir(dir.path()).entryList({QStringLiteral("*.DovDat")}).isEmpty());

    const rlimit room{RLIM_INFINITY, RLIM_INFINITY};
    ASSERT_EQ(::prlimit(static_cast<pid_t>(run.processId()), RLIMIT_FSIZE, &room, nullptr), 0);
    EXPECT_EQ(run.finish(), 0) << run.err().toStdString();
    pty.hangUp();
    std::vector<float> values = dataFileValues(dir.filePath(QStringLiteral("full.DovDat")));
    const std::vector<float> last = dataFileValues(dir.filePath(QStringLiteral("full-2.DovDat")));
    EXPECT_EQ(last.size(), 10U);
    values.insert(values.end(), last.begin(), last.end());
    ASSERT_EQ(values.size(), std::size_t{kFrames});
    for (int i = 0; i < kFrames; ++i)
        ASSERT_FLOAT_EQ(values[static_cast<std::size_t>(i)], static_cast<float>((i + 1) * 0.1));
}

TEST(OrvaneCliUnattended, TheExitStatusSaysHowTheRunEnded) {
    const struct {
        const char* name;
        QStringList options;
        int frames;
        int status;
        const char* said;
    } rows[] = {
        {"count reached", {"--count", "2"}, 2, 0, "Recorded 2 samples."},
        {"nothing recorded", {"--duration", "1s"}, 0, 3, "Recorded 0 samples."},
    };
    for (const auto& row : rows) {
        PtyPair pty;
        ASSERT_TRUE(pty.isOpen());
        QTemporaryDir dir;
        CliRun run(QStringList{"record", "--device", pty.slavePath(), "--out",
                               dir.filePath("run.DovDat")} +
                       row.options,
                   dir.path());
        ASSERT_TRUE(run.waitRecording()) << row.name << run.err().toStdString();
        QByteArray frames;
        for (int i = 1; i <= row.frames; ++i)
            frames += celsiusFrame(i);
        for (qsizetype at = 0; at < frames.size(); at += 100 * 14) {
            ASSERT_TRUE(pty.write(frames.mid(at, 100 * 14)));
            run.waitSamples(static_cast<int>(at / 14));
        }
        EXPECT_EQ(run.finish(), row.status) << row.name << run.err().toStdString();
        EXPECT_TRUE(run.err().contains(QLatin1String(row.said))) << run.err().toStdString();
    }
}

TEST(OrvaneCliUnattended, ASilentLineIsReportedOncePerSilenceAndItsEndToo) {
    PtyPair pty;
    ASSERT_TRUE(pty.isOpen());
    QTemporaryDir dir;
    qputenv("ORVANE_SILENCE_MS", "300");
    CliRun run({"record", "--device", pty.slavePath(), "--count", "2"}, dir.path());
    qunsetenv("ORVANE_SILENCE_MS");
    ASSERT_TRUE(run.waitRecording()) << run.err().toStdString();
    const QString silence = "warning: no readings from " + pty.slavePath() + " for 1 s";
    ASSERT_TRUE(run.waitErr(silence)) << run.err().toStdString();
    QTest::qWait(700); // once per silence, however long it lasts
    pty.write(celsiusFrame(201));
    ASSERT_TRUE(run.waitErr(QStringLiteral("Readings from %1 again.").arg(pty.slavePath())));
    ASSERT_TRUE(run.waitErr(silence, 2)); // the line went silent again
    pty.write(celsiusFrame(202));
    EXPECT_EQ(run.finish(), 0) << run.err().toStdString();
    EXPECT_EQ(run.err().count(silence), 2) << run.err().toStdString();
}

} // namespace
