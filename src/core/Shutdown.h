#pragma once
// What the main window does with the option store and the program folder when
// the program ends, as functions the window calls in this order:
//   (the window's own options, written by the window)
//   saveSearchWords(platform, programFolder / SearchWordFileName, words);  (core/SearchHistory.h)
//   (title cache, selection window …)
//   emptyWorkFolders(platform, programFolder);
//   saveOptions(platform, options);
// Every failure is shown and the shutdown goes on.
#include "core/OptionStore.h"
#include "platform/Platform.h"
#include "text/Text.h"

namespace zevro {

// Saves the option store; a failure shows "File書き込みエラー：" + its path
// and leaves the old file. True when the file holds every value.
bool saveOptions(Platform& platform, OptionStore& options);

// Deletes TempFile/ with its tree and the files of temp/. A folder that
// cannot be emptied shows "DIRアクセスエラー：" + its path. True when both
// are done.
bool emptyWorkFolders(Platform& platform, const NativePath& programFolder);

}  // namespace zevro
