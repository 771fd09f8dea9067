// The backup of catalog data: the destination rule, what is copied in which
// order, copies keeping their time, a second run copying nothing, one
// changed file copied alone and a failed copy that leaves the rest going.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "core/CatalogBackup.h"
#include "core/OptionKeys.h"
#include "core/OptionStore.h"
#include "platform/FaultyFileSystem.h"
#include "platform/LinuxFileSystem.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

constexpr FileTime Second = 1'000'000'000;
constexpr FileTime Base = 1'700'000'000 * Second;

TEST(CatalogBackup, DestinationEndsInTheBackupFolderName) {
  struct Case {
    const char* chosen;
    const char* destination;
  };
  const Case cases[] = {
      {"/m/Save", "/m/Save/ZEVRO_Backup"},
      {"/m/Save/", "/m/Save/ZEVRO_Backup"},
      {"/m/zevro_backup", "/m/zevro_backup"},
      {"/m/ZEVRO_BACKUP", "/m/ZEVRO_BACKUP"},
      {"/m/OLD_Zevro_Backup", "/m/OLD_Zevro_Backup"},
      {"/m/ZEVRO_BACKUP2", "/m/ZEVRO_BACKUP2/ZEVRO_Backup"},
      {"/", "/ZEVRO_Backup"},
  };
  for (const Case& c : cases) EXPECT_EQ(CatalogBackup::destinationFor(c.chosen), NativePath(c.destination)) << c.chosen;
}

TEST(CatalogBackup, MessageTellsTheCountOrThatNothingChanged) {
  EXPECT_EQ(CatalogBackup::doneMessage(3), u"\x08" u"3\x07個のデータをバックアップしました");
  EXPECT_EQ(CatalogBackup::doneMessage(12), u"\x08" u"12\x07個のデータをバックアップしました");
  EXPECT_EQ(CatalogBackup::doneMessage(0), u"更新されたデータはありません");
}

struct BackupFixture {
  test::TempFolder folder{"zevro-backup"};
  LinuxFileSystem real;
  FaultyFileSystem files{real};
  NativePath program = folder.path("prog");
  NativePath catalogs = folder.path("prog/Catalog");
  OptionStore options{files, program / "ZEVRO32.Opt"};

  BackupFixture() {
    folder.put("prog/CATDRV.CCZ", "titles");
    folder.put("prog/ZEVRO32.Opt", "[Options]\r\n");
    folder.put("prog/IconList.CCZ", "icons");
    folder.put("prog/Catalog/_01CD_A.cct", "list A");
    folder.put("prog/Catalog/_02HD_B.CCT", "list B");
    folder.put("prog/Catalog/CatList.CCZ", "index");
    folder.put("prog/Catalog/CatJan.CCZ", "genres");
    folder.put("prog/Catalog/_p_x.ccj", "picture");
    folder.put("prog/Catalog/X.cct", "not a list name");
    int i = 0;
    for (const char* name : {"prog/CATDRV.CCZ", "prog/ZEVRO32.Opt", "prog/IconList.CCZ", "prog/Catalog/_01CD_A.cct",
                             "prog/Catalog/_02HD_B.CCT"})
      files.setModified(folder.path(name), Base + (i++) * Second);
    std::filesystem::create_directories(folder.path("Save"));
  }
  CatalogBackup backup() { return CatalogBackup(files, {program, catalogs}); }
  FileTime timeOf(const NativePath& path) { return files.stat(path)->modified; }
};

