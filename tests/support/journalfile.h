#pragma once

#include "core/journal/journalformat.h"
#include "core/store/samplestore.h"

#include <QFile>
#include <QString>

#include <cstdint>
#include <vector>

// What a restart would find in the journal at `path` (an empty reading when
// the file cannot be read).
inline JournalReading readJournalFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray b = f.readAll();
    return readJournal(std::span(reinterpret_cast<const std::uint8_t*>(b.constData()),
                                 static_cast<std::size_t>(b.size())));
}

// A journal of `values` in degrees Celsius, one a second from `time`, numbered
// from 1 and each drawn.
inline std::vector<std::uint8_t> journalOf(const std::vector<float>& values,
                                           std::int64_t time = 1796637600) {
    std::vector<std::uint8_t> bytes = encodeJournalHeader();
    for (std::size_t i = 0; i < values.size(); ++i) {
        const int n = static_cast<int>(i) + 1;
        appendSampleRecord(bytes,
                           {values[i], "C", time + n - 1, formatTimeText(time + n - 1), n, n});
    }
    return bytes;
}

// Writes `bytes` to `path`: the bytes written, or none when it could not.
inline QByteArray writeJournalFile(const QString& path, const std::vector<std::uint8_t>& bytes) {
    const QByteArray b(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<qsizetype>(bytes.size()));
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(b) == b.size() ? b : QByteArray();
}
