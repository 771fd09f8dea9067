#pragma once
// The grid engine: everything a list of the program does apart from drawing
// pixels. It shows a row store (display order, selection marks and display
// flags live there) through up to ten columns, keeps the cell cursor, the
// top row, the selection anchor and the column layout, and turns keys,
// clicks and item-bar drags into state changes. Each operation answers with
// a GridUpdate: whether the cursor moved or the selection changed, and what
// must be drawn again. A window draws what the model says; tests drive it
// without a display.
//
// Geometry is in pixels: the grid is gridWidth() wide (the item bar's width,
// the scroll bar included when it shows) and its surface surfaceHeight()
// high below the item bar. y = 0 is the top of the first visible row.
//
// A main-window folder grid is set up like this:
//   RowStore list;                        // the catalog, filled elsewhere
//   GridModel grid(list);
//   grid.Grid_Init();
//   grid.columns().setCount(4);           // name, comment, date, size
//   grid.columns().setStretchColumn(1);
//   grid.settings().treeMode = true;
//   grid.setTextHeight(13);               // measured by the window
//   grid.Grid_Layout(800, 400);
#include <cstdint>
#include <span>
#include <vector>

#include "core/RowStore.h"
#include "grid/ColumnLayout.h"
#include "grid/GridMetrics.h"
#include "grid/GridSettings.h"
#include "grid/GridUpdate.h"
#include "grid/ItemBarDrag.h"
#include "grid/TreeLines.h"
#include "text/Text.h"

namespace zevro {

// A rectangle on the surface, right and bottom exclusive.
struct GridRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const GridRect&) const = default;
};

// The icon strip as the grid knows it: icon i (1-based, the row's kind code)
// is the i-th cell of the strip; `map` (when not empty) turns a kind code
// into the icon number first.
struct GridIcons {
  int count = 0;
  int sourceWidth = 0;
  int sourceHeight = 0;
  int width = 0;  // as drawn
  int height = 0;
  std::vector<int> map;
};

class GridModel {
public:
  static constexpr int InitialRows = RowStore::DefaultCapacity;
  static constexpr int BaseIndent = RowStore::BaseIndent;

  explicit GridModel(RowStore& store);

  RowStore& store() { return *store_; }
  const RowStore& store() const { return *store_; }
  GridSettings& settings() { return settings_; }
  const GridSettings& settings() const { return settings_; }
  ColumnLayout& columns() { return columns_; }
  const ColumnLayout& columns() const { return columns_; }
  const GridMetrics& metrics() const { return metrics_; }
  const GridIcons& icons() const { return icons_; }

  // ---- Set-up ----
  // Every setting to its default; one column. Runs once by itself on the
  // first Grid_Clear or Grid_Layout.
  void Grid_Init();
  bool initialised() const { return initialised_; }
  // Empties the grid: no rows, no selection, room for 500 rows, top row,
  // cursor and sorted column 0, anchor -1. Sort kind and settings stay.
  GridUpdate Grid_Clear();
  // Adds room for `rows` more rows (the store reports a failure).
  bool Grid_ExpandListSize(int rows);
  // Closes a run of appended rows: the last display row and each of its
  // ancestors deeper than `lowestLevel` become the last of their siblings.
  void Grid_FinishRows(int lowestLevel);
  // Rows were appended since the last Grid_FinishRows.
  bool pendingRows() const { return store_->rowCount() != finishedRows_; }

  // ---- Geometry ----
  // The text height of "A" in the normal font, measured by the window
  // whenever the font changes; Grid_MeasureRows uses it.
  void setTextHeight(int px) { textHeight_ = px; }
  // Width of the vertical scroll bar that shows when the rows do not fit.
  void setScrollBarWidth(int px) { scrollBarWidth_ = px; }
  int scrollBarWidth() const { return scrollBarWidth_; }
  // New size (negative keeps a value): measures rows, fits and lays out the
  // columns, refreshes.
  GridUpdate Grid_Layout(int width, int surfaceHeight);
  void Grid_MeasureRows();
  void Grid_ComputeColumns();
  // Icon size as drawn (the source size, made smaller to fit the line) and
  // the indent per level (icon width + 2) from an icon strip.
  GridUpdate Grid_SetIcons(int count, int sourceWidth, int sourceHeight, std::vector<int> map = {});
  // Font settings: size 0 and italic 9 keep the current value. The window
  // measures the new text height and calls Grid_MeasureRows.
  void Grid_SetFont(TextView name, double size, int bold, int italic);
  void Grid_SetAltFont(TextView name, double size, int bold, int italic);
  // Marks a column for the alternate font; answers the font mode (1 all
  // normal, 2 all alternate, 3 mixed).
  int Grid_SetColumnFont(int column, bool alternate);

