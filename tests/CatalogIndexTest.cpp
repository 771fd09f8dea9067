#include "core/CatalogIndex.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "CatalogTestFiles.h"
#include "TempFolder.h"
#include "platform/FaultyFileSystem.h"
#include "platform/LinuxFileSystem.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

using testfiles::currentListFile;
using testfiles::oldListFile;
using Op = FaultyFileSystem::Op;

std::string bytesOf(std::initializer_list<std::string_view> parts) {
  std::string out;
  for (std::string_view p : parts) out += p;
  return out;
}

const std::string EmptyIndex("\x02\x00", 2);

class CatalogIndexTest : public ::testing::Test {
protected:
  CatalogIndexTest() : faulty(disk), index(faulty, folder.path("Catalog")) {
    std::filesystem::create_directories(folder.path("Catalog"));
  }

  void putList(const std::string& name, TextView label, TextView title) const {
    folder.put("Catalog/" + name, currentListFile(label, title));
  }
  void putIndex(const std::string& bytes) const { folder.put("Catalog/CatList.CCZ", bytes); }
  std::string indexBytes() const { return folder.get("Catalog/CatList.CCZ"); }

  test::TempFolder folder{"zevro-index"};
  LinuxFileSystem disk;
  FaultyFileSystem faulty;
  CatalogIndex index;
};

// --- The file format ---------------------------------------------------------

TEST(CatalogIndexFormat, EncodesEntriesBetweenCode2WithCode8BeforeTheTitle) {
  struct Row {
    const char* what;
    std::vector<CatalogIndexEntry> entries;
    std::string bytes;
  } rows[] = {
      {"empty index", {}, EmptyIndex},
      {"two catalogs",
       {{u"_00cd_a.cct", u"Alpha"}, {u"_00cd_b.cct", u"Beta"}},
       bytesOf({"\x02_00cd_a.cct\x08"
                "Alpha\x02_00cd_b.cct\x08"
                "Beta\x02",
                std::string_view("\0", 1)})},
      {"untitled catalog in Shift-JIS",
       {{u"_00cd_abc.cct", u"無題(ABC)"}},
       bytesOf({"\x02_00cd_abc.cct\x08\x96\xB3\x91\xE8(ABC)\x02", std::string_view("\0", 1)})},
      {"tab inside a title kept",
       {{u"_00cd_t.cct", u"A\tB"}},
       bytesOf({"\x02_00cd_t.cct\x08"
                "A\tB\x02",
                std::string_view("\0", 1)})},
      {"reserved codes in a title become blanks",
       {{u"_00cd_r.cct", Text(u"A\x02"
                              u"B\x08"
                              u"C") +
                             char16_t(0) + u"D"}},
       bytesOf({"\x02_00cd_r.cct\x08"
                "A B C D\x02",
                std::string_view("\0", 1)})},
  };
  for (const Row& row : rows) EXPECT_EQ(CatalogIndex::encode(row.entries), row.bytes) << row.what;
}

TEST(CatalogIndexFormat, DecodesEntriesAndIgnoresWhatCannotBeAnEntry) {
  struct Row {
    const char* what;
    std::string bytes;
    std::vector<CatalogIndexEntry> entries;
  } rows[] = {
      {"empty index", EmptyIndex, {}},
      {"nothing at all", "", {}},
      {"two entries",
       bytesOf({"\x02"
                "a.cct\x08"
                "Alpha\x02"
                "b.cct\x08"
                "Beta\x02",
                std::string_view("\0", 1)}),
       {{u"a.cct", u"Alpha"}, {u"b.cct", u"Beta"}}},
      {"text after the first code 0 ignored",
       bytesOf({"\x02"
                "a.cct\x08"
                "A\x02",
                std::string_view("\0", 1),
                "b.cct\x08"
                "B\x02"}),
       {{u"a.cct", u"A"}}},
      {"not starting with code 2",
       "a.cct\x08"
       "A\x02",
       {}},
      {"piece without code 8 dropped",
       "\x02junk\x02"
       "a.cct\x08"
       "A\x02",
       {{u"a.cct", u"A"}}},
      {"piece without a name dropped",
       "\x02\x08Nameless\x02"
       "a.cct\x08"
       "A\x02",
       {{u"a.cct", u"A"}}},
      {"later code 8 belongs to the title",
       "\x02"
       "a.cct\x08"
       "A\x08"
       "B\x02",
       {{u"a.cct",
         u"A\x08"
         u"B"}}},
      {"missing final code 2",
       "\x02"
       "a.cct\x08"
       "A",
       {{u"a.cct", u"A"}}},
  };
  for (const Row& row : rows) EXPECT_EQ(CatalogIndex::decode(row.bytes), row.entries) << row.what;
}

