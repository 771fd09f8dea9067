#pragma once
// Walking a catalog's stored rows as a tree. Row r's subtree is r and the
// rows after it that are deeper; its files are the rows after it one level
// deeper before its first subfolder, with what lies below each (archive
// contents):
//   1 DOCS (1)  2 A.TXT (2)  3 T.ZIP (2)  4 X.TXT (3)  5 SUB (2)  6 B.TXT (3)  7 PICS (1)
//   subtreeEnd(1) == 7, filesEnd(1) == 5, filesEnd(3) == 5, subtreeEnd(5) == 7.
#include <cstdint>
#include <vector>

#include "core/RowStore.h"

namespace zevro {

class TreeRows {
public:
  // The first row after r that is not deeper than r.
  static int subtreeEnd(const RowStore& store, int row);
  // The end of r's files: the first row after r that is not deeper, or is
  // one level deeper and folder-like (kind 5 or less); r + 1 when r has none.
  static int filesEnd(const RowStore& store, int row);
  // The nearest earlier row one level up, -1 for a row of level 0.
  static int parentOf(const RowStore& store, int row);

  // Appends to `out` the rows of [first, end) that show by their marks, as
  // the one-tree view shows them: a row with hidden files (0x10 and 0x20)
  // skips them, a collapsed row (8) skips the rest of its subtree after its
  // shown files. `first` must start a run of siblings (all rows of the range
  // lie in subtrees that start inside it).
  static void appendShownByMarks(const RowStore& store, int first, int end, std::vector<std::int32_t>& out);
  // The same for the folders-only view: folder-like rows below kind 5 whose
  // collapsed ancestors inside the range do not hide them.
  static void appendFoldersByMarks(const RowStore& store, int first, int end, std::vector<std::int32_t>& out);
};

}  // namespace zevro
