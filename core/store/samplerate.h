#pragma once

#include <array>
#include <string_view>

// The sample-rate choices: index 0 commits every reading ("Auto"), 1..11 commit
// the latest reading once per interval.
inline constexpr int kSampleRateCount = 12;
inline constexpr std::array<std::string_view, kSampleRateCount> kSampleRateLabels = {
    "Auto", "2s", "5s", "10s", "30s", "1min", "2min", "5min", "10min", "30min", "45min", "60min"};

// The commit interval of an index in 1..11, in milliseconds; 0 for "Auto" and
// for anything outside the table.
int sampleRateMs(int index);
inline bool isIntervalRate(int index) {
    return index >= 1 && index < kSampleRateCount;
}
