#include "core/viewer/recordingreader.h"

#include "core/files/datafilereader.h"
#include "core/files/dovdatcodec.h"
#include "core/store/samplestore.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kChunk = 4 << 20;
constexpr const char* kNotOurCsv = "its first line is not that of a CSV file this program writes";

class Fd {
public:
    explicit Fd(const std::string& path)
        : m_fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) {}
    ~Fd() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// Reads up to `size` bytes; -1 on an error (errno tells).
ssize_t readSome(int fd, char* into, std::size_t size) {
    std::size_t used = 0;
    while (used < size) {
        const ssize_t n = ::read(fd, into + used, size - used);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        used += static_cast<std::size_t>(n);
    }
    return static_cast<ssize_t>(used);
}

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool isRecordingName(const std::filesystem::path& path) {
    const std::string ext = lower(path.extension().string());
    return ext == ".dovdat" || ext == ".csv";
}

// "run" < "run-2" < "run-10": digits compare as numbers, the extension last.
bool naturalLess(const std::string& a, const std::string& b) {
    const std::filesystem::path pa(a), pb(b);
    const std::string sa = (pa.parent_path() / pa.stem()).string();
    const std::string sb = (pb.parent_path() / pb.stem()).string();
    std::size_t i = 0, j = 0;
    while (i < sa.size() && j < sb.size()) {
        const bool da = std::isdigit(static_cast<unsigned char>(sa[i]));
        const bool db = std::isdigit(static_cast<unsigned char>(sb[j]));
        if (da && db) {
            std::size_t ei = i, ej = j;
            while (ei < sa.size() && std::isdigit(static_cast<unsigned char>(sa[ei])))
                ++ei;
            while (ej < sb.size() && std::isdigit(static_cast<unsigned char>(sb[ej])))
                ++ej;
            const std::string_view na = std::string_view(sa).substr(i, ei - i);
            const std::string_view nb = std::string_view(sb).substr(j, ej - j);
            const auto trim = [](std::string_view n) {
                const std::size_t k = n.find_first_not_of('0');
                return k == std::string_view::npos ? std::string_view() : n.substr(k);
            };
            const std::string_view ta = trim(na), tb = trim(nb);
            if (ta.size() != tb.size())
                return ta.size() < tb.size();
            if (ta != tb)
                return ta < tb;
            i = ei;
            j = ej;
            continue;
        }
        if (sa[i] != sb[j])
            return sa[i] < sb[j];
        ++i;
        ++j;
    }
    if (sa.size() - i != sb.size() - j)
        return sa.size() - i < sb.size() - j;
    return a < b;
}

// Calendar fields to Unix time, with the last hour's answer kept: samples come
// many a second, and all of one hour share it.
class ClockCache {
public:
    // UTC seconds of a local time; nothing for fields out of range.
    std::optional<std::int64_t> local(int year, int month, int day, int hour, int minute,
                                      int second) {
        if (!inRange(year, month, day, hour, minute, second))
            return std::nullopt;
        const std::int64_t key = hourKey(year, month, day, hour);
        if (key != m_localKey) {
            std::tm tm{};
            tm.tm_year = year - 1900;
            tm.tm_mon = month - 1;
            tm.tm_mday = day;
            tm.tm_hour = hour;
            tm.tm_isdst = -1;
            const std::time_t t = std::mktime(&tm);
            if (t == static_cast<std::time_t>(-1))
                return std::nullopt;
            m_localKey = key;
            m_localHour = t;
        }
        return m_localHour + minute * 60 + second;
    }
    // UTC seconds of a time `offsetMinutes` ahead of UTC.
    std::optional<std::int64_t> utc(int year, int month, int day, int hour, int minute, int second,
                                    int offsetMinutes) {
        if (!inRange(year, month, day, hour, minute, second))
            return std::nullopt;
        const std::int64_t key = hourKey(year, month, day, 0);
        if (key != m_utcKey) {
            std::tm tm{};
            tm.tm_year = year - 1900;
            tm.tm_mon = month - 1;
            tm.tm_mday = day;
            const std::time_t t = timegm(&tm);
            if (t == static_cast<std::time_t>(-1))
                return std::nullopt;
            m_utcKey = key;
            m_utcDay = t;
        }
        return m_utcDay + hour * 3600 + minute * 60 + second - offsetMinutes * 60;
    }

private:
    static bool inRange(int year, int month, int day, int hour, int minute, int second) {
        return year >= 1900 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= 31 &&
               hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 &&
               second <= 60;
    }
    static std::int64_t hourKey(int year, int month, int day, int hour) {
        return ((static_cast<std::int64_t>(year) * 16 + month) * 32 + day) * 32 + hour;
    }

