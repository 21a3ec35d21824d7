#pragma once

#include "core/store/journalformat.h"

#include <QFile>
#include <QString>

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
