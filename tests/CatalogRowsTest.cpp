#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "search/CatalogRows.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

// Rows V A B C D E F G with the levels below; G lies beyond the level string.
// The names are CP932 bytes: "表" (95 5C) holds the byte of "\".
const std::string Heap = cp932::encode(
    u"\x10V\x11Title\x12\x13"
    u"1\x10"
    u"A\x11\x12\x10表\x11"
    u"c\x12"
    u"01/01/01\x10"
    u"C\x11\x10"
    u"D\x10"
    u"E\x11\x10"
    u"F\x11\x10G\x11");
const std::string Levels = std::string("\x00\x01\x02\x03\x02\x01\x03", 7);

TEST(CatalogRowsTest, PathsFollowTheLastRowOfEachLevelAbove) {
  CatalogRows rows(Heap, Levels);
  ASSERT_EQ(rows.rowCount(), 8);
  const struct {
    const char* behaviour;
    int row;
    Text path;
  } cases[] = {
      {"the title line is its volume label", 0, u"V"},
      {"a level-1 row is its name", 1, u"A"},
      {"a name holding the byte of a backslash", 2, u"A\\表"},
      {"three levels", 3, u"A\\表\\C"},
      {"a sibling after a deeper row", 4, u"A\\D"},
      {"back to level 1", 5, u"E"},
      {"a level skipped: the last row of each level above, step by step", 6, u"A\\D\\F"},
      {"beyond the level string: level 0", 7, u"G"},
  };
  for (const auto& c : cases) EXPECT_EQ(rows.pathOf(c.row), c.path) << c.behaviour;
}

TEST(CatalogRowsTest, BytePositionsLeadToTheirRow) {
  CatalogRows rows(Heap, Levels);
  const struct {
    std::size_t at;
    int row;
  } cases[] = {
      {0, 0}, {1, 0}, {rows.start(1) - 1, 0}, {rows.start(1), 1}, {rows.start(2) + 1, 2}, {Heap.size() - 1, 7}};
  for (const auto& c : cases) EXPECT_EQ(rows.rowAt(c.at), c.row) << c.at;
  EXPECT_EQ(rows.record(2),
            u"\x10表\x11"
            u"c\x12"
            u"01/01/01");
  EXPECT_EQ(rows.lastOfLevelUpTo(6, 2), 4);
  EXPECT_EQ(rows.lastOfLevelUpTo(3, 2), 2);
  EXPECT_EQ(rows.lastOfLevelUpTo(0, 1), -1);
  EXPECT_EQ(CatalogRows(std::string_view(), std::string_view()).rowCount(), 0);
}

// Rows of random lengths and levels over several thousand bytes, asked for
// in the orders a search asks (forward, ancestors behind) and at random.
TEST(CatalogRowsTest, AgreesWithAPlainWalkOverALongHeap) {
  std::mt19937 random(2024);
  std::string heap;
  std::string levels;
  std::vector<std::size_t> starts;
  for (int row = 0; row < 900; ++row) {
    starts.push_back(heap.size());
    heap += '\x10';
    heap += "n" + std::to_string(row);
    heap += '\x11';
    heap += std::string(random() % (row % 50 == 0 ? 700 : 40), 'c');
    // The title line has level 0; the string stops short of the last rows.
    if (row < 880) levels += static_cast<char>(row == 0 ? 0 : 1 + random() % 4);
  }
  const auto levelOf = [&](int row) {
    return row < static_cast<int>(levels.size()) ? static_cast<int>(levels[static_cast<std::size_t>(row)]) : 0;
  };
  const auto lastOfLevel = [&](int row, int level) {
    for (; row >= 0; --row)
      if (levelOf(row) == level) return row;
    return -1;
  };
  const auto pathOf = [&](int row) {
    const auto nameOf = [&](int r) {
      const std::size_t from = starts[static_cast<std::size_t>(r)] + 1;
      return cp932::decode(std::string_view(heap).substr(from, heap.find('\x11', from) - from));
    };
    Text path = nameOf(row);
    int q = row;
    for (int n = levelOf(row) - 1; n >= 1; --n) {
      q = lastOfLevel(q, n);
      if (q < 0) break;
      path = nameOf(q) + u"\\" + path;
    }
    return path;
  };
  const auto rowOfByte = [&](std::size_t at) {
    int row = -1;
    while (row + 1 < static_cast<int>(starts.size()) && starts[static_cast<std::size_t>(row + 1)] <= at) ++row;
    return row;
  };

  CatalogRows forward(heap, levels);
  for (std::size_t at = 0; at < heap.size(); at += 1 + random() % 300) {
    const int row = forward.rowAt(at);
    ASSERT_EQ(row, rowOfByte(at)) << at;
    ASSERT_EQ(forward.start(row), starts[static_cast<std::size_t>(row)]) << row;
    ASSERT_EQ(forward.pathOf(row), pathOf(row)) << row;
    ASSERT_EQ(forward.start(row), starts[static_cast<std::size_t>(row)]) << row;
  }
  EXPECT_EQ(forward.rowCount(), 900);

  CatalogRows scattered(heap, levels);
  for (int round = 0; round < 2000; ++round) {
    const int row = static_cast<int>(random() % 905);
    ASSERT_EQ(scattered.hasRow(row), row < 900) << row;
    if (row >= 900) {
      EXPECT_EQ(scattered.start(row), heap.size());
      continue;
    }
    const std::size_t end = row + 1 < 900 ? starts[static_cast<std::size_t>(row + 1)] : heap.size();
    ASSERT_EQ(scattered.recordBytes(row), std::string_view(heap).substr(starts[static_cast<std::size_t>(row)],
                                                                          end - starts[static_cast<std::size_t>(row)]));
    const int level = static_cast<int>(random() % 5);
    ASSERT_EQ(scattered.lastOfLevelUpTo(row, level), lastOfLevel(row, level)) << row << " " << level;
    ASSERT_EQ(scattered.pathOf(row), pathOf(row)) << row;
  }
}

}  // namespace
}  // namespace zevro
