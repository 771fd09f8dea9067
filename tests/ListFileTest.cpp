#include "core/ListFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/CatalogList.h"
#include "core/Record.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

using namespace listfile;
using catalog::buildRecord;

// --- A list file made by hand from the layout alone ----------------------
//
// Heap, 58 characters in 64 bytes:
//   row 0: 10 "MYDISC" 11 表示                  10 characters, 12 bytes (表 = 95 5C)
//   row 1: 10 "DOCS" 11 "Docs"                  10 characters, 10 bytes
//   row 2: 10 ソフト ".TXT" 11 ポ "\" 12 "03/04/05 12:34" 13 "1,234" 14 "0"
//                                               34 characters, 38 bytes (ソ = 83 5C, ポ = 83 7C)
//   end marker and three spare characters        4 characters,  4 bytes
// Blocks of 4 bytes each (3 rows + 1).
const std::string HandHeap = std::string("\x10MYDISC\x11\x95\x5C\x8E\xA6", 12) +
                             std::string(
                                 "\x10"
                                 "DOCS\x11"
                                 "Docs",
                                 10) +
                             std::string(
                                 "\x10\x83\x5C\x83\x74\x83\x67.TXT\x11\x83\x7C\\\x12"
                                 "03/04/05 12:34\x13"
                                 "1,234\x14"
                                 "0",
                                 38) +
                             std::string(4, '\0');
const std::string HandLevels("\x00\x01\x02\x00", 4);
const std::string HandKinds("\x04\x01\x06\x00", 4);
const std::string HandFlags("\x01\x01\x02\x00", 4);
const std::string HandColours("\x00\x02\x00\x00", 4);

std::string handHeader(std::string tag, std::string heapLength) {
  //      tag  kinds    levels   flags    colours  heap         sort display stamp           free space          end
  return tag + "00004" + "00004" + "00004" + "00004" + heapLength + "2" + "1" + "240131120000" + "      123456789" +
         "0000000";
}

std::string handFile(std::string tag = "BX", std::string heapLength = "00003A") {
  return handHeader(tag, heapLength) + HandHeap + HandLevels + HandKinds + HandFlags + HandColours;
}

TEST(ListFileHandMade, TheLayoutAddsUp) {
  EXPECT_EQ(handHeader("BX", "00003A").size(), HeaderSize);
  EXPECT_EQ(HandHeap.size(), 64u);
  EXPECT_EQ(byteLengthOfCharacters(HandHeap, 58), HandHeap.size());
}

TEST(ListFileHandMade, LoadsWithEveryFieldIntact) {
  RowStore store;
  const ReadResult result = parse(handFile(), store);
  ASSERT_EQ(result.status, ReadStatus::Ok);
  EXPECT_EQ(result.header.tag, "BX");
  EXPECT_EQ(result.header.sortOrder, ListSort::Name);
  EXPECT_EQ(result.header.displayMode, 1);
  EXPECT_EQ(result.header.iconStamp, u"240131120000");
  EXPECT_EQ(result.header.freeSpace, 123456789);
  EXPECT_EQ(store.sortOrder(), ListSort::Name);
  EXPECT_FALSE(store.modified());
  ASSERT_EQ(store.rowCount(), 3);

  struct Cell {
    int row;
    int field;
    const char16_t* text;
  } cells[] = {
      {0, 0, u"MYDISC"}, {0, 1, u"表示"},       {0, 2, u""},     {1, 0, u"DOCS"},
      {1, 1, u"Docs"},   {2, 0, u"ソフト.TXT"}, {2, 1, u"ポ\\"}, {2, 2, u"03/04/05 12:34"},
      {2, 3, u"1,234"},  {2, 4, u"0"},          {2, 5, u""},
  };
  for (const Cell& c : cells) EXPECT_EQ(store.field(c.field, c.row), c.text) << c.row << "/" << c.field;

  const int levels[] = {0, 1, 2}, kinds[] = {4, 1, 6}, flags[] = {1, 1, 2}, colours[] = {0, 2, 0};
  for (int r = 0; r < 3; ++r) {
    EXPECT_EQ(store.level(r), levels[r]) << r;
    EXPECT_EQ(store.kind(r), kinds[r]) << r;
    EXPECT_EQ(store.treeFlags(r), flags[r]) << r;
    EXPECT_EQ(store.colour(r), colours[r]) << r;
  }
}