  int gridWidth() const { return gridWidth_; }
  int surfaceHeight() const { return surfaceHeight_; }
  // The rows do not all fit: the scroll bar shows.
  bool needsScrollBar() const { return rowCount() > metrics_.visibleRows; }
  // Width of the row area: the grid less the scroll bar when it shows.
  int surfaceWidth() const { return gridWidth_ - (needsScrollBar() ? scrollBarWidth_ : 0); }
  // Height the grid needs at least (one row, however low the window).
  int minimumSurfaceHeight() const { return metrics_.minimumSurfaceHeight(); }

  // ---- State ----
  int rowCount() const { return store_->shownCount(); }
  int topRow() const { return top_; }
  int cursorRow() const { return cursorRow_; }
  int cursorColumn() const { return cursorColumn_; }
  int anchorRow() const { return anchor_; }
  int visibleRows() const { return metrics_.visibleRows; }
  int lastTopRow() const;  // the largest top row: rows - visible rows, at least 0
  int indentPerLevel() const { return store_->indentWidth(); }
  // Sort state (the sort itself belongs to the tree display).
  int sortKind() const { return sortKind_; }
  int sortedColumn() const { return sortedColumn_; }
  void setSort(int column, int kind);
  int naturalSortKind() const { return naturalSort_; }
  void setNaturalSortKind(int kind) { naturalSort_ = kind; }
  // The column whose title was picked last in the item bar.
  int pickedColumn() const { return pickedColumn_; }

  // ---- Scrolling and showing ----
  GridUpdate Grid_Refresh();
  GridUpdate Grid_Repaint();
  GridUpdate Grid_DrawRow(int row);
  GridUpdate Grid_DrawCell(int column, int row);
  // Moves the view: a short move shifts the painted rows and draws the new
  // ones, a long one (or any in the gradient background) repaints.
  GridUpdate Grid_ScrollTo(int top, bool force);
  GridUpdate Grid_ShowFrom(int row);
  // Makes a row visible with one row of margin (row < 0: the cursor row),
  // moving the cursor there when asked.
  GridUpdate Grid_ShowRow(int row, bool moveCursor);
  // Puts a row on a screen line (as far as the ends allow).
  GridUpdate Grid_KeepRowAt(int row, int line);

  // ---- Cursor and selection ----
  GridUpdate Grid_MoveCursor(int row);
  GridUpdate Grid_SetCursorColumn(int column);
  GridUpdate Grid_RedrawCursor();
  GridUpdate Grid_SelectRow(int row, bool mark);
  GridUpdate Grid_ClearSelection();
  // Selects from the anchor to `row`; rows the previous extension reached
  // beyond it are unselected again, whichever way it went.
  GridUpdate Grid_ExtendSelection(int row);
  GridUpdate Grid_JumpToInitial(char16_t c);
  // The row Grid_JumpToInitial goes to: the next row after the cursor
  // (wrapping to the top) whose cursor-column text, leading blanks removed,
  // starts with `c` (compared upper-cased); -1 when none does.
  int initialRow(char16_t c) const;
  GridUpdate Grid_KeyDown(int key, int shift);
  // Mouse on the surface (button and shift state per GridKeys.h).
  GridUpdate Grid_MouseDown(int button, int shift, int x, int y);
  GridUpdate Grid_MouseMove(int button, int shift, int x, int y);
  GridUpdate Grid_MouseUp(int button, int shift, int x, int y);
  // The cell under the pointer becomes the cursor cell; the selection stays.
  GridUpdate Grid_HitCell(int x, int y);
  // Ignores mouse moves until the button goes up (after an expand-box click).
  void beginToggle() { toggling_ = true; }
  int Grid_RowAt(int y) const;
  int Grid_ColumnAt(int x) const { return columns_.columnAt(x); }

