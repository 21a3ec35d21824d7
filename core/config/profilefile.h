#pragma once

#include "core/result.h"

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

// One key's value, for writing.
struct ProfileValue {
    std::string_view section;
    std::string_view key;
    std::string_view value;
};

// A small initialisation file of "[section]" headers and "key=value" lines.
//
// Reading: section and key names compare case-insensitively and are trimmed of
// blanks, values are trimmed; lines starting with ';' or '#' are comments. When
// a section or key appears more than once, the first key in the first section
// that has it wins. A missing, unreadable or oversized (over kMaxFileSize bytes)
// file reads as empty, so every read returns its default.
//
// Writing rewrites the whole file through a temporary file in the same folder
// and a rename, keeping every other line byte for byte (comments, other
// sections and keys, CRLF or LF endings). The file is read afresh on every
// call, so a write is always visible to the next read.
class ProfileFile {
public:
    // Larger files are neither parsed nor rewritten.
    static constexpr std::size_t kMaxFileSize = 1024 * 1024;

    explicit ProfileFile(std::filesystem::path path);

    const std::filesystem::path& path() const { return m_path; }

    // The classic profile-integer rules: an optional sign, then decimal digits
    // up to the first non-digit; a value that does not start with digits gives
    // 0, a missing file, section or key or an empty value gives def. Values
    // beyond the int range saturate.
    int readInt(std::string_view section, std::string_view key, int def) const;

    // The trimmed value, or def when the file, section or key is missing.
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view def) const;

    // Sets key=value: updates the key's line in place, or adds the line after
    // the last key of the section, or adds the section at the end of the file.
    // Creates the folder and the file when they do not exist. A failure
    // leaves the file as it was and says why in a message naming the file and
    // the reason. A section containing ']', a key containing '=', or any line
    // break in the three is refused.
    Result<> writeString(std::string_view section, std::string_view key, std::string_view value);
    // Sets several keys as writeString does, in this order, with one rewrite of
    // the file: all of them or, on a failure, none.
    Result<> write(std::span<const ProfileValue> values);
    // The next writes leave the file readable by its owner only (0600): it
    // holds a secret. A file made so keeps it on later writes.
    void keepPrivate() { m_bPrivate = true; }

private:
    std::filesystem::path m_path;
    bool m_bPrivate = false;
};
