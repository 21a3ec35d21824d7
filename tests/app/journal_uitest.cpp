#include "support/journalfile.h"
#include "support/windowrig.h"
#include "ui/window/commandids.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QRegularExpression>

#include <csignal>
#include <sys/resource.h>

namespace {

// While it lives, no file may grow beyond `bytes` (a full disk, even for root).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        m_set = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool set() const { return m_set; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = SIG_DFL;
    bool m_set = false;
};

// A window that journals at `journal`, recorded 12.0, 30.0, Clear Screen, 5.0,
// 20.0, and went away without the close sequence (as a crash leaves it).
void recordAndCrash(const QString& journal) {
    WindowRig rig;
    rig.frame->openJournal(journal.toStdString());
    rig.record({120, 300});
    rig.frame->OnClearScreen();
    rig.record({50, 200});
    ASSERT_EQ(readJournalFile(journal).recording.count(), 4);
}

TEST(JournalWindow, YesAtStartUpRestoresTheUnsavedRecording) {
    QTemporaryDir state;
    const QString journal = state.path() + "/Orvane/recording.journal";
    recordAndCrash(journal);

    WindowRig rig({.answerYes = true});
    rig.frame->openJournal(journal.toStdString());
    ASSERT_EQ(rig.messages.size(), 1);
    EXPECT_TRUE(rig.messages[0].startsWith("An unsaved recording of 4 samples ("))
        << rig.messages[0].toStdString();
    EXPECT_TRUE(rig.messages[0].endsWith(") was found. Restore it?"));

    const SampleStore& s = rig.acq().store();
    ASSERT_EQ(s.recCount(), 4);
    EXPECT_EQ(std::vector<float>(s.recData().begin(), s.recData().begin() + 4),
              (std::vector<float>{12.0f, 30.0f, 5.0f, 20.0f}));
    EXPECT_EQ(s.graphCount(), 2); // the part after Clear Screen
    EXPECT_EQ(rig.rows(), 4);
    EXPECT_EQ(rig.cell(3, 1), "20.0");
    rig.expectListMatchesStore();
    EXPECT_EQ(rig.acq().panel().m_strMax, "30.0");
    EXPECT_EQ(rig.acq().panel().m_strMin, "5.0");
    EXPECT_TRUE(rig.acq().unsaved());
    EXPECT_TRUE(rig.frame->action(ID_SAVE)->isEnabled());

    // Recording goes on after the restored samples, and the journal with it.
    rig.record({400});
    EXPECT_EQ(s.recCount(), 5);
    EXPECT_EQ(rig.acq().panel().m_strMax, "40.0");
    EXPECT_EQ(readJournalFile(journal).recording.count(), 5);

    // A data file named on the command line would empty it at the next frame:
    // it is offered for saving first, as Open does.
    const QString kept = rig.path("kept.DovDat");
    rig.prompter->m_savePaths = {kept};
    EXPECT_TRUE(rig.frame->openFile(kept));
    EXPECT_EQ(rig.messages.value(1).toStdString(), "Do you want to save? ");
    EXPECT_EQ(readJournalFile(journal).recording.savedCount, 5);
}

TEST(JournalWindow, RestoredRowsReadAsTheLiveListShowedThem) {
    QTemporaryDir state;
    const QString journal = state.path() + "/Orvane/recording.journal";
    QStringList live;
    {
        WindowRig rig;
        rig.frame->openJournal(journal.toStdString());
        // A plain 3000.0, a logged reading with its value and one without.
        for (const QByteArray& frame :
             {celsiusFrame(30000), celsiusFrame(253, 0x64), celsiusFrame(0, 0x44)}) {
            rig.feed(frame);
        }
        for (int i = 0; i < rig.rows(); ++i)
            live << rig.cell(i, 1);
    }
    ASSERT_EQ(live, (QStringList{"3000.0", "25.3log", "----log"}));
    WindowRig rig({.answerYes = true});
    rig.frame->openJournal(journal.toStdString());
    QStringList restored;
    for (int i = 0; i < rig.rows(); ++i)
        restored << rig.cell(i, 1);
    EXPECT_EQ(restored, live);
}

TEST(JournalWindow, TheQuestionCountsOnlyTheSamplesNotSaved) {
    for (const int after : {1, 2}) {
        QTemporaryDir state;
        const QString journal = state.path() + "/Orvane/recording.journal";
        {
            WindowRig rig;
            rig.frame->openJournal(journal.toStdString());
            rig.record({120, 300, 310});
            rig.prompter->m_savePaths << rig.path("saved.DovDat");
            ASSERT_TRUE(rig.frame->saveRecording());
            for (int i = 0; i < after; ++i)
                rig.record({50 + i});
        }
        const JournalRecording found = readJournalFile(journal).recording;
        ASSERT_EQ(found.count(), 3 + after);
        WindowRig rig;
        rig.frame->openJournal(journal.toStdString());
        ASSERT_EQ(rig.messages.size(), 1);
        const QString expected =
            QStringLiteral("An unsaved recording of %1 (%2 \u2013 %3) was found. Restore it?")
                .arg(after == 1 ? "1 sample" : "2 samples")
                .arg(QString::fromStdString(found.timeTexts[3]),
                     QString::fromStdString(found.timeTexts.back()));
        EXPECT_EQ(rig.messages[0], expected);
    }
}

