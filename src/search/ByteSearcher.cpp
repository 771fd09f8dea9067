#include "search/ByteSearcher.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zevro {

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
