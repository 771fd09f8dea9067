#include "platform/FaultyFileSystem.h"

#include <unistd.h>
#include <cerrno>
#include <iterator>
#include <memory>

namespace zevro {

namespace {
// "/tmp/t/a/" and "/tmp/t/b/../a" both as "/tmp/t/a".
NativePath plain(const NativePath& path) {
  std::string s = path.lexically_normal().native();
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return NativePath(s);
}
}  // namespace

void FaultyFileSystem::setDevice(const NativePath& folder, std::uint64_t device) { devices_[plain(folder)] = device; }

void FaultyFileSystem::fail(Op op, int code, NativePath path, int times) {
  faults_.push_back({op, code, path.empty() ? NativePath() : plain(path), times});
}

int FaultyFileSystem::calls(Op op) const {
  auto it = calls_.find(op);
  return it == calls_.end() ? 0 : it->second;
}

IoError FaultyFileSystem::check(Op op, const NativePath& path) {
  ++calls_[op];
  NativePath normal = plain(path);
  for (auto it = faults_.begin(); it != faults_.end(); ++it) {
    if (it->op != op || (!it->path.empty() && it->path != normal)) continue;
    int code = it->code;
    if (it->times > 0 && --it->times == 0) faults_.erase(it);
    return LinuxFileSystem::errorOf(code);
  }
  return {};
}

std::vector<DirEntry> FaultyFileSystem::list(const NativePath& folder, IoError* error) {
  if (IoError e = check(Op::List, folder)) {
    if (error) *error = e;
    return {};
  }
  std::vector<DirEntry> entries = inner_.list(folder, error);
  // A failed look at an entry: gone (ENOENT) or listed with what the
  // listing alone tells, as the real file system does.
  std::vector<DirEntry> kept;
  for (DirEntry& e : entries) {
    const IoError failed = check(Op::ListEntry, folder / e.name);
    if (failed.code == ENOENT) continue;
    if (failed) {
      DirEntry unlooked;
      unlooked.name = std::move(e.name);
      unlooked.type = e.type;
      unlooked.statError = failed.code;
      e = std::move(unlooked);
    }
    kept.push_back(std::move(e));
  }
  entries = std::move(kept);
  return entries;
}

std::optional<DirEntry> FaultyFileSystem::stat(const NativePath& path) {
  if (check(Op::Stat, path)) return std::nullopt;
  return inner_.stat(path);
}

std::optional<std::string> FaultyFileSystem::resolveName(const NativePath& folder, std::string_view name) {
  if (check(Op::Resolve, folder / std::string(name))) return std::nullopt;
  return inner_.resolveName(folder, name);
}

IoError FaultyFileSystem::readFile(const NativePath& path, std::string& bytes, std::uint64_t maxSize) {
  if (IoError e = check(Op::Read, path)) return e;
  return inner_.readFile(path, bytes, maxSize);
}

IoError FaultyFileSystem::readStart(const NativePath& path, std::string& bytes, std::size_t count) {
  if (IoError e = check(Op::Read, path)) return e;
  return inner_.readStart(path, bytes, count);
}

IoError FaultyFileSystem::viewFile(const NativePath& path, FileView& view, std::uint64_t maxSize) {
  if (IoError e = check(Op::Read, path)) return e;
  return inner_.viewFile(path, view, maxSize);
}

IoError FaultyFileSystem::writeFileAtomic(const NativePath& path, std::string_view bytes) {
  if (IoError e = check(Op::Write, path)) return e;
  return inner_.writeFileAtomic(path, bytes);
}

IoError FaultyFileSystem::copyFile(const NativePath& source, const NativePath& destination) {
  if (IoError e = check(Op::Copy, source)) return e;
  return inner_.copyFile(source, destination);
}

IoError FaultyFileSystem::moveFile(const NativePath& source, const NativePath& destination) {
  if (IoError e = check(Op::Move, source)) return e;
  return inner_.moveFile(source, destination);
}

IoError FaultyFileSystem::renameFile(const NativePath& source, const NativePath& destination) {
  if (IoError e = check(Op::Rename, source)) return e;
  return inner_.renameFile(source, destination);
}

IoError FaultyFileSystem::renameNoReplace(const NativePath& source, const NativePath& destination) {
  if (IoError e = check(Op::Rename, source)) return e;
  return inner_.renameNoReplace(source, destination);
}

IoError FaultyFileSystem::removeFile(const NativePath& path) {
  if (IoError e = check(Op::Remove, path)) return e;
  return inner_.removeFile(path);
}

IoError FaultyFileSystem::removeTree(const NativePath& folder) {
  if (IoError e = check(Op::RemoveTree, folder)) return e;
  return inner_.removeTree(folder);
}

IoError FaultyFileSystem::createFolder(const NativePath& folder) {
  if (IoError e = check(Op::CreateFolder, folder)) return e;
  return inner_.createFolder(folder);
}

IoError FaultyFileSystem::createFolders(const NativePath& folder) {
  if (IoError e = check(Op::CreateFolders, folder)) return e;
  return inner_.createFolders(folder);
}

IoError FaultyFileSystem::removeFolder(const NativePath& folder) {
  if (IoError e = check(Op::RemoveFolder, folder)) return e;
  return inner_.removeFolder(folder);
}

IoError FaultyFileSystem::setModified(const NativePath& path, FileTime time) {
  if (IoError e = check(Op::SetModified, path)) return e;
  return inner_.setModified(path, time);
}

IoError FaultyFileSystem::setReadOnly(const NativePath& path, bool readOnly) {
  if (IoError e = check(Op::SetReadOnly, path)) return e;
  return inner_.setReadOnly(path, readOnly);
}

std::optional<FileSystem::Identity> FaultyFileSystem::identityOf(const NativePath& path) {
  if (check(Op::Stat, path)) return std::nullopt;
  if (const auto alias = aliases_.find(path); alias != aliases_.end()) return identityOf(alias->second);
  std::optional<Identity> identity = inner_.identityOf(path);
  const std::optional<std::uint64_t> device = deviceOf(path);
  if (identity && device) identity->device = *device;
  return identity;
}

std::optional<std::uint64_t> FaultyFileSystem::deviceOf(const NativePath& path) {
  std::optional<std::uint64_t> real = inner_.deviceOf(path);
  if (!real) return std::nullopt;
  // The deepest faked folder that holds the path decides.
  NativePath normal = plain(path);
  std::optional<std::uint64_t> faked;
  std::size_t depth = 0;
  for (const auto& [folder, device] : devices_) {
    NativePath rel = normal.lexically_relative(folder);
    if (rel.empty() || *rel.begin() == "..") continue;
    std::size_t d = static_cast<std::size_t>(std::distance(folder.begin(), folder.end()));
    if (!faked || d > depth) {
      faked = device;
      depth = d;
    }
  }
  return faked ? faked : real;
}

std::optional<NativePath> FaultyFileSystem::homeFolder() {
  if (home_) return home_;
  return inner_.homeFolder();
}

LinuxFileSystem::Writer failingWriter(std::size_t bytes, int code) {
  auto left = std::make_shared<std::size_t>(bytes);
  return [left, code](int fd, const void* data, std::size_t size) -> ssize_t {
    if (*left == 0) {
      errno = code;
      return -1;
    }
    std::size_t n = size < *left ? size : *left;
    ssize_t written = ::write(fd, data, n);
    if (written > 0) *left -= static_cast<std::size_t>(written);
    return written;
  };
}

}  // namespace zevro
