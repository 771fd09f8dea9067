#include "core/GenreTable.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "CatalogTestFiles.h"
#include "TempFolder.h"
#include "platform/FaultyFileSystem.h"
#include "platform/LinuxFileSystem.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

using Op = FaultyFileSystem::Op;

// Genre 0 "ゲーム" first and open, genre 2 "名前" second, genre 1 free.
GenreTable gamesAndNames() {
  GenreTable table;
  table.setName(0, u"ゲーム");
  table.setPosition(0, 0);
  table.setState(0, GenreTable::Open);
  table.setName(2, u"名前");
  table.setPosition(2, 1);
  table.setState(2, GenreTable::ClosedByUser);
  return table;
}

std::string zeros(std::size_t n) { return std::string(n, '\0'); }

std::string repeated(const std::string& piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

TEST(GenreTableFormat, WritesTheFixedLayoutByteForByte) {
  const std::string bytes = gamesAndNames().encode();

  const std::string order = "00-101" + repeated("-1", 17);
  const std::string state = "30100000000000000000";
  const std::string names = cp932::encode(u"|ゲーム||名前|") + repeated("|", 17);
  EXPECT_EQ(bytes.substr(0, 200), order + zeros(200 - order.size()));
  EXPECT_EQ(bytes.substr(200, 100), state + zeros(80));
  EXPECT_EQ(bytes.substr(300, 4), "0026");  // 21 separators and 5 characters of names
  EXPECT_EQ(bytes.substr(304), names);
  EXPECT_EQ(bytes.size(), 304 + names.size());
}

TEST(GenreTableFormat, RoundTripsNamesThatOnlyLookLikeSeparators) {
  struct Row {
    const char* what;
    Text name;
    Text readBack;
  } rows[] = {
      {"Japanese name", u"ゲーム", u"ゲーム"},           {"second byte 0x7C (ポ)", u"ポップス", u"ポップス"},
      {"second byte 0x5C (表)", u"表計算", u"表計算"},   {"a real bar becomes the full-width bar", u"A|B", u"A｜B"},
      {"character Shift-JIS lacks", u"音楽🎵", u"音楽🎵"},
  };
  for (const Row& row : rows) {
    GenreTable table = gamesAndNames();
    table.setName(2, row.name);
    const GenreTable back = GenreTable::decode(table.encode());
    EXPECT_EQ(back.name(2), row.readBack) << row.what;
    EXPECT_EQ(back.name(0), u"ゲーム") << row.what;
    EXPECT_EQ(back.name(3), u"") << row.what;
    EXPECT_EQ(back.position(2), 1) << row.what;
  }
}

TEST(GenreTableFormat, DecodeReadsWhatADamagedFileStillHolds) {
  const std::string full = gamesAndNames().encode();
  struct Row {
    const char* what;
    std::string bytes;
    int position0;
    char16_t state0;
    Text name2;
  } rows[] = {
      {"whole file", full, 0, u'3', u"名前"},
      {"names length counted in bytes", full.substr(0, 300) + "0031" + full.substr(304), 0, u'3', u"名前"},
      {"names cut short", full.substr(0, 304 + 9), 0, u'3', u""},
      {"no names", full.substr(0, 300), 0, u'3', u""},
      {"order only", full.substr(0, 10), 0, u'0', u""},
      {"nothing", "", -1, u'0', u""},
  };
  for (const Row& row : rows) {
    const GenreTable table = GenreTable::decode(row.bytes);
    EXPECT_EQ(table.position(0), row.position0) << row.what;
    EXPECT_EQ(table.state(0), row.state0) << row.what;
    EXPECT_EQ(table.name(2), row.name2) << row.what;
  }
}

class GenreTableTest : public ::testing::Test {
protected:
  GenreTableTest() : faulty(disk) { std::filesystem::create_directories(catalog()); }
  NativePath catalog() const { return folder.path("Catalog"); }

  test::TempFolder folder{"zevro-genres"};
  LinuxFileSystem disk;
  FaultyFileSystem faulty;
};

TEST_F(GenreTableTest, MigrationTakesNamedGenresAndGenresWithListFiles) {
  struct Row {
    const char* what;
    std::vector<std::string> listFiles;
    std::vector<std::pair<int, Text>> groupOptions;
    Text janreOpen;
    std::vector<std::pair<int, Text>> genres;  // in position order
    Text state;
  } rows[] = {
      {"empty folder, no options: three genres",
       {},
       {},
       u"",
       {{0, u"ジャンル00"}, {1, u"ジャンル01"}, {2, u"ジャンル02"}},
       u"00000000000000000000"},
      {"option names and list files",
       {"_03CD_X.cct", "_07hd_y.CCT"},
       {{1, u"音楽"}, {7, u"仕事"}},
       u"03000003000000000000",
       {{1, u"音楽"}, {3, u"ジャンル03"}, {7, u"仕事"}},
       u"03000003000000000000"},
      {"a name without files still counts", {}, {{19, u"Last"}}, u"", {{19, u"Last"}}, u"00000000000000000000"},
      {"short state string padded with closed genres",
       {"_00FD_A.cct"},
       {},
       u"3",
       {{0, u"ジャンル00"}},
       u"30000000000000000000"},
  };
  for (const Row& row : rows) {
    std::filesystem::remove_all(catalog());
    std::filesystem::create_directories(catalog());
    for (const std::string& name : row.listFiles) folder.put("Catalog/" + name, "BX");
    GenreTable::Options options;
    options.janreOpen = row.janreOpen;
    for (const auto& [g, name] : row.groupOptions) options.groupNames[static_cast<std::size_t>(g)] = name;

    const GenreTable table = GenreTable::migrate(faulty, catalog(), options);

    GenreTable expected;
    for (std::size_t p = 0; p < row.genres.size(); ++p) {
      expected.setName(row.genres[p].first, row.genres[p].second);
      expected.setPosition(row.genres[p].first, static_cast<int>(p));
    }
    for (int g = 0; g < GenreTable::Count; ++g) expected.setState(g, row.state[static_cast<std::size_t>(g)]);
    EXPECT_EQ(table, expected) << row.what;
  }
}

TEST_F(GenreTableTest, LoadMigratesAndWritesOnlyWhenTheFileIsMissing) {
  GenreTable::Options options;
  options.groupNames[4] = u"写真";

  const GenreTable::Loaded first = GenreTable::load(faulty, catalog(), options);
  EXPECT_TRUE(first.migrated);
  EXPECT_FALSE(first.error);
  EXPECT_EQ(first.table.name(4), u"写真");
  EXPECT_EQ(folder.get("Catalog/CatJan.CCZ"), first.table.encode());

  const GenreTable::Loaded second = GenreTable::load(faulty, catalog(), GenreTable::Options{});
  EXPECT_FALSE(second.migrated);
  EXPECT_EQ(second.table, first.table);
  EXPECT_EQ(faulty.calls(Op::Write), 1);
}

TEST_F(GenreTableTest, AnUnreadableTableIsNotReplacedByMigration) {
  const std::string bytes = gamesAndNames().encode();
  folder.put("Catalog/catjan.ccz", bytes);
  faulty.fail(Op::Read, EIO);

  const GenreTable::Loaded loaded = GenreTable::load(faulty, catalog(), GenreTable::Options{});

  EXPECT_EQ(loaded.error.code, EIO);
  EXPECT_FALSE(loaded.migrated);
  EXPECT_EQ(faulty.calls(Op::Write), 0);
  EXPECT_EQ(folder.get("Catalog/catjan.ccz"), bytes);
}

TEST_F(GenreTableTest, WriteReplacesAFileSpelledInAnotherCaseAndKeepsItOnFailure) {
  folder.put("Catalog/catjan.ccz", "old");
  faulty.fail(Op::Write, ENOSPC);
  EXPECT_EQ(gamesAndNames().write(faulty, catalog()).code, ENOSPC);
  EXPECT_EQ(folder.get("Catalog/catjan.ccz"), "old");

  EXPECT_FALSE(gamesAndNames().write(faulty, catalog()));
  EXPECT_EQ(folder.get("Catalog/catjan.ccz"), gamesAndNames().encode());
  EXPECT_FALSE(folder.there("Catalog/CatJan.CCZ"));
}

}  // namespace
}  // namespace zevro
