#include "select/CatalogSelection.h"

#include <algorithm>

#include "core/CatalogList.h"
#include "core/FileOps.h"
#include "core/ListFileName.h"
#include "core/Numbers.h"
#include "core/OptionKeys.h"
#include "core/Startup.h"
#include "core/Strings.h"
#include "listview/TreeToggle.h"
#include "text/Cp932.h"

namespace zevro {

namespace selection {

Text caption(const NativePath& folder) {
  return Text(CaptionHead) + cp932::fromNativeName(folder.native()) + Text(CaptionTail);
}

int mediaBit(int mediumKind) {
  switch (mediumKind) {
    case listfilename::KindCD: return MediaCD;
    case listfilename::KindFD: return MediaFD;
    default: return MediaHD;
  }
}

bool mediumShown(int mediaMode, int mediumKind) { return (mediaMode & mediaBit(mediumKind)) != 0; }

Text groupedKey(TextView position, TextView kind, TextView title, TextView lowerName) {
  Text key;
  key.reserve(position.size() + title.size() + lowerName.size() + 5);
  key += position;
  key += kind;
  key += title;
  key += record::marker(1);
  key += lowerName;
  key += kind;
  return key;
}

Text titleKey(TextView title, TextView lowerName, TextView kind) {
  Text key(TitleKeyHead);
  key += title;
  key += record::marker(1);
  key += lowerName;
  key += kind;
  return key;
}

Text foldedKey(TextView key) { return asciiLower(key); }

bool keyLess(TextView a, TextView b) { return foldedKey(a) < foldedKey(b); }

std::optional<int> genreDigits(TextView fileName) {
  if (fileName.size() < 3) return std::nullopt;
  const char16_t a = fileName[1];
  const char16_t b = fileName[2];
  if (a < u'0' || a > u'9' || b < u'0' || b > u'9') return std::nullopt;
  return (a - u'0') * 10 + (b - u'0');
}

Text renamedToGenre(TextView fileName, int genre) {
  if (!genreDigits(fileName) || genre < 0 || genre > MaxGenreNumber) return {};
  Text renamed(fileName);
  const Text digits = zeroPadded(genre, 2);
  renamed[1] = digits[0];
  renamed[2] = digits[1];
  return renamed;
}

Text listFontName(int choice) {
  switch (choice) {
    case 1: return u"ＭＳ Ｐ明朝";
    case 2: return u"Meiryo UI";
    default: return u"MS UI Gothic";
  }
}

}  // namespace selection

using namespace selection;

namespace {

// The name part of a path or a bare name, as the rows keep it.
Text lowerNameOf(TextView fileName) {
  const std::size_t slash = fileName.find_last_of(u"/\\");
  return asciiLower(slash == TextView::npos ? fileName : fileName.substr(slash + 1));
}

Text recordOf(TextView f0, TextView f1, TextView f2, TextView f3) {
  Text r;
  r.reserve(f0.size() + f1.size() + f2.size() + f3.size() + 4);
  r += record::marker(0);
  r += f0;
  r += record::marker(1);
  r += f1;
  r += record::marker(2);
  r += f2;
  r += record::marker(3);
  r += f3;
  return r;
}

}  // namespace

struct CatalogSelection::Item {
  Text folded;  // the key, folded, for sorting
  Text key;
  int genre = -1;
  bool genreRow = false;
  Text title;  // genre rows: the name
  Text name;   // lower-cased list file name
  int kind = 0;
};

CatalogSelection::CatalogSelection(Services services) : services_(std::move(services)), grid_(rows_) {
  grid_.Grid_Init();
  grid_.settings().treeMode = true;
  grid_.columns().setCount(1);
  grid_.columns().column(0).width = 0;  // the whole width
  grid_.columns().column(0).title = Text(selection::ColumnTitle);
  grid_.columns().setStretchColumn(0);
  rows_.setTreeMode(true);
}

IoError CatalogSelection::writeGenres() {
  return services_.genres.write(services_.files, services_.catalogFolder, services_.programFolder);
}

CatalogSelection::Listing CatalogSelection::build() {
  Listing listing;
  GenreTable& genres = services_.genres;
  std::vector<Item> items;
  std::vector<bool> outsideUsed(MaxGenreNumber + 1, false);
  bool joined = false;
  const bool grouped = !sortByTitle_;

  const Text names = fileops::listFiles(services_.files, services_.catalogFolder, DriveListPattern);
  forEachName(names, [&](TextView name) {
    const std::optional<int> digits = genreDigits(name);
    const int genre = digits ? *digits : listfilename::genreOf(name);
    // A genre the table has no place for would leave its catalogs without a
    // row to hang under: it joins the table as a fresh folder's genres do.
    if (genre < GenreTable::Count && !genres.inUse(genre)) {
      const Text& optionName = services_.groupNames[static_cast<std::size_t>(genre)];
      genres.setName(genre, optionName.empty() ? opt::defaultGenreName(genre) : TextView(optionName));
      genres.setPosition(genre, genres.nextPosition());
      listing.joined.push_back(genre);
      joined = true;
    }
    const int kind = listfilename::mediumKindOf(name);
    if (!mediumShown(mediaMode_, kind)) return;
    Text title = services_.index.titleOf(name);
    if (title.empty()) return;
    Item item;
    item.genre = genre;
    item.name = asciiLower(name);
    item.kind = kind;
    const Text kindText = listfilename::kindName(kind);
    if (!grouped) {
      item.key = titleKey(title, item.name, kindText);
    } else if (genre < GenreTable::Count) {
      item.key = groupedKey(zeroPadded(genres.position(genre), 2), kindText, title, item.name);
    } else {
      outsideUsed[static_cast<std::size_t>(genre)] = true;
      item.key = groupedKey(Text(OutsideKeyHead) + zeroPadded(genre, 2), kindText, title, item.name);
    }
    item.title = std::move(title);
    items.push_back(std::move(item));
  });
  listing.catalogs = static_cast<int>(items.size());
  listing.indexError = services_.index.writeIfChanged();
  if (joined) listing.genreError = writeGenres();

  if (grouped) {
    for (int g = 0; g < GenreTable::Count; ++g) {
      if (!genres.inUse(g)) continue;
      Item item;
      item.key = zeroPadded(genres.position(g), 2);
      item.genre = g;
      item.genreRow = true;
      item.title = genres.name(g);
      items.push_back(std::move(item));
    }
    for (int g = GenreTable::Count; g <= MaxGenreNumber; ++g) {
      if (!outsideUsed[static_cast<std::size_t>(g)]) continue;
      Item item;
      item.key = Text(OutsideKeyHead) + zeroPadded(g, 2);
      item.genre = g;
      item.genreRow = true;
      item.title = opt::defaultGenreName(g);
      items.push_back(std::move(item));
    }
  }
  for (Item& item : items) item.folded = foldedKey(item.key);
  std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.folded < b.folded; });
  keys_.clear();
  keys_.reserve(items.size());
  for (const Item& item : items) keys_.push_back(item.key);
  appendRows(items);
  listing_ = listing;
  return listing;
}

