#include "core/graph/valuewindow.h"

#include "core/text/valuetext.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace valuewindow {

namespace {

bool isReading(float value) {
    return std::isfinite(value) && value < kNoValue;
}

} // namespace

int positionShowing(int position, float value) {
    position = std::clamp(position, 0, kMaxPosition);
    if (!isReading(value))
        return position;
    // Window top (80 - p) x 25 >= value, bottom (68 - p) x 25 <= value.
    if (value > topAt(position))
        position = static_cast<int>(std::floor(80.0 - value / 25.0));
    else if (value < bottomAt(position))
        position = static_cast<int>(std::ceil(68.0 - value / 25.0));
    return std::clamp(position, 0, kMaxPosition);
}

int positionForReadings(std::span<const float> values, int position) {
    std::vector<float> sorted;
    sorted.reserve(values.size());
    std::copy_if(values.begin(), values.end(), std::back_inserter(sorted), isReading);
    if (sorted.empty())
        return std::clamp(position, 0, kMaxPosition);
    std::sort(sorted.begin(), sorted.end());
    const double middle = (static_cast<double>(sorted.front()) + sorted.back()) / 2.0;
    int best = 0;
    std::ptrdiff_t bestCount = -1;
    double bestOffCentre = 0.0;
    for (int p = 0; p <= kMaxPosition; ++p) {
        const auto first = std::lower_bound(sorted.begin(), sorted.end(), bottomAt(p));
        const auto last = std::upper_bound(first, sorted.end(), topAt(p));
        const std::ptrdiff_t count = last - first;
        const double offCentre = std::abs((bottomAt(p) + topAt(p)) / 2.0 - middle);
        if (count > bestCount || (count == bestCount && offCentre < bestOffCentre)) {
            best = p;
            bestCount = count;
            bestOffCentre = offCentre;
        }
    }
    return best;
}

Beyond readingsBeyond(std::span<const float> values, int position) {
    const double bottom = bottomAt(position);
    const double top = topAt(position);
    Beyond beyond;
    for (const float v : values) {
        if (!isReading(v))
            continue;
        beyond.above = beyond.above || v > top;
        beyond.below = beyond.below || v < bottom;
    }
    return beyond;
}

} // namespace valuewindow
