#pragma once
// Where the walk gets the comments of folders and files. The generator that
// reads a medium's readme and index files implements this; until a reading
// asks for generated comments, NoComments leaves every comment empty.
#include <cstdint>

#include "platform/FileSystem.h"
#include "text/Text.h"

namespace zevro {

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
};

// One file of the walk.
struct FileVisit {
  TextView folderPath;               // u"E:\\DOCS"
  TextView name;                     // u"MANUAL.TXT"
  const NativePath* file = nullptr;  // "/media/kaori/GAMES/DOCS/MANUAL.TXT"
  // A regular file; FIFOs, sockets, devices and links are never opened.
  bool regular = true;
};

class CommentSource {
public:
  virtual ~CommentSource() = default;
  // The comment of a folder row (the title line's for the first row); the
  // walk cuts it to 128 characters.
  virtual Text FolderComment(const FolderVisit& visit) = 0;
  // The comment of a file row, or empty.
  virtual Text FileComment(const FileVisit& visit) = 0;
};

// Every comment empty.
class NoComments final : public CommentSource {
public:
  Text FolderComment(const FolderVisit&) override { return {}; }
  Text FileComment(const FileVisit&) override { return {}; }
};

}  // namespace zevro
