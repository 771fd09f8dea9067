#include "grid/GridModel.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/CatalogList.h"
#include "grid/GridColours.h"
#include "grid/GridKeys.h"

namespace zevro {
namespace {

using namespace catalog;
namespace k = gridkey;

constexpr int TextHeight = 12;  // with spacing 2: rows of 14 px
constexpr int RowH = 14;

struct Row {
  Text name;
  int level;
  int kind;
};

// A catalog list of the given rows, all shown, tree flags derived.
void fillCatalog(RowStore& store, const std::vector<Row>& rows) {
  store.clear();
  makeCatalogList(store);
  for (const Row& r : rows) {
    ASSERT_TRUE(
        store.appendShown(buildRecord({r.name, u"comment"}), colourIndexFor(r.kind, r.level), 0, r.kind, r.level));
  }
  ASSERT_TRUE(store.deriveIndexAndTreeFlags());
}

// `n` rows named ROW0, ROW1, ... at level 1.
std::vector<Row> flatRows(int n) {
  std::vector<Row> rows;
  for (int i = 0; i < n; ++i) rows.push_back({u"ROW" + ascii(std::to_string(i)), 1, KindFile});
  return rows;
}

// A grid of `visible` rows of 14 px, 400 px wide, over the store.
void setUp(GridModel& grid, int visible, SelectionMode mode = SelectionMode::Multiple, bool cursorMode = true) {
  grid.Grid_Init();
  grid.settings().selectionMode = mode;
  grid.settings().cursorMode = cursorMode;
  grid.setTextHeight(TextHeight);
  grid.setScrollBarWidth(16);
  grid.Grid_Layout(400, visible * RowH);
}

std::set<int> selectedRows(const GridModel& grid) {
  std::set<int> rows;
  for (int r = 0; r < grid.rowCount(); ++r) {
    if (grid.store().selected(r)) rows.insert(r);
  }
  return rows;
}

std::vector<Text> storedNames(const RowStore& store) {
  std::vector<Text> names;
  for (int r = 0; r < store.rowCount(); ++r) names.push_back(store.field(FieldName, r));
  return names;
}

std::vector<Text> shownNames(const RowStore& store) {
  std::vector<Text> names;
  for (int d = 0; d < store.shownCount(); ++d) names.push_back(store.shownField(FieldName, d));
  return names;
}

// ------------------------------------------------------------------ keys

struct KeyStep {
  const char* behaviour;
  int key;
  int shift;
  int cursor;
  int top;
};

void runKeySteps(GridModel& grid, const std::vector<KeyStep>& steps) {
  for (const KeyStep& s : steps) {
    grid.Grid_KeyDown(s.key, s.shift);
    EXPECT_EQ(grid.cursorRow(), s.cursor) << s.behaviour;
    EXPECT_EQ(grid.topRow(), s.top) << s.behaviour;
  }
}

TEST(GridModelTest, CursorKeysMoveTheCursorAndTheViewFollows) {
  RowStore store;
  fillCatalog(store, flatRows(10));
  GridModel grid(store);
  setUp(grid, 4);
  runKeySteps(grid, {
                        {"down inside the view", k::Down, 0, 1, 0},
                        {"down to the last visible row", k::Down, 0, 2, 0},
                        {"down onto the last visible row", k::Down, 0, 3, 0},
                        {"down past the view scrolls one row", k::Down, 0, 4, 1},
                        {"page down moves visible rows - 1", k::PageDown, 0, 7, 4},
                        {"page down stops at the last row", k::PageDown, 0, 9, 6},
                        {"page up moves visible rows - 1", k::PageUp, 0, 6, 6},
                        {"page up past the view scrolls", k::PageUp, 0, 3, 3},
                        {"end goes to the last row", k::End, 0, 9, 6},
                        {"home goes to row 0 and top 0", k::Home, 0, 0, 0},
                        {"up at row 0 stays", k::Up, 0, 0, 0},
                        {"alt+down scrolls and pushes the cursor into view", k::Down, k::AltMask, 1, 1},
                        {"alt+down scrolls again", k::Down, k::AltMask, 2, 2},
                        {"alt+up scrolls and leaves the cursor", k::Up, k::AltMask, 2, 1},
                        {"key 47 acts as end", k::Help, 0, 9, 6},
                        {"modifier keys alone do nothing", k::Shift, k::ShiftMask, 9, 6},
                    });
}

TEST(GridModelTest, WithoutCursorTheKeysScrollAndTheCursorRidesOnTheTopRow) {
  RowStore store;
  fillCatalog(store, flatRows(10));
  GridModel grid(store);
  setUp(grid, 4, SelectionMode::Multiple, false);
  runKeySteps(grid, {
                        {"down scrolls one row", k::Down, 0, 1, 1},
                        {"page down scrolls visible rows", k::PageDown, 0, 5, 5},
                        {"page down stops at the last top row", k::PageDown, 0, 6, 6},
                        {"up scrolls back one row", k::Up, 0, 5, 5},
                        {"home", k::Home, 0, 0, 0},
                        {"end puts the cursor on the last row", k::End, 0, 9, 6},
                    });
}

TEST(GridModelTest, LeftAndRightMoveTheCursorColumnWithinTheColumns) {
  RowStore store;
  fillCatalog(store, flatRows(3));
  GridModel grid(store);
  setUp(grid, 4);
  grid.columns().setCount(3);
  grid.Grid_Refresh();
  const struct {
    const char* behaviour;
    int key;
    int column;
  } steps[] = {
      {"left at column 0 stays", k::Left, 0},          {"right", k::Right, 1}, {"right", k::Right, 2},
      {"right at the last column stays", k::Right, 2}, {"left", k::Left, 1},
  };
  for (const auto& s : steps) {
    grid.Grid_KeyDown(s.key, 0);
    EXPECT_EQ(grid.cursorColumn(), s.column) << s.behaviour;
  }
}

TEST(GridModelTest, KeysOnAnEmptyGridDoNothing) {
  RowStore store;
  GridModel grid(store);
  setUp(grid, 4);
  for (int key : {k::Down, k::PageDown, k::End, k::Space, k::LetterA}) {
    EXPECT_TRUE(grid.Grid_KeyDown(key, 0).empty()) << key;
    EXPECT_EQ(grid.cursorRow(), 0);
  }
}

// ------------------------------------------------------------------ selection by keys

struct SelectionCase {
  const char* behaviour;
  SelectionMode mode;
  std::set<int> before;                   // selected before the keys (by Ctrl+Space-free marking)
  int cursor;                             // cursor row before the keys
  std::vector<std::pair<int, int>> keys;  // key, shift state
  std::set<int> selected;
  int anchor;  // -2: do not check
};

TEST(GridModelTest, KeysSelectByTheSelectionMode) {
  const SelectionCase cases[] = {
      {"space selects the cursor row and makes it the anchor", SelectionMode::Multiple, {}, 2, {{k::Space, 0}}, {2}, 2},
      {"enter acts as space", SelectionMode::Multiple, {}, 2, {{k::Enter, 0}}, {2}, 2},
      {"space in mode 2 leaves the cursor row the only one",
       SelectionMode::Multiple,
       {5, 6},
       2,
       {{k::Space, 0}},
       {2},
       2},
      {"space on a selected cursor row in mode 2 keeps it the only one",
       SelectionMode::Multiple,
       {2, 6},
       2,
       {{k::Space, 0}},
       {2},
       2},
      {"ctrl+space toggles and keeps the others",
       SelectionMode::Multiple,
       {5},
       2,
       {{k::Space, k::CtrlMask}},
       {2, 5},
       2},
      {"space on the last row does not toggle", SelectionMode::Multiple, {}, 9, {{k::Space, 0}}, {}, -2},
      {"space toggles in mode 1",
       SelectionMode::Toggle,
       {5},
       2,
       {{k::Space, 0}, {k::Down, 0}, {k::Space, 0}},
       {2, 3, 5},
       3},
      {"space twice unselects in mode 1", SelectionMode::Toggle, {}, 2, {{k::Space, 0}, {k::Space, 0}}, {}, 2},
      {"space selects in mode 3 too", SelectionMode::Single, {}, 2, {{k::Space, 0}}, {2}, 2},
      {"space selects nothing in mode 0", SelectionMode::None, {}, 2, {{k::Space, 0}}, {}, -2},
      {"a move in mode 2 clears the selection", SelectionMode::Multiple, {5, 6}, 2, {{k::Down, 0}}, {}, -1},
      {"ctrl keeps the selection while moving",
       SelectionMode::Multiple,
       {5, 6},
       2,
       {{k::Down, k::CtrlMask}},
       {5, 6},
       -2},
      {"a move in mode 3 clears the selection", SelectionMode::Single, {5}, 2, {{k::Down, k::CtrlMask}}, {}, -1},
      {"a move in mode 1 keeps the selection", SelectionMode::Toggle, {5}, 2, {{k::Down, 0}}, {5}, -2},
      {"shift+down extends from the cursor row",
       SelectionMode::Multiple,
       {},
       2,
       {{k::Down, k::ShiftMask}, {k::Down, k::ShiftMask}, {k::Down, k::ShiftMask}},
       {2, 3, 4, 5},
       2},
      {"shift+up shrinks the extension again",
       SelectionMode::Multiple,
       {},
       2,
       {{k::Down, k::ShiftMask}, {k::Down, k::ShiftMask}, {k::Up, k::ShiftMask}},
       {2, 3},
       2},
      {"shift+up past the anchor turns the range around",
       SelectionMode::Multiple,
       {},
       4,
       {{k::Down, k::ShiftMask}, {k::Up, k::ShiftMask}, {k::Up, k::ShiftMask}, {k::Up, k::ShiftMask}},
       {2, 3, 4},
       4},
      {"shift+end extends from the anchor to the last row",
       SelectionMode::Multiple,
       {},
       6,
       {{k::Space, 0}, {k::End, k::ShiftMask}},
       {6, 7, 8, 9},
       6},
      {"ctrl+a selects every row in mode 2",
       SelectionMode::Multiple,
       {},
       4,
       {{k::LetterA, k::CtrlMask}},
       {0, 1, 2, 3, 4, 5, 6, 7, 8, 9},
       0},
      {"ctrl+a selects every row in mode 1",
       SelectionMode::Toggle,
       {},
       4,
       {{k::LetterA, k::CtrlMask}},
       {0, 1, 2, 3, 4, 5, 6, 7, 8, 9},
       0},
      {"ctrl+a selects nothing in mode 3", SelectionMode::Single, {}, 4, {{k::LetterA, k::CtrlMask}}, {}, -2},
      {"ctrl+a selects nothing in mode 0", SelectionMode::None, {}, 4, {{k::LetterA, k::CtrlMask}}, {}, -2},
      {"escape clears the selection", SelectionMode::Multiple, {1, 5}, 4, {{k::Escape, 0}}, {}, -1},
      {"escape in mode 1 clears too", SelectionMode::Toggle, {1, 5}, 4, {{k::Escape, 0}}, {}, -1},
  };
  for (const SelectionCase& c : cases) {
    RowStore store;
    fillCatalog(store, flatRows(10));
    GridModel grid(store);
    setUp(grid, 4, c.mode);
    for (int r : c.before) store.setSelected(r, true);
    grid.Grid_MoveCursor(c.cursor);
    for (auto [key, shift] : c.keys) grid.Grid_KeyDown(key, shift);
    EXPECT_EQ(selectedRows(grid), c.selected) << c.behaviour;
    if (c.anchor != -2) {
      EXPECT_EQ(grid.anchorRow(), c.anchor) << c.behaviour;
    }
  }
}

TEST(GridModelTest, KeyReportsCursorMovesAndSelectionChanges) {
  RowStore store;
  fillCatalog(store, flatRows(10));
  GridModel grid(store);
  setUp(grid, 4);
  const GridUpdate down = grid.Grid_KeyDown(k::Down, 0);
  EXPECT_TRUE(down.cursorMoved);
  EXPECT_FALSE(down.selectionChanged);
  EXPECT_EQ(down.cells, (std::vector<GridCell>{{0, 0}, {0, 1}})) << "exactly the old and the new cursor cell";
  const GridUpdate space = grid.Grid_KeyDown(k::Space, 0);
  EXPECT_FALSE(space.cursorMoved);
  EXPECT_TRUE(space.selectionChanged);
  EXPECT_EQ(space.rows, std::vector<int>{1});
  const GridUpdate up = grid.Grid_KeyDown(k::Up, 0);
  EXPECT_TRUE(up.cursorMoved);
  EXPECT_TRUE(up.selectionChanged) << "moving in mode 2 cleared the selection";
}

// ------------------------------------------------------------------ initials

TEST(GridModelTest, TypedInitialJumpsToTheNextRowStartingWithItAndWraps) {
  RowStore store;
  fillCatalog(store, {{u"apple", 1, KindFile},
                      {u"  banana", 1, KindFile},
                      {u"Cherry", 1, KindFile},
                      {u"avocado", 1, KindFile},
                      {u"Blue", 1, KindFile},
                      {u"123", 1, KindFile},
                      {u"@home", 1, KindFile}});
  GridModel grid(store);
  setUp(grid, 4);
  const struct {
    const char* behaviour;
    int key;
    int shift;
    int cursor;
  } steps[] = {
      {"next row with the letter, case ignored", k::LetterA, 0, 3},
      {"wraps to the top", k::LetterA, 0, 0},
      {"leading blanks are skipped", k::LetterA + 1, 0, 1},
      {"next b after the cursor", k::LetterA + 1, 0, 4},
      {"a letter no row starts with leaves the cursor", k::LetterZ, 0, 4},
      {"digits jump", k::Digit0 + 1, 0, 5},
      {"the at-sign key", k::AtSign, 0, 6},
      {"numeric pad digits count as digits", k::Pad0 + 1, 0, 5},
      {"shift held: no jump", k::LetterA, k::ShiftMask, 5},
      {"ctrl held: no jump", k::LetterA + 2, k::CtrlMask, 5},
  };
  for (const auto& s : steps) {
    grid.Grid_KeyDown(s.key, s.shift);
    EXPECT_EQ(grid.cursorRow(), s.cursor) << s.behaviour;
  }
}

// ------------------------------------------------------------------ mouse

struct Click {
  int shift;
  int row;
};

struct MouseCase {
  const char* behaviour;
  SelectionMode mode;
  std::vector<Click> clicks;
  std::set<int> selected;
  int cursor;
};

TEST(GridModelTest, ClicksSelectByTheSelectionMode) {
  const MouseCase cases[] = {
      {"a click selects the clicked row", SelectionMode::Multiple, {{0, 2}}, {2}, 2},
      {"shift+click selects from the anchor", SelectionMode::Multiple, {{0, 1}, {k::ShiftMask, 3}}, {1, 2, 3}, 3},
      {"a second shift+click replaces the range",
       SelectionMode::Multiple,
       {{0, 1}, {k::ShiftMask, 3}, {k::ShiftMask, 2}},
       {1, 2},
       2},
      {"ctrl+click toggles one row", SelectionMode::Multiple, {{0, 1}, {k::ShiftMask, 3}, {k::CtrlMask, 2}}, {1, 3}, 2},
      {"ctrl+click adds a row", SelectionMode::Multiple, {{0, 1}, {k::CtrlMask, 3}}, {1, 3}, 3},
      {"a plain click replaces the selection", SelectionMode::Multiple, {{0, 1}, {k::ShiftMask, 3}, {0, 0}}, {0}, 0},
      {"shift+click without an anchor extends from the cursor row",
       SelectionMode::Multiple,
       {{k::ShiftMask, 2}},
       {0, 1, 2},
       2},
      {"mode 1 toggles every click", SelectionMode::Toggle, {{0, 1}, {0, 3}, {0, 1}}, {3}, 1},
      {"mode 3 keeps one row", SelectionMode::Single, {{0, 1}, {k::CtrlMask, 3}}, {3}, 3},
      {"mode 0 only moves the cursor", SelectionMode::None, {{0, 1}, {k::ShiftMask, 3}}, {}, 3},
  };
  for (const MouseCase& c : cases) {
    RowStore store;
    fillCatalog(store, flatRows(6));
    GridModel grid(store);
    setUp(grid, 4, c.mode);
    for (const Click& click : c.clicks) {
      grid.Grid_MouseDown(k::LeftButton, click.shift, 10, click.row * RowH + 3);
      grid.Grid_MouseUp(k::LeftButton, click.shift, 10, click.row * RowH + 3);
    }
    EXPECT_EQ(selectedRows(grid), c.selected) << c.behaviour;
    EXPECT_EQ(grid.cursorRow(), c.cursor) << c.behaviour;
  }
}

TEST(GridModelTest, ClickPlacesTheCursorCellAndIgnoresRowsBelowTheLast) {
  RowStore store;
  fillCatalog(store, flatRows(3));
  GridModel grid(store);
  setUp(grid, 6);
  grid.columns().setCount(2);
  grid.columns().column(0).width = 150;
  grid.columns().column(1).width = 0;
  grid.Grid_Refresh();
  const struct {
    const char* behaviour;
    int x;
    int y;
    int cursor;
    int column;
    bool moved;
  } cases[] = {
      {"row 1, column 1", 200, RowH + 1, 1, 1, true},
      {"above the first row counts as the top row", 20, -5, 0, 0, true},
      {"below the last row is ignored", 20, 5 * RowH, 0, 0, false},
      {"the last pixel of row 2", 20, 3 * RowH - 1, 2, 0, true},
  };
  for (const auto& c : cases) {
    const GridUpdate u = grid.Grid_MouseDown(k::LeftButton, 0, c.x, c.y);
    grid.Grid_MouseUp(k::LeftButton, 0, c.x, c.y);
    EXPECT_EQ(grid.cursorRow(), c.cursor) << c.behaviour;
    EXPECT_EQ(grid.cursorColumn(), c.column) << c.behaviour;
    EXPECT_EQ(u.cursorMoved, c.moved) << c.behaviour;
  }
}

TEST(GridModelTest, DraggingSelectsARangeAndScrollsAtTheEdges) {
  RowStore store;
  fillCatalog(store, flatRows(10));
  GridModel grid(store);
  setUp(grid, 4);
  grid.Grid_MouseDown(k::LeftButton, 0, 10, RowH + 2);      // row 1
  grid.Grid_MouseMove(k::LeftButton, 0, 10, 3 * RowH + 2);  // row 3
  EXPECT_EQ(selectedRows(grid), (std::set<int>{1, 2, 3}));
  grid.Grid_MouseMove(k::LeftButton, 0, 10, 4 * RowH + 5);  // below the surface
  EXPECT_EQ(grid.topRow(), 1) << "one row per mouse event";
  EXPECT_EQ(selectedRows(grid), (std::set<int>{1, 2, 3, 4}));
  grid.Grid_MouseMove(k::LeftButton, 0, 10, 2 * RowH + 2);  // back to row 3
  EXPECT_EQ(selectedRows(grid), (std::set<int>{1, 2, 3}));
  grid.Grid_MouseUp(k::LeftButton, 0, 10, 2 * RowH + 2);
  grid.Grid_MouseMove(k::LeftButton, 0, 10, 0);
  EXPECT_EQ(selectedRows(grid), (std::set<int>{1, 2, 3})) << "moves after the release change nothing";
}

TEST(GridModelTest, MovesAfterAnExpandBoxClickAreIgnoredUntilRelease) {
  RowStore store;
  fillCatalog(store, flatRows(6));
  GridModel grid(store);
  setUp(grid, 4);
  grid.Grid_MouseDown(k::LeftButton, 0, 10, 2);
  grid.beginToggle();
  grid.Grid_MouseMove(k::LeftButton, 0, 10, 3 * RowH);
  EXPECT_EQ(selectedRows(grid), std::set<int>{0});
  grid.Grid_MouseUp(k::LeftButton, 0, 10, 3 * RowH);
  grid.Grid_MouseDown(k::LeftButton, k::ShiftMask, 10, 2 * RowH);
  EXPECT_EQ(selectedRows(grid), (std::set<int>{0, 1, 2}));
}

TEST(GridModelTest, RightButtonHitCellMovesOnlyTheCursor) {
  RowStore store;
  fillCatalog(store, flatRows(6));
  GridModel grid(store);
  setUp(grid, 4);
  store.setSelected(4, true);
  const GridUpdate u = grid.Grid_HitCell(10, 2 * RowH + 1);
  EXPECT_TRUE(u.cursorMoved);
  EXPECT_EQ(grid.cursorRow(), 2);
  EXPECT_EQ(selectedRows(grid), std::set<int>{4});
  EXPECT_TRUE(grid.Grid_MouseDown(k::RightButton, 0, 10, RowH).empty()) << "the right button is the window's";
}

// ------------------------------------------------------------------ scrolling

TEST(GridModelTest, ScrollingShiftsShortMovesAndRepaintsLongOnes) {
  const struct {
    const char* behaviour;
    BackgroundMode background;
    int from;
    int to;
    int scrolled;
    bool full;
    int top;
  } cases[] = {
      {"one row shifts the pixels", BackgroundMode::Plain, 0, 1, 1, false, 1},
      {"up to visible - 2 rows shifts", BackgroundMode::Plain, 10, 2, -8, false, 2},
      {"visible - 1 rows repaints", BackgroundMode::Plain, 0, 9, 0, true, 9},
      {"a jump repaints", BackgroundMode::Plain, 0, 50, 0, true, 50},
      {"beyond the end stops at the last top row", BackgroundMode::Plain, 0, 500, 0, true, 90},
      {"the gradient repaints even one row", BackgroundMode::Gradient, 0, 1, 0, true, 1},
      {"no move, nothing", BackgroundMode::Plain, 5, 5, 0, false, 5},
  };
  for (const auto& c : cases) {
    RowStore store;
    fillCatalog(store, flatRows(100));
    GridModel grid(store);
    setUp(grid, 10);
    grid.settings().backgroundMode = c.background;
    grid.Grid_ScrollTo(c.from, true);
    const GridUpdate u = grid.Grid_ScrollTo(c.to, false);
    EXPECT_EQ(u.scrolled, c.scrolled) << c.behaviour;
    EXPECT_EQ(u.full, c.full) << c.behaviour;
    EXPECT_EQ(grid.topRow(), c.top) << c.behaviour;
  }
}

TEST(GridModelTest, ScrollBarShowsOnlyWhenRowsDoNotFitAndNarrowsTheLastColumn) {
  const struct {
    const char* behaviour;
    int rows;
    bool bar;
    int lastRight;
  } cases[] = {
      {"all rows fit: full width", 4, false, 400},
      {"one row more: the bar takes its width", 5, true, 400 - 16 - 1},
  };
  for (const auto& c : cases) {
    RowStore store;
    fillCatalog(store, flatRows(c.rows));
    GridModel grid(store);
    setUp(grid, 4);
    grid.columns().setCount(2);
    grid.columns().column(0).width = 150;
    grid.columns().column(1).width = 0;
    grid.Grid_ScrollTo(3, true);
    grid.Grid_Refresh();
    EXPECT_EQ(grid.needsScrollBar(), c.bar) << c.behaviour;
    EXPECT_EQ(grid.columns().column(1).right, c.lastRight) << c.behaviour;
    if (!c.bar) {
      EXPECT_EQ(grid.topRow(), 0) << c.behaviour;
    }
  }
}

TEST(GridModelTest, ShowRowKeepsOneRowOfMarginAndKeepRowAtPlacesTheRow) {
  RowStore store;
  fillCatalog(store, flatRows(50));
  GridModel grid(store);
  setUp(grid, 10);
  const struct {
    const char* behaviour;
    int row;
    int top;
  } cases[] = {
      {"a row below the view ends one above the bottom", 30, 22},
      {"a row above the view ends one below the top", 10, 9},
      {"a visible row inside the margin leaves the view", 15, 9},
      {"the first row", 0, 0},
      {"the last row", 49, 40},
  };
  for (const auto& c : cases) {
    grid.Grid_ShowRow(c.row, true);
    EXPECT_EQ(grid.topRow(), c.top) << c.behaviour;
    EXPECT_EQ(grid.cursorRow(), c.row) << c.behaviour;
  }
  grid.Grid_KeepRowAt(20, 3);
  EXPECT_EQ(grid.topRow(), 17);
  grid.Grid_KeepRowAt(48, 0);
  EXPECT_EQ(grid.topRow(), 40) << "clamped to the last top row";
}

// ------------------------------------------------------------------ metrics

TEST(GridModelTest, RowMetricsFollowSpacingRulesAndEmboss) {
  const struct {
    const char* behaviour;
    int text, spacing, rule;
    bool emboss;
    int surface;
    int top, bottom, line, row, visible;
  } cases[] = {
      {"default spacing 2", 12, 2, 0, false, 140, 1, 1, 14, 14, 10},
      {"odd spacing puts the extra pixel below", 12, 3, 0, false, 140, 1, 2, 15, 15, 9},
      {"half the spacing above 2 gives margins of 2", 12, 6, 0, false, 180, 2, 2, 18, 18, 10},
      {"a rule adds its width", 12, 2, 1, false, 150, 1, 1, 14, 15, 10},
      {"emboss adds a pixel", 12, 2, 1, true, 160, 1, 1, 14, 16, 10},
      {"a window too low still shows one row", 12, 2, 0, false, 5, 1, 1, 14, 14, 1},
  };
  for (const auto& c : cases) {
    const GridMetrics m = GridMetrics::measure(c.text, c.spacing, c.rule, c.emboss, c.surface);
    EXPECT_EQ(m.topMargin, c.top) << c.behaviour;
    EXPECT_EQ(m.bottomMargin, c.bottom) << c.behaviour;
    EXPECT_EQ(m.lineHeight, c.line) << c.behaviour;
    EXPECT_EQ(m.rowHeight, c.row) << c.behaviour;
    EXPECT_EQ(m.visibleRows, c.visible) << c.behaviour;
  }
}

// ------------------------------------------------------------------ columns

struct ColumnSpec {
  int width;
  bool fixed;
};

struct LayoutCase {
  const char* behaviour;
  std::vector<ColumnSpec> columns;
  int gridWidth;
  int rule;
  int scrollBar;
  int stretch;
  std::vector<int> lefts, rights, edges;
};

TEST(GridModelTest, ColumnLayoutPlacesEveryColumn) {
  const LayoutCase cases[] = {
      {"last width 0 takes the rest",
       {{200, false}, {100, false}, {0, false}},
       500,
       1,
       0,
       -1,
       {0, 201, 301},
       {200, 300, 500},
       {200, 300, 500}},
      {"wider rules split around the edge",
       {{200, false}, {100, false}, {0, false}},
       500,
       2,
       0,
       -1,
       {0, 201, 301},
       {199, 299, 499},
       {200, 300, 500}},
      {"the scroll bar narrows the last column",
       {{200, false}, {0, false}},
       500,
       1,
       16,
       -1,
       {0, 201},
       {200, 483},
       {200, 500}},
      {"a free column beyond the grid takes the rest",
       {{300, false}, {300, false}},
       500,
       1,
       0,
       -1,
       {0, 301},
       {300, 500},
       {300, 500}},
      {"fixed columns take their room from the free one before them",
       {{300, false}, {150, true}, {150, true}},
       500,
       1,
       0,
       -1,
       {0, 201, 351},
       {200, 350, 500},
       {200, 350, 500}},
      {"the giving column keeps 20 px", {{30, false}, {480, true}}, 400, 1, 0, -1, {0, 21}, {20, 400}, {20, 400}},
      {"the stretch column takes what the others leave",
       {{200, false}, {50, false}, {96, true}, {80, true}},
       600,
       1,
       0,
       1,
       {0, 201, 425, 521},
       {200, 424, 520, 600},
       {200, 424, 520, 600}},
      {"the stretch column keeps 2 px",
       {{300, false}, {50, false}, {200, true}, {200, true}},
       600,
       1,
       0,
       1,
       {0, 301, 303, 503},
       {300, 302, 502, 600},
       {300, 302, 502, 600}},
  };
  for (const LayoutCase& c : cases) {
    ColumnLayout layout;
    layout.setCount(static_cast<int>(c.columns.size()));
    for (std::size_t i = 0; i < c.columns.size(); ++i) {
      layout.column(static_cast<int>(i)).width = c.columns[i].width;
      layout.column(static_cast<int>(i)).fixed = c.columns[i].fixed;
    }
    layout.setStretchColumn(c.stretch);
    layout.fit(c.gridWidth - c.scrollBar);
    layout.compute(c.gridWidth, c.rule, c.scrollBar);
    std::vector<int> lefts, rights, edges;
    for (int i = 0; i < layout.count(); ++i) {
      lefts.push_back(layout.column(i).left);
      rights.push_back(layout.column(i).right);
      edges.push_back(layout.column(i).edge);
    }
    EXPECT_EQ(lefts, c.lefts) << c.behaviour;
    EXPECT_EQ(rights, c.rights) << c.behaviour;
    EXPECT_EQ(edges, c.edges) << c.behaviour;
  }
}

TEST(GridModelTest, ColumnAtUsesTheSpanUpToEachRight) {
  ColumnLayout layout;
  layout.setCount(3);
  layout.column(0).width = 100;
  layout.column(1).width = 100;
  layout.column(2).width = 100;
  layout.compute(400, 1, 0);
  const struct {
    int x;
    int column;
  } cases[] = {{-3, 0}, {0, 0}, {99, 0}, {100, 1}, {199, 1}, {200, 2}, {299, 2}, {350, 2}};
  for (const auto& c : cases) EXPECT_EQ(layout.columnAt(c.x), c.column) << "x " << c.x;
}

struct DragCase {
  const char* behaviour;
  std::vector<ColumnSpec> columns;
  int press;
  int release;              // ignored when no drag starts
  int dragged;              // resized column, -1 none
  std::vector<int> widths;  // after the release
};

TEST(GridModelTest, ItemBarDragKeepsItsLimits) {
  const DragCase cases[] = {
      {"press on the right boundary, inside", {{200, false}, {200, false}, {200, false}}, 395, 450, 1, {200, 250, 150}},
      {"press on the left side of the next column",
       {{200, false}, {200, false}, {200, false}},
       405,
       350,
       1,
       {200, 150, 250}},
      {"the guide stops 80 px short of the next column's right",
       {{200, false}, {200, false}, {200, false}},
       398,
       590,
       1,
       {200, 320, 80}},
      {"the guide stops 80 px past the column's left",
       {{200, false}, {200, false}, {200, false}},
       398,
       100,
       1,
       {200, 81, 319}},
      {"the next column never ends narrower than 20 px",
       {{200, false}, {50, false}, {30, false}},
       250,
       260,
       1,
       {200, 60, 20}},
      {"a press in the middle of a title starts no drag",
       {{200, false}, {200, false}, {200, false}},
       300,
       350,
       -1,
       {200, 200, 200}},
      {"the boundary before a fixed column cannot be dragged",
       {{200, false}, {200, false}, {100, true}},
       397,
       350,
       -1,
       {200, 200, 100}},
      {"nor from the fixed column's side", {{200, false}, {200, false}, {100, true}}, 404, 350, -1, {200, 200, 100}},
      {"the last column's right boundary cannot be dragged", {{200, false}, {200, false}}, 398, 350, -1, {200, 200}},
      {"column 0 is resized from its right boundary",
       {{200, false}, {200, false}, {200, false}},
       203,
       250,
       0,
       {250, 150, 200}},
  };
  for (const DragCase& c : cases) {
    RowStore store;
    fillCatalog(store, flatRows(3));
    GridModel grid(store);
    setUp(grid, 4);
    int total = 0;
    grid.columns().setCount(static_cast<int>(c.columns.size()));
    for (std::size_t i = 0; i < c.columns.size(); ++i) {
      grid.columns().column(static_cast<int>(i)).width = c.columns[i].width;
      grid.columns().column(static_cast<int>(i)).fixed = c.columns[i].fixed;
      total += c.columns[i].width;
    }
    grid.Grid_Layout(total, -1);
    const GridUpdate down = grid.Grid_ItemBarMouseDown(k::LeftButton, c.press);
    EXPECT_EQ(grid.itemBarDrag().column(), c.dragged) << c.behaviour;
    EXPECT_EQ(down.picked, c.dragged < 0) << c.behaviour;
    grid.Grid_ItemBarMouseMove(k::LeftButton, c.release);
    grid.Grid_ItemBarMouseUp(k::LeftButton, c.release);
    std::vector<int> widths;
    for (int i = 0; i < grid.columns().count(); ++i) widths.push_back(grid.columns().column(i).width);
    EXPECT_EQ(widths, c.widths) << c.behaviour;
  }
}

TEST(GridModelTest, ItemBarHoverShowsTheResizePointerOnlyAtDraggableBoundaries) {
  RowStore store;
  fillCatalog(store, flatRows(3));
  GridModel grid(store);
  setUp(grid, 4);
  grid.columns().setCount(3);
  grid.columns().column(0).width = 200;
  grid.columns().column(1).width = 200;
  grid.columns().column(2).width = 100;
  grid.columns().column(2).fixed = true;
  grid.Grid_Layout(500, -1);
  const struct {
    int x;
    bool resize;
    int column;
  } cases[] = {{195, true, 0}, {208, true, 1}, {300, false, 1}, {398, false, 1}, {450, false, 2}};
  for (const auto& c : cases) {
    grid.Grid_ItemBarMouseMove(0, c.x);
    EXPECT_EQ(grid.resizePointer(), c.resize) << "x " << c.x;
    EXPECT_EQ(grid.hoverColumn(), c.column) << "x " << c.x;
  }
  const GridUpdate picked = grid.Grid_ItemBarMouseDown(k::LeftButton, 450);
  EXPECT_TRUE(picked.picked);
  EXPECT_EQ(grid.pickedColumn(), 2);
  EXPECT_EQ(grid.cursorColumn(), 2) << "a picked title becomes the cursor column";
}

// ------------------------------------------------------------------ colours

TEST(GridModelTest, TreeLineColourFollowsTheBackgroundBrightness) {
  const struct {
    const char* behaviour;
    Colour background;
    Colour line;
  } cases[] = {
      {"white", 0xFFFFFF, 0xC0C0C0},
      {"black", 0x000000, 0xC0C0C0},
      {"L = 769 is grey", rgb(1, 192, 192), 0x808080},
      {"L = 768 is light", rgb(0, 192, 192), 0xC0C0C0},
      {"L = 1088 is grey", rgb(68, 255, 255), 0x808080},
      {"L = 1089 is light", rgb(69, 255, 255), 0xC0C0C0},
  };
  for (const auto& c : cases) EXPECT_EQ(gridcolours::treeLine(c.background), c.line) << c.behaviour;
}

TEST(GridModelTest, CellTextColourPrecedence) {
  GridSettings s;
  s.textColour = 0x111111;
  s.cursorTextColour = 0x222222;
  s.selectionText = 0x333333;
  const struct {
    const char* behaviour;
    TextColourMode mode;
    int colourColumn;
    bool selected;
    bool cursorCell;
    bool cursorMode;
    int column;
    Colour expected;
  } cases[] = {
      {"plain mode", TextColourMode::Plain, -1, false, false, true, 0, 0x111111},
      {"colour index mode: level colour of the index", TextColourMode::ByColourIndex, -1, false, false, true, 0,
       0xA820B0},
      {"level mode: level colour of the level", TextColourMode::ByLevel, -1, false, false, true, 0, 0x7020B8},
      {"colour column in its column", TextColourMode::Plain, 1, false, false, true, 1, 0xA820B0},
      {"colour column leaves the other columns plain", TextColourMode::ByColourIndex, 1, false, false, true, 0,
       0x111111},
      {"selected row beats the colour column", TextColourMode::Plain, 1, true, false, true, 1, 0x333333},
      {"cursor cell beats the selection", TextColourMode::Plain, -1, true, true, true, 0, 0x222222},
      {"no cursor colour without cursor mode", TextColourMode::Plain, -1, true, true, false, 0, 0x333333},
  };
  for (const auto& c : cases) {
    s.textColourMode = c.mode;
    s.colourColumn = c.colourColumn;
    s.cursorMode = c.cursorMode;
    const RowLook row{.displayRow = 4, .level = 2, .colourIndex = 3, .selected = c.selected};
    EXPECT_EQ(gridcolours::cellText(s, row, c.column, c.cursorCell), c.expected) << c.behaviour;
  }
}

TEST(GridModelTest, RowBackgroundByMode) {
  GridSettings s;
  s.backColour = 0x101010;
  s.palette[0] = 0x000000;
  s.palette[1] = 0x0A1428;
  const struct {
    const char* behaviour;
    BackgroundMode mode;
    int displayRow;
    int line;
    bool selected;
    int column;
    Colour expected;
  } cases[] = {
      {"plain", BackgroundMode::Plain, 3, 3, false, 0, 0x101010},
      {"highlight mark 2 picks palette 2", BackgroundMode::Highlight, 3, 3, false, 0, 0xE4F4C4},
      {"level 5 picks palette 5", BackgroundMode::Level, 3, 3, false, 0, 0xD0F8F8},
      {"even stripe", BackgroundMode::Stripes, 4, 0, false, 0, 0x000000},
      {"odd stripe", BackgroundMode::Stripes, 5, 1, false, 0, 0x0A1428},
      {"gradient top line", BackgroundMode::Gradient, 7, 0, false, 0, 0x000000},
      {"gradient line 5 of 10 moves half way", BackgroundMode::Gradient, 12, 5, false, 0, 0x050A14},
      {"column mode picks the column's entry", BackgroundMode::Columns, 3, 3, false, 3, 0xFCF0FC},
      {"a selected row in the selection background", BackgroundMode::Highlight, 3, 3, true, 0, SystemSelectionBack},
  };
  for (const auto& c : cases) {
    s.backgroundMode = c.mode;
    const RowLook row{.displayRow = c.displayRow,
                      .level = 5,
                      .colourIndex = 0,
                      .highlight = 2,
                      .selected = c.selected,
                      .line = c.line,
                      .visibleRows = 10};
    EXPECT_EQ(gridcolours::rowBackground(s, row, c.column), c.expected) << c.behaviour;
  }
}

TEST(GridModelTest, CursorFillInvertsWhenItWouldVanishOnTheSelection) {
  GridSettings s;
  const struct {
    const char* behaviour;
    Colour cursor;
    bool selected;
    bool outline;
    Colour expected;
  } cases[] = {
      {"the cursor colour", 0x80FFFF, true, false, 0x80FFFF},
      {"no fill", NoColour, false, false, NoColour},
      {"same as the selection on a selected row: inverse", SystemSelectionBack, true, false, 0x00FF7F},
      {"with the outline the fill stays", SystemSelectionBack, true, true, SystemSelectionBack},
      {"on an unselected row the fill stays", SystemSelectionBack, false, false, SystemSelectionBack},
  };
  for (const auto& c : cases) {
    s.cursorColour = c.cursor;
    s.cursorOutline = c.outline;
    EXPECT_EQ(gridcolours::cursorFill(s, c.selected, 0xFF0080), c.expected) << c.behaviour;
  }
}

// ------------------------------------------------------------------ tree lines

// 0 TITLE, 1 A, 2 a.txt, 3 B, 4 b.txt, 5 C: A holds a file and folder B
// (which holds a file); C follows A.
class GridTreeTest : public ::testing::Test {
protected:
  void SetUp() override {
    fillCatalog(store, {{u"TITLE", 0, KindTitleHD},
                        {u"A", 1, KindFolder},
                        {u"a.txt", 2, KindFile},
                        {u"B", 2, KindFolder},
                        {u"b.txt", 3, KindFile},
                        {u"C", 1, KindFolder}});
    setUp(grid, 10);
    grid.settings().treeMode = true;
    grid.Grid_FinishRows(0);
    grid.Grid_Refresh();
  }
  std::vector<TreeLineSegment> linesOf(int first, int last, std::vector<TreeBox>* boxes = nullptr) {
    std::vector<TreeLineSegment> lines;
    std::vector<TreeBox> b;
    grid.treeLines(first, last, lines, b);
    if (boxes != nullptr) *boxes = b;
    return lines;
  }
  RowStore store;
  GridModel grid{store};
};

TEST_F(GridTreeTest, RowsGetConnectorsAncestorLinesAndBoxes) {
  // Indent per level 16, rows 14 px, no icons: middle = top + 7, icon offset 7.
  const struct {
    const char* behaviour;
    int row;
    std::vector<TreeLineSegment> lines;
    std::vector<TreeBox> boxes;
  } cases[] = {
      {"title line: a stub at the first child's connector", 0, {{11, 6, 11, 13}}, {}},
      {"open folder with a later sibling: through line, connector, line down, minus box",
       1,
       {{11, 4, 11, 27}, {11, 21, 24, 21}, {27, 21, 27, 27}},
       {{11, 21, false}}},
      {"file under A: A's line continues at the left", 2, {{11, 28, 11, 41}, {27, 18, 27, 41}, {27, 35, 40, 35}}, {}},
      {"last folder in A: line ends at the middle", 3, {{11, 42, 11, 55}, {27, 32, 27, 49}, {27, 49, 40, 49}}, {}},
      {"file under B: A continues, B was the last", 4, {{11, 56, 11, 69}, {43, 46, 43, 63}, {43, 63, 56, 63}}, {}},
      {"last folder of the medium", 5, {{11, 60, 11, 77}, {11, 77, 24, 77}}, {}},
  };
  for (const auto& c : cases) {
    std::vector<TreeBox> boxes;
    EXPECT_EQ(linesOf(c.row, c.row, &boxes), c.lines) << c.behaviour;
    EXPECT_EQ(boxes, c.boxes) << c.behaviour;
  }
}

TEST_F(GridTreeTest, CollapsedFolderShowsAPlusAndNoLineDown) {
  store.setDisplayOrder({0, 1, 5});
  store.setDisplayFlags(1, store.displayFlags(1) | TreeCollapsed);
  std::vector<TreeBox> boxes;
  EXPECT_EQ(linesOf(1, 1, &boxes), (std::vector<TreeLineSegment>{{11, 4, 11, 27}, {11, 21, 24, 21}}));
  EXPECT_EQ(boxes, (std::vector<TreeBox>{{11, 21, true}}));
}

TEST_F(GridTreeTest, PaintingFromAnyTopRowDrawsTheSameAncestorLines) {
  const auto all = linesOf(0, 5);
  for (int top = 1; top <= 5; ++top) {
    grid.Grid_ScrollTo(top, true);
    grid.settings().treeMode = true;
    // The same rows drawn from another top row are the same lines moved up.
    std::vector<TreeLineSegment> shifted;
    for (int r = top; r <= 5; ++r) {
      for (TreeLineSegment s : linesOf(r, r)) shifted.push_back(s);
    }
    EXPECT_EQ(linesOf(top, 5), shifted) << "top " << top;
  }
  EXPECT_FALSE(all.empty());
}

TEST_F(GridTreeTest, NoLinesRightOfColumnZeroAndNoneForARowWithoutRoom) {
  grid.columns().setCount(2);
  grid.columns().column(0).width = 24;  // Right(0) = 24
  grid.columns().column(1).width = 0;
  grid.Grid_Refresh();
  std::vector<TreeBox> boxes;
  // Row 1 (A, indent 22): the connector is cut at Right(0), the line down
  // to its children (x 27) is not drawn.
  EXPECT_EQ(linesOf(1, 1, &boxes), (std::vector<TreeLineSegment>{{11, 4, 11, 27}, {11, 21, 23, 21}}));
  EXPECT_EQ(boxes, (std::vector<TreeBox>{{11, 21, false}}));
  // Row 3 (B, indent 38) has no room: none of its own lines, no box; A's
  // line at 11 still passes.
  boxes.clear();
  EXPECT_EQ(linesOf(3, 3, &boxes), (std::vector<TreeLineSegment>{{11, 42, 11, 55}}));
  EXPECT_TRUE(boxes.empty());
}

TEST_F(GridTreeTest, IconIsDrawnOnlyWhenItEndsLeftOfColumnZerosRight) {
  grid.columns().setCount(2);
  grid.columns().column(0).width = 50;
  grid.columns().column(1).width = 0;
  grid.Grid_Refresh();
  grid.Grid_SetIcons(10, 16, 16);  // line height 14: icons of 14 x 14, indent per level 16
  EXPECT_EQ(grid.icons().width, 14);
  EXPECT_EQ(grid.indentPerLevel(), 16);
  const struct {
    int row;
    int icon;
    int x;
    int textLeft;
  } cases[] = {
      {1, KindFolder, 22, 38},  // level 1: indent 22, text after the icon + 2
      {3, KindFolder, -1, 54},  // level 2: 38 + 14 > 50: not drawn
      {2, KindFile, -1, 54},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(grid.iconOf(c.row), c.icon) << c.row;
    EXPECT_EQ(grid.iconX(c.row), c.x) << c.row;
    EXPECT_EQ(grid.textRect(0, c.row).left, std::min(c.textLeft, grid.textRect(0, c.row).right)) << c.row;
  }
}

TEST_F(GridTreeTest, FinishRowsMarksTheLastRowAndItsAncestors) {
  // derive leaves the rows at the very end without the last-sibling mark
  store.appendShown(buildRecord({u"D"}), 2, 0, KindFolder, 1);
  store.appendShown(buildRecord({u"E"}), 3, 0, KindFolder, 2);
  store.appendShown(buildRecord({u"e.txt"}), 0, 0, KindFile, 3);
  EXPECT_TRUE(grid.pendingRows());
  grid.Grid_FinishRows(0);
  EXPECT_FALSE(grid.pendingRows());
  for (int d : {6, 7, 8}) EXPECT_NE(store.displayFlags(d) & TreeLast, 0) << d;
  EXPECT_NE(store.treeFlags(8) & TreeLast, 0);
  EXPECT_EQ(store.displayFlags(0) & TreeLast, 0) << "the title line is never a sibling";
}

// ------------------------------------------------------------------ cell geometry for editing

TEST(GridModelTest, EditRectCoversTheCellInsideItsBoundaries) {
  RowStore store;
  fillCatalog(store, flatRows(20));
  GridModel grid(store);
  setUp(grid, 10);
  grid.columns().setCount(3);
  grid.columns().column(0).width = 100;
  grid.columns().column(1).width = 150;
  grid.columns().column(2).width = 0;
  grid.Grid_ScrollTo(5, true);
  grid.Grid_Refresh();
  const struct {
    const char* behaviour;
    int spacing;
    int column;
    int row;
    GridRect rect;
  } cases[] = {
      {"column 0 starts 2 px from the grid's edge; margins of 1 are odd", 2, 0, 5, {2, 1, 98, 12}},
      {"column 1, third visible row", 2, 1, 7, {102, 29, 248, 40}},
      {"even margins: the text line less 2 px", 4, 1, 6, {102, 17, 248, 31}},
      {"last column ends before the scroll bar", 3, 2, 6, {252, 16, 381, 28}},
  };
  for (const auto& c : cases) {
    grid.settings().lineSpacing = c.spacing;
    grid.Grid_Layout(-1, -1);
    EXPECT_EQ(grid.editRect(c.column, c.row), c.rect) << c.behaviour;
  }
}

// ------------------------------------------------------------------ deleting

// 0 TITLE, 1 A, 2 a1.txt, 3 a2.txt, 4 B, 5 b1.txt, 6 C, 7 c1.txt
std::vector<Row> treeWithFiles() {
  return {{u"TITLE", 0, KindTitleHD}, {u"A", 1, KindFolder},    {u"a1.txt", 2, KindFile}, {u"a2.txt", 2, KindFile},
          {u"B", 2, KindFolder},      {u"b1.txt", 3, KindFile}, {u"C", 1, KindFolder},    {u"c1.txt", 2, KindFile}};
}

// Marks a folder directly followed by a file as having files, as the tree
// display does before its first build.
void markFiles(RowStore& store) {
  for (int r = 0; r + 1 < store.rowCount(); ++r) {
    if (isFolderLike(store.kind(r)) && !isFolderLike(store.kind(r + 1)) && store.level(r + 1) == store.level(r) + 1) {
      store.setTreeFlags(r, store.treeFlags(r) | TreeHasFiles);
    }
  }
}

struct DeleteCase {
  const char* behaviour;
  std::vector<std::int32_t> shown;  // display order (stored rows)
  std::vector<int> collapsed;       // stored rows marked collapsed
  std::vector<int> select;          // display rows
  bool incomplete;
  std::vector<Text> remaining;
  std::vector<Text> shownAfter;
  std::vector<std::pair<Text, int>> flags;  // name, expected flags & (1 | 2 | 16)
  int cursor;
};

TEST(GridModelTest, DeleteRemovesExactlyTheSelectedRowsAndTheirSubtrees) {
  const std::vector<Text> all = {u"TITLE", u"A", u"a1.txt", u"a2.txt", u"B", u"b1.txt", u"C", u"c1.txt"};
  const DeleteCase cases[] = {
      {"a file beside the hidden subfolders of a collapsed folder goes alone",
       {0, 1, 2, 3, 6, 7},
       {1},
       {3},
       false,
       {u"TITLE", u"A", u"a1.txt", u"B", u"b1.txt", u"C", u"c1.txt"},
       {u"TITLE", u"A", u"a1.txt", u"C", u"c1.txt"},
       {{u"A", TreeHasChildren | TreeHasFiles}},
       3},
      {"a collapsed folder takes its hidden rows with it",
       {0, 1, 2, 3, 6, 7},
       {1},
       {1},
       true,
       {u"TITLE", u"C", u"c1.txt"},
       {u"TITLE", u"C", u"c1.txt"},
       {{u"C", TreeLast | TreeHasFiles}},
       1},
      {"the last files of a folder: it has files no more",
       {0, 1, 2, 3, 4, 5, 6, 7},
       {},
       {2, 3},
       false,
       {u"TITLE", u"A", u"B", u"b1.txt", u"C", u"c1.txt"},
       {u"TITLE", u"A", u"B", u"b1.txt", u"C", u"c1.txt"},
       {{u"A", TreeHasChildren}},
       2},
      {"the last subfolder: no children, the file before it becomes the last",
       {0, 1, 2, 3, 4, 5, 6, 7},
       {},
       {4},
       true,
       {u"TITLE", u"A", u"a1.txt", u"a2.txt", u"C", u"c1.txt"},
       {u"TITLE", u"A", u"a1.txt", u"a2.txt", u"C", u"c1.txt"},
       {{u"A", TreeHasFiles}, {u"a2.txt", TreeLast}},
       4},
      {"a folder with all of its rows selected is complete",
       {0, 1, 2, 3, 4, 5, 6, 7},
       {},
       {4, 5},
       false,
       {u"TITLE", u"A", u"a1.txt", u"a2.txt", u"C", u"c1.txt"},
       {u"TITLE", u"A", u"a1.txt", u"a2.txt", u"C", u"c1.txt"},
       {{u"A", TreeHasFiles}},
       4},
      {"the last rows of the list: the one before becomes the last",
       {0, 1, 2, 3, 4, 5, 6, 7},
       {},
       {6},
       true,
       {u"TITLE", u"A", u"a1.txt", u"a2.txt", u"B", u"b1.txt"},
       {u"TITLE", u"A", u"a1.txt", u"a2.txt", u"B", u"b1.txt"},
       {{u"A", TreeHasChildren | TreeLast | TreeHasFiles}, {u"B", TreeLast | TreeHasFiles}, {u"b1.txt", TreeLast}},
       5},
      {"only file of the last folder",
       {0, 1, 2, 3, 4, 5, 6, 7},
       {},
       {7},
       false,
       {u"TITLE", u"A", u"a1.txt", u"a2.txt", u"B", u"b1.txt", u"C"},
       {u"TITLE", u"A", u"a1.txt", u"a2.txt", u"B", u"b1.txt", u"C"},
       {{u"C", TreeLast}},
       6},
  };
  for (const DeleteCase& c : cases) {
    RowStore store;
    fillCatalog(store, treeWithFiles());
    markFiles(store);
    for (int r : c.collapsed) store.setTreeFlags(r, store.treeFlags(r) | TreeCollapsed);
    store.setDisplayOrder(c.shown);
    GridModel grid(store);
    setUp(grid, 10);
    grid.Grid_FinishRows(0);
    for (int d : c.select) store.setSelected(d, true);
    EXPECT_EQ(grid.Grid_DeleteSelectedIncomplete(), c.incomplete) << c.behaviour;
    const GridUpdate u = grid.Grid_DeleteSelected();
    EXPECT_TRUE(u.full && u.selectionChanged) << c.behaviour;
    EXPECT_EQ(storedNames(store), c.remaining) << c.behaviour;
    EXPECT_EQ(shownNames(store), c.shownAfter) << c.behaviour;
    for (const auto& [name, flags] : c.flags) {
      const auto& names = storedNames(store);
      const int row = static_cast<int>(std::find(names.begin(), names.end(), name) - names.begin());
      constexpr int checked = TreeHasChildren | TreeLast | TreeHasFiles;
      EXPECT_EQ(store.treeFlags(row) & checked, flags) << c.behaviour << ": stored flags of " << toUtf8(name);
      const int d = store.displayRowOf(row);
      if (d >= 0) {
        EXPECT_EQ(store.displayFlags(d) & checked, flags) << c.behaviour << ": shown " << toUtf8(name);
      }
    }
    EXPECT_EQ(grid.cursorRow(), c.cursor) << c.behaviour;
    EXPECT_EQ(store.selectedCount(), 0) << c.behaviour;
    EXPECT_TRUE(store.modified()) << c.behaviour;
  }
  (void)all;
}

TEST(GridModelTest, DeleteInASortedFilePaneTakesOnlyTheSelectedRows) {
  // A file pane: files at level 0, an archive with two members below it.
  RowStore store;
  makeCatalogList(store);
  const std::vector<Row> rows = {{u"b.txt", 0, KindFile},
                                 {u"x.zip", 0, KindFile + 5},
                                 {u"m1", 1, KindFile},
                                 {u"m2", 1, KindFile},
                                 {u"a.txt", 0, KindFile}};
  for (const Row& r : rows) store.appendShown(buildRecord({r.name}), 0, 0, r.kind, r.level);
  const struct {
    const char* behaviour;
    int select;  // display row in name order
    std::vector<Text> remaining;
    std::vector<Text> shownAfter;
  } cases[] = {
      {"a file between others in name order",
       1,
       {u"x.zip", u"m1", u"m2", u"a.txt"},
       {u"a.txt", u"m1", u"m2", u"x.zip"}},
      {"an archive goes with its members", 4, {u"b.txt", u"a.txt"}, {u"a.txt", u"b.txt"}},
      {"a member goes alone", 2, {u"b.txt", u"x.zip", u"m2", u"a.txt"}, {u"a.txt", u"b.txt", u"m2", u"x.zip"}},
  };
  for (const auto& c : cases) {
    RowStore copy = store;
    copy.setDisplayOrder({4, 0, 2, 3, 1});  // a.txt, b.txt, m1, m2, x.zip
    GridModel grid(copy);
    setUp(grid, 10);
    copy.setSelected(c.select, true);
    grid.Grid_DeleteSelected();
    EXPECT_EQ(storedNames(copy), c.remaining) << c.behaviour;
    EXPECT_EQ(shownNames(copy), c.shownAfter) << c.behaviour;
  }
}

TEST(GridModelTest, DeleteMarkedRowsRemovesStoredRowsAndKeepsTheCursorInRange) {
  RowStore store;
  fillCatalog(store, flatRows(10));
  GridModel grid(store);
  setUp(grid, 4);
  grid.Grid_MoveCursor(9);
  std::vector<std::uint8_t> marks(10, 0);
  marks[8] = marks[9] = 1;
  const GridUpdate u = grid.Grid_DeleteMarkedRows(marks);
  EXPECT_EQ(store.rowCount(), 8);
  EXPECT_EQ(grid.cursorRow(), 7) << "the first deleted row, clamped to the rows left";
  EXPECT_TRUE(u.cursorMoved);
  EXPECT_TRUE(grid.Grid_DeleteMarkedRows(std::vector<std::uint8_t>(8, 0)).empty()) << "nothing marked";
}

// ------------------------------------------------------------------ clearing

TEST(GridModelTest, ClearEmptiesRowsAndStateButKeepsSettingsAndSortKind) {
  RowStore store;
  fillCatalog(store, flatRows(30));
  GridModel grid(store);
  setUp(grid, 4);
  grid.settings().backColour = 0x123456;
  grid.setSort(2, 1);
  grid.Grid_KeyDown(k::End, 0);
  grid.Grid_KeyDown(k::Space, k::CtrlMask);
  grid.Grid_Clear();
  EXPECT_EQ(store.rowCount(), 0);
  EXPECT_EQ(store.rowCapacity(), 500);
  EXPECT_EQ(grid.topRow(), 0);
  EXPECT_EQ(grid.cursorRow(), 0);
  EXPECT_EQ(grid.anchorRow(), -1);
  EXPECT_EQ(grid.sortedColumn(), 0);
  EXPECT_EQ(grid.sortKind(), 1);
  EXPECT_EQ(grid.settings().backColour, 0x123456u);
}

TEST(GridModelTest, FontSettingsKeepWhatTheCallerLeavesOpen) {
  RowStore store;
  GridModel grid(store);
  grid.Grid_Init();
  grid.Grid_SetFont(u"IPAGothic", 12, 1, 1);
  grid.Grid_SetFont(u"", 0, 0, 9);
  EXPECT_EQ(grid.settings().font.name, u"IPAGothic");
  EXPECT_EQ(grid.settings().font.size, 12);
  EXPECT_FALSE(grid.settings().font.bold);
  EXPECT_TRUE(grid.settings().font.italic) << "9 keeps italic";
  grid.columns().setCount(4);
  EXPECT_EQ(grid.Grid_SetColumnFont(2, true), 3);
  EXPECT_EQ(grid.Grid_SetColumnFont(2, false), 1);
}

}  // namespace
}  // namespace zevro
