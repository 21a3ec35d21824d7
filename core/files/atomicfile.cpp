#include "core/files/atomicfile.h"

#include "core/files/outputtarget.h"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::filesystem::path folderOf(const std::filesystem::path& file) {
    std::filesystem::path dir = file.parent_path();
    return dir.empty() ? std::filesystem::path(".") : dir;
}

// The process id in a temporary file's name .NAME.PID.N.tmp, or 0.
pid_t temporaryOwner(std::string_view name) {
    if (name.size() < 2 || name[0] != '.' || !name.ends_with(".tmp"))
        return 0;
    name.remove_suffix(4);
    const auto attempt = name.rfind('.');
    if (attempt == std::string_view::npos || attempt + 1 == name.size() ||
        name.find_first_not_of("0123456789", attempt + 1) != std::string_view::npos)
        return 0;
    name = name.substr(0, attempt);
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0)
        return 0;
    const std::string_view digits = name.substr(dot + 1);
    pid_t pid = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
    return ec == std::errc() && end == digits.data() + digits.size() && pid > 0 ? pid : 0;
}

// Removes the temporary files of writes in `dir` whose process is gone.
void removeLeftovers(const std::filesystem::path& dir) {
    DIR* d = ::opendir(dir.c_str());
    if (!d)
        return;
    while (const dirent* e = ::readdir(d)) {
        const pid_t pid = temporaryOwner(e->d_name);
        if (pid == 0 || pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH)
            continue;
        struct stat st {};
        if (::fstatat(::dirfd(d), e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
            (void)::unlinkat(::dirfd(d), e->d_name, 0);
    }
    ::closedir(d);
}

} // namespace

AtomicFile::AtomicFile(std::filesystem::path target, Mode mode)
    : m_target(std::move(target)), m_mode(mode) {}

AtomicFile::~AtomicFile() {
    release();
    cancel();
}

Result<> AtomicFile::write(std::string_view data) {
    if (Result<> begun = begin(); !begun)
        return begun;
    if (Result<> added = append(data); !added)
        return added;
    return finishParts();
}

Result<> AtomicFile::begin() {
    cancel();
    if (m_mode == Mode::New) {
        m_file = m_target;
    } else {
        const OutputTarget target = resolveOutput(m_target);
        if (target.kind != OutputTarget::Kind::File)
            return notStaged(target.refused() ? target.reason : "it is not a regular file");
        m_file = target.path;
    }
    const std::filesystem::path dir = folderOf(m_file);
    removeLeftovers(dir);
    // An existing file keeps its permissions; a new one gets the usual ones.
    struct stat st {};
    const bool exists = m_mode == Mode::Replace && ::stat(m_file.c_str(), &st) == 0;

    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        m_temp = dir / ("." + m_file.filename().string() + "." + std::to_string(::getpid()) + "." +
                        std::to_string(attempt) + ".tmp");
        fd = ::open(m_temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY,
                    m_bPrivate ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST) {
            const int err = errno;
            m_temp.clear();
            return systemFailure(err);
        }
    }
    if (fd < 0) {
        m_temp.clear();
        return systemFailure(EEXIST);
    }
    if (m_bPrivate)
        (void)::fchmod(fd, 0600);
    else if (exists)
        (void)::fchmod(fd, st.st_mode & 07777);
    m_fd = fd;
    m_bStaged = true;
    return {};
}

Result<> AtomicFile::append(std::string_view data) {
    if (m_fd < 0)
        return Failure{m_strNotStaged};
    if (!writeToDescriptor(m_fd, data)) {
        const int err = errno;
        cancel();
        return systemFailure(err);
    }
    return {};
}

Result<> AtomicFile::finishParts() {
    if (m_fd < 0)
        return m_bStaged ? Result<>{} : Result<>{Failure{m_strNotStaged}};
    int err = 0;
    if (!syncToDisk(m_fd))
        err = errno;
    if (::close(m_fd) != 0 && err == 0)
        err = errno;
    m_fd = -1;
    if (err != 0) {
        cancel();
        return systemFailure(err);
    }
    return {};
}

