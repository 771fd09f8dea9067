#include "search/CatalogScan.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "CatalogTestFiles.h"
#include "SearchTestText.h"
#include "TempFolder.h"
#include "core/CatalogList.h"
#include "core/ListFile.h"
#include "core/RowStore.h"
#include "platform/FaultyFileSystem.h"
#include "platform/LinuxFileSystem.h"
#include "search/CatalogMatcher.h"
#include "search/SearchList.h"
#include "search/SearchResults.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

using searchtest::switches;
using Op = FaultyFileSystem::Op;

constexpr Condition Off = Condition::Off;
constexpr Condition And = Condition::And;
constexpr Condition Or = Condition::Or;
constexpr unsigned Names = column::Name;
constexpr unsigned Comments = column::Comment;
constexpr unsigned Both = column::Both;

// One row of a fixture catalog; row 0 is the title line (volume label as
// name, catalog title as comment).
struct Row {
  int level;
  Text name;
  Text comment = u"";
  Text date = u"";
  Text size = u"";
};

// The list file the program writes for these rows. The records are put
// together here as they stand in a file (a tab stays a tab), then written by
// the program's list-file writer.
std::string listFileOf(const std::vector<Row>& rows) {
  RowStore store;
  catalog::makeCatalogList(store);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const Row& r = rows[i];
    const Text record = u"\x10" + r.name + u"\x11" + r.comment + u"\x12" + r.date + u"\x13" + r.size +
                        u"\x14"
                        u"0";
    const int kind = i == 0 ? catalog::KindTitleCD : (r.size.empty() ? catalog::KindFolder : catalog::KindFile);
    EXPECT_TRUE(store.appendShown(record, 0, 0, kind, r.level));
  }
  return *listfile::build(store, listfile::Header{});
}

const std::vector<Row> Alpha = {
    {0, u"ALPHA", u"Alpha disc", u"", u"12,345"},
    {1, u"DOCS", u"", u"99/12/31 23:55"},
    {2, u"README.TXT", u"Read me first", u"99/12/31 23:55", u"1,234"},
    {2, u"concat.c", u"cat and dog", u"00/01/01 00:00", u"10"},
    {1, u"cat.txt", u"cat", u"01/02/03 04:05", u"7"},
    {1, u"アB.txt", u"", u"02/02/02 02:02", u"3"},  // "ア" is 83 41: the bytes hold "AB"
};
const std::vector<Row> Beta = {
    {0, u"BETA", u"Beta readme notes", u"", u"99"},
    {1, u"notes.txt", u"README copy", u" 1/02/03 04:05", u"5"},
    {1, u"ｶﾞｶﾞｶﾞ", u"ﾊﾟﾊﾟ", u"", u"1"},  // width folding shortens the text before the next row
    {1, u"ガイド.txt", u"", u"03/03/03 03:03", u"2"},
};
const std::vector<Row> Gamma = {
    {0, u"GAMMA", u"Gamma", u"", u"10"},
    {1, u"DOCS"},
    {2, u"OLD"},
    {3, u"README.TXT", u"old copy", u"98/01/01 00:00", u"4"},
    {1, u"top.txt", u"", u"", u"1"},
};
const std::vector<Row> Delta = {
    {0, u"DELTA", u"Delta", u"", u"1"},
    {1, u"readme.md", u"", u"03/03/03 03:03", u"1"},
};

// A result row read back from the grid: "file: title / path / date / comment".
Text lineOf(const SearchResults& results, int row) {
  const RowStore& grid = results.grid();
  return results.catalogOf(row)->fileName + u": " + grid.field(0, row) + u" / " + grid.field(1, row) + u" / " +
         grid.field(2, row) + u" / " + grid.field(3, row);
}

std::vector<Text> linesOf(const SearchResults& results) {
  std::vector<Text> lines;
  for (int row = 0; row < results.rowCount(); ++row) lines.push_back(lineOf(results, row));
  return lines;
}

class CatalogScanTest : public ::testing::Test {
protected:
  CatalogScanTest() : temp("zevro-scan") {}

