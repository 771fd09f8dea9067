#include "core/RowStore.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <new>

#include "core/CatalogList.h"
#include "core/Record.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

// Keeps growth geometric however small the steps are asked for, so that a
// million appends stay linear. realloc moves large blocks without copying,
// so a quarter more each time keeps the spare memory small at little cost.
template <class Container>
void growTo(Container& c, std::size_t n) {
  if (c.capacity() >= n) return;
  c.reserve(std::max(n, c.capacity() + c.capacity() / 4));
}

}  // namespace

RowStore::RowStore(int capacity) { clear(capacity); }

void RowStore::clear(int capacity) {
  capacity = std::max(capacity, 1);
  // Fresh containers hand the memory of a large list back.
  heap_ = GrowBuffer<char16_t>(1, ch::Null);
  starts_ = GrowBuffer<std::int32_t>(1, 0);
  levels_ = Bytes();
  flags_ = Bytes();
  kinds_ = Bytes();
  colours_ = Bytes();
  highlights_ = Bytes();
  indents_ = GrowBuffer<std::int16_t>();
  order_ = GrowBuffer<std::int32_t>();
  selected_ = GrowBuffer<std::uint8_t>();
  displayFlags_ = Bytes();
  selectedCount_ = 0;
  modified_ = false;
  rowCapacity_ = 0;
  heapCapacity_ = InitialHeapCapacity;
  if (!expandListSize(capacity)) rowCapacity_ = 0;
}

// ---------------------------------------------------------------- growth

void RowStore::report(const char* what) const {
  if (!onError_) return;
  Text message(catalog::ExpandListSizeMessage);
  for (const char* p = what; *p != '\0'; ++p) message.push_back(static_cast<unsigned char>(*p));
  onError_(message);
}

bool RowStore::ensureRowRoom(std::size_t rows, std::size_t shown) {
  try {
    growTo(starts_, rows + 1);
    growTo(levels_, rows);
    growTo(flags_, rows);
    growTo(kinds_, rows);
    growTo(colours_, rows);
    growTo(highlights_, rows);
    growTo(indents_, rows);
    growTo(order_, shown);
    growTo(selected_, shown);
    growTo(displayFlags_, shown);
  } catch (const std::exception& e) {
    report(e.what());
    return false;
  }
  return true;
}

bool RowStore::ensureHeapRoom(std::size_t chars) {
  try {
    growTo(heap_, chars);
  } catch (const std::exception& e) {
    report(e.what());
    return false;
  }
  return true;
}

bool RowStore::expandListSize(int rows) {
  if (rows <= 0) return true;
  const std::int64_t wanted = std::int64_t{rowCapacity_} + rows;
  if (wanted >= MaxPositions) {
    report("too many rows");
    return false;
  }
  if (!ensureRowRoom(static_cast<std::size_t>(wanted), static_cast<std::size_t>(wanted))) return false;
  rowCapacity_ = static_cast<int>(wanted);
  return true;
}

// The reported heap room keeps at least HeapMinFree characters beyond the
// used part (end marker included); one record longer than a step takes
// as many steps as it needs.
void RowStore::growHeapCapacityFor(std::int64_t used) {
  std::int64_t capacity = heapCapacity_;
  while (capacity - used < HeapMinFree) capacity += HeapGrowth;
  heapCapacity_ = static_cast<int>(capacity);
}

// ---------------------------------------------------------------- append

bool RowStore::appendShown(TextView record, int colour, int highlight, int kind, int level) {
  return append(record, colour, highlight, kind, level, 0, true);
}

bool RowStore::appendHidden(TextView record, int colour, int highlight, int kind, int level, int treeFlags) {
  return append(record, colour, highlight, kind, level, treeFlags, false);
}

