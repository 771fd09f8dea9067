#include "search/WildPattern.h"

#include <gtest/gtest.h>

#include <vector>

#include "SearchTestText.h"

namespace zevro {
namespace {

using searchtest::marked;
constexpr std::size_t None = Match::npos;

TEST(WildPatternTest, IsWildKeyDecidesWhichTermsArePatterns) {
  struct Case {
    Text term;
    bool patternMode;
    bool expected;
  };
  const std::vector<Case> cases = {
      {u"a*b", true, true},     {u"a?c", true, true},     {u"[xy]z", true, true},  {u"ab*", true, true},
      {u"*abc", true, false},   {u"?abc", true, false},   {u"abc", true, false},   {u"[]z", true, false},
      {u"a[b", true, false},    {u"ab]", true, false},    {u"a]b[c", true, false}, {u"", true, false},
      {u"ａ＊ｂ", true, false},  // a width-folded star is no pattern character
      {u"a*b", false, false},   {u"[xy]z", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "pattern mode " << c.patternMode << ", term #" << (&c - cases.data()));
    EXPECT_EQ(IsWildKey(c.term, c.patternMode), c.expected);
  }
}

struct FindCase {
  const char* behaviour;
  Text pattern;
  Text text;  // written with marked(): ^ | ~ ` $ are codes 16 17 18 19 0
  std::size_t from;
  std::size_t pos;  // None: no match
  std::size_t length;
};

void checkFinds(const std::vector<FindCase>& cases) {
  for (const FindCase& c : cases) {
    SCOPED_TRACE(c.behaviour);
    const Match m = FindWild(c.from, marked(c.text), c.pattern);
    EXPECT_EQ(m.pos, c.pos);
    if (c.pos != None) {
      EXPECT_EQ(m.length, c.length);
    }
  }
}

TEST(WildPatternTest, QuestionMarkAndListsMatchOneCharacterOfTheField) {
  checkFinds({
      {"? takes any character", u"a?c", u"^abc|", 0, 1, 3},
      {"? never takes a field marker", u"a?c", u"^xa|c~", 0, None, 0},
      {"list takes a listed character", u"[xy]z", u"xz", 0, 0, 2},
      {"list takes the other listed one", u"[xy]z", u"^qqyz|", 0, 3, 2},
      {"list refuses others", u"[xy]z", u"zz", 0, None, 0},
      {"negated list takes others", u"[!x]z", u"yz", 0, 0, 2},
      {"negated list refuses the listed", u"[!x]z", u"xz", 0, None, 0},
      {"negated list never takes a field marker", u"e[!x]z", u"^name|zz~", 0, None, 0},
      {"range takes a character inside", u"[a-c]x", u"bx", 0, 0, 2},
      {"range refuses one outside", u"[a-c]x", u"dx", 0, None, 0},
      {"dash at the end is literal", u"a[x-]b", u"a-b", 0, 0, 3},
      {"empty list takes nothing", u"a[]b", u"a]b ab", 0, None, 0},
      {"list without its close takes nothing", u"a?[b", u"axb a?[b", 0, None, 0},
      {"# before the first * is itself", u"a#?", u"a#x", 0, 0, 3},
      {"# before the first * is no digit", u"a#?", u"a1x", 0, None, 0},
      {"backslash is an ordinary character", u"a\\?c", u"a\\bc", 0, 0, 4},
      {"search starts at from", u"a?c", u"abcabc", 1, 3, 3},
      {"a pattern longer than the rest of the text", u"abc?", u"xxabc", 0, None, 0},
      {"empty pattern finds nothing", u"", u"abc", 0, None, 0},
  });
}

TEST(WildPatternTest, StarTakesTheRestOfOneFieldOnly) {
  checkFinds({
      {"trailing * needs a character", u"ab*", u"^abc|", 0, 1, 3},
      {"trailing * refuses the name end", u"ab*", u"^ab|c~", 0, None, 0},
      {"trailing * at the end of the text", u"ab*", u"xxab", 0, None, 0},
      {"* then a character in the same field", u"a*z", u"^abcz|", 0, 1, 4},
      {"* does not reach into the comment", u"a*z", u"^ab|cz~", 0, None, 0},
      {"* may be empty before a printable character", u"a*z", u"^az|", 0, 1, 2},
      {"# after * is a digit", u"a*#", u"ab1", 0, 0, 3},
      {"# after * refuses a letter", u"a*#", u"abc", 0, None, 0},
      {"several stars in order", u"a*b*c", u"^axxbyyc|", 0, 1, 7},
      {"several stars out of order", u"a*b*c", u"^axxcyyb|", 0, None, 0},
      {"the longest match is taken", u"a*[0-9]", u"abc5d6|", 0, 0, 6},
      {"? after * takes any character of the field", u"a*?z", u"a z|", 0, 0, 3},
      {"last row without markers runs to the text end", u"a*z", u"^abz", 0, 1, 3},
      {"the end marker ends the field", u"a*z", u"^ab$z", 0, None, 0},
      // Starting in the date field, * must stop at the date's end and not
      // run on through the size into the next row's name.
      {"* in the date stops at its field end", u"99*z", u"^n1|c1~99/01/01`123\x14^abz|c~", 0, None, 0},
      {"* in the date finds within the date", u"99*1", u"^n1|c1~99/01/01`123\x14^abz|c~", 0, 7, 8},
      {"* in the size does not reach the next row", u"12*b", u"^n1|c1~99/01/01`123\x14^abz|c~", 0, None, 0},
  });
}

TEST(WildPatternTest, CandidatesStopAtCandidatesEndButMatchesMayCrossIt) {
  const WildPattern p(u"a?c");
  EXPECT_EQ(p.find(u"xxabc", 0, 3).pos, 2u);
  EXPECT_EQ(p.find(u"xxabc", 0, 3).length, 3u);
  EXPECT_FALSE(p.find(u"xxabc", 0, 2).found());
  const WildPattern noPrefix(u"[ab]c");
  EXPECT_EQ(noPrefix.find(u"xxbc", 0, 3).pos, 2u);
  EXPECT_FALSE(noPrefix.find(u"xxbc", 0, 2).found());
  EXPECT_EQ(p.literalPrefix(), u"a");
  EXPECT_EQ(noPrefix.literalPrefix(), u"");
}

}  // namespace
}  // namespace zevro
