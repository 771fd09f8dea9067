#include "listview/MainWindowLogic.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "MainWindowFixture.h"
#include "core/CatalogDocument.h"
#include "core/CatalogList.h"
#include "core/OptionKeys.h"
#include "core/Strings.h"
#include "grid/GridKeys.h"
#include "listview/DisplayMode.h"
#include "listview/MainGridSetup.h"
#include "listview/MainMenu.h"
#include "listview/MainWindowLayout.h"
#include "listview/MainWindowOptions.h"
#include "media/ReadingSplit.h"

namespace zevro {
namespace {

using C = Command;
using Kind = FakeUi::Kind;

class MainWindowLogicTest : public ::testing::Test, protected test::MainWindowFixture {
protected:
  // Opens a catalog through the file chooser as the menu does.
  MainWindowEffects open(MainWindowLogic& logic, const std::string& name) {
    logic.hooks().chooseListFile = [this, name](const NativePath&, TextView, TextView) {
      ++chooserCalls;
      return std::optional<NativePath>(catalogs / name);
    };
    return logic.run(C::MF_リスト開く);
  }

  // A reading that leaves the sample catalog in the store, to be stored as
  // target; replacing names a catalog of the medium that it replaces.
  void readSample(MainWindowLogic& logic, const std::string& target = "_00HD_NEW.CCT",
                  const std::string& replacing = "") {
    logic.hooks().readMedium = [this, target, replacing](RowStore& store) {
      store.clear();
      RowStore sample = sampleCatalog(u"");
      for (int r = 0; r < sample.rowCount(); ++r)
        store.appendShown(sample.record(r), sample.colour(r), 0, sample.kind(r), sample.level(r));
      store.setSortOrder(ListSort::Extension);
      store.deriveIndexAndTreeFlags();  // as a reading leaves it
      catalog::prepareMarks(store);
      MediaReading::Result reading;
      reading.outcome = MediaReading::Outcome::Read;
      reading.catalogPath = catalogs / target;
      reading.fileName = fromUtf8(target);
      reading.freeSpace = 1'500'000;
      if (!replacing.empty())
        reading.replaced = MediaReading::ExistingCatalog{catalogs / replacing, fromUtf8(replacing), u"旧", u"X:", u""};
      if (tweakReading) tweakReading(reading);
      return std::optional<MediaReading::Result>(reading);
    };
  }

  bool indexed(const std::string& name) const {
    return temp().get("zevro/Catalog/CatList.CCZ").find(name) != std::string::npos;
  }

