#include "cli/recordingfiles.h"

#include "cli/clitext.h"
#include "cli/exitstatus.h"
#include "core/files/dovdatcodec.h"
#include "core/files/filechain.h"
#include "core/files/outputtarget.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

std::string writtenFiles(const WrittenPair& written) {
    return written.textFile.empty() ? written.dataFile.string()
                                    : Cli::tr("%1 and %2")
                                          .arg(QString::fromStdString(written.dataFile.string()),
                                               QString::fromStdString(written.textFile.string()))
                                          .toStdString();
}

std::string freeDataName(const PairNames& names) {
    for (int n = names.first;; ++n) {
        const std::string data = names.data(n).string();
        if (!pathTaken(data) && !(names.sameSuffix && pathTaken(names.text(n).string())))
            return data;
    }
}

std::optional<WrittenPair> writeRecordingFiles(const PairNames& names, const RecordedSeries& series,
                                               bool tellFailure) {
    const std::filesystem::path asked = names.data(names.first);
    const OutputTarget target = resolveOutput(asked);
    if (target.refused()) {
        printError(cannotWrite(asked.string(), target.reason));
        return std::nullopt;
    }
    if (target.stream()) {
        const Result<std::vector<std::uint8_t>> data =
            encodeDovDat(series.values, series.units, series.timeTexts);
        if (!data) {
            printError(cannotWrite(asked.string(), data.error()));
            return std::nullopt;
        }
        const std::string_view bytes(reinterpret_cast<const char*>(data->data()), data->size());
        if (!writeOutputStream(target, bytes)) {
            printError(cannotWrite(asked.string(), std::strerror(errno)));
            return std::nullopt;
        }
        return WrittenPair{asked, {}, names.first};
    }
    const Result<WrittenPair, DataFilePairFailure> written = writeNewDataFilePair(names, series);
    if (!written) {
        if (!tellFailure)
            return std::nullopt;
        const DataFilePairFailure& failed = written.error();
        printError(
            cannotWrite((failed.dataFailed ? asked : names.text(1)).string(), failed.reason));
        if (failed.dataWritten)
            printError(Cli::tr("the data file was written, without its text export").toStdString());
        return std::nullopt;
    }
    return *written;
}

void tellDataName(const std::string& asked, const std::string& name) {
    const OutputTarget target = resolveOutput(asked);
    if (target.stream() || target.refused())
        return;
    if (name == asked)
        std::fprintf(
            stderr, "%s\n",
            qPrintable(Cli::tr("The data file will be %1.").arg(QString::fromStdString(name))));
    else
        std::fprintf(
            stderr, "%s\n",
            qPrintable(Cli::tr("The data file will be %1: %2 is taken.")
                           .arg(QString::fromStdString(name), QString::fromStdString(asked))));
}