TEST(CatalogBackup, CopiesTheDataFilesAndListFilesKeepingTheirTimes) {
  BackupFixture f;
  const CatalogBackup::Result result = f.backup().run(f.folder.path("Save"), f.options);
  const std::vector<std::string> expected = {"CATDRV.CCZ", "ZEVRO32.Opt", "IconList.CCZ", "Catalog/_01CD_A.cct",
                                             "Catalog/_02HD_B.CCT"};
  EXPECT_EQ(result.copied, expected);
  EXPECT_TRUE(result.failures.empty());
  const NativePath d = f.folder.path("Save/ZEVRO_Backup");
  EXPECT_EQ(result.destination, d);
  EXPECT_EQ(f.folder.get("Save/ZEVRO_Backup/Catalog/_02HD_B.CCT"), "list B");
  EXPECT_EQ(f.timeOf(d / "Catalog/_01CD_A.cct"), f.timeOf(f.catalogs / "_01CD_A.cct"));
  EXPECT_EQ(f.timeOf(d / "CATDRV.CCZ"), Base);
  for (const char* absent : {"Catalog/CatList.CCZ", "Catalog/CatJan.CCZ", "Catalog/_p_x.ccj", "Catalog/X.cct",
                             "MarkIcon.BMP"})
    EXPECT_FALSE(f.files.stat(d / absent)) << absent;
  // The option file was saved with BackupDir before it was copied.
  EXPECT_EQ(f.options.readPath(opt::BackupDir, {}), d);
  EXPECT_NE(f.folder.get("Save/ZEVRO_Backup/ZEVRO32.Opt").find("BackupDir"), std::string::npos);
}

TEST(CatalogBackup, SecondRunCopiesNothingAndAChangedFileAlone) {
  BackupFixture f;
  EXPECT_EQ(f.backup().run(f.folder.path("Save"), f.options).count(), 5);
  const CatalogBackup::Result again = f.backup().run(f.folder.path("Save"), f.options);
  EXPECT_EQ(again.count(), 0);
  EXPECT_TRUE(again.failures.empty());

  f.folder.put("prog/Catalog/_02HD_B.CCT", "list B, edited");
  f.files.setModified(f.catalogs / "_02HD_B.CCT", Base + 100 * Second);
  const CatalogBackup::Result third = f.backup().run(f.folder.path("Save/ZEVRO_Backup"), f.options);
  EXPECT_EQ(third.copied, std::vector<std::string>{"Catalog/_02HD_B.CCT"});
  EXPECT_EQ(f.folder.get("Save/ZEVRO_Backup/Catalog/_02HD_B.CCT"), "list B, edited");
  EXPECT_EQ(f.timeOf(f.folder.path("Save/ZEVRO_Backup/Catalog/_02HD_B.CCT")), Base + 100 * Second);
}

TEST(CatalogBackup, AnOlderSourceThanItsCopyIsNotCopied) {
  BackupFixture f;
  f.folder.put("Save/ZEVRO_Backup/Catalog/_01cd_a.CCT", "newer copy");
  f.files.setModified(f.folder.path("Save/ZEVRO_Backup/Catalog/_01cd_a.CCT"), Base + 50 * Second);
  const CatalogBackup::Result result = f.backup().run(f.folder.path("Save"), f.options);
  EXPECT_EQ(result.count(), 4);
  EXPECT_EQ(f.folder.get("Save/ZEVRO_Backup/Catalog/_01cd_a.CCT"), "newer copy");
  EXPECT_FALSE(f.files.stat(f.folder.path("Save/ZEVRO_Backup/Catalog/_01CD_A.cct")));
}

TEST(CatalogBackup, FailedCopyKeepsTheEarlierCopyIsNotCountedAndTheRestGoesOn) {
  BackupFixture f;
  f.folder.put("Save/ZEVRO_Backup/Catalog/_01CD_A.cct", "earlier copy");
  f.files.setModified(f.folder.path("Save/ZEVRO_Backup/Catalog/_01CD_A.cct"), Base - Second);
  f.files.fail(FaultyFileSystem::Op::Copy, ENOSPC, f.catalogs / "_01CD_A.cct");
  std::vector<NativePath> reported;
  const CatalogBackup::Result result = f.backup().run(
      f.folder.path("Save"), f.options, [&](const CatalogBackup::Failure& failure) { reported.push_back(failure.path); });
  EXPECT_EQ(result.count(), 4);
  ASSERT_EQ(result.failures.size(), 1u);
  EXPECT_EQ(result.failures[0].error.code, ENOSPC);
  EXPECT_EQ(reported, std::vector<NativePath>{f.folder.path("Save/ZEVRO_Backup/Catalog/_01CD_A.cct")});
  EXPECT_EQ(f.folder.get("Save/ZEVRO_Backup/Catalog/_01CD_A.cct"), "earlier copy");
  EXPECT_EQ(f.folder.get("Save/ZEVRO_Backup/Catalog/_02HD_B.CCT"), "list B");
}

}  // namespace
}  // namespace zevro