  int chooserCalls = 0;
  std::function<void(MediaReading::Result&)> tweakReading;  // problems, another outcome
};

// ---------------------------------------------------------------- the menu table

TEST_F(MainWindowLogicTest, EveryCommandHasOneEntryAndEveryMenuItemSitsInAMenu) {
  std::set<Command> seen;
  for (const MenuEntry& e : mainmenu::entries()) {
    EXPECT_TRUE(seen.insert(e.id).second) << toUtf8(e.name);
    EXPECT_EQ(&mainmenu::entry(e.id), &e);
    const bool inMenu = e.look == Look::Item || e.look == Look::Check || e.look == Look::Submenu;
    EXPECT_EQ(e.parent != C::None, inMenu) << toUtf8(e.name);
  }
  EXPECT_EQ(seen.size(), static_cast<std::size_t>(C::Count) - 1);  // all but None
}

struct CaptionCase {
  Command command;
  TextView caption;
  std::string_view shortcut;
};

TEST_F(MainWindowLogicTest, CaptionsAndShortcutsAreThoseOfTheMenus) {
  const CaptionCase cases[] = {
      {C::M_ファイル, u"ファイル(&F)", ""},
      {C::MF_リスト開く, u"リストを開く  (&O)", "Ctrl+O"},
      {C::MF_新規作成, u"リストを新規作成 (&N)", "Ctrl+N"},
      {C::MF_リスト更新, u"リストを最新の情報に更新 (&U)", "Ctrl+U"},
      {C::MF_上書保存, u"リストを上書き保存   (&S)", "Ctrl+S"},
      {C::MF_TEXT保存, u"リストを Text/CSVファイルに保存  (&A)", "Ctrl+K"},
      {C::MF_終了, u"ZEVROの終了 (&X)", ""},
      {C::ME_データ修正, u"カーソル行の データを修正 (&R)", "F2"},
      {C::ME_総て選択, u"フォルダー内のファイルを総て選択 (&A)", "Ctrl+A"},
      {C::MS_文字指定, u"検索文字を指定 (&S)", "Ctrl+F"},
      {C::MS_全検索, u"全カタログ を検索 (&A)", "F6"},
      {C::MST_検索対象0, u"フォルダー・ファイル欄のみ検索 (&F)", "F4"},
      {C::MST_検索対象1, u"コメント欄のみ検索 (&C)", "F5"},
      {C::MST_検索対象2, u"両方を検索　　　　　 (&B)", ""},
      {C::MS_次を検索, u"次を検索 (&N)", "F3"},
      {C::MS_前を検索, u"逆方向に検索 (&B)", "Shift+F3"},
      {C::MS_次フォルダー, u"次のフォルダーへ移動", "F7"},
      {C::MS_前フォルダー, u"前のフォルダーへ移動", "Shift+F7"},
      {C::MD_表示モード0, u"フォルダーのみ表示 (&-)", ""},
      {C::MD_表示モード3, u"ファイルを下枠に表示 (&D)", ""},
      {C::MDL_レベル表示3, u"レベル 3のフォルダーのみ表示 (&3)", ""},
      {C::MD_ソート1, u"拡張子別 にソート　　(&X)", ""},
      {C::MDD_行間ドット6, u"4行 (&Q)", ""},
      {C::MO_ZIP解凍, u"ZIP形式を解凍する (&Z)", ""},
      {C::MH_バージョン, u"バージョン情報 (&A)", ""},
      {C::POPL_CAN, u"このメニューを消す", ""},
      {C::ボタン_読込, u"新規メディアの読み取り", ""},
      {C::ボタン_深度2, u"レベル２まで表示", ""},
      {C::ボタン_横2列, u"上下枠に表示", ""},
      {C::FNDBTN, u"右クリックで全検索", ""},
  };
  for (const CaptionCase& c : cases) {
    const MenuEntry& e = mainmenu::entry(c.command);
    EXPECT_EQ(e.caption, c.caption) << toUtf8(e.name);
    EXPECT_EQ(e.shortcut, c.shortcut) << toUtf8(e.name);
  }
}

TEST_F(MainWindowLogicTest, TheHelpMenuCaptionHasNoStrayApostrophe) {
  EXPECT_EQ(mainmenu::entry(C::M_ヘルプ).caption, u"ヘルプ(&H)");
  for (const MenuEntry& e : mainmenu::entries()) EXPECT_EQ(e.caption.find(u"'("), TextView::npos) << toUtf8(e.name);
}

TEST_F(MainWindowLogicTest, ControlArraysAreNumberedAndLevelsReadFromTheirCommands) {
  EXPECT_EQ(mainmenu::indexed(C::MD_表示モード0, 2), C::MD_表示モード2);
  EXPECT_EQ(mainmenu::indexOf(C::MDD_行間ドット4), 4);
  EXPECT_EQ(mainmenu::entry(C::MD_表示モード2).name, u"MD_表示モード(2)");
  const std::pair<Command, int> levels[] = {{C::MDL_総て表示, 0}, {C::MDL_レベル表示1, 1}, {C::MDL_レベル表示4, 4},
                                            {C::ボタン_深度0, 0}, {C::ボタン_深度3, 3},    {C::MF_終了, -1}};
  for (const auto& [command, level] : levels)
    EXPECT_EQ(mainmenu::levelOf(command), level) << toUtf8(mainmenu::entry(command).name);
}

// ---------------------------------------------------------------- enabling

TEST_F(MainWindowLogicTest, CommandsNotBuiltYetAreShownButNeverEnabled) {
  MainWindowLogic& logic = start();
  ASSERT_EQ(logic.document().load(u"_none.cct", true), CatalogDocument::LoadResult::Missing);
  for (Command c : {C::MF_既存開く, C::MO_密着, C::MO_起動時カタログ, C::MO_移動表示}) {
    EXPECT_FALSE(logic.isEnabled(c)) << toUtf8(mainmenu::entry(c).name);
    EXPECT_FALSE(mainmenu::entry(c).built);
    EXPECT_TRUE(logic.run(c).grids.folder.empty());
  }
  for (Command c :
       {C::MF_リスト開く, C::MF_新規作成, C::MF_終了, C::MD_表示モード0, C::MDL_レベル表示2, C::MD_文字色分け,
        C::MO_表示維持, C::MO_色の変更, C::MO_フォント変更, C::MH_バージョン, C::POPL_CAN, C::ボタン_開く}) {
    EXPECT_TRUE(logic.isEnabled(c)) << toUtf8(mainmenu::entry(c).name);
  }
}

TEST_F(MainWindowLogicTest, MatchingSwitchesAreSharedAndCheckedAsTheirItemsSay) {
  MainWindowLogic& logic = start();
  SharedSearch& shared = logic.sharedSearch();
  int told = 0;
  shared.observe([&] { ++told; });
  // Case and width items say "distinguish": checked while folding is off.
  EXPECT_TRUE(logic.isChecked(C::MS_大小区別));
  EXPECT_TRUE(logic.isChecked(C::MS_半角全角));
  EXPECT_FALSE(logic.isChecked(C::MS_正規表現));
  EXPECT_FALSE(logic.isChecked(C::MS_完全一致));
  for (Command c : {C::MS_大小区別, C::MS_半角全角, C::MS_正規表現, C::MS_完全一致}) {
    ASSERT_TRUE(logic.isEnabled(c));
    logic.run(c);
  }
  EXPECT_EQ(told, 4);
  EXPECT_TRUE(shared.switches().caseFold && shared.switches().widthFold && shared.switches().pattern &&
              shared.switches().wholeWord);
  EXPECT_FALSE(logic.isChecked(C::MS_大小区別));
  EXPECT_TRUE(logic.isChecked(C::MS_完全一致));
  // The other window's change shows in the menu.
  shared.set(SwitchKind::Pattern, false);
  EXPECT_FALSE(logic.isChecked(C::MS_正規表現));
}

TEST_F(MainWindowLogicTest, SearchAllCatalogsOpensTheSearchWindowOnTheSelectedWord) {
  MainWindowLogic& logic = start();
  EXPECT_FALSE(logic.isEnabled(C::MS_全検索));
  std::vector<Text> opened;
  logic.hooks().openSearch = [&](TextView text) { opened.emplace_back(text); };
  ASSERT_TRUE(logic.isEnabled(C::MS_全検索));
  logic.sharedSearch().commitWord(u"readme");
  logic.sharedSearch().commitWord(u"games");
  logic.SelFNDLST(1);
  logic.run(C::MS_全検索);
  EXPECT_EQ(opened, std::vector<Text>{u"readme"});
  EXPECT_EQ(logic.searchWords(), (std::vector<Text>{u"games", u"readme"}));
}

TEST_F(MainWindowLogicTest, AGenreChangeKeepsTheListUnderItsNewName) {
  writeCatalog("_00HD_DATA.cct", sampleCatalog());
  MainWindowLogic& logic = start();
  // Without the selection window, or without a list, there is no genre change.
  EXPECT_FALSE(logic.isEnabled(C::MF_ジャンル変更));
  Text asked;
  logic.hooks().moveToGenre = [&](TextView name) -> std::optional<Text> {
    asked = Text(name);
    std::filesystem::rename(catalogs / "_00HD_DATA.cct", catalogs / "_07HD_DATA.cct");
    return Text(u"_07HD_DATA.cct");
  };
  EXPECT_FALSE(logic.isEnabled(C::JANDSP));
  open(logic, "_00HD_DATA.cct");
  EXPECT_TRUE(logic.isEnabled(C::MF_ジャンル変更));
  EXPECT_TRUE(logic.run(C::JANDSP).labels);
  EXPECT_EQ(asked, u"_00HD_DATA.cct");
  EXPECT_EQ(logic.document().currentFileName(), u"_07HD_DATA.cct");
  EXPECT_EQ(logic.genreText(), u"ジャンル07");
  // A save goes to the new name, never back to the old one.
  logic.document().setModified(true);
  logic.run(C::MF_上書保存);
  EXPECT_TRUE(std::filesystem::exists(catalogs / "_07HD_DATA.cct"));
  EXPECT_FALSE(std::filesystem::exists(catalogs / "_00HD_DATA.cct"));
}

TEST_F(MainWindowLogicTest, OpenListGoesToTheSelectionWindowWhenThereIsOne) {
  writeCatalog("_00HD_DATA.cct", sampleCatalog());
  MainWindowLogic& logic = start();
  open(logic, "_00HD_DATA.cct");
  Text shown = u"none";
  logic.hooks().showSelection = [&](TextView name) { shown = Text(name); };
  logic.run(C::MF_リスト開く);
  EXPECT_EQ(shown, u"_00HD_DATA.cct");
}

TEST_F(MainWindowLogicTest, OpeningAndShowingRowsNeedTheMediumServices) {
  writeCatalog("_00HD_DATA.cct", sampleCatalog());
  MainWindowLogic& logic = start();
  open(logic, "_00HD_DATA.cct");
  for (Command c : {C::MD_データ表示, C::POP名称_開く, C::ボタン_表示, C::POP名称_表示, C::ME_イメージ記録,
                    C::ME_イメージ消去}) {
    EXPECT_TRUE(mainmenu::entry(c).built) << toUtf8(mainmenu::entry(c).name);
    EXPECT_FALSE(logic.isEnabled(c)) << toUtf8(mainmenu::entry(c).name);
  }
  EXPECT_FALSE(logic.isEnabled(C::MF_DVD場所)) << "a hard disk catalog has no disk image";
}

TEST_F(MainWindowLogicTest, MediumCommandsFollowTheKindOfTheShownCatalog) {
  writeCatalog("_00FD_DATA.cct", sampleCatalog());
  writeCatalog("_00CD_DATA.cct", sampleCatalog());
  MainWindowLogic& logic = start();
  std::vector<Text> asked;
  logic.hooks().changeMediumTitle = [&asked](TextView wanted) {
    asked.push_back(Text(wanted));
    return false;
  };
  open(logic, "_00FD_DATA.cct");
  EXPECT_TRUE(logic.isEnabled(C::MF_DVD場所));
  EXPECT_TRUE(logic.isEnabled(C::MF_メディア名変更));
  EXPECT_FALSE(logic.isEnabled(C::MF_リスト更新));
  logic.run(C::MF_メディア名変更);
  EXPECT_EQ(asked, std::vector<Text>{u"DATA"});
  open(logic, "_00CD_DATA.cct");
  EXPECT_TRUE(logic.isEnabled(C::MF_DVD場所));
  EXPECT_FALSE(logic.isEnabled(C::MF_メディア名変更));
}

TEST_F(MainWindowLogicTest, SaveIsEnabledOnlyForAModifiedList) {
  writeCatalog("_00HD_DATA.cct", sampleCatalog());
  MainWindowLogic& logic = start();
  open(logic, "_00HD_DATA.cct");
  EXPECT_FALSE(logic.isEnabled(C::MF_上書保存));
  logic.document().setModified(true);
  EXPECT_TRUE(logic.isEnabled(C::MF_上書保存));
}

struct SortCase {
  int mode;
  bool sortEnabled;
};

TEST_F(MainWindowLogicTest, SortItemsAreEnabledOnlyWhileAFilePaneIsOpen) {
  const SortCase cases[] = {{0, false}, {1, false}, {2, true}, {4, true}};
  for (const SortCase& c : cases) {
    options.writeNumber(opt::FileFrames, c.mode);
    ASSERT_FALSE(options.save());
    MainWindowLogic& logic = start();
    for (int i = 0; i < 3; ++i)
      EXPECT_EQ(logic.isEnabled(mainmenu::indexed(C::MD_ソート0, i)), c.sortEnabled) << "mode " << c.mode;
  }
}

TEST_F(MainWindowLogicTest, OneTreeIsNotOfferedForAListLongerThan32767Rows) {
  RowStore big = sampleCatalog();
  while (big.rowCount() <= DisplayMode::MaxTreeRows)
    big.appendShown(catalog::buildRecord({u"F.TXT", u"", u"", u"1"}), 0, 0, catalog::KindFile, 2);
  big.deriveIndexAndTreeFlags();
  writeCatalog("_00HD_BIG.cct", big);
  writeCatalog("_00HD_DATA.cct", sampleCatalog());
  MainWindowLogic& logic = start();
  open(logic, "_00HD_DATA.cct");
  EXPECT_TRUE(logic.isEnabled(C::MD_表示モード1));
  open(logic, "_00HD_BIG.cct");
  EXPECT_FALSE(logic.isEnabled(C::MD_表示モード1));
}

TEST_F(MainWindowLogicTest, NothingIsEnabledAndKeysAreSwallowedWhileAMediumIsRead) {
  MainWindowLogic& logic = start();
  bool sawEnabled = true;
  bool keyUsed = false;
  logic.hooks().readMedium = [&](RowStore&) {
    sawEnabled = logic.isEnabled(C::MF_リスト開く) || logic.isEnabled(C::MD_表示モード0);
    keyUsed = logic.key(Pane::Folder, gridkey::Down, 0).used;
    EXPECT_TRUE(logic.run(C::MF_終了).grids.folder.empty());
    return std::optional<MediaReading::Result>();
  };
  logic.run(C::MF_新規作成);
  EXPECT_FALSE(sawEnabled);
  EXPECT_TRUE(keyUsed);
  EXPECT_TRUE(logic.isEnabled(C::MF_リスト開く));
}

// ---------------------------------------------------------------- the save question

struct QuestionCase {
  const char* name;
  int answer;
  bool replaced;     // the other catalog is shown afterwards
  bool savedBefore;  // the shown one was written with its change
};

TEST_F(MainWindowLogicTest, TheSaveQuestionSavesOnYesDiscardsOnNoAndStopsOnCancel) {
  const QuestionCase cases[] = {
      {"Yes", AnswerYes, true, true},
      {"No", AnswerNo, true, false},
      {"Cancel", AnswerCancel, false, false},
  };
  for (const QuestionCase& c : cases) {
    SCOPED_TRACE(c.name);
    writeCatalog("_00HD_DATA.cct", sampleCatalog(u"資料集"));
    writeCatalog("_00HD_OTHER.cct", sampleCatalog(u"別の資料"));
    MainWindowLogic& logic = start();
    open(logic, "_00HD_DATA.cct");
    ASSERT_EQ(logic.titleText(), u"資料集");
    logic.document().list().setField(catalog::FieldComment, 0, u"変更後");
    logic.document().setModified(true);
    ui.calls.clear();
    ui.answers = {c.answer};
    chooserCalls = 0;

    open(logic, "_00HD_OTHER.cct");

    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0], CatalogDocument::SaveQuestion);
    EXPECT_EQ(ui.calls[0].flags & mb::ButtonMask, mb::YesNoCancel);
    EXPECT_EQ(chooserCalls, c.answer == AnswerCancel ? 0 : 1);
    EXPECT_EQ(logic.titleText(), c.replaced ? u"別の資料" : u"変更後");
    EXPECT_EQ(titleOnDisk("_00HD_DATA.cct"), c.savedBefore ? u"変更後" : u"資料集");
    EXPECT_EQ(logic.document().modified(), !c.replaced);
  }
}

