#include "TempFolder.h"
#include "media/FolderWalker.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/types.h>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <map>

#include "core/CatalogList.h"
#include "core/Numbers.h"
#include "media/ExtensionGroups.h"
#include "media/ListTime.h"
#include "media/ThrottledPump.h"
#include "platform/FakeUi.h"
#include "platform/FaultyFileSystem.h"
#include "platform/LinuxFileSystem.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

namespace fs = std::filesystem;
using Zone = ListTime::Zone;

constexpr FileTime Second = 1'000'000'000;

// Seconds since 1970 of a UTC date and time.
FileTime utc(int year, int month, int day, int hour, int minute, int second = 0) {
  using namespace std::chrono;
  const sys_days d = year_month_day{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                                    std::chrono::day{static_cast<unsigned>(day)}};
  const std::int64_t s = d.time_since_epoch().count() * 86400LL + hour * 3600 + minute * 60 + second;
  return s * Second;
}

// TZ for one test, restored afterwards.
class ScopedTz {
public:
  explicit ScopedTz(const char* tz) {
    if (const char* old = std::getenv("TZ")) old_ = old, had_ = true;
    ::setenv("TZ", tz, 1);
    ::tzset();
  }
  ~ScopedTz() {
    if (had_)
      ::setenv("TZ", old_.c_str(), 1);
    else
      ::unsetenv("TZ");
    ::tzset();
  }

private:
  std::string old_;
  bool had_ = false;
};

// One catalog row as the tests compare it.
struct Row {
  int level;
  int kind;
  Text name;
  Text date;
  Text size;
  bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Row& r) {
  return os << r.level << " " << r.kind << " " << toUtf8(r.name) << " [" << toUtf8(r.date) << "] [" << toUtf8(r.size)
            << "]";
}

std::vector<Row> rowsOf(const RowStore& store) {
  std::vector<Row> rows;
  for (int r = 0; r < store.rowCount(); ++r)
    rows.push_back({store.level(r), store.kind(r), store.field(catalog::FieldName, r),
                    store.field(catalog::FieldDate, r), store.field(catalog::FieldSize, r)});
  return rows;
}

std::vector<Text> namesOf(const RowStore& store) {
  std::vector<Text> names;
  for (int r = 0; r < store.rowCount(); ++r) names.push_back(store.field(catalog::FieldName, r));
  return names;
}

// A file system whose listings report chosen entries with another time, as
// a damaged medium reports dates the test machine cannot store.
class RedatedFileSystem : public FaultyFileSystem {
public:
  using FaultyFileSystem::FaultyFileSystem;
  std::map<std::string, FileTime> times;  // entry name -> reported time
  std::vector<DirEntry> list(const NativePath& folder, IoError* error = nullptr) override {
    std::vector<DirEntry> entries = FaultyFileSystem::list(folder, error);
    for (DirEntry& e : entries)
      if (auto it = times.find(e.name); it != times.end()) e.modified = it->second;
    return entries;
  }
};

class FolderWalkerTest : public ::testing::Test, protected test::TempFolder {
protected:
  FolderWalkerTest() : TempFolder("zevro-walk") { icons.BuildStandardTables(); }

  // A file of `size` bytes written at `time`.
  void file(const std::string& relative, std::size_t size, FileTime time = utc(2020, 12, 31, 16, 30)) {
    put(relative, std::string(size, 'x'));
    ASSERT_FALSE(disk.setModified(path(relative), time));
  }
  void folder(const std::string& relative) { fs::create_directories(path(relative)); }

  bool walk(TextView logical = u"E:", TextView title = u"TITLE", FileSystem* fileSystem = nullptr) {
    FolderWalker walker(fileSystem ? *fileSystem : disk, ui, icons, options, callbacks, hooks);
    const bool ok = walker.WalkFolder(root(), logical, title, store);
    problems = walker.problems();
    cancelled = walker.cancelled();
    items = walker.itemCount();
    return ok;
  }

  int kindOf(TextView extension) const { return icons.IconCodeOf(extension); }

  LinuxFileSystem disk;
  FakeUi ui;
  IconTable icons;
  WalkOptions options{.sortOrder = WalkOrder::Name, .mediumKind = 3, .zone = Zone::Japan, .archives = false};
  WalkCallbacks callbacks;
  WalkHooks hooks;
  RowStore store;
  std::vector<WalkProblem> problems;
  bool cancelled = false;
  int items = 0;
};

// --- Rows, order, levels, sizes ---------------------------------------------

