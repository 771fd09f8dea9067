#include "search/ListFileBytes.h"

#include <cstdint>
#include <cstring>

#include "core/ListFile.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

constexpr char RowStartByte = 0x10;
constexpr char NameEndByte = 0x11;

// A byte that ends a field: the end marker or a field marker.
bool endsField(char b) { return b == 0 || (b >= 0x10 && b <= 0x1F); }

std::size_t fieldEnd(std::string_view bytes, std::size_t from) {
  while (from < bytes.size() && !endsField(bytes[from])) ++from;
  return from;
}

// Where the run of code-0 bytes that ends at `end` begins; the spare room
// after the end marker is such a run, kilobytes long: 64 bytes are checked
// at once, then eight.
std::size_t zeroRunStart(std::string_view bytes, std::size_t end) {
  while (end >= 64) {
    std::uint64_t words[8];
    std::memcpy(words, bytes.data() + end - 64, 64);
    std::uint64_t any = 0;
    for (const std::uint64_t w : words) any |= w;
    if (any != 0) break;
    end -= 64;
  }
  while (end >= 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes.data() + end - 8, 8);
    if (word != 0) break;
    end -= 8;
  }
  while (end > 0 && bytes[end - 1] == 0) --end;
  return end;
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
  if (bytes.substr(0, 2) != listfile::CurrentTag) return;
  const std::optional<listfile::BlockLengths> lengths = listfile::blockLengths(bytes);
  if (!lengths) return;
  const std::string_view body = bytes.substr(listfile::HeaderSize);
  // An empty heap, or one that starts with the title line's code 16.
  if (lengths->heap > 0 && !body.empty() && body[0] != RowStartByte && body[0] != 0) return;
  heapCharacters_ = lengths->heap;
  levelLength_ = lengths->levels;
  tailLength_ = lengths->levels + lengths->kinds + lengths->flags + lengths->colours;
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

// The heap ends where the blocks after it begin, which a whole file shows
// from its end: the heap's end marker and spare (all code 0) lie just before
// them, and no other byte of the heap is 0. The level string found there
// must start as every list's does, with the title line's level 0 and a
// level-1 row; a file cut short or padded fails that (no row but the title
// line has level 0) and has its heap's characters counted instead (a
// double-byte character is one), which finds the same place in one pass.
void ListFileBytes::measure() {
  if (tailLength_ <= body_.size() && levelLength_ >= 2) {
    const std::size_t blocks = body_.size() - tailLength_;
    const std::size_t used = zeroRunStart(body_, blocks);
    // Each character takes one or two bytes.
    const bool heapFits = used < blocks && blocks >= heapCharacters_ && blocks <= 2 * heapCharacters_;
    if (heapFits && body_[blocks] == 0 && body_[blocks + 1] == 1) {
      heap_ = body_.substr(0, used);
      levels_ = body_.substr(blocks, levelLength_);
      return;
    }
  }
  const std::size_t span = listfile::byteLengthOfCharacters(body_, heapCharacters_);
  const void* endMarker = std::memchr(body_.data(), 0, span);
  const std::size_t used =
      endMarker ? static_cast<std::size_t>(static_cast<const char*>(endMarker) - body_.data()) : span;
  heap_ = body_.substr(0, used);
  levels_ = body_.substr(span, levelLength_);
}

}  // namespace zevro
