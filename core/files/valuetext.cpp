#include "core/files/valuetext.h"

#include "core/store/samplestore.h"

#include <cstdio>

std::string valueText(float value) {
    if (isNoValue(value))
        return "----";
    // The most negative float needs 39 digits, a sign, a point and one decimal.
    char buffer[64];
    const int n = std::snprintf(buffer, sizeof buffer, "%.1f", static_cast<double>(value));
    return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}
