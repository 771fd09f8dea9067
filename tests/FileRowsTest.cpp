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

// A record's fields end at the next marker code wherever it falls (the
// codes are looked for several bytes at a time): names of every length up
// to three words, with kanji, and the date and size after them.
TEST(FileRowsTest, FieldsOfEveryLengthEndAtTheirMarkers) {
  std::vector<Row> rows = {{0, u"LENGTHS"}, folder(1, u"フォルダ")};
  std::vector<std::string> names;
  for (int length = 1; length <= 24; ++length) {
    Text name;
    for (int i = 0; i < length; ++i) name += i % 5 == 4 ? u'漢' : static_cast<char16_t>(u'a' + i % 26);
    rows.push_back({2, name, Text(static_cast<std::size_t>(length % 9 + 1), u'7'), u"24/04/05 12:00"});
    names.push_back(cp932::encode(name));
  }
  const std::string bytes = listFileOf(rows);
  FileRows walked(bytes);
  std::vector<FileRows::Place> places;
  std::size_t at = 0;
  walked.forEachPlacing(false, places, [&](const FileRow& r) {
    EXPECT_EQ(std::string(r.name), names[at]) << at;
    EXPECT_EQ(std::string(r.date), "24/04/05 12:00") << at;
    EXPECT_EQ(r.size, std::stoull(std::string(static_cast<std::size_t>((at + 1) % 9 + 1), '7'))) << at;
    Text path;
    std::size_t nameUnits = 0;
    EXPECT_TRUE(walked.appendPathFrom(places, r.row, path, nameUnits));
    EXPECT_EQ(path, u"フォルダ\\" + cp932::decode(names[at])) << at;
    ++at;
    return true;
  });
  EXPECT_EQ(at, names.size());
}

// Rows met again by the places a walk recorded give the fields and paths
// the walk gave, also where the levels skip one (a level no row fills is an
// empty name in the path, as the walk has it) and below archives.
TEST(FileRowsTest, RowsFoundAgainByTheirPlacesAreTheRowsOfTheWalk) {
  const std::vector<std::vector<Row>> catalogs = {
      Catalog,
      {{0, u"JUMPS"},
       {3, u"DEEP.TXT", u"1", u"24/01/01 00:00"},
       folder(1, u"A"),
       {4, u"LOWER.TXT", u"2"},
       folder(2, u"B"),
       {3, u"IN_B.ZIP", u"3"},
       {4, u"IN_ZIP.TXT", u"4"},
       {6, u"DEEPER_IN_ZIP.TXT", u"5"},
       {2, u"ＢＡＣＫ.TXT", u"6"},
       {1, u"ROOT.TXT", u"7"},
       folder(0, u"LEVEL0"),
       {2, u"AFTER0.TXT", u"8"},
       {1, u"LAST.TXT", u"9", u"99/12/31 23:55"}},
  };
  for (const std::vector<Row>& catalog : catalogs) {
    const std::string bytes = listFileOf(catalog);
    for (const bool members : {false, true}) {
      FileRows walked(bytes);
      const std::vector<Seen> whole = walk(walked, members, nullptr);
      FileRows placing(bytes);
      std::vector<FileRows::Place> places;
      std::vector<Seen> placed;
      placing.forEachPlacing(members, places, [&](const FileRow& r) {
        placed.push_back({r.row, std::string(r.name), std::string(r.date), r.size, r.member, {}});
        return true;
      });
      ASSERT_EQ(places.size(), catalog.size());
      ASSERT_EQ(placed.size(), whole.size());
      FileRows again(bytes);
      for (std::size_t i = 0; i < whole.size(); ++i) {
        const Seen& w = whole[i];
        EXPECT_EQ(placed[i], (Seen{w.row, w.name, w.date, w.size, w.member, {}}));
        FileRow r;
        ASSERT_TRUE(again.rowAt(w.row, places[static_cast<std::size_t>(w.row)].at, r)) << w.name;
        Text path = u"before:";
        std::size_t nameUnits = 0;
        ASSERT_TRUE(again.appendPathFrom(places, w.row, path, nameUnits)) << w.name;
        EXPECT_EQ((Seen{r.row, std::string(r.name), std::string(r.date), r.size, w.member, path}),
                  (Seen{w.row, w.name, w.date, w.size, w.member, u"before:" + w.path}));
        EXPECT_EQ(path.substr(path.size() - nameUnits), cp932::decode(w.name)) << w.name;
      }
    }
  }
  // A path through a skipped level, and places that do not fit the bytes.
  const std::string bytes = listFileOf(catalogs[1]);
  FileRows rows(bytes);
  std::vector<FileRows::Place> places;
  rows.forEachPlacing(true, places, [](const FileRow&) { return true; });
  Text path;
  std::size_t nameUnits = 0;
  ASSERT_TRUE(rows.appendPathFrom(places, 7, path, nameUnits));
  EXPECT_EQ(path, u"A\\B\\IN_B.ZIP\\IN_ZIP.TXT\\\\DEEPER_IN_ZIP.TXT");
  FileRow r;
  EXPECT_FALSE(rows.rowAt(2, places[2].at + 1, r));
  EXPECT_FALSE(rows.rowAt(2, static_cast<std::uint32_t>(bytes.size()), r));
  std::vector<FileRows::Place> wrong = places;
  wrong[5].parent = 6;  // after the row itself
  EXPECT_FALSE(rows.appendPathFrom(wrong, 7, path, nameUnits));
  wrong = places;
  wrong[4].at += 1;  // not a record's start
  EXPECT_FALSE(rows.appendPathFrom(wrong, 7, path, nameUnits));
  EXPECT_FALSE(rows.appendPathFrom(places, static_cast<int>(places.size()), path, nameUnits));
}

}  // namespace
}  // namespace zevro
