#include "select/CatalogSelection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SelectionFolder.h"
#include "core/CatalogIndex.h"
#include "core/CatalogList.h"
#include "core/GenreTable.h"
#include "platform/FakeUi.h"
#include "platform/LinuxFileSystem.h"
#include "select/GenreCommands.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

using selection::KindGenreClosed;
using selection::KindGenreOpen;

// One row as a test reads it: level, kind, shown, field 0, field 1.
struct RowText {
  int level;
  int kind;
  bool shown;
  Text f0;
  Text f1;
  bool operator==(const RowText&) const = default;
};

std::ostream& operator<<(std::ostream& out, const RowText& r) {
  return out << r.level << ' ' << r.kind << ' ' << r.shown << ' ' << toUtf8(r.f0) << ' ' << toUtf8(r.f1);
}

std::vector<RowText> rowsOf(const CatalogSelection& s) {
  std::vector<RowText> out;
  const RowStore& rows = s.rows();
  for (int r = 0; r < rows.rowCount(); ++r)
    out.push_back({rows.level(r), rows.kind(r), rows.displayRowOf(r) >= 0, rows.field(0, r), rows.field(1, r)});
  return out;
}

using Folder = test::SelectionFolder;

// The fixture of most tests: genres 00, 01 and 03 at positions 0, 1, 2,
// genre 03 closed.
void standard(Folder& f) {
  f.list("_00CD_A.cct", u"Alpha");
  f.list("_00HD_B.cct", u"Beta");
  f.list("_01FD_C.cct", u"Gamma");
  f.list("_03CD_D.cct", u"Delta");
  f.genre(0, u"ゲーム", 0);
  f.genre(1, u"音楽", 1);
  f.genre(3, u"文書", 2, GenreTable::ClosedByUser);
  f.writeGenres();
}

