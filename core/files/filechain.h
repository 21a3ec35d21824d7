#pragma once

#include "core/files/datafilepair.h"

#include <cstdint>
#include <string>

// `name` with "-n" before its extension: "full.DovDat" -> "full-2.DovDat", the
// text export "26-12-06 09.42.51 .txt" -> "26-12-06 09.42.51-2 .txt" (the space
// before its extension stays there). n = 1 is the name itself. A name without
// an extension gets the suffix at its end; a folder in front stays as it is.
std::string suffixedName(const std::string& name, int n);

// Whether `path` names anything, a dangling symbolic link included.
bool pathTaken(const std::string& path);

// The files of a recording that goes on past the store's limit, one full store
// each, and the names of a single recording written without a dialog. Asked
// for a data file ("full.DovDat"), the chain is the first free of full.DovDat,
// full-2.DovDat, ..., then the next free after it, and so on; otherwise each
// file takes the names Save proposes at the time of writing in `folder`, the
// data file and its export with the same suffix. No name ever replaces a file:
// a taken one is passed over when the file is written (writeNewDataFilePair).
// Every text export goes beside its data file under Save's time-stamped name.
class FileChain {
public:
    // `askedDataFile`: the data file named by the user (empty: Save's names in
    // `folder`, "." or empty for the current one).
    FileChain(std::string askedDataFile, std::string folder);

    // The names to try for the next file, written at calendar time `time`.
    PairNames next(std::int64_t time);
    // The next file was written as `written`: the one after it follows it.
    void wrote(const WrittenPair& written);
    // How many files were written.
    int files() const { return m_nFiles; }

private:
    std::string m_strAsked;
    std::string m_strFolder;
    int m_nFiles = 0;
    int m_nNextSuffix = 1; // of the asked name
};
