#include "core/link/frameencoder.h"
#include "core/store/acquisition.h"
#include "core/store/journalformat.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::int64_t kT0 = 1'800'000'000; // beyond 32-bit seconds on purpose

JournalSample sample(int n, int graphCount, float value) {
    return {value,
            n % 2 ? "C" : "F",
            kT0 + n,
            "12-07-26/09:00:" + std::to_string(10 + n),
            n,
            graphCount,
            30.0f + static_cast<float>(n),
            -5.0f - static_cast<float>(n)};
}

// A small journal and the byte offset where each record ends: three samples,
// Clear Screen, a save, a fourth sample.
struct Small {
    Bytes bytes = encodeJournalHeader();
    std::vector<std::size_t> ends;
    void add(auto&& append) {
        append(bytes);
        ends.push_back(bytes.size());
    }
};

Small smallJournal() {
    Small j;
    j.add([](Bytes& b) { appendSampleRecord(b, sample(1, 1, 25.3f)); });
    j.add([](Bytes& b) { appendSampleRecord(b, sample(2, 2, -0.0f)); });
    j.add([](Bytes& b) { appendSampleRecord(b, sample(3, 3, kNoValue)); });
    j.add([](Bytes& b) { appendClearScreenRecord(b, 3); });
    j.add([](Bytes& b) { appendSavedRecord(b, 3); });
    j.add([](Bytes& b) { appendSampleRecord(b, sample(4, 1, 99.9f)); });
    return j;
}

// What the small journal's first `records` records rebuild.
JournalRecording expectedAfter(std::size_t records) {
    JournalRecording r;
    const float values[] = {25.3f, -0.0f, kNoValue, 99.9f};
    for (std::size_t k = 0; k < records; ++k) {
        if (k == 3) {
            r.graphCount = 0;
            continue;
        }
        if (k == 4) {
            r.savedCount = 3;
            continue;
        }
        const int n = r.count() + 1;
        const JournalSample s = sample(n, r.graphCount + 1, values[n - 1]);
        r.values.push_back(s.value);
        r.units.push_back(s.unit);
        r.times.push_back(s.time);
        r.timeTexts.push_back(s.timeText);
        r.graphCount = s.graphCount;
        r.runMax = s.runMax;
        r.runMin = s.runMin;
    }
    return r;
}

void expectRecording(const JournalRecording& got, const JournalRecording& want) {
    ASSERT_EQ(got.count(), want.count());
    for (int i = 0; i < want.count(); ++i)
        EXPECT_EQ(std::bit_cast<std::uint32_t>(got.values[i]),
                  std::bit_cast<std::uint32_t>(want.values[i]))
            << "sample " << i;
    EXPECT_EQ(got.units, want.units);
    EXPECT_EQ(got.times, want.times);
    EXPECT_EQ(got.timeTexts, want.timeTexts);
    EXPECT_EQ(got.graphCount, want.graphCount);
    EXPECT_EQ(got.runMax, want.runMax);
    EXPECT_EQ(got.runMin, want.runMin);
    EXPECT_EQ(got.savedCount, want.savedCount);
}

// A record with one byte changed and its checksum made good again.
Bytes resealed(Bytes rec, std::size_t at, std::uint8_t value) {
    rec[at] = value;
    const std::uint32_t crc = journalCrc32(std::span(rec).first(rec.size() - 4));
    for (int i = 0; i < 4; ++i)
        rec[rec.size() - 4 + i] = static_cast<std::uint8_t>(crc >> (8 * i));
    return rec;
}

void append(Bytes& to, const Bytes& more) {
    to.insert(to.end(), more.begin(), more.end());
}

