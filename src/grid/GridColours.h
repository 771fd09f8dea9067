#pragma once
// Which colour each part of a grid row is painted in: the decisions of a
// paint, apart from the drawing itself.
//
// Example: with text colour mode 1 a level-2 folder row (colour index 3) of a
// grid with the default level colours is drawn in 0xA820B0; the same row
// selected is drawn in the selection text colour (0x8000000E), and as the
// cursor cell in the cursor text colour.
#include "grid/GridSettings.h"

namespace zevro {

// What the colour decisions need to know of one display row.
struct RowLook {
  int displayRow = 0;
  int level = 0;
  int colourIndex = 0;
  int highlight = 0;
  bool selected = false;
  int line = 0;  // display row - top row (for the gradient)
  int visibleRows = 1;
};

namespace gridcolours {

// Grey lines (0x808080) on mid-bright backgrounds, light grey (0xC0C0C0) on
// white and dark ones: L = R + 2G + 2B between 769 and 1088 is mid-bright.
Colour treeLine(Colour background);

// Background of a row (of `column` in the column mode); a selected row is
// filled in the selection background unless the selection mode is off.
Colour rowBackground(const GridSettings& s, const RowLook& row, int column);

// Whether the background depends on the column (one fill per column).
inline bool backgroundPerColumn(const GridSettings& s) { return s.backgroundMode == BackgroundMode::Columns; }

// Text colour of a cell: the cursor cell, then a selected row, then the
// colour column, then the row colour of the text colour mode.
Colour cellText(const GridSettings& s, const RowLook& row, int column, bool cursorCell);

// Fill of the cursor cell over `background` (the colour the cell was
// painted in), or NoColour. When the cursor colour is the selection
// background on a selected row without outline the cell would vanish, so it
// is filled in the inverse of the background instead.
Colour cursorFill(const GridSettings& s, bool rowSelected, Colour background);

// Each component lowered by `by`, not below 0 (the dark side of embossed rules).
Colour darker(Colour c, int by);
// The inverse colour (each component 255 - value).
Colour inverse(Colour c);

}  // namespace gridcolours
}  // namespace zevro
