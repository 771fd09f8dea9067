#include "core/ListFileName.h"

#include "core/Numbers.h"
#include "text/Cp932.h"

namespace zevro::listfilename {

namespace {

constexpr std::size_t KindAt = 3;   // "_03CD_…": C
constexpr std::size_t GenreAt = 1;  // "_03CD_…": 0
constexpr std::size_t ExtensionLength = 3;
constexpr std::size_t LongestKeptExtension = 6;  // "." and up to five characters

char16_t upperAscii(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Where the native name's extension starts (its "."), or the name's size when
// it has none worth keeping.
std::size_t extensionStart(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0 || name.size() - dot > LongestKeptExtension) return name.size();
  return dot;
}

}  // namespace

Text replaceNameCharacters(TextView label) {
  Text out(label);
  for (char16_t& c : out) {
    const std::size_t at = NameCharacters.find(c);
    if (at != TextView::npos) c = NameReplacements[at];
  }
  return out;
}

Text formName(int genre, TextView kind, TextView label) {
  Text name = u"_";
  name += zeroPadded(genre, 2);
  name += kind;
  name += u'_';
  name += replaceNameCharacters(label);
  name += u'.';
  name += MadeExtension;
  return fitName(name);
}

Text normalizedForWriting(TextView fileName) {
  Text name(fileName);
  for (std::size_t i = KindAt; i < KindAt + 2 && i < name.size(); ++i) name[i] = upperAscii(name[i]);
  const std::size_t dot = name.rfind(u'.');
  if (dot != Text::npos && name.size() - dot - 1 == ExtensionLength) {
    name.replace(dot + 1, ExtensionLength, WrittenExtension);
  } else {
    name += u'.';
    name += WrittenExtension;
  }
  return fitName(name);
}

int mediumKindOf(TextView fileName) {
  if (fileName.size() < KindAt + 2) return KindHD;
  const char16_t first = upperAscii(fileName[KindAt]);
  const char16_t second = upperAscii(fileName[KindAt + 1]);
  if (first == u'C' && second == u'D') return KindCD;
  if (first == u'F' && second == u'D') return KindFD;
  return KindHD;
}

int genreOf(TextView fileName) {
  int genre = 0;
  for (std::size_t i = GenreAt; i < GenreAt + 2 && i < fileName.size() && isDigit(fileName[i]); ++i)
    genre = genre * 10 + (fileName[i] - u'0');
  return genre;
}

Text kindName(int mediumKind) {
  if (mediumKind == KindCD) return u"CD";
  if (mediumKind == KindFD) return u"FD";
  return u"HD";
}

std::string fitNativeName(std::string_view nativeName) {
  if (nativeName.size() <= MaxNativeNameBytes) return std::string(nativeName);
  const std::size_t dot = extensionStart(nativeName);
  const std::string_view extension = nativeName.substr(dot);
  std::size_t keep = MaxNativeNameBytes - extension.size();
  // Back to the start of a UTF-8 sequence: continuation bytes are 10xxxxxx.
  while (keep > 0 && (static_cast<unsigned char>(nativeName[keep]) & 0xC0) == 0x80) --keep;
  std::string out(nativeName.substr(0, keep));
  out += extension;
  return out;
}

Text fitName(TextView fileName) {
  const std::string native = cp932::toNativeName(fileName);
  if (native.size() <= MaxNativeNameBytes) return Text(fileName);
  return cp932::fromNativeName(fitNativeName(native));
}

}  // namespace zevro::listfilename
