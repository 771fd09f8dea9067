#pragma once
// The write lock of a program folder: every read-decide-write of the files
// the program shares between its processes (list files and their names, the
// catalog index, the genre table, the option store, the drive tables) runs
// while it is held, so two programs writing at once cannot both decide on the
// same old state and lose one of their changes. Readers never take it.
//
//   WriteLock lock(programFolder);         waits while another process writes
//   if (!lock) return lock.error();        busy too long, or no lock file
//   … read the file afresh, apply the change, write it …
//
// The lock is a flock of ".zevro-write.lock" in the program folder (see
// FileLock), held only for the moment of one such change. Within one process
// it nests: a step that holds it may call another that takes it again.
//
// The first holder of a process also removes temporary files that an
// interrupted write left behind in the program folder (see
// removeStaleTemporaries): while the lock is held no other writer is busy
// with them.
#include <chrono>

#include "platform/FileSystem.h"

namespace zevro {

class WriteLock {
public:
  static constexpr const char* FileName = ".zevro-write.lock";
  // How long a writer waits for another before it gives up with a message.
  static constexpr std::chrono::milliseconds DefaultWait{30000};
  // The text a refused writer shows before the error.
  static constexpr const char* BusyText = "another ZEVRO is writing to the program folder";

  explicit WriteLock(const NativePath& programFolder, std::chrono::milliseconds wait = DefaultWait);
  ~WriteLock();
  WriteLock(const WriteLock&) = delete;
  WriteLock& operator=(const WriteLock&) = delete;

  explicit operator bool() const { return !error_; }
  // EWOULDBLOCK after waiting in vain, else the error of the lock file.
  const IoError& error() const { return error_; }
  // BusyText and the error's own text, for a message.
  std::string message() const;

private:
  NativePath path_;
  IoError error_;
};

// Removes the temporary files of interrupted writes in the folder: hidden
// files of the writers' own naming (".NAME.zevro-tmp-XXXXXX") older than
// `age`. A younger one may belong to a write still running. Returns how many
// were removed.
int removeStaleTemporaries(const NativePath& folder, std::chrono::seconds age = std::chrono::minutes(10));

}  // namespace zevro
