#include "core/text/valuetext.h"

#include <charconv>
#include <cmath>
#include <cstdio>

std::string valueText(float value) {
    if (isNoValue(value))
        return "----";
    return fixedText(value, 1);
}

std::string fixedText(double value, int decimals) {
    // A float needs at most 39 digits before the point; larger doubles, and
    // what is not a number, go the long way.
    char buffer[64];
    if (std::isfinite(value) && std::fabs(value) < 1e40 && decimals >= 0 && decimals <= 6) {
        const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                                std::chars_format::fixed, decimals);
        if (error == std::errc())
            return std::string(buffer, end);
    }
    std::string text(512, '\0');
    const int n = std::snprintf(text.data(), text.size(), "%.*f", decimals, value);
    text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return text;
}

std::string tenthsText(int tenths, bool negative) {
    char buffer[16];
    char* end = buffer + sizeof buffer;
    char* p = end;
    unsigned n = static_cast<unsigned>(tenths < 0 ? -static_cast<long long>(tenths) : tenths);
    *--p = static_cast<char>('0' + n % 10);
    *--p = '.';
    n /= 10;
    do {
        *--p = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (n > 0);
    if (negative || tenths < 0)
        *--p = '-';
    return std::string(p, end);
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
