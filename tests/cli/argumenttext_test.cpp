#include "cli/argumenttext.h"

#include <gtest/gtest.h>

namespace {

TEST(ArgumentText, DurationsAddUpTheirParts) {
    const struct {
        const char* text;
        std::optional<std::int64_t> seconds;
    } rows[] = {
        {"90s", 90},
        {"90", 90},
        {"2min", 120},
        {"2m", 120},
        {"1h30m", 5400},
        {"1h30min", 5400},
        {"1H30M", 5400},
        {"1d2h3m4s", 93784},
        {"45sec", 45},
        {"0s1m", 60},
        {"", std::nullopt},
        {"0", std::nullopt},
        {"0h0m", std::nullopt},
        {"h", std::nullopt},
        {"1h30", std::nullopt},
        {"1.5h", std::nullopt},
        {"-5s", std::nullopt},
        {"5 s", std::nullopt},
        {"5ms", std::nullopt},
        {"10y", std::nullopt},
        {"36600d", 3162240000},
        {"36601d", std::nullopt},
        {"99999999999999999999s", std::nullopt},
    };
    for (const auto& row : rows)
        EXPECT_EQ(parseDurationSeconds(row.text), row.seconds) << '"' << row.text << '"';
}

TEST(ArgumentText, SampleRatesAreTheChoicesOfTheWindow) {
    const struct {
        const char* text;
        std::optional<int> index;
    } rows[] = {
        {"auto", 0},
        {"Auto", 0},
        {"2s", 1},
        {"10s", 3},
        {"1min", 5},
        {"45MIN", 10},
        {"60min", 11},
        {"1m", std::nullopt},
        {"3s", std::nullopt},
        {"", std::nullopt},
        {"60min ", std::nullopt},
    };
    for (const auto& row : rows)
        EXPECT_EQ(parseSampleRate(row.text), row.index) << '"' << row.text << '"';
    EXPECT_EQ(sampleRateChoices(), "auto|2s|5s|10s|30s|1min|2min|5min|10min|30min|45min|60min");
}

TEST(ArgumentText, CountsAreWholeAndPositive) {
    const struct {
        const char* text;
        std::optional<int> count;
    } rows[] = {
        {"1", 1},
        {"20", 20},
        {"2147483647", 2147483647},
        {"2147483648", std::nullopt},
        {"0", std::nullopt},
        {"-3", std::nullopt},
        {"+3", std::nullopt},
        {"1e3", std::nullopt},
        {"", std::nullopt},
        {"99999999999", std::nullopt},
    };
    for (const auto& row : rows)
        EXPECT_EQ(parsePositiveCount(row.text), row.count) << '"' << row.text << '"';
}

} // namespace
