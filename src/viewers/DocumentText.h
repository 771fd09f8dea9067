#pragma once
// The text a data window shows for a file: its first bytes decoded as UTF-8
// when they are well-formed UTF-8 with characters beyond ASCII, else as CP932
// (the catalogs' own media).
//   "読んで\n" in UTF-8 -> u"読んで\n";  the same in CP932 -> u"読んで\n"
#include <string_view>

#include "text/Text.h"

namespace zevro {

// A lead byte left alone at the end (a cut double-byte character) is dropped.
Text decodeDocument(std::string_view bytes);

}  // namespace zevro
