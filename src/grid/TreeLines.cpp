#include "grid/TreeLines.h"

#include <algorithm>

#include "core/CatalogList.h"

namespace zevro {

void TreeLines::vertical(int x, int y1, int y2, std::vector<TreeLineSegment>& lines) const {
  if (x < 0 || x >= g_.right0 || y2 < y1) return;
  lines.push_back({x, y1, x, y2});
}

void TreeLines::plan(const TreeRowInput& row, std::vector<TreeLineSegment>& lines, std::vector<TreeBox>& boxes) const {
  const int ipl = g_.indentPerLevel;
  if (ipl <= 0) return;
  const int bottom = row.rowTop + g_.rowHeight - 1;
  if (row.titleRow) {
    if (row.hasShownChild) vertical(row.indent + ipl - ConnectorOffset, bottom - iconOffset(), bottom, lines);
    return;
  }
  const int mid = middleOf(row.rowTop);
  for (int k = 1; row.indent - k * ipl > MinAncestorX; ++k) {
    const int level = row.level - k;
    if (level < 0) break;
    const bool continues = level < row.continuesSize && row.continues[level];
    if (continues) vertical(row.indent - k * ipl - ConnectorOffset, row.rowTop, bottom, lines);
  }
  if (row.indent >= g_.right0) return;  // no room for the row's own lines
  const int c = row.indent - ConnectorOffset;
  const bool last = (row.flags & catalog::TreeLast) != 0;
  vertical(c, row.rowTop - iconOffset() - 3, last ? mid : bottom, lines);
  if (c < g_.right0 && c + ConnectorLength >= 0) {
    lines.push_back({std::max(c, 0), mid, std::min(c + ConnectorLength, g_.right0 - 1), mid});
  }
  const int open = row.flags & (catalog::TreeHasChildren | catalog::TreeCollapsed);
  if (open == catalog::TreeHasChildren) vertical(c + ipl, mid, bottom, lines);
  if ((row.flags & catalog::TreeHasChildren) != 0 && c + BoxHalf < g_.right0) {
    boxes.push_back({c, mid, (row.flags & catalog::TreeCollapsed) != 0});
  }
}

}  // namespace zevro
