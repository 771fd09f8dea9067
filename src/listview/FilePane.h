#pragma once
// The file pane: the file grid holding copies of the files of one folder of
// the folder grid, and the map from its rows back to the catalog rows
// (edits of a file-pane row go through the map to the catalog).
//
// For the folder DOCS (stored row 7, level 1) of
//   7 DOCS (1)  8 A.TXT (2)  9 TOOLS.ZIP (2)  10 X.TXT (3)  11 SUB (2) ...
// the pane holds A.TXT (level 0), TOOLS.ZIP (level 0), X.TXT (level 1) and
// sourceRow(0..2) gives 8, 9, 10. The rows are copied whole (all fields,
// kind code, highlight mark) with colour index 0.
//
// The pane remembers the path of the folder it shows (u"DOCS", u"" for the
// title line) so that moving the folder cursor within the same folder does
// not refill it; forget() makes the next fill happen whatever the path.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/RowStore.h"
#include "grid/GridModel.h"
#include "grid/GridUpdate.h"
#include "listview/ListSorter.h"
#include "text/Text.h"

namespace zevro {

// Shown after the file count on the console line: u" 3個のファイル".
inline constexpr TextView FileCountSuffix = u"個のファイル";

class FilePane {
public:
  explicit FilePane(GridModel& fileGrid);

  GridModel& grid() { return *grid_; }
  ListSorter& sorter() { return sorter_; }

  // Fills the pane with the files of stored row `folderRow` of `catalog`,
  // unless it shows that folder already in the catalog's natural sort kind
  // and `force` is off. The grid is cleared, takes the catalog's indent per
  // level and natural sort kind (as its sort kind too: a sort the user
  // chose lasts until the folder changes), turns its tree mode on and shows
  // the first row. Answers whether it filled.
  bool fill(const RowStore& catalog, int folderRow, bool force, GridUpdate& update);

  // Catalog row of a pane row (stored row of the file grid), -1 outside.
  int sourceRow(int paneRow) const;
  std::span<const std::int32_t> map() const { return {map_.data(), map_.size()}; }
  // Pane row (stored) that shows a catalog row, -1 when none does.
  int paneRowOf(int catalogRow) const;
  // Catalog row of the folder shown, -1 before the first fill.
  int folderRow() const { return folderRow_; }
  const std::optional<Text>& folderPath() const { return folderPath_; }
  void forget();
  // How many times the pane was filled: a row number of the pane is only
  // good for the fill it was taken from.
  int fills() const { return fills_; }

  int fileCount() const;
  // u" 3個のファイル" (the count with the blank of a positive number).
  Text fileCountText() const;

private:
  GridModel* grid_;
  ListSorter sorter_;
  std::vector<std::int32_t> map_;
  std::optional<Text> folderPath_;
  int folderRow_ = -1;
  int fills_ = 0;
};

}  // namespace zevro
