#include "search/TrigramIndex.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "SearchTestText.h"
#include "TempFolder.h"
#include "core/CatalogList.h"
#include "core/ListFile.h"
#include "core/RowStore.h"
#include "platform/LinuxFileSystem.h"
#include "search/CatalogMatcher.h"
#include "search/CatalogScan.h"
#include "search/SearchIndexes.h"
#include "search/SearchList.h"
#include "search/SearchResults.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

using searchtest::switches;

struct Row {
  int level;
  Text name;
  Text comment;
  Text date;
  Text size;
};

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

TEST(IndexFoldingTest, EveryFoldingOfATextGivesTheSameIndexText) {
  struct Case {
    Text a, b;
  };
  const std::vector<Case> cases = {
      {u"ｶﾞｲﾄﾞ", u"ガイド"}, {u"ｶﾞｲﾄﾞ", u"カ゛イト゛"}, {u"ﾊﾟﾝ", u"パン"},   {u"ｳﾞ", u"ヴ"},
      {u"abc", u"ＡＢＣ"},   {u"a b", u"Ａ　Ｂ"},       {u"’￥", u"＇＼"}, {u"ﾜﾞ", u"ワ゛"},
  };
  for (const Case& c : cases) {
    Text a, b;
    indexFold(c.a, a);
    indexFold(c.b, b);
    EXPECT_EQ(a, b);
  }
  Text out;
  indexFold(u"漢字がいど", out);
  EXPECT_EQ(out, u"漢字がいど");  // hiragana and kanji stay as they are
}

TEST(TrigramIndexTest, TermsGiveTheTrigramsOfTheirLiteralText) {
  struct Case {
    Text term;
    const char* switches;
    std::size_t trigrams;
  };
  const std::vector<Case> cases = {
      {u"ab", "", 0},          // too short
      {u"abc", "", 1},         {u"abcd", "c", 2},       {u"ｶﾞｲ", "w", 1},  // "カ゛イ": letter and mark apart
      {u"ab*cd", "p", 0},      {u"abc*de", "p", 1},     {u"a?bcd[xy]efg", "p", 2},
      {u"[abc]", "p", 0},      {u"a\x10" u"bc", "", 0},  // a field marker: only the scan knows
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.switches));
    EXPECT_EQ(TrigramIndex::termTrigrams(SearchTerm(c.term, switches(c.switches))).size(), c.trigrams);
  }
}

const std::vector<Row> Sample = {
    {0, u"SAMPLE", u"Sample disc", u"", u"10"},
    {1, u"DOCS", u"", u"99/12/31 23:55", u""},
    {2, u"readme.txt", u"Read me", u"99/12/31 23:55", u"1,234"},
    {1, u"ｶﾞｲﾄﾞ.txt", u"guide", u"00/01/01 00:00", u"5"},
};

TrigramIndex::Stamp stampOf(const std::string& bytes) {
  return {bytes.size(), 1234567890, TrigramIndex::headerHashOf(bytes)};
}

// Rows 0 to 199: "f0", "f1", …; "readme.txt" is row 70, "ｶﾞｲﾄﾞ.txt" row 150.
std::vector<Row> blocksCatalog() {
  std::vector<Row> rows = {{0, u"BIG", u"", u"", u"1"}};
  for (int i = 1; i < 200; ++i) {
    const std::string n = std::to_string(i);
    rows.push_back({1, i == 70 ? u"readme.txt" : i == 150 ? u"ｶﾞｲﾄﾞ.txt" : u"f" + Text(n.begin(), n.end()), u"",
                    u"", u"1"});
  }
  return rows;
}

std::vector<int> rowsOfBlocks(std::initializer_list<int> blocks, int rowCount) {
  std::vector<int> rows;
  const int size = static_cast<int>(TrigramIndex::RowsPerBlock);
  for (int b : blocks)
    for (int r = b * size; r < std::min((b + 1) * size, rowCount); ++r) rows.push_back(r);
  return rows;
}

