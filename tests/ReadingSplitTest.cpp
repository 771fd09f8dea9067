#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/CatalogList.h"
#include "core/ListFile.h"
#include "core/Numbers.h"
#include "media/FolderWalker.h"
#include "media/ReadingSplit.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

// A reading built in memory: the title line, then rows appended in the
// walk's order (a folder's files first, then its folders).
class Tree {
public:
  explicit Tree(TextView title = u"DATA") {
    catalog::makeCatalogList(store_);
    store_.setSortOrder(ListSort::Name);
    append(title, {}, catalog::KindTitleHD, 0);
  }
  Tree& folder(TextView name, int level) {
    append(name, u"0", catalog::KindFolder, level);
    return *this;
  }
  // count files "F0000.TXT"..., each of `size` bytes, in the folder above;
  // its row holds its own files' size, as the walk leaves it.
  Tree& files(int count, int level, std::int64_t size = 10) {
    int parent = store_.rowCount() - 1;
    while (store_.level(parent) != level - 1) --parent;
    const std::int64_t own = FolderWalker::SizeValue(store_.fieldView(catalog::FieldSize, parent));
    store_.setField(catalog::FieldSize, parent, groupedNumber(own + count * size));
    for (int i = 0; i < count; ++i)
      append(u"F" + zeroPadded(i, 4) + u".TXT", groupedNumber(size), catalog::KindFile, level);
    return *this;
  }
  RowStore& store() {
    FolderWalker::AddFolderSizes(store_);
    return store_;
  }

private:
  void append(TextView name, TextView size, int kind, int level) {
    store_.appendShown(catalog::buildRecord({name, {}, u"03/04/05 12:34", size, u"0"}), 0, 0, kind, level);
  }
  RowStore store_;
};

constexpr std::size_t Plenty = 1u << 30;

struct Expected {
  std::u16string folder;
  int sequence;
  std::size_t rows;  // title line included
};

struct Case {
  const char* name;
  Tree (*make)();
  SplitLimits limits;
  std::vector<Expected> parts;
};

Tree manySmallFolders() {
  // 3 root files, then 20 folders of 4 files: 3 + 20 * 5 = 103 rows below the title.
  Tree t;
  t.files(3, 1);
  for (int i = 0; i < 20; ++i) t.folder(u"SMALL" + zeroPadded(i, 2), 1).files(4, 2);
  return t;
}

Tree oneFolderOverTheLimit() {
  // BIG holds 2 files and 3 folders of 10 files (36 rows with its own).
  Tree t;
  t.files(2, 1).folder(u"BIG", 1).files(2, 2);
  for (int i = 0; i < 3; ++i) t.folder(u"SUB" + zeroPadded(i, 1), 2).files(10, 3);
  t.folder(u"TINY", 1).files(1, 2);
  return t;
}

Tree rootFilesOnly() {
  Tree t;
  t.files(30, 1);
  return t;
}

Tree singleHugeFolder() {
  Tree t;
  t.folder(u"PHOTOS", 1).files(400, 2);
  return t;
}

Tree fourLargeFolders() {
  Tree t;
  t.files(1, 1);
  for (int i = 0; i < 4; ++i) t.folder(u"DIR" + zeroPadded(i, 1), 1).files(20, 2);
  return t;
}

const Case Cases[] = {
    // Folders of 5 rows are under an eighth of 48 and share the root's parts
    // in folder order: the root files and 8 folders, then 9, then 3.
    {"ManySmallFoldersArePacked", manySmallFolders, {48, Plenty},
     {{u"E:", 0, 1 + 3 + 8 * 5}, {u"E:", 1, 1 + 9 * 5}, {u"E:", 2, 1 + 3 * 5}}},
    // BIG alone is 36 rows of a 20-row part: its folders become parts one
    // level down, its own files a part of BIG; TINY shares the root's part.
    {"OneFolderOverTheLimitIsSplitOneLevelDown", oneFolderOverTheLimit, {20, Plenty},
     {{u"E:", 0, 1 + 2 + 2}, {u"E:\\BIG", 0, 1 + 2}, {u"E:\\BIG\\SUB0", 0, 11}, {u"E:\\BIG\\SUB1", 0, 11},
      {u"E:\\BIG\\SUB2", 0, 11}}},
    {"TheRootsFilesFillNumberedParts", rootFilesOnly, {12, Plenty},
     {{u"E:", 0, 12}, {u"E:", 1, 12}, {u"E:", 2, 1 + 8}}},
    // One folder of 400 files, parts of 100 rows: runs of 99 files in name
    // order, the same folder numbered; the root's part holds its title only.
    {"ASingleHugeFolderIsSplitIntoRunsOfFiles", singleHugeFolder, {100, Plenty},
     {{u"E:", 0, 1},
      {u"E:\\PHOTOS", 0, 100},
      {u"E:\\PHOTOS", 1, 100},
      {u"E:\\PHOTOS", 2, 100},
      {u"E:\\PHOTOS", 3, 100},
      {u"E:\\PHOTOS", 4, 1 + 4}}},
    // Folders of an eighth of a part or more stand alone as folder readings.
    {"LargeTopFoldersBecomePartsOfTheirOwn", fourLargeFolders, {60, Plenty},
     {{u"E:", 0, 2}, {u"E:\\DIR0", 0, 21}, {u"E:\\DIR1", 0, 21}, {u"E:\\DIR2", 0, 21}, {u"E:\\DIR3", 0, 21}}},
};

