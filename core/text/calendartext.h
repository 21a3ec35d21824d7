#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

// The local calendar time of a Unix time, as localtime_r gives it. Readings
// come many times a second and all of one second share a breakdown, so the
// last one worked out is kept (per thread, with the TZ it was worked out in).
std::optional<std::tm> localCalendarTime(std::int64_t time);

// `pattern` filled in as strftime does. The numeric fields a timestamp uses
// (%Y %y %m %d %H %M %S) are written directly; anything else goes to strftime.
std::string calendarText(const std::tm& local, std::string_view pattern);
