#include "core/journal/journalformat.h"

#include "core/files/dovdatcodec.h"
#include "core/text/valuetext.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr std::array<std::uint8_t, 8> kMagic = {'O', 'r', 'v', 'J', 'r', 'n', 'l', '\n'};
// kind, payload length; the checksum follows the payload.
constexpr std::size_t kRecordHead = 3;
constexpr std::size_t kRecordTail = 4;
// A sample's payload without its two texts (their length bytes included).
constexpr std::size_t kSampleFixed = 4 + 8 + 4 + 4 + 4 + 4 + 1 + 1;

// Eight tables: the checksum takes eight bytes a step.
using CrcTables = std::array<std::array<std::uint32_t, 256>, 8>;
constexpr CrcTables makeCrcTables() {
    CrcTables t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t[0][n] = c;
    }
    for (std::size_t s = 1; s < t.size(); ++s)
        for (std::size_t n = 0; n < 256; ++n)
            t[s][n] = (t[s - 1][n] >> 8) ^ t[0][t[s - 1][n] & 0xFFu];
    return t;
}
constexpr CrcTables kCrcTables = makeCrcTables();

void putU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

std::uint32_t count32(int n) {
    return static_cast<std::uint32_t>(std::max(n, 0));
}

// Opens a record of `kind` at the end of `out`; closeRecord() fills in the
// payload length and appends the checksum.
std::size_t openRecord(std::vector<std::uint8_t>& out, JournalKind kind) {
    const std::size_t start = out.size();
    out.push_back(static_cast<std::uint8_t>(kind));
    out.push_back(0);
    out.push_back(0);
    return start;
}

void closeRecord(std::vector<std::uint8_t>& out, std::size_t start) {
    const std::size_t payload = out.size() - start - kRecordHead;
    out[start + 1] = static_cast<std::uint8_t>(payload);
    out[start + 2] = static_cast<std::uint8_t>(payload >> 8);
    putU32(out, journalCrc32(std::span(out).subspan(start)));
}

JournalSampleView committedFields(const SampleStore& store, int index, float runMax, float runMin,
                                  LogMark log) {
    JournalSampleView f;
    if (index >= 0 && index < store.recCount()) {
        const auto i = static_cast<std::size_t>(index);
        f.value = store.recData()[i];
        f.unit = store.recUnit()[i];
        f.time = store.recTime()[i];
        f.timeText = store.recTimeText()[i];
        f.millisecond = store.recMillisecond()[i];
    }
    const int later = store.recCount() - 1 - index;
    f.recCount = index + 1;
    f.graphCount = store.graphCount() - later;
    f.runMax = runMax;
    f.runMin = runMin;
    f.log = log;
    return f;
}

std::uint8_t* put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        *p++ = static_cast<std::uint8_t>(v >> (8 * i));
    return p;
}

std::uint8_t* put64(std::uint8_t* p, std::uint64_t v) {
    for (int i = 0; i < 8; ++i)
        *p++ = static_cast<std::uint8_t>(v >> (8 * i));
    return p;
}

std::uint8_t* putBytes(std::uint8_t* p, std::string_view text, std::size_t n) {
    *p++ = static_cast<std::uint8_t>(n);
    std::memcpy(p, text.data(), n);
    return p + n;
}

// One whole sample record, written in place at the end of `out`.
void putSample(std::vector<std::uint8_t>& out, const JournalSampleView& f) {
    const std::size_t unitLen = std::min(f.unit.size(), kJournalMaxText);
    const std::size_t textLen = std::min(f.timeText.size(), kJournalMaxText);
    const std::size_t payload = kSampleFixed + unitLen + textLen + 1 + 2;
    const std::size_t start = out.size();
    out.resize(start + kRecordHead + payload + kRecordTail);
    std::uint8_t* p = out.data() + start;
    *p++ = static_cast<std::uint8_t>(JournalKind::Sample);
    *p++ = static_cast<std::uint8_t>(payload);
    *p++ = static_cast<std::uint8_t>(payload >> 8);
    p = put32(p, std::bit_cast<std::uint32_t>(f.value));
    p = put64(p, static_cast<std::uint64_t>(f.time));
    p = put32(p, count32(f.recCount));
    p = put32(p, count32(f.graphCount));
    p = put32(p, std::bit_cast<std::uint32_t>(f.runMax));
    p = put32(p, std::bit_cast<std::uint32_t>(f.runMin));
    p = putBytes(p, f.unit, unitLen);
    p = putBytes(p, f.timeText, textLen);
    *p++ = static_cast<std::uint8_t>(f.log);
    const auto ms =
        static_cast<std::uint16_t>(f.millisecond >= 0 && f.millisecond <= 999 ? f.millisecond : -1);
    *p++ = static_cast<std::uint8_t>(ms);
    *p++ = static_cast<std::uint8_t>(ms >> 8);
    put32(p, journalCrc32(std::span(out).subspan(start, kRecordHead + payload)));
}

