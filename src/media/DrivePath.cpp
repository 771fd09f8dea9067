#include "media/DrivePath.h"

#include "text/Cp932.h"

namespace zevro::drivepath {

namespace {

constexpr int Letters = 26;

// The folders below the root, or nullopt when path is not inside root.
std::optional<NativePath> below(const NativePath& root, const NativePath& path) {
  auto r = root.begin();
  auto p = path.begin();
  for (; r != root.end(); ++r, ++p) {
    if (r->empty()) continue;  // the empty last element of a root written with a trailing "/"
    if (p == path.end() || *r != *p) return std::nullopt;
  }
  NativePath rest;
  for (; p != path.end(); ++p)
    if (!p->empty()) rest /= *p;
  return rest;
}

// The number of named parts: "/" 1, "/media/kaori/" 3.
std::size_t depth(const NativePath& path) {
  std::size_t n = 0;
  for (const NativePath& part : path) n += part.empty() ? 0 : 1;
  return n;
}

}  // namespace

char letterOf(TextView pathOrDrive) {
  if (pathOrDrive.empty()) return 0;
  const char16_t c = pathOrDrive[0];
  if (c >= u'a' && c <= u'z') return static_cast<char>(c - u'a' + 'A');
  if (c >= u'A' && c <= u'Z') return static_cast<char>(c);
  return 0;
}

bool leavesDrive(TextView drivePath) {
  TextView rest = drivePath.size() >= 2 && drivePath[1] == u':' ? drivePath.substr(2) : drivePath;
  while (!rest.empty()) {
    const std::size_t end = rest.find_first_of(u"\\/");
    if (rest.substr(0, end) == u"..") return true;
    if (end == TextView::npos) break;
    rest.remove_prefix(end + 1);
  }
  return false;
}

std::optional<NativePath> nativePathOf(Drives& drives, FileSystem& files, TextView drivePath) {
  const char letter = letterOf(drivePath);
  if (letter == 0 || leavesDrive(drivePath)) return std::nullopt;
  std::optional<NativePath> root = drives.root(letter);
  if (!root) return std::nullopt;
  TextView rest = drivePath.substr(1);
  if (!rest.empty() && rest[0] == u':') rest.remove_prefix(1);
  return nativePathBelow(files, *root, rest);
}

Text driveListText(Drives& drives, char letter) {
  Text text{static_cast<char16_t>(letter - 'A' + 'a'), u':'};
  if (const std::optional<VolumeInfo> volume = drives.volume(letter); volume && !volume->label.empty())
    text += u" [" + volume->label + u"]";
  if (const std::optional<NativePath> root = drives.root(letter)) text += u"  " + cp932::fromNativeName(root->native());
  return text;
}

std::optional<NativePath> nativePathBelow(FileSystem& files, const NativePath& folder, TextView relative) {
  if (leavesDrive(relative)) return std::nullopt;
  NativePath path = folder;
  Text part;
  // Catalog paths compare without case: the exact name first, else the one
  // entry that differs only in case.
  const auto addPart = [&] {
    if (!part.empty() && part != u".") {
      const std::string name = cp932::toNativeName(part);
      const std::optional<std::string> found = files.resolveName(path, name);
      path /= found ? *found : name;
    }
    part.clear();
  };
  for (char16_t c : relative) {
    if (c == ch::PathSeparator || c == u'/') {
      addPart();
      continue;
    }
    part.push_back(c);
  }
  addPart();
  return path;
}

std::optional<Text> drivePathOf(Drives& drives, const NativePath& path) {
  if (!path.is_absolute()) return std::nullopt;
  const NativePath clean = path.lexically_normal();
  char bestLetter = 0;
  std::size_t bestDepth = 0;
  NativePath bestRest;
  for (int i = 0; i < Letters; ++i) {
    const char letter = static_cast<char>('A' + i);
    const std::optional<NativePath> root = drives.root(letter);
    if (!root) continue;
    const std::optional<NativePath> rest = below(root->lexically_normal(), clean);
    if (!rest || (bestLetter != 0 && depth(*root) <= bestDepth)) continue;
    bestLetter = letter;
    bestDepth = depth(*root);
    bestRest = *rest;
  }
  if (bestLetter == 0) return std::nullopt;
  Text out;
  out.push_back(static_cast<char16_t>(bestLetter));
  out += u":\\";
  bool first = true;
  for (const NativePath& part : bestRest) {
    if (!first) out.push_back(ch::PathSeparator);
    out += cp932::fromNativeName(part.string());
    first = false;
  }
  return out;
}

}  // namespace zevro::drivepath
