#include "compare/FileRows.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "CompareTestFiles.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

using comparetest::folder;
using comparetest::listFileOf;
using comparetest::Row;

// What a walk gives of a row, paths decoded.
struct Seen {
  int row;
  std::string name, date;
  std::uint64_t size;
  bool member;
  Text path;
  bool operator==(const Seen&) const = default;
};

const std::vector<Row> Catalog = {
    {0, u"DISC"},
    folder(1, u"DOCS"),
    {2, u"README.TXT", u"1,234", u"99/12/31 23:55"},
    {2, u"ＡＢＣ.TXT", u"300", u"01/01/01 00:00"},
    folder(2, u"写真"),
    {3, u"IMG_01.JPG", u"1,000,000", u"24/04/05 12:00"},
    {1, u"PACK.LZH", u"5,000", u"24/04/05 12:00"},
    {2, u"INSIDE.TXT", u"77", u"24/04/05 12:00"},
    {1, u"TOP.BIN", u"", u""},
};

std::vector<Seen> walk(FileRows& rows, bool members, const std::set<int>* only) {
  std::vector<Seen> seen;
  const auto record = [&](const FileRow& r) {
    seen.push_back({r.row, std::string(r.name), std::string(r.date), r.size, r.member, rows.pathOf(r)});
    return true;
  };
  if (only)
    rows.forEachWanted(
        members, [&](int row) { return only->count(row) > 0; }, record);
  else
    rows.forEach(members, record);
  return seen;
}

// A walk to chosen rows gives those rows exactly as the whole walk does:
// fields, members and the paths built from the rows passed over.
TEST(FileRowsTest, WalkToChosenRowsGivesWhatTheWholeWalkGives) {
  const std::string bytes = listFileOf(Catalog);
  for (const bool members : {false, true}) {
    FileRows all(bytes);
    const std::vector<Seen> whole = walk(all, members, nullptr);
    ASSERT_EQ(whole.size(), members ? 6u : 5u);
    const std::vector<std::set<int>> choices = {{}, {3}, {5, 8}, {2, 3, 5, 6, 7, 8}, {1, 4, 7}};
    for (const std::set<int>& only : choices) {
      FileRows some(bytes);
      std::vector<Seen> expected;
      for (const Seen& s : whole)
        if (only.count(s.row)) expected.push_back(s);
      EXPECT_EQ(walk(some, members, &only), expected) << "members " << members << ", " << only.size() << " rows";
    }
  }
  FileRows rows(bytes);
  const std::set<int> img = {5};
  const std::vector<Seen> found = walk(rows, false, &img);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].path, u"DOCS\\写真\\IMG_01.JPG");
  EXPECT_EQ(found[0].size, 1000000u);
  EXPECT_EQ(found[0].date, "24/04/05 12:00");
}

}  // namespace
}  // namespace zevro