TEST(JournalFormat, HeaderAndRecordBytes) {
    const Bytes check = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(journalCrc32(check), 0xCBF43926u);
    EXPECT_EQ(journalCrc32(std::span(check).subspan(4), journalCrc32(std::span(check).first(4))),
              0xCBF43926u);

    EXPECT_EQ(encodeJournalHeader(), (Bytes{'O', 'r', 'v', 'J', 'r', 'n', 'l', '\n', 1, 0, 0, 0}));
    Bytes clear;
    appendClearScreenRecord(clear, 0x01020304);
    EXPECT_EQ(clear, resealed({2, 4, 0, 0x04, 0x03, 0x02, 0x01, 0, 0, 0, 0}, 0, 2));

    Bytes one;
    appendSampleRecord(one, sample(1, 1, 25.3f));
    // kind, length, 30 fixed bytes, "C", the 17-byte time text, checksum
    ASSERT_EQ(one.size(), 3u + 30u + 1u + 17u + 4u);
    EXPECT_EQ(one[0], 1);
    EXPECT_EQ(one[1] | one[2] << 8, 48);
    const Bytes value(one.begin() + 3, one.begin() + 7);
    EXPECT_EQ(value, (Bytes{0x66, 0x66, 0xCA, 0x41})); // 25.3f
}

TEST(JournalFormat, RoundTripKeepsEverySampleBitForBit) {
    const Small j = smallJournal();
    const JournalReading r = readJournal(j.bytes);
    ASSERT_TRUE(r.read());
    EXPECT_FALSE(r.damagedTail());
    EXPECT_EQ(r.version, kJournalVersion);
    EXPECT_EQ(r.validBytes, j.bytes.size());
    expectRecording(r.recording, expectedAfter(j.ends.size()));
    EXPECT_EQ(r.recording.unsavedCount(), 1);
    EXPECT_EQ(r.recording.times.front(), kT0 + 1);
    EXPECT_EQ(r.recording.times.back(), kT0 + 4);

    // Extreme values and texts; texts beyond the limit are cut to it.
    JournalSample odd{
        std::numeric_limits<float>::quiet_NaN(), "",   INT64_MIN, std::string(300, 't'), 1, 1,
        std::numeric_limits<float>::infinity(),  -0.0f};
    Bytes bytes = encodeJournalHeader();
    appendSampleRecord(bytes, odd);
    const JournalReading o = readJournal(bytes);
    ASSERT_EQ(o.recording.count(), 1);
    EXPECT_TRUE(std::isnan(o.recording.values[0]));
    EXPECT_EQ(o.recording.units[0], "");
    EXPECT_EQ(o.recording.times[0], INT64_MIN);
    EXPECT_EQ(o.recording.timeTexts[0], std::string(kJournalMaxText, 't'));
    EXPECT_EQ(o.recording.runMax, std::numeric_limits<float>::infinity());
    EXPECT_TRUE(std::signbit(o.recording.runMin));
}

TEST(JournalFormat, EveryCutKeepsTheWholeRecordsBeforeIt) {
    const Small j = smallJournal();
    for (std::size_t cut = 0; cut <= j.bytes.size(); ++cut) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        const JournalReading r = readJournal(std::span(j.bytes).first(cut));
        ASSERT_TRUE(r.read());
        std::size_t whole = 0;
        while (whole < j.ends.size() && j.ends[whole] <= cut)
            ++whole;
        const std::size_t valid =
            cut < kJournalHeaderSize ? 0 : (whole ? j.ends[whole - 1] : kJournalHeaderSize);
        EXPECT_EQ(r.validBytes, valid);
        EXPECT_EQ(r.damagedTail(), valid < cut);
        expectRecording(r.recording, expectedAfter(whole));
    }
}

TEST(JournalFormat, AFlippedBitEndsTheReadingAtItsRecord) {
    const Small j = smallJournal();
    for (std::size_t bit = 0; bit < j.bytes.size() * 8; ++bit) {
        SCOPED_TRACE("bit " + std::to_string(bit));
        Bytes bytes = j.bytes;
        const std::size_t at = bit / 8;
        bytes[at] ^= static_cast<std::uint8_t>(1u << (bit % 8));
        const JournalReading r = readJournal(bytes);
        if (at < 8) {
            EXPECT_EQ(r.status, JournalStatus::NotAJournal);
            continue;
        }
        if (at < kJournalHeaderSize) {
            EXPECT_EQ(r.status, JournalStatus::UnknownVersion);
            continue;
        }
        std::size_t before = 0; // whole records before the damaged one
        while (j.ends[before] <= at)
            ++before;
        ASSERT_TRUE(r.read());
        EXPECT_EQ(r.validBytes, before ? j.ends[before - 1] : kJournalHeaderSize);
        EXPECT_TRUE(r.damagedTail());
        expectRecording(r.recording, expectedAfter(before));
    }
}

