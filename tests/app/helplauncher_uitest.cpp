#include "tests/app/tempdir.h"
#include "ui/window/helplauncher.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

namespace {

namespace fs = std::filesystem;

QString q(const fs::path& p) {
    return QString::fromStdString(p.string());
}

// Puts PATH back as it was when the test ends.
class PathGuard {
public:
    PathGuard() : m_old(qgetenv("PATH")) {}
    ~PathGuard() { qputenv("PATH", m_old); }
    PathGuard(const PathGuard&) = delete;
    PathGuard& operator=(const PathGuard&) = delete;

    void set(const fs::path& dir) { qputenv("PATH", QByteArray::fromStdString(dir.string())); }

private:
    QByteArray m_old;
};

void writeScript(const fs::path& p, const std::string& body) {
    writeText(p, "#!/bin/sh\n" + body);
    fs::permissions(p, fs::perms::owner_all);
}

// A help file, and a PATH folder where the desktop's tools can be faked.
struct HelpRig {
    TempDir tmp;
    fs::path bin = tmp.path() / "bin";
    fs::path chm = tmp.path() / "program dir" / "help.chm";
    fs::path opened = tmp.path() / "opened.txt"; // what the fake xdg-open was given
    PathGuard path;

    HelpRig() {
        fs::create_directories(bin);
        fs::create_directories(chm.parent_path());
        writeText(chm, "ITSF");
        path.set(bin);
    }
    // An xdg-mime that names a handler only for the given type.
    void fakeXdgMime(const std::string& typeWithHandler) {
        writeScript(bin / "xdg-mime",
                    "[ \"$3\" = \"" + typeWithHandler + "\" ] && echo viewer.desktop\nexit 0\n");
    }
    void fakeXdgOpen() {
        writeScript(bin / "xdg-open", "printf '%s' \"$1\" > '" + opened.string() + "'\n");
    }
    std::optional<std::string> openedFile() {
        if (!QTest::qWaitFor([&] { return fs::exists(opened) && fs::file_size(opened) > 0; }, 5000))
            return std::nullopt;
        return readText(opened);
    }
};

TEST(HelpLauncher, HelpFileLiesBesideTheRunningProgram) {
    const QString program = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    ASSERT_FALSE(program.isEmpty());
    EXPECT_EQ(helpFilePath(), QFileInfo(program).dir().filePath(QStringLiteral("help.chm")));
}

TEST(HelpLauncher, LinksToTheProgramAreFollowedToItsRealFolder) {
    TempDir tmp;
    const fs::path real = tmp.path() / "lib" / "orvane" / "orvane";
    fs::create_directories(real.parent_path());
    fs::create_directories(tmp.path() / "bin");
    fs::create_directories(tmp.path() / "links");
    writeText(real, "");
    fs::create_symlink("../lib/orvane/orvane", tmp.path() / "bin" / "orvane");
    fs::create_symlink("../bin/orvane", tmp.path() / "links" / "logger"); // a link to a link

    const QString expected = q(fs::canonical(real.parent_path()) / "help.chm");
    EXPECT_EQ(helpFileBeside(q(real)), expected);
    EXPECT_EQ(helpFileBeside(q(tmp.path() / "bin" / "orvane")), expected);
    EXPECT_EQ(helpFileBeside(q(tmp.path() / "links" / "logger")), expected);
    // A program path that no longer exists still gives the file beside it.
    EXPECT_EQ(helpFileBeside(q(tmp.path() / "gone" / "orvane")),
              q(tmp.path() / "gone" / "help.chm"));
}

TEST(HelpLauncher, MissingHelpFileIsReportedByName) {
    HelpRig rig;
    rig.fakeXdgMime("application/vnd.ms-htmlhelp");
    rig.fakeXdgOpen();
    const fs::path missing = rig.tmp.path() / "elsewhere" / "help.chm";
    QString error = openHelpFile(q(missing)).error();
    EXPECT_TRUE(error.contains(q(missing))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("not found"))) << error.toStdString();

