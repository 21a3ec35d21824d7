#include "files/atomicfile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool writeAll(int fd, std::string_view data) {
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

} // namespace

AtomicFile::AtomicFile(std::filesystem::path target) : m_target(std::move(target)) {}

AtomicFile::~AtomicFile() {
    cancel();
}

bool AtomicFile::write(std::string_view data) {
    cancel();
    std::filesystem::path dir = m_target.parent_path();
    if (dir.empty())
        dir = ".";
    // An existing file keeps its permissions; a new one gets the usual ones.
    struct stat st {};
    const bool exists = ::stat(m_target.c_str(), &st) == 0;

    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        m_temp = dir / ("." + m_target.filename().string() + "." + std::to_string(::getpid()) +
                        "." + std::to_string(attempt) + ".tmp");
        fd = ::open(m_temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd < 0 && errno != EEXIST) {
            m_nError = errno;
            m_temp.clear();
            return false;
        }
    }
    if (fd < 0) {
        m_nError = EEXIST;
        m_temp.clear();
        return false;
    }
    if (exists)
        (void)::fchmod(fd, st.st_mode & 07777);

    int err = 0;
    if (!writeAll(fd, data) || ::fsync(fd) != 0)
        err = errno;
    if (::close(fd) != 0 && err == 0)
        err = errno;
    m_bStaged = true;
    if (err != 0) {
        m_nError = err;
        cancel();
        return false;
    }
    return true;
}

bool AtomicFile::commit() {
    if (!m_bStaged) {
        if (m_nError == 0)
            m_nError = EINVAL;
        return false;
    }
    if (::rename(m_temp.c_str(), m_target.c_str()) != 0) {
        m_nError = errno;
        cancel();
        return false;
    }
    m_bStaged = false;
    m_temp.clear();
    std::filesystem::path dir = m_target.parent_path();
    if (dir.empty())
        dir = ".";
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        (void)::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

void AtomicFile::cancel() {
    if (m_bStaged && !m_temp.empty())
        ::unlink(m_temp.c_str());
    m_bStaged = false;
    m_temp.clear();
}

std::string AtomicFile::errorString() const {
    return std::strerror(m_nError);
}
