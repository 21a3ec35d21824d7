#include "core/store/samplestore.h"
#include "core/viewer/columnplot.h"
#include "core/viewer/minmaxpyramid.h"
#include "core/viewer/recordingseries.h"
#include "ui/viewer/plotpainter.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <random>

namespace {

// A random walk at about 16 samples a second with spikes, samples without a
// value, runs of them, and pauses that break the line.
RecordingSeries randomSeries(std::size_t n, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> step(-0.5f, 0.5f);
    std::uniform_int_distribution<int> dice(0, 999);
    RecordingSeries series;
    series.beginFile("random.csv", false);
    std::int64_t t = 1'796'648'631'000;
    float v = 100.0f;
    for (std::size_t i = 0; i < n; ++i) {
        const int roll = dice(random);
        t += roll < 2 ? 60'000 + roll * 1'000'000 : 40 + roll % 40;
        v += step(random);
        float value = v;
        if (roll >= 990)
            value += roll % 2 ? 400.0f : -300.0f; // a spike of one sample
        else if (roll >= 985 || ((i / 5000) % 7 == 3 && i % 5000 < 300))
            value = kNoValue;
        series.append(t, value, 'C', false, static_cast<int>(i));
    }
    series.finish();
    return series;
}

QImage picture(const PlotLines& lines, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, 0));
    drawPlotLines(painter, lines);
    return image;
}

// The M4 picture is the picture of every sample, pixel for pixel, at every
// zoom: the whole series, a part of it, columns of one or no sample, and views
// reaching past either end.
TEST(ColumnPlot, AggregationDrawsTheSamePictureAsEverySample) {
    for (const unsigned seed : {1u, 2u}) {
        const RecordingSeries series = randomSeries(200'000, seed);
        const MinMaxPyramid pyramid(series);
        const std::int64_t first = series.firstTime();
        const std::int64_t span = series.lastTime() - first;
        const struct {
            std::int64_t start, end;
            int width, height;
            double zoomValues = 1.0; // 2: half the range of values, lines reach far out
        } views[] = {
            {first, first + span + 1, 1600, 400},
            {first, first + span + 1, 1600, 400, 50.0},
            {first + span / 3, first + span / 3 + span / 50, 1600, 300},
            {first + span / 2, first + span / 2 + 20'000, 1600, 300},
            {first + span / 2, first + span / 2 + 2'000, 800, 200},
            {first - span / 4, first + span / 8, 1000, 300},
            {series.lastTime() - span / 100, series.lastTime() + span / 10, 1000, 300},
        };
        const SpanSummary s = pyramid.summary(0, series.size());
        for (const auto& v : views) {
            const double middle = (s.low + s.high) / 2.0;
            const double half = (s.high - s.low) / 2.0 / v.zoomValues + 1.0;
            const PlotView view{v.start, v.end, middle - half, middle + half, v.width, v.height};
            const PlotLines m4 = aggregateColumns(series, pyramid, view);
            const PlotLines all = plotEverySample(series, view);
            const QImage expected = picture(all, v.width, v.height);
            const QImage got = picture(m4, v.width, v.height);
            int differing = 0;
            for (int y = 0; y < v.height; ++y)
                for (int x = 0; x < v.width; ++x)
                    differing += expected.pixel(x, y) != got.pixel(x, y);
            EXPECT_EQ(differing, 0) << "seed " << seed << " view " << v.start - first;
            EXPECT_LE(m4.points.size(), all.points.size());
        }
    }
}

} // namespace
