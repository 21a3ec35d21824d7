#include "core/store/acquisition.h"
#include "core/store/samplerate.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes kEms253 = {0x10, 0x20, 0x35, 0x4F, 0x5F, 0x6D, 0x70, 0x80, 0x90, 0xA4, 0, 0, 0, 0};
const Bytes kMaxMinus35 = {0x10, 0x21, 0x36, 0x44, 0x52, 0x63, 0x70, 0x80, 0x90, 0xA5, 0, 0, 0, 0};
const Bytes kLog12709 = {0x10, 0x28, 0x35, 0x4F, 0x5A, 0x65, 0x73, 0x81, 0x96, 0xA4, 0, 0, 0, 0};

// A Celsius EMS frame carrying `count` tenths of a degree, with flag byte `flags`.
Bytes frame(int count, std::uint8_t flags = 0x04) {
    const int r = count;
    return {0x10,
            0x20,
            0x35,
            0x4F,
            static_cast<std::uint8_t>(0x50 + ((r >> 4) & 0xF)),
            static_cast<std::uint8_t>(0x60 + (r & 0xF)),
            static_cast<std::uint8_t>(0x70 + ((r >> 12) & 0xF)),
            static_cast<std::uint8_t>(0x80 + ((r >> 8) & 0xF)),
            static_cast<std::uint8_t>(0x90 + (flags >> 4)),
            static_cast<std::uint8_t>(0xA0 + (flags & 0xF)),
            0xB0,
            0xC0,
            0xD0,
            0xE0};
}

constexpr std::int64_t kNow = 1'800'000'000; // after 2038's 32-bit limit on purpose

TEST(Acquisition, ExampleFramesSetTextsValuesAndRegions) {
    Acquisition a;
    auto out = a.onBlock(kEms253, kNow);
    EXPECT_TRUE(out.decoded);
    EXPECT_EQ(a.panel().m_strMode, "EMS");
    EXPECT_EQ(a.panel().m_strEmissivity, "0.95");
    EXPECT_EQ(a.panel().m_strValue, "25.3");
    EXPECT_EQ(a.unit(), "C");
    EXPECT_FALSE(a.negative());
    EXPECT_FALSE(a.locked());
    EXPECT_FLOAT_EQ(a.store().recData()[0], 25.3f);
    EXPECT_EQ(out.regions, unsigned(RegionBlink | RegionMode | RegionEmissivity | RegionValue |
                                    RegionMax | RegionMin | RegionUnit));
    ASSERT_EQ(out.rows.size(), 1u);
    EXPECT_EQ(out.rows.front().index, 0);
    EXPECT_EQ(out.rows.front().number, "1");
    EXPECT_EQ(out.rows.front().value, "25.3");
    EXPECT_EQ(out.rows.front().unit, "C");
    EXPECT_EQ(out.rows.front().time, formatTimeText(kNow));
    EXPECT_EQ(a.store().recTime()[0], kNow);
    EXPECT_EQ(formatTimeText(kNow).size(), 17u);

    out = a.onBlock(kMaxMinus35, kNow);
    EXPECT_EQ(a.panel().m_strMode, "MAX");
    EXPECT_EQ(a.panel().m_strEmissivity, "1.00");
    EXPECT_EQ(a.panel().m_strValue, "-3.5");
    EXPECT_TRUE(a.negative());
    EXPECT_FLOAT_EQ(a.store().graphData()[1], -3.5f);
    EXPECT_FLOAT_EQ(a.store().recData()[1], -3.5f);
    EXPECT_EQ(a.panel().m_strMax, "25.3");
    EXPECT_EQ(a.panel().m_strMin, "-3.5");
    EXPECT_FALSE(out.regions & RegionMax);
    EXPECT_TRUE(out.regions & RegionMin);

    out = a.onBlock(kLog12709, kNow);
    EXPECT_EQ(a.panel().m_strValue, "1270.9");
    ASSERT_EQ(out.rows.size(), 1u);
    EXPECT_EQ(out.rows.front().value, "1270.9log");
    EXPECT_EQ(a.store().recCount(), 3);
}

