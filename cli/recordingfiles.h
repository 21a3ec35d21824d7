#pragma once

#include "core/files/datafilepair.h"

#include <optional>
#include <string>

// Writes the data file and its text export under the first free of `names`,
// as Save does: both are staged before either takes its name, no file is ever
// replaced, and the data file is removed again when the export cannot follow
// it. A data file asked for as a pipe or a device is written into, without a
// text export; one asked for as a folder is refused. Where it was written;
// nothing when it was not (the reason printed, unless `tellFailure` is false).
std::optional<WrittenPair> writeRecordingFiles(const PairNames& names, const RecordedSeries& series,
                                               bool tellFailure = true);
// What writeRecordingFiles wrote: "DATA and TEXT", or DATA alone.
std::string writtenFiles(const WrittenPair& written);
// The name the data file would take now: the first choice of `names` that is
// free (another writer may take it before the end).
std::string freeDataName(const PairNames& names);
// Says on the standard error which data file a run will write, when one was
// asked for: `asked`, or `name` where `asked` is taken. Nothing for a pipe or
// a device.
void tellDataName(const std::string& asked, const std::string& name);
