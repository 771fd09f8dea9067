#include "listview/TreeToggle.h"

#include <span>

#include "core/CatalogList.h"
#include "listview/TreeRows.h"

namespace zevro {

using namespace catalog;

TreeToggle::TreeToggle(GridModel& grid) : grid_(&grid) {}

// How many display rows right after the row lie in its subtree.
int TreeToggle::shownBelow(int displayRow) const {
  const RowStore& store = grid_->store();
  const int level = store.level(store.storedRowAt(displayRow));
  const int shown = store.shownCount();
  int d = displayRow + 1;
  while (d < shown && store.level(store.storedRowAt(d)) > level) ++d;
  return d - displayRow - 1;
}

void TreeToggle::setMarks(int displayRow, int flags) {
  RowStore& store = grid_->store();
  store.setTreeFlags(store.storedRowAt(displayRow), flags);
  store.setDisplayFlags(displayRow, flags);
}

// Replaces the `erase` display rows after `displayRow` with rows_, keeping
// the rows rows_ starts with that are shown already (with their selection
// marks). The cursor stays on its row (on displayRow when its row left the
// display) and displayRow stays on screen line `line`.
GridUpdate TreeToggle::splice(int displayRow, int erase, int line) {
  RowStore& store = grid_->store();
  const int first = displayRow + 1;
  int kept = 0;
  while (kept < erase && kept < static_cast<int>(rows_.size()) &&
         store.storedRowAt(first + kept) == rows_[static_cast<std::size_t>(kept)]) {
    ++kept;
  }
  const int removed = erase - kept;
  const int added = static_cast<int>(rows_.size()) - kept;
  int cursor = grid_->cursorRow();
  if (cursor >= first + kept && cursor < first + erase) {
    cursor = displayRow;
  } else if (cursor >= first + erase) {
    cursor += added - removed;
  }
  store.eraseDisplayRows(first + kept, removed);
  if (added > 0) {
    store.insertDisplayRows(first + kept, std::span<const std::int32_t>(rows_).subspan(static_cast<std::size_t>(kept)));
  }
  GridUpdate u = grid_->Grid_MoveCursor(cursor);
  u.merge(grid_->Grid_KeepRowAt(displayRow, line));
  u.full = true;
  u.layout = true;
  return u;
}

GridUpdate TreeToggle::Grid_ToggleFiles(int displayRow) {
  RowStore& store = grid_->store();
  const int row = store.storedRowAt(displayRow);
  if (row < 0) return {};
  const int flags = store.treeFlags(row);
  if ((flags & TreeHasFiles) == 0) return {};
  const int line = displayRow - grid_->topRow();
  const int filesEnd = TreeRows::filesEnd(store, row);
  // The files that show now: display rows right after it inside its files.
  const int shown = store.shownCount();
  int showing = 0;
  while (displayRow + 1 + showing < shown) {
    const int s = store.storedRowAt(displayRow + 1 + showing);
    if (s <= row || s >= filesEnd) break;
    ++showing;
  }
  rows_.clear();
  const bool show = (flags & TreeFilesHidden) != 0;
  if (show) TreeRows::appendShownByMarks(store, row + 1, filesEnd, rows_);
  setMarks(displayRow, show ? flags & ~TreeFilesHidden : flags | TreeFilesHidden);
  return splice(displayRow, showing, line);
}

GridUpdate TreeToggle::Grid_ToggleChildren(int displayRow, bool wholeSubtree, bool filesToo) {
  RowStore& store = grid_->store();
  const int row = store.storedRowAt(displayRow);
  if (row < 0) return {};
  const int flags = store.treeFlags(row);
  if ((store.displayFlags(displayRow) & TreeHasChildren) == 0) return {};
  const int line = displayRow - grid_->topRow();
  const int below = shownBelow(displayRow);
  const bool hasFiles = (flags & TreeHasFiles) != 0;
  rows_.clear();
  if ((flags & TreeCollapsed) == 0) {
    // Its files leave with its subfolders: the marks say so, so that a
    // rebuild shows the row as the user left it.
    setMarks(displayRow, flags | TreeCollapsed | (hasFiles ? TreeFilesHidden : 0));
    return splice(displayRow, below, line);
  }
  const int end = TreeRows::subtreeEnd(store, row);
  if (wholeSubtree) {
    for (int r = row + 1; r < end; ++r) {
      const int kind = store.kind(r);
      int marks = store.treeFlags(r) & ~TreeCollapsed;
      if (!filesToo) {
        if (kind >= KindArchiveFolder) continue;
        if ((marks & TreeHasFiles) != 0) marks |= TreeFilesHidden;
      } else {
        marks &= ~TreeFilesHidden;
      }
      store.setTreeFlags(r, marks);
      rows_.push_back(r);
    }
    int marks = flags & ~TreeCollapsed;
    if (hasFiles) marks = filesToo ? marks & ~TreeFilesHidden : marks | TreeFilesHidden;
    setMarks(displayRow, marks);
    return splice(displayRow, below, line);
  }
  const bool filesHidden = !hasFiles || (flags & TreeFilesHidden) != 0;
  const int first = filesHidden ? TreeRows::filesEnd(store, row) : row + 1;
  TreeRows::appendShownByMarks(store, first, end, rows_);
  if (rows_.empty()) return {};  // nothing would open
  setMarks(displayRow, flags & ~TreeCollapsed);
  return splice(displayRow, below, line);
}

}  // namespace zevro