// Reads little-endian fields off the front of a payload whose size was checked.
class Fields {
public:
    explicit Fields(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
    std::uint64_t take(int n) {
        std::uint64_t v = 0;
        for (int i = 0; i < n; ++i)
            v |= std::uint64_t{m_bytes[m_at + static_cast<std::size_t>(i)]} << (8 * i);
        m_at += static_cast<std::size_t>(n);
        return v;
    }
    std::uint32_t u32() { return static_cast<std::uint32_t>(take(4)); }
    float f32() { return std::bit_cast<float>(u32()); }
    std::int64_t i64() { return static_cast<std::int64_t>(take(8)); }
    std::string text(std::size_t n) {
        std::string s(reinterpret_cast<const char*>(m_bytes.data() + m_at), n);
        m_at += n;
        return s;
    }
    std::uint8_t at(std::size_t offset) const { return m_bytes[offset]; }

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_at = 0;
};

// The reader's place in the journal's own numbering, which runs ahead of the
// recording's once damaged samples were left out.
struct Numbering {
    std::uint32_t version = kJournalVersion; // of the journal being read
    std::uint32_t last = 0;                  // the count of the last record taken
    std::uint32_t graphFrom = 0;             // the graph series follows this count
    std::vector<std::uint32_t> countOf;      // the journal's count of each sample taken
};

// Applies one checked record; false when it cannot be taken: it repeats or
// comes before the ones taken, holds what a data file cannot, or does not
// hold what its kind needs.
bool apply(JournalRecording& r, Numbering& at, JournalKind kind,
           std::span<const std::uint8_t> payload) {
    Fields f(payload);
    switch (kind) {
    case JournalKind::Sample: {
        if (payload.size() < kSampleFixed)
            return false;
        const std::size_t unitLen = f.at(kSampleFixed - 2);
        if (payload.size() < kSampleFixed + unitLen)
            return false;
        const std::size_t textLen = f.at(kSampleFixed - 1 + unitLen);
        const std::size_t markLen = at.version >= 2 ? 1 : 0;
        const std::size_t msLen = at.version >= 3 ? 2 : 0;
        if (payload.size() != kSampleFixed + unitLen + textLen + markLen + msLen ||
            unitLen > kDovDatMaxText || textLen > kDovDatMaxText)
            return false;
        const std::uint8_t mark = markLen ? payload[kSampleFixed + unitLen + textLen] : 0;
        if (mark > static_cast<std::uint8_t>(LogMark::WithoutValue))
            return false;
        int millisecond = -1;
        if (msLen) {
            millisecond = static_cast<std::int16_t>(payload[payload.size() - 2] |
                                                    payload[payload.size() - 1] << 8);
            if (millisecond < -1 || millisecond > 999)
                return false;
        }
        const float value = f.f32();
        const std::int64_t time = f.i64();
        const std::uint32_t recCount = f.u32();
        const std::uint32_t graphCount = f.u32();
        const float runMax = f.f32();
        const float runMin = f.f32();
        if (recCount <= at.last || recCount > static_cast<std::uint32_t>(MAX_DATA) ||
            graphCount == 0 || graphCount > recCount || !std::isfinite(value) ||
            !std::isfinite(runMax) || !std::isfinite(runMin))
            return false;
        r.runMax = runMax;
        r.runMin = runMin;
        f.take(1);
        r.units.push_back(f.text(unitLen));
        f.take(1);
        r.timeTexts.push_back(f.text(textLen));
        r.logs.push_back(static_cast<LogMark>(mark));
        r.milliseconds.push_back(static_cast<std::int16_t>(millisecond));
        r.values.push_back(value);
        r.times.push_back(time);
        at.last = recCount;
        at.graphFrom = recCount - graphCount;
        at.countOf.push_back(recCount);
        return true;
    }
    case JournalKind::ClearScreen:
    case JournalKind::Saved: {
        const std::uint32_t recCount = f.u32();
        if (recCount < at.last || recCount > static_cast<std::uint32_t>(MAX_DATA))
            return false;
        at.last = recCount;
        if (kind == JournalKind::ClearScreen)
            at.graphFrom = recCount;
        else
            r.savedCount = r.count(); // every sample taken so far has a count up to it
        return true;
    }
    }
    return false;
}

// The size of the whole record with a good checksum at `at`, or 0.
std::size_t recordAt(std::span<const std::uint8_t> bytes, std::size_t at) {
    if (bytes.size() - at < kRecordHead + kRecordTail)
        return 0;
    const std::size_t payload = bytes[at + 1] | std::size_t{bytes[at + 2]} << 8;
    switch (static_cast<JournalKind>(bytes[at])) {
    case JournalKind::Sample:
        if (payload < kSampleFixed || payload > kSampleFixed + 2 * kJournalMaxText + 3)
            return 0;
        break;
    case JournalKind::ClearScreen:
    case JournalKind::Saved:
        if (payload != 4)
            return 0;
        break;
    default:
        return 0;
    }
    if (bytes.size() - at < kRecordHead + payload + kRecordTail)
        return 0;
    const auto body = bytes.subspan(at, kRecordHead + payload);
    if (journalCrc32(body) != Fields(bytes.subspan(at + body.size(), 4)).u32())
        return 0;
    return body.size() + kRecordTail;
}

} // namespace

