#pragma once
// The Qt family that draws a font name of the option files: a Windows
// Japanese face becomes its IPA stand-in (see platform/FontNames.h), an
// installed family stays itself, anything else falls back to IPAPGothic, so
// a family with Japanese glyphs is always named:
//   u"ＭＳ Ｐ明朝" -> "IPAPMincho", u"IPAGothic" -> "IPAGothic", u"Arial" -> "IPAPGothic"
// (on a desktop without Arial).
#include <QFontDatabase>
#include <QString>

#include "platform/FontNames.h"
#include "platform/qt/QtText.h"

namespace zevro {

inline QString qtFamilyFor(TextView name) {
  if (const TextView ipa = fontnames::ipaFamilyFor(name); !ipa.empty()) return toQString(ipa);
  const QString family = toQString(name);
  if (!family.isEmpty() && QFontDatabase::hasFamily(family)) return family;
  return toQString(fontnames::FallbackFamily);
}

}  // namespace zevro
