#include "cli/datafilereader.h"

#include "core/files/dovdatcodec.h"

#include <cerrno>
#include <cstring>
#include <span>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Larger than any data file of 4000 samples can be.
constexpr std::size_t kMaxFileSize = 1 << 20;

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

} // namespace

Result<DovDatContents> readDataFile(const std::string& path) {
    // Only a regular file can be a data file; opening without waiting keeps a
    // named pipe from holding the program until someone writes to it.
    // "-" is the standard input, a pipe as well as a file.
    const bool standardInput = path == "-";
    const int fd =
        standardInput ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Failure{std::string(std::strerror(errno))};
    const FdCloser closer(standardInput ? -1 : fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return Failure{std::string(std::strerror(errno))};
    if (!standardInput && !S_ISREG(st.st_mode))
        return Failure{"it is not a regular file"};
    std::vector<std::uint8_t> bytes(kMaxFileSize + 1);
    std::size_t used = 0;
    while (used < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + used, bytes.size() - used);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Failure{std::string(std::strerror(errno))};
        if (n == 0)
            break;
        used += static_cast<std::size_t>(n);
    }
    if (used > kMaxFileSize)
        return Failure{"the file is too large to be a data file"};
    Result<DovDatContents> decoded = decodeDovDat(std::span(bytes).first(used));
    if (!decoded)
        return Failure{"not a data file (" + decoded.error() + ")"};
    return decoded;
}
