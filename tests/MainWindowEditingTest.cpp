#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "core/CatalogList.h"

namespace zevro {
namespace {

using C = Command;
using Kind = FakeUi::Kind;

class MainWindowEditingTest : public ::testing::Test, public test::MainWindowFixture {
protected:
  int catalogRowNamed(MainWindowLogic& logic, TextView name) {
    const RowStore& s = logic.document().list();
    for (int r = 0; r < s.rowCount(); ++r)
      if (s.fieldView(0, r) == name) return r;
    return -1;
  }
};

TEST_F(MainWindowEditingTest, DeletingAPaneRowKeepsLaterEditsOnTheirRows) {
  MainWindowLogic& logic = openSample();
  ASSERT_TRUE(logic.paneOpen());
  toFolder(logic, u"DOCS");
  GridModel& files = logic.fileGrid();
  ASSERT_GE(files.rowCount(), 2);
  logic.activate(Pane::File);
  files.Grid_MoveCursor(0);
  const Text first = files.store().shownField(0, 0);
  ui.answers.push_back(AnswerOk);
  logic.run(C::ME_選択行削除);
  EXPECT_EQ(catalogRowNamed(logic, first), -1);
  EXPECT_TRUE(logic.document().modified());
  // The pane was filled again: the last file's edit lands on its own row.
  const int last = files.rowCount() - 1;
  ASSERT_GE(last, 0);
  const Text lastName = files.store().shownField(0, last);
  files.Grid_MoveCursor(last);
  files.Grid_SetCursorColumn(1);
  ASSERT_TRUE(logic.OpenEditLine(Pane::File));
  ASSERT_TRUE(logic.CommitEdit(u"edited", MainWindowLogic::EditReason::Finish));
  const int row = catalogRowNamed(logic, lastName);
  ASSERT_GT(row, 0);
  EXPECT_EQ(logic.document().list().field(1, row), u"edited");
  EXPECT_EQ(logic.document().list().field(4, row), u"2");
}

TEST_F(MainWindowEditingTest, TitleLineInSelectionDeletesNothing) {
  MainWindowLogic& logic = openSample();
  const int before = logic.document().list().rowCount();
  logic.folderGrid().Grid_SelectRow(0, true);
  logic.folderGrid().Grid_SelectRow(1, true);
  logic.run(C::ME_選択行削除);
  EXPECT_EQ(logic.document().list().rowCount(), before);
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(ui.messages()[0], listedit::TitleLineMessage);
}

TEST_F(MainWindowEditingTest, DeletingAFolderAsksAndTakesItsSubtree) {
  MainWindowLogic& logic = openSample();
  toFolder(logic, u"DOCS");
  ui.answers.push_back(AnswerOk);
  logic.run(C::ME_選択行削除);
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(catalogRowNamed(logic, u"DOCS"), -1);
  EXPECT_EQ(catalogRowNamed(logic, u"NOTE.TXT"), -1);
  EXPECT_GT(catalogRowNamed(logic, u"PICS"), 0);
  // Cancel deletes nothing.
  toFolder(logic, u"PICS");
  ui.answers.push_back(AnswerCancel);
  logic.run(C::ME_選択行削除);
  EXPECT_GT(catalogRowNamed(logic, u"PICS"), 0);
}

TEST_F(MainWindowEditingTest, CopyAndPasteCommentsThroughTheClipboard) {
  MainWindowLogic& logic = openSample();
  toFolder(logic, u"DOCS");
  logic.activate(Pane::File);
  GridModel& files = logic.fileGrid();
  files.Grid_MoveCursor(0);
  files.Grid_SetCursorColumn(1);
  const Text comment = files.store().shownField(1, 0);
  logic.run(C::ME_コピー);
  EXPECT_EQ(ui.clipboard, comment);
  files.Grid_ClearSelection();
  files.Grid_MoveCursor(1);
  logic.run(C::ME_貼付);
  const int row = catalogRowNamed(logic, files.store().shownField(0, 1));
  EXPECT_EQ(logic.document().list().field(1, row), comment);
  EXPECT_TRUE(logic.document().modified());
  // The name column takes no paste.
  files.Grid_SetCursorColumn(0);
  logic.run(C::ME_貼付);
  EXPECT_EQ(ui.count(Kind::Beep), 1);
}

TEST_F(MainWindowEditingTest, EditCommentStoresInBothStoresAndSkipsTitle) {
  MainWindowLogic& logic = openSample();
  toFolder(logic, u"DOCS");
  const int row = catalogRowNamed(logic, u"README.TXT");
  logic.EditComment(0, u"x");
  EXPECT_FALSE(logic.document().modified());
  logic.EditComment(row, u"新しい");
  EXPECT_EQ(logic.document().list().field(1, row), u"新しい");
  const int paneRow = logic.tree().filePane().paneRowOf(row);
  ASSERT_GE(paneRow, 0);
  EXPECT_EQ(logic.fileGrid().store().field(1, paneRow), u"新しい");
}

}  // namespace
}  // namespace zevro
