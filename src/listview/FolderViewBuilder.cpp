#include "listview/FolderViewBuilder.h"

#include <utility>

#include "core/CatalogList.h"
#include "listview/TreeRows.h"

namespace zevro {

using namespace catalog;

namespace {

int withBit(int flags, int bit, bool on) { return on ? flags | bit : flags & ~bit; }

}  // namespace

void FolderViewBuilder::buildKeepingState(RowStore& store, int shownMode) {
  const bool oneTree = shownMode == 1;
  order_.clear();
  order_.reserve(static_cast<std::size_t>(store.rowCount()));
  if (oneTree) {
    TreeRows::appendShownByMarks(store, 0, store.rowCount(), order_);
  } else {
    TreeRows::appendFoldersByMarks(store, 0, store.rowCount(), order_);
  }
  deriveMarks(store, oneTree);
  publish(store);
}

void FolderViewBuilder::buildToLevel(RowStore& store, int shownMode, int levelLimit) {
  const bool oneTree = shownMode == 1;
  const int limit = levelLimit <= 0 ? AllLevels : levelLimit;
  const int rows = store.rowCount();
  order_.clear();
  order_.reserve(static_cast<std::size_t>(rows));
  for (int r = 0; r < rows; ++r) {
    const int kind = store.kind(r);
    const int flags = store.treeFlags(r);
    const bool listed = oneTree || kind < KindArchiveFolder;
    if (listed && store.level(r) <= limit) {
      order_.push_back(r);
      continue;
    }
    if (!listed) continue;
    // Hidden below the limit: it opens closed when the user gets to it.
    int marks = flags;
    if ((flags & TreeHasChildren) != 0) marks |= TreeCollapsed;
    if ((flags & TreeHasFiles) != 0) marks |= TreeFilesHidden;
    store.setTreeFlags(r, marks);
  }
  deriveMarks(store, oneTree);
  publish(store);
}

void FolderViewBuilder::deriveMarks(RowStore& store, bool oneTree) {
  if (!oneTree) {
    // No files show in this view: every row with files has them hidden.
    const int rows = store.rowCount();
    for (int r = 0; r < rows; ++r) {
      const int flags = store.treeFlags(r);
      if ((flags & TreeHasFiles) != 0) store.setTreeFlags(r, flags | TreeFilesHidden);
    }
  }
  const std::size_t n = order_.size();
  for (std::size_t i = 0; i < n; ++i) {
    const int row = order_[i];
    int flags = store.treeFlags(row);
    if ((flags & (TreeHasChildren | TreeHasFiles)) == 0) continue;
    const int level = store.level(row);
    std::size_t next = i + 1;
    if ((flags & TreeHasFiles) != 0 && oneTree) {
      const bool shown = next < n && store.level(order_[next]) == level + 1 && !isFolderLike(store.kind(order_[next]));
      flags = withBit(flags, TreeFilesHidden, !shown);
      // Its children come after the shown files.
      while (next < n) {
        const int l = store.level(order_[next]);
        if (l <= level || (l == level + 1 && isFolderLike(store.kind(order_[next])))) break;
        ++next;
      }
    }
    if ((flags & TreeHasChildren) != 0) {
      const bool open = next < n && store.level(order_[next]) > level;
      flags = withBit(flags, TreeCollapsed, !open);
    }
    store.setTreeFlags(row, flags);
  }
}

void FolderViewBuilder::publish(RowStore& store) { store.setDisplayOrder(std::move(order_)); }

void FolderViewBuilder::prepareMarks(RowStore& store) { catalog::prepareMarks(store); }

}  // namespace zevro
