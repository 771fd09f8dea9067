#include "platform/BlockDevices.h"

#include <algorithm>
#include <fstream>
#include <system_error>

#include "text/Text.h"

namespace zevro {

namespace fs = std::filesystem;

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool allHex(std::string_view text) {
  for (char c : text)
    if (hexValue(c) < 0) return false;
  return true;
}

std::uint32_t hexNumber(std::string_view text) {
  std::uint32_t value = 0;
  for (char c : text) value = value << 4 | static_cast<std::uint32_t>(hexValue(c));
  return value;
}

// FNV-1a: the same UUID gives the same serial in every run and on every machine.
std::uint32_t hashOf(std::string_view text) {
  std::uint32_t hash = 2166136261u;
  for (char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 16777619u;
  }
  return hash;
}

std::string firstLine(const fs::path& path) {
  std::ifstream in(path);
  std::string line;
  if (in) std::getline(in, line);
  return line;
}

// The sysfs folder of a device, followed to its real place; empty when missing.
fs::path realFolder(const fs::path& path) {
  std::error_code error;
  fs::path real = fs::canonical(path, error);
  return error ? fs::path() : real;
}

}  // namespace

BlockDevices::BlockDevices(NativePath sysRoot, NativePath diskRoot)
    : sysRoot_(std::move(sysRoot)), diskRoot_(std::move(diskRoot)) {}

std::optional<BlockDevices::Device> BlockDevices::deviceOf(unsigned major, unsigned minor,
                                                           std::string_view source) const {
  fs::path folder;
  if (major != 0)
    folder = realFolder(sysRoot_ / "dev" / "block" / (std::to_string(major) + ':' + std::to_string(minor)));
  if (folder.empty() && source.rfind("/dev/", 0) == 0) {
    const std::string name = fs::path(std::string(source)).filename().string();
    folder = realFolder(sysRoot_ / "class" / "block" / name);
    if (folder.empty()) return Device{name, false};
  }
  if (folder.empty()) return std::nullopt;

  Device device{folder.filename().string(), false};
  std::error_code error;
  // A partition's folder lies inside its disk's, which tells "removable".
  const fs::path disk = fs::exists(folder / "partition", error) ? folder.parent_path() : folder;
  device.removable = firstLine(disk / "removable") == "1";
  return device;
}

std::vector<std::string> BlockDevices::drivesNamed(std::string_view prefix) const {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(sysRoot_ / "block", error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 && isDigit(name[prefix.size()]))
      names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::optional<std::string> BlockDevices::linkNameFor(const char* folder, std::string_view name) const {
  std::error_code error;
  for (fs::directory_iterator it(diskRoot_ / folder, error), end; !error && it != end; it.increment(error)) {
    std::error_code linkError;
    const fs::path target = fs::read_symlink(it->path(), linkError);
    if (linkError || target.filename() != name) continue;
    return decodeUdevEscapes(it->path().filename().string());
  }
  return std::nullopt;
}

std::optional<std::string> BlockDevices::labelOf(std::string_view name) const { return linkNameFor("by-label", name); }

std::optional<std::string> BlockDevices::uuidOf(std::string_view name) const { return linkNameFor("by-uuid", name); }

std::string BlockDevices::decodeUdevEscapes(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x' && hexValue(text[i + 2]) >= 0 &&
        hexValue(text[i + 3]) >= 0) {
      out.push_back(static_cast<char>(hexValue(text[i + 2]) * 16 + hexValue(text[i + 3])));
      i += 3;
      continue;
    }
    out.push_back(text[i]);
  }
  return out;
}

std::uint32_t BlockDevices::serialOfUuid(std::string_view uuid) {
  if (uuid.size() == 9 && uuid[4] == '-' && allHex(uuid.substr(0, 4)) && allHex(uuid.substr(5)))
    return hexNumber(uuid.substr(0, 4)) << 16 | hexNumber(uuid.substr(5));
  if (uuid.size() == 16 && allHex(uuid)) return hexNumber(uuid.substr(8));
  return hashOf(uuid);
}

}  // namespace zevro
