#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class MinMaxPyramid;
class RecordingSeries;

// The part of a series a plot shows: times [startMs, endMs) across `width`
// pixel columns, values [low, high] across `height` pixel rows (row 0 at the
// top). A sample at time t lies in column floor((t - startMs) * width / (endMs
// - startMs)) and a value v on row round((high - v) * (height - 1) / (high -
// low)): the same integer pixel for every way of drawing, so the pictures can
// be compared pixel for pixel.
struct PlotView {
    std::int64_t startMs = 0;
    std::int64_t endMs = 1;
    double low = 0.0;
    double high = 1.0;
    int width = 1;
    int height = 1;
};

struct PlotPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const PlotPoint&, const PlotPoint&) = default;
};

// Polylines in plot pixels: polyline k is points[starts[k]] up to (not
// including) points[starts[k + 1]] or the end. A polyline of one point is a
// dot. Points far outside the plot are cut back along their line to a margin
// around it, so any painter takes them.
struct PlotLines {
    std::vector<PlotPoint> points;
    std::vector<std::size_t> starts;

    std::size_t lineCount() const { return starts.size(); }
};

// Which column a time falls in, and the first time of a column.
std::int64_t plotColumn(const PlotView& view, std::int64_t timeMs);
std::int64_t columnStart(const PlotView& view, std::int64_t column);
int plotRow(const PlotView& view, double value);

// The M4 aggregation: per pixel column and per unbroken piece of line in it,
// the first, lowest, highest and last sample, in the order they come, read
// from the pyramid. The lines break where the series does (a sample with no
// value, a gap); the samples just outside the view are kept so that the line
// runs on to the edges. The cost depends on the width and the breaks in view,
// not on the number of samples; drawn with aliased lines the picture equals
// that of plotEverySample.
PlotLines aggregateColumns(const RecordingSeries& series, const MinMaxPyramid& pyramid,
                           const PlotView& view);

// Every sample in view (and the one on either side), with the same breaks.
PlotLines plotEverySample(const RecordingSeries& series, const PlotView& view);
