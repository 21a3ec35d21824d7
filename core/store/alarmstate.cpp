#include "core/store/alarmstate.h"

#include "core/store/samplestore.h"
#include "core/text/valuetext.h"

#include <cmath>

std::optional<AlarmChange> AlarmState::onReading(float value, std::string_view unit,
                                                 std::int64_t time, int high, int low) {
    if (isNoValue(value) || std::isnan(value))
        return std::nullopt;
    const AlarmLimits limits = AlarmLimits::ordered(high, low);
    const auto hi = static_cast<float>(limits.high);
    const auto lo = static_cast<float>(limits.low);
    AlarmLevel level = m_level;
    if (value > hi)
        level = AlarmLevel::High;
    else if (value < lo)
        level = AlarmLevel::Low;
    else if ((m_level == AlarmLevel::High && value <= hi - m_fDeadband) ||
             (m_level == AlarmLevel::Low && value >= lo + m_fDeadband))
        level = AlarmLevel::Normal;
    if (level == m_level)
        return std::nullopt;
    const AlarmLevel named = level == AlarmLevel::Normal ? m_level : level;
    m_level = level;
    return AlarmChange{level, value, std::string(unit),
                       named == AlarmLevel::High ? limits.high : limits.low, time};
}

namespace {

struct AlarmWords {
    const char* name;
    const char* title;
};

// In the order of AlarmLevel.
constexpr AlarmWords kAlarmWords[] = {
    {"normal", "Back within the alarm limits"},
    {"high", "Above the high alarm limit"},
    {"low", "Below the low alarm limit"},
};

} // namespace

const char* alarmName(AlarmLevel level) {
    return kAlarmWords[static_cast<int>(level)].name;
}

std::string alarmTitle(AlarmLevel level) {
    return kAlarmWords[static_cast<int>(level)].title;
}

std::string alarmDetail(const AlarmChange& change, std::string_view timeText) {
    const std::string unit = "\u00b0" + change.unit;
    return valueText(change.value) + " " + unit + " at " + std::string(timeText) + " (limit " +
           std::to_string(change.limit) + " " + unit + ")";
}
