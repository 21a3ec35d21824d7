#include "core/store/samplestore.h"
#include "support/clirun.h"
#include "support/frames.h"
#include "support/ptypair.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

// orvane-cli as a user runs it: the built program in a process of its own,
// recording from a pseudo-terminal the test writes instrument frames into.
namespace {

QStringList csvRecords(const QString& path) {
    return QString::fromUtf8(readAll(path)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

TEST(OrvaneCli, RecordsCountFramesIntoTheDataFileTheTextExportAndCsv) {
    PtyPair pty;
    ASSERT_TRUE(pty.isOpen());
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("run.DovDat"));
    const QString csv = dir.filePath(QStringLiteral("run.csv"));
    CliRun run({QStringLiteral("record"), QStringLiteral("--device"), pty.slavePath(),
                QStringLiteral("--count"), QStringLiteral("4"), QStringLiteral("--out"), data,
                QStringLiteral("--csv"), csv});
    ASSERT_TRUE(run.waitRecording()) << run.err().toStdString();

    const QByteArray split = celsiusFrame(254);
    pty.write(celsiusFrame(253));
    pty.write(split.left(5));
    QTest::qWait(60);
    pty.write(split.mid(5));
    pty.write(celsiusFrame(12709, 0x64)); // a log frame with its value
    // The fourth sample ends the run; the fifth, in the same read, is not kept.
    pty.write(celsiusFrame(100) + celsiusFrame(555));
    ASSERT_EQ(run.finish(), 0) << run.err().toStdString();

    const QStringList lines = run.outLines();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("1 25.3 C 20"))) << lines[0].toStdString();
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("3 1270.9log C "))) << lines[2].toStdString();
    EXPECT_EQ(dataFileValues(data), (std::vector<float>{25.3f, 25.4f, 1270.9f, 10.0f}));

    const QStringList exports = QDir(dir.path()).entryList({QStringLiteral("* .txt")});
    ASSERT_EQ(exports.size(), 1);
    EXPECT_EQ(readAll(dir.filePath(exports[0])).count("\r\n"), 5);

    const QStringList records = csvRecords(csv);
    ASSERT_EQ(records.size(), 5);
    EXPECT_EQ(records[0], QStringLiteral("number,time,utc_offset,value,unit,log"));
    EXPECT_TRUE(records[1].startsWith(QStringLiteral("1,20"))) << records[1].toStdString();
    // The live times carry milliseconds: "1,2026-12-07 14:03:51.250,+01:00,...".
    EXPECT_TRUE(records[1].contains(QRegularExpression(QStringLiteral(":\\d\\d\\.\\d{3},"))))
        << records[1].toStdString();
    EXPECT_TRUE(records[1].endsWith(QStringLiteral(",25.3,C,0")));
    EXPECT_TRUE(records[3].endsWith(QStringLiteral(",1270.9,C,1")));
    EXPECT_TRUE(records[4].endsWith(QStringLiteral(",10.0,C,0")));

    // The saved file converts to the same records; it keeps no log mark, so
    // that field is empty rather than a 0 that says "not logged", and its
    // times are whole seconds.
    CliRun convert({QStringLiteral("convert"), data, QStringLiteral("--csv")});
    ASSERT_EQ(convert.finish(), 0) << convert.err().toStdString();
    QStringList expected = records;
    for (int i = 1; i < expected.size(); ++i) {
        expected[i].chop(1);
        expected[i].remove(QRegularExpression(QStringLiteral("\\.\\d{3}(?=,)")));
    }
    EXPECT_EQ(convert.outLines().join('\n').remove('\r'), expected.join('\n'));

    // --time iso: the time with its offset in one column.
    CliRun iso({QStringLiteral("convert"), data, QStringLiteral("--csv"), QStringLiteral("--time"),
                QStringLiteral("iso")});
    ASSERT_EQ(iso.finish(), 0) << iso.err().toStdString();
    const QStringList isoLines = iso.outLines();
    ASSERT_EQ(isoLines.size(), 5);
    EXPECT_EQ(isoLines[0].trimmed(), QStringLiteral("number,time,value,unit,log"));
}

