#pragma once

#include "core/files/dovdatcontents.h"
#include "core/result.h"

#include <cstddef>
#include <string>

// Larger than any data file of 4000 samples can be.
inline constexpr std::size_t kDataFileMaxSize = 1 << 20;

// Why a data file could not be read.
struct DataFileRefusal {
    enum class Kind {
        Unreadable,   // the system's reason, or "it is not a regular file"
        TooLarge,     // over kDataFileMaxSize bytes
        NotADataFile, // what is wrong with the bytes, as decodeDovDat says it
    };
    Kind kind = Kind::Unreadable;
    std::string reason; // a lower-case phrase without a final full stop
};

// Reads a .DovDat file whole ("-": the standard input, a pipe as well as a
// file): the series, or why it cannot be read. Only a regular file can be a
// data file; opening without waiting keeps a named pipe or a device from
// holding the program until it speaks.
Result<DovDatContents, DataFileRefusal> readDataFile(const std::string& path);
