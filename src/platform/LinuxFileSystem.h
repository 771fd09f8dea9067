#pragma once
// The file system of a Linux machine through POSIX calls. Paths are native
// bytes ("/home/kaori/.local/share/zevro/ZEVRO32.Opt"); names in listings are
// sorted bytewise ("A.TXT" < "B.TXT" < "a.txt").
//
// Writes never touch the target before the new content is complete: the bytes
// go to a temporary file beside it (".ZEVRO32.Opt.zevro-tmp-k3J9xQ"), which is
// flushed and renamed over the target, and removed again on any failure.
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

  // home: the user's home folder; empty = $HOME, else the password entry.
  explicit LinuxFileSystem(Writer writer = {}, NativePath home = {});

  std::vector<DirEntry> list(const NativePath& folder, IoError* error = nullptr) override;
  std::optional<DirEntry> stat(const NativePath& path) override;
  std::optional<std::string> resolveName(const NativePath& folder, std::string_view name) override;
  IoError readFile(const NativePath& path, std::string& bytes) override;
  IoError viewFile(const NativePath& path, FileView& view) override;
  IoError readFileStart(const NativePath& path, std::size_t maxBytes, std::string& bytes) override;
  IoError writeFileAtomic(const NativePath& path, std::string_view bytes) override;
  IoError copyFile(const NativePath& source, const NativePath& destination) override;
  IoError moveFile(const NativePath& source, const NativePath& destination) override;
  IoError renameFile(const NativePath& source, const NativePath& destination) override;
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
};

}  // namespace zevro
