#include "grid/qt/GridFonts.h"

#include "platform/qt/QtFonts.h"

namespace zevro::gridfonts {

QString familyFor(TextView name) { return qtFamilyFor(name); }

QFont fontFor(const GridFontSetting& setting) {
  QFont font(familyFor(setting.name));
  font.setPointSizeF(setting.size > 0 ? setting.size : 9.75);
  font.setBold(setting.bold);
  font.setItalic(setting.italic);
  return font;
}

}  // namespace zevro::gridfonts
