#pragma once
// The catalog selection list: every list file of the catalog folder as one
// row, under its genre or in one list by title, filtered by medium kind. The
// window (select/qt/SelectForm) draws it through a grid and forwards clicks
// and keys here.
//
// Work list keys, one per row, sorted in UTF-16 order after ASCII case
// folding (so "abc" and "ABC" sort together, "ゲーム" after every ASCII title):
//   genre row            u"01"                        its position
//   catalog, grouped     u"01CDゲーム集\x11_03cd_games.cctCD"
//                        position, kind, title, code 17, name, kind
//   catalog, by title    u"    ゲーム集\x11_03cd_games.cctCD"
//   genre 20..99         u"~27", u"~27HD…" (after every genre of the table)
//
// Rows (fields: 0 title or genre name, 1 lower-cased list file name or genre
// number, 2 genre number, 3 medium kind):
//   ゲーム               level 0  kind 4 (open) / 5 (closed, tree flag 8)
//     ゲーム集           level 1  kind 1 CD, 2 FD, 3 HD; hidden when closed
// In title order every catalog row is level 0 and there are no genre rows.
//
// A list file of a genre that has no place in the genre table is never lost
// from sight: a genre 0..19 joins the table as a fresh one would (named
// "ジャンル" + NN, after the last genre), a genre 20..99 gets a row of its own
// after all genres, outside the table (genre commands refuse it).
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/CatalogIndex.h"
#include "core/GenreTable.h"
#include "core/RowStore.h"
#include "grid/GridModel.h"
#include "platform/FileSystem.h"
#include "text/Text.h"

namespace zevro {

namespace selection {

inline constexpr TextView CaptionHead = u"カタログ選択 【";
inline constexpr TextView CaptionTail = u"】";
inline constexpr TextView FolderChooserTitle = u"カタログ・フォルダーの変更";
inline constexpr TextView FolderButton = u"フォルダー変更";
inline constexpr TextView TitleOrderTip = u"タイトル順にソート";
inline constexpr TextView ColumnTitle = u"カタログ・タイトル";
inline constexpr TextView MediaTips[3] = {u"CD", u"リムーバブル・メディア", u"HDD"};

// SelMediaMode bits.
inline constexpr int MediaCD = 1;
inline constexpr int MediaFD = 2;
inline constexpr int MediaHD = 4;
inline constexpr int MediaAll = 7;

// Kind codes of genre rows (catalog rows carry the medium kind 1..3).
inline constexpr int KindGenreOpen = 4;
inline constexpr int KindGenreClosed = 5;

inline constexpr int FieldTitle = 0;
inline constexpr int FieldFile = 1;
inline constexpr int FieldGenre = 2;
inline constexpr int FieldKind = 3;

inline constexpr TextView TitleKeyHead = u"    ";
inline constexpr TextView OutsideKeyHead = u"~";
// Genre numbers a list file name can hold, and those the table can.
inline constexpr int MaxGenreNumber = 99;

// u"カタログ選択 【/home/kaori/Catalog】"
Text caption(const NativePath& folder);
// The bit of a medium kind (1 CD, 2 FD, 3 HD): 1, 2, 4.
int mediaBit(int mediumKind);
bool mediumShown(int mediaMode, int mediumKind);
Text groupedKey(TextView position, TextView kind, TextView title, TextView lowerName);
Text titleKey(TextView title, TextView lowerName, TextView kind);
// UTF-16 order after folding ASCII letters to lower case.
bool keyLess(TextView a, TextView b);
Text foldedKey(TextView key);
// The genre of a list file name from its characters 1 and 2 when both are
// digits (u"_07CD_X.cct" -> 7), else nullopt.
std::optional<int> genreDigits(TextView fileName);
// The name with characters 1 and 2 set to the genre: (u"_00CD_X.cct", 7) ->
// u"_07CD_X.cct"; empty when they are not digits.
Text renamedToGenre(TextView fileName, int genre);
// List fonts of ChangeListFont: 0 u"MS UI Gothic", 1 u"ＭＳ Ｐ明朝", 2 u"Meiryo UI".
Text listFontName(int choice);
inline constexpr double ListFontSize = 9;

}  // namespace selection

class CatalogSelection {
public:
  struct Services {
    FileSystem& files;
    CatalogIndex& index;
    GenreTable& genres;
    NativePath catalogFolder;
    NativePath programFolder;  // whose write lock the genre table's writes hold; empty: none
    // Group00 … Group19: the names a genre joining the table takes first.
    std::array<Text, GenreTable::Count> groupNames{};
  };

  explicit CatalogSelection(Services services);

