#pragma once
// The file system as the program sees it: native paths (bytes, normally UTF-8),
// listings sorted by name, whole-file reads and writes, and the operations that
// must never lose data (atomic replace, copy that keeps the old destination
// until the new one is complete, move that keeps the source until the copy is
// verified, tree removal that never follows links).
//
// Nothing here talks to the user: failures come back as an IoError whose text
// the caller shows (the file helpers of core/FileOps do, through the Ui seam).
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileView.h"

namespace zevro {

using NativePath = std::filesystem::path;

// Nanoseconds since 1970-01-01 UTC.
using FileTime = std::int64_t;

struct DirEntry {
  enum class Type { File, Folder, Link, Other };  // Other: FIFO, socket, device
  std::string name;                               // native bytes, like "MANUAL.TXT"
  Type type = Type::File;
  bool linkToFolder = false;  // Type::Link whose target is a folder
  std::uint64_t size = 0;     // bytes; 0 for folders
  FileTime modified = 0;
  bool readOnly = false;  // no write bit for the owner
  // The errno of a failed look at the entry (like EIO): the name is listed
  // but its size and date are unknown (0), its type is the listing's own
  // guess. 0 when the entry was seen in full.
  int statError = 0;
  bool isFolder() const { return type == Type::Folder; }
};

// errno-style code (0 = success) and the system's text for it.
struct IoError {
  int code = 0;
  std::string text;
  explicit operator bool() const { return code != 0; }  // true when failed
};

// The code of a read refused because the path is a FIFO, socket, device or
// folder rather than a regular file.
inline constexpr int NotRegularFile = EINVAL;
inline constexpr const char* NotRegularFileText = "not a regular file";

// Puts entries into the order of FileSystem::list: by name, bytewise.
void sortByName(std::vector<DirEntry>& entries);

class FileSystem {
public:
  virtual ~FileSystem() = default;

  // The entries of a folder without "." and "..", sorted by name (bytewise),
  // links not followed. An error of the listing itself (missing, unreadable)
  // gives an empty list and the error in *error when asked. An entry that
  // vanished between listing and look is left out; any other failed look
  // keeps the entry with its statError set, so that one bad sector never
  // silently drops a folder and everything below it.
  virtual std::vector<DirEntry> list(const NativePath& folder, IoError* error = nullptr) = 0;
  // The same entries in whatever order the file system keeps them, for a
  // caller that orders them itself (sortByName gives list's order).
  virtual std::vector<DirEntry> listUnsorted(const NativePath& folder, IoError* error = nullptr) {
    return list(folder, error);
  }

  // The entry itself (a link is reported as a link); nullopt when missing.
  virtual std::optional<DirEntry> stat(const NativePath& path) = 0;

  // Resolves a name in a folder ignoring ASCII case: the exact name when it
  // exists, else the first case-insensitive match in listing order. Returns
  // the name as spelled on disk, or nullopt.
  virtual std::optional<std::string> resolveName(const NativePath& folder, std::string_view name) = 0;

  // The largest file readFile takes when not told otherwise.
  static constexpr std::uint64_t NoLimit = ~std::uint64_t{0};

  // Reads a whole regular file. The file is opened without waiting (a FIFO
  // or device never blocks the program) and only a regular file is read:
  // anything else fails with NotRegularFile. A file larger than maxSize is
  // refused with EFBIG before any of it is read.
  virtual IoError readFile(const NativePath& path, std::string& bytes, std::uint64_t maxSize = NoLimit) = 0;

  // Reads the first `count` bytes of a regular file (all of a shorter one),
  // with the same checks as readFile: a title from a list file's first bytes
  // never reads a huge file whole.
  virtual IoError readStart(const NativePath& path, std::string& bytes, std::size_t count) = 0;

  // A whole file for reading (see FileView.h). This fallback reads it; a
  // real file system maps it. A file over maxSize is refused with EFBIG
  // before any of it is mapped or read.
  virtual IoError viewFile(const NativePath& path, FileView& view, std::uint64_t maxSize = NoLimit) {
    return readFile(path, view.buffer(), maxSize);
  }
  // The same, but the pages are read only as they are touched: for a large
  // file of which a few pages are wanted (an index looked up, not scanned).
  virtual IoError viewFileLazily(const NativePath& path, FileView& view, std::uint64_t maxSize = NoLimit) {
    return viewFile(path, view, maxSize);
  }


  // Writes a whole file: temporary file in the same folder, flushed, renamed
  // over the target. On failure the old file is untouched and no temporary
  // file is left behind.
  virtual IoError writeFileAtomic(const NativePath& path, std::string_view bytes) = 0;

  // Copies a regular file keeping its modification time, through a temporary
  // file beside the destination; the old destination stays until the copy is
  // complete. Copying a file onto itself (same path or same file) is refused
  // with EINVAL.
  virtual IoError copyFile(const NativePath& source, const NativePath& destination) = 0;

  // Moves a file: rename on the same file system, else copy (verified by size),
  // then delete the source. The source stays whenever the copy failed.
  virtual IoError moveFile(const NativePath& source, const NativePath& destination) = 0;

  // Renames within one file system, replacing the destination; EXDEV when the
  // two paths lie on different file systems (the caller then copies).
  virtual IoError renameFile(const NativePath& source, const NativePath& destination) = 0;

  // Renames without ever replacing a file: EEXIST when something exists at
  // the destination (a name differing only in case is another file where
  // the file system tells case apart).
  virtual IoError renameNoReplace(const NativePath& source, const NativePath& destination) {
    if (stat(destination)) return IoError{EEXIST, "File exists"};
    return renameFile(source, destination);
  }

  virtual IoError removeFile(const NativePath& path) = 0;

  // Removes a folder and everything below it. Links are removed, never
  // followed (a path that is itself a link loses only the link), and another
  // file system mounted below the folder is not entered (EXDEV). Stops at the
  // first error and reports it.
  virtual IoError removeTree(const NativePath& folder) = 0;

  virtual IoError createFolder(const NativePath& folder) = 0;   // one level
  virtual IoError createFolders(const NativePath& folder) = 0;  // the whole chain
  virtual IoError removeFolder(const NativePath& folder) = 0;   // empty folder only

  virtual IoError setModified(const NativePath& path, FileTime time) = 0;

  // Read-only attribute = the owner's write bit.
  virtual IoError setReadOnly(const NativePath& path, bool readOnly) = 0;

  // Device of the file system holding the path (for "same drive" decisions);
  // nullopt when the path does not exist.
  virtual std::optional<std::uint64_t> deviceOf(const NativePath& path) = 0;

  // Which file it is: its file system and its number there, the entry
  // itself (a link is not followed). Two paths of one folder (a bind mount)
  // give the same identity. nullopt when the path does not exist.
  struct Identity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    auto operator<=>(const Identity&) const = default;
  };
  virtual std::optional<Identity> identityOf(const NativePath& path) = 0;

  // The user's home folder, like "/home/kaori" (never deleted as a whole);
  // nullopt when it cannot be told.
  virtual std::optional<NativePath> homeFolder() = 0;
};

}  // namespace zevro
