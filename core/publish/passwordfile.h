#pragma once

#include "core/result.h"

#include <cstddef>
#include <filesystem>
#include <string>

// A broker's password kept in a file of its own: its first line.
struct PasswordFile {
    std::string password;
    bool othersMayRead = false; // the group or others may read the file
};

// The longest password MQTT carries.
inline constexpr std::size_t kMaxPasswordBytes = 65535;

// Reads the first line of the regular file `path` (a device, a pipe or a
// folder is refused without waiting on it), at most kMaxPasswordBytes long
// and not empty. Fails with a phrase naming the file and what is wrong.
Result<PasswordFile> readPasswordFile(const std::filesystem::path& path);

// Replaces `path` with `password` and a line break, readable by its owner only.
Result<> writePasswordFile(const std::filesystem::path& path, const std::string& password);
