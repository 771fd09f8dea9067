#pragma once
// One list file's bytes as a search reads them: the header checked, the
// title taken from the title line, and the record heap and level string
// found without decoding anything, so that a catalog without hits costs a
// byte search and nothing more.
//
//   ListFileBytes file(bytes);          // bytes of "_03CD_GAMES.cct", kept by the caller
//   file.layout()   -> Layout::Current  ("BX", a readable header, a heap of records)
//   file.title()    -> u"ゲーム集"        (field 1 of the title line, blanks trimmed)
//   file.body()     -> the bytes after the 64-byte header: heap, spare, per-row blocks
//   file.heap()     -> the records: from the title line's code 16 up to the end marker
//   file.levels()   -> one byte per row, the level string
//
// Byte positions are safe to take without decoding because the markers of
// the record format (codes 0 and 16 to 31) never occur inside a CP932
// character: trail bytes start at 0x40.
#include <cstddef>
#include <optional>
#include <string_view>

#include "text/Text.h"

namespace zevro {

class ListFileBytes {
public:
  enum class Layout {
    Current,  // tag "BX" and a heap of the current record format
    Old,      // tag "AX": needs the conversion of old data
    Damaged,  // any other tag, a header that cannot be read, or a foreign heap
  };

  // The bytes must outlive this object.
  explicit ListFileBytes(std::string_view bytes);

  Layout layout() const { return layout_; }

  // Field 1 of the title line, blanks trimmed at both ends (a field ends at
  // any field marker or the end marker); empty when the file is not Current.
  Text title() const;

  // Everything after the header; empty when the file is not Current.
  std::string_view body() const { return body_; }

  // The records, from the title line's code 16 up to (not including) the end
  // marker, or up to the heap's length when no end marker comes first. The
  // first call finds the heap's end from the end of the file (the blocks
  // after the heap have lengths in bytes), or, in a file whose end does not
  // agree, by walking the heap's characters.
  std::string_view heap();

  // The level string as far as the file holds it (first call as for heap()).
  std::string_view levels();

private:
  void measure();

  std::string_view bytes_;
  std::string_view body_;
  Layout layout_ = Layout::Damaged;
  std::size_t heapCharacters_ = 0;
  std::size_t levelLength_ = 0;
  std::size_t tailLength_ = 0;  // the level, kind, flag and colour blocks: bytes after the heap
  std::optional<std::string_view> heap_;
  std::string_view levels_;
};

}  // namespace zevro
