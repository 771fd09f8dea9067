#pragma once
// Where a search term was found in a text: the 0-based position of its first
// character and the number of characters it covers. For a plain term the
// length is the term's; for a pattern it is what the pattern took ("a*z" on
// "abcz" covers 4), so whole-word tests and highlighting see the real extent.
#include <cstddef>

namespace zevro {

struct Match {
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

  std::size_t pos = npos;  // npos: not found
  std::size_t length = 0;

  bool found() const { return pos != npos; }
  std::size_t end() const { return pos + length; }
};

}  // namespace zevro