TEST_F(FolderWalkerTest, FilesComeBeforeSubfoldersDepthFirstWithLevels) {
  file("r.txt", 10);
  file("A/a1", 100);
  file("A/a2", 1'234'567);
  file("B/B1/b.dat", 5);
  file("RECYCLED/x", 7);
  file(".git/y", 9);

  ASSERT_TRUE(walk());
  const std::vector<Row> walked = {
      {0, catalog::KindTitleHD, u"TITLE", u"", u"10"},   {1, kindOf(u"txt"), u"r.txt", u"21/01/01 01:30", u"10"},
      {1, catalog::KindFolder, u"A", u"", u"1,234,667"}, {2, 6, u"a1", u"21/01/01 01:30", u"100"},
      {2, 6, u"a2", u"21/01/01 01:30", u"1,234,567"},    {1, catalog::KindFolder, u"B", u"", u"0"},
      {2, catalog::KindFolder, u"B1", u"", u"5"},        {3, kindOf(u"dat"), u"b.dat", u"21/01/01 01:30", u"5"},
  };
  EXPECT_EQ(rowsOf(store), walked);
  EXPECT_TRUE(problems.empty());

  // The size pass adds the folders below to each folder's own files.
  EXPECT_EQ(FolderWalker::AddFolderSizes(store), 1'234'682);
  std::vector<Row> sized = walked;
  sized[0].size = u"1,234,682";
  sized[5].size = u"5";
  EXPECT_EQ(rowsOf(store), sized);
}

// A medium is one file system: a file system mounted inside it (like /proc
// below "/") and a folder reached a second time (a bind mount) keep their
// rows but are not entered.
TEST_F(FolderWalkerTest, TheWalkStaysOnTheMediumsFileSystemAndEntersAFolderOnce) {
  file("A/a1", 100);
  file("MNT/m", 5);
  file("MNT/deeper/d", 6);
  file("SAME/s", 7);
  FaultyFileSystem faulty(disk);
  faulty.setDevice(path("MNT"), 4242);
  faulty.setAlias(path("SAME"), path("A"));

  ASSERT_TRUE(walk(u"E:", u"TITLE", &faulty));
  const std::vector<Row> walked = {
      {0, catalog::KindTitleHD, u"TITLE", u"", u"0"},  {1, catalog::KindFolder, u"A", u"", u"100"},
      {2, 6, u"a1", u"21/01/01 01:30", u"100"},        {1, catalog::KindFolder, u"MNT", u"", u"0"},
      {1, catalog::KindFolder, u"SAME", u"", u"0"},
  };
  EXPECT_EQ(rowsOf(store), walked);
  EXPECT_TRUE(problems.empty());
}

TEST_F(FolderWalkerTest, RecordsEndWithTheFifthMarkerAndCarryFlagZero) {
  file("DOCS/MANUAL.TXT", 1234);
  ASSERT_TRUE(walk(u"E:", u"DISC"));
  FolderWalker::AddFolderSizes(store);
  ASSERT_EQ(store.rowCount(), 3);
  EXPECT_EQ(store.record(0), Text(u"\x10"
                                  u"DISC\x11\x12\x13"
                                  u"1,234\x14"
                                  u"0\x15"));
  EXPECT_EQ(store.record(1), Text(u"\x10"
                                  u"DOCS\x11\x12\x13"
                                  u"1,234\x14"
                                  u"0\x15"));
  EXPECT_EQ(store.record(2), Text(u"\x10MANUAL.TXT\x11\x12"
                                  u"21/01/01 01:30\x13"
                                  u"1,234\x14"
                                  u"0\x15"));
  EXPECT_EQ(store.heap().back(), ch::Null);
  EXPECT_EQ(store.colour(1), catalog::colourIndexFor(catalog::KindFolder, 1));
}

TEST_F(FolderWalkerTest, TitleLineKindFollowsTheMediumKind) {
  file("a", 1);
  const int kinds[][2] = {{1, catalog::KindTitleCD}, {2, catalog::KindTitleFD}, {3, catalog::KindTitleHD}};
  for (const auto& [medium, titleKind] : kinds) {
    store.clear();
    options.mediumKind = medium;
    ASSERT_TRUE(walk());
    EXPECT_EQ(store.kind(0), titleKind) << medium;
  }
}