bool RowStore::append(TextView record, int colour, int highlight, int kind, int level, int treeFlags, bool shown) {
  if (level < 0 || level > MaxLevel) return false;
  if (record.empty() || record.front() != record::FirstMarker) return false;
  for (std::size_t i = 1; i < record.size(); ++i) {
    if (record[i] == ch::Null || record[i] == record::FirstMarker) return false;
  }
  const int n = rowCount();
  const std::size_t used = heap_.size() - 1;
  const std::int64_t newUsed = static_cast<std::int64_t>(used + record.size()) + 1;
  if (newUsed >= MaxPositions) {
    report("too many characters");
    return false;
  }
  if (n + 1 > rowCapacity_ && !expandListSize(RowGrowth)) return false;
  const std::size_t rows = static_cast<std::size_t>(n) + 1;
  const std::size_t shownRows = order_.size() + (shown ? 1 : 0);
  if (!ensureRowRoom(rows, shownRows)) return false;
  if (!ensureHeapRoom(static_cast<std::size_t>(newUsed))) return false;
  // No allocation from here on: the room is there.
  growHeapCapacityFor(newUsed);

  colours_.push_back(static_cast<char>(colour));
  highlights_.push_back(static_cast<char>(highlight));
  kinds_.push_back(static_cast<char>(kind));
  indents_.push_back(static_cast<std::int16_t>(computeIndent(level)));
  levels_.push_back(static_cast<char>(level));
  flags_.push_back(static_cast<char>(shown ? 0 : treeFlags));

  if (n > 0 && treeMode_) {
    const int previous = levelAt(n - 1);
    if (previous < level) {
      flags_[n - 1] = static_cast<char>(flags_[n - 1] | catalog::TreeHasChildren);
      if (shown && !order_.empty() && order_.back() == n - 1) {
        displayFlags_.back() = static_cast<char>(displayFlags_.back() | catalog::TreeHasChildren);
      }
    } else if (level < previous) {
      markLastOfSiblings(n, level);
    }
  }

  heap_.pop_back();
  heap_.append(record.data(), record.data() + record.size());
  heap_.push_back(ch::Null);
  starts_.push_back(static_cast<std::int32_t>(heap_.size() - 1));

  if (shown) {
    order_.push_back(n);
    selected_.push_back(0);
    displayFlags_.push_back(flags_[n]);
  }
  modified_ = true;
  return true;
}

bool RowStore::appendRowsOf(const RowStore& from, int first, int end, int levelUp) {
  if (&from == this || first < 0 || end > from.rowCount() || first > end) return false;
  if (first == end) return true;
  for (int r = first; r < end; ++r) {
    const int level = from.levelAt(r) - levelUp;
    if (level < 0 || level > MaxLevel) return false;
  }
  const int n = rowCount();
  const int count = end - first;
  const std::size_t from0 = static_cast<std::size_t>(from.starts_[first]);
  const std::size_t length = static_cast<std::size_t>(from.starts_[end]) - from0;
  const std::size_t used = heap_.size() - 1;
  const std::int64_t newUsed = static_cast<std::int64_t>(used + length) + 1;
  if (newUsed >= MaxPositions || std::int64_t{n} + count >= MaxPositions) {
    report(newUsed >= MaxPositions ? "too many characters" : "too many rows");
    return false;
  }
  // The row room grows in the steps single appends take.
  while (n + count > rowCapacity_)
    if (!expandListSize(RowGrowth)) return false;
  const std::size_t rows = static_cast<std::size_t>(n + count);
  if (!ensureRowRoom(rows, order_.size() + static_cast<std::size_t>(count))) return false;
  if (!ensureHeapRoom(static_cast<std::size_t>(newUsed))) return false;
  // No allocation from here on: the room is there. The reported heap room
  // only ever grows to the first step that fits, so one step for all the
  // records gives what one step per record gives.
  growHeapCapacityFor(newUsed);

  const std::int32_t shift = static_cast<std::int32_t>(used) - static_cast<std::int32_t>(from0);
  for (int r = first; r < end; ++r) {
    const auto ur = static_cast<std::size_t>(r);
    const int level = from.levelAt(r) - levelUp;
    levels_.push_back(static_cast<char>(level));
    kinds_.push_back(from.kinds_[ur]);
    colours_.push_back(from.colours_[ur]);
    highlights_.push_back(0);
    flags_.push_back(0);
    indents_.push_back(static_cast<std::int16_t>(computeIndent(level)));
    if (r > first) starts_.push_back(from.starts_[ur] + shift);
  }
  heap_.pop_back();
  heap_.append(from.heap_.data() + from0, from.heap_.data() + from0 + length);
  heap_.push_back(ch::Null);
  starts_.push_back(static_cast<std::int32_t>(heap_.size() - 1));
  for (int r = n; r < n + count; ++r) {
    order_.push_back(r);
    selected_.push_back(0);
    displayFlags_.push_back(0);
  }
  modified_ = true;
  return true;
}