TEST(JournalWindow, NoAtStartUpSetsTheJournalAsideAndStartsEmpty) {
    QTemporaryDir state;
    const QString journal = state.path() + "/Orvane/recording.journal";
    recordAndCrash(journal);

    WindowRig rig({.answerYes = false});
    rig.frame->openJournal(journal.toStdString());
    ASSERT_EQ(rig.messages.size(), 1);
    EXPECT_EQ(rig.acq().store().recCount(), 0);
    EXPECT_EQ(rig.rows(), 0);
    EXPECT_FALSE(rig.frame->action(ID_SAVE)->isEnabled());

    const QStringList files = QDir(state.path() + "/Orvane").entryList(QDir::Files);
    ASSERT_EQ(files.size(), 2) << files.join(' ').toStdString();
    const QString aside =
        files.filter(QRegularExpression("^recording-\\d{8}-\\d{6}\\.journal$")).value(0);
    ASSERT_FALSE(aside.isEmpty()) << files.join(' ').toStdString();
    EXPECT_EQ(readJournalFile(state.path() + "/Orvane/" + aside).recording.count(), 4);
    EXPECT_TRUE(readJournalFile(journal).recording.empty());

    // The fresh journal takes the new recording; nothing is asked next time.
    rig.record({77});
    EXPECT_EQ(readJournalFile(journal).recording.count(), 1);
}

TEST(JournalWindow, EveryUnsavedJournalIsOfferedOneAfterTheOther) {
    QTemporaryDir state;
    const QString journal = state.path() + "/Orvane/recording.journal";
    const QString second = state.path() + "/Orvane/recording-2.journal";
    recordAndCrash(journal);
    recordAndCrash(second);
    WindowRig rig({.answerYes = false});
    rig.frame->openJournal(journal.toStdString());
    EXPECT_EQ(rig.messages.size(), 2);
    // Both set aside; the first one journals this run.
    rig.record({10});
    EXPECT_EQ(readJournalFile(journal).recording.count(), 1);
    EXPECT_TRUE(readJournalFile(second).recording.empty());
}

// The journal cannot be opened, or stops being writable: the message line says
// so and the recording goes on in memory.
TEST(JournalWindow, AJournalThatCannotBeWrittenIsToldOnTheMessageLine) {
    QTemporaryDir state;
    QFile file(state.path() + "/state");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    {
        WindowRig rig;
        rig.frame->openJournal((state.path() + "/state/Orvane/recording.journal").toStdString());
        const QString text = rig.frame->messageLine().text(MessageTopic::Journal);
        EXPECT_TRUE(text.startsWith("No recording journal (")) << text.toStdString();
        EXPECT_TRUE(text.contains("Not a directory")) << text.toStdString();
        EXPECT_TRUE(rig.messages.isEmpty());
        rig.record({100});
        EXPECT_EQ(rig.rows(), 1);
    }

    WindowRig rig;
    const QString journal = state.path() + "/Orvane/recording.journal";
    rig.frame->openJournal(journal.toStdString());
    rig.record({100});
    EXPECT_TRUE(rig.frame->messageLine().isEmpty());
    {
        const FileSizeLimit full(static_cast<rlim_t>(QFileInfo(journal).size()));
        ASSERT_TRUE(full.set());
        rig.record({200});
    }
    const QString text = rig.frame->messageLine().text(MessageTopic::Journal);
    EXPECT_TRUE(text.startsWith("The recording journal cannot be written: ")) << text.toStdString();
    EXPECT_TRUE(text.endsWith("Recording goes on in memory.")) << text.toStdString();
    rig.record({300});
    EXPECT_EQ(rig.rows(), 3);
    EXPECT_EQ(readJournalFile(journal).recording.count(), 1);
    EXPECT_TRUE(rig.messages.isEmpty());
}

// Restoring a journal whose tail was cut keeps a copy of the whole file before
// the tail goes; when that copy cannot be written, the message line says so at once.
TEST(JournalWindow, AJournalThatCannotBeRepairedIsToldAtStartUp) {
    QTemporaryDir state;
    const QString journal = state.path() + "/Orvane/recording.journal";
    recordAndCrash(journal);
    QFile file(journal);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("\x01\x20", 2); // a record cut by the crash
    file.close();

    WindowRig rig({.answerYes = true});
    {
        const FileSizeLimit full(0);
        ASSERT_TRUE(full.set());
        rig.frame->openJournal(journal.toStdString());
    }
    EXPECT_EQ(rig.acq().store().recCount(), 4);
    // The question said what the damage cost.
    EXPECT_TRUE(rig.messages[0].endsWith("Restore it?\n\nThe journal is damaged: 2 bytes of it "
                                         "were left out; every whole record before and after "
                                         "them was kept."))
        << rig.messages[0].toStdString();
    const QString text = rig.frame->messageLine().text(MessageTopic::Journal);
    EXPECT_TRUE(text.startsWith("The recording journal cannot be written: Cannot write"))
        << text.toStdString();
}

} // namespace
