#include "platform/WriteLock.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <ctime>
#include <filesystem>
#include <map>
#include <mutex>
#include <string_view>

#include "platform/FileLock.h"

namespace zevro {

namespace {

constexpr std::string_view TempMark = ".zevro-tmp-";
constexpr std::size_t TempSuffixLength = 6;

// The locks this process holds, by lock file, with how deep they nest: a
// second flock of the same file from this process would wait for itself.
struct Held {
  FileLock lock;
  int depth = 0;
};
std::mutex heldMutex;
std::map<NativePath, Held>& heldLocks() {
  static std::map<NativePath, Held> held;
  return held;
}

bool isTemporaryName(std::string_view name) {
  if (!name.starts_with('.')) return false;
  const std::size_t mark = name.rfind(TempMark);
  return mark != std::string_view::npos && mark > 1 && name.size() == mark + TempMark.size() + TempSuffixLength;
}

}  // namespace

WriteLock::WriteLock(const NativePath& programFolder, std::chrono::milliseconds wait)
    : path_((programFolder / FileName).lexically_normal()) {
  std::lock_guard<std::mutex> guard(heldMutex);
  Held& held = heldLocks()[path_];
  if (held.depth == 0) {
    error_ = held.lock.lock(path_, wait);
    if (error_.code == ENOENT) {  // a program folder not made yet: made as at the first start
      std::error_code ignored;
      std::filesystem::create_directories(programFolder, ignored);
      error_ = held.lock.lock(path_, wait);
    }
    if (error_) {
      heldLocks().erase(path_);
      return;
    }
    removeStaleTemporaries(programFolder);
  }
  ++held.depth;
}

WriteLock::~WriteLock() {
  if (error_) return;
  std::lock_guard<std::mutex> guard(heldMutex);
  auto it = heldLocks().find(path_);
  if (it == heldLocks().end() || --it->second.depth > 0) return;
  heldLocks().erase(it);
}

std::string WriteLock::message() const { return std::string(BusyText) + " (" + error_.text + ")"; }

int removeStaleTemporaries(const NativePath& folder, std::chrono::seconds age) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return 0;
  const int fd = ::dirfd(dir);
  const std::time_t now = std::time(nullptr);
  int removed = 0;
  while (struct dirent* d = ::readdir(dir)) {
    if (!isTemporaryName(d->d_name)) continue;
    struct stat st {};
    if (::fstatat(fd, d->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
    if (now - st.st_mtime < age.count()) continue;
    if (::unlinkat(fd, d->d_name, 0) == 0) ++removed;
  }
  ::closedir(dir);
  return removed;
}

}  // namespace zevro
