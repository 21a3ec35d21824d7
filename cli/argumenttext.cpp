#include "cli/argumenttext.h"

#include "core/store/samplerate.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace {

constexpr std::int64_t kLongestSeconds = 100LL * 366 * 24 * 3600;

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Seconds per unit; 0 for a unit not known.
std::int64_t unitSeconds(std::string_view unit) {
    if (unit.empty() || unit == "s" || unit == "sec")
        return 1;
    if (unit == "m" || unit == "min")
        return 60;
    if (unit == "h")
        return 3600;
    if (unit == "d")
        return 24 * 3600;
    return 0;
}

} // namespace

std::optional<std::int64_t> parseDurationSeconds(std::string_view text) {
    const std::string s = lower(text);
    std::int64_t total = 0;
    std::size_t i = 0;
    if (s.empty())
        return std::nullopt;
    while (i < s.size()) {
        std::int64_t number = 0;
        const std::size_t digitsStart = i;
        while (i < s.size() && isDigit(s[i])) {
            number = number * 10 + (s[i] - '0');
            if (number > kLongestSeconds)
                return std::nullopt;
            ++i;
        }
        if (i == digitsStart)
            return std::nullopt;
        const std::size_t unitStart = i;
        while (i < s.size() && !isDigit(s[i]))
            ++i;
        const std::int64_t perUnit =
            unitSeconds(std::string_view(s).substr(unitStart, i - unitStart));
        // A bare number is only a whole span by itself, not part of "1h30".
        if (perUnit == 0 || (unitStart == i && digitsStart != 0))
            return std::nullopt;
        if (number > (kLongestSeconds - total) / perUnit)
            return std::nullopt;
        total += number * perUnit;
    }
    if (total == 0)
        return std::nullopt;
    return total;
}

std::optional<int> parseSampleRate(std::string_view text) {
    const std::string s = lower(text);
    for (int i = 0; i < kSampleRateCount; ++i)
        if (s == lower(kSampleRateLabels[static_cast<std::size_t>(i)]))
            return i;
    return std::nullopt;
}

std::string sampleRateChoices() {
    std::string out;
    for (int i = 0; i < kSampleRateCount; ++i) {
        if (i > 0)
            out += '|';
        out += lower(kSampleRateLabels[static_cast<std::size_t>(i)]);
    }
    return out;
}

std::optional<int> parsePositiveCount(std::string_view text) {
    if (text.empty() || text.size() > 10)
        return std::nullopt;
    std::int64_t n = 0;
    for (const char c : text) {
        if (!isDigit(c))
            return std::nullopt;
        n = n * 10 + (c - '0');
    }
    if (n < 1 || n > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(n);
}