// The row before `newRow` ends its run of siblings, and so does the latest
// row of every level between it and the new row's level + 1: walking back,
// each row shallower than the last marked one (and still deeper than the new
// row) is the last of its siblings, until the marked level reaches
// newLevel + 1. Levels 0,1,2,2,1 mark row 3 only; 0,1,2,3,1 mark rows 3 and 2.
void RowStore::markLastOfSiblings(int newRow, int newLevel) {
  int marked = levelAt(newRow - 1);
  flags_[newRow - 1] = static_cast<char>(flags_[newRow - 1] | catalog::TreeLast);
  for (int j = newRow - 2; j >= 0 && marked > newLevel + 1; --j) {
    const int l = levelAt(j);
    if (l <= newLevel) break;
    if (l < marked) {
      flags_[j] = static_cast<char>(flags_[j] | catalog::TreeLast);
      marked = l;
    }
  }
}

// ---------------------------------------------------------------- reading

int RowStore::start(int row) const {
  if (row < 0 || row > rowCount()) return 0;
  return starts_[row];
}

TextView RowStore::record(int row) const {
  if (row < 0 || row >= rowCount()) return {};
  const std::size_t s = static_cast<std::size_t>(starts_[row]);
  const std::size_t e = static_cast<std::size_t>(starts_[row + 1]);
  return TextView(heap_.data() + s, e - s);
}

// Markers ascend, so field k is present when its marker comes before any
// higher one; a damaged record with a higher marker first lacks field k.
RowStore::FieldSpot RowStore::locate(int k, int row) const {
  const char16_t* const base = heap_.data();
  const record::Spot found = record::locate(base + starts_[static_cast<std::size_t>(row)],
                                            base + starts_[static_cast<std::size_t>(row) + 1], k);
  FieldSpot spot;
  spot.present = found.present;
  spot.begin = static_cast<std::size_t>(found.text - base);
  spot.end = static_cast<std::size_t>(found.textEnd - base);
  spot.highest = found.highest;
  return spot;
}

TextView RowStore::fieldView(int k, int row) const {
  if (row < 0 || row >= rowCount() || k < 0 || k > MaxField) return {};
  const FieldSpot spot = locate(k, row);
  if (!spot.present) return {};
  return TextView(heap_.data() + spot.begin, spot.end - spot.begin);
}

int RowStore::fieldsOf(int row, std::span<TextView> out) const {
  std::fill(out.begin(), out.end(), TextView());
  if (row < 0 || row >= rowCount()) return 0;
  const char16_t* const base = heap_.data();
  const char16_t* const end = base + starts_[static_cast<std::size_t>(row) + 1];
  const char16_t* p = record::nextFieldEnd(base + starts_[static_cast<std::size_t>(row)], end);
  int highest = -1;
  while (p < end && *p != ch::Null) {
    const int k = *p - record::FirstMarker;
    const char16_t* const text = p + 1;
    p = record::nextFieldEnd(text, end);
    if (k <= highest) continue;  // out of order: not read by fieldView either
    highest = k;
    if (static_cast<std::size_t>(k) < out.size()) {
      out[static_cast<std::size_t>(k)] = TextView(text, static_cast<std::size_t>(p - text));
    }
  }
  return highest + 1;
}

TextView RowStore::shownFieldView(int k, int displayRow) const {
  if (displayRow < 0 || displayRow >= shownCount()) return {};
  return fieldView(k, order_[displayRow]);
}

// ---------------------------------------------------------------- set field

Text RowStore::escapeFieldText(TextView text) {
  Text out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (c < 32 && c != ch::CR && c != ch::LF) {
      out += cp932::escapeControl(c);
    } else {
      out.push_back(c);
    }
  }
  return out;
}

