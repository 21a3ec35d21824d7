#include "support/storetestaccess.h"
#include "support/windowrig.h"
#include "ui/files/documentfiles.h"
#include "ui/window/commandids.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

// A main window that answers Yes unless told otherwise.
struct Rig : WindowRig {
    explicit Rig(bool answerYes = true) : WindowRig({.answerYes = answerYes}) {}
};

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(DocumentFiles, SaveWritesTheDataFileAndTheExportBesideIt) {
    Rig rig;
    rig.record({253, -35, 300});
    rig.prompter->m_savePaths << rig.path("run.DovDat");
    ASSERT_TRUE(rig.frame->saveRecording()) << rig.messages.join('\n').toStdString();
    EXPECT_TRUE(rig.prompter->m_proposed.endsWith(".DovDat"));
    const QByteArray data = readAll(rig.path("run.DovDat"));
    ASSERT_EQ(data.size(), 76);
    EXPECT_EQ(data.left(4), QByteArray("\x03\x00\x00\x00", 4));
    const QStringList names = rig.filesIn();
    ASSERT_EQ(names.size(), 2) << names.join(',').toStdString();
    const QString text = names.filter(".txt").value(0);
    EXPECT_TRUE(text.endsWith(" .txt"));
    const QByteArray exported = readAll(rig.path(text));
    EXPECT_EQ(exported.count("\r\n"), 4);
    EXPECT_FALSE(rig.acq().unsaved());
}

TEST(DocumentFiles, CancelWritesNothing) {
    Rig rig;
    rig.record({10, 20});
    EXPECT_FALSE(rig.frame->saveRecording());
    EXPECT_TRUE(rig.filesIn().isEmpty());
    EXPECT_TRUE(rig.messages.isEmpty());
}

TEST(DocumentFiles, AFailedSaveLeavesNoFileAndKeepsTheRecording) {
    Rig rig;
    rig.record({10, 20, 30});
    // A folder that is not there.
    rig.prompter->m_savePaths << rig.path("gone/run.DovDat");
    EXPECT_FALSE(rig.frame->saveRecording());
    ASSERT_EQ(rig.messages.size(), 1);
    EXPECT_TRUE(rig.messages[0].contains(rig.path("gone/run.DovDat")));

    // A full disk, played by a file-size limit smaller than the file.
    rig.messages.clear();
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 40;
    setrlimit(RLIMIT_FSIZE, &small);
    rig.prompter->m_savePaths << rig.path("full.DovDat");
    const bool saved = rig.frame->saveRecording();
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(saved) << QFileInfo(rig.path("full.DovDat")).size();
    ASSERT_EQ(rig.messages.size(), 1);
    EXPECT_TRUE(rig.messages[0].contains("full.DovDat")) << rig.messages[0].toStdString();
    EXPECT_TRUE(rig.filesIn().isEmpty()) << rig.filesIn().join(',').toStdString();
    EXPECT_EQ(rig.acq().store().recCount(), 3);
    EXPECT_TRUE(rig.acq().unsaved());
}