class ReadingSplitPlan : public testing::TestWithParam<Case> {};

TEST_P(ReadingSplitPlan, PartsAreFolderReadingsWithinTheLimitsHoldingEveryFileOnce) {
  const Case& c = GetParam();
  Tree tree = c.make();
  RowStore& reading = tree.store();
  const std::vector<SplitPart> parts = ReadingSplit::plan(reading, u"E:", c.limits);
  ASSERT_EQ(parts.size(), c.parts.size());
  std::multiset<int> seen;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(parts[i].folder, c.parts[i].folder);
    EXPECT_EQ(parts[i].sequence, c.parts[i].sequence);
    EXPECT_EQ(parts[i].rows, c.parts[i].rows);
    EXPECT_LE(parts[i].rows, c.limits.rows);
    RowStore built;
    ReadingSplit::build(reading, parts[i], u"HD_DATA.CCT", built);
    EXPECT_EQ(static_cast<std::size_t>(built.rowCount()), parts[i].rows);
    EXPECT_LE(cp932::fileLength(built.heap()), parts[i].characters);
    for (const auto& [first, end] : parts[i].ranges) {
      for (int r = first; r < end; ++r) seen.insert(r);
    }
  }
  for (int r = 1; r < reading.rowCount(); ++r) {
    if (reading.kind(r) < catalog::KindFile) continue;
    EXPECT_EQ(seen.count(r), 1u) << "row " << r;
  }
  // No row goes to two parts.
  for (int r : seen) EXPECT_EQ(seen.count(r), 1u);
}

