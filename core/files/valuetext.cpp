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

std::string printableText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b != 0x7F) {
            out += c;
            continue;
        }
        char escaped[5];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", b);
        out += escaped;
    }
    return out;
}