TEST(ListFileHandMade, AcceptsLowerCaseHexadecimalAndOtherTags) {
  struct Row {
    const char* what;
    std::string tag;
    std::string heapLength;
  } rows[] = {
      {"lower-case lengths", "BX", "00003a"},
      {"a newer tag is read as the current layout", "CX", "00003A"},
  };
  for (const Row& r : rows) {
    RowStore store;
    const ReadResult result = parse(handFile(r.tag, r.heapLength), store);
    EXPECT_EQ(result.status, ReadStatus::Ok) << r.what;
    EXPECT_EQ(result.header.tag, r.tag) << r.what;
    EXPECT_EQ(store.rowCount(), 3) << r.what;
    EXPECT_EQ(store.field(0, 2), u"ソフト.TXT") << r.what;
  }
}

// --- Damaged and truncated files ------------------------------------------

TEST(ListFileDamaged, NeverReadsOutsideTheBytesAndRefusesWhatIsNoListFile) {
  const std::string good = handFile();
  std::string badHex = good;
  badHex[5] = 'G';
  std::string blankInLength = good;
  blankInLength[10] = ' ';
  std::string signedLength = good;
  signedLength[22] = '-';
  std::string foreignHeap = good;
  foreignHeap[HeaderSize] = 'X';
  std::string hugeLengths = handHeader("BX", "FFFFFF").replace(2, 20, "FFFFFFFFFFFFFFFFFFFF") + HandHeap;
  std::string cutInCharacter = good.substr(0, HeaderSize + 12 + 10 + 2);  // row 2's ソ cut after its lead byte
  std::string loneLeadBeforeMarker = good;
  loneLeadBeforeMarker[HeaderSize + 6] = '\x95';  // "MYDIS" + a lead byte + code 17
  const std::string zeroLengths = handHeader("BX", "000000").replace(2, 20, "00000000000000000000");

  struct Row {
    const char* what;
    std::string bytes;
    ReadStatus status;
    int rows;  // after loading; -1: the store keeps its old row
  } rows[] = {
      {"empty file", "", ReadStatus::Damaged, -1},
      {"one byte", "B", ReadStatus::Damaged, -1},
      {"tag only", "BX", ReadStatus::Damaged, -1},
      {"header one byte short", good.substr(0, HeaderSize - 1), ReadStatus::Damaged, -1},
      {"a length that is not hexadecimal", badHex, ReadStatus::Damaged, -1},
      {"a blank inside a length", blankInLength, ReadStatus::Damaged, -1},
      {"a sign inside a length", signedLength, ReadStatus::Damaged, -1},
      {"a heap of another format", foreignHeap, ReadStatus::Damaged, -1},
      {"bytes that are no list file", std::string(200, '\xFF'), ReadStatus::Damaged, -1},
      {"old layout", "AX" + good.substr(2), ReadStatus::OldLayout, -1},
      {"header alone", good.substr(0, HeaderSize), ReadStatus::Truncated, 0},
      {"lengths far beyond the file", hugeLengths, ReadStatus::Truncated, 3},
      {"cut inside a double-byte character", cutInCharacter, ReadStatus::Truncated, 3},
      {"cut inside the level block", good.substr(0, HeaderSize + 64 + 2), ReadStatus::Truncated, 3},
      {"cut inside the colour block", good.substr(0, good.size() - 1), ReadStatus::Truncated, 3},
      {"a lone lead byte in a name", loneLeadBeforeMarker, ReadStatus::Ok, 3},
      {"all lengths zero", zeroLengths, ReadStatus::Ok, 0},
      {"bytes after the last block are ignored", good + "garbage", ReadStatus::Ok, 3},
  };
  for (const Row& r : rows) {
    RowStore store;
    ASSERT_TRUE(store.appendShown(buildRecord({u"OLD"}), 0, 0, 4, 0));
    const ReadResult result = parse(r.bytes, store);
    EXPECT_EQ(result.status, r.status) << r.what;
    if (r.rows < 0) {
      EXPECT_EQ(store.rowCount(), 1) << r.what;
      EXPECT_EQ(store.field(0, 0), u"OLD") << r.what;
    } else {
      EXPECT_EQ(store.rowCount(), r.rows) << r.what;
    }
  }
}

