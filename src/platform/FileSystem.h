#pragma once
// The file system as the program sees it: native paths (bytes, normally UTF-8),
// listings sorted by name, whole-file reads and writes, and the operations that
// must never lose data (atomic replace, copy that keeps the old destination
// until the new one is complete, move that keeps the source until the copy is
// verified, tree removal that never follows links).
//
// Nothing here talks to the user: failures come back as an IoError whose text
// the caller shows (the file helpers of core/FileOps do, through the Ui seam).
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
  bool isFolder() const { return type == Type::Folder; }
};

// errno-style code (0 = success) and the system's text for it.
struct IoError {
  int code = 0;
  std::string text;
  explicit operator bool() const { return code != 0; }  // true when failed
};

class FileSystem {
public:
  virtual ~FileSystem() = default;

  // The entries of a folder without "." and "..", sorted by name (bytewise),
  // links not followed. An error (missing, unreadable) gives an empty list
  // and the error in *error when asked.
  virtual std::vector<DirEntry> list(const NativePath& folder, IoError* error = nullptr) = 0;

  // The entry itself (a link is reported as a link); nullopt when missing.
  virtual std::optional<DirEntry> stat(const NativePath& path) = 0;

  // Resolves a name in a folder ignoring ASCII case: the exact name when it
  // exists, else the first case-insensitive match in listing order. Returns
  // the name as spelled on disk, or nullopt.
  virtual std::optional<std::string> resolveName(const NativePath& folder, std::string_view name) = 0;

  virtual IoError readFile(const NativePath& path, std::string& bytes) = 0;

  // A whole file for reading (see FileView.h). This fallback reads it; a
  // real file system maps it.
  virtual IoError viewFile(const NativePath& path, FileView& view) { return readFile(path, view.buffer()); }

  // The first `maxBytes` bytes of a file, all of it when it is shorter: a
  // look at a list file's header and title line without reading its rows.
  // This fallback reads the whole file; a real file system reads only the start.
  virtual IoError readFileStart(const NativePath& path, std::size_t maxBytes, std::string& bytes) {
    IoError error = readFile(path, bytes);
    if (!error && bytes.size() > maxBytes) bytes.resize(maxBytes);
    return error;
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
