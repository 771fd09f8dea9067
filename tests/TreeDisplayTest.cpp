#include "listview/TreeDisplay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "core/CatalogList.h"
#include "grid/GridKeys.h"
#include "listview/DisplayCollator.h"
#include "listview/SortKeys.h"

namespace zevro {
namespace {

using namespace catalog;
using Names = std::vector<Text>;

constexpr int KindText = 10;  // any file kind
constexpr int RowH = 14;      // text height 12 + spacing 2
constexpr int Visible = 6;

struct Row {
  Text name;
  int level;
  int kind;
};

// The fixture catalog, stored row by stored row:
//    0 VOL (0, title)   1 README.TXT   2 DOCS   3 A.TXT   4 TOOLS.ZIP   5 X.TXT (in the archive)
//    6 SUB   7 B.DOC   8 DEEP   9 C.TXT   10 DEEPER   11 D.TXT   12 EMPTY   13 PICS   14 P.JPG
const std::vector<Row>& fixtureRows() {
  static const std::vector<Row> rows{
      {u"VOL", 0, KindTitleHD},    {u"README.TXT", 1, KindText}, {u"DOCS", 1, KindFolder},   {u"A.TXT", 2, KindText},
      {u"TOOLS.ZIP", 2, KindText}, {u"X.TXT", 3, KindText},      {u"SUB", 2, KindFolder},    {u"B.DOC", 3, KindText},
      {u"DEEP", 3, KindFolder},    {u"C.TXT", 4, KindText},      {u"DEEPER", 4, KindFolder}, {u"D.TXT", 5, KindText},
      {u"EMPTY", 2, KindFolder},   {u"PICS", 1, KindFolder},     {u"P.JPG", 2, KindText},
  };
  return rows;
}

enum : int { VOL, README, DOCS, A_TXT, TOOLS, X_TXT, SUB, B_DOC, DEEP, C_TXT, DEEPER, D_TXT, EMPTY, PICS, P_JPG };

void fillCatalog(RowStore& store, const std::vector<Row>& rows) {
  store.clear();
  makeCatalogList(store);
  for (const Row& r : rows)
    ASSERT_TRUE(store.appendShown(buildRecord({r.name, u"c", u"", u"1"}), 0, 0, r.kind, r.level));
  ASSERT_TRUE(store.deriveIndexAndTreeFlags());
}

// Name, comment, date and size columns, the date and size sorted
// descending first.
void setUpGrid(GridModel& grid) {
  grid.Grid_Init();
  grid.setTextHeight(12);
  grid.columns().setCount(4);
  const int widths[] = {150, 100, 80, 70};
  for (int c = 0; c < 4; ++c) grid.columns().column(c).width = widths[c];
  grid.columns().column(2).defaultSort = 1;
  grid.columns().column(3).defaultSort = 1;
  grid.Grid_Layout(400, Visible * RowH);
  grid.Grid_SetIcons(20, 16, 16);  // icons 14 px wide, 16 px a level: indent = level * 16 + 6
}

Names shownNames(const RowStore& store) {
  Names names;
  for (int d = 0; d < store.shownCount(); ++d) names.push_back(store.shownField(FieldName, d));
  return names;
}

Names names(std::initializer_list<int> rows) {
  Names out;
  for (int r : rows) out.push_back(fixtureRows()[static_cast<std::size_t>(r)].name);
  return out;
}

struct Fixture {
  RowStore catalog;
  RowStore files;
  GridModel folderGrid{catalog};
  GridModel fileGrid{files};
  TreeDisplay tree{folderGrid, fileGrid};

