// The recording viewer with a week at the wire rate: 10 million samples (16.5
// a second) as one CSV file and as a chain of 2600 data files of 4000 samples
// (10.4 million), made once in $ORVANE_BENCH_DATA (default: /tmp/orvane-viewer-bench).
//
//   LoadCsv, LoadChain   reading into the series and building the pyramid (MB/s
//                        and samples/s as counters), bytes a sample held after it
//                        (counted, and the rise of the resident set)
//   Redraw/<zoom>        one whole redraw of a 1600 x 600 plot (axes, grid, M4 curve
//                        twice for the red beyond the limits, limit lines) at
//                        random spans of that zoom; p99 in ms as a counter
//   EverySample/<zoom>   the floor beside it: the same views drawn as a plain polyline
//                        of every sample in view, into the same image
//   ZoomSteps            frames a second through 40 wheel steps in and out
#include "core/files/csvexport.h"
#include "core/files/dovdatcodec.h"
#include "core/store/samplestore.h"
#include "core/viewer/columnplot.h"
#include "core/viewer/recordingreader.h"
#include "ui/viewer/plotpainter.h"
#include "ui/viewer/recordingload.h"
#include "ui/viewer/viewerplot.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include <malloc.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kCsvSamples = 10'000'000;
constexpr int kChainFiles = 2600;
constexpr std::int64_t kStart = 1796648631000; // 7 December 2026
constexpr double kRate = 16.5;                 // samples a second
constexpr int kWidth = 1600;
constexpr int kHeight = 600;

fs::path dataFolder() {
    const char* env = std::getenv("ORVANE_BENCH_DATA");
    return env ? fs::path(env) : fs::path("/tmp/orvane-viewer-bench");
}

// A furnace's week: a slow wander with a daily cycle, noise, spikes and
// readings without a value now and then.
float valueAt(std::size_t i, std::mt19937& random) {
    const double t = static_cast<double>(i) / kRate;
    std::uniform_real_distribution<float> noise(-0.4f, 0.4f);
    float v = static_cast<float>(150.0 + 60.0 * std::sin(t / 86400.0 * 2 * std::numbers::pi) +
                                 15.0 * std::sin(t / 5000.0)) +
              noise(random);
    const unsigned roll = random() % 100000;
    if (roll < 3)
        v += 300.0f;
    else if (roll < 8)
        v = kNoValue;
    return v;
}

std::int64_t timeAt(std::size_t i) {
    return kStart + static_cast<std::int64_t>(static_cast<double>(i) * 1000.0 / kRate);
}

fs::path csvFile() {
    const fs::path path = dataFolder() / "week.csv";
    if (fs::exists(path))
        return path;
    fs::create_directories(dataFolder());
    std::mt19937 random(7);
    std::ofstream out(path.string() + ".part", std::ios::binary);
    std::string chunk = csvHeader();
    for (std::size_t i = 0; i < kCsvSamples; ++i) {
        const std::int64_t ms = timeAt(i);
        chunk += csvLine({static_cast<int>(i + 1), ms / 1000, std::string(), valueAt(i, random),
                          "C", false, static_cast<int>(ms % 1000)});
        if (chunk.size() > (1 << 22)) {
            out << chunk;
            chunk.clear();
        }
    }
    out << chunk;
    out.close();
    fs::rename(path.string() + ".part", path);
    return path;
}

std::vector<std::string> chainFiles() {
    const fs::path folder = dataFolder() / "chain";
    std::vector<std::string> files;
    for (int f = 0; f < kChainFiles; ++f)
        files.push_back((folder / (f == 0 ? std::string("week.DovDat")
                                          : "week-" + std::to_string(f + 1) + ".DovDat"))
                            .string());
    if (fs::exists(files.back()))
        return files;
    fs::create_directories(folder);
    std::mt19937 random(7);
    std::size_t i = 0;
    for (int f = 0; f < kChainFiles; ++f) {
        std::vector<float> values;
        std::vector<std::string> units(MAX_DATA, "C"), times;
        for (int k = 0; k < MAX_DATA; ++k, ++i) {
            values.push_back(valueAt(i, random));
            times.push_back(formatTimeText(timeAt(i) / 1000));
        }
        const auto bytes = encodeDovDat(values, units, times);
        std::ofstream(files[static_cast<std::size_t>(f)], std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes->data()),
                   static_cast<std::streamsize>(bytes->size()));
    }
    return files;
}

std::size_t residentBytes() {
    malloc_trim(0);
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

std::shared_ptr<ViewerData> load(const std::vector<std::string>& named) {
    auto data = std::make_shared<ViewerData>();
    data->loaded = readRecordings(named);
    data->pyramid = MinMaxPyramid(data->loaded.series);
    return data;
}

void reportLoad(benchmark::State& state, const std::vector<std::string>& named) {
    std::uint64_t bytes = 0;
    for (const std::string& f : named)
        bytes += fs::file_size(f);
    std::size_t samples = 0, counted = 0, risen = 0;
    for (auto _ : state) {
        const std::size_t before = residentBytes();
        const std::shared_ptr<ViewerData> data = load(named);
        state.PauseTiming();
        samples = data->series().size();
        counted = data->series().memoryBytes() + data->pyramid.memoryBytes();
        risen = residentBytes() - before;
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes * state.iterations()));
    state.counters["samples"] = static_cast<double>(samples);
    state.counters["bytes_a_sample_counted"] = static_cast<double>(counted) / samples;
    state.counters["bytes_a_sample_rss"] = static_cast<double>(risen) / samples;
}

