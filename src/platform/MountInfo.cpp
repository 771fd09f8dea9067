#include "platform/MountInfo.h"

#include <algorithm>
#include <charconv>

namespace zevro {

namespace {

bool isOctal(char c) { return c >= '0' && c <= '7'; }

std::vector<std::string_view> splitBlanks(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && line[at] == ' ') ++at;
    if (at >= line.size()) break;
    const std::size_t end = std::min(line.find(' ', at), line.size());
    fields.push_back(line.substr(at, end - at));
    at = end;
  }
  return fields;
}

template <typename Number>
bool readNumber(std::string_view text, Number& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

// "8:17" -> 8 and 17.
bool readDevice(std::string_view text, unsigned& major, unsigned& minor) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return false;
  return readNumber(text.substr(0, colon), major) && readNumber(text.substr(colon + 1), minor);
}

bool parseLine(std::string_view line, MountEntry& entry) {
  const std::vector<std::string_view> fields = splitBlanks(line);
  // The optional fields end with a lone "-"; type and source follow it.
  std::size_t dash = 6;
  while (dash < fields.size() && fields[dash] != "-") ++dash;
  if (dash + 2 > fields.size()) return false;
  if (!readNumber(fields[0], entry.id) || !readNumber(fields[1], entry.parent)) return false;
  if (!readDevice(fields[2], entry.major, entry.minor)) return false;
  entry.root = decodeMountEscapes(fields[3]);
  entry.mountPoint = decodeMountEscapes(fields[4]);
  entry.fsType = decodeMountEscapes(fields[dash + 1]);
  entry.source = dash + 2 < fields.size() ? decodeMountEscapes(fields[dash + 2]) : std::string();
  return true;
}

}  // namespace

std::string decodeMountEscapes(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size() && isOctal(text[i + 1]) && isOctal(text[i + 2]) &&
        isOctal(text[i + 3])) {
      const int code = (text[i + 1] - '0') * 64 + (text[i + 2] - '0') * 8 + (text[i + 3] - '0');
      out.push_back(static_cast<char>(code & 0xFF));
      i += 3;
      continue;
    }
    out.push_back(text[i]);
  }
  return out;
}

std::vector<MountEntry> parseMountInfo(std::string_view text) {
  std::vector<MountEntry> mounts;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = std::min(text.find('\n', at), text.size());
    MountEntry entry;
    if (parseLine(text.substr(at, end - at), entry)) mounts.push_back(std::move(entry));
    at = end + 1;
  }
  return mounts;
}

}  // namespace zevro
