#pragma once
// The pictures of the main window, drawn by the program itself: the
// released and pressed images of the toolbar and pane buttons (the icons of
// the grids are IconStrip's).
#include <QPixmap>

#include "listview/MainMenu.h"

namespace zevro::mainimages {

inline constexpr int ButtonSize = 24;

// The image of a button: `pressed` gives its "Off" look (sunk and darker).
// An empty pixmap for commands without an image.
QPixmap buttonImage(Command command, bool pressed);

}  // namespace zevro::mainimages