TEST_F(FolderWalkerTest, SizeTextsHaveThousandsCommas) {
  const struct {
    const char* name;
    std::uint64_t size;
    const char16_t* text;
  } rows[] = {
      {"a", 0, u"0"},
      {"b", 999, u"999"},
      {"c", 1000, u"1,000"},
      {"d", 1'234'567, u"1,234,567"},
      {"e", 10'000'000'000ULL, u"10,000,000,000"},  // beyond the ten digits of the old field
  };
  for (const auto& row : rows) {
    put(row.name, "");
    fs::resize_file(path(row.name), row.size);  // sparse: no disk space needed
  }
  ASSERT_TRUE(walk());
  for (std::size_t i = 0; i < std::size(rows); ++i)
    EXPECT_EQ(store.field(catalog::FieldSize, static_cast<int>(i) + 1), rows[i].text);
}

TEST_F(FolderWalkerTest, FolderTotalsAreTheSumsOfTheFilesBelowThem) {
  // A tree of uneven depth: totals must not leak between siblings.
  std::map<std::string, std::int64_t> expected;  // folder -> total below it
  const struct {
    const char* path;
    std::size_t size;
  } files[] = {
      {"top.bin", 3},    {"A/a.bin", 11}, {"A/B/b.bin", 13},     {"A/B/C/c.bin", 17}, {"A/B/C/c2.bin", 19},
      {"A/D/d.bin", 23}, {"E/e.bin", 29}, {"E/F/G/H/h.bin", 31}, {"I/i.bin", 0},
  };
  std::int64_t all = 0;
  for (const auto& f : files) {
    file(f.path, f.size);
    all += static_cast<std::int64_t>(f.size);
    for (fs::path p = fs::path(f.path).parent_path(); !p.empty(); p = p.parent_path())
      expected[p.filename().native()] += static_cast<std::int64_t>(f.size);
  }
  folder("J/K");  // empty folders total 0
  ASSERT_TRUE(walk());
  EXPECT_EQ(FolderWalker::AddFolderSizes(store), all);
  EXPECT_EQ(store.field(catalog::FieldSize, 0), groupedNumber(all));
  for (int r = 1; r < store.rowCount(); ++r) {
    if (store.kind(r) != catalog::KindFolder) continue;
    const std::string name = toUtf8(store.field(catalog::FieldName, r));
    EXPECT_EQ(store.field(catalog::FieldSize, r), groupedNumber(expected[name])) << name;
  }
}

TEST(FolderSizes, NestedFolderRowsAddUpByLevelAndKeepTheModifiedMark) {
  RowStore store;
  catalog::makeCatalogList(store);
  const struct {
    int level;
    int kind;
    const char16_t* size;
    const char16_t* after;
  } rows[] = {
      {0, catalog::KindTitleCD, u"1", u"1,111,111"},
      {1, catalog::KindFolder, u"10", u"1,110"},
      {2, 6, u"999,999", u"999,999"},  // files keep their size and count through their folder
      {2, catalog::KindFolder, u"100", u"1,100"},
      {4, catalog::KindFolder, u"1,000", u"1,000"},  // two levels deeper still belongs to the folder above
      {1, catalog::KindFolder, u"", u"1,110,000"},
      {2, catalog::KindFolder, u"1,110,000", u"1,110,000"},
  };
  for (const auto& row : rows)
    ASSERT_TRUE(store.appendShown(catalog::buildRecord({u"n", u"", u"", row.size, u"0"}), 0, 0, row.kind, row.level));
  store.setModified(true);
  EXPECT_EQ(FolderWalker::AddFolderSizes(store), 1'111'111);
  for (std::size_t i = 0; i < std::size(rows); ++i)
    EXPECT_EQ(store.field(catalog::FieldSize, static_cast<int>(i)), rows[i].after) << i;
  EXPECT_TRUE(store.modified());
  EXPECT_EQ(store.rowCount(), static_cast<int>(std::size(rows)));
}

TEST(FolderSizes, DamagedSizeTextsStopAtTheLargestValue) {
  RowStore store;
  catalog::makeCatalogList(store);
  for (const char16_t* size : {u"1", u"99,999,999,999,999,999,999,999", u"9,223,372,036,854,775,807"})
    ASSERT_TRUE(store.appendShown(catalog::buildRecord({u"n", u"", u"", size, u"0"}), 0, 0, catalog::KindFolder,
                                  store.rowCount() == 0 ? 0 : 1));
  EXPECT_EQ(FolderWalker::AddFolderSizes(store), std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(store.field(catalog::FieldSize, 0), u"9,223,372,036,854,775,807");
}

// --- List time --------------------------------------------------------------

TEST(ListTimeTest, NineHoursAfterUtcAcrossDayMonthAndYearEnds) {
  const struct {
    FileTime time;
    const char16_t* text;
  } rows[] = {
      {utc(2020, 12, 31, 16, 30, 59), u"21/01/01 01:30"},  // seconds dropped, new year
      {utc(2020, 12, 31, 14, 59), u"20/12/31 23:59"},     {utc(2024, 2, 28, 15, 0), u"24/02/29 00:00"},  // leap day
      {utc(2023, 2, 28, 15, 0), u"23/03/01 00:00"},       {utc(1999, 12, 31, 15, 0), u"00/01/01 00:00"},
      {utc(1969, 12, 31, 14, 0, 30), u"69/12/31 23:00"},  // before 1970
      {utc(2038, 1, 19, 3, 14, 8), u"38/01/19 12:14"},    // past 32-bit seconds
  };
  ScopedTz tz("UTC0");  // the shift never depends on the machine's zone
  for (const auto& row : rows) EXPECT_EQ(ListTime::of(row.time, Zone::Japan).rowText(), row.text) << toUtf8(row.text);
}

TEST(ListTimeTest, MachineZoneFollowsTz) {
  const FileTime t = utc(2020, 12, 31, 16, 30);
  const struct {
    const char* tz;
    const char16_t* text;
  } rows[] = {{"UTC0", u"20/12/31 16:30"}, {"JST-9", u"21/01/01 01:30"}, {"EST5", u"20/12/31 11:30"}};
  for (const auto& row : rows) {
    ScopedTz tz(row.tz);
    EXPECT_EQ(ListTime::of(t, Zone::Machine).rowText(), row.text) << row.tz;
  }
}

TEST_F(FolderWalkerTest, FileRowsShowListTimeInTheChosenZone) {
  file("late.txt", 1, utc(2020, 12, 31, 16, 30));
  ScopedTz tz("UTC0");
  ASSERT_TRUE(walk());
  EXPECT_EQ(store.field(catalog::FieldDate, 1), u"21/01/01 01:30");
  store.clear();
  options.zone = Zone::Machine;
  ASSERT_TRUE(walk());
  EXPECT_EQ(store.field(catalog::FieldDate, 1), u"20/12/31 16:30");
}

// --- What is left out ---------------------------------------------------------

TEST_F(FolderWalkerTest, SkipRulesForRecycledDotFoldersAndTheTitleFile) {
  file("VOLNAME.TXT", 1);
  file("VolName.txt", 1);  // only the first title file in listing order is skipped
  file("volname.dat", 1);  // lower-case first letter: an ordinary file
  file(".profile", 1);     // dot files stay; only dot folders go
  file("RECYCLED/x", 1);
  file("Recycled/y", 1);
  file(".cache/z", 1);
  file("SUB/VolName.txt", 1);  // not at the root
  ASSERT_TRUE(walk(u"E:"));
  EXPECT_EQ(namesOf(store), (std::vector<Text>{u"TITLE", u".profile", u"volname.dat", u"VolName.txt", u"Recycled", u"y",
                                               u"SUB", u"VolName.txt"}));
}

TEST_F(FolderWalkerTest, TitleFileOfAFolderReadAsTheMediumIsListed) {
  file("VolName.txt", 1);
  file("VOLNAME.DAT", 1);
  ASSERT_TRUE(walk(u"E:\\DOCS"));
  EXPECT_EQ(namesOf(store), (std::vector<Text>{u"TITLE", u"VOLNAME.DAT", u"VolName.txt"}));
}

// --- Sort orders ----------------------------------------------------------------

TEST_F(FolderWalkerTest, SortOrdersByNameExtensionAndKind) {
  for (const char* name : {"b.txt", "a.zip", "c", "D.JPG", "e.xyz", "f.Txt", "g.doc", "B.TXT"}) file(name, 1);
  const struct {
    WalkOrder order;
    std::vector<Text> names;
  } rows[] = {
      {WalkOrder::Name, {u"TITLE", u"a.zip", u"B.TXT", u"b.txt", u"c", u"D.JPG", u"e.xyz", u"f.Txt", u"g.doc"}},
      {WalkOrder::Extension, {u"TITLE", u"c", u"g.doc", u"D.JPG", u"B.TXT", u"b.txt", u"f.Txt", u"e.xyz", u"a.zip"}},
      // doc 00, txt 10, jpg 50, zip 97, unlisted (xyz, none) 99
      {WalkOrder::Kind, {u"TITLE", u"g.doc", u"B.TXT", u"b.txt", u"f.Txt", u"D.JPG", u"a.zip", u"c", u"e.xyz"}},
  };
  for (const auto& row : rows) {
    store.clear();
    options.sortOrder = row.order;
    ASSERT_TRUE(walk());
    EXPECT_EQ(namesOf(store), row.names) << "order " << optionValue(row.order);
  }
}

// A folder whose listing is in the wanted order already (one case, one
// extension), and one that is not, come out alike.
TEST_F(FolderWalkerTest, FilesInTheirOrderAlreadyAndOutOfItAreOrderedAlike) {
  const struct {
    const char* name;
    std::vector<const char*> files;
    WalkOrder order;
    std::vector<Text> names;
  } rows[] = {
      {"in order", {"p-10.jpeg", "p-2.jpeg", "p-1.jpeg", "q.jpeg"}, WalkOrder::Kind,
       {u"TITLE", u"p-1.jpeg", u"p-10.jpeg", u"p-2.jpeg", u"q.jpeg"}},
      {"in order by name", {"b", "a10", "a1"}, WalkOrder::Name, {u"TITLE", u"a1", u"a10", u"b"}},
      {"out of order", {"p-2.jpeg", "P-1.JPEG", "p-1.jpeg", "Q.jpeg"}, WalkOrder::Kind,
       {u"TITLE", u"P-1.JPEG", u"p-1.jpeg", u"p-2.jpeg", u"Q.jpeg"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    for (const auto& e : fs::directory_iterator(root())) fs::remove_all(e.path());
    for (const char* name : row.files) file(name, 1);
    store.clear();
    options.sortOrder = row.order;
    ASSERT_TRUE(walk());
    EXPECT_EQ(namesOf(store), row.names);
  }
}

TEST_F(FolderWalkerTest, SubfoldersInCaseInsensitiveOrder) {
  for (const char* name : {"b", "A", "C", "a2"}) folder(name);
  ASSERT_TRUE(walk());
  EXPECT_EQ(namesOf(store), (std::vector<Text>{u"TITLE", u"A", u"a2", u"b", u"C"}));
}

TEST(FolderWalkerSortKey, KeysOfTheThreeOrders) {
  const struct {
    const char16_t* name;
    WalkOrder order;
    const char16_t* key;
  } rows[] = {
      {u"b.txt", WalkOrder::Name, u"b.txt"},
      {u"b.txt", WalkOrder::Extension, u"txt.b"},
      {u"c", WalkOrder::Extension, u".c"},
      {u"a.zip", WalkOrder::Kind, u"97:zip.a"},
      {u"c", WalkOrder::Kind, u"99:.c"},
      {u"x.tar.gz", WalkOrder::Extension, u"gz.x.tar"},
      {u"x.config", WalkOrder::Extension, u".x.config"},  // a "." further than six from the end starts no extension
      {u"slk.SLK", WalkOrder::Kind, u"40:SLK.slk"},
  };
  for (const auto& row : rows) EXPECT_EQ(FolderWalker::sortKey(row.name, row.order), row.key) << toUtf8(row.name);
}

TEST(ExtensionGroupsTest, GroupOfListedAndUnlistedExtensions) {
  const struct {
    const char16_t* extension;
    const char16_t* group;
  } rows[] = {
      {u"DOC", u"00"},  {u"txt", u"10"},  {u"Me", u"13"}, {u"html", u"20"}, {u"SLK", u"40"},
      {u"jpeg", u"50"}, {u"OML2", u"65"}, {u"c", u"87"},  {u"h", u"88"},    {u"zip", u"97"},
      {u"BAT", u"98"},  {u"xyz", u"99"},  {u"", u"99"},   {u"C|", u"99"},   {u"ＴＸＴ", u"99"},
  };
  for (const auto& row : rows) EXPECT_EQ(ExtensionGroups::groupOf(row.extension), row.group) << toUtf8(row.extension);
  EXPECT_TRUE(ExtensionGroups::table().starts_with(u"00.DOC|01.DOT|"));
  EXPECT_TRUE(ExtensionGroups::table().ends_with(u"98.EXE|98.BAT|"));
}

// --- Dates before 1900 ----------------------------------------------------------

TEST_F(FolderWalkerTest, FolderWithAnEntryBefore1900IsReportedOnceAndLeftOut) {
  file("a.txt", 1);
  file("OLD/good.txt", 1);
  file("OLD/bad.txt", 1);
  file("OLD/DEEPER/z.txt", 1);
  file("NEXT/n.txt", 1);
  RedatedFileSystem redated(disk);
  redated.times["bad.txt"] = utc(1899, 12, 31, 14, 59);  // 23:59 on the last day of 1899
  ASSERT_TRUE(walk(u"E:", u"TITLE", &redated));
  EXPECT_EQ(namesOf(store), (std::vector<Text>{u"TITLE", u"a.txt", u"NEXT", u"n.txt"}));
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(ui.messages()[0], FolderWalker::badDateMessage(u"E:\\OLD"));
  EXPECT_EQ(ui.calls[0].flags, mb::Ok);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].kind, WalkProblem::Kind::BadDate);
}

TEST_F(FolderWalkerTest, SubfolderEntryBefore1900LeavesOutTheFolderListingIt) {
  file("a.txt", 1);
  file("P/Q/q.txt", 1);
  file("R/r.txt", 1);
  RedatedFileSystem redated(disk);
  redated.times["Q"] = utc(1800, 6, 1, 0, 0);
  ASSERT_TRUE(walk(u"E:", u"TITLE", &redated));
  EXPECT_EQ(namesOf(store), (std::vector<Text>{u"TITLE", u"a.txt", u"R", u"r.txt"}));
  EXPECT_EQ(ui.messages(), std::vector<Text>{FolderWalker::badDateMessage(u"E:\\P")});
}

TEST_F(FolderWalkerTest, YearLimitFollowsTheListTime) {
  const struct {
    FileTime time;
    bool listed;
  } rows[] = {
      {utc(1899, 12, 31, 15, 0), true},    // 1900-01-01 00:00 after the shift
      {utc(1899, 12, 31, 14, 59), false},  // still 1899
  };
  file("f.txt", 1);
  for (const auto& row : rows) {
    store.clear();
    RedatedFileSystem redated(disk);
    redated.times["f.txt"] = row.time;
    ASSERT_TRUE(walk(u"E:", u"TITLE", &redated));
    EXPECT_EQ(store.rowCount(), row.listed ? 2 : 0);
  }
}

TEST(FolderWalkerMessage, BadDateMessageMarksPathBoldAndColoursItsParts) {
  const Text m = FolderWalker::badDateMessage(u"E:\\OLD");
  EXPECT_TRUE(
      m.starts_with(Text(u"フォルダー \x08"
                         u"E:\\OLD\x07|に記録されたファイルは、\x05")));
  EXPECT_NE(m.find(Text(u"ありません。") + Text(1, u'\0') + u"||このフォルダーの情報は記録できません||\x03※"),
            Text::npos);
  EXPECT_TRUE(m.ends_with(u"|　　・CDならクリーニングを行なってみてください"));
}

// --- Walk safety ------------------------------------------------------------------

TEST_F(FolderWalkerTest, LinksAreFilesAndNeverFollowed) {
  file("A/a.txt", 1);
  fs::create_directory_symlink("..", path("A/loop"));
  fs::create_directory_symlink(path("A"), path("toA"));
  fs::create_symlink("a.txt", path("A/alias.txt"));
  ASSERT_TRUE(walk());
  const std::vector<Text> names = namesOf(store);
  EXPECT_EQ(names, (std::vector<Text>{u"TITLE", u"toA", u"A", u"a.txt", u"alias.txt", u"loop"}));
  // Recorded with the link's own size, at the level of a file.
  const int loopRow = 5;
  EXPECT_EQ(store.level(loopRow), 2);
  EXPECT_EQ(store.kind(loopRow), 6);
  EXPECT_EQ(store.field(catalog::FieldSize, loopRow), u"2");
}

// Records what the walk asked, to see what would be read.
class RecordingComments : public CommentSource {
public:
  std::vector<std::pair<Text, Text>> folders;  // path, candidates
  std::vector<std::pair<Text, bool>> files;    // name, regular
  Text folderComment;
  Text FolderComment(const FolderVisit& visit) override {
    folders.emplace_back(Text(visit.path), *visit.candidates);
    return folderComment;
  }
  Text FileComment(const FileVisit& visit) override {
    files.emplace_back(Text(visit.name), visit.regular);
    return u"c:" + Text(visit.name);
  }
};

TEST_F(FolderWalkerTest, FifoIsRecordedByNameAndNeverOpened) {
  ASSERT_EQ(::mkfifo(path("x.txt").c_str(), 0644), 0);
  file("readme", 1);
  RecordingComments comments;
  hooks.comments = &comments;
  ASSERT_TRUE(walk());  // opening the FIFO would block here for ever
  EXPECT_EQ(namesOf(store), (std::vector<Text>{u"TITLE", u"readme", u"x.txt"}));
  EXPECT_EQ(store.kind(2), kindOf(u"txt"));
  // The FIFO is no comment source, and the comment reader is told not to open it.
  EXPECT_EQ(comments.folders.at(0).second, u"\treadme\t");
  EXPECT_EQ(comments.files, (std::vector<std::pair<Text, bool>>{{u"readme", true}, {u"x.txt", false}}));
}

TEST_F(FolderWalkerTest, UnreadableFolderIsReportedAndTheWalkGoesOn) {
  file("A/a.txt", 1);
  file("B/b.txt", 2);
  file("B/C/c.txt", 3);
  file("D/d.txt", 4);
  FaultyFileSystem faulty(disk);
  faulty.fail(FaultyFileSystem::Op::List, EACCES, path("B"));
  ASSERT_TRUE(walk(u"E:", u"TITLE", &faulty));
  EXPECT_EQ(namesOf(store), (std::vector<Text>{u"TITLE", u"A", u"a.txt", u"B", u"D", u"d.txt"}));
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].kind, WalkProblem::Kind::Unreadable);
  EXPECT_EQ(problems[0].path, u"E:\\B");
  EXPECT_EQ(problems[0].error, LinuxFileSystem::errorOf(EACCES).text);
  EXPECT_TRUE(ui.messages().empty());
}

