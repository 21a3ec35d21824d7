#pragma once

#include "core/journal/journalformat.h"
#include "core/result.h"

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// Where the journal lives: $XDG_STATE_HOME/Orvane/recording.journal, or
// ~/.local/state/Orvane/recording.journal where that is unset or not absolute.
std::filesystem::path defaultJournalPath();
// The same from the two variables' values (nullptr: unset).
std::filesystem::path journalPathFor(const char* xdgStateHome, const char* home);
// The dated name a journal is set aside under, beside it:
// recording-YYYYMMDD-HHMMSS.journal in local time.
std::filesystem::path asideJournalPath(const std::filesystem::path& journal, std::time_t when);

// The recording journal on the disk. One process holds it at a time (an
// exclusive lock); every record is one write(), and nothing waits for the disk
// except open(), resume(), sync(), clear() and setAside(). open() says why it
// failed; a later failure is told once through takeError() and ends the journalling until the
// journal is emptied again: the recording goes on in memory. Nothing here throws.
//
// After open(), found() tells what the file held. A journal with nothing to
// restore is ready for appending at once. Otherwise the owner decides: restore
// found().recording into the store and call resume(), or call setAside() (the
// file keeps its bytes under a dated name) or clear(). A journal of another
// format, or one without a sample left whole, is set aside by open() itself
// (setAsideAtOpen()); a file that is not a journal at all, a symbolic link or
// a journal in a folder that is a symbolic link is refused and left as it is.
//
// Opening and reading never write to the journal. One that cannot be written
// (a read-only disk or file) is still opened and found() holds its recording,
// but it never becomes ready: resume(), clear() and setAside() fail and say why.
// Why a journal was not opened.
struct JournalRefusal {
    bool inUse = false; // another process holds it
    std::string message;
};

class RecordingJournal {
public:
    RecordingJournal() = default;
    ~RecordingJournal();
    RecordingJournal(const RecordingJournal&) = delete;
    RecordingJournal& operator=(const RecordingJournal&) = delete;

    // Opens (creating the folder and the file) and locks the journal at `path`.
    // When that fails, the object stays closed and every operation does
    // nothing.
    Result<void, JournalRefusal> open(const std::filesystem::path& path);
    void close();
    bool isOpen() const { return m_fd >= 0; }
    // Open and taking records.
    bool ready() const { return m_fd >= 0 && m_bReady; }
    const std::filesystem::path& path() const { return m_path; }

    // What the file held when it was opened.
    const JournalReading& found() const { return m_found; }
    // Where open() set aside a file it could not read (empty: nothing set aside).
    const std::filesystem::path& setAsideAtOpen() const { return m_asideAtOpen; }

    // The found recording was restored: go on appending after it. A damaged
    // journal is kept under a dated name and written again from the recording.
    bool resume();
    // Moves the file to its dated name beside it and starts an empty journal.
    // Returns the dated name (empty when the file could not be moved); ready()
    // tells whether the new journal could be started.
    std::filesystem::path setAside(std::time_t when = std::time(nullptr));
    // Empties the journal to its header and waits for the disk.
    bool clear();

    // One record each; false when it was not written (not ready, failed).
    bool appendSample(const JournalSample& sample);
    // Recorded sample `index` of `store` (see appendCommittedRecord).
    bool appendCommitted(const SampleStore& store, int index, float runMax, float runMin,
                         LogMark log);
    bool appendClearScreen(int recCount);
    bool appendSaved(int recCount);

    // Waits for the records written since the last sync to reach the disk.
    // Call at most once a second while recording, and at once on a clean stop.
    bool sync();
    bool unsynced() const { return m_bDirty; }

    // Whether journalling failed since the journal was last emptied.
    bool failed() const { return m_bFailed; }
    // The failure's text, once: later calls return nothing until a new failure.
    std::optional<std::string> takeError();

private:
    Result<void, JournalRefusal> openAt(const std::filesystem::path& path);
    Result<void, JournalRefusal> lockAt(const std::filesystem::path& path);
    // The failure just recorded, as open() tells it.
    Failure<JournalRefusal> refused(bool inUse = false) const;
    bool writeRecord();
    bool startEmpty();
    bool startWith(const std::vector<std::uint8_t>& bytes);
    // Renames the file to its dated name and opens and locks a new one at the
    // journal's path, not yet written.
    std::filesystem::path moveAside(std::time_t when);
    void fail(const std::string& what, int err);

    std::filesystem::path m_path;
    int m_fd = -1;
    int m_nReadOnly = 0; // why the journal could only be opened for reading
    bool m_bReady = false;
    bool m_bDirty = false;
    bool m_bFailed = false;
    std::string m_strError;
    bool m_bErrorTaken = true;
    std::uint64_t m_size = 0; // bytes of whole records in the file
    JournalReading m_found;
    std::vector<std::uint8_t> m_foundBytes;
    std::filesystem::path m_asideAtOpen;
    std::vector<std::uint8_t> m_record; // reused for every record
};