TEST(Acquisition, ModeBytesOutsideTheTableKeepTheKeyword) {
    Acquisition a;
    a.onBlock(kEms253, kNow);
    for (std::uint8_t mode : {0x29, 0x1F}) {
        Bytes b = kEms253;
        b[1] = mode;
        const auto out = a.onBlock(b, kNow);
        EXPECT_EQ(a.panel().m_strMode, "EMS");
        EXPECT_FALSE(out.regions & RegionMode);
        EXPECT_EQ(a.panel().m_strValue, "25.3");
    }
}

TEST(Acquisition, BlocksNotStartingWithAFrameChangeNothing) {
    Acquisition a;
    Bytes b = kEms253;
    b[0] = 0x11;
    const auto out = a.onBlock(b, kNow);
    EXPECT_FALSE(out.decoded);
    EXPECT_TRUE(out.rows.empty());
    EXPECT_FALSE(out.updateViews);
    EXPECT_EQ(a.panel().m_strValue, "");
    EXPECT_FALSE(a.blink());
}

TEST(Acquisition, EqualValuesRepaintOnlyTheIndicator) {
    Acquisition a;
    a.onBlock(kEms253, kNow);
    const auto out = a.onBlock(kEms253, kNow);
    EXPECT_EQ(out.regions, unsigned(RegionBlink));
    EXPECT_FALSE(a.blink()); // two frames: on, then off again
}

TEST(Acquisition, LogFrameWithoutValueStoresTheNoValueMark) {
    Acquisition a;
    Bytes b = kLog12709;
    b[8] = 0x94; // flags 0x44: log frame, no value, Celsius
    b[9] = 0xA4;
    const auto out = a.onBlock(b, kNow);
    EXPECT_FLOAT_EQ(a.store().recData()[0], kNoValue);
    EXPECT_FLOAT_EQ(a.store().graphData()[0], kNoValue);
    ASSERT_EQ(out.rows.size(), 1u);
    EXPECT_EQ(out.rows.front().value, "----log");
    EXPECT_EQ(a.panel().m_strValue, "1270.9");
    EXPECT_EQ(a.panel().m_strMax, "1270.9");
}

TEST(Acquisition, IntervalModeKeepsTheLatestReadingUntilTheTimer) {
    Acquisition a;
    a.selectSampleRate(3); // 10s
    EXPECT_EQ(a.sampleMs(), 10000);
    EXPECT_TRUE(a.restartTimer());
    for (int c : {100, 200, 300}) {
        const auto out = a.onBlock(frame(c), kNow + c);
        EXPECT_TRUE(out.rows.empty());
        EXPECT_TRUE(a.readingPending());
    }
    EXPECT_EQ(a.store().recCount(), 0);
    auto row = a.onCommitTimer();
    ASSERT_TRUE(row);
    EXPECT_EQ(row->number, "1");
    EXPECT_EQ(row->value, "30.0");
    EXPECT_EQ(row->time, formatTimeText(kNow + 300));
    EXPECT_FALSE(a.onCommitTimer()); // an interval without a frame commits nothing

    // A log frame is committed at once and leaves nothing for the timer.
    a.onBlock(frame(400), kNow);
    const auto out = a.onBlock(kLog12709, kNow);
    ASSERT_EQ(out.rows.size(), 1u);
    EXPECT_EQ(out.rows.front().number, "2");
    EXPECT_FALSE(a.readingPending());
    EXPECT_FALSE(a.onCommitTimer());
}

