#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Where the committed readings stand against the alarm limits.
enum class AlarmLevel { Normal, High, Low };

// A change of the alarm state, caused by one committed reading.
struct AlarmChange {
    AlarmLevel level = AlarmLevel::Normal; // the state entered
    float value = 0.0f;                    // the reading, in degrees of `unit`
    std::string unit;                      // "C" or "F"
    // The limit crossed: the one of the state entered, or for the way back to
    // normal the one of the state left.
    int limit = 0;
    std::int64_t time = 0; // the reading's calendar time

    friend bool operator==(const AlarmChange&, const AlarmChange&) = default;
};

// The alarm state of a recording: high while the last committed reading is
// above the high limit, low while it is below the low limit, normal otherwise.
// The limits are in degrees of the reading's own unit, as the graph compares
// them; a high limit below the low one is taken the other way round, as the
// graph draws them. A reading without a value leaves the state as it is, and
// limits changed between readings count from the next reading on.
class AlarmState {
public:
    AlarmLevel level() const { return m_level; }

    // A committed reading; the change it makes, if any.
    std::optional<AlarmChange> onReading(float value, std::string_view unit, std::int64_t time,
                                         int high, int low);

private:
    AlarmLevel m_level = AlarmLevel::Normal;
    int m_nLimit = 0; // the limit of the state while it is high or low
};

// "high", "low" or "normal": the state's name for scripts.
const char* alarmName(AlarmLevel level);

// "Above the high alarm limit", "Below the low alarm limit" or "Back within
// the alarm limits".
std::string alarmTitle(AlarmLevel level);

// "162.5 °C at 14:03:22 (limit 150 °C)", with the caller's time text (UTF-8).
std::string alarmDetail(const AlarmChange& change, std::string_view timeText);
