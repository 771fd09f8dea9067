#include "media/ListRefresh.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "MediaFixture.h"
#include "core/CatalogList.h"
#include "core/ListFile.h"
#include "media/ArchiveLibraries.h"
#include "media/MediaReading.h"
#include "media/TitleFile.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

using namespace catalog;

struct Row {
  std::vector<Text> fields;  // field 0 first; a record may stop before its flag
  int level = 1;
  int kind = KindFile;
};

RowStore listOf(const std::vector<Row>& rows) {
  RowStore store;
  makeCatalogList(store);
  for (const Row& r : rows) {
    std::vector<TextView> views(r.fields.begin(), r.fields.end());
    EXPECT_TRUE(store.appendShown(buildRecord(views), colourIndexFor(r.kind, r.level), 0, r.kind, r.level));
  }
  store.deriveIndexAndTreeFlags();
  return store;
}

// The fresh reading of the medium in every case below.
RowStore freshReading() {
  return listOf({
      {{u"DISC", u"", u"", u"9,000", u"0"}, 0, KindTitleCD},
      {{u"DOCS", u"", u"24/01/31 12:00", u"3,000", u"0"}, 1, KindFolder},
      {{u"README.TXT", u"Read me first", u"24/01/30 09:15", u"1,000", u"0"}, 2},
      {{u"NOTES.TXT", u"", u"24/01/30 10:00", u"2,000", u"0"}, 2},
      {{u"PIC.JPG", u"", u"24/02/01 10:00", u"6,000", u"0"}, 1},
  });
}

// A shown catalog of the same medium: the title line and DOCS, then the rows of the case.
RowStore shownWith(const std::vector<Row>& rows, Text title = u"ゲーム集") {
  std::vector<Row> all{{{u"DISC", title, u"", u"8,000", u"0"}, 0, KindTitleCD},
                       {{u"DOCS", u"", u"24/01/31 12:00", u"3,000", u"0"}, 1, KindFolder}};
  all.insert(all.end(), rows.begin(), rows.end());
  return listOf(all);
}

Text fieldOf(const RowStore& store, TextView path, int k) {
  const int row = store.findRowByPath(path, 1);
  EXPECT_GT(row, 0);
  return row > 0 ? store.field(k, row) : Text(u"<none>");
}