TEST(CatalogIndexFormat, TitleOfAListFileFromItsTitleLine) {
  const Text longLabel(600, u'L');
  struct Row {
    const char* what;
    std::string file;
    Text title;
  } rows[] = {
      {"title", currentListFile(u"GAMES", u"ゲーム集"), u"ゲーム集"},
      {"title trimmed", currentListFile(u"GAMES", u"\t　 Games \t"), u"Games"},
      {"tab inside kept", currentListFile(u"GAMES", u"A\tB"), u"A\tB"},
      {"empty title: label wrapped", currentListFile(u"ABC", u""), u"無題(ABC)"},
      {"blank title: label wrapped", currentListFile(u"ABC", u"  \t"), u"無題(ABC)"},
      {"neither title nor label", currentListFile(u"", u""), u""},
      {"label beyond 512 characters still ends at its marker", currentListFile(longLabel, u"Far"), u"Far"},
      {"code 8 in the title becomes a blank",
       currentListFile(u"X",
                       u"A\x08"
                       u"B"),
       u"A B"},
      {"old layout title", oldListFile(u"DISC", u"Old Title"), u"Old Title"},
      {"old layout without title", oldListFile(u"DISC", u""), u"無題(DISC)"},
      {"old layout second name not part of the label", oldListFile(u"DISC\x07LONG NAME", u""), u"無題(DISC)"},
      {"header only", std::string("BX") + std::string(62, '0'), u""},
      {"shorter than a tag", "B", u""},
  };
  for (const Row& row : rows) EXPECT_EQ(CatalogIndex::titleFromListFile(row.file), row.title) << row.what;
}

// --- Load ------------------------------------------------------------------------

TEST_F(CatalogIndexTest, LoadDropsEntriesOfMissingFilesMatchingNamesWithoutCase) {
  putList("_00CD_A.CCT", u"A", u"Alpha");  // the entry is lower case, the file is not
  putList("_00cd_c.cct", u"C", u"Gamma");
  putIndex(
      bytesOf({"\x02_00cd_a.cct\x08"
               "Alpha\x02_00cd_b.cct\x08"
               "Beta\x02_00cd_c.cct\x08"
               "Gamma\x02",
               std::string_view("\0", 1)}));

  EXPECT_FALSE(index.load());

  const std::vector<CatalogIndexEntry> kept = {{u"_00cd_a.cct", u"Alpha"}, {u"_00cd_c.cct", u"Gamma"}};
  EXPECT_EQ(index.entries(), kept);
  EXPECT_EQ(indexBytes(), CatalogIndex::encode(kept));
  EXPECT_FALSE(index.changed());
}

TEST_F(CatalogIndexTest, LoadKeepsTheFirstEntryOfANameListedTwice) {
  // Otherwise the selection list would show the catalog twice for ever.
  putList("_00cd_a.cct", u"A", u"Alpha");
  putList("_00cd_b.cct", u"B", u"Beta");
  putIndex(
      bytesOf({"\x02_00cd_a.cct\x08"
               "Alpha\x02_00cd_b.cct\x08"
               "Beta\x02_00cd_a.cct\x08"
               "Old Alpha\x02",
               std::string_view("\0", 1)}));

  EXPECT_FALSE(index.load());

  const std::vector<CatalogIndexEntry> kept = {{u"_00cd_a.cct", u"Alpha"}, {u"_00cd_b.cct", u"Beta"}};
  EXPECT_EQ(index.entries(), kept);
  EXPECT_EQ(indexBytes(), CatalogIndex::encode(kept));
}

