#pragma once
// What the two grids of the main window show of the catalog: the folder
// grid holds the whole catalog as its row store and shows it as a tree; the
// file grid, while a file pane is open, shows the files of the folder under
// the folder grid's cursor.
//
// The window owns both grids and forwards to this class: level and mode
// commands, clicks on the folder grid, folder cursor moves, sorts of the
// file grid, requests to show a row by its path. Each call answers with a
// TreeUpdate telling what to draw again and which grid takes the focus.
//
//   RowStore catalog;  RowStore files;          // catalog filled by a load
//   GridModel folderGrid(catalog), fileGrid(files);
//   TreeDisplay tree(folderGrid, fileGrid);
//   tree.setDisplayMode(2);                     // files in a right pane
//   tree.catalogReplaced();                     // after a reading or a load
//   tree.prepareMarks();                        //   (unless the saved view is kept)
//   tree.BuildFolderView(0, false, false);      // all levels
//   tree.RevealRow(u"DOCS\\README.TXT", 3, true, false);
//
// Tree flags used here (per stored row, saved with the list): 1 has
// children, 2 last sibling, 8 collapsed, 0x10 has files, 0x20 files hidden.
// Kind codes: 1 folder, 2..4 title line, 5 folder inside an archive, 6 and
// more files.
#include <cstdint>
#include <functional>
#include <span>

#include "grid/GridModel.h"
#include "grid/GridUpdate.h"
#include "listview/DisplayMode.h"
#include "listview/FilePane.h"
#include "listview/FolderViewBuilder.h"
#include "listview/ListSorter.h"
#include "listview/TreeToggle.h"
#include "text/Text.h"

namespace zevro {

enum class TreeFocus : int {
  Keep = 0,    // the focus stays where it is
  FolderGrid,  // the folder grid takes the focus
  FileGrid,    // the file grid takes the focus
};

struct TreeUpdate {
  GridUpdate folder;        // what the folder grid must draw again
  GridUpdate files;         // what the file grid must draw again
  bool paneFilled = false;  // the file pane got new rows (console line, item bar)
  bool toggled = false;     // a click opened or closed a row (the click is used up)
  TreeFocus focus = TreeFocus::Keep;
  int found = 0;  // RevealRow: the stored row shown, -1 for an unknown path

  // Takes in what a later step changed (found stays this one's).
  TreeUpdate& merge(const TreeUpdate& later);
};

class TreeDisplay {
public:
  // Tells the failure text of a build (memory ran out).
  using ErrorHandler = std::function<void(TextView message)>;

  TreeDisplay(GridModel& folderGrid, GridModel& fileGrid);

  GridModel& folderGrid() { return *folder_; }
  GridModel& fileGrid() { return pane_.grid(); }
  FilePane& filePane() { return pane_; }
  const FilePane& filePane() const { return pane_; }
  void setErrorHandler(ErrorHandler handler) { onError_ = std::move(handler); }

  // ---- Display mode and level limit ----
  // The mode as set (0, 1, 2, 4; 3 and 5 look like 2 and 4), see
  // DisplayMode.h; a list too long for one tree gets 0 in place of 1.
  int displayMode() const { return mode_; }
  void setDisplayMode(int mode);
  int shownMode() const { return DisplayMode::shown(mode_); }
  bool paneOpen() const { return DisplayMode::paneOpen(mode_); }
  bool filesInTree() const { return shownMode() == DisplayMode::FilesInTree; }
  // 0 all levels, 1 to 4; 0 after a build that kept the marks.
  int levelLimit() const { return levelLimit_; }

  // Display-mode menu item 0..3 and the pane buttons (DisplayMode::RightPane
  // / BottomPane): the mode changes and the folder view is rebuilt with its
  // marks, the cursor's row staying current. The window lays itself out
  // again when paneOpen() or shownMode() changed.
  TreeUpdate chooseDisplayMenuItem(int item);
  TreeUpdate pressPaneButton(int paneBit);
  // Level buttons and menu (0 all, 1..4): rebuilds to that level and
  // shows the cursor's row again (its ancestors open).
  TreeUpdate chooseLevel(int level);

