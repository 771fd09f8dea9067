#include "media/MediumFiles.h"

#include "core/FileOps.h"
#include "core/Strings.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

// A name against a pattern of an index file: "*" and "?" as usual, and
// "NAME.*" also matches "NAME".
bool matchesPattern(TextView pattern, TextView name) {
  if (fileops::matchesWildcard(pattern, name)) return true;
  return pattern.ends_with(u".*") && fileops::matchesWildcard(pattern.substr(0, pattern.size() - 2), name);
}

bool hasWildcard(TextView name) { return name.find_first_of(u"*?") != TextView::npos; }

char16_t foldUpper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

// Printable ASCII other than "&", which a name decodes to itself.
bool plainAscii(char16_t c) { return c >= 0x20 && c < 0x7F && c != u'&'; }

// The start of a pattern up to its first wildcard or character that is not
// plain ASCII.
TextView asciiStart(TextView pattern) {
  std::size_t n = 0;
  while (n < pattern.size() && plainAscii(pattern[n]) && pattern[n] != u'*' && pattern[n] != u'?') ++n;
  return pattern.substr(0, n);
}

// False when a native name cannot begin with the plain ASCII text, ASCII
// case aside, once decoded: a byte beyond ASCII never decodes to ASCII, and
// plain ASCII decodes to itself. Control bytes and "&" decode to escapes:
// undecided (true).
bool startsWithAscii(std::string_view native, TextView ascii) {
  for (std::size_t i = 0; i < ascii.size(); ++i) {
    if (i >= native.size()) return false;
    const auto byte = static_cast<unsigned char>(native[i]);
    if (byte < 0x20 || byte == '&') return true;
    if (foldUpper(byte) != foldUpper(ascii[i])) return false;
  }
  return true;
}

// Whether a native name decodes to the plain ASCII name, ASCII case aside.
bool sameAsciiName(std::string_view native, TextView name) {
  if (native.size() != name.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto byte = static_cast<unsigned char>(native[i]);
    if (!plainAscii(byte) || foldUpper(byte) != foldUpper(name[i])) return false;
  }
  return true;
}

}  // namespace

void MediumFiles::setRoot(TextView path, const NativePath& folder) {
  root_ = Text(path);
  while (root_.size() > 2 && root_.back() == ch::PathSeparator) root_.pop_back();
  rootLower_ = asciiLower(root_);
  rootFolder_ = folder;
  folders_.clear();
  resolved_.clear();
}

Text MediumFiles::drive() const { return root_.substr(0, std::min<std::size_t>(2, root_.size())); }

MediumFiles::Folder& MediumFiles::folderAt(const NativePath& folder) {
  Folder& f = folders_[folder.native()];
  if (f.listed) return f;
  f.listed = true;
  f.path = folder;
  // Only regular files are ever opened; a link or device is "there" as a
  // name but reads nothing (see read()).
  for (DirEntry& e : files_.list(folder))
    f.entries.push_back(Entry{std::move(e.name), e.isFolder() ? Kind::Folder : Kind::File});
  return f;
}

const MediumFiles::Folder& MediumFiles::indexed(Folder& f) {
  if (f.indexed) return f;
  f.indexed = true;
  f.byLower.reserve(f.entries.size());
  for (std::size_t i = 0; i < f.entries.size(); ++i)
    if (!f.byLower.try_emplace(asciiLower(cp932::fromNativeName(f.entries[i].native)), i).second) f.caseTwins = true;
  return f;
}

const MediumFiles::Entry* MediumFiles::entryIn(Folder& folder, TextView name) {
  // The few plain names every folder is asked for (setdata.ini, setup.lst)
  // are looked up by going through the bytes once; a folder asked for more
  // (an index file's names) gets its index.
  if (!folder.indexed && folder.scans < ScansBeforeIndex && asciiStart(name).size() == name.size()) {
    ++folder.scans;
    const Entry* found = nullptr;
    for (const Entry& e : folder.entries) {
      if (!sameAsciiName(e.native, name)) continue;
      if (std::equal(name.begin(), name.end(), e.native.begin(), e.native.end(),
                     [](char16_t a, char b) { return a == static_cast<unsigned char>(b); }))
        return &e;  // the exact spelling first
      if (!found) found = &e;
    }
    return found;
  }
  const Folder& f = indexed(folder);
  lower_.assign(name);
  for (char16_t& c : lower_)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  const auto it = f.byLower.find(lower_);
  if (it == f.byLower.end()) return nullptr;
  // The exact spelling first when two names differ only in case.
  if (f.caseTwins && cp932::fromNativeName(f.entries[it->second].native) != name) {
    for (const Entry& e : f.entries)
      if (cp932::fromNativeName(e.native) == name) return &e;
  }
  return &f.entries[it->second];
}