TEST_F(CatalogIndexTest, LoadWithoutDroppingLeavesTheFileUnwritten) {
  putList("_00cd_a.cct", u"A", u"Alpha");
  const std::string bytes =
      bytesOf({"\x02_00cd_a.cct\x08"
               "Alpha\x02",
               std::string_view("\0", 1), "tail"});
  putIndex(bytes);

  EXPECT_FALSE(index.load());

  EXPECT_EQ(faulty.calls(Op::Write), 0);
  EXPECT_EQ(indexBytes(), bytes);
  EXPECT_EQ(index.entries().size(), 1u);
}

TEST_F(CatalogIndexTest, LoadOfAMissingOrEmptyIndexGivesTheEmptyIndex) {
  struct Row {
    const char* what;
    bool present;
    std::string bytes;
  } rows[] = {{"missing", false, ""}, {"empty file", true, ""}, {"one character", true, "\x02"}};
  for (const Row& row : rows) {
    std::filesystem::remove(folder.path("Catalog/CatList.CCZ"));
    if (row.present) putIndex(row.bytes);
    EXPECT_FALSE(index.load()) << row.what;
    EXPECT_TRUE(index.entries().empty()) << row.what;
    EXPECT_EQ(CatalogIndex::encode(index.entries()), EmptyIndex) << row.what;
    EXPECT_EQ(folder.there("Catalog/CatList.CCZ"), row.present) << row.what;
  }
}

TEST_F(CatalogIndexTest, LoadKeepsEveryEntryWhenTheFolderCannotBeListed) {
  putIndex(
      bytesOf({"\x02_00cd_a.cct\x08"
               "Alpha\x02",
               std::string_view("\0", 1)}));
  faulty.fail(Op::List, EIO);

  EXPECT_FALSE(index.load());

  EXPECT_EQ(index.entries().size(), 1u);
}

TEST_F(CatalogIndexTest, AnUnreadableIndexIsNeverOverwritten) {
  const std::string bytes =
      bytesOf({"\x02_00cd_a.cct\x08"
               "Alpha\x02",
               std::string_view("\0", 1)});
  putIndex(bytes);
  putList("_00cd_b.cct", u"B", u"Beta");
  faulty.fail(Op::Read, EIO, folder.path("Catalog/CatList.CCZ"));

  EXPECT_TRUE(index.load());
  EXPECT_EQ(index.titleOf(u"_00cd_b.cct"), u"Beta");
  EXPECT_TRUE(index.writeIfChanged());

  EXPECT_EQ(indexBytes(), bytes);
}

// --- Titles, removal, writing -----------------------------------------------------

TEST_F(CatalogIndexTest, TitleOfAFileWithoutEntryIsReadAndAppendedInOrder) {
  putList("_00cd_a.cct", u"A", u"Alpha");
  putList("_00CD_B.cct", u"B", u"Beta");
  putList("_00cd_e.cct", u"", u"");
  ASSERT_FALSE(index.load());

  EXPECT_EQ(index.titleOf(u"_00cd_a.cct"), u"Alpha");
  EXPECT_EQ(index.titleOf(u"_00CD_B.cct"), u"Beta");
  EXPECT_EQ(index.titleOf(u"_00cd_e.cct"), u"");     // neither title nor label: not listed
  EXPECT_EQ(index.titleOf(u"_00cd_gone.cct"), u"");  // no such file
  EXPECT_TRUE(index.changed());
  EXPECT_FALSE(index.writeIfChanged());

  EXPECT_EQ(indexBytes(), bytesOf({"\x02_00cd_a.cct\x08"
                                   "Alpha\x02_00cd_b.cct\x08"
                                   "Beta\x02",
                                   std::string_view("\0", 1)}));
  EXPECT_FALSE(index.changed());
}

TEST_F(CatalogIndexTest, TitlesAreReadWholeWhetherTheTitleLineEndsEarlyOrLate) {
  struct Case {
    const char* file;
    Text title;
  };
  const Case cases[] = {
      {"_00cd_short.cct", u"写真 2025"},
      {"_00cd_long.cct", Text(700, u'長')},  // 1,400 bytes: past the first look at the file
      {"_00cd_edge.cct", Text(510, u'x')},
  };
  for (const Case& c : cases) {
    putList(c.file, u"LABEL", c.title);
    EXPECT_EQ(index.titleOf(cp932::fromNativeName(c.file)), c.title) << c.file;
  }
}

