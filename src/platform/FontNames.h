#pragma once
// Font names between the option files and this desktop. Option files name
// Windows faces ("ＭＳ Ｐゴシック", "MS UI Gothic", "ＭＳ 明朝", "Meiryo UI");
// none of them is installed here, and a face Qt picks in their place may
// have no Japanese glyphs. Each maps to the IPA face of the same kind
// (Gothic or Mincho, fixed or proportional), which carries them all:
//   u"ＭＳ ゴシック" -> u"IPAGothic"      u"ＭＳ Ｐゴシック" -> u"IPAPGothic"
//   u"ＭＳ 明朝"     -> u"IPAMincho"      u"ＭＳ Ｐ明朝"     -> u"IPAPMincho"
// The way back keeps a chosen IPA face in the file under the Windows name,
// so that an older version reading the same file finds its own face.
#include "text/Text.h"

namespace zevro::fontnames {

// The IPA family standing in for a Windows Japanese face; empty for any
// other name (an installed family is used as it is).
TextView ipaFamilyFor(TextView windowsName);

// The name a chosen family is stored under: u"IPAMincho" -> u"ＭＳ 明朝",
// u"IPAPGothic" -> u"ＭＳ Ｐゴシック"; any other family as it is.
Text storedNameFor(TextView family);

// The proportional Gothic every Japanese text can fall back to.
inline constexpr TextView FallbackFamily = u"IPAPGothic";

}  // namespace zevro::fontnames