TEST_F(FolderWalkerTest, EntriesThatCannotBeLookedAtAreKeptAndReported) {
  // One failed look (a bad sector, a stale network handle) must never drop
  // a folder and everything below it without a word.
  file("A/a.txt", 1);
  file("B/b.txt", 2);
  file("B/C/c.txt", 3);
  file("D/d.txt", 4);
  file("e.txt", 5);
  struct Case {
    const char* name;
    const char* entry;  // the entry whose look fails
    int code;
    std::vector<Text> rows;
    std::vector<Text> problemPaths;  // the entries reported as NoDetails
  };
  const Case cases[] = {
      {"folder stays with its contents", "B", EIO,
       {u"TITLE", u"e.txt", u"A", u"a.txt", u"B", u"b.txt", u"C", u"c.txt", u"D", u"d.txt"},
       {u"E:\\B"}},
      {"file stays", "B/b.txt", EACCES,
       {u"TITLE", u"e.txt", u"A", u"a.txt", u"B", u"b.txt", u"C", u"c.txt", u"D", u"d.txt"},
       {u"E:\\B\\b.txt"}},
      {"a vanished entry is simply gone", "B/C", ENOENT,
       {u"TITLE", u"e.txt", u"A", u"a.txt", u"B", u"b.txt", u"D", u"d.txt"},
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FaultyFileSystem faulty(disk);
    faulty.fail(FaultyFileSystem::Op::ListEntry, c.code, path(c.entry));
    store = RowStore();
    ASSERT_TRUE(walk(u"E:", u"TITLE", &faulty));
    EXPECT_EQ(namesOf(store), c.rows);
    std::vector<Text> reported;
    for (const WalkProblem& p : problems) {
      EXPECT_EQ(p.kind, WalkProblem::Kind::NoDetails);
      EXPECT_EQ(p.error, LinuxFileSystem::errorOf(c.code).text);
      reported.push_back(p.path);
    }
    EXPECT_EQ(reported, c.problemPaths);
  }
}

TEST_F(FolderWalkerTest, DepthStopsAtLevel127) {
  std::string deep;
  for (int i = 0; i < 130; ++i) deep += "d/";
  folder(deep);
  put(deep + "bottom.txt", "x");
  put("top.txt", "x");
  ASSERT_TRUE(walk());
  // Folders at levels 1..127, their files never deeper than 127.
  EXPECT_EQ(store.rowCount(), 1 + 1 + 127);
  int deepest = 0;
  for (int r = 0; r < store.rowCount(); ++r) deepest = std::max(deepest, store.level(r));
  EXPECT_EQ(deepest, RowStore::MaxLevel);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].kind, WalkProblem::Kind::TooDeep);
  EXPECT_EQ(std::count(problems[0].path.begin(), problems[0].path.end(), u'\\'), 127);
}

