#include "core/text/calendartext.h"
#include "core/text/valuetext.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string printed(const char* pattern, double value) {
    char text[512];
    const int n = std::snprintf(text, sizeof text, pattern, value);
    return std::string(text, static_cast<std::size_t>(n));
}

std::string strftimed(std::int64_t time, const char* pattern) {
    const auto t = static_cast<std::time_t>(time);
    std::tm local{};
    localtime_r(&t, &local);
    char text[128];
    return std::string(text, std::strftime(text, sizeof text, pattern, &local));
}

} // namespace

TEST(FixedText, WritesWhatPrintfWrites) {
    // Halfway cases, negative zero, the instrument's range, float extremes.
    for (const double v : {0.0, -0.0, 0.05, 0.25, -0.04, 2.675, 12.35, -50.0, 1999.9, 0.995, 1e20,
                           -3.4028234663852886e38, 1e300, 1.0 / 0.0})
        for (const int decimals : {1, 2})
            EXPECT_EQ(fixedText(v, decimals), printed(decimals == 1 ? "%.1f" : "%.2f", v)) << v;
    for (int count = -20000; count <= 20000; count += 7) {
        const float v = static_cast<float>(count * 0.1);
        EXPECT_EQ(fixedText(v, 1), printed("%.1f", v)) << count;
        EXPECT_EQ(fixedText(count / 100.0, 2), printed("%.2f", count / 100.0)) << count;
    }
}

TEST(TenthsText, WritesEveryReadingAsFixedTextDoes) {
    // Every temperature count a frame can carry, with and without its sign.
    for (int count = 0; count <= 0xFFFF; ++count)
        for (const bool negative : {false, true}) {
            const float t = static_cast<float>(count * 0.1);
            ASSERT_EQ(tenthsText(count, negative), fixedText(negative ? -t : t, 1)) << count;
        }
}

TEST(CalendarText, WritesWhatStrftimeWritesInEachZoneItIsAskedIn) {
    const char* const saved = std::getenv("TZ");
    const std::string savedZone = saved ? saved : "";
    const char* const patterns[] = {"%m-%d-%y/%H:%M:%S", "%Y-%m-%dT%H:%M:%S", "%d %b %Y",
                                    "%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y"};
    // The same second asked in one zone after another is answered for each.
    for (const std::int64_t time : {0LL, 1796549871LL, 1774746000LL, 253402300799LL, -1LL})
        for (const char* zone : {"UTC", "Europe/Berlin", "America/St_Johns"}) {
            setenv("TZ", zone, 1);
            tzset();
            for (const char* pattern : patterns)
                EXPECT_EQ(calendarText(*localCalendarTime(time), pattern), strftimed(time, pattern))
                    << zone << ' ' << time << ' ' << pattern;
        }
    if (saved)
        setenv("TZ", savedZone.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}
