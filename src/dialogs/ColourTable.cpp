#include "dialogs/ColourTable.h"

#include <algorithm>

#include "text/Text.h"

namespace zevro {

namespace {
constexpr std::string_view TrueColourText = "000000 E00000 007000 903000 4000A0 900090 3050C0";
constexpr std::string_view LowColourText = "000000 800000 008000 808000 000080 800080 008080";

// A character that is no digit counts as 0.
int hexDigit(char c) { return std::max(hexValue(static_cast<unsigned char>(c)), 0); }
}  // namespace

ColourTable ColourTable::parse(std::string_view table) {
  ColourTable result;
  for (int m = 0; m < Size; ++m) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 6; ++i) {
      const std::size_t pos = static_cast<std::size_t>(7 * m) + i;
      const int digit = pos < table.size() ? hexDigit(table[pos]) : 0;
      value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    result.colours_[static_cast<std::size_t>(m)] = value;
  }
  return result;
}

ColourTable ColourTable::trueColour() { return parse(TrueColourText); }

ColourTable ColourTable::lowColour() { return parse(LowColourText); }

ColourTable ColourTable::forDisplayColours(std::int64_t colours) { return colours > 256 ? trueColour() : lowColour(); }

std::uint32_t ColourTable::colour(int m) const {
  if (m < 0 || m >= Size) return 0;
  return colours_[static_cast<std::size_t>(m)];
}

}  // namespace zevro
