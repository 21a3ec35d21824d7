#pragma once

#include "core/files/datafilepair.h"

#include <QString>

// Writes the data file at `dataPath` and its text export at `textPath`, as
// Save does: both are staged before either replaces anything, and the data
// file is put back as it was when the export cannot follow it. A data file
// named as a pipe or a device is written into it, without a text export. False
// when nothing was written (the reason printed).
bool writeRecordingFiles(const QString& dataPath, const QString& textPath,
                         const RecordedSeries& series);
// What writeRecordingFiles wrote: "DATA and TEXT", or DATA alone when the data
// file went into a pipe or a device.
QString writtenFiles(const QString& dataPath, const QString& textPath);
