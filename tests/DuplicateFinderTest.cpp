#include "compare/DuplicateFinder.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <thread>
#include <vector>

#include "CompareTestFiles.h"
#include "TempFolder.h"
#include "compare/OnlyHereFinder.h"
#include "platform/LinuxFileSystem.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

using comparetest::folder;
using comparetest::listFileOf;
using comparetest::Row;
using Rows = std::vector<Row>;

// Three media (CD, floppy, hard disk) and a second CD.
const std::map<std::string, Rows> Library = {
    {"_00CD_ALPHA.cct",
     {{0, u"ALPHA"},
      folder(1, u"DOCS"),
      {2, u"SETUP.EXE", u"1,000", u"99/12/31 23:55"},
      {2, u"ＡＢＣ.TXT", u"300", u"01/01/01 00:00"},
      {2, u"EMPTY.TXT", u"0"},
      {1, u"TWICE.DAT", u"50"},
      folder(1, u"BACKUP"),
      {2, u"TWICE.DAT", u"50"},
      {1, u"PACK.ZIP", u"700"},
      {2, u"INNER.TXT", u"70"},
      {1, u"ONLY.TXT", u"5"}}},
    {"_03FD_BETA.cct",
     {{0, u"BETA"},
      {1, u"setup.exe", u"1,000", u"99/12/31 23:55"},
      {1, u"abc.txt", u"300", u"02/02/02 00:00"},
      {1, u"EMPTY.TXT", u"0"},
      {1, u"INNER.TXT", u"70"},
      {1, u"DOCS", u"9,999"}}},  // a file named like ALPHA's folder, of the folder's size
    {"_05HD_GAMMA.cct",
     {{0, u"GAMMA"}, folder(1, u"X"), {2, u"Setup.Exe", u"1,000", u"99/12/31 23:55"}, {2, u"ABC.TXT", u"301"}}},
    {"_05CD_DELTA.cct", {{0, u"DELTA"}, {1, u"ONLY.TXT", u"5"}}},
};

class DuplicateFinderTest : public ::testing::Test {
protected:
  DuplicateFinderTest() : temp("zevro-duplicates") {
    for (const auto& [name, rows] : Library) put(name, rows);
  }
  void put(const std::string& name, const Rows& rows) { temp.put("Catalog/" + name, listFileOf(rows)); }

  // "group: file path" a row, groups in order.
  std::vector<std::string> lines(const CompareFilters& filters, int threads = 0) {
    CompareScan scan(files, temp.path("Catalog"));
    scan.start(filters.media);
    return linesOf(DuplicateFinder::find(scan, filters, threads));
  }
  // Forty more catalogs whose files meet in many ways: copies on several
  // media, in folders and archives, names in other cases.
  void putMany() {
    for (int c = 0; c < 40; ++c) {
      Rows rows = {{0, u"MANY"}, folder(1, u"DIR")};
      for (int f = 0; f < 60; ++f) {
        const int n = (c * 7 + f * 13) % 97;
        Text name = Text(u"File") + static_cast<char16_t>(u'A' + n % 26) + static_cast<char16_t>(u'0' + n % 10);
        if ((c + f) % 3 == 0) name = u"ＦＩＬＥ" + name.substr(4);
        const Text size = Text(1, static_cast<char16_t>(u'1' + n % 9)) + u"00";
        rows.push_back({f % 5 == 4 ? 2 : 1, name + u".DAT", size});
        if (f % 11 == 0) rows.push_back({f % 5 == 4 ? 3 : 2, u"IN" + name, size});  // below an archive-like file
      }
      put("_0" + std::to_string(c % 3 * 2) + (c % 2 ? "CD" : "HD") + "_MANY" + std::to_string(c) + ".cct", rows);
    }
  }
  static std::vector<std::string> linesOf(const FoundFiles& found) {
    std::vector<std::string> out;
    for (std::size_t g = 0; g < found.groups.size(); ++g) {
      const FileGroup& group = found.groups[g];
      for (int i = group.first; i < group.first + group.count; ++i) {
        const FoundRow& r = found.rows[static_cast<std::size_t>(i)];
        out.push_back(std::to_string(g + 1) + ": " + found.catalogs[static_cast<std::size_t>(r.catalog)].nativeName +
                      " " + cp932::toNativeName(found.pathOf(r)) + " " + std::to_string(r.size));
      }
    }
    return out;
  }

