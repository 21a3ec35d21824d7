#include "core/files/dovdatcodec.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

namespace {

// A full store: 4000 samples as the logger records them.
DovDatContents fullSeries() {
    DovDatContents c;
    for (int i = 0; i < kDovDatMaxCount; ++i) {
        c.values.push_back(i % 50 == 0 ? 3000.0f : 20.0f + 0.1f * static_cast<float>(i % 900));
        c.units.push_back(i % 2 ? "F" : "C");
        c.times.push_back("12-06-26/09:" + std::to_string(10 + i % 50) + ":" +
                          std::to_string(10 + i % 49));
    }
    return c;
}

// The floor: copying the file's bytes once.
void BM_CopyFileBytes(benchmark::State& state) {
    const std::vector<std::uint8_t> bytes = *encodeDovDat(fullSeries());
    std::vector<std::uint8_t> copy(bytes.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), bytes.data(), bytes.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_CopyFileBytes);

void BM_EncodeFullStore(benchmark::State& state) {
    const DovDatContents series = fullSeries();
    std::size_t size = 0;
    for (auto _ : state) {
        const Result<std::vector<std::uint8_t>> bytes = encodeDovDat(series);
        size = bytes->size();
        benchmark::DoNotOptimize(bytes->data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}
BENCHMARK(BM_EncodeFullStore);

void BM_DecodeFullStore(benchmark::State& state) {
    const std::vector<std::uint8_t> bytes = *encodeDovDat(fullSeries());
    for (auto _ : state) {
        Result<DovDatContents> decoded = decodeDovDat(bytes);
        if (!decoded) {
            state.SkipWithError(decoded.error().c_str());
            break;
        }
        benchmark::DoNotOptimize(decoded);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_DecodeFullStore);

} // namespace

BENCHMARK_MAIN();
