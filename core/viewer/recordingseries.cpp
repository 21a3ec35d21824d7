#include "core/viewer/recordingseries.h"

#include "core/store/samplestore.h"

#include <algorithm>
#include <numeric>

namespace {

constexpr std::int64_t kShortestGap = 10'000; // ms
constexpr int kGapIntervals = 10;
constexpr std::size_t kIntervalProbes = 100'001;

} // namespace

RecordingSeries::RecordingSeries() = default;
RecordingSeries::RecordingSeries(RecordingSeries&&) noexcept = default;
RecordingSeries& RecordingSeries::operator=(RecordingSeries&&) noexcept = default;
RecordingSeries::~RecordingSeries() = default;

char RecordingSeries::unit(std::size_t i) const {
    switch (block(i).flags[i & kBlockMask] & kUnitMask) {
    case 1:
        return 'C';
    case 2:
        return 'F';
    default:
        return '\0';
    }
}

bool RecordingSeries::breakBefore(std::size_t i) const {
    return i == 0 || gapBefore(i) || !hasValue(i) || !hasValue(i - 1);
}

RecordingSeries::Source RecordingSeries::source(std::size_t i) const {
    const auto run =
        std::upper_bound(m_runs.begin(), m_runs.end(), i,
                         [](std::size_t at, const SourceRun& r) { return at < r.start; });
    if (run == m_runs.begin())
        return {};
    const SourceRun& r = *std::prev(run);
    return {r.file, r.firstSample + static_cast<int>(i - r.start)};
}

std::size_t RecordingSeries::lowerBound(std::int64_t timeMs) const {
    std::size_t lo = 0;
    std::size_t hi = m_size;
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (time(mid) < timeMs)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

std::size_t RecordingSeries::memoryBytes() const {
    return m_blocks.size() * (sizeof(Block) + sizeof(void*)) +
           m_runs.capacity() * sizeof(SourceRun) +
           m_farTimes.size() * (sizeof(std::size_t) + sizeof(std::int64_t) + 2 * sizeof(void*));
}

void RecordingSeries::beginFile(std::string path, bool wholeSeconds) {
    m_files.push_back(std::move(path));
    m_file = static_cast<int>(m_files.size()) - 1;
    m_wholeSeconds = wholeSeconds;
}

void RecordingSeries::setTime(std::size_t i, std::int64_t timeMs) {
    Block& b = block(i);
    const std::int64_t offset = timeMs - b.base;
    if (offset > INT32_MIN && offset <= INT32_MAX) {
        b.offset[i & kBlockMask] = static_cast<std::int32_t>(offset);
        m_farTimes.erase(i);
    } else {
        b.offset[i & kBlockMask] = kFarOffset;
        m_farTimes[i] = timeMs;
    }
}

void RecordingSeries::append(std::int64_t timeMs, float value, char unit, bool mark, int sample) {
    const std::size_t i = m_size;
    if ((i & kBlockMask) == 0) {
        m_blocks.push_back(std::make_unique<Block>());
        m_blocks.back()->base = timeMs;
    }
    ++m_size;
    setTime(i, timeMs);
    Block& b = block(i);
    b.value[i & kBlockMask] = value;
    std::uint8_t flags = unit == 'C' ? 1 : unit == 'F' ? 2 : 0;
    if (mark)
        flags |= kMarkBit;
    if (m_wholeSeconds)
        flags |= kWholeSecondBit;
    b.flags[i & kBlockMask] = flags;

    if (!m_runs.empty()) {
        const SourceRun& last = m_runs.back();
        if (last.file == m_file && last.firstSample + static_cast<int>(i - last.start) == sample)
            return;
    }
    m_runs.push_back({i, m_file, sample});
}

void RecordingSeries::finish() {
    sortByTime();
    spreadSharedSeconds();
    markGaps();
    m_runs.shrink_to_fit();
}

void RecordingSeries::sortByTime() {
    bool sorted = true;
    for (std::size_t i = 1; i < m_size && sorted; ++i)
        sorted = time(i - 1) <= time(i);
    if (sorted)
        return;
    // Rare (files given out of order, a clock set back): a stable sort of the
    // positions, then the series built again in that order.
    std::vector<std::int64_t> times(m_size);
    for (std::size_t i = 0; i < m_size; ++i)
        times[i] = time(i);
    std::vector<std::uint32_t> order(m_size);
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return times[a] < times[b]; });

    RecordingSeries sortedSeries;
    sortedSeries.m_files = m_files;
    for (const std::uint32_t i : order) {
        const Source from = source(i);
        const std::uint8_t flags = block(i).flags[i & kBlockMask];
        sortedSeries.m_file = from.file;
        sortedSeries.m_wholeSeconds = flags & kWholeSecondBit;
        sortedSeries.append(times[i], value(i), unit(i), flags & kMarkBit, from.sample);
    }
    *this = std::move(sortedSeries);
}

void RecordingSeries::spreadSharedSeconds() {
    std::size_t i = 0;
    while (i < m_size) {
        const std::int64_t t = time(i);
        std::size_t j = i;
        while (j < m_size && time(j) == t && (block(j).flags[j & kBlockMask] & kWholeSecondBit))
            ++j;
        if (j - i > 1) {
            const auto n = static_cast<std::int64_t>(j - i);
            for (std::size_t k = i + 1; k < j; ++k)
                setTime(k, t + static_cast<std::int64_t>(k - i) * 1000 / n);
        }
        i = std::max(j, i + 1);
    }
    for (auto& b : m_blocks)
        for (std::uint8_t& f : b->flags)
            f &= static_cast<std::uint8_t>(~kWholeSecondBit);
}

void RecordingSeries::markGaps() {
    if (m_size < 2) {
        m_usualInterval = 0;
        m_gapThreshold = kShortestGap;
        return;
    }
    std::vector<std::int64_t> intervals;
    const std::size_t pairs = m_size - 1;
    const std::size_t probes = std::min(pairs, kIntervalProbes);
    intervals.reserve(probes);
    for (std::size_t k = 0; k < probes; ++k) {
        const std::size_t i = probes == pairs ? k : k * (pairs - 1) / (probes - 1);
        intervals.push_back(time(i + 1) - time(i));
    }
    std::nth_element(intervals.begin(), intervals.begin() + intervals.size() / 2, intervals.end());
    m_usualInterval = intervals[intervals.size() / 2];
    m_gapThreshold = std::max(kShortestGap, kGapIntervals * m_usualInterval);
    for (std::size_t i = 1; i < m_size; ++i)
        if (time(i) - time(i - 1) > m_gapThreshold)
            block(i).flags[i & kBlockMask] |= kGapBit;
}