TEST(Acquisition, SwitchingToAutoDropsThePendingReading) {
    Acquisition a;
    a.selectSampleRate(3);
    a.timerRestarted();
    a.onBlock(frame(100), kNow);
    EXPECT_FALSE(a.selectSampleRate(0));
    EXPECT_FALSE(a.readingPending());
    EXPECT_EQ(a.sampleMs(), 10000); // the timer keeps its period
    EXPECT_FALSE(a.restartTimer());
    EXPECT_FALSE(a.onCommitTimer());
    EXPECT_EQ(a.onBlock(frame(100), kNow).rows.size(), 1u);
}

TEST(Acquisition, OnOffTakesTheStartupSelectionUntilTheUserChooses) {
    Acquisition a;
    a.setStartupSampleRate(3);
    EXPECT_EQ(a.sampleMs(), 10000);
    auto plan = a.prepareOnOff();
    EXPECT_EQ(a.sampleRateSel(), 3);
    EXPECT_TRUE(plan.updateViews);
    EXPECT_FALSE(plan.askToSave);

    a.selectSampleRate(0);
    a.prepareOnOff();
    EXPECT_EQ(a.sampleRateSel(), 0);
}

TEST(Acquisition, StartupSelectionsOutsideTheTableRecordEveryReading) {
    for (int stored : {12, -1}) {
        Acquisition a;
        a.setStartupSampleRate(stored);
        EXPECT_EQ(a.sampleMs(), 0);
        a.prepareOnOff();
        EXPECT_TRUE(a.onBlock(frame(100), kNow).rows.size()) << stored;
    }
}

TEST(Acquisition, TheStoreStopsAtItsLimit) {
    Acquisition a;
    for (int i = 1; i < MAX_DATA; ++i)
        ASSERT_FALSE(a.onBlock(frame(i % 1000), kNow).storeFull);
    auto out = a.onBlock(frame(777), kNow);
    ASSERT_EQ(out.rows.size(), 1u);
    EXPECT_EQ(out.rows.front().number, "4000");
    EXPECT_TRUE(out.storeFull);

    // A further frame overwrites slot 4000; nothing moves and nothing is listed.
    out = a.onBlock(frame(555), kNow + 1);
    EXPECT_TRUE(out.storeFull);
    EXPECT_TRUE(out.rows.empty());
    EXPECT_EQ(a.store().recCount(), MAX_DATA);
    EXPECT_EQ(a.store().graphCount(), MAX_DATA);
    EXPECT_FLOAT_EQ(a.store().recData()[MAX_DATA], 55.5f);
    EXPECT_FLOAT_EQ(a.store().recData()[MAX_DATA - 1], 77.7f);

    // Interval mode: no reading is left pending at a full store.
    a.selectSampleRate(1);
    a.onBlock(frame(1), kNow);
    EXPECT_FALSE(a.readingPending());

    EXPECT_TRUE(a.prepareOnOff().askToSave);
    a.resetStore();
    EXPECT_EQ(a.store().recCount(), 0);
    EXPECT_FALSE(a.prepareOnOff().askToSave);
}

TEST(Acquisition, ClearScreenRestartsOnlyTheGraph) {
    Acquisition a;
    for (int i = 0; i < 100; ++i)
        a.onBlock(frame(i), kNow);
    a.clearScreen();
    const auto out = a.onBlock(frame(123), kNow);
    EXPECT_EQ(a.store().graphCount(), 1);
    EXPECT_EQ(a.store().recCount(), 101);
    EXPECT_FLOAT_EQ(a.store().graphData()[0], 12.3f);
    EXPECT_FLOAT_EQ(a.store().recData()[100], 12.3f);
    EXPECT_EQ(out.rows.front().number, "101");
}

TEST(Acquisition, ClearAllBlanksThePanelAndRestartsTheExtremes) {
    Acquisition a;
    a.onBlock(frame(900), kNow);
    a.onBlock(frame(100), kNow);
    a.clearAll();
    EXPECT_EQ(a.store().recCount(), 0);
    EXPECT_EQ(a.panel().m_strValue, "        ");
    EXPECT_EQ(a.unit(), "        ");
    EXPECT_EQ(a.panel().m_strMax, "         ");
    a.onBlock(frame(500), kNow);
    EXPECT_EQ(a.panel().m_strMax, "50.0");
    EXPECT_EQ(a.panel().m_strMin, "50.0");
}

