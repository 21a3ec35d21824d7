#pragma once

#include <QString>

// The help file "help.chm" lives in the folder of the program, and the same
// pages as plain HTML in its "help" subfolder, for desktops without a viewer
// for compiled help. The program may be started through a symbolic link (an
// installed program sits in a folder of its own with a link on the PATH), so
// the link is followed to the real file.

// The file `name` in the folder of the given program file, after following links.
QString fileBesideProgram(const QString& programFile, const QString& name);

// The help file beside the given program file, after following links.
QString helpFileBeside(const QString& programFile);

// The help file beside the running program.
QString helpFilePath();

// The first page of the HTML help that goes with a help file.
QString helpPagesFor(const QString& chmFile);

// Hands the help file to the desktop's viewer for compiled help without
// waiting for it; when the desktop has none, hands it the first HTML page
// instead (its browser). False, with a message for the user in *error that
// names the file, when the file is missing or nothing can show it.
bool openHelpFile(const QString& chmFile, QString* error);

// openHelpFile(helpFilePath(), error).
bool openHelp(QString* error);
