// "リストを最新の情報に更新" in the main window: the shown catalog read again
// from its medium (a folder of fake drives), the user's edits kept, and a
// refresh that finds nothing leaving the window as it was.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "MediaFixture.h"
#include "core/CatalogIndex.h"
#include "core/CatalogList.h"
#include "core/IconTable.h"
#include "core/ListFile.h"
#include "core/OptionStore.h"
#include "listview/MainMenu.h"
#include "listview/MainWindowLogic.h"
#include "media/ArchiveLibraries.h"
#include "media/MediaReading.h"
#include "media/MediumLocator.h"
#include "media/TitleFile.h"

namespace zevro {
namespace {

using C = Command;
using namespace catalog;

class MainWindowRefreshTest : public test::MediaFixture {
protected:
  void SetUp() override {
    icons.BuildStandardTables();
    std::filesystem::create_directories(catalogs);
    addDrive('X', drivetype::Fixed, u"DATA");
    put("drive-X/DOCS/README.TXT", "read me");
    put("drive-X/DOCS/OLD.TXT", "old");

    // The catalog as a reading made it, then edited by the user.
    RowStore list;
    makeCatalogList(list);
    ASSERT_TRUE(reading().refresh(u"X:", u"_00HD_DATA.cct", u"DATA", list).ok());
    list.setField(FieldComment, 0, u"資料集");
    const int readme = list.findRowByPath(u"DOCS\\README.TXT", 1);
    const int old = list.findRowByPath(u"DOCS\\OLD.TXT", 1);
    ASSERT_GT(readme, 0);
    ASSERT_GT(old, 0);
    list.setField(FieldComment, readme, u"mine");
    list.setField(FieldFlags, readme, u"2");
    list.setField(FieldComment, old, u"gone with the file");
    list.setField(FieldFlags, old, u"2");
    const std::optional<std::string> bytes = listfile::build(list, {});
    ASSERT_TRUE(bytes);
    put("program/Catalog/_00HD_DATA.cct", *bytes);
  }

  MediaReading reading() { return MediaReading({platform_, info, titleFile, icons, catalogs}, {}); }

  MainWindowLogic& start() {
    EXPECT_FALSE(options.load());
    logic = std::make_unique<MainWindowLogic>(MainWindowLogic::Services{
        platform_, options, index, titles, path("program"), catalogs, u"0.1", &icons, false, true, &locator});
    logic->hooks().chooseListFile = [this](const NativePath&, TextView, TextView) {
      return std::optional<NativePath>(catalogs / "_00HD_DATA.cct");
    };
    logic->hooks().refreshMedium = [this](RowStore& store, TextView source, TextView name, TextView title) {
      asked.push_back(Text(source) + u"|" + Text(name) + u"|" + Text(title));
      titleWhileReading = logic->titleText();
      if (stopped) return std::optional<MediaReading::Result>();
      return std::optional<MediaReading::Result>(reading().refresh(source, name, title, store));
    };
    logic->run(C::MF_リスト開く);
    return *logic;
  }

  Text commentOf(TextView rowPath) {
    const RowStore& list = logic->document().list();
    const int row = list.findRowByPath(rowPath, 1);
    return row > 0 ? list.field(FieldComment, row) : Text(u"<none>");
  }

  Platform platform_{files, ui};
  IconTable icons;
  TitleFile titleFile{info, ui};
  ArchiveLibraries archives{ListTime::Zone::Japan};
  MediumLocator locator{{info, titleFile, files, ui, archives, path("program/TempFile")}};
  NativePath catalogs = path("program/Catalog");
  OptionStore options{files, path("program/ZEVRO32.Opt")};
  CatalogIndex index{files, catalogs};
  std::unique_ptr<MainWindowLogic> logic;
  std::vector<Text> asked;
  bool stopped = false;
  Text titleWhileReading = u"<not read>";
};

TEST_F(MainWindowRefreshTest, RefreshTakesInTheMediumAndKeepsTheUsersEdits) {
  MainWindowLogic& l = start();
  ASSERT_EQ(l.document().currentFileName(), u"_00HD_DATA.cct");
  ASSERT_TRUE(l.isEnabled(C::MF_リスト更新));
  EXPECT_TRUE(MainWindowLogic::disablesWindow(C::MF_リスト更新));
  std::filesystem::remove(path("drive-X/DOCS/OLD.TXT"));
  put("drive-X/DOCS/NEW.TXT", "new");

  const MainWindowEffects e = l.run(C::MF_リスト更新);
  EXPECT_EQ(asked, std::vector<Text>{u"X:|_00HD_DATA.cct|DATA"});
  EXPECT_TRUE(e.labels);
  EXPECT_EQ(commentOf(u"DOCS\\README.TXT"), u"mine");
  EXPECT_NE(commentOf(u"DOCS\\NEW.TXT"), u"<none>");
  EXPECT_EQ(commentOf(u"DOCS\\OLD.TXT"), u"<none>");
  EXPECT_EQ(l.titleText(), u"資料集");
  EXPECT_TRUE(l.document().modified());
  EXPECT_FALSE(l.busy());
  EXPECT_EQ(l.chosenLevel(), 0);
  // The new rows are shown: the folder view was built again.
  EXPECT_GT(l.folderGrid().rowCount(), 1);
  EXPECT_TRUE(ui.messages().empty());
}

TEST_F(MainWindowRefreshTest, MediumNotFoundLeavesListAndTitleAsTheyWere) {
  MainWindowLogic& l = start();
  const Text title = l.titleText();
  const std::u16string heap(l.document().list().heap());
  ASSERT_EQ(title, u"資料集");

  drives.remove('X');
  l.run(C::MF_リスト更新);
  EXPECT_TRUE(asked.empty());  // nothing read
  EXPECT_EQ(l.titleText(), title);
  EXPECT_EQ(std::u16string(l.document().list().heap()), heap);
  EXPECT_FALSE(l.document().modified());
  EXPECT_FALSE(l.busy());

  // A reading the user stopped changes nothing either.
  addDrive('X', drivetype::Fixed, u"DATA");
  stopped = true;
  l.run(C::MF_リスト更新);
  EXPECT_EQ(asked.size(), 1u);
  EXPECT_EQ(titleWhileReading, u"");  // the title label is empty while the medium is read
  EXPECT_EQ(l.titleText(), title);    // and comes back when the reading gives nothing
  EXPECT_EQ(std::u16string(l.document().list().heap()), heap);
  EXPECT_FALSE(l.document().modified());
}

TEST_F(MainWindowRefreshTest, NotOfferedWithoutAListOrAReadingWindow) {
  EXPECT_FALSE(options.load());
  MainWindowLogic bare(MainWindowLogic::Services{platform_, options, index, titles, path("program"), catalogs, u"0.1",
                                                &icons, false, true, &locator});
  EXPECT_FALSE(bare.isEnabled(C::MF_リスト更新));
  MainWindowLogic& l = start();
  l.hooks().refreshMedium = nullptr;
  EXPECT_FALSE(l.isEnabled(C::MF_リスト更新));
}

}  // namespace
}  // namespace zevro