bool RowStore::setField(int k, int row, TextView text) {
  if (row < 0 || row >= rowCount() || k < 0 || k > MaxField) return false;
  const Text safe = escapeFieldText(text);
  // The range [from, to) of the heap is replaced by `insert`.
  const FieldSpot spot = locate(k, row);
  const std::size_t from = spot.begin;
  const std::size_t to = spot.end;
  Text insert;
  if (!spot.present) {
    const bool damaged = from < static_cast<std::size_t>(starts_[static_cast<std::size_t>(row) + 1]);
    // A higher marker came first (a damaged record): ours goes before it,
    // not inside another field. Otherwise the missing markers up to k follow.
    for (int f = damaged ? k : spot.highest + 1; f <= k; ++f) {
      insert.push_back(record::marker(f));
    }
  }
  insert += safe;

  const std::int64_t d = static_cast<std::int64_t>(insert.size()) - static_cast<std::int64_t>(to - from);
  const std::int64_t newSize = static_cast<std::int64_t>(heap_.size()) + d;
  if (newSize >= MaxPositions) {
    report("too many characters");
    return false;
  }
  if (!ensureHeapRoom(static_cast<std::size_t>(newSize))) return false;
  while (heapCapacity_ < newSize) heapCapacity_ += SetFieldHeapGrowth;

  const std::size_t oldLen = to - from;
  if (insert.size() > oldLen) {
    heap_.insert(from + oldLen, insert.size() - oldLen, ch::Null);
  } else if (insert.size() < oldLen) {
    heap_.erase(from + insert.size(), to);
  }
  std::copy(insert.begin(), insert.end(), heap_.begin() + from);
  if (d != 0) {
    const auto delta = static_cast<std::int32_t>(d);
    for (std::size_t r = static_cast<std::size_t>(row) + 1; r < starts_.size(); ++r) starts_[r] += delta;
  }
  modified_ = true;
  return true;
}

bool RowStore::setFieldOfRows(int k, std::span<const FieldText> rows) {
  if (k < 0 || k > MaxField) return false;
  const int count = rowCount();
  // The new heap is sized exactly first, so that it is written once into
  // memory taken once.
  std::size_t length = heap_.size();
  bool changed = false;
  bool missing = false;
  for (const FieldText& f : rows) {
    if (f.row < 0 || f.row >= count) return false;
    const FieldSpot spot = locate(k, f.row);
    if (!spot.present) {
      changed = missing = true;
      continue;
    }
    const TextView old(heap_.data() + spot.begin, spot.end - spot.begin);
    length = length - old.size() + f.text.size();
    if (old != f.text) changed = true;
  }
  if (!changed) return true;

  const bool modified = modified_;
  try {
    GrowBuffer<char16_t> heap;
    heap.reserve(length);
    std::size_t copied = 0;  // heap_ is copied up to here
    for (const FieldText& f : rows) {
      const FieldSpot spot = locate(k, f.row);
      if (!spot.present) continue;
      heap.append(heap_.data() + copied, heap_.data() + spot.begin);
      heap.append(f.text.data(), f.text.data() + f.text.size());
      copied = spot.end;
    }
    heap.append(heap_.data() + copied, heap_.data() + heap_.size());  // the end marker too
    heap_ = std::move(heap);
  } catch (const std::bad_alloc& e) {
    report(e.what());
    return false;
  }
  // The room a load of these rows would give: the heap cut to its used
  // length, the row room rounded up from one row less by load steps.
  clearSelection();
  clearHighlights();
  heapCapacity_ = static_cast<int>(heap_.size());
  rowCapacity_ = std::max(count - 1, 0);
  if (!rebuildIndex()) return false;
  if (missing) {
    for (const FieldText& f : rows) {
      if (!locate(k, f.row).present) setField(k, f.row, f.text);
    }
  }
  modified_ = modified;
  return true;
}

// ---------------------------------------------------------------- paths

Text RowStore::rowPath(int row, int lowestLevel) const {
  if (row < 0 || row >= rowCount()) return {};
  std::vector<TextView> names;  // the row first, then its ancestors
  int current = row;
  for (int lvl = levelAt(row); lvl >= lowestLevel; --lvl) {
    names.push_back(fieldView(0, current));
    if (lvl == 0) break;
    const std::size_t parent = bytes(levels_).rfind(static_cast<char>(lvl - 1), static_cast<std::size_t>(current));
    if (parent == std::string_view::npos) break;
    current = static_cast<int>(parent);
  }
  Text path;
  for (auto it = names.rbegin(); it != names.rend(); ++it) {
    if (it != names.rbegin()) path.push_back(ch::PathSeparator);
    path += *it;
  }
  return path;
}

bool RowStore::nameIs(int row, TextView name) const {
  const TextView rec = record(row);
  return !rec.empty() && rec.front() == record::FirstMarker && fieldView(0, row) == name;
}

