// The icon commands of the main window over a real program folder: storing
// the user's icons, returning to the standard ones, and what becomes of the
// shown catalog's kind codes (re-derived in memory or loaded again).
#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "StripBitmap.h"
#include "core/IconEdit.h"
#include "core/OptionKeys.h"
#include "listview/IconFormLogic.h"
#include "listview/MainMenu.h"
#include "media/Program.h"
#include "platform/FakeDrives.h"

namespace zevro {
namespace {

using C = Command;
using Kind = FakeUi::Kind;

class IconCommandsTest : public ::testing::Test, protected test::MainWindowFixture {
protected:
  IconCommandsTest() : programServices(platform, program, &drives) {
    EXPECT_FALSE(programServices.loadOptions());
  }

  MainWindowLogic& startWithIcons() {
    logic = std::make_unique<MainWindowLogic>(MainWindowLogic::Services{
        platform, programServices.options(), index, titles, program, catalogs, u"0.1", &programServices.icons()});
    logic->hooks().changeIcons = [this] {
      // The dialog ended with OK after a paste for TXT and a new extension.
      IconEdit edit(programServices.icons(), 46);
      edit.paste(153);
      edit.add(u"7Z");
      return programServices.storeUserIcons(edit, test::stripBitmap(edit.stripIcons()));
    };
    logic->hooks().useStandardIcons = [this] { programServices.useStandardIcons(); };
    return *logic;
  }

  // The kind codes of the catalog rows README.TXT, MANUAL.PDF, 写真.JPG.
  std::vector<int> fileKinds() const {
    const RowStore& list = logic->document().list();
    return {list.kind(2), list.kind(3), list.kind(7)};
  }

