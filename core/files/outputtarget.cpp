#include "core/files/outputtarget.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace fs = std::filesystem;

namespace {

// The descriptor a name of this process's own descriptors means (/dev/stdout,
// /dev/fd/N, /proc/self/fd/N), or -1. Writing into that descriptor keeps what
// the shell made of it (its place in a file, appending with >>).
int ownDescriptor(const std::string& name) {
    if (name == "/dev/stdout")
        return 1;
    if (name == "/dev/stderr")
        return 2;
    for (const std::string_view prefix : {"/dev/fd/", "/proc/self/fd/"}) {
        if (!name.starts_with(prefix))
            continue;
        const std::string_view digits = std::string_view(name).substr(prefix.size());
        int fd = -1;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), fd);
        if (ec == std::errc() && end == digits.data() + digits.size() && !digits.empty())
            return fd;
    }
    return -1;
}

// Follows `path` through symbolic links as far as they lead; false on a loop.
bool followLinks(fs::path& path) {
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true;
        char target[PATH_MAX];
        const ssize_t n = ::readlink(path.c_str(), target, sizeof target - 1);
        if (n < 0)
            return true;
        const fs::path next(std::string(target, static_cast<std::size_t>(n)));
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return false;
}

OutputTarget refused(const fs::path& named, std::string reason) {
    return {OutputTarget::Kind::Refused, named, -1, std::move(reason)};
}

} // namespace

OutputTarget resolveOutput(const fs::path& named) {
    if (const int fd = ownDescriptor(named.string()); fd >= 0) {
        struct stat st {};
        if (::fstat(fd, &st) != 0)
            return refused(named, "this program has no such output open");
        return {OutputTarget::Kind::Stream, named, fd, {}};
    }
    struct stat st {};
    if (::stat(named.c_str(), &st) != 0) {
        if (errno != ENOENT)
            return refused(named, std::string("it cannot be looked at: ") + std::strerror(errno));
        // Nothing there yet, or a symbolic link to a file not made yet.
        fs::path path = named;
        if (!followLinks(path))
            return refused(named, "its symbolic links go round in a loop");
        return {OutputTarget::Kind::File, path, -1, {}};
    }
    if (S_ISREG(st.st_mode)) {
        // The file itself, wherever links lead: it is replaced beside itself.
        fs::path path = named;
        if (char* real = ::realpath(named.c_str(), nullptr)) {
            path = real;
            std::free(real);
        }
        return {OutputTarget::Kind::File, path, -1, {}};
    }
    if (S_ISDIR(st.st_mode))
        return refused(named, "it is a folder; name a file in it");
    if (S_ISFIFO(st.st_mode) || S_ISCHR(st.st_mode))
        return {OutputTarget::Kind::Stream, named, -1, {}};
    return refused(named, S_ISBLK(st.st_mode) ? "it is a block device, which is never written"
                                              : "it is a socket, which is never written");
}

int openOutputStream(const OutputTarget& target) {
    if (target.fd >= 0)
        return ::fcntl(target.fd, F_DUPFD_CLOEXEC, 3);
    return ::open(target.path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
}

bool writeToDescriptor(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

namespace {
std::function<void(int)>& diskSyncWatcher() {
    static std::function<void(int)> watcher;
    return watcher;
}
} // namespace

bool syncToDisk(int fd) {
    if (diskSyncWatcher())
        diskSyncWatcher()(fd);
    return ::fsync(fd) == 0;
}

void watchDiskSyncs(std::function<void(int fd)> watcher) {
    diskSyncWatcher() = std::move(watcher);
}

void syncFolder(const std::filesystem::path& dir) {
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        (void)::fsync(dfd);
        ::close(dfd);
    }
}

bool writeOutputStream(const OutputTarget& target, std::string_view data) {
    const int fd = openOutputStream(target);
    if (fd < 0)
        return false;
    bool ok = writeToDescriptor(fd, data);
    int err = ok ? 0 : errno;
    if (::close(fd) != 0 && ok && errno != EINTR) {
        ok = false;
        err = errno;
    }
    errno = err;
    return ok;
}
