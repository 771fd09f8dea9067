#include "core/OptionValue.h"

#include <limits>

namespace zevro::optval {

namespace {

bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }
bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

}  // namespace

std::int64_t leadingNumber(TextView value) {
  std::size_t i = 0;
  while (i < value.size() && isBlank(value[i])) ++i;
  bool negative = false;
  if (i < value.size() && (value[i] == u'-' || value[i] == u'+')) negative = value[i++] == u'-';

  // Summed on the negative side, which holds one more value than the positive.
  constexpr std::int64_t Min = std::numeric_limits<std::int64_t>::min();
  std::int64_t n = 0;
  for (; i < value.size() && isDigit(value[i]); ++i) {
    const int digit = value[i] - u'0';
    if (n < (Min + digit) / 10) {
      n = Min;
      continue;
    }
    n = n * 10 - digit;
  }
  if (negative) return n;
  return n == Min ? std::numeric_limits<std::int64_t>::max() : -n;
}

Text numberText(std::int64_t n) {
  // Digits written from the right; the magnitude is taken digit by digit so
  // that the lowest 64-bit value needs no negation.
  char16_t digits[24];
  std::size_t at = sizeof digits / sizeof digits[0];
  std::int64_t rest = n;
  do {
    const std::int64_t digit = rest % 10;
    digits[--at] = static_cast<char16_t>(u'0' + (digit < 0 ? -digit : digit));
    rest /= 10;
  } while (rest != 0);
  digits[--at] = n < 0 ? u'-' : u' ';
  return Text(digits + at, digits + sizeof digits / sizeof digits[0]);
}

bool isOn(TextView value) {
  return value.size() == 2 && (value[0] == u'O' || value[0] == u'o') && (value[1] == u'N' || value[1] == u'n');
}

Text onOffText(bool on) { return on ? Text(u"ON") : Text(u"OFF"); }

std::uint32_t colourOf(TextView value) { return static_cast<std::uint32_t>(leadingNumber(value)); }

Text colourText(std::uint32_t colour) { return numberText(static_cast<std::int32_t>(colour)); }

}  // namespace zevro::optval
