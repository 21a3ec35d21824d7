#include "core/files/datafilepair.h"

#include "core/files/atomicfile.h"
#include "core/files/dovdatcodec.h"
#include "core/files/textexport.h"

#include <string_view>
#include <vector>

Result<void, DataFilePairFailure> writeDataFilePair(const std::filesystem::path& dataPath,
                                                    const std::filesystem::path& textPath,
                                                    const RecordedSeries& series) {
    const auto failure = [](bool dataFailed, const std::string& reason, bool dataWritten = false) {
        return Failure{DataFilePairFailure{dataFailed, dataWritten, reason}};
    };
    const Result<std::vector<std::uint8_t>> data =
        encodeDovDat(series.values, series.units, series.timeTexts);
    if (!data)
        return failure(true, data.error());
    const bool withText = !textPath.empty();
    AtomicFile dataFile(dataPath);
    AtomicFile textFile(textPath);
    if (const Result<> staged = dataFile.write(
            std::string_view(reinterpret_cast<const char*>(data->data()), data->size()));
        !staged)
        return failure(true, staged.error());
    if (withText) {
        const Result<std::string> text = textExport(series.values, series.units, series.times);
        if (!text)
            return failure(false, text.error());
        if (const Result<> staged = textFile.write(*text); !staged)
            return failure(false, staged.error());
    }
    if (const Result<> committed = dataFile.commitRevertibly(); !committed)
        return failure(true, committed.error());
    if (withText) {
        if (const Result<> committed = textFile.commit(); !committed)
            return failure(false, committed.error(), !dataFile.revert());
    }
    dataFile.release();
    return {};
}