  // ---- Item bar ----
  // A press at a draggable boundary starts a resize; any other press picks
  // the column under it (update.picked).
  GridUpdate Grid_ItemBarMouseDown(int button, int x);
  // Moves the guide while dragging; without a button tells the pointer
  // shape (resizePointer()) and the column under it (hoverColumn()).
  GridUpdate Grid_ItemBarMouseMove(int button, int x);
  GridUpdate Grid_ItemBarMouseUp(int button, int x);
  const ItemBarDrag& itemBarDrag() const { return drag_; }
  bool resizePointer() const { return resizePointer_; }
  int hoverColumn() const { return hoverColumn_; }

  // ---- Deleting ----
  // Some selected row has a row below it (its subtree) that is hidden or
  // not selected: deleting would take more than what is selected.
  bool Grid_DeleteSelectedIncomplete() const;
  // Deletes every selected row together with the rows below it in the tree
  // (their subtrees), and nothing else; the cursor goes to the first
  // deleted display row, the selection is cleared.
  GridUpdate Grid_DeleteSelected();
  // Deletes the marked stored rows (one mark per stored row).
  GridUpdate Grid_DeleteMarkedRows(std::span<const std::uint8_t> marks);
  int Grid_DisplayRowOf(int storedRow) const { return store_->displayRowOf(storedRow); }

  // ---- What the window draws ----
  // y of a display row on the surface (may lie outside it).
  int rowTop(int row) const { return (row - top_) * metrics_.rowHeight; }
  // Rows on the surface: the whole visible rows and a partly shown one below them.
  int paintedRows() const;
  bool rowVisible(int row) const { return row >= top_ && row < top_ + paintedRows() && row < rowCount(); }
  // The cell rectangle (Left..Right of the column, the row less its rule).
  GridRect cellRect(int column, int row) const;
  // The whole row across the surface.
  GridRect rowRect(int row) const;
  // Where the text of a cell goes: Left + 4 .. Right - 4 between the
  // margins; in column 0 (left aligned) after the row's icon, or from
  // Left(0) + 4 when the row has none. Empty when nothing fits.
  GridRect textRect(int column, int row) const;
  // Where an in-place edit line covers a cell: 2 px inside the column's
  // boundaries, from 1 px below the row top, as high as the text line less
  // 2 px (and 1 px less with an odd margin).
  GridRect editRect(int column, int row) const;
  // Icon number (1-based into the strip) of a display row, 0 for none;
  // iconX() where it goes, or -1 when it would not end left of Right(0).
  int iconOf(int row) const;
  int iconX(int row) const;
  // Tree lines and boxes of the display rows first..last (surface y).
  void treeLines(int first, int last, std::vector<TreeLineSegment>& lines, std::vector<TreeBox>& boxes) const;
  TreeGeometry treeGeometry() const;

private:
  struct Move {
    bool shift = false;
    bool ctrl = false;
  };
  GridUpdate moveTo(int row, const Move& m, bool anchorFirst);
  GridUpdate selectionBeforeMove(const Move& m);
  GridUpdate selectionAfterMove(int row, const Move& m, bool anchorFirst);
  GridUpdate clickRow(int row, int column, int shift);
  GridUpdate moveView(int top, const Move& m);
  GridUpdate toggleCursorRow(const Move& m);
  GridUpdate selectAll();
  GridUpdate pageKey(int key, const Move& m);
  GridUpdate upDownKey(int key, int shift);
  GridUpdate scrollView(int top);
  GridUpdate followCursor();
  GridUpdate cursorCells(int oldRow, int oldColumn) const;
  void addRow(GridUpdate& u, int row) const;
  int clampRow(int row) const;
  int clampTop(int top) const;
  void clampState();
  void setRange(int from, int to, bool on, GridUpdate& u);

  RowStore* store_;
  GridSettings settings_;
  ColumnLayout columns_;
  GridMetrics metrics_;
  GridIcons icons_;
  ItemBarDrag drag_;
  bool initialised_ = false;
  int textHeight_ = 12;
  int scrollBarWidth_ = 16;
  int gridWidth_ = 0;
  int surfaceHeight_ = 0;
  int finishedRows_ = 0;

  int top_ = 0;
  int cursorRow_ = 0;
  int cursorColumn_ = 0;
  int anchor_ = -1;
  int extent_ = -1;  // where the last extension from the anchor ended
  int sortKind_ = 0;
  int sortedColumn_ = 0;
  int naturalSort_ = 0;
  int pickedColumn_ = -1;
  int mouseRow_ = -1;
  bool toggling_ = false;
  bool resizePointer_ = false;
  int hoverColumn_ = -1;
};

}  // namespace zevro
