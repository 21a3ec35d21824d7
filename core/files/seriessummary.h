#pragma once

#include "core/files/dovdatcontents.h"

#include <optional>
#include <string>
#include <vector>

// What a recorded series holds at a glance: how many samples, from when to
// when, its extremes, and how many samples lie beyond alarm limits. Samples
// without a value (3000.0 or more) are counted but take part in nothing else.
struct SeriesSummary {
    // Index of a sample (0-based) and its value.
    struct Extreme {
        int index = 0;
        float value = 0.0f;
    };

    int count = 0;
    int noValueCount = 0;
    std::string firstTime; // time texts as stored; empty for an empty series
    std::string lastTime;
    std::vector<std::string> units; // the unit letters that occur, in order of first use
    std::optional<Extreme> minimum; // the first sample with the lowest value
    std::optional<Extreme> maximum; // the first sample with the highest value
    int aboveHigh = 0;              // samples with a value above `high` (strictly)
    int belowLow = 0;               // samples with a value below `low` (strictly)
};

// Limits left out are not counted (aboveHigh or belowLow stays 0).
SeriesSummary summarizeSeries(const DovDatContents& series, std::optional<float> high,
                              std::optional<float> low);
