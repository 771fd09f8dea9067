#pragma once
// The rows a search finds, as the result grid shows them, and the table
// that leads from a result row back to its catalog.
//
// A result row is a record of five fields in the grid's row store:
//   u"\x10ゲーム集\x11GAMES\\DOS\\README.TXT\x12" u"99/12/31 23:55\x13Read me\x14" u"001F\x15"
//   field 0  catalog title               u"ゲーム集"
//   field 1  path of the hit row         u"GAMES\\DOS\\README.TXT" (ancestors from level 1, "\" after each)
//   field 2  date of the hit row         u"99/12/31 23:55", or empty
//   field 3  comment of the hit row      u"Read me"
//   field 4  hit number                  u"001F": the rows made in this search before it, 4 hex
//                                        digits, wrapping after FFFF
// shown with colour index 0, level 0, the catalog's medium kind as kind code
// (1 CD, 2 floppy, 3 hard disk) and its group colour number as highlight
// mark: consecutive catalogs with hits get 1, 2, … 13, then 1 again.
#include <cstdint>
#include <vector>

#include "core/RowStore.h"
#include "search/SearchList.h"
#include "text/Text.h"

namespace zevro {

// What a hit row gives its result row (field 4 comes from the hit counter).
struct ResultFields {
  Text title;    // u"ゲーム集"
  Text path;     // u"GAMES\\DOS\\README.TXT"
  Text date;     // u"99/12/31 23:55"
  Text comment;  // u"Read me"
};

class SearchResults {
public:
  static constexpr int GroupColours = 13;
  static constexpr int HitNumberDigits = 4;

  // grid: the row store of the result grid; it must outlive this object.
  explicit SearchResults(RowStore& grid);

  // Before a search: the grid emptied, no rows, hit counter and group colour
  // number 0, and the catalogs the search will read.
  void start(std::vector<SearchListEntry> catalogs);

  // Appends the result row of a hit in catalog `catalog` (an index of
  // catalogs()). The first row of a catalog advances the group colour
  // number. False when the grid refused the row (no room): nothing changed.
  bool append(int catalog, const ResultFields& fields);

  int rowCount() const { return static_cast<int>(catalogOfRow_.size()); }
  std::uint32_t hitCounter() const { return hitCounter_; }
  int groupColour() const { return group_; }
  const std::vector<SearchListEntry>& catalogs() const { return catalogs_; }
  // The catalogs as the scan completed them (titles filled in).
  std::vector<SearchListEntry>& catalogs() { return catalogs_; }

  // The catalog index of a stored result row; -1 outside the rows.
  int catalogIndexOf(int row) const;
  // The catalog of a stored result row; nullptr outside the rows.
  const SearchListEntry* catalogOf(int row) const;

  RowStore& grid() { return grid_; }
  const RowStore& grid() const { return grid_; }

  // The record of a result row with the given hit number:
  //   ({u"T", u"A\\B", u"", u"c"}, 0x1234F) -> u"\x10T\x11" u"A\\B\x12\x13" u"c\x14" u"234F\x15"
  static Text recordOf(const ResultFields& fields, std::uint32_t hitNumber);

private:
  RowStore& grid_;
  std::vector<SearchListEntry> catalogs_;
  std::vector<int> catalogOfRow_;  // the result-to-catalog table
  std::uint32_t hitCounter_ = 0;
  int group_ = 0;
  int lastCatalog_ = -1;
};

}  // namespace zevro
