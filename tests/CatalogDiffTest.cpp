#include "compare/CatalogDiff.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CompareTestFiles.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

using comparetest::folder;
using comparetest::listFileOf;
using comparetest::Row;
using Rows = std::vector<Row>;

// A change as one line: mark, path, size, date and what it was.
std::vector<std::string> linesOf(const std::vector<CatalogDiff::Change>& changes) {
  std::vector<std::string> out;
  for (const CatalogDiff::Change& c : changes) {
    std::string line = std::string(1, CatalogDiff::markOf(c.kind)) + " " + cp932::toNativeName(c.path) + " " +
                       std::to_string(c.size) + " " + cp932::toNativeName(c.date);
    if (c.kind == CatalogDiff::Kind::Moved) line += " from " + cp932::toNativeName(c.oldPath);
    if (c.kind == CatalogDiff::Kind::Changed)
      line += " was " + std::to_string(c.oldSize) + " " + cp932::toNativeName(c.oldDate);
    out.push_back(line);
  }
  return out;
}

std::vector<std::string> diff(const Rows& before, const Rows& after, CatalogDiff::Options options = {}) {
  return linesOf(CatalogDiff::compare(listFileOf(before), listFileOf(after), options));
}

const Rows Before = {
    {0, u"DISC"},
    folder(1, u"DOCS"),
    {2, u"README.TXT", u"10", u"99/12/31 23:55"},
    {2, u"Manual.pdf", u"2,000", u"00/01/01 00:00"},
    {1, u"OLD.TXT", u"40", u"98/01/01 00:00"},
    folder(1, u"A"),
    {2, u"X.BIN", u"30", u"01/01/01 09:00"},
    {1, u"SAME.TXT", u"5", u"01/01/01 00:00"},
    {1, u"PACK.ZIP", u"100", u"01/01/01 00:00"},
    {2, u"IN.TXT", u"7", u"01/01/01 00:00"},
};

TEST(CatalogDiffTest, AddedRemovedChangedMovedAndCaseOnly) {
  struct Case {
    const char* what;
    Rows after;
    CatalogDiff::Options options;
    std::vector<std::string> expected;
  };
  CatalogDiff::Options members;
  members.members = true;
  const Case cases[] = {
      {"the same catalog", Before, {}, {}},
      {"one of each",
       {{0, u"DISC"},
        folder(1, u"DOCS"),
        {2, u"README.TXT", u"20", u"24/01/02 10:00"},
        {2, u"Manual.pdf", u"2,000", u"00/01/01 00:00"},
        folder(1, u"B"),
        {2, u"X.BIN", u"30", u"01/01/01 09:00"},
        {1, u"NEW.TXT", u"1", u"24/01/02 10:00"},
        {1, u"SAME.TXT", u"5", u"01/01/01 00:00"},
        {1, u"PACK.ZIP", u"100", u"01/01/01 00:00"},
        {2, u"IN.TXT", u"8", u"01/01/01 00:00"}},
       {},
       {"> B\\X.BIN 30 01/01/01 09:00 from A\\X.BIN", "~ DOCS\\README.TXT 20 24/01/02 10:00 was 10 99/12/31 23:55",
        "+ NEW.TXT 1 24/01/02 10:00", "- OLD.TXT 40 98/01/01 00:00"}},
      {"only the case of the path changed: nothing; a date change is still seen",
       {{0, u"DISC"},
        folder(1, u"docs"),
        {2, u"readme.txt", u"10", u"99/12/31 23:55"},
        {2, u"MANUAL.PDF", u"2,000", u"00/01/01 00:01"},
        {1, u"old.txt", u"40", u"98/01/01 00:00"},
        folder(1, u"a"),
        {2, u"x.bin", u"30", u"01/01/01 09:00"},
        {1, u"Same.Txt", u"5", u"01/01/01 00:00"},
        {1, u"pack.zip", u"100", u"01/01/01 00:00"},
        {2, u"IN.TXT", u"7", u"01/01/01 00:00"}},
       {},
       {"~ docs\\MANUAL.PDF 2000 00/01/01 00:01 was 2000 00/01/01 00:00"}},
      {"a copy beside the original is an addition; moved with another case is a move",
       {{0, u"DISC"},
        folder(1, u"DOCS"),
        {2, u"README.TXT", u"10", u"99/12/31 23:55"},
        {2, u"Manual.pdf", u"2,000", u"00/01/01 00:00"},
        {1, u"OLD.TXT", u"40", u"98/01/01 00:00"},
        {1, u"SAME.TXT", u"5", u"01/01/01 00:00"},
        folder(1, u"C"),
        {2, u"x.bin", u"30", u"01/01/01 09:00"},
        {2, u"SAME.TXT", u"5", u"01/01/01 00:00"},
        {1, u"PACK.ZIP", u"100", u"01/01/01 00:00"},
        {2, u"IN.TXT", u"7", u"01/01/01 00:00"}},
       {},
       {"+ C\\SAME.TXT 5 01/01/01 00:00", "> C\\x.bin 30 01/01/01 09:00 from A\\X.BIN"}},
      {"a move of another size is a removal and an addition",
       {{0, u"DISC"},
        folder(1, u"DOCS"),
        {2, u"README.TXT", u"10", u"99/12/31 23:55"},
        {2, u"Manual.pdf", u"2,000", u"00/01/01 00:00"},
        {1, u"OLD.TXT", u"40", u"98/01/01 00:00"},
        {1, u"X.BIN", u"31", u"01/01/01 09:00"},
        {1, u"SAME.TXT", u"5", u"01/01/01 00:00"},
        {1, u"PACK.ZIP", u"100", u"01/01/01 00:00"},
        {2, u"IN.TXT", u"7", u"01/01/01 00:00"}},
       {},
       {"- A\\X.BIN 30 01/01/01 09:00", "+ X.BIN 31 01/01/01 09:00"}},
      {"archive members only when asked",
       {{0, u"DISC"},
        folder(1, u"DOCS"),
        {2, u"README.TXT", u"10", u"99/12/31 23:55"},
        {2, u"Manual.pdf", u"2,000", u"00/01/01 00:00"},
        {1, u"OLD.TXT", u"40", u"98/01/01 00:00"},
        folder(1, u"A"),
        {2, u"X.BIN", u"30", u"01/01/01 09:00"},
        {1, u"SAME.TXT", u"5", u"01/01/01 00:00"},
        {1, u"PACK.ZIP", u"100", u"01/01/01 00:00"},
        {2, u"IN.TXT", u"8", u"01/01/01 00:00"}},
       members,
       {"~ PACK.ZIP\\IN.TXT 8 01/01/01 00:00 was 7 01/01/01 00:00"}},
  };
  for (const Case& c : cases) EXPECT_EQ(diff(Before, c.after, c.options), c.expected) << c.what;
}