TEST(CatalogSelectionRows, GroupedTitleAndFilteredLists) {
  struct Case {
    const char* what;
    bool byTitle;
    int media;
    std::vector<RowText> rows;
  } cases[] = {
      {"grouped, genre 03 closed",
       false,
       selection::MediaAll,
       {{0, KindGenreOpen, true, u"ゲーム", u"00"},
        {1, 1, true, u"Alpha", u"_00cd_a.cct"},
        {1, 3, true, u"Beta", u"_00hd_b.cct"},
        {0, KindGenreOpen, true, u"音楽", u"01"},
        {1, 2, true, u"Gamma", u"_01fd_c.cct"},
        {0, KindGenreClosed, true, u"文書", u"03"},
        {1, 1, false, u"Delta", u"_03cd_d.cct"}}},
      {"CD only: genre rows stay",
       false,
       selection::MediaCD,
       {{0, KindGenreOpen, true, u"ゲーム", u"00"},
        {1, 1, true, u"Alpha", u"_00cd_a.cct"},
        {0, KindGenreOpen, true, u"音楽", u"01"},
        {0, KindGenreClosed, true, u"文書", u"03"},
        {1, 1, false, u"Delta", u"_03cd_d.cct"}}},
      {"by title: one flat list",
       true,
       selection::MediaAll,
       {{0, 1, true, u"Alpha", u"_00cd_a.cct"},
        {0, 3, true, u"Beta", u"_00hd_b.cct"},
        {0, 1, true, u"Delta", u"_03cd_d.cct"},
        {0, 2, true, u"Gamma", u"_01fd_c.cct"}}},
      {"by title, FD and HD", true, selection::MediaFD | selection::MediaHD,
       {{0, 3, true, u"Beta", u"_00hd_b.cct"}, {0, 2, true, u"Gamma", u"_01fd_c.cct"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Folder f;
    standard(f);
    EXPECT_EQ(rowsOf(f.open(c.byTitle, c.media)), c.rows);
  }
}

TEST(CatalogSelectionRows, ClosedGenreCarriesTheCollapsedMark) {
  Folder f;
  standard(f);
  CatalogSelection& s = f.open();
  const int closed = s.rowOfGenre(3);
  EXPECT_NE(s.rows().treeFlags(closed) & catalog::TreeCollapsed, 0);
  EXPECT_NE(s.rows().displayFlags(s.rows().displayRowOf(closed)) & catalog::TreeHasChildren, 0);
  EXPECT_EQ(s.rows().treeFlags(s.rowOfGenre(0)) & catalog::TreeCollapsed, 0);
}

TEST(CatalogSelectionRows, TitleOrderFoldsAsciiCaseAndPutsKanaAfterAscii) {
  Folder f;
  f.list("_00CD_A.cct", u"beta");
  f.list("_00CD_B.cct", u"Alpha");
  f.list("_00CD_C.cct", u"ゲーム");
  f.list("_00CD_D.cct", u"ALPHA");
  f.list("_00CD_E.cct", u"alpha");
  f.genre(0, u"G", 0);
  f.writeGenres();
  CatalogSelection& s = f.open(true);
  std::vector<Text> titles;
  for (const RowText& r : rowsOf(s)) titles.push_back(r.f0);
  // Equal folded titles fall back to the file name.
  EXPECT_EQ(titles, (std::vector<Text>{u"Alpha", u"ALPHA", u"alpha", u"beta", u"ゲーム"}));
  EXPECT_EQ(s.keys()[0], u"    Alpha\x11_00cd_b.cctCD");
}

TEST(CatalogSelectionRows, UntitledCatalogsShowTheirLabelAndEmptyOnesAreLeftOut) {
  Folder f;
  f.list("_00CD_A.cct", u"", u"ABC");
  f.list("_00CD_B.cct", u"", u"");
  f.list("_00CD_C.cct", u"  \t", u"");
  f.genre(0, u"G", 0);
  f.writeGenres();
  EXPECT_EQ(rowsOf(f.open()), (std::vector<RowText>{{0, KindGenreOpen, true, u"G", u"00"},
                                                     {1, 1, true, u"無題(ABC)", u"_00cd_a.cct"}}));
}

TEST(CatalogSelectionListing, EntersMissingTitlesAndWritesTheIndexOnce) {
  Folder f;
  standard(f);
  f.temp.put(CatalogIndex::FileName, cp932::encode(Text(u"\x02_00cd_a.cct\x08"
                                                        u"Alpha\x02") +
                                                   char16_t(0)));
  CatalogSelection& s = f.open();
  EXPECT_FALSE(s.lastListing().indexError);
  EXPECT_FALSE(f.index.changed());
  const std::vector<CatalogIndexEntry> entries = CatalogIndex::decode(f.temp.get(CatalogIndex::FileName));
  EXPECT_EQ(entries, (std::vector<CatalogIndexEntry>{{u"_00cd_a.cct", u"Alpha"},
                                                      {u"_00hd_b.cct", u"Beta"},
                                                      {u"_01fd_c.cct", u"Gamma"},
                                                      {u"_03cd_d.cct", u"Delta"}}));
}

TEST(CatalogSelectionListing, OnDiskNamesInAnyCaseAreListedLowerCased) {
  Folder f;
  f.list("_00cd_Mixed.CCT", u"Mixed");
  f.genre(0, u"G", 0);
  f.writeGenres();
  CatalogSelection& s = f.open();
  EXPECT_EQ(s.rowOfFile(u"_00CD_MIXED.cct"), 1);
  EXPECT_EQ(s.rows().field(1, 1), u"_00cd_mixed.cct");
}

TEST(CatalogSelectionListing, FreeGenresJoinTheTableAndHigherGenresFollowOutsideIt) {
  Folder f;
  f.list("_00CD_A.cct", u"Alpha");
  f.list("_05HD_E.cct", u"Echo");
  f.list("_27CD_Z.cct", u"Zulu");
  f.genre(0, u"ゲーム", 0);
  f.writeGenres();
  CatalogSelection& s = f.open();
  EXPECT_EQ(rowsOf(s), (std::vector<RowText>{{0, KindGenreOpen, true, u"ゲーム", u"00"},
                                             {1, 1, true, u"Alpha", u"_00cd_a.cct"},
                                             {0, KindGenreClosed, true, u"ジャンル05", u"05"},
                                             {1, 3, false, u"Echo", u"_05hd_e.cct"},
                                             {0, KindGenreOpen, true, u"ジャンル27", u"27"},
                                             {1, 1, true, u"Zulu", u"_27cd_z.cct"}}));
  EXPECT_EQ(s.lastListing().joined, std::vector<int>{5});
  const GenreTable written = f.onDisk();
  EXPECT_EQ(written.name(5), u"ジャンル05");
  EXPECT_EQ(written.position(5), 1);
  // The genre commands have nothing to act on outside the table.
  s.moveCursorTo(s.rowOfGenre(27));
  GenreCommands commands(s, f.platform);
  EXPECT_EQ(commands.cursorGenre(), -1);
  EXPECT_EQ(commands.moveUp(commands.cursorGenre()), GenreOutcome::Refused);
  EXPECT_EQ(f.ui.count(FakeUi::Kind::Beep), 1);
}

TEST(CatalogSelectionListing, ListsFarMoreThan32767Catalogs) {
  Folder f;
  f.genre(0, u"G", 0);
  f.writeGenres();
  // The index says what each title is, so no file needs to be read.
  std::vector<CatalogIndexEntry> entries;
  for (int i = 0; i < 33000; ++i) {
    const std::string name = "_00cd_" + std::to_string(i) + ".cct";
    f.temp.put(name, "");
    entries.push_back({fromUtf8(name), u"T" + fromUtf8(std::to_string(i))});
  }
  f.temp.put(CatalogIndex::FileName, CatalogIndex::encode(entries));
  CatalogSelection& s = f.open();
  EXPECT_EQ(s.lastListing().catalogs, 33000);
  EXPECT_EQ(s.rows().rowCount(), 33001);
}

TEST(CatalogSelectionClicks, TheExpandMarkWritesTheGenreState) {
  Folder f;
  standard(f);
  CatalogSelection& s = f.open();
  s.grid().setTextHeight(13);
  s.grid().Grid_Layout(300, 400);
  const int rowHeight = s.grid().metrics().rowHeight;
  const int genre3 = s.rows().displayRowOf(s.rowOfGenre(3));
  // Open genre 3 by its mark: state "3" on disk, its catalog shown.
  CatalogSelection::Press p = s.pressMark(2, genre3 * rowHeight + 1, 0, 16);
  EXPECT_EQ(p.action, CatalogSelection::PressAction::Toggled);
  EXPECT_EQ(f.temp.get(GenreTable::FileName)[200 + 3], '3');
  EXPECT_GE(s.rows().displayRowOf(s.rowOfFile(u"_03cd_d.cct")), 0);
  // Close genre 0: state "1", its catalogs hidden.
  p = s.pressMark(2, 1, 0, 16);
  EXPECT_EQ(p.action, CatalogSelection::PressAction::Toggled);
  EXPECT_EQ(f.temp.get(GenreTable::FileName)[200 + 0], '1');
  EXPECT_LT(s.rows().displayRowOf(s.rowOfFile(u"_00cd_a.cct")), 0);
  // Right of the mark: not a toggle.
  EXPECT_EQ(s.pressMark(200, 1, 0, 16).action, CatalogSelection::PressAction::None);
}

TEST(CatalogSelectionClicks, WhatAPressDoesByRowAndButton) {
  struct Case {
    const char* what;
    bool byTitle;
    Text rowFile;  // empty: the first genre row
    int button;
    bool busy;
    CatalogSelection::PressAction action;
  } cases[] = {
      {"left on a catalog opens it", false, u"_00hd_b.cct", 1, false, CatalogSelection::PressAction::Open},
      {"left while the main window is busy", false, u"_00hd_b.cct", 1, true, CatalogSelection::PressAction::None},
      {"left on a genre row", false, u"", 1, false, CatalogSelection::PressAction::None},
      {"right on a genre row: genre menu", false, u"", 2, false, CatalogSelection::PressAction::GenreMenu},
      {"right on a catalog row: no menu", false, u"_00hd_b.cct", 2, false, CatalogSelection::PressAction::None},
      {"right on a title-order row: no menu", true, u"_00hd_b.cct", 2, false, CatalogSelection::PressAction::None},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Folder f;
    standard(f);
    CatalogSelection& s = f.open(c.byTitle);
    s.grid().setTextHeight(13);
    s.grid().Grid_Layout(300, 400);
    const int rowHeight = s.grid().metrics().rowHeight;
    const int stored = c.rowFile.empty() ? s.rowOfGenre(0) : s.rowOfFile(c.rowFile);
    const int y = s.rows().displayRowOf(stored) * rowHeight + 1;
    const CatalogSelection::Press p = s.clicked(c.button, y, c.busy);
    EXPECT_EQ(p.action, c.action);
    if (c.action == CatalogSelection::PressAction::Open) {
      EXPECT_EQ(p.fileName, c.rowFile);
    }
  }
  Folder f;
  standard(f);
  CatalogSelection& s = f.open();
  s.grid().setTextHeight(13);
  s.grid().Grid_Layout(300, 400);
  EXPECT_EQ(s.clicked(1, 399, false).action, CatalogSelection::PressAction::Beep);
}

TEST(CatalogSelectionOperations, ShowingACatalogOfAClosedGenreOpensIt) {
  Folder f;
  standard(f);
  CatalogSelection& s = f.open();
  s.カタログ一覧を表示(u"_03CD_D.cct");
  EXPECT_EQ(s.cursorStoredRow(), s.rowOfFile(u"_03cd_d.cct"));
  EXPECT_EQ(s.rows().kind(s.rowOfGenre(3)), KindGenreOpen);
  EXPECT_EQ(f.onDisk().state(3), GenreTable::Open);
  EXPECT_EQ(s.カタログ行を選択(u"_00cd_a.cct"), 1);
  EXPECT_EQ(s.カタログ行を選択(u"_09cd_none.cct"), -1);
}

TEST(CatalogSelectionOperations, ASaveIntoAClosedGenreOpensItOnDisk) {
  Folder f;
  standard(f);
  CatalogSelection& s = f.open();
  f.list("_03HD_NEW.cct", u"New");
  s.RefreshCatalogList(u"_03HD_NEW.cct");
  EXPECT_EQ(f.onDisk().state(3), GenreTable::Open);
  EXPECT_EQ(s.cursorStoredRow(), s.rowOfFile(u"_03hd_new.cct"));
}

TEST(CatalogSelectionOperations, DeleteCatalogFileDropsTheRowAndTheEntry) {
  Folder f;
  standard(f);
  CatalogSelection& s = f.open();
  std::filesystem::remove(f.temp.path("_00HD_B.cct"));
  EXPECT_FALSE(s.DeleteCatalogFile(u"_00HD_B.cct"));
  EXPECT_EQ(s.rowOfFile(u"_00hd_b.cct"), -1);
  for (const CatalogIndexEntry& e : CatalogIndex::decode(f.temp.get(CatalogIndex::FileName)))
    EXPECT_NE(e.name, u"_00hd_b.cct");
}

TEST(CatalogSelectionOperations, ListFonts) {
  EXPECT_EQ(CatalogSelection::ChangeListFont(0), u"MS UI Gothic");
  EXPECT_EQ(CatalogSelection::ChangeListFont(1), u"ＭＳ Ｐ明朝");
  EXPECT_EQ(CatalogSelection::ChangeListFont(2), u"Meiryo UI");
}

TEST(CatalogSelectionKeys, KeyForms) {
  EXPECT_EQ(selection::groupedKey(u"01", u"CD", u"ゲーム集", u"_03cd_games.cct"), u"01CDゲーム集\x11_03cd_games.cctCD");
  EXPECT_EQ(selection::titleKey(u"ゲーム集", u"_03cd_games.cct", u"CD"), u"    ゲーム集\x11_03cd_games.cctCD");
  EXPECT_TRUE(selection::keyLess(u"abc", u"ABD"));
  EXPECT_FALSE(selection::keyLess(u"ABC", u"abc"));
  EXPECT_TRUE(selection::keyLess(u"19", u"~20"));
  EXPECT_EQ(selection::renamedToGenre(u"_00CD_X.cct", 7), u"_07CD_X.cct");
  EXPECT_EQ(selection::renamedToGenre(u"_x0CD_X.cct", 7), u"");
  EXPECT_EQ(selection::caption("/c/Catalog"), u"カタログ選択 【/c/Catalog】");
}

}  // namespace
}  // namespace zevro