TEST(ListFileDamaged, EveryCutOfAGoodFileLoadsWhatIsThereOrIsRefused) {
  const std::string good = handFile();
  for (std::size_t cut = 0; cut <= good.size(); ++cut) {
    RowStore store;
    const ReadResult result = parse(std::string_view(good).substr(0, cut), store);
    const ReadStatus expected = cut < HeaderSize    ? ReadStatus::Damaged
                                : cut < good.size() ? ReadStatus::Truncated
                                                    : ReadStatus::Ok;
    ASSERT_EQ(result.status, expected) << "cut at " << cut;
    // What was loaded is a prefix of the rows: the title line, once
    // present, keeps its label.
    if (store.rowCount() > 0 && cut >= HeaderSize + 8) {
      EXPECT_EQ(store.field(0, 0), u"MYDISC") << "cut at " << cut;
    }
    EXPECT_LE(store.rowCount(), 3) << "cut at " << cut;
  }
}

// --- Writing ----------------------------------------------------------------

struct Line {
  std::vector<Text> fields;
  int kind;
  int level;
};

RowStore storeOf(const std::vector<Line>& lines) {
  RowStore store;
  catalog::makeCatalogList(store);
  for (const Line& l : lines) {
    std::vector<TextView> views(l.fields.begin(), l.fields.end());
    EXPECT_TRUE(store.appendShown(buildRecord(views), 0, 0, l.kind, l.level));
  }
  catalog::assignColourIndexes(store);
  store.setSortOrder(ListSort::Extension);
  return store;
}

const std::vector<Line> SampleLines = {
    {{u"MYDISC", u"表示ソフト集", u"", u"12,345"}, 4, 0},
    {{u"表", u"能力", u"24/01/31 12:00", u"1,234", u"0"}, 1, 1},
    {{u"ソフト.TXT", u"ポ|ポ\\", u"24/01/31 12:00", u"12", u"0"}, 6, 2},
    {{u"\U0001F600 smile.png", u"emoji \U0001F600 and 丬", u"", u"1", u"0"}, 6, 2},
    {{u"&#x41;.txt", u"multi\r\nline"}, 6, 1},
    {{u"ｱｲｳ.DOC", u"half-width ｶﾅ"}, 6, 1},
};

std::string hexOf(std::string_view bytes, std::size_t at, std::size_t width) {
  return std::string(bytes.substr(at, width));
}

TEST(ListFileWrite, WritesTheHeaderAsTheLayoutSays) {
  const RowStore store = storeOf(SampleLines);
  Header header;
  header.displayMode = 4;
  header.iconStamp = u"240131120000";
  header.freeSpace = 9876543210;
  const std::optional<std::string> bytes = build(store, header);
  ASSERT_TRUE(bytes);
  const std::string& b = *bytes;
  EXPECT_EQ(b.substr(0, 2), "BX");
  const std::size_t block = static_cast<std::size_t>(store.rowCapacity()) + 1;
  char expectBlock[8];
  std::snprintf(expectBlock, sizeof expectBlock, "%05zX", block);
  EXPECT_EQ(hexOf(b, 2, 5), expectBlock);
  EXPECT_EQ(hexOf(b, 7, 5), expectBlock);
  EXPECT_EQ(hexOf(b, 12, 5), expectBlock);
  EXPECT_EQ(hexOf(b, 17, 5), expectBlock);
  const std::size_t heapLength =
      cp932::fileLength(store.heap()) + static_cast<std::size_t>(store.heapCapacity()) - store.heap().size();
  char expectHeap[8];
  std::snprintf(expectHeap, sizeof expectHeap, "%06zX", heapLength);
  EXPECT_EQ(hexOf(b, 22, 6), expectHeap);
  EXPECT_EQ(b.substr(28, 1), "3");
  EXPECT_EQ(b.substr(29, 1), "4");
  EXPECT_EQ(b.substr(30, 12), "240131120000");
  EXPECT_EQ(b.substr(42, 15), "     9876543210");
  EXPECT_EQ(b.substr(57, 7), "0000000");
  // The heap is CP932 with escapes; the blocks follow it byte for byte.
  const std::string heap = cp932::encode(store.heap());
  EXPECT_EQ(b.substr(HeaderSize, heap.size()), heap);
  EXPECT_NE(heap.find("&#x1F600;"), std::string::npos);
  EXPECT_NE(heap.find("\x95\x5C"), std::string::npos);  // 表
  const std::size_t blocksAt = HeaderSize + byteLengthOfCharacters(b.substr(HeaderSize), heapLength);
  EXPECT_EQ(b.size(), blocksAt + 4 * block);
  EXPECT_EQ(b.substr(blocksAt, 3), std::string("\x00\x01\x02", 3));          // levels
  EXPECT_EQ(b.substr(blocksAt + block, 3), std::string("\x04\x01\x06", 3));  // kinds
  EXPECT_EQ(b.substr(blocksAt + 3 * block + 1, 1), std::string("\x02", 1));  // colour of a level-1 folder
}