  NativePath folder() const { return temp.path("Catalog"); }
  void put(const std::string& name, const std::string& bytes) { temp.put("Catalog/" + name, bytes); }
  void putCatalog(const std::string& name, const std::vector<Row>& rows) { put(name, listFileOf(rows)); }
  void putFourCatalogs() {
    putCatalog("_00CD_ALPHA.cct", Alpha);
    putCatalog("_01FD_BETA.cct", Beta);
    putCatalog("_05HD_GAMMA.cct", Gamma);
    putCatalog("_21CD_DELTA.cct", Delta);
  }

  CatalogScan::Outcome run(const SearchRequest& request, unsigned media = media::All, GenreFilter genres = {}) {
    CatalogScan scan(files, folder(), hooks);
    return scan.run(request, media, genres, results);
  }
  std::vector<Text> lines(const SearchRequest& request, unsigned media = media::All, GenreFilter genres = {}) {
    run(request, media, std::move(genres));
    return linesOf(results);
  }

  test::TempFolder temp;
  LinuxFileSystem realFiles;
  FaultyFileSystem files{realFiles};
  CatalogScan::Hooks hooks;
  RowStore grid;
  SearchResults results{grid};
};

struct ResultCase {
  const char* behaviour;
  Text term;
  const char* switches;  // c case, w width, p pattern, t whole word
  unsigned columns;
  Condition condition;
  Text second;
  std::vector<Text> expected;
};

