#include "compare/CompareFormLogic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CompareTestFiles.h"
#include "TempFolder.h"
#include "platform/LinuxFileSystem.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

using comparetest::folder;
using comparetest::listFileOf;

// A main window that records what it was asked; `loads` says whether a load
// takes place (a busy window or a cancelled save question refuses it).
class RecordingTarget : public JumpTarget {
public:
  bool loads = true;
  Text shown;
  std::vector<std::string> calls;
  void loadCatalog(TextView fileName) override {
    calls.push_back("load " + cp932::toNativeName(fileName));
    if (loads) shown = Text(fileName);
  }
  Text currentListFile() const override { return shown; }
  void showPage(TextView path, bool show) override {
    calls.push_back("show " + cp932::toNativeName(path) + (show ? " up" : ""));
  }
  void markRow(TextView path, bool current) override {
    calls.push_back("mark " + cp932::toNativeName(path) + (current ? " current" : ""));
  }
};

class CompareFormLogicTest : public ::testing::Test {
protected:
  CompareFormLogicTest() : temp("zevro-compare-logic") {
    temp.put("Catalog/_00CD_A.cct", listFileOf({{0, u"A"}, folder(1, u"P"), {2, u"X.BIN", u"2,000"}, folder(1, u"Q"),
                                                {2, u"x.bin", u"2,000"}, {1, u"Y.TXT", u"10"}}));
    temp.put("Catalog/_00HD_B.cct", listFileOf({{0, u"B"}, {1, u"X.BIN", u"2,000"}, {1, u"y.txt", u"10"}}));
  }
  test::TempFolder temp;
  LinuxFileSystem files;
  RowStore rows;
  CompareFormLogic logic{rows};
};

TEST_F(CompareFormLogicTest, RowsCarryTheirGroupsColourAndTheSummaryTheWaste) {
  CompareFilters filters;
  filters.sameMedium = true;
  ASSERT_TRUE(logic.findDuplicates(files, temp.path("Catalog"), filters, {}));
  ASSERT_EQ(rows.shownCount(), 5);
  const int marks[] = {1, 1, 1, 2, 2};
  for (int r = 0; r < 5; ++r) EXPECT_EQ(rows.highlight(r), marks[r]) << r;
  EXPECT_EQ(rows.field(1, 1), u"Q\\x.bin");
  EXPECT_EQ(rows.field(3, 0), u"2,000");
  EXPECT_EQ(logic.summary(), u"2 グループ  5 ファイル  4,010 バイト");
  EXPECT_EQ(logic.caption(), CompareFormLogic::DuplicatesCaption);
}

TEST_F(CompareFormLogicTest, AJumpMarksTheCopiesInTheSameCatalogThenTheRow) {
  CompareFilters filters;
  filters.sameMedium = true;
  ASSERT_TRUE(logic.findDuplicates(files, temp.path("Catalog"), filters, {}));
  RecordingTarget target;
  ASSERT_TRUE(logic.jump(1, true, target));
  EXPECT_EQ(target.calls, (std::vector<std::string>{"load _00CD_A.cct", "mark P\\X.BIN", "show Q\\x.bin up",
                                                    "mark Q\\x.bin current"}));
  RecordingTarget refused;
  refused.loads = false;
  EXPECT_FALSE(logic.jump(2, false, refused));
  EXPECT_EQ(refused.calls, std::vector<std::string>{"load _00HD_B.cct"});
  EXPECT_FALSE(logic.jump(9, false, target));
}

TEST_F(CompareFormLogicTest, ChangesFromAnotherCatalogColouredByKind) {
  const std::optional<int> n =
      logic.compareWith(files, temp.path("Catalog"), u"_00HD_B.cct", temp.path("Catalog/_00CD_A.cct"), false);
  ASSERT_EQ(n, 3);
  // Two copies went and one came: no move but two removals and an addition; Y.TXT only changed case.
  EXPECT_EQ(rows.field(0, 0), u"削除");
  EXPECT_EQ(rows.field(1, 0), u"P\\X.BIN");
  EXPECT_EQ(rows.highlight(0), 2);
  EXPECT_EQ(rows.field(0, 1), u"削除");
  EXPECT_EQ(rows.field(1, 1), u"Q\\x.bin");
  EXPECT_EQ(rows.field(0, 2), u"追加");
  EXPECT_EQ(rows.highlight(2), 1);
  EXPECT_EQ(logic.summary(), u"3 件");
  RecordingTarget target;
  EXPECT_TRUE(logic.jump(0, true, target));  // a removed row is shown in the other catalog
  EXPECT_EQ(target.calls.front(), "load _00CD_A.cct");
  EXPECT_FALSE(logic.compareWith(files, temp.path("Catalog"), u"_00HD_B.cct", temp.path("nothing.cct"), false));
}

}  // namespace
}  // namespace zevro
