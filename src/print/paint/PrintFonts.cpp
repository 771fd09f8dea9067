#include "print/paint/PrintFonts.h"

namespace zevro::printfonts {

namespace {

struct Face {
  TextView name;
  const char* family;
};

// [mincho][proportional]
constexpr Face Faces[2][2] = {
    {{u"ＭＳ ゴシック", "IPAGothic"}, {u"ＭＳ Ｐゴシック", "IPAPGothic"}},
    {{u"ＭＳ 明朝", "IPAMincho"}, {u"ＭＳ Ｐ明朝", "IPAPMincho"}},
};

}  // namespace

TextView printFontName(bool mincho, bool proportional) { return Faces[mincho ? 1 : 0][proportional ? 1 : 0].name; }

QString printFamily(bool mincho, bool proportional) {
  return QString::fromLatin1(Faces[mincho ? 1 : 0][proportional ? 1 : 0].family);
}

}  // namespace zevro::printfonts