    std::int64_t m_localKey = -1;
    std::int64_t m_localHour = 0;
    std::int64_t m_utcKey = -1;
    std::int64_t m_utcDay = 0;
};

// Reads fixed-width decimal fields out of a text.
class Digits {
public:
    explicit Digits(std::string_view text) : m_text(text) {}
    bool number(int width, int& value) {
        if (m_pos + static_cast<std::size_t>(width) > m_text.size())
            return false;
        value = 0;
        for (int k = 0; k < width; ++k) {
            const char c = m_text[m_pos++];
            if (c < '0' || c > '9')
                return false;
            value = value * 10 + (c - '0');
        }
        return true;
    }
    bool literal(char c) {
        if (m_pos >= m_text.size() || m_text[m_pos] != c)
            return false;
        ++m_pos;
        return true;
    }
    bool next(char c) const { return m_pos < m_text.size() && m_text[m_pos] == c; }
    bool atEnd() const { return m_pos == m_text.size(); }
    // ".123": milliseconds (more digits are cut off); nothing when absent.
    bool fraction(int& ms, bool& had) {
        had = false;
        ms = 0;
        if (!next('.'))
            return true;
        ++m_pos;
        int digits = 0;
        while (m_pos < m_text.size() && m_text[m_pos] >= '0' && m_text[m_pos] <= '9') {
            if (digits < 3)
                ms = ms * 10 + (m_text[m_pos] - '0');
            ++digits;
            ++m_pos;
        }
        for (int k = digits; k < 3; ++k)
            ms *= 10;
        had = true;
        return digits > 0;
    }
    // "+01:00", "-03:30" or "Z", as minutes ahead of UTC.
    bool offset(int& minutes) {
        if (literal('Z')) {
            minutes = 0;
            return true;
        }
        const bool negative = next('-');
        if (!literal('+') && !literal('-'))
            return false;
        int hours = 0, mins = 0;
        if (!number(2, hours) || !literal(':') || !number(2, mins))
            return false;
        minutes = (negative ? -1 : 1) * (hours * 60 + mins);
        return true;
    }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

// A time text of a data file, "12-07-26/14:03:51" (local time), in ms.
std::optional<std::int64_t> dataFileTime(std::string_view text, ClockCache& clock) {
    Digits d(text);
    int month = 0, day = 0, year = 0, hour = 0, minute = 0, second = 0;
    if (!d.number(2, month) || !d.literal('-') || !d.number(2, day) || !d.literal('-') ||
        !d.number(2, year) || !d.literal('/') || !d.number(2, hour) || !d.literal(':') ||
        !d.number(2, minute) || !d.literal(':') || !d.number(2, second) || !d.atEnd())
        return std::nullopt;
    // As strptime's %y: 69..99 are the 1900s, 00..68 the 2000s.
    year += year < 69 ? 2000 : 1900;
    const std::optional<std::int64_t> t = clock.local(year, month, day, hour, minute, second);
    return t ? std::optional(*t * 1000) : std::nullopt;
}

struct CsvTimeRead {
    std::int64_t ms = 0;
    bool wholeSecond = false;
};

// "2026-12-07 14:03:51[.123]" (or with 'T') and what follows it: an offset in
// the text (`offsetText` empty) or in its own column.
std::optional<CsvTimeRead> csvTime(std::string_view text, std::string_view offsetColumn,
                                   bool offsetInText, ClockCache& clock) {
    Digits d(text);
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, ms = 0;
    bool hadFraction = false;
    if (!d.number(4, year) || !d.literal('-') || !d.number(2, month) || !d.literal('-') ||
        !d.number(2, day) || !(d.literal(' ') || d.literal('T')) || !d.number(2, hour) ||
        !d.literal(':') || !d.number(2, minute) || !d.literal(':') || !d.number(2, second) ||
        !d.fraction(ms, hadFraction))
        return std::nullopt;
    std::optional<int> offset;
    int minutes = 0;
    if (offsetInText) {
        if (!d.atEnd()) {
            if (!d.offset(minutes) || !d.atEnd())
                return std::nullopt;
            offset = minutes;
        }
    } else {
        if (!d.atEnd())
            return std::nullopt;
        if (!offsetColumn.empty()) {
            Digits o(offsetColumn);
            if (!o.offset(minutes) || !o.atEnd())
                return std::nullopt;
            offset = minutes;
        }
    }
    const std::optional<std::int64_t> seconds =
        offset ? clock.utc(year, month, day, hour, minute, second, *offset)
               : clock.local(year, month, day, hour, minute, second);
    if (!seconds)
        return std::nullopt;
    return CsvTimeRead{*seconds * 1000 + ms, !hadFraction};
}

// "25.3", "-12", "25,3" (where the separator is a semicolon); empty: no value.
std::optional<float> csvValue(std::string_view text, char decimal) {
    if (text.empty())
        return kNoValue;
    std::size_t i = 0;
    const bool negative = text[0] == '-';
    if (negative || text[0] == '+')
        ++i;
    std::uint64_t mantissa = 0;
    int digits = 0;
    int scale = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            if (digits < 18) {
                mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
                ++digits;
                if (point)
                    ++scale;
            } else if (!point) {
                return std::nullopt;
            }
        } else if (c == decimal && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0)
        return std::nullopt;
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8, 1e9,
                                         1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18};
    const double v = static_cast<double>(mantissa) / kPowers[scale];
    return static_cast<float>(negative ? -v : v);
}