TEST(ListRefreshMerge, UserEditsCarryOverToTheFreshRows) {
  const struct {
    const char* behaviour;
    Row shown;        // at level 2 under DOCS unless it says otherwise
    Text path;        // the fresh row to look at
    Text comment, date, flag, name, mediumName, image;
    int found;
  } rows[] = {
      {"a user comment is kept over another generated one",
       {{u"README.TXT", u"my notes", u"24/01/30 09:15", u"1,000", u"2"}, 2},
       u"DOCS\\README.TXT", u"my notes", u"24/01/30 09:15", u"2", u"README.TXT", u"", u"", 1},
      {"a user comment equal to the generated one loses bit 2",
       {{u"README.TXT", u"Read me first", u"24/01/30 09:15", u"1,000", u"2"}, 2},
       u"DOCS\\README.TXT", u"Read me first", u"24/01/30 09:15", u"0", u"README.TXT", u"", u"", 1},
      {"a user date is kept",
       {{u"NOTES.TXT", u"", u"99/12/31", u"2,000", u"4"}, 2},
       u"DOCS\\NOTES.TXT", u"", u"99/12/31", u"4", u"NOTES.TXT", u"", u"", 1},
      {"a user date equal to the medium's loses bit 4, the comment stays",
       {{u"NOTES.TXT", u"mine", u"24/01/30 10:00", u"2,000", u"6"}, 2},
       u"DOCS\\NOTES.TXT", u"mine", u"24/01/30 10:00", u"2", u"NOTES.TXT", u"", u"", 1},
      {"a name given in the list is kept with the medium's name",
       {{u"MEMO", u"", u"24/01/30 10:00", u"2,000", u"1", u"NOTES.TXT"}, 2},
       u"DOCS\\MEMO", u"", u"24/01/30 10:00", u"1", u"MEMO", u"NOTES.TXT", u"", 1},
      {"a picture id is carried",
       {{u"PIC.JPG", u"", u"24/02/01 10:00", u"6,000", u"8", u"", u"P0001"}, 1},
       u"PIC.JPG", u"", u"24/02/01 10:00", u"8", u"PIC.JPG", u"", u"P0001", 1},
      {"a row without a flag character has no edits (and gets no control character)",
       {{u"README.TXT", u"old text", u"", u"1,000"}, 2},
       u"DOCS\\README.TXT", u"Read me first", u"24/01/30 09:15", u"0", u"README.TXT", u"", u"", 0},
      {"an invalid flag character counts as none",
       {{u"README.TXT", u"old text", u"", u"1,000", u"\x01"}, 2},
       u"DOCS\\README.TXT", u"Read me first", u"24/01/30 09:15", u"0", u"README.TXT", u"", u"", 0},
      {"a row no longer on the medium loses its edits",
       {{u"GONE.TXT", u"lost words", u"", u"1", u"2"}, 2},
       u"DOCS\\README.TXT", u"Read me first", u"24/01/30 09:15", u"0", u"README.TXT", u"", u"", 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.behaviour);
    const RowStore shown = shownWith({row.shown});
    RowStore fresh = freshReading();
    EXPECT_EQ(ListRefresh::mergeUserEdits(shown, fresh), row.found);
    ASSERT_EQ(fresh.rowCount(), 5);
    EXPECT_EQ(fieldOf(fresh, row.path, FieldComment), row.comment);
    EXPECT_EQ(fieldOf(fresh, row.path, FieldDate), row.date);
    EXPECT_EQ(fieldOf(fresh, row.path, FieldFlags), row.flag);
    EXPECT_EQ(fieldOf(fresh, row.path, FieldName), row.name);
    EXPECT_EQ(fieldOf(fresh, row.path, FieldMediumName), row.mediumName);
    EXPECT_EQ(fieldOf(fresh, row.path, FieldImage), row.image);
    // Nothing of a vanished row comes back anywhere.
    EXPECT_EQ(fresh.heap().find(u"lost words"), TextView::npos);
    EXPECT_EQ(fresh.heap().find(u"old text"), TextView::npos);
    // Every flag character is a valid one.
    for (int r = 0; r < fresh.rowCount(); ++r) {
      const TextView f = fresh.fieldView(FieldFlags, r);
      ASSERT_EQ(f.size(), 1u);
      EXPECT_TRUE(f[0] >= u'0' && f[0] <= u'?');
    }
  }
}

TEST(ListRefreshMerge, TitleLineKeepsTheCatalogTitleSourceAndPartMark) {
  RowStore shown = shownWith({});
  shown.setField(FieldMediumName, 0, u"E:\\MAIL");
  shown.setField(7, 0, u"HD_DATA.CCT");
  RowStore fresh = freshReading();
  fresh.setField(FieldComment, 0, u"generated title");
  ListRefresh::mergeUserEdits(shown, fresh);
  EXPECT_EQ(fresh.field(FieldName, 0), u"DISC");
  EXPECT_EQ(fresh.field(FieldComment, 0), u"ゲーム集");
  EXPECT_EQ(fresh.field(FieldSize, 0), u"9,000");  // the fresh total
  EXPECT_EQ(fresh.field(FieldMediumName, 0), u"E:\\MAIL");
  EXPECT_EQ(fresh.field(7, 0), u"HD_DATA.CCT");

  // A catalog without a title takes what the reading found.
  RowStore untitled = shownWith({}, u"");
  RowStore again = freshReading();
  again.setField(FieldComment, 0, u"generated title");
  ListRefresh::mergeUserEdits(untitled, again);
  EXPECT_EQ(again.field(FieldComment, 0), u"generated title");
}