TEST_F(MainWindowLogicTest, ACancelledChooserKeepsTheListAndItsModifiedMark) {
  writeCatalog("_00HD_DATA.cct", sampleCatalog());
  MainWindowLogic& logic = start();
  open(logic, "_00HD_DATA.cct");
  logic.document().setModified(true);
  ui.answers = {AnswerNo};
  logic.hooks().chooseListFile = [](const NativePath&, TextView, TextView) { return std::optional<NativePath>{}; };
  logic.run(C::MF_リスト開く);
  EXPECT_EQ(logic.titleText(), u"資料集");
  EXPECT_TRUE(logic.document().modified());
  ui.answers = {AnswerCancel};
  EXPECT_FALSE(logic.canClose());
}

TEST_F(MainWindowLogicTest, AListFileOutsideTheCatalogFolderIsRefusedWithABeep) {
  writeCatalog("_00HD_DATA.cct", sampleCatalog());
  temp().put("elsewhere/_00HD_DATA.cct", temp().get("zevro/Catalog/_00HD_DATA.cct"));
  MainWindowLogic& logic = start();
  logic.hooks().chooseListFile = [this](const NativePath&, TextView, TextView) {
    return std::optional<NativePath>(temp().path("elsewhere/_00HD_DATA.cct"));
  };
  logic.run(C::MF_リスト開く);
  EXPECT_EQ(ui.count(Kind::Beep), 1);
  EXPECT_TRUE(logic.document().currentFile().empty());
}

// ---------------------------------------------------------------- opening, reading, saving

TEST_F(MainWindowLogicTest, OpeningACatalogShowsItsTitleGenreRowCountAndFreeSpace) {
  writeCatalog("_03HD_DATA.cct", sampleCatalog(), 1'500'000);
  MainWindowLogic& logic = start();
  const MainWindowEffects e = open(logic, "_03HD_DATA.cct");
  EXPECT_TRUE(e.labels && e.layout && e.settings);
  EXPECT_EQ(logic.titleText(), u"資料集");
  EXPECT_EQ(logic.genreText(), u"ジャンル03");
  EXPECT_EQ(logic.consoleText(), u" 記録行数: 8行 空き容量： 1,500,000 (1M) bytes");
  EXPECT_EQ(logic.document().currentFileName(), u"_03HD_DATA.cct");
  EXPECT_EQ(logic.activePane(), Pane::Folder);
}

TEST_F(MainWindowLogicTest, PrintBeepsWithoutRowsAndOpensThePrintWindowOverAList) {
  writeCatalog("_03HD_DATA.cct", sampleCatalog(), 1'500'000);
  MainWindowLogic& logic = start();
  int prints = 0;
  logic.hooks().printList = [&] { ++prints; };
  EXPECT_TRUE(logic.isEnabled(C::MF_印刷));
  logic.run(C::MF_印刷);
  EXPECT_EQ(prints, 0);
  EXPECT_EQ(ui.count(FakeUi::Kind::Beep), 1);
  open(logic, "_03HD_DATA.cct");
  logic.run(C::MF_印刷);
  EXPECT_EQ(prints, 1);
  EXPECT_EQ(ui.count(FakeUi::Kind::Beep), 1);
  EXPECT_EQ(logic.printTitle(), u"HD: 資料集");
  EXPECT_EQ(logic.cursorFolderPath(), u"");
  logic.folderGrid().Grid_MoveCursor(2);
  EXPECT_EQ(logic.cursorFolderPath(), logic.document().list().rowPath(logic.document().list().storedRowAt(2), 1));
  EXPECT_FALSE(logic.cursorFolderPath().empty());
}

TEST_F(MainWindowLogicTest, AMissingCatalogLeavesNothingShown) {
  writeCatalog("_00HD_DATA.cct", sampleCatalog());
  MainWindowLogic& logic = start();
  open(logic, "_00HD_DATA.cct");
  std::filesystem::remove(catalogs / "_00HD_DATA.cct");
  logic.指定カタログをロード(u"_00HD_GONE.cct");
  EXPECT_EQ(ui.count(Kind::Beep), 1);
  EXPECT_EQ(logic.titleText(), u"");
  EXPECT_EQ(logic.consoleText(), u"");
  EXPECT_EQ(logic.folderGrid().rowCount(), 0);
}

