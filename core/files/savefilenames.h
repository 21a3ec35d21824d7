#pragma once

#include <cstdint>
#include <string>

// The names Save proposes, from the time of saving (local time): the data file
// "26-12-06 09.42.51.DovDat" and the text export "26-12-06 09.42.51 .txt" (with
// its space before the extension). Neither carries a directory. Both are empty
// apart from their endings when the time cannot be converted.
struct SaveFileNames {
    std::string dataFile;
    std::string textFile;
    std::string csvFile; // "26-12-06 09.42.51.csv", for Export as CSV
};

SaveFileNames saveFileNames(std::int64_t time);
