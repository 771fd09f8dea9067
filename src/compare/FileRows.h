#pragma once
// The file rows of one list file, walked straight over its bytes: for each
// row whose kind code marks a file (above 5), its name, date and size as
// the record holds them, and whether it lies inside an archive. Folders
// and the title line are passed over; nothing is decoded unless asked.
//
//   heap    "\x10VOL\x11Title\x12…\x10DOCS\x11\x12…\x10README.TXT\x11Read me\x12" "99/12/31 23:55\x13" "1,234\x14" "0"
//   levels  "\x00\x01\x02"      kinds "\x04\x01\x06"
//   FileRows rows(bytes);
//   rows.forEach(false, [&](const FileRow& r) { … });
//     -> {row 2, level 2, name "README.TXT", date "99/12/31 23:55", size 1234, member false}
//   rows.pathOf(r)  -> u"DOCS\\README.TXT"   (only while forEach is at r)
//
// An archive's listed contents are the rows one level and more below a file
// row (a .LZH or .ZIP row); they are members and are given only when asked.
#include <bit>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "text/Text.h"

namespace zevro {

struct FileRow {
  int row = 0;             // stored row, 1 for the first row below the title line
  int level = 0;           // 1 for an entry of the medium's root folder
  std::string_view name;   // field 0 as CP932 bytes, "README.TXT"
  std::string_view date;   // field 2 as CP932 bytes, "99/12/31 23:55", or empty
  std::uint64_t size = 0;  // field 3, "1,234" -> 1234; 0 when empty
  bool member = false;     // listed inside an archive
};

class FileRows {
public:
  // The bytes of a list file of the current layout ("BX"); they must outlive
  // this object. Anything else walks no rows.
  explicit FileRows(std::string_view bytes);

  bool readable() const { return readable_; }
  // Rows of the heap, the title line included (after a walk).
  int rowCount() const { return rows_; }
  // The rows the level string lists (the heap's rows in a sound file).
  std::size_t rowsListed() const { return levels_.size(); }

  // Calls f(const FileRow&) for every file row in stored order; members
  // only when `members` is set. f returns false to stop the walk.
  template <class F>
  void forEach(bool members, F&& f) {
    const auto every = [](int) { return true; };
    forEachWanted(members, every, std::forward<F>(f));
  }

  // The same, but only the file rows for whose stored row wanted(row) is
  // true are given (and their fields read): a walk back to rows known
  // already costs little more than the names of the others.
  template <class W, class F>
  void forEachWanted(bool members, W&& wanted, F&& f);

  // The row path of the row forEach is at: its ancestors' names from level
  // 1 down, each followed by "\", then its own name.
  Text pathOf(const FileRow& row) const;
  // The same, written onto the end of `out`; gives the units of the name.
  std::size_t appendPath(const FileRow& row, Text& out) const;

  // Where a row lies: the start of its record in the heap, and the nearest
  // row before it of a lower level (the folder or archive it lies in; -1
  // for none). A row's path follows from these alone.
  struct Place {
    std::uint32_t at;
    std::int32_t parent;
  };
  // forEach over every file row, members as asked, that also appends the
  // place of every row (the title line's first) to `places`.
  template <class F>
  void forEachPlacing(bool members, std::vector<Place>& places, F&& f);

  // The file row `row` from its place, fields as forEach gives them
  // (`member` is not known here). False when `at` is no record of these
  // bytes.
  bool rowAt(int row, std::uint32_t at, FileRow& r) const;
  // Asks for the memory of the record at `at` ahead of rowAt.
  void prefetch(std::uint32_t at) const {
    if (at < heap_.size()) __builtin_prefetch(heap_.data() + at);
  }
  // The row path of `row` from the places a walk of these bytes recorded
  // (indexed by row), onto the end of `out`; the units of the name go to
  // nameUnits. False when the places do not fit these bytes.
  bool appendPathFrom(std::span<const Place> places, int row, Text& out, std::size_t& nameUnits) const;