TEST(Acquisition, TheFirstFrameAfterALoadEmptiesTheStore) {
    Acquisition a;
    a.onBlock(frame(900), kNow);
    a.onBlock(frame(100), kNow);
    a.loadGraph({1.0f, 2.0f, 3.0f}, {"C", "C", "C"}, {"a", "b", "c"});
    EXPECT_EQ(a.store().graphCount(), 3);
    EXPECT_EQ(a.store().recCount(), 2);
    const auto out = a.onBlock(frame(300), kNow);
    EXPECT_TRUE(out.clearList);
    EXPECT_EQ(a.store().recCount(), 1);
    EXPECT_EQ(a.store().graphCount(), 1);
    EXPECT_EQ(out.rows.front().number, "1");
    EXPECT_EQ(a.panel().m_strMax, "30.0"); // extremes restart with the empty store
    EXPECT_FALSE(a.onBlock(frame(300), kNow).clearList);
}

// The store says each sample's log mark: kept while a loaded file only shows,
// brought back by a restore, not known once the file becomes the recording.
TEST(Acquisition, TheStoreKeepsEachSamplesLogMark) {
    const std::vector<std::optional<LogMark>> live = {LogMark::None, LogMark::WithValue,
                                                      LogMark::WithoutValue};
    const auto marks = [](const Acquisition& a) {
        const auto& all = a.store().recLog();
        return std::vector(all.begin(), all.begin() + a.store().recCount());
    };
    Acquisition a;
    a.onBlock(frame(100), kNow);
    a.onBlock(frame(200, 0x64), kNow); // logged, with its value
    a.onBlock(frame(300, 0x44), kNow); // logged, without one
    EXPECT_EQ(marks(a), live);
    a.loadGraph({1.0f, 2.0f}, {"C", "C"}, {"a", "b"});
    EXPECT_EQ(a.showing(), Showing::LoadedFile);
    EXPECT_EQ(marks(a), live);
    a.adoptLoadedSeries();
    EXPECT_EQ(marks(a), std::vector<std::optional<LogMark>>(2));

    Acquisition restored;
    RecordingSnapshot snapshot;
    snapshot.values = {1, 2};
    snapshot.units = {"C", "C"};
    snapshot.times = {kNow, kNow};
    snapshot.timeTexts = {"a", "b"};
    snapshot.logs = {LogMark::WithValue, LogMark::None};
    restored.restore(snapshot);
    EXPECT_EQ(marks(restored),
              (std::vector<std::optional<LogMark>>{LogMark::WithValue, LogMark::None}));
}

TEST(Acquisition, ClearAllAndALoadDropTheWaitingReading) {
    const std::function<void(Acquisition&)> drops[] = {
        [](Acquisition& a) { a.clearAll(); },
        [](Acquisition& a) {
            a.loadGraph({1.0f, 2.0f}, {"C", "C"}, {"a", "b"});
        },
    };
    for (const auto& drop : drops) {
        Acquisition a;
        a.selectSampleRate(3);
        a.onBlock(frame(250), kNow);
        ASSERT_TRUE(a.readingPending());
        drop(a);
        const int graphCount = a.store().graphCount();
        EXPECT_FALSE(a.onCommitTimer());
        EXPECT_EQ(a.store().recCount(), 0);
        EXPECT_EQ(a.store().graphCount(), graphCount);
        EXPECT_FALSE(a.unsaved());
    }
}

