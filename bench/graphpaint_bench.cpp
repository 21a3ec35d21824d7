// One full paint of the graph view (scene, off-screen picture, copy to the
// target) with a full store of 4000 samples, in the main window at its own
// size: live, fit, and zoomed 99 levels deep. The floor, measured in the same run, is a bare
// drawLines of the same curve pieces with the same pens into an image of the same size: the least a
// paint that shows those pieces has to do.
#include "tests/support/storetestaccess.h"
#include "ui/base/cdtdoc.h"
#include "ui/graph/cdtview.h"
#include "ui/window/cmainframe.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr int kSamples = 4000;

enum Mode { Live = 0, Fit = 1, Zoomed99 = 2 };

// A main window whose graph holds 4000 samples that cross both limits again
// and again, in the mode asked for.
struct Graph {
    QTemporaryDir config;
    std::unique_ptr<CMainFrame> frame;
    CDTView* view = nullptr;
    QImage target;

    explicit Graph(Mode mode) {
        CMainFrame::Startup startup;
        startup.configPath = (config.path() + "/loggerconfig.ini").toStdString();
        frame = std::make_unique<CMainFrame>(startup);
        frame->show();
        view = &frame->view();
        target = QImage(view->size(), QImage::Format_RGB32);

        std::vector<float> values(kSamples);
        for (int i = 0; i < kSamples; ++i)
            values[static_cast<std::size_t>(i)] =
                50.0f + 130.0f * std::sin(static_cast<float>(i) * 0.05f);
        StoreTestAccess::setGraphSeries(StoreTestAccess::acq(frame->doc().recorder()), values,
                                        mode == Fit);
        // The live scale settles over a few paints (each compression asks for one more).
        for (int i = 0; i < 40; ++i)
            paint();
        if (mode == Zoomed99) {
            const PlotRect plot = PlotRect::fromClient({0, 0, view->width(), view->height()});
            for (int i = 0; i < 99; ++i) {
                view->zoomBox({plot.left + 2, plot.top}, {plot.right - 2, plot.bottom});
                paint();
            }
        }
    }

    // A whole paint: the scene built again and every layer drawn, as after a
    // zoom or a new fit (a new live sample only adds its pieces to the picture).
    void paint() {
        view->dropPicture();
        view->invalidateGraph();
        view->render(&target);
    }
};

void BM_Paint(benchmark::State& state) {
    Graph graph(static_cast<Mode>(state.range(0)));
    if (state.range(0) == Zoomed99 && graph.view->graph().zoomLevel() != 99) {
        state.SkipWithError("zoom depth not reached");
        return;
    }
    for (auto _ : state)
        graph.paint();
    state.counters["pieces"] = static_cast<double>(graph.view->scene().curve.size());
}

// The curve pieces of the same scene, drawn with their pens one run of a colour
// at a time into a plot-sized clip of an image of the view's size.
void BM_Floor(benchmark::State& state) {
    Graph graph(static_cast<Mode>(state.range(0)));
    const GraphScene& scene = graph.view->scene();
    std::vector<std::vector<QLine>> runs;
    std::vector<bool> red;
    for (std::size_t i = 0; i < scene.curve.size(); ++i) {
        const CurvePiece& c = scene.curve[i];
        const bool isRed = c.colour == CurveColour::Red;
        if (runs.empty() || red.back() != isRed) {
            runs.emplace_back();
            red.push_back(isRed);
        }
        runs.back().emplace_back(c.x1, c.y1, c.x2, c.y2);
    }
    const auto pen = [](const PenSpec& s) {
        QPen p(QColor(s.colour.r, s.colour.g, s.colour.b));
        p.setWidth(s.width);
        p.setCapStyle(Qt::SquareCap);
        return p;
    };
    const QPen redPen = pen(kRedCurvePen);
    const QPen bluePen = pen(kBlueCurvePen);
    QImage image(graph.view->size(), QImage::Format_RGB32);
    const QRect plot(scene.plot.left, scene.plot.top, scene.width, scene.height);
    for (auto _ : state) {
        QPainter p(&image);
        p.setClipRect(plot);
        p.translate(plot.topLeft());
        for (std::size_t r = 0; r < runs.size(); ++r) {
            p.setPen(red[r] ? redPen : bluePen);
            p.drawLines(runs[r].data(), static_cast<int>(runs[r].size()));
        }
    }
    state.counters["pieces"] = static_cast<double>(scene.curve.size());
}

BENCHMARK(BM_Paint)->Arg(Live)->Arg(Fit)->Arg(Zoomed99)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Floor)->Arg(Live)->Arg(Fit)->Arg(Zoomed99)->Unit(benchmark::kMillisecond);

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
