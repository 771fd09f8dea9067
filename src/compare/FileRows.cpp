#include "compare/FileRows.h"

#include <algorithm>
#include <array>

#include "core/ListFile.h"
#include "search/ListFileBytes.h"
#include "text/Cp932.h"

namespace zevro {

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

std::string_view FileRows::nameAt(std::size_t at) const { return heap_.substr(at + 1, markerFrom(at + 1) - at - 1); }

FileRows::Raw FileRows::fieldsAfter(std::string_view name, std::size_t nameEnd, std::size_t& scanned) const {
  Raw raw;
  raw.name = name;
  const std::size_t n = heap_.size();
  // The date follows the first code 0x12 of the record (after the comment,
  // which may run long).
  std::size_t at = nameEnd;
  while (at < n && heap_[at] != '\x12' && heap_[at] != '\x10') ++at;
  if (at >= n || heap_[at] != '\x12') {
    scanned = at;
    return raw;
  }
  const std::size_t date = at + 1;
  at = markerFrom(date);
  raw.date = heap_.substr(date, at - date);
  // A date is written after blanks in some older lists.
  while (!raw.date.empty() && raw.date.front() == ' ') raw.date.remove_prefix(1);
  if (at < n && heap_[at] == '\x13') {
    const std::size_t size = at + 1;
    at = markerFrom(size);
    raw.size = heap_.substr(size, at - size);
  }
  scanned = at;
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

bool FileRows::rowAt(int row, std::uint32_t at, FileRow& r) const {
  if (at >= heap_.size() || heap_[at] != '\x10') return false;
  const std::size_t nameEnd = markerFrom(at + 1);
  std::size_t scanned = 0;
  const Raw raw = fieldsAfter(heap_.substr(at + 1, nameEnd - at - 1), nameEnd, scanned);
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
    appendDecoded(nameAt(at), out);
    out += u'\\';
    level = l;
  }
  if (own > level + 1) out.append(static_cast<std::size_t>(own - level - 1), u'\\');
  nameUnits = appendDecoded(nameAt(places[static_cast<std::size_t>(row)].at), out);
  return true;
}

}  // namespace zevro
