#pragma once
// A file system for tests that passes every call to a real one, except the
// calls a test chose to fail: "the next copy fails with ENOSPC", "renaming
// anything fails with EXDEV", "removing /tmp/t/a.txt fails with EACCES". A
// failed call touches nothing. It also fakes what a test cannot arrange on a
// build machine running as root: another device for a folder (a mount point)
// and the home folder.
//
// For a write that fails part-way through, give a LinuxFileSystem the writer
// of failingWriter below.
#include <cstddef>
#include <map>
#include <vector>

#include "platform/LinuxFileSystem.h"

namespace zevro {

class FaultyFileSystem : public FileSystem {
public:
  enum class Op {
    List,
    ListEntry,  // the look at one listed entry (path: the entry's path)
    Stat,
    Resolve,
    Read,
    Write,
    Copy,
    Move,
    Rename,
    Remove,
    RemoveTree,
    CreateFolder,
    CreateFolders,
    RemoveFolder,
    SetModified,
    SetReadOnly,
  };

  explicit FaultyFileSystem(FileSystem& inner) : inner_(inner) {}

  // The next `times` calls of op fail with code (an errno value); with a path,
  // only calls whose first path is that path count. times < 0: every call.
  void fail(Op op, int code, NativePath path = {}, int times = 1);
  void clearFaults() { faults_.clear(); }

  // The device deviceOf reports for a folder (and everything below it, up to
  // a deeper entry), as if another file system were mounted there.
  void setDevice(const NativePath& folder, std::uint64_t device);

  // identityOf(alias) answers as for original: one folder reached through
  // two paths, as a bind mount shows it.
  void setAlias(const NativePath& alias, const NativePath& original) { aliases_[alias] = original; }

  // The home folder homeFolder reports.
  void setHome(NativePath home) { home_ = std::move(home); }

  // How many calls of op were made (failed ones included).
  int calls(Op op) const;

  std::vector<DirEntry> list(const NativePath& folder, IoError* error = nullptr) override;
  std::optional<DirEntry> stat(const NativePath& path) override;
  std::optional<std::string> resolveName(const NativePath& folder, std::string_view name) override;
  IoError readFile(const NativePath& path, std::string& bytes, std::uint64_t maxSize = NoLimit) override;
  IoError viewFile(const NativePath& path, FileView& view, std::uint64_t maxSize = NoLimit) override;
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
  // The real inode with the device deviceOf reports.
  std::optional<Identity> identityOf(const NativePath& path) override;
  std::optional<NativePath> homeFolder() override;

private:
  struct Fault {
    Op op;
    int code;
    NativePath path;  // empty: any path
    int times;        // < 0: every call
  };

  // Counts the call; the injected error when one applies to it.
  IoError check(Op op, const NativePath& path);

  FileSystem& inner_;
  std::vector<Fault> faults_;
  std::map<Op, int> calls_;
  std::map<NativePath, std::uint64_t> devices_;
  std::map<NativePath, NativePath> aliases_;
  std::optional<NativePath> home_;
};

// A writer for LinuxFileSystem that lets `bytes` bytes through and then fails
// every write with `code`, like a disk filling up in the middle of a file.
LinuxFileSystem::Writer failingWriter(std::size_t bytes, int code);

}  // namespace zevro
