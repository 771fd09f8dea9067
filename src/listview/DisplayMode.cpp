#include "listview/DisplayMode.h"

namespace zevro {

int DisplayMode::shown(int mode) {
  if ((mode & RightPane) != 0) return RightPane;
  if ((mode & BottomPane) != 0) return BottomPane;
  return mode & FilesInTree;
}

int DisplayMode::forRows(int mode, int storedRows) {
  if (mode == FilesInTree && storedRows > MaxTreeRows) return 0;
  return mode;
}

int DisplayMode::afterMenuItem(int mode, int item) {
  switch (item) {
    case ItemFoldersOnly: return 0;
    case ItemOneTree: return FilesInTree;
    case ItemRightPane:
    case ItemBottomPane: {
      const int bit = item == ItemRightPane ? RightPane : BottomPane;
      if ((mode & bit) != 0) return mode;
      return (mode & ~PaneBits) | bit;
    }
    default: return mode;
  }
}

int DisplayMode::afterPaneButton(int mode, int paneBit) {
  if (paneBit != RightPane && paneBit != BottomPane) return mode;
  if ((mode & paneBit) != 0) return mode & ~PaneBits;
  return (mode & ~PaneBits) | paneBit;
}

bool DisplayMode::menuChecked(int mode, int item) {
  switch (item) {
    case ItemFoldersOnly: return mode == 0;
    case ItemOneTree: return mode == FilesInTree;
    case ItemRightPane: return (mode & RightPane) != 0;
    case ItemBottomPane: return (mode & BottomPane) != 0;
    default: return false;
  }
}

bool DisplayMode::menuEnabled(int item, int storedRows) { return item != ItemOneTree || storedRows <= MaxTreeRows; }

}  // namespace zevro
