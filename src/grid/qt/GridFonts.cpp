#include "grid/qt/GridFonts.h"

#include <QFontDatabase>

#include <array>
#include <utility>

#include "platform/qt/QtText.h"

namespace zevro::gridfonts {

namespace {

constexpr const char* FallbackFamily = "IPAPGothic";

// Windows Japanese faces and the IPA faces that stand in for them.
const std::array<std::pair<TextView, const char*>, 12> Substitutes{{
    {u"ＭＳ Ｐゴシック", "IPAPGothic"},
    {u"MS PGothic", "IPAPGothic"},
    {u"MS UI Gothic", "IPAPGothic"},
    {u"Meiryo UI", "IPAPGothic"},
    {u"Meiryo", "IPAPGothic"},
    {u"メイリオ", "IPAPGothic"},
    {u"ＭＳ ゴシック", "IPAGothic"},
    {u"MS Gothic", "IPAGothic"},
    {u"ＭＳ 明朝", "IPAMincho"},
    {u"MS Mincho", "IPAMincho"},
    {u"ＭＳ Ｐ明朝", "IPAPMincho"},
    {u"MS PMincho", "IPAPMincho"},
}};

}  // namespace

QString familyFor(TextView name) {
  for (const auto& [windows, ipa] : Substitutes) {
    if (windows == name) return QString::fromLatin1(ipa);
  }
  const QString family = toQString(name);
  if (!family.isEmpty() && QFontDatabase::hasFamily(family)) return family;
  return QString::fromLatin1(FallbackFamily);
}

QFont fontFor(const GridFontSetting& setting) {
  QFont font(familyFor(setting.name));
  font.setPointSizeF(setting.size > 0 ? setting.size : 9.75);
  font.setBold(setting.bold);
  font.setItalic(setting.italic);
  return font;
}

}  // namespace zevro::gridfonts
