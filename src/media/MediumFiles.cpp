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

}  // namespace

void MediumFiles::setRoot(TextView path, const NativePath& folder) {
  root_ = Text(path);
  while (root_.size() > 2 && root_.back() == ch::PathSeparator) root_.pop_back();
  rootLower_ = asciiLower(root_);
  rootFolder_ = folder;
  folders_.clear();
}

Text MediumFiles::drive() const { return root_.substr(0, std::min<std::size_t>(2, root_.size())); }

MediumFiles::Folder& MediumFiles::folderAt(const NativePath& folder) {
  Folder& f = folders_[folder.native()];
  if (f.listed) return f;
  f.listed = true;
  for (DirEntry& e : files_.list(folder)) {
    Entry entry;
    entry.kind = e.isFolder() ? Kind::Folder : Kind::File;
    // Only regular files are ever opened; a link or device is "there" as a
    // name but reads nothing (see read()).
    Text name = cp932::fromNativeName(e.name);
    entry.native = std::move(e.name);
    f.byName.try_emplace(name, f.entries.size());
    f.byLower.try_emplace(asciiLower(name), f.entries.size());
    f.entries.emplace_back(std::move(name), std::move(entry));
  }
  return f;
}

std::optional<MediumFiles::Entry> MediumFiles::entryIn(const NativePath& folder, TextView name) {
  Folder& f = folderAt(folder);
  // The exact spelling first, then any case.
  if (const auto exact = f.byName.find(Text(name)); exact != f.byName.end()) return f.entries[exact->second].second;
  const auto it = f.byLower.find(asciiLower(name));
  if (it == f.byLower.end()) return std::nullopt;
  return f.entries[it->second].second;
}

std::optional<std::pair<NativePath, Text>> MediumFiles::split(TextView path) {
  const Text lower = asciiLower(path);
  if (lower.size() < rootLower_.size() || lower.compare(0, rootLower_.size(), rootLower_) != 0) return std::nullopt;
  TextView rest = TextView(path).substr(root_.size());
  if (!rest.empty() && rest.front() != ch::PathSeparator) return std::nullopt;
  NativePath folder = rootFolder_;
  std::vector<TextView> parts;
  std::size_t start = 0;
  while (start < rest.size()) {
    std::size_t sep = rest.find(ch::PathSeparator, start);
    if (sep == TextView::npos) sep = rest.size();
    if (sep > start) parts.push_back(rest.substr(start, sep - start));
    start = sep + 1;
  }
  if (parts.empty()) return std::nullopt;
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
    if (parts[i] == u".") continue;
    const std::optional<Entry> e = entryIn(folder, parts[i]);
    if (!e || e->kind != Kind::Folder) return std::nullopt;
    folder /= e->native;
  }
  return std::make_pair(folder, Text(parts.back()));
}

MediumFiles::Kind MediumFiles::kindOf(TextView path) {
  if (asciiLower(path) == rootLower_) return Kind::Folder;
  const auto where = split(path);
  if (!where || hasWildcard(where->second)) return Kind::None;
  const std::optional<Entry> e = entryIn(where->first, where->second);
  return e ? e->kind : Kind::None;
}

std::optional<Text> MediumFiles::first(TextView pattern, Kind kind) {
  const auto where = split(pattern);
  if (!where) return std::nullopt;
  Folder& f = folderAt(where->first);
  // Listing order is by bytes; the first match by case-insensitive name.
  const Text* best = nullptr;
  Text bestLower;
  for (const auto& [name, e] : f.entries) {
    if (e.kind != kind || !matchesPattern(where->second, name)) continue;
    Text lower = asciiLower(name);
    if (!best || lower < bestLower) {
      best = &name;
      bestLower = std::move(lower);
    }
  }
  if (!best) return std::nullopt;
  return joinPath(parentFolder(pattern), *best);
}

std::optional<Text> MediumFiles::firstFile(TextView pattern) { return first(pattern, Kind::File); }
std::optional<Text> MediumFiles::firstFolder(TextView pattern) { return first(pattern, Kind::Folder); }

std::optional<NativePath> MediumFiles::nativeOf(TextView path) {
  if (asciiLower(path) == rootLower_) return rootFolder_;
  const auto where = split(path);
  if (!where) return std::nullopt;
  const std::optional<Entry> e = entryIn(where->first, where->second);
  if (!e) return std::nullopt;
  return where->first / e->native;
}

bool MediumFiles::read(TextView path, std::string& bytes, std::size_t maxBytes) {
  bytes.clear();
  const std::optional<NativePath> file = nativeOf(path);
  if (!file) return false;
  // readStart refuses anything but a regular file and opens without waiting.
  return !files_.readStart(*file, bytes, maxBytes);
}

}  // namespace zevro
