#pragma once
// What a grid operation changed and what the window must draw again.
// Rows and cells are display rows, so a window that first moves the painted
// pixels by `scrolled` rows and then redraws `rows` and `cells` at their
// current places is right whatever order the changes happened in.
//
// Example: the cursor moving down from row 9 to 10 at the bottom of a view
// whose top row goes from 0 to 1 gives
//   {cursorMoved: true, scrolled: 1, cells: {{0, 9}, {0, 10}}}.
#include <vector>

namespace zevro {

struct GridCell {
  int column = 0;
  int row = 0;  // display row
  bool operator==(const GridCell&) const = default;
};

struct GridUpdate {
  bool cursorMoved = false;
  bool selectionChanged = false;
  bool picked = false;          // item bar: a column title was picked (no resize drag)
  bool full = false;            // every visible row must be painted again
  bool itemBar = false;         // the column titles must be drawn again
  bool layout = false;          // row count, row height or columns changed: scroll range and geometry
  int scrolled = 0;             // the view moved by this many rows (positive: towards the end)
  std::vector<int> rows;        // display rows to draw again
  std::vector<GridCell> cells;  // cells to draw again

  bool empty() const {
    return !cursorMoved && !selectionChanged && !picked && !full && !itemBar && !layout && scrolled == 0 &&
           rows.empty() && cells.empty();
  }

  // Takes in what a later step changed.
  GridUpdate& merge(const GridUpdate& later) {
    cursorMoved |= later.cursorMoved;
    selectionChanged |= later.selectionChanged;
    picked |= later.picked;
    full |= later.full;
    itemBar |= later.itemBar;
    layout |= later.layout;
    scrolled += later.scrolled;
    rows.insert(rows.end(), later.rows.begin(), later.rows.end());
    cells.insert(cells.end(), later.cells.begin(), later.cells.end());
    return *this;
  }
};

}  // namespace zevro