TEST_F(CatalogScanTest, ResultRowsHoldTheHitRowsFieldsInCatalogAndRowOrder) {
  putFourCatalogs();
  const std::vector<ResultCase> cases = {
      {"a plain term; one term takes a date after its leading blanks",
       u"README",
       "",
       Both,
       Off,
       u"",
       {u"_00CD_ALPHA.cct: Alpha disc / DOCS\\README.TXT / 99/12/31 23:55 / Read me first",
        u"_01FD_BETA.cct: Beta readme notes / notes.txt / 1/02/03 04:05 / README copy",
        u"_05HD_GAMMA.cct: Gamma / DOCS\\OLD\\README.TXT / 98/01/01 00:00 / old copy"}},
      {"case folding finds the title line, its path is the volume label",
       u"readme",
       "c",
       Both,
       Off,
       u"",
       {u"_00CD_ALPHA.cct: Alpha disc / DOCS\\README.TXT / 99/12/31 23:55 / Read me first",
        u"_01FD_BETA.cct: Beta readme notes / BETA /  / Beta readme notes",
        u"_01FD_BETA.cct: Beta readme notes / notes.txt / 1/02/03 04:05 / README copy",
        u"_05HD_GAMMA.cct: Gamma / DOCS\\OLD\\README.TXT / 98/01/01 00:00 / old copy",
        u"_21CD_DELTA.cct: Delta / readme.md / 03/03/03 03:03 / "}},
      {"a hit in the catalog title",
       u"Alpha disc",
       "",
       Both,
       Off,
       u"",
       {u"_00CD_ALPHA.cct: Alpha disc / ALPHA /  / Alpha disc"}},
      {"a row with the term in name and comment is one result",
       u"cat",
       "",
       Both,
       Off,
       u"",
       {u"_00CD_ALPHA.cct: Alpha disc / DOCS\\concat.c / 00/01/01 00:00 / cat and dog",
        u"_00CD_ALPHA.cct: Alpha disc / cat.txt / 01/02/03 04:05 / cat"}},
      {"comments only still finds a row with the term in both",
       u"cat",
       "",
       Comments,
       Off,
       u"",
       {u"_00CD_ALPHA.cct: Alpha disc / DOCS\\concat.c / 00/01/01 00:00 / cat and dog",
        u"_00CD_ALPHA.cct: Alpha disc / cat.txt / 01/02/03 04:05 / cat"}},
      {"comments only: the date counts as comment column",
       u"99/12",
       "",
       Comments,
       Off,
       u"",
       {u"_00CD_ALPHA.cct: Alpha disc / DOCS / 99/12/31 23:55 / ",
        u"_00CD_ALPHA.cct: Alpha disc / DOCS\\README.TXT / 99/12/31 23:55 / Read me first"}},
      {"comments only: the size counts as comment column",
       u"12,345",
       "",
       Comments,
       Off,
       u"",
       {u"_00CD_ALPHA.cct: Alpha disc / ALPHA /  / Alpha disc"}},
      {"names only: a term in the date is no hit", u"99/12", "", Names, Off, u"", {}},
      {"names only: a term in the comment is no hit", u"Read me", "", Names, Off, u"", {}},
      {"whole words in names",
       u"cat",
       "t",
       Names,
       Off,
       u"",
       {u"_00CD_ALPHA.cct: Alpha disc / cat.txt / 01/02/03 04:05 / cat"}},
      {"a term's bytes inside a double-byte character are no hit", u"AB", "", Both, Off, u"", {}},
      {"the double-byte character itself is found",
       u"アB",
       "",
       Both,
       Off,
       u"",
       {u"_00CD_ALPHA.cct: Alpha disc / アB.txt / 02/02/02 02:02 / "}},
      {"width folding after text it shortened gives the right row",
       u"ｶﾞｲﾄﾞ",
       "w",
       Both,
       Off,
       u"",
       {u"_01FD_BETA.cct: Beta readme notes / ガイド.txt / 03/03/03 03:03 / "}},
      {"a pattern",
       u"RE*ME",
       "p",
       Both,
       Off,
       u"",
       {u"_00CD_ALPHA.cct: Alpha disc / DOCS\\README.TXT / 99/12/31 23:55 / Read me first",
        u"_01FD_BETA.cct: Beta readme notes / notes.txt / 1/02/03 04:05 / README copy",
        u"_05HD_GAMMA.cct: Gamma / DOCS\\OLD\\README.TXT / 98/01/01 00:00 / old copy"}},
      {"AND in one row; two terms take only a date that starts with a digit",
       u"README",
       "",
       Both,
       And,
       u"copy",
       {u"_01FD_BETA.cct: Beta readme notes / notes.txt /  / README copy",
        u"_05HD_GAMMA.cct: Gamma / DOCS\\OLD\\README.TXT / 98/01/01 00:00 / old copy"}},
      {"AND in names",
       u"README",
       "",
       Names,
       And,
       u"TXT",
       {u"_00CD_ALPHA.cct: Alpha disc / DOCS\\README.TXT / 99/12/31 23:55 / Read me first",
        u"_05HD_GAMMA.cct: Gamma / DOCS\\OLD\\README.TXT / 98/01/01 00:00 / old copy"}},
      {"OR lists each row once, in row order",
       u"cat",
       "",
       Both,
       Or,
       u"concat",
       {u"_00CD_ALPHA.cct: Alpha disc / DOCS\\concat.c / 00/01/01 00:00 / cat and dog",
        u"_00CD_ALPHA.cct: Alpha disc / cat.txt / 01/02/03 04:05 / cat"}},
      {"OR across catalogs",
       u"GAMMA",
       "",
       Both,
       Or,
       u"DELTA",
       {u"_05HD_GAMMA.cct: Gamma / GAMMA /  / Gamma", u"_21CD_DELTA.cct: Delta / DELTA /  / Delta"}},
      {"nothing found", u"absent", "", Both, Off, u"", {}},
  };
  for (const ResultCase& c : cases) {
    SCOPED_TRACE(c.behaviour);
    EXPECT_EQ(lines(SearchRequest(c.term, switches(c.switches), c.columns, c.condition, c.second)), c.expected);
  }
}

TEST_F(CatalogScanTest, ByteSearchAndDecodedSearchFindTheSameRows) {
  putFourCatalogs();
  struct Pair {
    const char* behaviour;
    SearchRequest bytes;    // searched over the file's bytes
    SearchRequest decoded;  // the same rows, searched over the decoded text
  };
  const std::vector<Pair> pairs = {
      {"one term", SearchRequest(u"README", switches("")), SearchRequest(u"[R]EADME", switches("p"))},
      {"a term with double-byte characters", SearchRequest(u"ガイド", switches("")),
       SearchRequest(u"[ガ]イド", switches("p"))},
      {"whole words", SearchRequest(u"cat", switches("t")), SearchRequest(u"[c]at", switches("pt"))},
  };
  for (const Pair& p : pairs) {
    SCOPED_TRACE(p.behaviour);
    ASSERT_TRUE(CatalogMatcher(p.bytes).searchesBytes());
    ASSERT_FALSE(CatalogMatcher(p.decoded).searchesBytes());
    const std::vector<Text> byBytes = lines(p.bytes);
    EXPECT_FALSE(byBytes.empty());
    EXPECT_EQ(lines(p.decoded), byBytes);
  }
}

