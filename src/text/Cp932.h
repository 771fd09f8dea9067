#pragma once
// CP932 (Windows Shift-JIS) <-> UTF-16, exact for every CP932 character, and
// the escape rule that lets any Linux file name survive a round trip through a
// catalog file.
//
// Catalog text in memory holds the real characters. Writing it as CP932:
//   - every character CP932 holds is written as its CP932 bytes (control
//     characters included: field markers and line breaks are part of the formats);
//   - any other character (an emoji, a Chinese character outside JIS, a lone
//     surrogate, U+DC80..U+DCFF standing for a byte that was not UTF-8) is
//     written as the ASCII escape "&#xHHHH;" (upper-case hexadecimal, at least
//     four digits, the code point).
// Reading CP932:
//   - an escape is turned back into its character only when that character is
//     one that needs escaping, so ordinary text such as "&#x41;" stays as it is
//     (the one ambiguity: a comment typed with escape text such as "&#x1F600;"
//     reads back as the emoji; names are guarded against it, see below);
//   - a byte that is not valid CP932 becomes U+DC80..U+DCFF (0x80..0xFF), which
//     writes back as an escape, never as a different character.
//
// File names (native bytes, normally UTF-8) <-> catalog text:
//   - bytes that are not UTF-8 become U+DC80..U+DCFF (and back);
//   - control characters (codes 1 to 31, which would break a record) are kept
//     in catalog text as the escape "&#x00HH;" and turned back into the real
//     character when the text becomes a file name again.
#include <cstddef>
#include <string>
#include <string_view>

#include "text/Text.h"

namespace zevro::cp932 {

// The bytes that start a double-byte character (0x81-0x9F, 0xE0-0xFC) and
// those that may follow one (0x40-0xFC without 0x7F); a trail byte can be
// "\\" (0x5C) or "|" (0x7C), which is why text is decoded before it is parsed.
inline constexpr bool isLeadByte(unsigned b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
inline constexpr bool isTrailByte(unsigned b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// Whole-buffer conversion between CP932 bytes and catalog text.
Text decode(std::string_view bytes);
std::string encode(TextView text);
// encode() onto the end of `out` (a long output written line by line).
void encodeAppend(TextView text, std::string& out);

// decode() into a buffer with room for bytes.size() units (never more are
// needed); returns the number of units written. Lets a catalog heap be
// decoded straight into its final place.
std::size_t decodeInto(std::string_view bytes, char16_t* out);

// True when CP932 holds the character (a single UTF-16 unit; surrogates never)
// and reads it back as the same character: u'表', u'ｱ', u'\\' are; U+301C WAVE
// DASH and U+00A5 YEN SIGN are not (the converter writes them as the codes of
// U+FF5E and "\\"), nor u'丬' (U+4E2C) or U+DC81.
bool representable(char16_t c);

// The CP932 code of a character: 0x41 for u'A', 0xB1 for u'ｱ', 0x955C for
// u'表'; NoCharCode when CP932 does not hold it. Rules stated in CP932 code
// ranges test characters through this.
inline constexpr unsigned NoCharCode = 0xFFFF;
unsigned codeOf(char16_t c);

// The number of bytes the text takes as CP932 (escapes counted as written).
std::size_t byteLength(TextView text);

// The number of characters the text takes in a CP932 file: a character is one,
// an escape is as long as its text. Lengths in file headers count these.
std::size_t fileLength(TextView text);

// File name bytes (UTF-8, possibly invalid) <-> catalog text:
//   "表.txt" -> u"表.txt", "a\x01b" -> u"a&#x0001;b", "\xff.txt" -> u"\xDCFF.txt",
//   "&#x1F600;" -> u"&#x0026;#x1F600;" (a "&" that begins escape text is kept
//   as "&#x0026;", so that the name does not come back as an emoji).
// toNativeName(fromNativeName(b)) == b for any name b, also with
// decode(encode(...)) between them.
Text fromNativeName(std::string_view bytes);
std::string toNativeName(TextView text);

// Escape text "&#x00HH;" for a character that must not stand in a record,
// like 0x10 -> u"&#x0010;"; used by the row store when a field is set.
Text escapeControl(char16_t c);

}  // namespace zevro::cp932
