#pragma once
// A folder that files are written into from names nobody here chose (the
// members of a stranger's archive): every folder on the way is opened
// without following links, a file is only ever created new (never
// overwritten, never through a link), and the real path of what was made is
// checked to lie inside the folder.
//
//   ConfinedFolder out("/home/kaori/TempFile");        // created when missing
//   out.makeFile({"doc", "readme.txt"}, file)  -> Made  "/home/kaori/TempFile/doc/readme.txt"
//   again                                      -> Exists (the old file kept)
//   {"evil", "x.txt"} with evil a link         -> Escapes
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace zevro {

class ConfinedFolder {
public:
  enum class Result { Made, Exists, Escapes, Failed };

  // A file being written; removed again unless kept().
  class NewFile {
  public:
    NewFile() = default;
    ~NewFile();
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;
    bool write(const char* data, std::size_t size);
    // Closes the file and keeps it; false when the last bytes failed.
    bool keep();

  private:
    friend class ConfinedFolder;
    int folder_ = -1;  // the folder holding it
    int fd_ = -1;
    std::string name_;
  };

  // Creates the folder (and those above it) when missing.
  explicit ConfinedFolder(const NativePath& root);
  ~ConfinedFolder();
  ConfinedFolder(const ConfinedFolder&) = delete;
  ConfinedFolder& operator=(const ConfinedFolder&) = delete;

  bool ready() const { return root_ >= 0; }
  // The folder at these components (native names, none "", "." or "..").
  Result makeFolders(const std::vector<std::string>& components);
  // A new file at these components, its folders made first.
  Result makeFile(const std::vector<std::string>& components, NewFile& file);

private:
  // The folder holding the last component, opened; -1 with the result when not.
  int openParent(const std::vector<std::string>& components, bool makeLast, Result& result);
  bool inside(int fd) const;

  int root_ = -1;
  std::string realRoot_;
};

}  // namespace zevro
