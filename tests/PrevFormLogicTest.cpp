#include "print/PrevFormLogic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "core/OptionKeys.h"
#include "platform/LinuxFileSystem.h"

namespace zevro {
namespace {

using C = PrevControl;

const TextView ElevenKeys[] = {opt::RomanFont, opt::BoldFont, opt::SizeIndex, opt::GapIndex, opt::PrnTree,
                               opt::PrnComment, opt::SwapDate, opt::PrnVline, opt::PrnHline, opt::PrnFrame,
                               opt::PrnWrap};

struct Store {
  LinuxFileSystem files;
  OptionStore options{files, "/nonexistent/zevro-print-test/ZEVRO32.Opt"};
};

TEST(PrevFormSettings, DefaultsOfAnEmptyStore) {
  Store s;
  PrevFormLogic logic;
  logic.load(s.options);
  const PrintSettings& p = logic.settings();
  EXPECT_TRUE(p.mincho);
  EXPECT_FALSE(p.bold);
  EXPECT_EQ(p.sizePoints(), 9.75);
  EXPECT_EQ(p.gapTenths(), 14);
  EXPECT_TRUE(p.tree && p.comment && p.swap && p.verticalRules && p.horizontalRules && p.frame && p.wrap);
  EXPECT_FALSE(logic.changed());
}

TEST(PrevFormSettings, StoredValuesTakeTheLowestBit) {
  Store s;
  s.options.writeText(opt::RomanFont, u" 0");
  s.options.writeText(opt::BoldFont, u"-1");
  s.options.writeText(opt::SizeIndex, u" 4");
  s.options.writeText(opt::GapIndex, u" 9");  // outside the list: the default
  s.options.writeText(opt::PrnTree, u" 2");   // even: off
  s.options.writeText(opt::PrnWrap, u" 0");
  PrevFormLogic logic;
  logic.load(s.options);
  EXPECT_FALSE(logic.settings().mincho);
  EXPECT_TRUE(logic.settings().bold);
  EXPECT_EQ(logic.settings().sizePoints(), 12);
  EXPECT_EQ(logic.settings().gapIndex, 1);
  EXPECT_FALSE(logic.settings().tree);
  EXPECT_FALSE(logic.settings().wrap);
}

TEST(PrevFormSettings, CancelWritesNothingStartWritesTheElevenKeys) {
  Store s;
  PrevFormLogic logic;
  logic.load(s.options);
  EXPECT_FALSE(logic.save(s.options));  // nothing changed
  EXPECT_FALSE(s.options.hasPending());
  EXPECT_FALSE(logic.change([](PrintSettings& p) { p.items = 2; }));  // not a stored setting
  EXPECT_TRUE(logic.change([](PrintSettings& p) { p.gapIndex = 3; }));
  // Cancelled: nothing is written until a later start or the program's end.
  EXPECT_FALSE(s.options.hasPending());
  EXPECT_TRUE(logic.save(s.options));
  for (TextView key : ElevenKeys) EXPECT_FALSE(s.options.readText(key, u"").empty()) << toUtf8(key);
  EXPECT_EQ(s.options.readNumber(opt::GapIndex, 0), 3);
  EXPECT_EQ(s.options.readNumber(opt::RomanFont, 0), -1);
  EXPECT_EQ(s.options.readNumber(opt::BoldFont, 1), 0);
  EXPECT_EQ(s.options.readNumber(opt::PrnWrap, 0), -1);
  EXPECT_FALSE(logic.save(s.options));  // saved: not again
  PrevFormLogic again;
  again.load(s.options);
  EXPECT_TRUE(again.settings().sameStored(logic.settings()));
}

TEST(PrevFormEnter, FocusChain) {
  struct Case {
    C from;
    bool allPages;
    std::optional<C> to;
  };
  const Case cases[] = {
      {C::項目OPT1, true, C::頁範囲OPT0},  {C::項目OPT2, false, C::頁範囲OPT1}, {C::頁範囲OPT0, true, C::PRNBTN},
      {C::頁範囲OPT1, false, C::TOPLIN},  {C::TOPLIN, false, C::ENDLIN},      {C::ENDLIN, false, C::PRNBTN},
      {C::FONTYP1, true, C::SIZLST},      {C::BLDSEL, true, C::縦罫SEL},        {C::ツリー印字SEL, true, C::コメント欄SEL},
      {C::コメント欄SEL, true, C::欄入替SEL}, {C::欄入替SEL, true, C::縦罫SEL},  {C::縦罫SEL, true, C::横罫SEL},
      {C::横罫SEL, true, C::外枠SEL},     {C::外枠SEL, true, C::折返SEL},       {C::折返SEL, true, C::PRNBTN},
      {C::SIZLST, true, std::nullopt},   {C::PRNBTN, true, std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PrevFormLogic::enterTarget(c.from, c.allPages), c.to) << toUtf8(PrevFormLogic::text(c.from).name);
}

TEST(PrevFormRange, LeavingTheStartBox) {
  struct Case {
    TextView top;
    TextView end;
    bool beep;
    std::optional<Text> endText;
  };
  const Case cases[] = {
      {u"0", u"1", true, std::nullopt},  {u"101", u"200", true, std::nullopt}, {u"100", u"200", false, std::nullopt},
      {u"5", u"3", false, u"5"},         {u"1", u"1", false, std::nullopt},     {u"2.5", u"1", false, u"2.5"},
      {u"7", u"最終", false, std::nullopt},
  };
  for (const Case& c : cases) {
    const PrevFormLogic::RangeAnswer a = PrevFormLogic::leaveTop(c.top, c.end);
    EXPECT_EQ(a.beep, c.beep) << toUtf8(c.top);
    EXPECT_EQ(a.endText, c.endText) << toUtf8(c.top);
    EXPECT_TRUE(a.redraw);
  }
}

TEST(PrevFormRange, LeavingTheEndBox) {
  struct Case {
    TextView end;
    TextView top;
    bool beep;
  };
  const Case cases[] = {
      {u"200", u"1", false}, {u"201", u"1", true}, {u"abc", u"1", true}, {u"0", u"1", true},
      {u"3", u"5", true},    {u"5", u"5", false},  {u"12x", u"1", true}, {u" 8 ", u"1", false},
  };
  for (const Case& c : cases) {
    const PrevFormLogic::RangeAnswer a = PrevFormLogic::leaveEnd(c.end, c.top);
    EXPECT_EQ(a.beep, c.beep) << toUtf8(c.end);
    EXPECT_FALSE(a.redraw) << toUtf8(c.end);
    EXPECT_FALSE(a.endText);
  }
}

TEST(PrevFormRange, LeadingNumbers) {
  EXPECT_EQ(PrevFormLogic::leadingNumber(u"12abc"), 12);
  EXPECT_EQ(PrevFormLogic::leadingNumber(u" 2.5"), 2);
  EXPECT_EQ(PrevFormLogic::leadingNumber(u"3.5"), 4);
  EXPECT_EQ(PrevFormLogic::leadingNumber(u"x"), 0);
  EXPECT_EQ(PrevFormLogic::leadingNumber(u"-4"), -4);
}

TEST(PrevFormPreview, OneScaleForSheetMarginsAndPage) {
  // Letter with a quarter-inch margin all round, in a preview of 400 x 600 pixels.
  const PrevFormLogic::PreviewPlace p =
      PrevFormLogic::previewPlace(12240, 15840, {360, 360, 11520, 15120}, 400, 600);
  const double scale = 400.0 / 12240;  // the width limits
  EXPECT_EQ(p.sheet.width, 400);
  EXPECT_EQ(p.sheet.height, static_cast<int>(std::lround(15840 * scale)));
  EXPECT_EQ(p.page.left, static_cast<int>(std::lround(360 * scale)));
  EXPECT_EQ(p.page.top, p.page.left);  // the same margin, the same offset
  EXPECT_EQ(p.page.width, static_cast<int>(std::lround(11520 * scale)));
  EXPECT_EQ(p.page.height, static_cast<int>(std::lround(15120 * scale)));
  // A sheet without margins fills the sheet.
  const PrevFormLogic::PreviewPlace a4 = PrevFormLogic::previewPlace(11906, 16838, {0, 0, 11906, 16838}, 300, 300);
  EXPECT_EQ(a4.page, a4.sheet);
  EXPECT_EQ(a4.sheet.height, 300);
}

TEST(PrevFormControls, EveryControlOnceWithItsCaption) {
  std::set<Text> names;
  for (const PrevControlText& t : PrevFormLogic::controls()) {
    EXPECT_EQ(&PrevFormLogic::text(t.control), &t);
    EXPECT_TRUE(names.insert(Text(t.name)).second) << toUtf8(t.name);
  }
  EXPECT_EQ(PrevFormLogic::text(C::TOPLIN).tooltip, u"印字開始ページを指定します");
  EXPECT_EQ(PrevFormLogic::text(C::SETBTN).caption, u"プリンターの設定 (&P)");
}

}  // namespace
}  // namespace zevro
