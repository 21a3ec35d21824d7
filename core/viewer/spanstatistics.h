#pragma once

#include "core/store/alarmstate.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class MinMaxPyramid;
class RecordingSeries;

// The limits a recording is judged against; either may be missing. A high
// limit below the low one is taken the other way round, as the graph draws them.
struct SpanLimits {
    std::optional<double> high;
    std::optional<double> low;
};

// A stretch of time beyond one limit: a run of samples strictly beyond it with
// no break of the line between them (a sample with no value or a gap ends it).
// Each sample holds until the next one, never across a gap, and the last one
// of a span holds nothing: the episode ends at the time of the first sample
// after the run, or at the run's last sample where a gap or the span's end follows.
struct AlarmEpisode {
    AlarmLevel level = AlarmLevel::High; // High or Low
    double limit = 0.0;
    std::int64_t startMs = 0;
    std::int64_t endMs = 0;
    float extreme = 0.0f; // the highest value of a high episode, the lowest of a low one
    std::int64_t extremeMs = 0;
    std::size_t first = 0; // its samples: [first, last)
    std::size_t last = 0;

    std::int64_t durationMs() const { return endMs - startMs; }
};

// What a span of samples says. Times are milliseconds since the Unix epoch.
struct SpanStatistics {
    std::size_t samples = 0; // in the span, with or without a value
    std::size_t noValue = 0;
    std::int64_t firstMs = 0; // the first and last sample's time (only when samples > 0)
    std::int64_t lastMs = 0;
    // Of the samples with a value (only when samples > noValue):
    float min = 0.0f;
    std::int64_t minMs = 0;
    float max = 0.0f;
    std::int64_t maxMs = 0;
    double mean = 0.0;
    double stddev = 0.0;  // the sample standard deviation (0 for one sample)
    std::size_t gaps = 0; // breaks in time inside the span, and their length
    std::int64_t gapMs = 0;
    std::int64_t aboveMs = 0; // the time beyond each limit, by the rule of AlarmEpisode
    std::int64_t belowMs = 0;
    std::size_t episodeCount = 0;       // every episode in the span
    std::vector<AlarmEpisode> episodes; // in time order, at most the first `maxEpisodes` asked

    bool hasValues() const { return samples > noValue; }
    std::int64_t durationMs() const { return lastMs - firstMs; }
};

// The alarm episodes of a whole finished series against its limits, found in
// one pass when the limits are set; any span's share of them then comes from
// two binary searches.
class AlarmEpisodes {
public:
    AlarmEpisodes() = default;
    AlarmEpisodes(const RecordingSeries& series, const SpanLimits& limits);

    const SpanLimits& limits() const { return m_limits; }
    // Every episode of the series, high and low, in time order.
    const std::vector<AlarmEpisode>& all() const { return m_episodes; }

    // The episodes, their number and the time above and below in samples
    // [first, last), into `stats`; episodes cut by the span's ends are cut there.
    void addSpan(const RecordingSeries& series, const MinMaxPyramid& pyramid, std::size_t first,
                 std::size_t last, std::size_t maxEpisodes, SpanStatistics& stats) const;

private:
    SpanLimits m_limits;
    std::vector<AlarmEpisode> m_episodes;
    // Of the first k episodes: the time of the high ones and of the low ones.
    std::vector<std::int64_t> m_aboveBefore{0};
    std::vector<std::int64_t> m_belowBefore{0};
};

// The statistics of samples [first, last) of a finished series, from its
// pyramid and its episodes: the cost grows with the gaps in the span and the
// episodes listed, not with its samples.
SpanStatistics spanStatistics(const RecordingSeries& series, const MinMaxPyramid& pyramid,
                              const AlarmEpisodes& episodes, std::size_t first, std::size_t last,
                              std::size_t maxEpisodes = 10000);

// A length of time for people: "2 h 5 min 3.5 s", "0 s".
std::string durationText(std::int64_t ms);