TEST(ListRefreshMerge, RowsKeepTheirOrderLevelsAndKinds) {
  const RowStore shown = shownWith({{{u"README.TXT", u"mine", u"", u"1,000", u"2"}, 2}});
  RowStore fresh = freshReading();
  const RowStore before = freshReading();
  ListRefresh::mergeUserEdits(shown, fresh);
  ASSERT_EQ(fresh.rowCount(), before.rowCount());
  for (int r = 0; r < fresh.rowCount(); ++r) {
    EXPECT_EQ(fresh.level(r), before.level(r));
    EXPECT_EQ(fresh.kind(r), before.kind(r));
    EXPECT_EQ(fresh.field(FieldName, r), before.field(FieldName, r));
  }
  EXPECT_EQ(fresh.shownCount(), fresh.rowCount());
}

TEST(ListRefreshMerge, SameNameInAnotherFolderIsAnotherRow) {
  // README.TXT edited at the root must not land on DOCS\README.TXT.
  const RowStore shown = shownWith({{{u"README.TXT", u"root notes", u"", u"1", u"2"}, 1}});
  RowStore fresh = freshReading();
  EXPECT_EQ(ListRefresh::mergeUserEdits(shown, fresh), 0);
  EXPECT_EQ(fieldOf(fresh, u"DOCS\\README.TXT", FieldComment), u"Read me first");
}