// Splits one line into its fields (RFC 4180 quotes); false when it has not
// `count` fields. A quoted field is unquoted into `scratch`.
bool splitFields(std::string_view line, char separator, std::string_view* fields, int count,
                 std::string* scratch) {
    int n = 0;
    std::size_t pos = 0;
    for (;;) {
        if (n == count)
            return false;
        if (pos < line.size() && line[pos] == '"') {
            std::string& out = scratch[n];
            out.clear();
            ++pos;
            for (;;) {
                if (pos >= line.size())
                    return false;
                if (line[pos] == '"') {
                    if (pos + 1 < line.size() && line[pos + 1] == '"') {
                        out += '"';
                        pos += 2;
                        continue;
                    }
                    ++pos;
                    break;
                }
                out += line[pos++];
            }
            fields[n++] = out;
            if (pos == line.size())
                break;
            if (line[pos] != separator)
                return false;
            ++pos;
            continue;
        }
        const std::size_t end = line.find(separator, pos);
        if (end == std::string_view::npos) {
            fields[n++] = line.substr(pos);
            break;
        }
        fields[n++] = line.substr(pos, end - pos);
        pos = end + 1;
    }
    return n == count;
}

char unitLetter(std::string_view text) {
    if (!text.empty() && text.front() == '\'')
        text.remove_prefix(1);
    return text == "C" ? 'C' : text == "F" ? 'F' : '\0';
}

// Counts lines left out of one file and says so.
class DamageCount {
public:
    void line(std::uint64_t number) {
        if (m_count++ == 0)
            m_first = number;
    }
    void report(const std::string& path, std::vector<RecordingProblem>& damaged,
                const char* what) const {
        if (m_count == 0)
            return;
        std::string reason = std::to_string(m_count) + " " + what +
                             (m_count == 1 ? " could not be read" : "s could not be read");
        reason += " (the first is " + std::string(what) + " " + std::to_string(m_first) + ")";
        damaged.push_back({path, reason});
    }

private:
    std::uint64_t m_count = 0;
    std::uint64_t m_first = 0;
};

class Loader {
public:
    Loader(LoadedRecordings& out, const LoadControl& control, std::uint64_t total)
        : m_out(out), m_control(control), m_total(total) {}

