#include "search/ListFileBytes.h"

#include <cstring>

#include "core/Cp932.h"
#include "core/ListFile.h"

namespace zevro {

namespace {

// Header fields that a readable header must hold as hexadecimal numbers:
// kind-code, level, tree-flag and colour block lengths (5 digits each from
// offset 2), and the heap length (6 digits at offset 22).
constexpr std::size_t LevelLengthAt = 7;
constexpr std::size_t HeapLengthAt = 22;
constexpr std::size_t BlockFieldsAt = 2;
constexpr std::size_t BlockFieldWidth = 5;
constexpr std::size_t BlockFields = 4;
constexpr std::size_t HeapFieldWidth = 6;

constexpr char RowStartByte = 0x10;
constexpr char NameEndByte = 0x11;

std::optional<std::size_t> hexAt(std::string_view bytes, std::size_t at, std::size_t width) {
  std::size_t value = 0;
  for (std::size_t i = at; i < at + width; ++i) {
    const char c = bytes[i];
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<std::size_t>(digit);
  }
  return value;
}

// A byte that ends a field: the end marker or a field marker.
bool endsField(char b) { return b == 0 || (b >= 0x10 && b <= 0x1F); }

std::size_t fieldEnd(std::string_view bytes, std::size_t from) {
  while (from < bytes.size() && !endsField(bytes[from])) ++from;
  return from;
}

Text trimBlanks(Text text) {
  const std::size_t first = text.find_first_not_of(u' ');
  if (first == Text::npos) return {};
  return text.substr(first, text.find_last_not_of(u' ') - first + 1);
}

}  // namespace

ListFileBytes::ListFileBytes(std::string_view bytes) : bytes_(bytes) {
  if (bytes.substr(0, 2) == listfile::OldTag) {
    layout_ = Layout::Old;
    return;
  }
  if (bytes.substr(0, 2) != listfile::CurrentTag || bytes.size() < listfile::HeaderSize) return;
  for (std::size_t k = 0; k < BlockFields; ++k)
    if (!hexAt(bytes, BlockFieldsAt + k * BlockFieldWidth, BlockFieldWidth)) return;
  const std::optional<std::size_t> heapCharacters = hexAt(bytes, HeapLengthAt, HeapFieldWidth);
  if (!heapCharacters) return;
  const std::string_view body = bytes.substr(listfile::HeaderSize);
  // An empty heap, or one that starts with the title line's code 16.
  if (*heapCharacters > 0 && !body.empty() && body[0] != RowStartByte && body[0] != 0) return;
  heapCharacters_ = *heapCharacters;
  levelLength_ = *hexAt(bytes, LevelLengthAt, BlockFieldWidth);
  body_ = body;
  layout_ = Layout::Current;
}

Text ListFileBytes::title() const {
  if (layout_ != Layout::Current || heapCharacters_ == 0 || body_.empty() || body_[0] != RowStartByte) return {};
  const std::size_t labelEnd = fieldEnd(body_, 1);
  if (labelEnd >= body_.size() || body_[labelEnd] != NameEndByte) return {};
  const std::size_t titleEnd = fieldEnd(body_, labelEnd + 1);
  return trimBlanks(cp932::decode(body_.substr(labelEnd + 1, titleEnd - labelEnd - 1)));
}

std::string_view ListFileBytes::heap() {
  if (!heap_) measure();
  return *heap_;
}

std::string_view ListFileBytes::levels() {
  if (!heap_) measure();
  return levels_;
}

void ListFileBytes::measure() {
  const std::size_t span = listfile::byteLengthOfCharacters(body_, heapCharacters_);
  const void* endMarker = std::memchr(body_.data(), 0, span);
  const std::size_t used = endMarker ? static_cast<std::size_t>(static_cast<const char*>(endMarker) - body_.data())
                                     : span;
  heap_ = body_.substr(0, used);
  levels_ = body_.substr(span, levelLength_);
}

}  // namespace zevro
