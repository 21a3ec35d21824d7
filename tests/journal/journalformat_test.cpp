#include "core/files/dovdatcodec.h"
#include "core/journal/journalformat.h"
#include "core/link/frameencoder.h"
#include "core/store/acquisition.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
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

// Adds a sample to a recording as reading its record does.
void take(JournalRecording& r, const JournalSample& s) {
    r.values.push_back(s.value);
    r.units.push_back(s.unit);
    r.times.push_back(s.time);
    r.timeTexts.push_back(s.timeText);
    r.runMax = s.runMax;
    r.runMin = s.runMin;
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
        take(r, sample(n, r.graphCount + 1, values[n - 1]));
        ++r.graphCount;
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

    EXPECT_EQ(encodeJournalHeader(), (Bytes{'O', 'r', 'v', 'J', 'r', 'n', 'l', '\n', 3, 0, 0, 0}));
    Bytes clear;
    appendClearScreenRecord(clear, 0x01020304);
    EXPECT_EQ(clear, resealed({2, 4, 0, 0x04, 0x03, 0x02, 0x01, 0, 0, 0, 0}, 0, 2));

    Bytes one;
    appendSampleRecord(one, sample(1, 1, 25.3f));
    // kind, length, 30 fixed bytes, "C", the 17-byte time text, the log mark,
    // the millisecond (-1: not known), checksum
    ASSERT_EQ(one.size(), 3u + 30u + 1u + 17u + 1u + 2u + 4u);
    EXPECT_EQ(one[0], 1);
    EXPECT_EQ(one[1] | one[2] << 8, 51);
    EXPECT_EQ(one[one.size() - 7], 0);
    EXPECT_EQ(one[one.size() - 6], 0xFF);
    EXPECT_EQ(one[one.size() - 5], 0xFF);
    const Bytes value(one.begin() + 3, one.begin() + 7);
    EXPECT_EQ(value, (Bytes{0x66, 0x66, 0xCA, 0x41})); // 25.3f
}

TEST(JournalFormat, RoundTripKeepsEverySampleBitForBit) {
    const Small j = smallJournal();
    const JournalReading r = readJournal(j.bytes);
    ASSERT_TRUE(r.read());
    EXPECT_FALSE(r.damaged());
    EXPECT_EQ(r.version, kJournalVersion);
    EXPECT_EQ(r.validBytes, j.bytes.size());
    expectRecording(r.recording, expectedAfter(j.ends.size()));
    EXPECT_EQ(r.recording.unsavedCount(), 1);
    EXPECT_EQ(r.recording.times.front(), kT0 + 1);
    EXPECT_EQ(r.recording.times.back(), kT0 + 4);

    // Extreme values and texts a data file still holds.
    JournalSample odd{-3.4e38f, "", INT64_MIN, std::string(kDovDatMaxText, 't'),
                      1,        1,  2999.9f,   -0.0f};
    Bytes bytes = encodeJournalHeader();
    appendSampleRecord(bytes, odd);
    const JournalReading o = readJournal(bytes);
    ASSERT_EQ(o.recording.count(), 1);
    EXPECT_EQ(o.recording.values[0], -3.4e38f);
    EXPECT_EQ(o.recording.units[0], "");
    EXPECT_EQ(o.recording.times[0], INT64_MIN);
    EXPECT_EQ(o.recording.timeTexts[0], odd.timeText);
    EXPECT_TRUE(std::signbit(o.recording.runMin));
    // The plainest journal of a recording reads back as that recording.
    const JournalReading plain = readJournal(encodeJournal(r.recording));
    EXPECT_EQ(plain.validBytes, plain.totalBytes);
    expectRecording(plain.recording, r.recording);
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
            cut < kJournalHeaderSize ? cut : (whole ? j.ends[whole - 1] : kJournalHeaderSize);
        EXPECT_EQ(r.validBytes, valid);
        EXPECT_EQ(r.damaged(), valid < cut);
        expectRecording(r.recording, expectedAfter(whole));
    }
}

