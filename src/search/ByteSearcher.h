#pragma once
// Exact search for a short byte string (a term in CP932) in a catalog's
// bytes, made for texts where the string is rare: sixteen positions
// (thirty-two on processors with AVX2) are tried at once by comparing the
// string's first and last bytes, and only the positions where both agree
// are compared in full.
//
//   ByteSearcher s("\x8B\xE0\x8A\x74\x8E\x9B");   // "金閣寺"
//   s.find(bytes, 0)  -> the first position of those six bytes, or npos
//
// No byte outside [from, text end) is read.
#include <cstddef>
#include <string>
#include <string_view>

namespace zevro {

class ByteSearcher {
public:
  static constexpr std::size_t npos = std::string_view::npos;

  ByteSearcher() = default;
  explicit ByteSearcher(std::string needle) : needle_(std::move(needle)) {}

  // The first position p >= from where the needle occurs in text; npos when
  // there is none or the needle is empty.
  std::size_t find(std::string_view text, std::size_t from) const;

  const std::string& needle() const { return needle_; }

private:
  std::string needle_;
};

}  // namespace zevro
