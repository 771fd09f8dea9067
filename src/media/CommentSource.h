#pragma once
// Where the walk gets the comments of folders and files. The generator that
// reads a medium's readme and index files implements this; until a reading
// asks for generated comments, NoComments leaves every comment empty.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <string>

#include "platform/FileSystem.h"
#include "text/Text.h"

namespace zevro {

// An entry of a folder as the walk listed it.
struct FolderEntry {
  TextView name;            // u"SETUP.EXE"
  std::string_view native;  // "SETUP.EXE"
  bool folder = false;
};

// One folder of the walk, as the comment generator sees it.
struct FolderVisit {
  TextView path;          // the folder's catalog path, u"E:" (a drive root) or u"E:\\DOCS"
  TextView name;          // the folder's own name, u"DOCS"; a drive root: u"E:"
  bool firstRow = false;  // the folder read as the medium (its row is the title line)
  TextView mediumTitle;   // u"GAMES"
  // Readme-like files of the folder, lower case, each followed by a TAB:
  //   u"\treadme\tinstall.txt\t". A source that was used may be taken out.
  Text* candidates = nullptr;
  const NativePath* folder = nullptr;  // the real folder, "/media/kaori/GAMES/DOCS"
  // The folder's files and subfolders as the walk listed them (names it
  // leaves out are missing), so that a generator need not list it again.
  std::span<const FolderEntry> entries;
};

// One file of the walk.
struct FileVisit {
  TextView folderPath;               // u"E:\\DOCS"
  TextView name;                     // u"MANUAL.TXT"
  const NativePath* file = nullptr;  // "/media/kaori/GAMES/DOCS/MANUAL.TXT"
  // A regular file; FIFOs, sockets, devices and links are never opened.
  bool regular = true;
  // Without `file`: the real folder and the name on disk, joined only when
  // the file is read ("/media/kaori/GAMES/DOCS", "MANUAL.TXT").
  const NativePath* folder = nullptr;
  std::string_view native;
};

// An archive met in the walk whose row may take its comment from a readme
// inside it.
struct ArchiveCommentVisit {
  TextView folderPath;  // u"E:\\TOOLS"
  TextView name;        // u"TOOL.LZH"
  // Readme-like members, lower case, each followed by a TAB: u"\tdoc/readme.txt\t".
  TextView candidates;
  // The first bytes of a member (its path as listed), read into memory; nothing
  // when it cannot be read.
  std::function<std::optional<std::string>(TextView member, std::size_t maxBytes)> readMember;
};

class CommentSource {
public:
  virtual ~CommentSource() = default;
  // The comment of a folder row (the title line's for the first row); the
  // walk cuts it to 128 characters.
  virtual Text FolderComment(const FolderVisit& visit) = 0;
  // The comment of a file row, or empty.
  virtual Text FileComment(const FileVisit& visit) = 0;
  // Whether FileComment may read a file of the medium for this visit. The
  // walk reads the medium on another thread meanwhile, and gives this call
  // the medium to itself only when it may read; when unsure, say true.
  virtual bool fileCommentReads(const FileVisit&) const { return true; }
  // The comment of an archive row from the readme inside it, or empty.
  virtual Text ArchiveComment(const ArchiveCommentVisit&) { return {}; }
  // A catalog title found while reading a folder (a disk list naming the
  // medium's section): the walk puts it on the title line. Asked after each
  // folder row; nothing when there is none.
  virtual std::optional<Text> takeCatalogTitle() { return std::nullopt; }
  // Told before each reading: whether index files, settings files and
  // readmes are read (AutoCreate), and whether an archive's readme may give
  // its row a comment (CommentUnzip).
  virtual void setReading(bool /*autoCreate*/, bool /*commentUnzip*/) {}
  // Told by the walk: called with the count of index names handled, at the
  // readers' pace, so that a long index keeps the window alive.
  virtual void setProgress(std::function<void(int)>) {}
};

// Every comment empty.
class NoComments final : public CommentSource {
public:
  Text FolderComment(const FolderVisit&) override { return {}; }
  Text FileComment(const FileVisit&) override { return {}; }
  bool fileCommentReads(const FileVisit&) const override { return false; }
};

}  // namespace zevro
