#include "core/IconTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>

#include "CatalogTestFiles.h"
#include "StripBitmap.h"
#include "TempFolder.h"
#include "core/CatalogList.h"
#include "core/Strings.h"
#include "platform/FaultyFileSystem.h"
#include "platform/LinuxFileSystem.h"

namespace zevro {
namespace {

using Op = FaultyFileSystem::Op;
constexpr std::int64_t Second = 1'000'000'000;

// 2024-01-31 14:59:59 UTC.
constexpr std::int64_t LastJanuaryAfternoon = 1706713199;

IconTable standardTable() {
  IconTable table;
  table.BuildStandardTables();
  return table;
}

// --- The standard tables -----------------------------------------------------

TEST(IconTableStandard, TableTextStartsEndsAndListsAlternativeSpellings) {
  const Text& types = IconTable::standardTypes();
  EXPECT_TRUE(types.starts_with(u"010.3GP|011.AA3|012.ADE|"));
  EXPECT_TRUE(types.ends_with(u"193.MPO|194.GIN|"));
  for (const char16_t* pair :
       {u"073.HTM|073.HTML|", u"082.JPG|082.JPEG|", u"101.MID|101.MIDI|", u"113.MPEG|113.MPG|", u"129.PIC|129.PICT|",
        u"143.SHTM|143.SHTML|", u"150.TIF|150.TIFF|", u"160.WAV|160.WAVE|"})
    EXPECT_NE(types.find(pair), Text::npos) << toUtf8(pair);
  // 185 codes, 8 of them with a second spelling: 193 entries.
  EXPECT_EQ(std::count(types.begin(), types.end(), u'|'), 193);
}

TEST(IconTableStandard, IconCodeOfListedAndUnlistedExtensionsInAnyCase) {
  const IconTable table = standardTable();
  struct Row {
    const char16_t* extension;
    int code;
  } rows[] = {
      {u"jpeg", 82}, {u"JPEG", 82}, {u"Jpg", 82},         {u"HTML", 73},  {u"htm", 73},   {u"tar", 149},
      {u"3gp", 10},  {u"GIN", 194}, {u"c", 32},           {u"TIFF", 150}, {u"mp3", 109},  {u"zip", 171},
      {u"xyz", 6},   {u"", 6},      {u"HTM|073.HTML", 6}, {u"TAR.GZ", 6}, {u"ＪＰＧ", 6},
  };
  for (const Row& row : rows) EXPECT_EQ(table.IconCodeOf(row.extension), row.code) << toUtf8(row.extension);
}

TEST(IconTableStandard, ACodeThatDoesNotFitAKindByteCountsAsUnlisted) {
  IconTable table;
  table.setTypes(u"255.TOP|300.BIG|");
  EXPECT_EQ(table.IconCodeOf(u"top"), 255);
  EXPECT_EQ(table.IconCodeOf(u"big"), 6);
}

TEST(IconTableStandard, IconMapGivesEveryStandardTypeAnIcon) {
  const IconTable::IconMap& map = IconTable::standardIconMap();
  struct Row {
    int kind;
    int icon;
  } rows[] = {
      {0, 0},    {1, 1},    {5, 5},    {6, 6},   {7, 0},    {9, 0},    {10, 28}, {12, 6},  {82, 7},
      {106, 26}, {109, 26}, {171, 18}, {149, 6}, {193, 46}, {194, 20}, {195, 0}, {255, 0},
  };
  for (const Row& row : rows) EXPECT_EQ(map[static_cast<std::size_t>(row.kind)], row.icon) << row.kind;
  for (int kind = 10; kind <= 194; ++kind) EXPECT_GE(map[static_cast<std::size_t>(kind)], 6) << kind;
}

TEST(IconTableStandard, BuildStandardTablesFillsOnlyWhatIsMissing) {
  IconTable user;
  user.setTypes(u"010.ABC|");
  user.iconMap()[1] = 9;
  user.iconMap()[10] = 3;
  user.BuildStandardTables();
  EXPECT_EQ(user.types(), u"010.ABC|");
  EXPECT_EQ(user.iconMap()[10], 3);

  IconTable emptyMap;
  emptyMap.setTypes(u"010.ABC|");
  emptyMap.BuildStandardTables();
  EXPECT_EQ(emptyMap.types(), u"010.ABC|");
  EXPECT_EQ(emptyMap.iconMap(), IconTable::standardIconMap());
  EXPECT_EQ(emptyMap.stamp(), IconTable::NoStamp);
}

// --- Stamps ----------------------------------------------------------------------

TEST(IconTableStamp, FileTimesAsNineHoursAheadOfUtc) {
  struct Row {
    std::int64_t seconds;
    const char16_t* stamp;
  } rows[] = {
      {LastJanuaryAfternoon, u"240131235959"},
      {LastJanuaryAfternoon + 1, u"240201000000"},  // 15:00 UTC is the next day
      {1709218800, u"240301000000"},                // after 29 February of a leap year
      {1704034800 - 1, u"231231235959"},            // the year rolls over at 15:00 UTC
      {0, u"700101090000"},
  };
  for (const Row& row : rows)
    EXPECT_EQ(IconTable::stampOf(row.seconds * Second + 999'999'999, IconTable::Clock::JapanTime), row.stamp)
        << row.seconds;
}

TEST(IconTableStamp, MachineTimeFollowsTheTimeZone) {
  const char* old = std::getenv("TZ");
  const std::string saved = old ? old : "";
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  const Text stamp = IconTable::stampOf(LastJanuaryAfternoon * Second, IconTable::Clock::MachineTime);
  if (old)
    ::setenv("TZ", saved.c_str(), 1);
  else
    ::unsetenv("TZ");
  ::tzset();
  EXPECT_EQ(stamp, u"240131145959");
}

// --- IconList.CCZ ------------------------------------------------------------------

class IconTableFileTest : public ::testing::Test {
protected:
  IconTableFileTest() : faulty(disk) {}
  NativePath program() const { return folder.root(); }
  NativePath file() const { return folder.path("IconList.CCZ"); }

