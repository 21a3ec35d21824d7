#pragma once

#include <QString>

// The help file "help.chm" lives in the folder of the program. The program may
// be started through a symbolic link (an installed program sits in a folder of
// its own with a link on the PATH), so the link is followed to the real file.

// The help file beside the given program file, after following links.
QString helpFileBeside(const QString& programFile);

// The help file beside the running program.
QString helpFilePath();

// Hands the help file to the desktop's viewer without waiting for it. False,
// with a message for the user in *error that names the file, when the file is
// missing or no viewer for compiled help files can be started.
bool openHelpFile(const QString& chmFile, QString* error);

// openHelpFile(helpFilePath(), error).
bool openHelp(QString* error);
