#include "search/PlainSearcher.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace zevro {
namespace {

constexpr std::size_t None = TextView::npos;

TEST(PlainSearcherTest, FindsTheFirstOccurrenceInsideTheRange) {
  struct Case {
    const char* behaviour;
    Text needle;
    Text text;
    std::size_t from;
    std::size_t end;
    std::size_t expected;
  };
  const std::vector<Case> cases = {
      {"at the start", u"ab", u"abab", 0, None, 0},
      {"from skips earlier ones", u"ab", u"abab", 1, None, 2},
      {"at the very end", u"ab", u"xxab", 0, None, 2},
      {"end cuts an occurrence off", u"ab", u"xxab", 0, 3, None},
      {"end just holds it", u"ab", u"xxab", 0, 4, 2},
      {"one character", u"ガ", u"カガ", 0, None, 1},
      // U+30A2 and U+31A2 share their low byte; the skip must not pass the real one.
      {"characters sharing a low byte", u"\u30A2x", u"\u31A2\u30A2x", 0, None, 1},
      {"needle longer than the text", u"abc", u"ab", 0, None, None},
      {"empty needle finds nothing", u"", u"ab", 0, None, None},
      {"from beyond the text", u"a", u"a", 2, None, None},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    EXPECT_EQ(PlainSearcher(c.needle).find(c.text, c.from, c.end), c.expected);
  }
}

// Texts over a small alphabet whose characters share low bytes, checked
// against the library search; the seed is fixed, so every run is the same.
TEST(PlainSearcherTest, AgreesWithTheLibrarySearchOnCollidingCharacters) {
  const char16_t alphabet[] = {u'a', 0x0161, u'b', 0x3062, 0x3161};
  std::mt19937 random(20240601);
  std::uniform_int_distribution<int> pick(0, 4);
  for (int round = 0; round < 500; ++round) {
    Text text(40, u' ');
    for (char16_t& c : text) c = alphabet[pick(random)];
    Text needle(1 + round % 4, u' ');
    for (char16_t& c : needle) c = alphabet[pick(random)];
    const PlainSearcher searcher(needle);
    for (std::size_t from = 0; from <= text.size(); from += 7) {
      SCOPED_TRACE(round);
      EXPECT_EQ(searcher.find(text, from, None), TextView(text).find(needle, from));
    }
  }
}

}  // namespace
}  // namespace zevro
