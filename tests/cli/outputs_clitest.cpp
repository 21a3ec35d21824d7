#include "core/files/dovdatcodec.h"
#include "support/clirun.h"
#include "support/frames.h"
#include "support/journalfile.h"
#include "support/ptypair.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <unistd.h>

// What orvane-cli does with the outputs it is given: a folder is refused, a
// pipe or a device is written into, a symbolic link is followed, and nothing
// is created or emptied before the input is open.
namespace {

QString smallDataFile(const QTemporaryDir& dir) {
    const QString path = dir.filePath(QStringLiteral("in.DovDat"));
    const std::vector<std::uint8_t> bytes =
        *encodeDovDat(std::vector<float>{20.5f, 21.0f}, std::vector<std::string>{"C", "C"},
                      std::vector<std::string>{"12-07-26/09:00:01", "12-07-26/09:00:03"});
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<qsizetype>(bytes.size()));
    return path;
}

bool isCharDevice(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISCHR(st.st_mode);
}

// On a terminal, the texts of a crafted file cannot drive it: convert writes
// their control characters as \xNN, as info does.
TEST(OrvaneCliOutputs, ConvertShowsControlCharactersOnATerminalAsCodes) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("crafted.DovDat"));
    const std::vector<std::uint8_t> bytes =
        *encodeDovDat(std::vector<float>{20.5f}, std::vector<std::string>{"\x1b]0;owned\x07"},
                      std::vector<std::string>{"12-07-26/09:00:01"});
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    file.close();
    PtyPair terminal;
    ASSERT_TRUE(terminal.isOpen());
    const QByteArray slave = QFile::encodeName(terminal.slavePath());
    CliRun run({"convert", path, "--csv"},
               CliRun::Options{dir.path(), {}, [slave] {
                                   const int fd = ::open(slave.constData(), O_WRONLY | O_NOCTTY);
                                   ::dup2(fd, STDOUT_FILENO);
                               }});
    EXPECT_EQ(run.finish(), 0) << run.err().toStdString();
    const QByteArray shown = terminal.read();
    EXPECT_TRUE(shown.contains(",20.5,\\x1B]0;owned\\x07,")) << shown.toStdString();
    EXPECT_FALSE(shown.contains('\x1b'));
}

TEST(OrvaneCliOutputs, AFolderIsRefusedAndLeftAsItIs) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("shift1"));
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/inside")));
    const QString input = smallDataFile(dir);
    const QString journal = dir.filePath(QStringLiteral("r.journal"));
    ASSERT_FALSE(writeJournalFile(journal, journalOf({20.0f})).isEmpty());
    PtyPair pty;
    const QList<QStringList> runs = {
        {"convert", input, "--csv", "-o", folder},
        {"recover", "--journal", journal, "-o", folder},
        {"record", "--device", pty.slavePath(), "--count", "1", "--out", folder},
        {"record", "--device", pty.slavePath(), "--count", "1", "--csv", folder},
    };
    for (const QStringList& args : runs) {
        CliRun run(args, dir.path());
        EXPECT_EQ(run.finish(), 1) << args.join(' ').toStdString();
        EXPECT_TRUE(
            run.err().contains(QStringLiteral("cannot write %1: it is a folder").arg(folder)))
            << run.err().toStdString();
    }
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("inside")});
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{QStringLiteral("in.DovDat"), QStringLiteral("r.journal"),
                           QStringLiteral("shift1")}));
}

// A pipe, a device node, /dev/stdout and a symbolic link as -o: each is
// written into or followed, and each is still what it was afterwards.
TEST(OrvaneCliOutputs, PipesDevicesAndLinksAreWrittenIntoNeverReplaced) {
    QTemporaryDir dir;
    const QString input = smallDataFile(dir);
    CliRun expected({"convert", input, "--csv"});
    ASSERT_EQ(expected.finish(), 0);
    const QByteArray csv = expected.out().toUtf8();

    const QString fifo = dir.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QByteArray piped;
    std::thread reader([&] {
        QFile f(fifo);
        if (f.open(QIODevice::ReadOnly))
            piped = f.readAll();
    });
    CliRun toPipe({"convert", input, "--csv", "-o", fifo});
    EXPECT_EQ(toPipe.finish(), 0) << toPipe.err().toStdString();
    reader.join();
    EXPECT_EQ(piped, csv);
    EXPECT_TRUE(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());

    CliRun toStdout({"convert", input, "--csv", "-o", "/dev/stdout"});
    EXPECT_EQ(toStdout.finish(), 0) << toStdout.err().toStdString();
    EXPECT_EQ(toStdout.out().toUtf8(), csv);

    const QString target = dir.filePath(QStringLiteral("target.csv"));
    const QString link = dir.filePath(QStringLiteral("latest.csv"));
    QFile::link(target, link);
    CliRun toLink({"convert", input, "--csv", "-o", link});
    EXPECT_EQ(toLink.finish(), 0) << toLink.err().toStdString();
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readAll(target), csv);

    if (::geteuid() != 0)
        GTEST_SKIP() << "device nodes of a test's own need root";
    // Nodes of the test's own with the numbers of /dev/null and /dev/full.
    const QString null = dir.filePath(QStringLiteral("null"));
    const QString full = dir.filePath(QStringLiteral("full"));
    ASSERT_EQ(::mknod(QFile::encodeName(null).constData(), S_IFCHR | 0666, makedev(1, 3)), 0);
    ASSERT_EQ(::mknod(QFile::encodeName(full).constData(), S_IFCHR | 0666, makedev(1, 7)), 0);
    CliRun toNull({"convert", input, "-o", null});
    EXPECT_EQ(toNull.finish(), 0) << toNull.err().toStdString();
    CliRun toFull({"convert", input, "-o", full});
    EXPECT_EQ(toFull.finish(), 1);
    EXPECT_TRUE(toFull.err().contains(QStringLiteral("No space left on device")));
    PtyPair pty;
    CliRun record({"record", "--device", pty.slavePath(), "--count", "1", "--out", null},
                  dir.path());
    ASSERT_TRUE(record.waitRecording()) << record.err().toStdString();
    pty.write(celsiusFrame(250));
    EXPECT_EQ(record.finish(), 0) << record.err().toStdString();
    EXPECT_TRUE(record.err().contains(QStringLiteral("Wrote %1.").arg(null)));
    EXPECT_TRUE(isCharDevice(null) && isCharDevice(full));
    // No text export beside a device, and no temporary file anywhere.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("in.DovDat"), QStringLiteral("latest.csv"),
                           QStringLiteral("target.csv")}));
}

