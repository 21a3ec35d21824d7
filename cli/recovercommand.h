#pragma once

#include <QString>

#include <filesystem>

// orvane-cli recover: the recording a journal keeps becomes a data file and
// its text export, and the journal is set aside under its dated name.
struct RecoverRequest {
    std::filesystem::path journal;
    QString dataFile; // empty: the time-stamped name, in the current folder
};
int runRecover(const RecoverRequest& request);
