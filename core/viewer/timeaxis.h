#pragma once

#include "core/viewer/columnplot.h"

#include <cstdint>
#include <string>
#include <vector>

// The time axis of the recording viewer, like the ruler of a logic analyser:
// the step between ticks is the smallest of 1, 2, 5, 10, 20, 50, 100, 200 and
// 500 ms, 1, 2, 5, 10, 15 and 30 s, the same in minutes, 1, 2, 3, 6 and 12 h,
// and 1, 2, 7, 14, 28, 56, ... days (steps of days fall on whole multiples
// since 1 January 1970) whose labels (and a gap of two characters)
// fit between two ticks, at any width. Ticks fall on whole steps of local time
// (days at local midnight). A label is "HH:MM:SS.mmm" for steps under a second,
// "HH:MM:SS" under a minute, "HH:MM" under a day, and "YYYY-MM-DD" beyond;
// under a day, the first tick of each new date (and the first tick, when there
// is room) carries that date as a second row.
struct TimeTick {
    std::int64_t timeMs = 0;
    int x = 0; // the plot column
    std::string label;
    std::string date; // empty unless the date row names it
};

// The characters of one label at this step.
int timeLabelChars(std::int64_t stepMs);
// The step for `spanMs` across `width` pixels with labels of `charWidth`
// pixels a character.
std::int64_t timeTickStep(std::int64_t spanMs, int width, int charWidth);
// The ticks of the view's time span, in local time.
std::vector<TimeTick> timeTicks(const PlotView& view, int charWidth);
