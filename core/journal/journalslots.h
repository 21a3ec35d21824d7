#pragma once

#include "core/journal/recordingjournal.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// Several runs at once (one instrument each) journal side by side:
// recording.journal, recording-2.journal, recording-3.journal, ... in one
// folder. A run takes the first that no other run holds and that keeps no
// unsaved recording; the unsaved ones wait for the restore question or
// recover.

// The n-th journal of the set `first` begins (n = 1: `first` itself).
std::filesystem::path numberedJournal(const std::filesystem::path& first, int n);
// The journals of the set that exist, in number order; the dated files set
// aside beside them are not among them.
std::vector<std::filesystem::path> numberedJournals(const std::filesystem::path& first);

// A journal keeping a recording nobody saved, and what it keeps.
struct UnsavedJournal {
    std::filesystem::path path;
    int count = 0; // samples
    std::string firstTime;
    std::string lastTime;
    bool operator==(const UnsavedJournal&) const = default;
};

// What taking a journal found.
struct JournalTaken {
    // Open and ready for this run; null when none could be opened.
    std::unique_ptr<RecordingJournal> journal;
    std::vector<std::filesystem::path> inUse; // held by other runs
    std::vector<UnsavedJournal> unsaved;
    std::vector<std::filesystem::path> setAside; // unreadable files kept under another name
    std::string error;                           // why none could be opened
};

// Opens the first journal of the set that no other run holds and that keeps
// no unsaved recording; one whose recording was saved is emptied first.
// Journals with an unsaved recording are left as they are.
JournalTaken takeFreeJournal(const std::filesystem::path& first);
