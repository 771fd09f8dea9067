#include "app/cli/TextOutput.h"

#include "core/Strings.h"

namespace zevro::cli {

std::string oneLineField(TextView text) {
  Text line(text);
  for (char16_t& c : line)
    if (c == ch::Tab || c == ch::CR || c == ch::LF) c = u' ';
  return toUtf8(line);
}

std::string jsonString(TextView text) {
  static const char hex[] = "0123456789abcdef";
  std::string out = "\"";
  for (char c : toUtf8(text)) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      out += "\\u00";
      out += hex[byte >> 4];
      out += hex[byte & 15];
    } else {
      out += c;
    }
  }
  return out + "\"";
}

}  // namespace zevro::cli
