#include "core/store/samplestore.h"
#include "core/viewer/minmaxpyramid.h"
#include "core/viewer/recordingseries.h"
#include "core/viewer/spanstatistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

constexpr float X = kNoValue;

RecordingSeries seriesOf(const std::vector<float>& values, const std::vector<std::int64_t>& ms) {
    RecordingSeries series;
    series.beginFile("run.csv", false);
    for (std::size_t i = 0; i < values.size(); ++i)
        series.append(ms[i], values[i], 'C', false, static_cast<int>(i));
    series.finish();
    return series;
}

std::vector<std::int64_t> everySecond(std::size_t n) {
    std::vector<std::int64_t> ms(n);
    for (std::size_t i = 0; i < n; ++i)
        ms[i] = 1000 * static_cast<std::int64_t>(i);
    return ms;
}

// The same figures by a pass over every sample, as the rule reads.
SpanStatistics plainLoop(const RecordingSeries& s, std::size_t first, std::size_t last, double high,
                         double low) {
    SpanStatistics st;
    st.samples = last - first;
    double sum = 0, squares = 0;
    std::size_t n = 0;
    bool inHigh = false, inLow = false;
    for (std::size_t i = first; i < last; ++i) {
        const bool next = i + 1 < last && !s.gapBefore(i + 1);
        const std::int64_t hold = next ? s.time(i + 1) - s.time(i) : 0;
        if (i > first && s.gapBefore(i)) {
            ++st.gaps;
            st.gapMs += s.time(i) - s.time(i - 1);
        }
        const bool brk = i == first || s.gapBefore(i);
        if (!s.hasValue(i)) {
            ++st.noValue;
            inHigh = inLow = false;
            continue;
        }
        const float v = s.value(i);
        if (n == 0 || v < st.min)
            st.min = v, st.minMs = s.time(i);
        if (n == 0 || v > st.max)
            st.max = v, st.maxMs = s.time(i);
        sum += v, squares += double(v) * v, ++n;
        const bool h = v > high, l = v < low;
        st.episodeCount += (h && (!inHigh || brk)) + (l && (!inLow || brk));
        inHigh = h, inLow = l;
        st.aboveMs += h ? hold : 0;
        st.belowMs += l ? hold : 0;
    }
    st.mean = n ? sum / n : 0;
    st.stddev = n > 1 ? std::sqrt((squares - sum * sum / n) / (n - 1)) : 0;
    return st;
}

void expectSame(const SpanStatistics& got, const SpanStatistics& want, const std::string& what) {
    SCOPED_TRACE(what);
    EXPECT_EQ(got.samples, want.samples);
    EXPECT_EQ(got.noValue, want.noValue);
    EXPECT_EQ(got.gaps, want.gaps);
    EXPECT_EQ(got.gapMs, want.gapMs);
    EXPECT_EQ(got.aboveMs, want.aboveMs);
    EXPECT_EQ(got.belowMs, want.belowMs);
    EXPECT_EQ(got.episodeCount, want.episodeCount);
    if (!want.hasValues())
        return;
    EXPECT_EQ(got.min, want.min);
    EXPECT_EQ(got.minMs, want.minMs);
    EXPECT_EQ(got.max, want.max);
    EXPECT_EQ(got.maxMs, want.maxMs);
    EXPECT_NEAR(got.mean, want.mean, 1e-6 * (1 + std::abs(want.mean)));
    EXPECT_NEAR(got.stddev, want.stddev, 1e-4 * (1 + want.stddev));
}

TEST(SpanStatistics, TimeBeyondTheLimitsAndEpisodes) {
    const struct {
        const char* name;
        std::vector<float> values;
        std::vector<std::int64_t> ms; // empty: one sample a second
        std::int64_t aboveMs, belowMs;
        std::size_t episodes;
    } rows[] = {
        {"crossed at a sample", {140, 151, 155, 149, 140}, {}, 2000, 0, 1},
        {"on the limit is within", {150, 150, 151, 150}, {}, 1000, 0, 1},
        {"the last sample holds nothing", {140, 160, 160}, {}, 1000, 0, 1},
        {"a gap ends an episode", {160, 160, 160, 160}, {0, 1000, 60000, 61000}, 2000, 0, 2},
        {"no value ends an episode", {160, X, 160, 160}, {}, 2000, 0, 2},
        {"both limits", {-20, -15, 0, 170, 0, -11}, {}, 1000, 2000, 3},
        {"no value at all", {X, X}, {}, 0, 0, 0},
    };
    for (const auto& row : rows) {
        const auto ms = row.ms.empty() ? everySecond(row.values.size()) : row.ms;
        const RecordingSeries series = seriesOf(row.values, ms);
        const MinMaxPyramid pyramid(series);
        const AlarmEpisodes episodes(series, SpanLimits{150.0, -10.0});
        const SpanStatistics got = spanStatistics(series, pyramid, episodes, 0, series.size());
        SCOPED_TRACE(row.name);
        EXPECT_EQ(got.aboveMs, row.aboveMs);
        EXPECT_EQ(got.belowMs, row.belowMs);
        EXPECT_EQ(got.episodeCount, row.episodes);
        std::int64_t episodeMs = 0;
        for (const AlarmEpisode& e : got.episodes)
            episodeMs += e.durationMs();
        EXPECT_EQ(episodeMs, row.aboveMs + row.belowMs);
        expectSame(got, plainLoop(series, 0, series.size(), 150.0, -10.0), row.name);
    }
}

// Random walks with spikes, no-value samples and gaps, long enough that the
// pyramid's upper levels answer: any span gives what a pass over it gives.
TEST(SpanStatistics, AnySpanAsAPassOverItsSamples) {
    std::mt19937 random(7);
    std::vector<float> values;
    std::vector<std::int64_t> ms;
    float v = 140;
    std::int64_t t = 0;
    for (int i = 0; i < 50000; ++i) {
        v += std::uniform_real_distribution<float>(-1.5f, 1.5f)(random);
        const int dice = static_cast<int>(random() % 1000);
        values.push_back(dice == 0 ? X : dice == 1 ? 400.0f : dice == 2 ? -80.0f : v);
        t += random() % 2000 == 0 ? 30000 : 500;
        ms.push_back(t);
    }
    const RecordingSeries series = seriesOf(values, ms);
    const MinMaxPyramid pyramid(series);
    const AlarmEpisodes episodes(series, SpanLimits{130.0, 150.0}); // swapped: as 150 and 130
    for (int k = 0; k < 200; ++k) {
        std::size_t a = random() % series.size();
        std::size_t b = random() % series.size();
        if (a > b)
            std::swap(a, b);
        const SpanStatistics got = spanStatistics(series, pyramid, episodes, a, b + 1);
        expectSame(got, plainLoop(series, a, b + 1, 150.0, 130.0),
                   "span " + std::to_string(a) + ".." + std::to_string(b));
    }
}

} // namespace