  test::TempFolder temp;
  LinuxFileSystem files;
};

CompareFilters filters(std::uint64_t minSize = 1) {
  CompareFilters f;
  f.minSize = minSize;
  return f;
}

TEST_F(DuplicateFinderTest, GroupsAcrossMediaByFoldedNameAndSize) {
  struct Case {
    const char* what;
    CompareFilters filters;
    std::vector<std::string> expected;
  };
  CompareFilters sameMedium = filters();
  sameMedium.sameMedium = true;
  CompareFilters members = filters();
  members.members = true;
  CompareFilters byDate = filters();
  byDate.by = SameFileKey::By::NameSizeDate;
  CompareFilters cdOnly = filters();
  cdOnly.media = media::CD;
  CompareFilters genre5 = filters();
  genre5.genres = {true, u"00000100000000000000"};
  CompareFilters large = filters(400);
  const Case cases[] = {
      {"three media, then the case- and width-folded pair, largest waste first",
       filters(),
       {"1: _00CD_ALPHA.cct DOCS\\SETUP.EXE 1000", "1: _03FD_BETA.cct setup.exe 1000",
        "1: _05HD_GAMMA.cct X\\Setup.Exe 1000", "2: _00CD_ALPHA.cct DOCS\\ＡＢＣ.TXT 300",
        "2: _03FD_BETA.cct abc.txt 300", "3: _00CD_ALPHA.cct ONLY.TXT 5", "3: _05CD_DELTA.cct ONLY.TXT 5"}},
      {"copies on one medium count with same-medium",
       sameMedium,
       {"1: _00CD_ALPHA.cct DOCS\\SETUP.EXE 1000", "1: _03FD_BETA.cct setup.exe 1000",
        "1: _05HD_GAMMA.cct X\\Setup.Exe 1000", "2: _00CD_ALPHA.cct DOCS\\ＡＢＣ.TXT 300",
        "2: _03FD_BETA.cct abc.txt 300", "3: _00CD_ALPHA.cct TWICE.DAT 50", "3: _00CD_ALPHA.cct BACKUP\\TWICE.DAT 50",
        "4: _00CD_ALPHA.cct ONLY.TXT 5", "4: _05CD_DELTA.cct ONLY.TXT 5"}},
      {"archive members with members",
       members,
       {"1: _00CD_ALPHA.cct DOCS\\SETUP.EXE 1000", "1: _03FD_BETA.cct setup.exe 1000",
        "1: _05HD_GAMMA.cct X\\Setup.Exe 1000", "2: _00CD_ALPHA.cct DOCS\\ＡＢＣ.TXT 300",
        "2: _03FD_BETA.cct abc.txt 300", "3: _00CD_ALPHA.cct PACK.ZIP\\INNER.TXT 70", "3: _03FD_BETA.cct INNER.TXT 70",
        "4: _00CD_ALPHA.cct ONLY.TXT 5", "4: _05CD_DELTA.cct ONLY.TXT 5"}},
      {"dates must agree by name, size and date",
       byDate,
       {"1: _00CD_ALPHA.cct DOCS\\SETUP.EXE 1000", "1: _03FD_BETA.cct setup.exe 1000",
        "1: _05HD_GAMMA.cct X\\Setup.Exe 1000", "2: _00CD_ALPHA.cct ONLY.TXT 5", "2: _05CD_DELTA.cct ONLY.TXT 5"}},
      {"smaller than the minimum size",
       large,
       {"1: _00CD_ALPHA.cct DOCS\\SETUP.EXE 1000", "1: _03FD_BETA.cct setup.exe 1000",
        "1: _05HD_GAMMA.cct X\\Setup.Exe 1000"}},
      {"CD catalogs only", cdOnly, {"1: _00CD_ALPHA.cct ONLY.TXT 5", "1: _05CD_DELTA.cct ONLY.TXT 5"}},
      {"genre 5 only: GAMMA and DELTA share nothing", genre5, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(lines(c.filters), c.expected) << c.what;
}

TEST_F(DuplicateFinderTest, SizeZeroAndFoldersNeverGroup) {
  CompareFilters all = filters(0);
  all.sameMedium = true;
  all.members = true;
  for (const std::string& line : lines(all)) {
    EXPECT_EQ(line.find("EMPTY.TXT"), std::string::npos) << line;
    EXPECT_EQ(line.find(" DOCS "), std::string::npos) << line;
  }
}

TEST_F(DuplicateFinderTest, CatalogsOfOneReadingAreOneMedium) {
  // A reading recorded as two catalogs: their title lines carry the root part's name.
  put("_07HD_DATA.cct", {{0, u"DATA", u"", u"", false, u"HD_DATA.CCT"}, {1, u"A.BIN", u"4,096"}});
  put("_07HD_DATA PHOTOS.cct", {{0, u"DATA", u"", u"", false, u"HD_DATA.CCT"}, {1, u"A.BIN", u"4,096"}});
  // And the same name read again as a medium of its own.
  const auto has = [](const std::vector<std::string>& ls, const std::string& s) {
    for (const std::string& l : ls)
      if (l.find(s) != std::string::npos) return true;
    return false;
  };
  EXPECT_FALSE(has(lines(filters()), "A.BIN"));
  CompareFilters same = filters();
  same.sameMedium = true;
  EXPECT_TRUE(has(lines(same), "_07HD_DATA PHOTOS.cct A.BIN"));
  put("_07HD_OTHER.cct", {{0, u"OTHER"}, {1, u"a.bin", u"4,096"}});
  EXPECT_TRUE(has(lines(filters()), "_07HD_OTHER.cct a.bin"));
}

TEST_F(DuplicateFinderTest, StopAsksNothingMore) {
  CatalogScan::Hooks hooks;
  int pumps = 0;
  hooks.pump = [&] { return ++pumps < 2; };
  CompareScan scan(files, temp.path("Catalog"), hooks);
  scan.start(media::All);
  const FoundFiles found = DuplicateFinder::find(scan, filters());
  EXPECT_TRUE(found.cancelled);
  EXPECT_TRUE(found.groups.empty());
  EXPECT_EQ(found.catalogsRead, 1);
}

// The threads of the first pass change nothing of the result, nor of its
// order.
TEST_F(DuplicateFinderTest, TheSameGroupsWhateverTheThreads) {
  putMany();
  CompareFilters all = filters();
  all.members = true;
  all.sameMedium = true;
  for (const CompareFilters& f : {filters(), all}) {
    const std::vector<std::string> one = lines(f, 1);
    ASSERT_GT(one.size(), 100u);
    for (const int threads : {2, 3, 4}) EXPECT_EQ(lines(f, threads), one) << threads << " threads";
  }
}

// The hooks run on the calling thread only, and a stop asked for while the
// threads walk ends the pass with nothing given.
TEST_F(DuplicateFinderTest, StopWhileThreadsWalk) {
  putMany();
  for (const int stopAt : {3, 20, 44}) {
    CatalogScan::Hooks hooks;
    int pumps = 0;
    bool elsewhere = false;
    const std::thread::id caller = std::this_thread::get_id();
    hooks.pump = [&] {
      elsewhere = elsewhere || std::this_thread::get_id() != caller;
      return ++pumps < stopAt;
    };
    hooks.progress = [&](TextView) { elsewhere = elsewhere || std::this_thread::get_id() != caller; };
    CompareScan scan(files, temp.path("Catalog"), hooks);
    scan.start(media::All);
    const FoundFiles found = DuplicateFinder::find(scan, filters(), 3);
    EXPECT_TRUE(found.cancelled) << stopAt;
    EXPECT_TRUE(found.groups.empty()) << stopAt;
    EXPECT_TRUE(found.rows.empty()) << stopAt;
    EXPECT_EQ(found.catalogsRead, stopAt - 1) << stopAt;
    EXPECT_FALSE(elsewhere) << stopAt;
  }
}

// A stop asked for during the second look gives nothing either: the pass
// over the catalogs asks once a catalog, once after the keys are sorted,
// then once a catalog looked at again.
TEST_F(DuplicateFinderTest, StopDuringTheSecondLook) {
  putMany();
  const int catalogs = static_cast<int>(Library.size()) + 40;
  for (const int stopAt : {catalogs + 1, catalogs + 2, catalogs + 5}) {
    CatalogScan::Hooks hooks;
    int pumps = 0;
    hooks.pump = [&] { return ++pumps < stopAt; };
    CompareScan scan(files, temp.path("Catalog"), hooks);
    scan.start(media::All);
    const FoundFiles found = DuplicateFinder::find(scan, filters(), 1);
    EXPECT_TRUE(found.cancelled) << stopAt;
    EXPECT_TRUE(found.groups.empty()) << stopAt;
    EXPECT_TRUE(found.rows.empty()) << stopAt;
    EXPECT_EQ(found.catalogsRead, catalogs) << stopAt;
    EXPECT_EQ(pumps, stopAt);
  }
}

// A catalog written anew between the first look and the second: its rows
// that are gone, or are other files now, drop out of their groups, and a
// group left on one medium is no group.
TEST_F(DuplicateFinderTest, ACatalogChangedBetweenTheTwoLooks) {
  CatalogScan::Hooks hooks;
  CompareScan* scanning = nullptr;
  bool rewritten = false;
  hooks.pump = [&] {
    if (!rewritten && scanning->catalogsRead() == static_cast<int>(Library.size())) {
      rewritten = true;
      put("_03FD_BETA.cct", {{0, u"BETA"}, {1, u"other.txt", u"9"}});
    }
    return true;
  };
  CompareScan scan(files, temp.path("Catalog"), hooks);
  scanning = &scan;
  scan.start(media::All);
  const FoundFiles found = DuplicateFinder::find(scan, filters(), 1);
  ASSERT_TRUE(rewritten);
  EXPECT_FALSE(found.cancelled);
  EXPECT_EQ(linesOf(found),
            (std::vector<std::string>{"1: _00CD_ALPHA.cct DOCS\\SETUP.EXE 1000", "1: _05HD_GAMMA.cct X\\Setup.Exe 1000",
                                      "2: _00CD_ALPHA.cct ONLY.TXT 5", "2: _05CD_DELTA.cct ONLY.TXT 5"}));
}

// ---------------------------------------------------------------- only here

TEST_F(DuplicateFinderTest, OnlyHereListsFilesNoOtherMediumHolds) {
  struct Case {
    const char* what;
    std::string file;
    CompareFilters filters;
    std::vector<std::string> expected;
  };
  CompareFilters members = filters();
  members.members = true;
  CompareFilters cdOnly = filters();
  cdOnly.media = media::CD;
  const Case cases[] = {
      {"ALPHA against all", "_00CD_ALPHA.cct", filters(), {"TWICE.DAT", "BACKUP\\TWICE.DAT", "PACK.ZIP"}},
      {"members too", "_00CD_ALPHA.cct", members, {"TWICE.DAT", "BACKUP\\TWICE.DAT", "PACK.ZIP"}},
      {"against CD catalogs only",
       "_00CD_ALPHA.cct",
       cdOnly,
       {"DOCS\\SETUP.EXE", "DOCS\\ＡＢＣ.TXT", "TWICE.DAT", "BACKUP\\TWICE.DAT", "PACK.ZIP"}},
      {"BETA: ALPHA holds INNER.TXT only in an archive, DOCS only as a folder",
       "_03FD_BETA.cct",
       filters(),
       {"INNER.TXT", "DOCS"}},
      {"GAMMA: ABC.TXT of another size", "_05HD_GAMMA.cct", filters(), {"X\\ABC.TXT"}},
  };
  for (const Case& c : cases) {
    CompareScan scan(files, temp.path("Catalog"));
    scan.start(c.filters.media);
    const std::string bytes = temp.get("Catalog/" + c.file);
    const FoundFiles found = OnlyHereFinder::find(scan, bytes, cp932::fromNativeName(c.file), c.filters);
    std::vector<std::string> paths;
    for (const FoundRow& r : found.rows) paths.push_back(cp932::toNativeName(found.pathOf(r)));
    EXPECT_EQ(paths, c.expected) << c.what;
    EXPECT_EQ(found.catalogs.size(), 1u);
    EXPECT_EQ(found.catalogs[0].nativeName, c.file);
  }
}

}  // namespace
}  // namespace zevro
