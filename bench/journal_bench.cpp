// Cost of journalling one committed sample on a real file (in the temporary
// folder): the record's encoding and its one write(), against a bare write()
// of the same bytes measured in the same run. The once-a-second fdatasync is
// measured on its own, and reading a full store's journal back at start-up.
#include "core/journal/recordingjournal.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

class BenchFolder {
public:
    BenchFolder() {
        std::string templ = (fs::temp_directory_path() / "orvane-bench-XXXXXX").string();
        if (::mkdtemp(templ.data()))
            m_path = templ;
    }
    ~BenchFolder() {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

JournalSample sample(int n) {
    return {20.0f + 0.1f * static_cast<float>(n % 900),
            "C",
            1'800'000'000 + n,
            "01-15-27/08:00:00",
            n,
            n,
            110.0f,
            20.0f};
}

// The floor: write() of a sample record's bytes, prepared once.
void BM_BareWriteOfARecord(benchmark::State& state) {
    BenchFolder dir;
    const fs::path file = dir.path() / "bare";
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    std::vector<std::uint8_t> record;
    appendSampleRecord(record, sample(1));
    int n = 0;
    for (auto _ : state) {
        if (::write(fd, record.data(), record.size()) != static_cast<ssize_t>(record.size())) {
            state.SkipWithError("write failed");
            break;
        }
        if (++n == MAX_DATA) {
            state.PauseTiming();
            (void)::ftruncate(fd, 0);
            n = 0;
            state.ResumeTiming();
        }
    }
    ::close(fd);
}
BENCHMARK(BM_BareWriteOfARecord);

// What the engine pays per committed sample: encode and write one record.
void BM_JournalAppendSample(benchmark::State& state) {
    BenchFolder dir;
    RecordingJournal journal;
    if (!journal.open(dir.path() / "recording.journal")) {
        state.SkipWithError("cannot open the journal");
        return;
    }
    std::vector<JournalSample> samples;
    for (int i = 1; i <= MAX_DATA; ++i)
        samples.push_back(sample(i));
    std::size_t n = 0;
    for (auto _ : state) {
        if (!journal.appendSample(samples[n])) {
            state.SkipWithError("append failed");
            break;
        }
        if (++n == samples.size()) {
            state.PauseTiming();
            journal.clear();
            n = 0;
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_JournalAppendSample);

// The once-a-second flush: one record, then fdatasync.
void BM_JournalAppendAndSync(benchmark::State& state) {
    BenchFolder dir;
    RecordingJournal journal;
    if (!journal.open(dir.path() / "recording.journal")) {
        state.SkipWithError("cannot open the journal");
        return;
    }
    int n = 0;
    for (auto _ : state) {
        journal.appendSample(sample(++n));
        if (!journal.sync()) {
            state.SkipWithError("sync failed");
            break;
        }
        if (n == MAX_DATA) {
            state.PauseTiming();
            journal.clear();
            n = 0;
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_JournalAppendAndSync)->Unit(benchmark::kMicrosecond);

// Start-up: reading a full store's journal back.
void BM_ReadFullJournal(benchmark::State& state) {
    std::vector<std::uint8_t> bytes = encodeJournalHeader();
    for (int i = 1; i <= MAX_DATA; ++i)
        appendSampleRecord(bytes, sample(i));
    for (auto _ : state) {
        const JournalReading r = readJournal(bytes);
        if (r.recording.count() != MAX_DATA) {
            state.SkipWithError("the journal did not read whole");
            break;
        }
        benchmark::DoNotOptimize(r.recording.values.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ReadFullJournal)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