// What the small journal rebuilds without its record `k`: the samples before
// and after it, the Clear Screen and the save as far as they were kept.
JournalRecording smallWithout(std::size_t k) {
    struct Row {
        std::vector<int> samples;
        int graphCount;
        int savedCount;
    };
    const Row rows[] = {
        {{2, 3, 4}, 1, 2},    {{1, 3, 4}, 1, 2},    {{1, 2, 4}, 1, 2},
        {{1, 2, 3, 4}, 1, 3}, {{1, 2, 3, 4}, 1, 0}, {{1, 2, 3}, 0, 3},
    };
    const float values[] = {25.3f, -0.0f, kNoValue, 99.9f};
    JournalRecording r;
    for (const int n : rows[k].samples)
        take(r, sample(n, 1, values[n - 1]));
    r.graphCount = rows[k].graphCount;
    r.savedCount = rows[k].savedCount;
    return r;
}

// Damage in any one record, of any kind: a flipped bit, the record cut short
// with the next ones written after it, or a whole record repeated anywhere
// later. Every other record is kept and the bytes left out are counted.
TEST(JournalFormat, DamageLosesOnlyTheRecordItHits) {
    const Small j = smallJournal();
    std::vector<Bytes> records;
    for (std::size_t k = 0, from = kJournalHeaderSize; k < j.ends.size(); from = j.ends[k++])
        records.emplace_back(j.bytes.begin() + static_cast<std::ptrdiff_t>(from),
                             j.bytes.begin() + static_cast<std::ptrdiff_t>(j.ends[k]));
    const auto joined = [&](std::size_t k, const Bytes& instead, const Bytes& after = {}) {
        Bytes bytes = encodeJournalHeader();
        for (std::size_t i = 0; i < records.size(); ++i)
            append(bytes, i == k ? instead : records[i]);
        append(bytes, after);
        return bytes;
    };
    const bool sampleRecord[] = {true, true, true, false, false, true};
    for (std::size_t k = 0; k < records.size(); ++k) {
        SCOPED_TRACE("record " + std::to_string(k));
        const std::size_t size = records[k].size();
        for (std::size_t bit = 0; bit < size * 8; ++bit) {
            Bytes flipped = records[k];
            flipped[bit / 8] ^= static_cast<std::uint8_t>(1u << (bit % 8));
            const JournalReading r = readJournal(joined(k, flipped));
            ASSERT_TRUE(r.read());
            EXPECT_EQ(r.skippedBytes(), size) << "bit " << bit;
            EXPECT_EQ(r.skippedRecords, 0);
            expectRecording(r.recording, smallWithout(k));
        }
        for (std::size_t cut = 1; cut < size; ++cut) {
            const Bytes part(records[k].begin(), records[k].begin() + static_cast<long>(cut));
            const JournalReading r = readJournal(joined(k, part));
            EXPECT_EQ(r.skippedBytes(), cut) << "cut to " << cut;
            expectRecording(r.recording, smallWithout(k));
        }
        for (std::size_t later = k; later < records.size(); ++later) {
            SCOPED_TRACE("repeated after record " + std::to_string(later));
            Bytes twice = records[later];
            if (later == k)
                twice.insert(twice.begin(), records[k].begin(), records[k].end());
            else
                append(twice, records[k]);
            const JournalReading r = readJournal(joined(later, twice));
            // Clear Screen and a save repeated before the next sample change nothing.
            const bool skipped = sampleRecord[k] || sampleRecord[later];
            EXPECT_EQ(r.skippedRecords, skipped ? 1 : 0);
            EXPECT_EQ(r.skippedBytes(), skipped ? size : 0u);
            expectRecording(r.recording, expectedAfter(records.size()));
        }
    }
}

