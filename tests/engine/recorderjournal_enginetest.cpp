#include "engine/recorder.h"
#include "support/frames.h"
#include "support/journalfile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A recorder journalling into a file of its own.
struct JournalRig {
    QTemporaryDir dir;
    QString path = dir.path() + "/recording.journal";
    Recorder rec;
    int rows = 0;

    JournalRig() {
        rec.setClock([] { return std::int64_t{1'800'000'000}; });
        QObject::connect(&rec, &Recorder::rowAppended, &rec, [this] { ++rows; });
        auto journal = std::make_unique<RecordingJournal>();
        EXPECT_TRUE(journal->open(path.toStdString()));
        rec.setJournal(std::move(journal));
    }
    void feed(const QByteArray& bytes) {
        rec.receive(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                              static_cast<std::size_t>(bytes.size())));
    }
    JournalReading onDisk() const { return readJournalFile(path); }
    int journalled() const { return onDisk().recording.count(); }
};

TEST(RecorderJournal, EveryCommittedSampleIsJournalledBeforeTheNextRead) {
    JournalRig rig;
    rig.feed(celsiusFrame(111) + celsiusFrame(333) + celsiusFrame(222));
    JournalRecording r = rig.onDisk().recording;
    EXPECT_EQ(r.values, (std::vector<float>{11.1f, 33.3f, 22.2f}));
    EXPECT_EQ(r.graphCount, 3);
    EXPECT_FLOAT_EQ(r.runMax, 33.3f);
    EXPECT_FLOAT_EQ(r.runMin, 11.1f);

    // The interval timer's commit is journalled as well.
    rig.rec.selectSampleRate(1);
    rig.rec.overrideIntervalMs(30);
    rig.feed(celsiusFrame(50) + celsiusFrame(60));
    EXPECT_EQ(rig.journalled(), 3);
    QElapsedTimer clock;
    clock.start();
    while (rig.rows < 4 && clock.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    r = rig.onDisk().recording;
    ASSERT_EQ(r.count(), 4);
    EXPECT_FLOAT_EQ(r.values.back(), 6.0f);
    EXPECT_FLOAT_EQ(r.runMin, 5.0f);
}

TEST(RecorderJournal, RecordsReachTheDiskWithinASecondNotAtEveryWrite) {
    JournalRig rig;
    rig.feed(celsiusFrame(100));
    const RecordingJournal& journal = *rig.rec.journal();
    EXPECT_TRUE(journal.unsynced());
    QElapsedTimer clock;
    clock.start();
    while (journal.unsynced() && clock.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_FALSE(journal.unsynced());
    // The sync waits a second after the write (a coarse timer fires up to 5 %
    // early; the clock started just after the write).
    EXPECT_GE(clock.elapsed(), 900);
}

TEST(RecorderJournal, ClearScreenAndSaveAreMarked) {
    JournalRig rig;
    rig.feed(celsiusFrame(100) + celsiusFrame(200));
    rig.rec.clearScreen();
    EXPECT_EQ(rig.onDisk().recording.graphCount, 0);
    rig.feed(celsiusFrame(300));
    rig.rec.markSaved();
    const JournalRecording r = rig.onDisk().recording;
    EXPECT_EQ(r.count(), 3);
    EXPECT_EQ(r.graphCount, 1);
    EXPECT_EQ(r.savedCount, 3);
    EXPECT_FALSE(rig.rec.journal()->unsynced()); // Save waits for the disk
}

TEST(RecorderJournal, TheJournalIsEmptiedWithTheRecordedSeries) {
    JournalRig rig;
    rig.feed(celsiusFrame(100) + celsiusFrame(200));
    rig.rec.clearAll();
    EXPECT_EQ(rig.journalled(), 0);
    EXPECT_TRUE(rig.onDisk().read());

    // The reset at a full store.
    rig.rec.setCapacity(3);
    rig.feed(celsiusFrame(1) + celsiusFrame(2) + celsiusFrame(3));
    EXPECT_EQ(rig.journalled(), 3);
    ASSERT_TRUE(rig.rec.prepareOnOff().askToSave);
    rig.rec.resetStore();
    EXPECT_EQ(rig.journalled(), 0);

    // A loaded file leaves the journal alone; the first live frame after it
    // starts a new recording, and the journal with it.
    rig.feed(celsiusFrame(10) + celsiusFrame(20));
    rig.rec.loadGraph({1.0f}, {"C"}, {"12-07-26/09:00:00"});
    EXPECT_EQ(rig.journalled(), 2);
    rig.feed(celsiusFrame(30));
    const JournalRecording r = rig.onDisk().recording;
    EXPECT_EQ(r.values, (std::vector<float>{3.0f}));
}

} // namespace
