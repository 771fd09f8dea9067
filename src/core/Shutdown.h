#pragma once
// What the main window does with the option store and the program folder when
// the program ends, as functions the window calls in this order:
//   writeMainWindowOptions(options, settings);
//   saveSearchWords(platform, programFolder / SearchWordFileName, words);  (core/SearchHistory.h)
//   (title cache, selection window …)
//   emptyWorkFolders(platform, programFolder);
//   saveOptions(platform, options);
// Every failure is shown and the shutdown goes on.
#include <utility>
#include <vector>

#include "core/OptionStore.h"
#include "core/Text.h"
#include "platform/Platform.h"

namespace zevro {

// The main window's settings kept across runs. Geometry in twips.
struct MainWindowSettings {
  bool normalState = true;  // neither minimized nor maximized: the geometry is written
  int windowX = 0;
  int windowY = 0;
  int width = 0;
  int height = 0;
  int folderPercentH = 50;
  int folderPercentV = 50;
  int fileFrames = 4;
  int currentJanreNo = 0;
  Text janreOpen;           // one state character per genre, like u"31000000000000000000"
  bool alphaSame = false;
  bool hanZenSame = false;
  bool findTerm = false;
  bool useWildCard = false;
  // The column widths in use, like {opt::ListWidthNs0, 90}, {opt::FileWidthNs0, 215}.
  std::vector<std::pair<Text, int>> columnWidths;
};

// Writes WindowX, WindowY, WIDTH, HEIGHT (only in the normal state),
// FolderPercentH, FolderPercentV, FileFrames, CurrentJanreNo, JanreOpen,
// AlphaSame, HanZenSame, FindTerm, UseWildCard and the column widths.
void writeMainWindowOptions(OptionStore& options, const MainWindowSettings& settings);

// Saves the option store; a failure shows "File書き込みエラー：" + its path
// and leaves the old file. True when the file holds every value.
bool saveOptions(Platform& platform, OptionStore& options);

// Deletes TempFile/ with its tree and the files of temp/. A folder that
// cannot be emptied shows "DIRアクセスエラー：" + its path. True when both
// are done.
bool emptyWorkFolders(Platform& platform, const NativePath& programFolder);

}  // namespace zevro
