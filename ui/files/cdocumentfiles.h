#pragma once

#include <QString>

class CDTDoc;
class CDataListPanel;
class Prompter;
class QWidget;

// Save and Open of the document: the data file with its text export, and the
// loading of a data file into the graph and the list.
class CDocumentFiles {
public:
    static inline const QString kFilter = QStringLiteral("ZavoDezuza Files (*.DovDat)");
    static inline const QString kSuffix = QStringLiteral("DovDat");
    static constexpr qint64 kMaxFileSize = 1 << 20;

    CDocumentFiles(QWidget* parent, Prompter& prompter, CDTDoc& doc, CDataListPanel& list);

    // Save: asks for the data file's path (a time-stamped name is proposed),
    // then writes it and the text export beside it. True when both were
    // written; false when cancelled or failed (the failure is reported).
    bool save();
    // Writes the recorded series to `dataPath` and its text export to
    // `textPath` (empty: none). Each file is replaced whole or not at all.
    bool writeFiles(const QString& dataPath, const QString& textPath);

    // Open: asks for a data file and loads it, after offering to save a
    // recording that was not saved yet. True when a file was loaded.
    bool open();
    // Before a load: offers to save a recording that was not saved yet (the
    // first live frame after the load empties it). False when the user wanted
    // it saved and that did not happen.
    bool offerToSave();
    // Loads `path` into the graph series and lists it. A file that is not a
    // valid data file is reported and changes nothing.
    bool load(const QString& path);

    // The generic document commands of the accelerators: Ctrl+S saves the data
    // file only, asking for a path the first time; Ctrl+O loads any file into
    // the graph and the list as Open does; Ctrl+N starts a new untitled
    // document.
    bool saveDocument();
    bool openDocument();
    void newDocument();
    QString documentPath() const { return m_strDocumentPath; }

private:
    QWidget* m_parent;
    Prompter& m_prompter;
    CDTDoc& m_doc;
    CDataListPanel& m_list;
    QString m_strDocumentPath; // the file Ctrl+S saves to, once chosen
};
