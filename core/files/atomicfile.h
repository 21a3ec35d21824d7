#pragma once

#include "core/result.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>

// Replaces a file whole or not at all: the data goes to a new file beside the
// target, is flushed to the disk, and only commit() renames it over the target.
// A reader sees the old file or the new one, never half of one; a failure
// anywhere leaves the target as it was and no temporary file behind. A target
// that is a symbolic link is followed: the file it leads to is replaced. One
// that is not a regular file (a folder, a pipe, a device) is refused.
//
// The temporary files are named .NAME.PID.N.tmp; those a crash left behind in
// the folder (their process gone) are removed at the next write there.
class AtomicFile {
public:
    // A file that replaces nothing: written beside `target` without looking
    // at it, then put in place with commitAsNew() under a name nothing has.
    enum class Mode { Replace, New };

    explicit AtomicFile(std::filesystem::path target, Mode mode = Mode::Replace);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Writes the whole content into the temporary file. Fails on any error,
    // short writes included (a full disk, a file-size limit).
    Result<> write(std::string_view data);
    // The content in parts, for what is too large to hold at once: begin()
    // starts it, append() adds to it as often as needed, and commit() (or
    // commitAsNew) flushes it to the disk before it puts it in place. After a
    // failed append the parts are dropped, and commit fails for its reason.
    Result<> begin();
    Result<> append(std::string_view data);
    // Puts the written content in place of the target; after a failed write,
    // fails for the same reason.
    Result<> commit();
    // Drops the temporary file; the target is untouched.
    void cancel();
    // write() then commit().
    Result<> replace(std::string_view data);

    // For files that change together: commits as commit() does, but keeps
    // what the target held (or that there was none) until release(), so that
    // revert() can undo the commit when a partner file fails to follow.
    Result<> commitRevertibly();
    // Puts the old target back, or removes the new one where there was none.
    // Fails when the new content stays in place.
    Result<> revert();
    // Forgets the old target: the commit stands.
    void release();

    // For Mode::New: puts the written content in place as `name` (in the
    // target's folder) in one step, only where nothing has that name. False
    // when the name is taken: the content stays staged for another name. Two
    // processes never both get one name.
    Result<bool> commitAsNew(const std::filesystem::path& name);
    // Takes back what commitAsNew() put in place, staged again.
    Result<> withdraw();
    // The new content is readable by its owner only (0600), whatever the
    // target's permissions were: it holds a secret.
    void keepPrivate() { m_bPrivate = true; }

    const std::filesystem::path& target() const { return m_target; }

private:
    std::filesystem::path m_target;
    std::filesystem::path m_file; // the regular file replaced: the target, links followed
    std::filesystem::path m_temp;
    std::filesystem::path m_old;                        // a second name of the replaced target
    std::string m_strNotStaged = std::strerror(EINVAL); // why nothing is staged
    bool m_bStaged = false;
    bool m_bRevertible = false; // committed by commitRevertibly, not released
    Mode m_mode = Mode::Replace;
    bool m_bPrivate = false;
    int m_fd = -1; // the temporary file, while parts are appended

    // Flushes and closes the temporary file of begin()/append().
    Result<> finishParts();

    // Records the system's reason, or `why`, for the failure it returns.
    Failure<std::string> systemFailure(int err);
    Failure<std::string> notStaged(std::string why);
};
