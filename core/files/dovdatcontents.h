#pragma once

#include <string>
#include <vector>

// One series as a data file holds it: per sample a value (3000.0 or more = no
// value), a unit letter ("C" or "F") and a time text ("%m-%d-%y/%H:%M:%S"). The
// three vectors have the same length.
struct DovDatContents {
    std::vector<float> values;
    std::vector<std::string> units;
    std::vector<std::string> times;

    int count() const { return static_cast<int>(values.size()); }
};
