#pragma once
// Records of the older format turned into records of the current one.
//
// An old heap starts with its record marker (any character but code 16,
// usually code 1) and every record begins with it; fields are separated by
// code 2: name, comment, date, size and, after a fifth separator, the name
// on the medium. A name may carry the name on the medium after code 7, and
// an attached picture is written as code 31 and its three-character id.
//
//   M "name" 2 "comment" 2 "00/01/02 03:04 " 2 "1,234"
//   -> 16 "name" 17 "comment" 18 "00/01/02 03:04" 19 "1,234" 20 "6" 21
//   M "NEW" 7 "REAL.TXT" 2 2 2 "5" -> 16 "NEW" 17 18 19 "5" 20 "1" 21 "REAL.TXT" 22
//   M "P.JPG" 2 2 2 "9" 2 31 "001" -> 16 "P.JPG" 17 18 19 "9" 20 "8" 21 22 "001" 23
//
// The flag character (field 4) is "0" plus 2 for a comment, 4 for a date,
// 1 for a name on the medium, 8 for a picture. Every record made is valid:
// markers 16 up to the last one, each once, in order, and no other control
// character but CR and LF (a stray one is kept as escape text "&#x0007;").
// Where the old record holds more than the current one can (a name on the
// medium both after code 7 and in its own field, text after an empty fifth
// field), the name in its own field wins and the rest is left out.
#include "text/Text.h"

namespace zevro::oldrecords {

inline constexpr char16_t Separator = 2;
inline constexpr char16_t SecondName = 7;
inline constexpr char16_t ImageMark = 31;
inline constexpr std::size_t ImageIdLength = 3;
// A converted heap's room grows in these steps.
inline constexpr std::size_t HeapStep = 4096;

// One old record without its marker.
Text convertRecord(TextView body);

// A whole old heap (records, end marker code 0, spare) as a current heap:
// the records back to back, code 0, spare up to a multiple of HeapStep.
// A heap that already starts with code 16 is returned as it is.
Text convertHeap(TextView heap);

}  // namespace zevro::oldrecords