Result<> AtomicFile::commit() {
    if (Result<> finished = finishParts(); !finished)
        return finished;
    if (::rename(m_temp.c_str(), m_file.c_str()) != 0) {
        const int err = errno;
        cancel();
        return systemFailure(err);
    }
    m_bStaged = false;
    m_temp.clear();
    m_strNotStaged = std::strerror(EINVAL);
    syncFolder(folderOf(m_file));
    return {};
}

Result<> AtomicFile::replace(std::string_view data) {
    if (Result<> staged = write(data); !staged)
        return staged;
    return commit();
}

Result<> AtomicFile::commitRevertibly() {
    release();
    if (Result<> finished = finishParts(); !finished || !m_bStaged)
        return commit(); // reports the failed write
    // The old target keeps a second name beside it until the pair stands: a
    // hard link, or where the file system has none, the old file moved aside.
    bool movedAside = false;
    struct stat st {};
    if (::lstat(m_file.c_str(), &st) == 0) {
        bool kept = false;
        int err = EEXIST;
        for (int attempt = 0; attempt < 100 && !kept; ++attempt) {
            m_old = folderOf(m_file) /
                    ("." + m_file.filename().string() + "." + std::to_string(::getpid()) + "." +
                     std::to_string(attempt) + ".old");
            if (::link(m_file.c_str(), m_old.c_str()) == 0) {
                kept = true;
            } else if (errno != EEXIST && ::access(m_old.c_str(), F_OK) != 0) {
                kept = movedAside = ::rename(m_file.c_str(), m_old.c_str()) == 0;
                err = errno;
                break;
            }
        }
        if (!kept) {
            m_old.clear();
            cancel();
            return systemFailure(err);
        }
    } else if (errno != ENOENT) {
        const int err = errno;
        cancel();
        return systemFailure(err);
    }
    if (Result<> committed = commit(); !committed) {
        if (movedAside)
            (void)::rename(m_old.c_str(), m_file.c_str());
        else if (!m_old.empty())
            ::unlink(m_old.c_str());
        m_old.clear();
        return committed;
    }
    m_bRevertible = true;
    return {};
}

Result<> AtomicFile::revert() {
    if (!m_bRevertible)
        return Failure{"nothing to put back"};
    const bool back = m_old.empty() ? ::unlink(m_file.c_str()) == 0
                                    : ::rename(m_old.c_str(), m_file.c_str()) == 0;
    if (!back) {
        const int err = errno;
        release();
        return systemFailure(err);
    }
    m_old.clear();
    m_bRevertible = false;
    syncFolder(folderOf(m_file));
    return {};
}

void AtomicFile::release() {
    if (m_bRevertible && !m_old.empty())
        ::unlink(m_old.c_str());
    m_old.clear();
    m_bRevertible = false;
}

Result<bool> AtomicFile::commitAsNew(const std::filesystem::path& name) {
    if (Result<> finished = finishParts(); !finished)
        return Failure{finished.error()};
    const std::filesystem::path target = folderOf(m_file) / name.filename();
    // Renamed without replacing; where the file system cannot, linked (a link
    // never replaces either) and the temporary name dropped.
    bool placed =
        ::renameat2(AT_FDCWD, m_temp.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0;
    if (!placed && (errno == EINVAL || errno == ENOSYS || errno == ENOTSUP)) {
        placed = ::link(m_temp.c_str(), target.c_str()) == 0;
        if (placed)
            ::unlink(m_temp.c_str());
    }
    if (!placed) {
        if (errno == EEXIST)
            return false;
        const int err = errno;
        cancel();
        return systemFailure(err);
    }
    m_file = target;
    m_bStaged = false;
    syncFolder(folderOf(m_file));
    return true;
}

Result<> AtomicFile::withdraw() {
    if (m_bStaged || m_temp.empty() || ::rename(m_file.c_str(), m_temp.c_str()) != 0)
        return systemFailure(m_bStaged || m_temp.empty() ? EINVAL : errno);
    m_bStaged = true;
    return {};
}

void AtomicFile::cancel() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (m_bStaged && !m_temp.empty())
        ::unlink(m_temp.c_str());
    m_bStaged = false;
    m_temp.clear();
}

Failure<std::string> AtomicFile::systemFailure(int err) {
    return notStaged(std::strerror(err));
}

Failure<std::string> AtomicFile::notStaged(std::string why) {
    m_strNotStaged = std::move(why);
    return Failure{m_strNotStaged};
}
