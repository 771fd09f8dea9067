#include "viewers/DocumentText.h"

#include "text/Cp932.h"
#include "text/Utf8.h"

namespace zevro {

namespace {

// CP932 text of the first bytes of a file: a lead byte left alone at the
// end by the cut is dropped rather than shown as a stray sign.
Text decodeCp932Start(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const bool lead = cp932::isLeadByte(static_cast<unsigned char>(bytes[i]));
    if (lead && i + 1 == bytes.size()) return cp932::decode(bytes.substr(0, i));
    i += lead ? 2 : 1;
  }
  return cp932::decode(bytes);
}

}  // namespace

Text decodeDocument(std::string_view bytes) {
  Text out;
  bool beyondAscii = false;
  for (std::size_t i = 0; i < bytes.size();) {
    char32_t cp = 0;
    const std::size_t n = utf::sequence(bytes, i, cp);
    // A cut at the end of the shown bytes may split the last character.
    if (n == 0) {
      if (bytes.size() - i < 4 && beyondAscii) break;
      return decodeCp932Start(bytes);
    }
    beyondAscii = beyondAscii || n > 1;
    utf::appendUtf16(out, cp);
    i += n;
  }
  return beyondAscii ? out : decodeCp932Start(bytes);
}

}  // namespace zevro
