#include "text/Cp932.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "text/Cp932Tables.h"
#include "text/Utf8.h"

// The tables are generated from the C library's "CP932" converter when the
// program is built (never "SHIFT_JIS", which is strict JIS and reads 0x5C as
// a yen sign) and compiled in (text/Cp932Tables.h), so that every character
// agrees with what the rest of the system makes of these files while the
// program needs no converter of its own at run time; a whole catalog
// converts by table lookups alone. What they deliberately do differently
// from the converter is told in text/tablegen/Cp932TableBuilder.cpp.

namespace zevro::cp932 {

namespace {

constexpr std::uint16_t NoCode = 0xFFFF;
constexpr char16_t InvalidByteBase = 0xDC00;  // byte b (0x80..0xFF) -> U+DC00 + b

// Converted text of a whole catalog: "表" is 95 5C, "ポ" is 83 7C, so no
// byte-level parsing may happen before decoding.
struct Tables {
  const std::array<char16_t, 256>& single;
  const std::array<std::uint8_t, 256>& leadRow;
  const char16_t* pairs;
  const std::uint16_t* codes;

  char16_t decodeCode(std::uint16_t code) const {
    if (code < 0x100) return single[code];
    const unsigned row = leadRow[code >> 8];
    return row == 0 ? char16_t(0) : pairs[row * 256 + (code & 0xFF)];
  }
};

const Tables& tables() {
  static const Tables t{compiled::single, compiled::leadRow, compiled::pairs, compiled::codes};
  return t;
}

// --- bytes CP932 assigns no character -------------------------------------
//
// A byte that is no character (0x80, 0xA0, 0xFD-0xFF, a lead byte without a
// trail it pairs with) reads as U+DC00 + byte and is written back as that
// very byte, so a file made elsewhere keeps its bytes. The one exception: a
// lead byte whose next written byte would pair with it into a character
// (U+DC81 before "A": 81 41 reads as "、") is written as escape text.

bool isRawByte(char16_t c) { return c >= InvalidByteBase + 0x80 && c <= InvalidByteBase + 0xFF; }

// The first byte the unit at i is written as, for the check above: -1 at the
// end (a marker or the end of the heap follows, never a trail byte), '&' for
// escape text. A raw byte counts as written raw (when it is not, its escape
// starts with "&", which pairs with nothing: the check only errs on the safe
// side).
int firstByteAt(const Tables& t, TextView text, std::size_t i) {
  if (i >= text.size()) return -1;
  const char16_t c = text[i];
  if (const std::uint16_t code = t.codes[c]; code != NoCode) return code >= 0x100 ? code >> 8 : code;
  if (isRawByte(c)) return c - InvalidByteBase;
  return '&';
}

// True when the raw byte of the unit at i reads back as that unit.
bool rawByteReadsBack(const Tables& t, TextView text, std::size_t i) {
  const unsigned b = text[i] - InvalidByteBase;
  // A byte that is a character of its own (half-width katakana) stood for
  // something else: a name's byte that was not UTF-8.
  if (t.single[b] != text[i]) return false;
  const unsigned row = t.leadRow[b];
  const int next = firstByteAt(t, text, i + 1);
  return row == 0 || next < 0 || t.pairs[row * 256 + static_cast<unsigned>(next)] == 0;
}

// --- escapes ---------------------------------------------------------------

constexpr char32_t MaxCodePoint = 0x10FFFF;
constexpr std::size_t MinDigits = 4;
constexpr std::size_t MaxDigits = 6;
constexpr char UpperHex[] = "0123456789ABCDEF";

bool needsEscape(const Tables& t, char32_t cp) { return cp > 0xFFFF || utf::isSurrogate(cp) || t.codes[cp] == NoCode; }

// Length of the escape "&#xHHHH;" (4 to 6 hex digits, either case, at most
// U+10FFFF) at p, with its code point in cp; 0 when p holds none.
template <class Char>
std::size_t parseEscape(const Char* p, const Char* end, char32_t& cp) {
  if (end - p < static_cast<std::ptrdiff_t>(MinDigits + 4) || p[0] != Char('&') || p[1] != Char('#') ||
      p[2] != Char('x'))
    return 0;
  const Char* q = p + 3;
  std::size_t digits = 0;
  cp = 0;
  for (; q < end && digits <= MaxDigits; ++q, ++digits) {
    const int v = hexValue(*q);
    if (v < 0) break;
    cp = cp * 16 + static_cast<char32_t>(v);
  }
  if (digits < MinDigits || digits > MaxDigits || q == end || *q != Char(';') || cp > MaxCodePoint) return 0;
  return static_cast<std::size_t>(q + 1 - p);
}

std::size_t escapeDigits(char32_t cp) { return cp > 0xFFFFF ? 6 : cp > 0xFFFF ? 5 : 4; }
std::size_t escapeLength(char32_t cp) { return escapeDigits(cp) + 4; }

// Writes "&#xHHHH;" for cp at o; returns the end.
template <class Char>
Char* writeEscape(Char* o, char32_t cp) {
  *o++ = Char('&');
  *o++ = Char('#');
  *o++ = Char('x');
  for (std::size_t k = escapeDigits(cp); k-- > 0;) *o++ = Char(UpperHex[(cp >> (4 * k)) & 0xF]);
  *o++ = Char(';');
  return o;
}

// The character (one unit, or a surrogate pair) that starts at text[i] and
// needs an escape; `units` is how many units it takes.
char32_t codePointAt(TextView text, std::size_t i, std::size_t& units) {
  const char16_t c = text[i];
  units = 1;
  if (utf::isHighSurrogate(c) && i + 1 < text.size() && utf::isLowSurrogate(text[i + 1])) {
    units = 2;
    return utf::combine(c, text[i + 1]);
  }
  return c;
}

// --- names -----------------------------------------------------------------

constexpr char16_t Ampersand = u'&';
constexpr std::size_t NameEscapeLength = 8;  // "&#x00HH;"

// The byte a name escape at p stands for: "&#x0001;".."&#x001F;" (a control
// character) or "&#x0026;" (a literal "&" that would otherwise start an
// escape); -1 when p holds neither. Only the exact upper-case form counts, as
// escapeControl writes it.
template <class Char>
int nameEscapeByte(const Char* p, const Char* end) {
  if (end - p < static_cast<std::ptrdiff_t>(NameEscapeLength)) return -1;
  constexpr char prefix[] = "&#x00";
  for (std::size_t k = 0; k < 5; ++k) {
    if (p[k] != Char(prefix[k])) return -1;
  }
  const auto upperHex = [](Char c) { return (c >= Char('0') && c <= Char('9')) || (c >= Char('A') && c <= Char('F')); };
  if (!upperHex(p[5]) || !upperHex(p[6]) || p[7] != Char(';')) return -1;
  const int value = hexValue(p[5]) * 16 + hexValue(p[6]);
  return (value >= 1 && value <= 31) || value == '&' ? value : -1;
}

// A "&" in a file name that begins text the name codec or the CP932 reader
// would turn into something else; it is kept as "&#x0026;" so the name comes
// back byte for byte.
bool ampersandNeedsGuard(const Tables& t, std::string_view rest) {
  const auto* p = reinterpret_cast<const unsigned char*>(rest.data());
  const auto* end = p + rest.size();
  if (nameEscapeByte(p, end) >= 0) return true;
  char32_t cp = 0;
  return parseEscape(p, end, cp) != 0 && needsEscape(t, cp);
}

// --- whole buffers ---------------------------------------------------------

constexpr std::uint64_t HighBits = 0x8080808080808080ull;
constexpr std::uint64_t LowBits = 0x0101010101010101ull;

// True when the eight ASCII bytes of w hold an "&".
bool holdsAmpersand(std::uint64_t w) {
  const std::uint64_t x = w ^ (LowBits * '&');
  return ((x - LowBits) & ~x & HighBits) != 0;
}

// Output goes through a small buffer appended to the string now and then: the
// string only reserves its size, so no page of a catalog-sized result is
// written twice (a string resized up front is filled with zeros first).
constexpr std::size_t ChunkUnits = 4096;
constexpr std::size_t ChunkSlack = 16;  // the longest single step: an escape of 10

// Copies the run of plain ASCII (no "&") at p, eight bytes at a time, while
// the output has room before `limit`.
void copyAsciiRun(const unsigned char*& p, const unsigned char* end, char16_t*& o, const char16_t* limit) {
  while (end - p >= 8 && o < limit) {
    std::uint64_t w;
    std::memcpy(&w, p, 8);
    if ((w & HighBits) != 0 || holdsAmpersand(w)) return;
    for (int k = 0; k < 8; ++k) o[k] = p[k];
    p += 8;
    o += 8;
  }
}

// Copies the run of ASCII units at p into bytes, four at a time.
void copyAsciiRun(const char16_t*& p, const char16_t* end, char*& o, const char* limit) {
  constexpr std::uint64_t NonAscii = 0xFF80FF80FF80FF80ull;
  while (end - p >= 4 && o < limit) {
    std::uint64_t w;
    std::memcpy(&w, p, 8);
    if ((w & NonAscii) != 0) return;
    for (int k = 0; k < 4; ++k) o[k] = static_cast<char>(p[k]);
    p += 4;
    o += 4;
  }
}

}  // namespace

namespace {

// Decodes from p while there is input and the output is before `limit`;
// returns where the input stopped. Every step writes at most two units and
// reads at least as many bytes.
const unsigned char* decodeSome(const Tables& t, const unsigned char* p, const unsigned char* end, char16_t*& o,
                                const char16_t* limit) {
  while (p < end && o < limit) {
    const unsigned b = *p;
    if (b < 0x80) {
      char32_t cp = 0;
      const std::size_t length = b == '&' ? parseEscape(p, end, cp) : 0;
      if (length != 0 && needsEscape(t, cp)) {
        if (cp > 0xFFFF) {
          *o++ = static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
          *o++ = static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
          *o++ = static_cast<char16_t>(cp);
        }
        p += length;
        continue;
      }
      *o++ = static_cast<char16_t>(b);
      ++p;
      copyAsciiRun(p, end, o, limit);
      continue;
    }
    if (const unsigned row = t.leadRow[b]; row != 0 && end - p >= 2) {
      if (const char16_t u = t.pairs[row * 256 + p[1]]; u != 0) {
        *o++ = u;
        p += 2;
        continue;
      }
    }
    // A valid single byte, or an invalid one as U+DC80..U+DCFF; the next
    // byte is read afresh, so a marker after a lone lead byte survives.
    *o++ = t.single[b];
    ++p;
  }
  return p;
}

}  // namespace

Text decode(std::string_view bytes) {
  const Tables& t = tables();
  Text out;
  out.reserve(bytes.size());  // every unit takes at least one byte, escapes included
  char16_t chunk[ChunkUnits];
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* end = p + bytes.size();
  while (p < end) {
    char16_t* o = chunk;
    p = decodeSome(t, p, end, o, chunk + ChunkUnits - ChunkSlack);
    out.append(chunk, o);
  }
  return out;
}

std::size_t decodeInto(std::string_view bytes, char16_t* out) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  char16_t* o = out;
  decodeSome(tables(), p, p + bytes.size(), o, out + bytes.size());
  return static_cast<std::size_t>(o - out);
}

