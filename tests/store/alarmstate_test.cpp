#include "core/store/alarmstate.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

struct Reading {
    float value;
    const char* unit;
    int high;
    int low;
    // The change expected: none, or the state entered and the limit named.
    std::optional<AlarmLevel> entered;
    int limit = 0;
};

struct Row {
    const char* name;
    std::vector<Reading> readings;
};

constexpr auto N = AlarmLevel::Normal;
constexpr auto H = AlarmLevel::High;
constexpr auto L = AlarmLevel::Low;
constexpr std::optional<AlarmLevel> none;

TEST(AlarmState, ChangesOnlyWhenAReadingCrossesALimit) {
    const std::vector<Row> rows = {
        {"inside the band stays normal", {{20, "C", 150, -50, none}, {150, "C", 150, -50, none}}},
        {"a limit itself belongs to the band",
         {{150, "C", 150, -50, none}, {-50, "C", 150, -50, none}}},
        {"three crossings of the high limit, one change each",
         {{151, "C", 150, -50, H, 150},
          {160, "C", 150, -50, none},
          {149, "C", 150, -50, N, 150},
          {150.1f, "C", 150, -50, H, 150},
          {100, "C", 150, -50, N, 150},
          {200, "C", 150, -50, H, 150}}},
        {"below the low limit and back",
         {{-51, "C", 150, -50, L, -50}, {-60, "C", 150, -50, none}, {0, "C", 150, -50, N, -50}}},
        {"from high straight to low", {{300, "C", 150, -50, H, 150}, {-80, "C", 150, -50, L, -50}}},
        {"a reading without a value changes nothing",
         {{3000, "C", 150, -50, none},
          {160, "C", 150, -50, H, 150},
          {3000, "C", 150, -50, none},
          {5000, "C", 150, -50, none},
          {20, "C", 150, -50, N, 150}}},
        {"a limit changed between readings counts at the next reading, and is named",
         {{120, "C", 150, -50, none},
          {120, "C", 100, -50, H, 100},
          {120, "C", 130, -50, N, 130},
          {-10, "C", 130, 0, L, 0}}},
        {"limits given the wrong way round are swapped",
         {{120, "C", -50, 100, H, 100}, {-60, "C", -50, 100, L, -50}}},
        {"an alarm ends only a deadband (1 degree) inside its limit",
         {{150.4f, "C", 150, -50, H, 150},
          {149.6f, "C", 150, -50, none},
          {150.3f, "C", 150, -50, none},
          {149.1f, "C", 150, -50, none},
          {149, "C", 150, -50, N, 150},
          {-50.5f, "C", 150, -50, L, -50},
          {-49.5f, "C", 150, -50, none},
          {-49, "C", 150, -50, N, -50}}},
        {"Fahrenheit readings against the limits as typed",
         {{212, "F", 150, -50, H, 150},
          {-40, "F", 150, -50, N, 150},
          {-58, "F", 150, -50, L, -50}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AlarmState state;
        std::int64_t time = 1000;
        for (const Reading& r : row.readings) {
            SCOPED_TRACE(r.value);
            const AlarmLevel before = state.level();
            const std::optional<AlarmChange> change =
                state.onReading(r.value, r.unit, ++time, r.high, r.low);
            if (!r.entered) {
                EXPECT_FALSE(change.has_value());
                EXPECT_EQ(state.level(), before);
                continue;
            }
            ASSERT_TRUE(change.has_value());
            EXPECT_EQ(*change, (AlarmChange{*r.entered, r.value, r.unit, r.limit, time}));
            EXPECT_EQ(state.level(), *r.entered);
        }
    }
}

TEST(AlarmState, TextsNameTheStateTheValueAndTheLimit) {
    EXPECT_STREQ(alarmName(H), "high");
    EXPECT_STREQ(alarmName(L), "low");
    EXPECT_STREQ(alarmName(N), "normal");
    EXPECT_EQ(alarmTitle(H), "Above the high alarm limit");
    EXPECT_EQ(alarmTitle(N), "Back within the alarm limits");
    EXPECT_EQ(alarmDetail({H, 162.54f, "F", 150, 0}, "14:03:22"),
              "162.5 \u00b0F at 14:03:22 (limit 150 \u00b0F)");
    EXPECT_EQ(alarmDetail({L, -61.0f, "C", -50, 0}, "09:00:01"),
              "-61.0 \u00b0C at 09:00:01 (limit -50 \u00b0C)");
}

} // namespace
