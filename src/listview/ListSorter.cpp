#include "listview/ListSorter.h"

#include <algorithm>

#include "listview/SortKeys.h"

namespace zevro {

namespace {

constexpr int KindStored = 0;
constexpr int KindDescending = 1;
constexpr int KindAscending = 2;
constexpr int KindExtension = 3;
constexpr int KindGroup = 4;
constexpr int HeadLength = 8;  // key bytes packed into Item::head

}  // namespace

ListSorter::ListSorter(GridModel& grid) : grid_(&grid) {}

int ListSorter::nextNameKind(int natural, int current) {
  constexpr TextView ExtensionCycle = u"23122";
  constexpr TextView GroupCycle = u"24122";
  const bool inCycle = current >= 0 && current < static_cast<int>(ExtensionCycle.size());
  switch (natural) {
    case KindStored: return (current + 1) % 3;
    case KindExtension: return inCycle ? ExtensionCycle[static_cast<std::size_t>(current)] - u'0' : KindAscending;
    case KindGroup: return inCycle ? GroupCycle[static_cast<std::size_t>(current)] - u'0' : KindAscending;
    default: return current % 2 + 1;
  }
}

GridUpdate ListSorter::Grid_SetSort(int column, int kind) {
  if (column == grid_->sortedColumn() && kind == grid_->sortKind()) return {};
  grid_->setSort(column, kind);
  return Grid_Sort();
}

GridUpdate ListSorter::Grid_ItemBarClick() {
  const int column = grid_->pickedColumn();
  if (column < 0 || column >= grid_->columns().count()) return {};
  int kind = 0;
  if (column != grid_->sortedColumn()) {
    kind = grid_->columns().column(column).defaultSort;
  } else if (column != 0) {
    kind = grid_->sortKind() == KindAscending ? KindDescending : KindAscending;
  } else {
    kind = nextNameKind(grid_->naturalSortKind(), grid_->sortKind());
  }
  grid_->setSort(column, kind);
  return Grid_Sort();
}

// The first selected row, else the cursor row (display row), -1 for none.
int ListSorter::trackedRow() const {
  const RowStore& store = grid_->store();
  if (store.selectedCount() > 0) {
    const int shown = store.shownCount();
    for (int d = 0; d < shown; ++d) {
      if (store.selected(d)) return d;
    }
  }
  return grid_->rowCount() > 0 ? grid_->cursorRow() : -1;
}

GridUpdate ListSorter::Grid_Sort() {
  RowStore& store = grid_->store();
  const int tracked = trackedRow();
  const int trackedStored = store.storedRowAt(tracked);
  const int line =
      tracked >= grid_->topRow() && tracked < grid_->topRow() + grid_->visibleRows() ? tracked - grid_->topRow() : 0;
  // Selection marks travel with their stored rows.
  const bool anySelected = store.selectedCount() > 0;
  if (anySelected) {
    marks_.assign(static_cast<std::size_t>(store.rowCount()), 0);
    for (int d = 0; d < store.shownCount(); ++d) {
      if (store.selected(d)) marks_[static_cast<std::size_t>(store.storedRowAt(d))] = 1;
    }
  }

  const std::span<const std::int32_t> shown = store.displayOrder();
  order_.assign(shown.begin(), shown.end());
  const int kind = grid_->sortKind();
  if (kind == KindStored || kind == grid_->naturalSortKind()) {
    restoreNaturalOrder();
  } else {
    sortRows(kind, grid_->sortedColumn());
  }
  store.setDisplayOrder(order_);
  if (anySelected) {
    for (int d = 0; d < store.shownCount(); ++d) {
      if (marks_[static_cast<std::size_t>(store.storedRowAt(d))] != 0) store.setSelected(d, true);
    }
  }
  GridUpdate u = keepRow(trackedStored, line);
  u.full = true;
  u.itemBar = true;
  return u;
}

void ListSorter::restoreNaturalOrder() {
  std::sort(order_.begin(), order_.end());
  grid_->store().recomputeIndents();
  if (savedTreeMode_ >= 0) grid_->settings().treeMode = savedTreeMode_ != 0;
  savedTreeMode_ = -1;
}

void ListSorter::sortRows(int kind, int column) {
  RowStore& store = grid_->store();
  if (savedTreeMode_ < 0) savedTreeMode_ = grid_->settings().treeMode ? 1 : 0;
  grid_->settings().treeMode = false;
  buildKeys(kind, column);
  const char* arena = keys_.data();
  std::stable_sort(items_.begin(), items_.end(), [arena](const Item& a, const Item& b) {
    if (a.head != b.head) return a.head < b.head;
    const auto rest = [arena](const Item& i) {
      const int skip = std::min(i.length, HeadLength);
      return std::string_view(arena + i.start + skip, static_cast<std::size_t>(i.length - skip));
    };
    return rest(a) < rest(b);  // as unsigned bytes
  });
  if (kind == KindDescending) std::reverse(items_.begin(), items_.end());
  for (std::size_t i = 0; i < items_.size(); ++i) order_[i] = items_[i].row;
  if (kind == KindExtension || kind == KindGroup) {
    for (const std::int32_t row : order_) store.setIndent(row, GridModel::BaseIndent);
  } else {
    store.recomputeIndents();
  }
}

// The collation keys of the shown rows, built once, each with its head packed.
void ListSorter::buildKeys(int kind, int column) {
  const RowStore& store = grid_->store();
  keys_.clear();
  items_.resize(order_.size());
  for (std::size_t i = 0; i < order_.size(); ++i) {
    Item& item = items_[i];
    item.row = order_[i];
    item.start = static_cast<std::int32_t>(keys_.size());
    text_.clear();
    SortKeys::append(store, item.row, kind, column, text_);
    collator_.appendKey(text_, keys_);
    item.length = static_cast<std::int32_t>(keys_.size()) - item.start;
  }
  for (Item& item : items_) {
    std::uint64_t head = 0;
    for (int k = 0; k < HeadLength; ++k) {
      const std::uint64_t byte =
          k < item.length ? static_cast<unsigned char>(keys_[static_cast<std::size_t>(item.start + k)]) : 0;
      head = head << 8 | byte;
    }
    item.head = head;
  }
}

// The row that was current becomes the cursor row again on its screen line;
// it is found by what it is, not by its text.
GridUpdate ListSorter::keepRow(int storedRow, int line) {
  if (grid_->rowCount() == 0) return grid_->Grid_Refresh();
  const std::span<const std::int32_t> shown = grid_->store().displayOrder();
  const auto it = std::find(shown.begin(), shown.end(), storedRow);
  const int row = it == shown.end() ? 0 : static_cast<int>(it - shown.begin());
  GridUpdate u = grid_->Grid_MoveCursor(row);
  u.merge(grid_->Grid_KeepRowAt(row, it == shown.end() ? 0 : line));
  return u;
}

}  // namespace zevro