int RowStore::findRowByPath(TextView path, int firstLevel) const {
  if (path.empty()) return 0;
  const int rows = rowCount();
  int matched = -1;
  int lvl = firstLevel;
  std::size_t pos = 0;
  while (true) {
    const std::size_t sep = path.find(ch::PathSeparator, pos);
    const TextView name = path.substr(pos, sep == TextView::npos ? TextView::npos : sep - pos);
    int found = -1;
    if (matched < 0) {
      for (int r = 0; r < rows && found < 0; ++r) {
        if (levelAt(r) == lvl && nameIs(r, name)) found = r;
      }
    } else {
      for (int r = matched + 1; r < rows && levelAt(r) >= lvl; ++r) {
        if (levelAt(r) == lvl && nameIs(r, name)) {
          found = r;
          break;
        }
      }
    }
    if (found < 0) return -1;
    matched = found;
    if (sep == TextView::npos) return matched;
    pos = sep + 1;
    ++lvl;
  }
}

int RowStore::displayRowOf(int row) const {
  const auto it = std::find(order_.begin(), order_.end(), row);
  return it == order_.end() ? -1 : static_cast<int>(it - order_.begin());
}

// ---------------------------------------------------------------- index

void RowStore::padBlocks() {
  const std::size_t rows = starts_.size() - 1;
  levels_.resize(rows, '\0');
  flags_.resize(rows, '\0');
  kinds_.resize(rows, '\0');
  colours_.resize(rows, '\0');
  highlights_.resize(rows, '\0');
}

bool RowStore::rebuildIndex() {
  try {
    const char16_t* h = heap_.data();
    const std::size_t size = heap_.size();
    std::size_t pos = 0;
    starts_.clear();
    while (pos < size && h[pos] != ch::Null) {
      starts_.push_back(static_cast<std::int32_t>(pos));
      ++pos;
      while (pos < size && h[pos] != record::FirstMarker && h[pos] != ch::Null) ++pos;
    }
    starts_.push_back(static_cast<std::int32_t>(pos));
    heap_.resize(pos);
    heap_.push_back(ch::Null);
    heapCapacity_ = std::max(heapCapacity_, static_cast<int>(heap_.size()));

    const int rows = rowCount();
    while (rowCapacity_ < rows) rowCapacity_ += LoadRowGrowth;
    padBlocks();
    if (!ensureRowRoom(static_cast<std::size_t>(rows), static_cast<std::size_t>(rows))) throw std::bad_alloc();
    indents_.resize(static_cast<std::size_t>(rows));
    recomputeIndents();
    order_.resize(static_cast<std::size_t>(rows));
    for (int r = 0; r < rows; ++r) order_[r] = r;
    selected_.assign(static_cast<std::size_t>(rows), 0);
    selectedCount_ = 0;
    displayFlags_ = flags_;
  } catch (const std::bad_alloc& e) {
    const int capacity = rowCapacity_;
    clear(std::min(capacity, DefaultCapacity));
    report(e.what());
    return false;
  }
  return true;
}

bool RowStore::deriveIndexAndTreeFlags() {
  if (!rebuildIndex()) return false;
  const int rows = rowCount();
  std::vector<std::int32_t> endOf;       // first later row not deeper than the row (rows: none)
  std::vector<std::int32_t> nextFolder;  // first folder-like row at or after the row (rows: none)
  std::vector<std::int32_t> open;        // rows still waiting for their end, levels rising
  try {
    endOf.assign(static_cast<std::size_t>(rows), rows);
    nextFolder.assign(static_cast<std::size_t>(rows) + 1, rows);
    open.reserve(257);  // one per level byte value at most
  } catch (const std::bad_alloc& e) {
    report(e.what());
    return false;
  }
  for (int i = 0; i < rows; ++i) {
    const int l = levelAt(i);
    while (!open.empty() && levelAt(open.back()) >= l) {
      endOf[static_cast<std::size_t>(open.back())] = i;
      open.pop_back();
    }
    open.push_back(i);
  }
  for (int i = rows - 1; i >= 0; --i) {
    nextFolder[static_cast<std::size_t>(i)] =
        catalog::isFolderLike(kind(i)) ? i : nextFolder[static_cast<std::size_t>(i) + 1];
  }
  // Bit 1: the next row is deeper (in a folder-aware store: a folder-like row
  // lies before the subtree's end). Bit 2: the row's run of siblings ends at
  // a shallower row; rows at the very end of the list get none.
  constexpr int derived = catalog::TreeHasChildren | catalog::TreeLast;
  for (int j = 0; j < rows; ++j) {
    const auto uj = static_cast<std::size_t>(j);
    int f = static_cast<unsigned char>(flags_[uj]) & ~derived;
    const int l = levelAt(j);
    if (j + 1 < rows && levelAt(j + 1) > l && (!folderAware_ || nextFolder[uj + 1] < endOf[uj])) {
      f |= catalog::TreeHasChildren;
    }
    if (endOf[uj] < rows && levelAt(endOf[uj]) < l) f |= catalog::TreeLast;
    flags_[uj] = static_cast<char>(f);
  }
  displayFlags_.resize(order_.size());
  for (std::size_t i = 0; i < order_.size(); ++i) displayFlags_[i] = flags_[static_cast<std::size_t>(order_[i])];
  return true;
}

