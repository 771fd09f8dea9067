#include "viewers/DocumentText.h"

#include "text/Cp932.h"
#include "text/Utf8.h"

namespace zevro {

Text decodeDocument(std::string_view bytes) {
  Text out;
  bool beyondAscii = false;
  for (std::size_t i = 0; i < bytes.size();) {
    char32_t cp = 0;
    const std::size_t n = utf::sequence(bytes, i, cp);
    // A cut at the end of the shown bytes may split the last character.
    if (n == 0) {
      if (bytes.size() - i < 4 && beyondAscii) break;
      return cp932::decode(bytes);
    }
    beyondAscii = beyondAscii || n > 1;
    utf::appendUtf16(out, cp);
    i += n;
  }
  return beyondAscii ? out : cp932::decode(bytes);
}

std::optional<Text> documentText(FileSystem& files, const NativePath& file, IoError* error) {
  std::string bytes;
  if (IoError e = files.readStart(file, bytes, DocumentShownBytes)) {
    if (error) *error = e;
    return std::nullopt;
  }
  return decodeDocument(bytes);
}

}  // namespace zevro
