#pragma once
// Exact search for one fixed text in long texts (a whole catalog at a time).
// A Horspool search whose skip table is keyed by the low byte of each
// character: characters that share a low byte share the smaller skip, so it
// never jumps over an occurrence, and the table stays small for UTF-16.
#include <array>
#include <cstddef>
#include <cstdint>

#include "text/Text.h"

namespace zevro {

class PlainSearcher {
public:
  PlainSearcher() = default;
  explicit PlainSearcher(TextView needle);

  // The first position p with from <= p and p + needle length <= end where
  // the needle occurs; TextView::npos when there is none or the needle is empty.
  std::size_t find(TextView text, std::size_t from, std::size_t end) const;

  TextView needle() const { return needle_; }

private:
  Text needle_;
  std::array<std::uint32_t, 256> skip_{};
};

}  // namespace zevro