TEST_F(FolderWalkerTest, NamesOutsideCp932AndControlCharactersSurviveInRecords) {
  put("a\x10"
      "b.txt",
      "1");
  put("\xff.bin", "22");
  put("😀.txt", "333");
  ASSERT_TRUE(walk());
  ASSERT_EQ(store.rowCount(), 4);
  for (int r = 1; r < 4; ++r) {
    const Text name = store.field(catalog::FieldName, r);
    EXPECT_FALSE(std::any_of(name.begin(), name.end(), record::isMarker)) << toUtf8(name);
    EXPECT_TRUE(fs::exists(path(cp932::toNativeName(name)))) << toUtf8(name);
  }
}

// --- Progress and cancelling ----------------------------------------------------------

TEST_F(FolderWalkerTest, PumpEvery50thItemAndCountEvery10th) {
  for (int i = 0; i < 120; ++i) file("f" + std::to_string(1000 + i), 1);
  int pumps = 0;
  std::vector<int> counts;
  std::vector<Text> shownFolders;
  callbacks.pump = [&] { return ++pumps, true; };
  callbacks.showCount = [&](int n) { counts.push_back(n); };
  callbacks.showFolder = [&](TextView p) { shownFolders.emplace_back(p); };
  ASSERT_TRUE(walk());
  EXPECT_EQ(items, 121);  // 120 files and the folder
  EXPECT_EQ(pumps, 2);
  EXPECT_EQ(counts, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120}));
  EXPECT_EQ(shownFolders, std::vector<Text>{u"E:"});
}

