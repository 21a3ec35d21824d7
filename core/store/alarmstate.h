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

// The alarm limits, in degrees of the readings: high is never below low.
struct AlarmLimits {
    int high = 150;
    int low = -50;

    // A high limit below the low one is taken the other way round.
    static AlarmLimits ordered(int high, int low) {
        return high < low ? AlarmLimits{low, high} : AlarmLimits{high, low};
    }
    friend bool operator==(const AlarmLimits&, const AlarmLimits&) = default;
};

// How far back inside a limit a reading must be before its alarm ends, in
// degrees, unless the configuration file says otherwise.
inline constexpr float kDefaultAlarmDeadband = 1.0f;

// The alarm state of a recording: it becomes high when a committed reading is
// above the high limit and low when one is below the low limit, and goes back
// to normal only when a reading is inside the limit it crossed by at least the
// deadband, so that a reading hovering at a limit does not chatter. The limits
// are in degrees of the reading's own unit, as the graph compares them; a high
// limit below the low one is taken the other way round, as the graph draws
// them. A reading without a value leaves the state as it is, and limits
// changed between readings count from the next reading on.
class AlarmState {
public:
    AlarmLevel level() const { return m_level; }
    // Degrees; negative counts as 0.
    void setDeadband(float degrees) { m_fDeadband = degrees > 0.0f ? degrees : 0.0f; }
    float deadband() const { return m_fDeadband; }

    // A committed reading; the change it makes, if any. The way back to normal
    // names the limit of the state left, as it is now.
    std::optional<AlarmChange> onReading(float value, std::string_view unit, std::int64_t time,
                                         int high, int low);

private:
    AlarmLevel m_level = AlarmLevel::Normal;
    float m_fDeadband = kDefaultAlarmDeadband;
};

// "high", "low" or "normal": the state's name for scripts.
const char* alarmName(AlarmLevel level);

// "Above the high alarm limit", "Below the low alarm limit" or "Back within
// the alarm limits".
std::string alarmTitle(AlarmLevel level);

// "162.5 °C at 14:03:22 (limit 150 °C)", with the caller's time text (UTF-8).
std::string alarmDetail(const AlarmChange& change, std::string_view timeText);
