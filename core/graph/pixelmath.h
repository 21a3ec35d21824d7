#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

// Conversions from the graph's float arithmetic to whole pixels and indices.
// Every float that becomes a pixel is truncated toward zero; values that are
// not finite or far outside any screen are kept within int range so that the
// conversion itself is always defined.

// No coordinate beyond this distance from the plot can ever be visible.
inline constexpr double kPixelLimit = 4194304.0; // 2^22

// Truncates toward zero, clamped to +-limit; NaN gives 0.
inline int truncClamped(double v, double limit) {
    if (std::isnan(v)) {
        return 0;
    }
    return static_cast<int>(std::clamp(v, -limit, limit));
}

// A pixel coordinate: truncated toward zero, clamped to +-kPixelLimit.
inline int truncPixel(double v) {
    return truncClamped(v, kPixelLimit);
}

// A sample count or index: truncated toward zero, clamped to +-1e9.
inline int truncIndex(double v) {
    return truncClamped(v, 1e9);
}

// Clamps a wide integer into int range.
inline int saturateInt(long long v) {
    if (v > std::numeric_limits<int>::max()) {
        return std::numeric_limits<int>::max();
    }
    if (v < std::numeric_limits<int>::min()) {
        return std::numeric_limits<int>::min();
    }
    return static_cast<int>(v);
}

// Pixel row (plot-relative, y down) of value v in a window whose bottom row H has
// the value bottom and whose top row 0 has the value top. NaN when the window has
// no span.
inline double valueToRow(double v, double bottom, double top, int h) {
    const double span = top - bottom;
    if (span == 0.0) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return h - (v - bottom) * h / span;
}
