#include "core/journal/recordingjournal.h"

#include "core/files/outputtarget.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string reason(int err) {
    return std::strerror(err);
}

// Creates the missing folders of `dir`, private to the user.
int makeFolders(const fs::path& dir) {
    fs::path at;
    for (const fs::path& part : dir) {
        at /= part;
        if (::mkdir(at.c_str(), 0700) != 0 && errno != EEXIST)
            return errno;
    }
    struct stat st {};
    if (::stat(dir.c_str(), &st) != 0)
        return errno;
    return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
}

// 0, or why not all of `bytes` were written.
int writeAll(int fd, const std::vector<std::uint8_t>& bytes) {
    return writeToDescriptor(
               fd, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()))
               ? 0
               : errno;
}

int readAll(int fd, std::vector<std::uint8_t>& out) {
    out.clear();
    std::uint8_t chunk[65536];
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(fd, chunk, sizeof chunk, at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return 0;
        out.insert(out.end(), chunk, chunk + n);
        at += n;
    }
}

// A dated name beside `journal` that no file has yet.
fs::path freeAsidePath(const fs::path& journal, std::time_t when) {
    const fs::path dated = asideJournalPath(journal, when);
    fs::path candidate = dated;
    for (int n = 2; n < 1000; ++n) {
        struct stat st {};
        if (::lstat(candidate.c_str(), &st) != 0 && errno == ENOENT)
            break;
        candidate = dated.parent_path() /
                    (dated.stem().string() + "-" + std::to_string(n) + dated.extension().string());
    }
    return candidate;
}

} // namespace

fs::path journalPathFor(const char* xdgStateHome, const char* home) {
    fs::path base;
    if (xdgStateHome && xdgStateHome[0] == '/')
        base = xdgStateHome;
    else if (home && home[0] != '\0')
        base = fs::path(home) / ".local" / "state";
    else
        return fs::path();
    return base / "Orvane" / "recording.journal";
}

fs::path defaultJournalPath() {
    const char* home = std::getenv("HOME");
    std::string fromPasswd;
    if (!home || home[0] == '\0') {
        if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
            fromPasswd = pw->pw_dir;
        home = fromPasswd.c_str();
    }
    return journalPathFor(std::getenv("XDG_STATE_HOME"), home);
}

fs::path asideJournalPath(const fs::path& journal, std::time_t when) {
    std::tm local{};
    char stamp[32] = "00000000-000000";
    if (localtime_r(&when, &local))
        std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    return journal.parent_path() /
           (journal.stem().string() + "-" + stamp + journal.extension().string());
}

RecordingJournal::~RecordingJournal() {
    close();
}

Result<void, JournalRefusal> RecordingJournal::lockAt(const fs::path& path) {
    // The file locked must still be the one at `path`: another process may set
    // aside the journal between our open and our lock.
    constexpr int kFlags = O_CLOEXEC | O_NOCTTY | O_NOFOLLOW | O_NONBLOCK;
    for (int attempt = 0; attempt < 8; ++attempt) {
        m_nReadOnly = 0;
        int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_APPEND | kFlags, 0600);
        if (fd < 0 && (errno == EROFS || errno == EACCES || errno == EPERM)) {
            // A journal on a disk remounted read-only after errors is the one
            // most worth reading: it is read, and never written.
            m_nReadOnly = errno;
            fd = ::open(path.c_str(), O_RDONLY | kFlags);
            if (fd < 0)
                errno = m_nReadOnly;
        }
        if (fd < 0) {
            fail(errno == ELOOP ? "The recording journal " + path.string() +
                                      " is a symbolic link; it was left as it is"
                                : "Cannot open the recording journal " + path.string(),
                 errno == ELOOP ? 0 : errno);
            return refused();
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int err = errno;
            ::close(fd);
            if (err == EWOULDBLOCK) {
                fail("The recording journal " + path.string() + " is in use by another Orvane", 0);
                return refused(true);
            }
            fail("Cannot lock the recording journal " + path.string(), err);
            return refused();
        }
        struct stat held {
        }, named{};
        // Only a regular file can be a journal: a device or a pipe would be
        // read without end.
        if (::fstat(fd, &held) == 0 && !S_ISREG(held.st_mode)) {
            ::close(fd);
            fail("The recording journal " + path.string() + " is not a regular file", 0);
            return refused();
        }
        if (::fstat(fd, &held) == 0 && ::lstat(path.c_str(), &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
            m_fd = fd;
            return {};
        }
        ::close(fd);
    }
    fail("Cannot lock the recording journal " + path.string(), EAGAIN);
    return refused();
}

Failure<JournalRefusal> RecordingJournal::refused(bool inUse) const {
    return Failure{JournalRefusal{inUse, m_strError}};
}

Result<void, JournalRefusal> RecordingJournal::open(const fs::path& path) {
    Result<void, JournalRefusal> opened = openAt(path);
    if (!opened)
        m_bErrorTaken = true; // told here, not again
    return opened;
}

