#include "media/LzhHeader.h"

#include <string>

#include "text/Cp932.h"

namespace zevro {

namespace {

constexpr std::size_t NameLengthAt = 21;
constexpr std::size_t NameAt = 22;
constexpr std::size_t TimeAt = 15;
constexpr std::size_t DateAt = 17;
constexpr std::size_t Level2NextSizeAt = 24;
constexpr std::size_t Level3NextSizeAt = 28;
constexpr unsigned char FolderSeparator = 0xFF;
constexpr unsigned char ExtFileName = 0x01;
constexpr unsigned char ExtFolderName = 0x02;
constexpr unsigned char ExtUnixTime = 0x54;

std::uint32_t littleEndian(std::string_view raw, std::size_t at, std::size_t width) {
  std::uint32_t v = 0;
  for (std::size_t i = width; i-- > 0;) v = (v << 8) | static_cast<unsigned char>(raw[at + i]);
  return v;
}

// CP932 name bytes with "\" (and, for folder names, 0xFF) between
// components: each component decoded alone, then joined with "/".
Text decodePath(std::string_view bytes, bool folderBytes) {
  Text path = cp932::decode(bytes);
  // Decoded text: a "\" left now is a real separator, never a trail byte.
  for (char16_t& c : path)
    if (c == u'\\') c = u'/';
  if (!folderBytes) return path;
  Text joined;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= bytes.size(); ++i) {
    if (i < bytes.size() && static_cast<unsigned char>(bytes[i]) != FolderSeparator) continue;
    Text part = cp932::decode(bytes.substr(start, i - start));
    for (char16_t& c : part)
      if (c == u'\\') c = u'/';
    if (!part.empty()) {
      joined += part;
      if (joined.back() != u'/') joined.push_back(u'/');
    }
    start = i + 1;
  }
  return joined;
}

// Reads the extended headers whose first size stands at sizeAt.
bool readExtended(std::string_view raw, std::size_t sizeAt, std::size_t width, LzhHeaderFields& f, Text& fileName,
                  Text& folder) {
  if (sizeAt + width > raw.size()) return false;
  std::size_t size = littleEndian(raw, sizeAt, width);
  std::size_t at = sizeAt + width;
  while (size != 0) {
    if (size < 1 + width || at + size > raw.size()) return false;
    const auto type = static_cast<unsigned char>(raw[at]);
    const std::string_view data = raw.substr(at + 1, size - 1 - width);
    if (type == ExtFileName) fileName = decodePath(data, false);
    if (type == ExtFolderName) folder = decodePath(data, true);
    if (type == ExtUnixTime && data.size() >= 4) f.unixTime = static_cast<std::int64_t>(littleEndian(data, 0, 4));
    const std::size_t next = at + size - width;
    size = littleEndian(raw, next, width);
    at = next + width;
  }
  return true;
}

}  // namespace

std::optional<LzhHeaderFields> readLzhHeader(std::string_view raw, int level) {
  LzhHeaderFields f;
  Text fileName;
  Text folder;
  if (level == 0 || level == 1) {
    if (raw.size() < NameAt) return std::nullopt;
    const std::size_t nameLength = static_cast<unsigned char>(raw[NameLengthAt]);
    if (NameAt + nameLength > raw.size()) return std::nullopt;
    f.dosTime = static_cast<std::uint16_t>(littleEndian(raw, TimeAt, 2));
    f.dosDate = static_cast<std::uint16_t>(littleEndian(raw, DateAt, 2));
    fileName = decodePath(raw.substr(NameAt, nameLength), false);
    if (level == 1) {
      const std::size_t baseEnd = static_cast<std::size_t>(static_cast<unsigned char>(raw[0])) + 2;
      if (!readExtended(raw, baseEnd - 2, 2, f, fileName, folder)) return std::nullopt;
    }
  } else if (level == 2 || level == 3) {
    if (raw.size() < TimeAt + 4) return std::nullopt;
    f.unixTime = static_cast<std::int64_t>(littleEndian(raw, TimeAt, 4));
    const bool wide = level == 3;
    if (!readExtended(raw, wide ? Level3NextSizeAt : Level2NextSizeAt, wide ? 4 : 2, f, fileName, folder))
      return std::nullopt;
  } else {
    return std::nullopt;
  }
  f.path = folder + fileName;
  return f;
}

}  // namespace zevro
