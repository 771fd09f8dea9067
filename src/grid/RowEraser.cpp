#include "grid/RowEraser.h"

#include <algorithm>
#include <string>

#include "core/CatalogList.h"

namespace zevro {

namespace {

bool marked(std::span<const std::uint8_t> marks, int row) {
  return static_cast<std::size_t>(row) < marks.size() && marks[static_cast<std::size_t>(row)] != 0;
}

}  // namespace

void RowEraser::markSubtree(const RowStore& store, int row, std::vector<std::uint8_t>& marks) {
  const int rows = store.rowCount();
  if (row < 0 || row >= rows) return;
  marks.resize(static_cast<std::size_t>(rows), 0);
  const int level = store.level(row);
  marks[static_cast<std::size_t>(row)] = 1;
  for (int r = row + 1; r < rows && store.level(r) > level; ++r) marks[static_cast<std::size_t>(r)] = 1;
}

int RowEraser::erase(RowStore& store, std::span<const std::uint8_t> marks, int gapsForOnePass) {
  const int rows = store.rowCount();
  // Rows before each gap, as they will be numbered afterwards.
  std::vector<int> before;
  int removed = 0;
  int gaps = 0;
  for (int r = 0; r < rows; ++r) {
    if (!marked(marks, r)) continue;
    if (r == 0 || !marked(marks, r - 1)) {
      ++gaps;
      if (r > 0) before.push_back(r - 1 - removed);
    }
    ++removed;
  }
  if (removed == 0) return 0;
  if (gaps <= gapsForOnePass || !eraseInOnePass(store, marks)) eraseGapByGap(store, marks);
  repairFlags(store, before);
  store.setModified(true);
  return removed;
}

// From the last gap to the first, so that the row numbers of the gaps still
// to close stay valid.
void RowEraser::eraseGapByGap(RowStore& store, std::span<const std::uint8_t> marks) {
  int r = store.rowCount() - 1;
  while (r >= 0) {
    if (!marked(marks, r)) {
      --r;
      continue;
    }
    const int last = r;
    while (r > 0 && marked(marks, r - 1)) --r;
    store.eraseRows(r, last - r + 1);
    --r;
  }
}

// Copies what stays into fresh blocks and loads them, then gives back what a
// load does not carry: highlight marks, indents, the display order with its
// selection and display flags. The room the list file saves as spare stays.
bool RowEraser::eraseInOnePass(RowStore& store, std::span<const std::uint8_t> marks) {
  const int rows = store.rowCount();
  std::vector<std::int32_t> newIndex(static_cast<std::size_t>(rows), -1);
  Text heap;
  std::string levels, flags, kinds, colours;
  std::vector<std::uint8_t> highlights;
  std::vector<int> indents;
  int kept = 0;
  for (int r = 0; r < rows; ++r) {
    if (marked(marks, r)) continue;
    newIndex[static_cast<std::size_t>(r)] = kept++;
    heap += store.record(r);
    levels.push_back(static_cast<char>(store.level(r)));
    flags.push_back(static_cast<char>(store.treeFlags(r)));
    kinds.push_back(static_cast<char>(store.kind(r)));
    colours.push_back(static_cast<char>(store.colour(r)));
    highlights.push_back(static_cast<std::uint8_t>(store.highlight(r)));
    indents.push_back(store.indent(r));
  }
  struct Shown {
    std::int32_t row;
    bool selected;
    int flags;
  };
  std::vector<Shown> shown;
  const auto order = store.displayOrder();
  for (std::size_t d = 0; d < order.size(); ++d) {
    const std::int32_t n = newIndex[static_cast<std::size_t>(order[d])];
    const int di = static_cast<int>(d);
    if (n >= 0) shown.push_back({n, store.selected(di), store.displayFlags(di)});
  }
  const std::size_t blockSize = static_cast<std::size_t>(std::max(store.rowCapacity(), kept)) + 1;
  for (std::string* block : {&levels, &flags, &kinds, &colours}) block->resize(blockSize, '\0');
  heap.push_back(ch::Null);
  heap.resize(std::max(heap.size(), static_cast<std::size_t>(store.heapCapacity())), ch::Null);

  if (!store.loadBlocks(heap, levels, flags, kinds, colours)) return false;
  for (int r = 0; r < kept; ++r) {
    store.setHighlight(r, highlights[static_cast<std::size_t>(r)]);
    store.setIndent(r, indents[static_cast<std::size_t>(r)]);
  }
  std::vector<std::int32_t> newOrder;
  newOrder.reserve(shown.size());
  for (const Shown& s : shown) newOrder.push_back(s.row);
  store.setDisplayOrder(std::move(newOrder));
  for (std::size_t d = 0; d < shown.size(); ++d) {
    const int di = static_cast<int>(d);
    store.setDisplayFlags(di, shown[d].flags);
    if (shown[d].selected) store.setSelected(di, true);
  }
  return true;
}

// `rows`: the rows before the gaps. They and their ancestors may have lost
// their last child, their files or their later siblings.
void RowEraser::repairFlags(RowStore& store, const std::vector<int>& rows) {
  const int count = store.rowCount();
  if (rows.empty() || count == 0) return;
  std::vector<std::uint8_t> todo(static_cast<std::size_t>(count), 0);
  const std::string_view levelBlock = store.levelBlock();
  for (int r : rows) {
    // Up the ancestors until one that is already to be repaired.
    while (r >= 0 && r < count && todo[static_cast<std::size_t>(r)] == 0) {
      todo[static_cast<std::size_t>(r)] = 1;
      const int level = store.level(r);
      if (level == 0) break;
      const std::size_t parent = levelBlock.rfind(static_cast<char>(level - 1), static_cast<std::size_t>(r));
      if (parent == std::string_view::npos) break;
      r = static_cast<int>(parent);
    }
  }
  // endOf[r]: the first later row not deeper than r; nextFolder[r]: the
  // first folder-like row at or after r.
  std::vector<std::int32_t> endOf(static_cast<std::size_t>(count), count);
  std::vector<std::int32_t> nextFolder(static_cast<std::size_t>(count) + 1, count);
  std::vector<std::int32_t> open;
  for (int i = 0; i < count; ++i) {
    while (!open.empty() && store.level(open.back()) >= store.level(i)) {
      endOf[static_cast<std::size_t>(open.back())] = i;
      open.pop_back();
    }
    open.push_back(i);
  }
  for (int i = count - 1; i >= 0; --i) {
    nextFolder[static_cast<std::size_t>(i)] =
        catalog::isFolderLike(store.kind(i)) ? i : nextFolder[static_cast<std::size_t>(i) + 1];
  }
  std::vector<std::int32_t> displayRow(static_cast<std::size_t>(count), -1);
  const auto order = store.displayOrder();
  for (std::size_t d = 0; d < order.size(); ++d) displayRow[static_cast<std::size_t>(order[d])] = static_cast<int>(d);

  constexpr int repaired = catalog::TreeHasChildren | catalog::TreeLast | catalog::TreeHasFiles;
  for (int r = 0; r < count; ++r) {
    if (todo[static_cast<std::size_t>(r)] == 0) continue;
    const int level = store.level(r);
    const int end = endOf[static_cast<std::size_t>(r)];
    const bool deeperNext = r + 1 < count && store.level(r + 1) > level;
    const bool children = deeperNext && (!store.folderAware() || nextFolder[static_cast<std::size_t>(r) + 1] < end);
    const bool files = r + 1 < count && store.level(r + 1) == level + 1 &&
                       (!catalog::isFolderLike(store.kind(r)) || !catalog::isFolderLike(store.kind(r + 1)));
    const bool last = level > 0 && (end == count || store.level(end) < level);
    int f = store.treeFlags(r);
    if (!children) f &= ~catalog::TreeHasChildren;
    if (!files) f &= ~catalog::TreeHasFiles;
    f = last ? f | catalog::TreeLast : f & ~catalog::TreeLast;
    store.setTreeFlags(r, f);
    const int d = displayRow[static_cast<std::size_t>(r)];
    if (d >= 0) store.setDisplayFlags(d, (store.displayFlags(d) & ~repaired) | (f & repaired));
  }
}

}  // namespace zevro
