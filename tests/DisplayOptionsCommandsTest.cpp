// The colour and font commands of the main window's Options menu, driven
// through the logic with a scripted Ui standing in for the choosers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MainWindowFixture.h"
#include "core/OptionKeys.h"
#include "dialogs/OptionFormLogic.h"
#include "listview/MainGridSetup.h"
#include "listview/MainMenu.h"
#include "listview/MainWindowLogic.h"

namespace zevro {
namespace {

using C = Command;
using Kind = FakeUi::Kind;

class DisplayOptionsCommandsTest : public ::testing::Test, protected test::MainWindowFixture {
protected:
  // The options window as the user works it: each script entry clicks a
  // swatch (0..13) or a level (-1..-12), the chooser answers from ui.colours;
  // OK or Cancel at the end.
  void scriptForm(MainWindowLogic& logic, std::vector<int> clicks, bool ok) {
    logic.hooks().dispOption = [this, clicks, ok](const ColourOptions& current) {
      ++formsShown;
      OptionFormLogic form(current, ui);
      for (int click : clicks) click >= 0 ? form.clickSwatch(click) : form.clickLevel(-click);
      return ok ? std::optional<ColourOptions>(form.colours()) : std::nullopt;
    };
    logic.hooks().displayOptionsChanged.push_back([this] { ++otherListsRedrawn; });
    logic.hooks().displayOptionsChanged.push_back([this] { ++otherListsRedrawn; });
  }

  std::string optionFile() const { return temp().get("zevro/ZEVRO32.Opt"); }

