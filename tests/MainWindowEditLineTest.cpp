#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "core/CatalogList.h"
#include "core/OptionKeys.h"
#include "grid/GridKeys.h"
#include "text/Text.h"

namespace zevro {
namespace {

using C = Command;
using Kind = FakeUi::Kind;
using K = MainWindowLogic::EditLineKey;

class MainWindowEditLineTest : public ::testing::Test, public test::MainWindowFixture {
protected:
  // Opens the edit line on column `column` of display row `row` of a pane.
  void openAt(MainWindowLogic& logic, Pane pane, int row, int column) {
    logic.activate(pane);
    GridModel& g = logic.grid(pane);
    g.Grid_MoveCursor(row);
    g.Grid_SetCursorColumn(column);
    ASSERT_TRUE(logic.run(C::ME_データ修正).editLine);
    ASSERT_TRUE(logic.editLineOpen());
  }
  Text catalogField(MainWindowLogic& logic, int column, TextView name) {
    const RowStore& s = logic.document().list();
    for (int r = 0; r < s.rowCount(); ++r)
      if (s.fieldView(0, r) == name) return s.field(column, r);
    return u"(no row)";
  }
};

constexpr int Shift = gridkey::ShiftMask;
constexpr int Ctrl = gridkey::CtrlMask;

// One key in an edit line on the folder grid's comment of SUB (display rows
// DATA, DOCS, SUB, PICS): what the window is told, where the cursor is
// afterwards, and whether the typed text reached the catalog.
TEST_F(MainWindowEditLineTest, KeysInTheFolderEditLine) {
  const struct {
    const char* behaviour;
    int startRow;
    int key;
    int shift;
    K what;
    int cursorAfter;
    bool open;
    bool stored;
  } cases[] = {
      {"Enter stores and opens on the row below", 2, gridkey::Enter, 0, K::Reopened, 3, true, true},
      {"Enter on the last row stores and ends editing", 3, gridkey::Enter, 0, K::Closed, 3, false, true},
      {"Shift+Enter breaks the line", 2, gridkey::Enter, Shift, K::Break, 2, true, false},
      {"Ctrl+Enter breaks the line", 2, gridkey::Enter, Ctrl, K::Break, 2, true, false},
      {"Escape drops the text", 2, gridkey::Escape, 0, K::Closed, 2, false, false},
      {"Ctrl+Up stores and opens on the row above", 2, gridkey::Up, Ctrl, K::Reopened, 1, true, true},
      {"Ctrl+Up on the first row is only consumed", 0, gridkey::Up, Ctrl, K::Consumed, 0, true, false},
      {"Ctrl+Down stores and opens on the row below", 2, gridkey::Down, Ctrl, K::Reopened, 3, true, true},
      {"Ctrl+Down on the last row is only consumed", 3, gridkey::Down, Ctrl, K::Consumed, 3, true, false},
      {"Up alone moves the caret", 2, gridkey::Up, 0, K::Type, 2, true, false},
      {"Down alone moves the caret", 2, gridkey::Down, 0, K::Type, 2, true, false},
      {"Page Down leaves without storing, for the grid", 2, gridkey::PageDown, 0, K::ClosedGridKey, 2, false, false},
      {"Page Up leaves without storing, for the grid", 2, gridkey::PageUp, 0, K::ClosedGridKey, 2, false, false},
      {"Ctrl+Page Down is consumed", 2, gridkey::PageDown, Ctrl, K::Consumed, 2, true, false},
      {"a letter is typed", 2, gridkey::LetterA, 0, K::Type, 2, true, false},
  };
  for (const auto& c : cases) {
    MainWindowLogic& logic = openSample();
    const Text name = logic.folderGrid().store().shownField(0, c.startRow);
    openAt(logic, Pane::Folder, c.startRow, 1);
    const MainWindowLogic::EditKeyAnswer a = logic.editLineKey(c.key, c.shift, u"新しい注釈");
    EXPECT_EQ(a.what, c.what) << c.behaviour;
    EXPECT_EQ(logic.folderGrid().cursorRow(), c.cursorAfter) << c.behaviour;
    EXPECT_EQ(logic.editLineOpen(), c.open) << c.behaviour;
    EXPECT_EQ(a.effects.editLine, c.what == K::Reopened) << c.behaviour;
    EXPECT_EQ(catalogField(logic, 1, name) == u"新しい注釈", c.stored) << c.behaviour;
    EXPECT_EQ(logic.document().modified(), c.stored) << c.behaviour;
    if (c.what == K::Closed || c.what == K::ClosedGridKey) {
      EXPECT_EQ(a.effects.grids.focus, TreeFocus::FolderGrid) << c.behaviour;
    }
    if (c.stored) {
      EXPECT_EQ(catalogField(logic, 4, name), u"2") << c.behaviour;
    }
    logic.document().setModified(false);
  }
}

TEST_F(MainWindowEditLineTest, MovingOnInTheFolderGridFillsThePaneAndOpensOnTheNewRow) {
  MainWindowLogic& logic = openSample();
  ASSERT_TRUE(logic.paneOpen());
  toFolder(logic, u"DATA");
  openAt(logic, Pane::Folder, 0, 1);
  EXPECT_EQ(logic.editLineStartText(), u"資料集");
  const MainWindowLogic::EditKeyAnswer a = logic.editLineKey(gridkey::Enter, 0, u"資料集");
  ASSERT_EQ(a.what, K::Reopened);
  // Unchanged text stores nothing.
  EXPECT_FALSE(logic.document().modified());
  // On DOCS now: its files are in the pane and its comment in the line.
  EXPECT_EQ(logic.editLineStartText(), u"文書");
  ASSERT_EQ(logic.fileGrid().rowCount(), 2);
  EXPECT_EQ(logic.consoleText(), u" DOCS");
}

TEST_F(MainWindowEditLineTest, ARefusedDateKeepsTheLineOpenAndStoresNothing) {
  MainWindowLogic& logic = openSample();
  toFolder(logic, u"DOCS");
  openAt(logic, Pane::File, 0, 2);
  EXPECT_FALSE(logic.editLineTakesInputMethod());
  const Text name = logic.fileGrid().store().shownField(0, 0);
  const Text before = catalogField(logic, 2, name);
  const MainWindowLogic::EditKeyAnswer a = logic.editLineKey(gridkey::Enter, 0, u"24/01/31 朝");
  EXPECT_EQ(a.what, K::Consumed);
  EXPECT_TRUE(logic.editLineOpen());
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(ui.messages()[0], listedit::DateMessage);
  EXPECT_EQ(catalogField(logic, 2, name), before);
  EXPECT_FALSE(logic.document().modified());
  // Corrected, it goes in with the date flag, in the pane and the catalog.
  EXPECT_EQ(logic.editLineKey(gridkey::Enter, 0, u"24/01/31 07:00").what, K::Reopened);
  EXPECT_EQ(catalogField(logic, 2, name), u"24/01/31 07:00");
  EXPECT_EQ(catalogField(logic, 4, name), u"4");
  EXPECT_EQ(logic.fileGrid().store().shownField(2, 0), u"24/01/31 07:00");
  EXPECT_EQ(logic.fileGrid().cursorRow(), 1);
}

TEST_F(MainWindowEditLineTest, BackgroundAndInputMethodFollowTheCell) {
  using listedit::RenameMode;
  const struct {
    RenameMode mode;
    int column;
    Colour grid;
    Colour expected;
  } cases[] = {
      {RenameMode::ListOnly, 1, 0xFFFFFF, listedit::EditLineBack},
      {RenameMode::ListOnly, 0, 0xFFFFFF, listedit::EditLineBack},
      {RenameMode::ListAndMedium, 0, 0xFFFFFF, listedit::EditLineMediumBack},
      {RenameMode::ListAndMedium, 1, 0xFFFFFF, listedit::EditLineBack},
      {RenameMode::ListAndMedium, 2, 0xFFFFFF, listedit::EditLineBack},
      {RenameMode::ListOnly, 1, 0xF0F0F0, listedit::EditLineWhite},
      {RenameMode::ListAndMedium, 0, 0xD8F0FF, listedit::EditLineWhite},
  };
  for (const auto& c : cases)
    EXPECT_EQ(listedit::editLineBackground(c.mode, c.column, c.grid), c.expected)
        << static_cast<int>(c.mode) << " column " << c.column;
  EXPECT_EQ(listedit::EditLineBack, rgb(255, 255, 192));
  EXPECT_EQ(listedit::EditLineMediumBack, rgb(255, 224, 246));
  EXPECT_TRUE(listedit::editLineTakesInputMethod(0));
  EXPECT_TRUE(listedit::editLineTakesInputMethod(1));
  EXPECT_FALSE(listedit::editLineTakesInputMethod(2));

  MainWindowLogic& logic = openSample();
  toFolder(logic, u"DOCS");
  logic.activate(Pane::File);
  logic.fileGrid().Grid_MoveCursor(0);
  ASSERT_TRUE(logic.run(C::ME_ファイル名修正).editLine);
  EXPECT_EQ(logic.fileGrid().cursorColumn(), 0);
  EXPECT_EQ(logic.editLineBackground(), listedit::EditLineMediumBack);
  EXPECT_TRUE(logic.editLineTakesInputMethod());
  // The context menu's name correction keeps the mode set last.
  logic.FinishEdit();
  ASSERT_TRUE(logic.run(C::POP名称_名前修正).editLine);
  EXPECT_EQ(logic.renameMode(), RenameMode::ListAndMedium);
  logic.FinishEdit();
  ASSERT_TRUE(logic.run(C::ME_データ修正).editLine);
  EXPECT_EQ(logic.editLineBackground(), listedit::EditLineBack);
}

TEST_F(MainWindowEditLineTest, FileRenameOnAFolderRowOfTheFolderGridBeeps) {
  MainWindowLogic& logic = openSample();
  toFolder(logic, u"DOCS");
  logic.activate(Pane::Folder);
  EXPECT_FALSE(logic.run(C::ME_ファイル名修正).editLine);
  EXPECT_EQ(ui.count(Kind::Beep), 1);
  EXPECT_FALSE(logic.editLineOpen());
}

TEST_F(MainWindowEditLineTest, CommentCorrectionFromTheMenuNeedsAComment) {
  MainWindowLogic& logic = openSample();
  toFolder(logic, u"DOCS");
  logic.activate(Pane::File);
  GridModel& files = logic.fileGrid();
  files.Grid_SetCursorColumn(1);
  for (int d = 0; d < files.rowCount(); ++d) {
    files.Grid_MoveCursor(d);
    const bool hasComment = !files.store().shownField(1, d).empty();
    EXPECT_EQ(logic.isEnabled(C::POP注釈_コメント修正), hasComment) << d;
  }
}

TEST_F(MainWindowEditLineTest, GridKeysCopyPasteAndCut) {
  MainWindowLogic& logic = openSample();
  toFolder(logic, u"DOCS");
  logic.activate(Pane::File);
  GridModel& files = logic.fileGrid();
  const int readme = files.store().shownField(0, 0) == u"README.TXT" ? 0 : 1;
  const int other = 1 - readme;
  const Text otherName = files.store().shownField(0, other);

  // Ctrl+C: the cursor cell's column of the cursor row; the console line is cleared.
  files.Grid_MoveCursor(readme);
  files.Grid_SetCursorColumn(1);
  logic.key(Pane::File, gridkey::LetterA + ('C' - 'A'), Ctrl);
  EXPECT_EQ(ui.clipboard, u"はじめに");
  EXPECT_EQ(logic.consoleText(), u"");

  // Ctrl+V and Shift+Insert paste into the cursor column.
  files.Grid_ClearSelection();
  files.Grid_MoveCursor(other);
  logic.key(Pane::File, gridkey::LetterA + ('V' - 'A'), Ctrl);
  EXPECT_EQ(catalogField(logic, 1, otherName), u"はじめに");
  ui.clipboard = u"二度目";
  logic.key(Pane::File, MainWindowLogic::KeyInsert, Shift);
  EXPECT_EQ(catalogField(logic, 1, otherName), u"二度目");
  EXPECT_EQ(catalogField(logic, 4, otherName), u"2");

  // Shift+Delete on the comment column: the comment goes to the clipboard and leaves the row.
  files.Grid_ClearSelection();
  logic.key(Pane::File, MainWindowLogic::KeyDelete, Shift);
  EXPECT_EQ(ui.clipboard, u"二度目");
  EXPECT_EQ(catalogField(logic, 1, otherName), u"");
  EXPECT_EQ(ui.count(Kind::Beep), 0);

  // Ctrl+X needs a selection and a column other than the name.
  files.Grid_ClearSelection();
  files.Grid_MoveCursor(readme);
  logic.key(Pane::File, gridkey::LetterA + ('X' - 'A'), Ctrl);
  EXPECT_EQ(ui.count(Kind::Beep), 1);
  EXPECT_EQ(catalogField(logic, 1, u"README.TXT"), u"はじめに");
  files.Grid_SelectRow(readme, true);
  logic.key(Pane::File, gridkey::LetterA + ('X' - 'A'), Ctrl);
  EXPECT_EQ(ui.clipboard, u"はじめに");
  EXPECT_EQ(catalogField(logic, 1, u"README.TXT"), u"");
  files.Grid_SetCursorColumn(0);
  logic.key(Pane::File, gridkey::LetterA + ('X' - 'A'), Ctrl);
  EXPECT_EQ(ui.count(Kind::Beep), 2);
  EXPECT_EQ(catalogField(logic, 0, u"README.TXT"), u"README.TXT");

  // Shift+Delete on the date column beeps and cuts nothing.
  files.Grid_ClearSelection();
  files.Grid_SetCursorColumn(2);
  const Text date = catalogField(logic, 2, u"README.TXT");
  logic.key(Pane::File, MainWindowLogic::KeyDelete, Shift);
  EXPECT_EQ(ui.count(Kind::Beep), 3);
  EXPECT_EQ(catalogField(logic, 2, u"README.TXT"), date);
}

TEST_F(MainWindowEditLineTest, ACommandFinishesTheOpenEditFirst) {
  MainWindowLogic& logic = openSample();
  toFolder(logic, u"DOCS");
  Text typed = u"書きかけ";
  bool hidden = false;
  logic.hooks().editLineText = [&typed] { return typed; };
  logic.hooks().hideEditLine = [&hidden] { hidden = true; };
  openAt(logic, Pane::Folder, 1, 1);
  // Copying first finishes the edit: what was typed is stored and copied.
  logic.run(C::ME_コピー);
  EXPECT_TRUE(hidden);
  EXPECT_FALSE(logic.editLineOpen());
  EXPECT_EQ(catalogField(logic, 1, u"DOCS"), u"書きかけ");
  EXPECT_EQ(ui.clipboard, u"書きかけ");
}

TEST_F(MainWindowEditLineTest, ACommittedCommentGoesToTheCommentWindow) {
  options.writeBoolean(opt::useCommentFrame, true);
  ASSERT_FALSE(options.save());
  MainWindowLogic& logic = openSample();
  std::vector<std::pair<int, Text>> shown;
  logic.hooks().DispCommentText = [&shown](TextView, int row, TextView, TextView comment) {
    shown.emplace_back(row, Text(comment));
  };
  toFolder(logic, u"DOCS");
  shown.clear();
  openAt(logic, Pane::Folder, 1, 1);
  logic.editLineKey(gridkey::Escape, 0, u"");
  EXPECT_TRUE(shown.empty());
  openAt(logic, Pane::Folder, 1, 1);
  ASSERT_EQ(logic.editLineKey(gridkey::Enter, 0, u"文書\r\n二行目").what, K::Reopened);
  ASSERT_GE(shown.size(), 1u);
  EXPECT_EQ(shown[0], (std::pair<int, Text>{1, u"文書\r\n二行目"}));
}

TEST_F(MainWindowEditLineTest, TheCommentWindowsStoreNormalisesAndMendsAMissingFlag) {
  MainWindowLogic& logic = openSample();
  const RowStore& list = logic.document().list();
  // PICS was stored without a flag character, as converted lists are.
  ASSERT_EQ(list.field(0, 6), u"PICS");
  ASSERT_TRUE(list.field(catalog::FieldFlags, 6).empty());
  logic.storeComment(6, Text(u"a\0b\rc", 5));
  EXPECT_EQ(list.field(catalog::FieldComment, 6), u"a b\r\nc");
  EXPECT_EQ(list.field(catalog::FieldFlags, 6), u"2");
  logic.document().setModified(false);
  logic.storeComment(0, u"title");
  EXPECT_FALSE(logic.document().modified());
}

TEST_F(MainWindowEditLineTest, DeletingRowsForgetsTheSearchWithinTheList) {
  MainWindowLogic& logic = openSample();
  logic.setFindText(u"TXT");
  logic.PrepareSearch();
  ASSERT_EQ(logic.listSearch().preparedWord(), u"TXT");
  toFolder(logic, u"SUB");
  logic.activate(Pane::Folder);
  ui.answers.push_back(AnswerOk);
  logic.run(C::ME_選択行削除);
  EXPECT_TRUE(logic.listSearch().preparedWord().empty());
  EXPECT_EQ(logic.listSearch().lastHit(), -1);
}

TEST_F(MainWindowEditLineTest, OpeningOnTheSelectedCursorRowUnselectsAndRedrawsIt) {
  MainWindowLogic& logic = openSample();
  toFolder(logic, u"DOCS");
  logic.activate(Pane::File);
  GridModel& files = logic.fileGrid();
  files.Grid_MoveCursor(1);
  files.Grid_SelectRow(1, true);
  files.Grid_SetCursorColumn(1);
  const MainWindowEffects e = logic.run(C::ME_データ修正);
  ASSERT_TRUE(e.editLine);
  EXPECT_EQ(files.store().selectedCount(), 0);
  EXPECT_TRUE(e.grids.files.full);
  // Another row selected besides: a beep, no edit line.
  logic.FinishEdit();
  files.Grid_SelectRow(0, true);
  EXPECT_FALSE(logic.run(C::ME_データ修正).editLine);
  EXPECT_EQ(ui.count(Kind::Beep), 1);
}

}  // namespace
}  // namespace zevro