TEST(OrvaneCli, InterruptedRunsKeepWhatWasRecorded) {
    for (const int sig : {SIGINT, SIGTERM}) {
        PtyPair pty;
        ASSERT_TRUE(pty.isOpen());
        QTemporaryDir dir;
        const QString data = dir.filePath(QStringLiteral("run.DovDat"));
        const QString csv = dir.filePath(QStringLiteral("run.csv"));
        // SIGTERM: a CSV recording alone, which writes no data file.
        QStringList args{QStringLiteral("record"), QStringLiteral("--device"), pty.slavePath(),
                         QStringLiteral("--csv"), csv};
        if (sig == SIGINT)
            args << QStringLiteral("--out") << data;
        CliRun run(args, dir.path());
        ASSERT_TRUE(run.waitRecording()) << run.err().toStdString();
        for (int count : {201, 202, 203})
            pty.write(celsiusFrame(count));
        ASSERT_TRUE(run.waitSamples(3));
        run.signal(sig);
        ASSERT_EQ(run.finish(), 0) << sig << run.err().toStdString();
        EXPECT_EQ(csvRecords(csv).size(), 4) << sig;
        if (sig == SIGINT) {
            EXPECT_EQ(dataFileValues(data), (std::vector<float>{20.1f, 20.2f, 20.3f}));
        } else {
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
                      QStringList{QStringLiteral("run.csv")});
        }
    }
}

TEST(OrvaneCli, QuietPrintsNoSampleButTheAlarmsAndTheEnd) {
    PtyPair pty;
    ASSERT_TRUE(pty.isOpen());
    QTemporaryDir dir;
    CliRun run({QStringLiteral("record"), QStringLiteral("--device"), pty.slavePath(),
                QStringLiteral("--quiet"), QStringLiteral("--count"), QStringLiteral("2"),
                QStringLiteral("--high"), QStringLiteral("20")},
               dir.path());
    ASSERT_TRUE(run.waitRecording()) << run.err().toStdString();
    pty.write(celsiusFrame(201) + celsiusFrame(202));
    ASSERT_EQ(run.finish(), 0) << run.err().toStdString();
    EXPECT_EQ(run.out(), QString());
    EXPECT_TRUE(run.err().contains(QStringLiteral("alarm: high 20.1 C limit 20")))
        << run.err().toStdString();
    EXPECT_TRUE(run.err().contains(QStringLiteral("Recorded 2 samples.")))
        << run.err().toStdString();
    EXPECT_EQ(dataFileValues(
                  dir.filePath(QDir(dir.path()).entryList({QStringLiteral("*.DovDat")}).value(0))),
              (std::vector<float>{20.1f, 20.2f}));
}

TEST(OrvaneCli, TheDataFileLimitEndsARunButNotACsvRecording) {
    QByteArray frames;
    for (int i = 0; i < MAX_DATA + 500; ++i)
        frames += celsiusFrame(i % 2000);
    for (const bool dataFile : {true, false}) {
        PtyPair pty;
        ASSERT_TRUE(pty.isOpen());
        QTemporaryDir dir;
        const QString data = dir.filePath(QStringLiteral("run.DovDat"));
        const QString csv = dir.filePath(QStringLiteral("run.csv"));
        QStringList args{QStringLiteral("record"), QStringLiteral("--device"), pty.slavePath(),
                         QStringLiteral("--csv"), csv};
        if (dataFile)
            args << QStringLiteral("--out") << data;
        CliRun run(args, dir.path());
        ASSERT_TRUE(run.waitRecording()) << run.err().toStdString();
        // After the limit nobody reads the line: only a few frames more fit.
        const QByteArray sent = dataFile ? frames.left((MAX_DATA + 3) * 14) : frames;
        // In pieces the line takes at once, reading the output meanwhile.
        for (qsizetype at = 0; at < sent.size(); at += 100 * 14) {
            ASSERT_TRUE(pty.write(sent.mid(at, 100 * 14)));
            run.waitSamples(static_cast<int>(std::min(at / 14, qsizetype{MAX_DATA})));
        }
        if (!dataFile) {
            ASSERT_TRUE(run.waitSamples(MAX_DATA + 500));
            run.signal(SIGINT);
        }
        // Ended early by the limit: status 3.
        ASSERT_EQ(run.finish(), dataFile ? 3 : 0) << run.err().toStdString();
        const QStringList records = csvRecords(csv);
        if (dataFile) {
            EXPECT_TRUE(run.err().contains(QStringLiteral("limit of 4000 samples")));
            EXPECT_EQ(dataFileValues(data).size(), std::size_t{MAX_DATA});
            EXPECT_EQ(records.size(), MAX_DATA + 1);
        } else {
            // Every frame, numbered on past the limit.
            ASSERT_EQ(records.size(), MAX_DATA + 501);
            EXPECT_TRUE(records.last().startsWith(QStringLiteral("4500,")));
            EXPECT_TRUE(records.last().endsWith(QStringLiteral(",49.9,C,0")));
        }
    }
}