TEST_F(MainWindowLogicTest, ANewReadingIsShownModifiedAndStoredOnlyBySaving) {
  MainWindowLogic& logic = start();
  readSample(logic);
  logic.run(C::MF_新規作成);
  EXPECT_TRUE(logic.document().modified());
  EXPECT_EQ(logic.document().list().rowCount(), 8);
  EXPECT_EQ(logic.document().list().sortOrder(), ListSort::Extension);
  EXPECT_FALSE(temp().there("zevro/Catalog/_00HD_NEW.cct"));
  EXPECT_EQ(logic.consoleText(), u" 記録行数: 8行 空き容量： 1,500,000 (1M) bytes");

  logic.run(C::MF_上書保存);
  EXPECT_TRUE(temp().there("zevro/Catalog/_00HD_NEW.cct"));
  EXPECT_EQ(titleOnDisk("_00HD_NEW.cct"), u"");
  EXPECT_FALSE(logic.document().modified());
  EXPECT_TRUE(indexed("_00hd_new.cct"));
}

TEST_F(MainWindowLogicTest, AReadListStoredByTheSaveQuestionGoesThroughTheSameSteps) {
  writeCatalog("_00HD_DATA.cct", sampleCatalog());
  writeCatalog("_00HD_NEW.cct", sampleCatalog(u"旧"));
  MainWindowLogic& logic = start();
  readSample(logic, "_00HD_NEW.CCT", "_00HD_NEW.cct");
  logic.run(C::MF_新規作成);

  // The old catalog of the same name cannot be copied aside (Backup is a
  // file): nothing is written, nothing replaced, the list stays modified.
  std::filesystem::remove(program / "Backup");
  temp().put("zevro/Backup", "not a folder");
  ui.answers = {AnswerYes, AnswerOk};
  open(logic, "_00HD_DATA.cct");
  EXPECT_EQ(chooserCalls, 0);
  EXPECT_EQ(titleOnDisk("_00HD_NEW.cct"), u"旧");
  EXPECT_TRUE(logic.document().modified());

  std::filesystem::remove(program / "Backup");
  ui.answers = {AnswerYes};
  open(logic, "_00HD_DATA.cct");
  EXPECT_EQ(titleOnDisk("_00HD_NEW.cct"), u"");
  EXPECT_EQ(logic.titleText(), u"資料集");
  RowStore kept;
  ASSERT_TRUE(listfile::parse(temp().get("zevro/Backup/_00HD_NEW.cct"), kept).loaded());
  EXPECT_EQ(kept.field(catalog::FieldComment, 0), u"旧");
  EXPECT_TRUE(indexed("_00hd_new.cct"));
}

// zevro-cli stored a catalog of that name while the reading waited to be
// saved: the save keeps it in Backup/ instead of losing it.
TEST_F(MainWindowLogicTest, ACatalogStoredMeanwhileUnderTheSameNameIsKeptInBackup) {
  MainWindowLogic& logic = start();
  readSample(logic, "_00HD_NEW.CCT");
  logic.run(C::MF_新規作成);
  writeCatalog("_00hd_new.cct", sampleCatalog(u"他のプログラム"));
  logic.run(C::MF_上書保存);
  EXPECT_EQ(titleOnDisk("_00HD_NEW.cct"), u"");
  RowStore kept;
  ASSERT_TRUE(listfile::parse(temp().get("zevro/Backup/_00hd_new.cct"), kept).loaded());
  EXPECT_EQ(kept.field(catalog::FieldComment, 0), u"他のプログラム");
}

TEST_F(MainWindowLogicTest, AReplacedCatalogOfAnotherNameIsRetiredOnlyOnceTheNewOneIsStored) {
  writeCatalog("_03HD_NEW.cct", sampleCatalog(u"旧"));
  index.titleOf(u"_03HD_NEW.cct");
  ASSERT_FALSE(index.write());
  MainWindowLogic& logic = start();
  readSample(logic, "_00HD_NEW.CCT", "_03HD_NEW.cct");
  logic.run(C::MF_新規作成);
  EXPECT_TRUE(temp().there("zevro/Catalog/_03HD_NEW.cct"));

  logic.run(C::MF_上書保存);
  EXPECT_TRUE(temp().there("zevro/Catalog/_00HD_NEW.cct"));
  EXPECT_FALSE(temp().there("zevro/Catalog/_03HD_NEW.cct"));
  EXPECT_TRUE(temp().there("zevro/Backup/_03HD_NEW.cct"));
  EXPECT_TRUE(indexed("_00hd_new.cct"));
  EXPECT_FALSE(indexed("_03hd_new.cct"));
}

TEST_F(MainWindowLogicTest, ANewTitleForAFreshReadingStoresItThroughTheSameSteps) {
  writeCatalog("_00HD_NEW.cct", sampleCatalog(u"旧"));
  MainWindowLogic& logic = start();
  readSample(logic, "_00HD_NEW.CCT", "_00HD_NEW.cct");
  logic.run(C::MF_新規作成);
  ui.answers = {AnswerYes};  // the list is modified: save it with the new title?
  ui.inputs = {u"新しい題"};
  logic.run(C::NAMDSP);
  EXPECT_EQ(titleOnDisk("_00HD_NEW.cct"), u"新しい題");
  RowStore kept;
  ASSERT_TRUE(listfile::parse(temp().get("zevro/Backup/_00HD_NEW.cct"), kept).loaded());
  EXPECT_EQ(kept.field(catalog::FieldComment, 0), u"旧");
  EXPECT_TRUE(indexed("_00hd_new.cct"));
}

TEST_F(MainWindowLogicTest, AReadingTooLargeForOneListIsStoredAsItsCatalogsAndSaysSoOnce) {
  MainWindowLogic& logic = start();
  readSample(logic);
  // Lists of four rows: DOCS, DOCS\SUB and PICS become catalogs of their own.
  auto read = logic.hooks().readMedium;
  logic.hooks().readMedium = [read](RowStore& store) {
    std::optional<MediaReading::Result> result = read(store);
    result->parts = ReadingSplit::planIfTooLarge(store, u"X:", {4, std::size_t{1} << 30});
    result->partNames = {u"_00HD_NEW.CCT", u"_00HD_NEW DOCS.CCT", u"_00HD_NEW DOCS&SUB.CCT", u"_00HD_NEW PICS.CCT"};
    EXPECT_EQ(result->parts.size(), result->partNames.size());
    return result;
  };
  logic.run(C::MF_新規作成);

  const std::vector<Text> written = {u"_00HD_NEW.cct", u"_00HD_NEW DOCS.cct", u"_00HD_NEW DOCS&SUB.cct",
                                     u"_00HD_NEW PICS.cct"};
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(ui.messages()[0], MediaReading::splitReport(written));
  EXPECT_TRUE(ui.messages()[0].starts_with(u"このメディアは 4 個のカタログとして記録されました。"));
  EXPECT_EQ(ui.calls[0].kind, Kind::Message);
  int rows = 0;
  for (const Text& name : written) {
    SCOPED_TRACE(toUtf8(name));
    EXPECT_TRUE(indexed(toUtf8(asciiLower(name))));
    RowStore part;
    ASSERT_TRUE(listfile::parse(temp().get("zevro/Catalog/" + toUtf8(name)), part).loaded());
    rows += part.rowCount() - 1;
  }
  // Every file once; a folder that is a catalog of its own is its title line.
  EXPECT_EQ(rows, 4);
  // The medium's own catalog is shown, stored.
  EXPECT_EQ(logic.document().currentFileName(), u"_00HD_NEW.cct");
  EXPECT_FALSE(logic.document().modified());
}

TEST_F(MainWindowLogicTest, AReadingWithProblemsIsShownWithAMessageNamingThem) {
  MainWindowLogic& logic = start();
  readSample(logic);
  tweakReading = [](MediaReading::Result& r) {
    for (int i = 0; i < 7; ++i)
      r.problems.push_back({WalkProblem::Kind::Unreadable, u"X:\\LOCKED" + ascii(std::to_string(i)), "Permission denied"});
    r.problems.push_back({WalkProblem::Kind::BadDate, u"X:\\OLD", {}});  // told during the walk
  };
  logic.run(C::MF_新規作成);
  EXPECT_EQ(logic.document().list().rowCount(), 8);  // the list stays, to be saved
  EXPECT_TRUE(logic.document().modified());
  ASSERT_EQ(ui.messages().size(), 1u);
  const Text message = ui.messages()[0];
  EXPECT_TRUE(message.starts_with(u"読み取れなかったフォルダーやファイルが 7 件あります。")) << toUtf8(message);
  EXPECT_NE(message.find(u"\x08X:\\LOCKED0\x07　読み取れません (Permission denied)"), Text::npos);
  EXPECT_NE(message.find(u"X:\\LOCKED4"), Text::npos);
  EXPECT_EQ(message.find(u"X:\\LOCKED5"), Text::npos);
  EXPECT_NE(message.find(u"ほか 2 件"), Text::npos);
  EXPECT_EQ(message.find(u"X:\\OLD"), Text::npos);
}

