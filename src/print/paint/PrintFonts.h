#pragma once
// The four print fonts and the faces that stand in for them on this
// desktop: the Mincho and Gothic faces of the IPA fonts, fixed pitch and
// proportional.
//
//   printFontName(true, false)   u"ＭＳ 明朝"        printFamily(true, false)  "IPAMincho"
//   printFontName(false, true)   u"ＭＳ Ｐゴシック"  printFamily(false, true)  "IPAPGothic"
#include <QString>

#include "text/Text.h"

namespace zevro::printfonts {

TextView printFontName(bool mincho, bool proportional);
QString printFamily(bool mincho, bool proportional);

}  // namespace zevro::printfonts