  // ---- Building ----
  // The catalog's rows were replaced (a load, a reading, a refresh): the
  // pane's folder is forgotten (the new title line has the same empty path
  // as the old one) and the folder cursor goes to the title line, so that
  // the next build starts from the top.
  void catalogReplaced();
  // Colour indexes and file marks before the first build of a read or
  // refreshed catalog (and of a loaded one unless its saved view is kept):
  // files colour 0, folder-like rows (level mod 14) + 1; 0x10 on a row
  // followed by its files; 0x30 on a .LZH / .ZIP row followed by its
  // contents (they start hidden).
  void prepareMarks();
  // Rebuilds the folder grid's display order. keepState: the saved marks
  // 8 and 0x20 decide what is open (after toggles, edits, mode changes);
  // otherwise the level limit does (0 all). referenceRow (-1: the cursor's
  // row) stays current on its screen line; with keepPosition its
  // ancestors are opened to show it. The selection is cleared and the file
  // pane refilled when its folder changed.
  TreeUpdate BuildFolderView(int levelLimit, bool keepState, bool keepPosition, int referenceRow = -1);

  // ---- File pane ----
  // Fills the file grid with the files of the folder under the folder
  // grid's cursor (only while a pane is open) unless it shows them already.
  TreeUpdate FillFilePane(bool force);
  // The folder grid's cursor moved (keys, mouse, search): refills the pane
  // when the folder changed.
  TreeUpdate folderCursorMoved() { return FillFilePane(false); }
  // The console line for the pane: u" 3個のファイル" while a pane is open
  // and the folder grid has the focus, else empty.
  Text consoleText(bool folderGridFocused) const;

  // ---- Expand and collapse ----
  // A left press on the folder grid at surface (x, y) with shift state
  // (GridKeys.h), before the grid's own click handling: on a row's icon in
  // modes 0 and 1 it shows or hides the files, left of the icon it opens or
  // closes the row (Shift: the whole subtree). When a row was toggled
  // (update.toggled) the grid ignores the rest of the click.
  TreeUpdate folderGridPress(int x, int y, int shift);
  TreeUpdate Grid_ToggleFiles(int displayRow);
  TreeUpdate Grid_ToggleChildren(int displayRow, bool wholeSubtree, bool filesToo);

  // ---- Showing a row by its path ----
  // path from level 1 (u"DOCS\\README.TXT", u"" the title line). Opens its
  // ancestors, makes it the folder grid's cursor on `screenLine` (-1: with
  // one row of margin); a file while a pane is open is shown in the pane
  // (the pane takes the focus with paneFocus). Unknown path: row 0, the
  // folder grid takes the focus, found = -1.
  TreeUpdate RevealRow(TextView path, int screenLine, bool focus, bool paneFocus);

  // ---- Sorting the file grid ----
  // Sort menu: kind 2 name, 3 extension, 4 kind group on the name column.
  TreeUpdate sortFiles(int kind);
  // The file grid's item bar reported a picked title.
  TreeUpdate fileTitleClicked();

  // Catalog row of a file-pane row (stored row of the file grid), -1 outside.
  int paneSourceRow(int paneRow) const { return pane_.sourceRow(paneRow); }
  std::span<const std::int32_t> paneMap() const { return pane_.map(); }
  // The pane's folder is forgotten (rows deleted or renamed): the next fill
  // happens.
  void forgetPaneFolder() { pane_.forget(); }

private:
  RowStore& catalog();
  const RowStore& catalog() const;
  TreeUpdate changeMode(int mode);
  void rebuildKeepingState();
  TreeUpdate reveal(int row, int screenLine, bool focus, bool paneFocus);
  TreeUpdate showInTree(int row, int screenLine);
  TreeUpdate showFileInTree(int row, int screenLine);
  TreeUpdate showInPane(int row, bool paneFocus);
  void openAncestors(int row);
  int folderOf(int row) const;
  int displayRowOf(int row) const;
  int nearestShown(int row) const;
  void placeCursor(int displayRow, int line, GridUpdate& update);
  void report(TextView message) const;

  GridModel* folder_;
  FilePane pane_;
  TreeToggle toggle_;
  FolderViewBuilder builder_;
  int mode_ = 0;
  int levelLimit_ = 0;
  ErrorHandler onError_;
};

}  // namespace zevro
