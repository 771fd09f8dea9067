// The main window and the comment window: with the comment frame on, the
// current row's comment is handed over on every move, and an edit made there
// is stored (field 1, flag bit 2, the list modified) before any command.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MainWindowFixture.h"
#include "core/OptionKeys.h"
#include "grid/GridKeys.h"
#include "listview/MainMenu.h"
#include "listview/MainWindowLogic.h"
#include "viewers/DocFormModel.h"

namespace zevro {
namespace {

using C = Command;

struct Shown {
  Text catalog;
  int row;
  Text name;
  Text comment;
};

class MainWindowCommentFrameTest : public ::testing::Test, protected test::MainWindowFixture {
protected:
  MainWindowLogic& openSample(bool frame) {
    writeCatalog("_00HD_DATA.cct", sampleCatalog());
    options.writeNumber(opt::FileFrames, 1);
    options.writeNumber(opt::useCommentFrame, frame ? -1 : 0);
    EXPECT_FALSE(options.save());
    MainWindowLogic& logic = start();
    logic.hooks().DispCommentText = [this](TextView catalog, int row, TextView name, TextView comment) {
      shown.push_back({Text(catalog), row, Text(name), Text(comment)});
      // The window's model, as the real window has it.
      box = model.DispCommentText(catalog, row, name, comment, box).box;
    };
    logic.hooks().isCommentTextEdited = [this](TextView catalog, int row, TextView name, Text* comment) {
      const bool edited = model.isCommentTextEdited(catalog, row, name, comment, &box);
      if (edited) ++takenBack;
      return edited;
    };
    openThroughChooser(logic, "_00HD_DATA.cct");
    return logic;
  }
  void cursorTo(MainWindowLogic& logic, int storedRow) {
    GridModel& grid = logic.folderGrid();
    grid.Grid_MoveCursor(logic.document().list().displayRowOf(storedRow) - 1);
    logic.key(Pane::Folder, gridkey::Down, 0);
  }

  std::vector<Shown> shown;
  std::vector<std::pair<int, Text>> edits;  // what the model's EditComment was given
  DocFormModel model{[this](int row, TextView comment) {
    edits.emplace_back(row, Text(comment));
    logic->storeComment(row, comment);
  }};
  Text box;
  int takenBack = 0;  // isCommentTextEdited answered true
};

TEST_F(MainWindowCommentFrameTest, CommentFollowsTheCursorOnlyWithTheFrameOn) {
  MainWindowLogic& off = openSample(false);
  cursorTo(off, 2);
  EXPECT_TRUE(shown.empty());

  MainWindowLogic& logic = openSample(true);
  shown.clear();
  cursorTo(logic, 2);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].row, 2);
  EXPECT_EQ(shown[0].name, u"README.TXT");
  EXPECT_EQ(shown[0].comment, u"はじめに");
  EXPECT_EQ(shown[0].catalog, logic.document().currentFileName());
  EXPECT_FALSE(shown[0].catalog.empty());
}

TEST_F(MainWindowCommentFrameTest, EditIsStoredBeforeTheNextCommandWithTheUserCommentFlag) {
  MainWindowLogic& logic = openSample(true);
  cursorTo(logic, 2);
  ASSERT_FALSE(logic.document().modified());
  box = u"一行目\n二行目";
  // Saving: the edit is taken back first, so it is in the file.
  logic.run(C::ボタン_保存);
  ASSERT_EQ(takenBack, 1);
  const RowStore& list = logic.document().list();
  EXPECT_EQ(list.field(catalog::FieldComment, 2), u"一行目\r\n二行目");
  EXPECT_EQ(list.field(catalog::FieldFlags, 2), Text(1, catalog::FlagBase + catalog::FlagUserComment));
  RowStore onDisk;
  ASSERT_TRUE(listfile::parse(temp().get("zevro/Catalog/_00HD_DATA.cct"), onDisk).loaded());
  EXPECT_EQ(onDisk.field(catalog::FieldComment, 2), u"一行目\r\n二行目");
  EXPECT_EQ(onDisk.field(catalog::FieldFlags, 2), u"2");
  // Taken back: the next command stores nothing more.
  logic.run(C::ボタン_保存);
  EXPECT_EQ(takenBack, 1);
}

TEST_F(MainWindowCommentFrameTest, MovingOnStoresTheEditOfThePreviousRowAndKeepsOtherFlags) {
  MainWindowLogic& logic = openSample(true);
  cursorTo(logic, 7);  // 写真.JPG: flag bit 1 set
  box = u"港の写真";
  cursorTo(logic, 5);
  ASSERT_EQ(edits.size(), 1u);
  EXPECT_EQ(edits[0], (std::pair<int, Text>{7, u"港の写真"}));
  const RowStore& list = logic.document().list();
  EXPECT_EQ(list.field(catalog::FieldComment, 7), u"港の写真");
  EXPECT_EQ(list.field(catalog::FieldFlags, 7),
            Text(1, catalog::FlagBase + catalog::FlagMediumName + catalog::FlagUserComment));
  EXPECT_EQ(shown.back().row, 5);
}

TEST_F(MainWindowCommentFrameTest, PassingOverRowsIsNeverTakenForAnEdit) {
  MainWindowLogic& logic = openSample(true);
  // A multi-line comment as the list holds it.
  logic.storeComment(2, u"a\r\nb");
  logic.document().setModified(false);
  for (int row : {2, 3, 2, 5, 7, 2}) cursorTo(logic, row);
  logic.run(C::ボタン_保存);
  EXPECT_TRUE(edits.empty());
  EXPECT_EQ(takenBack, 0);
  EXPECT_FALSE(logic.document().modified());
}

TEST_F(MainWindowCommentFrameTest, AnEmptiedBoxNeverErasesTheComment) {
  MainWindowLogic& logic = openSample(true);
  cursorTo(logic, 5);
  box.clear();
  logic.run(C::ボタン_保存);
  cursorTo(logic, 2);
  EXPECT_TRUE(edits.empty());
  EXPECT_EQ(logic.document().list().field(catalog::FieldComment, 5), u"メモ");
  EXPECT_FALSE(logic.document().modified());
}

}  // namespace
}  // namespace zevro