    bool cancelled() const {
        return m_control.cancel && m_control.cancel->load(std::memory_order_relaxed);
    }
    void advance(std::uint64_t bytes) {
        m_done += bytes;
        if (m_control.progress)
            m_control.progress(m_done, m_total);
    }

    // One file; false when reading was cancelled.
    bool read(const std::string& path) {
        const Fd fd(path);
        if (fd.get() < 0)
            return refuse(path, std::strerror(errno));
        struct stat st {};
        if (::fstat(fd.get(), &st) != 0)
            return refuse(path, std::strerror(errno));
        if (!S_ISREG(st.st_mode))
            return refuse(path, "it is not a regular file");
        char head[6] = {};
        const ssize_t n = ::pread(fd.get(), head, sizeof head, 0);
        if (n < 0)
            return refuse(path, std::strerror(errno));
        const std::string_view start(head, static_cast<std::size_t>(n));
        const std::string ext = lower(std::filesystem::path(path).extension().string());
        const bool csv = ext == ".csv" ||
                         (ext != ".dovdat" &&
                          (start.starts_with("number") || start.starts_with("\xEF\xBB\xBFnum")));
        return csv ? readCsv(path, fd.get()) : readDataFile(path, fd.get(), st);
    }

private:
    bool refuse(const std::string& path, std::string reason) {
        m_out.refused.push_back({path, std::move(reason)});
        return !cancelled();
    }

    bool readDataFile(const std::string& path, int fd, const struct stat& st) {
        if (static_cast<std::uint64_t>(st.st_size) > kDataFileMaxSize)
            return refuse(path, "it is too large to be a data file");
        m_bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
        const ssize_t n = readSome(fd, reinterpret_cast<char*>(m_bytes.data()), m_bytes.size());
        if (n < 0)
            return refuse(path, std::strerror(errno));
        Result<DovDatContents> decoded =
            decodeDovDat(std::span(m_bytes).first(static_cast<std::size_t>(n)));
        advance(static_cast<std::uint64_t>(st.st_size));
        if (!decoded)
            return refuse(path, "it is not a data file: " + decoded.error());
        RecordingSeries& series = m_out.series;
        series.beginFile(path, true);
        DamageCount damage;
        const DovDatContents& c = *decoded;
        for (int i = 0; i < c.count(); ++i) {
            const std::optional<std::int64_t> t = dataFileTime(c.times[i], m_clock);
            if (!t) {
                damage.line(static_cast<std::uint64_t>(i) + 1);
                continue;
            }
            series.append(*t, c.values[i], unitLetter(c.units[i]), false, i);
        }
        damage.report(path, m_out.damaged, "sample");
        return !cancelled();
    }