std::string encode(TextView text) {
  std::string out;
  out.reserve(2 * text.size());  // enough unless there are escapes
  encodeAppend(text, out);
  return out;
}

void encodeAppend(TextView text, std::string& out) {
  const Tables& t = tables();
  char chunk[ChunkUnits];
  const char* const limit = chunk + ChunkUnits - ChunkSlack;
  char* o = chunk;
  const char16_t* p = text.data();
  const char16_t* end = p + text.size();
  while (p < end) {
    if (o >= limit) {
      out.append(chunk, o);
      o = chunk;
    }
    const char16_t c = *p;
    if (c < 0x80) {
      *o++ = static_cast<char>(c);
      ++p;
      copyAsciiRun(p, end, o, limit);
      continue;
    }
    if (const std::uint16_t code = t.codes[c]; code != NoCode) {
      if (code >= 0x100) *o++ = static_cast<char>(code >> 8);
      *o++ = static_cast<char>(code & 0xFF);
      ++p;
      continue;
    }
    const auto at = static_cast<std::size_t>(p - text.data());
    if (isRawByte(c) && rawByteReadsBack(t, text, at)) {
      *o++ = static_cast<char>(c - InvalidByteBase);
      ++p;
      continue;
    }
    std::size_t units = 0;
    const char32_t cp = codePointAt(text, at, units);
    o = writeEscape(o, cp);
    p += units;
  }
  out.append(chunk, o);
}

