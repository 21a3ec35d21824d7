#include "core/viewer/minmaxpyramid.h"

#include "core/text/valuetext.h"
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
    m_leafTimes.resize(leaves.size());
    for (std::size_t k = 0; k < leaves.size(); ++k) {
        addSamples(leaves[k], k * kLeafSize, std::min(n, (k + 1) * kLeafSize));
        m_leafTimes[k] = series.time(k * kLeafSize);
    }
    m_levels.push_back(std::move(leaves));
    while (m_levels.back().size() > 1) {
        const std::vector<SpanSummary>& below = m_levels.back();
        std::vector<SpanSummary> level((below.size() + 1) / 2);
        for (std::size_t k = 0; k < below.size(); ++k)
            level[k / 2].add(below[k]);
        m_levels.push_back(std::move(level));
    }
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

namespace {

void addValue(SpanSummary& s, float v, std::uint32_t at) {
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
}

} // namespace

// Both passes below stay inside one block of kLeafSize samples, so they read
// the series' arrays directly: the edges of every column of a drawing come
// through here.
static_assert(RecordingSeries::kBlockSize % MinMaxPyramid::kLeafSize == 0);

void MinMaxPyramid::addSamples(SpanSummary& s, std::size_t first, std::size_t last) const {
    // Each sample as a span of one: a sample with no value or a gap before it is a break.
    if (first >= last)
        return;
    const float* values = m_series->valuesFrom(first);
    const std::uint8_t* flags = m_series->flagsFrom(first);
    for (std::size_t k = 0; k < last - first; ++k) {
        if (isNoValue(values[k])) {
            ++s.breaks;
            continue;
        }
        addValue(s, values[k], static_cast<std::uint32_t>(first + k));
        if (RecordingSeries::gapFlag(flags[k]))
            ++s.breaks;
    }
}

std::size_t MinMaxPyramid::addSamplesToBreak(SpanSummary& s, std::size_t first,
                                             std::size_t last) const {
    if (first >= last)
        return last;
    const float* values = m_series->valuesFrom(first);
    const std::uint8_t* flags = m_series->flagsFrom(first);
    for (std::size_t k = 0; k < last - first; ++k) {
        if (isNoValue(values[k]) || RecordingSeries::gapFlag(flags[k]))
            return first + k;
        addValue(s, values[k], static_cast<std::uint32_t>(first + k));
    }
    return last;
}

SpanSummary MinMaxPyramid::pieceSummary(std::size_t first, std::size_t last,
                                        std::size_t& end) const {
    SpanSummary s;
    last = m_series ? std::min(last, m_series->size()) : 0;
    if (first >= last) {
        end = last;
        return s;
    }
    addValue(s, m_series->value(first), static_cast<std::uint32_t>(first));
    std::size_t i = first + 1;
    const std::size_t head = std::min(last, (i + kLeafSize - 1) / kLeafSize * kLeafSize);
    if ((i = addSamplesToBreak(s, i, head)) < head) {
        end = i;
        return s;
    }
    // Whole nodes without a break, as large as fit: up while a node is the
    // first half of a parent that fits, then along, then down into a node that
    // holds a break or reaches past `last`.
    std::size_t level = 0;
    std::size_t k = i / kLeafSize;
    while (i < last) {
        const std::size_t size = kLeafSize << level;
        if (i + size <= last && m_levels[level][k].breaks == 0) {
            if (k % 2 == 0 && level + 1 < m_levels.size() && i + 2 * size <= last &&
                m_levels[level + 1][k / 2].breaks == 0) {
                ++level;
                k /= 2;
                continue;
            }
            s.add(m_levels[level][k]);
            i += size;
            ++k;
        } else if (level > 0) {
            --level;
            k *= 2;
        } else {
            // The piece ends in this block: its samples one by one.
            end = addSamplesToBreak(s, i, std::min(last, i + kLeafSize));
            return s;
        }
    }
    end = last;
    return s;
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

std::size_t MinMaxPyramid::firstAtOrAfter(std::int64_t timeMs, std::size_t from,
                                          std::size_t to) const {
    if (!m_series)
        return to;
    to = std::min(to, m_series->size());
    if (from >= to)
        return to;
    // The first block that begins at or after the time: the sample is the
    // first of it, or lies in the block before. Sought in steps that double
    // from `from`, since a drawing's columns each look a little way ahead.
    const std::size_t leafEnd = (to - 1) / kLeafSize + 1;
    std::size_t below = from / kLeafSize; // the blocks before it begin before the time
    std::size_t step = 1;
    while (below + step < leafEnd && m_leafTimes[below + step] < timeMs) {
        below += step;
        step *= 2;
    }
    const auto leaves = m_leafTimes.begin();
    const std::size_t k = static_cast<std::size_t>(
        std::lower_bound(leaves + static_cast<std::ptrdiff_t>(below),
                         leaves + static_cast<std::ptrdiff_t>(std::min(leafEnd, below + step)),
                         timeMs) -
        leaves);
    std::size_t lo = k > 0 ? std::max(from, (k - 1) * kLeafSize) : from;
    std::size_t hi = std::min(to, k * kLeafSize);
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (m_series->time(mid) < timeMs)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
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
    bytes += m_leafTimes.capacity() * sizeof(std::int64_t);
    return bytes;
}
