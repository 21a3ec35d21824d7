#pragma once

#include <vector>

// The value axis of the recording viewer: a range and ticks on whole steps of
// 1, 2 or 5 times a power of ten, at least `minSpacing` pixels apart.
struct ValueAxis {
    double low = 0.0;
    double high = 1.0;
    double step = 0.1;

    // The ticks within [low, high], lowest first.
    std::vector<double> ticks() const;
};

// The axis for `height` pixels showing [low, high] as it is (a range the user fixed).
ValueAxis valueAxis(double low, double high, int height, int minSpacing);
// The axis fitted to the values [lowest, highest] with a margin of 5 % of the
// range on either side (of 1 where all values are one); ticks as above.
ValueAxis fittedValueAxis(double lowest, double highest, int height, int minSpacing);
