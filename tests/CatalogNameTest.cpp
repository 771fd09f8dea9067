#include "media/CatalogName.h"

#include <gtest/gtest.h>

#include "MediaFixture.h"
#include "core/ListFileName.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

namespace fs = std::filesystem;

class CatalogNameTest : public test::MediaFixture {
protected:
  CatalogNameTest() {
    addDrive('D', drivetype::CdRom, u"GAMES");
    addDrive('E', drivetype::CdRom, u"A/B:C");
    addDrive('F', drivetype::CdRom, u"");
    fs::create_directories(path("drive-F/DATA"));
    fs::create_directories(path("drive-F/SETUP"));
    addDrive('G', drivetype::CdRom, u"Audio CD", 0x1A2B3C4Du, true);
    addEmptyDrive('H', drivetype::CdRom);
    addDrive('X', drivetype::Fixed, u"WORK");
    addDrive('Y', drivetype::Fixed, u"");
    fs::create_directories(path("drive-Y/ONLY"));
    addDrive('A', drivetype::Removable, u"LABEL");
    put("drive-A/VolName.txt", "My Disk\r\n");
    addDrive('B', drivetype::Removable, u"");
    drives.set('K', {drivetype::Removable, path("drive-B"), u"ZIP", 0, false, DriveSpace{0, 0}, true});
    types.setStored('K', drivetype::Removable);
    addDrive('L', drivetype::Changing, u"");
    put("drive-L/VolName.txt", "USB DISK\r\n");
  }

  CatalogNameResult name(TextView path, TextView genre = u"00", int sequence = 0) {
    return CatalogName(info, titleFile, ui, catalogs, path, genre, sequence);
  }

  TitleFile titleFile{info, ui, [](const NativePath&) { return IoError{}; }};
  NativePath catalogs = path("CatList");
};

TEST_F(CatalogNameTest, NamesOfMedia) {
  struct Row {
    const char* what;
    const char16_t* path;
    const char16_t* genre;
    int sequence;
    const char16_t* fileName;
    const char16_t* mediumTitle;
  } rows[] = {
      {"a labelled CD", u"D:", u"03", 0, u"_03CD_GAMES.CCT", u"GAMES"},
      {"the root written with its separator", u"d:\\", u"03", 0, u"_03CD_GAMES.CCT", u"GAMES"},
      {"characters a file name cannot hold", u"E:", u"00", 0, u"_00CD_A&B-C.CCT", u"A/B:C"},
      {"a CD without a label", u"F:", u"00", 0, u"_00CD_DATASETUP.CCT", u"DATASETUP"},
      {"an audio CD", u"G:", u"00", 0, u"_00CD_CDA1A2B3C4D.CCT", u"CDA1A2B3C4D"},
      {"a folder of a CD is named as the CD", u"D:\\SUB", u"00", 0, u"_00CD_GAMES.CCT", u"GAMES"},
      {"a whole hard disk", u"X:\\", u"00", 0, u"_00HD_WORK.CCT", u"WORK"},
      {"a folder of a hard disk", u"X:\\SOFT\\TOOLS", u"00", 0, u"_00HD_WORK SOFT&TOOLS.CCT", u"WORK"},
      {"a folder written with a trailing separator", u"X:\\SOFT\\", u"00", 0, u"_00HD_WORK SOFT.CCT", u"WORK"},
      {"a hard disk without a label", u"Y:", u"00", 0, u"_00HD_ONLY_", nullptr},
      {"a removable medium by its title", u"A:", u"07", 0, u"_07FD_My Disk.CCT", u"My Disk"},
      {"a folder of a removable medium", u"A:\\DOCS\\OLD", u"07", 0, u"_07FD_My Disk DOCS&OLD.CCT", u"My Disk"},
      {"a changing drive counts as removable", u"L:", u"01", 0, u"_01FD_USB DISK.CCT", u"USB DISK"},
      {"a numbered catalog", u"D:", u"03", 2, u"_03CD_GAMES-02.CCT", u"GAMES"},
      {"numbered 99", u"X:\\SOFT", u"03", 99, u"_03HD_WORK SOFT-99.CCT", u"WORK"},
      {"a pattern over all genres", u"D:", u"??", 0, u"_??CD_GAMES.CCT", u"GAMES"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const CatalogNameResult result = name(row.path, row.genre, row.sequence);
    ASSERT_TRUE(result);
    if (row.mediumTitle == nullptr) {  // a date stamp follows: only the start is known
      EXPECT_EQ(result.fileName.substr(0, Text(row.fileName).size()), row.fileName);
    } else {
      EXPECT_EQ(result.fileName, row.fileName);
      EXPECT_EQ(result.mediumTitle, row.mediumTitle);
    }
    EXPECT_EQ(result.path, catalogs / cp932::toNativeName(result.fileName));
  }
  EXPECT_TRUE(ui.calls.empty());
}

TEST_F(CatalogNameTest, NoNameWithoutAMediumOrATitle) {
  struct Row {
    const char* what;
    const char16_t* path;
    CatalogNameResult::Failure failure;
    bool beep;
  } rows[] = {
      // an empty CD drive is no medium (not a catalog named "_00CD_.CCT")
      {"an empty CD drive", u"H:", CatalogNameResult::Failure::NoMedium, true},
      {"a removable drive of capacity 0", u"K:", CatalogNameResult::Failure::NoMedium, true},
      {"no such drive", u"Q:", CatalogNameResult::Failure::NoMedium, true},
      {"the title question cancelled", u"B:", CatalogNameResult::Failure::NoTitle, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    ui.calls.clear();
    const CatalogNameResult result = name(row.path);
    EXPECT_FALSE(result);
    EXPECT_EQ(result.failure, row.failure);
    EXPECT_TRUE(result.path.empty());
    EXPECT_TRUE(result.fileName.empty());
    EXPECT_EQ(ui.count(FakeUi::Kind::Beep), row.beep ? 1 : 0);
  }
}

TEST_F(CatalogNameTest, TitleGivenForANewRemovableMediumIsUsed) {
  ui.inputs.push_back(u"Backup, 2024");
  const CatalogNameResult result = name(u"B:\\PHOTOS");
  ASSERT_TRUE(result);
  EXPECT_EQ(result.fileName, u"_00FD_Backup PHOTOS.CCT");
  EXPECT_EQ(result.mediumTitle, u"Backup");
  EXPECT_EQ(get("drive-B/VolName.txt"), "Backup, 2024\r\n");
  // The same medium read again gets the same name without a question.
  EXPECT_EQ(name(u"B:\\PHOTOS").fileName, result.fileName);
  EXPECT_EQ(ui.count(FakeUi::Kind::Input), 1);
}

TEST_F(CatalogNameTest, NameTooLongForAFileNameIsCutKeepingItsExtension) {
  addDrive('M', drivetype::Fixed, Text(100, u'表'));
  const CatalogNameResult result = name(u"M:\\" + Text(100, u'表'), u"00", 3);
  ASSERT_TRUE(result);
  const std::string native = result.path.filename().native();
  EXPECT_LE(native.size(), listfilename::MaxNativeNameBytes);
  EXPECT_EQ(native.substr(native.size() - 4), ".CCT");
  EXPECT_EQ(native.substr(0, 6), "_00HD_");
  EXPECT_EQ(result.fileName, cp932::fromNativeName(native));
}

}  // namespace
}  // namespace zevro