TEST(ListFileWrite, WhatIsWrittenReadsBackUnchanged) {
  const RowStore store = storeOf(SampleLines);
  Header header;
  header.displayMode = 2;
  header.freeSpace = 0;
  const std::optional<std::string> bytes = build(store, header);
  ASSERT_TRUE(bytes);
  EXPECT_EQ(bytes->substr(30, 12), std::string(12, ' '));  // no icon table
  EXPECT_EQ(bytes->substr(42, 15), "              0");

  RowStore back;
  const ReadResult result = parse(*bytes, back);
  ASSERT_EQ(result.status, ReadStatus::Ok);
  EXPECT_EQ(result.header.iconStamp, u"            ");  // no icon table: kept as written
  EXPECT_EQ(result.header.displayMode, 2);
  EXPECT_EQ(back.sortOrder(), ListSort::Extension);
  ASSERT_EQ(back.rowCount(), store.rowCount());
  EXPECT_EQ(back.heap(), store.heap());
  for (int r = 0; r < store.rowCount(); ++r) {
    EXPECT_EQ(back.level(r), store.level(r)) << r;
    EXPECT_EQ(back.kind(r), store.kind(r)) << r;
    EXPECT_EQ(back.treeFlags(r), store.treeFlags(r)) << r;
    EXPECT_EQ(back.colour(r), store.colour(r)) << r;
  }
  EXPECT_EQ(back.field(0, 3), u"\U0001F600 smile.png");
  EXPECT_EQ(back.field(0, 4), u"&#x41;.txt");  // ordinary text that only looks like an escape
  // Written again, the file is the same.
  EXPECT_EQ(build(back, result.header), bytes);
}

// Bytes CP932 assigns no character (0x80, 0xA0, 0xFD-0xFF, an unassigned
// pair such as 85 40), in a file made elsewhere, are written back as they
// were, not as escape text; a byte that would join the next one into another
// character is kept as escape text instead.
TEST(ListFileWrite, ForeignBytesGoBackOutAsTheyCame) {
  const std::string heap = std::string("\x10" "DISC\x11" "\xA0\xFD\x85\x40z\x80\xFF", 13) + std::string(4, '\0');
  // 16 characters: 85 40 counts as one, as in every CP932 text.
  const std::string file = std::string("BX") + "00002" + "00002" + "00002" + "00002" + "000010" + "0" + "0" +
                           "240131120000" + "              0" + "0000000" + heap +
                           std::string("\x00\x00", 2) + std::string("\x04\x00", 2) + std::string("\x00\x00", 2) +
                           std::string("\x00\x00", 2);
  RowStore store;
  const ReadResult result = parse(file, store);
  ASSERT_EQ(result.status, ReadStatus::Ok);
  ASSERT_EQ(store.rowCount(), 1);
  const std::optional<std::string> written = build(store, result.header);
  ASSERT_TRUE(written);
  EXPECT_EQ(*written, file);

  // A foreign lead byte before a byte it would pair with stays escape text.
  RowStore joined;
  catalog::makeCatalogList(joined);
  const Text name = Text(u"x") + char16_t(0xDC81) + u"A";  // 81 41 would read back as "、"
  ASSERT_TRUE(joined.appendShown(buildRecord({name}), 0, 0, 4, 0));
  const std::optional<std::string> again = build(joined, Header{});
  ASSERT_TRUE(again);
  RowStore back;
  ASSERT_EQ(parse(*again, back).status, ReadStatus::Ok);
  EXPECT_EQ(back.field(0, 0), name);
}