  RowStore& rows() { return rows_; }
  const RowStore& rows() const { return rows_; }
  GridModel& grid() { return grid_; }
  GenreTable& genres() { return services_.genres; }
  CatalogIndex& index() { return services_.index; }
  FileSystem& files() { return services_.files; }
  const NativePath& catalogFolder() const { return services_.catalogFolder; }
  const NativePath& programFolder() const { return services_.programFolder; }
  // The folder changed under the services (Program::changeCatalogFolder).
  void setCatalogFolder(NativePath folder) { services_.catalogFolder = std::move(folder); }
  Text caption() const { return selection::caption(services_.catalogFolder); }

  bool sortByTitle() const { return sortByTitle_; }
  void setSortByTitle(bool on) { sortByTitle_ = on; }
  int mediaMode() const { return mediaMode_; }
  void setMediaMode(int mode) { mediaMode_ = mode & selection::MediaAll; }

  // What the last listing pass did.
  struct Listing {
    int catalogs = 0;         // catalog rows, hidden ones included
    std::vector<int> joined;  // genres 0..19 that joined the table
    IoError indexError;       // writing CatList.CCZ (entries appended)
    IoError genreError;       // writing CatJan.CCZ (genres joined)
  };
  // The listing pass and the rows: every "_???D_*.CCT" of the catalog folder
  // (any case), the index asked for its title (appended entries written once
  // at the end), the rows rebuilt. The cursor goes to the first row.
  Listing build();
  const Listing& lastListing() const { return listing_; }
  // The work list of the last build, sorted.
  const std::vector<Text>& keys() const { return keys_; }

  // Genre state, written to CatJan.CCZ at once.
  IoError setGenreOpen(int genre, bool open);
  // A genre row of a genre outside the table (20..99).
  static bool outsideTable(int genre) { return genre >= GenreTable::Count; }

  // Stored row of a catalog by its file name (any case) or path; -1 none.
  int rowOfFile(TextView fileName) const;
  // Stored row of a genre row; -1 none.
  int rowOfGenre(int genre) const;
  // Genre of a row: field 1 of a genre row, field 2 of a catalog row; -1 none.
  int genreOfRow(int storedRow) const;
  bool isGenreRow(int storedRow) const;
  // Puts the cursor on a stored row (shown), answers its display row or -1.
  int moveCursorTo(int storedRow);
  // The stored row under the cursor, -1 none.
  int cursorStoredRow() const;

  // ---- Mouse ----
  enum class PressAction { None, Beep, Toggled, Open, GenreMenu };
  struct Press {
    PressAction action = PressAction::None;
    Text fileName;  // Open: the lower-cased list file name of the row
    GridUpdate update;
    IoError error;  // Toggled: writing the genre state
  };
  // A mouse press at (x, y) on the grid before its own click handling: the
  // expand mark of a genre row opens or closes it in place (its state
  // character becomes "3" or "1" and CatJan.CCZ is written). iconWidth: the
  // width of the row icons in pixels.
  Press pressMark(int x, int y, int shift, int iconWidth);
  // After the grid moved the cursor for a press: a left press on a catalog
  // row opens it (unless mainBusy), a right press on a genre row opens the
  // genre menu. Left 1, right 2; a press below the last row beeps.
  Press clicked(int button, int y, bool mainBusy);

  // ---- Public operations ----
  // カタログ一覧を表示: rebuilds the list; with a path, its row gets the
  // cursor and its genre is opened.
  Listing カタログ一覧を表示(TextView fileName);
  // カタログ行を選択: the cursor on the row of that file; -1 when absent.
  int カタログ行を選択(TextView fileName);
  // RefreshCatalogList: a catalog was loaded, saved or renamed: its genre is
  // opened (a save into a closed genre shows it), the list rebuilt and its
  // row selected.
  Listing RefreshCatalogList(TextView fileName);
  IoError RemoveCatalogEntry(TextView fileName);
  // DeleteCatalogFile (the list file is gone): its index entry and its row go.
  IoError DeleteCatalogFile(TextView fileName);
  // ChangeJanre: the name with the new genre digits, that genre opened, the
  // list rebuilt and the catalog selected under its new name.
  Listing ChangeJanre(TextView fileName, int genre);
  static Text ChangeListFont(int choice) { return selection::listFontName(choice); }

private:
  struct Item;
  void appendRows(const std::vector<Item>& items);
  IoError writeGenres();

  Services services_;
  RowStore rows_;
  GridModel grid_;
  bool sortByTitle_ = false;
  int mediaMode_ = selection::MediaAll;
  std::vector<Text> keys_;
  Listing listing_;
  std::map<int, bool> outsideClosed_;  // genres 20..99 closed by the user this run
};

}  // namespace zevro
