// What a reading costs the Recorder: one 14-byte frame handed to receive(), as
// the line hands it over at the wire rate, decoded, committed (every reading),
// journalled (the journal in /dev/shm, so the disk does not count) and told to
// listeners on every signal the window and orvane-cli follow. The clock moves
// a second every 17 frames, as it does at the wire rate.
//
//   recorder_bench [--benchmark_...]   reports ns a reading
#include "core/journal/recordingjournal.h"
#include "core/link/frameencoder.h"
#include "engine/recorder.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<FrameBytes> rampFrames() {
    std::vector<FrameBytes> out;
    for (int i = 0; i < 20000; ++i)
        out.push_back(encodeFrame(makeFrame(i * 0.1, true, 0, 0.95, false, false, false)));
    return out;
}

void BM_RecorderReceive(benchmark::State& state) {
    std::string folder = (fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path())
                             .append("orvane-recorder-bench-XXXXXX")
                             .string();
    if (!::mkdtemp(folder.data())) {
        state.SkipWithError("no folder for the journal");
        return;
    }
    const bool journalled = state.range(0) != 0;
    Recorder recorder;
    if (journalled) {
        auto journal = std::make_unique<RecordingJournal>();
        if (!journal->open(fs::path(folder) / "recording.journal")) {
            state.SkipWithError("cannot open the journal");
            return;
        }
        recorder.setJournal(std::move(journal));
    }
    std::int64_t heard = 0;
    QObject listener;
    const auto count = [&heard] { ++heard; };
    QObject::connect(&recorder, &Recorder::rowAppended, &listener, count);
    QObject::connect(&recorder, &Recorder::panelChanged, &listener, count);
    QObject::connect(&recorder, &Recorder::graphChanged, &listener, count);
    QObject::connect(&recorder, &Recorder::recordingChanged, &listener, count);
    QObject::connect(&recorder, &Recorder::alarmChanged, &listener, count);
    std::int64_t frame = 0;
    recorder.setClock([&frame] { return 1'800'000'000 + frame / 17; });
    recorder.prepareOnOff();

    const std::vector<FrameBytes> frames = rampFrames();
    for (auto _ : state) {
        recorder.receive(frames[static_cast<std::size_t>(frame) % frames.size()]);
        ++frame;
        if (recorder.store().isFull()) {
            state.PauseTiming();
            recorder.resetStore();
            state.ResumeTiming();
        }
    }
    recorder.stopJournal();
    benchmark::DoNotOptimize(heard);
    state.SetItemsProcessed(state.iterations());
    std::error_code ec;
    fs::remove_all(folder, ec);
}
BENCHMARK(BM_RecorderReceive)->ArgName("journal")->Arg(1)->Arg(0);

} // namespace

int main(int argc, char** argv) {
    // The Recorder's timers need an event dispatcher.
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
