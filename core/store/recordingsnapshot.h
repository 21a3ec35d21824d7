#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Running extremes before any reading, as the acquisition starts them.
inline constexpr float kNoRunMax = -100.0f;
inline constexpr float kNoRunMin = 2000.0f;

// Whether the instrument marked a reading as logged, and whether it sent a
// value with it: the data list shows "25.3log" or "----log" for those.
enum class LogMark : std::uint8_t {
    None = 0,
    WithValue = 1,
    WithoutValue = 2,
};

// The data list's value text of a reading `value` with `mark`: one decimal, and
// "log" after it for a logged reading ("----log" without a value).
std::string listValueText(float value, LogMark mark);

// A copy of the recording kept outside the store (a journal rebuilds one), to
// be taken back into it.
struct RecordingSnapshot {
    std::vector<float> values;
    std::vector<std::string> units;
    std::vector<std::int64_t> times;
    std::vector<std::string> timeTexts;
    std::vector<LogMark> logs;
    // The millisecond within each time's second, -1 where it is not known.
    std::vector<std::int16_t> milliseconds;
    // The graph series is the last graphCount samples of the recorded series.
    int graphCount = 0;
    float runMax = kNoRunMax;
    float runMin = kNoRunMin;

    int count() const { return static_cast<int>(values.size()); }
    bool empty() const { return values.empty(); }
};
