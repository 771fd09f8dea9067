#pragma once
// The messages of the files and folders written or emptied when the program
// ends (histories, the title cache, the work folders). Shown in the program's
// message box; the shutdown goes on after each.
#include "core/FileOps.h"
#include "text/Text.h"

namespace zevro {

inline constexpr TextView MsgFileWriteError = u"File書き込みエラー：";
inline constexpr TextView MsgDirAccessError = u"DIRアクセスエラー：";

// "File書き込みエラー：/home/kaori/.local/share/zevro/Catalog.Opt"
inline Text fileWriteErrorText(const NativePath& file) { return Text(MsgFileWriteError) + fileops::shown(file); }

// "DIRアクセスエラー：/home/kaori/.local/share/zevro/temp"
inline Text dirAccessErrorText(const NativePath& folder) { return Text(MsgDirAccessError) + fileops::shown(folder); }

}  // namespace zevro
