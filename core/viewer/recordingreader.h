#pragma once

#include "core/viewer/recordingseries.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Reads recordings of any length into one RecordingSeries: .DovDat data files
// (a chain, several runs), the CSV files the program writes (both time styles,
// both separators, with or without milliseconds) and folders (their .DovDat and
// .csv files). A file that is not a recording is named and left out; a damaged
// line of a CSV file is left out and counted; the rest is read.
//
// A data file's times are local time to the second ("%m-%d-%y/%H:%M:%S"); the
// samples that share a second are spread evenly over it, in order, across the
// files of a chain too. A CSV time is "2026-12-07 14:03:51.123" with the offset
// from UTC in the next column, or "2026-12-07T14:03:51.123+01:00"; the
// milliseconds may be missing (files written before they were kept).

// A file left out, or lines of it left out, and why (a lower-case phrase).
struct RecordingProblem {
    std::string path;
    std::string reason;
};

struct LoadedRecordings {
    RecordingSeries series;                // finished
    std::vector<RecordingProblem> refused; // files not read at all
    std::vector<RecordingProblem> damaged; // files read with lines left out
    bool cancelled = false;                // the series is then empty
};

// What reading reports while it runs (from the thread that reads) and what
// stops it: `progress` gets the bytes read and the bytes there are in all;
// reading stops soon after `cancel` becomes true.
struct LoadControl {
    std::function<void(std::uint64_t done, std::uint64_t total)> progress;
    const std::atomic<bool>* cancel = nullptr;
};

// The files the user's names stand for: a folder gives its .DovDat and .csv
// files (not those of its sub-folders); names are ordered naturally ("run",
// "run-2", ..., "run-10"). A name that is neither a file nor a folder, or a
// folder without recordings, goes to `refused`.
std::vector<std::string> recordingFiles(const std::vector<std::string>& named,
                                        std::vector<RecordingProblem>& refused);

// Reads the named files and folders into one series, ordered by time.
LoadedRecordings readRecordings(const std::vector<std::string>& named,
                                const LoadControl& control = {});
