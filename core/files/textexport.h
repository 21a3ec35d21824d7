#pragma once

#include "core/result.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The plain-text table Save writes beside the data file: one header line and one
// line per recorded sample, fixed-width columns, each line ending in CR LF.

// "      NO              DATA              UNIT           TIME  " and CR LF.
std::string textExportHeader();

// The line of sample `number` (1-based): number, value ("----" for no value), unit
// letter and the time formatted "%m-%d-%y/%H:%M:%S" in local time, then CR LF.
std::string textExportLine(int number, float value, std::string_view unit, std::int64_t time);

// The whole export of a recorded series: the header, then one line per sample.
// The three spans must have the same length; otherwise nothing is written and
// the message says so.
Result<std::string> textExport(std::span<const float> values, std::span<const std::string> units,
                               std::span<const std::int64_t> times);
