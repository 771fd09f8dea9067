#pragma once
// Fixed-width number and text fields for the file formats and list columns,
// and numbers grouped by thousands for display. Widths count characters; a
// width of 0 or less gives "".
#include <cstdint>

#include "text/Text.h"

namespace zevro {

// The decimal digits padded with "0" on the left, cut to the rightmost width:
//   (42, 5) -> "00042",  (123456, 4) -> "3456".
// A negative number keeps its "-" in front: (-5, 4) -> "-005".
Text zeroPadded(std::int64_t n, int width);

// The number with a sign position (blank, or "-") right-aligned in width
// characters, cut to the rightmost width:
//   (123, 6) -> "   123",  (-12, 5) -> "  -12",  (7, 2) -> " 7".
Text rightAligned(std::int64_t n, int width);

// Upper-case hexadecimal padded with "0", cut to the rightmost width. The
// formats use widths 2 (16-bit values), 4 and 8:
//   (255, 8) -> "000000FF",  (255, 5) -> "000FF",  (0x1234, 2) -> "34".
Text hexField(std::uint32_t value, int width);

// Text padded with blanks on the right and cut to width: ("ab", 4) -> "ab  ".
Text leftJustify(TextView text, int width);

// Text padded with blanks on the left, cut to its rightmost width:
//   ("ab", 4) -> "  ab",  ("1,234,567", 5) -> "4,567".
Text rightJustify(TextView text, int width);

// Every digit, grouped by three with "," and "-" for negatives; serves
// 32-bit counts and 64-bit sizes alike:
//   1234567 -> "1,234,567",  -1234 -> "-1,234",  999 -> "999",
//   INT64_MIN -> "-9,223,372,036,854,775,808".
Text groupedNumber(std::int64_t n);

// A byte count from its high and low 32-bit halves: (1, 0) -> 4294967296.
std::int64_t size64(std::int32_t high, std::uint32_t low);

}  // namespace zevro
