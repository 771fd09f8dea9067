#pragma once
// Resizing columns by dragging a boundary in the item bar.
//
// A boundary between columns j and j + 1 can be dragged when neither column
// is fixed; the press must come within 10 px of it (from either side). The
// guide line then follows the pointer within [Left(j) + 80, Right(j+1) - 80]
// (and never beyond the bar). On release column j ends at the guide line;
// column j + 1 gives or takes the difference but keeps at least 20 px.
//
// Columns 0..2 with Edges 200, 400, 600 (widths 200 each, free): a press at
// x 395 starts a drag of column 1 with range [281, 520]; a release at x 450
// makes the widths 200, 250, 150.
#include "grid/ColumnLayout.h"

namespace zevro {

class ItemBarDrag {
public:
  static constexpr int Zone = 10;     // how near a boundary the pointer must be
  static constexpr int Keep = 80;     // the guide stops this far short of either neighbour
  static constexpr int MinNext = 20;  // the column after the boundary keeps at least this much

  // The column whose right boundary can be dragged from x, or -1.
  static int draggableAt(const ColumnLayout& columns, int x);

  // Starts a drag when x is at a draggable boundary; false otherwise.
  bool press(const ColumnLayout& columns, int x, int barWidth);
  // Moves the guide line (clamped to the drag range) while dragging.
  void move(int x);
  // Ends the drag and gives the columns their new widths; false when no
  // drag was under way.
  bool release(ColumnLayout& columns, int x);
  void cancel() { column_ = -1; }

  bool dragging() const { return column_ >= 0; }
  int column() const { return column_; }  // the column being resized
  int guideX() const { return guide_; }
  int low() const { return low_; }
  int high() const { return high_; }

private:
  int column_ = -1;
  int guide_ = 0;
  int low_ = 0;
  int high_ = 0;
};

}  // namespace zevro