bool MediumFiles::isRoot(TextView path) const {
  return path.size() == root_.size() && asciiLower(path) == rootLower_;
}

MediumFiles::Folder* MediumFiles::folderOf(TextView folderPath) {
  Text lower = asciiLower(folderPath);
  if (const auto it = resolved_.find(lower); it != resolved_.end()) return it->second;
  Folder* found = nullptr;
  if (lower == rootLower_) {
    found = &folderAt(rootFolder_);
  } else if (lower.size() > rootLower_.size() && lower.compare(0, rootLower_.size(), rootLower_) == 0 &&
             lower[rootLower_.size()] == ch::PathSeparator) {
    // Component by component below the root, each found ignoring case.
    const std::size_t sep = folderPath.rfind(ch::PathSeparator);
    Folder* parent = folderOf(folderPath.substr(0, std::max(sep, root_.size())));
    const TextView name = folderPath.substr(sep + 1);
    if (parent && name == u".") {
      found = parent;
    } else if (parent && !name.empty()) {
      const Entry* e = entryIn(*parent, name);
      if (e && e->kind == Kind::Folder) found = &folderAt(parent->path / e->native);
    }
  }
  resolved_.emplace(std::move(lower), found);
  return found;
}

std::optional<std::pair<MediumFiles::Folder*, TextView>> MediumFiles::split(TextView path) {
  const std::size_t sep = path.rfind(ch::PathSeparator);
  if (sep == TextView::npos || sep + 1 >= path.size()) return std::nullopt;
  Folder* folder = folderOf(path.substr(0, sep));
  if (!folder) return std::nullopt;
  return std::make_pair(folder, path.substr(sep + 1));
}

MediumFiles::Kind MediumFiles::kindOf(TextView path) {
  if (isRoot(path)) return Kind::Folder;
  const auto where = split(path);
  if (!where || hasWildcard(where->second)) return Kind::None;
  const Entry* e = entryIn(*where->first, where->second);
  return e ? e->kind : Kind::None;
}

std::optional<Text> MediumFiles::first(TextView pattern, Kind kind) {
  const auto where = split(pattern);
  if (!where) return std::nullopt;
  const Folder& f = *where->first;
  // Listing order is by bytes; the first match by case-insensitive name.
  std::optional<Text> best;
  Text bestLower;
  // The pattern's plain ASCII start ("UP" of "UP*.BAT") must begin the name's
  // bytes, ASCII case aside: a folder of 100,000 photographs is passed over
  // without decoding every name. "NAME.*" matches "NAME" too: its "." is
  // not needed.
  const TextView last = where->second;
  const TextView literal = asciiStart(last.ends_with(u".*") ? last.substr(0, last.size() - 2) : last);
  for (const Entry& e : f.entries) {
    if (e.kind != kind || !startsWithAscii(e.native, literal)) continue;
    Text name = cp932::fromNativeName(e.native);
    if (!matchesPattern(where->second, name)) continue;
    Text lower = asciiLower(name);
    if (!best || lower < bestLower) {
      best = std::move(name);
      bestLower = std::move(lower);
    }
  }
  if (!best) return std::nullopt;
  return joinPath(parentFolder(pattern), *best);
}

std::optional<Text> MediumFiles::firstFile(TextView pattern) { return first(pattern, Kind::File); }
std::optional<Text> MediumFiles::firstFolder(TextView pattern) { return first(pattern, Kind::Folder); }

std::optional<NativePath> MediumFiles::nativeOf(TextView path) {
  if (isRoot(path)) return rootFolder_;
  const auto where = split(path);
  if (!where) return std::nullopt;
  const Entry* e = entryIn(*where->first, where->second);
  if (!e) return std::nullopt;
  return where->first->path / e->native;
}

bool MediumFiles::read(TextView path, std::string& bytes, std::size_t maxBytes) {
  bytes.clear();
  const std::optional<NativePath> file = nativeOf(path);
  if (!file) return false;
  // readStart refuses anything but a regular file and opens without waiting.
  return !files_.readStart(*file, bytes, maxBytes);
}

}  // namespace zevro