    bool readCsv(const std::string& path, int fd) {
        std::string buffer;
        std::string carry;
        buffer.resize(kChunk);
        bool header = true;
        char separator = ',';
        bool offsetInText = false;
        int fields = 6;
        std::uint64_t lineNumber = 0;
        DamageCount damage;
        RecordingSeries& series = m_out.series;
        bool wholeSeconds = true;
        std::string_view field[6];
        std::string scratch[6];

        const auto handle = [&](std::string_view line) -> bool {
            ++lineNumber;
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            if (header) {
                header = false;
                if (line.starts_with("\xEF\xBB\xBF"))
                    line.remove_prefix(3);
                separator = line.size() > 6 ? line[6] : ',';
                std::string expected;
                for (const char* name : {"number", "time", "utc_offset", "value", "unit", "log"})
                    expected +=
                        std::string(expected.empty() ? "" : std::string(1, separator)) + name;
                std::string iso;
                for (const char* name : {"number", "time", "value", "unit", "log"})
                    iso += std::string(iso.empty() ? "" : std::string(1, separator)) + name;
                if ((separator != ',' && separator != ';') || (line != expected && line != iso))
                    return false;
                offsetInText = line == iso;
                fields = offsetInText ? 5 : 6;
                series.beginFile(path, true);
                return true;
            }
            if (line.empty())
                return true;
            if (!splitFields(line, separator, field, fields, scratch)) {
                damage.line(lineNumber);
                return true;
            }
            const int v = offsetInText ? 2 : 3;
            const std::optional<CsvTimeRead> t = csvTime(
                field[1], offsetInText ? std::string_view() : field[2], offsetInText, m_clock);
            const std::optional<float> value = csvValue(field[v], separator == ';' ? ',' : '.');
            int number = 0;
            const auto [end, ec] =
                std::from_chars(field[0].data(), field[0].data() + field[0].size(), number);
            if (!t || !value || ec != std::errc() || end != field[0].data() + field[0].size() ||
                number < 1 || !std::isfinite(*value)) {
                damage.line(lineNumber);
                return true;
            }
            if (t->wholeSecond != wholeSeconds) {
                wholeSeconds = t->wholeSecond;
                series.setWholeSeconds(wholeSeconds);
            }
            series.append(t->ms, *value, unitLetter(field[v + 1]), field[v + 2] == "1", number - 1);
            return true;
        };

        for (;;) {
            const ssize_t n = readSome(fd, buffer.data(), buffer.size());
            if (n < 0)
                return refuse(path, std::strerror(errno));
            advance(static_cast<std::uint64_t>(n));
            std::string_view chunk(buffer.data(), static_cast<std::size_t>(n));
            std::size_t pos = 0;
            while (pos < chunk.size()) {
                const std::size_t eol = chunk.find('\n', pos);
                if (eol == std::string_view::npos) {
                    carry.append(chunk.substr(pos));
                    break;
                }
                bool ok = true;
                if (!carry.empty()) {
                    carry.append(chunk.substr(pos, eol - pos));
                    ok = handle(carry);
                    carry.clear();
                } else {
                    ok = handle(chunk.substr(pos, eol - pos));
                }
                if (!ok)
                    return refuse(path, kNotOurCsv);
                pos = eol + 1;
            }
            if (cancelled())
                return false;
            if (n == 0 || static_cast<std::size_t>(n) < buffer.size())
                break;
        }
        if (!carry.empty() && !handle(carry))
            return refuse(path, kNotOurCsv);
        if (header)
            return refuse(path, "it is empty");
        damage.report(path, m_out.damaged, "line");
        return !cancelled();
    }

    LoadedRecordings& m_out;
    const LoadControl& m_control;
    std::uint64_t m_total = 0;
    std::uint64_t m_done = 0;
    ClockCache m_clock;
    std::vector<std::uint8_t> m_bytes;
};

} // namespace

std::vector<std::string> recordingFiles(const std::vector<std::string>& named,
                                        std::vector<RecordingProblem>& refused) {
    namespace fs = std::filesystem;
    std::vector<std::string> files;
    for (const std::string& name : named) {
        std::error_code ec;
        if (fs::is_directory(name, ec)) {
            std::vector<std::string> inside;
            for (fs::directory_iterator it(name, ec), end; !ec && it != end; it.increment(ec)) {
                std::error_code typeError;
                if (it->is_regular_file(typeError) && isRecordingName(it->path()))
                    inside.push_back(it->path().string());
            }
            if (ec)
                refused.push_back({name, ec.message()});
            else if (inside.empty())
                refused.push_back({name, "the folder holds no recordings"});
            files.insert(files.end(), inside.begin(), inside.end());
        } else if (fs::exists(name, ec)) {
            files.push_back(name);
        } else {
            refused.push_back({name, std::strerror(ENOENT)});
        }
    }
    std::stable_sort(files.begin(), files.end(), naturalLess);
    files.erase(std::unique(files.begin(), files.end()), files.end());
    return files;
}

LoadedRecordings readRecordings(const std::vector<std::string>& named, const LoadControl& control) {
    LoadedRecordings out;
    const std::vector<std::string> files = recordingFiles(named, out.refused);
    std::uint64_t total = 0;
    for (const std::string& file : files) {
        struct stat st {};
        if (::stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            total += static_cast<std::uint64_t>(st.st_size);
    }
    Loader loader(out, control, total);
    for (const std::string& file : files) {
        if (!loader.read(file) || loader.cancelled()) {
            out.series = RecordingSeries();
            out.cancelled = true;
            return out;
        }
    }
    out.series.finish();
    return out;
}