TEST(TrigramIndexTest, AnIndexNamesTheBlocksOfRowsThatHoldATerm) {
  const std::string bytes = listFileOf(blocksCatalog());
  ListFileBytes file(bytes);
  const std::string index = TrigramIndex::build(file, stampOf(bytes));
  TrigramIndex opened;
  ASSERT_EQ(opened.openChecked(index, stampOf(bytes)), TrigramIndex::Status::Fresh);
  ASSERT_EQ(opened.rowCount(), 200);
  ASSERT_EQ(TrigramIndex::RowsPerBlock, 64u);
  struct Case {
    const char* behaviour;
    SearchRequest request;
    std::vector<int> rows;
  };
  const std::vector<Case> cases = {
      {"one term", SearchRequest(u"readme", switches("")), rowsOfBlocks({1}, 200)},
      {"folded to the index's folding", SearchRequest(u"ガイド", switches("w")), rowsOfBlocks({2}, 200)},
      {"half width unfolded", SearchRequest(u"ｶﾞｲﾄﾞ", switches("")), rowsOfBlocks({2}, 200)},
      {"case folded", SearchRequest(u"README", switches("c")), rowsOfBlocks({1}, 200)},
      {"nowhere", SearchRequest(u"zzz", switches("")), {}},
      {"OR", SearchRequest(u"readme", switches(""), column::Both, Condition::Or, u"ｶﾞｲﾄﾞ"), rowsOfBlocks({1, 2}, 200)},
      {"AND", SearchRequest(u"readme", switches(""), column::Both, Condition::And, u"ｶﾞｲﾄﾞ"), {}},
      {"a pattern's literal runs", SearchRequest(u"rea?me*txt", switches("p")), rowsOfBlocks({1}, 200)},
      {"the last block is short", SearchRequest(u"f199", switches("")), rowsOfBlocks({3}, 200)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    std::vector<int> rows;
    ASSERT_TRUE(opened.candidates(c.request, rows));
    EXPECT_EQ(rows, c.rows);
  }
  std::vector<int> rows;
  EXPECT_FALSE(opened.candidates(SearchRequest(u"re", switches("")), rows));
  EXPECT_FALSE(opened.candidates(SearchRequest(u"readme", switches(""), column::Both, Condition::Or, u"gu"), rows));
  EXPECT_FALSE(opened.candidates(SearchRequest(u"r*e", switches("p")), rows));
}

TEST(TrigramIndexTest, StaleAndDamagedIndexesAreRefused) {
  const std::string bytes = listFileOf(Sample);
  ListFileBytes file(bytes);
  const TrigramIndex::Stamp stamp = stampOf(bytes);
  const std::string index = TrigramIndex::build(file, stamp);
  TrigramIndex opened;
  using Status = TrigramIndex::Status;

  TrigramIndex::Stamp resized = stamp, touched = stamp, otherHeader = stamp;
  resized.size += 1;
  touched.modified += 1;
  otherHeader.headerHash = TrigramIndex::headerHashOf("BX" + std::string(62, '1'));
  EXPECT_EQ(opened.open(index, resized), Status::Stale);
  EXPECT_EQ(opened.open(index, touched), Status::Stale);
  EXPECT_EQ(opened.open(index, otherHeader), Status::Stale);
  std::vector<int> rows;
  EXPECT_FALSE(opened.candidates(SearchRequest(u"readme", switches("")), rows));

  EXPECT_EQ(opened.open(index.substr(0, index.size() - 1), stamp), Status::Damaged);
  EXPECT_EQ(opened.open(index.substr(0, 40), stamp), Status::Damaged);
  EXPECT_EQ(opened.open(index + "x", stamp), Status::Damaged);
  std::string header = index;
  header[33] ^= 1;  // the row count, under the header hash
  EXPECT_EQ(opened.open(header, stamp), Status::Damaged);
  std::string body = index;
  body[body.size() - 2] ^= 0x40;
  EXPECT_EQ(opened.openChecked(body, stamp), Status::Damaged);
}

// Random catalogs over an alphabet where folding matters (half and full
// width, marks that join, letters of both cases, pattern characters), and
// random requests: every search gives the same results through the indexes
// as over the whole catalogs.
const std::vector<Text> Pieces = {u"a",  u"b",  u"A",  u"B",  u"ａ", u"Ｂ", u"ｶ", u"ﾞ", u"ﾊ",  u"ﾟ",  u"ガ", u"カ",
                                  u"パ", u"゛", u" ",  u"　", u"1",  u"#",  u"*", u"?", u"[",  u"]",  u"’",  u"＇",
                                  u"本", u"ab", u"ca", u"ｶﾞ", u"ab", u".",  u"-", u"!", u"ｱ", u"ア"};

Text randomText(std::mt19937& random, int most) {
  Text t;
  const int n = static_cast<int>(random() % static_cast<unsigned>(most + 1));
  for (int i = 0; i < n; ++i) t += Pieces[random() % Pieces.size()];
  return t;
}

std::vector<Row> randomCatalog(std::mt19937& random) {
  std::vector<Row> rows = {{0, u"VOL" + randomText(random, 2), randomText(random, 4), u"", u"1"}};
  const int count = 1 + static_cast<int>(random() % 200);
  int level = 0;
  for (int i = 0; i < count; ++i) {
    level = 1 + static_cast<int>(random() % static_cast<unsigned>(level + 1));
    Text name = randomText(random, 6);
    if (name.empty()) name = u"x";
    rows.push_back({level, name, randomText(random, 5), random() % 2 ? u"99/01/0" + randomText(random, 1) : u"",
                    random() % 2 ? u"1,2" : u""});
  }
  return rows;
}

// A term: often a piece of some text of the catalogs, so that it is found.
Text randomTerm(std::mt19937& random, const std::vector<std::vector<Row>>& catalogs) {
  if (random() % 3 == 0) return randomText(random, 5);
  const std::vector<Row>& c = catalogs[random() % catalogs.size()];
  const Row& r = c[random() % c.size()];
  const Text& t = random() % 2 ? r.name : r.comment;
  if (t.empty()) return randomText(random, 4);
  const std::size_t from = random() % t.size();
  return t.substr(from, 1 + random() % 6);
}

// Everything a search leaves behind: the catalogs and their titles, each
// result record with its catalog and the group colour, the hit counter.
std::string outputOf(const SearchResults& results) {
  std::string out;
  for (const SearchListEntry& e : results.catalogs()) out += e.nativeName + "=" + cp932::encode(e.title) + "\n";
  for (int row = 0; row < results.rowCount(); ++row)
    out += std::to_string(results.catalogIndexOf(row)) + ":" + cp932::encode(results.grid().record(row)) + "\n";
  out += "#" + std::to_string(results.hitCounter()) + "/" + std::to_string(results.groupColour());
  return out;
}

class IndexedSearchTest : public ::testing::Test {
protected:
  // What the matcher finds in one catalog: over the whole catalog, or only
  // in the candidates its index names (the whole catalog when it names none).
  std::vector<std::string> rowsFound(const SearchRequest& request, ListFileBytes& file, const TrigramIndex& index,
                                     bool indexed) {
    std::vector<std::string> found;
    const CatalogMatcher::Found collect = [&](ResultFields&& f) {
      found.push_back(cp932::encode(f.path + u"|" + f.date + u"|" + f.comment + u"|" + f.title));
      return true;
    };
    CatalogMatcher matcher(request);
    std::vector<int> rows;
    if (indexed && index.candidates(request, rows)) {
      ++matchedByIndex;
      matcher.searchRows(file, u"T", rows, collect);
      if (!found.empty()) ++hitsByIndex;
    } else {
      matcher.search(file, u"T", collect, {});
    }
    return found;
  }
  int matchedByIndex = 0;
  int hitsByIndex = 0;

  IndexedSearchTest() : temp("zevro-trigram") {}
  NativePath catalogFolder() const { return temp.path("Catalog"); }

  std::string search(const SearchRequest& request, SearchIndexes* indexes) {
    RowStore grid;
    SearchResults results{grid};
    CatalogScan scan(files, catalogFolder());
    scan.useIndexes(indexes);
    const CatalogScan::Outcome outcome = scan.run(request, media::All, GenreFilter{}, results);
    if (indexes) byIndex += outcome.catalogsByIndex;
    if (indexes) unread += outcome.catalogsUnread;
    return outputOf(results);
  }

  test::TempFolder temp;
  LinuxFileSystem files;
  int byIndex = 0;  // catalogs searched through their indexes
  int unread = 0;   // of those, passed by unread
};

TEST_F(IndexedSearchTest, IndexedSearchAndScanGiveTheSameOutput) {
  std::mt19937 random(20261210);
  const char* const switchSets[] = {"", "c", "w", "cw", "p", "cp", "wp", "cwp", "t", "ct", "wt", "cwpt", "pt"};
  const Condition conditions[] = {Condition::Off, Condition::Off, Condition::And, Condition::Or};
  int cases = 0, scannedHits = 0;
  for (int round = 0; round < 60; ++round) {
    std::filesystem::remove_all(catalogFolder());
    std::vector<std::vector<Row>> catalogs;
    for (int c = 0; c < 3; ++c) {
      catalogs.push_back(randomCatalog(random));
      temp.put("Catalog/_0" + std::to_string(c) + "CD_C" + std::to_string(c) + ".cct", listFileOf(catalogs.back()));
    }
    SearchIndexes indexes(this->files, temp.root(), catalogFolder());
    std::vector<std::string> bytes, built;
    for (const std::vector<Row>& rows : catalogs) bytes.push_back(listFileOf(rows));
    std::vector<std::unique_ptr<ListFileBytes>> files;
    std::vector<std::unique_ptr<TrigramIndex>> opened;
    for (const std::string& b : bytes) {
      files.push_back(std::make_unique<ListFileBytes>(b));
      built.push_back(TrigramIndex::build(*files.back(), stampOf(b)));
    }
    for (std::size_t c = 0; c < bytes.size(); ++c) {
      opened.push_back(std::make_unique<TrigramIndex>());
      ASSERT_EQ(opened.back()->open(built[c], stampOf(bytes[c])), TrigramIndex::Status::Fresh);
    }
    for (int q = 0; q < 60; ++q, ++cases) {
      const Text term = randomTerm(random, catalogs);
      const MatchSwitches s = switches(switchSets[random() % std::size(switchSets)]);
      const unsigned columns = 1 + random() % 3;
      const Condition condition = conditions[random() % std::size(conditions)];
      const SearchRequest request(term, s, columns, condition, randomTerm(random, catalogs));
      for (std::size_t c = 0; c < files.size(); ++c) {
        SCOPED_TRACE(c);
        ASSERT_EQ(rowsFound(request, *files[c], *opened[c], true), rowsFound(request, *files[c], *opened[c], false))
            << "round " << round << " case " << q;
      }
      if (q % 4 != 0) continue;  // the whole search, with its fallbacks, for every fourth
      const std::string scanned = search(request, nullptr);
      const std::string indexed = search(request, &indexes);
      ASSERT_EQ(indexed, scanned) << "round " << round << " case " << q;
      if (scanned.find('\x10') != std::string::npos) ++scannedHits;
    }
  }
  EXPECT_EQ(cases, 3600);
  EXPECT_GT(scannedHits, cases / 4 / 4);  // many of the searches found something
  EXPECT_GT(byIndex, 0);                  // and catalogs went by their indexes
  EXPECT_GT(unread, 0);                   // some of them not even read
  EXPECT_GT(matchedByIndex, cases);       // most catalogs' requests had trigrams
  EXPECT_GT(hitsByIndex, cases / 20);     // and hits among their candidates (a term comes from one catalog of three)
}

TEST_F(IndexedSearchTest, ACatalogReplacedBehindTheIndexIsSearchedAfresh) {
  temp.put("Catalog/_00CD_SAMPLE.cct", listFileOf(Sample));
  SearchIndexes indexes(files, temp.root(), catalogFolder());
  const SearchRequest readme(u"readme", switches("c"));
  ASSERT_EQ(search(readme, &indexes), search(readme, nullptr));
  ASSERT_EQ(indexes.check("_00CD_SAMPLE.cct"), SearchIndexes::State::Fresh);

  std::vector<Row> changed = Sample;
  changed[2].name = u"other.txt";
  changed.push_back({1, u"README.md", u"", u"", u"7"});
  temp.put("Catalog/_00CD_SAMPLE.cct", listFileOf(changed));
  std::filesystem::last_write_time(catalogFolder() / "_00CD_SAMPLE.cct",
                                   std::filesystem::file_time_type::clock::now() + std::chrono::hours(1));
  EXPECT_EQ(indexes.check("_00CD_SAMPLE.cct"), SearchIndexes::State::Stale);
  const std::string scanned = search(readme, nullptr);
  EXPECT_NE(scanned.find("README.md"), std::string::npos);
  EXPECT_EQ(search(readme, &indexes), scanned);
  EXPECT_EQ(indexes.check("_00CD_SAMPLE.cct"), SearchIndexes::State::Fresh);  // rebuilt by the search

  // A damaged index is rebuilt too, and so is a deleted cache: a loose
  // index and the pack of the folder.
  ASSERT_TRUE(std::filesystem::exists(indexes.packPath()));
  const std::string loose = "SearchIndex/" + indexes.folder().filename().string() + "/_00CD_SAMPLE.cct.zti";
  temp.put(loose, "ZVTRIX1\ngarbage");
  EXPECT_EQ(indexes.check("_00CD_SAMPLE.cct"), SearchIndexes::State::Fresh);  // the pack still answers
  std::filesystem::remove(temp.path(loose));
  std::string pack;
  ASSERT_FALSE(files.readFile(indexes.packPath(), pack));
  for (std::size_t cut : {pack.size() - 1, std::size_t{100}, std::size_t{47}}) {
    temp.put("SearchIndex/" + indexes.folder().filename().string() + "/" + SearchIndexes::PackName, pack.substr(0, cut));
    SearchIndexes fresh(files, temp.root(), catalogFolder());
    EXPECT_EQ(fresh.check("_00CD_SAMPLE.cct"), SearchIndexes::State::Damaged) << cut;
  }
  temp.put(loose, "ZVTRIX1\ngarbage");
  EXPECT_EQ(indexes.check("_00CD_SAMPLE.cct"), SearchIndexes::State::Damaged);
  EXPECT_EQ(search(readme, &indexes), scanned);
  EXPECT_EQ(indexes.check("_00CD_SAMPLE.cct"), SearchIndexes::State::Fresh);  // the search wrote a new pack
  EXPECT_FALSE(std::filesystem::exists(temp.path(loose)));
  std::filesystem::remove_all(temp.path("SearchIndex"));
  EXPECT_EQ(indexes.check("_00CD_SAMPLE.cct"), SearchIndexes::State::Missing);
  EXPECT_EQ(search(readme, &indexes), scanned);
  EXPECT_EQ(indexes.update("_00CD_SAMPLE.cct", false), SearchIndexes::State::Fresh);
  EXPECT_EQ(indexes.update("_00CD_SAMPLE.cct", true), SearchIndexes::State::Built);
}

}  // namespace
}  // namespace zevro

