#pragma once

#include "core/result.h"
#include "core/store/samplestore.h" // RecordedSeries

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>

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

// The names a pair takes when it must replace nothing: `data(n)` and `text(n)`
// are the n-th choices (n = 1, 2, ...) of the data file and of its text export
// (no `text`: none). A taken name is passed over for the next choice; the
// name is taken in one step, so that two writers in one folder never get the
// same one. With `sameSuffix` both files take the same n (the data file's
// choice is given back when the export's is taken); otherwise the export's
// choices start at 1. With `replaceData` the data file is data(first),
// replaced as Save replaces a file the user chose, and only the export is
// new.
struct PairNames {
    std::function<std::filesystem::path(int)> data;
    std::function<std::filesystem::path(int)> text;
    int first = 1; // the data file's first choice
    bool sameSuffix = false;
    bool replaceData = false;
};

// Where a pair was written.
struct WrittenPair {
    std::filesystem::path dataFile;
    std::filesystem::path textFile; // empty: no text export
    int n = 0;                      // the data file's choice
};

// writeDataFilePair for names that replace nothing (`replaceData` aside).
Result<WrittenPair, DataFilePairFailure> writeNewDataFilePair(const PairNames& names,
                                                              const RecordedSeries& series);
