#include "dialogs/ColourOptions.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "core/OptionKeys.h"
#include "dialogs/FontOptions.h"
#include "dialogs/OptionFormLogic.h"
#include "platform/FakeUi.h"
#include "platform/FontNames.h"
#include "platform/LinuxFileSystem.h"

namespace zevro {
namespace {

// An option file in a temporary program folder, read by a store; the file's
// bytes show what the store wrote after a save.
class ColourOptionsTest : public ::testing::Test {
protected:
  OptionStore& storeWith(const std::string& lines) {
    temp.put("ZEVRO32.Opt", "[Options]\r\n" + lines);
    store = std::make_unique<OptionStore>(disk, temp.path("ZEVRO32.Opt"));
    EXPECT_FALSE(store->load());
    return *store;
  }
  std::string saved() {
    EXPECT_FALSE(store->save());
    return temp.get("ZEVRO32.Opt");
  }
  static bool holds(const std::string& file, const std::string& line) {
    return file.find(line + "\r\n") != std::string::npos;
  }
  static int foreColorLines(const std::string& file) {
    int n = 0;
    for (std::size_t at = file.find("ForeColor"); at != std::string::npos; at = file.find("ForeColor", at + 1)) ++n;
    return n;
  }

  test::TempFolder temp{"zevro-colours"};
  LinuxFileSystem disk;
  std::unique_ptr<OptionStore> store;
  FakeUi ui;
};

TEST_F(ColourOptionsTest, ReadsEverySwatchWithItsDefault) {
  struct Row {
    int swatch;
    TextView key;
    std::uint32_t expected;
    TextView caption;
  };
  const Row rows[] = {
      {0, u"ListForeCol", 0, u"・リストの文字の色"},
      {1, u"ListBackCol", 0xFFFFFF, u"・リストの背景色"},
      {2, u"SelForeCol", 0x8000000E, u"・選択されたリストの文字の色"},
      {3, u"SelBackCol", 0x8000000D, u"・選択されたリストの背景色"},
      {4, u"CsrForeCol", 0, u"・カーソルセルの文字の色"},
      {5, u"CsrBackCol", 15269832, u"・カーソルセルの背景色"},
      {6, u"ListHLineCol", 10526880, u"・リストの横線の色"},
      {7, u"ListVLineCol", 11579568, u"・リストの縦線の色"},
      {8, u"TitleForeColL", 0xFFFFFF, u"・Dir枠ヘッダーの文字の色"},
      {9, u"TitleBackColL", 14733456, u"・Dir枠ヘッダーの背景色"},
      {10, u"TitleForeColF", 0xFFFFFF, u"・File枠ヘッダーの文字の色"},
      {11, u"TitleBackColF", 15253712, u"・File枠ヘッダーの背景色"},
      {12, u"TitleForeColS", 0xFFFFFF, u"・全検索ヘッダーの文字の色"},
      {13, u"TitleBackColS", 16769208, u"・全検索ヘッダーの背景色"},
  };
  const ColourOptions c = ColourOptions::read(storeWith(""));
  for (const Row& r : rows) {
    EXPECT_EQ(ColourOptions::named()[static_cast<std::size_t>(r.swatch)].key, r.key) << r.swatch;
    EXPECT_EQ(ColourOptions::named()[static_cast<std::size_t>(r.swatch)].caption, r.caption) << r.swatch;
    EXPECT_EQ(c.namedColour(r.swatch), r.expected) << r.swatch;
  }
  const std::uint32_t levels[12] = {0x800000, 0x008000, 0x800080, 0xA06000, 0x007090, 0x8020A0,
                                    0xC08000, 0x444444, 0x504422, 0x333370, 0x603370, 0x337033};
  for (int level = 1; level <= 12; ++level) {
    EXPECT_EQ(c.levelColour(level), levels[level - 1]) << level;
    EXPECT_EQ(ColourOptions::levelCaption(level), u"Level " + ascii(std::to_string(level)));
  }
}

TEST_F(ColourOptionsTest, ReadsStoredValuesInEitherSignedForm) {
  const ColourOptions c = ColourOptions::read(
      storeWith("SelBackCol=2147483661\r\nSelForeCol=-2147483634\r\nCsrBackCol= 255\r\nForeColor7= 65280\r\n"));
  EXPECT_EQ(c.namedColour(3), 0x8000000Du);
  EXPECT_EQ(c.namedColour(2), 0x8000000Eu);
  EXPECT_EQ(c.namedColour(5), 0x0000FFu);
  EXPECT_EQ(c.levelColour(7), 0x00FF00u);
}

// Cancel drops the form: the store has nothing to save and the file keeps
// its bytes.
TEST_F(ColourOptionsTest, CancelAfterChangesWritesNothing) {
  OptionStore& s = storeWith("CsrBackCol= 255\r\n");
  const std::string before = temp.get("ZEVRO32.Opt");
  ui.colours = {0x123456, 0xABCDEF, 0x00FF00};
  OptionFormLogic form(ColourOptions::read(s), ui);
  EXPECT_TRUE(form.clickSwatch(5));
  EXPECT_TRUE(form.clickSwatch(3));
  EXPECT_TRUE(form.clickLevel(3));
  EXPECT_FALSE(s.hasPending());
  EXPECT_EQ(saved(), before);
}

TEST_F(ColourOptionsTest, ChangingOnlyLevelThreeWritesOnlyForeColor3AmongTheLevels) {
  OptionStore& s = storeWith("ForeColor5= 100\r\n");
  ui.colours = {0x0000C0};
  OptionFormLogic form(ColourOptions::read(s), ui);
  ASSERT_TRUE(form.clickLevel(3));
  form.colours().write(s);
  const std::string file = saved();
  EXPECT_TRUE(holds(file, "ForeColor3= 192")) << file;
  EXPECT_TRUE(holds(file, "ForeColor5= 100")) << file;  // as it was
  EXPECT_EQ(foreColorLines(file), 2) << file;
  // The fourteen named keys are all there.
  for (const ColourOptions::Named& n : ColourOptions::named())
    EXPECT_TRUE(s.has(n.key)) << std::string(n.key.begin(), n.key.end());
}

// The desktop's selection colour survives OK in the form older versions
// write, whatever the file held.
TEST_F(ColourOptionsTest, UntouchedSystemColourIsWrittenSigned) {
  struct Row {
    const char* file;
    const char* what;
  };
  const Row rows[] = {
      {"SelBackCol=-2147483635\r\n", "signed"},
      {"SelBackCol=2147483661\r\n", "unsigned"},
      {"", "missing"},
  };
  for (const Row& r : rows) {
    OptionStore& s = storeWith(r.file);
    ui.colours = {0x00FF00};
    OptionFormLogic form(ColourOptions::read(s), ui);
    ASSERT_TRUE(form.clickSwatch(5)) << r.what;  // another swatch changes
    form.colours().write(s);
    const std::string file = saved();
    EXPECT_TRUE(holds(file, "SelBackCol=-2147483635")) << r.what << "\n" << file;
    EXPECT_TRUE(holds(file, "SelForeCol=-2147483634")) << r.what << "\n" << file;
    EXPECT_TRUE(holds(file, "CsrBackCol= 65280")) << r.what << "\n" << file;
    OptionStore again(disk, temp.path("ZEVRO32.Opt"));
    ASSERT_FALSE(again.load());
    EXPECT_EQ(ColourOptions::read(again).namedColour(3), 0x8000000Du) << r.what;
  }
}

// A colour the user picks for a system swatch is stored as its RGB value;
// the chooser opened at the system value (the window resolves it).
TEST_F(ColourOptionsTest, PickedColourReplacesSystemColour) {
  OptionStore& s = storeWith("");
  ui.colours = {0x804020};
  OptionFormLogic form(ColourOptions::read(s), ui);
  ASSERT_TRUE(form.clickSwatch(3));
  ASSERT_EQ(ui.colourStarts, std::vector<std::uint32_t>{0x8000000D});
  EXPECT_EQ(form.markedSwatch(), 3);
  form.colours().write(s);
  EXPECT_TRUE(holds(saved(), "SelBackCol= 8405024"));
}

TEST_F(ColourOptionsTest, ChooserCancelledChangesNothing) {
  OptionStore& s = storeWith("");
  OptionFormLogic form(ColourOptions::read(s), ui);  // no colour scripted: Cancel
  EXPECT_FALSE(form.clickSwatch(1));
  EXPECT_FALSE(form.clickLevel(12));
  EXPECT_EQ(form.colours().namedColour(1), 0xFFFFFFu);
  EXPECT_EQ(form.markedLevel(), 12);
  EXPECT_EQ(form.markedSwatch(), -1);
  EXPECT_EQ(ui.count(FakeUi::Kind::ChooseColour), 2);
  EXPECT_EQ(ui.colourStarts, (std::vector<std::uint32_t>{0xFFFFFF, 0x337033}));
}

TEST_F(ColourOptionsTest, WithoutChoosersEveryClickBeepsAndNothingChanges) {
  OptionStore& s = storeWith("");
  ui.choosers = false;
  ui.colours = {0x111111, 0x222222};
  OptionFormLogic form(ColourOptions::read(s), ui);
  const ColourOptions before = form.colours();
  int clicks = 0;
  for (int swatch = 0; swatch < ColourOptions::NamedCount; ++swatch, ++clicks) EXPECT_FALSE(form.clickSwatch(swatch));
  for (int level = 1; level <= ColourOptions::LevelCount; ++level, ++clicks) EXPECT_FALSE(form.clickLevel(level));
  EXPECT_EQ(ui.count(FakeUi::Kind::Beep), clicks);
  EXPECT_EQ(ui.count(FakeUi::Kind::ChooseColour), 0);
  EXPECT_EQ(form.markedSwatch(), -1);
  EXPECT_EQ(form.markedLevel(), -1);
  for (int swatch = 0; swatch < ColourOptions::NamedCount; ++swatch)
    EXPECT_EQ(form.colours().namedColour(swatch), before.namedColour(swatch));
  for (int level = 1; level <= ColourOptions::LevelCount; ++level) EXPECT_FALSE(form.colours().levelChanged(level));
}

// ---------------------------------------------------------------- fonts

TEST(FontOptionsTest, SetFontTakesSizesNineToTwelveAndNoVerticalFace) {
  struct Row {
    FontChoice chosen;
    bool taken;
    double size;
    int beeps;
  };
  const Row rows[] = {
      {{u"IPAGothic", 14, false}, true, 12, 0},    {{u"IPAGothic", 8, false}, true, 9, 0},
      {{u"IPAMincho", 10.5, true}, true, 10.5, 0}, {{u"IPAGothic", 9, false}, true, 9, 0},
      {{u"IPAGothic", 12, false}, true, 12, 0},    {{u"@IPAGothic", 10, false}, false, 0, 1},
      {{u"＠IPAGothic", 10, false}, false, 0, 1},
  };
  for (const Row& r : rows) {
    FakeUi ui;
    ui.fonts = {r.chosen};
    const std::optional<FontChoice> got = fontoptions::SetFont(ui, {u"ＭＳ Ｐゴシック", 9.75, false});
    const std::string what(r.chosen.name.begin(), r.chosen.name.end());
    ASSERT_EQ(got.has_value(), r.taken) << what << " " << r.chosen.size;
    EXPECT_EQ(ui.count(FakeUi::Kind::Beep), r.beeps) << what;
    if (!got) continue;
    EXPECT_EQ(got->size, r.size) << what;
    EXPECT_EQ(got->name, r.chosen.name);
    EXPECT_EQ(got->bold, r.chosen.bold);
  }
}

TEST(FontOptionsTest, SetFontOpensAtTheCurrentFontAndCancelTakesNothing) {
  FakeUi ui;
  const FontChoice current{u"ＭＳ 明朝", 10.5, true};
  EXPECT_FALSE(fontoptions::SetFont(ui, current).has_value());
  ASSERT_EQ(ui.fontStarts.size(), 1u);
  EXPECT_EQ(ui.fontStarts[0], current);
  EXPECT_EQ(ui.count(FakeUi::Kind::Beep), 0);

  FakeUi none;
  none.choosers = false;
  EXPECT_FALSE(fontoptions::SetFont(none, current).has_value());
  EXPECT_EQ(none.count(FakeUi::Kind::Beep), 1);
  EXPECT_EQ(none.count(FakeUi::Kind::ChooseFont), 0);
}

TEST(FontOptionsTest, SizeTextHasAPointInEveryLocale) {
  struct Row {
    double size;
    TextView text;
  };
  const Row rows[] = {{10, u"10"}, {10.5, u"10.5"}, {9.75, u"9.75"}, {12, u"12"}, {9.0, u"9"}, {11.25, u"11.25"}};
  // A locale that writes "10,5" must change nothing.
  const char* german = std::setlocale(LC_ALL, "de_DE.UTF-8");
  for (const Row& r : rows) {
    EXPECT_EQ(fontoptions::sizeText(r.size), r.text) << r.size;
    EXPECT_EQ(fontoptions::sizeOf(r.text), r.size) << r.size;
  }
  if (german) std::setlocale(LC_ALL, "C");
  EXPECT_EQ(fontoptions::sizeOf(u" 11"), 11);
  EXPECT_EQ(fontoptions::sizeOf(u"abc"), 0);
}

TEST_F(ColourOptionsTest, FontIsStoredAsNameSizeTextAndBold) {
  struct Row {
    fontoptions::FontKeys keys;
    FontChoice font;
    const char* name;
    const char* size;
    const char* bold;
  };
  const Row rows[] = {
      {fontoptions::listKeys(), {u"ＭＳ 明朝", 10.5, true}, "FontName=ＭＳ 明朝", "FontSize=10.5", "FontBold=-1"},
      {fontoptions::commentKeys(),
       {u"IPAGothic", 10, false},
       "DocFontName=IPAGothic",
       "DocFontSize=10",
       "DocFontBold= 0"},
      {fontoptions::previewKeys(),
       {u"ＭＳ ゴシック", 12, true},
       "PrevFontName=ＭＳ ゴシック",
       "PrevFontSize=12",
       "PrevFontBold=-1"},
  };
  for (const Row& r : rows) {
    OptionStore& s = storeWith("");
    fontoptions::write(s, r.keys, r.font);
    const std::string file = saved();
    // The file is CP932; compare through the store read back.
    OptionStore again(disk, temp.path("ZEVRO32.Opt"));
    ASSERT_FALSE(again.load());
    EXPECT_EQ(fontoptions::read(again, r.keys, {}), r.font) << r.size;
    EXPECT_TRUE(holds(file, r.size)) << file;
    EXPECT_TRUE(holds(file, r.bold)) << file;
  }
}

TEST(FontNamesTest, WindowsFacesMapToIpaFacesAndBack) {
  struct Row {
    TextView windows;
    TextView ipa;
  };
  const Row rows[] = {
      {u"ＭＳ ゴシック", u"IPAGothic"}, {u"MS Gothic", u"IPAGothic"},
      {u"MS UI Gothic", u"IPAPGothic"}, {u"ＭＳ Ｐゴシック", u"IPAPGothic"},
      {u"MS PGothic", u"IPAPGothic"},   {u"Meiryo UI", u"IPAPGothic"},
      {u"ＭＳ 明朝", u"IPAMincho"},     {u"MS Mincho", u"IPAMincho"},
      {u"ＭＳ Ｐ明朝", u"IPAPMincho"},  {u"DejaVu Sans", u""},
  };
  for (const Row& r : rows) EXPECT_EQ(fontnames::ipaFamilyFor(r.windows), r.ipa);
  EXPECT_EQ(fontnames::storedNameFor(u"IPAMincho"), u"ＭＳ 明朝");
  EXPECT_EQ(fontnames::storedNameFor(u"IPAPGothic"), u"ＭＳ Ｐゴシック");
  EXPECT_EQ(fontnames::storedNameFor(u"IPAGothic"), u"ＭＳ ゴシック");
  EXPECT_EQ(fontnames::storedNameFor(u"IPAPMincho"), u"ＭＳ Ｐ明朝");
  EXPECT_EQ(fontnames::storedNameFor(u"DejaVu Sans"), u"DejaVu Sans");
}

}  // namespace
}  // namespace zevro
