#include "platform/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <cerrno>
#include <thread>
#include <utility>

#include "platform/LinuxFileSystem.h"

namespace zevro {

namespace {
// flock cannot wait with a time limit; the lock is tried again this often.
constexpr auto RetryEvery = std::chrono::milliseconds(20);
}  // namespace

FileLock::~FileLock() { unlock(); }

FileLock::FileLock(FileLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
  if (this != &other) {
    unlock();
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

IoError FileLock::lock(const NativePath& path, std::chrono::milliseconds limit) { return take(path, limit); }

IoError FileLock::tryLock(const NativePath& path) { return take(path, std::chrono::milliseconds(0)); }

IoError FileLock::take(const NativePath& path, std::chrono::milliseconds limit) {
  unlock();
  // O_NONBLOCK and O_NOFOLLOW: a FIFO or a planted link under the lock's name
  // must neither hang the program nor make it create a file elsewhere.
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0666);
  if (fd < 0) return LinuxFileSystem::errorOf(errno);
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      fd_ = fd;
      return {};
    }
    const int code = errno;
    if (code == EINTR) continue;
    if (code != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) {
      ::close(fd);
      return LinuxFileSystem::errorOf(code);
    }
    std::this_thread::sleep_for(RetryEvery);
  }
}

void FileLock::unlock() {
  if (fd_ < 0) return;
  ::flock(fd_, LOCK_UN);
  ::close(fd_);
  fd_ = -1;
}

}  // namespace zevro
