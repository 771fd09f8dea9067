#pragma once
// The tree connector lines and expand boxes of one row in column 0.
//
// A row at indent x (level * indent per level + 6) has its connector at
// c = x - 11 and its middle at row top + (row height - rule - emboss) / 2:
//   - a vertical line at c from above the row (row top - icon offset - 3)
//     down to the middle for the last of its siblings, else to the row bottom;
//   - a horizontal line from c to c + 13 at the middle;
//   - for each ancestor level further left (x - k * indent per level while
//     that is more than 8) a full-height line when that ancestor has a later
//     sibling;
//   - a line from the middle down at c + indent per level when the row's
//     children are shown (flags 1 without 8);
//   - an expand box 9 x 9 around (c, middle) when the row has children, with
//     a plus when collapsed.
// The title line (display row 0) draws only a short stub at its first
// child's connector, from row bottom - icon offset to the row bottom.
// Nothing is drawn at or right of Right(0); a row whose indent leaves no room
// before Right(0) draws neither its own lines nor its box.
#include <vector>

namespace zevro {

struct TreeLineSegment {
  int x1 = 0;
  int y1 = 0;
  int x2 = 0;  // inclusive end (x1 == x2 or y1 == y2)
  int y2 = 0;
  bool operator==(const TreeLineSegment&) const = default;
};

struct TreeBox {
  int cx = 0;  // centre of the 9 x 9 box
  int cy = 0;
  bool plus = false;  // collapsed: a plus, else a minus
  bool operator==(const TreeBox&) const = default;
};

struct TreeGeometry {
  int indentPerLevel = 16;
  int right0 = 0;  // Right(0)
  int rowHeight = 14;
  int ruleWidth = 0;  // horizontal rule width when rules are on
  int emboss = 0;     // 1 in the embossed style
  int iconHeight = 16;
};

// One row's part of the drawing.
struct TreeRowInput {
  int indent = 6;
  int level = 0;
  int flags = 0;   // display flags
  int rowTop = 0;  // y of the row on the surface
  bool titleRow = false;
  bool hasShownChild = false;  // title row: a deeper display row follows
  // continues[l]: the ancestor at level l has a later sibling (index by level).
  const bool* continues = nullptr;
  int continuesSize = 0;
};

class TreeLines {
public:
  static constexpr int ConnectorOffset = 11;
  static constexpr int ConnectorLength = 13;
  static constexpr int BoxHalf = 4;
  static constexpr int MinAncestorX = 8;

  explicit TreeLines(const TreeGeometry& g) : g_(g) {}

  // Appends the lines and the box (if any) of one row.
  void plan(const TreeRowInput& row, std::vector<TreeLineSegment>& lines, std::vector<TreeBox>& boxes) const;

  int middleOf(int rowTop) const { return rowTop + (g_.rowHeight - g_.ruleWidth - g_.emboss) / 2; }
  int iconOffset() const { return (g_.rowHeight - g_.ruleWidth - g_.iconHeight) / 2; }

private:
  void vertical(int x, int y1, int y2, std::vector<TreeLineSegment>& lines) const;

  TreeGeometry g_;
};

}  // namespace zevro
