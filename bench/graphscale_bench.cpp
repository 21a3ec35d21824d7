#include "core/graph/graphscale.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

// One paint's arithmetic for a full store (4000 samples) unzoomed and at the
// deepest zoom level, against a floor: a bare affine pass over the same samples
// per level, which is the least any paint has to do.

namespace {

constexpr int kSamples = 4000;
constexpr ClientRect kClient{0, 0, 1280, 800}; // plot 900 x 555

std::vector<float> series() {
    // Crosses both alarm limits again and again, so every colouring case occurs.
    std::vector<float> v(kSamples);
    for (int i = 0; i < kSamples; ++i) {
        v[static_cast<std::size_t>(i)] = 125.0f + 60.0f * std::sin(static_cast<float>(i) * 0.05f);
    }
    return v;
}

struct Graph {
    GraphState g;
    std::vector<float> values = series();
    GraphScene scene;

    void paint() {
        g.paint({.client = kClient,
                 .values = values.data(),
                 .count = kSamples,
                 .alarmHigh = 150,
                 .alarmLow = 100},
                scene);
    }
};

void prepare(Graph& graph, int depth) {
    graph.paint();
    graph.paint(); // the live scale has settled after the first paint's compression
    const PlotRect plot = PlotRect::fromClient(kClient);
    for (int i = 0; i < depth; ++i) {
        // Full height keeps the value window; a slightly narrower width each level.
        graph.g.completeZoomDrag(plot, kSamples, {plot.left + 2, plot.top},
                                 {plot.right - 2, plot.bottom});
        graph.paint();
    }
}

void BM_Scene(benchmark::State& state) {
    Graph graph;
    const int depth = static_cast<int>(state.range(0));
    prepare(graph, depth);
    if (graph.g.zoomLevel() != depth) {
        state.SkipWithError("zoom depth not reached");
        return;
    }
    for (auto _ : state) {
        graph.paint();
        benchmark::DoNotOptimize(graph.scene.curve.data());
    }
    state.counters["pieces"] = static_cast<double>(graph.scene.curve.size());
}
BENCHMARK(BM_Scene)->Arg(0)->Arg(99)->Unit(benchmark::kMicrosecond);

void BM_Floor(benchmark::State& state) {
    const int levels = static_cast<int>(state.range(0)) + 1;
    const std::vector<float> values = series();
    std::vector<float> rows(values.size());
    for (auto _ : state) {
        for (int level = 0; level < levels; ++level) {
            const float scale = 1.0f + 0.001f * static_cast<float>(level);
            for (std::size_t i = 0; i < values.size(); ++i) {
                rows[i] = (values[i] - 50.0f) * scale;
            }
            benchmark::ClobberMemory();
        }
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(BM_Floor)->Arg(0)->Arg(99)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
