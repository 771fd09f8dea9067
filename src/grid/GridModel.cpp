#include "grid/GridModel.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

#include "core/CatalogList.h"
#include "grid/GridKeys.h"
#include "grid/RowEraser.h"

namespace zevro {

namespace {

int floorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

char16_t upper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

// The character a key types for an initial-letter jump, or 0.
char16_t initialOf(int key) {
  using namespace gridkey;
  if (key >= LetterA && key <= LetterZ) return static_cast<char16_t>(key);
  if (key >= Digit0 && key <= Digit9) return static_cast<char16_t>(key);
  if (key >= Pad0 && key <= Pad9) return static_cast<char16_t>(u'0' + (key - Pad0));
  if (key == AtSign) return u'@';
  return 0;
}

}  // namespace

GridModel::GridModel(RowStore& store) : store_(&store) {}

// ---------------------------------------------------------------- set-up

void GridModel::Grid_Init() {
  settings_ = GridSettings{};
  columns_ = ColumnLayout{};
  icons_ = GridIcons{};
  drag_.cancel();
  initialised_ = true;
  Grid_MeasureRows();
}

GridUpdate GridModel::Grid_Clear() {
  if (!initialised_) Grid_Init();
  store_->clear(InitialRows);
  finishedRows_ = 0;
  top_ = cursorRow_ = cursorColumn_ = 0;
  anchor_ = extent_ = -1;
  sortedColumn_ = 0;
  mouseRow_ = -1;
  toggling_ = false;
  drag_.cancel();
  return Grid_Refresh();
}

bool GridModel::Grid_ExpandListSize(int rows) { return store_->expandListSize(rows); }

void GridModel::Grid_FinishRows(int lowestLevel) {
  finishedRows_ = store_->rowCount();
  const int n = rowCount();
  if (n == 0) return;
  auto mark = [this](int d) {
    const int s = store_->storedRowAt(d);
    store_->setTreeFlags(s, store_->treeFlags(s) | catalog::TreeLast);
    store_->setDisplayFlags(d, store_->displayFlags(d) | catalog::TreeLast);
  };
  int marked = store_->level(store_->storedRowAt(n - 1));
  if (marked <= lowestLevel) return;
  mark(n - 1);
  for (int d = n - 2; d >= 0 && marked > lowestLevel + 1; --d) {
    const int l = store_->level(store_->storedRowAt(d));
    if (l <= lowestLevel) break;
    if (l < marked) {
      mark(d);
      marked = l;
    }
  }
}

// ---------------------------------------------------------------- geometry

GridUpdate GridModel::Grid_Layout(int width, int surfaceHeight) {
  if (!initialised_) Grid_Init();
  if (width >= 0) gridWidth_ = width;
  if (surfaceHeight >= 0) surfaceHeight_ = surfaceHeight;
  Grid_MeasureRows();
  return Grid_Refresh();
}

void GridModel::Grid_MeasureRows() {
  const int rule = settings_.hRules ? settings_.hRuleWidth : 0;
  metrics_ = GridMetrics::measure(textHeight_, settings_.lineSpacing, rule, settings_.embossed, surfaceHeight_);
}

void GridModel::Grid_ComputeColumns() {
  columns_.fit(surfaceWidth());
  columns_.compute(gridWidth_, settings_.vRuleWidth, needsScrollBar() ? scrollBarWidth_ : 0);
}

GridUpdate GridModel::Grid_SetIcons(int count, int sourceWidth, int sourceHeight, std::vector<int> map) {
  icons_ = GridIcons{};
  if (count > 0 && sourceWidth > 0 && sourceHeight > 0) {
    icons_.count = count;
    icons_.sourceWidth = sourceWidth;
    icons_.sourceHeight = sourceHeight;
    icons_.height = std::min(sourceHeight, metrics_.lineHeight);
    icons_.width = std::max(sourceWidth * icons_.height / sourceHeight, 1);
    icons_.map = std::move(map);
    store_->setIndentWidth(icons_.width + 2);
  }
  return Grid_Refresh();
}

void GridModel::Grid_SetFont(TextView name, double size, int bold, int italic) {
  if (!name.empty()) settings_.font.name = Text(name);
  if (size > 0) settings_.font.size = size;
  settings_.font.bold = bold != 0;
  if (italic != 9) settings_.font.italic = italic != 0;
}

void GridModel::Grid_SetAltFont(TextView name, double size, int bold, int italic) {
  if (!name.empty()) settings_.altFont.name = Text(name);
  if (size > 0) settings_.altFont.size = size;
  settings_.altFont.bold = bold != 0;
  if (italic != 9) settings_.altFont.italic = italic != 0;
}

int GridModel::Grid_SetColumnFont(int column, bool alternate) {
  if (column >= 0 && column < columns_.count()) columns_.column(column).altFont = alternate;
  return columns_.fontMode();
}

// ---------------------------------------------------------------- state

int GridModel::lastTopRow() const { return std::max(rowCount() - metrics_.visibleRows, 0); }

int GridModel::paintedRows() const {
  const int h = metrics_.rowHeight;
  return std::max(metrics_.visibleRows, (surfaceHeight_ + h - 1) / h);
}

int GridModel::clampRow(int row) const { return std::clamp(row, 0, std::max(rowCount() - 1, 0)); }

int GridModel::clampTop(int top) const { return std::clamp(top, 0, lastTopRow()); }

void GridModel::clampState() {
  top_ = clampTop(top_);
  cursorRow_ = clampRow(cursorRow_);
  cursorColumn_ = std::clamp(cursorColumn_, 0, columns_.count() - 1);
  if (anchor_ >= rowCount()) anchor_ = -1;
  if (extent_ >= rowCount()) extent_ = -1;
}

void GridModel::setSort(int column, int kind) {
  sortedColumn_ = column;
  sortKind_ = kind;
}

void GridModel::addRow(GridUpdate& u, int row) const {
  if (rowVisible(row)) u.rows.push_back(row);
}

// ---------------------------------------------------------------- showing

GridUpdate GridModel::Grid_Refresh() {
  clampState();
  Grid_ComputeColumns();
  GridUpdate u;
  u.full = u.itemBar = u.layout = true;
  return u;
}

GridUpdate GridModel::Grid_Repaint() {
  GridUpdate u;
  u.full = true;
  return u;
}

GridUpdate GridModel::Grid_DrawRow(int row) {
  GridUpdate u;
  addRow(u, row);
  return u;
}

GridUpdate GridModel::Grid_DrawCell(int column, int row) {
  GridUpdate u;
  if (rowVisible(row)) u.cells.push_back({column, row});
  return u;
}

GridUpdate GridModel::Grid_ScrollTo(int top, bool force) {
  GridUpdate u;
  if (rowCount() == 0) return u;
  const int newTop = clampTop(top);
  const int delta = newTop - top_;
  if (delta == 0) {
    u.full = force;
    return u;
  }
  top_ = newTop;
  const int visible = metrics_.visibleRows;
  const bool shortMove = delta == 1 || delta == -1 || std::abs(delta) <= visible - 2;
  if (settings_.backgroundMode == BackgroundMode::Gradient || !shortMove) {
    u.full = true;
  } else {
    u.scrolled = delta;
  }
  if (settings_.cursorMode && rowVisible(cursorRow_)) u.cells.push_back({cursorColumn_, cursorRow_});
  return u;
}

GridUpdate GridModel::scrollView(int top) { return Grid_ScrollTo(top, true); }

GridUpdate GridModel::Grid_ShowFrom(int row) {
  const int before = cursorRow_;
  top_ = std::max(row, 0);
  cursorRow_ = std::max(row, 0);
  GridUpdate u = Grid_Refresh();
  u.cursorMoved = cursorRow_ != before;
  return u;
}

GridUpdate GridModel::Grid_ShowRow(int row, bool moveCursor) {
  const int before = cursorRow_;
  const int r = row < 0 ? clampRow(cursorRow_) : clampRow(row);
  if (moveCursor) cursorRow_ = r;
  const int visible = metrics_.visibleRows;
  const int margin = visible >= 3 ? 1 : 0;
  if (r < top_ + margin) {
    top_ = r - margin;
  } else if (r > top_ + visible - 1 - margin) {
    top_ = r - visible + 1 + margin;
  }
  GridUpdate u = Grid_Refresh();
  u.cursorMoved = cursorRow_ != before;
  return u;
}

GridUpdate GridModel::Grid_KeepRowAt(int row, int line) {
  top_ = clampTop(row - line);
  return Grid_Repaint();
}

// ---------------------------------------------------------------- cursor

GridUpdate GridModel::cursorCells(int oldRow, int oldColumn) const {
  GridUpdate u;
  u.cursorMoved = oldRow != cursorRow_;
  if (oldRow == cursorRow_ && oldColumn == cursorColumn_) return u;
  u.cells.push_back({oldColumn, oldRow});
  u.cells.push_back({cursorColumn_, cursorRow_});
  return u;
}

GridUpdate GridModel::followCursor() {
  if (cursorRow_ < top_) return scrollView(cursorRow_);
  if (cursorRow_ >= top_ + metrics_.visibleRows) return scrollView(cursorRow_ - metrics_.visibleRows + 1);
  return {};
}

GridUpdate GridModel::Grid_MoveCursor(int row) {
  if (rowCount() == 0) return {};
  const int oldRow = cursorRow_;
  cursorRow_ = clampRow(row);
  GridUpdate u = followCursor();
  u.merge(cursorCells(oldRow, cursorColumn_));
  return u;
}

GridUpdate GridModel::Grid_SetCursorColumn(int column) {
  const int old = cursorColumn_;
  cursorColumn_ = std::clamp(column, 0, columns_.count() - 1);
  return cursorCells(cursorRow_, old);
}

GridUpdate GridModel::Grid_RedrawCursor() {
  cursorRow_ = clampRow(cursorRow_);
  return Grid_DrawCell(cursorColumn_, cursorRow_);
}

// ---------------------------------------------------------------- selection

void GridModel::setRange(int from, int to, bool on, GridUpdate& u) {
  if (from > to) std::swap(from, to);
  from = std::max(from, 0);
  to = std::min(to, rowCount() - 1);
  for (int r = from; r <= to; ++r) {
    if (store_->selected(r) == on) continue;
    store_->setSelected(r, on);
    u.selectionChanged = true;
    addRow(u, r);
  }
}

GridUpdate GridModel::Grid_SelectRow(int row, bool mark) {
  GridUpdate u;
  if (settings_.selectionMode == SelectionMode::None || row < 0 || row >= rowCount()) return u;
  setRange(row, row, mark, u);
  if (mark && anchor_ < 0) anchor_ = row;
  return u;
}

GridUpdate GridModel::Grid_ClearSelection() {
  GridUpdate u;
  anchor_ = extent_ = -1;
  if (store_->selectedCount() == 0) return u;
  const int end = std::min(top_ + paintedRows(), rowCount());
  for (int r = top_; r < end; ++r) {
    if (store_->selected(r)) u.rows.push_back(r);
  }
  store_->clearSelection();
  u.selectionChanged = true;
  return u;
}

GridUpdate GridModel::Grid_ExtendSelection(int row) {
  GridUpdate u;
  if (settings_.selectionMode == SelectionMode::None || rowCount() == 0) return u;
  row = clampRow(row);
  if (anchor_ < 0) anchor_ = row;
  const int lo = std::min(anchor_, row);
  const int hi = std::max(anchor_, row);
  if (extent_ >= 0) {
    // What the last extension reached beyond the new range goes again.
    const int oldLo = std::min(anchor_, extent_);
    const int oldHi = std::max(anchor_, extent_);
    if (oldLo < lo) setRange(oldLo, std::min(oldHi, lo - 1), false, u);
    if (oldHi > hi) setRange(std::max(oldLo, hi + 1), oldHi, false, u);
  }
  setRange(lo, hi, true, u);
  extent_ = row;
  return u;
}

int GridModel::initialRow(char16_t c) const {
  const int rows = rowCount();
  const char16_t wanted = upper(c);
  for (int i = 1; i < rows; ++i) {
    const int r = (cursorRow_ + i) % rows;
    TextView text = store_->shownFieldView(cursorColumn_, r);
    while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
    if (!text.empty() && upper(text.front()) == wanted) return r;
  }
  return -1;
}

GridUpdate GridModel::Grid_JumpToInitial(char16_t c) {
  const int r = initialRow(c);
  return r < 0 ? GridUpdate{} : Grid_MoveCursor(r);
}

// ---------------------------------------------------------------- keys

// Mode 2 clears an existing selection unless Shift or Ctrl is held; mode 3
// always clears it.
GridUpdate GridModel::selectionBeforeMove(const Move& m) {
  const SelectionMode mode = settings_.selectionMode;
  if (mode == SelectionMode::Single) return Grid_ClearSelection();
  if (mode == SelectionMode::Multiple && !m.shift && !m.ctrl) return Grid_ClearSelection();
  return {};
}

GridUpdate GridModel::selectionAfterMove(int row, const Move& m, bool /*anchorFirst*/) {
  if (settings_.selectionMode != SelectionMode::Multiple || !m.shift) return {};
  return Grid_ExtendSelection(row);
}

GridUpdate GridModel::moveTo(int row, const Move& m, bool anchorFirst) {
  GridUpdate u = selectionBeforeMove(m);
  if (anchorFirst && m.shift && anchor_ < 0 && settings_.selectionMode == SelectionMode::Multiple) {
    anchor_ = cursorRow_;
  }
  u.merge(Grid_MoveCursor(row));
  u.merge(selectionAfterMove(cursorRow_, m, anchorFirst));
  return u;
}

// Without a cursor the keys move the view and the cursor row rides on the top row.
GridUpdate GridModel::moveView(int top, const Move& m) {
  GridUpdate u = selectionBeforeMove(m);
  u.merge(scrollView(top));
  const int old = cursorRow_;
  cursorRow_ = top_;
  u.cursorMoved |= old != cursorRow_;
  u.merge(selectionAfterMove(cursorRow_, m, false));
  return u;
}

GridUpdate GridModel::upDownKey(int key, int shift) {
  const int dir = key == gridkey::Down ? 1 : -1;
  const Move m{(shift & gridkey::ShiftMask) != 0, (shift & gridkey::CtrlMask) != 0};
  if (!settings_.cursorMode) return moveView(top_ + dir, m);
  if ((shift & gridkey::AltMask) == 0) return moveTo(cursorRow_ + dir, m, true);
  // Alt moves the view and leaves the cursor unless it would fall out.
  GridUpdate u = scrollView(top_ + dir);
  const int inView = std::clamp(cursorRow_, top_, top_ + metrics_.visibleRows - 1);
  if (inView != cursorRow_) u.merge(Grid_MoveCursor(inView));
  return u;
}

GridUpdate GridModel::pageKey(int key, const Move& m) {
  const int dir = key == gridkey::PageDown ? 1 : -1;
  const int visible = metrics_.visibleRows;
  if (settings_.cursorMode) return moveTo(cursorRow_ + dir * std::max(visible - 1, 1), m, false);
  return moveView(top_ + dir * visible, m);
}

GridUpdate GridModel::toggleCursorRow(const Move& m) {
  GridUpdate u = selectionBeforeMove(m);
  u.merge(Grid_SelectRow(cursorRow_, !store_->selected(cursorRow_)));
  anchor_ = cursorRow_;
  extent_ = -1;
  return u;
}

GridUpdate GridModel::selectAll() {
  GridUpdate u;
  const SelectionMode mode = settings_.selectionMode;
  if (mode != SelectionMode::Toggle && mode != SelectionMode::Multiple) return u;
  const int rows = rowCount();
  for (int r = 0; r < rows; ++r) store_->setSelected(r, true);
  anchor_ = 0;
  extent_ = -1;
  u.selectionChanged = true;
  u.full = true;
  return u;
}

GridUpdate GridModel::Grid_KeyDown(int key, int shift) {
  using namespace gridkey;
  if (key == Shift || key == Control || key == Alt) return {};
  if (rowCount() == 0) return {};
  const Move m{(shift & ShiftMask) != 0, (shift & CtrlMask) != 0};
  const bool alt = (shift & AltMask) != 0;
  switch (key) {
    case Escape: return settings_.selectionMode == SelectionMode::None ? GridUpdate{} : Grid_ClearSelection();
    case Up:
    case Down: return upDownKey(key, shift);
    case PageUp:
    case PageDown: return pageKey(key, m);
    case Home: return moveTo(0, m, false);
    case End:
    case Help: return moveTo(rowCount() - 1, m, false);
    case Left:
    case Right:
      if (!settings_.cursorMode) return {};
      return Grid_SetCursorColumn(cursorColumn_ + (key == Right ? 1 : -1));
    case Space:
    case Enter:
      if (!settings_.cursorMode || cursorRow_ >= rowCount() - 1) return {};
      return toggleCursorRow(m);
    default: break;
  }
  if (key == LetterA && m.ctrl && !alt) return selectAll();
  const char16_t c = initialOf(key);
  if (c == 0 || shift != 0) return {};
  const int r = initialRow(c);
  if (r < 0) return {};
  return moveTo(r, m, false);
}

// ---------------------------------------------------------------- mouse

int GridModel::Grid_RowAt(int y) const { return top_ + floorDiv(y, metrics_.rowHeight); }

// The clicked row by selection mode: 1 toggles it, 3 selects only it, 2
// toggles with Ctrl, extends from the anchor with Shift (from the previous
// cursor row when there is no anchor) and otherwise selects only it.
GridUpdate GridModel::clickRow(int row, int column, int shift) {
  const int previous = cursorRow_;
  GridUpdate u = Grid_SetCursorColumn(column);
  u.merge(Grid_MoveCursor(row));
  const bool withShift = (shift & gridkey::ShiftMask) != 0;
  const bool withCtrl = (shift & gridkey::CtrlMask) != 0;
  switch (settings_.selectionMode) {
    case SelectionMode::None: break;
    case SelectionMode::Toggle: u.merge(Grid_SelectRow(cursorRow_, !store_->selected(cursorRow_))); break;
    case SelectionMode::Single:
      u.merge(Grid_ClearSelection());
      u.merge(Grid_SelectRow(cursorRow_, true));
      break;
    case SelectionMode::Multiple:
      if (withCtrl) {
        u.merge(Grid_SelectRow(cursorRow_, !store_->selected(cursorRow_)));
        extent_ = -1;
      } else if (withShift) {
        if (anchor_ < 0) anchor_ = previous;
        u.merge(Grid_ExtendSelection(cursorRow_));
      } else {
        u.merge(Grid_ClearSelection());
        u.merge(Grid_SelectRow(cursorRow_, true));
      }
      break;
  }
  if (!withShift && anchor_ < 0) anchor_ = cursorRow_;
  return u;
}

GridUpdate GridModel::Grid_MouseDown(int button, int shift, int x, int y) {
  if (button != gridkey::LeftButton || toggling_ || rowCount() == 0) return {};
  const int r = Grid_RowAt(std::max(y, 0));
  if (r >= rowCount()) return {};
  mouseRow_ = r;
  return clickRow(r, Grid_ColumnAt(x), shift);
}

GridUpdate GridModel::Grid_MouseMove(int button, int shift, int x, int y) {
  if (button != gridkey::LeftButton || toggling_ || mouseRow_ < 0 || rowCount() == 0) return {};
  GridUpdate u;
  const int bottom = metrics_.visibleRows * metrics_.rowHeight;
  if (settings_.cursorMode && y < 0) u.merge(scrollView(top_ - 1));
  if (settings_.cursorMode && y >= bottom) u.merge(scrollView(top_ + 1));
  const int r = clampRow(Grid_RowAt(std::clamp(y, 0, bottom - 1)));
  if (r == mouseRow_) return u;
  mouseRow_ = r;
  u.merge(clickRow(r, Grid_ColumnAt(x), shift | gridkey::ShiftMask));
  return u;
}

GridUpdate GridModel::Grid_MouseUp(int /*button*/, int /*shift*/, int /*x*/, int /*y*/) {
  toggling_ = false;
  mouseRow_ = -1;
  return {};
}

GridUpdate GridModel::Grid_HitCell(int x, int y) {
  if (rowCount() == 0) return {};
  const int r = Grid_RowAt(std::max(y, 0));
  if (r >= rowCount()) return {};
  GridUpdate u = Grid_SetCursorColumn(Grid_ColumnAt(x));
  u.merge(Grid_MoveCursor(r));
  return u;
}

// ---------------------------------------------------------------- item bar

GridUpdate GridModel::Grid_ItemBarMouseDown(int button, int x) {
  if (button != gridkey::LeftButton) return {};
  if (drag_.press(columns_, x, gridWidth_)) return {};
  pickedColumn_ = Grid_ColumnAt(x);
  GridUpdate u = Grid_SetCursorColumn(pickedColumn_);
  u.picked = true;
  return u;
}

GridUpdate GridModel::Grid_ItemBarMouseMove(int button, int x) {
  if (drag_.dragging()) {
    drag_.move(x);
    return {};
  }
  if (button == 0) {
    resizePointer_ = ItemBarDrag::draggableAt(columns_, x) >= 0;
    hoverColumn_ = Grid_ColumnAt(x);
  }
  return {};
}

GridUpdate GridModel::Grid_ItemBarMouseUp(int /*button*/, int x) {
  if (!drag_.release(columns_, x)) return {};
  return Grid_Refresh();
}

// ---------------------------------------------------------------- deleting

bool GridModel::Grid_DeleteSelectedIncomplete() const {
  const int stored = store_->rowCount();
  const int shown = rowCount();
  if (store_->selectedCount() == 0) return false;
  std::vector<std::int32_t> displayRow(static_cast<std::size_t>(stored), -1);
  for (int d = 0; d < shown; ++d) displayRow[static_cast<std::size_t>(store_->storedRowAt(d))] = d;
  for (int d = 0; d < shown; ++d) {
    if (!store_->selected(d)) continue;
    const int s = store_->storedRowAt(d);
    const int level = store_->level(s);
    for (int t = s + 1; t < stored && store_->level(t) > level; ++t) {
      const int dt = displayRow[static_cast<std::size_t>(t)];
      if (dt < 0 || !store_->selected(dt)) return true;
    }
  }
  return false;
}

GridUpdate GridModel::Grid_DeleteSelected() {
  if (store_->selectedCount() == 0) return {};
  std::vector<std::uint8_t> marks(static_cast<std::size_t>(store_->rowCount()), 0);
  const int shown = rowCount();
  for (int d = 0; d < shown; ++d) {
    const int s = store_->storedRowAt(d);
    if (store_->selected(d) && marks[static_cast<std::size_t>(s)] == 0) RowEraser::markSubtree(*store_, s, marks);
  }
  return Grid_DeleteMarkedRows(marks);
}

GridUpdate GridModel::Grid_DeleteMarkedRows(std::span<const std::uint8_t> marks) {
  int first = -1;
  const int shown = rowCount();
  for (int d = 0; d < shown && first < 0; ++d) {
    const auto s = static_cast<std::size_t>(store_->storedRowAt(d));
    if (s < marks.size() && marks[s] != 0) first = d;
  }
  if (RowEraser::erase(*store_, marks) == 0) return {};
  store_->clearSelection();
  anchor_ = extent_ = -1;
  finishedRows_ = store_->rowCount();
  const int before = cursorRow_;
  if (first >= 0) cursorRow_ = first;
  GridUpdate u = Grid_Refresh();
  u.selectionChanged = true;
  u.cursorMoved = cursorRow_ != before;
  return u;
}

// ---------------------------------------------------------------- drawing

GridRect GridModel::cellRect(int column, int row) const {
  const GridColumn& c = columns_.column(column);
  const int top = rowTop(row);
  const int rule = settings_.hRules ? settings_.hRuleWidth : 0;
  return {c.left, top, c.right, top + metrics_.rowHeight - rule};
}

GridRect GridModel::rowRect(int row) const {
  const int top = rowTop(row);
  return {0, top, surfaceWidth(), top + metrics_.rowHeight};
}

int GridModel::iconOf(int row) const {
  const int s = store_->storedRowAt(row);
  if (s < 0 || icons_.count == 0) return 0;
  int icon = store_->kind(s);
  if (!icons_.map.empty())
    icon = icon < static_cast<int>(icons_.map.size()) ? icons_.map[static_cast<std::size_t>(icon)] : 0;
  return icon >= 1 && icon <= icons_.count ? icon : 0;
}

int GridModel::iconX(int row) const {
  if (iconOf(row) == 0) return -1;
  const int x = store_->indent(store_->storedRowAt(row));
  return x + icons_.width <= columns_.column(0).right ? x : -1;
}

GridRect GridModel::textRect(int column, int row) const {
  const int top = rowTop(row);
  GridRect r{columns_.textLeft(column), top + metrics_.topMargin, columns_.textRight(column),
             top + metrics_.rowHeight - metrics_.bottomMargin};
  if (column == 0 && columns_.column(0).align == ColumnAlign::Left) {
    r.left = iconOf(row) > 0 ? store_->indent(store_->storedRowAt(row)) + icons_.width + 2 : r.left;
  }
  r.right = std::max(r.right, r.left);
  return r;
}

GridRect GridModel::editRect(int column, int row) const {
  const int top = rowTop(row) + 1;
  const bool odd = metrics_.topMargin % 2 == 1 || metrics_.bottomMargin % 2 == 1;
  const int height = metrics_.lineHeight - 2 - (odd ? 1 : 0);
  return {columns_.edgeBefore(column) + 2, top, columns_.column(column).right - 2, top + std::max(height, 1)};
}

TreeGeometry GridModel::treeGeometry() const {
  TreeGeometry g;
  g.indentPerLevel = store_->indentWidth();
  g.right0 = columns_.column(0).right;
  g.rowHeight = metrics_.rowHeight;
  g.ruleWidth = settings_.hRules ? settings_.hRuleWidth : 0;
  g.emboss = settings_.embossed ? 1 : 0;
  g.iconHeight = icons_.height;
  return g;
}

// The ancestors of the first row are found through the level block (the
// nearest earlier row one level up, and so on); after that each row tells
// its own level's state to the rows below it.
void GridModel::treeLines(int first, int last, std::vector<TreeLineSegment>& lines, std::vector<TreeBox>& boxes) const {
  if (!settings_.treeMode || store_->indentWidth() <= 0) return;
  first = std::max(first, 0);
  last = std::min(last, rowCount() - 1);
  if (first > last) return;
  std::array<bool, 256> continues{};
  const std::string_view levels = store_->levelBlock();
  std::size_t pos = static_cast<std::size_t>(store_->storedRowAt(first));
  for (int l = store_->level(static_cast<int>(pos)) - 1; l >= 1; --l) {
    // The nearest earlier row one level up; memrchr scans the level bytes
    // many at a time, which matters below a folder of a million files.
    const void* found = memrchr(levels.data(), l, pos);
    if (found == nullptr) break;
    pos = static_cast<std::size_t>(static_cast<const char*>(found) - levels.data());
    continues[static_cast<std::size_t>(l)] = (store_->treeFlags(static_cast<int>(pos)) & catalog::TreeLast) == 0;
  }
  const TreeLines planner(treeGeometry());
  for (int d = first; d <= last; ++d) {
    const int s = store_->storedRowAt(d);
    TreeRowInput in;
    in.indent = store_->indent(s);
    in.level = store_->level(s);
    in.flags = store_->displayFlags(d);
    in.rowTop = rowTop(d);
    in.titleRow = d == 0 && in.level == 0;
    in.hasShownChild = in.titleRow && rowCount() > 1 && store_->level(store_->storedRowAt(1)) > 0;
    in.continues = continues.data();
    in.continuesSize = static_cast<int>(continues.size());
    planner.plan(in, lines, boxes);
    continues[static_cast<std::size_t>(in.level)] = (in.flags & catalog::TreeLast) == 0;
  }
}

}  // namespace zevro
