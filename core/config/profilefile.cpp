#include "core/config/profilefile.h"

#include "core/files/atomicfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kBlanks = " \t\r\v\f";

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(kBlanks);
    return s.substr(first, last - first + 1);
}

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

enum class LoadStatus { Ok, Missing, Failed, TooLarge, NotRegular };

struct Loaded {
    LoadStatus status = LoadStatus::Missing;
    int error = 0;
    std::string text;
};

// Reads at most kMaxFileSize bytes. Never blocks on a FIFO or a device: only
// regular files are read.
Loaded load(const fs::path& path) {
    Loaded out;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        out.error = errno;
        out.status = (out.error == ENOENT || out.error == ENOTDIR) ? LoadStatus::Missing
                                                                   : LoadStatus::Failed;
        return out;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        out.error = errno;
        out.status = LoadStatus::Failed;
    } else if (!S_ISREG(st.st_mode)) {
        out.status = LoadStatus::NotRegular;
    } else if (static_cast<std::uintmax_t>(st.st_size) > ProfileFile::kMaxFileSize) {
        out.status = LoadStatus::TooLarge;
    } else {
        out.status = LoadStatus::Ok;
        // Room for the size fstat gave and one byte more, which tells a file
        // that grew since; it grows up to one byte over the limit.
        constexpr std::size_t limit = ProfileFile::kMaxFileSize + 1;
        out.text.resize(static_cast<std::size_t>(st.st_size) + 1);
        std::size_t got = 0;
        while (true) {
            if (got == out.text.size()) {
                if (got >= limit)
                    break;
                out.text.resize(std::min(limit, 2 * got));
            }
            const ssize_t n = ::read(fd, out.text.data() + got, out.text.size() - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                out.error = errno;
                out.status = LoadStatus::Failed;
                break;
            }
            if (n == 0)
                break;
            got += static_cast<std::size_t>(n);
        }
        if (out.status == LoadStatus::Ok && got > ProfileFile::kMaxFileSize)
            out.status = LoadStatus::TooLarge; // it grew after fstat
        out.text.resize(out.status == LoadStatus::Ok ? got : 0);
        out.text.shrink_to_fit();
    }
    ::close(fd);
    return out;
}

// Where a key sits in the text, or where it would go.
struct Lookup {
    bool keyFound = false;
    std::size_t valueBegin = 0; // just after '='
    std::size_t valueEnd = 0;   // end of the line, before any "\r\n" or "\n"
    bool sectionFound = false;
    std::size_t insertAt = 0;        // after the last key line (or the header) of the section
    bool insertAfterBareEnd = false; // that line is the last one and has no line ending
};

Lookup find(std::string_view text, std::string_view section, std::string_view key) {
    Lookup out;
    bool inSection = false;
    bool inFirstSection = false;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t nl = text.find('\n', pos);
        const bool bare = nl == std::string_view::npos;
        std::size_t end = bare ? text.size() : nl;
        const std::size_t next = bare ? text.size() : nl + 1;
        if (end > pos && text[end - 1] == '\r')
            --end;
        const std::string_view line = text.substr(pos, end - pos);
        const std::string_view t = trim(line);

        if (!t.empty() && t.front() == '[') {
            const std::size_t close = t.find(']');
            const std::string_view name = trim(
                t.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
            inSection = sameName(name, section);
            inFirstSection = inSection && !out.sectionFound;
            if (inFirstSection) {
                out.sectionFound = true;
                out.insertAt = next;
                out.insertAfterBareEnd = bare;
            }
        } else if (inSection && !t.empty() && t.front() != ';' && t.front() != '#') {
            const std::size_t eq = line.find('=');
            if (eq != std::string_view::npos) {
                if (sameName(trim(line.substr(0, eq)), key)) {
                    out.keyFound = true;
                    out.valueBegin = pos + eq + 1;
                    out.valueEnd = end;
                    return out;
                }
                if (inFirstSection) {
                    out.insertAt = next;
                    out.insertAfterBareEnd = bare;
                }
            }
        }
        pos = next;
    }
    return out;
}

bool validName(std::string_view s, std::string_view forbidden) {
    return !s.empty() && s.find_first_of(forbidden) == std::string_view::npos;
}

std::string lineEnding(std::string_view text) {
    const std::size_t nl = text.find('\n');
    return (nl != std::string_view::npos && nl > 0 && text[nl - 1] == '\r') ? "\r\n" : "\n";
}

