#pragma once
// The text a data window shows for a file: its first bytes (a huge log file
// is not read whole) decoded as UTF-8 when they are well-formed UTF-8 with
// characters beyond ASCII, else as CP932 (the catalogs' own media).
//   "読んで\n" in UTF-8 -> u"読んで\n";  the same in CP932 -> u"読んで\n"
#include <cstddef>

#include "platform/FileSystem.h"
#include "text/Text.h"

namespace zevro {

inline constexpr std::size_t DocumentShownBytes = 4 * 1024 * 1024;

Text decodeDocument(std::string_view bytes);
// The file's text, or nullopt with the error when it cannot be read.
std::optional<Text> documentText(FileSystem& files, const NativePath& file, IoError* error = nullptr);

}  // namespace zevro
