#pragma once

#include <cstdint>
#include <functional>
#include <string>

// `name` with "-n" before its extension: "full.DovDat" -> "full-2.DovDat", the
// text export "26-12-06 09.42.51 .txt" -> "26-12-06 09.42.51-2 .txt" (the space
// before its extension stays there). n = 1 is the name itself. A name without
// an extension gets the suffix at its end; a folder in front stays as it is.
std::string suffixedName(const std::string& name, int n);

// Whether `path` names anything, a dangling symbolic link included.
bool pathTaken(const std::string& path);

// The data file and the text export of one file of a chain, as paths.
struct ChainFileNames {
    std::string dataFile;
    std::string textFile;
};

// The files of a recording that goes on past the store's limit, one full store
// each, and the names of a single recording written without a dialog. Asked
// for a data file ("full.DovDat"), the chain is full.DovDat, then the next
// free of full-2.DovDat, full-3.DovDat, ...; otherwise each file takes the
// names Save proposes at the time of writing in `folder`. A name not asked for
// never replaces a file: it takes the next free suffix. Every text export
// goes beside its data file under Save's time-stamped name.
class FileChain {
public:
    using Taken = std::function<bool(const std::string&)>;

    // `askedDataFile`: the data file named by the user (empty: Save's names in
    // `folder`, "." or empty for the current one). `taken` says whether a path
    // already names a file.
    FileChain(std::string askedDataFile, std::string folder, Taken taken);

    // The names of the next file, written at calendar time `time`.
    ChainFileNames next(std::int64_t time);
    // How many names next() has given.
    int files() const { return m_nFiles; }

private:
    std::string inFolder(const std::string& folder, const std::string& name) const;
    std::string firstFree(const std::string& name, int& n) const;

    std::string m_strAsked;
    std::string m_strFolder;
    Taken m_taken;
    int m_nFiles = 0;
    int m_nNextSuffix = 2; // of the asked name, for the files after the first
};