    // A folder of that name is no help file either.
    fs::create_directories(missing);
    error = openHelpFile(q(missing)).error();
    EXPECT_TRUE(error.contains(q(missing))) << error.toStdString();
    EXPECT_FALSE(fs::exists(rig.opened));
}

TEST(HelpLauncher, WithoutXdgOpenTheErrorSaysNoViewerAndNamesTheFile) {
    HelpRig rig; // PATH holds only the empty rig folder
    const QString error = openHelpFile(q(rig.chm)).error();
    EXPECT_TRUE(error.contains(q(rig.chm))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("no viewer"))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("xdg-open"))) << error.toStdString();
}

TEST(HelpLauncher, WithoutAProgramForChmFilesTheHtmlPagesGoToTheBrowser) {
    HelpRig rig;
    rig.fakeXdgMime("text/plain");
    rig.fakeXdgOpen();
    const fs::path pages = rig.chm.parent_path() / "help" / "index.html";
    EXPECT_EQ(helpPagesFor(q(rig.chm)), q(pages));

    // Without the pages too, the error names the file and says what is missing;
    // xdg-open would have fallen back to a web browser showing nothing useful.
    const QString error = openHelpFile(q(rig.chm)).error();
    EXPECT_TRUE(error.contains(q(rig.chm))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("no viewer"))) << error.toStdString();
    EXPECT_TRUE(error.contains(q(pages))) << error.toStdString();
    QTest::qWait(200);
    EXPECT_FALSE(fs::exists(rig.opened));

    fs::create_directories(pages.parent_path());
    writeText(pages, "<html></html>");
    const Result<void, QString> opened = openHelpFile(q(rig.chm));
    EXPECT_TRUE(opened) << opened.error().toStdString();
    EXPECT_EQ(rig.openedFile(), std::optional(pages.string()));
}

TEST(HelpLauncher, TheFileIsHandedToXdgOpenWhenAViewerIsInstalled) {
    // Either name of the CHM type will do.
    for (const char* type : {"application/vnd.ms-htmlhelp", "application/x-chm"}) {
        HelpRig rig;
        rig.fakeXdgMime(type);
        rig.fakeXdgOpen();
        const Result<void, QString> opened = openHelpFile(q(rig.chm));
        EXPECT_TRUE(opened) << type << ": " << opened.error().toStdString();
        EXPECT_EQ(rig.openedFile(), std::optional(rig.chm.string())) << type;
    }
}

// xdg-open finds neither a viewer nor a browser: the user is told where the
// pages are, with xdg-open's own words; a viewer that works says nothing.
TEST(HelpLauncher, WhenNothingCanShowTheHelpTheFolderOfThePagesIsNamed) {
    for (const bool works : {false, true}) {
        HelpRig rig;
        rig.fakeXdgMime("application/x-chm");
        writeScript(rig.bin / "xdg-open",
                    works
                        ? "exit 0\n"
                        : "echo 'xdg-open: 882: firefox: not found' >&2\n"
                          "echo \"xdg-open: no method available for opening '$1'\" >&2\nexit 3\n");
        QObject context;
        QStringList told;
        ASSERT_TRUE(
            openHelpFile(q(rig.chm), &context, [&](const QString& message) { told << message; }));
        (void)QTest::qWaitFor([&] { return !told.isEmpty(); }, works ? 1000 : 5000);
        if (works) {
            EXPECT_TRUE(told.isEmpty());
            continue;
        }
        ASSERT_EQ(told.size(), 1);
        EXPECT_TRUE(told[0].contains(q(rig.chm.parent_path() / "help"))) << told[0].toStdString();
        EXPECT_TRUE(
            told[0].endsWith(".\n\nxdg-open: no method available for opening '" + q(rig.chm) + "'"))
            << told[0].toStdString();
    }
}

TEST(HelpLauncher, WithoutXdgMimeTheChoiceIsLeftToXdgOpen) {
    HelpRig rig;
    rig.fakeXdgOpen();
    const Result<void, QString> opened = openHelpFile(q(rig.chm));
    EXPECT_TRUE(opened) << opened.error().toStdString();
    EXPECT_EQ(rig.openedFile(), std::optional(rig.chm.string()));
}

} // namespace
