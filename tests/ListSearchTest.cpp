// The search within the shown list, through the main window's logic: the
// hit marks, the steps in each display mode without wrapping, the search
// field, the history, the folder steps, and the current hit in the pane.
#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "core/CatalogList.h"
#include "grid/GridKeys.h"
#include "listview/FolderViewBuilder.h"
#include "listview/MainWindowLogic.h"

namespace zevro {
namespace {

using C = Command;
using catalog::HighlightCurrentHit;
using catalog::HighlightHit;

class ListSearchTest : public ::testing::Test, protected test::MainWindowFixture {
protected:
  // The sample catalog shown in display mode `mode` (0, 1 in the tree; 2 with a right pane).
  MainWindowLogic& shown(int mode, const RowStore& store = sampleCatalog()) {
    writeCatalog("_00HD_DATA.cct", store);
    MainWindowLogic& l = start();
    l.指定カタログをロード(u"_00HD_DATA.cct");
    EXPECT_EQ(l.document().currentFileName(), u"_00HD_DATA.cct");
    l.run(mode == 0 ? C::MD_表示モード0 : mode == 1 ? C::MD_表示モード1 : C::MD_表示モード2);
    l.run(C::MDL_総て表示);
    l.folderGrid().Grid_ShowRow(0, true);
    return l;
  }
  const RowStore& list() { return logic->document().list(); }
  int row(TextView name) {
    for (int r = 0; r < list().rowCount(); ++r)
      if (list().field(0, r) == name) return r;
    return -1;
  }
  int beeps() const { return ui.count(FakeUi::Kind::Beep); }
};

TEST_F(ListSearchTest, FoldersOnlyShowNoFilesToFind) {
  MainWindowLogic& l = shown(0);
  l.setFindText(u".TXT");
  bool found = true;
  l.FindNext(false, &found);
  EXPECT_FALSE(found);
  l.setFindText(u"SUB");
  l.FindNext(false, &found);
  EXPECT_TRUE(found);
  EXPECT_EQ(list().storedRowAt(l.folderGrid().cursorRow()), row(u"SUB"));
}

TEST_F(ListSearchTest, StepsFromHitToHitInTheTreeAndNeverWraps) {
  {
    MainWindowLogic& l = shown(1);
    l.setFindText(u".TXT");
    bool found = false;
    l.FindNext(false, &found);
    ASSERT_TRUE(found);
    const int readme = row(u"README.TXT");
    const int note = row(u"NOTE.TXT");
    EXPECT_EQ(list().highlight(readme), HighlightCurrentHit);
    EXPECT_EQ(list().highlight(note), HighlightHit);
    EXPECT_EQ(list().highlight(row(u"DOCS")), 0);
    EXPECT_EQ(list().storedRowAt(l.folderGrid().cursorRow()), readme);
    l.FindNext(false, &found);
    ASSERT_TRUE(found);
    EXPECT_EQ(list().highlight(readme), HighlightHit);
    EXPECT_EQ(list().highlight(note), HighlightCurrentHit);
    // The last hit: a beep, the cursor stays, no wrap to README.TXT.
    const int before = beeps();
    l.FindNext(false, &found);
    EXPECT_FALSE(found);
    EXPECT_EQ(beeps(), before + 1);
    EXPECT_EQ(list().storedRowAt(l.folderGrid().cursorRow()), note);
    // Backwards.
    l.FindNext(true, &found);
    ASSERT_TRUE(found);
    EXPECT_EQ(list().storedRowAt(l.folderGrid().cursorRow()), readme);
    EXPECT_EQ(l.searchWords().front(), u".TXT");
  }
}

TEST_F(ListSearchTest, TheSearchFieldPicksNamesCommentsOrBoth) {
  struct Case {
    Command field;
    TextView word;
    bool found;
  };
  const Case cases[] = {
      {C::MST_検索対象0, u"メモ", false}, {C::MST_検索対象1, u"メモ", true},  {C::MST_検索対象2, u"メモ", true},
      {C::MST_検索対象0, u"NOTE", true},  {C::MST_検索対象1, u"NOTE", false}, {C::MST_検索対象2, u"NOTE", true},
  };
  for (const Case& c : cases) {
    MainWindowLogic& l = shown(1);
    l.run(c.field);
    EXPECT_TRUE(l.isChecked(c.field));
    l.setFindText(c.word);
    bool found = false;
    l.FindNext(false, &found);
    EXPECT_EQ(found, c.found) << static_cast<int>(c.field);
    if (found) {
      EXPECT_EQ(list().highlight(row(u"NOTE.TXT")), HighlightCurrentHit);
    }
  }
}

TEST_F(ListSearchTest, AnEmptyWordBeepsAndASwitchChangeKeepsTheMarksUntilTheNextWord) {
  MainWindowLogic& l = shown(1);
  bool found = true;
  l.FindNext(false, &found);
  EXPECT_FALSE(found);
  EXPECT_EQ(beeps(), 1);
  l.setFindText(u"readme");
  l.FindNext(false, &found);
  EXPECT_FALSE(found);  // case told apart
  l.run(C::MS_大小区別);
  l.PrepareSearch();  // the same text: nothing recomputed
  EXPECT_EQ(list().highlight(row(u"README.TXT")), 0);
  l.FindNext(false, &found);  // the step uses the new switch
  EXPECT_TRUE(found);
  EXPECT_EQ(list().highlight(row(u"README.TXT")), HighlightCurrentHit);
}

TEST_F(ListSearchTest, WithARightPaneFilesInShownFoldersAreReachedAndMarkedInThePane) {
  MainWindowLogic& l = shown(2);
  ASSERT_TRUE(l.paneOpen());
  l.setFindText(u".TXT");
  bool found = false;
  l.FindNext(false, &found);
  ASSERT_TRUE(found);
  const RowStore& pane = l.fileGrid().store();
  const int paneRow = l.listSearch().currentPaneRow();
  ASSERT_GE(paneRow, 0);
  EXPECT_EQ(pane.field(0, paneRow), u"README.TXT");
  EXPECT_EQ(pane.highlight(paneRow), HighlightCurrentHit);
  EXPECT_EQ(list().field(0, list().storedRowAt(l.folderGrid().cursorRow())), u"DOCS");
  l.FindNext(false, &found);
  ASSERT_TRUE(found);
  EXPECT_EQ(pane.field(0, l.listSearch().currentPaneRow()), u"NOTE.TXT");
  EXPECT_EQ(list().field(0, list().storedRowAt(l.folderGrid().cursorRow())), u"SUB");
  l.FindNext(false, &found);
  EXPECT_FALSE(found);
}

TEST_F(ListSearchTest, AFileFoundThroughTheFolderGridIsMarkedOnItsOwnPaneRow) {
  using namespace catalog;
  RowStore store;
  makeCatalogList(store);
  const auto add = [&](std::initializer_list<TextView> fields, int kind, int level) {
    EXPECT_TRUE(store.appendShown(buildRecord(fields), colourIndexFor(kind, level), 0, kind, level));
  };
  add({u"DATA", u"資料集", u"", u"1"}, KindTitleHD, 0);
  add({u"DOCS", u"", u"24/01/31 12:00", u"5"}, KindFolder, 1);
  add({u"A.ZIP", u"", u"24/01/30 09:15", u"3", u"0"}, KindFile, 2);
  add({u"README.TXT", u"in the archive", u"24/01/30 09:15", u"1", u"0"}, KindFile, 3);
  add({u"README.TXT", u"on the disc", u"24/01/30 09:15", u"1", u"0"}, KindFile, 2);
  store.setSortOrder(ListSort::None);
  store.deriveIndexAndTreeFlags();
  FolderViewBuilder::prepareMarks(store);
  MainWindowLogic& l = shown(2, store);
  l.setFindText(u"disc");
  l.run(C::MST_検索対象1);
  bool found = false;
  l.FindNext(false, &found);
  ASSERT_TRUE(found);
  const RowStore& pane = l.fileGrid().store();
  const int paneRow = l.listSearch().currentPaneRow();
  ASSERT_GE(paneRow, 0);
  EXPECT_EQ(pane.field(1, paneRow), u"on the disc");
  for (int p = 0; p < pane.rowCount(); ++p)
    if (p != paneRow) {
      EXPECT_NE(pane.highlight(p), HighlightCurrentHit) << p;
    }
}

TEST_F(ListSearchTest, ThePanesCurrentHitIsForgottenWhenThePaneIsRefilled) {
  MainWindowLogic& l = shown(2);
  l.setFindText(u"README");
  bool found = false;
  l.FindNext(false, &found);
  ASSERT_TRUE(found);
  const int paneRow = l.listSearch().currentPaneRow();
  ASSERT_GE(paneRow, 0);
  // Another folder: the pane is refilled, and its row paneRow is another file now.
  l.NextFolder();
  l.NextFolder();
  EXPECT_EQ(l.listSearch().currentPaneRow(), -1);
  const RowStore& pane = l.fileGrid().store();
  std::vector<int> marks;
  for (int p = 0; p < pane.rowCount(); ++p) marks.push_back(pane.highlight(p));
  l.ClearCurrentHit();
  for (int p = 0; p < pane.rowCount(); ++p) EXPECT_EQ(pane.highlight(p), marks[static_cast<std::size_t>(p)]);
  // Another catalog loaded: no last hit.
  writeCatalog("_01HD_MORE.cct", sampleCatalog(u"もう一つ"));
  l.指定カタログをロード(u"_01HD_MORE.cct");
  ASSERT_EQ(l.document().currentFileName(), u"_01HD_MORE.cct");
  EXPECT_EQ(l.listSearch().lastHit(), -1);
}

TEST_F(ListSearchTest, FolderStepsStopAtTheEndsWithABeep) {
  MainWindowLogic& l = shown(1);
  const RowStore& shownRows = l.folderGrid().store();
  std::vector<Text> visited;
  for (int i = 0; i < 10; ++i) {
    const int before = beeps();
    l.NextFolder();
    if (beeps() > before) break;
    visited.push_back(shownRows.field(0, shownRows.storedRowAt(l.folderGrid().cursorRow())));
  }
  EXPECT_EQ(visited, (std::vector<Text>{u"DOCS", u"SUB", u"PICS"}));
  l.PrevFolder();
  EXPECT_EQ(shownRows.field(0, shownRows.storedRowAt(l.folderGrid().cursorRow())), u"SUB");
}

TEST_F(ListSearchTest, CtrlGOnAGridOpensTheSearchWindowOnTheWord) {
  MainWindowLogic& l = shown(1);
  std::vector<Text> opened;
  l.hooks().openSearch = [&](TextView text) { opened.emplace_back(text); };
  l.setFindText(u"NOTE");
  EXPECT_TRUE(l.key(maingrid::Pane::Folder, gridkey::LetterA + ('G' - 'A'), gridkey::CtrlMask).used);
  EXPECT_EQ(opened, std::vector<Text>{u"NOTE"});
}

TEST_F(ListSearchTest, HistoryClearEmptiesTheSharedHistory) {
  MainWindowLogic& l = shown(1);
  l.setFindText(u"NOTE");
  l.FindNext(false);
  ASSERT_EQ(l.searchWords().size(), 1u);
  const MainWindowEffects e = l.run(C::MS_履歴クリア);
  EXPECT_TRUE(e.findList);
  EXPECT_TRUE(l.searchWords().empty());
}

}  // namespace
}  // namespace zevro
