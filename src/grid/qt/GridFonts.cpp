#include "grid/qt/GridFonts.h"

#include <QFontDatabase>

#include "platform/FontNames.h"
#include "platform/qt/QtText.h"

namespace zevro::gridfonts {

QString familyFor(TextView name) {
  if (const TextView ipa = fontnames::ipaFamilyFor(name); !ipa.empty()) return toQString(ipa);
  const QString family = toQString(name);
  if (!family.isEmpty() && QFontDatabase::hasFamily(family)) return family;
  return toQString(fontnames::FallbackFamily);
}

QFont fontFor(const GridFontSetting& setting) {
  QFont font(familyFor(setting.name));
  font.setPointSizeF(setting.size > 0 ? setting.size : 9.75);
  font.setBold(setting.bold);
  font.setItalic(setting.italic);
  return font;
}

}  // namespace zevro::gridfonts
