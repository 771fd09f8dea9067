#pragma once
// Builds the CP932 tables from the C library's "CP932" converter (never
// "SHIFT_JIS", which is strict JIS and reads 0x5C as a yen sign). Only the
// table generator run by the build, and the test that compares the compiled
// tables with the converter of the machine, use it: the program itself
// carries the tables compiled in and needs no converter at run time.
#include <array>
#include <cstdint>
#include <vector>

namespace zevro::cp932::tablegen {

inline constexpr std::uint16_t NoCode = 0xFFFF;
inline constexpr char16_t InvalidByteBase = 0xDC00;  // byte b (0x80..0xFF) -> U+DC00 + b

struct BuiltTables {
  // Byte -> character. Invalid bytes and lead bytes (used when no valid
  // trail byte follows) hold U+DC80..U+DCFF.
  std::array<char16_t, 256> single{};
  // Lead byte -> row of `pairs` (1..), 0 for a byte that starts no pair.
  std::array<std::uint8_t, 256> leadRow{};
  // row * 256 + trail byte -> character; 0 for a pair CP932 lacks.
  std::vector<char16_t> pairs;
  // UTF-16 unit -> CP932 code: 0x00..0xDF one byte, 0x8140..0xFCFC
  // lead << 8 | trail; NoCode for a character CP932 does not hold.
  std::vector<std::uint16_t> codes;

  char16_t decodeCode(std::uint16_t code) const {
    if (code < 0x100) return single[code];
    const unsigned row = leadRow[code >> 8];
    return row == 0 ? char16_t(0) : pairs[row * 256 + (code & 0xFF)];
  }
};

// Throws std::runtime_error when the C library has no CP932 converter.
BuiltTables buildFromConverter();

}  // namespace zevro::cp932::tablegen