// A whole record is skipped and counted when its counts cannot follow (a
// record repeated or going back is damage above) or it holds what a data file
// cannot; the next one is read.
TEST(JournalFormat, RecordsThatCannotBeTakenAreSkippedAndCounted) {
    const auto withSample = [](JournalSample s) {
        return [s](Bytes& b) { appendSampleRecord(b, s); };
    };
    const auto odd = [](auto change) {
        JournalSample s = sample(3, 3, 1.0f);
        change(s);
        return s;
    };
    const float inf = std::numeric_limits<float>::infinity();
    struct Row {
        const char* what;
        std::function<void(Bytes&)> append;
    };
    const Row rows[] = {
        {"a count beyond the store", withSample(sample(MAX_DATA + 1, 3, 1.0f))},
        {"a graph count of none", withSample(sample(3, 0, 1.0f))},
        {"a value that is not a number",
         withSample(sample(3, 3, std::numeric_limits<float>::quiet_NaN()))},
        {"an infinite value", withSample(sample(3, 3, -inf))},
        {"an infinite maximum", withSample(odd([&](JournalSample& s) { s.runMax = inf; }))},
        {"a unit a data file cannot hold",
         withSample(odd([](JournalSample& s) { s.unit.assign(kDovDatMaxText + 1, 'C'); }))},
        {"a time text a data file cannot hold",
         withSample(odd([](JournalSample& s) { s.timeText.append(kDovDatMaxText, '0'); }))},
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
        const std::size_t skipped = bytes.size() - good;
        appendSampleRecord(bytes, sample(3, 3, 30.0f));
        const JournalReading r = readJournal(bytes);
        ASSERT_TRUE(r.read());
        EXPECT_EQ(r.skippedRecords, 1);
        EXPECT_EQ(r.skippedBytes(), skipped);
        EXPECT_EQ(r.recording.values, (std::vector<float>{10.0f, 20.0f, 30.0f}));
        EXPECT_EQ(r.recording.graphCount, 3);
    }
    // A kind of no meaning is no record: its bytes are damage.
    Bytes bytes = encodeJournalHeader();
    Bytes rec;
    appendSavedRecord(rec, 0);
    append(bytes, resealed(rec, 0, 9));
    appendSampleRecord(bytes, sample(1, 1, 10.0f));
    const JournalReading r = readJournal(bytes);
    EXPECT_EQ(r.skippedRecords, 0);
    EXPECT_EQ(r.skippedBytes(), rec.size());
    EXPECT_EQ(r.recording.count(), 1);
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
    Bytes v1 = header;
    v1[8] = 1;
    Bytes v2 = header;
    v2[8] = 2;
    Bytes v4 = header;
    v4[8] = 4;
    Bytes cutV4(v4.begin(), v4.begin() + 9);
    Bytes other = {'P', 'K', 3, 4, 0, 0, 0, 0, 0, 0, 0, 0};
    struct Row {
        Bytes bytes;
        JournalStatus status;
    };
    const Row rows[] = {
        {{}, JournalStatus::Read},
        {Bytes(header.begin(), header.begin() + 5), JournalStatus::Read},
        {header, JournalStatus::Read},
        {v1, JournalStatus::Read},
        {Bytes(v1.begin(), v1.begin() + 9), JournalStatus::Read},
        {Bytes(v2.begin(), v2.begin() + 10), JournalStatus::Read},
        {v4, JournalStatus::UnknownVersion},
        {cutV4, JournalStatus::UnknownVersion},
        {other, JournalStatus::NotAJournal},
        {Bytes{'O', 'r', 'x'}, JournalStatus::NotAJournal},
    };
    for (const Row& row : rows) {
        const JournalReading r = readJournal(row.bytes);
        EXPECT_EQ(r.status, row.status) << row.bytes.size() << " bytes";
        EXPECT_TRUE(r.recording.empty());
    }
    Bytes later = v4;
    appendSampleRecord(later, sample(1, 1, 1.0f));
    EXPECT_EQ(readJournal(later).version, 4u);
    EXPECT_TRUE(readJournal(later).recording.empty());
}

