#pragma once

#include "core/files/datafilepair.h"

#include <QString>

#include <cstdint>
#include <optional>

class CDTDoc;
class Configuration;
class DataListPanel;
class Prompter;
class QWidget;

// Save and Open of the document: the data file with its text export, and the
// loading of a data file into the graph and the list.
class DocumentFiles {
public:
    // The dialogs' filters, in English; the dialogs show them translated.
    static inline const QString kFilter =
        QString::fromLatin1(QT_TRANSLATE_NOOP("DocumentFiles", "ZavoDezuza Files (*.DovDat)"));
    static inline const QString kSuffix = QStringLiteral("DovDat");
    // The two kinds of CSV the export offers, in this order.
    static inline const QString kCsvCommaFilter = QString::fromLatin1(
        QT_TRANSLATE_NOOP("DocumentFiles", "CSV, comma-separated, decimal point (*.csv)"));
    static inline const QString kCsvSemicolonFilter = QString::fromLatin1(
        QT_TRANSLATE_NOOP("DocumentFiles", "CSV, semicolon-separated, decimal comma (*.csv)"));

    DocumentFiles(QWidget* parent, Prompter& prompter, CDTDoc& doc, DataListPanel& list,
                  Configuration& config);

    // Save: asks for the data file's path (a time-stamped name is proposed),
    // then writes it and the text export beside it. True when both were
    // written; false when cancelled or failed (the failure is reported).
    bool save();
    // Continue in a New File: writes the recording and its text export under
    // the names Save proposes, in `folder`, never over an existing file (the
    // next free suffix is taken). The data file's path; empty when it failed
    // (the failure is reported).
    QString saveInto(const QString& folder);
    // Writes the recorded series to `dataPath` and its text export to
    // `textPath` (empty: none). Each file is replaced whole or not at all.
    bool writeFiles(const QString& dataPath, const QString& textPath);

    // Open: asks for a data file and loads it, after offering to save a
    // recording that was not saved yet. True when a file was loaded.
    bool open();
    // Before the recording may go (a load, whose first live frame empties it;
    // Clear All; the end of the program): offers to save it when it holds
    // samples not saved yet. False when the user wanted it saved and that did
    // not happen: everything stays as it was.
    bool offerToSave();
    // Loads `path` into the graph series and lists it. A file that is not a
    // valid data file is reported and changes nothing.
    bool load(const QString& path);

    // Export as CSV: asks for the file (named after the data file the
    // recording was saved to, else after the time) and the kind of CSV (the
    // one of the user's language first), then writes the recorded series.
    // True when it was written; false when cancelled or failed (reported).
    bool exportCsv();

private:
    // The folder the dialogs start in: the last one used, while it exists.
    QString startFolder() const;
    void rememberFolder(const QString& path);
    // Writes the recorded series under the first free of `names` (the data
    // file replaced only where `names` says so). Where it went; nothing when
    // it failed (the failure is reported).
    std::optional<WrittenPair> writeNewFiles(const PairNames& names);
    void reportFailure(const QString& dataPath, const QString& textPath,
                       const DataFilePairFailure& failed);
    // Whether the recording is still the one last saved (a new recording
    // begins with another first sample).
    bool savedRecordingIsCurrent() const;

    QWidget* m_parent;
    Prompter& m_prompter;
    CDTDoc& m_doc;
    DataListPanel& m_list;
    Configuration& m_config;
    // The data file the recording was last saved to, and its first sample's time.
    QString m_strSavedPath;
    std::optional<std::int64_t> m_tSavedFirst;
};
