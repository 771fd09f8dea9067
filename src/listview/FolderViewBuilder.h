#pragma once
// Which stored rows of a catalog the folder grid shows, for a display mode
// and a level limit or the saved marks, and the marks that go with it.
//
// Mode 1 (one tree) shows files under their folders; the other
// modes (0, 2, 4) show folders and title lines only. For
//   0 title (0)  1 DOCS (1)  2 A.TXT (2)  3 SUB (2)  4 B.TXT (3)  5 PICS (1)
// a level build with limit 1 shows 0, 1, 5 in every mode (DOCS gets 8 and
// 0x20); with all levels mode 1 shows every row, mode 0 shows 0, 1, 3, 5.
//
// The build walks the rows once and allocates nothing per row; it writes
// the display order into the store (the selection is cleared, the display
// flags copy the tree flags).
#include <cstdint>
#include <vector>

#include "core/RowStore.h"

namespace zevro {

class FolderViewBuilder {
public:
  // The limit that stands for "all levels" outside mode 1.
  static constexpr int AllLevels = 1024;

  // Keep-state build: the marks decide. Mode 1: a collapsed row (8) hides
  // its subtree but for its files when they are shown (0x10 without 0x20);
  // an open row hides its files when they are hidden (0x20). Other modes:
  // folder-like rows below kind 5 only, a collapsed row hiding its subtree.
  // Throws std::bad_alloc when memory runs out (the store keeps its view).
  void buildKeepingState(RowStore& store, int shownMode);
  // Level build: rows down to `levelLimit` (1..4, 0 all levels) are shown;
  // each deeper folder-like row gets 8 when it has children and 0x20 when
  // it has files (in mode 1 also an archive with contents).
  void buildToLevel(RowStore& store, int shownMode, int levelLimit);

  // File marks of a catalog before its first build (see TreeDisplay.h).
  static void prepareMarks(RowStore& store);

private:
  void showKeepingStateOneTree(const RowStore& store);
  void showKeepingStateFolders(const RowStore& store);
  void deriveMarks(RowStore& store, bool oneTree);
  void publish(RowStore& store);

  std::vector<std::int32_t> order_;
};

}  // namespace zevro