// Nothing is created or emptied when the input cannot be opened.
TEST(OrvaneCliOutputs, OutputsAreUntouchedWhenTheInputFails) {
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("shift1.csv"));
    const QString data = dir.filePath(QStringLiteral("shift1.DovDat"));
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("number,time\r\n1,x\r\n") > 0);
    file.close();
    const QByteArray before = readAll(csv);
    const QList<QStringList> runs = {
        {"record", "--device", "/dev/ttyUSB-none", "--csv", csv, "--out", data},
        {"recover", "--journal", dir.filePath("none.journal"), "-o", data},
        {"convert", dir.filePath("none.DovDat"), "--csv", "-o", csv},
    };
    for (const QStringList& args : runs) {
        CliRun run(args, dir.path());
        EXPECT_EQ(run.finish(), 1) << args.join(' ').toStdString();
        EXPECT_FALSE(run.err().contains(QStringLiteral("Wrote"))) << run.err().toStdString();
    }
    EXPECT_EQ(readAll(csv), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("shift1.csv")});
}

// The reader of the standard output goes away after three samples: the
// recording goes on into its file and the run ends as it would have.
TEST(OrvaneCliOutputs, AClosedStandardOutputStopsOnlyThePrinting) {
    PtyPair pty;
    ASSERT_TRUE(pty.isOpen());
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("run.DovDat"));
    QProcess shell;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_STATE_HOME"), dir.path());
    shell.setProcessEnvironment(env);
    shell.start(QStringLiteral("bash"),
                {"-c", QStringLiteral("'%1' record --device '%2' --count 8 --out '%3' | head -n 3; "
                                      "echo \"status ${PIPESTATUS[0]}\" >&2")
                           .arg(QStringLiteral(ORVANE_CLI_PATH), pty.slavePath(), data)});
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return shell.readAllStandardError().contains("Recording from"); }, kCliWaitMs));
    for (int i = 0; i < 8; ++i) {
        pty.write(celsiusFrame(200 + i));
        QTest::qWait(60);
    }
    ASSERT_TRUE(shell.state() == QProcess::NotRunning || shell.waitForFinished(kCliWaitMs));
    EXPECT_EQ(shell.readAllStandardOutput().count('\n'), 3);
    const QString err = QString::fromUtf8(shell.readAllStandardError());
    EXPECT_TRUE(err.contains(QStringLiteral("status 0"))) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("The standard output was closed")))
        << err.toStdString();
    EXPECT_EQ(dataFileValues(data).size(), 8u);
}

// One program at a time holds a serial device, whatever name opened it: a
// link for the first, the device's own name for the second (root included).
TEST(OrvaneCliOutputs, ADeviceIsHeldByOneProgramWhateverItsName) {
    PtyPair pty;
    ASSERT_TRUE(pty.isOpen());
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("instrument"));
    ASSERT_TRUE(QFile::link(pty.slavePath(), link));
    CliRun first({"record", "--device", link, "--count", "1", "--out", dir.filePath("a.DovDat")},
                 dir.path());
    ASSERT_TRUE(first.waitRecording()) << first.err().toStdString();
    CliRun second({"record", "--device", pty.slavePath(), "--count", "1"}, dir.path());
    EXPECT_EQ(second.finish(), 1);
    EXPECT_TRUE(second.err().contains(QStringLiteral("another program has this device open")))
        << second.err().toStdString();
    EXPECT_TRUE(second.err().contains(QStringLiteral("orvane-cli (process ")))
        << second.err().toStdString();
    pty.write(celsiusFrame(250));
    EXPECT_EQ(first.finish(), 0) << first.err().toStdString();
}

} // namespace