Result<void, JournalRefusal> RecordingJournal::openAt(const fs::path& path) {
    close();
    m_path = path;
    m_bFailed = false;
    m_found = JournalReading{};
    m_asideAtOpen.clear();
    if (path.empty()) {
        fail("No folder for the recording journal", ENOENT);
        return refused();
    }
    if (path.has_parent_path()) {
        if (const int err = makeFolders(path.parent_path())) {
            fail("Cannot create the folder of the recording journal " + path.string(), err);
            return refused();
        }
        struct stat folder {};
        if (::lstat(path.parent_path().c_str(), &folder) == 0 && S_ISLNK(folder.st_mode)) {
            fail("The folder of the recording journal " + path.string() +
                     " is a symbolic link; no journal is kept there",
                 0);
            return refused();
        }
    }
    if (Result<void, JournalRefusal> locked = lockAt(path); !locked)
        return Failure{locked.error()};
    if (const int err = readAll(m_fd, m_foundBytes)) {
        fail("Cannot read the recording journal " + path.string(), err);
        close();
        return refused();
    }
    m_found = readJournal(m_foundBytes);

    if (m_found.status == JournalStatus::NotAJournal) {
        // Somebody's file, named as the journal by mistake: not ours to move.
        fail("The file " + path.string() + " is not a recording journal; it was left as it is", 0);
        close();
        return refused();
    }
    const bool unreadable = !m_found.read() || (m_found.recording.empty() && m_found.damaged());
    if (unreadable) {
        // Not ours to read, or damaged before its first sample: keep the bytes.
        m_asideAtOpen = setAside();
    } else if (m_found.recording.empty()) {
        (void)startEmpty();
    } else {
        m_size = m_found.validBytes;
    }
    m_foundBytes.clear();
    m_foundBytes.shrink_to_fit();
    if (m_bFailed) {
        close();
        return refused();
    }
    return {};
}

void RecordingJournal::close() {
    if (m_fd < 0)
        return;
    sync();
    ::close(m_fd);
    m_fd = -1;
    m_bReady = false;
}

bool RecordingJournal::startEmpty() {
    return startWith(encodeJournalHeader());
}

bool RecordingJournal::startWith(const std::vector<std::uint8_t>& bytes) {
    int err = m_nReadOnly;
    if (err == 0 && ::ftruncate(m_fd, 0) != 0)
        err = errno;
    else if (err == 0)
        err = writeAll(m_fd, bytes);
    if (err == 0 && ::fdatasync(m_fd) != 0)
        err = errno;
    if (err != 0) {
        fail("Cannot write the recording journal " + m_path.string(), err);
        return false;
    }
    syncFolder(m_path.has_parent_path() ? m_path.parent_path() : fs::path("."));
    m_size = bytes.size();
    m_bDirty = false;
    m_bFailed = false;
    m_bReady = true;
    return true;
}

bool RecordingJournal::resume() {
    if (m_fd < 0)
        return false;
    if (m_bReady)
        return true;
    if (m_bFailed)
        return false;
    if (m_nReadOnly != 0) {
        fail("Cannot write the recording journal " + m_path.string(), m_nReadOnly);
        return false;
    }
    if (!m_found.damaged() && m_found.version == kJournalVersion) {
        m_size = m_found.validBytes;
        m_bReady = true;
        return true;
    }
    // A damaged file, or one of an older format, keeps its bytes under its
    // dated name; the journal goes on from the restored recording, written
    // whole, in order and in this format again.
    if (moveAside(std::time(nullptr)).empty() || m_fd < 0)
        return false;
    if (!startWith(encodeJournal(m_found.recording)))
        return false;
    m_found.totalBytes = m_found.validBytes = m_size;
    m_found.skippedRecords = 0;
    return true;
}

fs::path RecordingJournal::setAside(std::time_t when) {
    const fs::path aside = moveAside(when);
    if (!aside.empty() && m_fd >= 0)
        (void)startEmpty();
    return aside;
}

fs::path RecordingJournal::moveAside(std::time_t when) {
    if (m_fd < 0)
        return fs::path();
    (void)sync();
    const fs::path aside = freeAsidePath(m_path, when);
    if (::rename(m_path.c_str(), aside.c_str()) != 0) {
        fail("Cannot set aside the recording journal " + m_path.string(), errno);
        return fs::path();
    }
    const int old = m_fd;
    m_fd = -1;
    (void)lockAt(m_path);
    ::close(old);
    return aside;
}

bool RecordingJournal::clear() {
    if (m_fd < 0)
        return false;
    return startEmpty();
}

bool RecordingJournal::appendSample(const JournalSample& sample) {
    m_record.clear();
    appendSampleRecord(m_record, sample);
    return writeRecord();
}

bool RecordingJournal::appendCommitted(const SampleStore& store, int index, float runMax,
                                       float runMin, LogMark log) {
    m_record.clear();
    appendCommittedRecord(m_record, store, index, runMax, runMin, log);
    return writeRecord();
}

bool RecordingJournal::appendClearScreen(int recCount) {
    m_record.clear();
    appendClearScreenRecord(m_record, recCount);
    return writeRecord();
}

bool RecordingJournal::appendSaved(int recCount) {
    m_record.clear();
    appendSavedRecord(m_record, recCount);
    return writeRecord();
}

bool RecordingJournal::writeRecord() {
    if (!ready())
        return false;
    if (const int err = writeAll(m_fd, m_record)) {
        // A record cut by a full disk would hide every later one: cut it off,
        // and journal no more until the journal is emptied.
        (void)::ftruncate(m_fd, static_cast<off_t>(m_size));
        fail("Cannot write the recording journal " + m_path.string(), err);
        return false;
    }
    m_size += m_record.size();
    m_bDirty = true;
    return true;
}

bool RecordingJournal::sync() {
    if (m_fd < 0 || !m_bDirty)
        return true;
    m_bDirty = false;
    if (::fdatasync(m_fd) != 0) {
        fail("Cannot write the recording journal " + m_path.string(), errno);
        return false;
    }
    return true;
}

void RecordingJournal::fail(const std::string& what, int err) {
    m_bReady = false;
    if (m_bFailed)
        return;
    m_bFailed = true;
    m_strError = err != 0 ? what + ": " + reason(err) : what;
    m_bErrorTaken = false;
}

std::optional<std::string> RecordingJournal::takeError() {
    if (m_bErrorTaken)
        return std::nullopt;
    m_bErrorTaken = true;
    return m_strError;
}