JournalSample committedSample(const SampleStore& store, int index, float runMax, float runMin) {
    const JournalSampleView f = committedFields(store, index, runMax, runMin, LogMark::None);
    return {f.value,    std::string(f.unit), f.time,   std::string(f.timeText),
            f.recCount, f.graphCount,        f.runMax, f.runMin,
            f.log,      f.millisecond};
}

void appendCommittedRecord(std::vector<std::uint8_t>& out, const SampleStore& store, int index,
                           float runMax, float runMin, LogMark log) {
    putSample(out, committedFields(store, index, runMax, runMin, log));
}

JournalSample lastCommittedSample(const SampleStore& store, float runMax, float runMin) {
    return committedSample(store, store.recCount() - 1, runMax, runMin);
}

std::uint32_t journalCrc32(std::span<const std::uint8_t> bytes, std::uint32_t crc) {
    const auto& t = kCrcTables;
    const auto le32 = [](const std::uint8_t* p) {
        return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
               std::uint32_t{p[3]} << 24;
    };
    crc = ~crc;
    const std::uint8_t* p = bytes.data();
    std::size_t n = bytes.size();
    for (; n >= 8; p += 8, n -= 8) {
        const std::uint32_t lo = le32(p) ^ crc;
        const std::uint32_t hi = le32(p + 4);
        crc = t[7][lo & 0xFFu] ^ t[6][(lo >> 8) & 0xFFu] ^ t[5][(lo >> 16) & 0xFFu] ^
              t[4][lo >> 24] ^ t[3][hi & 0xFFu] ^ t[2][(hi >> 8) & 0xFFu] ^
              t[1][(hi >> 16) & 0xFFu] ^ t[0][hi >> 24];
    }
    for (; n > 0; ++p, --n)
        crc = t[0][(crc ^ *p) & 0xFFu] ^ (crc >> 8);
    return ~crc;
}

std::vector<std::uint8_t> encodeJournalHeader() {
    std::vector<std::uint8_t> out(kMagic.begin(), kMagic.end());
    putU32(out, kJournalVersion);
    return out;
}

std::vector<std::uint8_t> encodeJournal(const JournalRecording& r) {
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
                                 i < graphStart ? i + 1 : i + 1 - graphStart, r.runMax, r.runMin,
                                 k < r.logs.size() ? r.logs[k] : LogMark::None,
                                 k < r.milliseconds.size() ? r.milliseconds[k] : -1});
    }
    return out;
}

