#pragma once
// The columns of a grid and where they lie (Grid_ComputeColumns).
//
// With rule width v the cells of column i run from Left(i) = Edge(i-1) +
// (v - v/2) to Right(i) = Edge(i) - v/2, Edge(i) = Edge(i-1) + width(i),
// Left(0) = 0. Widths 200, 100 and a last width 0 in a 500 px grid with
// v = 1 give Edges 200, 300, 500, Lefts 0, 201, 301 and Rights 200, 300, 500.
#include <vector>

#include "grid/GridColumn.h"

namespace zevro {

class ColumnLayout {
public:
  static constexpr int MaxColumns = 10;
  static constexpr int MinGivingWidth = 20;  // a column giving room to a fixed one keeps this much
  static constexpr int TextInset = 4;        // text keeps this far from the cell's sides
  static constexpr int MinStretchWidth = 2;

  ColumnLayout();

  int count() const { return static_cast<int>(columns_.size()); }
  // 1 to 10 columns; new ones get the default settings.
  void setCount(int n);
  GridColumn& column(int i) { return columns_[static_cast<std::size_t>(clampIndex(i))]; }
  const GridColumn& column(int i) const { return columns_[static_cast<std::size_t>(clampIndex(i))]; }

  // The stretch column takes whatever the others leave of the surface
  // width, at least `minWidth` px (2 unless the owner keeps more); -1 for none.
  int stretchColumn() const { return stretch_; }
  void setStretchColumn(int i, int minWidth = MinStretchWidth) {
    stretch_ = i >= 0 && i < count() ? i : -1;
    stretchMin_ = minWidth;
  }

  // Fits the widths to a surface `surfaceWidth` px wide: one column takes
  // all of it, a stretch column the rest. Then computes every Left, Right and
  // Edge for a grid `gridWidth` px wide; when `scrollBarWidth` > 0 (the rows
  // do not all fit) the last column ends before the scroll bar.
  void fit(int surfaceWidth);
  void compute(int gridWidth, int ruleWidth, int scrollBarWidth);

  // The column whose span [Right(i-1), Right(i)) holds x, Right(-1) = 0; the
  // last column when x lies beyond.
  int columnAt(int x) const;
  // Edge of the column before i (0 for column 0).
  int edgeBefore(int i) const { return i <= 0 ? 0 : column(i - 1).edge; }
  // The text of column i runs from Left + 4 to Right - 4.
  int textLeft(int i) const { return column(i).left + TextInset; }
  int textRight(int i) const { return column(i).right - TextInset; }
  // True when any / every column uses the alternate font: font mode 1 all
  // normal, 2 all alternate, 3 mixed.
  int fontMode() const;

private:
  int clampIndex(int i) const;
  int nearestFreeBefore(int i) const;

  std::vector<GridColumn> columns_;
  int stretch_ = -1;
  int stretchMin_ = MinStretchWidth;
};

}  // namespace zevro
