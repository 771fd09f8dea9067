#pragma once
// The pictures of the main window, drawn by the program itself: the
// released and pressed images of the toolbar and pane buttons, and the
// small icon strip of the grids (folder, the three kinds of media, archive
// folder, file) until a strip of file-type icons takes its place.
#include <QImage>
#include <QPixmap>

#include <vector>

#include "listview/MainMenu.h"

namespace zevro::mainimages {

inline constexpr int ButtonSize = 24;
inline constexpr int IconSize = 16;
inline constexpr int IconCount = 6;

// The image of a button: `pressed` gives its "Off" look (sunk and darker).
// An empty pixmap for commands without an image.
QPixmap buttonImage(Command command, bool pressed);

// The strip in the program's form (each cell the picture beside its mask,
// 32 x 16 per icon): 1 folder, 2 CD, 3 floppy, 4 hard disk, 5 folder in an
// archive, 6 file.
QImage iconStrip();
// Kind code -> icon of the strip: 1..5 as they are, every file kind the file.
std::vector<int> iconMap();

}  // namespace zevro::mainimages
