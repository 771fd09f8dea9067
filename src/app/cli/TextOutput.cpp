#include "app/cli/TextOutput.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
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
  // Room for the longest the field can take (3 bytes a unit below 0x10000),
  // written through a pointer: fields are many and short.
  std::size_t used = out.size();
  out.resize(used + text.size() * 3);
  char* to = out.data() + used;
  for (std::size_t i = 0; i < text.size();) {
    // Four units at a time while none is above 0x7F (the usual name).
    for (std::uint64_t units; i + 4 <= text.size(); i += 4) {
      std::memcpy(&units, text.data() + i, sizeof units);
      if (units & 0xFF80FF80FF80FF80ULL) break;
      for (std::size_t k = 0; k < 4; ++k) {
        const char16_t c = text[i + k];
        to[k] = c == ch::Tab || c == ch::CR || c == ch::LF ? ' ' : static_cast<char>(c);
      }
      to += 4;
    }
    std::size_t end = i;
    while (end < text.size() && text[end] < 0x80) {
      const char16_t c = text[end++];
      *to++ = c == ch::Tab || c == ch::CR || c == ch::LF ? ' ' : static_cast<char>(c);
    }
    i = end;
    // Tabs and line ends are ASCII; other characters are written as UTF-8,
    // one by one as toUtf8 writes them, and a run holding a surrogate is
    // left to toUtf8 itself (pairs, lone halves).
    while (end < text.size() && text[end] >= 0x80) ++end;
    const TextView run = text.substr(i, end - i);
    if (std::any_of(run.begin(), run.end(), [](char16_t c) { return utf::isSurrogate(c); })) {
      const std::string bytes = toUtf8(run);
      used = static_cast<std::size_t>(to - out.data());
      out.resize(used + bytes.size() + (text.size() - end) * 3);
      to = std::copy(bytes.begin(), bytes.end(), out.data() + used);
    } else {
      for (const char16_t c : run) {
        if (c < 0x800) {
          *to++ = static_cast<char>(0xC0 | (c >> 6));
        } else {
          *to++ = static_cast<char>(0xE0 | (c >> 12));
          *to++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        }
        *to++ = static_cast<char>(0x80 | (c & 0x3F));
      }
    }
    i = end;
  }
  out.resize(static_cast<std::size_t>(to - out.data()));
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
