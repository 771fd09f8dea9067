#include "media/ArchiveContents.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "ArchiveFixtures.h"
#include "TempFolder.h"
#include "core/CatalogList.h"
#include "core/Numbers.h"
#include "media/ArchiveLibraries.h"
#include "platform/FakeUi.h"
#include "platform/LinuxFileSystem.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

namespace fs = std::filesystem;

std::string utf8(TextView t) { return cp932::toNativeName(t); }

struct Row {
  int level;
  int kind;
  std::string name, date, size;
  bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Row& r) {
  return os << r.level << " " << r.kind << " " << r.name << " [" << r.date << "] [" << r.size << "]";
}

// 2020-12-31 16:30 UTC: listed as 21/01/01 01:30 in every zone of this machine.
constexpr FileTime ArchiveTime = 1609432200LL * 1'000'000'000;
constexpr const char* ArchiveRowDate = "21/01/01 01:30";
constexpr const char* Stored = "05/03/04 10:20";

class ArchiveContentsTest : public ::testing::Test {
protected:
  ArchiveContentsTest() { icons.BuildStandardTables(); }

  void put(const std::string& relative, const std::string& bytes) {
    test::writeBytes(dir.path("medium/" + relative), bytes);
    ASSERT_FALSE(disk.setModified(dir.path("medium/" + relative), ArchiveTime));
  }
  void putZip(const std::string& relative, const std::vector<test::ZipEntry>& entries) {
    fs::create_directories(dir.path("medium/" + relative).parent_path());
    ASSERT_TRUE(test::writeZip(dir.path("medium/" + relative), entries));
    ASSERT_FALSE(disk.setModified(dir.path("medium/" + relative), ArchiveTime));
  }
  std::string sizeOf(const std::string& relative) {
    return utf8(groupedNumber(static_cast<std::int64_t>(fs::file_size(dir.path("medium/" + relative)))));
  }

  // The rows below the title line (with it when `title`).
  std::vector<Row> walk(ArchiveOptions options, ArchiveReader* reader = nullptr, const std::string& medium = "",
                        bool title = false, WalkCallbacks callbacks = {}) {
    ArchiveLibraries libraries(ListTime::Zone::Japan);
    ArchiveContents contents(reader ? *reader : libraries, icons, options);
    WalkOptions walk{.sortOrder = options.sortOrder, .mediumKind = 3, .zone = ListTime::Zone::Japan, .archives = true};
    WalkHooks hooks;
    hooks.archives = &contents;
    FolderWalker walker(disk, ui, icons, walk, callbacks, hooks);
    RowStore store;
    fs::create_directories(dir.path("medium"));
    walker.WalkFolder(dir.path("medium/" + medium), medium.empty() ? u"E:" : u"E:\\" + cp932::fromNativeName(medium),
                      u"TITLE", store);
    std::vector<Row> rows;
    for (int r = title ? 0 : 1; r < store.rowCount(); ++r)
      rows.push_back({store.level(r), store.kind(r), utf8(store.field(catalog::FieldName, r)),
                      utf8(store.field(catalog::FieldDate, r)), utf8(store.field(catalog::FieldSize, r))});
    return rows;
  }
  int kind(TextView extension) const { return icons.IconCodeOf(extension); }

  test::TempFolder dir;
  LinuxFileSystem disk;
  FakeUi ui;
  IconTable icons;
};

