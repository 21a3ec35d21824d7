#include "cli/statscommand.h"

#include "cli/clitext.h"
#include "cli/exitstatus.h"
#include "core/files/csvexport.h"
#include "core/text/valuetext.h"
#include "core/viewer/minmaxpyramid.h"
#include "core/viewer/recordingreader.h"

#include <QStringList>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

// "2026-12-07T14:03:51.250+01:00": local time with its offset, to the millisecond.
std::string isoTime(std::int64_t ms) {
    const std::int64_t seconds = ms >= 0 ? ms / 1000 : (ms - 999) / 1000;
    std::string text = isoLocalTime(seconds);
    if (text.size() < 19)
        return text;
    char fraction[8];
    std::snprintf(fraction, sizeof fraction, ".%03d", static_cast<int>(ms - seconds * 1000));
    return text.insert(19, fraction);
}

std::string number(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// The shortest text that reads back as the value: 162.5, not 162.500000.
std::string value(float v) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, v).ptr;
    return std::string(text, end);
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + '"';
}

std::string jsonOf(const SpanStatistics& s, const std::string& unit) {
    const auto time = [&](std::int64_t ms, bool known) {
        return known ? quoted(isoTime(ms)) : std::string("null");
    };
    const bool any = s.samples > 0, values = s.hasValues();
    std::string out = "{\"samples\":" + std::to_string(s.samples);
    out += ",\"first\":" + time(s.firstMs, any) + ",\"last\":" + time(s.lastMs, any);
    out += ",\"unit\":" + (unit.empty() ? std::string("null") : quoted(unit));
    out += ",\"min\":" + (values ? number(s.min, 1) : "null") +
           ",\"min_time\":" + time(s.minMs, values);
    out += ",\"max\":" + (values ? number(s.max, 1) : "null") +
           ",\"max_time\":" + time(s.maxMs, values);
    out += ",\"mean\":" + (values ? number(s.mean, 3) : "null");
    out += ",\"stddev\":" + (values ? number(s.stddev, 3) : "null");
    out += ",\"no_value\":" + std::to_string(s.noValue) + ",\"gaps\":" + std::to_string(s.gaps);
    out += ",\"above_seconds\":" + number(s.aboveMs / 1000.0, 3);
    out += ",\"below_seconds\":" + number(s.belowMs / 1000.0, 3);
    out += ",\"episodes\":[";
    for (std::size_t i = 0; i < s.episodes.size(); ++i) {
        const AlarmEpisode& e = s.episodes[i];
        out += std::string(i ? "," : "") + "{\"start\":" + time(e.startMs, true) +
               ",\"end\":" + time(e.endMs, true) + ",\"limit\":\"" + alarmName(e.level) +
               "\",\"extreme\":" + number(e.extreme, 1) + "}";
    }
    return out + "]}\n";
}

std::string textOf(const SpanStatistics& s, const SpanLimits& limits, const std::string& unit) {
    const QString u = unit.empty() ? QString() : QLatin1Char(' ') + QString::fromStdString(unit);
    const auto text = [](const std::string& t) { return QString::fromStdString(t); };
    // The labels in a column as wide as the widest of them, whatever the language.
    const QStringList labels{Cli::tr("samples"),  Cli::tr("first"),   Cli::tr("last"),
                             Cli::tr("duration"), Cli::tr("lowest"),  Cli::tr("highest"),
                             Cli::tr("mean"),     Cli::tr("std dev"), Cli::tr("gaps"),
                             Cli::tr("above"),    Cli::tr("below"),   Cli::tr("episodes")};
    qsizetype width = 0;
    for (const QString& label : labels)
        width = qMax(width, label.size());
    QString out;
    const auto row = [&](int label, const QString& value) {
        out += labels[label].leftJustified(width + 2) + value + QLatin1Char('\n');
    };
    row(0, s.noValue ? Cli::tr("%1 (%2 without a value)").arg(s.samples).arg(s.noValue)
                     : QString::number(s.samples));
    if (s.samples) {
        row(1, text(isoTime(s.firstMs)));
        row(2, text(isoTime(s.lastMs)));
        row(3, text(durationText(s.durationMs())));
        if (s.hasValues()) {
            const auto at = [&](double v, std::int64_t ms) {
                return Cli::tr("%1 at %2").arg(text(number(v, 1)) + u, text(isoTime(ms)));
            };
            row(4, at(s.min, s.minMs));
            row(5, at(s.max, s.maxMs));
            row(6, text(number(s.mean, 2)) + u);
            row(7, text(number(s.stddev, 2)) + u);
        }
        row(8, s.gaps ? Cli::tr("%1, %2 in all").arg(s.gaps).arg(text(durationText(s.gapMs)))
                      : QString::number(s.gaps));
        const auto limited = [&](std::int64_t ms, double limit) {
            return Cli::tr("%1 (limit %2)")
                .arg(text(durationText(ms)), text(value(float(limit))) + u);
        };
        if (limits.high)
            row(9, limited(s.aboveMs, *limits.high));
        if (limits.low)
            row(10, limited(s.belowMs, *limits.low));
        row(11, QString::number(s.episodeCount));
        for (const AlarmEpisode& e : s.episodes)
            out += QStringLiteral("  %1  ").arg(QLatin1String(alarmName(e.level))) +
                   Cli::tr("%1 to %2  %3  extreme %4")
                       .arg(text(isoTime(e.startMs)), text(isoTime(e.endMs)),
                            text(durationText(e.durationMs())), text(number(e.extreme, 1)) + u) +
                   QLatin1Char('\n');
        if (s.episodes.size() < s.episodeCount)
            out += Cli::tr("  (the first %1 listed)").arg(s.episodes.size()) + QLatin1Char('\n');
    }
    return out.toStdString();
}

} // namespace

