#include "listview/FilePane.h"

#include <algorithm>
#include <string>

#include "core/CatalogList.h"

namespace zevro {

using namespace catalog;

FilePane::FilePane(GridModel& fileGrid) : grid_(&fileGrid), sorter_(fileGrid) {}

bool FilePane::fill(const RowStore& catalog, int folderRow, bool force, GridUpdate& update) {
  if (folderRow < 0 || folderRow >= catalog.rowCount()) return false;
  Text path = catalog.rowPath(folderRow, 1);
  const ListSort order = catalog.sortOrder();
  const int natural = storedValue(order);
  if (!force && folderPath_ && *folderPath_ == path && grid_->naturalSortKind() == natural) return false;

  update.merge(grid_->Grid_Clear());
  ++fills_;
  map_.clear();
  folderPath_.reset();
  folderRow_ = -1;
  RowStore& files = grid_->store();
  makeCatalogList(files);
  files.setSortOrder(order);
  files.setIndentWidth(catalog.indentWidth());
  grid_->setNaturalSortKind(natural);
  grid_->setSort(0, natural);
  grid_->settings().treeMode = true;
  sorter_.forgetSort();

  if (isFolderLike(catalog.kind(folderRow))) {
    const int level = catalog.level(folderRow);
    const int rows = catalog.rowCount();
    int end = folderRow + 1;
    // Files, archive contents and archive folders follow their folder until
    // the next folder or title line (or a row that is not below it).
    while (end < rows && catalog.kind(end) > KindTitleHD && catalog.level(end) > level) ++end;
    const int count = end - folderRow - 1;
    map_.reserve(static_cast<std::size_t>(count));
    if (count > files.rowCapacity()) grid_->Grid_ExpandListSize(count - files.rowCapacity());
    for (int r = folderRow + 1; r < end; ++r) {
      if (!files.appendShown(catalog.record(r), 0, catalog.highlight(r), catalog.kind(r),
                             catalog.level(r) - level - 1)) {
        break;
      }
      map_.push_back(r);
    }
  }
  grid_->Grid_FinishRows(-1);
  update.merge(grid_->Grid_ShowFrom(0));
  update.full = true;
  update.layout = true;
  update.itemBar = true;
  folderPath_ = std::move(path);
  folderRow_ = folderRow;
  return true;
}

int FilePane::sourceRow(int paneRow) const {
  if (paneRow < 0 || paneRow >= static_cast<int>(map_.size())) return -1;
  return map_[static_cast<std::size_t>(paneRow)];
}

int FilePane::paneRowOf(int catalogRow) const {
  // The map rises with the pane rows: the catalog rows were copied in order.
  const auto it = std::lower_bound(map_.begin(), map_.end(), catalogRow);
  if (it == map_.end() || *it != catalogRow) return -1;
  return static_cast<int>(it - map_.begin());
}

void FilePane::forget() {
  folderPath_.reset();
  folderRow_ = -1;
}

int FilePane::fileCount() const { return grid_->rowCount(); }

Text FilePane::fileCountText() const {
  Text text = u" " + ascii(std::to_string(fileCount()));
  text += FileCountSuffix;
  return text;
}

}  // namespace zevro