  // A size field as a number: "1,234,567" -> 1234567, "" -> 0; the digits
  // before anything that is neither a digit nor a comma.
  static std::uint64_t sizeOf(std::string_view field);
  // A field's bytes decoded onto the end of `out` (no text of their own);
  // gives the units written.
  static std::size_t appendDecoded(std::string_view bytes, Text& out);

private:
  struct Raw {
    std::string_view name, date, size;
  };
  // The first marker code (0x10 to 0x1F) from `at` on, or the heap's end.
  std::size_t markerFrom(std::size_t at) const {
    // Eight bytes at a time: a byte whose top half is 1 shows as a zero byte
    // of `y`, the lowest of which the subtraction finds.
    constexpr std::uint64_t Ones = 0x0101010101010101ULL;
    for (std::uint64_t word; at + 8 <= heap_.size(); at += 8) {
      std::memcpy(&word, heap_.data() + at, sizeof word);
      const std::uint64_t y = (word & (0xF0 * Ones)) ^ (0x10 * Ones);
      const std::uint64_t zero = (y - Ones) & ~y & (0x80 * Ones);
      if (zero) return at + static_cast<std::size_t>(std::countr_zero(zero) / 8);
    }
    while (at < heap_.size() && (static_cast<unsigned char>(heap_[at]) & 0xF0) != 0x10) ++at;
    return at;
  }
  // The name (field 0) of the record that starts at `at`.
  std::string_view nameAt(std::size_t at) const;
  // The fields of a record whose name ends at the marker at `nameEnd`, read
  // in one sweep that never passes the next record's start; `scanned` gets
  // where it stopped.
  Raw fieldsAfter(std::string_view name, std::size_t nameEnd, std::size_t& scanned) const;
  int levelOf(int row) const {
    return row >= 0 && row < static_cast<int>(levels_.size()) ? static_cast<unsigned char>(levels_[row]) : 0;
  }
  // The walk behind forEachWanted and forEachPlacing: placed(row, at,
  // level) for every row; names kept for pathOf when asked.
  template <bool KeepNames, class W, class F, class P>
  void walk(bool members, W&& wanted, F&& f, P&& placed);

  std::string_view heap_;
  std::string_view levels_;
  std::string_view kinds_;
  bool readable_ = false;
  int rows_ = 0;
  // names_[L]: field 0 of the last row of level L seen so far.
  std::vector<std::string_view> names_;
};

template <class W, class F>
void FileRows::forEachWanted(bool members, W&& wanted, F&& f) {
  walk<true>(members, std::forward<W>(wanted), std::forward<F>(f), [](int, std::size_t, int) {});
}

template <class F>
void FileRows::forEachPlacing(bool members, std::vector<Place>& places, F&& f) {
  // The rows that may still be the nearest of a lower level to a row to come.
  std::vector<std::pair<int, std::int32_t>> open;  // level, row
  const auto place = [&](int row, std::size_t at, int level) {
    while (!open.empty() && open.back().first >= level) open.pop_back();
    places.push_back({static_cast<std::uint32_t>(at), open.empty() ? -1 : open.back().second});
    open.emplace_back(level, row);
  };
  const auto every = [](int) { return true; };
  walk<false>(members, every, std::forward<F>(f), place);
}

template <bool KeepNames, class W, class F, class P>
void FileRows::walk(bool members, W&& wanted, F&& f, P&& placed) {
  constexpr int None = 1 << 30;
  names_.clear();
  rows_ = 0;
  int archiveLevel = None;  // level of the file row whose contents are being walked
  std::size_t at = 0;
  int row = 0;
  while (at < heap_.size()) {
    const int level = row < static_cast<int>(levels_.size()) ? static_cast<unsigned char>(levels_[row]) : 0;
    const int kind = row < static_cast<int>(kinds_.size()) ? static_cast<unsigned char>(kinds_[row]) : 0;
    placed(row, at, level);
    const std::size_t nameEnd = markerFrom(at + 1);
    const std::string_view name = heap_.substr(at + 1, nameEnd - at - 1);
    std::size_t scanned = nameEnd;  // the record's bytes read so far
    if constexpr (KeepNames) {
      if (static_cast<int>(names_.size()) <= level) names_.resize(static_cast<std::size_t>(level) + 1);
      names_[static_cast<std::size_t>(level)] = name;
      names_.resize(static_cast<std::size_t>(level) + 1);
    }
    if (level <= archiveLevel) archiveLevel = None;
    const bool member = archiveLevel != None;
    if (row > 0 && kind > 5) {
      if (!member) archiveLevel = level;
      if ((!member || members) && wanted(row)) {
        const Raw raw = fieldsAfter(name, nameEnd, scanned);
        const FileRow r{row, level, raw.name, raw.date, sizeOf(raw.size), member};
        if (!f(r)) {
          rows_ = row + 1;
          return;
        }
      }
    }
    // The next record starts at the next code 0x10.
    const void* next = std::char_traits<char>::find(heap_.data() + scanned, heap_.size() - scanned, '\x10');
    at = next ? static_cast<std::size_t>(static_cast<const char*>(next) - heap_.data()) : heap_.size();
    ++row;
  }
  rows_ = row;
}

}  // namespace zevro
