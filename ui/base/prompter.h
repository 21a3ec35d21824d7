#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The program's message boxes, all captioned "Orvane". Tests put a recording
// prompter in its place so that nothing waits for a click.
class Prompter {
public:
    virtual ~Prompter() = default;
    virtual void information(QWidget* parent, const QString& text);
    virtual void warning(QWidget* parent, const QString& text);
    // A Yes/No question that only Yes or No answers; true for Yes.
    virtual bool askYesNo(QWidget* parent, const QString& text);
    // File dialogs: the chosen path, or an empty string when cancelled.
    // `filter` is a name filter such as "ZavoDezuza Files (*.DovDat)". A
    // proposed name with a folder, or `folder`, is where the dialog starts
    // (empty: the current folder).
    virtual QString saveFileName(QWidget* parent, const QString& proposed, const QString& filter,
                                 const QString& defaultSuffix);
    virtual QString openFileName(QWidget* parent, const QString& folder, const QString& filter,
                                 const QString& defaultSuffix);
    // A save dialog that offers a choice of `filters`: `chosen` is the one
    // selected at first, and the one the user took when a path is returned.
    virtual QString saveFileNameAs(QWidget* parent, const QString& proposed,
                                   const QStringList& filters, int& chosen,
                                   const QString& defaultSuffix);
    // A folder dialog titled `title` starting in `folder`: the chosen folder,
    // or an empty string when cancelled.
    virtual QString folderName(QWidget* parent, const QString& title, const QString& folder);
};
