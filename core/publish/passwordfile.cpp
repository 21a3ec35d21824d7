#include "core/publish/passwordfile.h"

#include "core/files/atomicfile.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

Result<PasswordFile> readPasswordFile(const std::filesystem::path& path) {
    const std::string name = "the password file " + path.string();
    // Not blocking: opening a pipe would wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return Failure{"cannot read " + name + ": " + std::strerror(errno)};
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Failure{name + " is not a regular file"};
    }
    // The first line and one byte more: enough to see that it is too long.
    std::string text(kMaxPasswordBytes + 2, '\0');
    std::size_t got = 0;
    int err = 0;
    while (got < text.size()) {
        const ssize_t n = ::read(fd, text.data() + got, text.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            err = errno;
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
        if (text.find('\n') < got)
            break;
    }
    ::close(fd);
    if (err != 0)
        return Failure{"cannot read " + name + ": " + std::strerror(err)};
    text.resize(got);
    if (const std::size_t end = text.find('\n'); end != std::string::npos)
        text.resize(end);
    if (text.ends_with('\r'))
        text.pop_back();
    if (text.size() > kMaxPasswordBytes)
        return Failure{"the first line of " + name + " is longer than " +
                       std::to_string(kMaxPasswordBytes) + " bytes"};
    if (text.empty())
        return Failure{name + " is empty: its first line is the password"};
    return PasswordFile{text, (st.st_mode & (S_IRGRP | S_IROTH)) != 0};
}

Result<> writePasswordFile(const std::filesystem::path& path, const std::string& password) {
    AtomicFile file(path);
    file.keepPrivate();
    return file.replace(password + "\n");
}
