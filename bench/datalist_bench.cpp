// The data list at the store's full size: appending a committed reading (and
// scrolling to it) with 4000 rows present, and refilling 4000 rows as Open does.
// Each figure is given beside a floor measured in the same run: the bare model
// operation without a view.

#include "core/store/acquisition.h"
#include "ui/panels/datalistpanel.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

constexpr int kFull = 4000;

std::vector<DataListModel::Row> makeRows(int count) {
    std::vector<DataListModel::Row> rows;
    rows.reserve(static_cast<std::size_t>(count));
    for (int i = 1; i <= count; ++i)
        rows.push_back({QString::number(i), QString::number((i % 2000) / 10.0, 'f', 1),
                        QStringLiteral("C"), QStringLiteral("07-26-25/08:00:00")});
    return rows;
}

ListRow rowFor(int number) {
    return {number - 1, std::to_string(number), "1270.9", "C", "07-26-25/08:00:00"};
}

// A shown list the size the view gives it, already holding `count` rows.
struct ShownList {
    DataListPanel panel;
    explicit ShownList(int count) {
        panel.resize(290, 500);
        panel.show();
        panel.refill(makeRows(count));
        QCoreApplication::processEvents();
    }
};

// One commit: the row inserted after `present` others (range 0) and scrolled
// into view, with or without the repaint it causes (range 1). Every 100 rows
// the list goes back to its starting size (not timed).
void BM_AppendAndScroll(benchmark::State& state) {
    const int present = static_cast<int>(state.range(0));
    const bool repaint = state.range(1) != 0;
    ShownList list(present);
    int next = present + 1;
    for (auto _ : state) {
        if (next > present + 100) {
            state.PauseTiming();
            list.panel.refill(makeRows(present));
            QCoreApplication::processEvents();
            next = present + 1;
            state.ResumeTiming();
        }
        list.panel.appendRow(rowFor(next++));
        if (repaint)
            QCoreApplication::processEvents();
    }
    state.SetLabel(repaint ? "with repaint" : "without repaint");
}
// The 10-row case is the floor for the repaint: it costs the same whatever the
// list holds.
BENCHMARK(BM_AppendAndScroll)
    ->Args({kFull, 0})
    ->Args({kFull, 1})
    ->Args({10, 1})
    ->Unit(benchmark::kMicrosecond);

// Floor: the model alone takes the row.
void BM_AppendModelOnly(benchmark::State& state) {
    DataListModel model;
    model.refill(makeRows(kFull));
    for (auto _ : state) {
        if (model.rowCount() > kFull + 100) {
            state.PauseTiming();
            model.refill(makeRows(kFull));
            state.ResumeTiming();
        }
        model.insertRowAt(model.rowCount(),
                          {QStringLiteral("4001"), QStringLiteral("1270.9"), QStringLiteral("C"),
                           QStringLiteral("07-26-25/08:00:00")});
    }
}
BENCHMARK(BM_AppendModelOnly)->Unit(benchmark::kMicrosecond);

// Open: 4000 rows made from the loaded samples, the list refilled and scrolled
// to its end, and the repaint.
void BM_Refill(benchmark::State& state) {
    ShownList list(kFull);
    for (auto _ : state) {
        list.panel.refill(makeRows(kFull));
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_Refill)->Unit(benchmark::kMillisecond);

// Floor: making the 4000 rows' texts alone.
void BM_MakeRowsOnly(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(makeRows(kFull));
}
BENCHMARK(BM_MakeRowsOnly)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