// A store whose heap is one record of `characters` characters (end marker
// included) and whose row capacity is large.
RowStore heapOf(std::size_t characters, std::size_t spare) {
  Text heap(characters + spare, u'\0');
  heap[0] = record::FirstMarker;
  std::fill(heap.begin() + 1, heap.begin() + static_cast<std::ptrdiff_t>(characters) - 1, u'a');
  RowStore store;
  EXPECT_TRUE(store.loadBlocks(heap, std::string(600, '\x03'), "", "", ""));
  return store;
}

TEST(ListFileLimits, TheHeapMustFitSixHexadecimalDigits) {
  struct Row {
    const char* what;
    std::size_t characters;
    std::size_t spare;
    Limit limit;
    const char* heapField;
  } rows[] = {
      {"records up to the limit", MaxHeapLength, 0, Limit::Ok, "FFFFFF"},
      {"spare capacity is cut to fit", MaxHeapLength - 10, 5000, Limit::Ok, "FFFFFF"},
      {"one character more is refused", MaxHeapLength + 1, 0, Limit::TooManyCharacters, nullptr},
  };
  for (const Row& r : rows) {
    const RowStore store = heapOf(r.characters, r.spare);
    EXPECT_EQ(checkLimits(store), r.limit) << r.what;
    const std::optional<std::string> bytes = build(store, Header{});
    ASSERT_EQ(bytes.has_value(), r.heapField != nullptr) << r.what;
    if (!bytes) continue;
    EXPECT_EQ(bytes->substr(22, 6), r.heapField) << r.what;
    if (r.spare == 0) continue;
    // The shortened spare leaves the blocks where the length says.
    RowStore back;
    EXPECT_EQ(parse(*bytes, back).status, ReadStatus::Ok) << r.what;
    EXPECT_EQ(back.rowCount(), 1) << r.what;
    EXPECT_EQ(back.level(0), 3) << r.what;
  }
}

TEST(ListFileLimits, EscapesCountAsTheCharactersTheyTakeInTheFile) {
  // 1,900,000 emoji take 3.8 million units in memory but 17.1 million
  // characters in the file ("&#x1F600;" each).
  Text heap = u"\x10";
  for (int i = 0; i < 1'900'000; ++i) heap += u"\U0001F600";
  heap += u'\0';
  RowStore store;
  ASSERT_TRUE(store.loadBlocks(heap, std::string(1, '\0'), "", "", ""));
  EXPECT_EQ(checkLimits(store), Limit::TooManyCharacters);
  EXPECT_FALSE(build(store, Header{}));
}

TEST(ListFileLimits, RowsMustFitFiveHexadecimalDigits) {
  struct Row {
    const char* what;
    std::size_t rows;
    Limit limit;
  } rows[] = {
      {"1,048,575 rows", MaxBlockLength, Limit::Ok},
      {"1,048,576 rows", MaxBlockLength + 1, Limit::TooManyRows},
  };
  for (const Row& r : rows) {
    Text heap(r.rows + 1, record::FirstMarker);
    heap.back() = ch::Null;
    RowStore store;
    ASSERT_TRUE(store.loadBlocks(heap, std::string(r.rows + 4096, '\x01'), "", "", ""));
    ASSERT_EQ(static_cast<std::size_t>(store.rowCount()), r.rows);
    EXPECT_EQ(checkLimits(store), r.limit) << r.what;
    const std::optional<std::string> bytes = build(store, Header{});
    EXPECT_EQ(bytes.has_value(), r.limit == Limit::Ok) << r.what;
    if (bytes) {
      EXPECT_EQ(bytes->substr(7, 5), "FFFFF") << r.what;  // the spare rows were left out
    }
  }
}

// --- Older layout -------------------------------------------------------------