TEST_F(MainWindowLogicTest, AFailedOrStoppedReadingShowsWhyAndTheCatalogShownBefore) {
  writeCatalog("_00HD_DATA.cct", sampleCatalog());
  struct Row {
    const char* name;
    std::optional<MediaReading::Outcome> outcome;  // nullopt: the user stopped it
    bool told;
  } rows[] = {
      {"stopped", std::nullopt, false},
      {"unreadable", MediaReading::Outcome::Unreadable, true},
      {"no medium", MediaReading::Outcome::NoMedium, true},
      {"declined", MediaReading::Outcome::Declined, false},
      {"too large for another list", MediaReading::Outcome::TooLargeForAnother, true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    ui.calls.clear();
    MainWindowLogic& logic = start();
    open(logic, "_00HD_DATA.cct");
    readSample(logic);
    auto read = logic.hooks().readMedium;
    logic.hooks().readMedium = [read, &r](RowStore& store) {
      std::optional<MediaReading::Result> result = read(store);
      if (!r.outcome) return std::optional<MediaReading::Result>();
      result->outcome = *r.outcome;
      return result;
    };
    logic.run(C::MF_新規作成);
    EXPECT_EQ(ui.messages().size(), r.told ? 1u : 0u);
    EXPECT_EQ(logic.titleText(), u"資料集");
    EXPECT_EQ(logic.document().currentFileName(), u"_00HD_DATA.cct");
    EXPECT_FALSE(logic.document().modified());
    EXPECT_EQ(logic.document().list().rowCount(), 8);
  }
}

TEST_F(MainWindowLogicTest, AListThatCannotGrowSaysSo) {
  MainWindowLogic& logic = start();
  EXPECT_FALSE(logic.document().list().expandListSize(std::numeric_limits<int>::max()));
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_TRUE(ui.messages()[0].starts_with(catalog::ExpandListSizeMessage));
}

TEST_F(MainWindowLogicTest, AStoppedReadingDropsWhatWasRead) {
  MainWindowLogic& logic = start();
  readSample(logic);
  auto read = logic.hooks().readMedium;
  logic.hooks().readMedium = [read](RowStore& store) {
    read(store);
    return std::optional<MediaReading::Result>();
  };
  logic.run(C::MF_新規作成);
  EXPECT_EQ(logic.document().list().rowCount(), 0);
  EXPECT_FALSE(logic.document().modified());
  EXPECT_TRUE(logic.document().currentFile().empty());
}

TEST_F(MainWindowLogicTest, ChangingTheTitleSavesTheCatalog) {
  writeCatalog("_00HD_DATA.cct", sampleCatalog());
  MainWindowLogic& logic = start();
  open(logic, "_00HD_DATA.cct");
  ui.inputs = {u"改題"};
  logic.run(C::NAMDSP);
  EXPECT_EQ(logic.titleText(), u"改題");
  EXPECT_EQ(titleOnDisk("_00HD_DATA.cct"), u"改題");
}

TEST_F(MainWindowLogicTest, CommandsOnTheListWaitForAList) {
  writeCatalog("_00HD_DATA.cct", sampleCatalog());
  MainWindowLogic& logic = start();
  const Command onTheList[] = {C::MF_タイトル変更, C::MF_リスト削除, C::ボタン_保存};
  for (Command c : onTheList) EXPECT_FALSE(logic.isEnabled(c)) << toUtf8(mainmenu::entry(c).name);
  open(logic, "_00HD_DATA.cct");
  for (Command c : onTheList) EXPECT_TRUE(logic.isEnabled(c)) << toUtf8(mainmenu::entry(c).name);
}

TEST_F(MainWindowLogicTest, ACatalogWithoutATitleIsNamedByItsLabel) {
  writeCatalog("_00HD_DATA.cct", sampleCatalog(u""));
  MainWindowLogic& logic = start();
  open(logic, "_00HD_DATA.cct");
  EXPECT_EQ(logic.titleText(), u"無題(DATA)");
  ui.answers = {AnswerNo};
  logic.run(C::MF_リスト削除);
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_NE(ui.messages()[0].find(u"『 \x08無題(DATA)\x07 』"), Text::npos) << toUtf8(ui.messages()[0]);
  EXPECT_TRUE(temp().there("zevro/Catalog/_00HD_DATA.cct"));
}

TEST_F(MainWindowLogicTest, DeletingTheCatalogClearsTheWindow) {
  writeCatalog("_00HD_DATA.cct", sampleCatalog());
  MainWindowLogic& logic = start();
  open(logic, "_00HD_DATA.cct");
  ui.answers = {AnswerYes};
  logic.run(C::MF_リスト削除);
  EXPECT_FALSE(temp().there("zevro/Catalog/_00HD_DATA.cct"));
  EXPECT_EQ(logic.titleText(), u"");
  EXPECT_EQ(logic.folderGrid().rowCount(), 0);
  EXPECT_TRUE(logic.document().currentFile().empty());
}

TEST_F(MainWindowLogicTest, TheHelpFileOpensFromTheProgramFolderOrBeeps) {
  MainWindowLogic& logic = start();
  logic.run(C::MH_トピック);
  EXPECT_EQ(ui.count(Kind::OpenDefault), 0);
  EXPECT_EQ(ui.count(Kind::Beep), 1);
  temp().put("zevro/zevro.CHM", "help");
  logic.run(C::MH_トピック);
  ASSERT_EQ(ui.count(Kind::OpenDefault), 1);
  EXPECT_EQ(toUtf8(ui.calls.back().text), (program / "zevro.CHM").native());
}

// ---------------------------------------------------------------- display mode and options

TEST_F(MainWindowLogicTest, DisplayModeCommandsFollowTheMenuAndThePaneButtons) {
  MainWindowLogic& logic = start();
  ASSERT_EQ(logic.displayMode(), 4);  // the default FileFrames
  struct Step {
    Command command;
    int mode;
  };
  const Step steps[] = {{C::MD_表示モード0, 0}, {C::MD_表示モード1, 1}, {C::ボタン_縦2列, 3},  {C::ボタン_縦2列, 1},
                        {C::ボタン_横2列, 5},   {C::MD_表示モード2, 3}, {C::MD_表示モード3, 5}};
  for (const Step& s : steps) {
    const MainWindowEffects e = logic.run(s.command);
    EXPECT_TRUE(e.layout);
    EXPECT_EQ(logic.displayMode(), s.mode) << toUtf8(mainmenu::entry(s.command).name);
    for (int i = 0; i < 4; ++i) {
      const Command item = mainmenu::indexed(C::MD_表示モード0, i);
      EXPECT_EQ(logic.isChecked(item), DisplayMode::menuChecked(s.mode, i));
    }
  }
}

TEST_F(MainWindowLogicTest, ALevelButtonShowsItselfPressedAlone) {
  MainWindowLogic& logic = start();
  logic.run(C::ボタン_深度2);
  EXPECT_EQ(logic.chosenLevel(), 2);
  for (int i = 0; i <= 4; ++i) EXPECT_EQ(logic.isChecked(mainmenu::indexed(C::ボタン_深度0, i)), i == 2);
  logic.run(C::MDL_総て表示);
  EXPECT_TRUE(logic.isChecked(C::ボタン_深度0));
}

struct SwitchCase {
  Command command;
  TextView key;
  const char* after;  // the value read back after one toggle of the default
};

TEST_F(MainWindowLogicTest, SwitchesFlipTheirCheckAndWriteTheirKeyAtOnce) {
  const SwitchCase cases[] = {
      {C::MD_文字色分け, opt::ColorF, "OFF"},        {C::MDK_横罫線L, opt::KeiDispH, "-1"},
      {C::MDK_縦罫線L, opt::KeiDispV, "0"},          {C::MDK_横罫線F, opt::KeiFileH, "0"},
      {C::MD_ワードラップ, opt::ListWordWrap, "-1"}, {C::MD_固定ピッチ, opt::UseFixedPitch, "-1"},
      {C::MO_表示維持, opt::useSameView, "0"},
  };
  MainWindowLogic& logic = start();
  for (const SwitchCase& c : cases) {
    const bool before = logic.isChecked(c.command);
    const MainWindowEffects e = logic.run(c.command);
    EXPECT_TRUE(e.settings);
    EXPECT_NE(logic.isChecked(c.command), before) << toUtf8(c.key);
    EXPECT_EQ(options.readText(c.key, u""), fromUtf8(c.after)) << toUtf8(c.key);
  }
  EXPECT_EQ(logic.folderGrid().settings().textColourMode, TextColourMode::Plain);
  EXPECT_TRUE(logic.folderGrid().settings().hRules);
  EXPECT_FALSE(logic.fileGrid().settings().hRules);
}

TEST_F(MainWindowLogicTest, ALineSpacingItemWritesItsValueAndMovesTheCheck) {
  MainWindowLogic& logic = start();
  EXPECT_TRUE(logic.isChecked(C::MDD_行間ドット1));  // the default 2
  logic.run(C::MDD_行間ドット4);
  EXPECT_EQ(options.readNumber(opt::ListInterleave, 0), 5);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(logic.isChecked(mainmenu::indexed(C::MDD_行間ドット0, i)), i == 4);
}

struct OptionsCase {
  const char* name;
  std::vector<std::pair<TextView, TextView>> stored;
  int mode, x, y, width, height;
};

TEST_F(MainWindowLogicTest, OptionsAreReadWithTheirDefaultsAndLimits) {
  const OptionsCase cases[] = {
      {"empty store", {}, 4, 0, 0, MainWindowOptions::DesignedWidth, MainWindowOptions::DesignedHeight},
      {"mode 3 is a right pane", {{opt::FileFrames, u" 3"}}, 2, 0, 0, 13500, 9600},
      {"mode 5 is a bottom pane", {{opt::FileFrames, u" 5"}}, 4, 0, 0, 13500, 9600},
      {"off the screen", {{opt::WindowX, u"-100"}, {opt::WindowY, u" 300"}}, 4, 0, 40, 13500, 9600},
      {"too small", {{opt::WIDTH, u" 5000"}, {opt::HEIGHT, u" 2799"}}, 4, 0, 0, 7800, 3000},
      {"as stored", {{opt::WindowX, u" 600"}, {opt::WIDTH, u" 9000"}, {opt::HEIGHT, u" 2800"}}, 4, 600, 0, 9000, 2800},
  };
  for (const OptionsCase& c : cases) {
    LinuxFileSystem disk;
    OptionStore store(disk, program / "none.Opt");
    for (const auto& [key, value] : c.stored) store.writeText(key, value);
    const MainWindowOptions o = MainWindowOptions::read(store);
    EXPECT_EQ(o.displayMode, c.mode) << c.name;
    EXPECT_EQ(o.windowX, c.x) << c.name;
    EXPECT_EQ(o.windowY, c.y) << c.name;
    EXPECT_EQ(o.width, c.width) << c.name;
    EXPECT_EQ(o.height, c.height) << c.name;
  }
}

TEST_F(MainWindowLogicTest, NameColumnsShowTypicalNamesUntilAWidthIsStored) {
  struct Case {
    const char* name;
    std::vector<std::pair<TextView, TextView>> stored;
    std::array<int, 4> list, file;
  };
  const Case cases[] = {
      {"first start", {}, {180, 260, 180, 260}, {180, 260, 180, 260}},
      {"stored widths stay, even narrow ones",
       {{opt::ListWidthNs0, u" 90"}, {opt::FileWidthWm0, u" 300"}},
       {180, 260, 90, 260},
       {180, 300, 180, 260}},
  };
  for (const Case& c : cases) {
    LinuxFileSystem disk;
    OptionStore store(disk, program / "none.Opt");
    for (const auto& [key, value] : c.stored) store.writeText(key, value);
    const MainWindowOptions o = MainWindowOptions::read(store);
    EXPECT_EQ(o.listWidths, c.list) << c.name;
    EXPECT_EQ(o.fileWidths, c.file) << c.name;
  }
}

TEST_F(MainWindowLogicTest, TheCommentColumnKeepsFiftyPixelsInANarrowPane) {
  MainWindowLogic& logic = start();
  for (GridModel* grid : {&logic.folderGrid(), &logic.fileGrid()}) {
    grid->Grid_Layout(260, 400);
    EXPECT_EQ(grid->columns().column(maingrid::CommentColumn).width, maingrid::CommentMinWidth);
    grid->Grid_Layout(2000, 400);
    EXPECT_GT(grid->columns().column(maingrid::CommentColumn).width, 1000);
  }
}

TEST_F(MainWindowLogicTest, TheGridsAreSetUpFromTheOptions) {
  options.writeColour(opt::CsrBackCol, 0x123456);
  options.writeNumber(opt::ListWidthWs0, 240);
  options.writeOnOff(opt::ColorF, false);
  ASSERT_FALSE(options.save());
  MainWindowLogic& logic = start();
  const GridModel& folder = logic.folderGrid();
  const GridModel& files = logic.fileGrid();
  EXPECT_EQ(folder.columns().column(0).title, u"Folder");
  EXPECT_EQ(files.columns().column(0).title, u"File");
  EXPECT_EQ(folder.columns().column(0).width, 240);  // bottom pane, normal window: Ws
  EXPECT_EQ(folder.columns().stretchColumn(), maingrid::CommentColumn);
  EXPECT_TRUE(folder.columns().column(maingrid::DateColumn).fixed);
  EXPECT_EQ(folder.columns().column(maingrid::SizeColumn).align, ColumnAlign::Right);
  EXPECT_EQ(files.columns().column(maingrid::DateColumn).defaultSort, 1);
  EXPECT_EQ(folder.settings().textColourMode, TextColourMode::Plain);
  EXPECT_EQ(folder.settings().backgroundMode, BackgroundMode::Highlight);
  EXPECT_EQ(folder.settings().palette[6], 0x9DFDEAu);
  EXPECT_EQ(folder.settings().levelColours[1], 0x800000u);
  EXPECT_TRUE(folder.settings().treeMode);
  EXPECT_EQ(folder.settings().cursorColour, 0x123456u);
  EXPECT_EQ(files.settings().cursorColour, maingrid::InactiveCursor);
}

struct SpacingCase {
  int interleave, textHeight, surface, spacing;
};

TEST_F(MainWindowLogicTest, LineSpacingIsPixelsOrWholeTextLines) {
  const SpacingCase cases[] = {{1, 13, 400, 1},  {4, 13, 400, 4}, {5, 13, 400, 17},
                               {7, 13, 400, 43}, {6, 13, 50, 2},  {0, 13, 400, 2}};
  for (const SpacingCase& c : cases)
    EXPECT_EQ(maingrid::lineSpacing(c.interleave, c.textHeight, c.surface), c.spacing) << c.interleave;
}

// ---------------------------------------------------------------- keys

TEST_F(MainWindowLogicTest, TabMovesBetweenThePanesOnlyWhileAPaneIsOpen) {
  writeCatalog("_00HD_DATA.cct", sampleCatalog());
  MainWindowLogic& logic = start();
  open(logic, "_00HD_DATA.cct");
  MainWindowLogic::KeyAnswer a = logic.key(Pane::Folder, MainWindowLogic::KeyTab, 0);
  EXPECT_TRUE(a.used);
  EXPECT_EQ(logic.activePane(), Pane::File);
  EXPECT_EQ(a.effects.grids.focus, TreeFocus::FileGrid);
  EXPECT_EQ(logic.fileGrid().settings().cursorColour, logic.options().csrBack);
  EXPECT_EQ(logic.folderGrid().settings().cursorColour, maingrid::InactiveCursor);
  a = logic.key(Pane::File, MainWindowLogic::KeyTab, gridkey::ShiftMask);
  EXPECT_EQ(logic.activePane(), Pane::Folder);

  logic.run(C::MD_表示モード0);
  EXPECT_FALSE(logic.key(Pane::Folder, MainWindowLogic::KeyTab, 0).used);
  EXPECT_EQ(logic.activePane(), Pane::Folder);
}

struct CutCase {
  const char* name;
  int key, shift, column;
  bool selectTwo;
  bool beeps;
};

TEST_F(MainWindowLogicTest, CutKeysBeepWhereNothingCanBeCut) {
  const int X = gridkey::LetterA + ('X' - 'A');
  const CutCase cases[] = {
      {"Ctrl+X in the name column", X, gridkey::CtrlMask, 0, true, true},
      {"Ctrl+X without a selection", X, gridkey::CtrlMask, 1, false, true},
      {"Ctrl+X on selected comments", X, gridkey::CtrlMask, 1, true, false},
      {"Shift+Delete in the comment column", MainWindowLogic::KeyDelete, gridkey::ShiftMask, 1, false, false},
      {"Shift+Delete in the date column", MainWindowLogic::KeyDelete, gridkey::ShiftMask, 2, false, true},
      {"Shift+Delete with two rows", MainWindowLogic::KeyDelete, gridkey::ShiftMask, 1, true, true},
  };
  writeCatalog("_00HD_DATA.cct", sampleCatalog());
  for (const CutCase& c : cases) {
    MainWindowLogic& logic = start();
    open(logic, "_00HD_DATA.cct");
    GridModel& grid = logic.folderGrid();
    grid.Grid_ClearSelection();
    grid.Grid_SetCursorColumn(c.column);
    if (c.selectTwo) {
      grid.Grid_SelectRow(1, true);
      grid.Grid_SelectRow(2, true);
    }
    ui.calls.clear();
    logic.key(Pane::Folder, c.key, c.shift);
    EXPECT_EQ(ui.count(Kind::Beep), c.beeps ? 1 : 0) << c.name;
  }
}

TEST_F(MainWindowLogicTest, AMoveOfTheCursorWritesTheRowsPathOnTheConsoleLine) {
  writeCatalog("_00HD_DATA.cct", sampleCatalog());
  options.writeNumber(opt::FileFrames, 1);
  ASSERT_FALSE(options.save());
  MainWindowLogic& logic = start();
  open(logic, "_00HD_DATA.cct");
  GridModel& grid = logic.folderGrid();
  const int readme = logic.document().list().displayRowOf(2);
  ASSERT_GE(readme, 0);
  grid.Grid_MoveCursor(readme - 1);
  const MainWindowLogic::KeyAnswer a = logic.key(Pane::Folder, gridkey::Down, 0);
  EXPECT_TRUE(a.effects.labels);
  EXPECT_EQ(logic.consoleText(), u" DOCS\\README.TXT");
  // A row renamed in the catalog shows the name it has on the medium.
  grid.Grid_MoveCursor(logic.document().list().displayRowOf(7));
  logic.cursorMoved(Pane::Folder);
  EXPECT_EQ(logic.consoleText(), u" PICS\\photo.jpg");
}

struct ZoomCase {
  char16_t c;
  bool textInput, dataWindow, taken;
};

TEST_F(MainWindowLogicTest, ZoomKeysGoToTheDataWindowButNeverFromATextBox) {
  const ZoomCase cases[] = {
      {u'+', false, true, true}, {u'-', false, true, true},   {u'=', false, true, true},  {u'-', true, true, false},
      {u'+', true, true, false}, {u'-', false, false, false}, {u'a', false, true, false},
  };
  for (const ZoomCase& c : cases)
    EXPECT_EQ(MainWindowLogic::takesZoomKey(c.c, c.textInput, c.dataWindow), c.taken)
        << char(c.c) << c.textInput << c.dataWindow;
}

// ---------------------------------------------------------------- context menus

struct MenuCase {
  const char* name;
  int column;
  Pane pane;
  int kind, selected;
  bool clickedSelected;
  Command menu;
};

TEST_F(MainWindowLogicTest, TheContextMenuFollowsTheColumnTheRowAndTheSelection) {
  const MenuCase cases[] = {
      {"folder name", 0, Pane::Folder, catalog::KindFolder, 0, false, C::POP_DIR欄},
      {"title line", 0, Pane::Folder, catalog::KindTitleCD, 0, false, C::POP_DIR欄},
      {"file in a one-tree view", 0, Pane::Folder, catalog::KindFile, 0, false, C::POP_名称欄},
      {"archive folder in the pane", 0, Pane::File, catalog::KindArchiveFolder, 0, false, C::POP_名称欄},
      {"comment", 1, Pane::File, 80, 0, false, C::POP_注釈欄},
      {"date", 2, Pane::Folder, 1, 0, false, C::POP_日付欄},
      {"size", 3, Pane::File, 80, 1, true, C::POP_容量欄},
      {"one of several selected", 0, Pane::Folder, 1, 3, true, C::POP_選択有},
      {"outside a selection", 1, Pane::Folder, 1, 3, false, C::POP_注釈欄},
  };
  for (const MenuCase& c : cases)
    EXPECT_EQ(MainWindowLogic::contextMenuFor(c.column, c.pane, c.kind, c.selected, c.clickedSelected), c.menu)
        << c.name;
}

struct OpenCase {
  TextView name, caption;
  bool showData;
};

TEST_F(MainWindowLogicTest, TheOpenItemIsNamedByTheFileType) {
  const OpenCase cases[] = {
      {u"SETUP.EXE", u"このファイルを実行", false}, {u"tools.zip ", u"このファイルを解凍", false},
      {u"A.LZH", u"このファイルを解凍", false},     {u"readme.txt", u"このファイルを開く", true},
      {u"photo.Jpeg", u"このファイルを開く", true}, {u"data.xyz", u"このファイルを開く", false},
      {u"README", u"このファイルを開く", false},
  };
  for (const OpenCase& c : cases) {
    EXPECT_EQ(mainmenu::openCaptionFor(c.name), c.caption) << toUtf8(c.name);
    EXPECT_EQ(mainmenu::canShowData(c.name), c.showData) << toUtf8(c.name);
  }
}

// ---------------------------------------------------------------- console texts

struct FreeCase {
  std::int64_t bytes;
  TextView text;
};

TEST_F(MainWindowLogicTest, FreeSpaceIsShownInBytesWithMegaOrKiloBytes) {
  const FreeCase cases[] = {
      {0, u""},
      {500, u" 空き容量： 500 bytes"},
      {1024, u" 空き容量： 1,024 bytes"},
      {4096, u" 空き容量： 4,096 (4K) bytes"},
      {1'048'576, u" 空き容量： 1,048,576 (1,024K) bytes"},
      {1'500'000, u" 空き容量： 1,500,000 (1M) bytes"},
      {1'800'000, u" 空き容量： 1,800,000 (2M) bytes"},
      {5'000'000'000, u" 空き容量： 5,000,000,000 (4,768M) bytes"},
  };
  for (const FreeCase& c : cases) EXPECT_EQ(freeSpaceText(c.bytes), c.text) << c.bytes;
}

// ---------------------------------------------------------------- public operations

TEST_F(MainWindowLogicTest, LoadingTheShownCatalogAgainChangesNothing) {
  writeCatalog("_00HD_DATA.cct", sampleCatalog());
  MainWindowLogic& logic = start();
  logic.指定カタログをロード(u"_00HD_DATA.cct");
  ASSERT_EQ(logic.titleText(), u"資料集");
  logic.document().list().setField(catalog::FieldComment, 0, u"未保存");
  logic.document().setModified(true);
  logic.指定カタログをロード(u"_00hd_data.CCT");
  EXPECT_EQ(logic.titleText(), u"未保存");
  EXPECT_TRUE(ui.messages().empty());
}

TEST_F(MainWindowLogicTest, ColouringARowMarksItAsHitOrCurrentHit) {
  writeCatalog("_00HD_DATA.cct", sampleCatalog());
  MainWindowLogic& logic = start();
  open(logic, "_00HD_DATA.cct");
  const RowStore& list = logic.document().list();
  MainWindowEffects e = logic.指定行を着色(u"DOCS\\SUB", 0, false);
  EXPECT_EQ(list.highlight(4), catalog::HighlightHit);
  EXPECT_EQ(logic.lastJumpRow(), -1);
  e = logic.指定行を着色(u"DOCS\\README.TXT", 0, true);
  EXPECT_EQ(list.highlight(2), catalog::HighlightCurrentHit);
  EXPECT_EQ(logic.lastJumpRow(), 2);
  e = logic.指定行を着色(u"NOWHERE", 0, true);
  EXPECT_TRUE(e.grids.folder.rows.empty());
  EXPECT_EQ(logic.lastJumpRow(), 2);
}

TEST_F(MainWindowLogicTest, RefreshGridListCellAndSelFNDLST) {
  temp().put("zevro/Catalog.Opt", "[ZEVRO32]\r\n\r\nreadme\r\n\x95\x5c\r\n\x1a");
  writeCatalog("_00HD_DATA.cct", sampleCatalog());
  MainWindowLogic& logic = start();
  open(logic, "_00HD_DATA.cct");
  EXPECT_TRUE(logic.RefreshGrid(MainWindowLogic::RefreshFolderGrid).grids.folder.full);
  EXPECT_FALSE(logic.RefreshGrid(MainWindowLogic::RefreshFolderGrid).grids.files.full);
  EXPECT_TRUE(logic.RefreshGrid(MainWindowLogic::RefreshFileGrid).grids.files.full);
  EXPECT_EQ(logic.ListCell(0, 0), u"DATA");
  EXPECT_EQ(logic.ListCell(1, 0), u"資料集");
  ASSERT_EQ(logic.searchWords().size(), 2u);
  EXPECT_EQ(logic.searchWords()[1], u"表");
  EXPECT_TRUE(logic.SelFNDLST(1).findList);
  EXPECT_EQ(logic.selectedSearchWord(), 1);
  EXPECT_FALSE(logic.SelFNDLST(2).findList);
  EXPECT_EQ(logic.selectedSearchWord(), 1);
}

// ---------------------------------------------------------------- sizes and closing

TEST_F(MainWindowLogicTest, ThePaneButtonsShowWhereTheFilePaneIs) {
  struct Row {
    int fileFrames;
    bool side;
    bool below;
  } rows[] = {{0, false, false}, {1, false, false}, {2, true, false}, {4, false, true}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.fileFrames);
    options.writeNumber(opt::FileFrames, r.fileFrames);
    ASSERT_FALSE(options.save());
    MainWindowLogic& logic = start();
    EXPECT_EQ(logic.isChecked(C::ボタン_縦2列), r.side);
    EXPECT_EQ(logic.isChecked(C::ボタン_横2列), r.below);
  }
  EXPECT_TRUE(MainWindowLogic::disablesWindow(C::MF_新規作成));
  EXPECT_TRUE(MainWindowLogic::disablesWindow(C::ボタン_読込));
  EXPECT_FALSE(MainWindowLogic::disablesWindow(C::MF_リスト開く));
}

TEST_F(MainWindowLogicTest, TheGenreLabelIsFixedInAWideWindowAndAThirdOfTheRestOtherwise) {
  EXPECT_EQ(mainlayout::genreLabelWidth(9960, 100, 96), 106);  // 1600 twips
  EXPECT_EQ(mainlayout::genreLabelWidth(9959, 500, 96), 100);  // (500 - 200) / 3
  EXPECT_EQ(mainlayout::genreLabelWidth(9000, 100, 96), 20);   // never below 60 / 3
  EXPECT_EQ(mainlayout::genreLabelWidth(20000, 100, 192), 213);
}

TEST_F(MainWindowLogicTest, TheWindowAndTheSplitKeepTheirLeastSizes) {
  EXPECT_EQ(mainlayout::minimumSize(false, 96), (mainlayout::Size{520, 176}));
  EXPECT_EQ(mainlayout::minimumSize(true, 96), (mainlayout::Size{520, 320}));
  EXPECT_EQ(mainlayout::minimumSize(true, 192), (mainlayout::Size{1040, 640}));
  const mainlayout::PaneMinimums side = mainlayout::splitMinimums(true, 96);
  EXPECT_EQ(mainlayout::clampSplit(0, 800, side), 186);  // 2800 twips
  EXPECT_EQ(mainlayout::clampSplit(790, 800, side), 800 - 186);
  EXPECT_EQ(mainlayout::clampSplit(300, 800, side), 300);
  EXPECT_EQ(mainlayout::clampSplit(100, 300, side), 150);  // too small for both: half
  const mainlayout::PaneMinimums stacked = mainlayout::splitMinimums(false, 96);
  EXPECT_EQ(mainlayout::clampSplit(10, 600, stacked), 120);  // 1800 twips above

  options.writeNumber(opt::FileFrames, 2);
  ASSERT_FALSE(options.save());
  MainWindowLogic& logic = start();
  EXPECT_EQ(logic.splitMoved(0, 800, 96), 186);
  EXPECT_EQ(logic.options().folderPercentV, 23);
  EXPECT_EQ(logic.folderPercent(), 23);
}

TEST_F(MainWindowLogicTest, TheSelectionWindowIsAttachedAtTheLeftOrTheMainWindowMovesLater) {
  EXPECT_EQ(mainlayout::attachSelection(600, 250), (mainlayout::AttachPlan{350, false}));
  EXPECT_EQ(mainlayout::attachSelection(250, 250), (mainlayout::AttachPlan{0, false}));
  EXPECT_EQ(mainlayout::attachSelection(100, 250), (mainlayout::AttachPlan{0, true}));
}

TEST_F(MainWindowLogicTest, ClosingWritesGeometryModeSplitAndColumnWidthsInTwips) {
  MainWindowLogic& logic = start();
  logic.run(C::MD_表示モード2);
  logic.folderGrid().columns().column(0).width = 180;
  logic.splitMoved(400, 800, 96);
  ASSERT_TRUE(logic.canClose());
  logic.shutDown({true, 1500, 300, 12000, 8000});
  OptionStore reread(disk, program / "ZEVRO32.Opt");
  ASSERT_FALSE(reread.load());
  EXPECT_EQ(reread.readNumber(opt::WindowX, 0), 1500);
  EXPECT_EQ(reread.readNumber(opt::WindowY, 0), 300);
  EXPECT_EQ(reread.readNumber(opt::WIDTH, 0), 12000);
  EXPECT_EQ(reread.readNumber(opt::HEIGHT, 0), 8000);
  EXPECT_EQ(reread.readNumber(opt::FileFrames, 0), 2);
  EXPECT_EQ(reread.readNumber(opt::FolderPercentV, 0), 50);
  EXPECT_EQ(reread.readNumber(opt::ListWidthNs0, 0), 180);  // right pane, normal window
  EXPECT_TRUE(temp().there("zevro/Catalog.Opt"));

  MainWindowLogic& again = start();
  EXPECT_EQ(again.displayMode(), 2);
  EXPECT_EQ(again.folderGrid().columns().column(0).width, 180);
}

TEST_F(MainWindowLogicTest, AMaximisedWindowKeepsItsStoredPlace) {
  options.writeNumber(opt::WindowX, 700);
  ASSERT_FALSE(options.save());
  MainWindowLogic& logic = start();
  logic.shutDown({false, 0, 0, 30000, 20000});
  OptionStore reread(disk, program / "ZEVRO32.Opt");
  ASSERT_FALSE(reread.load());
  EXPECT_EQ(reread.readNumber(opt::WindowX, 0), 700);
  EXPECT_FALSE(reread.has(opt::WIDTH));
}

}  // namespace
}  // namespace zevro
