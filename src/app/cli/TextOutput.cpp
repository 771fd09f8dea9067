#include "app/cli/TextOutput.h"

#include "core/Strings.h"
#include "text/Cp932.h"
#include "text/Utf8.h"

namespace zevro::cli {

std::string oneLineField(TextView text) {
  Text line(text);
  for (char16_t& c : line)
    if (c == ch::Tab || c == ch::CR || c == ch::LF) c = u' ';
  return toUtf8(line);
}

std::string jsonString(TextView text) {
  static const char hex[] = "0123456789abcdef";
  // The exact name or text: escapes of the catalog text turned back, as a
  // name on the medium is spelled.
  const std::string bytes = cp932::toNativeName(text);
  std::string out = "\"";
  for (std::size_t i = 0; i < bytes.size();) {
    char32_t cp = 0;
    const std::size_t length = utf::sequence(bytes, i, cp);
    if (length == 0) {
      // A byte that is not UTF-8 stands as its surrogate-escape code point.
      const auto byte = static_cast<unsigned char>(bytes[i++]);
      out += "\\udc";
      out += hex[byte >> 4];
      out += hex[byte & 15];
      continue;
    }
    if (cp == '"' || cp == '\\') {
      out += '\\';
      out += static_cast<char>(cp);
    } else if (cp < 0x20) {
      out += "\\u00";
      out += hex[cp >> 4];
      out += hex[cp & 15];
    } else {
      out.append(bytes, i, length);
    }
    i += length;
  }
  return out + "\"";
}

}  // namespace zevro::cli