namespace zevro {
namespace {

// Bytes that are no CP932 character on their own (a lead byte before a
// field marker) are indexed as the search decodes them: the rows around
// them are still found through the index, and the whole search agrees.
TEST_F(IndexedSearchTest, ALeadByteWithoutItsTrailIsIndexedAsTheSearchReadsIt) {
  std::vector<Row> rows = Sample;
  rows[1].name = u"DOCSX";
  for (int i = 0; i < 300; ++i) rows.push_back({2, u"file" + fromUtf8(std::to_string(i)) + u".dat", u"", u"", u"1"});
  rows.push_back({2, u"closing.txt", u"", u"", u"2"});
  std::string bytes = listFileOf(rows);
  const std::size_t x = bytes.find("DOCSX");
  ASSERT_NE(x, std::string::npos);
  bytes[x + 4] = '\x81';  // a lead byte, and then the marker after the name
  temp.put("Catalog/_00CD_ODD.cct", bytes);
  ListFileBytes file(bytes);
  ASSERT_EQ(file.layout(), ListFileBytes::Layout::Current);
  const std::string built = TrigramIndex::build(file, stampOf(bytes));
  TrigramIndex index;
  ASSERT_EQ(index.open(built, stampOf(bytes)), TrigramIndex::Status::Fresh);
  SearchIndexes indexes(files, temp.root(), catalogFolder());
  for (const Text& term : {Text(u"closing"), Text(u"readme"), Text(u"DOCS"), Text(u"file29")}) {
    const SearchRequest request(term, switches("c"));
    std::vector<int> candidates;
    ASSERT_TRUE(index.candidates(request, candidates)) << toUtf8(term);
    EXPECT_FALSE(candidates.empty()) << toUtf8(term);
    EXPECT_EQ(search(request, &indexes), search(request, nullptr)) << toUtf8(term);
  }
  EXPECT_GT(byIndex, 0);
}

}  // namespace
}  // namespace zevro
