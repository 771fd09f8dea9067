#include "search/CatalogRows.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/Record.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

constexpr char RowStartByte = static_cast<char>(record::FirstMarker);
constexpr int Levels = 256;

// Markers and code 0 are single bytes that never occur inside a double-byte
// character, so fields end in the bytes where they end in the text.
bool endsField(char b) { return record::endsField(static_cast<unsigned char>(b)); }

// The positions of every code 16 in heap bytes [from, to). Rows are a few dozen bytes
// long: sixteen bytes are compared at once, and a position is taken only
// where a row starts (a call of memchr per row costs more than the row).
void appendRowStarts(std::string_view heap, std::size_t from, std::size_t to, std::vector<std::uint32_t>& starts) {
  const char* const begin = heap.data();
  const std::size_t n = to;
  std::size_t i = from;
#if defined(__SSE2__)
  const __m128i marker = _mm_set1_epi8(RowStartByte);
  for (; i + 16 <= n; i += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(begin + i));
    auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, marker)));
    while (mask != 0) {
      starts.push_back(static_cast<std::uint32_t>(i + static_cast<std::size_t>(__builtin_ctz(mask))));
      mask &= mask - 1;
    }
  }
#endif
  for (; i < n; ++i)
    if (begin[i] == RowStartByte) starts.push_back(static_cast<std::uint32_t>(i));
}

}  // namespace

CatalogRows::CatalogRows(std::string_view heap, std::string_view levels)
    : heap_(heap), levels_(levels), rowsOfLevel_(Levels), cachedRow_(Levels, -1), cachedName_(Levels) {}

void CatalogRows::scanTo(std::size_t end) const {
  end = std::min(end, heap_.size());
  if (end <= scanned_) return;
  const std::size_t known = starts_.size();
  appendRowStarts(heap_, scanned_, end, starts_);
  scanned_ = end;
  for (std::size_t row = known; row < starts_.size(); ++row)
    rowsOfLevel_[static_cast<std::size_t>(level(static_cast<int>(row)))].push_back(static_cast<std::int32_t>(row));
}

void CatalogRows::scanForRow(int row) const {
  // A few rows at a time: rows are a few dozen bytes long.
  constexpr std::size_t Step = 1024;
  while (static_cast<int>(starts_.size()) <= row && scanned_ < heap_.size()) scanTo(scanned_ + Step);
}

int CatalogRows::rowCount() const {
  scanTo(heap_.size());
  return static_cast<int>(starts_.size());
}

bool CatalogRows::hasRow(int row) const {
  if (row < 0) return false;
  scanForRow(row);
  return row < static_cast<int>(starts_.size());
}

std::size_t CatalogRows::start(int row) const {
  scanForRow(row);
  return starts_[static_cast<std::size_t>(row)];
}

int CatalogRows::rowAt(std::size_t at) const {
  scanTo(at + 1);
  const auto after = std::upper_bound(starts_.begin(), starts_.end(), at);
  return static_cast<int>(after - starts_.begin()) - 1;
}

std::string_view CatalogRows::recordBytes(int row) const {
  const std::size_t from = start(row);
  const std::size_t to = hasRow(row + 1) ? start(row + 1) : heap_.size();
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
