#pragma once
// One record of the record heap, and the title line (row 0 of a catalog):
// where a field lies, what ends it, what the title line's fields are. Every
// reader of records finds its fields here, so that the list, the search, the
// walk and the catalog index agree on what a field is.
//
// Field k of a record is introduced by the marker 16 + k (codes 16 to 31,
// so fields 0 to 15). A field runs to the next marker, to the end marker of
// the heap (code 0) or to the end of the text, whichever comes first:
//   u"\x10README.TXT\x11Read me first\x12" u"03/04/05 12:34\x13" u"1,234\x14" u"0"
//   field 0 u"README.TXT", field 1 u"Read me first", field 3 u"1,234",
//   field 4 u"0" (the flag character, no flags), field 5 absent (reads empty).
// Markers ascend within a record; a damaged record with a higher marker
// before marker k lacks field k.
//
// The title line, row 0 of a catalog, keeps the medium in the same fields:
//   u"\x10MYDISC\x11Games 1998\x12\x13" u"1,234,682\x14" u"0\x15" u"E:\\GAMES"
//   label u"MYDISC" (the volume label), title u"Games 1998" (the catalog
//   title), no date, total u"1,234,682" (everything on the medium), flag
//   u"0", source folder u"E:\\GAMES" (the folder read as the medium; empty
//   for a whole drive).
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "text/Text.h"

namespace zevro::record {

inline constexpr char16_t FirstMarker = 16;  // field 0, and so the start of every record
inline constexpr char16_t LastMarker = 31;   // field 15
inline constexpr int MaxField = LastMarker - FirstMarker;

constexpr char16_t marker(int k) { return static_cast<char16_t>(FirstMarker + k); }
constexpr bool isMarker(char16_t c) { return c >= FirstMarker && c <= LastMarker; }
// What closes a field: the next marker or the heap's end marker.
constexpr bool endsField(char16_t c) { return c == ch::Null || isMarker(c); }

// Field 4, the flag character: "0" plus the flag bits of CatalogList.h.
inline constexpr char16_t NoFlags = u'0';
inline constexpr TextView NoFlagsText = u"0";

// First unit below 32 (a marker, code 0, CR, LF, ...) in [p, end), or end.
// Looks at four units at a time: field text is mostly long runs of ordinary
// characters, and the list and the walk read fields in their hot loops.
inline const char16_t* nextControl(const char16_t* p, const char16_t* end) {
  constexpr std::uint64_t HighBits = 0xFFE0FFE0FFE0FFE0u;  // a unit below 32 has none of these
  constexpr std::uint64_t Ones = 0x0001000100010001u;
  constexpr std::uint64_t Tops = 0x8000800080008000u;
  while (end - p >= 4) {
    std::uint64_t w;
    std::memcpy(&w, p, sizeof w);
    const std::uint64_t v = w & HighBits;
    if (((v - Ones) & ~v & Tops) != 0) break;  // some unit of the four is below 32
    p += 4;
  }
  while (p < end && *p >= 32) ++p;
  return p;
}

// First marker or code 0 in [p, end), or end.
inline const char16_t* nextFieldEnd(const char16_t* p, const char16_t* end) {
  for (p = nextControl(p, end); p < end && !endsField(*p); p = nextControl(p + 1, end)) {
  }
  return p;
}

// Field k in the record [begin, end). Present: its text is [text, textEnd).
// Absent: text == textEnd is where its marker would go (before the first
// higher marker, else at the record's end), and `highest` is the highest
// field seen before that place (-1 for none). Code 0 ends the record.
struct Spot {
  bool present = false;
  const char16_t* text = nullptr;
  const char16_t* textEnd = nullptr;
  int highest = -1;
};

inline Spot locate(const char16_t* begin, const char16_t* end, int k) {
  const char16_t wanted = marker(k);
  Spot spot;
  const char16_t* p = nextFieldEnd(begin, end);
  for (; p < end && *p != ch::Null; p = nextFieldEnd(p + 1, end)) {
    if (*p == wanted) {
      spot.present = true;
      spot.text = p + 1;
      spot.textEnd = nextFieldEnd(p + 1, end);
      return spot;
    }
    if (*p > wanted) break;
    if (*p - FirstMarker > spot.highest) spot.highest = *p - FirstMarker;
  }
  spot.text = spot.textEnd = p;
  return spot;
}

// Field k of a record as a view into it; empty when absent or k outside 0..15.
inline TextView field(TextView rec, int k) {
  if (k < 0 || k > MaxField) return {};
  const Spot spot = locate(rec.data(), rec.data() + rec.size(), k);
  return TextView(spot.text, static_cast<std::size_t>(spot.textEnd - spot.text));
}

// Where the field text starting at `from` ends: the next marker, code 0, or
// text.size().
inline std::size_t fieldEnd(TextView text, std::size_t from) {
  if (from >= text.size()) return text.size();
  return static_cast<std::size_t>(nextFieldEnd(text.data() + from, text.data() + text.size()) - text.data());
}

// ---- The title line ----

// Field numbers of the title line (the same places as a file row's name,
// comment, size, flag and name on the medium).
inline constexpr int TitleLabel = 0;
inline constexpr int TitleText = 1;
inline constexpr int TitleTotal = 3;
inline constexpr int TitleFlags = 4;
inline constexpr int TitleSource = 5;

struct TitleField {
  TextView text;         // empty when absent
  bool present = false;  // its marker is in the title line
  bool closed = false;   // a marker or code 0 ends it inside the text read (not cut off by its end)
};

struct TitleLine {
  TitleField label;   // u"MYDISC"
  TitleField title;   // u"Games 1998"
  TitleField total;   // u"1,234,682"
  TitleField source;  // u"E:\\GAMES", or empty
};

// The title line at the start of `heap` (the heap, or only its first
// characters, as a reader that looks at the start of a list file has them).
// The line ends at the next record (code 16 after its first character), at
// code 0 or at the end of the text; its fields end at any marker or code 0.
TitleLine titleLine(TextView heap);

}  // namespace zevro::record
