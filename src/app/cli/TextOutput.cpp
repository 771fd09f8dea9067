#include "app/cli/TextOutput.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "app/cli/Cli.h"
#include "core/Strings.h"
#include "text/Cp932.h"
#include "text/Utf8.h"

namespace zevro::cli {

std::string oneLineField(TextView text) {
  std::string line;
  appendOneLineField(text, line);
  return line;
}

void appendOneLineField(TextView text, std::string& out) {
  for (std::size_t i = 0; i < text.size();) {
    const char16_t c = text[i];
    if (c < 0x80) {
      out.push_back(c == ch::Tab || c == ch::CR || c == ch::LF ? ' ' : static_cast<char>(c));
      ++i;
      continue;
    }
    // Tabs and line ends are ASCII, and a run without ASCII never parts a
    // surrogate pair: the run is converted as it stands.
    std::size_t end = i + 1;
    while (end < text.size() && text[end] >= 0x80) ++end;
    out += toUtf8(text.substr(i, end - i));
    i = end;
  }
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

int finishOutput(std::ostream& out, std::ostream& err, int status, int code, std::ios::iostate exceptions) {
  out.exceptions(std::ios::goodbit);
  if (out) {
    errno = 0;
    out.flush();
    if (!out) code = errno;
  }
  // std::cout writes through C's stdout: its buffer is only flushed, and its
  // error only seen, there.
  if (&out == &std::cout) {
    errno = 0;
    if (std::fflush(stdout) != 0 && !code) code = errno;
    if (std::ferror(stdout)) out.setstate(std::ios::badbit);
  }
  const bool failed = !out;
  out.clear();
  out.exceptions(exceptions);
  if (!failed) return status;
  err << "zevro-cli: cannot write the output: " << (code ? std::strerror(code) : "write error") << '\n';
  return ExitError;
}

}  // namespace zevro::cli
