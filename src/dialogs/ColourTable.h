#pragma once
// The seven text colours of message markup (control characters 0 to 6), read
// from a table text of seven six-digit hexadecimal numbers 0xBBGGRR (blue in
// the high byte) separated by blanks:
//   "000000 E00000 007000 903000 4000A0 900090 3050C0"
//   -> colour(1) == 0xE00000 (blue 224), colour(2) == 0x007000 (green 112).
#include <array>
#include <cstdint>
#include <string_view>

namespace zevro {

class ColourTable {
public:
  static constexpr int Size = 7;

  // Entry m is the six hexadecimal digits starting at character 7 * m (from
  // 0); a digit that is missing or not hexadecimal counts as 0.
  static ColourTable parse(std::string_view table);

  // The table for screens with more than 256 colours.
  static ColourTable trueColour();
  // The table for screens of 256 colours or fewer, made of colours every
  // such palette holds.
  static ColourTable lowColour();
  // The table for a screen showing that many colours: 256 -> lowColour(),
  // 16777216 -> trueColour().
  static ColourTable forDisplayColours(std::int64_t colours);

  // 0xBBGGRR of colour code m (0..6); codes outside give black.
  std::uint32_t colour(int m) const;

private:
  std::array<std::uint32_t, Size> colours_{};
};

}  // namespace zevro
