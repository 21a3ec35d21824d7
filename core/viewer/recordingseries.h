#pragma once

#include "core/text/valuetext.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

// The samples of any number of recordings as one time-ordered series, kept
// compact for recordings of millions of samples (about 9 bytes a sample).
//
// Per sample: its time (milliseconds since the Unix epoch, UTC), its value (a
// float; 3000.0 or more is "no value", see isNoValue in text/valuetext.h),
// its unit letter ('C', 'F' or none), its mark (the log flag of a reading the
// instrument marked as logged), and where it came from (which file of files(),
// which sample of that file, both counted from 0). gapBefore(i) says that the
// line breaks before sample i because the time since sample i - 1 is longer
// than gapThreshold(): 10 s and ten times the usual interval.
//
// Built by the readers (recordingreader.h): beginFile(), append() per sample,
// then finish(), which orders the samples by time (stable), spreads samples
// that share a second of a whole-second format evenly over that second, and
// marks the gaps. After finish() the series is read-only and may be read from
// any thread.
class RecordingSeries {
public:
    struct Source {
        int file = -1;  // index into files()
        int sample = 0; // the sample's position in that file
    };

    RecordingSeries();
    RecordingSeries(RecordingSeries&&) noexcept;
    RecordingSeries& operator=(RecordingSeries&&) noexcept;
    ~RecordingSeries();

    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }

    std::int64_t time(std::size_t i) const {
        const Block& b = block(i);
        const std::int32_t offset = b.offset[i & kBlockMask];
        return offset == kFarOffset ? m_farTimes.at(i) : b.base + offset;
    }
    float value(std::size_t i) const { return block(i).value[i & kBlockMask]; }
    bool hasValue(std::size_t i) const { return !isNoValue(value(i)); }
    char unit(std::size_t i) const; // 'C', 'F' or '\0'
    bool mark(std::size_t i) const { return block(i).flags[i & kBlockMask] & kMarkBit; }
    bool gapBefore(std::size_t i) const { return block(i).flags[i & kBlockMask] & kGapBit; }
    // The line does not go from sample i - 1 to sample i: either has no value,
    // or there is a gap between them. Always true for sample 0.
    bool breakBefore(std::size_t i) const;
    Source source(std::size_t i) const;

    // Samples lie side by side in blocks of kBlockSize that start at multiples
    // of it: from sample i to the end of its block, their values and flags, for
    // passes over many samples. gapFlag(flags) is gapBefore.
    static constexpr std::size_t kBlockBits = 12;
    static constexpr std::size_t kBlockSize = std::size_t{1} << kBlockBits;
    const float* valuesFrom(std::size_t i) const { return &block(i).value[i & kBlockMask]; }
    const std::uint8_t* flagsFrom(std::size_t i) const { return &block(i).flags[i & kBlockMask]; }
    static bool gapFlag(std::uint8_t flags) { return flags & kGapBit; }

    // The files the samples came from, as given to beginFile().
    const std::vector<std::string>& files() const { return m_files; }

    // The first sample at or after `timeMs` (size() when none).
    std::size_t lowerBound(std::int64_t timeMs) const;

    std::int64_t firstTime() const { return m_size ? time(0) : 0; }
    std::int64_t lastTime() const { return m_size ? time(m_size - 1) : 0; }
    // The median interval between samples, and the interval beyond which the line breaks.
    std::int64_t usualInterval() const { return m_usualInterval; }
    std::int64_t gapThreshold() const { return m_gapThreshold; }

    // Bytes held for the samples (for the figures).
    std::size_t memoryBytes() const;

    // Building. `wholeSeconds`: the file's times are whole seconds, so samples
    // that share one are spread over it.
    void beginFile(std::string path, bool wholeSeconds);
    // Whether the samples appended from now on have whole-second times.
    void setWholeSeconds(bool wholeSeconds) { m_wholeSeconds = wholeSeconds; }
    // `sample`: the sample's position in its file (a damaged line left out
    // leaves a hole in the count).
    void append(std::int64_t timeMs, float value, char unit, bool mark, int sample);
    void finish();

private:
    static constexpr std::size_t kBlockMask = kBlockSize - 1;
    static constexpr std::int32_t kFarOffset = INT32_MIN; // the time is in m_farTimes
    static constexpr std::uint8_t kUnitMask = 0x03;       // 0 none, 1 'C', 2 'F'
    static constexpr std::uint8_t kMarkBit = 0x04;
    static constexpr std::uint8_t kGapBit = 0x08;
    static constexpr std::uint8_t kWholeSecondBit = 0x10; // while building

    struct Block {
        std::int64_t base = 0;
        std::array<std::int32_t, kBlockSize> offset;
        std::array<float, kBlockSize> value;
        std::array<std::uint8_t, kBlockSize> flags;
    };
    // Consecutive samples that come from consecutive samples of one file.
    struct SourceRun {
        std::size_t start = 0;
        int file = 0;
        int firstSample = 0;
    };

    const Block& block(std::size_t i) const { return *m_blocks[i >> kBlockBits]; }
    Block& block(std::size_t i) { return *m_blocks[i >> kBlockBits]; }
    void setTime(std::size_t i, std::int64_t timeMs);
    void sortByTime();
    void spreadSharedSeconds();
    void markGaps();

    std::vector<std::unique_ptr<Block>> m_blocks;
    std::unordered_map<std::size_t, std::int64_t> m_farTimes;
    std::vector<SourceRun> m_runs;
    std::vector<std::string> m_files;
    std::size_t m_size = 0;
    int m_file = -1;             // the file being appended
    bool m_wholeSeconds = false; // its times are whole seconds
    std::int64_t m_usualInterval = 0;
    std::int64_t m_gapThreshold = 0;
};
