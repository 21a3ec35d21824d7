// Recording journals as start-up reads them after a crash. A journal that is
// refused says why; one that is read keeps series of one length within the
// store's capacity, reads the same from its valid bytes alone, rebuilds the
// same recording from a plain journal of its samples, and takes the next
// sample after its valid bytes (as a resumed journal does).
#include "core/store/journalformat.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

namespace {

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_journal: %s\n", what);
        std::abort();
    }
}

bool sameRecording(const JournalRecording& a, const JournalRecording& b) {
    if (a.values.size() != b.values.size() || a.units != b.units || a.times != b.times ||
        a.timeTexts != b.timeTexts || a.graphCount != b.graphCount ||
        a.savedCount != b.savedCount || std::memcmp(&a.runMax, &b.runMax, sizeof(float)) != 0 ||
        std::memcmp(&a.runMin, &b.runMin, sizeof(float)) != 0)
        return false;
    return a.values.empty() ||
           std::memcmp(a.values.data(), b.values.data(), a.values.size() * sizeof(float)) == 0;
}

// The plainest journal of `r`: its samples in order, Clear Screen where the
// graph series begins, the save after the saved samples.
std::vector<std::uint8_t> plainJournal(const JournalRecording& r) {
    std::vector<std::uint8_t> out = encodeJournalHeader();
    const int n = r.count();
    const int graphStart = n - r.graphCount;
    for (int i = 0; i <= n; ++i) {
        if (i == graphStart && graphStart > 0)
            appendClearScreenRecord(out, i);
        if (i == r.savedCount && i > 0)
            appendSavedRecord(out, i);
        if (i == n)
            break;
        const auto k = static_cast<std::size_t>(i);
        appendSampleRecord(out, {r.values[k], r.units[k], r.times[k], r.timeTexts[k], i + 1,
                                 i < graphStart ? i + 1 : i + 1 - graphStart, r.runMax, r.runMin});
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    const JournalReading reading = readJournal(input);
    check(reading.totalBytes == size, "total bytes");
    if (!reading.read()) {
        check(reading.recording.empty() && reading.validBytes == 0, "a refused journal was read");
        return 0;
    }
    const JournalRecording& r = reading.recording;
    check(reading.validBytes <= size, "more valid bytes than bytes");
    check(r.units.size() == r.values.size() && r.times.size() == r.values.size() &&
              r.timeTexts.size() == r.values.size(),
          "series of different lengths");
    check(r.count() <= MAX_DATA, "more samples than the store holds");
    check(r.graphCount >= 0 && r.graphCount <= r.count(), "graph count");
    check(r.savedCount >= 0 && r.savedCount <= r.count(), "saved count");
    for (int i = 0; i < r.count(); ++i)
        check(r.units[i].size() <= kJournalMaxText && r.timeTexts[i].size() <= kJournalMaxText,
              "a text over the length limit");

    const JournalReading valid = readJournal(input.first(reading.validBytes));
    check(valid.read() && !valid.damagedTail() && sameRecording(valid.recording, r),
          "the valid bytes alone read differently");
    const JournalReading plain = readJournal(plainJournal(r));
    check(!plain.damagedTail() && sameRecording(plain.recording, r),
          "the plain journal of the recording reads differently");

    if (reading.validBytes >= kJournalHeaderSize && r.count() < MAX_DATA) {
        std::vector<std::uint8_t> resumed(input.begin(), input.begin() + reading.validBytes);
        appendSampleRecord(resumed, {1.5f, "C", 7, "01-01-70/00:00:07", r.count() + 1,
                                     r.graphCount + 1, 2.0f, 1.0f});
        const JournalReading next = readJournal(resumed);
        check(next.recording.count() == r.count() + 1 && !next.damagedTail(),
              "a sample appended after the valid bytes is not read");
    }
    return 0;
}
