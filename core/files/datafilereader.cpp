#include "core/files/datafilereader.h"

#include "core/files/dovdatcodec.h"

#include <cerrno>
#include <cstring>
#include <span>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class FdCloser {
public:
    explicit FdCloser(int fd) : m_fd(fd) {}
    ~FdCloser() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FdCloser(const FdCloser&) = delete;
    FdCloser& operator=(const FdCloser&) = delete;

private:
    int m_fd;
};

// Why the file could not be read.
Failure<DataFileRefusal> unreadable(std::string reason) {
    return Failure{DataFileRefusal{DataFileRefusal::Kind::Unreadable, std::move(reason)}};
}

} // namespace

Result<DovDatContents, DataFileRefusal> readDataFile(const std::string& path) {
    const bool standardInput = path == "-";
    const int fd =
        standardInput ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return unreadable(std::strerror(errno));
    const FdCloser closer(standardInput ? -1 : fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return unreadable(std::strerror(errno));
    if (!standardInput && !S_ISREG(st.st_mode))
        return unreadable("it is not a regular file");
    std::vector<std::uint8_t> bytes(kDataFileMaxSize + 1);
    std::size_t used = 0;
    while (used < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + used, bytes.size() - used);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return unreadable(std::strerror(errno));
        if (n == 0)
            break;
        used += static_cast<std::size_t>(n);
    }
    if (used > kDataFileMaxSize)
        return Failure{DataFileRefusal{DataFileRefusal::Kind::TooLarge,
                                       "the file is too large to be a data file"}};
    Result<DovDatContents> decoded = decodeDovDat(std::span(bytes).first(used));
    if (!decoded)
        return Failure{DataFileRefusal{DataFileRefusal::Kind::NotADataFile, decoded.error()}};
    return std::move(decoded).value();
}
