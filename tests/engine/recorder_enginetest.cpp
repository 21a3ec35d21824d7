#include "engine/recorder.h"
#include "support/frames.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A recorder with its reports collected.
struct Rig {
    Recorder rec;
    std::vector<std::string> rows; // "number value unit"
    int cleared = 0;
    int full = 0;
    int changed = 0;

    Rig() {
        rec.setClock([] { return std::int64_t{1'800'000'000}; });
        QObject::connect(&rec, &Recorder::rowAppended, &rec, [this](const ListRow& r) {
            rows.push_back(r.number + " " + r.value + " " + r.unit);
        });
        QObject::connect(&rec, &Recorder::listCleared, &rec, [this] { ++cleared; });
        QObject::connect(&rec, &Recorder::storeFull, &rec, [this] { ++full; });
        QObject::connect(&rec, &Recorder::recordingChanged, &rec, [this] { ++changed; });
    }
    void feed(const QByteArray& bytes) {
        rec.receive(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                              static_cast<std::size_t>(bytes.size())));
    }
};

QByteArray threeFrames() {
    return celsiusFrame(111) + celsiusFrame(222) + celsiusFrame(333);
}

TEST(Recorder, EveryDeliveryOfTheLineGivesTheSameRows) {
    struct Row {
        const char* name;
        QByteArray line;
        int piece; // bytes per receive() (0: all at once)
    };
    const QByteArray noise("\x5A\x10\x01\x02", 4);
    const Row deliveries[] = {
        {"all at once", threeFrames(), 0},
        {"4-byte pieces", threeFrames(), 4},
        {"byte by byte", threeFrames(), 1},
        {"13-byte pieces", threeFrames(), 13},
        {"noise and a cut frame first", noise + celsiusFrame(999).mid(6) + threeFrames(), 5},
    };
    for (const Row& d : deliveries) {
        Rig rig;
        const int piece = d.piece ? d.piece : int(d.line.size());
        for (qsizetype at = 0; at < d.line.size(); at += piece) {
            rig.feed(d.line.mid(at, piece));
            ASSERT_GE(rig.rec.bytesWanted(), 1) << d.name;
            ASSERT_LE(rig.rec.bytesWanted(), 14) << d.name;
        }
        EXPECT_EQ(rig.rows, (std::vector<std::string>{"1 11.1 C", "2 22.2 C", "3 33.3 C"}))
            << d.name;
        EXPECT_EQ(rig.rec.bytesWanted(), 14) << d.name;
    }

    // The threshold the serial component waits for: the rest of the frame.
    Rig rig;
    rig.feed(celsiusFrame(1).left(5));
    EXPECT_EQ(rig.rec.bytesWanted(), 9);
    rig.rec.discardBuffered(); // the port opened: earlier bytes are not this run's
    EXPECT_EQ(rig.rec.bytesWanted(), 14);
    rig.feed(celsiusFrame(1).mid(5) + celsiusFrame(2));
    EXPECT_EQ(rig.rows, (std::vector<std::string>{"1 0.2 C"}));
}

TEST(Recorder, TheIntervalTimerCommitsTheLastReadingOfEachInterval) {
    Rig rig;
    rig.rec.selectSampleRate(1);
    EXPECT_EQ(rig.rec.commitTimerMs(), 2000);
    rig.rec.overrideIntervalMs(30);
    EXPECT_EQ(rig.rec.commitTimerMs(), 30);
    rig.feed(celsiusFrame(100) + celsiusFrame(200));
    EXPECT_TRUE(rig.rows.empty());
    QElapsedTimer clock;
    clock.start();
    while (rig.rows.empty() && clock.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_EQ(rig.rows, (std::vector<std::string>{"1 20.0 C"}));
    EXPECT_GE(rig.changed, 1); // the commands learn of the timer's commit

    // "Auto" keeps the timer's period but nothing waits for it any more.
    rig.rec.selectSampleRate(0);
    EXPECT_EQ(rig.rec.commitTimerMs(), 30);
    rig.feed(celsiusFrame(300));
    EXPECT_EQ(rig.rows.size(), 2u);
}

TEST(Recorder, AFullStoreStopsTheReadAndSaysSoOnce) {
    Rig rig;
    rig.rec.setCapacity(3);
    rig.feed(threeFrames() + celsiusFrame(444) + celsiusFrame(555).left(4));
    EXPECT_EQ(rig.rows.size(), 3u);
    EXPECT_EQ(rig.full, 1);
    EXPECT_EQ(rig.rec.bytesWanted(), 14); // the line closes with nothing kept

    EXPECT_TRUE(rig.rec.prepareOnOff().askToSave);
    rig.rec.resetStore();
    EXPECT_EQ(rig.cleared, 1);
    rig.feed(celsiusFrame(666));
    EXPECT_EQ(rig.rows.back(), "1 66.6 C");
}

TEST(Recorder, AChainOfFilesLosesNoFrameAtItsBoundaries) {
    QByteArray line;
    for (int i = 1; i <= 10; ++i)
        line += celsiusFrame(i * 10);
    for (const int piece : {0, 4, 14, 33}) {
        Rig rig;
        rig.rec.setCapacity(3);
        rig.rec.setContinueIntoNextFile(true);
        std::vector<std::vector<float>> files;
        bool writable = piece != 33; // 33: the first write fails and is tried again
        QObject::connect(&rig.rec, &Recorder::storeFull, &rig.rec, [&] {
            if (!writable) {
                writable = true;
                return;
            }
            const SampleStore& s = rig.rec.store();
            files.emplace_back(s.recData().begin(), s.recData().begin() + s.recCount());
            rig.rec.startNextFile();
        });
        const qsizetype step = piece ? piece : line.size();
        for (qsizetype at = 0; at < line.size(); at += step)
            rig.feed(line.mid(at, step));
        ASSERT_EQ(files.size(), 3u) << piece;
        EXPECT_EQ(files[2], (std::vector<float>{7, 8, 9})) << piece;
        EXPECT_EQ(rig.rows.back(), "1 10.0 C") << piece;
        EXPECT_EQ(rig.rows.size(), 10u) << piece;
    }

    // An interval commit that fills the store says so at once.
    Rig rig;
    rig.rec.setCapacity(1);
    rig.rec.setContinueIntoNextFile(true);
    rig.rec.selectSampleRate(1);
    rig.feed(celsiusFrame(100));
    rig.rec.commitPending();
    EXPECT_EQ(rig.full, 1);
}

} // namespace
