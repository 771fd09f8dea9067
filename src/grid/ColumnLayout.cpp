#include "grid/ColumnLayout.h"

#include <algorithm>

namespace zevro {

ColumnLayout::ColumnLayout() : columns_(1) {}

int ColumnLayout::clampIndex(int i) const { return std::clamp(i, 0, count() - 1); }

void ColumnLayout::setCount(int n) {
  columns_.resize(static_cast<std::size_t>(std::clamp(n, 1, MaxColumns)));
  if (stretch_ >= count()) stretch_ = -1;
}

void ColumnLayout::fit(int surfaceWidth) {
  if (count() == 1) {
    columns_[0].width = surfaceWidth;
    return;
  }
  if (stretch_ < 0) return;
  int others = 0;
  for (int i = 0; i < count(); ++i) {
    if (i != stretch_) others += std::max(column(i).width, 0);
  }
  column(stretch_).width = std::max(surfaceWidth - others, stretchMin_);
}

int ColumnLayout::nearestFreeBefore(int i) const {
  for (int j = i - 1; j >= 0; --j) {
    if (!column(j).fixed) return j;
  }
  return -1;
}

// A column that would end beyond the grid is shrunk. A fixed one keeps its
// width as long as the nearest free column before it can give the overflow
// (keeping 20 px itself); a free one takes the rest of the grid. The widths
// the owner set stay: a wider window gives the columns their room back.
void ColumnLayout::compute(int gridWidth, int ruleWidth, int scrollBarWidth) {
  const int v = std::max(ruleWidth, 0);
  int edge = 0;
  for (int i = 0; i < count(); ++i) {
    GridColumn& c = column(i);
    int w = c.width;
    if (w < 1 || edge + w > gridWidth) {
      if (c.fixed && w >= 1) {
        int overflow = edge + w - gridWidth;
        const int j = nearestFreeBefore(i);
        if (j >= 0) {
          const int give = std::clamp(column(j).shownWidth - MinGivingWidth, 0, overflow);
          column(j).shownWidth -= give;
          for (int k = j; k < i; ++k) {
            if (k > j) column(k).left -= give;
            column(k).right -= give;
            column(k).edge -= give;
          }
          edge -= give;
          overflow -= give;
        }
        w = std::max(w - overflow, 0);
      } else {
        w = std::max(gridWidth - edge, 0);
      }
    }
    c.shownWidth = w;
    c.left = i == 0 ? 0 : edge + (v - v / 2);
    c.edge = edge + w;
    c.right = std::max(c.edge - v / 2, c.left);
    edge = c.edge;
  }
  if (scrollBarWidth > 0) {
    GridColumn& last = columns_.back();
    last.right = std::max(std::min(last.right, gridWidth - scrollBarWidth - 1), last.left);
  }
}

int ColumnLayout::columnAt(int x) const {
  for (int i = 0; i < count(); ++i) {
    if (x < column(i).right) return i;
  }
  return count() - 1;
}

int ColumnLayout::fontMode() const {
  const auto alt = std::count_if(columns_.begin(), columns_.end(), [](const GridColumn& c) { return c.altFont; });
  if (alt == 0) return 1;
  return alt == count() ? 2 : 3;
}

}  // namespace zevro
