// Cost of handling one received frame: decode, store and commit (Auto mode),
// and decode with the reading left pending (interval mode).
#include "core/link/frameencoder.h"
#include "core/store/acquisition.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

std::vector<FrameBytes> frames() {
    std::vector<FrameBytes> out;
    for (int i = 0; i < 64; ++i)
        out.push_back(
            encodeFrame(makeFrame(20.0 + i * 1.7, true, i % 9, 0.95, i % 7 == 0, false, false)));
    return out;
}

void BM_DecodeAndCommit(benchmark::State& state) {
    const auto fs = frames();
    Acquisition acq;
    std::size_t i = 0;
    std::int64_t now = 1'800'000'000;
    for (auto _ : state) {
        const BlockOutcome out = acq.onBlock(fs[i++ % fs.size()], now++);
        benchmark::DoNotOptimize(out);
        if (out.storeFull) {
            state.PauseTiming();
            acq.resetStore();
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_DecodeAndCommit);

void BM_DecodePending(benchmark::State& state) {
    const auto fs = frames();
    Acquisition acq;
    acq.selectSampleRate(3);
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(acq.onBlock(fs[i++ % fs.size()], 1'800'000'000));
}
BENCHMARK(BM_DecodePending);

} // namespace

BENCHMARK_MAIN();
