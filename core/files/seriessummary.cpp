#include "core/files/seriessummary.h"

#include "core/store/samplestore.h"

#include <algorithm>

SeriesSummary summarizeSeries(const DovDatContents& series, std::optional<float> high,
                              std::optional<float> low) {
    SeriesSummary s;
    s.count = series.count();
    if (s.count > 0) {
        s.firstTime = series.times.front();
        s.lastTime = series.times.back();
    }
    for (int i = 0; i < s.count; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const std::string& unit = series.units[at];
        if (std::find(s.units.begin(), s.units.end(), unit) == s.units.end())
            s.units.push_back(unit);
        const float v = series.values[at];
        if (isNoValue(v)) {
            ++s.noValueCount;
            continue;
        }
        if (!s.minimum || v < s.minimum->value)
            s.minimum = SeriesSummary::Extreme{i, v};
        if (!s.maximum || v > s.maximum->value)
            s.maximum = SeriesSummary::Extreme{i, v};
        if (high && v > *high)
            ++s.aboveHigh;
        if (low && v < *low)
            ++s.belowLow;
    }
    return s;
}
