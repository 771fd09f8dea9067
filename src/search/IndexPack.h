#pragma once
// The indexes of all list files of a catalog folder in one file, with what
// a search needs to pass a catalog by without opening it: each list file's
// stamp and title, and an index over whole catalogs that tells which of them
// hold a trigram at all. A rare word then costs the lookup of its trigrams
// once for the folder, and only the catalogs that may hold it are opened.
//
//   std::string bytes = IndexPack::build(entries);   // entries sorted by name
//   IndexPack pack;
//   pack.open(bytes)                 -> true (false: damaged, not to be used)
//   pack.find("_03CD_GAMES.cct")     -> its entry, or nullptr
//   pack.candidates(request, flags)  -> false: the request has no trigram
//                                       true:  flags[n] = 1 when catalog n may hold a hit
//
// Layout (numbers little-endian):
//   header   "ZVTRPK1\n", catalogs u32, table bytes u32, folder index
//            bytes u64, catalog index bytes u64, table hash u64, header hash u64
//   table    per catalog, by name: name length varint, name, list file size
//            u64, modified i64, header hash u64, title length varint, title
//            (UTF-16 units), index offset varint, index length varint
//   folder index   a trigram index whose row n is catalog n
//   catalog indexes   one trigram index per catalog
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "search/SearchRequest.h"
#include "search/TrigramIndex.h"
#include "text/Text.h"

namespace zevro {

class IndexPack {
public:
  static constexpr std::size_t HeaderBytes = 48;

  struct Entry {
    std::string name;  // the list file, like "_03CD_GAMES.cct"
    TrigramIndex::Stamp stamp;
    Text title;              // as the scan takes it from the title line
    std::string_view index;  // the catalog's trigram index
  };

  // The bytes of a pack of these entries (sorted by name, names unique);
  // false when one of their indexes is damaged.
  static bool build(const std::vector<Entry>& entries, std::string& out);

  // Takes a pack's bytes (which must outlive this object): the header, the
  // table and the folder index's header checked. False: damaged.
  bool open(std::string_view bytes);
  // As open, and every byte of the folder index checked as well.
  bool openChecked(std::string_view bytes);

  const std::vector<Entry>& entries() const { return entries_; }
  // The entry of a list file; nullptr when the pack has none.
  const Entry* find(std::string_view name) const;
  int numberOf(const Entry& entry) const { return static_cast<int>(&entry - entries_.data()); }

  // flags := one per entry, 1 where the catalog may hold a hit of the
  // request. False when the request gives no trigram to go by.
  bool candidates(const SearchRequest& request, std::vector<char>& flags) const;

private:
  std::vector<Entry> entries_;
  std::string_view folderIndexBytes_;
  TrigramIndex folderIndex_;
};

}  // namespace zevro
