#pragma once
// The value forms of the option file, as older versions wrote them and as the
// program reads them back:
//   numbers   " 5", " 0", "-1"   (a blank stands where the sign would be)
//   booleans  "-1" (true), " 0" (false) — numbers; any value other than 0 reads true
//   on/off    "ON", "OFF"        (on exactly when the word is "ON", any case)
//   colours   0x00BBGGRR as a number; values with the top bit set name a
//             system colour and were written signed: 0x8000000D is "-2147483635"
//
// Everything here works on characters only: no C library number conversion,
// so the user's locale (a German one writes "1.234,5") changes nothing.
#include <cstdint>

#include "text/Text.h"

namespace zevro::optval {

// The leading decimal number of a value: blanks and tabs are skipped, then an
// optional "+" or "-", then the digits up to the first other character; no
// digit there gives 0. Saturates at the limits of 64 bits:
//   " 5" -> 5,  "-1" -> -1,  "12abc" -> 12,  "abc" -> 0,  "- 5" -> 0,
//   "9.75" -> 9,  "-2147483635" -> -2147483635.
std::int64_t leadingNumber(TextView value);

// The number as the option file holds it: 5 -> " 5", 0 -> " 0", -1 -> "-1".
Text numberText(std::int64_t n);

// True exactly when the value is the word "ON" in any case: "ON", "on", "On"
// -> true; "OFF", "1", "-1", "ON " -> false (values arrive trimmed).
bool isOn(TextView value);

// "ON" or "OFF".
Text onOffText(bool on);

// A colour from its stored number, kept as the 32-bit value it names:
//   "-2147483635" -> 0x8000000D,  "2147483662" -> 0x8000000E,
//   " 14733456" -> 0xE0D090.
std::uint32_t colourOf(TextView value);

// A colour in the form older versions wrote (a signed 32-bit number):
//   0xE0D090 -> " 14733456",  0x8000000D -> "-2147483635".
Text colourText(std::uint32_t colour);

}  // namespace zevro::optval
