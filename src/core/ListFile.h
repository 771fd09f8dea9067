#pragma once
// One catalog on disk: a 64-byte header and five blocks, CP932 text.
//
//   offset  width  content
//        0      2  tag "BX"
//        2      5  kind-code block length in bytes, hexadecimal ("001F5")
//        7      5  level string length in characters
//       12      5  tree-flag string length in characters
//       17      5  colour-index block length in bytes
//       22      6  record heap length in characters ("010000")
//       28      1  sort order digit: "2" name, "3" extension, "4" kind
//       29      1  display mode digit: "0", "1", "2" or "4"
//       30     12  icon-table stamp "YYMMDDhhmmss", or 12 blanks
//       42     15  free space of the medium in bytes, right-aligned ("    12345678901")
//       57      7  "0000000"
//       64      …  record heap (end marker and spare code 0 included), level
//                  string, kind codes, tree flags, colour indexes
//
// Hexadecimal fields are upper case when written; lower case is read too.
// Lengths of the heap count CP932 characters (a double-byte character is
// one; text CP932 cannot hold is written as escape text "&#x1F600;", counted
// as the characters of the escape). The level, flag, kind and colour blocks
// are bytes, never decoded.
//
// The older layout "AX" (read only, for the conversion of old data):
//
//   offset  width  content
//        0      2  tag "AX"
//        2      4  kind-code block length, hexadecimal
//        6      4  level string length, hexadecimal
//       10      6  record heap length in characters, hexadecimal
//       16      1  sort digit: "0" name order, anything else extension order
//       17      4  not used
//       21      …  record heap (older record format), kind codes, level string,
//                  then optionally 64 characters: "S" + free space in 12 characters
//
// Each block is read and written in one piece: the heap is decoded in one
// call and the rows are found afterwards by the row store's index rebuild.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/ListSort.h"
#include "core/RowStore.h"
#include "platform/FileSystem.h"
#include "text/Text.h"

namespace zevro::listfile {

inline constexpr std::string_view CurrentTag = "BX";
inline constexpr std::string_view OldTag = "AX";
inline constexpr std::size_t HeaderSize = 64;
inline constexpr std::size_t OldHeaderSize = 21;
// The largest lengths the header's fields hold: six and five hexadecimal digits.
inline constexpr std::size_t MaxHeapLength = 0xFFFFFF;
inline constexpr std::size_t MaxBlockLength = 0xFFFFF;
inline constexpr std::size_t StampWidth = 12;
inline constexpr std::size_t FreeSpaceWidth = 15;
// How much of the heap tells the title line's label without reading it all.
inline constexpr std::size_t TitleLineProbe = 512;
// The bytes that hold the header and the first TitleLineProbe characters
// (two bytes at most each): all a title or label is read from.
inline constexpr std::size_t TitleBytes = HeaderSize + 2 * TitleLineProbe;
// No list file can be larger: the header, the heap's characters at two bytes
// each and the four per-row blocks at their largest. A larger file is none of
// ours and is refused before a byte of it is read.
inline constexpr std::uint64_t MaxFileSize = HeaderSize + 2 * std::uint64_t{MaxHeapLength} + 4 * std::uint64_t{MaxBlockLength};

struct Header {
  std::string tag = std::string(CurrentTag);  // as read, like "BX" or "CX"; always "BX" when written
  ListSort sortOrder = ListSort::None;        // the digit: "2" name, "3" extension, "4" kind, "0" none
  int displayMode = 0;                        // 0, 1, 2 or 4
  Text iconStamp;                             // u"240131120000", or 12 blanks (written for empty too)
  std::int64_t freeSpace = 0;                 // bytes, like 123456789
};

enum class ReadStatus {
  Ok,          // the whole file was read
  Truncated,   // blocks shorter than the header says: what is there was loaded
  OldLayout,   // tag "AX": needs the conversion of old data; store untouched
  Damaged,     // not a list file (short or unreadable header, foreign heap); store untouched
  CannotRead,  // the system refused the read (see error); store untouched
};

struct ReadResult {
  ReadStatus status = ReadStatus::Damaged;
  Header header;
  IoError error;  // CannotRead only
  bool loaded() const { return status == ReadStatus::Ok || status == ReadStatus::Truncated; }
};

// Fills the store from a list file's bytes (Ok / Truncated): blocks loaded,
// index rebuilt, sort order set, not modified. Any other status leaves the
// store as it was. Never reads outside `bytes`.
ReadResult parse(std::string_view bytes, RowStore& store);

// The same for a file on disk.
ReadResult read(FileSystem& files, const NativePath& path, RowStore& store);

// The volume label of a current-layout file's title line (field 0 of row 0),
// read from the first 512 heap characters like u"MYDISC"; nullopt when the tag
// is not "BX", the header is damaged or no code-17 marker is found there.
std::optional<Text> titleLineLabel(std::string_view bytes);

// What keeps a store from being written.
enum class Limit {
  Ok,
  TooManyRows,        // 1,048,576 rows or more: the level string's length field overflows
  TooManyCharacters,  // the heap's records take 16,777,216 characters or more
};
Limit checkLimits(const RowStore& store);

// The bytes of a list file for the store, or nullopt when checkLimits
// refuses it. The tag is "BX" and the sort order the store's; the header
// gives display mode, icon stamp and free space. Spare capacity is written
// as code 0 after the end marker and after each per-row block, less of it
// where the whole would not fit its length field.
std::optional<std::string> build(const RowStore& store, const Header& header);

// The older layout's blocks, as the conversion of old data needs them. The
// heap is in the older record format, so it is not put into a row store here.
struct OldListBlocks {
  Text heap;                            // records, end marker, spare
  std::string kinds;                    // one byte per row
  std::string levels;                   // one byte per row
  ListSort sortOrder = ListSort::Name;  // name or extension
  std::int64_t freeSpace = 0;
  bool hasTrailer = false;
  bool truncated = false;  // blocks shorter than the header says
};

// Reads an "AX" file's bytes (the tag included); false when the tag is not
// "AX" or the header cannot be read.
bool parseOldLayout(std::string_view bytes, OldListBlocks& blocks);

// The five lengths a current header gives, each a fixed-width hexadecimal
// field (either case): the blocks' lengths and the heap's in characters.
struct BlockLengths {
  std::size_t kinds = 0;
  std::size_t levels = 0;
  std::size_t flags = 0;
  std::size_t colours = 0;
  std::size_t heap = 0;
};
// Nothing when the bytes are shorter than a header or a field is not hex.
// The tag is not looked at.
std::optional<BlockLengths> blockLengths(std::string_view bytes);

// Bytes that hold `characters` CP932 characters from the start of `bytes`
// (fewer when the bytes end first): a lead byte and a valid trail byte are
// one character, every other byte is one.
std::size_t byteLengthOfCharacters(std::string_view bytes, std::size_t characters);

}  // namespace zevro::listfile