TEST(ListRefreshMerge, ManyEditedRowsMergeInOnePass) {
  // 20,000 files under 100 folders, every other one commented by the user.
  std::vector<Row> rows{{{u"DISC", u"", u"", u"1", u"0"}, 0, KindTitleHD}};
  std::vector<Row> edited{{{u"DISC", u"t", u"", u"1", u"0"}, 0, KindTitleHD}};
  for (int f = 0; f < 100; ++f) {
    const Text folder = u"F" + Text(1, static_cast<char16_t>(u'0' + f / 10)) + Text(1, static_cast<char16_t>(u'0' + f % 10));
    rows.push_back({{folder, u"", u"", u"1", u"0"}, 1, KindFolder});
    edited.push_back(rows.back());
    for (int i = 0; i < 200; ++i) {
      Text name = u"file" + Text(1, static_cast<char16_t>(u'A' + i / 26)) + Text(1, static_cast<char16_t>(u'a' + i % 26));
      rows.push_back({{name, u"", u"", u"1", u"0"}, 2});
      edited.push_back({{name, i % 2 ? u"user" : u"", u"", u"1", i % 2 ? u"2" : u"0"}, 2});
    }
  }
  const RowStore shown = listOf(edited);
  RowStore fresh = listOf(rows);
  EXPECT_EQ(ListRefresh::mergeUserEdits(shown, fresh), 10'000);
  int users = 0;
  for (int r = 1; r < fresh.rowCount(); ++r) users += fresh.fieldView(FieldComment, r) == u"user";
  EXPECT_EQ(users, 10'000);
}

TEST(ListRefreshKeep, OnlyTheChosenEntriesStayWithTheirRowsAndTotal) {
  RowStore fresh = freshReading();
  ListRefresh::keepEntries(fresh, [](TextView name) { return name == u"DOCS"; });
  ASSERT_EQ(fresh.rowCount(), 4);
  EXPECT_EQ(fresh.field(FieldName, 3), u"NOTES.TXT");
  EXPECT_EQ(fresh.field(FieldSize, 0), u"3,000");
  EXPECT_EQ(fresh.findRowByPath(u"PIC.JPG", 1), -1);
  EXPECT_EQ(ListRefresh::topNames(fresh), std::set<Text>{u"DOCS"});
}

// A medium recorded as several catalogs: the root part, two parts of the
// folder MAIL and a part of MAIL\2019 below it.
class ListRefreshPartTest : public test::MediaFixture {
protected:
  ListRefreshPartTest() {
    addDrive('X', drivetype::Fixed, u"DATA");
    for (const char* f : {"TOP.TXT", "MAIL/a1.eml", "MAIL/a2.eml", "MAIL/b1.eml", "MAIL/c1.eml", "MAIL/2019/x.eml"})
      put(std::string("drive-X/") + f, "x");
    std::filesystem::create_directories(catalogs);
    part("_00HD_DATA.cct", u"", {u"TOP.TXT", u"MAIL"});
    part("_00HD_DATA MAIL.cct", u"X:\\MAIL", {u"a1.eml", u"a2.eml"});
    part("_00HD_DATA MAIL-01.cct", u"X:\\MAIL", {u"b1.eml"});
    part("_00HD_DATA MAIL&2019.cct", u"X:\\MAIL\\2019", {u"x.eml"});
  }

  void part(const std::string& name, TextView folder, std::vector<Text> files) {
    std::vector<Row> rows{{{u"DATA", u"", u"", u"1", u"0", Text(folder), u"", u"HD_DATA.CCT"}, 0, KindTitleHD}};
    for (const Text& f : files) rows.push_back({{f, u"", u"", u"1", u"0"}, 1});
    const std::optional<std::string> bytes = listfile::build(listOf(rows), {});
    ASSERT_TRUE(bytes);
    put("Catalog/" + name, *bytes);
  }

  ListRefresh::Source sourceOf(const std::string& name) {
    RowStore list;
    EXPECT_TRUE(listfile::read(files, catalogs / name, list).loaded());
    shown = std::move(list);
    return ListRefresh::sourceOf(locator, files, catalogs, {catalogs / name, &shown});
  }

  NativePath catalogs = path("Catalog");
  ArchiveLibraries archives{ListTime::Zone::Japan};
  TitleFile titleFile{info, ui};
  MediumLocator locator{{info, titleFile, files, ui, archives, path("program/TempFile")}};
  RowStore shown;
};

TEST_F(ListRefreshPartTest, APartReadsItsFolderAndKeepsItsOwnEntries) {
  const std::vector<Text> mail{u"a1.eml", u"a2.eml", u"b1.eml", u"c1.eml", u"2019"};
  const struct {
    const char* behaviour;
    std::string part;
    Text path;
    std::vector<Text> entries;  // what the folder holds on the medium now
    std::vector<Text> kept;
  } rows[] = {
      {"a part of MAIL: its files and the new one no part holds", "_00HD_DATA MAIL.cct", u"X:\\MAIL", mail,
       {u"a1.eml", u"a2.eml", u"c1.eml"}},
      {"the further part of MAIL: its own file and the new one", "_00HD_DATA MAIL-01.cct", u"X:\\MAIL", mail,
       {u"b1.eml", u"c1.eml"}},
      {"the part one level down reads its own folder", "_00HD_DATA MAIL&2019.cct", u"X:\\MAIL\\2019", {u"x.eml"},
       {u"x.eml"}},
      {"the root part keeps the root's entries", "_00HD_DATA.cct", u"X:", {u"MAIL", u"TOP.TXT"},
       {u"MAIL", u"TOP.TXT"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.behaviour);
    const ListRefresh::Source source = sourceOf(row.part);
    ASSERT_EQ(source.outcome, ListRefresh::Source::Outcome::Found);
    EXPECT_EQ(source.path, row.path);
    ASSERT_TRUE(source.keepEntry);
    std::vector<Text> kept;
    for (const Text& entry : row.entries)
      if (source.keepEntry(entry)) kept.push_back(entry);
    EXPECT_EQ(kept, row.kept);
  }
  // What another part holds of the same folder is never taken.
  EXPECT_FALSE(sourceOf("_00HD_DATA MAIL.cct").keepEntry(u"b1.eml"));
  EXPECT_FALSE(sourceOf("_00HD_DATA MAIL.cct").keepEntry(u"2019"));
  EXPECT_FALSE(sourceOf("_00HD_DATA MAIL-01.cct").keepEntry(u"a1.eml"));
}

TEST_F(ListRefreshPartTest, APartOfAMediumNotThereFindsNothing) {
  drives.remove('X');
  EXPECT_EQ(sourceOf("_00HD_DATA MAIL.cct").outcome, ListRefresh::Source::Outcome::NoMedium);
}

}  // namespace
}  // namespace zevro
