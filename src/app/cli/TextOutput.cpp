#include "app/cli/TextOutput.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "app/cli/Cli.h"
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
