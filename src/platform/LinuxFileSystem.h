#pragma once
// The file system of a Linux machine through POSIX calls. Paths are native
// bytes ("/home/kaori/.local/share/zevro/ZEVRO32.Opt"); names in listings are
// sorted bytewise ("A.TXT" < "B.TXT" < "a.txt").
//
// Writes never touch the target before the new content is complete: the bytes
// go to a temporary file beside it (".ZEVRO32.Opt.zevro-tmp-k3J9xQ"), which is
// flushed and renamed over the target, and removed again on any failure.
#include <sys/stat.h>
#include <sys/types.h>
#include <cstddef>
#include <functional>

#include "platform/FileSystem.h"

namespace zevro {

class LinuxFileSystem : public FileSystem {
public:
  // Every byte the file system writes passes through this, with the meaning
  // of write(2): bytes written, or -1 and errno. Tests pass one that fails
  // part-way, as a full disk would.
  using Writer = std::function<ssize_t(int fd, const void* data, std::size_t size)>;

  // Every look at a listed entry passes through this, with the meaning of
  // fstatat(2). Tests pass one that fails for some names, as a failing disk
  // would (EIO) where a test cannot make a real one fail.
  using EntryStat = std::function<int(int folderFd, const char* name, struct stat* st, int flags)>;

  // home: the user's home folder; empty = $HOME, else the password entry.
  explicit LinuxFileSystem(Writer writer = {}, NativePath home = {}, EntryStat entryStat = {});

  std::vector<DirEntry> list(const NativePath& folder, IoError* error = nullptr) override;
  std::vector<DirEntry> listUnsorted(const NativePath& folder, IoError* error = nullptr) override;
  std::optional<DirEntry> stat(const NativePath& path) override;
  std::optional<std::string> resolveName(const NativePath& folder, std::string_view name) override;
  IoError readFile(const NativePath& path, std::string& bytes, std::uint64_t maxSize = NoLimit) override;
  IoError viewFile(const NativePath& path, FileView& view, std::uint64_t maxSize = NoLimit) override;
  IoError viewFileLazily(const NativePath& path, FileView& view, std::uint64_t maxSize = NoLimit) override;
  IoError readStart(const NativePath& path, std::string& bytes, std::size_t count) override;
  IoError writeFileAtomic(const NativePath& path, std::string_view bytes) override;
  IoError copyFile(const NativePath& source, const NativePath& destination) override;
  IoError moveFile(const NativePath& source, const NativePath& destination) override;
  IoError renameFile(const NativePath& source, const NativePath& destination) override;
  IoError renameNoReplace(const NativePath& source, const NativePath& destination) override;
  IoError removeFile(const NativePath& path) override;
  IoError removeTree(const NativePath& folder) override;
  IoError createFolder(const NativePath& folder) override;
  IoError createFolders(const NativePath& folder) override;
  IoError removeFolder(const NativePath& folder) override;
  IoError setModified(const NativePath& path, FileTime time) override;
  IoError setReadOnly(const NativePath& path, bool readOnly) override;
  std::optional<std::uint64_t> deviceOf(const NativePath& path) override;
  std::optional<Identity> identityOf(const NativePath& path) override;
  std::optional<NativePath> homeFolder() override;

  // The error for an errno value, with the system's text ("No space left on device").
  static IoError errorOf(int code);

private:
  Writer writer_;
  NativePath home_;
  EntryStat entryStat_;
};

}  // namespace zevro
