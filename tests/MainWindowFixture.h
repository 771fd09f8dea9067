#pragma once
// What the main-window tests share (logic and window alike): a program folder
// with its catalog folder in a temporary folder, the real file system, a
// scripted Ui, the option store, catalog index and title cache, and sample
// catalogs written as list files with the list-file writer.
//
// The sample catalog "_00HD_DATA.cct":
//   0 DATA        title line (hard disk), title u"資料集"
//   1 DOCS        folder, level 1
//   2 README.TXT  file, level 2, comment u"はじめに"
//   3 MANUAL.PDF  file, level 2
//   4 SUB         folder, level 2
//   5 NOTE.TXT    file, level 3
//   6 PICS        folder, level 1
//   7 写真.JPG     file, level 2 (on the medium u"photo.jpg")
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "TempFolder.h"
#include "core/CatalogIndex.h"
#include "core/CatalogList.h"
#include "core/ListFile.h"
#include "core/OptionStore.h"
#include "core/RowStore.h"
#include "core/TitleCache.h"
#include "listview/FolderViewBuilder.h"
#include "listview/MainWindowLogic.h"
#include "platform/FakeUi.h"
#include "platform/LinuxFileSystem.h"

namespace zevro::test {

class MainWindowFixture {
public:
  MainWindowFixture()
      : temp_("zevro-main"),
        program(temp_.root() / "zevro"),
        catalogs(program / "Catalog"),
        options(disk, program / "ZEVRO32.Opt"),
        index(disk, catalogs) {
    std::filesystem::create_directories(catalogs);
    std::filesystem::create_directories(program / "Backup");
  }

  // The logic over the program folder as it is now (options read afresh).
  MainWindowLogic& start() {
    logic.reset();
    EXPECT_FALSE(options.load());
    logic = std::make_unique<MainWindowLogic>(
        MainWindowLogic::Services{platform, options, index, titles, program, catalogs, u"0.1", nullptr});
    return *logic;
  }

  const TempFolder& temp() const { return temp_; }

  // Opens the catalog `name` of the catalog folder as the menu does, with
  // the file chooser answering that name.
  MainWindowEffects openThroughChooser(MainWindowLogic& shown, const std::string& name) {
    shown.hooks().chooseListFile = [this, name](const NativePath&, TextView, TextView) {
      return std::optional<NativePath>(catalogs / name);
    };
    return shown.run(Command::MF_リスト開く);
  }

  // The logic over the sample catalog, opened through the menu.
  MainWindowLogic& openSample() {
    writeCatalog("_00HD_DATA.cct", sampleCatalog());
    MainWindowLogic& shown = start();
    openThroughChooser(shown, "_00HD_DATA.cct");
    return shown;
  }

  // The folder cursor on the folder called `name`, the file pane filled.
  static void toFolder(MainWindowLogic& shown, TextView name) {
    GridModel& g = shown.folderGrid();
    for (int d = 0; d < g.rowCount(); ++d)
      if (g.store().shownField(0, d) == name) {
        g.Grid_MoveCursor(d);
        shown.cursorMoved(Pane::Folder);
        return;
      }
    FAIL() << "no folder";
  }

  static RowStore sampleCatalog(TextView title = u"資料集") {
    using namespace catalog;
    RowStore store;
    makeCatalogList(store);
    const auto row = [&](std::initializer_list<TextView> fields, int kind, int level) {
      EXPECT_TRUE(store.appendShown(buildRecord(fields), colourIndexFor(kind, level), 0, kind, level));
    };
    row({u"DATA", title, u"", u"12,345"}, KindTitleHD, 0);
    row({u"DOCS", u"文書", u"24/01/31 12:00", u"5,000"}, KindFolder, 1);
    row({u"README.TXT", u"はじめに", u"24/01/30 09:15", u"1,234", u"0"}, KindFile, 2);
    row({u"MANUAL.PDF", u"", u"23/12/01 18:00", u"3,000", u"0"}, KindFile + 1, 2);
    row({u"SUB", u"", u"24/01/31 12:00", u"766"}, KindFolder, 2);
    row({u"NOTE.TXT", u"メモ", u"24/01/02 08:00", u"766", u"0"}, KindFile, 3);
    row({u"PICS", u"写真", u"24/02/01 10:00", u"7,345"}, KindFolder, 1);
    row({u"写真.JPG", u"", u"24/02/01 10:00", u"7,345", u"1", u"photo.jpg"}, KindFile + 2, 2);
    store.setSortOrder(ListSort::Name);
    store.deriveIndexAndTreeFlags();
    // As a reading leaves it: files marked under their folders.
    FolderViewBuilder::prepareMarks(store);
    return store;
  }

  // Writes a list file into the catalog folder; its path.
  std::filesystem::path writeCatalog(const std::string& name, const RowStore& store, std::int64_t freeSpace = 0) {
    listfile::Header header;
    header.freeSpace = freeSpace;
    const std::optional<std::string> bytes = listfile::build(store, header);
    EXPECT_TRUE(bytes.has_value());
    temp_.put("zevro/Catalog/" + name, bytes.value_or(""));
    return catalogs / name;
  }

  // The title line's title of a list file on disk.
  Text titleOnDisk(const std::string& name) const {
    RowStore store;
    EXPECT_TRUE(listfile::parse(temp_.get("zevro/Catalog/" + name), store).loaded()) << name;
    return store.field(catalog::FieldComment, 0);
  }

private:
  TempFolder temp_;

public:
  std::filesystem::path program;
  std::filesystem::path catalogs;
  LinuxFileSystem disk;
  FakeUi ui;
  Platform platform{disk, ui};
  OptionStore options;
  CatalogIndex index;
  TitleCache titles;
  std::unique_ptr<MainWindowLogic> logic;
};

}  // namespace zevro::test
