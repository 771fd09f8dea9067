#include "text/Text.h"

#include "text/Utf8.h"

namespace zevro {

namespace {
constexpr char16_t Replacement = 0xFFFD;
}  // namespace

Text ascii(std::string_view s) {
  Text out;
  out.reserve(s.size());
  for (char c : s) out.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
  return out;
}

std::string narrowAscii(TextView s) {
  std::string out;
  out.reserve(s.size());
  for (char16_t c : s) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return out;
}

Text fromUtf8(std::string_view s) {
  Text out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    char32_t cp = 0;
    const std::size_t len = utf::sequence(s, i, cp);
    if (len == 0) {
      out.push_back(Replacement);
      ++i;
      continue;
    }
    utf::appendUtf16(out, cp);
    i += len;
  }
  return out;
}

std::string toUtf8(TextView s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char16_t c = s[i];
    if (utf::isHighSurrogate(c) && i + 1 < s.size() && utf::isLowSurrogate(s[i + 1])) {
      utf::appendUtf8(out, utf::combine(c, s[i + 1]));
      ++i;
    } else if (utf::isSurrogate(c)) {
      utf::appendUtf8(out, Replacement);
    } else {
      utf::appendUtf8(out, c);
    }
  }
  return out;
}

}  // namespace zevro