  int formsShown = 0;
  int otherListsRedrawn = 0;
};

TEST_F(DisplayOptionsCommandsTest, OkStoresAndAppliesColoursToBothPanesAndTheOtherLists) {
  MainWindowLogic& logic = start();
  ui.colours = {0x00FFFF, 0x0000C0};
  scriptForm(logic, {5, -3}, true);
  const MainWindowEffects e = logic.run(C::MO_色の変更);
  EXPECT_EQ(formsShown, 1);
  EXPECT_TRUE(e.settings);
  EXPECT_TRUE(e.grids.folder.full);
  EXPECT_TRUE(e.grids.files.full);
  EXPECT_EQ(otherListsRedrawn, 2);
  // The folder pane has the keys: its cursor is the new colour.
  EXPECT_EQ(logic.folderGrid().settings().cursorColour, 0x00FFFFu);
  EXPECT_EQ(logic.options().csrBack, 0x00FFFFu);
  EXPECT_EQ(logic.folderGrid().settings().levelColours[3], 0x0000C0u);
  EXPECT_EQ(logic.fileGrid().settings().levelColours[3], 0x0000C0u);
  EXPECT_EQ(opt::readColour(options, opt::CsrBackCol), 0x00FFFFu);
  EXPECT_EQ(opt::readColour(options, opt::foreColorKey(3)), 0x0000C0u);
  EXPECT_TRUE(options.has(opt::SelBackCol));
  EXPECT_FALSE(options.has(opt::foreColorKey(4)));
}

TEST_F(DisplayOptionsCommandsTest, CancelStoresAndChangesNothing) {
  MainWindowLogic& logic = start();
  const std::string before = optionFile();
  const Colour cursor = logic.folderGrid().settings().cursorColour;
  ui.colours = {0x00FFFF, 0x0000C0};
  scriptForm(logic, {5, -3}, false);
  const MainWindowEffects e = logic.run(C::MO_色の変更);
  EXPECT_EQ(formsShown, 1);
  EXPECT_FALSE(e.settings);
  EXPECT_EQ(otherListsRedrawn, 0);
  EXPECT_FALSE(options.hasPending());
  EXPECT_EQ(logic.folderGrid().settings().cursorColour, cursor);
  logic.saveOptionsNow();
  EXPECT_EQ(optionFile(), before);
}

TEST_F(DisplayOptionsCommandsTest, ListFontIsClampedStoredAndAppliedToBothPanes) {
  MainWindowLogic& logic = start();
  logic.hooks().displayOptionsChanged.push_back([this] { ++otherListsRedrawn; });
  ui.fonts = {{u"ＭＳ 明朝", 14, true}};
  const MainWindowEffects e = logic.run(C::MO_フォント変更);
  ASSERT_EQ(ui.fontStarts.size(), 1u);
  EXPECT_EQ(ui.fontStarts[0], (FontChoice{u"ＭＳ Ｐゴシック", 9.75, false}));
  EXPECT_TRUE(e.settings);
  EXPECT_EQ(otherListsRedrawn, 1);
  EXPECT_EQ(options.readText(opt::FontName, u""), u"ＭＳ 明朝");
  EXPECT_EQ(options.readText(opt::FontSize, u""), u"12");
  EXPECT_EQ(options.readText(opt::FontBold, u""), u"-1");
  for (Pane pane : {Pane::Folder, Pane::File}) {
    EXPECT_EQ(logic.grid(pane).settings().font.name, u"ＭＳ 明朝");
    EXPECT_EQ(logic.grid(pane).settings().font.size, 12);
    EXPECT_TRUE(logic.grid(pane).settings().font.bold);
  }
}

TEST_F(DisplayOptionsCommandsTest, RefusedOrCancelledFontStoresNothing) {
  MainWindowLogic& logic = start();
  ui.fonts = {{u"@IPAGothic", 10, false}};
  EXPECT_FALSE(logic.run(C::MO_フォント変更).settings);  // refused: beeps
  EXPECT_FALSE(logic.run(C::MO_フォント変更).settings);  // cancelled
  EXPECT_EQ(ui.count(Kind::ChooseFont), 2);
  EXPECT_EQ(ui.count(Kind::Beep), 1);
  EXPECT_FALSE(options.hasPending());
  EXPECT_EQ(logic.folderGrid().settings().font.name, u"ＭＳ Ｐゴシック");
}

TEST_F(DisplayOptionsCommandsTest, CommentAndDataWindowFontsAreStoredForTheirWindows) {
  struct Row {
    Command command;
    TextView name, size, bold;
  };
  const Row rows[] = {
      {C::MO_コメントフォント, opt::DocFontName, opt::DocFontSize, opt::DocFontBold},
      {C::MO_プレビューフォント, opt::PrevFontName, opt::PrevFontSize, opt::PrevFontBold},
  };
  for (const Row& r : rows) {
    MainWindowLogic& logic = start();
    int docApplied = 0;
    int prevApplied = 0;
    logic.hooks().ChangeDocFont = [&] { ++docApplied; };
    logic.hooks().ChangePrevFont = [&] { ++prevApplied; };
    ui.fonts = {{u"IPAGothic", 10.5, false}};
    logic.run(r.command);
    const bool comment = r.command == C::MO_コメントフォント;
    EXPECT_EQ(docApplied, comment ? 1 : 0);
    EXPECT_EQ(prevApplied, comment ? 0 : 1);
    EXPECT_EQ(options.readText(r.name, u""), u"IPAGothic");
    EXPECT_EQ(options.readText(r.size, u""), u"10.5");
    EXPECT_EQ(options.readNumber(r.bold, 5), 0);
    // The lists keep their font.
    EXPECT_FALSE(options.has(opt::FontName));
    EXPECT_EQ(logic.folderGrid().settings().font.name, u"ＭＳ Ｐゴシック");
    logic.saveOptionsNow();
  }
  // The second chooser of a window opens at what was stored for it.
  MainWindowLogic& logic = start();
  ui.fontStarts.clear();
  logic.run(C::MO_コメントフォント);
  ASSERT_EQ(ui.fontStarts.size(), 1u);
  EXPECT_EQ(ui.fontStarts[0], (FontChoice{u"IPAGothic", 10.5, false}));
}

TEST_F(DisplayOptionsCommandsTest, CatalogFontChoiceIsStoredAndHandedToTheSelectionList) {
  struct Row {
    Command command;
    bool meiryo;
    bool taken;
    int stored;
  };
  const Row rows[] = {
      {C::MOF_カタログフォント1, false, true, 1},
      {C::MOF_カタログフォント0, false, true, 0},
      {C::MOF_カタログフォント2, false, false, 0},
      {C::MOF_カタログフォント2, true, true, 2},
  };
  for (const Row& r : rows) {
    options.writeNumber(opt::CatFontNo, 0);
    ASSERT_FALSE(options.save());
    ASSERT_FALSE(options.load());
    // The desktop's font probe as the program passes it.
    MainWindowLogic withProbe({platform, options, index, titles, program, catalogs, u"0.1", nullptr, r.meiryo});
    std::vector<int> handed;
    withProbe.hooks().ChangeListFont = [&](int choice) { handed.push_back(choice); };
    const int beeps = ui.count(Kind::Beep);
    EXPECT_EQ(withProbe.isVisible(C::MOF_カタログフォント2), r.meiryo);
    EXPECT_TRUE(withProbe.isVisible(C::MOF_カタログフォント0));
    withProbe.run(r.command);
    EXPECT_EQ(handed, r.taken ? std::vector<int>{r.stored} : std::vector<int>{}) << mainmenu::indexOf(r.command);
    EXPECT_EQ(ui.count(Kind::Beep) - beeps, r.taken ? 0 : 1);
    EXPECT_EQ(options.readNumber(opt::CatFontNo, -1), r.stored);
    EXPECT_TRUE(withProbe.isChecked(mainmenu::indexed(C::MOF_カタログフォント0, r.stored)));
  }
}

}  // namespace
}  // namespace zevro
