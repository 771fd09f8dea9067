#include "core/ListFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

#include "core/Numbers.h"
#include "core/Record.h"
#include "text/Cp932.h"

namespace zevro::listfile {

namespace {

// Field offsets of the current header (bytes from the file's start).
constexpr std::size_t KindLengthAt = 2;
constexpr std::size_t LevelLengthAt = 7;
constexpr std::size_t FlagLengthAt = 12;
constexpr std::size_t ColourLengthAt = 17;
constexpr std::size_t HeapLengthAt = 22;
constexpr std::size_t SortAt = 28;
constexpr std::size_t DisplayModeAt = 29;
constexpr std::size_t StampAt = 30;
constexpr std::size_t FreeSpaceAt = 42;
constexpr std::size_t BlockFieldWidth = 5;
constexpr std::size_t HeapFieldWidth = 6;
constexpr std::string_view HeaderEnd = "0000000";

// Field offsets of the older header.
constexpr std::size_t OldKindLengthAt = 2;
constexpr std::size_t OldLevelLengthAt = 6;
constexpr std::size_t OldHeapLengthAt = 10;
constexpr std::size_t OldSortAt = 16;
constexpr std::size_t OldFieldWidth = 4;
constexpr std::size_t OldTrailerSize = 64;
constexpr std::size_t OldFreeSpaceAt = 1;
constexpr std::size_t OldFreeSpaceWidth = 12;

// A fixed-width hexadecimal field, every character a digit (either case).
std::optional<std::size_t> hexAt(std::string_view bytes, std::size_t at, std::size_t width) {
  std::size_t value = 0;
  for (std::size_t i = at; i < at + width; ++i) {
    const int d = hexValue(static_cast<unsigned char>(bytes[i]));
    if (d < 0) return std::nullopt;
    value = value * 16 + static_cast<std::size_t>(d);
  }
  return value;
}

// A decimal number between blanks, like "   1234567"; 0 for anything else.
std::int64_t decimalIn(std::string_view field) {
  std::size_t i = 0;
  while (i < field.size() && field[i] == ' ') ++i;
  bool negative = false;
  if (i < field.size() && field[i] == '-') {
    negative = true;
    ++i;
  }
  std::int64_t value = 0;
  std::size_t digits = 0;
  for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i, ++digits) {
    if (digits >= 18) return 0;  // more than the field can mean
    value = value * 10 + (field[i] - '0');
  }
  while (i < field.size() && field[i] == ' ') ++i;
  if (i != field.size() || digits == 0) return 0;
  return negative ? -value : value;
}

int digitAt(std::string_view bytes, std::size_t at) {
  const char c = bytes[at];
  return c >= '0' && c <= '9' ? c - '0' : 0;
}

char digitChar(int value) { return value >= 0 && value <= 9 ? static_cast<char>('0' + value) : '0'; }

using cp932::isLeadByte;
using cp932::isTrailByte;

struct Span {
  std::size_t bytes = 0;
  std::size_t characters = 0;
};

Span spanOfCharacters(std::string_view text, std::size_t characters) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  std::size_t i = 0;
  std::size_t count = 0;
  constexpr std::uint64_t HighBits = 0x8080808080808080ULL;
  while (i < n && count < characters) {
    // Runs of ASCII (and the code 0 spare) go eight bytes at a time.
    if (n - i >= 8 && characters - count >= 8) {
      std::uint64_t word = 0;
      std::memcpy(&word, p + i, 8);
      if ((word & HighBits) == 0) {
        i += 8;
        count += 8;
        continue;
      }
    }
    const unsigned b = p[i];
    i += isLeadByte(b) && i + 1 < n && isTrailByte(p[i + 1]) ? 2 : 1;
    ++count;
  }
  return {i, count};
}

// The part of `bytes` from `at` that is at most `length` long.
std::string_view take(std::string_view bytes, std::size_t& at, std::size_t length, bool& short_) {
  const std::size_t available = bytes.size() - std::min(at, bytes.size());
  if (available < length) short_ = true;
  const std::size_t n = std::min(available, length);
  std::string_view part = bytes.substr(std::min(at, bytes.size()), n);
  at += n;
  return part;
}

Header headerOf(std::string_view bytes) {
  Header header;
  header.tag = std::string(bytes.substr(0, 2));
  header.sortOrder = listSortOfStored(digitAt(bytes, SortAt));
  header.displayMode = digitAt(bytes, DisplayModeAt);
  header.iconStamp = cp932::decode(bytes.substr(StampAt, StampWidth));
  header.freeSpace = decimalIn(bytes.substr(FreeSpaceAt, FreeSpaceWidth));
  return header;
}

