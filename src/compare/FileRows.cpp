#include "compare/FileRows.h"

#include <algorithm>
#include <array>

#include "core/ListFile.h"
#include "search/ListFileBytes.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

bool isMarker(char b) { return b >= 0x10 && b <= 0x1F; }

// The field that starts after the marker at `from` (or at `from` itself
// when it is no marker), up to the next marker or `to`.
std::string_view fieldFrom(std::string_view heap, std::size_t from, std::size_t to) {
  std::size_t stop = from;
  while (stop < to && !isMarker(heap[stop])) ++stop;
  return heap.substr(from, stop - from);
}

}  // namespace

FileRows::FileRows(std::string_view bytes) {
  ListFileBytes file(bytes);
  if (file.layout() != ListFileBytes::Layout::Current) return;
  const std::optional<listfile::BlockLengths> lengths = listfile::blockLengths(bytes);
  if (!lengths) return;
  heap_ = file.heap();
  levels_ = file.levels();
  // The kind codes follow the level string.
  const std::string_view body = file.body();
  const std::size_t kindsAt = static_cast<std::size_t>(levels_.data() - body.data()) + lengths->levels;
  if (kindsAt < body.size()) kinds_ = body.substr(kindsAt, lengths->kinds);
  readable_ = !heap_.empty() && heap_[0] == '\x10';
  if (!readable_) heap_ = {};
}

std::string_view FileRows::nameOf(std::size_t from, std::size_t to) const { return fieldFrom(heap_, from + 1, to); }

FileRows::Raw FileRows::fieldsOf(std::size_t from, std::size_t to, std::string_view name) const {
  Raw raw;
  raw.name = name;
  const std::string_view record = heap_.substr(from, to - from);
  // Comments run long; the markers after them are found by a byte search.
  const std::size_t date = record.find('\x12', 1 + raw.name.size());
  if (date == std::string_view::npos) return raw;
  raw.date = fieldFrom(heap_, from + date + 1, to);
  const std::size_t size = date + 1 + raw.date.size();
  // A date is written after blanks in some older lists.
  while (!raw.date.empty() && raw.date.front() == ' ') raw.date.remove_prefix(1);
  if (size < record.size() && record[size] == '\x13') raw.size = fieldFrom(heap_, from + size + 1, to);
  return raw;
}

std::uint64_t FileRows::sizeOf(std::string_view field) {
  std::uint64_t n = 0;
  for (const char c : field) {
    if (c == ',') continue;
    if (c < '0' || c > '9') break;
    n = n * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return n;
}

std::size_t FileRows::appendDecoded(std::string_view bytes, Text& out) {
  const std::size_t at = out.size();
  out.resize(at + bytes.size());
  out.resize(at + cp932::decodeInto(bytes, out.data() + at));
  return out.size() - at;
}

Text FileRows::pathOf(const FileRow& row) const {
  std::size_t bytes = row.name.size();
  const int top = std::min(row.level, static_cast<int>(names_.size()));
  for (int level = 1; level < top; ++level) bytes += names_[static_cast<std::size_t>(level)].size() + 1;
  Text path;
  path.reserve(bytes);
  appendPath(row, path);
  return path;
}

std::size_t FileRows::appendPath(const FileRow& row, Text& out) const {
  const int top = std::min(row.level, static_cast<int>(names_.size()));
  for (int level = 1; level < top; ++level) {
    appendDecoded(names_[static_cast<std::size_t>(level)], out);
    out += u'\\';
  }
  return appendDecoded(row.name, out);
}

std::size_t FileRows::recordEnd(std::size_t at) const {
  const void* next = std::char_traits<char>::find(heap_.data() + at + 1, heap_.size() - at - 1, '\x10');
  return next ? static_cast<std::size_t>(static_cast<const char*>(next) - heap_.data()) : heap_.size();
}

bool FileRows::rowAt(int row, std::uint32_t at, FileRow& r) const {
  if (at >= heap_.size() || heap_[at] != '\x10') return false;
  const std::size_t end = recordEnd(at);
  const Raw raw = fieldsOf(at, end, nameOf(at, end));
  r = FileRow{row, levelOf(row), raw.name, raw.date, sizeOf(raw.size), false};
  return true;
}

bool FileRows::appendPathFrom(std::span<const Place> places, int row, Text& out, std::size_t& nameUnits) const {
  // The rows above, nearest first; their levels fall with each step, so
  // there are fewer than 256 of them.
  std::array<int, 257> chain;
  std::size_t count = 0;
  for (int r = row; r >= 0; ++count) {
    if (count == chain.size() || static_cast<std::size_t>(r) >= places.size()) return false;
    const Place& p = places[static_cast<std::size_t>(r)];
    if (p.at >= heap_.size() || heap_[p.at] != '\x10' || p.parent >= r) return false;
    chain[count] = r;
    r = p.parent;
  }
  // As a walk keeps them: a level no row above fills shows as an empty
  // name; the rows of level 0 (the title line) are no part of a path.
  const int own = levelOf(row);
  int level = 0;
  for (std::size_t k = count; k-- > 1;) {
    const int r = chain[k];
    const int l = levelOf(r);
    if (l < 1) continue;
    if (l <= level || l >= own) return false;
    out.append(static_cast<std::size_t>(l - level - 1), u'\\');
    const std::uint32_t at = places[static_cast<std::size_t>(r)].at;
    appendDecoded(nameOf(at, heap_.size()), out);
    out += u'\\';
    level = l;
  }
  if (own > level + 1) out.append(static_cast<std::size_t>(own - level - 1), u'\\');
  nameUnits = appendDecoded(nameOf(places[static_cast<std::size_t>(row)].at, heap_.size()), out);
  return true;
}

}  // namespace zevro
