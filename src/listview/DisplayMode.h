#pragma once
// The display mode of the main window: which grid shows the files.
//
// The mode is a set of bits: 1 files inside the folder tree, 2 a file pane
// on the right, 4 a file pane below. Bit 1 counts only while no pane bit is
// set, so 3 and 5 look like 2 and 4 (and remember that closing the pane
// brings the files back into the tree):
//   mode 0  folders only             mode 1  folders and files in one tree
//   mode 2  files in a right pane    mode 4  files in a bottom pane
// The option FileFrames and every list file keep the mode as it is set.
//
// A list of more than 32,767 stored rows is never shown as one tree: its
// mode 1 falls back to 0 and the menu item for mode 1 is disabled.
namespace zevro {

class DisplayMode {
public:
  static constexpr int FilesInTree = 1;
  static constexpr int RightPane = 2;
  static constexpr int BottomPane = 4;
  static constexpr int PaneBits = RightPane | BottomPane;
  static constexpr int MaxTreeRows = 32767;

  // Items of the display-mode menu, in menu order.
  static constexpr int ItemFoldersOnly = 0;
  static constexpr int ItemOneTree = 1;
  static constexpr int ItemRightPane = 2;
  static constexpr int ItemBottomPane = 3;
  static constexpr int ItemCount = 4;

  // The mode as shown: 0, 1, 2 or 4 (3 -> 2, 5 -> 4, 6 -> 2, 7 -> 2).
  static int shown(int mode);
  static bool paneOpen(int mode) { return (mode & PaneBits) != 0; }
  static bool filesInTree(int mode) { return shown(mode) == FilesInTree; }

  // The mode a list of `storedRows` rows may use: exactly 1 becomes 0 for
  // a list too long for one tree; everything else stays.
  static int forRows(int mode, int storedRows);

  // After choosing display-mode menu item 0..3: item 0 drops bit 1 and any
  // pane (0), item 1 adds bit 1 and closes any pane (1), items 2 and 3 open
  // their pane in place of the other one, keeping bit 1 (1 -> 3, 4 -> 2),
  // and leave an open pane as it is.
  static int afterMenuItem(int mode, int item);
  // After a pane button (RightPane or BottomPane): an open pane of that
  // button closes with the other (3 -> 1), otherwise the button's pane
  // replaces the other (4 -> 2, 1 -> 3).
  static int afterPaneButton(int mode, int paneBit);

  // Check mark of menu item 0..3: item 0 for mode 0, item 1 for mode 1,
  // items 2 and 3 while their pane bit is set.
  static bool menuChecked(int mode, int item);
  // Item 1 is disabled for a list too long for one tree.
  static bool menuEnabled(int item, int storedRows);
};

}  // namespace zevro
