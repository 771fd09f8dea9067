// The main window's export, backup and conversion of old data: the commands
// over the shown catalog with a scripted Ui, and an old list file converted
// when it is opened.
#include <gtest/gtest.h>

#include <string>

#include "MainWindowFixture.h"
#include "core/CatalogBackup.h"
#include "core/ListExport.h"
#include "core/OptionKeys.h"
#include "listview/MainMenu.h"
#include "listview/MainWindowLogic.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

using C = Command;

class MainWindowDataCommandsTest : public ::testing::Test, public test::MainWindowFixture {
protected:
  Text pathText(const NativePath& path) const { return cp932::fromNativeName(path.native()); }
};

TEST_F(MainWindowDataCommandsTest, ExportWritesTheFolderPaneAsShownAndOpensATextFile) {
  writeCatalog("_03HD_DATA.cct", sampleCatalog(u"資料/集"));
  MainWindowLogic& logic = start();
  openThroughChooser(logic, "_03HD_DATA.cct");
  ASSERT_TRUE(logic.isEnabled(C::MF_TEXT保存));
  const NativePath out = temp().path("list.TXT");
  ui.saveFiles.push_back(pathText(out));
  logic.run(C::MF_TEXT保存);
  ASSERT_EQ(ui.saveRequests.size(), 1u);
  EXPECT_EQ(ui.saveRequests[0].fileName, u"資料-集");
  EXPECT_EQ(ui.saveRequests[0].folder, pathText(catalogs));
  EXPECT_EQ(temp().get("list.TXT"),
            listexport::shownRowsBytes(logic.document().list(), ExportWriter::Form::Text));
  // The folder pane's rows, in display order: what is shown, nothing more.
  const std::string bytes = temp().get("list.TXT");
  EXPECT_EQ(static_cast<int>(std::count(bytes.begin(), bytes.end(), '\n')), logic.document().list().shownCount());
  EXPECT_EQ(ui.count(FakeUi::Kind::OpenDefault), 1);
  EXPECT_EQ(options.readText(opt::RecentTextName, u""), pathText(out));
}

TEST_F(MainWindowDataCommandsTest, ExportWithoutAListBeeps) {
  MainWindowLogic& logic = start();
  logic.run(C::MF_TEXT保存);
  EXPECT_EQ(ui.count(FakeUi::Kind::Beep), 1);
  EXPECT_EQ(ui.count(FakeUi::Kind::SaveFile), 0);
}

TEST_F(MainWindowDataCommandsTest, BackupCopiesOnceThenTellsNothingChanged) {
  writeCatalog("_03HD_DATA.cct", sampleCatalog());
  temp().put("zevro/CATDRV.CCZ", "titles");
  temp().put("zevro/ZEVRO32.Opt", "[Options]\r\n");
  std::filesystem::create_directories(temp().path("Save"));
  MainWindowLogic& logic = start();
  ui.folders.push_back(pathText(temp().path("Save")));
  logic.run(C::MF_バックアップ);
  ASSERT_EQ(ui.calls.front().kind, FakeUi::Kind::BrowseFolder);
  EXPECT_EQ(ui.calls.front().title, CatalogBackup::ChooserTitle);
  EXPECT_EQ(ui.calls.front().text, pathText(catalogs));  // BackupDir's default
  EXPECT_EQ(ui.messages().back(), CatalogBackup::doneMessage(3));
  EXPECT_EQ(temp().get("Save/ZEVRO_Backup/Catalog/_03HD_DATA.cct"), temp().get("zevro/Catalog/_03HD_DATA.cct"));

  ui.folders.push_back(pathText(temp().path("Save")));
  logic.run(C::MF_バックアップ);
  EXPECT_EQ(ui.calls[ui.calls.size() - 3].text, pathText(temp().path("Save/ZEVRO_Backup")));  // starts at BackupDir
  EXPECT_EQ(ui.messages().back(), CatalogBackup::NothingCopiedMessage);
  EXPECT_EQ(ui.count(FakeUi::Kind::Beep), 2);
}

