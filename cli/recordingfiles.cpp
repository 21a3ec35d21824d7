#include "cli/recordingfiles.h"

#include "cli/exitstatus.h"
#include "core/files/atomicfile.h"
#include "core/files/dovdatcodec.h"
#include "core/files/outputtarget.h"
#include "core/files/textexport.h"

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
    const std::vector<std::uint8_t> data =
        encodeDovDat(series.values, series.units, series.timeTexts);
    const OutputTarget target = resolveOutput(QFile::encodeName(dataPath).toStdString());
    if (target.refused()) {
        printError("cannot write " + dataPath.toStdString() + ": " + target.reason);
        return false;
    }
    if (target.stream()) {
        const std::string_view bytes(reinterpret_cast<const char*>(data.data()), data.size());
        if (!writeOutputStream(target, bytes)) {
            printError("cannot write " + dataPath.toStdString() + ": " + std::strerror(errno));
            return false;
        }
        return true;
    }
    AtomicFile dataFile(QFile::encodeName(dataPath).toStdString());
    AtomicFile textFile(QFile::encodeName(textPath).toStdString());
    const AtomicFile* failed = nullptr;
    bool dataStays = false;
    if (!dataFile.write(std::string_view(reinterpret_cast<const char*>(data.data()), data.size())))
        failed = &dataFile;
    else if (!textFile.write(textExport(series.values, series.units, series.times)))
        failed = &textFile;
    else if (!dataFile.commitRevertibly())
        failed = &dataFile;
    else if (!textFile.commit()) {
        failed = &textFile;
        dataStays = !dataFile.revert();
    }
    if (failed) {
        printError("cannot write " + failed->target().string() + ": " + failed->errorString());
        if (dataStays)
            printError(dataPath.toStdString() + " was written, without its text export");
        return false;
    }
    dataFile.release();
    return true;
}