TEST_F(FolderWalkerTest, LowPriorityPumpsAfterEveryItem) {
  for (int i = 0; i < 7; ++i) file("f" + std::to_string(i), 1);
  int pumps = 0;
  callbacks.pump = [&] { return ++pumps, true; };
  callbacks.lowPriority = [] { return true; };
  ASSERT_TRUE(walk());
  EXPECT_EQ(pumps, 8);
}

TEST_F(FolderWalkerTest, CancelThroughPumpStopsTheWalkAtTheNextCheck) {
  for (int i = 0; i < 60; ++i) file("f" + std::to_string(1000 + i), 1);
  file("SUB/s.txt", 1);
  callbacks.pump = [] { return false; };
  EXPECT_FALSE(walk());
  EXPECT_TRUE(cancelled);
  // Title line and the files up to the 50th item, nothing after.
  EXPECT_EQ(store.rowCount(), 51);
  EXPECT_EQ(store.field(catalog::FieldName, 50), u"f1049");
}

TEST_F(FolderWalkerTest, CancelAfterASubfolderSkipsTheOthers) {
  file("A/a.txt", 1);
  file("B/b.txt", 1);
  callbacks.pump = [] { return false; };
  EXPECT_FALSE(walk());
  EXPECT_EQ(namesOf(store), (std::vector<Text>{u"TITLE", u"A", u"a.txt"}));
}

