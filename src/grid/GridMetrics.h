#pragma once
// Row geometry of a grid, from the measured text height (Grid_MeasureRows).
//
// Text height 12 px, spacing 2, a 1 px horizontal rule and a 300 px surface:
// margins 1 and 1, line height 14, row height 15, 20 visible rows.
// Spacing 6: margins 2 and 2 (half the spacing is more than 2).
namespace zevro {

struct GridMetrics {
  int textHeight = 12;  // height of "A" in the normal font
  int topMargin = 1;
  int bottomMargin = 1;
  int lineHeight = 14;  // text height + spacing
  int rowHeight = 14;   // line height + rule width + 1 in the embossed style
  int visibleRows = 1;  // whole rows that fit, at least 1

  // `ruleWidth` is the horizontal rule width when rules are on, else 0;
  // `surfaceHeight` the pixels below the item bar.
  static GridMetrics measure(int textHeight, int spacing, int ruleWidth, bool embossed, int surfaceHeight);

  // The height one row needs (the grid never shows fewer).
  int minimumSurfaceHeight() const { return rowHeight; }
};

}  // namespace zevro
