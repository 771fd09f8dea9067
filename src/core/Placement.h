#pragma once
// Where a tool window opens beside the window that owns it, as plain
// geometry: the window only applies the answer. Also the colour count of a
// screen mode, shown by the system information.
#include <cstdint>

#include "core/Geometry.h"

namespace zevro {

struct Placement {
  Rect rect;               // in pixels
  bool keepOnTop = false;  // the owner is maximized, so the window would vanish behind it
};

// Places window beside owner inside screen (the usable area). Only the
// position changes, except in modes 2 and more, which also set the width.
//   mode 1: centred on the owner.
//   mode 0 (and below 0): below the owner, left edges aligned; else above it;
//     else right of it at its top; else at its left edge at the screen top.
//   mode 2 or more: right of the owner at its top, mode units wide (the
//     window's own width when the owner is maximized); else left of it; else
//     below it; else against the owner on the side with more room, narrowed
//     to that room. With no room on either side it overlaps the owner at the
//     screen's right edge rather than shrinking to nothing.
// An owner whose top is above 0 counts as starting at 0.
Placement placeBesideOwner(const Rect& window, const Rect& owner, const Rect& screen, int mode, bool ownerMaximized);

// The window moved (not resized) so that it lies on the screen, its top-left
// corner first when it is larger than the screen:
//   keptOnScreen({1800, -20, 400, 300}, {0, 0, 1920, 1080}) == {1520, 0, 400, 300}
Rect keptOnScreen(const Rect& window, const Rect& screen);

// 2 to the power of min(bitsPerPixel, 24), times the number of planes:
//   (8, 1) -> 256,  (32, 1) -> 16777216,  (4, 4) -> 64.
std::int64_t screenColours(int bitsPerPixel, int planes);

}  // namespace zevro