void BM_LoadCsv(benchmark::State& state) {
    reportLoad(state, {csvFile().string()});
}

void BM_LoadChain(benchmark::State& state) {
    reportLoad(state, chainFiles());
}

// The week, loaded once, in a plot of 1600 x 600 pixels.
struct Plotted {
    std::shared_ptr<ViewerData> data = load({csvFile().string()});
    ViewerPlot plot;
    QImage image{kWidth + ViewerPlot::kLeftMargin + ViewerPlot::kRightMargin, kHeight + 50,
                 QImage::Format_RGB32};

    Plotted() {
        plot.resize(image.size());
        plot.setData(data);
        plot.setAlarmLimits(200, 100);
    }
    static Plotted& once() {
        static Plotted p;
        return p;
    }
};

// Random spans of a tenth to ten times `length` (the whole week for 0).
std::vector<ViewSpan> spans(std::int64_t length, const ViewSpan& whole, int count) {
    std::mt19937 random(11);
    std::vector<ViewSpan> out;
    for (int k = 0; k < count; ++k) {
        std::int64_t l = whole.length();
        if (length > 0) {
            std::uniform_real_distribution<double> factor(-1.0, 1.0);
            l = static_cast<std::int64_t>(static_cast<double>(length) *
                                          std::pow(10.0, factor(random)));
        }
        std::uniform_int_distribution<std::int64_t> start(whole.startMs,
                                                          std::max(whole.startMs, whole.endMs - l));
        const std::int64_t s = start(random);
        out.push_back(ViewSpan{s, s + l}.limited(whole));
    }
    return out;
}

constexpr std::int64_t kZooms[] = {0, 86'400'000, 3'600'000, 60'000, 5'000};

double percentile99(std::vector<double> ms) {
    if (ms.empty())
        return 0.0;
    std::sort(ms.begin(), ms.end());
    return ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
}

// This thread's CPU time in milliseconds: unlike the clock, not moved by
// other programs on a busy machine.
double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

void BM_Redraw(benchmark::State& state) {
    Plotted& p = Plotted::once();
    const std::vector<ViewSpan> views = spans(kZooms[state.range(0)], p.plot.wholeSpan(), 200);
    std::vector<double> times;
    std::vector<double> cpu;
    std::size_t k = 0;
    for (auto _ : state) {
        p.plot.setSpan(views[k++ % views.size()], false);
        const auto t0 = std::chrono::steady_clock::now();
        const double c0 = threadCpuMs();
        QPainter painter(&p.image);
        p.plot.render(painter, p.image.size());
        painter.end();
        cpu.push_back(threadCpuMs() - c0);
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                .count());
    }
    state.counters["p99_ms"] = percentile99(times);
    state.counters["p99_cpu_ms"] = percentile99(cpu);
    state.counters["samples_in_view"] =
        static_cast<double>(p.plot.visibleSamples().second - p.plot.visibleSamples().first);
}

// The aggregation alone, without painting: the share of a redraw spent on it.
void BM_Aggregate(benchmark::State& state) {
    Plotted& p = Plotted::once();
    const std::vector<ViewSpan> views = spans(kZooms[state.range(0)], p.plot.wholeSpan(), 200);
    std::size_t k = 0;
    for (auto _ : state) {
        const ViewSpan v = views[k++ % views.size()];
        const PlotView view{v.startMs, v.endMs, 0.0, 500.0, kWidth, kHeight};
        benchmark::DoNotOptimize(aggregateColumns(p.data->series(), p.data->pyramid, view));
    }
}

void BM_EverySample(benchmark::State& state) {
    Plotted& p = Plotted::once();
    const std::vector<ViewSpan> views = spans(kZooms[state.range(0)], p.plot.wholeSpan(), 200);
    std::vector<double> times;
    std::size_t k = 0;
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        const ViewSpan v = views[k++ % views.size()];
        const auto t0 = std::chrono::steady_clock::now();
        const PlotView view{v.startMs, v.endMs, 0.0, 500.0, kWidth, kHeight};
        const PlotLines lines = plotEverySample(p.data->series(), view);
        QPainter painter(&image);
        painter.fillRect(image.rect(), Qt::black);
        painter.setPen(QPen(Qt::blue, 0));
        drawPlotLines(painter, lines);
        painter.end();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                .count());
    }
    state.counters["p99_ms"] = percentile99(times);
}

void BM_ZoomSteps(benchmark::State& state) {
    Plotted& p = Plotted::once();
    const ViewSpan whole = p.plot.wholeSpan();
    const std::int64_t anchor = whole.startMs + whole.length() * 3 / 7;
    std::size_t frames = 0;
    for (auto _ : state) {
        ViewSpan span = whole;
        for (int step = 0; step < 40; ++step) {
            span = span.zoomed(anchor, step < 20 ? 0.8 : 1.25, whole);
            p.plot.setSpan(span, false);
            QPainter painter(&p.image);
            p.plot.render(painter, p.image.size());
            ++frames;
        }
    }
    state.counters["frames_per_second"] =
        benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_LoadCsv)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
BENCHMARK(BM_LoadChain)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
BENCHMARK(BM_Redraw)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK(BM_Aggregate)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK(BM_EverySample)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_ZoomSteps)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
