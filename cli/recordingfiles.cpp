#include "cli/recordingfiles.h"

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
    return written.textFile.empty()
               ? written.dataFile.string()
               : written.dataFile.string() + " and " + written.textFile.string();
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
        printError("cannot write " + asked.string() + ": " + target.reason);
        return std::nullopt;
    }
    if (target.stream()) {
        const Result<std::vector<std::uint8_t>> data =
            encodeDovDat(series.values, series.units, series.timeTexts);
        if (!data) {
            printError("cannot write " + asked.string() + ": " + data.error());
            return std::nullopt;
        }
        const std::string_view bytes(reinterpret_cast<const char*>(data->data()), data->size());
        if (!writeOutputStream(target, bytes)) {
            printError("cannot write " + asked.string() + ": " + std::strerror(errno));
            return std::nullopt;
        }
        return WrittenPair{asked, {}, names.first};
    }
    const Result<WrittenPair, DataFilePairFailure> written = writeNewDataFilePair(names, series);
    if (!written) {
        if (!tellFailure)
            return std::nullopt;
        const DataFilePairFailure& failed = written.error();
        printError("cannot write " + (failed.dataFailed ? asked : names.text(1)).string() + ": " +
                   failed.reason);
        if (failed.dataWritten)
            printError("the data file was written, without its text export");
        return std::nullopt;
    }
    return *written;
}

void tellDataName(const std::string& asked, const std::string& name) {
    const OutputTarget target = resolveOutput(asked);
    if (target.stream() || target.refused())
        return;
    if (name == asked)
        std::fprintf(stderr, "The data file will be %s.\n", name.c_str());
    else
        std::fprintf(stderr, "The data file will be %s: %s is taken.\n", name.c_str(),
                     asked.c_str());
}
