#pragma once

#include "core/files/dovdatcontents.h"
#include "core/result.h"

#include <string>

// Reads a .DovDat file whole: the series, or the reason it cannot be read, in
// the words of a message "cannot open FILE: <error>".
Result<DovDatContents> readDataFile(const std::string& path);
