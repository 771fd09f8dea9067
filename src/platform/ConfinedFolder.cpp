#include "platform/ConfinedFolder.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace zevro {

namespace {

constexpr mode_t FolderMode = 0755;
constexpr mode_t FileMode = 0644;

bool plainComponent(const std::string& c) {
  return !c.empty() && c != "." && c != ".." && c.find('/') == std::string::npos && c.find('\0') == std::string::npos;
}

std::string realPathOf(int fd) {
  char buffer[PATH_MAX];
  const std::string link = "/proc/self/fd/" + std::to_string(fd);
  const ssize_t n = ::readlink(link.c_str(), buffer, sizeof buffer);
  return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

}  // namespace

ConfinedFolder::NewFile::~NewFile() {
  if (fd_ < 0) return;
  ::close(fd_);
  ::unlinkat(folder_, name_.c_str(), 0);
  ::close(folder_);
}

bool ConfinedFolder::NewFile::write(const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd_, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool ConfinedFolder::NewFile::keep() {
  const bool ok = ::close(fd_) == 0;
  fd_ = -1;
  if (!ok) ::unlinkat(folder_, name_.c_str(), 0);
  ::close(folder_);
  folder_ = -1;
  return ok;
}

ConfinedFolder::ConfinedFolder(const NativePath& root) {
  std::error_code ignored;
  std::filesystem::create_directories(root, ignored);
  root_ = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (root_ >= 0) realRoot_ = realPathOf(root_);
  if (realRoot_.empty() && root_ >= 0) {
    ::close(root_);
    root_ = -1;
  }
}

ConfinedFolder::~ConfinedFolder() {
  if (root_ >= 0) ::close(root_);
}

bool ConfinedFolder::inside(int fd) const {
  const std::string real = realPathOf(fd);
  if (realRoot_ == "/") return !real.empty();
  return real.size() > realRoot_.size() && real.compare(0, realRoot_.size(), realRoot_) == 0 &&
         real[realRoot_.size()] == '/';
}

int ConfinedFolder::openParent(const std::vector<std::string>& components, bool makeLast, Result& result) {
  result = Result::Failed;
  if (root_ < 0 || components.empty()) return -1;
  for (const std::string& c : components)
    if (!plainComponent(c)) {
      result = Result::Escapes;
      return -1;
    }
  int folder = ::dup(root_);
  if (folder < 0) return -1;
  const std::size_t folders = makeLast ? components.size() : components.size() - 1;
  for (std::size_t i = 0; i < folders; ++i) {
    const char* name = components[i].c_str();
    if (::mkdirat(folder, name, FolderMode) != 0 && errno != EEXIST) {
      ::close(folder);
      return -1;
    }
    // O_NOFOLLOW: a link standing where a folder should be is never entered.
    const int next = ::openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    const int error = errno;
    ::close(folder);
    if (next < 0) {
      result = error == ELOOP || error == ENOTDIR ? Result::Escapes : Result::Failed;
      return -1;
    }
    folder = next;
  }
  if (folders > 0 && !inside(folder)) {
    ::close(folder);
    result = Result::Escapes;
    return -1;
  }
  result = Result::Made;
  return folder;
}

ConfinedFolder::Result ConfinedFolder::makeFolders(const std::vector<std::string>& components) {
  Result result;
  const int folder = openParent(components, true, result);
  if (folder >= 0) ::close(folder);
  return result;
}

ConfinedFolder::Result ConfinedFolder::makeFile(const std::vector<std::string>& components, NewFile& file) {
  Result result;
  const int folder = openParent(components, false, result);
  if (folder < 0) return result;
  const std::string& name = components.back();
  // O_EXCL with O_NOFOLLOW: an existing file, or a link of that name, stays
  // as it is.
  const int fd = ::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, FileMode);
  if (fd < 0) {
    const int error = errno;
    ::close(folder);
    return error == EEXIST ? Result::Exists : Result::Failed;
  }
  if (!inside(fd)) {
    ::close(fd);
    ::unlinkat(folder, name.c_str(), 0);
    ::close(folder);
    return Result::Escapes;
  }
  file.folder_ = folder;
  file.fd_ = fd;
  file.name_ = name;
  return Result::Made;
}

}  // namespace zevro
