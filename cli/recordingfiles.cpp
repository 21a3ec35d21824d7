#include "cli/recordingfiles.h"

#include "cli/exitstatus.h"
#include "core/files/dovdatcodec.h"
#include "core/files/outputtarget.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <string_view>
#include <vector>

QString writtenFiles(const QString& dataPath, const QString& textPath) {
    return resolveOutput(QFile::encodeName(dataPath).toStdString()).stream()
               ? dataPath
               : dataPath + QStringLiteral(" and ") + textPath;
}

bool writeRecordingFiles(const QString& dataPath, const QString& textPath,
                         const RecordedSeries& series) {
    const OutputTarget target = resolveOutput(QFile::encodeName(dataPath).toStdString());
    if (target.refused()) {
        printError("cannot write " + dataPath.toStdString() + ": " + target.reason);
        return false;
    }
    if (target.stream()) {
        const Result<std::vector<std::uint8_t>> data =
            encodeDovDat(series.values, series.units, series.timeTexts);
        if (!data) {
            printError("cannot write " + dataPath.toStdString() + ": " + data.error());
            return false;
        }
        const std::string_view bytes(reinterpret_cast<const char*>(data->data()), data->size());
        if (!writeOutputStream(target, bytes)) {
            printError("cannot write " + dataPath.toStdString() + ": " + std::strerror(errno));
            return false;
        }
        return true;
    }
    const std::string dataFile = QFile::encodeName(dataPath).toStdString();
    const std::string textFile = QFile::encodeName(textPath).toStdString();
    const Result<void, DataFilePairFailure> written = writeDataFilePair(dataFile, textFile, series);
    if (!written) {
        const DataFilePairFailure& failed = written.error();
        printError("cannot write " + (failed.dataFailed ? dataFile : textFile) + ": " +
                   failed.reason);
        if (failed.dataWritten)
            printError(dataPath.toStdString() + " was written, without its text export");
        return false;
    }
    return true;
}