std::optional<std::int64_t> parseUserTime(const std::string& text) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, ms = 0, used = 0;
    char sep = 'T';
    const int fields = std::sscanf(text.c_str(), "%4d-%2d-%2d%n%c%2d:%2d%n", &y, &mo, &d, &used,
                                   &sep, &h, &mi, &used);
    if (fields != 3 && fields != 6)
        return std::nullopt;
    if (fields == 6 && sep != 'T' && sep != ' ')
        return std::nullopt;
    std::string_view rest = std::string_view(text).substr(static_cast<std::size_t>(used));
    if (fields == 6 && rest.starts_with(':')) {
        int n = 0;
        if (std::sscanf(rest.data(), ":%2d%n", &s, &n) != 1)
            return std::nullopt;
        rest.remove_prefix(static_cast<std::size_t>(n));
        if (rest.starts_with('.')) {
            int digits = 0;
            rest.remove_prefix(1);
            while (!rest.empty() && rest[0] >= '0' && rest[0] <= '9') {
                if (digits++ < 3)
                    ms = ms * 10 + (rest[0] - '0');
                rest.remove_prefix(1);
            }
            if (digits == 0)
                return std::nullopt;
            for (; digits < 3; ++digits)
                ms *= 10;
        }
    }
    if (mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || s > 60)
        return std::nullopt;
    std::tm tm{};
    tm.tm_year = y - 1900;
    tm.tm_mon = mo - 1;
    tm.tm_mday = d;
    tm.tm_hour = h;
    tm.tm_min = mi;
    tm.tm_sec = s;
    std::int64_t seconds = 0;
    if (rest.empty()) {
        tm.tm_isdst = -1;
        const std::time_t t = std::mktime(&tm);
        if (t == static_cast<std::time_t>(-1))
            return std::nullopt;
        seconds = t;
    } else {
        int oh = 0, om = 0;
        char sign = 0;
        if (rest == "Z") {
            sign = '+';
        } else if (std::sscanf(std::string(rest).c_str(), "%c%2d:%2d", &sign, &oh, &om) != 3 ||
                   (sign != '+' && sign != '-') || rest.size() != 6) {
            return std::nullopt;
        }
        seconds = ::timegm(&tm) - (sign == '-' ? -1 : 1) * (oh * 3600 + om * 60);
    }
    return seconds * 1000 + ms;
}

int runStats(const StatsRequest& request) {
    LoadedRecordings loaded = readRecordings(request.inputs);
    for (const RecordingProblem& p : loaded.refused)
        printError(Cli::tr("cannot read %1: %2")
                       .arg(QString::fromStdString(printableText(p.path)),
                            QString::fromStdString(p.reason))
                       .toStdString());
    for (const RecordingProblem& p : loaded.damaged)
        printWarning(printableText(p.path) + ": " + p.reason);
    if (loaded.series.files().empty())
        return kExitFailure;

    const RecordingSeries& series = loaded.series;
    const MinMaxPyramid pyramid(series);
    const std::size_t first = request.fromMs ? series.lowerBound(*request.fromMs) : 0;
    const std::size_t last = request.toMs ? series.lowerBound(*request.toMs + 1) : series.size();
    const AlarmEpisodes episodes(series, request.limits);
    const SpanStatistics stats = spanStatistics(series, pyramid, episodes, first, last);
    std::string unit;
    if (stats.hasValues()) {
        const char letter = series.unit(pyramid.nextValue(first, last));
        if (letter)
            unit.assign(1, letter);
    }
    const std::string text =
        request.json ? jsonOf(stats, unit) : textOf(stats, request.limits, unit);
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout)) {
        if (errno == EPIPE)
            return kExitOk;
        printError(Cli::tr("cannot write the statistics: %1")
                       .arg(QString::fromLocal8Bit(std::strerror(errno)))
                       .toStdString());
        return kExitFailure;
    }
    // The figures of what could be read, and a status that says something was not.
    return loaded.refused.empty() ? kExitOk : kExitFailure;
}