  FakeDrives drives;
  Program programServices;
};

TEST_F(IconCommandsTest, StoringUserIconsWritesBothFilesAndTheOptionAndTakesTheNewStamp) {
  IconEdit edit(programServices.icons(), 46);
  edit.paste(109);
  edit.add(u"7z");
  ASSERT_TRUE(programServices.storeUserIcons(edit, test::stripBitmap(47)));

  EXPECT_EQ(temp().get("zevro/MarkIcon.BMP"), test::stripBitmap(47));
  const std::string table = temp().get("zevro/IconList.CCZ");
  EXPECT_EQ(table, IconTable::encodeFile(edit.map(), edit.types()));
  EXPECT_EQ(programServices.iconPicturePath(), program / "MarkIcon.BMP");
  EXPECT_NE(programServices.icons().stamp(), IconTable::NoStamp);
  EXPECT_EQ(programServices.icons().iconMap()[109], 47);
  EXPECT_EQ(programServices.icons().IconCodeOf(u"7Z"), 195);
  // The option is on disk, so the next start finds the picture.
  OptionStore again(disk, program / "ZEVRO32.Opt");
  ASSERT_FALSE(again.load());
  EXPECT_EQ(again.readPath(opt::MarkIconFile, {}), program / "MarkIcon.BMP");
}

TEST_F(IconCommandsTest, ARepaintAloneIsStillThereAtTheNextStart) {
  // ZIP's own icon repainted: map and table as they were, yet both files
  // are written, so the next start loads the picture.
  IconEdit edit(programServices.icons(), 46);
  edit.paste(171);
  const IconEdit::Outcome outcome = edit.finish(true);
  ASSERT_TRUE(outcome.saveTable);
  ASSERT_TRUE(programServices.storeUserIcons(edit, test::stripBitmap(outcome.stripIcons)));

  Program next(platform, program, &drives);
  ASSERT_FALSE(next.loadOptions());
  EXPECT_EQ(next.LoadIcons(), 46);
  EXPECT_NE(next.icons().stamp(), IconTable::NoStamp);
}

TEST_F(IconCommandsTest, AFailedPictureWriteIsShownAndChangesNothing) {
  std::filesystem::create_directories(program / "MarkIcon.BMP");  // a folder where the file goes
  IconEdit edit(programServices.icons(), 46);
  edit.add(u"7Z");
  EXPECT_FALSE(programServices.storeUserIcons(edit, test::stripBitmap(46)));
  ASSERT_EQ(ui.count(Kind::Message), 1);
  EXPECT_NE(ui.messages()[0].find(u"File書き込みエラー："), Text::npos);
  EXPECT_FALSE(disk.stat(program / "IconList.CCZ").has_value());
  EXPECT_EQ(programServices.icons().IconCodeOf(u"7Z"), 6);
  EXPECT_TRUE(programServices.iconPicturePath().empty());
}

TEST_F(IconCommandsTest, ReturningToStandardIconsIsOfferedOnlyWithUserIcons) {
  MainWindowLogic& logic = startWithIcons();
  EXPECT_TRUE(logic.isEnabled(C::MO_アイコン変更));
  EXPECT_FALSE(logic.isEnabled(C::MO_アイコン戻す));
  logic.run(C::MO_アイコン変更);
  EXPECT_TRUE(logic.isEnabled(C::MO_アイコン戻す));

  // No (the default) keeps the user's icons.
  ui.answers = {AnswerNo};
  logic.run(C::MO_アイコン戻す);
  ASSERT_EQ(ui.calls.size(), 1u);
  EXPECT_EQ(ui.calls[0].text, MainWindowLogic::StandardIconsQuestion);
  EXPECT_EQ(ui.calls[0].flags, mb::YesNo | mb::DefaultSecond | mb::IconExclamation);
  EXPECT_TRUE(disk.stat(program / "IconList.CCZ").has_value());

  ui.answers = {AnswerYes};
  logic.run(C::MO_アイコン戻す);
  EXPECT_FALSE(disk.stat(program / "IconList.CCZ").has_value());
  EXPECT_FALSE(disk.stat(program / "MarkIcon.BMP").has_value());
  EXPECT_TRUE(programServices.iconPicturePath().empty());
  EXPECT_EQ(programServices.icons().stamp(), IconTable::NoStamp);
  EXPECT_EQ(programServices.icons().types(), IconTable::standardTypes());
  EXPECT_FALSE(logic.isEnabled(C::MO_アイコン戻す));
}

TEST_F(IconCommandsTest, ACatalogSavedUnderUserIconsIsReDerivedAfterTheReturnAndSavedWithTheBlankStamp) {
  MainWindowLogic& logic = startWithIcons();
  logic.run(C::MO_アイコン変更);
  const Text userStamp = programServices.icons().stamp();
  ASSERT_NE(userStamp, IconTable::NoStamp);

  // A catalog coded under the user's icons: X.7Z has the added type 195.
  RowStore store = sampleCatalog();
  Text record = catalog::buildRecord({u"X.7Z", u"", u"24/02/01 10:00", u"10", u"0"});
  store.appendShown(record, 0, 0, 195, 2);
  listfile::Header header;
  header.iconStamp = userStamp;
  temp().put("zevro/Catalog/_00HD_USER.cct", *listfile::build(store, header));

  ui.answers = {AnswerYes};
  logic.run(C::MO_アイコン戻す);
  ASSERT_EQ(logic.document().load(u"_00HD_USER.cct", true), CatalogDocument::LoadResult::Loaded);

  const RowStore& list = logic.document().list();
  EXPECT_EQ(list.kind(8), IconTable::UnlistedKind);  // 7Z is no type of the standard table
  EXPECT_EQ(list.kind(2), 153);
  EXPECT_EQ(logic.document().iconStamp(), IconTable::NoStamp);
  logic.document().setModified(true);
  ASSERT_TRUE(logic.document().save());
  EXPECT_EQ(temp().get("zevro/Catalog/_00HD_USER.cct").substr(30, 12), std::string(12, ' '));
}

TEST_F(IconCommandsTest, AModifiedListIsReDerivedWhereItIsAndKeepsItsChanges) {
  writeCatalog("_00HD_DATA.cct", sampleCatalog());
  MainWindowLogic& logic = startWithIcons();
  ASSERT_EQ(logic.document().load(u"_00HD_DATA.cct", true), CatalogDocument::LoadResult::Loaded);
  ASSERT_EQ(fileKinds(), (std::vector<int>{6, 7, 8}));  // the stamps agree: kept as stored
  logic.document().list().setField(1, 2, u"書き換えた");
  logic.document().setModified(true);

  logic.run(C::MO_アイコン変更);

  EXPECT_EQ(ui.count(Kind::Message), 0);  // no save question
  EXPECT_TRUE(logic.document().modified());
  EXPECT_EQ(logic.document().list().field(1, 2), u"書き換えた");
  EXPECT_EQ(fileKinds(), (std::vector<int>{153, 125, 82}));
  EXPECT_EQ(logic.document().iconStamp(), programServices.icons().stamp());
  EXPECT_EQ(logic.document().currentFileName(), u"_00HD_DATA.cct");
}

TEST_F(IconCommandsTest, AnUnsavedReadingIsReDerivedNotCleared) {
  MainWindowLogic& logic = startWithIcons();
  RowStore& list = logic.document().list();
  RowStore sample = sampleCatalog();
  for (int r = 0; r < sample.rowCount(); ++r)
    list.appendShown(sample.record(r), sample.colour(r), 0, sample.kind(r), sample.level(r));
  list.deriveIndexAndTreeFlags();
  logic.document().setIconStamp(Text(IconTable::NoStamp));
  ASSERT_TRUE(logic.document().currentFile().empty());

  logic.run(C::MO_アイコン変更);

  EXPECT_EQ(logic.document().list().rowCount(), sample.rowCount());
  EXPECT_EQ(fileKinds(), (std::vector<int>{153, 125, 82}));
}

TEST_F(IconCommandsTest, ASavedListIsLoadedAgainWithTheCursorOnItsRow) {
  writeCatalog("_00HD_DATA.cct", sampleCatalog());
  MainWindowLogic& logic = startWithIcons();
  ASSERT_EQ(logic.document().load(u"_00HD_DATA.cct", true), CatalogDocument::LoadResult::Loaded);
  logic.applyMeasures({}, 60, 60);  // a few rows on screen
  logic.特定ページを表示(u"PICS", false);
  const int before = logic.document().list().storedRowAt(logic.folderGrid().cursorRow());
  const int line = logic.folderGrid().cursorRow() - logic.folderGrid().topRow();

  logic.run(C::MO_アイコン変更);

  EXPECT_EQ(ui.count(Kind::Message), 0);
  EXPECT_FALSE(logic.document().modified());
  EXPECT_EQ(fileKinds(), (std::vector<int>{153, 125, 82}));  // loaded and re-derived
  EXPECT_EQ(logic.document().list().storedRowAt(logic.folderGrid().cursorRow()), before);
  EXPECT_EQ(logic.folderGrid().cursorRow() - logic.folderGrid().topRow(), line);
  EXPECT_GT(logic.folderGrid().topRow(), 0);  // the screen line is not simply the top
}

TEST(IconFormLogic, HelpTextsChangeOnlyWhenThePointerEntersAnotherRegion) {
  using R = IconFormLogic::Region;
  IconFormLogic logic;
  struct Row {
    R region;
    std::optional<Text> text;
  } rows[] = {
      {R::List, Text(IconFormLogic::ListHelp)},
      {R::List, std::nullopt},
      {R::Preview, Text(u"クリックすると、縮小表示／実寸表示を切り替えられます")},
      {R::Paste, Text(IconFormLogic::PasteHelp)},
      {R::Add, Text(IconFormLogic::AddHelp)},
      {R::None, Text()},
      {R::None, std::nullopt},
  };
  for (const Row& r : rows) EXPECT_EQ(logic.hover(r.region), r.text);
  // A paste without a picture: its text stays while the pointer stays on the button.
  logic.show(R::Paste, IconFormLogic::NoBitmapHelp);
  EXPECT_EQ(logic.hover(R::Paste), std::nullopt);
  EXPECT_TRUE(IconFormLogic::ListHelp.starts_with(u"ファイルの拡張子を選択します\n(1)～(6)はグループ別のアイコン"));
}

TEST(IconFormLogic, TheExtensionQuestionAsksAgainAfterARefusal) {
  IconTable standard;
  standard.BuildStandardTables();
  struct Row {
    const char* what;
    std::deque<Text> inputs;
    std::optional<Text> added;
    int beeps;
    int asked;
  } rows[] = {
      {"taken at once", {u"7z"}, Text(u"7Z"), 0, 1},
      {"listed, too long, not alphanumeric, then good", {u"JPG", u"ABCDEF", u"A.B", u"mkv"}, Text(u"MKV"), 3, 4},
      {"empty ends", {u""}, std::nullopt, 0, 1},
      {"refused then empty", {u"JPG", u""}, std::nullopt, 1, 2},
  };
  for (Row& r : rows) {
    FakeUi ui;
    ui.inputs = r.inputs;
    IconEdit edit(standard, 46);
    bool full = true;
    const std::optional<IconEdit::AddResult> result = IconFormLogic().askExtension(ui, edit, full);
    EXPECT_EQ(result ? std::optional<Text>(result->extension) : std::nullopt, r.added) << r.what;
    EXPECT_EQ(ui.count(Kind::Beep), r.beeps) << r.what;
    EXPECT_EQ(ui.count(Kind::Input), r.asked) << r.what;
    EXPECT_FALSE(full) << r.what;
    EXPECT_EQ(ui.calls.back().text, IconFormLogic::AddPrompt) << r.what;
    EXPECT_EQ(ui.calls.back().title, u"ZEVRO") << r.what;
  }
}

TEST(IconFormLogic, NoCodeLeftEndsTheQuestionWithABeep) {
  IconTable table;
  table.BuildStandardTables();
  table.setTypes(table.types() + u"255.LAST|");
  FakeUi ui;
  ui.inputs = {u"QQQ", u"ZZZ"};
  IconEdit edit(table, 46);
  bool full = false;
  EXPECT_EQ(IconFormLogic().askExtension(ui, edit, full), std::nullopt);
  EXPECT_TRUE(full);
  EXPECT_EQ(ui.count(Kind::Beep), 1);
  EXPECT_EQ(ui.count(Kind::Input), 1);
  EXPECT_EQ(edit.types(), table.types());
}

}  // namespace
}  // namespace zevro