TEST(ListFileOldLayout, ReadsHeaderBlocksAndTrailer) {
  // Old records: marker 01, fields separated by code 2.
  // 18 characters in 19 bytes, then the end marker and one spare: 20 characters (hex 14).
  const std::string heap = std::string(
                               "\x01MYDISC\x02\x95\x5C\x02\x01"
                               "A.TXT\x02\x02") +
                           std::string(2, '\0');
  const std::string blocks = std::string("\x04\x06\x00", 3) + std::string("\x00\x01\x00", 3);
  const std::string trailer = "S" + std::string("   123456789") + std::string(51, ' ');
  struct Row {
    const char* what;
    std::string bytes;
    bool ok;
    ListSort sortOrder;
    std::int64_t freeSpace;
    bool hasTrailer;
  } rows[] = {
      {"with trailer, extension order", "AX0003000300001410000" + heap + blocks + trailer, true, ListSort::Extension,
       123456789, true},
      {"without trailer, name order", "AX0003000300001400000" + heap + blocks, true, ListSort::Name, 0, false},
      {"trailer without S", "AX0003000300001400000" + heap + blocks + "X" + trailer.substr(1), true, ListSort::Name, 0,
       true},
      {"damaged header", "AX00G3000300001400000" + heap + blocks, false, ListSort::None, 0, false},
      {"short header", "AX000300030000", false, ListSort::None, 0, false},
      {"current tag", "BX0003000300001400000" + heap + blocks, false, ListSort::None, 0, false},
  };
  for (const Row& r : rows) {
    OldListBlocks old;
    ASSERT_EQ(parseOldLayout(r.bytes, old), r.ok) << r.what;
    if (!r.ok) continue;
    EXPECT_EQ(old.heap, cp932::decode(heap)) << r.what;
    EXPECT_EQ(old.heap.substr(8, 1), u"表") << r.what;
    EXPECT_EQ(old.kinds, std::string("\x04\x06\x00", 3)) << r.what;
    EXPECT_EQ(old.levels, std::string("\x00\x01\x00", 3)) << r.what;
    EXPECT_EQ(old.sortOrder, r.sortOrder) << r.what;
    EXPECT_EQ(old.freeSpace, r.freeSpace) << r.what;
    EXPECT_EQ(old.hasTrailer, r.hasTrailer) << r.what;
    EXPECT_FALSE(old.truncated) << r.what;
  }
}

// --- Title line label and character spans --------------------------------------

TEST(ListFileProbe, TellsTheTitleLineLabelFromTheFileStart) {
  const std::string good = handFile();
  std::string noMarker = handHeader("BX", "000005") + std::string(
                                                          "\x10"
                                                          "ABC\x00",
                                                          5);
  struct Row {
    const char* what;
    std::string bytes;
    std::optional<Text> label;
  } rows[] = {
      {"current layout", good, Text(u"MYDISC")},
      {"lower-case lengths", handFile("BX", "00003a"), Text(u"MYDISC")},
      {"another tag is skipped", handFile("CX"), std::nullopt},
      {"old layout is skipped", "AX" + good.substr(2), std::nullopt},
      {"no code 17 in the heap", noMarker, std::nullopt},
      {"damaged header", good.substr(0, 20), std::nullopt},
  };
  for (const Row& r : rows) EXPECT_EQ(titleLineLabel(r.bytes), r.label) << r.what;
}

TEST(ListFileProbe, CountsCp932Characters) {
  struct Row {
    std::string bytes;
    std::size_t characters;
    std::size_t expectedBytes;
  } rows[] = {
      {"abc", 2, 2},
      {"abc", 9, 3},
      {"\x95\x5C"
       "a",
       1, 2},  // 表 is one character
      {"\x95\x5C"
       "a",
       2, 3},
      {"\x95\x10"
       "a",
       1, 1},              // a lead byte before a marker stands alone
      {"\x95", 1, 1},      // and at the end
      {"\xB1\xB2", 1, 1},  // half-width katakana are single bytes
      {std::string(20, 'x') + "\x83\x7C", 21, 22},
  };
  for (const Row& r : rows) EXPECT_EQ(byteLengthOfCharacters(r.bytes, r.characters), r.expectedBytes);
}

}  // namespace
}  // namespace zevro