  explicit Fixture(int mode, const std::vector<Row>& rows = fixtureRows()) {
    fillCatalog(catalog, rows);
    catalog.setSortOrder(ListSort::Name);
    setUpGrid(folderGrid);
    setUpGrid(fileGrid);
    tree.setDisplayMode(mode);
    tree.prepareMarks();
  }
  Names shown() const { return shownNames(catalog); }
  Names pane() const { return shownNames(files); }
  int cursorStored() const { return catalog.storedRowAt(folderGrid.cursorRow()); }
  int displayRow(int stored) const { return catalog.displayRowOf(stored); }
  int flags(int stored) const { return catalog.treeFlags(stored); }
  // A press on the expand box (left of the icon) or on the icon of a stored row.
  TreeUpdate pressBox(int stored, int shift = 0) {
    const int d = displayRow(stored);
    return tree.folderGridPress(catalog.indent(stored) - 11, (d - folderGrid.topRow()) * RowH + 3, shift);
  }
  TreeUpdate pressIcon(int stored) {
    const int d = displayRow(stored);
    return tree.folderGridPress(catalog.indent(stored) + 3, (d - folderGrid.topRow()) * RowH + 3, 0);
  }
};

// ------------------------------------------------------------------ marks

TEST(TreeDisplayMarks, PreparedMarksGiveColoursAndFileMarks) {
  Fixture f(0);
  struct Case {
    int row;
    int colour;
    int fileMarks;  // bits 0x10 and 0x20
  };
  const Case cases[] = {
      {VOL, 1, TreeHasFiles},  // the title line's root files
      {README, 0, 0},
      {DOCS, 2, TreeHasFiles},
      {TOOLS, 0, TreeHasFiles | TreeFilesHidden},  // an archive's contents start hidden
      {SUB, 3, TreeHasFiles},
      {DEEPER, 5, TreeHasFiles},
      {EMPTY, 3, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    EXPECT_EQ(f.catalog.colour(c.row), c.colour);
    EXPECT_EQ(f.flags(c.row) & (TreeHasFiles | TreeFilesHidden), c.fileMarks);
  }
}

TEST(TreeDisplayMarks, StaleFileMarksAreDroppedWhereNoFilesFollow) {
  Fixture f(0);
  f.catalog.setTreeFlags(EMPTY, f.flags(EMPTY) | TreeHasFiles | TreeFilesHidden);
  f.tree.prepareMarks();
  EXPECT_EQ(f.flags(EMPTY) & (TreeHasFiles | TreeFilesHidden), 0);
}

// ------------------------------------------------------------------ level builds

struct LevelCase {
  const char* behaviour;
  int mode;
  int limit;
  Names expected;
};

class TreeDisplayLevels : public ::testing::TestWithParam<LevelCase> {};

TEST_P(TreeDisplayLevels, ShowsRowsDownToTheLimit) {
  const LevelCase& c = GetParam();
  Fixture f(c.mode);
  f.tree.BuildFolderView(c.limit, false, false);
  EXPECT_EQ(f.shown(), c.expected);
  EXPECT_EQ(f.tree.levelLimit(), c.limit);
}

TEST_P(TreeDisplayLevels, KeepStateBuildShowsTheSameView) {
  const LevelCase& c = GetParam();
  Fixture f(c.mode);
  f.tree.BuildFolderView(c.limit, false, false);
  f.tree.BuildFolderView(c.limit, true, false);
  EXPECT_EQ(f.shown(), c.expected);
  EXPECT_EQ(f.tree.levelLimit(), 0);
}

const Names FoldersAll = names({VOL, DOCS, SUB, DEEP, DEEPER, EMPTY, PICS});

INSTANTIATE_TEST_SUITE_P(
    Modes, TreeDisplayLevels,
    ::testing::Values(
        LevelCase{"one tree, all levels", 1, 0,
                  names({VOL, README, DOCS, A_TXT, TOOLS, X_TXT, SUB, B_DOC, DEEP, C_TXT, DEEPER, D_TXT, EMPTY, PICS,
                         P_JPG})},
        LevelCase{"one tree, level 1", 1, 1, names({VOL, README, DOCS, PICS})},
        LevelCase{"one tree, level 2", 1, 2, names({VOL, README, DOCS, A_TXT, TOOLS, SUB, EMPTY, PICS, P_JPG})},
        LevelCase{"one tree, level 3", 1, 3,
                  names({VOL, README, DOCS, A_TXT, TOOLS, X_TXT, SUB, B_DOC, DEEP, EMPTY, PICS, P_JPG})},
        LevelCase{"one tree, level 4", 1, 4,
                  names({VOL, README, DOCS, A_TXT, TOOLS, X_TXT, SUB, B_DOC, DEEP, C_TXT, DEEPER, EMPTY, PICS, P_JPG})},
        LevelCase{"folders only, all levels", 0, 0, FoldersAll},
        LevelCase{"folders only, level 1", 0, 1, names({VOL, DOCS, PICS})},
        LevelCase{"folders only, level 2", 0, 2, names({VOL, DOCS, SUB, EMPTY, PICS})},
        LevelCase{"folders only, level 3", 0, 3, names({VOL, DOCS, SUB, DEEP, EMPTY, PICS})},
        LevelCase{"folders only, level 4", 0, 4, FoldersAll},
        LevelCase{"right pane, level 1", 2, 1, names({VOL, DOCS, PICS})},
        LevelCase{"right pane, all levels", 2, 0, FoldersAll},
        LevelCase{"bottom pane, level 2", 4, 2, names({VOL, DOCS, SUB, EMPTY, PICS})},
        LevelCase{"mode 3 looks like the right pane", 3, 0, FoldersAll},
        LevelCase{"mode 5 looks like the bottom pane", 5, 3, names({VOL, DOCS, SUB, DEEP, EMPTY, PICS})}),
    [](const ::testing::TestParamInfo<LevelCase>& info) {
      std::string name = info.param.behaviour;
      for (char& ch : name) {
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      }
      return name;
    });

TEST(TreeDisplayBuild, LevelOneShowsAPlusBoxOnEveryFolderWithSubfolders) {
  for (const int mode : {0, 1, 2, 4}) {
    SCOPED_TRACE(mode);
    Fixture f(mode);
    f.tree.BuildFolderView(1, false, false);
    const int docs = f.displayRow(DOCS);
    const int pics = f.displayRow(PICS);
    EXPECT_EQ(f.catalog.displayFlags(docs) & (TreeHasChildren | TreeCollapsed), TreeHasChildren | TreeCollapsed);
    EXPECT_EQ(f.catalog.displayFlags(pics) & TreeHasChildren, 0);  // files only: no box
    EXPECT_EQ(f.catalog.displayFlags(0) & TreeCollapsed, 0);       // the title line is open
  }
}

TEST(TreeDisplayBuild, DerivedMarksFollowWhatIsShown) {
  Fixture f(1);
  f.tree.BuildFolderView(2, false, false);
  struct Case {
    int row;
    int marks;  // 8 and 0x20
  };
  const Case cases[] = {
      {DOCS, 0},                                // subfolders and files shown
      {SUB, TreeCollapsed | TreeFilesHidden},   // below the limit
      {TOOLS, TreeFilesHidden},                 // archive contents below the limit
      {DEEP, TreeCollapsed | TreeFilesHidden},  // hidden itself: opens closed
      {PICS, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    EXPECT_EQ(f.flags(c.row) & (TreeCollapsed | TreeFilesHidden), c.marks);
  }
  // Outside the one tree no folder shows its files.
  f.tree.chooseDisplayMenuItem(DisplayMode::ItemFoldersOnly);
  EXPECT_EQ(f.flags(DOCS) & TreeFilesHidden, TreeFilesHidden);
  EXPECT_EQ(f.flags(PICS) & TreeFilesHidden, TreeFilesHidden);
}

TEST(TreeDisplayBuild, ACollapsedFolderWithShownFilesKeepsShowingOnlyItsFiles) {
  Fixture f(1);
  f.tree.BuildFolderView(0, false, false);
  f.catalog.setTreeFlags(DOCS, (f.flags(DOCS) | TreeCollapsed) & ~TreeFilesHidden);
  f.catalog.setTreeFlags(TOOLS, f.flags(TOOLS) | TreeFilesHidden);
  f.tree.BuildFolderView(0, true, false);
  EXPECT_EQ(f.shown(), names({VOL, README, DOCS, A_TXT, TOOLS, PICS, P_JPG}));
  EXPECT_EQ(f.flags(DOCS) & (TreeCollapsed | TreeFilesHidden), TreeCollapsed);
}

TEST(TreeDisplayBuild, ModeChangeKeepsTheCursorOnItsRow) {
  Fixture f(1);
  f.tree.BuildFolderView(0, false, false);
  f.folderGrid.Grid_MoveCursor(f.displayRow(PICS));
  f.tree.chooseDisplayMenuItem(DisplayMode::ItemFoldersOnly);
  EXPECT_EQ(f.cursorStored(), PICS);
  // A file's row is gone from the folders-only view: its folder takes over.
  f.tree.chooseDisplayMenuItem(DisplayMode::ItemOneTree);
  f.tree.chooseLevel(0);
  f.folderGrid.Grid_MoveCursor(f.displayRow(C_TXT));
  f.tree.chooseDisplayMenuItem(DisplayMode::ItemFoldersOnly);
  EXPECT_EQ(f.cursorStored(), DEEP);
}

TEST(TreeDisplayBuild, LevelButtonKeepsTheCursorRowInViewWithItsAncestorsOpen) {
  Fixture f(0);
  f.tree.BuildFolderView(0, false, false);
  f.folderGrid.Grid_MoveCursor(f.displayRow(DEEP));
  f.tree.chooseLevel(1);
  EXPECT_EQ(f.shown(), names({VOL, DOCS, SUB, DEEP, EMPTY, PICS}));
  EXPECT_EQ(f.cursorStored(), DEEP);
}

TEST(TreeDisplayBuild, AnEmptyCatalogShowsNothingInAnyMode) {
  for (const int mode : {0, 1, 2, 4}) {
    SCOPED_TRACE(mode);
    Fixture f(mode, {});
    f.tree.BuildFolderView(0, false, true);
    f.tree.chooseLevel(2);
    EXPECT_EQ(f.catalog.shownCount(), 0);
    EXPECT_EQ(f.tree.RevealRow(u"DOCS", 0, true, true).found, -1);
    EXPECT_FALSE(f.tree.folderGridPress(3, 3, 0).toggled);
    EXPECT_FALSE(f.tree.FillFilePane(true).paneFilled);
  }
}

TEST(TreeDisplayBuild, TooManyRowsForOneTreeFallBackToFoldersOnly) {
  std::vector<Row> rows{{u"VOL", 0, KindTitleHD}};
  for (int i = 0; i < DisplayMode::MaxTreeRows; ++i) rows.push_back({u"F" + ascii(std::to_string(i)), 1, KindText});
  Fixture f(1, rows);
  EXPECT_EQ(f.tree.displayMode(), 0);
  f.tree.BuildFolderView(0, false, false);
  EXPECT_EQ(f.catalog.shownCount(), 1);  // the title line only
  EXPECT_TRUE(f.tree.chooseDisplayMenuItem(DisplayMode::ItemOneTree).folder.empty());
  EXPECT_EQ(f.tree.displayMode(), 0);
  rows.pop_back();
  Fixture fits(1, rows);
  EXPECT_EQ(fits.tree.displayMode(), 1);
}

// ------------------------------------------------------------------ display modes

struct ModeStep {
  const char* behaviour;
  int mode;
  int item;    // menu item, or -1
  int button;  // pane bit, or 0
  int expected;
};

TEST(DisplayModeTest, MenuItemsAndPaneButtonsChangeTheBits) {
  const ModeStep steps[] = {
      {"item 0 closes everything", 3, 0, 0, 0},
      {"item 1 closes the pane", 4, 1, 0, 1},
      {"item 2 opens the right pane", 0, 2, 0, 2},
      {"item 2 keeps files-in-tree for later", 1, 2, 0, 3},
      {"item 3 replaces the right pane", 2, 3, 0, 4},
      {"item 2 leaves an open right pane", 3, 2, 0, 3},
      {"right button closes its pane", 3, -1, DisplayMode::RightPane, 1},
      {"right button replaces the bottom pane", 4, -1, DisplayMode::RightPane, 2},
      {"bottom button opens its pane", 1, -1, DisplayMode::BottomPane, 5},
      {"bottom button closes its pane", 4, -1, DisplayMode::BottomPane, 0},
  };
  for (const ModeStep& s : steps) {
    SCOPED_TRACE(s.behaviour);
    const int got =
        s.item >= 0 ? DisplayMode::afterMenuItem(s.mode, s.item) : DisplayMode::afterPaneButton(s.mode, s.button);
    EXPECT_EQ(got, s.expected);
  }
}

TEST(DisplayModeTest, CheckMarksAndShownMode) {
  struct Case {
    int mode;
    int shown;
    bool checks[4];
  };
  const Case cases[] = {
      {0, 0, {true, false, false, false}}, {1, 1, {false, true, false, false}}, {2, 2, {false, false, true, false}},
      {3, 2, {false, false, true, false}}, {5, 4, {false, false, false, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    EXPECT_EQ(DisplayMode::shown(c.mode), c.shown);
    for (int item = 0; item < DisplayMode::ItemCount; ++item)
      EXPECT_EQ(DisplayMode::menuChecked(c.mode, item), c.checks[item]);
  }
  EXPECT_FALSE(DisplayMode::menuEnabled(DisplayMode::ItemOneTree, DisplayMode::MaxTreeRows + 1));
  EXPECT_TRUE(DisplayMode::menuEnabled(DisplayMode::ItemOneTree, DisplayMode::MaxTreeRows));
  EXPECT_TRUE(DisplayMode::menuEnabled(DisplayMode::ItemFoldersOnly, DisplayMode::MaxTreeRows + 1));
}

// ------------------------------------------------------------------ expand and collapse

TEST(TreeDisplayToggle, IconClickInFoldersOnlyShowsAndHidesTheFiles) {
  Fixture f(0);
  f.tree.BuildFolderView(0, false, false);
  EXPECT_TRUE(f.pressIcon(DOCS).toggled);
  EXPECT_EQ(f.shown(), names({VOL, DOCS, A_TXT, TOOLS, SUB, DEEP, DEEPER, EMPTY, PICS}));
  EXPECT_EQ(f.flags(DOCS) & TreeFilesHidden, 0);
  f.folderGrid.Grid_MouseUp(gridkey::LeftButton, 0, 0, 0);
  EXPECT_TRUE(f.pressIcon(DOCS).toggled);
  EXPECT_EQ(f.shown(), FoldersAll);
  // Shown again, then a level change hides them.
  f.folderGrid.Grid_MouseUp(gridkey::LeftButton, 0, 0, 0);
  f.pressIcon(DOCS);
  f.tree.chooseLevel(0);
  EXPECT_EQ(f.shown(), FoldersAll);
}

TEST(TreeDisplayToggle, IconClickDoesNothingWhileAPaneIsOpen) {
  Fixture f(2);
  f.tree.BuildFolderView(0, false, false);
  EXPECT_FALSE(f.pressIcon(DOCS).toggled);
  EXPECT_EQ(f.shown(), FoldersAll);
}

TEST(TreeDisplayToggle, ExpandBoxCollapsesAndExpandsInPlace) {
  Fixture f(1);
  f.tree.BuildFolderView(0, false, false);
  EXPECT_TRUE(f.pressBox(DOCS).toggled);
  EXPECT_EQ(f.shown(), names({VOL, README, DOCS, PICS, P_JPG}));
  // Its files left with it: the marks say so, and a rebuild agrees.
  EXPECT_EQ(f.flags(DOCS) & (TreeCollapsed | TreeFilesHidden), TreeCollapsed | TreeFilesHidden);
  f.tree.BuildFolderView(0, true, false);
  EXPECT_EQ(f.shown(), names({VOL, README, DOCS, PICS, P_JPG}));
  f.folderGrid.Grid_MouseUp(gridkey::LeftButton, 0, 0, 0);
  EXPECT_TRUE(f.pressBox(DOCS).toggled);
  EXPECT_EQ(f.shown(), names({VOL, README, DOCS, SUB, B_DOC, DEEP, C_TXT, DEEPER, D_TXT, EMPTY, PICS, P_JPG}));
}

TEST(TreeDisplayToggle, ExpandKeepsCollapsedChildrenClosed) {
  Fixture f(0);
  f.tree.BuildFolderView(2, false, false);  // SUB closed below the limit
  TreeDisplay& t = f.tree;
  t.Grid_ToggleChildren(f.displayRow(DOCS), false, false);
  EXPECT_EQ(f.shown(), names({VOL, DOCS, PICS}));
  t.Grid_ToggleChildren(f.displayRow(DOCS), false, false);
  EXPECT_EQ(f.shown(), names({VOL, DOCS, SUB, EMPTY, PICS}));
}

TEST(TreeDisplayToggle, ShiftClickOpensTheWholeSubtree) {
  struct Case {
    const char* behaviour;
    int mode;
    Names expected;
  };
  const Case cases[] = {
      {"folders only", 0, names({VOL, DOCS, SUB, DEEP, DEEPER, EMPTY, PICS})},
      {"files too in one tree", 1,
       names({VOL, README, DOCS, A_TXT, TOOLS, X_TXT, SUB, B_DOC, DEEP, C_TXT, DEEPER, D_TXT, EMPTY, PICS})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    Fixture f(c.mode);
    f.tree.BuildFolderView(1, false, false);
    EXPECT_TRUE(f.pressBox(DOCS, gridkey::ShiftMask).toggled);
    EXPECT_EQ(f.shown(), c.expected);
    // What shows is what the marks say.
    f.tree.BuildFolderView(0, true, false);
    EXPECT_EQ(f.shown(), c.expected);
  }
}

TEST(TreeDisplayToggle, IconOnACollapsedFolderOpensItWithItsFiles) {
  Fixture f(1);
  f.tree.BuildFolderView(1, false, false);
  EXPECT_TRUE(f.pressIcon(DOCS).toggled);
  EXPECT_EQ(f.shown(), names({VOL, README, DOCS, A_TXT, TOOLS, SUB, EMPTY, PICS}));
}

TEST(TreeDisplayToggle, RowsWithoutChildrenOrFilesDoNothing) {
  Fixture f(1);
  f.tree.BuildFolderView(0, false, false);
  const Names before = f.shown();
  EXPECT_FALSE(f.pressBox(EMPTY).toggled);
  EXPECT_FALSE(f.pressIcon(EMPTY).toggled);
  EXPECT_FALSE(f.pressIcon(README).toggled);
  EXPECT_EQ(f.shown(), before);
}

TEST(TreeDisplayToggle, CursorSelectionAndScreenLineFollowTheirRows) {
  Fixture f(1);
  f.tree.BuildFolderView(0, false, false);
  f.folderGrid.Grid_MoveCursor(f.displayRow(PICS));
  f.folderGrid.Grid_KeepRowAt(f.displayRow(SUB), 2);
  f.catalog.setSelected(f.displayRow(P_JPG), true);
  f.tree.Grid_ToggleChildren(f.displayRow(SUB), false, false);
  EXPECT_EQ(f.shown(), names({VOL, README, DOCS, A_TXT, TOOLS, X_TXT, SUB, EMPTY, PICS, P_JPG}));
  EXPECT_EQ(f.cursorStored(), PICS);
  EXPECT_TRUE(f.catalog.selected(f.displayRow(P_JPG)));
  EXPECT_EQ(f.catalog.selectedCount(), 1);
  EXPECT_EQ(f.displayRow(SUB) - f.folderGrid.topRow(), 2);
  // A cursor inside the closed part lands on the closed row.
  f.tree.Grid_ToggleChildren(f.displayRow(SUB), false, false);
  f.folderGrid.Grid_MoveCursor(f.displayRow(DEEP));
  f.tree.Grid_ToggleChildren(f.displayRow(SUB), false, false);
  EXPECT_EQ(f.cursorStored(), SUB);
}

TEST(TreeDisplayToggle, ArchiveContentsShowOnlyWhenTheArchiveIsOpened) {
  Fixture f(1);
  f.tree.BuildFolderView(0, false, false);
  f.tree.Grid_ToggleFiles(f.displayRow(TOOLS));  // hide X.TXT
  f.tree.Grid_ToggleFiles(f.displayRow(DOCS));   // hide the files of DOCS
  f.tree.Grid_ToggleFiles(f.displayRow(DOCS));   // and show them again
  EXPECT_EQ(f.shown(),
            names({VOL, README, DOCS, A_TXT, TOOLS, SUB, B_DOC, DEEP, C_TXT, DEEPER, D_TXT, EMPTY, PICS, P_JPG}));
  f.tree.Grid_ToggleFiles(f.displayRow(TOOLS));
  EXPECT_EQ(f.catalog.storedRowAt(f.displayRow(TOOLS) + 1), X_TXT);
}

// ------------------------------------------------------------------ file pane

TEST(TreeDisplayPane, FillsThePaneWithTheFilesOfTheCursorFolder) {
  struct Case {
    int folder;
    Names files;
    std::vector<int> levels;
    std::vector<std::int32_t> map;
    const char16_t* console;
  };
  const Case cases[] = {
      {DOCS, names({A_TXT, TOOLS, X_TXT}), {0, 0, 1}, {A_TXT, TOOLS, X_TXT}, u" 3個のファイル"},
      {VOL, names({README}), {0}, {README}, u" 1個のファイル"},
      {EMPTY, {}, {}, {}, u" 0個のファイル"},
  };
  for (const int mode : {2, 4}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.folder);
      Fixture f(mode);
      f.tree.BuildFolderView(0, false, false);
      f.folderGrid.Grid_MoveCursor(f.displayRow(c.folder));
      EXPECT_TRUE(f.tree.folderCursorMoved().paneFilled || c.folder == VOL);
      EXPECT_EQ(f.pane(), c.files);
      std::vector<int> levels;
      for (int r = 0; r < f.files.rowCount(); ++r) levels.push_back(f.files.level(r));
      EXPECT_EQ(levels, c.levels);
      EXPECT_EQ(std::vector<std::int32_t>(f.tree.paneMap().begin(), f.tree.paneMap().end()), c.map);
      EXPECT_EQ(f.tree.consoleText(true), c.console);
      EXPECT_EQ(f.tree.consoleText(false), u"");
    }
  }
}

TEST(TreeDisplayPane, RefillsOnlyWhenTheFolderChangesOrWhenForced) {
  Fixture f(2);
  f.tree.BuildFolderView(0, false, false);
  f.folderGrid.Grid_MoveCursor(f.displayRow(DOCS));
  EXPECT_TRUE(f.tree.folderCursorMoved().paneFilled);
  EXPECT_FALSE(f.tree.folderCursorMoved().paneFilled);
  EXPECT_TRUE(f.tree.FillFilePane(true).paneFilled);
  f.tree.forgetPaneFolder();
  EXPECT_TRUE(f.tree.folderCursorMoved().paneFilled);
}

TEST(TreeDisplayPane, AReplacedCatalogRefillsThePaneOfItsTitleLine) {
  Fixture f(2);
  f.tree.BuildFolderView(0, false, false);
  EXPECT_EQ(f.pane(), names({README}));
  fillCatalog(f.catalog, {{u"OTHER", 0, KindTitleHD}, {u"NEW.TXT", 1, KindText}, {u"DIR", 1, KindFolder}});
  f.tree.catalogReplaced();
  f.tree.prepareMarks();
  f.tree.BuildFolderView(0, false, false);
  EXPECT_EQ(f.pane(), Names{u"NEW.TXT"});
  EXPECT_EQ(f.tree.paneSourceRow(0), 1);
}

TEST(TreeDisplayPane, CopiesWholeRowsWithColourZero) {
  Fixture f(2);
  f.tree.BuildFolderView(0, false, false);
  f.catalog.setHighlight(A_TXT, 2);
  f.folderGrid.Grid_MoveCursor(f.displayRow(DOCS));
  f.tree.FillFilePane(true);
  EXPECT_EQ(f.files.record(0), f.catalog.record(A_TXT));
  EXPECT_EQ(f.files.highlight(0), 2);
  EXPECT_EQ(f.files.colour(0), 0);
  EXPECT_EQ(f.files.kind(1), KindText);
  EXPECT_EQ(f.tree.paneSourceRow(2), X_TXT);
  EXPECT_EQ(f.tree.paneSourceRow(3), -1);
}

TEST(TreeDisplayPane, NoPaneNoFill) {
  Fixture f(1);
  f.tree.BuildFolderView(0, false, false);
  f.folderGrid.Grid_MoveCursor(f.displayRow(DOCS));
  EXPECT_FALSE(f.tree.folderCursorMoved().paneFilled);
  EXPECT_EQ(f.files.rowCount(), 0);
  EXPECT_EQ(f.tree.consoleText(true), u"");
}

// ------------------------------------------------------------------ RevealRow

TEST(TreeDisplayReveal, UnknownPathShowsRowZero) {
  Fixture f(0);
  f.tree.BuildFolderView(0, false, false);
  f.folderGrid.Grid_MoveCursor(f.displayRow(PICS));
  const TreeUpdate u = f.tree.RevealRow(u"DOCS\\NOPE", 2, false, false);
  EXPECT_EQ(u.found, -1);
  EXPECT_EQ(u.focus, TreeFocus::FolderGrid);
  EXPECT_EQ(f.folderGrid.cursorRow(), 0);
}

TEST(TreeDisplayReveal, OpensTheAncestorsAndPutsTheRowOnItsLine) {
  struct Case {
    const char* behaviour;
    int mode;
    const char16_t* path;
    int row;
  };
  const Case cases[] = {
      {"folder, folders only", 0, u"DOCS\\SUB\\DEEP\\DEEPER", DEEPER},
      {"folder, right pane", 2, u"DOCS\\SUB\\DEEP", DEEP},
      {"file, one tree", 1, u"DOCS\\SUB\\DEEP\\DEEPER\\D.TXT", D_TXT},
      {"archive member, one tree", 1, u"DOCS\\TOOLS.ZIP\\X.TXT", X_TXT},
      {"file, folders only", 0, u"DOCS\\SUB\\B.DOC", B_DOC},
      {"title line", 0, u"", VOL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    Fixture f(c.mode);
    f.tree.BuildFolderView(1, false, false);
    const TreeUpdate u = f.tree.RevealRow(c.path, 2, true, false);
    EXPECT_EQ(u.found, c.row);
    EXPECT_EQ(u.focus, TreeFocus::FolderGrid);
    EXPECT_EQ(f.cursorStored(), c.row);
    // Line 2 as far as the ends of the list allow.
    const int lastTop = std::max(f.folderGrid.rowCount() - Visible, 0);
    EXPECT_EQ(f.folderGrid.topRow(), std::clamp(f.folderGrid.cursorRow() - 2, 0, lastTop));
  }
}

TEST(TreeDisplayReveal, AFileWithAPaneOpenIsShownInThePane) {
  Fixture f(2);
  f.tree.BuildFolderView(1, false, false);
  const TreeUpdate u = f.tree.RevealRow(u"DOCS\\TOOLS.ZIP\\X.TXT", 0, false, true);
  EXPECT_EQ(u.found, X_TXT);
  EXPECT_EQ(u.focus, TreeFocus::FileGrid);
  EXPECT_EQ(f.cursorStored(), DOCS);
  EXPECT_EQ(f.pane(), names({A_TXT, TOOLS, X_TXT}));
  EXPECT_EQ(f.tree.paneSourceRow(f.files.storedRowAt(f.fileGrid.cursorRow())), X_TXT);
}

TEST(TreeDisplayReveal, AFileInASortedPaneIsFoundByItsRow) {
  Fixture f(2);
  f.tree.BuildFolderView(0, false, false);
  f.folderGrid.Grid_MoveCursor(f.displayRow(DOCS));
  f.tree.folderCursorMoved();
  f.tree.sortFiles(3);  // by extension: TOOLS.ZIP, A.TXT, X.TXT -> TXT, TXT, ZIP
  f.tree.RevealRow(u"DOCS\\A.TXT", 0, false, true);
  EXPECT_EQ(f.tree.paneSourceRow(f.files.storedRowAt(f.fileGrid.cursorRow())), A_TXT);
}

// ------------------------------------------------------------------ sorting

TEST(SortKeysTest, KeysByKindAndColumn) {
  RowStore store;
  makeCatalogList(store);
  ASSERT_TRUE(store.appendShown(buildRecord({u"readme.txt", u"c", u"03/04/05 12:34", u"1,234"}), 0, 0, 10, 0));
  ASSERT_TRUE(store.appendShown(buildRecord({u"Makefile", u"", u"", u"12345678901234567890"}), 0, 0, 6, 0));
  ASSERT_TRUE(store.appendShown(buildRecord({u"data.slk"}), 0, 0, 6, 0));
  ASSERT_TRUE(store.appendShown(buildRecord({u"v1.0."}), 0, 0, 6, 0));
  struct Case {
    int row;
    int kind;
    int column;
    const char16_t* key;
  };
  const Case cases[] = {
      {0, 2, 0, u"readme.txt"},       {0, 1, 3, u"           1,234"},
      {0, 2, 2, u"  03/04/05 12:34"}, {1, 2, 3, u"5678901234567890"},
      {0, 3, 0, u"TXT.readme"},       {0, 4, 0, u"10:TXT.readme"},
      {1, 3, 0, u".Makefile"},        {1, 4, 0, u"99:.Makefile"},
      {2, 4, 0, u"40:SLK.data"},      {3, 3, 0, u".v1.0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(toUtf8(c.key));
    Text key;
    SortKeys::append(store, c.row, c.kind, c.column, key);
    EXPECT_EQ(key, c.key);
  }
}

TEST(DisplayCollatorTest, JapaneseOrderWithoutCaseOrWidth) {
  // Each row sorts before the next; names in one row are equal.
  const std::vector<std::vector<const char16_t*>> order = {
      {u"_x"},
      {u"1.txt"},
      {u"10.txt"},  // digit by digit, as names compare
      {u"2.txt"},
      {u"abc", u"ABC", u"ａｂｃ", u"ＡＢＣ"},
      {u"abd", u"ABD"},
      {u"Zeta", u"zeta", u"ｚｅｔａ"},
      {u"あ", u"ア", u"ｱ"},
      {u"あさ", u"アサ", u"ｱｻ"},
      {u"か", u"カ", u"ｶ"},
      {u"が", u"ガ", u"ｶﾞ"},
      {u"き", u"キ", u"ｷ"},
      {u"ん", u"ン", u"ﾝ"},
      {u"一"},
      {u"写真"},
  };
  const DisplayCollator collator;
  for (std::size_t r = 0; r < order.size(); ++r) {
    for (const char16_t* a : order[r]) {
      for (const char16_t* b : order[r]) {
        SCOPED_TRACE(toUtf8(a) + " = " + toUtf8(b));
        EXPECT_EQ(collator.compare(a, b), 0);
      }
      if (r + 1 == order.size()) continue;
      for (const char16_t* b : order[r + 1]) {
        SCOPED_TRACE(toUtf8(a) + " < " + toUtf8(b));
        EXPECT_LT(collator.compare(a, b), 0);
        EXPECT_GT(collator.compare(b, a), 0);
      }
    }
  }
}

TEST(ListSorterTest, NameColumnClickCycle) {
  struct Case {
    int natural;
    std::vector<int> cycle;  // from the natural kind on
  };
  const Case cases[] = {
      {0, {0, 1, 2, 0}},
      {2, {2, 1, 2}},
      {3, {3, 2, 1, 3}},
      {4, {4, 2, 1, 4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.natural);
    for (std::size_t i = 0; i + 1 < c.cycle.size(); ++i)
      EXPECT_EQ(ListSorter::nextNameKind(c.natural, c.cycle[i]), c.cycle[i + 1]);
  }
}

// A folder of files for sorting: stored in extension order (natural kind 3).
std::vector<Row> sortRows() {
  return {
      {u"VOL", 0, KindTitleHD}, {u"DIR", 1, KindFolder}, {u"b.csv", 2, KindText}, {u"z.doc", 2, KindText},
      {u"c.slk", 2, KindText},  {u"a.xyz", 2, KindText}, {u"Y.ZIP", 2, KindText},
  };
}

struct SortFixture : Fixture {
  SortFixture() : Fixture(2, sortRows()) {
    catalog.setSortOrder(ListSort::Extension);
    tree.BuildFolderView(0, false, false);
    folderGrid.Grid_MoveCursor(displayRow(1));
    tree.folderCursorMoved();
  }
  void click(int column) {
    const GridColumn& c = fileGrid.columns().column(column);
    fileGrid.Grid_ItemBarMouseDown(gridkey::LeftButton, (c.left + c.right) / 2);
    fileGrid.Grid_ItemBarMouseUp(gridkey::LeftButton, (c.left + c.right) / 2);
    tree.fileTitleClicked();
  }
};

TEST(ListSorterTest, SortByKindPutsUnknownExtensionsLastAndSlkWithSpreadsheets) {
  SortFixture f;
  f.tree.sortFiles(4);
  EXPECT_EQ(f.pane(), (Names{u"z.doc", u"c.slk", u"b.csv", u"Y.ZIP", u"a.xyz"}));
  EXPECT_FALSE(f.fileGrid.settings().treeMode);
  for (int r = 0; r < f.files.rowCount(); ++r) EXPECT_EQ(f.files.indent(r), GridModel::BaseIndent);
}

TEST(ListSorterTest, NameClicksCycleAndTheNaturalOrderComesBack) {
  SortFixture f;
  const Names stored{u"b.csv", u"z.doc", u"c.slk", u"a.xyz", u"Y.ZIP"};
  EXPECT_EQ(f.pane(), stored);
  EXPECT_EQ(f.fileGrid.sortKind(), 3);
  struct Step {
    int kind;
    Names shown;
  };
  const Step steps[] = {
      {2, {u"a.xyz", u"b.csv", u"c.slk", u"Y.ZIP", u"z.doc"}},
      {1, {u"z.doc", u"Y.ZIP", u"c.slk", u"b.csv", u"a.xyz"}},
      {3, stored},
      {2, {u"a.xyz", u"b.csv", u"c.slk", u"Y.ZIP", u"z.doc"}},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.kind);
    f.click(0);
    EXPECT_EQ(f.fileGrid.sortKind(), s.kind);
    EXPECT_EQ(f.pane(), s.shown);
    EXPECT_EQ(f.fileGrid.settings().treeMode, s.kind == 3);
  }
}

TEST(ListSorterTest, OtherColumnsStartWithTheirDefaultAndToggle) {
  SortFixture f;
  f.click(3);  // size column: descending first
  ASSERT_EQ(f.fileGrid.pickedColumn(), 3);
  EXPECT_EQ(f.fileGrid.sortedColumn(), 3);
  EXPECT_EQ(f.fileGrid.sortKind(), 1);
  f.click(3);
  EXPECT_EQ(f.fileGrid.sortKind(), 2);
  f.click(1);  // comment column: ascending first
  EXPECT_EQ(f.fileGrid.sortKind(), 2);
}

TEST(ListSorterTest, ASortLastsUntilTheFolderChanges) {
  SortFixture f;
  f.tree.sortFiles(2);
  EXPECT_EQ(f.fileGrid.sortKind(), 2);
  f.folderGrid.Grid_MoveCursor(0);
  f.tree.folderCursorMoved();
  f.folderGrid.Grid_MoveCursor(f.displayRow(1));
  f.tree.folderCursorMoved();
  EXPECT_EQ(f.fileGrid.sortKind(), 3);
  EXPECT_EQ(f.pane(), (Names{u"b.csv", u"z.doc", u"c.slk", u"a.xyz", u"Y.ZIP"}));
  EXPECT_TRUE(f.fileGrid.settings().treeMode);
}

TEST(ListSorterTest, SetSortDoesNothingWhenAlreadyCurrent) {
  SortFixture f;
  EXPECT_TRUE(f.tree.sortFiles(3).files.empty());
  EXPECT_FALSE(f.tree.sortFiles(2).files.empty());
}

// Rows with equal texts (as members of an archive can be: the same name,
// comment and size): the current row is the row itself, not the first row
// carrying its text.
TEST(ListSorterTest, TheCurrentRowStaysItselfAmongEqualTexts) {
  std::vector<Row> rows{{u"VOL", 0, KindTitleHD}, {u"DIR", 1, KindFolder}};
  for (int i = 0; i < 12; ++i) rows.push_back({u"readme.txt", 2, KindText});
  struct Case {
    const char* behaviour;
    int cursor;                 // display row, on screen line 2 (top row cursor - 2)
    std::vector<int> selected;  // pane rows
    int current;                // pane row current after the sort
    int line;                   // its screen line before and after
  };
  const Case cases[] = {
      {"cursor row", 8, {}, 8, 2},
      {"first selected row", 6, {7, 10}, 7, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    Fixture f(2, rows);
    f.tree.BuildFolderView(0, false, false);
    f.folderGrid.Grid_MoveCursor(f.displayRow(1));
    f.tree.folderCursorMoved();
    f.fileGrid.Grid_ShowFrom(c.cursor - 2);
    f.fileGrid.Grid_MoveCursor(c.cursor);
    for (const int r : c.selected) f.files.setSelected(f.files.displayRowOf(r), true);
    const GridColumn& size = f.fileGrid.columns().column(3);
    f.fileGrid.Grid_ItemBarMouseDown(gridkey::LeftButton, (size.left + size.right) / 2);
    f.tree.fileTitleClicked();  // size, descending: equal keys come out reversed
    ASSERT_EQ(f.files.storedRowAt(0), 11);
    EXPECT_EQ(f.files.storedRowAt(f.fileGrid.cursorRow()), c.current);
    EXPECT_EQ(f.fileGrid.cursorRow() - f.fileGrid.topRow(), c.line);
    std::vector<int> selected;
    for (int d = 0; d < f.files.shownCount(); ++d) {
      if (f.files.selected(d)) selected.push_back(f.files.storedRowAt(d));
    }
    std::sort(selected.begin(), selected.end());
    EXPECT_EQ(selected, c.selected);
  }
}

}  // namespace
}  // namespace zevro
