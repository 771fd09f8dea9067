// The two per-drive tables of the program folder: the drive type table
// CATTYP.DAT and the title cache CATDRV.CCZ.
#include <gtest/gtest.h>

#include <cerrno>

#include "CatalogTestFiles.h"
#include "TempFolder.h"
#include "core/DriveTypeTable.h"
#include "core/TitleCache.h"
#include "platform/FakeDrives.h"
#include "platform/FaultyFileSystem.h"
#include "platform/LinuxFileSystem.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

using Op = FaultyFileSystem::Op;
namespace dt = drivetype;

// --- Drive types ---------------------------------------------------------------

TEST(DriveTypeMerge, AFixedDriveThatComesAndGoesIsMarkedAsChanging) {
  struct Row {
    int stored;
    int current;
    int kept;
  } rows[] = {
      {dt::Fixed, dt::Removable, dt::Removable},  // 3 stored, 2 now: 2
      {dt::NoRoot, dt::Fixed, dt::Changing},      // 1 stored, 3 now: 18
      {dt::Unknown, dt::Fixed, dt::Changing},     {dt::Fixed, dt::NoRoot, dt::Changing},
      {dt::Fixed, dt::Unknown, dt::Changing},     {dt::Changing, dt::CdRom, dt::Changing},
      {dt::Changing, dt::NoRoot, dt::Changing},   {dt::Removable, dt::CdRom, dt::CdRom},
      {dt::NoRoot, dt::Removable, dt::Removable}, {dt::Fixed, dt::Fixed, dt::Fixed},
      {dt::NoRoot, dt::NoRoot, dt::NoRoot},
  };
  for (const Row& row : rows)
    EXPECT_EQ(DriveTypeTable::merge(row.current, row.stored), row.kept) << row.stored << " -> " << row.current;
}

TEST(DriveTypeLookup, AChangingDriveAnswersRemovable) {
  DriveTypeTable table;
  table.setStored('C', dt::Fixed);
  table.setStored('E', dt::Changing);
  table.setStored('Q', dt::CdRom);
  struct Row {
    const char16_t* path;
    int type;
  } rows[] = {{u"C:\\", dt::Fixed}, {u"e:", dt::Removable}, {u"Q:\\DATA\\A.TXT", dt::CdRom},
              {u"B:", dt::Unknown}, {u"", dt::Unknown},     {u"表:", dt::Unknown}};
  for (const Row& row : rows) EXPECT_EQ(table.DriveType(row.path), row.type) << toUtf8(row.path);
  EXPECT_EQ(table.stored('e'), dt::Changing);
}

class DriveTablesTest : public ::testing::Test {
protected:
  DriveTablesTest() : faulty(disk) {
    drives.set('C', {dt::Fixed, "/", u"SYSTEM", 1, true, {}, true});
    drives.set('D', {dt::Fixed, folder.path("usb"), u"USBDISK", 2, true, {}, true});
    drives.set('E', {dt::CdRom, folder.path("cd"), u"GAMES", 3, true, {}, true});
    drives.set('F', {dt::CdRom, {}, u"", 0, false, {}, false});  // empty CD drive
  }
  NativePath program() const { return folder.root(); }
  std::string stored() const { return folder.get("CATTYP.DAT"); }

  test::TempFolder folder{"zevro-drives"};
  LinuxFileSystem disk;
  FaultyFileSystem faulty;
  FakeDrives drives;
};

TEST_F(DriveTablesTest, WithoutAStoredTableTheCurrentTypesAreWritten) {
  DriveTypeTable table;
  TitleCache titles;

  EXPECT_FALSE(table.LoadDriveTypes(faulty, program(), drives, titles));

  std::string expected(26, char(dt::NoRoot));
  expected[2] = dt::Fixed;
  expected[3] = dt::Fixed;
  expected[4] = dt::CdRom;
  expected[5] = dt::CdRom;
  EXPECT_EQ(stored(), expected);
  EXPECT_EQ(titles.title('C'), u"SYSTEM");
  EXPECT_EQ(titles.title('E'), u"GAMES");
  EXPECT_EQ(titles.title('F'), u"");
}

TEST_F(DriveTablesTest, AStoredTableIsMergedAndWrittenBack) {
  std::string before(26, char(dt::NoRoot));
  before[2] = dt::Fixed;           // C: fixed then and now
  before[3] = dt::NoRoot;          // D: absent before, fixed now -> 18
  before[6] = dt::Fixed;           // G: fixed before, absent now -> 18
  before[7] = char(dt::Changing);  // H: stays 18
  before[4] = dt::Fixed;           // E: was a fixed disk, now a CD drive -> 5
  folder.put("CATTYP.DAT", before);
  DriveTypeTable table;
  TitleCache titles;
  titles.setTitle('G', u"OLD");
  titles.setTitle('B', u"KEPT");

  EXPECT_FALSE(table.LoadDriveTypes(faulty, program(), drives, titles));

  std::string expected(26, char(dt::NoRoot));
  expected[2] = dt::Fixed;
  expected[3] = char(dt::Changing);
  expected[4] = dt::CdRom;
  expected[5] = dt::CdRom;
  expected[6] = char(dt::Changing);
  expected[7] = char(dt::Changing);
  EXPECT_EQ(stored(), expected);
  EXPECT_EQ(table.DriveType(u"D:"), dt::Removable);
  EXPECT_EQ(titles.title('D'), u"USBDISK");
  EXPECT_EQ(titles.title('G'), u"");      // a changing drive that is away has no label now
  EXPECT_EQ(titles.title('B'), u"KEPT");  // type 1: not asked
}

