#pragma once
// What a comparison of catalogs finds: file rows of catalogs, in the order
// they are to be shown, and for duplicates the groups they form.
//
//   rows   {catalog 0, row 12, size 1234, …}  pathOf -> u"DOCS\\README.TXT", nameOf -> u"README.TXT",
//                                              dateOf -> u"99/12/31 23:55"
//          {catalog 3, row 40, size 1234, …}  pathOf -> u"OLD\\readme.txt", …
//   groups {size 1234, first 0, count 2}     wasted: 1234 bytes
//   catalogs[0].fileName -> u"_03CD_GAMES.cct", catalogs[0].title -> u"ゲーム集"
//
// The rows' texts lie one after another in a few long texts (hundreds of
// thousands of rows are usual: a text of their own each would cost as many
// allocations, and as many frees).
#include <cstdint>
#include <vector>

#include "compare/SameFileKey.h"
#include "search/CatalogScan.h"
#include "search/SearchList.h"
#include "text/Text.h"

namespace zevro {

// The choices of a comparison, as zevro-cli and the window give them.
struct CompareFilters {
  unsigned media = media::All;   // search list media (MediaMode bits)
  GenreFilter genres;            // off: every genre
  SameFileKey::By by = SameFileKey::By::NameSize;
  std::uint64_t minSize = 1;     // smaller files are left out; 0 counts as 1 (a size of 0 is never compared)
  bool members = false;          // files listed inside archives too
  bool sameMedium = false;       // duplicates: copies within one medium count too
};

struct FoundRow {
  int catalog = 0;  // index into FoundFiles::catalogs
  int row = 0;      // stored row in that catalog
  std::uint64_t size = 0;
  // In FoundFiles::texts[textChunk] from textAt: the row path
  // (u"DOCS\\README.TXT", whose last nameSize units are the name as
  // catalogued), then the date (u"99/12/31 23:55", or empty).
  std::uint32_t textChunk = 0;
  std::uint32_t textAt = 0;
  std::uint32_t pathSize = 0;
  std::uint32_t nameSize = 0;
  std::uint32_t dateSize = 0;
};

struct FileGroup {
  std::uint64_t size = 0;
  int first = 0;  // index of its first row in FoundFiles::rows
  int count = 0;
  // The bytes all copies but one take: size x (copies - 1).
  std::uint64_t wasted() const { return count > 1 ? size * static_cast<std::uint64_t>(count - 1) : 0; }
};

struct FoundFiles {
  std::vector<SearchListEntry> catalogs;
  std::vector<FoundRow> rows;
  std::vector<Text> texts;  // the rows' paths and dates, in a few long texts
  std::vector<FileGroup> groups;  // duplicates only
  std::vector<CatalogScan::Skipped> skipped;
  int catalogsRead = 0;
  bool cancelled = false;  // the user stopped it; what was found so far is not given

  TextView pathOf(const FoundRow& r) const { return textOf(r).substr(0, r.pathSize); }
  TextView nameOf(const FoundRow& r) const { return textOf(r).substr(r.pathSize - r.nameSize, r.nameSize); }
  TextView dateOf(const FoundRow& r) const { return textOf(r).substr(r.pathSize, r.dateSize); }

private:
  TextView textOf(const FoundRow& r) const {
    return TextView(texts[r.textChunk]).substr(r.textAt, std::size_t{r.pathSize} + r.dateSize);
  }
};

}  // namespace zevro
