// The statistics of a span of a week of readings (10 million samples, one
// each 60 ms, an oven that crosses its limit a few times a day), from the
// pyramid, beside a plain pass over the same samples.

#include "core/viewer/minmaxpyramid.h"
#include "core/viewer/recordingseries.h"
#include "core/viewer/spanstatistics.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>

namespace {

constexpr std::size_t kSamples = 10'000'000;

struct Week {
    RecordingSeries series;
    std::unique_ptr<MinMaxPyramid> pyramid;
    std::unique_ptr<AlarmEpisodes> episodes;

    Week() {
        std::mt19937 random(1);
        std::normal_distribution<float> noise(0.0f, 0.4f);
        series.beginFile("week.csv", false);
        for (std::size_t i = 0; i < kSamples; ++i) {
            const double hours = double(i) * 0.06 / 3600.0;
            const float v = 140.0f + 12.0f * float(std::sin(hours * 0.9)) + noise(random);
            series.append(std::int64_t(i) * 60, v, 'C', false, int(i));
        }
        series.finish();
        pyramid = std::make_unique<MinMaxPyramid>(series);
        episodes = std::make_unique<AlarmEpisodes>(series, SpanLimits{150.0, 130.0});
    }
};

const Week& week() {
    static const Week w;
    return w;
}

void BM_SpanStatisticsFromThePyramid(benchmark::State& state) {
    const Week& w = week();
    std::mt19937 random(2);
    for (auto _ : state) {
        std::size_t a = random() % kSamples, b = random() % kSamples;
        if (a > b)
            std::swap(a, b);
        benchmark::DoNotOptimize(spanStatistics(w.series, *w.pyramid, *w.episodes, a, b, 1000));
    }
}
BENCHMARK(BM_SpanStatisticsFromThePyramid)->Unit(benchmark::kMicrosecond);

void BM_WholeWeekFromThePyramid(benchmark::State& state) {
    const Week& w = week();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            spanStatistics(w.series, *w.pyramid, *w.episodes, 0, kSamples, 1000));
}
BENCHMARK(BM_WholeWeekFromThePyramid)->Unit(benchmark::kMicrosecond);

// Finding the episodes of the week when the limits are set: one pass.
void BM_EpisodesOfTheWeek(benchmark::State& state) {
    const Week& w = week();
    for (auto _ : state)
        benchmark::DoNotOptimize(AlarmEpisodes(w.series, SpanLimits{150.0, 130.0}));
}
BENCHMARK(BM_EpisodesOfTheWeek)->Unit(benchmark::kMillisecond);

// The floor it is set against: one pass summing the values of the whole week.
void BM_WholeWeekPlainPass(benchmark::State& state) {
    const Week& w = week();
    for (auto _ : state) {
        double sum = 0;
        for (std::size_t i = 0; i < kSamples; ++i)
            sum += w.series.value(i);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_WholeWeekPlainPass)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
