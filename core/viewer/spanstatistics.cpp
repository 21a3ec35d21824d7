#include "core/viewer/spanstatistics.h"

#include "core/viewer/minmaxpyramid.h"
#include "core/viewer/recordingseries.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace {

// The episode of samples [first, last) of a span that ends before `spanEnd`.
AlarmEpisode episodeOf(const RecordingSeries& series, const MinMaxPyramid& pyramid,
                       AlarmLevel level, double limit, std::size_t first, std::size_t last,
                       std::size_t spanEnd) {
    AlarmEpisode e;
    e.level = level;
    e.limit = limit;
    e.first = first;
    e.last = last;
    e.startMs = series.time(first);
    const bool holdsOn = last < spanEnd && !series.gapBefore(last);
    e.endMs = series.time(holdsOn ? last : last - 1);
    const SpanSummary summary = pyramid.summary(first, last);
    const bool high = level == AlarmLevel::High;
    e.extreme = high ? summary.high : summary.low;
    e.extremeMs = series.time(high ? summary.highIndex : summary.lowIndex);
    return e;
}

} // namespace

AlarmEpisodes::AlarmEpisodes(const RecordingSeries& series, const SpanLimits& limits)
    : m_limits(limits) {
    if (m_limits.high && m_limits.low && *m_limits.high < *m_limits.low)
        std::swap(m_limits.high, m_limits.low);
    const auto levelOf = [this](std::size_t i, const RecordingSeries& s) {
        if (!s.hasValue(i))
            return AlarmLevel::Normal;
        const float v = s.value(i);
        if (m_limits.high && v > static_cast<float>(*m_limits.high))
            return AlarmLevel::High;
        if (m_limits.low && v < static_cast<float>(*m_limits.low))
            return AlarmLevel::Low;
        return AlarmLevel::Normal;
    };
    const std::size_t n = series.size();
    AlarmEpisode open;
    AlarmLevel openLevel = AlarmLevel::Normal;
    const auto close = [&](std::size_t end) {
        open.last = end;
        open.endMs = series.time(end < n && !series.gapBefore(end) ? end : end - 1);
        m_episodes.push_back(open);
        const std::int64_t ms = open.durationMs();
        m_aboveBefore.push_back(m_aboveBefore.back() + (openLevel == AlarmLevel::High ? ms : 0));
        m_belowBefore.push_back(m_belowBefore.back() + (openLevel == AlarmLevel::Low ? ms : 0));
        openLevel = AlarmLevel::Normal;
    };
    for (std::size_t i = 0; i < n; ++i) {
        const AlarmLevel level = levelOf(i, series);
        if (openLevel != AlarmLevel::Normal && (level != openLevel || series.gapBefore(i)))
            close(i);
        if (level == AlarmLevel::Normal)
            continue;
        const float v = series.value(i);
        const bool high = level == AlarmLevel::High;
        if (openLevel == AlarmLevel::Normal) {
            openLevel = level;
            open = AlarmEpisode{level,
                                high ? *m_limits.high : *m_limits.low,
                                series.time(i),
                                0,
                                v,
                                series.time(i),
                                i,
                                i};
        } else if (high ? v > open.extreme : v < open.extreme) {
            open.extreme = v;
            open.extremeMs = series.time(i);
        }
    }
    if (openLevel != AlarmLevel::Normal)
        close(n);
}

void AlarmEpisodes::addSpan(const RecordingSeries& series, const MinMaxPyramid& pyramid,
                            std::size_t first, std::size_t last, std::size_t maxEpisodes,
                            SpanStatistics& stats) const {
    // Episodes do not overlap, so both their starts and their ends are in order.
    const auto begin =
        std::upper_bound(m_episodes.begin(), m_episodes.end(), first,
                         [](std::size_t at, const AlarmEpisode& e) { return at < e.last; });
    const auto end =
        std::lower_bound(begin, m_episodes.end(), last,
                         [](const AlarmEpisode& e, std::size_t at) { return e.first < at; });
    if (begin == end)
        return;
    stats.episodeCount += static_cast<std::size_t>(end - begin);
    // The span's first and last episode may be cut, or end differently at the
    // span's end: those two are worked out again; the rest are as found.
    const auto within = [&](const AlarmEpisode& e) {
        if (e.first >= first && e.last < last)
            return e;
        return episodeOf(series, pyramid, e.level, e.limit, std::max(e.first, first),
                         std::min(e.last, last), last);
    };
    const AlarmEpisode head = within(*begin);
    const AlarmEpisode tail = within(*(end - 1));
    const auto k0 = static_cast<std::size_t>(begin - m_episodes.begin());
    const auto k1 = static_cast<std::size_t>(end - m_episodes.begin());
    stats.aboveMs += m_aboveBefore[k1] - m_aboveBefore[k0];
    stats.belowMs += m_belowBefore[k1] - m_belowBefore[k0];
    const auto adjust = [&stats](const AlarmEpisode& found, const AlarmEpisode& cut) {
        std::int64_t& total = found.level == AlarmLevel::High ? stats.aboveMs : stats.belowMs;
        total += cut.durationMs() - found.durationMs();
    };
    adjust(*begin, head);
    if (end - begin > 1)
        adjust(*(end - 1), tail);
    for (auto e = begin; e != end && stats.episodes.size() < maxEpisodes; ++e)
        stats.episodes.push_back(e == begin ? head : e == end - 1 ? tail : *e);
}

SpanStatistics spanStatistics(const RecordingSeries& series, const MinMaxPyramid& pyramid,
                              const AlarmEpisodes& episodes, std::size_t first, std::size_t last,
                              std::size_t maxEpisodes) {
    SpanStatistics stats;
    last = std::min(last, series.size());
    if (first >= last)
        return stats;
    stats.samples = last - first;
    stats.firstMs = series.time(first);
    stats.lastMs = series.time(last - 1);

    const SpanSummary summary = pyramid.summary(first, last);
    stats.noValue = stats.samples - summary.count;
    if (summary.count > 0) {
        stats.min = summary.low;
        stats.minMs = series.time(summary.lowIndex);
        stats.max = summary.high;
        stats.maxMs = series.time(summary.highIndex);
        const double n = summary.count;
        stats.mean = summary.sum / n;
        if (summary.count > 1) {
            // Sums of squares of values far from 0 lose the last digits: never below 0.
            const double squares = summary.sumSquares - summary.sum * stats.mean;
            stats.stddev = std::sqrt(std::max(0.0, squares / (n - 1.0)));
        }
    }

    // A gap before the span's first sample is not in the span.
    for (std::size_t i = pyramid.nextGap(first + 1, last); i < last;
         i = pyramid.nextGap(i + 1, last)) {
        ++stats.gaps;
        stats.gapMs += series.time(i) - series.time(i - 1);
    }
    episodes.addSpan(series, pyramid, first, last, maxEpisodes, stats);
    return stats;
}

std::string durationText(std::int64_t ms) {
    std::string text;
    const std::int64_t days = ms / 86'400'000;
    const std::int64_t hours = ms / 3'600'000 % 24;
    const std::int64_t minutes = ms / 60'000 % 60;
    if (days)
        text += std::to_string(days) + " d ";
    if (days || hours)
        text += std::to_string(hours) + " h ";
    if (days || hours || minutes)
        text += std::to_string(minutes) + " min ";
    const std::int64_t rest = ms % 60'000;
    if (rest % 1000 == 0)
        return text + std::to_string(rest / 1000) + " s";
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.3f s", static_cast<double>(rest) / 1000.0);
    return text + seconds;
}
