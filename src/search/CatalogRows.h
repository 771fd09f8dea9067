#pragma once
// The rows of one catalog's record heap, found by their code-16 bytes, and
// what a result row needs of them: a row's record, its level, its path.
//
//   heap    "\x10VOL\x11Title\x12…\x10DOCS\x11\x12…\x10README.TXT\x11Read me\x12" "99/12/31 23:55\x13…"
//   levels  "\x00\x01\x02"
//   rows.rowCount()  -> 3
//   rows.rowAt(p)    -> 2 for any byte position p inside README.TXT's record
//   rows.record(2)   -> u"\x10README.TXT\x11Read me\x12" u"99/12/31 23:55\x13…"
//   rows.pathOf(2)   -> u"DOCS\\README.TXT"
//
// Works on the bytes as read from the list file (CP932): only the records
// asked for are decoded. Rows are counted, not listed: the heap is gone
// through as far as the questions need it (the bytes before a hit were just
// searched and are still in the cache), and the count of rows before every
// 256th byte is kept, so that a row is found again by its number with a
// short walk. The level string is searched backwards for ancestors, from
// where the last question of that level left off.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "text/Text.h"

namespace zevro {

class CatalogRows {
public:
  // heap: the records up to the end marker; levels: one byte per row (rows
  // beyond it count as level 0). Both must outlive this object.
  CatalogRows(std::string_view heap, std::string_view levels);

  // Every row (the whole heap is gone through).
  int rowCount() const;
  // True when the heap holds row `row` (gone through as far as needed).
  bool hasRow(int row) const;

  // The row whose record holds heap byte `at` (the last row starting at or
  // before it); -1 before the first row.
  int rowAt(std::size_t at) const;

  // Heap byte position where the row's record starts (its code 16); the
  // heap's size for a row it does not hold.
  std::size_t start(int row) const;
  std::string_view recordBytes(int row) const;
  Text record(int row) const;

  int level(int row) const;

  // The last row at or before `row` whose level is `level`; -1 when none.
  int lastOfLevelUpTo(int row, int level) const;

  // The names of the row's ancestors from level 1 down, each followed by
  // "\", then the row's own name: the ancestor of level L - 1 is the last
  // row of that level before the row, the one of level L - 2 the last before
  // that, and so on; the path stops where a level has no such row. Names of
  // ancestors are kept, so the many hits below one folder decode it once.
  Text pathOf(int row);

  // Field 0 of a record's bytes, decoded: u"README.TXT".
  static Text nameOf(std::string_view record);

private:
  // Heap bytes per counted stretch.
  static constexpr std::size_t Chunk = 256;
  // What lastOfLevelUpTo last answered for one level: `row` for `upTo`.
  struct LevelAnswer {
    int upTo = -1;
    int row = -1;
  };

  const Text& ancestorName(int row, int level);
  // Counts rows through stretch `chunk` (or to the heap's end).
  void countChunks(std::size_t chunk) const;
  // Counts rows until row `row` is known or the heap ends.
  void countForRow(int row) const;
  std::size_t chunkStart(std::size_t chunk) const;
  bool counted() const { return chunkStart(counts_.size() - 1) == heap_.size(); }
  // The last row in [from, to] whose level is `level`; -1 when none.
  int lastOfLevelIn(int from, int to, int level) const;

  std::string_view heap_;
  std::string_view levels_;
  // counts_[k]: the rows starting before heap byte chunkStart(k), for the
  // stretches gone through so far.
  mutable std::vector<std::uint32_t> counts_;
  // The row found last and where it starts.
  mutable int knownRow_ = -1;
  mutable std::size_t knownStart_ = 0;
  mutable std::vector<LevelAnswer> lastOfLevel_;  // by level
  std::vector<std::int32_t> cachedRow_;           // level -> row whose name is cached
  std::vector<Text> cachedName_;
};

}  // namespace zevro
