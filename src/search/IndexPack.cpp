#include "search/IndexPack.h"

#include <algorithm>

#include "search/IndexBytes.h"

namespace zevro {

using namespace indexbytes;

namespace {

constexpr std::string_view Magic = "ZVTRPK1\n";
// Longer names or titles than these are no list file's.
constexpr std::uint64_t LongestName = 4096;
constexpr std::uint64_t LongestTitle = 1 << 16;

}  // namespace

bool IndexPack::build(const std::vector<Entry>& entries, std::string& out) {
  std::vector<TrigramIndex> opened(entries.size());
  std::vector<const TrigramIndex*> catalogs;
  std::string table;
  std::uint64_t offset = 0;
  for (std::size_t n = 0; n < entries.size(); ++n) {
    const Entry& e = entries[n];
    if (opened[n].open(e.index, e.stamp) != TrigramIndex::Status::Fresh) return false;
    catalogs.push_back(&opened[n]);
    putVarint(table, e.name.size());
    table += e.name;
    putU64(table, e.stamp.size);
    putU64(table, static_cast<std::uint64_t>(e.stamp.modified));
    putU64(table, e.stamp.headerHash);
    putVarint(table, e.title.size());
    for (char16_t c : e.title) {
      table.push_back(static_cast<char>(c & 0xFF));
      table.push_back(static_cast<char>(c >> 8));
    }
    putVarint(table, offset);
    putVarint(table, e.index.size());
    offset += e.index.size();
  }
  std::string folderIndex;
  if (!TrigramIndex::buildOverCatalogs(catalogs, folderIndex)) return false;

  out.clear();
  out.reserve(HeaderBytes + table.size() + folderIndex.size() + offset);
  out += Magic;
  putU32(out, static_cast<std::uint32_t>(entries.size()));
  putU32(out, static_cast<std::uint32_t>(table.size()));
  putU64(out, folderIndex.size());
  putU64(out, offset);
  putU64(out, fnv(table));
  putU64(out, fnv(out));
  out += table;
  out += folderIndex;
  for (const Entry& e : entries) out += e.index;
  return true;
}

bool IndexPack::open(std::string_view bytes) {
  entries_.clear();
  folderIndexBytes_ = {};
  const auto damaged = [this] {
    entries_.clear();
    return false;
  };
  if (bytes.size() < HeaderBytes || bytes.substr(0, Magic.size()) != Magic) return false;
  if (getU(bytes, 40, 8) != fnv(bytes.substr(0, 40))) return false;
  const std::uint64_t count = getU(bytes, 8, 4), tableBytes = getU(bytes, 12, 4), folderBytes = getU(bytes, 16, 8),
                      indexBytes = getU(bytes, 24, 8);
  if (tableBytes > bytes.size() || folderBytes > bytes.size() || indexBytes > bytes.size() ||
      bytes.size() != HeaderBytes + tableBytes + folderBytes + indexBytes)
    return false;
  const std::string_view table = bytes.substr(HeaderBytes, tableBytes);
  if (getU(bytes, 32, 8) != fnv(table)) return false;
  folderIndexBytes_ = bytes.substr(HeaderBytes + tableBytes, folderBytes);
  const std::string_view indexes = bytes.substr(HeaderBytes + tableBytes + folderBytes);
  if (folderIndex_.open(folderIndexBytes_, TrigramIndex::Stamp{}) != TrigramIndex::Status::Fresh ||
      static_cast<std::uint64_t>(folderIndex_.rowCount()) != count)
    return damaged();

  std::size_t at = 0;
  std::uint64_t expectedOffset = 0;
  entries_.reserve(count);
  for (std::uint64_t n = 0; n < count; ++n) {
    Entry e;
    std::uint64_t length = 0;
    if (!getVarint(table, at, length) || length == 0 || length > LongestName || length > table.size() - at)
      return damaged();
    e.name.assign(table.substr(at, length));
    at += length;
    if (table.size() - at < 24) return damaged();
    e.stamp.size = getU(table, at, 8);
    e.stamp.modified = static_cast<std::int64_t>(getU(table, at + 8, 8));
    e.stamp.headerHash = getU(table, at + 16, 8);
    at += 24;
    if (!getVarint(table, at, length) || length > LongestTitle || 2 * length > table.size() - at) return damaged();
    e.title.resize(length);
    for (std::uint64_t i = 0; i < length; ++i, at += 2)
      e.title[i] = static_cast<char16_t>(getU(table, at, 2));
    std::uint64_t offset = 0;
    if (!getVarint(table, at, offset) || !getVarint(table, at, length)) return damaged();
    if (offset != expectedOffset || length > indexes.size() - offset) return damaged();
    e.index = indexes.substr(offset, length);
    expectedOffset += length;
    // Names in ascending order, each once: find() looks them up by halves.
    if (!entries_.empty() && !(entries_.back().name < e.name)) return damaged();
    entries_.push_back(std::move(e));
  }
  if (at != table.size() || expectedOffset != indexes.size()) return damaged();
  return true;
}

bool IndexPack::openChecked(std::string_view bytes) {
  if (!open(bytes)) return false;
  if (folderIndex_.openChecked(folderIndexBytes_, TrigramIndex::Stamp{}) != TrigramIndex::Status::Fresh) {
    entries_.clear();
    return false;
  }
  return true;
}

const IndexPack::Entry* IndexPack::find(std::string_view name) const {
  const auto it = std::lower_bound(entries_.begin(), entries_.end(), name,
                                   [](const Entry& e, std::string_view n) { return e.name < n; });
  return it != entries_.end() && it->name == name ? &*it : nullptr;
}

bool IndexPack::candidates(const SearchRequest& request, std::vector<char>& flags) const {
  std::vector<int> numbers;
  if (entries_.empty() || !folderIndex_.candidates(request, numbers)) return false;
  flags.assign(entries_.size(), 0);
  for (int n : numbers) flags[static_cast<std::size_t>(n)] = 1;
  return true;
}

}  // namespace zevro
