#pragma once
// An exclusive lock on a lock file through flock(2): held by this process
// until unlock() or destruction, and released by the system when the process
// dies, so a crash never leaves a lock behind.
//
//   FileLock lock;
//   lock.lock("/home/kaori/.local/share/zevro/.zevro-write.lock", 30s);
//       waits while another process holds it, at most the time limit
//       (EWOULDBLOCK when it is still held then)
//   lock.tryLock(".../.zevro-instance.lock");
//       never waits: EWOULDBLOCK at once when another process holds it
//       (a single-instance check)
//
// The lock file is created when missing and never removed (removing it
// would let a second process lock a new file of the same name while the
// first still holds the old one). Two FileLocks on the same file exclude
// each other even within one process.
#include <chrono>

#include "platform/FileSystem.h"

namespace zevro {

class FileLock {
public:
  FileLock() = default;
  ~FileLock();
  FileLock(FileLock&& other) noexcept;
  FileLock& operator=(FileLock&& other) noexcept;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Takes the lock, waiting at most `limit` while another holder has it.
  IoError lock(const NativePath& path, std::chrono::milliseconds limit);
  // Takes the lock only when it is free now.
  IoError tryLock(const NativePath& path);
  void unlock();
  bool held() const { return fd_ >= 0; }

private:
  IoError take(const NativePath& path, std::chrono::milliseconds limit);
  int fd_ = -1;
};

}  // namespace zevro
