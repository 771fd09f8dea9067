#include "search/CatalogRows.h"

#include <algorithm>
#include <cstring>

#include "core/Record.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

constexpr char RowStartByte = static_cast<char>(record::FirstMarker);
constexpr int Levels = 256;

// Markers and code 0 are single bytes that never occur inside a double-byte
// character, so fields end in the bytes where they end in the text.
bool endsField(char b) { return record::endsField(static_cast<unsigned char>(b)); }

}  // namespace

CatalogRows::CatalogRows(std::string_view heap, std::string_view levels)
    : heap_(heap), levels_(levels), rowsOfLevel_(Levels), cachedRow_(Levels, -1), cachedName_(Levels) {
  const char* const begin = heap.data();
  const char* const end = begin + heap.size();
  for (const char* p = begin; p < end;) {
    const void* hit = std::memchr(p, RowStartByte, static_cast<std::size_t>(end - p));
    if (!hit) break;
    const char* at = static_cast<const char*>(hit);
    starts_.push_back(static_cast<std::uint32_t>(at - begin));
    p = at + 1;
  }
  for (int row = 0; row < rowCount(); ++row) rowsOfLevel_[static_cast<std::size_t>(level(row))].push_back(row);
}

int CatalogRows::rowAt(std::size_t at) const {
  const auto after = std::upper_bound(starts_.begin(), starts_.end(), at);
  return static_cast<int>(after - starts_.begin()) - 1;
}

std::string_view CatalogRows::recordBytes(int row) const {
  const std::size_t from = start(row);
  const std::size_t to = row + 1 < rowCount() ? start(row + 1) : heap_.size();
  return heap_.substr(from, to - from);
}

Text CatalogRows::record(int row) const { return cp932::decode(recordBytes(row)); }

int CatalogRows::level(int row) const {
  const auto i = static_cast<std::size_t>(row);
  return i < levels_.size() ? static_cast<unsigned char>(levels_[i]) : 0;
}

int CatalogRows::lastOfLevelUpTo(int row, int level) const {
  if (level < 0 || level >= Levels) return -1;
  const std::vector<std::int32_t>& rows = rowsOfLevel_[static_cast<std::size_t>(level)];
  const auto after = std::upper_bound(rows.begin(), rows.end(), row);
  return after == rows.begin() ? -1 : *(after - 1);
}

Text CatalogRows::pathOf(int row) {
  Text path = nameOf(recordBytes(row));
  int q = row;
  for (int n = level(row) - 1; n >= 1; --n) {
    q = lastOfLevelUpTo(q, n);
    if (q < 0) break;
    const Text& name = ancestorName(q, n);
    path.insert(0, 1, ch::PathSeparator);
    path.insert(0, name);
  }
  return path;
}

const Text& CatalogRows::ancestorName(int row, int level) {
  const auto n = static_cast<std::size_t>(level);
  if (cachedRow_[n] != row) {
    cachedName_[n] = nameOf(recordBytes(row));
    cachedRow_[n] = row;
  }
  return cachedName_[n];
}

Text CatalogRows::nameOf(std::string_view record) {
  std::size_t end = record.empty() || record[0] != RowStartByte ? 0 : 1;
  const std::size_t begin = end;
  while (end < record.size() && !endsField(record[end])) ++end;
  return cp932::decode(record.substr(begin, end - begin));
}

}  // namespace zevro