TEST(OrvaneCli, ALostLineIsWaitedForAndTheRecordingGoesOnWhenItIsBack) {
    PtyPair first;
    PtyPair second;
    ASSERT_TRUE(first.isOpen() && second.isOpen());
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("instrument"));
    const QString data = dir.filePath(QStringLiteral("run.DovDat"));
    ASSERT_TRUE(QFile::link(first.slavePath(), link));
    CliRun run({QStringLiteral("record"), QStringLiteral("--device"), link,
                QStringLiteral("--count"), QStringLiteral("3"), QStringLiteral("--out"), data},
               dir.path());
    ASSERT_TRUE(run.waitRecording()) << run.err().toStdString();
    first.write(celsiusFrame(201) + celsiusFrame(202));
    ASSERT_TRUE(run.waitSamples(2));
    first.hangUp();
    ASSERT_TRUE(run.waitErr(QStringLiteral("Waiting for ") + link)) << run.err().toStdString();
    // The device comes back under the same name.
    ASSERT_TRUE(QFile::remove(link) && QFile::link(second.slavePath(), link));
    ASSERT_TRUE(run.waitErr(QStringLiteral("again"))) << run.err().toStdString();
    second.write(celsiusFrame(203));
    ASSERT_EQ(run.finish(), 0) << run.err().toStdString();
    EXPECT_EQ(dataFileValues(data), (std::vector<float>{20.1f, 20.2f, 20.3f}));
}

// The same command run twice keeps both recordings: the second passes over
// the name taken, says so at the start and names its file at the end.
TEST(OrvaneCli, ARecordingNeverReplacesAFile) {
    QTemporaryDir dir;
    for (const int count : {2, 1}) {
        PtyPair pty;
        ASSERT_TRUE(pty.isOpen());
        CliRun run({"record", "--device", pty.slavePath(), "--count", QString::number(count),
                    "--out", "night.DovDat"},
                   dir.path());
        ASSERT_TRUE(run.waitRecording()) << run.err().toStdString();
        pty.write(celsiusFrame(201) + celsiusFrame(202));
        ASSERT_EQ(run.finish(), 0) << run.err().toStdString();
        const QString name = count == 2 ? "night.DovDat" : "night-2.DovDat";
        EXPECT_TRUE(run.err().contains(count == 2 ? "The data file will be night.DovDat.\n"
                                                  : "The data file will be night-2.DovDat: "
                                                    "night.DovDat is taken.\n"))
            << run.err().toStdString();
        EXPECT_TRUE(run.err().contains("Wrote " + name + " and ")) << run.err().toStdString();
        EXPECT_EQ(dataFileValues(dir.filePath(name)).size(), std::size_t(count));
    }
    EXPECT_EQ(dataFileValues(dir.filePath("night.DovDat")).size(), 2U);
}

TEST(OrvaneCli, ARecordingThatCannotBeSavedWhereAskedIsKeptInTheTemporaryFolder) {
    PtyPair pty;
    ASSERT_TRUE(pty.isOpen());
    QTemporaryDir dir;
    QTemporaryDir temp;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("gone")));
    CliRun run({QStringLiteral("record"), QStringLiteral("--device"), pty.slavePath(),
                QStringLiteral("--count"), QStringLiteral("2"), QStringLiteral("--out"),
                dir.filePath(QStringLiteral("gone/run.DovDat"))},
               dir.path(), temp.path());
    ASSERT_TRUE(run.waitRecording()) << run.err().toStdString();
    ASSERT_TRUE(QDir(dir.path()).rmdir(QStringLiteral("gone")));
    pty.write(celsiusFrame(201) + celsiusFrame(202));
    EXPECT_EQ(run.finish(), 1);
    EXPECT_TRUE(run.err().contains(QStringLiteral("No such file or directory")))
        << run.err().toStdString();
    const QStringList kept = QDir(temp.path()).entryList({QStringLiteral("*.DovDat")});
    ASSERT_EQ(kept.size(), 1);
    EXPECT_TRUE(run.err().contains(QStringLiteral("kept in ") + temp.filePath(kept[0])));
    EXPECT_EQ(dataFileValues(temp.filePath(kept[0])), (std::vector<float>{20.1f, 20.2f}));
}

