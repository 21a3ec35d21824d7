#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

class RecordingSeries;

// What a span of samples holds, counting only samples with a value: how many,
// the lowest and highest value with the position of the first sample that has
// it, the sum and the sum of squares of the values (in double); and `breaks`,
// the samples at which the line starts afresh (no value, or a gap before them).
struct SpanSummary {
    float low = std::numeric_limits<float>::infinity();
    float high = -std::numeric_limits<float>::infinity();
    std::uint32_t lowIndex = 0; // position in the series; only when count > 0
    std::uint32_t highIndex = 0;
    std::uint32_t count = 0;
    std::uint32_t breaks = 0;
    double sum = 0.0;
    double sumSquares = 0.0;

    // The summary of this span followed by `next` (ties keep the earlier position).
    void add(const SpanSummary& next);
};

// A min/max pyramid over a finished series: summaries of blocks of 64 samples,
// then of pairs of those, and so on up to one for the whole series, and the
// first time of each block (about 1.4 bytes a sample). Any span's summary and the next break or the
// next sample with a value come from O(log n) nodes and at most 128 samples, never from a pass over
// the span. The series must outlive the pyramid and stay unchanged.
class MinMaxPyramid {
public:
    static constexpr std::size_t kLeafSize = 64;

    MinMaxPyramid() = default;
    explicit MinMaxPyramid(const RecordingSeries& series);

    // The summary of samples [first, last).
    SpanSummary summary(std::size_t first, std::size_t last) const;
    // The summary of the unbroken piece of line that starts at `first` (a
    // sample with a value) and runs up to the next break after it or to
    // `last`, whichever comes first; `end` is where it stops. A break before
    // `first` itself is not counted.
    SpanSummary pieceSummary(std::size_t first, std::size_t last, std::size_t& end) const;
    // The first sample in [from, to) at or after `timeMs`; `to` when none. Looks
    // through the first times of the blocks before it reads the samples' own.
    std::size_t firstAtOrAfter(std::int64_t timeMs, std::size_t from, std::size_t to) const;
    // The first sample in [from, to) that has a value; `to` when none.
    std::size_t nextValue(std::size_t from, std::size_t to) const;
    // The first sample in [from, to) with a gap before it; `to` when none.
    std::size_t nextGap(std::size_t from, std::size_t to) const;

    std::size_t memoryBytes() const;

private:
    void addSamples(SpanSummary& s, std::size_t first, std::size_t last) const;
    std::size_t addSamplesToBreak(SpanSummary& s, std::size_t first, std::size_t last) const;
    template <typename NodeHit, typename SampleHit>
    std::size_t findFirst(std::size_t from, std::size_t to, NodeHit nodeHit,
                          SampleHit sampleHit) const;

    const RecordingSeries* m_series = nullptr;
    std::vector<std::vector<SpanSummary>> m_levels; // [0]: blocks of kLeafSize samples
    std::vector<std::int64_t> m_leafTimes;          // the first time of each block
};
