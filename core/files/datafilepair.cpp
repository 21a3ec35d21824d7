#include "core/files/datafilepair.h"

#include "core/files/atomicfile.h"
#include "core/files/dovdatcodec.h"
#include "core/files/textexport.h"

#include <string_view>
#include <unistd.h>
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

namespace {

// Past this many taken names a folder is not worth searching further.
constexpr int kLastChoice = 100000;

} // namespace

Result<WrittenPair, DataFilePairFailure> writeNewDataFilePair(const PairNames& names,
                                                              const RecordedSeries& series) {
    const auto failure = [](bool dataFailed, const std::string& reason, bool dataWritten = false) {
        return Failure{DataFilePairFailure{dataFailed, dataWritten, reason}};
    };
    const Result<std::vector<std::uint8_t>> data =
        encodeDovDat(series.values, series.units, series.timeTexts);
    if (!data)
        return failure(true, data.error());
    const bool withText = static_cast<bool>(names.text);
    const bool newData = !names.replaceData;
    AtomicFile dataFile(names.data(names.first),
                        newData ? AtomicFile::Mode::New : AtomicFile::Mode::Replace);
    AtomicFile textFile(withText ? names.text(1) : std::filesystem::path(), AtomicFile::Mode::New);
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

    WrittenPair written{names.data(names.first), {}, names.first};
    if (!newData) {
        if (const Result<> committed = dataFile.commitRevertibly(); !committed)
            return failure(true, committed.error());
    }
    int m = 1;
    for (int n = names.first; n <= kLastChoice; ++n) {
        if (newData) {
            const Result<bool> placed = dataFile.commitAsNew(names.data(n));
            if (!placed)
                return failure(true, placed.error());
            if (!*placed)
                continue;
            written.dataFile = names.data(n);
            written.n = n;
        }
        if (!withText) {
            dataFile.release();
            return written;
        }
        const bool together = names.sameSuffix && newData;
        for (m = together ? n : m; m <= kLastChoice; ++m) {
            const Result<bool> placed = textFile.commitAsNew(names.text(m));
            if (!placed) {
                const bool back = newData ? ::unlink(written.dataFile.c_str()) == 0
                                          : static_cast<bool>(dataFile.revert());
                return failure(false, placed.error(), !back);
            }
            if (*placed) {
                written.textFile = names.text(m);
                dataFile.release();
                return written;
            }
            if (together)
                break;
        }
        if (!together) {
            const bool back = newData ? ::unlink(written.dataFile.c_str()) == 0
                                      : static_cast<bool>(dataFile.revert());
            return failure(false, "no free name is left for the text export", !back);
        }
        // The export's name at this choice is taken: the data file's is given back.
        if (const Result<> back = dataFile.withdraw(); !back)
            return failure(false, back.error(), true);
    }
    return failure(newData, "no free name is left beside " + names.data(names.first).string());
}
