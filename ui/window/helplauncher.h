#pragma once

#include "core/result.h"

#include <QString>

#include <functional>

class QObject;

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

// Told, with a message for the user, when the viewer that was started says
// soon after that it could not show the help.
using HelpFailed = std::function<void(const QString& message)>;

// Hands the help file to the desktop's viewer for compiled help without
// waiting for it; when the desktop has none, hands it the first HTML page
// instead (its browser). Fails with a message for the user that names the
// file when the file is missing or nothing can show it. When xdg-open then
// fails (no viewer and no browser), `failed` is called while `context` lives,
// with a message that names the folder of the HTML pages.
Result<void, QString> openHelpFile(const QString& chmFile, QObject* context = nullptr,
                                   HelpFailed failed = {});

// openHelpFile(helpFilePath(), ...).
Result<void, QString> openHelp(QObject* context = nullptr, HelpFailed failed = {});