bool RowStore::loadBlocks(TextView heap, std::string_view levels, std::string_view treeFlags, std::string_view kinds,
                          std::string_view colours) {
  return loadBlocks(
      heap.size(),
      [heap](char16_t* out) {
        std::copy(heap.begin(), heap.end(), out);
        return heap.size();
      },
      levels, treeFlags, kinds, colours);
}

bool RowStore::loadBlocks(std::size_t heapRoom, const std::function<std::size_t(char16_t*)>& fillHeap,
                          std::string_view levels, std::string_view treeFlags, std::string_view kinds,
                          std::string_view colours) {
  clear(DefaultCapacity);
  if (heapRoom >= static_cast<std::size_t>(MaxPositions)) {
    report("too many characters");
    return false;
  }
  try {
    heap_.clear();
    heap_.reserve(std::max<std::size_t>(heapRoom, 1));
    heap_.resizeUninitialised(fillHeap(heap_.data()));
    levels_.assign(levels.data(), levels.data() + levels.size());
    flags_.assign(treeFlags.data(), treeFlags.data() + treeFlags.size());
    kinds_.assign(kinds.data(), kinds.data() + kinds.size());
    colours_.assign(colours.data(), colours.data() + colours.size());
  } catch (const std::bad_alloc& e) {
    clear(DefaultCapacity);
    report(e.what());
    return false;
  }
  const std::size_t heapSize = heap_.size();
  heapCapacity_ = static_cast<int>(std::min<std::size_t>(heapSize, MaxPositions));
  const std::size_t longest = std::max({levels.size(), treeFlags.size(), kinds.size(), colours.size()});
  rowCapacity_ = longest > 0 ? static_cast<int>(std::min<std::size_t>(longest - 1, MaxPositions)) : 0;
  const bool ok = rebuildIndex();
  modified_ = false;
  return ok;
}

// ---------------------------------------------------------------- erase

void RowStore::eraseRows(int first, int count) {
  const int rows = rowCount();
  if (first < 0 || first >= rows || count <= 0) return;
  count = std::min(count, rows - first);
  const int last = first + count;  // first row kept after the gap
  const std::int32_t from = starts_[first];
  const std::int32_t to = starts_[last];
  heap_.erase(static_cast<std::size_t>(from), static_cast<std::size_t>(to));
  const std::int32_t d = to - from;
  const auto uFirst = static_cast<std::size_t>(first);
  const auto uLast = static_cast<std::size_t>(last);
  starts_.erase(uFirst, uLast);
  for (std::size_t r = uFirst; r < starts_.size(); ++r) starts_[r] -= d;
  for (Bytes* block : {&levels_, &flags_, &kinds_, &colours_, &highlights_}) block->erase(uFirst, uLast);
  indents_.erase(uFirst, uLast);

  std::size_t out = 0;
  for (std::size_t i = 0; i < order_.size(); ++i) {
    const std::int32_t r = order_[i];
    if (r >= first && r < last) {
      if (selected_[i]) --selectedCount_;
      continue;
    }
    order_[out] = r >= last ? r - count : r;
    selected_[out] = selected_[i];
    displayFlags_[out] = displayFlags_[i];
    ++out;
  }
  order_.resize(out);
  selected_.resize(out);
  displayFlags_.resize(out);
  modified_ = true;
}

// ---------------------------------------------------------------- per row

int RowStore::byteAt(const Bytes& block, int i) {
  if (i < 0 || static_cast<std::size_t>(i) >= block.size()) return 0;
  return static_cast<unsigned char>(block[static_cast<std::size_t>(i)]);
}

void RowStore::setByte(Bytes& block, int i, int value) {
  if (i < 0 || static_cast<std::size_t>(i) >= block.size()) return;
  block[static_cast<std::size_t>(i)] = static_cast<char>(value);
}