TEST_F(MainWindowDataCommandsTest, BackupAsksAboutAModifiedListAndCancelStops) {
  writeCatalog("_03HD_DATA.cct", sampleCatalog());
  MainWindowLogic& logic = start();
  openThroughChooser(logic, "_03HD_DATA.cct");
  logic.document().setModified(true);
  ui.answers.push_back(AnswerCancel);
  logic.run(C::MF_バックアップ);
  EXPECT_EQ(ui.messages(), std::vector<Text>{Text(CatalogDocument::SaveQuestion)});
  EXPECT_EQ(ui.count(FakeUi::Kind::BrowseFolder), 0);
  // A cancelled chooser stops too.
  ui.answers.push_back(AnswerNo);
  logic.run(C::MF_バックアップ);
  EXPECT_EQ(ui.count(FakeUi::Kind::BrowseFolder), 1);
  EXPECT_FALSE(options.has(opt::BackupDir));
}

TEST_F(MainWindowDataCommandsTest, AnOldListFileIsConvertedWhenItIsOpened) {
  // "AX": title line and one file, old record marker code 1, fields split by code 2.
  Text heap = u"\x01OLDDISC\x02古い\x02\x02" u"9\x01" u"A.TXT\x02\x02\x02" u"9";
  heap += char16_t{0};
  char length[24];
  std::snprintf(length, sizeof length, "%06zX", heap.size());
  const std::string ax = std::string("AX00020002") + length + "0----" + cp932::encode(heap) +
                         std::string("\x0D\x06", 2) + std::string("\x00\x01", 2);
  temp().put("zevro/Catalog/_01HD_OLD.cct", ax);
  MainWindowLogic& logic = start();
  std::vector<Text> progress;
  int hidden = 0;
  logic.hooks().showConversion = [&](TextView name) { progress.emplace_back(name); };
  logic.hooks().hideConversion = [&] { ++hidden; };
  openThroughChooser(logic, "_01HD_OLD.cct");
  EXPECT_EQ(progress, std::vector<Text>{u"_01HD_OLD.cct"});
  EXPECT_EQ(hidden, 1);
  EXPECT_EQ(logic.document().currentFileName(), u"_01HD_OLD.cct");
  EXPECT_EQ(logic.titleText(), u"古い");
  EXPECT_EQ(logic.document().list().rowCount(), 2);
  EXPECT_EQ(temp().get("zevro/Catalog/_01HD_OLD.cct").substr(0, 2), "BX");
  EXPECT_EQ(temp().get("zevro/Backup/_01HD_OLD.cct"), ax);
  EXPECT_TRUE(ui.messages().empty());
}

TEST_F(MainWindowDataCommandsTest, AnUntaggedFileIsConvertedAndADamagedOneReportedOnce) {
  Text heap = u"\x01UN\x02t\x02\x02" u"1";
  heap += char16_t{0};
  const std::string length = std::to_string(heap.size());
  const std::string header = std::string(8 - length.size(), ' ') + length + "000100010----";
  temp().put("zevro/Catalog/_02HD_UN.cct", header + cp932::encode(heap) + std::string("\x0D\x00", 2));
  temp().put("zevro/Catalog/_03HD_CUT.cct", "AX000200020000FF0----\x01" "CUT");
  MainWindowLogic& logic = start();
  openThroughChooser(logic, "_02HD_UN.cct");
  EXPECT_EQ(logic.titleText(), u"t");
  // The damaged file was tried with the others and reported; opening it
  // does not try again.
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_NE(ui.messages()[0].find(u"_03HD_CUT.cct"), Text::npos);
  openThroughChooser(logic, "_03HD_CUT.cct");
  ASSERT_EQ(ui.messages().size(), 2u);
  EXPECT_EQ(ui.messages()[1], Text(CatalogDocument::OldLayoutMessage) + u"|_03HD_CUT.cct");
}

}  // namespace
}  // namespace zevro
