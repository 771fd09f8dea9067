#include "search/ByteSearcher.h"

#include "search/WideRegisters.h"

#include <cstdint>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace zevro {

namespace {

#if defined(__x86_64__)
// The first candidate position in [i, lastPair + 64) on processors with
// 32-byte registers, or npos; i is moved to where the plain loop goes on.
// Blocks of 64 positions read bytes up to i + 63 + n - 1, kept inside the
// text by lastPair.
__attribute__((target("avx2"))) std::size_t findWide(const char* p, std::size_t& i, std::size_t lastPair,
                                                     std::string_view needle) {
  const std::size_t n = needle.size();
  const __m256i firsts = _mm256_set1_epi8(needle[0]);
  const __m256i lasts = _mm256_set1_epi8(needle[n - 1]);
  for (; i <= lastPair; i += 64) {
    // (Written out: a lambda would not be compiled for these registers.)
    const char* const at = p + i;
    const __m256i lo =
        _mm256_and_si256(_mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(at)), firsts),
                         _mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + n - 1)), lasts));
    const __m256i hi =
        _mm256_and_si256(_mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + 32)), firsts),
                         _mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + 31 + n)), lasts));
    if (_mm256_testz_si256(_mm256_or_si256(lo, hi), _mm256_or_si256(lo, hi))) continue;
    auto mask = static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm256_movemask_epi8(lo))) |
                (static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm256_movemask_epi8(hi))) << 32);
    while (mask != 0) {
      const std::size_t at = i + static_cast<std::size_t>(__builtin_ctzll(mask));
      if (std::memcmp(p + at + 1, needle.data() + 1, n - 2) == 0) return at;
      mask &= mask - 1;
    }
  }
  return std::string_view::npos;
}

#endif

}  // namespace

std::size_t ByteSearcher::find(std::string_view text, std::size_t from) const {
  const std::size_t n = needle_.size();
  const std::size_t size = text.size();
  if (n == 0 || from >= size || size - from < n) return npos;
  const char* const p = text.data();
  if (n == 1) {
    const void* hit = std::memchr(p + from, needle_[0], size - from);
    return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - p) : npos;
  }
  const char first = needle_[0];
  const char last = needle_[n - 1];
  // The bytes between the first and the last, compared where those two agree.
  const char* const middle = needle_.data() + 1;
  const std::size_t middleSize = n - 2;
  std::size_t i = from;
#if defined(__x86_64__)
  if (hasWideRegisters() && size - from >= n - 1 + 64) {
    const std::size_t at = findWide(p, i, size - (n - 1) - 64, needle_);
    if (at != npos) return at;
  }
#endif
#if defined(__SSE2__)
  // A block of sixteen candidate positions i..i+15 reads bytes up to i+15+n-1.
  constexpr std::size_t Block = 16;
  if (size - from >= n - 1 + 2 * Block) {
    const std::size_t lastPair = size - (n - 1) - 2 * Block;  // the last i whose two blocks fit
    const __m128i firsts = _mm_set1_epi8(first);
    const __m128i lasts = _mm_set1_epi8(last);
    const auto candidates = [&](std::size_t at) {
      const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at));
      const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at + n - 1));
      return _mm_and_si128(_mm_cmpeq_epi8(a, firsts), _mm_cmpeq_epi8(b, lasts));
    };
    for (; i <= lastPair; i += 2 * Block) {
      const __m128i lo = candidates(i);
      const __m128i hi = candidates(i + Block);
      if (_mm_movemask_epi8(_mm_or_si128(lo, hi)) == 0) continue;
      auto mask = static_cast<unsigned>(_mm_movemask_epi8(lo)) |
                  (static_cast<unsigned>(_mm_movemask_epi8(hi)) << Block);
      while (mask != 0) {
        const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(mask));
        if (std::memcmp(p + at + 1, middle, middleSize) == 0) return at;
        mask &= mask - 1;
      }
    }
  }
#endif
  for (; i + n <= size; ++i)
    if (p[i] == first && p[i + n - 1] == last && std::memcmp(p + i + 1, middle, middleSize) == 0) return i;
  return npos;
}

}  // namespace zevro
