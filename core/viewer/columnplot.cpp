#include "core/viewer/columnplot.h"

#include "core/viewer/minmaxpyramid.h"
#include "core/viewer/recordingseries.h"

#include <algorithm>
#include <cmath>

namespace {

// How far outside the plot a point may lie before its line is cut back.
constexpr std::int64_t kMargin = 4096;

__int128 floorDiv(__int128 a, __int128 b) {
    const __int128 q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

std::int64_t clampToInt64(__int128 v) {
    constexpr __int128 limit = std::int64_t{1} << 50;
    return static_cast<std::int64_t>(std::clamp<__int128>(v, -limit, limit));
}

struct Point64 {
    std::int64_t x = 0;
    std::int64_t y = 0;
    friend bool operator==(const Point64&, const Point64&) = default;
};

// Collects polylines, cutting each segment to a box around the plot.
class LineSink {
public:
    LineSink(const PlotView& view, PlotLines& out)
        : m_out(out), m_minX(-kMargin), m_maxX(view.width + kMargin), m_minY(-kMargin),
          m_maxY(view.height + kMargin) {}

    void point(Point64 q, bool connect) {
        if (connect && m_havePrev && q == m_prev)
            return;
        if (!connect || !m_havePrev) {
            m_open = false;
            if (inside(q))
                start(q);
        } else {
            double t0 = 0.0;
            double t1 = 1.0;
            if (!clip(m_prev, q, t0, t1)) {
                m_open = false;
            } else {
                if (t0 > 0.0 || !m_open)
                    start(along(m_prev, q, t0));
                emit(along(m_prev, q, t1));
                if (t1 < 1.0)
                    m_open = false;
            }
        }
        m_prev = q;
        m_havePrev = true;
    }

private:
    bool inside(Point64 p) const {
        return p.x >= m_minX && p.x <= m_maxX && p.y >= m_minY && p.y <= m_maxY;
    }
    static Point64 along(Point64 a, Point64 b, double t) {
        if (t <= 0.0)
            return a;
        if (t >= 1.0)
            return b;
        return {a.x + std::llround(t * static_cast<double>(b.x - a.x)),
                a.y + std::llround(t * static_cast<double>(b.y - a.y))};
    }
    // Liang-Barsky: the part [t0, t1] of a -> b inside the box, if any.
    bool clip(Point64 a, Point64 b, double& t0, double& t1) const {
        const double dx = static_cast<double>(b.x - a.x);
        const double dy = static_cast<double>(b.y - a.y);
        const double p[4] = {-dx, dx, -dy, dy};
        const double q[4] = {static_cast<double>(a.x - m_minX), static_cast<double>(m_maxX - a.x),
                             static_cast<double>(a.y - m_minY), static_cast<double>(m_maxY - a.y)};
        for (int k = 0; k < 4; ++k) {
            if (p[k] == 0.0) {
                if (q[k] < 0.0)
                    return false;
                continue;
            }
            const double r = q[k] / p[k];
            if (p[k] < 0.0)
                t0 = std::max(t0, r);
            else
                t1 = std::min(t1, r);
        }
        return t0 <= t1;
    }
    void start(Point64 p) {
        m_out.starts.push_back(m_out.points.size());
        m_out.points.push_back({static_cast<int>(p.x), static_cast<int>(p.y)});
        m_open = true;
    }
    void emit(Point64 p) {
        const PlotPoint pp{static_cast<int>(p.x), static_cast<int>(p.y)};
        if (m_out.points.back() != pp)
            m_out.points.push_back(pp);
    }

    PlotLines& m_out;
    std::int64_t m_minX, m_maxX, m_minY, m_maxY;
    Point64 m_prev;
    bool m_havePrev = false;
    bool m_open = false;
};

bool usable(const PlotView& view) {
    return view.endMs > view.startMs && view.width > 0 && view.height > 0 && view.high > view.low &&
           std::isfinite(view.low) && std::isfinite(view.high);
}

std::int64_t rowOf(const PlotView& view, double value) {
    const double row = (view.high - value) * (view.height - 1) / (view.high - view.low);
    return std::llround(std::clamp(row, -1e15, 1e15));
}

// The samples of the view and one on either side, [first, last), given the
// first sample at or after its start and the first at or after its end.
std::pair<std::size_t, std::size_t> withNeighbours(const RecordingSeries& series, std::size_t i0,
                                                   std::size_t i1) {
    return {i0 > 0 ? i0 - 1 : 0, std::min(series.size(), i1 + 1)};
}

} // namespace

std::int64_t plotColumn(const PlotView& view, std::int64_t timeMs) {
    const __int128 scaled = static_cast<__int128>(timeMs - view.startMs) * view.width;
    return clampToInt64(floorDiv(scaled, view.endMs - view.startMs));
}

std::int64_t columnStart(const PlotView& view, std::int64_t column) {
    const __int128 span = view.endMs - view.startMs;
    // The smallest t with (t - start) * width >= column * span.
    const __int128 scaled = static_cast<__int128>(column) * span;
    return view.startMs + clampToInt64(-floorDiv(-scaled, view.width));
}

int plotRow(const PlotView& view, double value) {
    return static_cast<int>(std::clamp<std::int64_t>(rowOf(view, value), INT32_MIN, INT32_MAX));
}

PlotLines aggregateColumns(const RecordingSeries& series, const MinMaxPyramid& pyramid,
                           const PlotView& view) {
    PlotLines lines;
    if (series.empty() || !usable(view))
        return lines;
    const std::size_t i0 = pyramid.firstAtOrAfter(view.startMs, 0, series.size());
    const auto [first, last] =
        withNeighbours(series, i0, pyramid.firstAtOrAfter(view.endMs, i0, series.size()));
    LineSink sink(view, lines);
    const auto pointOf = [&](std::size_t i, std::int64_t x) {
        return Point64{x, rowOf(view, series.value(i))};
    };
    std::size_t pos = first;
    while (pos < last) {
        const std::int64_t x = plotColumn(view, series.time(pos));
        const std::size_t columnEnd =
            x >= view.width
                ? last
                : std::max(pos + 1, pyramid.firstAtOrAfter(columnStart(view, x + 1), pos, last));
        std::size_t j = pos;
        while ((j = pyramid.nextValue(j, columnEnd)) < columnEnd) {
            std::size_t end = columnEnd;
            const SpanSummary s = pyramid.pieceSummary(j, columnEnd, end);
            sink.point(pointOf(j, x), j > first && !series.breakBefore(j));
            const std::size_t lowFirst = std::min(s.lowIndex, s.highIndex);
            const std::size_t highLast = std::max(s.lowIndex, s.highIndex);
            sink.point(pointOf(lowFirst, x), true);
            sink.point(pointOf(highLast, x), true);
            sink.point(pointOf(end - 1, x), true);
            j = end;
        }
        pos = columnEnd;
    }
    return lines;
}

PlotLines plotEverySample(const RecordingSeries& series, const PlotView& view) {
    PlotLines lines;
    if (series.empty() || !usable(view))
        return lines;
    const auto [first, last] =
        withNeighbours(series, series.lowerBound(view.startMs), series.lowerBound(view.endMs));
    LineSink sink(view, lines);
    for (std::size_t i = first; i < last; ++i)
        if (series.hasValue(i))
            sink.point({plotColumn(view, series.time(i)), rowOf(view, series.value(i))},
                       i > first && !series.breakBefore(i));
    return lines;
}