void CatalogSelection::appendRows(const std::vector<Item>& items) {
  grid_.Grid_Clear();
  rows_.setTreeMode(true);
  if (!items.empty()) rows_.expandListSize(static_cast<int>(items.size()) + 1);
  const GenreTable& genres = services_.genres;
  bool open = true;
  for (const Item& item : items) {
    const Text genreText = zeroPadded(item.genre, 2);
    if (item.genreRow) {
      open = outsideTable(item.genre) ? !outsideClosed_[item.genre] : genres.isOpen(item.genre);
      rows_.appendShown(recordOf(item.title, genreText, genreText, u""), 0, 0, open ? KindGenreOpen : KindGenreClosed,
                        0);
      continue;
    }
    const Text record = recordOf(item.title, item.name, genreText, listfilename::kindName(item.kind));
    if (sortByTitle_) {
      rows_.appendShown(record, 0, 0, item.kind, 0);
    } else if (open) {
      rows_.appendShown(record, 0, 0, item.kind, 1);
    } else {
      rows_.appendHidden(record, 0, 0, item.kind, 1, 0);
    }
  }
  // Closed genres carry the collapsed mark, so that the expand mark opens them.
  for (int d = 0; d < rows_.shownCount(); ++d) {
    const int s = rows_.storedRowAt(d);
    if (rows_.kind(s) != KindGenreClosed) continue;
    const int flags = rows_.treeFlags(s) | catalog::TreeCollapsed;
    rows_.setTreeFlags(s, flags);
    rows_.setDisplayFlags(d, flags);
  }
  grid_.Grid_FinishRows(0);
}

IoError CatalogSelection::setGenreOpen(int genre, bool open) {
  if (outsideTable(genre)) {
    outsideClosed_[genre] = !open;
    return {};
  }
  GenreTable& genres = services_.genres;
  const char16_t state = open ? GenreTable::Open : GenreTable::ClosedByUser;
  if (genres.state(genre) == state) return {};
  genres.setState(genre, state);
  return writeGenres();
}

int CatalogSelection::rowOfFile(TextView fileName) const {
  const Text name = lowerNameOf(fileName);
  if (name.empty()) return -1;
  for (int r = 0; r < rows_.rowCount(); ++r) {
    if (rows_.kind(r) < KindGenreOpen && rows_.fieldView(FieldFile, r) == name) return r;
  }
  return -1;
}

int CatalogSelection::rowOfGenre(int genre) const {
  for (int r = 0; r < rows_.rowCount(); ++r) {
    if (isGenreRow(r) && genreOfRow(r) == genre) return r;
  }
  return -1;
}

bool CatalogSelection::isGenreRow(int storedRow) const {
  if (storedRow < 0 || storedRow >= rows_.rowCount()) return false;
  const int kind = rows_.kind(storedRow);
  return kind == KindGenreOpen || kind == KindGenreClosed;
}

