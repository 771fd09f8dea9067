#include "grid/ItemBarDrag.h"

#include <algorithm>

namespace zevro {

// The press looks at the first column whose boundary lies at or beyond x:
// near that boundary it is the column's own right boundary, near the column's
// left side the boundary of the column before it. Both neighbours of a
// boundary must be free, whichever side the press comes from, so that fixed
// columns (dates, sizes) keep their width.
int ItemBarDrag::draggableAt(const ColumnLayout& columns, int x) {
  const int n = columns.count();
  int i = 0;
  while (i < n && columns.column(i).edge < x) ++i;
  if (i == n) return -1;
  int j = -1;
  if (columns.column(i).edge - x <= Zone) {
    j = i;
  } else if (i > 0 && x - columns.column(i).left <= Zone) {
    j = i - 1;
  }
  if (j < 0 || j + 1 >= n) return -1;
  if (columns.column(j).fixed || columns.column(j + 1).fixed) return -1;
  return j;
}

bool ItemBarDrag::press(const ColumnLayout& columns, int x, int barWidth) {
  column_ = draggableAt(columns, x);
  if (column_ < 0) return false;
  low_ = columns.column(column_).left + Keep;
  high_ = std::min(columns.column(column_ + 1).right - Keep, barWidth);
  high_ = std::max(high_, low_);
  guide_ = std::clamp(x, low_, high_);
  return true;
}

void ItemBarDrag::move(int x) {
  if (!dragging()) return;
  guide_ = std::clamp(x, low_, high_);
}

bool ItemBarDrag::release(ColumnLayout& columns, int x) {
  if (!dragging()) return false;
  move(x);
  const int j = column_;
  column_ = -1;
  GridColumn& resized = columns.column(j);
  int diff = guide_ - columns.edgeBefore(j) - resized.shownWidth;
  int k = j + 1;
  while (k < columns.count() && columns.column(k).fixed) ++k;
  if (k < columns.count()) {
    GridColumn& next = columns.column(k);
    diff = std::min(diff, next.shownWidth - MinNext);
    if (next.width >= 1) next.width = next.shownWidth - diff;
  }
  resized.width = resized.shownWidth + diff;
  return true;
}

}  // namespace zevro
