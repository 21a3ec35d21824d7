#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The texts of orvane-cli's option values, read without Qt.

// A span of time such as "90s", "2min", "1h30m" or "1d": whole numbers each
// followed by a unit, s (sec), m (min), h or d, added up; a bare number counts
// seconds. Upper or lower case. Nothing for an empty, zero, malformed or
// absurdly long span (more than 100 years).
std::optional<std::int64_t> parseDurationSeconds(std::string_view text);

// A sample-rate label, "auto" or "2s" .. "60min" (any case), as its index
// 0..11 in the sample-rate table.
std::optional<int> parseSampleRate(std::string_view text);
// "auto|2s|5s|...|60min", for help and error texts.
std::string sampleRateChoices();

// A whole number of at least 1 that fits an int.
std::optional<int> parsePositiveCount(std::string_view text);