int CatalogSelection::genreOfRow(int storedRow) const {
  if (storedRow < 0 || storedRow >= rows_.rowCount()) return -1;
  const std::optional<int> g = genreDigits(u"_" + Text(rows_.fieldView(FieldGenre, storedRow)));
  return g ? *g : -1;
}

int CatalogSelection::cursorStoredRow() const { return rows_.storedRowAt(grid_.cursorRow()); }

int CatalogSelection::moveCursorTo(int storedRow) {
  if (storedRow < 0 || storedRow >= rows_.rowCount()) return -1;
  int shown = rows_.displayRowOf(storedRow);
  if (shown < 0) {
    // A catalog of a closed genre: the genre opens first.
    int genreRow = storedRow;
    while (genreRow >= 0 && !isGenreRow(genreRow)) --genreRow;
    if (genreRow < 0) return -1;
    const int d = rows_.displayRowOf(genreRow);
    if (d < 0) return -1;
    setGenreOpen(genreOfRow(genreRow), true);
    TreeToggle(grid_).Grid_ToggleChildren(d, false, false);
    rows_.setKind(genreRow, KindGenreOpen);
    shown = rows_.displayRowOf(storedRow);
    if (shown < 0) return -1;
  }
  grid_.Grid_ClearSelection();
  grid_.Grid_ShowRow(shown, true);
  return shown;
}

// ---------------------------------------------------------------- mouse

CatalogSelection::Press CatalogSelection::pressMark(int x, int y, int shift, int iconWidth) {
  Press p;
  (void)shift;  // one level only: Shift opens nothing more
  const int d = grid_.Grid_RowAt(std::max(y, 0));
  const int s = rows_.storedRowAt(d);
  if (s < 0 || !isGenreRow(s)) return p;
  if ((rows_.displayFlags(d) & catalog::TreeHasChildren) == 0) return p;
  if (x >= rows_.indent(s) + iconWidth) return p;
  p.update = TreeToggle(grid_).Grid_ToggleChildren(d, false, false);
  const bool collapsed = (rows_.displayFlags(d) & catalog::TreeCollapsed) != 0;
  rows_.setKind(s, collapsed ? KindGenreClosed : KindGenreOpen);
  p.error = setGenreOpen(genreOfRow(s), !collapsed);
  p.action = PressAction::Toggled;
  return p;
}

CatalogSelection::Press CatalogSelection::clicked(int button, int y, bool mainBusy) {
  Press p;
  if (rows_.shownCount() == 0) return p;
  const int d = grid_.Grid_RowAt(std::max(y, 0));
  const int s = rows_.storedRowAt(d);
  if (s < 0) {
    p.action = PressAction::Beep;
    return p;
  }
  if (button == 2) {
    // Only a genre row has genre commands; a catalog row's field 1 is a file name.
    if (isGenreRow(s)) p.action = PressAction::GenreMenu;
    return p;
  }
  if (isGenreRow(s) || mainBusy) return p;
  p.action = PressAction::Open;
  p.fileName = Text(rows_.fieldView(FieldFile, s));
  return p;
}

// ---------------------------------------------------------------- public operations

CatalogSelection::Listing CatalogSelection::カタログ一覧を表示(TextView fileName) {
  Listing listing = build();
  if (!fileName.empty()) moveCursorTo(rowOfFile(fileName));
  return listing;
}

int CatalogSelection::カタログ行を選択(TextView fileName) {
  const int row = rowOfFile(fileName);
  if (row < 0 || rows_.displayRowOf(row) < 0) return -1;
  return moveCursorTo(row);
}

CatalogSelection::Listing CatalogSelection::RefreshCatalogList(TextView fileName) {
  const Text name = lowerNameOf(fileName);
  const std::optional<int> g = genreDigits(name);
  IoError stateError;
  if (g && !sortByTitle_) stateError = setGenreOpen(*g, true);
  Listing listing = build();
  if (!listing.genreError) listing.genreError = stateError;
  moveCursorTo(rowOfFile(name));
  return listing;
}

IoError CatalogSelection::RemoveCatalogEntry(TextView fileName) {
  return services_.index.removeEntry(lowerNameOf(fileName));
}

IoError CatalogSelection::DeleteCatalogFile(TextView fileName) {
  // The entry goes first: the listing would otherwise find it still there.
  const IoError error = RemoveCatalogEntry(fileName);
  if (rowOfFile(fileName) < 0) return error;
  // Listed again, so that the genre row it leaves empty loses its expand mark.
  const int cursor = grid_.cursorRow();
  build();
  if (rows_.shownCount() > 0) grid_.Grid_ShowRow(std::min(cursor, rows_.shownCount() - 1), true);
  return error;
}

CatalogSelection::Listing CatalogSelection::ChangeJanre(TextView fileName, int genre) {
  const Text renamed = renamedToGenre(lowerNameOf(fileName), genre);
  const Text name = renamed.empty() ? lowerNameOf(fileName) : renamed;
  const IoError stateError = setGenreOpen(genre, true);
  Listing listing = RefreshCatalogList(name);
  if (!listing.genreError) listing.genreError = stateError;
  return listing;
}

}  // namespace zevro