TEST_F(CatalogIndexTest, TitleComesFromTheEntryOnceThereIsOne) {
  putList("_00cd_a.cct", u"A", u"From the file");
  putIndex(
      bytesOf({"\x02_00cd_a.cct\x08"
               "From the index\x02",
               std::string_view("\0", 1)}));
  ASSERT_FALSE(index.load());

  EXPECT_EQ(index.titleOf(u"_00CD_A.CCT"), u"From the index");
  EXPECT_FALSE(index.changed());
}

TEST_F(CatalogIndexTest, RemovingEntriesMatchesWholeNamesAndLeavesCode2Code0) {
  putList("_03cd_a.cct", u"A", u"Alpha");
  putList("_00hd_x_03cd_a.cct", u"X", u"Longer name");
  ASSERT_FALSE(index.load());
  index.titleOf(u"_00hd_x_03cd_a.cct");
  index.titleOf(u"_03cd_a.cct");

  EXPECT_FALSE(index.removeEntry(u"_03CD_A.cct"));
  EXPECT_EQ(index.entries(), (std::vector<CatalogIndexEntry>{{u"_00hd_x_03cd_a.cct", u"Longer name"}}));

  EXPECT_FALSE(index.removeEntry(u"_00hd_x_03cd_a.cct"));
  EXPECT_EQ(indexBytes(), EmptyIndex);
}

TEST_F(CatalogIndexTest, AFailedWriteKeepsTheOldFileAndEveryEntry) {
  putList("_00cd_a.cct", u"A", u"Alpha");
  putList("_00cd_b.cct", u"B", u"Beta");
  const std::string before =
      bytesOf({"\x02_00cd_a.cct\x08"
               "Alpha\x02",
               std::string_view("\0", 1)});
  putIndex(before);
  ASSERT_FALSE(index.load());
  index.titleOf(u"_00cd_b.cct");

  faulty.fail(Op::Write, ENOSPC);
  EXPECT_EQ(index.writeIfChanged().code, ENOSPC);
  EXPECT_EQ(indexBytes(), before);
  EXPECT_TRUE(index.changed());
  EXPECT_EQ(index.entries().size(), 2u);

  EXPECT_FALSE(index.writeIfChanged());
  EXPECT_EQ(indexBytes(), CatalogIndex::encode(index.entries()));
  EXPECT_EQ(index.entries().size(), 2u);
}

TEST_F(CatalogIndexTest, AFailedRemovalWriteIsRetriedByTheNextWrite) {
  putList("_00cd_a.cct", u"A", u"Alpha");
  putList("_00cd_b.cct", u"B", u"Beta");
  ASSERT_FALSE(index.load());
  index.titleOf(u"_00cd_a.cct");
  index.titleOf(u"_00cd_b.cct");
  ASSERT_FALSE(index.write());
  const std::string before = indexBytes();

  faulty.fail(Op::Write, EACCES);
  EXPECT_EQ(index.removeEntry(u"_00cd_a.cct").code, EACCES);
  EXPECT_EQ(indexBytes(), before);

  EXPECT_FALSE(index.writeIfChanged());
  EXPECT_EQ(indexBytes(), bytesOf({"\x02_00cd_b.cct\x08"
                                   "Beta\x02",
                                   std::string_view("\0", 1)}));
}

TEST_F(CatalogIndexTest, WritingReplacesAnIndexSpelledInAnotherCase) {
  putList("_00cd_a.cct", u"A", u"Alpha");
  folder.put("Catalog/catlist.ccz", EmptyIndex);
  ASSERT_FALSE(index.load());
  index.titleOf(u"_00cd_a.cct");

  ASSERT_FALSE(index.writeIfChanged());

  EXPECT_FALSE(folder.there("Catalog/CatList.CCZ"));
  EXPECT_EQ(folder.get("Catalog/catlist.ccz"), CatalogIndex::encode(index.entries()));
}

TEST(CatalogIndexNames, IndexNameIsTheLowerCasedNamePart) {
  EXPECT_EQ(CatalogIndex::indexName("/c/Catalog/_03CD_Games.CCT"), u"_03cd_games.cct");
  EXPECT_EQ(CatalogIndex::indexName("_00HD_表.cct"), u"_00hd_表.cct");
}

}  // namespace
}  // namespace zevro
