#pragma once
// The CP932 tables, generated from the C library's "CP932" converter when
// the program is built (text/tablegen) and compiled in: the program needs no
// converter at run time and builds nothing at start-up.
#include <array>
#include <cstddef>
#include <cstdint>

namespace zevro::cp932::compiled {

// Byte -> character; invalid bytes and lead bytes hold U+DC80..U+DCFF.
extern const std::array<char16_t, 256> single;
// Lead byte -> row of `pairs` (1..), 0 for a byte that starts no pair.
extern const std::array<std::uint8_t, 256> leadRow;
// row * 256 + trail byte -> character; 0 for a pair CP932 lacks.
extern const char16_t pairs[];
extern const std::size_t pairCount;
// UTF-16 unit -> CP932 code (0x00..0xDF, or lead << 8 | trail); 0xFFFF for
// a character CP932 does not hold. 65536 entries.
extern const std::uint16_t codes[];

}  // namespace zevro::cp932::compiled
