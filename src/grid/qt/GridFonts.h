#pragma once
// Fonts of the grids on this desktop. The option files name Windows fonts
// ("ＭＳ Ｐゴシック", "MS UI Gothic", "Meiryo UI", "ＭＳ 明朝"); they map to the
// IPA fonts, which carry the Japanese glyphs. A family that is not
// installed falls back to the stand-in of "ＭＳ Ｐゴシック" (IPAPGothic), so a
// name is always given: the desktop's default may have no Japanese glyphs.
#include <QFont>
#include <QString>

#include "grid/GridSettings.h"

namespace zevro::gridfonts {

// "ＭＳ Ｐゴシック" -> "IPAPGothic", "ＭＳ ゴシック" -> "IPAGothic",
// "ＭＳ 明朝" -> "IPAMincho", an installed family -> itself.
QString familyFor(TextView name);

QFont fontFor(const GridFontSetting& setting);

}  // namespace zevro::gridfonts