bool representable(char16_t c) { return tables().codes[c] != NoCode; }

unsigned codeOf(char16_t c) { return tables().codes[c]; }

std::size_t byteLength(TextView text) {
  const Tables& t = tables();
  std::size_t length = 0;
  for (std::size_t i = 0; i < text.size();) {
    if (const std::uint16_t code = t.codes[text[i]]; code != NoCode) {
      length += code >= 0x100 ? 2 : 1;
      ++i;
      continue;
    }
    if (isRawByte(text[i]) && rawByteReadsBack(t, text, i)) {
      ++length;
      ++i;
      continue;
    }
    std::size_t units = 0;
    length += escapeLength(codePointAt(text, i, units));
    i += units;
  }
  return length;
}

std::size_t fileLength(TextView text) {
  const Tables& t = tables();
  std::size_t length = 0;
  // Characters are counted as a reader walks the bytes: a lead byte and the
  // trail byte after it are one character. Only a raw lead byte leaves a
  // lead waiting for the next unit's bytes.
  bool leadWaiting = false;
  const auto countByte = [&](unsigned b) {
    if (leadWaiting && isTrailByte(b)) {
      leadWaiting = false;
      return;
    }
    ++length;
    leadWaiting = isLeadByte(b);
  };
  // Runs of ASCII with no lead waiting (nearly all of a catalog) count one
  // a unit, four units at a time, when the table gives every ASCII unit a
  // code of its own as it does.
  static const bool asciiWhole = [&t] {
    for (char16_t c = 0; c < 0x80; ++c)
      if (t.codes[c] == NoCode) return false;
    return true;
  }();
  constexpr std::uint64_t NonAscii = 0xFF80FF80FF80FF80ull;
  for (std::size_t i = 0; i < text.size();) {
    if (asciiWhole && !leadWaiting) {
      std::uint64_t w;
      while (text.size() - i >= 4 && (std::memcpy(&w, text.data() + i, 8), (w & NonAscii) == 0)) {
        length += 4;
        i += 4;
      }
      if (i >= text.size()) break;
    }
    const char16_t c = text[i];
    if (const std::uint16_t code = t.codes[c]; code != NoCode) {
      if (!leadWaiting) {
        ++length;  // a whole character: never a lead left waiting
      } else if (code >= 0x100) {
        countByte(code >> 8);
        countByte(code & 0xFF);
      } else {
        countByte(code);
      }
      ++i;
      continue;
    }
    if (isRawByte(c) && rawByteReadsBack(t, text, i)) {
      countByte(c - InvalidByteBase);
      ++i;
      continue;
    }
    leadWaiting = false;  // escape text starts with "&", no trail byte
    std::size_t units = 0;
    length += escapeLength(codePointAt(text, i, units));
    i += units;
  }
  return length;
}