void appendSampleRecord(std::vector<std::uint8_t>& out, const JournalSample& sample) {
    putSample(out,
              {sample.value, sample.unit, sample.time, sample.timeText, sample.recCount,
               sample.graphCount, sample.runMax, sample.runMin, sample.log, sample.millisecond});
}

void appendClearScreenRecord(std::vector<std::uint8_t>& out, int recCount) {
    const std::size_t start = openRecord(out, JournalKind::ClearScreen);
    putU32(out, count32(recCount));
    closeRecord(out, start);
}

void appendSavedRecord(std::vector<std::uint8_t>& out, int recCount) {
    const std::size_t start = openRecord(out, JournalKind::Saved);
    putU32(out, count32(recCount));
    closeRecord(out, start);
}

std::string journalDamageText(const JournalReading& reading) {
    const std::size_t bytes = reading.skippedBytes();
    const int records = reading.skippedRecords;
    std::string text = "The journal is damaged: " + std::to_string(bytes) +
                       (bytes == 1 ? " byte of it was left out" : " bytes of it were left out");
    if (records > 0)
        text += " (" + std::to_string(records) +
                (records == 1 ? " whole record among them that repeats an earlier one or holds"
                              : " whole records among them that repeat earlier ones or hold") +
                " what a data file cannot)";
    return text + "; every whole record before and after them was kept.";
}

JournalReading readJournal(std::span<const std::uint8_t> bytes) {
    JournalReading reading;
    reading.totalBytes = bytes.size();
    const std::size_t magicSeen = std::min(bytes.size(), kMagic.size());
    if (!std::equal(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(magicSeen),
                    kMagic.begin())) {
        reading.status = JournalStatus::NotAJournal;
        return reading;
    }
    if (bytes.size() < kJournalHeaderSize) {
        // Cut while the header was written: nothing was journalled yet,
        // unless the version bytes there already say another format.
        bool known = false;
        for (std::uint32_t v = kJournalOldestVersion; v <= kJournalVersion && !known; ++v) {
            std::vector<std::uint8_t> versioned(kMagic.begin(), kMagic.end());
            putU32(versioned, v);
            known = std::equal(bytes.begin(), bytes.end(), versioned.begin());
        }
        if (known)
            reading.validBytes = bytes.size();
        else
            reading.status = JournalStatus::UnknownVersion;
        return reading;
    }
    reading.version = Fields(bytes.subspan(kMagic.size(), 4)).u32();
    if (reading.version < kJournalOldestVersion || reading.version > kJournalVersion) {
        reading.status = JournalStatus::UnknownVersion;
        return reading;
    }

    reading.validBytes = kJournalHeaderSize;
    Numbering numbering;
    numbering.version = reading.version;
    std::size_t lastEnd = 0; // where the last record taken ends
    for (std::size_t at = kJournalHeaderSize; at < bytes.size();) {
        std::size_t size = recordAt(bytes, at);
        std::size_t overlap = 0;
        if (size == 0 && at == lastEnd) {
            // A record cut short in its checksum and followed by the next
            // one can pass its check with that record's first bytes: the
            // next record then starts inside the checksum just read.
            for (overlap = 1; overlap < kRecordTail; ++overlap) {
                size = recordAt(bytes, at - overlap);
                if (size != 0)
                    break;
            }
            if (size != 0)
                at -= overlap;
            else
                overlap = 0;
        }
        if (size == 0) {
            ++at; // damaged: look for the next record from the next byte
            continue;
        }
        if (apply(reading.recording, numbering, static_cast<JournalKind>(bytes[at]),
                  bytes.subspan(at + kRecordHead, size - kRecordHead - kRecordTail))) {
            reading.validBytes += size - overlap;
            lastEnd = at + size;
        } else {
            ++reading.skippedRecords;
        }
        at += size;
    }
    const auto& counts = numbering.countOf;
    reading.recording.graphCount = static_cast<int>(
        counts.end() - std::upper_bound(counts.begin(), counts.end(), numbering.graphFrom));
    return reading;
}
