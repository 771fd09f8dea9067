#pragma once
// The messages of the program's own files and folders that cannot be read,
// written or emptied (options, histories, the title cache, the work folders). Shown in the program's
// message box; the shutdown goes on after each.
#include "core/FileOps.h"
#include "text/Text.h"

namespace zevro {

inline constexpr TextView MsgFileWriteError = u"File書き込みエラー：";
inline constexpr TextView MsgDirAccessError = u"DIRアクセスエラー：";
inline constexpr TextView MsgFileReadError = u"File読み込みエラー：";

// "File書き込みエラー：/home/kaori/.local/share/zevro/Catalog.Opt"
inline Text fileWriteErrorText(const NativePath& file) { return Text(MsgFileWriteError) + fileops::shown(file); }

// "File読み込みエラー：/home/kaori/.local/share/zevro/ZEVRO32.Opt"
inline Text fileReadErrorText(const NativePath& file) { return Text(MsgFileReadError) + fileops::shown(file); }

// "DIRアクセスエラー：/home/kaori/.local/share/zevro/temp"
inline Text dirAccessErrorText(const NativePath& folder) { return Text(MsgDirAccessError) + fileops::shown(folder); }

}  // namespace zevro
