#pragma once
// Rectangles and the twips they are mostly measured in. Window geometry is
// kept in twips (1/1440 inch) in the option store and worked out in twips by
// the window logic; a window turns it into pixels only when it places itself
// or its controls. At 96 dpi one pixel is 15 twips.

namespace zevro {

// A rectangle in twips or in pixels, as its owner says; right() and bottom()
// are the first column and row outside it: {3000, 1500, 4800, 1410} is 4800
// wide and 1410 high with its top-left corner 3000 from the left and 1500
// from the top.
struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  int right() const { return left + width; }
  int bottom() const { return top + height; }
  bool operator==(const Rect&) const = default;
};

// What the window frame adds around the client area (title bar, borders):
// window size minus client size, like {120, 450} for a framed dialog, or
// {0, 0} when nothing is known.
struct FrameSize {
  int width = 0;
  int height = 0;
};

// Twips <-> pixels at a logical resolution in dots per inch:
//   twipsToPixels(4800, 96) -> 320,  pixelsToTwips(320, 96) -> 4800.
inline int twipsToPixels(int twips, int dpi) { return twips * dpi / 1440; }
inline int pixelsToTwips(int pixels, int dpi) { return dpi > 0 ? pixels * 1440 / dpi : pixels * 15; }
// The whole twips one pixel takes: 96 dpi -> 15, 120 dpi -> 12.
inline int twipsPerPixel(int dpi) { return dpi > 0 ? 1440 / dpi : 15; }

}  // namespace zevro
