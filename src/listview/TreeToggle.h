#pragma once
// Opening and closing rows of a tree-mode grid in place: the display order
// is spliced (later display rows move with their selection marks) instead of
// being rebuilt, so a toggle costs what it shows or hides.
//
// A folder's files are the rows that follow it one level deeper before its
// first subfolder, together with what lies below each of them (the
// contents of an archive):
//   DOCS            level 1  folder      flags 0x10 has files
//     A.TXT         level 2  file
//     TOOLS.ZIP     level 2  archive     (0x10 when its next row is a file)
//       X.TXT       level 3  file in the archive
//     SUB           level 2  folder      <- the files of DOCS end here
//
// Both toggles work on any grid over a catalog-like store (folder pane,
// catalog selection); they keep the row on its screen line and leave the
// cursor on the row it was on (on the toggled row when that one vanished).
#include <cstdint>
#include <vector>

#include "grid/GridModel.h"
#include "grid/GridUpdate.h"

namespace zevro {

class TreeToggle {
public:
  explicit TreeToggle(GridModel& grid);

  // Shows or hides the files of the folder at a display row. Hidden (0x20):
  // the files are inserted after it (an archive whose contents are not
  // hidden brings them, a collapsed one shows only what its marks show) and
  // 0x20 is cleared; shown: they leave the display and 0x20 is set. Does
  // nothing for a row without files (0x10).
  GridUpdate Grid_ToggleFiles(int displayRow);

  // Expands or collapses the row at a display row (only a row with
  // children, bit 1). Collapsed (8): 8 is cleared and its rows are inserted
  // as their own marks say (a collapsed child shows only itself, files
  // follow their folder's 0x20); with `wholeSubtree` every row below it is
  // opened (8 cleared), its files too when `filesToo` (0x20 cleared),
  // folders only otherwise (0x20 set, as the files are not shown).
  // Expanded: every deeper row after it leaves the display and it gets 8;
  // as its files leave too, a row with files also gets 0x20, so that a
  // later rebuild shows what the user saw.
  GridUpdate Grid_ToggleChildren(int displayRow, bool wholeSubtree, bool filesToo);

private:
  int shownBelow(int displayRow) const;
  GridUpdate splice(int displayRow, int erase, int line);
  void setMarks(int displayRow, int flags);

  GridModel* grid_;
  std::vector<std::int32_t> rows_;  // rows to insert, reused
};

}  // namespace zevro