// The log mark and the millisecond come back with their sample, and the log
// mark gives the list's text again; journals of the older formats, whose
// samples have no millisecond (version 2) or neither (version 1), still read.
TEST(JournalFormat, LogMarksAndMillisecondsComeBackAndOlderFormatsStillRead) {
    const LogMark marks[] = {LogMark::None, LogMark::WithValue, LogMark::WithoutValue,
                             LogMark::None};
    const float values[] = {25.3f, 1270.9f, kNoValue, kNoValue};
    const std::int16_t ms[] = {0, 999, -1, 58};
    Bytes bytes = encodeJournalHeader();
    Bytes v2 = bytes, v1 = bytes;
    v2[8] = 2;
    v1[8] = 1;
    for (int i = 0; i < 4; ++i) {
        JournalSample s = sample(i + 1, i + 1, values[i]);
        s.log = marks[i];
        s.millisecond = ms[i];
        Bytes rec;
        appendSampleRecord(rec, s);
        append(bytes, rec);
        // The same sample in version 2 (no millisecond), then in version 1
        // (no mark either).
        for (Bytes* older : {&v2, &v1}) {
            rec.erase(rec.end() - (older == &v2 ? 6 : 5), rec.end() - 4);
            rec[1] = static_cast<std::uint8_t>(rec[1] - (older == &v2 ? 2 : 1));
            rec = resealed(rec, 0, 1);
            append(*older, rec);
        }
    }
    const JournalReading r = readJournal(bytes);
    ASSERT_EQ(r.recording.logs, (std::vector<LogMark>(std::begin(marks), std::end(marks))));
    EXPECT_EQ(r.recording.milliseconds, (std::vector<std::int16_t>(std::begin(ms), std::end(ms))));
    const char* texts[] = {"25.3", "1270.9log", "----log", "3000.0"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(listValueText(r.recording.values[i], r.recording.logs[i]), texts[i]);
    const JournalRecording again = readJournal(encodeJournal(r.recording)).recording;
    EXPECT_EQ(again.logs, r.recording.logs);
    EXPECT_EQ(again.milliseconds, r.recording.milliseconds);

    for (const Bytes* older : {&v2, &v1}) {
        const JournalReading old = readJournal(*older);
        EXPECT_FALSE(old.damaged());
        expectRecording(old.recording, r.recording);
        EXPECT_EQ(old.recording.milliseconds, std::vector<std::int16_t>(4, -1));
        EXPECT_EQ(old.recording.logs,
                  older == &v2 ? r.recording.logs : std::vector<LogMark>(4, LogMark::None));
    }
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

// Several frames in one read: each row is journalled after the whole read,
// straight from the store as from a copied sample.
TEST(JournalFormat, TheRowsOfOneReadRebuildTheStore) {
    Acquisition a;
    Bytes journal = encodeJournalHeader();
    Bytes copied = journal;
    const auto read = [&](std::initializer_list<double> values, std::int64_t now) {
        Bytes line;
        for (const double v : values) {
            const FrameBytes f = encodeFrame(makeFrame(v, true, 0, 0.95, false, false, false));
            line.insert(line.end(), f.begin(), f.end());
        }
        BlockOutcome out;
        a.onReceived(line, now, out);
        for (const ListRow& row : out.rows) {
            appendCommittedRecord(journal, a.store(), row.index, a.runMax(), a.runMin(),
                                  LogMark::None);
            appendSampleRecord(copied,
                               committedSample(a.store(), row.index, a.runMax(), a.runMin()));
        }
    };
    read({20.0, 21.0}, kT0);
    a.clearScreen();
    appendClearScreenRecord(journal, a.store().recCount());
    appendClearScreenRecord(copied, a.store().recCount());
    read({22.0, 5.0, 23.0}, kT0 + 1);
    EXPECT_EQ(journal, copied);
    const JournalReading r = readJournal(journal);
    EXPECT_FALSE(r.damaged());
    ASSERT_EQ(r.recording.count(), 5);
    EXPECT_EQ(r.recording.values, (std::vector<float>{20.0f, 21.0f, 22.0f, 5.0f, 23.0f}));
    EXPECT_EQ(r.recording.graphCount, 3);
    EXPECT_EQ(r.recording.runMin, 5.0f);
}

} // namespace

// A record cut in the last byte of its checksum, followed by a record that
// begins with that very byte, reads as whole: the next record is found inside
// it and kept too.
TEST(JournalFormat, ARecordCutInItsChecksumKeepsTheNextOne) {
    Bytes second;
    appendSampleRecord(second, sample(2, 2, 20.0f));
    Bytes first;
    for (int i = 0; first.empty() || first.back() != second.front(); ++i) {
        ASSERT_LT(i, 100000);
        first.clear();
        appendSampleRecord(first, sample(1, 1, static_cast<float>(i) / 10));
    }
    first.pop_back();
    Bytes bytes = encodeJournalHeader();
    append(bytes, first);
    append(bytes, second);
    const JournalReading r = readJournal(bytes);
    ASSERT_EQ(r.recording.count(), 2);
    EXPECT_EQ(r.recording.values[1], 20.0f);
    EXPECT_EQ(r.skippedBytes(), 0u);
}
