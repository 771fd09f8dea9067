#pragma once
// The program's name as its windows show it: the caption of a message box
// that was given no title, and of the platform's plain message box.
#include "text/Text.h"

namespace zevro {

inline constexpr TextView ApplicationTitle = u"ZEVRO";

}  // namespace zevro