TEST(JournalFormat, ARecordThatDoesNotFollowEndsTheReading) {
    struct Row {
        const char* what;
        void (*append)(Bytes&);
    };
    const Row rows[] = {
        {"a count that skips one", [](Bytes& b) { appendSampleRecord(b, sample(4, 3, 1.0f)); }},
        {"a count that repeats", [](Bytes& b) { appendSampleRecord(b, sample(2, 3, 1.0f)); }},
        {"a graph count that jumps", [](Bytes& b) { appendSampleRecord(b, sample(3, 1, 1.0f)); }},
        {"Clear Screen at another count", [](Bytes& b) { appendClearScreenRecord(b, 1); }},
        {"a save at another count", [](Bytes& b) { appendSavedRecord(b, 3); }},
        {"a kind of no meaning",
         [](Bytes& b) {
             Bytes rec;
             appendSavedRecord(rec, 2);
             append(b, resealed(rec, 0, 9));
         }},
        {"a unit length beyond its record",
         [](Bytes& b) {
             Bytes rec;
             appendSampleRecord(rec, sample(3, 3, 1.0f));
             append(b, resealed(rec, 3 + 28, 40)); // the unit's length byte
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Bytes bytes = encodeJournalHeader();
        appendSampleRecord(bytes, sample(1, 1, 10.0f));
        appendSampleRecord(bytes, sample(2, 2, 20.0f));
        const std::size_t good = bytes.size();
        row.append(bytes);
        appendSampleRecord(bytes, sample(3, 3, 30.0f)); // would follow, but comes too late
        const JournalReading r = readJournal(bytes);
        ASSERT_TRUE(r.read());
        EXPECT_EQ(r.validBytes, good);
        EXPECT_EQ(r.recording.count(), 2);
        EXPECT_EQ(r.recording.values.back(), 20.0f);
    }
}

TEST(JournalFormat, NoMoreSamplesThanTheStoreHolds) {
    Bytes bytes = encodeJournalHeader();
    for (int n = 1; n <= MAX_DATA; ++n)
        appendSampleRecord(bytes, sample(n, n, 1.0f));
    const std::size_t full = bytes.size();
    appendSampleRecord(bytes, sample(MAX_DATA + 1, MAX_DATA + 1, 1.0f));
    const JournalReading r = readJournal(bytes);
    EXPECT_EQ(r.recording.count(), MAX_DATA);
    EXPECT_EQ(r.validBytes, full);
}

TEST(JournalFormat, HeadersThatAreNotReadOrReadEmpty) {
    const Bytes header = encodeJournalHeader();
    Bytes v2 = header;
    v2[8] = 2;
    Bytes cutV2(v2.begin(), v2.begin() + 9);
    Bytes other = {'P', 'K', 3, 4, 0, 0, 0, 0, 0, 0, 0, 0};
    struct Row {
        Bytes bytes;
        JournalStatus status;
    };
    const Row rows[] = {
        {{}, JournalStatus::Read},
        {Bytes(header.begin(), header.begin() + 5), JournalStatus::Read},
        {header, JournalStatus::Read},
        {v2, JournalStatus::UnknownVersion},
        {cutV2, JournalStatus::UnknownVersion},
        {other, JournalStatus::NotAJournal},
        {Bytes{'O', 'r', 'x'}, JournalStatus::NotAJournal},
    };
    for (const Row& row : rows) {
        const JournalReading r = readJournal(row.bytes);
        EXPECT_EQ(r.status, row.status) << row.bytes.size() << " bytes";
        EXPECT_TRUE(r.recording.empty());
    }
    Bytes later = v2;
    appendSampleRecord(later, sample(1, 1, 1.0f));
    EXPECT_EQ(readJournal(later).version, 2u);
    EXPECT_TRUE(readJournal(later).recording.empty());
}

// Every commit of a live recording, journalled as the engine will, rebuilds
// the store: both series, both counts and the panel's extremes.
TEST(JournalFormat, ALiveRecordingRebuildsTheStore) {
    Acquisition a;
    Bytes journal = encodeJournalHeader();
    const double readings[] = {21.5, 19.0, -3.4, 150.2, 88.8, 20.0, 20.1, 400.0, -40.0, 35.5};
    for (int i = 0; i < 10; ++i) {
        if (i == 4 || i == 7) {
            a.clearScreen();
            appendClearScreenRecord(journal, a.store().recCount());
        }
        // The eighth reading is a log frame without a value: "no value" is
        // recorded, but the panel's extremes still take the reading.
        const Frame f = makeFrame(readings[i], i % 3 != 0, 0, 0.95, false, i == 7, false);
        const FrameBytes bytes = encodeFrame(f);
        const BlockOutcome out = a.onBlock(bytes, kT0 + i * 2);
        ASSERT_EQ(out.rows.size(), 1u);
        appendSampleRecord(journal, lastCommittedSample(a.store(), a.runMax(), a.runMin()));
    }
    const SampleStore& s = a.store();
    const JournalRecording r = readJournal(journal).recording;
    ASSERT_EQ(r.count(), s.recCount());
    for (int i = 0; i < r.count(); ++i) {
        EXPECT_EQ(std::bit_cast<std::uint32_t>(r.values[i]),
                  std::bit_cast<std::uint32_t>(s.recData()[i]));
        EXPECT_EQ(r.units[i], s.recUnit()[i]);
        EXPECT_EQ(r.times[i], s.recTime()[i]);
        EXPECT_EQ(r.timeTexts[i], s.recTimeText()[i]);
    }
    ASSERT_EQ(r.graphCount, s.graphCount());
    ASSERT_EQ(r.graphCount, 3);
    for (int i = 0; i < r.graphCount; ++i) {
        const int k = r.count() - r.graphCount + i;
        EXPECT_EQ(s.graphData()[i], r.values[k]);
        EXPECT_EQ(s.graphTime()[i], r.timeTexts[k]);
        EXPECT_EQ(s.graphUnit()[i], r.units[k]);
    }
    EXPECT_TRUE(isNoValue(r.values[7]));
    EXPECT_EQ(r.runMax, a.runMax());
    EXPECT_EQ(r.runMin, a.runMin());
    EXPECT_FLOAT_EQ(r.runMax, 400.0f);
    EXPECT_FLOAT_EQ(r.runMin, -40.0f);
}

// Several frames in one read: each row is journalled after the whole read.
TEST(JournalFormat, TheRowsOfOneReadRebuildTheStore) {
    Acquisition a;
    Bytes journal = encodeJournalHeader();
    const auto read = [&](std::initializer_list<double> values, std::int64_t now) {
        Bytes line;
        for (const double v : values) {
            const FrameBytes f = encodeFrame(makeFrame(v, true, 0, 0.95, false, false, false));
            line.insert(line.end(), f.begin(), f.end());
        }
        BlockOutcome out;
        a.onReceived(line, now, out);
        for (const ListRow& row : out.rows)
            appendSampleRecord(journal,
                               committedSample(a.store(), row.index, a.runMax(), a.runMin()));
    };
    read({20.0, 21.0}, kT0);
    a.clearScreen();
    appendClearScreenRecord(journal, a.store().recCount());
    read({22.0, 5.0, 23.0}, kT0 + 1);
    const JournalReading r = readJournal(journal);
    EXPECT_FALSE(r.damagedTail());
    ASSERT_EQ(r.recording.count(), 5);
    EXPECT_EQ(r.recording.values, (std::vector<float>{20.0f, 21.0f, 22.0f, 5.0f, 23.0f}));
    EXPECT_EQ(r.recording.graphCount, 3);
    EXPECT_EQ(r.recording.runMin, 5.0f);
}

} // namespace