TEST(DocumentFiles, TheTwoFilesAreWrittenAsAPairOrNotAtAll) {
    Rig rig;
    rig.record({10, 20, 30});
    // The export cannot take its place (a folder holds its name) only after
    // the data file could have taken its own.
    ASSERT_TRUE(QDir(rig.dir.path()).mkdir("run.txt"));
    const QString text = rig.path("run.txt");
    {
        QFile old(rig.path("old.DovDat"));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    for (const QString& name : {QStringLiteral("new.DovDat"), QStringLiteral("old.DovDat")}) {
        rig.messages.clear();
        EXPECT_FALSE(rig.docFiles().writeFiles(rig.path(name), text));
        ASSERT_EQ(rig.messages.size(), 1) << name.toStdString();
        const QString& said = rig.messages[0];
        EXPECT_TRUE(said.contains(text)) << said.toStdString();
        EXPECT_TRUE(said.contains(rig.path(name) + " was not written")) << said.toStdString();
    }
    EXPECT_FALSE(QFile::exists(rig.path("new.DovDat")));
    EXPECT_EQ(readAll(rig.path("old.DovDat")), "old");
    EXPECT_EQ(rig.filesIn(), QStringList{"old.DovDat"});
    EXPECT_TRUE(rig.acq().unsaved());
}

TEST(DocumentFiles, OpenLoadsTheGraphAndListsMissingValues) {
    Rig rig;
    rig.record({253, 300});
    StoreTestAccess::recValue(rig.rec(), 1) = kNoValue;
    rig.prompter->m_savePaths << rig.path("a.DovDat");
    ASSERT_TRUE(rig.frame->saveRecording());
    QFile::setPermissions(rig.path("a.DovDat"), QFile::ReadOwner | QFile::ReadGroup);

    Rig other;
    other.record({1, 2, 3, 4});
    other.rec().markSaved();
    other.prompter->m_openPaths << rig.path("a.DovDat");
    ASSERT_TRUE(other.docFiles().open()) << other.messages.join('\n').toStdString();
    EXPECT_EQ(other.acq().store().graphCount(), 2);
    EXPECT_EQ(other.acq().store().recCount(), 4);
    EXPECT_EQ(other.acq().showing(), Showing::LoadedFile);
    ASSERT_EQ(other.rows(), 2);
    EXPECT_EQ(other.cell(0, 1), "25.3");
    EXPECT_EQ(other.cell(1, 1), "----");
    EXPECT_EQ(other.cell(1, 0), "2");

    // The first live frame afterwards starts a new recording.
    other.record({50});
    EXPECT_EQ(other.rows(), 1);
    EXPECT_EQ(other.acq().store().recCount(), 1);
}

TEST(DocumentFiles, ABadFileIsRefusedAndChangesNothing) {
    Rig rig;
    rig.record({11, 22});
    rig.rec().markSaved();
    QFile bad(rig.path("bad.DovDat"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray("\x05\x00\x00\x00\x00\x00\x80\x3f", 8)); // 5 samples promised, one value
    bad.close();
    rig.prompter->m_openPaths << rig.path("bad.DovDat");
    EXPECT_FALSE(rig.docFiles().open());
    ASSERT_EQ(rig.messages.size(), 1);
    EXPECT_TRUE(rig.messages[0].contains("bad.DovDat"));
    EXPECT_EQ(rig.acq().store().graphCount(), 2);
    EXPECT_EQ(rig.acq().showing(), Showing::Recording);
    EXPECT_EQ(rig.rows(), 2);
}

TEST(DocumentFiles, OpenOffersToSaveAnUnsavedRecordingFirst) {
    Rig rig; // answers Yes
    rig.record({11, 22});
    rig.prompter->m_openPaths << rig.path("whatever.DovDat");
    EXPECT_FALSE(rig.docFiles().open()); // the save dialog is cancelled: no Open
    EXPECT_EQ(rig.messages, QStringList{"Do you want to save? "});
    EXPECT_EQ(rig.prompter->m_openPaths.size(), 1);
    EXPECT_EQ(rig.acq().store().recCount(), 2);
}

TEST(DocumentFiles, AFullStoreIsKeptWhenTheWantedSaveDoesNotHappen) {
    Rig rig; // answers Yes, then the save dialog is cancelled
    rig.rec().setCapacity(3);
    rig.record({1, 2, 3});
    rig.messages.clear();
    rig.frame->OnOnOff();
    EXPECT_EQ(rig.messages.value(0), "Do you want to save? ");
    EXPECT_EQ(rig.acq().store().recCount(), 3);
    EXPECT_EQ(rig.rows(), 3);
    EXPECT_FALSE(rig.frame->line().isOpen());
}

TEST(ExportCsv, OffersBothKindsAndWritesTheRecordedSeries) {
    Rig rig;
    QAction* exportCsv = rig.frame->action(ID_EXPORT_CSV);
    EXPECT_FALSE(exportCsv->isEnabled());
    rig.record({253});
    rig.feed(celsiusFrame(12709, 0x64)); // logged, with its value
    EXPECT_TRUE(exportCsv->isEnabled());

    // The kind of the user's language comes first; the name is the time's
    // until the recording is saved, then the data file's.
    const struct {
        QLocale locale;
        int offered;
        int taken;
        const char* header;
        const char* value;
    } rows[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), 0, -1, "number,time,utc_offset,",
         ",25.3,C,0"},
        {QLocale(QLocale::German, QLocale::Germany), 1, -1, "number;time;utc_offset;", ";25,3;C;0"},
        {QLocale(QLocale::German, QLocale::Germany), 1, 0, "number,time,utc_offset,", ",25.3,C,0"},
    };
    const QLocale old;
    for (const auto& row : rows) {
        QLocale::setDefault(row.locale);
        rig.prompter->m_filterChoice = row.taken;
        rig.prompter->m_savePaths << rig.path("out.csv");
        exportCsv->trigger();
        QLocale::setDefault(old);
        EXPECT_EQ(rig.prompter->m_offeredFilter, row.offered);
        EXPECT_EQ(rig.prompter->m_filters, (QStringList{DocumentFiles::kCsvCommaFilter,
                                                        DocumentFiles::kCsvSemicolonFilter}));
        EXPECT_TRUE(QFileInfo(rig.prompter->m_proposed).fileName().endsWith(".csv"));
        const QList<QByteArray> lines = readAll(rig.path("out.csv")).split('\n');
        ASSERT_EQ(lines.size(), 4) << row.header;
        EXPECT_TRUE(lines[0].startsWith(row.header)) << lines[0].toStdString();
        EXPECT_TRUE(lines[1].endsWith(QByteArray(row.value) + "\r")) << lines[1].toStdString();
        EXPECT_TRUE(lines[2].endsWith("1\r")) << lines[2].toStdString(); // the log mark
    }
    // Readings that arrive while the dialog is open are written too, with
    // their log marks.
    rig.prompter->m_whileAsking = [&] { rig.feed(celsiusFrame(300, 0x64)); };
    rig.prompter->m_savePaths << rig.path("out.csv");
    exportCsv->trigger();
    rig.prompter->m_whileAsking = nullptr;
    EXPECT_TRUE(readAll(rig.path("out.csv")).endsWith(",30.0,C,1\r\n"));

    rig.prompter->m_savePaths << rig.path("run.DovDat");
    ASSERT_TRUE(rig.frame->saveRecording());
    exportCsv->trigger(); // cancelled
    EXPECT_EQ(rig.prompter->m_proposed, rig.path("run.csv"));
    EXPECT_TRUE(rig.messages.isEmpty()) << rig.messages.join('\n').toStdString();
}

