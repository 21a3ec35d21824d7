#pragma once

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
    explicit AtomicFile(std::filesystem::path target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Writes the whole content into the temporary file. False on any error,
    // short writes included (a full disk, a file-size limit).
    bool write(std::string_view data);
    // Puts the written content in place of the target.
    bool commit();
    // Drops the temporary file; the target is untouched.
    void cancel();

    // For files that change together: commits as commit() does, but keeps
    // what the target held (or that there was none) until release(), so that
    // revert() can undo the commit when a partner file fails to follow.
    bool commitRevertibly();
    // Puts the old target back, or removes the new one where there was none.
    // False when the new content stays in place.
    bool revert();
    // Forgets the old target: the commit stands.
    void release();

    const std::filesystem::path& target() const { return m_target; }
    int error() const { return m_nError; }
    // The system's reason for the last failure.
    std::string errorString() const;

private:
    std::filesystem::path m_target;
    std::filesystem::path m_file; // the regular file replaced: the target, links followed
    std::filesystem::path m_temp;
    std::filesystem::path m_old; // a second name of the replaced target
    int m_nError = 0;
    std::string m_strRefused; // why the target is not a file this replaces
    bool m_bStaged = false;
    bool m_bRevertible = false; // committed by commitRevertibly, not released
};