INSTANTIATE_TEST_SUITE_P(Trees, ReadingSplitPlan, testing::ValuesIn(Cases),
                         [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(ReadingSplitCharacters, APartClosesAtTheCharacterLimitToo) {
  Tree tree = rootFilesOnly();
  RowStore& reading = tree.store();
  const std::size_t perRow = cp932::fileLength(reading.record(1));
  // Room for the title line, the end marker and exactly ten files.
  const std::size_t title = cp932::fileLength(reading.record(0)) + 2 + ReadingSplit::TitleRoom;
  const SplitLimits limits{Plenty, title + 1 + 10 * perRow};
  const std::vector<SplitPart> parts = ReadingSplit::plan(reading, u"E:", limits);
  ASSERT_EQ(parts.size(), 3u);
  std::size_t files = 0;
  for (const SplitPart& p : parts) {
    EXPECT_LE(p.characters, limits.characters);
    files += p.rows - 1;
    RowStore built;
    ReadingSplit::build(reading, p, u"HD_DATA.CCT", built);
    EXPECT_LE(cp932::fileLength(built.heap()), p.characters);
  }
  EXPECT_EQ(files, 30u);
}

TEST(ReadingSplitBuild, APartOfAFolderIsAFolderReadingWithItsOwnTitleLineAndTotal) {
  Tree tree = oneFolderOverTheLimit();
  RowStore& reading = tree.store();
  const std::vector<SplitPart> parts = ReadingSplit::plan(reading, u"E:", {20, Plenty});
  ASSERT_EQ(parts.size(), 5u);
  RowStore sub;
  ReadingSplit::build(reading, parts[2], u"HD_DATA.CCT", sub);  // E:\BIG\SUB0
  ASSERT_EQ(sub.rowCount(), 11);
  EXPECT_EQ(sub.fieldView(catalog::FieldName, 0), u"DATA");
  EXPECT_EQ(sub.fieldView(catalog::FieldSize, 0), u"100");  // 10 files of 10 bytes
  EXPECT_EQ(sub.fieldView(catalog::FieldMediumName, 0), u"E:\\BIG\\SUB0");
  EXPECT_EQ(sub.fieldView(ReadingSplit::FieldMark, 0), u"HD_DATA.CCT");
  EXPECT_EQ(sub.kind(0), catalog::KindTitleHD);
  for (int r = 1; r < sub.rowCount(); ++r) {
    EXPECT_EQ(sub.level(r), 1);
    EXPECT_EQ(sub.record(r), reading.record(parts[2].ranges[0].first + r - 1));
  }
  RowStore root;
  ReadingSplit::build(reading, parts[0], u"HD_DATA.CCT", root);
  // The root's two files and TINY with its file: 10 + 10 + 10.
  EXPECT_EQ(root.fieldView(catalog::FieldSize, 0), u"30");
  EXPECT_EQ(root.fieldView(catalog::FieldMediumName, 0), u"");
  EXPECT_EQ(root.level(3), 1);  // TINY
  EXPECT_EQ(root.level(4), 2);
}

TEST(ReadingSplitMark, TheMarkIsReadBackFromTheListFileAndNamesLoseTheirGenre) {
  Tree tree = singleHugeFolder();
  RowStore& reading = tree.store();
  const std::vector<SplitPart> parts = ReadingSplit::plan(reading, u"E:", {100, Plenty});
  RowStore built;
  ReadingSplit::build(reading, parts[1], ReadingSplit::markOfName(u"_04hd_Data.cct"), built);
  const std::optional<std::string> bytes = listfile::build(built, {});
  ASSERT_TRUE(bytes);
  EXPECT_EQ(ReadingSplit::markOf(bytes->substr(0, listfile::TitleBytes)), u"HD_DATA.CCT");
  RowStore plain;
  ReadingSplit::build(reading, parts[1], {}, plain);
  EXPECT_EQ(ReadingSplit::markOf(*listfile::build(plain, {})), u"");
  EXPECT_EQ(ReadingSplit::markOf("BX"), u"");
}

TEST(ReadingSplitLimits, TheMarginIsNinetyPercentOfTheListFilesLimits) {
  const SplitLimits m = SplitLimits::listFileMargin();
  EXPECT_EQ(m.rows, listfile::MaxBlockLength * 9 / 10);
  EXPECT_EQ(m.characters, listfile::MaxHeapLength * 9 / 10);
  Tree small = rootFilesOnly();
  EXPECT_TRUE(ReadingSplit::fits(small.store()));
}

}  // namespace
}  // namespace zevro

namespace zevro {
namespace {

// Whether a reading is split is counted as the list file counts: rows, and
// heap characters with the end marker. Just within either limit: one list.
TEST(ReadingSplitWhole, AReadingIsSplitOnlyBeyondTheLimitsAndThenAsPlannedAtTheirMargin) {
  Tree tree = rootFilesOnly();
  const RowStore& reading = tree.store();
  const auto rows = static_cast<std::size_t>(reading.rowCount());
  const std::size_t characters = cp932::fileLength(reading.heap());
  const struct {
    const char* name;
    SplitLimits whole;
    bool split;
  } cases[] = {
      {"rows and characters just within", {rows, characters}, false},
      {"one row too many", {rows - 1, characters}, true},
      {"one character too many", {rows, characters - 1}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<SplitPart> parts = ReadingSplit::planIfTooLarge(reading, u"E:", c.whole);
    EXPECT_EQ(!parts.empty(), c.split);
    if (!c.split) continue;
    const std::vector<SplitPart> planned = ReadingSplit::plan(reading, u"E:", c.whole.margin());
    ASSERT_EQ(parts.size(), planned.size());
    for (std::size_t i = 0; i < parts.size(); ++i) {
      EXPECT_EQ(parts[i].ranges, planned[i].ranges);
      EXPECT_EQ(parts[i].characters, planned[i].characters);
    }
  }
  EXPECT_TRUE(ReadingSplit::planIfTooLarge(reading, u"E:", SplitLimits::listFile()).empty());
  EXPECT_EQ(SplitLimits::listFile().margin().rows, SplitLimits::listFileMargin().rows);
}

}  // namespace
}  // namespace zevro
