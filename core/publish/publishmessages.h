#pragma once

#include "core/store/alarmstate.h"

#include <cstdint>
#include <string>

// One committed reading as it is published.
struct PublishedReading {
    std::int64_t n = 0;    // its number in this run, from 1
    std::int64_t time = 0; // calendar time
    float value = 0.0f;    // kNoValue or more: no value
    std::string unit;      // "C" or "F"
    bool log = false;      // a log frame of the instrument
    int millisecond = -1;  // 0..999 within `time`'s second; -1: not known
};

// {"n":12,"time":"2026-12-07T14:03:51.250+01:00","value":23.5,"unit":"C","log":false};
// a reading without a value has "value":null.
std::string readingJson(const PublishedReading& reading);

// {"n":12,"state":"high","time":"...","value":162.5,"unit":"C","limit":150}:
// the change caused by reading n.
std::string alarmJson(const AlarmChange& change, std::int64_t n);

// {"n":0,"state":"normal","time":"...","value":null,"unit":null,"limit":null}:
// the alarm state at `time`, before any reading was compared with the limits.
std::string startAlarmJson(std::int64_t time);
