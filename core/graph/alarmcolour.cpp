#include "core/graph/alarmcolour.h"

#include "core/graph/pixelmath.h"

#include <algorithm>
#include <cmath>

namespace {

struct Point {
    double x;
    double y;
};

// Cuts the line a -> b to the square of +-kPixelLimit (Liang-Barsky), keeping its
// direction, so that truncating the ends stays within int range. False when the
// line lies wholly outside the square.
bool clipToLimit(Point& a, Point& b) {
    const auto inside = [](const Point& p) {
        return std::abs(p.x) <= kPixelLimit && std::abs(p.y) <= kPixelLimit;
    };
    if (inside(a) && inside(b)) {
        return true;
    }
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    double t0 = 0.0;
    double t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x + kPixelLimit, kPixelLimit - a.x, a.y + kPixelLimit,
                         kPixelLimit - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) {
                return false;
            }
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0.0) {
            t0 = std::max(t0, r);
        } else {
            t1 = std::min(t1, r);
        }
    }
    if (t0 > t1) {
        return false;
    }
    const Point start{a.x + t0 * dx, a.y + t0 * dy};
    const Point end{a.x + t1 * dx, a.y + t1 * dy};
    a = start;
    b = end;
    return true;
}

class PieceWriter {
public:
    explicit PieceWriter(ColouredPieces& out) : m_out(out) {}

    void add(Point from, Point to, CurveColour colour) {
        if (m_out.count >= m_out.pieces.size()) {
            return;
        }
        if (!std::isfinite(from.x) || !std::isfinite(from.y) || !std::isfinite(to.x) ||
            !std::isfinite(to.y)) {
            return;
        }
        if (!clipToLimit(from, to)) {
            return;
        }
        m_out.pieces[m_out.count++] = {truncPixel(from.x), truncPixel(from.y), truncPixel(to.x),
                                       truncPixel(to.y), colour};
    }

private:
    ColouredPieces& m_out;
};

// Where the segment p0 -> p1 meets the pixel row y. A level segment (both ends on
// one row although the values differ) meets it at p0.
Point crossing(const Point& p0, const Point& p1, double row) {
    if (p1.y == p0.y) {
        return {p0.x, row};
    }
    return {p0.x + (row - p0.y) * (p1.x - p0.x) / (p1.y - p0.y), row};
}

} // namespace

ColouredPieces colourSegment(const SegmentEnd& e0, const SegmentEnd& e1, const AlarmBand& band) {
    ColouredPieces out;
    PieceWriter w(out);
    const Point p0{e0.x, e0.y};
    const Point p1{e1.x, e1.y};
    const double u0 = e0.value;
    const double u1 = e1.value;
    const double hi = band.high;
    const double lo = band.low;
    const auto high = [&] { return crossing(p0, p1, band.highRow); };
    const auto low = [&] { return crossing(p0, p1, band.lowRow); };
    constexpr auto red = CurveColour::Red;
    constexpr auto blue = CurveColour::Blue;

    // (a) wholly beyond one limit
    if ((u0 >= hi && u1 >= hi) || (u0 <= lo && u1 <= lo)) {
        w.add(p0, p1, red);
    }
    // (b) rising through the high limit
    if (u0 < hi && hi < u1) {
        w.add(high(), p1, red);
        if (u0 >= lo) {
            w.add(high(), p0, blue);
        } else {
            w.add(low(), high(), blue);
            w.add(low(), p0, red);
        }
    }
    // (c) falling through the high limit
    if (u1 < hi && hi < u0) {
        w.add(high(), p0, red);
        if (u1 >= lo) {
            w.add(high(), p1, blue);
        } else {
            w.add(low(), high(), blue);
            w.add(low(), p1, red);
        }
    }
    // (d) rising through the low limit into the band
    if (u0 < lo && lo < u1 && u1 <= hi) {
        w.add(low(), p0, red);
        w.add(low(), p1, blue);
    }
    // (e) falling through the low limit out of the band
    if (u1 < lo && lo < u0 && u0 <= hi) {
        w.add(low(), p1, red);
        w.add(low(), p0, blue);
    }
    // (f) wholly inside the band
    if (lo <= u0 && u0 <= hi && lo <= u1 && u1 <= hi) {
        w.add(p0, p1, blue);
    }
    return out;
}
