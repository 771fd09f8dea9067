#include "platform/FontNames.h"

#include <array>
#include <utility>

namespace zevro::fontnames {

namespace {

// Windows faces and the IPA faces that stand in for them; the first name of
// each IPA face is the one stored for it.
constexpr std::array<std::pair<TextView, TextView>, 12> Substitutes{{
    {u"ＭＳ Ｐゴシック", u"IPAPGothic"},
    {u"MS PGothic", u"IPAPGothic"},
    {u"MS UI Gothic", u"IPAPGothic"},
    {u"Meiryo UI", u"IPAPGothic"},
    {u"Meiryo", u"IPAPGothic"},
    {u"メイリオ", u"IPAPGothic"},
    {u"ＭＳ ゴシック", u"IPAGothic"},
    {u"MS Gothic", u"IPAGothic"},
    {u"ＭＳ 明朝", u"IPAMincho"},
    {u"MS Mincho", u"IPAMincho"},
    {u"ＭＳ Ｐ明朝", u"IPAPMincho"},
    {u"MS PMincho", u"IPAPMincho"},
}};

}  // namespace

TextView ipaFamilyFor(TextView windowsName) {
  for (const auto& [windows, ipa] : Substitutes) {
    if (windows == windowsName) return ipa;
  }
  return {};
}

Text storedNameFor(TextView family) {
  for (const auto& [windows, ipa] : Substitutes) {
    if (ipa == family) return Text(windows);
  }
  return Text(family);
}

}  // namespace zevro::fontnames
