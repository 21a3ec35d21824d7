#pragma once

#include "core/result.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

// A recorded series as the data file and its text export take it: the four
// spans have the same length.
struct RecordedSeries {
    std::span<const float> values;
    std::span<const std::string> units;
    std::span<const std::int64_t> times;
    std::span<const std::string> timeTexts;
};

// Why a data file and its text export were not written.
struct DataFilePairFailure {
    bool dataFailed = false;  // the data file stopped the write, else the text export
    bool dataWritten = false; // the data file stays written, without its text export
    std::string reason;       // the system's reason
};

// Writes the series as a data file at `dataPath` and its text export at
// `textPath` (empty: none), as Save does: both are staged before either
// replaces anything, and the data file is put back as it was when the export
// cannot follow it. Each file is replaced whole or not at all.
Result<void, DataFilePairFailure> writeDataFilePair(const std::filesystem::path& dataPath,
                                                    const std::filesystem::path& textPath,
                                                    const RecordedSeries& series);
