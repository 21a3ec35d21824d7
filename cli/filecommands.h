#pragma once

#include "core/files/csvexport.h"

#include <optional>
#include <string>

// orvane-cli convert: a data file as its text export or as CSV, into a file
// (replaced atomically) or onto the standard output.
struct ConvertRequest {
    std::string input;
    bool csv = false;
    CsvTime csvTime = CsvTime::Local;
    std::string output; // empty or "-": the standard output
};
int runConvert(const ConvertRequest& request);

// orvane-cli info: what a data file holds, on the standard output.
struct InfoRequest {
    std::string input;
    std::optional<float> high;
    std::optional<float> low;
};
int runInfo(const InfoRequest& request);

// Writes `data` to `path` atomically, or onto the standard output for an empty
// path or "-". Says what failed on the standard error; the exit status.
int writeOutput(const std::string& path, const std::string& data);
