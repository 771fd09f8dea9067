// One search term against one text under the four matching switches: the
// term and the text are folded as the term needs, then searched.
#include <gtest/gtest.h>

#include <vector>

#include "SearchTestText.h"
#include "search/SearchTerm.h"

namespace zevro {
namespace {

using searchtest::marked;
using searchtest::switches;
constexpr std::size_t None = Match::npos;

struct Case {
  const char* behaviour;
  Text term;
  Text text;             // marked(): ^ | ~ ` $ are codes 16 17 18 19 0
  const char* switches;  // c case, w width, p pattern, t whole word
  std::size_t pos;       // in the folded text; None: not found
  std::size_t length;
};

void check(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    const SearchTerm term(c.term, switches(c.switches));
    Text folded;
    term.foldText(marked(c.text), folded);
    const Match m = term.find(folded);
    EXPECT_EQ(m.pos, c.pos);
    if (c.pos != None) {
      EXPECT_EQ(m.length, c.length);
    }
  }
}

TEST(MatchingTest, CaseFolding) {
  check({
      {"case matters when off", u"ABC", u"xabc", "", None, 0},
      {"case folding finds lower case", u"ABC", u"xabc", "c", 1, 3},
      {"lower-case term finds upper case", u"abc", u"xABC", "c", 1, 3},
      {"case folding alone keeps widths apart", u"ABC", u"ａｂｃ", "c", None, 0},
      {"full-width letters fold among themselves", u"ａｂｃ", u"ＡＢＣ", "c", 0, 3},
      {"case and width together", u"ABC", u"ａｂｃ", "cw", 0, 3},
  });
}

TEST(MatchingTest, WidthFolding) {
  check({
      {"half-width katakana finds full-width", u"ｶﾞｲﾄﾞ", u"xxガイド", "w", 2, 3},
      {"full-width katakana finds half-width", u"ガイド", u"ｶﾞｲﾄﾞ", "w", 0, 3},
      {"semi-voiced half-width finds full-width", u"ﾊﾟ", u"パン", "w", 0, 1},
      {"full-width finds semi-voiced half-width", u"パ", u"ｼﾞｬﾊﾟﾝ", "w", 2, 1},
      {"ASCII finds full-width", u"abc", u"ａｂｃ", "w", 0, 3},
      {"full-width finds ASCII", u"ＡＢＣ", u"xABC", "w", 1, 3},
      {"width folding keeps case apart", u"ABC", u"abc", "w", None, 0},
      {"without width folding forms stay apart", u"ｶﾞｲﾄﾞ", u"ガイド", "", None, 0},
      {"without width folding ASCII stays apart", u"ＡＢＣ", u"ABC", "", None, 0},
      {"blank finds the ideographic space", u"a b", u"a　b", "w", 0, 3},
      {"positions count the folded text", u"ﾄﾞ", u"ｶﾞｶﾞﾄﾞ", "w", 2, 1},
      {"a term without foldable characters needs no fold", u"漢字", u"ｶﾞ漢字", "w", 2, 2},
  });
}

TEST(MatchingTest, Patterns) {
  check({
      {"star within a name", u"a*b", u"^axxb|", "p", 1, 4},
      {"question mark", u"a?c", u"^abc|", "p", 1, 3},
      {"list", u"[xy]z", u"^yz|", "p", 1, 2},
      {"pattern mode off searches the text", u"a*b", u"^a*b|axxb", "", 1, 3},
      {"leading star is plain text", u"*abc", u"^x*abc|", "p", 2, 4},
      {"leading star does not act as pattern", u"*abc", u"^xabc|", "p", None, 0},
      {"leading question mark is plain text", u"?abc", u"^xabc|?abc", "p", 6, 4},
      {"width folding turns the pattern into text", u"a*b", u"^axxb|a*b", "pw", 6, 3},
      {"case folding applies to patterns", u"A?C", u"^abc|", "pc", 1, 3},
      {"star stops at the name end", u"ab*", u"^ab|c~", "p", None, 0},
  });
}

TEST(MatchingTest, WholeWords) {
  check({
      {"word before a dot", u"cat", u"cat.txt", "t", 0, 3},
      {"word after a blank", u"cat", u"my cat", "t", 3, 3},
      {"inside a word", u"cat", u"concat", "t", None, 0},
      {"start of a longer word", u"cat", u"cats", "t", None, 0},
      {"underscore joins a word", u"cat", u"cat_1", "t", None, 0},
      {"digit after letters ends a word", u"cat", u"cat1", "t", 0, 3},
      {"a later occurrence can be the word", u"cat", u"concat cat", "t", 7, 3},
      {"overlapping occurrences are tried", u"aa", u"aaa aa", "t", 4, 2},
      {"katakana before kanji", u"ファイル", u"ファイル名", "t", 0, 4},
      {"katakana before the prolonged mark", u"ファイル", u"ファイルー", "t", None, 0},
      {"name between field markers", u"cat", u"^cat|x", "t", 1, 3},
      {"whole words after width folding", u"cat", u"ｃａｔ．ｔｘｔ", "tw", 0, 3},
      {"without the switch anywhere", u"cat", u"concat", "", 3, 3},
      // Whole-word tests of patterns look at what the pattern matched: "xz"
      // is two characters although "[xy]z" has five.
      {"pattern word ends where its match ends", u"[xy]z", u"xz abc", "pt", 0, 2},
      {"pattern match running on into a word", u"[xy]z", u"xza.b", "pt", None, 0},
      {"star word takes the longest end that is a boundary", u"a*z", u"abcz zq", "pt", 0, 4},
      {"star word refuses when no end is a boundary", u"a*z", u"abczq", "pt", None, 0},
      {"star word to the field end", u"cat*", u"^cat food|", "pt", 1, 8},
      {"star word must start a word", u"cat*", u"^concat food|", "pt", None, 0},
  });
}

TEST(MatchingTest, TextStartCanCountAsBoundaryForFieldSearches) {
  const SearchTerm term(u".txt", switches("t"));
  EXPECT_FALSE(term.find(u".txt").found());
  EXPECT_EQ(term.find(u".txt", 0, Match::npos, TextStart::WordBoundary).pos, 0u);
  EXPECT_EQ(term.find(u"..txt", 0, Match::npos, TextStart::WordBoundary).pos, None);
}

TEST(MatchingTest, PreparedTermReportsItsFoldsAndKind) {
  struct Prep {
    const char* behaviour;
    Text term;
    const char* switches;
    Text folded;
    bool width;
    bool upper;
    bool pattern;
  };
  const std::vector<Prep> cases = {
      {"nothing on", u"a*b", "", u"a*b", false, false, false},
      {"pattern mode", u"a*b", "p", u"a*b", false, false, true},
      {"width folding makes a pattern plain", u"a*b", "pw", u"ａ＊ｂ", true, false, false},
      {"case folding keeps a pattern", u"a*b", "pc", u"A*B", false, true, true},
      {"width folding only when needed", u"漢字", "w", u"漢字", false, false, false},
      {"case folding only with Latin letters", u"ガイド", "c", u"ガイド", false, false, false},
      {"half-width katakana folded", u"ｶﾞｲﾄﾞ", "wc", u"ガイド", true, false, false},
      {"full-width letters upper-cased", u"ａｂ", "c", u"ＡＢ", false, true, false},
  };
  for (const Prep& c : cases) {
    SCOPED_TRACE(c.behaviour);
    const SearchTerm t(c.term, switches(c.switches));
    EXPECT_EQ(t.folded(), c.folded);
    EXPECT_EQ(t.widthFolds(), c.width);
    EXPECT_EQ(t.caseFolds(), c.upper);
    EXPECT_EQ(t.isPattern(), c.pattern);
  }
}

TEST(MatchingTest, CandidatesEndLimitsWhereOccurrencesStart) {
  const SearchTerm plain(u"abc", switches(""));
  EXPECT_EQ(plain.find(u"xxabc", 0, 3).pos, 2u);
  EXPECT_FALSE(plain.find(u"xxabc", 0, 2).found());
  EXPECT_EQ(plain.find(u"abcxabc", 1).pos, 4u);
  EXPECT_FALSE(SearchTerm().find(u"abc").found());
}

}  // namespace
}  // namespace zevro
