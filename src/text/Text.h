#pragma once
// Catalog text in memory: UTF-16, one unit per CP932 character, so that every
// character position and length of the file formats holds as written.
#include <string>
#include <string_view>

namespace zevro {

using Text = std::u16string;
using TextView = std::u16string_view;

// The control characters the program gives a meaning of its own (the field
// markers of records, codes 16 to 31, are in core/Record.h).
namespace ch {
inline constexpr char16_t Null = 0;     // end marker of the record heap, padding
inline constexpr char16_t ListSep = 2;  // separator of name lists from the listing helpers
inline constexpr char16_t Tab = 9;
inline constexpr char16_t LF = 10;
inline constexpr char16_t CR = 13;
inline constexpr char16_t Quote = 34;
inline constexpr char16_t IdeographicSpace = 0x3000;
inline constexpr char16_t PathSeparator = 0x5C;  // "\" of catalog paths — CP932 shows it as a yen sign
}  // namespace ch

// The value of a hexadecimal digit, either case: u'7' -> 7, 'b' -> 11,
// u'x' -> -1.
inline constexpr int hexValue(char32_t c) {
  if (c >= U'0' && c <= U'9') return static_cast<int>(c - U'0');
  if (c >= U'A' && c <= U'F') return static_cast<int>(c - U'A' + 10);
  if (c >= U'a' && c <= U'f') return static_cast<int>(c - U'a' + 10);
  return -1;
}

// u"…" literals are the usual way to write text; these convert plain ASCII
// (program identifiers, numbers) without going through a codec.
Text ascii(std::string_view s);
std::string narrowAscii(TextView s);  // non-ASCII units become '?'

// UTF-8 <-> UTF-16 for program text (messages, command-line output). Names
// from the file system use the name codec in Cp932.h instead, which keeps
// bytes that are not UTF-8.
Text fromUtf8(std::string_view s);
std::string toUtf8(TextView s);

}  // namespace zevro