TEST_F(CatalogScanTest, ACharacterWithTwoCodesIsFoundInEither) {
  // "≒" is 81 E0 and, in the NEC rows, 87 90; the writer uses one of them,
  // files of other programs may hold the other.
  std::string bytes = listFileOf({{0, u"DUP", u""}, {1, u"≒.txt", u"", u"", u"1"}});
  const std::string written = cp932::encode(u"≒");
  const std::string other = written == "\x81\xE0" ? "\x87\x90" : "\x81\xE0";
  ASSERT_EQ(cp932::decode(other), u"≒");
  bytes.replace(bytes.find(written), written.size(), other);
  put("_00HD_DUP.cct", bytes);
  EXPECT_EQ(lines(SearchRequest(u"≒.txt", switches(""))), std::vector<Text>{u"_00HD_DUP.cct:  / ≒.txt /  / "});
}

TEST_F(CatalogScanTest, ResultRowsCarryHitNumberKindAndGroupColour) {
  // 14 catalogs with hits and one without between them.
  for (int i = 0; i < 15; ++i) {
    const std::string n = std::to_string(10 + i);
    const Text hits = i == 3 ? u"none here" : u"needle";
    putCatalog("_" + n + (i % 3 == 1 ? "FD" : "HD") + "_C.cct",
               {{0, u"C" + ascii(n), u""}, {1, hits + u".a", u"", u"", u"1"}, {1, hits + u".b", u"", u"", u"1"}});
  }
  run(SearchRequest(u"needle", switches("")));
  ASSERT_EQ(results.rowCount(), 28);
  std::vector<int> groups;
  for (int row = 0; row < results.rowCount(); row += 2) {
    EXPECT_EQ(grid.highlight(row), grid.highlight(row + 1)) << "rows of one catalog share its colour";
    groups.push_back(grid.highlight(row));
  }
  EXPECT_EQ(groups, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 1}));
  EXPECT_EQ(grid.field(4, 0), u"0000");
  EXPECT_EQ(grid.field(4, 27), u"001B");
  EXPECT_EQ(results.hitCounter(), 28u);
  for (int row = 0; row < results.rowCount(); ++row) {
    const SearchListEntry* catalog = results.catalogOf(row);
    ASSERT_NE(catalog, nullptr);
    EXPECT_EQ(grid.kind(row), catalog->mediumKind);
    EXPECT_EQ(grid.colour(row), 0);
    EXPECT_EQ(grid.level(row), 0);
    EXPECT_EQ(grid.field(0, row), catalog->title);
  }
  EXPECT_EQ(results.catalogOf(0)->fileName, u"_10HD_C.cct");
  EXPECT_EQ(results.catalogOf(2)->fileName, u"_11FD_C.cct");
  EXPECT_EQ(results.catalogIndexOf(6), 4) << "the catalog without hits keeps its place in the list";
  EXPECT_EQ(results.catalogIndexOf(28), -1);
}

TEST(SearchResultsTest, HitNumbersAreFourHexDigitsThatWrap) {
  const struct {
    std::uint32_t number;
    Text record;
  } cases[] = {
      {0,
       u"\x10T\x11P\x12\x13\x14"
       u"0000\x15"},
      {0xFFFF,
       u"\x10T\x11P\x12\x13\x14"
       u"FFFF\x15"},
      {0x10000,
       u"\x10T\x11P\x12\x13\x14"
       u"0000\x15"},
      {0x1234F,
       u"\x10T\x11P\x12\x13\x14"
       u"234F\x15"},
  };
  for (const auto& c : cases) EXPECT_EQ(SearchResults::recordOf({u"T", u"P", u"", u""}, c.number), c.record);
}

