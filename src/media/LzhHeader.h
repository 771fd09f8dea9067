#pragma once
// The name and the date an LZH member header stores, read from the header's
// own bytes: the library that reads LZH turns every "\" byte of a name into
// a separator, which cuts CP932 names such as 表 (0x95 0x5C) in two.
//
// Header levels (offsets in bytes from the header's start):
//   0, 1  [21] name length, [22..] name (CP932, "\" between folders),
//         [15..16] DOS time, [17..18] DOS date; level 1 continues with
//         extended headers, the first one's size in the base header's
//         last two bytes [hsize] (2-byte sizes)
//   2     [15..18] Unix time; the first extended header's size at [24] (2 bytes)
//   3     [15..18] Unix time; the first extended header's size at [28] (4 bytes)
// Extended header types: 0x01 file name, 0x02 folder name (0xFF between
// folders), 0x54 Unix time.
#include <cstdint>
#include <optional>
#include <string_view>

#include "text/Text.h"

namespace zevro {

struct LzhHeaderFields {
  Text path;                             // u"doc/表示.txt": decoded, "/" between folders
  std::optional<std::uint16_t> dosDate;  // levels 0 and 1
  std::optional<std::uint16_t> dosTime;
  std::optional<std::int64_t> unixTime;  // levels 2, 3, or an extended header 0x54
};

// Nothing when the bytes are too short for what they announce.
std::optional<LzhHeaderFields> readLzhHeader(std::string_view raw, int level);

}  // namespace zevro
