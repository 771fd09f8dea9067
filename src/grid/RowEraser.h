#pragma once
// Removes marked stored rows from a row store and repairs the tree flags
// around the gaps.
//
// Marks are one byte per stored row (non-zero: remove). For a catalog
//   0 TITLE, 1 A (folder), 2 a1 (file), 3 B (folder), 4 b1 (file), 5 C (folder)
// marks {0,0,0,1,1,0} remove B with its file: C stays, A keeps its flags,
// and B's earlier sibling A becomes the last of its siblings only if C was
// removed too.
//
// After the removal the row before each gap and its ancestors get their
// "has children" (1) and "has files" (16) bits cleared when nothing of that
// kind is left below them, and their "last sibling" bit (2) recomputed; the
// display flags of the rows that are shown follow.
#include <cstdint>
#include <span>
#include <vector>

#include "core/RowStore.h"

namespace zevro {

class RowEraser {
public:
  // With more gaps than this, the store is rebuilt in one pass instead of
  // closing each gap on its own (each close moves everything after it).
  static constexpr int GapsForOnePass = 16;

  // Marks `row` and the stored rows below it (the following rows of greater
  // level) in `marks` (one entry per stored row).
  static void markSubtree(const RowStore& store, int row, std::vector<std::uint8_t>& marks);

  // Removes the marked rows; returns how many went. `marks` shorter than the
  // store counts the missing entries as unmarked.
  static int erase(RowStore& store, std::span<const std::uint8_t> marks, int gapsForOnePass = GapsForOnePass);

private:
  static void eraseGapByGap(RowStore& store, std::span<const std::uint8_t> marks);
  static bool eraseInOnePass(RowStore& store, std::span<const std::uint8_t> marks);
  static void repairFlags(RowStore& store, const std::vector<int>& rows);
};

}  // namespace zevro