TEST(OrvaneCli, FailuresAndWrongCommandLinesSayWhatAndWhy) {
    PtyPair pty;
    ASSERT_TRUE(pty.isOpen());
    const QString tty = pty.slavePath();
    const struct {
        QStringList args;
        int status;
        QString message;
    } rows[] = {
        {{"record", "--device", "/nonexistent/ttyX"},
         1,
         "Cannot open /nonexistent/ttyX: No such file or directory"},
        {{"record", "--device", tty, "--csv", "/nonexistent/dir/run.csv"},
         1,
         "cannot write /nonexistent/dir/run.csv: No such file or directory"},
        {{"record", "--device", tty, "--out", "/nonexistent/dir/run.DovDat"},
         1,
         "cannot write /nonexistent/dir/run.DovDat: No such file or directory"},
        {{"convert", "/nonexistent/run.DovDat"},
         1,
         "cannot open /nonexistent/run.DovDat: No such file or directory"},
        {{"record", "--device", tty, "--split", "--out", "/dev/null"},
         1,
         "--split needs a file for --out, not a pipe or a device: /dev/null"},
        {{"record"}, 2, "give --device PATH or --simulator"},
        {{"record", "--device", tty, "--simulator"}, 2, "give --device PATH or --simulator"},
        {{"record", "--device", tty, "--interval", "3s"}, 2, "--interval is one of auto|2s|5s"},
        {{"record", "--device", tty, "--count", "0"}, 2, "--count wants a whole number"},
        {{"record", "--device", tty, "--duration", "soon"}, 2, "--duration wants a time"},
        {{"record", "--device", tty, "--speed"}, 2, "Unknown option 'speed'"},
        {{"record", "--device", tty, "--high", "10", "--low", "20"},
         2,
         "the high limit 10 is below the low limit 20"},
        {{"record", "--device", tty, "--csv", "./same.csv", "--out", "same.csv"},
         2,
         "--out and --csv name the same file"},
        {{"convert", "a.DovDat", "--csv", "--txt"}, 2, "give --csv or --txt, not both"},
        {{"convert", "a.DovDat", "--csv", "--time", "utc"}, 2, "--time is local or iso, not 'utc'"},
        {{"info"}, 2, "give the data file to read"},
        {{"replay"}, 2, "unknown command 'replay'"},
    };
    for (const auto& row : rows) {
        CliRun run(row.args);
        EXPECT_EQ(run.finish(), row.status) << row.args.join(' ').toStdString();
        EXPECT_TRUE(run.err().contains(QStringLiteral("orvane-cli: ") + row.message))
            << run.err().toStdString();
        if (row.status == 2) {
            EXPECT_TRUE(run.err().contains(QStringLiteral("--help")));
        }
    }
}

TEST(OrvaneCli, EveryCommandSpellsItsOptionsAlikeAndReadsTheStandardInput) {
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("run.DovDat"));
    const QString text = dir.filePath(QStringLiteral("run.txt"));
    PtyPair pty;
    ASSERT_TRUE(pty.isOpen());
    CliRun record({"record", "--device", pty.slavePath(), "--count", "1", "-o", data}, dir.path());
    ASSERT_TRUE(record.waitRecording()) << record.err().toStdString();
    pty.write(celsiusFrame(250));
    ASSERT_EQ(record.finish(), 0) << record.err().toStdString();
    CliRun convert({"convert", data, "--out", text});
    ASSERT_EQ(convert.finish(), 0) << convert.err().toStdString();

    // "-": the data file on the standard input; a text export is no data file.
    const auto stdinFrom = [](const QString& path) {
        const QByteArray name = QFile::encodeName(path);
        return [name] { ::dup2(::open(name.constData(), O_RDONLY), STDIN_FILENO); };
    };
    CliRun info({"info", "-"}, {QDir::tempPath(), {}, stdinFrom(data)});
    ASSERT_EQ(info.finish(), 0) << info.err().toStdString();
    EXPECT_TRUE(info.out().contains(QStringLiteral("Samples:  1"))) << info.out().toStdString();
    // A reader that went away (| head) has what it wanted: nothing more is said.
    const auto readerGone = [] {
        int ends[2];
        if (::pipe(ends) == 0) {
            ::dup2(ends[1], STDOUT_FILENO);
            ::close(ends[0]);
            ::close(ends[1]);
        }
    };
    CliRun gone({"info", data}, {QDir::tempPath(), {}, readerGone});
    EXPECT_EQ(gone.finish(), 0);
    EXPECT_EQ(gone.err(), QString());
    CliRun notData({"convert", "-"}, {QDir::tempPath(), {}, stdinFrom(text)});
    EXPECT_EQ(notData.finish(), 1);
    EXPECT_TRUE(
        notData.err().startsWith(QStringLiteral("orvane-cli: cannot open -: not a data file")))
        << notData.err().toStdString();

    CliRun helpAll({"info", "--help-all"});
    EXPECT_EQ(helpAll.finish(), 2);
    CliRun ports({"ports"});
    EXPECT_EQ(ports.finish(), 0);
    EXPECT_TRUE(ports.out().contains(QStringLiteral("erial device"))) << ports.out().toStdString();
}

} // namespace
