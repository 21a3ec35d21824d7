#include "core/viewer/minmaxpyramid.h"

#include "core/viewer/recordingseries.h"

#include <algorithm>

void SpanSummary::add(const SpanSummary& next) {
    if (next.low < low) {
        low = next.low;
        lowIndex = next.lowIndex;
    }
    if (next.high > high) {
        high = next.high;
        highIndex = next.highIndex;
    }
    count += next.count;
    breaks += next.breaks;
    sum += next.sum;
    sumSquares += next.sumSquares;
}

MinMaxPyramid::MinMaxPyramid(const RecordingSeries& series) : m_series(&series) {
    const std::size_t n = series.size();
    std::vector<SpanSummary> leaves((n + kLeafSize - 1) / kLeafSize);
    for (std::size_t i = 0; i < n; ++i)
        leaves[i / kLeafSize].add(sampleSummary(i));
    m_levels.push_back(std::move(leaves));
    while (m_levels.back().size() > 1) {
        const std::vector<SpanSummary>& below = m_levels.back();
        std::vector<SpanSummary> level((below.size() + 1) / 2);
        for (std::size_t k = 0; k < below.size(); ++k)
            level[k / 2].add(below[k]);
        m_levels.push_back(std::move(level));
    }
}

SpanSummary MinMaxPyramid::sampleSummary(std::size_t i) const {
    SpanSummary s;
    const auto at = static_cast<std::uint32_t>(i);
    if (m_series->hasValue(i)) {
        const float v = m_series->value(i);
        s.low = s.high = v;
        s.lowIndex = s.highIndex = at;
        s.count = 1;
        s.sum = v;
        s.sumSquares = static_cast<double>(v) * v;
    } else {
        s.breaks = 1;
    }
    if (m_series->gapBefore(i))
        s.breaks = 1;
    return s;
}

SpanSummary MinMaxPyramid::summary(std::size_t first, std::size_t last) const {
    SpanSummary s;
    if (!m_series)
        return s;
    last = std::min(last, m_series->size());
    std::size_t i = first;
    const std::size_t head = std::min(last, (first + kLeafSize - 1) / kLeafSize * kLeafSize);
    addSamples(s, i, head);
    i = std::max(i, head);
    while (i + kLeafSize <= last) {
        std::size_t k = i / kLeafSize;
        std::size_t level = 0;
        while (level + 1 < m_levels.size() && k % 2 == 0 &&
               i + (kLeafSize << (level + 1)) <= last) {
            k /= 2;
            ++level;
        }
        s.add(m_levels[level][k]);
        i += kLeafSize << level;
    }
    addSamples(s, i, last);
    return s;
}

void MinMaxPyramid::addSamples(SpanSummary& s, std::size_t first, std::size_t last) const {
    // What s.add(sampleSummary(i)) does for each, in one pass: the edges of
    // every column of a drawing come through here.
    for (std::size_t i = first; i < last; ++i) {
        const float v = m_series->value(i);
        if (!m_series->hasValue(i)) {
            ++s.breaks;
            continue;
        }
        const auto at = static_cast<std::uint32_t>(i);
        if (v < s.low) {
            s.low = v;
            s.lowIndex = at;
        }
        if (v > s.high) {
            s.high = v;
            s.highIndex = at;
        }
        ++s.count;
        s.sum += v;
        s.sumSquares += static_cast<double>(v) * v;
        if (m_series->gapBefore(i))
            ++s.breaks;
    }
}

template <typename NodeHit, typename SampleHit>
std::size_t MinMaxPyramid::findFirst(std::size_t from, std::size_t to, NodeHit nodeHit,
                                     SampleHit sampleHit) const {
    if (!m_series)
        return to;
    const std::size_t n = m_series->size();
    to = std::min(to, n);
    std::size_t i = from;
    for (; i < to && i % kLeafSize != 0; ++i)
        if (sampleHit(i))
            return i;
    if (i >= to)
        return to;
    std::size_t level = 0;
    std::size_t k = i / kLeafSize;
    for (;;) {
        const std::size_t start = k * (kLeafSize << level);
        if (start >= to || k >= m_levels[level].size())
            return to;
        const std::size_t end = std::min(n, start + (kLeafSize << level));
        const bool hit = nodeHit(m_levels[level][k]);
        if (hit && level > 0) {
            --level;
            k *= 2;
            continue;
        }
        // A node's test may let through a block whose samples all miss
        // (a break that is no gap): then the search goes on after it.
        if (hit)
            for (std::size_t j = start; j < std::min(end, to); ++j)
                if (sampleHit(j))
                    return j;
        if (end >= to)
            return to;
        ++k;
        while (k % 2 == 0 && level + 1 < m_levels.size()) {
            k /= 2;
            ++level;
        }
    }
}

std::size_t MinMaxPyramid::nextBreak(std::size_t from, std::size_t to) const {
    return findFirst(
        from, to, [](const SpanSummary& s) { return s.breaks > 0; },
        [this](std::size_t i) { return !m_series->hasValue(i) || m_series->gapBefore(i); });
}

std::size_t MinMaxPyramid::nextValue(std::size_t from, std::size_t to) const {
    return findFirst(
        from, to, [](const SpanSummary& s) { return s.count > 0; },
        [this](std::size_t i) { return m_series->hasValue(i); });
}

std::size_t MinMaxPyramid::nextGap(std::size_t from, std::size_t to) const {
    return findFirst(
        from, to, [](const SpanSummary& s) { return s.breaks > 0; },
        [this](std::size_t i) { return m_series->gapBefore(i); });
}

std::size_t MinMaxPyramid::memoryBytes() const {
    std::size_t bytes = 0;
    for (const auto& level : m_levels)
        bytes += level.capacity() * sizeof(SpanSummary);
    return bytes;
}
