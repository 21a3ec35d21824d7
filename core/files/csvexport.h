#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Samples as comma-separated values (RFC 4180): a header line, then one record
// per sample, every line ending in CR LF, so that any spreadsheet opens it.
//
//   number,time,utc_offset,value,unit,log
//   1,2026-12-07 14:03:51.250,+01:00,25.3,C,0
//
// The time is local time in the form every spreadsheet reads as a date and
// time, to the millisecond where the sample's time has them, its offset from
// UTC in a column of its own; the value has one decimal
// and is empty where the instrument sent none (3000.0 or more); log is 1 for a
// reading the instrument marked as logged, 0 for one it did not, and empty
// where the mark is not known (a data file does not keep it).
//
// For spreadsheets that write numbers with a decimal comma the separator is a
// semicolon and the value "25,3". The ISO time form keeps the time and its
// offset in one column, "2026-12-07T14:03:51.250+01:00", under
// "number,time,value,unit,log".

enum class CsvSeparator {
    Comma,     // ',' between fields, '.' in numbers
    Semicolon, // ';' between fields, ',' in numbers
};

enum class CsvTime {
    Local, // "2026-12-07 14:03:51" and "+01:00" in a column of its own
    Iso,   // "2026-12-07T14:03:51+01:00"
};

struct CsvStyle {
    CsvSeparator separator = CsvSeparator::Comma;
    CsvTime time = CsvTime::Local;
};

// One record. A sample whose time is not known as a calendar time (a time text
// that cannot be read) keeps its text as it stands, with no offset.
struct CsvSample {
    int number = 0;
    std::optional<std::int64_t> time; // seconds
    std::string timeText;
    float value = 0.0f;
    std::string unit;
    std::optional<bool> log = false; // empty: not known
    int millisecond = -1;            // 0..999 after `time`; -1: whole seconds
};

// The header line and CR LF.
std::string csvHeader(CsvStyle style = {});
// One record and CR LF.
std::string csvLine(const CsvSample& sample, CsvStyle style = {});

// The separator a spreadsheet expects where numbers are written with
// `decimalPoint`: a semicolon where that is a comma.
CsvSeparator csvSeparatorFor(char decimalPoint);

// A text field: quoted when it holds the separator, a quote or a line break,
// with quotes doubled. A text a spreadsheet would take for a formula (starting
// with =, +, -, @, a tab or a carriage return) gets a leading apostrophe first.
std::string csvTextField(std::string_view text, CsvSeparator separator = CsvSeparator::Comma);

// Calendar time as ISO 8601 local time with its UTC offset,
// "2026-12-07T14:03:51+01:00" ("Z" is never used), with ".250" after the
// seconds for a millisecond 0..999; empty when it cannot be converted.
std::string isoLocalTime(std::int64_t time, int millisecond = -1);
// Local time "2026-12-07 14:03:51" (or "...:51.250"); empty when it cannot be converted.
std::string localDateTime(std::int64_t time, int millisecond = -1);
// The offset of local time from UTC at `time`, "+01:00" or "-03:30"; empty
// when it cannot be converted.
std::string utcOffsetText(std::int64_t time);
