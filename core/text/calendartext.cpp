#include "core/text/calendartext.h"

#include <cstdlib>

namespace {

struct LastBreakdown {
    bool valid = false;
    std::int64_t time = 0;
    bool zoneSet = false;
    std::string zone;
    std::tm local{};
};

thread_local LastBreakdown t_last;

// Writes `pattern` for a year of four digits and fields in their ranges, or
// says it cannot.
bool writeDirectly(const std::tm& local, std::string_view pattern, std::string& out) {
    const int year = local.tm_year + 1900;
    const bool inRange = local.tm_year >= 1000 - 1900 && local.tm_year <= 9999 - 1900 &&
                         local.tm_mon >= 0 && local.tm_mon < 12 && local.tm_mday >= 1 &&
                         local.tm_mday <= 31 && local.tm_hour >= 0 && local.tm_hour < 24 &&
                         local.tm_min >= 0 && local.tm_min < 60 && local.tm_sec >= 0 &&
                         local.tm_sec <= 60;
    // No field is longer than twice the two characters that name it.
    char text[64];
    if (!inRange || 2 * pattern.size() > sizeof text)
        return false;
    std::size_t n = 0;
    const auto digits = [&](int value, int width) {
        for (int i = width - 1; i >= 0; --i) {
            text[n + static_cast<std::size_t>(i)] = static_cast<char>('0' + value % 10);
            value /= 10;
        }
        n += static_cast<std::size_t>(width);
    };
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') {
            text[n++] = pattern[i];
            continue;
        }
        switch (i + 1 < pattern.size() ? pattern[++i] : '\0') {
        case 'Y':
            digits(year, 4);
            break;
        case 'y':
            digits(year % 100, 2);
            break;
        case 'm':
            digits(local.tm_mon + 1, 2);
            break;
        case 'd':
            digits(local.tm_mday, 2);
            break;
        case 'H':
            digits(local.tm_hour, 2);
            break;
        case 'M':
            digits(local.tm_min, 2);
            break;
        case 'S':
            digits(local.tm_sec, 2);
            break;
        default:
            return false;
        }
    }
    out.assign(text, n);
    return true;
}

} // namespace

std::optional<std::tm> localCalendarTime(std::int64_t time) {
    const char* zone = std::getenv("TZ");
    LastBreakdown& last = t_last;
    if (last.valid && last.time == time && last.zoneSet == (zone != nullptr) &&
        (!zone || last.zone == zone))
        return last.local;
    const auto t = static_cast<std::time_t>(time);
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr)
        return std::nullopt;
    last.valid = true;
    last.time = time;
    last.zoneSet = zone != nullptr;
    last.zone = zone ? zone : "";
    last.local = local;
    return local;
}

std::string calendarText(const std::tm& local, std::string_view pattern) {
    std::string out;
    if (writeDirectly(local, pattern, out))
        return out;
    char text[128];
    const std::size_t n = std::strftime(text, sizeof text, std::string(pattern).c_str(), &local);
    return std::string(text, n);
}
