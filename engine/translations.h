#pragma once

#include <QLocale>

class QCoreApplication;

// Puts the program's texts into the user's language, as the locale says
// (LANGUAGE, LC_ALL, LC_MESSAGES, LANG): Orvane's own translation, which the
// program carries, and Qt's (its standard buttons and dialogs) when the system
// has it. English, the texts of the sources, when there is no translation.
// The instrument face's texts and the file formats are never translated.
// True when Orvane's own translation was found.
bool installTranslations(QCoreApplication& app, const QLocale& locale = QLocale());
