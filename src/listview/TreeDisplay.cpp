#include "listview/TreeDisplay.h"

#include <algorithm>
#include <new>

#include "core/CatalogList.h"
#include "grid/GridKeys.h"
#include "listview/TreeRows.h"

namespace zevro {

using namespace catalog;

TreeUpdate& TreeUpdate::merge(const TreeUpdate& later) {
  folder.merge(later.folder);
  files.merge(later.files);
  paneFilled |= later.paneFilled;
  toggled |= later.toggled;
  if (later.focus != TreeFocus::Keep) focus = later.focus;
  return *this;
}

TreeDisplay::TreeDisplay(GridModel& folderGrid, GridModel& fileGrid)
    : folder_(&folderGrid), pane_(fileGrid), toggle_(folderGrid) {}

RowStore& TreeDisplay::catalog() { return folder_->store(); }
const RowStore& TreeDisplay::catalog() const { return folder_->store(); }

void TreeDisplay::setDisplayMode(int mode) { mode_ = DisplayMode::forRows(mode, catalog().rowCount()); }

// ---------------------------------------------------------------- commands

TreeUpdate TreeDisplay::chooseDisplayMenuItem(int item) {
  if (!DisplayMode::menuEnabled(item, catalog().rowCount())) return {};
  return changeMode(DisplayMode::afterMenuItem(mode_, item));
}

TreeUpdate TreeDisplay::pressPaneButton(int paneBit) {
  return changeMode(DisplayMode::afterPaneButton(mode_, paneBit));
}

TreeUpdate TreeDisplay::chooseLevel(int level) { return BuildFolderView(level, false, true); }

TreeUpdate TreeDisplay::changeMode(int mode) {
  const bool paneWasOpen = paneOpen();
  setDisplayMode(mode);
  // A pane that opens again may show a folder that changed meanwhile.
  if (!paneWasOpen && paneOpen()) pane_.forget();
  return BuildFolderView(levelLimit_, true, false);
}

// ---------------------------------------------------------------- building

void TreeDisplay::prepareMarks() { FolderViewBuilder::prepareMarks(catalog()); }

void TreeDisplay::catalogReplaced() {
  pane_.forget();
  if (folder_->rowCount() > 0) folder_->Grid_ShowFrom(0);
}

int TreeDisplay::displayRowOf(int row) const {
  // The folder grid shows its rows in stored order (it is never sorted).
  const std::span<const std::int32_t> order = catalog().displayOrder();
  const auto it = std::lower_bound(order.begin(), order.end(), row);
  if (it == order.end() || *it != row) return -1;
  return static_cast<int>(it - order.begin());
}

int TreeDisplay::nearestShown(int row) const {
  for (int r = row; r >= 0; r = TreeRows::parentOf(catalog(), r)) {
    const int d = displayRowOf(r);
    if (d >= 0) return d;
  }
  return 0;
}

TreeUpdate TreeDisplay::BuildFolderView(int levelLimit, bool keepState, bool keepPosition, int referenceRow) {
  RowStore& store = catalog();
  mode_ = DisplayMode::forRows(mode_, store.rowCount());
  // The reference row and its screen line; with the cursor out of view the
  // top row stands in on line 0.
  const int top = folder_->topRow();
  int line = 0;
  if (referenceRow < 0) {
    const int cursor = folder_->cursorRow();
    const bool visible = cursor >= top && cursor < top + folder_->visibleRows();
    referenceRow = store.storedRowAt(visible ? cursor : top);
    line = visible ? cursor - top : 0;
  } else {
    const int d = displayRowOf(referenceRow);
    line = d >= top && d < top + folder_->visibleRows() ? d - top : 0;
  }

  levelLimit_ = levelLimit;
  try {
    if (keepState) {
      builder_.buildKeepingState(store, shownMode());
      levelLimit_ = 0;
    } else {
      builder_.buildToLevel(store, shownMode(), levelLimit);
    }
  } catch (const std::bad_alloc& e) {
    report(ascii(e.what()));
  }

  TreeUpdate u;
  if (keepPosition && referenceRow >= 0) {
    // The row itself, not its path: equal names cannot mislead it.
    u = reveal(referenceRow, line, false, false);
  } else {
    placeCursor(referenceRow < 0 ? 0 : nearestShown(referenceRow), line, u.folder);
    u.merge(FillFilePane(false));
  }
  u.folder.merge(folder_->Grid_ClearSelection());
  u.folder.full = true;
  u.folder.layout = true;
  return u;
}

void TreeDisplay::placeCursor(int displayRow, int line, GridUpdate& update) {
  if (folder_->rowCount() == 0) {
    update.merge(folder_->Grid_Refresh());
    return;
  }
  update.merge(folder_->Grid_MoveCursor(displayRow));
  if (line < 0) {
    update.merge(folder_->Grid_ShowRow(displayRow, true));
  } else {
    update.merge(folder_->Grid_KeepRowAt(displayRow, line));
  }
}

void TreeDisplay::report(TextView message) const {
  if (onError_) onError_(message);
}

// ---------------------------------------------------------------- file pane

TreeUpdate TreeDisplay::FillFilePane(bool force) {
  TreeUpdate u;
  if (!paneOpen() || folder_->rowCount() == 0) return u;
  const int folderRow = catalog().storedRowAt(folder_->cursorRow());
  u.paneFilled = pane_.fill(catalog(), folderRow, force, u.files);
  return u;
}

Text TreeDisplay::consoleText(bool folderGridFocused) const {
  if (!paneOpen() || !folderGridFocused) return {};
  return pane_.fileCountText();
}

// ---------------------------------------------------------------- toggles

TreeUpdate TreeDisplay::folderGridPress(int x, int y, int shift) {
  const int row = folder_->Grid_RowAt(std::max(y, 0));
  const int stored = catalog().storedRowAt(row);
  if (stored < 0) return {};
  const int flags = catalog().displayFlags(row);
  const int indent = catalog().indent(stored);
  const int mode = shownMode();
  TreeUpdate u;
  if ((mode == 0 || mode == DisplayMode::FilesInTree) && x >= indent && x < indent + folder_->icons().width) {
    constexpr int ClosedWithFiles = TreeHasChildren | TreeCollapsed | TreeHasFiles;
    if ((flags & ClosedWithFiles) == ClosedWithFiles) {
      // A closed folder opens with its files.
      const int marks = catalog().treeFlags(stored) & ~TreeFilesHidden;
      catalog().setTreeFlags(stored, marks);
      catalog().setDisplayFlags(row, marks);
      u = Grid_ToggleChildren(row, false, mode == DisplayMode::FilesInTree);
    } else {
      u = Grid_ToggleFiles(row);
    }
  } else if (x < indent && (flags & TreeHasChildren) != 0) {
    const bool whole = (shift & gridkey::ShiftMask) != 0;
    u = Grid_ToggleChildren(row, whole, whole && mode == DisplayMode::FilesInTree);
  }
  u.toggled = u.folder.full;
  if (u.toggled) folder_->beginToggle();
  return u;
}

TreeUpdate TreeDisplay::Grid_ToggleFiles(int displayRow) {
  TreeUpdate u;
  u.folder = toggle_.Grid_ToggleFiles(displayRow);
  u.merge(FillFilePane(false));
  return u;
}

TreeUpdate TreeDisplay::Grid_ToggleChildren(int displayRow, bool wholeSubtree, bool filesToo) {
  TreeUpdate u;
  u.folder = toggle_.Grid_ToggleChildren(displayRow, wholeSubtree, filesToo);
  u.merge(FillFilePane(false));
  return u;
}

// ---------------------------------------------------------------- reveal

// Every ancestor of the row loses 8; one whose child on the way is a file
// (an archive row, the file's own folder) or that is an archive itself also
// loses 0x20, as its files lead to the row.
void TreeDisplay::openAncestors(int row) {
  RowStore& store = catalog();
  int child = row;
  for (int p = TreeRows::parentOf(store, row); p >= 0; p = TreeRows::parentOf(store, p)) {
    int flags = store.treeFlags(p) & ~TreeCollapsed;
    if (!isFolderLike(store.kind(child)) || !isFolderLike(store.kind(p))) flags &= ~TreeFilesHidden;
    store.setTreeFlags(p, flags);
    child = p;
  }
}

// The folder whose pane shows the row: its nearest ancestor that the
// folder view lists (kind below 5).
int TreeDisplay::folderOf(int row) const {
  int p = TreeRows::parentOf(catalog(), row);
  while (p > 0 && catalog().kind(p) >= KindArchiveFolder) p = TreeRows::parentOf(catalog(), p);
  return std::max(p, 0);
}

TreeUpdate TreeDisplay::RevealRow(TextView path, int screenLine, bool focus, bool paneFocus) {
  const int row = catalog().findRowByPath(path, 1);
  if (row >= 0) return reveal(row, screenLine, focus, paneFocus);
  TreeUpdate u;
  if (folder_->rowCount() > 0) u.folder.merge(folder_->Grid_ShowFrom(0));
  u.merge(FillFilePane(false));
  u.focus = TreeFocus::FolderGrid;
  u.found = -1;
  return u;
}

TreeUpdate TreeDisplay::reveal(int row, int screenLine, bool focus, bool paneFocus) {
  TreeUpdate u;
  if (catalog().kind(row) < KindArchiveFolder || filesInTree()) {
    u = showInTree(row, screenLine);
  } else if (paneOpen()) {
    u = showInPane(row, paneFocus);
  } else {
    u = showFileInTree(row, screenLine);
  }
  if (focus && u.focus == TreeFocus::Keep) u.focus = TreeFocus::FolderGrid;
  u.found = row;
  return u;
}

void TreeDisplay::rebuildKeepingState() {
  try {
    builder_.buildKeepingState(catalog(), shownMode());
    levelLimit_ = 0;
  } catch (const std::bad_alloc& e) {
    report(ascii(e.what()));
  }
}

TreeUpdate TreeDisplay::showInTree(int row, int screenLine) {
  openAncestors(row);
  rebuildKeepingState();
  TreeUpdate u;
  placeCursor(nearestShown(row), screenLine, u.folder);
  u.folder.full = true;
  u.folder.layout = true;
  u.merge(FillFilePane(false));
  return u;
}

// Folders only, no pane: the file's folder shows its files inside the tree.
TreeUpdate TreeDisplay::showFileInTree(int row, int screenLine) {
  const int folder = folderOf(row);
  openAncestors(row);
  rebuildKeepingState();  // hides every folder's files in this mode
  // Open the way from the folder down to the file again.
  RowStore& store = catalog();
  for (int p = TreeRows::parentOf(store, row); p > folder; p = TreeRows::parentOf(store, p)) {
    store.setTreeFlags(p, store.treeFlags(p) & ~(TreeCollapsed | TreeFilesHidden));
  }
  TreeUpdate u;
  const int folderRow = displayRowOf(folder);
  if (folderRow >= 0 && (store.displayFlags(folderRow) & TreeFilesHidden) != 0) {
    u.folder = toggle_.Grid_ToggleFiles(folderRow);
  }
  placeCursor(nearestShown(row), screenLine, u.folder);
  u.folder.full = true;
  u.folder.layout = true;
  return u;
}

TreeUpdate TreeDisplay::showInPane(int row, bool paneFocus) {
  const int folder = folderOf(row);
  TreeUpdate u;
  if (pane_.folderRow() != folder || displayRowOf(folder) < 0) {
    openAncestors(folder);
    rebuildKeepingState();
    u.folder.full = true;
    u.folder.layout = true;
  }
  const int folderRow = displayRowOf(folder);
  if (folderRow >= 0) u.folder.merge(folder_->Grid_ShowRow(folderRow, true));
  u.merge(FillFilePane(false));
  GridModel& files = pane_.grid();
  const int paneRow = pane_.paneRowOf(row);
  const int fileRow = paneRow < 0 ? -1 : files.store().displayRowOf(paneRow);
  if (fileRow >= 0) u.files.merge(files.Grid_ShowRow(fileRow, true));
  if (paneFocus) u.focus = TreeFocus::FileGrid;
  return u;
}

// ---------------------------------------------------------------- sorting

TreeUpdate TreeDisplay::sortFiles(int kind) {
  TreeUpdate u;
  u.files = pane_.sorter().Grid_SetSort(0, kind);
  return u;
}

TreeUpdate TreeDisplay::fileTitleClicked() {
  TreeUpdate u;
  u.files = pane_.sorter().Grid_ItemBarClick();
  return u;
}

}  // namespace zevro