TEST(ThrottledPumpTest, PassesOneCallPerIntervalAndRemembersStop) {
  using namespace std::chrono;
  steady_clock::time_point now{};
  int inner = 0;
  bool goOn = true;
  ThrottledPump pump([&] { return ++inner, goOn; }, milliseconds(50), [&] { return now; });
  const struct {
    int advanceMs;
    bool goOn;
    bool result;
    int innerCalls;
  } steps[] = {
      {0, true, true, 1},                           // the first call always gets through
      {10, true, true, 1},                          // within the interval
      {40, true, true, 2},                          // 50 ms after the first
      {49, false, true, 2},  {1, false, false, 3},  // the stop is seen …
      {100, true, false, 3},                        // … and kept
  };
  for (const auto& s : steps) {
    now += milliseconds(s.advanceMs);
    goOn = s.goOn;
    EXPECT_EQ(pump(), s.result);
    EXPECT_EQ(inner, s.innerCalls);
  }
}

// --- Hooks ------------------------------------------------------------------------------

TEST_F(FolderWalkerTest, CommentsFromTheSourceAndFolderCommentsCutTo128) {
  file("SUB/readme.txt", 1);
  file("SUB/license.txt", 1);
  file("SUB/notes.DOC", 1);
  file("SUB/README", 1);
  file("SUB/x.bin", 1);
  RecordingComments comments;
  comments.folderComment = Text(200, u'あ');
  hooks.comments = &comments;
  ASSERT_TRUE(walk());
  EXPECT_EQ(store.field(catalog::FieldComment, 0), Text(128, u'あ'));
  EXPECT_EQ(store.field(catalog::FieldComment, 1), Text(128, u'あ'));
  EXPECT_EQ(store.field(catalog::FieldComment, 2), u"c:license.txt");
  ASSERT_EQ(comments.folders.size(), 2u);
  EXPECT_EQ(comments.folders[1].first, u"E:\\SUB");
  EXPECT_EQ(comments.folders[1].second, u"\treadme\tnotes.doc\treadme.txt\t");
}