TEST_F(CatalogScanTest, MediaAndGenreFiltersChooseTheCatalogs) {
  putFourCatalogs();
  putCatalog("_03hd_lower.cct", {{0, u"LOWER", u"lower"}});
  putCatalog("_00XD_ODD.cct", {{0, u"ODD", u"odd"}});
  putCatalog("_0xCD_NOGENRE.cct", {{0, u"NOGENRE", u"no genre"}});
  put("notes.txt", "x");
  std::filesystem::create_directories(folder() / "_00CD_FOLDER.CCT");
  std::vector<Text> searched;
  hooks.progress = [&](TextView title) { searched.emplace_back(title); };
  const auto genres = [](const char16_t* list) { return GenreFilter{true, list}; };
  const struct {
    const char* behaviour;
    unsigned media;
    GenreFilter genres;
    std::vector<Text> titles;  // of the catalogs searched, in the folder's order
  } cases[] = {
      {"all media; any medium letter passes",
       media::All,
       {},
       {u"Alpha disc", u"odd", u"Beta readme notes", u"lower", u"Gamma", u"no genre", u"Delta"}},
      {"CD", media::CD, {}, {u"Alpha disc", u"no genre", u"Delta"}},
      {"floppy", media::FD, {}, {u"Beta readme notes"}},
      {"hard disk, any case of the name", media::HD, {}, {u"lower", u"Gamma"}},
      {"CD and floppy",
       media::CD | media::FD,
       {},
       {u"Alpha disc", u"odd", u"Beta readme notes", u"no genre", u"Delta"}},
      {"CD and hard disk",
       media::CD | media::HD,
       {},
       {u"Alpha disc", u"odd", u"lower", u"Gamma", u"no genre", u"Delta"}},
      {"floppy and hard disk", media::FD | media::HD, {}, {u"odd", u"Beta readme notes", u"lower", u"Gamma"}},
      {"genre 0 only", media::All, genres(u"10000000000000000000"), {u"Alpha disc", u"odd"}},
      {"genres 1 and 5", media::All, genres(u"01000100000000000000"), {u"Beta readme notes", u"Gamma"}},
      {"genre 21 and a name without a genre never with the filter on",
       media::All,
       genres(u"11111111111111111111"),
       {u"Alpha disc", u"odd", u"Beta readme notes", u"lower", u"Gamma"}},
      {"the filter off searches every genre",
       media::All,
       GenreFilter{false, u"00000000000000000000"},
       {u"Alpha disc", u"odd", u"Beta readme notes", u"lower", u"Gamma", u"no genre", u"Delta"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.behaviour);
    searched.clear();
    const CatalogScan::Outcome o = run(SearchRequest(u"absent", switches("")), c.media, c.genres);
    EXPECT_EQ(searched, c.titles);
    EXPECT_EQ(o.catalogsSearched, static_cast<int>(c.titles.size()));
    EXPECT_TRUE(o.skipped.empty());
  }
}

TEST_F(CatalogScanTest, SearchListEntriesKeepNameKindAndTitleApart) {
  putCatalog("_00CD_A.cct", {{0, u"A", u"tab\there"}});
  putCatalog("_01fd_B.cct", {{0, u"B", u"  blanks  "}});
  putCatalog("_02HD_C.cct", {{0, u"C"}});
  const std::vector<SearchListEntry> list = buildSearchList(files, folder(), media::All);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].fileName, u"_00CD_A.cct");
  EXPECT_EQ(list[0].nativeName, "_00CD_A.cct");
  EXPECT_EQ(list[0].mediumKind, 1);
  EXPECT_EQ(list[1].mediumKind, 2);
  EXPECT_EQ(list[2].mediumKind, 3);
  run(SearchRequest(u"absent", switches("")));
  ASSERT_EQ(results.catalogs().size(), 3u);
  EXPECT_EQ(results.catalogs()[0].title, u"tab\there");
  EXPECT_EQ(results.catalogs()[1].title, u"blanks") << "blanks trimmed at both ends";
  EXPECT_EQ(results.catalogs()[2].title, u"") << "a title line without title";
}

