#pragma once

#include "core/viewer/spanstatistics.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// orvane-cli stats: the statistics of recordings (data files, CSV files,
// folders) over a period, as text for people or as JSON for scripts.
struct StatsRequest {
    std::vector<std::string> inputs;
    std::optional<std::int64_t> fromMs; // samples at or after it
    std::optional<std::int64_t> toMs;   // samples at or before it
    SpanLimits limits;
    bool json = false;
};
int runStats(const StatsRequest& request);

// A time the user gives: "2026-12-07T14:03", "2026-12-07 14:03:51.250", with
// "Z" or an offset such as "+01:00" after it, or else local time; a date alone
// is its midnight. Milliseconds since the Unix epoch, or nothing.
std::optional<std::int64_t> parseUserTime(const std::string& text);
