#pragma once
// Lengths of the program's own dialogs are worked out in twips (1/1440 inch),
// the unit window geometry is kept in; a window turns them into pixels only
// when it places its controls. At 96 dpi one pixel is 15 twips.
#include <functional>

#include "core/Text.h"

namespace zevro {

// A rectangle in twips: {3000, 1500, 4800, 1410} is 4800 wide and 1410 high
// with its top-left corner 3000 from the left and 1500 from the top.
struct TwipRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  int right() const { return left + width; }
  int bottom() const { return top + height; }
  bool operator==(const TwipRect&) const = default;
};

// What the window frame adds around the client area (title bar, borders):
// window size minus client size, like {120, 450} for a framed dialog, or
// {0, 0} when nothing is known.
struct FrameSize {
  int width = 0;
  int height = 0;
};

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

// Twips <-> pixels at a logical resolution in dots per inch:
//   twipsToPixels(4800, 96) -> 320,  pixelsToTwips(320, 96) -> 4800.
inline int twipsToPixels(int twips, int dpi) { return twips * dpi / 1440; }
inline int pixelsToTwips(int pixels, int dpi) { return dpi > 0 ? pixels * 1440 / dpi : pixels * 15; }
// The whole twips one pixel takes: 96 dpi -> 15, 120 dpi -> 12.
inline int twipsPerPixel(int dpi) { return dpi > 0 ? 1440 / dpi : 15; }

}  // namespace zevro
