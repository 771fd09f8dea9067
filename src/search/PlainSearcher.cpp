#include "search/PlainSearcher.h"

#include <algorithm>
#include <limits>

namespace zevro {

PlainSearcher::PlainSearcher(TextView needle) : needle_(needle) {
  const std::size_t m = needle_.size();
  const auto longest = static_cast<std::size_t>(std::numeric_limits<std::uint32_t>::max());
  skip_.fill(static_cast<std::uint32_t>(std::min(m, longest)));
  for (std::size_t i = 0; i + 1 < m; ++i)
    skip_[needle_[i] & 0xFF] = static_cast<std::uint32_t>(std::min(m - 1 - i, longest));
}

std::size_t PlainSearcher::find(TextView text, std::size_t from, std::size_t end) const {
  const std::size_t m = needle_.size();
  end = std::min(end, text.size());
  if (m == 0 || from > end || end - from < m) return TextView::npos;
  const char16_t last = needle_[m - 1];
  const TextView head = TextView(needle_).substr(0, m - 1);
  for (std::size_t at = from; at <= end - m;) {
    const char16_t c = text[at + m - 1];
    if (c == last && text.substr(at, m - 1) == head) return at;
    at += skip_[c & 0xFF];
  }
  return TextView::npos;
}

}  // namespace zevro