// Why key=value cannot be written in the section, if it cannot.
Result<> checkValue(std::string_view section, std::string_view key, std::string_view value) {
    using namespace std::string_view_literals;
    if (!validName(section, "]\r\n\0"sv))
        return Failure{"invalid section name \"" + std::string(section) + "\""};
    if (!validName(key, "=\r\n\0"sv) || key.front() == '[' || key.front() == ';' ||
        key.front() == '#')
        return Failure{"invalid key name \"" + std::string(key) + "\""};
    if (value.find_first_of("\r\n\0"sv) != std::string_view::npos)
        return Failure{std::string("the value contains a line break")};
    return {};
}

// `text` with key=value set in the section: the key's line updated in place, or
// a line added after the last key of the section, or the section added at the
// end.
std::string withValue(std::string_view text, std::string_view section, std::string_view key,
                      std::string_view value) {
    const std::string eol = lineEnding(text);
    const Lookup at = find(text, section, key);
    std::string out;
    out.reserve(text.size() + section.size() + key.size() + value.size() + 8);
    if (at.keyFound) {
        out.append(text.substr(0, at.valueBegin));
        out.append(value);
        out.append(text.substr(at.valueEnd));
    } else if (at.sectionFound) {
        out.append(text.substr(0, at.insertAt));
        if (at.insertAfterBareEnd)
            out.append(eol);
        out.append(key).append("=").append(value).append(eol);
        out.append(text.substr(at.insertAt));
    } else {
        out.append(text);
        if (!text.empty() && text.back() != '\n')
            out.append(eol);
        out.append("[").append(section).append("]").append(eol);
        out.append(key).append("=").append(value).append(eol);
    }
    return out;
}

} // namespace

ProfileFile::ProfileFile(std::filesystem::path path) : m_path(std::move(path)) {}

std::string ProfileFile::readString(std::string_view section, std::string_view key,
                                    std::string_view def) const {
    const Loaded file = load(m_path);
    if (file.status != LoadStatus::Ok)
        return std::string(def);
    const std::string_view text = file.text;
    const Lookup at = find(text, trim(section), trim(key));
    if (!at.keyFound)
        return std::string(def);
    return std::string(trim(text.substr(at.valueBegin, at.valueEnd - at.valueBegin)));
}

int ProfileFile::readInt(std::string_view section, std::string_view key, int def) const {
    const Loaded file = load(m_path);
    if (file.status != LoadStatus::Ok)
        return def;
    const std::string_view text = file.text;
    const Lookup at = find(text, trim(section), trim(key));
    if (!at.keyFound)
        return def;
    std::string_view v = trim(text.substr(at.valueBegin, at.valueEnd - at.valueBegin));
    if (v.empty())
        return def;

    bool negative = false;
    if (v.front() == '-' || v.front() == '+') {
        negative = v.front() == '-';
        v.remove_prefix(1);
    }
    // Accumulate as a negative number so that INT_MIN itself fits.
    long long value = 0;
    for (const char c : v) {
        if (c < '0' || c > '9')
            break;
        if (value > LLONG_MIN / 100) // far beyond int; keep saturated
            value = value * 10 - (c - '0');
    }
    if (!negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

Result<> ProfileFile::writeString(std::string_view section, std::string_view key,
                                  std::string_view value) {
    const ProfileValue one{section, key, value};
    return write(std::span(&one, 1));
}

Result<> ProfileFile::write(std::span<const ProfileValue> values) {
    const auto fail = [&](const std::string& reason) {
        return Failure{"Cannot write \"" + m_path.string() + "\": " + reason};
    };
    for (const ProfileValue& v : values) {
        if (const Result<> valid = checkValue(trim(v.section), trim(v.key), v.value); !valid)
            return fail(valid.error());
    }

    // Through a symbolic link the file it points to is the one to replace.
    fs::path target = m_path;
    std::error_code ec;
    if (fs::is_symlink(m_path, ec)) {
        target = fs::weakly_canonical(m_path, ec);
        if (ec)
            return fail(ec.message());
    }

    Loaded file = load(target);
    switch (file.status) {
    case LoadStatus::Ok:
    case LoadStatus::Missing:
        break;
    case LoadStatus::Failed:
        return fail(std::strerror(file.error));
    case LoadStatus::TooLarge:
        return fail("the file is larger than " + std::to_string(kMaxFileSize / 1024) + " KiB");
    case LoadStatus::NotRegular:
        return fail("not a regular file");
    }

    std::string out = file.text;
    for (const ProfileValue& v : values)
        out = withValue(out, trim(v.section), trim(v.key), v.value);
    if (file.status == LoadStatus::Ok && out == file.text)
        return {}; // already stored; leave the file untouched

    if (target.has_parent_path()) {
        fs::create_directories(target.parent_path(), ec);
        if (ec)
            return fail(ec.message());
    }
    AtomicFile atomic(target);
    if (m_bPrivate)
        atomic.keepPrivate();
    if (const Result<> replaced = atomic.replace(out); !replaced)
        return fail(replaced.error());
    return {};
}