// Any byte string (a file name holds no NUL) comes back unchanged through
// fromNativeName then toNativeName, and also with encode and decode between
// them: a "&" that begins escape text is guarded as "&#x0026;".
//
// The one ambiguity left: catalog text that did not come from a file name (a
// comment typed by the user) and literally holds escape text for a character
// CP932 lacks, such as "&#x1F600;", reads back from the file as that
// character (the emoji).
Text fromNativeName(std::string_view bytes) {
  const Tables& t = tables();
  Text out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    char32_t cp = 0;
    const std::size_t length = utf::sequence(bytes, i, cp);
    if (length == 0) {
      out.push_back(static_cast<char16_t>(InvalidByteBase + static_cast<unsigned char>(bytes[i])));
      ++i;
      continue;
    }
    if (cp >= 1 && cp <= 31) {
      out += escapeControl(static_cast<char16_t>(cp));
    } else if (cp == Ampersand && ampersandNeedsGuard(t, bytes.substr(i))) {
      out += escapeControl(Ampersand);
    } else {
      utf::appendUtf16(out, cp);
    }
    i += length;
  }
  return out;
}

std::string toNativeName(TextView text) {
  std::string out;
  out.reserve(text.size() * 3);
  const char16_t* end = text.data() + text.size();
  for (std::size_t i = 0; i < text.size();) {
    const char16_t c = text[i];
    if (c == Ampersand) {
      if (const int byte = nameEscapeByte(text.data() + i, end); byte >= 0) {
        out.push_back(static_cast<char>(byte));
        i += NameEscapeLength;
        continue;
      }
    }
    std::size_t units = 0;
    const char32_t cp = codePointAt(text, i, units);
    i += units;
    if (cp >= InvalidByteBase + 0x80 && cp <= InvalidByteBase + 0xFF) {
      out.push_back(static_cast<char>(cp - InvalidByteBase));
    } else if (utf::isSurrogate(cp)) {
      // Not from a file name: no name holds it, so it is kept as
      // readable escape text.
      char escape[16];
      out.append(escape, writeEscape(escape, cp));
    } else {
      utf::appendUtf8(out, cp);
    }
  }
  return out;
}

Text escapeControl(char16_t c) {
  Text out(escapeLength(c), u'\0');
  writeEscape(out.data(), c);
  return out;
}

}  // namespace zevro::cp932
