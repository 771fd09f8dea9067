#pragma once
// One column of a grid. Column i shows field i of each row.
//
// A main-window date column looks like
//   {width: 96, title: u"Date", align: Centre, fixed: true, defaultSort: 1}
// and after the layout of a 600 px grid with 1 px rules, as the third column
// after widths 200 and 304: left 505, right 600, edge 600.
#include "text/Text.h"

namespace zevro {

enum class ColumnAlign : int { Left = 0, Right = 1, Centre = 2 };

struct GridColumn {
  int width = 100;  // pixels; below 1 on the last column: the rest of the width
  Text title;       // drawn centred in the item bar, "&" as it is
  Text tooltip;     // shown while the pointer is over the title
  ColumnAlign align = ColumnAlign::Left;
  bool wordWrap = false;  // the cell text is broken into lines at words
  bool fixed = false;     // the boundary cannot be dragged; never gives or takes width
  bool altFont = false;   // drawn in the alternate font
  int defaultSort = 2;    // the sort kind a first click on the title selects

  // Set by the layout (pixels from the grid's left edge).
  int left = 0;        // where the cell area starts
  int right = 0;       // where it ends (exclusive)
  int edge = 0;        // the column boundary
  int shownWidth = 0;  // the width the layout gave it
};

}  // namespace zevro