TEST_F(CatalogScanTest, ATabInACatalogTitleKeepsTheCatalogInTheSearch) {
  putCatalog("_00CD_TAB.cct", {{0, u"TAB", u"Tab\tTitle"}, {1, u"wanted.txt", u"", u"", u"1"}});
  putCatalog("_00CD_ZZZ.cct", {{0, u"ZZZ", u"Plain"}, {1, u"wanted.doc", u"", u"", u"1"}});
  EXPECT_EQ(
      lines(SearchRequest(u"wanted", switches(""))),
      (std::vector<Text>{u"_00CD_TAB.cct: Tab\tTitle / wanted.txt /  / ", u"_00CD_ZZZ.cct: Plain / wanted.doc /  / "}));
}

TEST_F(CatalogScanTest, OldDamagedAndVanishedFilesAreSkippedAndTheRestSearched) {
  const std::string good = listFileOf({{0, u"GOOD", u"Good"}, {1, u"wanted.txt", u"", u"", u"1"}});
  std::string badHex = good;
  badHex[24] = 'x';
  put("_00CD_A_OLD.cct", testfiles::oldListFile(u"OLD", u"wanted"));
  put("_00CD_B_GOOD.cct", good);
  put("_00CD_C_OLD.cct", testfiles::oldListFile(u"OLD2", u"wanted"));
  put("_00CD_D_TAG.cct", "CX" + good.substr(2));
  put("_00CD_E_SHORT.cct", good.substr(0, 40));
  put("_00CD_F_HEX.cct", badHex);
  put("_00CD_G_HEAP.cct", good.substr(0, 64) + "wanted" + good.substr(70));
  put("_00CD_H_LOCKED.cct", good);
  put("_00CD_I_GONE.cct", good);
  put("_00CD_J_GOOD.cct", good);
  files.fail(Op::Read, EACCES, folder() / "_00CD_H_LOCKED.cct");
  files.fail(Op::Read, ENOENT, folder() / "_00CD_I_GONE.cct");
  using R = CatalogScan::SkipReason;
  const auto reasons = [](const CatalogScan::Outcome& o) {
    std::vector<std::pair<Text, R>> out;
    for (const CatalogScan::Skipped& s : o.skipped) out.emplace_back(s.fileName, s.reason);
    return out;
  };
  const std::vector<std::pair<Text, R>> skipped = {
      {u"_00CD_A_OLD.cct", R::OldLayout},     {u"_00CD_C_OLD.cct", R::OldLayout}, {u"_00CD_D_TAG.cct", R::Damaged},
      {u"_00CD_E_SHORT.cct", R::Damaged},     {u"_00CD_F_HEX.cct", R::Damaged},   {u"_00CD_G_HEAP.cct", R::Damaged},
      {u"_00CD_H_LOCKED.cct", R::Unreadable},
  };
  const std::vector<Text> found = {u"_00CD_B_GOOD.cct: Good / wanted.txt /  / ",
                                   u"_00CD_J_GOOD.cct: Good / wanted.txt /  / "};

  // Without a conversion: old files are noted, never read again.
  CatalogScan::Outcome o = run(SearchRequest(u"wanted", switches("")));
  EXPECT_EQ(reasons(o), skipped);
  EXPECT_EQ(o.skipped[6].error, std::strerror(EACCES));
  EXPECT_FALSE(o.converted);
  EXPECT_EQ(linesOf(results), found);
  EXPECT_EQ(files.calls(Op::Read), 10);

  // A conversion that leaves the files as they are is asked for once.
  int conversions = 0;
  hooks.convertOldFiles = [&] {
    ++conversions;
    return true;
  };
  files.fail(Op::Read, EACCES, folder() / "_00CD_H_LOCKED.cct");
  files.fail(Op::Read, ENOENT, folder() / "_00CD_I_GONE.cct");
  o = run(SearchRequest(u"wanted", switches("")));
  EXPECT_EQ(conversions, 1);
  EXPECT_TRUE(o.converted);
  EXPECT_EQ(reasons(o), skipped);
  EXPECT_EQ(linesOf(results), found);
}

