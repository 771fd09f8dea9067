#pragma once
// Lengths of the program's own dialogs are worked out in twips, the unit
// window geometry is kept in (core/Geometry.h); a window turns them into
// pixels only when it places its controls.
#include <functional>

#include "core/Geometry.h"
#include "text/Text.h"

namespace zevro {

// The measures of the dialog font, all in twips. The window fills them from
// its font; tests hand in fixed numbers.
struct DialogMetrics {
  // The drawn width of a text in the normal or the bold face, like
  // ("OK", false) -> 240. Never called with control characters.
  std::function<int(TextView text, bool bold)> textWidth;
  int textHeight = 0;  // the height of "A": a 16-pixel font line -> 240
  int twipsPerPixelX = 15;
  int twipsPerPixelY = 15;
};

}  // namespace zevro