// A heap of the current record format starts with the code-16 marker of the
// title line, or is empty (code 0 at once).
bool heapLooksCurrent(std::string_view heap) { return heap.empty() || heap[0] == '\x10' || heap[0] == '\0'; }

// The per-row block as written: the store's bytes, then code 0 up to `length`.
void appendBlock(std::string& out, std::string_view block, std::size_t length) {
  out.append(block.data(), std::min(block.size(), length));
  if (length > block.size()) out.append(length - block.size(), '\0');
}

void appendHex(std::string& out, std::size_t value, int width) {
  out += narrowAscii(hexField(static_cast<std::uint32_t>(value), width));
}

}  // namespace

std::optional<BlockLengths> blockLengths(std::string_view bytes) {
  if (bytes.size() < HeaderSize) return std::nullopt;
  const auto kinds = hexAt(bytes, KindLengthAt, BlockFieldWidth);
  const auto levels = hexAt(bytes, LevelLengthAt, BlockFieldWidth);
  const auto flags = hexAt(bytes, FlagLengthAt, BlockFieldWidth);
  const auto colours = hexAt(bytes, ColourLengthAt, BlockFieldWidth);
  const auto heap = hexAt(bytes, HeapLengthAt, HeapFieldWidth);
  if (!kinds || !levels || !flags || !colours || !heap) return std::nullopt;
  return BlockLengths{*kinds, *levels, *flags, *colours, *heap};
}

std::size_t byteLengthOfCharacters(std::string_view bytes, std::size_t characters) {
  return spanOfCharacters(bytes, characters).bytes;
}

ReadResult parse(std::string_view bytes, RowStore& store) {
  ReadResult result;
  if (bytes.size() >= 2) result.header.tag = std::string(bytes.substr(0, 2));
  if (bytes.substr(0, 2) == OldTag) {
    result.status = ReadStatus::OldLayout;
    return result;
  }
  const std::optional<BlockLengths> lengths = blockLengths(bytes);
  if (!lengths) return result;  // Damaged
  result.header = headerOf(bytes);

  const std::string_view body = bytes.substr(HeaderSize);
  const Span heapSpan = spanOfCharacters(body, lengths->heap);
  const std::string_view heapBytes = body.substr(0, heapSpan.bytes);
  if (!heapLooksCurrent(heapBytes)) return result;  // Damaged

  bool truncated = heapSpan.characters < lengths->heap;
  std::size_t at = HeaderSize + heapSpan.bytes;
  const std::string_view levels = take(bytes, at, lengths->levels, truncated);
  const std::string_view kinds = take(bytes, at, lengths->kinds, truncated);
  const std::string_view flags = take(bytes, at, lengths->flags, truncated);
  const std::string_view colours = take(bytes, at, lengths->colours, truncated);

  try {
    const auto decodeHeap = [heapBytes](char16_t* out) { return cp932::decodeInto(heapBytes, out); };
    if (!store.loadBlocks(heapBytes.size(), decodeHeap, levels, flags, kinds, colours)) throw std::bad_alloc();
  } catch (const std::bad_alloc&) {
    result.status = ReadStatus::CannotRead;
    result.error = IoError{ENOMEM, "Cannot allocate memory"};
    return result;
  }
  store.setSortOrder(result.header.sortOrder);
  store.setModified(false);
  result.status = truncated ? ReadStatus::Truncated : ReadStatus::Ok;
  return result;
}

ReadResult read(FileSystem& files, const NativePath& path, RowStore& store) {
  std::string bytes;
  if (IoError error = files.readFile(path, bytes, MaxFileSize)) {
    ReadResult result;
    result.status = ReadStatus::CannotRead;
    result.error = std::move(error);
    return result;
  }
  return parse(bytes, store);
}

std::optional<Text> titleLineLabel(std::string_view bytes) {
  if (bytes.substr(0, 2) != CurrentTag) return std::nullopt;
  const std::optional<BlockLengths> lengths = blockLengths(bytes);
  if (!lengths) return std::nullopt;
  const std::string_view body = bytes.substr(HeaderSize);
  const Span probe = spanOfCharacters(body, std::min(lengths->heap, TitleLineProbe));
  const Text start = cp932::decode(body.substr(0, probe.bytes));
  // Every title line has the title's marker after the label (buildRecord
  // writes the markers up to the total); without it in the probe the label
  // may be cut off.
  const record::TitleLine line = record::titleLine(start);
  if (!line.title.present) return std::nullopt;
  return Text(line.label.text);
}

