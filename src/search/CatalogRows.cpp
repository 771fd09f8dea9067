#include "search/CatalogRows.h"

#include <algorithm>
#include <cstring>
#include <limits>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "core/Record.h"
#include "search/WideRegisters.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

constexpr char RowStartByte = static_cast<char>(record::FirstMarker);
constexpr int Levels = 256;

// Markers and code 0 are single bytes that never occur inside a double-byte
// character, so fields end in the bytes where they end in the text.
bool endsField(char b) { return record::endsField(static_cast<unsigned char>(b)); }

// Row starts are counted a vector at a time: each byte of `sums` counts
// the markers of its lane, and the lanes are added up before one can
// overflow (255 blocks).
#if defined(__x86_64__)
// The code-16 bytes in heap bytes [i, to), 32 bytes at once, up to where
// fewer than 32 remain; i is moved to there.
__attribute__((target("avx2"))) std::size_t countRowStartsWide(const char* heap, std::size_t& i, std::size_t to) {
  std::size_t count = 0;
  const __m256i marker = _mm256_set1_epi8(RowStartByte);
  const __m256i zero = _mm256_setzero_si256();
  while (to - i >= 32) {
    const std::size_t blocks = std::min<std::size_t>((to - i) / 32, 255);
    __m256i sums = zero;
    for (std::size_t b = 0; b < blocks; ++b, i += 32) {
      const __m256i block = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(heap + i));
      sums = _mm256_sub_epi8(sums, _mm256_cmpeq_epi8(block, marker));
    }
    const __m256i total = _mm256_sad_epu8(sums, zero);
    count += static_cast<std::size_t>(_mm256_extract_epi64(total, 0)) +
             static_cast<std::size_t>(_mm256_extract_epi64(total, 1)) +
             static_cast<std::size_t>(_mm256_extract_epi64(total, 2)) +
             static_cast<std::size_t>(_mm256_extract_epi64(total, 3));
  }
  return count;
}

// Appends the running count of code 16 after each of `chunks` whole
// stretches of `chunk` bytes from `from` on (32 bytes at once).
__attribute__((target("avx2"))) void appendChunkCountsWide(const char* heap, std::size_t from, std::size_t chunks,
                                                           std::size_t chunk, std::vector<std::uint32_t>& counts) {
  const __m256i marker = _mm256_set1_epi8(RowStartByte);
  const __m256i zero = _mm256_setzero_si256();
  std::uint32_t running = counts.back();
  for (std::size_t c = 0; c < chunks; ++c) {
    // Each byte of `sums` counts at most chunk / 32 markers.
    __m256i sums = zero;
    for (const std::size_t end = from + chunk; from < end; from += 32) {
      const __m256i block = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(heap + from));
      sums = _mm256_sub_epi8(sums, _mm256_cmpeq_epi8(block, marker));
    }
    const __m256i total = _mm256_sad_epu8(sums, zero);
    __m128i half = _mm_add_epi64(_mm256_castsi256_si128(total), _mm256_extracti128_si256(total, 1));
    half = _mm_add_epi64(half, _mm_srli_si128(half, 8));
    running += static_cast<std::uint32_t>(_mm_cvtsi128_si32(half));
    counts.push_back(running);
  }
}
#endif

// The code-16 bytes in heap bytes [from, to).
std::size_t countRowStarts(const char* heap, std::size_t from, std::size_t to) {
  std::size_t count = 0;
  std::size_t i = from;
#if defined(__x86_64__)
  if (hasWideRegisters()) count += countRowStartsWide(heap, i, to);
#endif
#if defined(__SSE2__)
  const __m128i marker = _mm_set1_epi8(RowStartByte);
  const __m128i zero = _mm_setzero_si128();
  while (to - i >= 16) {
    const std::size_t blocks = std::min<std::size_t>((to - i) / 16, 255);
    __m128i sums = zero;
    for (std::size_t b = 0; b < blocks; ++b, i += 16) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(heap + i));
      sums = _mm_sub_epi8(sums, _mm_cmpeq_epi8(block, marker));
    }
    const __m128i total = _mm_sad_epu8(sums, zero);
    count += static_cast<std::size_t>(_mm_cvtsi128_si32(total)) +
             static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_srli_si128(total, 8)));
  }
#endif
  for (; i < to; ++i) count += heap[i] == RowStartByte ? 1 : 0;
  return count;
}

// The position of the code 16 that follows the one at `at` `rows` rows later
// (at itself for none); heap.size() when the heap ends first.
std::size_t rowStartAfter(std::string_view heap, std::size_t at, std::size_t rows) {
  for (; rows > 0; --rows) {
    if (at + 1 >= heap.size()) return heap.size();
    const void* next = std::memchr(heap.data() + at + 1, RowStartByte, heap.size() - at - 1);
    if (!next) return heap.size();
    at = static_cast<std::size_t>(static_cast<const char*>(next) - heap.data());
  }
  return at;
}

}  // namespace

CatalogRows::CatalogRows(std::string_view heap, std::string_view levels)
    : heap_(heap), levels_(levels), counts_(1, 0), lastOfLevel_(Levels), cachedRow_(Levels, -1), cachedName_(Levels) {}

