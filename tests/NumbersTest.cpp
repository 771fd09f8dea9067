#include "core/Numbers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace zevro {
namespace {

struct FieldCase {
  const char* behaviour;
  std::int64_t n;
  int width;
  Text expected;
};

TEST(NumbersTest, ZeroPaddedKeepsRightmostDigits) {
  const std::vector<FieldCase> cases = {
      {"padded", 42, 5, u"00042"},
      {"cut from the left", 123456, 4, u"3456"},
      {"zero", 0, 3, u"000"},
      {"zero width", 7, 0, u""},
      {"negative keeps its sign in front", -5, 4, u"-005"},
  };
  for (const FieldCase& c : cases) {
    SCOPED_TRACE(c.behaviour);
    EXPECT_EQ(zeroPadded(c.n, c.width), c.expected);
  }
}

TEST(NumbersTest, RightAlignedHasSignPosition) {
  const std::vector<FieldCase> cases = {
      {"blank padded", 123, 6, u"   123"},     {"negative", -12, 5, u"  -12"},
      {"sign blank counts", 7, 2, u" 7"},      {"sign blank cut first", 123, 3, u"123"},
      {"cut from the left", 12345, 3, u"345"}, {"negative in exact width", -1, 2, u"-1"},
  };
  for (const FieldCase& c : cases) {
    SCOPED_TRACE(c.behaviour);
    EXPECT_EQ(rightAligned(c.n, c.width), c.expected);
  }
}

TEST(NumbersTest, HexFieldIsUpperCaseZeroPaddedAndCut) {
  struct Case {
    const char* behaviour;
    std::uint32_t value;
    int width;
    Text expected;
  };
  const std::vector<Case> cases = {
      {"eight digits", 255, 8, u"000000FF"},
      {"five digits", 255, 5, u"000FF"},
      {"two digits of a 16-bit value", 0x1234, 2, u"34"},
      {"four digits full", 0xFFFF, 4, u"FFFF"},
      {"largest 32-bit value", 0xFFFFFFFF, 8, u"FFFFFFFF"},
      {"cut to four", 0xABCDEF, 4, u"CDEF"},
      {"zero", 0, 2, u"00"},
      {"letter digit upper case", 10, 2, u"0A"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    EXPECT_EQ(hexField(c.value, c.width), c.expected);
  }
  EXPECT_EQ(rightJustify(hexField(255, 8), 5), u"000FF");
}

TEST(NumbersTest, JustifyPadsWithBlanksAndCuts) {
  struct Case {
    const char* behaviour;
    Text text;
    int width;
    Text left, right;
  };
  const std::vector<Case> cases = {
      {"padded", u"ab", 4, u"ab  ", u"  ab"},
      {"cut", u"abcdef", 3, u"abc", u"def"},
      {"empty text", u"", 2, u"  ", u"  "},
      {"zero width", u"abc", 0, u"", u""},
      {"one unit per Japanese character", u"表", 2, u"表 ", u" 表"},
      {"grouped size keeps its right end", u"1,234,567,890,123", 12, u"1,234,567,89", u",567,890,123"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    EXPECT_EQ(leftJustify(c.text, c.width), c.left);
    EXPECT_EQ(rightJustify(c.text, c.width), c.right);
  }
}

TEST(NumbersTest, GroupedNumberKeepsEveryDigit) {
  struct Case {
    const char* behaviour;
    std::int64_t n;
    Text expected;
  };
  const std::vector<Case> cases = {
      {"zero", 0, u"0"},
      {"three digits no comma", 999, u"999"},
      {"first comma", 1000, u"1,000"},
      {"negative with ASCII hyphen", -1234, u"-1,234"},
      {"negative three digits", -999, u"-999"},
      {"seven digits", 1234567, u"1,234,567"},
      {"one trillion has four groups", 1'000'000'000'000, u"1,000,000,000,000"},
      {"10^15 is not cut", 1'000'000'000'000'000, u"1,000,000,000,000,000"},
      {"eighteen digits", 123'456'789'012'345'678, u"123,456,789,012,345,678"},
      {"largest 64-bit", std::numeric_limits<std::int64_t>::max(), u"9,223,372,036,854,775,807"},
      {"smallest 64-bit", std::numeric_limits<std::int64_t>::min(), u"-9,223,372,036,854,775,808"},
      {"largest 32-bit", std::numeric_limits<std::int32_t>::max(), u"2,147,483,647"},
      {"smallest 32-bit", std::numeric_limits<std::int32_t>::min(), u"-2,147,483,648"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    EXPECT_EQ(groupedNumber(c.n), c.expected);
  }
}

TEST(NumbersTest, Size64JoinsHalves) {
  struct Case {
    const char* behaviour;
    std::int32_t high;
    std::uint32_t low;
    std::int64_t expected;
  };
  const std::vector<Case> cases = {
      {"zero", 0, 0, 0},
      {"low half read unsigned", 0, 0xFFFFFFFF, 4'294'967'295},
      {"high half is the upper word", 1, 0, 4'294'967'296},
      {"both halves", 2, 5, 8'589'934'597},
      {"all bits set", -1, 0xFFFFFFFF, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    EXPECT_EQ(size64(c.high, c.low), c.expected);
  }
}

}  // namespace
}  // namespace zevro
