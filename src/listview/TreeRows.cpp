#include "listview/TreeRows.h"

#include <array>
#include <cstring>

#include "core/CatalogList.h"

namespace zevro {

using namespace catalog;

namespace {

constexpr int FileMarks = TreeHasFiles | TreeFilesHidden;  // 0x30

bool filesHidden(int flags) { return (flags & FileMarks) == FileMarks; }

// Where the walk goes on when it reaches a place: a collapsed row whose
// files show jumps from the end of its files to the end of its subtree.
struct Jump {
  int at = 0;
  int to = 0;
};

// Jumps nest (each lies inside the files of the one below it), and a row's
// level is below 128, so a fixed stack is enough.
class JumpStack {
public:
  void push(int at, int to) {
    if (size_ < jumps_.size()) jumps_[size_++] = {at, to};
  }
  // Follows every jump due at `row`.
  int follow(int row) {
    while (size_ > 0 && row >= jumps_[size_ - 1].at) {
      const int to = jumps_[size_ - 1].to;
      --size_;
      if (to > row) row = to;
    }
    return row;
  }

private:
  std::array<Jump, 260> jumps_{};
  std::size_t size_ = 0;
};

}  // namespace

int TreeRows::subtreeEnd(const RowStore& store, int row) {
  const int rows = store.rowCount();
  if (row < 0 || row >= rows) return row + 1;
  const int level = store.level(row);
  int r = row + 1;
  while (r < rows && store.level(r) > level) ++r;
  return r;
}

int TreeRows::filesEnd(const RowStore& store, int row) {
  const int rows = store.rowCount();
  if (row < 0 || row >= rows) return row + 1;
  const int level = store.level(row);
  int r = row + 1;
  while (r < rows) {
    const int l = store.level(r);
    if (l <= level || (l == level + 1 && isFolderLike(store.kind(r)))) break;
    ++r;
  }
  return r;
}

int TreeRows::parentOf(const RowStore& store, int row) {
  if (row <= 0 || row >= store.rowCount()) return -1;
  const int level = store.level(row);
  if (level == 0) return -1;
  const std::string_view levels = store.levelBlock();
  const void* found = memrchr(levels.data(), level - 1, static_cast<std::size_t>(row));
  if (found == nullptr) return -1;
  return static_cast<int>(static_cast<const char*>(found) - levels.data());
}

void TreeRows::appendShownByMarks(const RowStore& store, int first, int end, std::vector<std::int32_t>& out) {
  JumpStack jumps;
  int r = first;
  while (true) {
    r = jumps.follow(r);
    if (r >= end) break;
    out.push_back(r);
    const int flags = store.treeFlags(r);
    const bool hasFiles = (flags & TreeHasFiles) != 0;
    if ((flags & TreeCollapsed) != 0) {
      const int subtree = subtreeEnd(store, r);
      if (!hasFiles || filesHidden(flags)) {
        r = subtree;
        continue;
      }
      // Only the files show: walk them, then leave the subtree.
      jumps.push(filesEnd(store, r), subtree);
      ++r;
      continue;
    }
    r = hasFiles && filesHidden(flags) ? filesEnd(store, r) : r + 1;
  }
}

void TreeRows::appendFoldersByMarks(const RowStore& store, int first, int end, std::vector<std::int32_t>& out) {
  int r = first;
  while (r < end) {
    if (store.kind(r) >= KindArchiveFolder) {
      ++r;
      continue;
    }
    out.push_back(r);
    r = (store.treeFlags(r) & TreeCollapsed) != 0 ? subtreeEnd(store, r) : r + 1;
  }
}

}  // namespace zevro