std::size_t CatalogRows::chunkStart(std::size_t chunk) const { return std::min(chunk * Chunk, heap_.size()); }

void CatalogRows::countChunks(std::size_t chunk) const {
  if (counts_.size() == 1) counts_.reserve(heap_.size() / Chunk + 2);
  // Whole stretches many at once, then the heap's last, shorter one.
  const std::size_t whole = std::min(chunk + 1, heap_.size() / Chunk);
  const std::size_t done = counts_.size() - 1;
#if defined(__x86_64__)
  static_assert(Chunk % 32 == 0 && Chunk / 32 < 256);
  if (done < whole && hasWideRegisters()) appendChunkCountsWide(heap_.data(), done * Chunk, whole - done, Chunk, counts_);
#endif
  while (counts_.size() <= chunk + 1 && !counted()) {
    const std::size_t k = counts_.size() - 1;
    counts_.push_back(counts_[k] +
                      static_cast<std::uint32_t>(countRowStarts(heap_.data(), chunkStart(k), chunkStart(k + 1))));
  }
}

void CatalogRows::countForRow(int row) const {
  // Sixteen stretches at a time: a few hundred rows.
  while (counts_.back() <= static_cast<std::uint32_t>(row) && !counted()) countChunks(counts_.size() + 15);
}

int CatalogRows::rowCount() const {
  countForRow(std::numeric_limits<int>::max() - 1);
  return static_cast<int>(counts_.back());
}

bool CatalogRows::hasRow(int row) const {
  if (row < 0) return false;
  countForRow(row);
  return static_cast<std::uint32_t>(row) < counts_.back();
}

std::size_t CatalogRows::start(int row) const {
  if (row == knownRow_) return knownStart_;
  if (!hasRow(row)) return heap_.size();
  // The last stretch that starts at or before the row's code 16.
  const auto chunk = static_cast<std::size_t>(
      std::upper_bound(counts_.begin(), counts_.end(), static_cast<std::uint32_t>(row)) - counts_.begin() - 1);
  std::size_t from = chunkStart(chunk);
  std::size_t rows = static_cast<std::size_t>(row) - counts_[chunk];
  if (knownRow_ >= 0 && knownRow_ < row && knownStart_ >= from) {
    // Closer from the row found last.
    from = knownStart_;
    rows = static_cast<std::size_t>(row - knownRow_);
  } else {
    const void* first = std::memchr(heap_.data() + from, RowStartByte, heap_.size() - from);
    from = static_cast<std::size_t>(static_cast<const char*>(first) - heap_.data());
  }
  knownRow_ = row;
  knownStart_ = rowStartAfter(heap_, from, rows);
  return knownStart_;
}

int CatalogRows::rowAt(std::size_t at) const {
  if (heap_.empty()) return -1;
  at = std::min(at, heap_.size() - 1);
  const std::size_t chunk = at / Chunk;
  countChunks(chunk);
  const int row = static_cast<int>(counts_[chunk] + countRowStarts(heap_.data(), chunkStart(chunk), at + 1)) - 1;
  if (row >= 0) {
    const void* rowStart = ::memrchr(heap_.data(), RowStartByte, at + 1);
    knownRow_ = row;
    knownStart_ = static_cast<std::size_t>(static_cast<const char*>(rowStart) - heap_.data());
  }
  return row;
}

std::string_view CatalogRows::recordBytes(int row) const {
  const std::size_t from = start(row);
  return heap_.substr(from, rowStartAfter(heap_, from, 1) - from);
}

Text CatalogRows::record(int row) const { return cp932::decode(recordBytes(row)); }

int CatalogRows::level(int row) const {
  const auto i = static_cast<std::size_t>(row);
  return i < levels_.size() ? static_cast<unsigned char>(levels_[i]) : 0;
}

int CatalogRows::lastOfLevelIn(int from, int to, int level) const {
  if (to < from) return -1;
  // Rows beyond the level string are of level 0.
  const int stringEnd = static_cast<int>(std::min<std::size_t>(levels_.size(), std::numeric_limits<int>::max()));
  if (to >= stringEnd) {
    if (level == 0) return to;
    to = stringEnd - 1;
    if (to < from) return -1;
  }
  const void* found =
      ::memrchr(levels_.data() + from, level, static_cast<std::size_t>(to - from + 1));
  return found ? static_cast<int>(static_cast<const char*>(found) - levels_.data()) : -1;
}

int CatalogRows::lastOfLevelUpTo(int row, int level) const {
  if (level < 0 || level >= Levels || row < 0) return -1;
  if (!hasRow(row)) row = rowCount() - 1;
  LevelAnswer& last = lastOfLevel_[static_cast<std::size_t>(level)];
  int found;
  if (last.upTo >= 0 && row >= last.upTo) {
    // Only the rows after the last question can hold a later one.
    found = lastOfLevelIn(last.upTo + 1, row, level);
    if (found < 0) found = last.row;
  } else if (last.upTo >= 0 && last.row <= row) {
    // No row of the level lies between the last answer and the last question.
    found = last.row;
  } else {
    found = lastOfLevelIn(0, row, level);
  }
  last = {row, found};
  return found;
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
