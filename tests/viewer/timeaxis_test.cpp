#include "core/viewer/timeaxis.h"
#include "support/zoneguard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr std::int64_t kS = 1000;
constexpr std::int64_t kMin = 60 * kS;
constexpr std::int64_t kH = 60 * kMin;
constexpr std::int64_t kD = 24 * kH;
constexpr std::int64_t kNight = 1796684400000; // 7 December 2026, 23:00:00 UTC

// The step is the smallest whose labels fit, and no two labels overlap.
TEST(TimeAxis, StepFitsTheLabelsAtAnyWidth) {
    const ZoneGuard zone("UTC");
    const struct {
        std::int64_t span;
        int width;
        std::int64_t step;
    } rows[] = {
        {100, 1600, 10},
        {kS, 1600, 100},
        {10 * kS, 1600, kS},
        {8 * kH, 1600, 15 * kMin},
        {8 * kH, 400, kH},
        {7 * kD, 1600, 6 * kH},
        {7 * kD, 300, 2 * kD},
        {365 * kD, 1600, 28 * kD},
        {2000 * 365 * kD, 100, 4096 * 224 * kD},
        {kS, 1, kMin},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(timeTickStep(row.span, row.width, 7), row.step) << row.span << " " << row.width;
        const PlotView view{kNight, kNight + row.span, 0.0, 1.0, row.width, 100};
        const std::vector<TimeTick> ticks = timeTicks(view, 7);
        int overlaps = 0;
        for (std::size_t k = 1; k < ticks.size(); ++k)
            overlaps += ticks[k].x - ticks[k - 1].x < static_cast<int>(ticks[k].label.size()) * 7;
        EXPECT_EQ(overlaps, 0) << row.span << " " << row.width;
        EXPECT_TRUE(ticks.empty() ||
                    (ticks.front().timeMs >= view.startMs && ticks.back().timeMs < view.endMs));
    }
}

// Ticks fall on whole steps of local time; the date row names each new day.
TEST(TimeAxis, LabelsInLocalTimeWithTheDateAcrossMidnight) {
    const struct {
        const char* zone;
        PlotView view;
        std::vector<std::string> labels;
        std::vector<std::string> dates;
    } rows[] = {
        {"UTC",
         {kNight, kNight + 2 * kH, 0.0, 1.0, 800, 100},
         {"23:00", "23:10", "23:20", "23:30", "23:40", "23:50", "00:00", "00:10", "00:20", "00:30",
          "00:40", "00:50"},
         {"2026-12-07", "", "", "", "", "", "2026-12-08", "", "", "", "", ""}},
        {"Asia/Kolkata", // 09:30 local: hours fall on half past in UTC
         {kNight - 19 * kH, kNight - 16 * kH, 0.0, 1.0, 200, 100},
         {"10:00", "11:00", "12:00"},
         {"2026-12-07", "", ""}},
        {"UTC",
         {kNight + 250, kNight + 1250, 0.0, 1.0, 1600, 100},
         {"23:00:00.300", "23:00:00.400", "23:00:00.500", "23:00:00.600", "23:00:00.700",
          "23:00:00.800", "23:00:00.900", "23:00:01.000", "23:00:01.100", "23:00:01.200"},
         {"2026-12-07", "", "", "", "", "", "", "", "", ""}},
        {"UTC",
         {kNight - 3 * kD, kNight + 4 * kD, 0.0, 1.0, 300, 100},
         {"2026-12-05", "2026-12-07", "2026-12-09", "2026-12-11"},
         {"", "", "", ""}},
    };
    for (const auto& row : rows) {
        const ZoneGuard zone(row.zone);
        std::vector<std::string> labels, dates;
        for (const TimeTick& t : timeTicks(row.view, 7)) {
            labels.push_back(t.label);
            dates.push_back(t.date);
        }
        EXPECT_EQ(labels, row.labels) << row.zone;
        EXPECT_EQ(dates, row.dates) << row.zone;
    }
}

} // namespace
