#pragma once

#include "core/files/dovdatcontents.h"

#include <optional>
#include <string>

// Reads a .DovDat file whole: the series, or the reason it cannot be read, in
// the words of a message "cannot open FILE: <error>".
struct DataFileRead {
    std::optional<DovDatContents> contents;
    std::string error;
};

DataFileRead readDataFile(const std::string& path);