TEST(Acquisition, TheTimerCommitsTheWaitingReadingAsItCame) {
    Acquisition a;
    a.onBlock(frame(100), kNow); // Auto: one row
    a.selectSampleRate(3);
    a.onBlock(frame(250, 0x00), kNow + 5); // Fahrenheit
    a.clearScreen();
    const auto row = a.onCommitTimer();
    ASSERT_TRUE(row);
    EXPECT_EQ(row->number, "2");
    EXPECT_EQ(row->value, "25.0");
    EXPECT_EQ(row->unit, "F");
    EXPECT_EQ(row->time, formatTimeText(kNow + 5));
    const SampleStore& s = a.store();
    EXPECT_EQ(s.graphCount(), 1);
    EXPECT_FLOAT_EQ(s.graphData()[0], 25.0f);
    EXPECT_EQ(s.graphUnit()[0], "F");
    EXPECT_EQ(s.graphTime()[0], formatTimeText(kNow + 5));
    EXPECT_FLOAT_EQ(s.recData()[1], 25.0f);
    EXPECT_EQ(s.recTime()[1], kNow + 5);
}

TEST(Acquisition, EveryWholeFrameOfAReadIsRecorded) {
    const Bytes f1 = frame(111), f2 = frame(222), f3 = frame(333);
    Bytes bytes = {0x5A, 0x10}; // noise, then a start byte on noise
    bytes.insert(bytes.end(), 12, 0x00);
    for (const Bytes* f : {&f1, &f2, &f3})
        bytes.insert(bytes.end(), f->begin(), f->end());
    bytes.insert(bytes.end(), f1.begin(), f1.begin() + 5);

    Acquisition a;
    BlockOutcome out;
    const std::size_t used = a.onReceived(bytes, kNow, out);
    EXPECT_EQ(bytes.size() - used, 5u);
    ASSERT_EQ(out.rows.size(), 3u);
    EXPECT_EQ(out.rows[0].value, "11.1");
    EXPECT_EQ(out.rows[2].value, "33.3");
    EXPECT_EQ(out.rows[2].number, "3");
    EXPECT_FALSE(out.storeFull);

    // A read that fills the store stops there: the port is about to close.
    Acquisition full;
    full.setCapacity(2);
    BlockOutcome fullOut;
    EXPECT_EQ(full.onReceived(bytes, kNow, fullOut), bytes.size());
    EXPECT_TRUE(fullOut.storeFull);
    EXPECT_EQ(fullOut.rows.size(), 2u);
    EXPECT_FLOAT_EQ(full.store().recData()[1], 22.2f);
    EXPECT_NE(full.store().recData()[2], 33.3f);

    // Going on into the next file: what follows the filling frame waits, and
    // nothing is used while the store is full.
    Acquisition chain;
    chain.setCapacity(2);
    chain.setContinueIntoNextFile(true);
    BlockOutcome chainOut;
    const std::size_t filled = chain.onReceived(bytes, kNow, chainOut);
    EXPECT_EQ(bytes.size() - filled, 14u + 5u);
    EXPECT_TRUE(chainOut.storeFull);
    const std::span<const std::uint8_t> rest = std::span(bytes).subspan(filled);
    BlockOutcome stillFull;
    EXPECT_EQ(chain.onReceived(rest, kNow, stillFull), 0u);
    EXPECT_TRUE(stillFull.storeFull && stillFull.rows.empty());
    chain.resetStore();
    BlockOutcome next;
    EXPECT_EQ(chain.onReceived(rest, kNow, next), 14u);
    ASSERT_EQ(next.rows.size(), 1u);
    EXPECT_EQ(next.rows[0].number + " " + next.rows[0].value, "1 33.3");
}

TEST(SampleRate, TableOfIntervals) {
    EXPECT_EQ(sampleRateMs(0), 0);
    EXPECT_EQ(sampleRateMs(1), 2000);
    EXPECT_EQ(sampleRateMs(5), 60000);
    EXPECT_EQ(sampleRateMs(10), 2700000);
    EXPECT_EQ(sampleRateMs(11), 3600000);
    EXPECT_EQ(sampleRateMs(12), 0);
    EXPECT_EQ(sampleRateMs(-1), 0);
    EXPECT_EQ(kSampleRateLabels[11], "60min");
}

} // namespace