TEST_F(DriveTablesTest, AShortStoredTableCountsAsNone) {
  folder.put("CATTYP.DAT", std::string(10, char(dt::Fixed)));
  DriveTypeTable table;
  TitleCache titles;

  EXPECT_FALSE(table.LoadDriveTypes(faulty, program(), drives, titles));

  EXPECT_EQ(stored().size(), 26u);
  EXPECT_EQ(table.stored('A'), dt::NoRoot);
}

TEST_F(DriveTablesTest, AFailedWriteLeavesTheStoredTable) {
  const std::string before(26, char(dt::NoRoot));
  folder.put("CATTYP.DAT", before);
  faulty.fail(Op::Write, ENOSPC);
  DriveTypeTable table;
  TitleCache titles;

  EXPECT_EQ(table.LoadDriveTypes(faulty, program(), drives, titles).code, ENOSPC);

  EXPECT_EQ(stored(), before);
  EXPECT_EQ(table.stored('D'), dt::Changing);  // the table in memory is merged anyway
}

TEST_F(DriveTablesTest, RefreshAsksAgainExceptForChangingDrives) {
  DriveTypeTable table;
  table.setStored('D', dt::Changing);
  table.setStored('E', dt::NoRoot);
  drives.remove('D');

  table.RefreshDriveTypes(drives);

  EXPECT_EQ(table.stored('D'), dt::Changing);
  EXPECT_EQ(table.stored('E'), dt::CdRom);
  EXPECT_EQ(table.stored('Z'), dt::NoRoot);
}

// --- Title cache ----------------------------------------------------------------

TEST(TitleCacheFormat, TwentySixLinesEndedByCrLf) {
  TitleCache cache;
  cache.setTitle('A', u"FLOPPY");
  cache.setTitle('c', u"表計算");
  cache.setTitle('Z', Text(1, char16_t(0)));  // a removable medium without label or title

  std::string expected = "FLOPPY\r\n\r\n" + cp932::encode(u"表計算") + "\r\n";
  for (int k = 3; k < 25; ++k) expected += "\r\n";
  expected += std::string("\0\r\n", 3);
  EXPECT_EQ(cache.encode(), expected);
  EXPECT_EQ(TitleCache::decode(expected), cache);
}

TEST(TitleCacheFormat, ReadsAnyLineEndAndMissingLines) {
  struct Row {
    const char* what;
    std::string bytes;
    Text a;
    Text b;
    Text z;
  } rows[] = {
      {"LF only", "A\nB\n", u"A", u"B", u""},
      {"CR only", "A\rB\r", u"A", u"B", u""},
      {"no final line end", "A\r\nB", u"A", u"B", u""},
      {"empty file", "", u"", u"", u""},
      {"more than 26 lines", std::string("A\r\n") + std::string(24, '\n') + "Z\nextra\n", u"A", u"", u"Z"},
  };
  for (const Row& row : rows) {
    const TitleCache cache = TitleCache::decode(row.bytes);
    EXPECT_EQ(cache.title('A'), row.a) << row.what;
    EXPECT_EQ(cache.title('B'), row.b) << row.what;
    EXPECT_EQ(cache.title('Z'), row.z) << row.what;
  }
}

TEST(TitleCacheFormat, ALineEndInATitleCannotShiftTheLetters) {
  TitleCache cache;
  cache.setTitle('A', u"TWO\r\nLINES");
  cache.setTitle('B', u"B");

  const TitleCache back = TitleCache::decode(cache.encode());

  EXPECT_EQ(back.title('A'), u"TWO  LINES");
  EXPECT_EQ(back.title('B'), u"B");
}

TEST_F(DriveTablesTest, TitleCacheRoundTripsThroughTheProgramFolder) {
  TitleCache cache;
  cache.setTitle('E', u"GAMES");
  ASSERT_FALSE(cache.write(faulty, program()));

  TitleCache back;
  back.setTitle('A', u"stale");
  EXPECT_FALSE(back.load(faulty, program()));
  EXPECT_EQ(back, cache);

  std::filesystem::remove(folder.path("CATDRV.CCZ"));
  EXPECT_FALSE(back.load(faulty, program()));
  EXPECT_EQ(back, TitleCache());
}

TEST_F(DriveTablesTest, AFailedTitleCacheWriteLeavesTheOldFile) {
  folder.put("catdrv.ccz", "OLD\r\n");
  TitleCache cache;
  cache.setTitle('A', u"NEW");
  faulty.fail(Op::Write, ENOSPC);

  EXPECT_EQ(cache.write(faulty, program()).code, ENOSPC);
  EXPECT_EQ(folder.get("catdrv.ccz"), "OLD\r\n");

  EXPECT_FALSE(cache.write(faulty, program()));
  EXPECT_EQ(folder.get("catdrv.ccz"), cache.encode());
  EXPECT_FALSE(folder.there("CATDRV.CCZ"));
}

}  // namespace
}  // namespace zevro
