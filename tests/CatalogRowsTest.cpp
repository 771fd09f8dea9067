#include <gtest/gtest.h>

#include <string>

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

}  // namespace
}  // namespace zevro