void RowStore::clearHighlights() { std::fill(highlights_.begin(), highlights_.end(), '\0'); }

int RowStore::computeIndent(int lvl) const {
  const int px = lvl * indentWidth_ + BaseIndent;
  return std::clamp(px, 0, int{std::numeric_limits<std::int16_t>::max()});
}

int RowStore::indent(int row) const {
  if (row < 0 || static_cast<std::size_t>(row) >= indents_.size()) return 0;
  return indents_[static_cast<std::size_t>(row)];
}

void RowStore::setIndent(int row, int px) {
  if (row < 0 || static_cast<std::size_t>(row) >= indents_.size()) return;
  indents_[static_cast<std::size_t>(row)] =
      static_cast<std::int16_t>(std::clamp(px, 0, int{std::numeric_limits<std::int16_t>::max()}));
}

void RowStore::recomputeIndents() {
  for (std::size_t r = 0; r < indents_.size(); ++r) {
    indents_[r] = static_cast<std::int16_t>(computeIndent(static_cast<unsigned char>(levels_[r])));
  }
}

void RowStore::setIndentWidth(int px) {
  indentWidth_ = std::max(px, 0);
  recomputeIndents();
}

// ---------------------------------------------------------------- display

int RowStore::storedRowAt(int displayRow) const {
  if (displayRow < 0 || displayRow >= shownCount()) return -1;
  return order_[static_cast<std::size_t>(displayRow)];
}

void RowStore::setDisplayOrder(std::vector<std::int32_t> order) {
  const int rows = rowCount();
  std::erase_if(order, [rows](std::int32_t r) { return r < 0 || r >= rows; });
  order_.assign(order.data(), order.data() + order.size());
  selected_.assign(order_.size(), 0);
  selectedCount_ = 0;
  displayFlags_.resize(order_.size());
  for (std::size_t i = 0; i < order_.size(); ++i) displayFlags_[i] = flags_[static_cast<std::size_t>(order_[i])];
}

void RowStore::insertDisplayRows(int at, std::span<const std::int32_t> rows) {
  at = std::clamp(at, 0, shownCount());
  const int stored = rowCount();
  std::vector<std::int32_t> valid;
  valid.reserve(rows.size());
  for (std::int32_t r : rows) {
    if (r >= 0 && r < stored) valid.push_back(r);
  }
  std::string flags(valid.size(), '\0');
  for (std::size_t i = 0; i < valid.size(); ++i) flags[i] = flags_[static_cast<std::size_t>(valid[i])];
  const auto uAt = static_cast<std::size_t>(at);
  order_.insert(uAt, valid.data(), valid.data() + valid.size());
  selected_.insert(uAt, valid.size(), 0);
  displayFlags_.insert(uAt, flags.data(), flags.data() + flags.size());
}

void RowStore::eraseDisplayRows(int at, int count) {
  if (at < 0 || at >= shownCount() || count <= 0) return;
  count = std::min(count, shownCount() - at);
  selectedCount_ -= static_cast<int>(std::count(selected_.begin() + at, selected_.begin() + at + count, 1));
  const auto from = static_cast<std::size_t>(at);
  const auto to = from + static_cast<std::size_t>(count);
  order_.erase(from, to);
  selected_.erase(from, to);
  displayFlags_.erase(from, to);
}

bool RowStore::selected(int displayRow) const {
  if (displayRow < 0 || displayRow >= shownCount()) return false;
  return selected_[static_cast<std::size_t>(displayRow)] != 0;
}

void RowStore::setSelected(int displayRow, bool on) {
  if (displayRow < 0 || displayRow >= shownCount()) return;
  std::uint8_t& mark = selected_[static_cast<std::size_t>(displayRow)];
  if ((mark != 0) == on) return;
  mark = on ? 1 : 0;
  selectedCount_ += on ? 1 : -1;
}

void RowStore::clearSelection() {
  std::fill(selected_.begin(), selected_.end(), 0);
  selectedCount_ = 0;
}

std::size_t RowStore::allocatedBytes() const {
  return heap_.capacity() * sizeof(char16_t) + starts_.capacity() * sizeof(std::int32_t) + levels_.capacity() +
         flags_.capacity() + kinds_.capacity() + colours_.capacity() + highlights_.capacity() +
         indents_.capacity() * sizeof(std::int16_t) + order_.capacity() * sizeof(std::int32_t) + selected_.capacity() +
         displayFlags_.capacity();
}

}  // namespace zevro