// Writes an archive row with one member below it.
class OneMemberArchives : public ArchiveLister {
public:
  std::vector<Text> seen;
  bool WalkArchive(const ArchiveVisit& v, RowStore& store) override {
    seen.emplace_back(v.name);
    store.appendShown(catalog::buildRecord({v.name, v.comment, v.date, u"9", u"0"}), 0, 0, 6, v.level);
    store.appendShown(catalog::buildRecord({u"member.txt", u"", v.date, u"1", u"0"}), 0, 0, 153, v.level + 1);
    return true;
  }
};

TEST_F(FolderWalkerTest, ArchivesGoToTheListerOnlyWhenWantedAndWhenRegularFiles) {
  file("a.zip", 9);
  folder("folder.zip");  // a folder with an archive's name is walked as a folder
  file("folder.zip/in.txt", 1);
  ASSERT_EQ(::mkfifo(path("pipe.lzh").c_str(), 0644), 0);
  OneMemberArchives archives;
  hooks.archives = &archives;

  ASSERT_TRUE(walk());  // archives not wanted: plain files
  EXPECT_TRUE(archives.seen.empty());
  EXPECT_EQ(store.rowCount(), 5);

  store.clear();
  options.archives = true;
  ASSERT_TRUE(walk());
  EXPECT_EQ(archives.seen, std::vector<Text>{u"a.zip"});
  EXPECT_EQ(namesOf(store),
            (std::vector<Text>{u"TITLE", u"a.zip", u"member.txt", u"pipe.lzh", u"folder.zip", u"in.txt"}));
  EXPECT_EQ(store.kind(1), kindOf(u"zip"));
  EXPECT_EQ(store.level(2), 2);
}

}  // namespace
}  // namespace zevro
