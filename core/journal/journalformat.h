#pragma once

#include "core/store/recordingsnapshot.h"
#include "core/store/samplestore.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The recording journal's bytes. A journal holds the recorded series from the
// moment the store was last empty: a header, then one record per event, each
// closed by its own checksum, so that a reader finds the records again past a
// tail cut by a crash or bytes damaged on the disk, and keeps every whole one.
//
//   header   8 bytes magic "OrvJrnl\n", u32 format version (3; 1 and 2 are read too)
//   record   u8 kind, u16 payload length, payload, u32 CRC-32 of the three before
//
// Payloads (integers little-endian, floats as their IEEE bits):
//   sample        f32 value, i64 calendar time, u32 recorded count and u32 graph
//                 count after the commit, f32 running maximum, f32 running
//                 minimum, u8 length + unit text, u8 length + time text, u8
//                 log mark (LogMark; version 2 on, a sample of version 1 has none),
//                 i16 millisecond within the time's second, -1 where it is not
//                 known (version 3 on; a sample of an older version has none)
//   clear screen  u32 recorded count (the graph series restarts, the recorded
//                 series goes on)
//   saved         u32 recorded count (samples 1..count were written to a file)
//
// A journal is emptied (cut back to its header) whenever the recorded series is
// emptied; it has no record for that. The counts in a journal's records only
// grow: a record whose count is behind the ones before it repeats an old one.

inline constexpr std::uint32_t kJournalVersion = 3;
// The oldest format this reader still takes.
inline constexpr std::uint32_t kJournalOldestVersion = 1;
inline constexpr std::size_t kJournalHeaderSize = 12;
// Unit and time texts are cut to this many bytes when written; a sample is read
// back only with texts a data file can hold (kDovDatMaxText).
inline constexpr std::size_t kJournalMaxText = 255;
enum class JournalKind : std::uint8_t {
    Sample = 1,
    ClearScreen = 2,
    Saved = 3,
};

// One committed sample with the counters after its commit; its texts owned
// (JournalSample) or borrowed (JournalSampleView).
template <class Text> struct BasicJournalSample {
    float value = 0.0f;
    Text unit;
    std::int64_t time = 0;
    Text timeText;
    int recCount = 0;
    int graphCount = 0;
    float runMax = kNoRunMax;
    float runMin = kNoRunMin;
    LogMark log = LogMark::None;
    int millisecond = -1;
};
using JournalSample = BasicJournalSample<std::string>;
using JournalSampleView = BasicJournalSample<std::string_view>;

// Recorded sample `index` of `store` (a list row's index) with the counters
// after its commit, for the rows of one received block: the graph count is
// taken back from the store's by the samples recorded after it. The running
// extremes are the panel's as they are now.
JournalSample committedSample(const SampleStore& store, int index, float runMax, float runMin);
// The same written as a record at the end of `out`, with the log mark
// `log`: appendSampleRecord(out, committedSample(...)) without copying texts.
void appendCommittedRecord(std::vector<std::uint8_t>& out, const SampleStore& store, int index,
                           float runMax, float runMin, LogMark log);
// The sample just committed to `store` (its last recorded one).
JournalSample lastCommittedSample(const SampleStore& store, float runMax, float runMin);

// CRC-32 (the reflected 0xEDB88320 polynomial), continued from `crc`.
std::uint32_t journalCrc32(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0);

std::vector<std::uint8_t> encodeJournalHeader();
struct JournalRecording;
// The plainest journal of a recording: its samples in order, Clear Screen where
// the graph series begins, the save after the saved samples.
std::vector<std::uint8_t> encodeJournal(const JournalRecording& recording);
// Append one whole record to `out`.
void appendSampleRecord(std::vector<std::uint8_t>& out, const JournalSample& sample);
void appendClearScreenRecord(std::vector<std::uint8_t>& out, int recCount);
void appendSavedRecord(std::vector<std::uint8_t>& out, int recCount);

// The recording a journal rebuilds.
struct JournalRecording : RecordingSnapshot {
    // Samples 1..savedCount are in a data file already.
    int savedCount = 0;

    int unsavedCount() const { return count() - savedCount; }
};

enum class JournalStatus {
    Read,           // the recording holds every whole record (maybe none)
    NotAJournal,    // the file does not begin with the journal's header
    UnknownVersion, // a journal of a format this program does not know
};

struct JournalReading {
    JournalStatus status = JournalStatus::Read;
    std::uint32_t version = 0;
    JournalRecording recording;
    // Bytes of the header and of the records taken into the recording. The
    // others were left out: damaged bytes (a record cut by a crash, a bad
    // checksum) and whole records that were skipped.
    std::size_t validBytes = 0;
    std::size_t totalBytes = 0;
    // Whole records left out: a repeated one, or a sample a data file could
    // not hold (a value that is not a finite number, a text too long).
    int skippedRecords = 0;

    bool read() const { return status == JournalStatus::Read; }
    bool damaged() const { return read() && validBytes < totalBytes; }
    std::size_t skippedBytes() const { return read() ? totalBytes - validBytes : 0; }
};

// The sentence that tells a user what a damaged journal lost, such as "The
// journal is damaged: 72 bytes of it were left out; every whole record before
// and after them was kept."
std::string journalDamageText(const JournalReading& reading);

// Rebuilds the recording from a journal's bytes. After a damaged byte the
// reading goes on at the next place a whole record with a good checksum
// begins, so every whole record before and after damage is kept. Never
// throws; an empty input or a cut header reads as an empty journal.
JournalReading readJournal(std::span<const std::uint8_t> bytes);