Limit checkLimits(const RowStore& store) {
  if (static_cast<std::size_t>(store.rowCount()) > MaxBlockLength) return Limit::TooManyRows;
  if (cp932::fileLength(store.heap()) > MaxHeapLength) return Limit::TooManyCharacters;
  return Limit::Ok;
}

std::optional<std::string> build(const RowStore& store, const Header& header) {
  const auto rows = static_cast<std::size_t>(store.rowCount());
  if (rows > MaxBlockLength) return std::nullopt;
  const TextView used = store.heap();  // records and the end marker
  const std::size_t usedCharacters = cp932::fileLength(used);
  if (usedCharacters > MaxHeapLength) return std::nullopt;

  const std::size_t heapCapacity = static_cast<std::size_t>(std::max(store.heapCapacity(), 0));
  const std::size_t spare =
      std::min(heapCapacity > used.size() ? heapCapacity - used.size() : 0, MaxHeapLength - usedCharacters);
  const std::size_t heapLength = usedCharacters + spare;
  // Every per-row block holds the rows and the spare capacity + 1, as far as
  // its length field reaches.
  const std::size_t capacityBlock = static_cast<std::size_t>(std::max(store.rowCapacity(), 0)) + 1;
  const std::size_t block = std::max(rows, std::min(capacityBlock, MaxBlockLength));

  // The heap is encoded straight into the file's bytes: a CP932 character
  // takes two bytes at most.
  std::string out;
  out.reserve(HeaderSize + 2 * usedCharacters + spare + 4 * block);
  out += CurrentTag;
  appendHex(out, block, BlockFieldWidth);  // kind codes
  appendHex(out, block, BlockFieldWidth);  // level string
  appendHex(out, block, BlockFieldWidth);  // tree flags
  appendHex(out, block, BlockFieldWidth);  // colour indexes
  appendHex(out, heapLength, HeapFieldWidth);
  out += digitChar(storedValue(store.sortOrder()));
  out += digitChar(header.displayMode);
  std::string stamp = cp932::encode(header.iconStamp);
  stamp.resize(StampWidth, ' ');
  out += stamp;
  out += narrowAscii(rightAligned(header.freeSpace, static_cast<int>(FreeSpaceWidth)));
  out += HeaderEnd;

  cp932::encodeAppend(used, out);
  out.append(spare, '\0');
  appendBlock(out, store.levelBlock(), block);
  appendBlock(out, store.kindBlock(), block);
  appendBlock(out, store.treeFlagBlock(), block);
  appendBlock(out, store.colourBlock(), block);
  return out;
}

bool parseOldLayout(std::string_view bytes, OldListBlocks& blocks) {
  if (bytes.size() < OldHeaderSize || bytes.substr(0, 2) != OldTag) return false;
  const auto kindLength = hexAt(bytes, OldKindLengthAt, OldFieldWidth);
  const auto levelLength = hexAt(bytes, OldLevelLengthAt, OldFieldWidth);
  const auto heapLength = hexAt(bytes, OldHeapLengthAt, HeapFieldWidth);
  if (!kindLength || !levelLength || !heapLength) return false;

  OldListBlocks out;
  out.sortOrder = bytes[OldSortAt] == '0' ? ListSort::Name : ListSort::Extension;
  const std::string_view body = bytes.substr(OldHeaderSize);
  const Span heapSpan = spanOfCharacters(body, *heapLength);
  out.truncated = heapSpan.characters < *heapLength;
  std::size_t at = OldHeaderSize + heapSpan.bytes;
  const std::string_view kinds = take(bytes, at, *kindLength, out.truncated);
  const std::string_view levels = take(bytes, at, *levelLength, out.truncated);
  if (at < bytes.size()) {
    bool shortTrailer = false;
    const std::string_view trailer = take(bytes, at, OldTrailerSize, shortTrailer);
    out.hasTrailer = true;
    if (trailer[0] == 'S' && trailer.size() > OldFreeSpaceAt)
      out.freeSpace = decimalIn(trailer.substr(OldFreeSpaceAt, OldFreeSpaceWidth));
  }
  try {
    out.heap = cp932::decode(body.substr(0, heapSpan.bytes));
    out.kinds.assign(kinds);
    out.levels.assign(levels);
  } catch (const std::bad_alloc&) {
    return false;
  }
  blocks = std::move(out);
  return true;
}

}  // namespace zevro::listfile
