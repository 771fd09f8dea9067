#pragma once
// The trigram index of one catalog: for every three UTF-16 units of its
// records (after the index folding below), the rows that hold them (by
// blocks of RowsPerBlock rows). A search
// asks it for the rows that can hold a term and checks only those; the
// index is a cache beside the catalogs and never decides a hit by itself.
//
//   std::string bytes = TrigramIndex::build(file, stamp);   // file: ListFileBytes of a current list file
//   TrigramIndex index;
//   index.open(bytes, stamp)             -> Status::Fresh (or Stale, Damaged)
//   index.candidates(request, rows)      -> false: the request has no trigram, scan the catalog
//                                           true:  rows = the rows that may hold a hit, ascending
//
// Index folding is the strongest folding a search can ask for, taken one
// unit at a time so that it commutes with every folding of a search: width
// (without joining marks) and case folded together, and a katakana with a
// voiced or semi-voiced mark split into letter and mark ("ｶﾞ", "ガ" and
// "カ゛" all give "カ゛"). Whatever a search finds in a row, the index
// folding of its term's literal text lies in the index folding of the row.
//
// Layout (numbers little-endian):
//   header   "ZVTRIX1\n", list file size u64, modified i64, header hash u64,
//            rows u32, trigrams u32, directory bytes u32, entry bytes u32,
//            posting bytes u32, rows per block u32 (RowsPerBlock, or 1 for an
//            index over whole catalogs), body hash u64, header hash u64
//   directory one slot per DirectoryStride trigrams: first key u64, entry
//            offset u32, posting offset u32
//   entries  per trigram: key delta varint, posting length varint
//   postings per trigram: the blocks of rows that hold it, delta-coded
//            varints (the first block, then each gap less one)
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "search/ListFileBytes.h"
#include "search/SearchRequest.h"
#include "text/Text.h"

namespace zevro {

// out := text in the index folding (see above).
void indexFold(TextView text, Text& out);

class TrigramIndex {
public:
  static constexpr std::size_t HeaderBytes = 72;
  static constexpr std::uint32_t DirectoryStride = 64;
  // Postings name blocks of this many rows (0-63, 64-127, …): far fewer
  // entries than rows, and a rare term's block is checked row by row.
  static constexpr std::uint32_t RowsPerBlock = 64;

  // What tells a list file's index apart from one of another state of it.
  struct Stamp {
    std::uint64_t size = 0;
    std::int64_t modified = 0;
    std::uint64_t headerHash = 0;  // of the list file's 64-byte header
    bool operator==(const Stamp&) const = default;
  };
  enum class Status { Fresh, Stale, Damaged };

  // The hash of a list file's header (its first 64 bytes).
  static std::uint64_t headerHashOf(std::string_view listFileBytes);
  // The bytes of the index of a current-layout list file.
  static std::string build(ListFileBytes& file, const Stamp& stamp);
  // The bytes of an index whose rows are whole catalogs (one row per block):
  // row n holds every trigram of the open index catalogs[n]. False when one
  // of them turns out damaged.
  static bool buildOverCatalogs(const std::vector<const TrigramIndex*>& catalogs, std::string& out);

  // Takes an index's bytes (which must outlive this object); only a Fresh
  // index answers candidates(). Checks the header, the lengths and the stamp;
  // the postings are checked as they are read.
  Status open(std::string_view bytes, const Stamp& expected);
  // Checks every byte (the body hash) as well: for an index checked at leisure.
  Status openChecked(std::string_view bytes, const Stamp& expected);

  // The trigram keys a term needs in a row (its literal runs for a pattern);
  // empty when it has none.
  static std::vector<std::uint64_t> termTrigrams(const SearchTerm& term);

  // rows := the rows that may hold a hit of the request, ascending. False
  // when the request gives no trigram to go by (the catalog is to be
  // scanned) or the postings turn out damaged.
  bool candidates(const SearchRequest& request, std::vector<int>& rows) const;

  // keys := every trigram key of the index, ascending; false when damaged.
  bool keys(std::vector<std::uint64_t>& keys) const;

  int rowCount() const { return static_cast<int>(rows_); }
  std::size_t trigramCount() const { return trigrams_; }

private:
  // rows := blocks that may hold a hit (as candidates(), by block).
  bool candidateBlocks(const SearchRequest& request, std::vector<int>& rows) const;
  // rows := blocks holding every key; false when damaged.
  bool rowsWithAll(const std::vector<std::uint64_t>& keys, std::vector<int>& rows) const;
  bool postingOf(std::uint64_t key, std::vector<int>& rows, bool& found) const;

  std::string_view directory_;
  std::string_view entries_;
  std::string_view postings_;
  std::uint32_t rows_ = 0;
  std::uint32_t trigrams_ = 0;
  std::uint32_t rowsPerBlock_ = RowsPerBlock;
  bool open_ = false;
};

}  // namespace zevro
