#pragma once
// The medium as the comment generator and the index readers see it: catalog
// paths (u"E:\\TOOLS\\SETUP.EXE") looked up below the folder read as the
// medium, every component found ignoring ASCII case (the spelling on the
// medium first), with the patterns "*" and "?" of index files. Folder
// listings are kept for the reading, so that an index of 30,000 lines costs
// one listing of its folder, not 30,000 looks.
//
// Only regular files are read, and never more than the reader asks for: a
// FIFO named readme.txt or a huge file named .htm cannot stop a reading.
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/FileSystem.h"
#include "text/Text.h"

namespace zevro {

class MediumFiles {
public:
  explicit MediumFiles(FileSystem& files) : files_(files) {}

  // The catalog path of the folder read as the medium (u"E:" or
  // u"E:\\DOCS") and its real folder; forgets what was listed before.
  void setRoot(TextView path, const NativePath& folder);
  const Text& rootPath() const { return root_; }
  // The drive of the medium, u"E:".
  Text drive() const;

  enum class Kind { None, File, Folder };
  // What the path names: a regular file, a folder, or nothing (links,
  // FIFOs and devices count as files that are never read).
  Kind kindOf(TextView path);
  bool exists(TextView path) { return kindOf(path) != Kind::None; }
  bool isFolder(TextView path) { return kindOf(path) == Kind::Folder; }
  bool isFile(TextView path) { return kindOf(path) == Kind::File; }

  // The first file (by name, ignoring case) matching the last component of
  // the path as a pattern, as a catalog path with the name as spelled on the
  // medium; "NAME.*" also matches "NAME", as index files expect:
  //   u"E:\\DOCS\\README.*" -> u"E:\\DOCS\\readme.txt"
  std::optional<Text> firstFile(TextView pattern);
  // The same for folders.
  std::optional<Text> firstFolder(TextView pattern);

  // The first `maxBytes` bytes of a regular file (all of a shorter one);
  // false when it is no regular file or cannot be read.
  bool read(TextView path, std::string& bytes, std::size_t maxBytes);
  // The real path of a catalog path, or nothing when it is not there.
  std::optional<NativePath> nativeOf(TextView path);

  // What a folder holds, as the walk listed it: taken instead of listing it
  // again (a folder listed before keeps its listing).
  struct Listed {
    TextView name;
    std::string_view native;
    bool folder = false;
  };
  template <typename Entries>
  void learn(const NativePath& folder, const Entries& entries) {
    Folder& f = folders_[folder.native()];
    if (f.listed) return;
    f.listed = true;
    f.path = folder;
    f.entries.reserve(entries.size());
    // Most folders are never looked into by name: their index waits for the
    // first look (see indexed()).
    for (const auto& e : entries) f.entries.push_back(Entry{std::string(e.native), e.folder ? Kind::Folder : Kind::File});
  }

private:
  struct Entry {
    std::string native;
    Kind kind = Kind::None;
  };
  struct Folder {
    bool listed = false;
    NativePath path;
    // Listing order; the catalog name of an entry is its native name decoded
    // (kept only in lower case, in byLower, to spare memory and time).
    std::vector<Entry> entries;
    std::unordered_map<Text, std::size_t> byLower;  // lower-case name -> first entry, once indexed
    bool indexed = false;
    int scans = 0;  // names looked up without the index
    bool caseTwins = false;  // two names differ only in case (rare on media)
  };
  static constexpr int ScansBeforeIndex = 8;
  // The folder with byLower filled.
  static const Folder& indexed(Folder& f);
  Folder& folderAt(const NativePath& folder);
  const Entry* entryIn(Folder& folder, TextView name);
  // The folder and name of a path's last component; nothing when the path
  // lies outside the medium or a folder on the way is missing.
  std::optional<std::pair<Folder*, TextView>> split(TextView path);
  Folder* folderOf(TextView folderPath);
  bool isRoot(TextView path) const;
  std::optional<Text> first(TextView pattern, Kind kind);

  FileSystem& files_;
  Text root_;
  Text rootLower_;
  NativePath rootFolder_;
  std::map<std::string, Folder> folders_;
  // Folders found before, by lower-case catalog path: an index naming
  // thousands of files of one folder resolves that folder once.
  std::unordered_map<Text, Folder*> resolved_;
  Text lower_;  // the name being looked up, in lower case
};

}  // namespace zevro