TEST_F(ArchiveContentsTest, MembersGoBelowTheArchiveRowInEachOrder) {
  test::TimeZoneForTest zone("XST+03:30");  // neither UTC nor Japan
  put("tool.lzh", test::lzhArchive({{"doc\\readme.txt", "readme!"}, {"tool.exe", "MZ"}}, 0));
  const Row archive{1, kind(u"lzh"), "tool.lzh", ArchiveRowDate, sizeOf("tool.lzh")};
  const Row doc{2, catalog::KindArchiveFolder, "doc", "", ""};
  const Row readme{3, kind(u"txt"), "readme.txt", Stored, "7"};
  const Row tool{2, kind(u"exe"), "tool.exe", Stored, "2"};
  struct Case {
    WalkOrder order;
    std::vector<Row> rows;
  } cases[] = {
      {WalkOrder::Name, {archive, doc, readme, tool}},
      {WalkOrder::Extension, {archive, doc, readme, tool}},
      // "98:exe.tool" sorts before "doc/…".
      {WalkOrder::Kind, {archive, tool, doc, readme}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(walk({.recordMembers = true, .sortOrder = c.order}), c.rows) << static_cast<int>(c.order);
}

TEST_F(ArchiveContentsTest, MembersTakeTheKindsOfTheTableInUseAtEachReading) {
  // The desktop program keeps one lister for the session, and the user may
  // add a file type in the icon dialog between two readings.
  put("tool.lzh", test::lzhArchive({{"pack.7z", "7z"}}, 0));
  ArchiveLibraries libraries(ListTime::Zone::Japan);
  ArchiveContents contents(libraries, icons, {.recordMembers = true});
  const auto memberKind = [&] {
    WalkOptions walk{.mediumKind = 3, .zone = ListTime::Zone::Japan, .archives = true};
    WalkHooks hooks;
    hooks.archives = &contents;
    FolderWalker walker(disk, ui, icons, walk, {}, hooks);
    RowStore store;
    walker.WalkFolder(dir.path("medium"), u"E:", u"TITLE", store);
    for (int r = 0; r < store.rowCount(); ++r)
      if (store.field(catalog::FieldName, r) == u"pack.7z") return store.kind(r);
    return -1;
  };
  EXPECT_EQ(memberKind(), IconTable::UnlistedKind);
  icons.setTypes(icons.types() + u"195.7Z|");
  EXPECT_EQ(memberKind(), 195);
}

TEST_F(ArchiveContentsTest, ZipMembersKeepCp932NamesBlanksAndFolderEntries) {
  putZip("pack.zip", {{"doc/表示 リスト.txt", "readme!"},
                      {"utf8/日本.txt", "abc", false, true},
                      {"sub/", "", true},
                      {"inner.zip", "PK not opened"},
                      {"A/x.txt", "x"},
                      {"a/y.txt", "y"}});
  const std::vector<Row> rows = walk({.recordMembers = true, .zip = true, .sortOrder = WalkOrder::Name});
  const std::vector<Row> expected = {
      {1, kind(u"zip"), "pack.zip", ArchiveRowDate, sizeOf("pack.zip")},
      {2, 5, "A", "", ""},
      {3, kind(u"txt"), "x.txt", Stored, "1"},
      {2, 5, "a", "", ""},
      {3, kind(u"txt"), "y.txt", Stored, "1"},
      {2, 5, "doc", "", ""},
      {3, kind(u"txt"), "表示 リスト.txt", Stored, "7"},
      {2, kind(u"zip"), "inner.zip", Stored, "13"},
      {2, 5, "sub", "", ""},
      {2, 5, "utf8", "", ""},
      {3, kind(u"txt"), "日本.txt", Stored, "3"},
  };
  EXPECT_EQ(rows, expected);
}

TEST_F(ArchiveContentsTest, EachGateLeavesTheArchiveARowWithoutMembers) {
  put("tool.lzh", test::lzhArchive({{"readme.txt", "r"}}, 1));
  putZip("pack.zip", {{"a.txt", "a"}});
  put("setup.cab", "MSCF");
  const std::vector<Row> plain = {
      {1, kind(u"cab"), "setup.cab", ArchiveRowDate, "4"},
      {1, kind(u"lzh"), "tool.lzh", ArchiveRowDate, sizeOf("tool.lzh")},
      {1, kind(u"zip"), "pack.zip", ArchiveRowDate, sizeOf("pack.zip")},
  };
  const Row lzhMember{2, kind(u"txt"), "readme.txt", Stored, "1"};
  const Row zipMember{2, kind(u"txt"), "a.txt", Stored, "1"};
  ArchiveLibraries off(ListTime::Zone::Japan, false);
  struct Case {
    const char* what;
    ArchiveOptions options;
    ArchiveReader* reader;
    std::vector<Row> rows;
  } cases[] = {
      {"members, ZIP on",
       {.recordMembers = true, .zip = true},
       nullptr,
       {plain[0], plain[1], lzhMember, plain[2], zipMember}},
      {"members, ZIP off", {.recordMembers = true}, nullptr, {plain[0], plain[1], lzhMember, plain[2]}},
      {"comments only", {.comments = true, .zip = true}, nullptr, plain},
      {"reader unavailable", {.recordMembers = true, .zip = true}, &off, plain},
  };
  for (const Case& c : cases) {
    ArchiveOptions options = c.options;
    options.sortOrder = WalkOrder::Kind;
    EXPECT_EQ(walk(options, c.reader), c.rows) << c.what;
  }
}

TEST_F(ArchiveContentsTest, AFolderNamedLikeAnArchiveIsWalkedAsAFolder) {
  putZip("x.zip/inner.zip", {{"a.txt", "a"}});
  EXPECT_EQ(walk({.recordMembers = true, .zip = true, .sortOrder = WalkOrder::Name}),
            (std::vector<Row>{{1, catalog::KindFolder, "x.zip", "", sizeOf("x.zip/inner.zip")},
                              {2, kind(u"zip"), "inner.zip", ArchiveRowDate, sizeOf("x.zip/inner.zip")},
                              {3, kind(u"txt"), "a.txt", Stored, "1"}}));
}

TEST_F(ArchiveContentsTest, AnArchiveReadAsTheMediumListsItsMembersBelowTheTitleLine) {
  put("tool.lzh", test::lzhArchive({{"doc\\readme.txt", "readme!"}, {"tool.exe", "MZ"}}, 0));
  putZip("pack.zip", {{"a.txt", "a"}});
  // Whatever the switches say: the members are the medium's content.
  EXPECT_EQ(walk({.sortOrder = WalkOrder::Name}, nullptr, "tool.lzh", true),
            (std::vector<Row>{{0, 4, "TITLE", "", sizeOf("tool.lzh")},
                              {1, catalog::KindArchiveFolder, "doc", "", ""},
                              {2, kind(u"txt"), "readme.txt", Stored, "7"},
                              {1, kind(u"exe"), "tool.exe", Stored, "2"}}));
  EXPECT_EQ(walk({.sortOrder = WalkOrder::Name}, nullptr, "pack.zip", true),
            (std::vector<Row>{{0, 4, "TITLE", "", sizeOf("pack.zip")}, {1, kind(u"txt"), "a.txt", Stored, "1"}}));
}

TEST_F(ArchiveContentsTest, MembersCountForTheProgressAndAStopEndsTheListing) {
  std::vector<test::LzhEntry> entries;
  for (int i = 0; i < 120; ++i) entries.push_back({"m" + std::to_string(1000 + i) + ".txt", "x"});
  put("many.lzh", test::lzhArchive(entries, 2));
  int pumps = 0;
  WalkCallbacks callbacks;
  callbacks.pump = [&pumps] { return ++pumps < 2; };  // stopped at the second look
  const std::vector<Row> rows =
      walk({.recordMembers = true, .sortOrder = WalkOrder::Name}, nullptr, "", false, callbacks);
  // The walk looks every 50th item: the archive row and 99 members are in
  // when the stop is seen (the 100th item is the 99th member).
  EXPECT_EQ(pumps, 2);
  ASSERT_EQ(rows.size(), 100u);
  EXPECT_EQ(rows.back().name, "m1098.txt");
}

TEST_F(ArchiveContentsTest, DuplicatedPathsTakeTheSizeOfTheFirst) {
  put("dup.lzh", test::lzhArchive({{"a.txt", "1"}, {"A.TXT", "12345"}}, 2));
  const std::vector<Row> rows = walk({.recordMembers = true, .sortOrder = WalkOrder::Name});
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1].size, "1");
  EXPECT_EQ(rows[2].size, "1");
}

TEST_F(ArchiveContentsTest, ReadmeLikeMembersAreCommentCandidates) {
  put("tool.lzh",
      test::lzhArchive({{"doc\\ReadMe.txt", "r"}, {"license.txt", "l"}, {"README", "r"}, {"a.exe", "x"}}, 0));
  ArchiveLibraries libraries(ListTime::Zone::Japan);
  ArchiveContents contents(libraries, icons, {.comments = true});
  const NativePath file = dir.path("medium/tool.lzh");
  RowStore store;
  ArchiveVisit visit{u"E:", u"tool.lzh", &file, 1, u"21/01/01 01:30", 10, u"", kind(u"lzh")};
  ASSERT_TRUE(contents.WalkArchive(visit, store));
  EXPECT_EQ(utf8(contents.candidates()), "\tdoc/readme.txt\treadme\t");
}

}  // namespace
}  // namespace zevro
