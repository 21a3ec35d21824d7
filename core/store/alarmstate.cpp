#include "core/store/alarmstate.h"

#include "core/store/samplestore.h"
#include "core/text/valuetext.h"

#include <algorithm>
#include <cmath>

std::optional<AlarmChange> AlarmState::onReading(float value, std::string_view unit,
                                                 std::int64_t time, int high, int low) {
    if (isNoValue(value) || std::isnan(value))
        return std::nullopt;
    const int hi = std::max(high, low);
    const int lo = std::min(high, low);
    AlarmLevel level = AlarmLevel::Normal;
    if (value > static_cast<float>(hi))
        level = AlarmLevel::High;
    else if (value < static_cast<float>(lo))
        level = AlarmLevel::Low;
    if (level == m_level)
        return std::nullopt;
    const int limit = level == AlarmLevel::High ? hi : level == AlarmLevel::Low ? lo : m_nLimit;
    m_level = level;
    m_nLimit = limit;
    return AlarmChange{level, value, std::string(unit), limit, time};
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
