#pragma once

#include <QIcon>
#include <QImage>
#include <QSize>

// The program's own pictures, drawn in code so that the toolbar, the window and
// the desktop entry share one source: flat shapes with a dark outline on a
// transparent ground.

// Size of a toolbar button image.
inline constexpr QSize kToolbarIconSize{32, 22};

// The toolbar image of a command (the ids of ui/window/commandids.h), drawn at
// kToolbarIconSize times scale. A null image for a command without a picture.
QImage toolbarIconImage(int commandId, qreal scale = 1.0);

// The toolbar icon of a command, drawn at the size and screen scale it is
// shown at. An empty icon for a command without a picture.
QIcon toolbarIcon(int commandId);

// The program's picture, an infrared thermometer aimed at a spot, size x size.
QImage programIconImage(int size);

// The sizes the program's icon is drawn at.
inline constexpr int kProgramIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// The program's icon: it offers every size of kProgramIconSizes and draws one
// when it is asked for.
QIcon programIcon();
