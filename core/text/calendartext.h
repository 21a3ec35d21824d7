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

// The text of a calendar second, as `make` writes it, made again only when the
// second changes: readings come many a second.
class SecondText {
public:
    using Maker = std::string (*)(std::int64_t time);
    explicit SecondText(Maker make) : m_make(make) {}
    const std::string& of(std::int64_t time) {
        if (!m_bMade || time != m_time) {
            m_text = m_make(time);
            m_time = time;
            m_bMade = true;
        }
        return m_text;
    }

private:
    Maker m_make;
    std::string m_text;
    std::int64_t m_time = 0;
    bool m_bMade = false;
};
