#include "core/viewer/valueaxis.h"

#include <algorithm>
#include <cmath>

namespace {

double niceStep(double range, int height, int minSpacing) {
    const double slots = std::max(1.0, static_cast<double>(height) / std::max(1, minSpacing));
    const double raw = range / slots;
    const double decade = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double factor : {1.0, 2.0, 5.0, 10.0})
        if (factor * decade >= raw)
            return factor * decade;
    return 10.0 * decade;
}

} // namespace

std::vector<double> ValueAxis::ticks() const {
    std::vector<double> values;
    if (!(step > 0.0) || !(high > low))
        return values;
    for (double k = std::ceil(low / step); k * step <= high && values.size() < 1000; k += 1.0)
        values.push_back(k * step == 0.0 ? 0.0 : k * step);
    return values;
}

ValueAxis valueAxis(double low, double high, int height, int minSpacing) {
    if (!std::isfinite(low) || !std::isfinite(high))
        low = 0.0, high = 1.0;
    if (high < low)
        std::swap(low, high);
    if (high - low < 1e-6)
        high = low + 1e-6;
    return {low, high, niceStep(high - low, height, minSpacing)};
}

ValueAxis fittedValueAxis(double lowest, double highest, int height, int minSpacing) {
    const double margin = highest > lowest ? (highest - lowest) * 0.05 : 1.0;
    return valueAxis(lowest - margin, highest + margin, height, minSpacing);
}
