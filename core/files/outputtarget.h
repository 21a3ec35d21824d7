#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

// Where an output named by the user goes. An output never destroys what it
// names: a folder is refused, a pipe or a character device (a terminal,
// /dev/null, /dev/stdout) is written into as a stream and never replaced, and a
// symbolic link is followed, so that the regular file it leads to is the one
// replaced (or created, where the link leads nowhere yet). Block devices and
// sockets are refused: a data file written over a disk would destroy it.
struct OutputTarget {
    enum class Kind {
        File,    // a regular file to create or replace whole: `path`
        Stream,  // written into: the descriptor `fd` of this process, or `path` opened
        Refused, // `reason` says why
    };
    Kind kind = Kind::File;
    std::filesystem::path path;
    int fd = -1;
    // For a refused output, a lower-case phrase such as "it is a folder".
    std::string reason;

    bool refused() const { return kind == Kind::Refused; }
    bool stream() const { return kind == Kind::Stream; }
};

// What `named` is now. Looks only; creates, opens and empties nothing.
OutputTarget resolveOutput(const std::filesystem::path& named);

// Opens a stream output for writing, without creating or emptying anything; a
// descriptor of this process is duplicated. Returns the new descriptor, or -1
// with errno set.
int openOutputStream(const OutputTarget& target);

// Writes all of `data` to the descriptor; false with errno set.
bool writeToDescriptor(int fd, std::string_view data);

// Waits for what was written to the descriptor to reach the disk (fsync);
// false with errno set. AtomicFile flushes every file here before it puts it in
// place.
bool syncToDisk(int fd);
// For tests: `watcher` is told of each descriptor syncToDisk is about to flush;
// an empty one (the default) tells no one.
void watchDiskSyncs(std::function<void(int fd)> watcher);

// Waits for the folder's entries (a file created, renamed or removed) to reach
// the disk, where the folder can be opened.
void syncFolder(const std::filesystem::path& dir);

// Writes `data` whole into a stream output and closes it; false with errno set.
bool writeOutputStream(const OutputTarget& target, std::string_view data);