  test::TempFolder folder{"zevro-icons"};
  LinuxFileSystem disk;
  FaultyFileSystem faulty;
};

TEST_F(IconTableFileTest, SaveAndLoadRoundTripByteForByteWithTheFileTimeAsStamp) {
  IconTable table = standardTable();
  table.setTypes(table.types() + u"195.7Z|");
  table.iconMap()[195] = 6;
  table.iconMap()[109] = 47;
  ASSERT_FALSE(table.SaveIcons(faulty, program()));

  const std::string bytes = folder.get("IconList.CCZ");
  EXPECT_EQ(bytes.size(), 256 + 4 + table.types().size());
  EXPECT_EQ(bytes.substr(0, 256), std::string(table.iconMap().begin(), table.iconMap().end()));
  EXPECT_EQ(bytes.substr(256, 4), std::to_string(table.types().size()));
  EXPECT_EQ(bytes.substr(260), narrowAscii(table.types()));
  EXPECT_NE(table.stamp(), IconTable::NoStamp);

  ASSERT_FALSE(disk.setModified(file(), LastJanuaryAfternoon * Second));
  IconTable back;
  EXPECT_TRUE(back.loadUserTable(faulty, program()));
  EXPECT_EQ(back.types(), table.types());
  EXPECT_EQ(back.iconMap(), table.iconMap());
  EXPECT_EQ(back.stamp(), u"240131235959");
  EXPECT_EQ(back.IconCodeOf(u"7z"), 195);
}

TEST_F(IconTableFileTest, ADamagedFileGivesTheWholeStandardSet) {
  const std::string map(256, '\x01');
  struct Row {
    const char* what;
    std::string bytes;
  } rows[] = {
      {"shorter than the map", std::string(100, '\x01')},
      {"length not digits", map + "12a4" + std::string(1234, 'x')},
      {"length beyond the file", map + "0016" + "010.ABC|"},
      {"entry without code", map + "0008" + "ABC.DEF|"},
      {"entry without closing bar", map + "0007" + "010.ABC"},
      {"code beyond a byte", map + "0008" + "256.ABC|"},
      {"empty extension", map + "0005" + "010.|"},
  };
  for (const Row& row : rows) {
    folder.put("IconList.CCZ", row.bytes);
    IconTable table;
    table.setTypes(u"010.OLD|");
    table.iconMap()[1] = 9;

    EXPECT_FALSE(table.loadUserTable(faulty, program())) << row.what;

    EXPECT_EQ(table.types(), IconTable::standardTypes()) << row.what;
    EXPECT_EQ(table.iconMap(), IconTable::standardIconMap()) << row.what;
    EXPECT_EQ(table.stamp(), IconTable::NoStamp) << row.what;
  }
}

TEST_F(IconTableFileTest, WithoutAFileTheTablesStayAndTheStampIsBlank) {
  IconTable table = standardTable();
  table.setTypes(u"010.OLD|");

  EXPECT_FALSE(table.loadUserTable(faulty, program()));

  EXPECT_EQ(table.types(), u"010.OLD|");
  EXPECT_EQ(table.stamp(), IconTable::NoStamp);
}

TEST_F(IconTableFileTest, AFailedSaveKeepsTheOldFileAndStamp) {
  IconTable table = standardTable();
  ASSERT_FALSE(table.SaveIcons(faulty, program()));
  ASSERT_FALSE(disk.setModified(file(), LastJanuaryAfternoon * Second));
  ASSERT_TRUE(table.loadUserTable(faulty, program()));
  const std::string before = folder.get("IconList.CCZ");

  table.setTypes(table.types() + u"195.7Z|");
  faulty.fail(Op::Write, ENOSPC);
  EXPECT_EQ(table.SaveIcons(faulty, program()).code, ENOSPC);

  EXPECT_EQ(folder.get("IconList.CCZ"), before);
  EXPECT_EQ(table.stamp(), u"240131235959");
}

TEST(IconTableBitmap, OnlyAWholeStripOfIconsCounts) {
  struct Row {
    const char* what;
    std::string bytes;
    int icons;
  } rows[] = {
      {"46 icons", test::bitmapBytes(32, 46 * 16), 46},
      {"top-down rows", test::bitmapBytes(32, -47 * 16), 47},
      {"32-bit pixels", test::bitmapBytes(32, 16, 0, 32), 1},
      {"255 icons", test::bitmapBytes(32, 255 * 16), 255},
      {"256 icons: more than a byte counts", test::bitmapBytes(32, 256 * 16), 0},
      {"not 32 wide", test::bitmapBytes(16, 46 * 16), 0},
      {"not whole icons", test::bitmapBytes(32, 46 * 16 + 3), 0},
      {"pixels cut short", test::bitmapBytes(32, 46 * 16, 10), 0},
      {"header only", test::bitmapBytes(32, 46 * 16).substr(0, 30), 0},
      {"not a bitmap", "GIF89a" + std::string(100, '\0'), 0},
      {"empty", "", 0},
  };
  for (const Row& r : rows) EXPECT_EQ(IconTable::bitmapStripIcons(r.bytes), r.icons) << r.what;
}

TEST_F(IconTableFileTest, UserIconsNeedBothFilesWholeOrTheStandardSetIsUsed) {
  IconTable user = standardTable();
  user.setTypes(user.types() + u"195.7Z|");
  user.iconMap()[109] = 47;
  const std::string table = IconTable::encodeFile(user.iconMap(), user.types());
  const NativePath picture = folder.path("MarkIcon.BMP");
  struct Row {
    const char* what;
    std::optional<std::string> tableFile;
    std::optional<std::string> pictureFile;
    NativePath option;
    int icons;  // 0: the standard set
  } rows[] = {
      {"both whole", table, test::bitmapBytes(32, 47 * 16), picture, 47},
      {"no option", table, test::bitmapBytes(32, 47 * 16), {}, 0},
      {"no picture", table, std::nullopt, picture, 0},
      {"no table", std::nullopt, test::bitmapBytes(32, 47 * 16), picture, 0},
      {"table cut short", table.substr(0, 300), test::bitmapBytes(32, 47 * 16), picture, 0},
      {"picture cut short", table, test::bitmapBytes(32, 47 * 16, 100), picture, 0},
      {"picture not a strip", table, std::string("BM") + std::string(60, '\0'), picture, 0},
      {"picture lacks icon 47 the map draws", table, test::bitmapBytes(32, 46 * 16), picture, 0},
  };
  for (const Row& r : rows) {
    ::unlink(file().c_str());
    ::unlink(picture.c_str());
    if (r.tableFile) folder.put("IconList.CCZ", *r.tableFile);
    if (r.pictureFile) folder.put("MarkIcon.BMP", *r.pictureFile);
    IconTable loaded;

    EXPECT_EQ(loaded.LoadIcons(faulty, program(), r.option), r.icons) << r.what;

    if (r.icons > 0) {
      EXPECT_EQ(loaded.types(), user.types()) << r.what;
      EXPECT_EQ(loaded.iconMap(), user.iconMap()) << r.what;
      EXPECT_NE(loaded.stamp(), IconTable::NoStamp) << r.what;
    } else {
      EXPECT_EQ(loaded.types(), IconTable::standardTypes()) << r.what;
      EXPECT_EQ(loaded.iconMap(), IconTable::standardIconMap()) << r.what;
      EXPECT_EQ(loaded.stamp(), IconTable::NoStamp) << r.what;
    }
  }
}

// --- Re-deriving kind codes ----------------------------------------------------------

struct StoreRow {
  const char16_t* name;
  const char16_t* mediumName;
  int kind;
  int level;
};

RowStore storeOf(std::initializer_list<StoreRow> rows) {
  RowStore store;
  catalog::makeCatalogList(store);
  for (const StoreRow& r : rows) {
    const Text record = catalog::buildRecord({r.name, u"", u"", u"", u"0", r.mediumName});
    EXPECT_TRUE(store.appendShown(record, 0, 0, r.kind, r.level));
  }
  return store;
}

std::vector<int> kindsOf(const RowStore& store) {
  std::vector<int> kinds;
  for (int row = 0; row < store.rowCount(); ++row) kinds.push_back(store.kind(row));
  return kinds;
}

TEST(ReDeriveKinds, FileRowsTakeTheKindOfTheirExtension) {
  RowStore store = storeOf({
      {u"GAMES", u"", catalog::KindTitleCD, 0},
      {u"DOCS", u"", catalog::KindFolder, 1},
      {u"ARCHIVE.ZIP", u"", catalog::KindArchiveFolder, 2},
      {u"SETUP.EX_", u"", 173, 2},
      {u"README", u"", 153, 2},
      {u"ARCHIVE.TAR", u"", 6, 2},
      {u"PHOTO", u"PHOTO.JPG", 6, 2},
      {u"PHOTO", u"PHOTO.", 82, 2},
      {u"a.jpeg", u"", 6, 2},
      {u"main.c", u"", 6, 2},
      {u"NOTE.HTML", u"", 6, 2},
      {u"X.LONGEXT", u"", 6, 2},
      {u"OLD.TXT", u"", 11, 2},  // a file coded 11 under another table is not a folder here
  });
  Text stamp = u"240101000000";
  const IconTable table = standardTable();

  ReDeriveKinds(store, table, stamp);

  EXPECT_EQ(kindsOf(store), (std::vector<int>{2, 1, 5, 6, 6, 149, 82, 6, 82, 32, 73, 6, 153}));
  EXPECT_EQ(stamp, IconTable::NoStamp);
}

TEST(ReDeriveKinds, DataOlderThanStampsMovesFolderCodesDown) {
  RowStore store = storeOf({
      {u"GAMES", u"", 11, 0},
      {u"DOCS", u"", 10, 1},
      {u"ARCHIVE", u"", 13, 2},
      {u"MANUAL.TXT", u"", 12, 2},  // 12 is a folder code in such data, whatever the name
      {u"PIC.JPG", u"", 0, 2},
      {u"NOTES.DOC", u"", 3, 2},
  });
  Text stamp;
  ReDeriveKinds(store, standardTable(), stamp);

  EXPECT_EQ(kindsOf(store), (std::vector<int>{2, 1, 4, 3, 82, 52}));
}

TEST(ReDeriveKinds, AReDeriveGivesTheKindTheReadingGaveUnderTheSameTable) {
  // The last "." among the last six characters starts the extension, as
  // when the medium was read; a name whose own extension is not found
  // falls back to its medium name's.
  RowStore store = storeOf({
      {u"A.B.C", u"", 6, 1},
      {u"SONG.V2.MP3", u"", 6, 1},
      {u"PAGE.OLD.HTML", u"", 6, 1},
      {u"X.Y", u"", 153, 1},
      {u"RENAMED", u"ORIG.1.JPEG", 6, 1},
  });
  Text stamp = u"240101000000";
  ReDeriveKinds(store, standardTable(), stamp);
  EXPECT_EQ(kindsOf(store), (std::vector<int>{32, 109, 73, 6, 82}));
}

TEST(ReDeriveKinds, EveryRowGetsWhatIconCodeOfSaysForItsExtensionWhateverTheTable) {
  // Plain tables are looked up by hash, others searched as IconCodeOf does:
  // the answers are the same.
  const Text tables[] = {
      IconTable::standardTypes(),
      u"010.写真|011.TXT|",               // an extension that is not ASCII
      u"junk010.TXT|011.A.B|012.LONGEXTEN|",  // not a plain list of entries
      u"010.TXT|010.TEXT|011.TXT|",         // the first entry of a spelling counts
      u"",
  };
  const TextView names[] = {u"A.TXT", u"b.txt", u"C.写真", u"D.TEXT", u"E.B", u"F.B|C", u"G.", u"H", u"I.JPEG", u"J.x"};
  for (const Text& types : tables) {
    IconTable table;
    table.setTypes(types);
    RowStore store;
    catalog::makeCatalogList(store);
    for (TextView name : names)
      store.appendShown(catalog::buildRecord({name, u"", u"", u"", u"0"}), 0, 0, 6, 1);
    Text stamp = u"240101000000";
    ReDeriveKinds(store, table, stamp);
    for (int row = 0; row < store.rowCount(); ++row) {
      const Text name = store.field(catalog::FieldName, row);
      EXPECT_EQ(store.kind(row), table.IconCodeOf(extensionOf(name))) << toUtf8(name) << " in " << toUtf8(types);
    }
  }
}

TEST(ReDeriveKinds, BlankStampOfStandardIconsIsNotTheEmptyStampOfOldData) {
  // Saved with the standard icons (12 blanks): codes 10 to 13 are file
  // types (3GP, AA3, ADE, ADN), never folders to move down.
  RowStore store = storeOf({
      {u"CLIP.3GP", u"", 10, 1},
      {u"TUNE.AA3", u"", 11, 1},
      {u"FORM.ADE", u"", 12, 1},
      {u"DATA.ADN", u"", 13, 1},
      {u"DOCS", u"", catalog::KindFolder, 1},
  });
  Text stamp(IconTable::NoStamp);
  IconTable user = standardTable();
  user.setTypes(user.types() + u"195.7Z|");  // a table of another stamp

  ReDeriveKinds(store, user, stamp);

  EXPECT_EQ(kindsOf(store), (std::vector<int>{10, 11, 12, 13, 1}));
}

TEST(ReDeriveKinds, ATableCodeOfAFolderKindIsUsedAfterTheWarning) {
  IconTable table;
  table.setTypes(u"003.ODD|200.NEW|");
  RowStore store = storeOf({{u"A.ODD", u"", 6, 1}, {u"B.NEW", u"", 6, 1}, {u"C.TXT", u"", 153, 1}});
  std::vector<std::pair<int, int>> warnings;
  Text stamp = u"240101000000";

  ReDeriveKinds(store, table, stamp, [&](int row, int code) { warnings.emplace_back(row, code); });

  EXPECT_EQ(kindsOf(store), (std::vector<int>{3, 200, 6}));
  EXPECT_EQ(warnings, (std::vector<std::pair<int, int>>{{0, 3}}));
}

}  // namespace
}  // namespace zevro
