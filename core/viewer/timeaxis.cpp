#include "core/viewer/timeaxis.h"

#include "core/text/calendartext.h"

#include <array>
#include <optional>

namespace {

constexpr std::int64_t kSecond = 1000;
constexpr std::int64_t kMinute = 60 * kSecond;
constexpr std::int64_t kHour = 60 * kMinute;
constexpr std::int64_t kDay = 24 * kHour;
constexpr int kLabelGap = 2; // characters between two labels
constexpr int kDateChars = 10;

constexpr std::array<std::int64_t, 34> kSteps = {1,
                                                 2,
                                                 5,
                                                 10,
                                                 20,
                                                 50,
                                                 100,
                                                 200,
                                                 500,
                                                 kSecond,
                                                 2 * kSecond,
                                                 5 * kSecond,
                                                 10 * kSecond,
                                                 15 * kSecond,
                                                 30 * kSecond,
                                                 kMinute,
                                                 2 * kMinute,
                                                 5 * kMinute,
                                                 10 * kMinute,
                                                 15 * kMinute,
                                                 30 * kMinute,
                                                 kHour,
                                                 2 * kHour,
                                                 3 * kHour,
                                                 6 * kHour,
                                                 12 * kHour,
                                                 kDay,
                                                 2 * kDay,
                                                 7 * kDay,
                                                 14 * kDay,
                                                 28 * kDay,
                                                 56 * kDay,
                                                 112 * kDay,
                                                 224 * kDay};

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

// Local time's offset from UTC at `timeMs`, in ms (0 where it is not known).
std::int64_t offsetAt(std::int64_t timeMs) {
    const std::optional<std::tm> local = localCalendarTime(floorDiv(timeMs, kSecond));
    return local ? static_cast<std::int64_t>(local->tm_gmtoff) * kSecond : 0;
}

std::string labelText(std::int64_t timeMs, std::int64_t step, std::string* date) {
    const std::optional<std::tm> local = localCalendarTime(floorDiv(timeMs, kSecond));
    if (!local)
        return {};
    if (date)
        *date = calendarText(*local, "%Y-%m-%d");
    if (step >= kDay)
        return calendarText(*local, "%Y-%m-%d");
    if (step >= kMinute)
        return calendarText(*local, "%H:%M");
    std::string text = calendarText(*local, "%H:%M:%S");
    if (step < kSecond) {
        const auto ms = static_cast<int>(timeMs - floorDiv(timeMs, kSecond) * kSecond);
        text += {'.', static_cast<char>('0' + ms / 100), static_cast<char>('0' + ms / 10 % 10),
                 static_cast<char>('0' + ms % 10)};
    }
    return text;
}

} // namespace

int timeLabelChars(std::int64_t stepMs) {
    if (stepMs < kSecond)
        return 12;
    if (stepMs < kMinute)
        return 8;
    if (stepMs < kDay)
        return 5;
    return kDateChars;
}

std::int64_t timeTickStep(std::int64_t spanMs, int width, int charWidth) {
    if (spanMs <= 0 || width <= 0)
        return kSteps.back();
    const auto fits = [&](std::int64_t step) {
        const double pixels = static_cast<double>(step) * width / static_cast<double>(spanMs);
        return pixels >= static_cast<double>((timeLabelChars(step) + kLabelGap) * charWidth);
    };
    for (const std::int64_t step : kSteps)
        if (fits(step))
            return step;
    // Spans of years: twice the longest step, and so on.
    std::int64_t step = kSteps.back();
    while (!fits(step) && step < spanMs)
        step *= 2;
    return step;
}

std::vector<TimeTick> timeTicks(const PlotView& view, int charWidth) {
    std::vector<TimeTick> ticks;
    if (view.endMs <= view.startMs || view.width <= 0)
        return ticks;
    const std::int64_t step = timeTickStep(view.endMs - view.startMs, view.width, charWidth);
    std::int64_t from = view.startMs;
    std::string currentDate;
    while (from < view.endMs) {
        const std::int64_t offset = offsetAt(from);
        const std::int64_t local = from + offset;
        const std::int64_t tickLocal = -floorDiv(-local, step) * step;
        std::int64_t tick = tickLocal - offset;
        // Across a change of the offset, the tick is worked out in the new one.
        if (const std::int64_t later = offsetAt(tick); later != offset)
            tick = std::max(from, tickLocal - later);
        if (tick >= view.endMs)
            break;
        TimeTick t;
        t.timeMs = tick;
        t.x = static_cast<int>(plotColumn(view, tick));
        std::string date;
        t.label = labelText(tick, step, step < kDay ? &date : nullptr);
        if (step < kDay && date != currentDate)
            t.date = currentDate = date;
        ticks.push_back(std::move(t));
        from = tick + 1;
    }
    // The first tick names its date only where the next date leaves room for it.
    for (std::size_t k = 1; k < ticks.size(); ++k) {
        if (ticks[k].date.empty())
            continue;
        if (ticks[k].x - ticks[0].x < (kDateChars + kLabelGap) * charWidth)
            ticks[0].date.clear();
        break;
    }
    return ticks;
}
