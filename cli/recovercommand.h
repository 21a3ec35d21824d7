#pragma once

#include <QString>

#include <filesystem>

// orvane-cli recover: the recording a journal keeps becomes a data file and
// its text export, and the journal is set aside under its dated name.
struct RecoverRequest {
    std::filesystem::path journal;
    QString dataFile; // empty: the time-stamped name, in the current folder
    // Part of a set: a journal in use or without unsaved samples is passed
    // over without a word (kRecoverNothing).
    bool quiet = false;
};
inline constexpr int kRecoverNothing = -1;
int runRecover(const RecoverRequest& request);

// Every journal of the set `request.journal` begins (recording.journal,
// recording-2.journal, ...) that keeps an unsaved recording, one after the
// other; the data files after the first pass over the names taken, as
// every data file does.
int runRecoverAll(const RecoverRequest& request);
