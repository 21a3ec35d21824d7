#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Samples as comma-separated values (RFC 4180): a header line, then one record
// per sample, every line ending in CR LF, so that any spreadsheet opens it.
//
//   number,time,value,unit,log
//   1,2026-12-07T14:03:51+01:00,25.3,C,0
//
// The time is local time with its offset from UTC; the value has one decimal and
// is empty where the instrument sent none (3000.0 or more); log is 1 for a
// reading the instrument marked as logged.

// One record. A sample whose time is not known as a calendar time (a time text
// that cannot be read) keeps its text as it stands.
struct CsvSample {
    int number = 0;
    std::optional<std::int64_t> time;
    std::string timeText;
    float value = 0.0f;
    std::string unit;
    bool log = false;
};

// "number,time,value,unit,log" and CR LF.
std::string csvHeader();
// One record and CR LF.
std::string csvLine(const CsvSample& sample);

// A text field: quoted when it holds a comma, a quote or a line break, with
// quotes doubled. A text a spreadsheet would take for a formula (starting with
// =, +, -, @, a tab or a carriage return) gets a leading apostrophe first.
std::string csvTextField(std::string_view text);

// Calendar time as ISO 8601 local time with its UTC offset,
// "2026-12-07T14:03:51+01:00" ("Z" is never used); empty when it cannot be
// converted.
std::string isoLocalTime(std::int64_t time);
