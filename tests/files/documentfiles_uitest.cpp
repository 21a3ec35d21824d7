#include "ui/base/cdtdoc.h"
#include "ui/window/cmainframe.h"
#include "ui/files/cdocumentfiles.h"
#include "ui/graph/cdtview.h"
#include "ui/panels/cdatalistpanel.h"
#include "support/frames.h"
#include "support/recordingprompter.h"
#include "support/storetestaccess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

// A main window with a scripted prompter and its own configuration folder.
struct Rig {
    QTemporaryDir dir;
    QStringList messages;
    RecordingPrompter* prompter = nullptr;
    std::unique_ptr<CMainFrame> frame;

    explicit Rig(bool answerYes = true) {
        CMainFrame::Startup startup;
        startup.configPath = (dir.path() + "/config/loggerconfig.ini").toStdString();
        frame = std::make_unique<CMainFrame>(startup);
        auto p = std::make_unique<RecordingPrompter>(&messages, answerYes);
        prompter = p.get();
        frame->setPrompter(std::move(p));
    }
    const Acquisition& acq() { return frame->m_pDoc->acq(); }
    Recorder& rec() { return frame->m_pDoc->m_recorder; }
    CDataListModel& list() { return *frame->m_pView->m_dlgList->model(); }
    CDocumentFiles& docFiles() { return *frame->m_files; }
    QString path(const QString& name) const { return dir.path() + "/" + name; }

    // Feeds readings as the serial component would hand them over.
    void record(std::initializer_list<int> tenths) {
        for (int c : tenths) {
            frame->m_Comm.unread(celsiusFrame(c));
            frame->OnComm();
        }
    }
    QStringList filesIn(const QString& sub = QString()) const {
        return QDir(dir.path() + sub).entryList(QDir::Files | QDir::Hidden);
    }
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
    EXPECT_EQ(other.acq().resetOnNextFrame(), 1);
    ASSERT_EQ(other.list().rowCount(), 2);
    EXPECT_EQ(other.list().rowAt(0)[1], "25.3");
    EXPECT_EQ(other.list().rowAt(1)[1], "----");
    EXPECT_EQ(other.list().rowAt(1)[0], "2");

    // The first live frame afterwards starts a new recording.
    other.record({50});
    EXPECT_EQ(other.list().rowCount(), 1);
    EXPECT_EQ(other.acq().store().recCount(), 1);
}

TEST(DocumentFiles, CtrlOListsTheFileItLoads) {
    Rig rig;
    rig.record({253, 300});
    rig.prompter->m_savePaths << rig.path("a.DovDat");
    ASSERT_TRUE(rig.frame->saveRecording());

    Rig other;
    other.record({1, 2, 3, 4});
    other.prompter->m_openPaths << rig.path("a.DovDat");
    ASSERT_TRUE(other.docFiles().openDocument());
    ASSERT_EQ(other.list().rowCount(), 2);
    EXPECT_EQ(other.list().rowAt(0)[1], "25.3");
    EXPECT_EQ(other.list().rowAt(1)[1], "30.0");
    EXPECT_EQ(other.docFiles().documentPath(), rig.path("a.DovDat"));
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
    EXPECT_EQ(rig.acq().resetOnNextFrame(), 0);
    EXPECT_EQ(rig.list().rowCount(), 2);
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
    EXPECT_EQ(rig.list().rowCount(), 3);
    EXPECT_FALSE(rig.frame->m_Comm.portOpen());
}

TEST(CloseSequence, AsksToSaveFromTwoSamplesAndStaysOpenWhenTheSaveFails) {
    {
        Rig rig;
        rig.record({1});
        EXPECT_TRUE(rig.frame->confirmClose());
        EXPECT_TRUE(rig.messages.isEmpty());
        const QByteArray config = readAll(rig.path("config/loggerconfig.ini"));
        EXPECT_EQ(config, "[COMInfo]\nCOM num=3\n[SAMPRATEInfo]\nSAMPRATE=0\n[ALARMHIInfo]\n"
                          "ALARMHI=150\n[ALARMLOInfo]\nALARMLO=-50\n");
    }
    {
        Rig rig;
        rig.record({1, 2});
        EXPECT_FALSE(rig.frame->confirmClose()); // Yes, then the dialog is cancelled
        EXPECT_EQ(rig.messages, QStringList{"Do you want to save? "});
    }
    {
        Rig rig(false);
        rig.record({1, 2});
        EXPECT_TRUE(rig.frame->confirmClose());
    }
}

} // namespace
