#include "cli/filecommands.h"

#include "cli/clitext.h"
#include "cli/exitstatus.h"
#include "core/files/atomicfile.h"
#include "core/files/csvexport.h"
#include "core/files/datafilereader.h"
#include "core/files/outputtarget.h"
#include "core/files/seriessummary.h"
#include "core/files/textexport.h"
#include "core/store/samplestore.h"
#include "core/text/valuetext.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include <unistd.h>

namespace {

Result<DovDatContents> load(const std::string& path) {
    Result<DovDatContents, DataFileRefusal> read = readDataFile(path);
    if (!read) {
        const DataFileRefusal& why = read.error();
        const QString reason = QString::fromStdString(why.reason);
        printError(
            Cli::tr("cannot open %1: %2")
                .arg(QString::fromStdString(path), why.kind == DataFileRefusal::Kind::NotADataFile
                                                       ? Cli::tr("not a data file (%1)").arg(reason)
                                                       : reason)
                .toStdString());
        return Failure{why.reason};
    }
    return std::move(read).value();
}

std::string csvOf(const DovDatContents& c, CsvTime time) {
    // A data file keeps no log mark per sample: the field stays empty.
    const CsvStyle style{CsvSeparator::Comma, time};
    std::string out = csvHeader(style);
    for (int i = 0; i < c.count(); ++i) {
        const auto at = static_cast<std::size_t>(i);
        out += csvLine({i + 1, parseTimeText(c.times[at]), c.times[at], c.values[at], c.units[at],
                        std::nullopt},
                       style);
    }
    return out;
}

// The text export formats calendar times, so every time text must read as one.
Result<std::string> textOf(const DovDatContents& c, const std::string& path) {
    std::vector<std::int64_t> times;
    times.reserve(c.times.size());
    for (std::size_t i = 0; i < c.times.size(); ++i) {
        const std::optional<std::int64_t> t = parseTimeText(c.times[i]);
        if (!t)
            return Failure{Cli::tr("cannot convert %1: the time \"%2\" of sample %3 is not of the "
                                   "form mm-dd-yy/HH:MM:SS")
                               .arg(QString::fromStdString(path),
                                    QString::fromStdString(printableText(c.times[i])),
                                    QString::number(i + 1))
                               .toStdString()};
        times.push_back(*t);
    }
    return textExport(c.values, c.units, times);
}

std::string timeOf(const std::string& timeText) {
    const std::optional<std::int64_t> t = parseTimeText(timeText);
    return t ? isoLocalTime(*t) : printableText(timeText);
}

std::string extremeText(const DovDatContents& c, const std::optional<SeriesSummary::Extreme>& e) {
    if (!e)
        return Cli::tr("none").toStdString();
    return Cli::tr("%1 %2 (sample %3)")
        .arg(QString::fromStdString(valueText(e->value)),
             QString::fromStdString(printableText(c.units[static_cast<std::size_t>(e->index)])),
             QString::number(e->index + 1))
        .toStdString();
}

// Text for a terminal: line ends and tabs stay, every other control character
// is written as \xNN, as info writes the texts of a file.
std::string terminalText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t from = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != '\n' && text[i] != '\r' && text[i] != '\t')
            continue;
        out += printableText(text.substr(from, i - from));
        if (i < text.size())
            out += text[i];
        from = i + 1;
    }
    return out;
}

} // namespace

int writeOutput(const std::string& path, const std::string& data) {
    if (path.empty() || path == "-") {
        // A crafted file's texts cannot drive the terminal.
        const std::string shown = ::isatty(STDOUT_FILENO) == 1 ? terminalText(data) : data;
        if (std::fwrite(shown.data(), 1, shown.size(), stdout) != shown.size() ||
            std::fflush(stdout) != 0) {
            // The reader went away (| head): it has what it wanted.
            if (errno == EPIPE)
                return kExitOk;
            printError(Cli::tr("cannot write the standard output: %1")
                           .arg(QString::fromLocal8Bit(std::strerror(errno)))
                           .toStdString());
            return kExitFailure;
        }
        return kExitOk;
    }
    const OutputTarget target = resolveOutput(path);
    if (target.stream()) {
        if (!writeOutputStream(target, data)) {
            printError(cannotWrite(path, std::strerror(errno)));
            return kExitFailure;
        }
        return kExitOk;
    }
    // AtomicFile refuses what is not a file, and says why.
    if (const Result<> written = AtomicFile(path).replace(data); !written) {
        printError(cannotWrite(path, written.error()));
        return kExitFailure;
    }
    return kExitOk;
}

int runConvert(const ConvertRequest& request) {
    const Result<DovDatContents> contents = load(request.input);
    if (!contents)
        return kExitFailure;
    if (request.csv)
        return writeOutput(request.output, csvOf(*contents, request.csvTime));
    const Result<std::string> text = textOf(*contents, request.input);
    if (!text) {
        printError(text.error());
        return kExitFailure;
    }
    return writeOutput(request.output, *text);
}

int runInfo(const InfoRequest& request) {
    const Result<DovDatContents> contents = load(request.input);
    if (!contents)
        return kExitFailure;
    const DovDatContents& c = *contents;
    const SeriesSummary s = summarizeSeries(c, request.high, request.low);
    std::string units;
    for (const std::string& unit : s.units)
        units += (units.empty() ? "" : ", ") + printableText(unit);
    const std::string none = Cli::tr("none").toStdString();
    std::vector<std::pair<QString, std::string>> lines = {
        {Cli::tr("File:"), request.input},
        {Cli::tr("Samples:"), std::to_string(s.count)},
        {Cli::tr("No value:"), std::to_string(s.noValueCount)},
        {Cli::tr("First:"), s.count > 0 ? timeOf(s.firstTime) : none},
        {Cli::tr("Last:"), s.count > 0 ? timeOf(s.lastTime) : none},
        {Cli::tr("Units:"), units.empty() ? none : units},
        {Cli::tr("Minimum:"), extremeText(c, s.minimum)},
        {Cli::tr("Maximum:"), extremeText(c, s.maximum)},
    };
    if (request.high)
        lines.emplace_back(
            Cli::tr("Above %1:").arg(QString::fromStdString(valueText(*request.high))),
            std::to_string(s.aboveHigh));
    if (request.low)
        lines.emplace_back(
            Cli::tr("Below %1:").arg(QString::fromStdString(valueText(*request.low))),
            std::to_string(s.belowLow));
    // The values in one column, however long the labels are in the user's language.
    qsizetype width = 0;
    for (const auto& [label, value] : lines)
        width = qMax(width, label.size() + 1);
    std::string out;
    for (const auto& [label, value] : lines)
        out += label.leftJustified(width).toStdString() + value + '\n';
    return writeOutput({}, out);
}
