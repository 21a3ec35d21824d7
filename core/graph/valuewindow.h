#pragma once

#include <span>

// The value window of the unzoomed graph: 300 wide in 12 steps of 25, chosen
// by the value scroll position p (0 at the top of the bar .. 72 at its
// bottom): from (68 - p) x 25 at the plot's bottom to (80 - p) x 25 at its top.
// Where it goes when the graph follows the readings, and whether readings lie
// beyond it. The no-value mark and values that are not numbers are no
// readings here: they neither move the window nor lie beyond it.
namespace valuewindow {

inline constexpr int kMaxPosition = 72;

inline double bottomAt(int position) {
    return (68.0 - position) * 25.0;
}
inline double topAt(int position) {
    return (80.0 - position) * 25.0;
}

// The position nearest `position` whose window holds `value` (the edges
// included): `position` itself when it holds it already or when `value` is
// no reading; the end of the bar when no window holds it.
int positionShowing(int position, float value);

// The position whose window holds the most of `values`, among equals the one
// centred best on them (the middle of their lowest and highest); `position`
// when there is no reading.
int positionForReadings(std::span<const float> values, int position);

// Whether some of `values` lie above, and some below, the window at `position`.
struct Beyond {
    bool above = false;
    bool below = false;
};
Beyond readingsBeyond(std::span<const float> values, int position);

} // namespace valuewindow
