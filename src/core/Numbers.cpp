#include "core/Numbers.h"

#include <algorithm>

namespace zevro {

namespace {

// The magnitude as unsigned, so that INT64_MIN has one too.
std::uint64_t magnitude(std::int64_t n) {
  return n < 0 ? 0 - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
}

Text decimalDigits(std::uint64_t value) {
  Text digits;
  do {
    digits += static_cast<char16_t>(u'0' + value % 10);
    value /= 10;
  } while (value != 0);
  std::reverse(digits.begin(), digits.end());
  return digits;
}

std::size_t widthOf(int width) { return static_cast<std::size_t>(std::max(width, 0)); }

// Pads on the left with fill, then keeps the rightmost width characters.
Text rightField(TextView text, int width, char16_t fill) {
  const std::size_t w = widthOf(width);
  if (text.size() >= w) return Text(text.substr(text.size() - w));
  return Text(w - text.size(), fill) + Text(text);
}

}  // namespace

Text zeroPadded(std::int64_t n, int width) {
  const Text digits = decimalDigits(magnitude(n));
  if (n >= 0) return rightField(digits, width, u'0');
  if (width <= 0) return {};
  return u'-' + rightField(digits, width - 1, u'0');
}

Text rightAligned(std::int64_t n, int width) {
  const Text signed_ = (n < 0 ? u'-' : u' ') + decimalDigits(magnitude(n));
  return rightField(signed_, width, u' ');
}

Text hexField(std::uint32_t value, int width) {
  static constexpr char16_t Hex[] = u"0123456789ABCDEF";
  Text digits;
  do {
    digits += Hex[value & 0xF];
    value >>= 4;
  } while (value != 0);
  std::reverse(digits.begin(), digits.end());
  return rightField(digits, width, u'0');
}

Text leftJustify(TextView text, int width) {
  const std::size_t w = widthOf(width);
  Text out(text.substr(0, w));
  out.resize(w, u' ');
  return out;
}

Text rightJustify(TextView text, int width) { return rightField(text, width, u' '); }

Text groupedNumber(std::int64_t n) {
  const Text digits = decimalDigits(magnitude(n));
  Text out = n < 0 ? Text(u"-") : Text();
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i != 0 && (digits.size() - i) % 3 == 0) out += u',';
    out += digits[i];
  }
  return out;
}

std::int64_t size64(std::int32_t high, std::uint32_t low) {
  const std::uint64_t bits = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(high)) << 32) | low;
  return static_cast<std::int64_t>(bits);
}

}  // namespace zevro
