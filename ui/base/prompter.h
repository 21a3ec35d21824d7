#pragma once

#include <QString>

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
    // `filter` is a name filter such as "ZavoDezuza Files (*.DovDat)".
    virtual QString saveFileName(QWidget* parent, const QString& proposed, const QString& filter,
                                 const QString& defaultSuffix);
    virtual QString openFileName(QWidget* parent, const QString& filter,
                                 const QString& defaultSuffix);
};
