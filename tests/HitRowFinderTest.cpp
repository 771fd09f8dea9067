#include "search/HitRowFinder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "SearchTestText.h"
#include "core/Record.h"
#include "search/SearchRequest.h"

namespace zevro {
namespace {

using searchtest::switches;

struct Row {
  Text name;
  Text comment;
  Text date;
  Text size;
};

// A record heap: "\x10name\x11comment\x12date\x13size\x14" per row, then the
// end marker. Row 0 is the title line (volume label, catalog title).
Text heap(const std::vector<Row>& rows) {
  Text out;
  for (const Row& r : rows) {
    out += record::marker(0);
    out += r.name;
    out += record::marker(1);
    out += r.comment;
    out += record::marker(2);
    out += r.date;
    out += record::marker(3);
    out += r.size;
    out += record::marker(4);
  }
  out += ch::Null;
  return out;
}

struct Found {
  std::vector<int> rows;
  int pauses = 0;
};

// The row numbers the request finds, counted in the folded text as the scan
// counts them (one code 16 per row).
Found hitRows(const SearchRequest& request, const Text& text, std::size_t budget = Match::npos) {
  Text folded;
  request.foldText(text, folded);
  HitRowFinder finder(request, folded);
  Found found;
  for (auto step = finder.next(budget); step.kind != HitRowFinder::Done; step = finder.next(budget)) {
    if (step.kind == HitRowFinder::Paused) {
      ++found.pauses;
      continue;
    }
    const auto upTo = folded.begin() + static_cast<std::ptrdiff_t>(step.rowStart);
    EXPECT_EQ(folded[step.rowStart], record::marker(0));
    found.rows.push_back(static_cast<int>(std::count(folded.begin(), upTo, record::marker(0))));
  }
  return found;
}

const std::vector<Row> Shelf = {
    {u"VOL1", u"My Cat Archive", u"", u"12,345"},
    {u"DOCS", u"", u"99/12/31 23:55", u"0"},
    {u"README.TXT", u"about the cat", u"99/12/31 23:55", u"1,234"},
    {u"concat.c", u"cat and dog", u"00/01/01 00:00", u"10"},
    {u"cat.txt", u"cat", u"01/02/03 04:05", u"7"},
    {u"dog.txt", u"a dog", u"02/02/02 02:02", u"3"},
    {u"ｶﾞｲﾄﾞ.txt", u"ガイド本", u"03/03/03 03:03", u"5"},
    {u"pets", u"concat cat dog", u"04/04/04 04:04", u"1"},
};

struct Case {
  const char* behaviour;
  Text term;
  const char* switches;  // c case, w width, p pattern, t whole word
  unsigned columns;
  Condition condition;
  Text second;
  std::vector<int> expected;
};

void check(const std::vector<Row>& rows, const std::vector<Case>& cases) {
  const Text text = heap(rows);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    const SearchRequest request(c.term, switches(c.switches), c.columns, c.condition, c.second);
    EXPECT_EQ(hitRows(request, text).rows, c.expected);
  }
}

constexpr Condition Off = Condition::Off;
constexpr Condition And = Condition::And;
constexpr Condition Or = Condition::Or;
constexpr unsigned Names = column::Name;
constexpr unsigned Comments = column::Comment;
constexpr unsigned Both = column::Both;

TEST(HitRowFinderTest, OneTermFindsEachRowOnceInRowOrder) {
  check(Shelf, {
                   {"name and comment hits give one row", u"cat", "", Both, Off, u"", {2, 3, 4, 7}},
                   {"case folding adds the title line", u"CAT", "c", Both, Off, u"", {0, 2, 3, 4, 7}},
                   {"the title line is row 0", u"VOL1", "", Both, Off, u"", {0}},
                   {"names only", u"cat", "", Names, Off, u"", {3, 4}},
                   {"comments only still finds rows with both", u"cat", "", Comments, Off, u"", {2, 3, 4, 7}},
                   {"the comment column holds the date", u"99/12", "", Comments, Off, u"", {1, 2}},
                   {"the comment column holds the size", u"1,234", "", Comments, Off, u"", {2}},
                   {"the date is no name", u"99/12", "", Names, Off, u"", {}},
                   {"no column, no rows", u"cat", "", 0, Off, u"", {}},
                   {"whole words", u"cat", "t", Both, Off, u"", {2, 3, 4, 7}},
                   {"whole words in names", u"cat", "t", Names, Off, u"", {4}},
                   {"width folding", u"ガイド", "w", Both, Off, u"", {6}},
                   {"pattern in names", u"c?t", "p", Names, Off, u"", {3, 4}},
                   {"a second term without a condition is ignored", u"cat", "", Both, Off, u"dog", {2, 3, 4, 7}},
                   {"a blank second term means one term", u"cat", "", Both, And, u"  ", {2, 3, 4, 7}},
               });
}

TEST(HitRowFinderTest, TwoTermsJoinedByAndOrOr) {
  check(Shelf, {
                   {"OR lists a row with both terms once", u"cat", "", Both, Or, u"dog", {2, 3, 4, 5, 7}},
                   {"OR in row order", u"README", "", Both, Or, u"dog", {2, 3, 5, 7}},
                   {"AND in one row", u"cat", "", Both, And, u"dog", {3, 7}},
                   {"AND never pairs two rows", u"README", "", Both, And, u"dog", {}},
                   {"AND in names needs the second term in the name", u"cat", "", Names, And, u"dog", {}},
                   {"AND in names", u"txt", "", Names, And, u"dog", {5}},
                   {"AND in comments looks at the comment field", u"cat", "", Comments, And, u"and", {3}},
                   {"AND in comments leaves out the date", u"cat", "", Comments, And, u"99", {}},
                   {"AND in both columns leaves out the date", u"cat", "", Both, And, u"12/31", {}},
                   {"AND with case folding on either term", u"cat", "c", Both, And, u"ARCHIVE", {0}},
                   // "concat cat dog": the first "cat" is no whole word, the second is.
                   {"AND whole word tries every occurrence", u"dog", "t", Both, And, u"cat", {3, 7}},
                   {"OR whole words", u"concat", "t", Both, Or, u"a", {3, 5, 7}},
               });
}

TEST(HitRowFinderTest, PatternsNeverRunIntoTheNextRow) {
  const std::vector<Row> rows = {
      {u"VOL", u"", u"", u""},
      {u"a", u"", u"99/01/01", u"123"},
      {u"zed", u"", u"", u""},
  };
  check(rows, {
                  {"star from the date stops at the date end", u"99*z", "p", Both, Off, u"", {}},
                  {"star from the size stops at the size end", u"12*z", "p", Both, Off, u"", {}},
                  {"star within the date", u"99*1", "p", Both, Off, u"", {1}},
              });
}

TEST(HitRowFinderTest, RowsCountRightAfterHalfWidthTextShrinks) {
  const std::vector<Row> rows = {
      {u"VOL", u"ｶﾞｶﾞｶﾞｶﾞ", u"", u""}, {u"ｶﾞｶﾞｶﾞｶﾞ", u"ﾊﾟﾊﾟﾊﾟ", u"", u""},
      {u"ﾊﾞﾊﾞ", u"", u"", u""},        {u"ドア", u"", u"", u""},
      {u"ﾄﾞｱ", u"", u"", u""},
  };
  check(rows, {
                  {"half-width term", u"ﾄﾞｱ", "w", Both, Off, u"", {3, 4}},
                  {"full-width term", u"ドア", "w", Both, Off, u"", {3, 4}},
                  {"without width folding", u"ﾄﾞｱ", "", Both, Off, u"", {4}},
              });
}

TEST(HitRowFinderTest, BudgetPausesWithoutChangingTheRows) {
  std::vector<Row> rows = {{u"VOL", u"", u"", u""}};
  for (int i = 1; i < 200; ++i) {
    const std::string digits = std::to_string(i);
    Row r{Text(digits.begin(), digits.end()) + u".txt", u"", u"", u""};
    if (i == 150 || i == 199) r.comment = u"needle";
    rows.push_back(r);
  }
  const Text text = heap(rows);
  struct Budgeted {
    const char* behaviour;
    SearchRequest request;
  };
  const std::vector<Budgeted> cases = {
      {"one term", SearchRequest(u"needle", switches(""))},
      {"OR with a term found nowhere", SearchRequest(u"needle", switches(""), Both, Or, u"absent")},
      {"AND", SearchRequest(u"needle", switches(""), Both, And, u"needle")},
      {"pattern without a literal start", SearchRequest(u"[n]eedle", switches("p"))},
  };
  for (const Budgeted& c : cases) {
    SCOPED_TRACE(c.behaviour);
    const Found whole = hitRows(c.request, text);
    const Found budgeted = hitRows(c.request, text, 16);
    EXPECT_EQ(whole.rows, (std::vector<int>{150, 199}));
    EXPECT_EQ(budgeted.rows, whole.rows);
    EXPECT_EQ(whole.pauses, 0);
    EXPECT_GT(budgeted.pauses, 100);
  }
}

TEST(SearchRequestTest, TextFoldsFollowEitherTerm) {
  struct Fold {
    const char* behaviour;
    SearchRequest request;
    bool width;
    bool upper;
  };
  const std::vector<Fold> cases = {
      {"kanji term needs no fold", SearchRequest(u"漢字", switches("cw")), false, false},
      {"second term brings width folding", SearchRequest(u"漢字", switches("w"), Both, And, u"abc"), true, false},
      {"second term brings case folding", SearchRequest(u"漢字", switches("c"), Both, Or, u"abc"), false, true},
      {"unused second term brings nothing", SearchRequest(u"漢字", switches("cw"), Both, Off, u"abc"), false, false},
      {"switches off", SearchRequest(u"abc", switches("")), false, false},
  };
  for (const Fold& c : cases) {
    SCOPED_TRACE(c.behaviour);
    EXPECT_EQ(c.request.foldsWidth(), c.width);
    EXPECT_EQ(c.request.foldsCase(), c.upper);
  }
}

TEST(SearchRequestTest, SecondTermIsTrimmedAndAnEmptyOneMeansOneTerm) {
  const SearchRequest two(u"cat", switches(""), Both, Or, u"  dog ");
  EXPECT_TRUE(two.isTwoTerm());
  EXPECT_EQ(two.second().folded(), u"dog");
  const SearchRequest blank(u"cat", switches(""), Both, And, u"   ");
  EXPECT_FALSE(blank.isTwoTerm());
  EXPECT_EQ(blank.condition(), Condition::Off);
  EXPECT_TRUE(blank.second().empty());
}

}  // namespace
}  // namespace zevro