TEST_F(CatalogScanTest, OldFilesConvertedOnceAreSearched) {
  put("_00CD_A_OLD.cct", testfiles::oldListFile(u"OLD", u"wanted"));
  put("_00CD_B_OLD.cct", testfiles::oldListFile(u"OLD", u"wanted"));
  int conversions = 0;
  hooks.convertOldFiles = [&] {
    ++conversions;
    for (const char* name : {"_00CD_A_OLD.cct", "_00CD_B_OLD.cct"})
      put(name, listFileOf({{0, u"NEW", u"Converted"}, {1, u"wanted.txt", u"", u"", u"1"}}));
    return true;
  };
  const CatalogScan::Outcome o = run(SearchRequest(u"wanted", switches("")));
  EXPECT_EQ(conversions, 1);
  EXPECT_TRUE(o.skipped.empty());
  EXPECT_EQ(linesOf(results), (std::vector<Text>{u"_00CD_A_OLD.cct: Converted / wanted.txt /  / ",
                                                 u"_00CD_B_OLD.cct: Converted / wanted.txt /  / "}));
}

TEST_F(CatalogScanTest, StoppingKeepsTheRowsFoundAndReadsNoFurtherCatalog) {
  std::vector<Row> many = {{0, u"MANY", u"Many"}};
  for (int i = 0; i < 20; ++i) many.push_back({1, u"hit" + ascii(std::to_string(i)), u"", u"", u"1"});
  putCatalog("_00CD_A.cct", many);
  putCatalog("_00CD_B.cct", many);
  const struct {
    const char* behaviour;
    const char* switches;
    int pumpsBeforeStop;  // pumps that say "go on"
    int rows;
    int reads;
  } cases[] = {
      {"stop at the first catalog's progress line", "", 0, 0, 1},
      {"stop at the 8th row", "", 1, 8, 1},
      {"stop at the 16th row", "", 2, 16, 1},
      {"stop at the second catalog's progress line", "", 3, 20, 2},
      {"the same over decoded text", "c", 1, 8, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.behaviour);
    int pumps = 0;
    hooks.pump = [&] { return pumps++ < c.pumpsBeforeStop; };
    const int readsBefore = files.calls(Op::Read);
    const CatalogScan::Outcome o = run(SearchRequest(u"hit", switches(c.switches)));
    EXPECT_TRUE(o.cancelled);
    EXPECT_EQ(results.rowCount(), c.rows);
    EXPECT_EQ(files.calls(Op::Read) - readsBefore, c.reads);
  }
  hooks.pump = [] { return true; };
  EXPECT_FALSE(run(SearchRequest(u"hit", switches(""))).cancelled);
  EXPECT_EQ(results.rowCount(), 40);
}

TEST_F(CatalogScanTest, ALargeCatalogIsDecodedInPiecesWithPumpsBetween) {
  std::vector<Row> rows = {{0, u"BIG", u"Big"}};
  for (unsigned i = 0; i < 60000; ++i) {
    const std::string n = std::to_string(100000 + i).substr(1);
    rows.push_back({1, u"ｶﾞｲﾄﾞ" + ascii(n) + u".txt", u"", u"01/01/01 00:00", u"1"});
  }
  const std::string bytes = listFileOf(rows);
  ASSERT_GT(bytes.size(), 2 * CatalogMatcher::PieceBytes);
  put("_00CD_BIG.cct", bytes);
  int pumps = 0;
  hooks.pump = [&] { return ++pumps > 0; };
  EXPECT_EQ(lines(SearchRequest(u"ガイド59999", switches("w"))),
            std::vector<Text>{u"_00CD_BIG.cct: Big / ｶﾞｲﾄﾞ59999.txt / 01/01/01 00:00 / "});
  EXPECT_GE(pumps, 3) << "the progress line and the pieces";
  EXPECT_EQ(lines(SearchRequest(u"ｶﾞｲﾄﾞ00000", switches("w"))),
            std::vector<Text>{u"_00CD_BIG.cct: Big / ｶﾞｲﾄﾞ00000.txt / 01/01/01 00:00 / "});
}

TEST(CatalogScanTerms, TheFirstTermNeedsTwoBytes) {
  const struct {
    Text term;
    bool accepted;
  } cases[] = {{u"a", false}, {u"ｱ", false}, {u"", false}, {u"ab", true}, {u"ａ", true}, {u"ｱｲ", true}};
  for (const auto& c : cases) EXPECT_EQ(CatalogScan::termLongEnough(c.term), c.accepted) << toUtf8(c.term);
}

}  // namespace
}  // namespace zevro