TEST(FileDialogs, StartInTheLastFolderUsed) {
    Rig rig;
    rig.record({1, 2});
    ASSERT_TRUE(QDir(rig.dir.path()).mkdir("sub"));
    rig.prompter->m_savePaths << rig.path("sub/a.DovDat");
    ASSERT_TRUE(rig.frame->saveRecording());
    EXPECT_TRUE(readAll(rig.path("config/loggerconfig.ini"))
                    .contains("[FOLDERInfo]\nLastFolder=" + rig.path("sub").toUtf8()));
    // The next window, with the same configuration file.
    WindowRig next({.configPath = rig.path("config/loggerconfig.ini")});
    RecordingPrompter& asked = *next.prompter;
    next.record({3});
    next.frame->OnOpen();
    EXPECT_EQ(asked.m_openFolder, rig.path("sub"));
    next.frame->OnSave();
    EXPECT_EQ(QFileInfo(asked.m_proposed).path(), rig.path("sub"));
    // A folder that is gone: the current folder.
    ASSERT_TRUE(QDir(rig.path("sub")).removeRecursively());
    next.frame->OnOpen();
    EXPECT_EQ(asked.m_openFolder, QString());
}

TEST(CloseSequence, ClosingWritesTheSettings) {
    Rig rig;
    EXPECT_TRUE(rig.frame->confirmClose());
    EXPECT_TRUE(rig.messages.isEmpty());
    const QByteArray config = readAll(rig.path("config/loggerconfig.ini"));
    EXPECT_EQ(config, "[COMInfo]\nCOM num=3\n[SAMPRATEInfo]\nSAMPRATE=0\n[ALARMHIInfo]\n"
                      "ALARMHI=150\n[ALARMLOInfo]\nALARMLO=-50\n"
                      "[WINDOWInfo]\nWidth=859\nHeight=671\nMaximized=0\n");
}

// Clear All and the end of the program ask only while samples are not saved,
// and then always; a wanted save that does not happen keeps everything.
TEST(UnsavedSamples, AreNeverThrownAwayWithoutTheQuestion) {
    enum class Then { Nothing, Save, SaveAndRecord };
    enum class Answer { No, YesCancelled, YesSaved };
    const struct {
        int samples;
        Then then;
        Answer answer;
        bool asked;
        bool goes; // the recording is cleared, the window may close
    } rows[] = {
        {0, Then::Nothing, Answer::No, false, true},
        {1, Then::Nothing, Answer::No, true, true},
        {1, Then::Nothing, Answer::YesCancelled, true, false},
        {3, Then::Nothing, Answer::YesSaved, true, true},
        {3, Then::Save, Answer::No, false, true},
        {3, Then::SaveAndRecord, Answer::YesCancelled, true, false},
    };
    for (const auto& row : rows) {
        for (const bool clearAll : {true, false}) {
            const std::string what =
                std::to_string(row.samples) + " samples, case " + std::to_string(int(row.then)) +
                "/" + std::to_string(int(row.answer)) + (clearAll ? ", Clear All" : ", close");
            Rig rig(row.answer != Answer::No);
            for (int i = 0; i < row.samples; ++i)
                rig.record({100 + i});
            if (row.then != Then::Nothing) {
                rig.prompter->m_savePaths << rig.path("before.DovDat");
                ASSERT_TRUE(rig.frame->saveRecording()) << what;
            }
            if (row.then == Then::SaveAndRecord)
                rig.record({7});
            if (row.answer == Answer::YesSaved)
                rig.prompter->m_savePaths << rig.path("asked.DovDat");
            const int before = rig.acq().store().recCount();
            bool went = true;
            if (clearAll)
                rig.frame->action(ID_CLEAR_ALL)->trigger();
            else
                went = rig.frame->confirmClose();
            EXPECT_EQ(rig.messages.contains("Do you want to save? "), row.asked) << what;
            EXPECT_EQ(QFile::exists(rig.path("asked.DovDat")), row.answer == Answer::YesSaved)
                << what;
            if (clearAll) {
                EXPECT_EQ(rig.acq().store().recCount(), row.goes ? 0 : before) << what;
                EXPECT_EQ(rig.rows(), row.goes ? 0 : before) << what;
            } else {
                EXPECT_EQ(went, row.goes) << what;
            }
        }
    }
}

} // namespace