TEST(CatalogDiffTest, NothingBecomesEverythingAdded) {
  const std::vector<std::string> lines = diff({{0, u"EMPTY"}}, Before);
  EXPECT_EQ(lines, (std::vector<std::string>{"+ A\\X.BIN 30 01/01/01 09:00", "+ DOCS\\Manual.pdf 2000 00/01/01 00:00",
                                             "+ DOCS\\README.TXT 10 99/12/31 23:55", "+ OLD.TXT 40 98/01/01 00:00",
                                             "+ PACK.ZIP 100 01/01/01 00:00", "+ SAME.TXT 5 01/01/01 00:00"}));
  EXPECT_TRUE(CatalogDiff::compare("not a list file", listFileOf({{0, u"EMPTY"}}), {}).empty());
}

TEST(CatalogDiffTest, NamesOfOneCatalogThatDifferOnlyInCaseEachFindTheirOwn) {
  const Rows before = {{0, u"D"}, {1, u"a.txt", u"1"}, {1, u"A.TXT", u"2"}};
  const Rows reordered = {{0, u"D"}, {1, u"A.TXT", u"2"}, {1, u"a.txt", u"1"}};
  EXPECT_EQ(diff(before, reordered), std::vector<std::string>{});
  const Rows oneChanged = {{0, u"D"}, {1, u"A.TXT", u"3"}, {1, u"a.txt", u"1"}};
  EXPECT_EQ(diff(before, oneChanged), (std::vector<std::string>{"~ A.TXT 3  was 2 "}));
}

TEST(CatalogDiffTest, AMoveNeedsTheKeyOnceOnEachSide) {
  const Rows before = {{0, u"D"}, folder(1, u"A"), {2, u"X.BIN", u"30"}, folder(1, u"B"), {2, u"X.BIN", u"30"}};
  const Rows after = {{0, u"D"}, folder(1, u"C"), {2, u"X.BIN", u"30"}};
  EXPECT_EQ(diff(before, after), (std::vector<std::string>{"- A\\X.BIN 30 ", "- B\\X.BIN 30 ", "+ C\\X.BIN 30 "}));
  EXPECT_EQ(diff(after, before), (std::vector<std::string>{"+ A\\X.BIN 30 ", "+ B\\X.BIN 30 ", "- C\\X.BIN 30 "}));
  const Rows one = {{0, u"D"}, folder(1, u"A"), {2, u"X.BIN", u"30"}};
  EXPECT_EQ(diff(one, after), (std::vector<std::string>{"> C\\X.BIN 30  from A\\X.BIN"}));
}

}  // namespace
}  // namespace zevro
