// Recording journals as start-up reads them after a crash, two ways from each
// input.
//
// The input itself as a journal: one that is refused says why; one that is
// read keeps series of one length within the store's capacity and texts a
// data file holds, rebuilds the same recording from its plain journal, and
// takes the next sample after it (as a resumed journal does).
//
// A journal of a recording made from the input's bytes, then damaged as they
// say (bits flipped, records cut short, dropped or repeated): every sample
// record left whole comes back, and nothing but the recording's own samples,
// in their order.
#include "core/files/dovdatcodec.h"
#include "core/journal/journalformat.h"

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_journal: %s\n", what);
        std::abort();
    }
}

bool sameRecording(const JournalRecording& a, const JournalRecording& b) {
    if (a.values.size() != b.values.size() || a.units != b.units || a.times != b.times ||
        a.timeTexts != b.timeTexts || a.logs != b.logs || a.milliseconds != b.milliseconds ||
        a.graphCount != b.graphCount || a.savedCount != b.savedCount ||
        std::memcmp(&a.runMax, &b.runMax, sizeof(float)) != 0 ||
        std::memcmp(&a.runMin, &b.runMin, sizeof(float)) != 0)
        return false;
    return a.values.empty() ||
           std::memcmp(a.values.data(), b.values.data(), a.values.size() * sizeof(float)) == 0;
}

void readAsJournal(std::span<const std::uint8_t> input) {
    const JournalReading reading = readJournal(input);
    check(reading.totalBytes == input.size(), "total bytes");
    if (!reading.read()) {
        check(reading.recording.empty() && reading.validBytes == 0, "a refused journal was read");
        return;
    }
    const JournalRecording& r = reading.recording;
    check(reading.validBytes <= input.size(), "more valid bytes than bytes");
    check(r.units.size() == r.values.size() && r.times.size() == r.values.size() &&
              r.timeTexts.size() == r.values.size() && r.milliseconds.size() == r.values.size(),
          "series of different lengths");
    check(r.count() <= MAX_DATA, "more samples than the store holds");
    check(r.graphCount >= 0 && r.graphCount <= r.count(), "graph count");
    check(r.savedCount >= 0 && r.savedCount <= r.count(), "saved count");
    check(std::isfinite(r.runMax) && std::isfinite(r.runMin), "running extremes");
    for (int i = 0; i < r.count(); ++i)
        check(std::isfinite(r.values[i]) && r.units[i].size() <= kDovDatMaxText &&
                  r.timeTexts[i].size() <= kDovDatMaxText,
              "a sample a data file cannot hold");

    Bytes plain = encodeJournal(r);
    const JournalReading again = readJournal(plain);
    check(!again.damaged() && again.skippedRecords == 0 && sameRecording(again.recording, r),
          "the plain journal of the recording reads differently");
    if (r.count() < MAX_DATA) {
        appendSampleRecord(plain, {1.5f, "C", 7, "01-01-70/00:00:07", r.count() + 1,
                                   r.graphCount + 1, 2.0f, 1.0f});
        const JournalReading next = readJournal(plain);
        check(next.recording.count() == r.count() + 1 && !next.damaged(),
              "a sample appended to the plain journal is not read");
    }
}

class Source {
public:
    explicit Source(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
    std::uint8_t next() { return m_at < m_bytes.size() ? m_bytes[m_at++] : 0; }

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_at = 0;
};

constexpr std::int64_t kT0 = 1'800'000'000;

void damagedJournal(std::span<const std::uint8_t> input) {
    Source in(input);
    // The records of a recording as it was journalled; sampleOf[k] is the
    // sample record k holds, or -1.
    std::vector<Bytes> records;
    std::vector<int> sampleOf;
    const int samples = in.next() % 100 + 1;
    int graph = 0;
    for (int i = 0; i < samples; ++i) {
        const std::uint8_t shape = in.next();
        if (shape % 11 == 0 && i > 0) {
            records.emplace_back();
            appendClearScreenRecord(records.back(), i);
            sampleOf.push_back(-1);
            graph = 0;
        }
        if (shape % 7 == 0 && i > 0) {
            records.emplace_back();
            appendSavedRecord(records.back(), i);
            sampleOf.push_back(-1);
        }
        char time[32];
        std::snprintf(time, sizeof time, "12-07-26/%02d:%02d:%02d", i / 1800, i / 30 % 60,
                      i * 2 % 60);
        const float value = shape % 13 == 0 ? kNoValue : static_cast<float>(shape) / 4 - 20;
        records.emplace_back();
        appendSampleRecord(records.back(), {value, shape % 2 ? "C" : "F", kT0 + 2 * i, time, i + 1,
                                            ++graph, 40.0f, -20.0f});
        sampleOf.push_back(i);
    }

    Bytes bytes = encodeJournalHeader();
    std::vector<bool> whole(static_cast<std::size_t>(samples), false);
    for (std::size_t k = 0; k < records.size(); ++k) {
        const Bytes& rec = records[k];
        const std::uint8_t op = in.next();
        const std::size_t at = in.next() % rec.size();
        switch (op % 8) {
        case 0: { // a bit flipped
            Bytes flipped = rec;
            flipped[at] ^= static_cast<std::uint8_t>(1u << (op / 8 % 8));
            bytes.insert(bytes.end(), flipped.begin(), flipped.end());
            break;
        }
        case 1: // cut short, the next record written after it
            bytes.insert(bytes.end(), rec.begin(), rec.begin() + static_cast<std::ptrdiff_t>(at));
            break;
        case 2: // gone
            break;
        case 3: { // an earlier record (or this one) written again after it
            bytes.insert(bytes.end(), rec.begin(), rec.end());
            const Bytes& old = records[k - at % (k + 1)];
            bytes.insert(bytes.end(), old.begin(), old.end());
            if (sampleOf[k] >= 0)
                whole[static_cast<std::size_t>(sampleOf[k])] = true;
            break;
        }
        default:
            bytes.insert(bytes.end(), rec.begin(), rec.end());
            if (sampleOf[k] >= 0)
                whole[static_cast<std::size_t>(sampleOf[k])] = true;
        }
    }

    const JournalReading reading = readJournal(bytes);
    check(reading.read(), "a damaged journal was refused");
    const JournalRecording& r = reading.recording;
    // Each sample is known by its time: the recording's samples, in order.
    std::size_t next = 0;
    for (int i = 0; i < r.count(); ++i) {
        const std::int64_t t = r.times[static_cast<std::size_t>(i)];
        check(t >= kT0 + 2 * static_cast<std::int64_t>(next) && t < kT0 + 2 * samples &&
                  (t - kT0) % 2 == 0,
              "a sample the recording does not hold, or out of its order");
        const auto index = static_cast<std::size_t>((t - kT0) / 2);
        for (; next < index; ++next)
            check(!whole[next], "a whole sample record was lost");
        next = index + 1;
    }
    for (; next < whole.size(); ++next)
        check(!whole[next], "a whole sample record at the end was lost");
    check(r.graphCount <= r.count() && r.savedCount <= r.count(), "counts of a damaged journal");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    readAsJournal(input);
    damagedJournal(input);
    return 0;
}
