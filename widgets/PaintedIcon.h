#pragma once

#include <QIcon>
#include <QPixmap>

// The program's own pictures, drawn as vectors so they stay crisp at every size and screen scale:
// the toolbar commands, the handheld radio that marks the program's windows and the tiled background.
namespace PaintedIcon {

enum class Kind { New, Open, Save, Read, Write, Print, About, Radio, Close };

// Our drawing of kind at any size; disabled buttons get a faded copy.
QIcon Icon(Kind kind);
// The desktop theme's icon of that name where the desktop has one, else ours.
QIcon ThemedIcon(const char *themeName, Kind kind);
// The built-in background tile, 238 x 157 pixels.
QPixmap BackgroundTile();

} // namespace PaintedIcon
