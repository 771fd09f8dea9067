#pragma once
// Readers of the index files media carry: each parses one kind of list and
// writes what it understands into the comment table, so that the rows the
// walk writes later get their comments. Paths are catalog paths; names are
// looked up on the medium ignoring case. Every read is capped and only
// regular files are opened; a reader never throws, it ends with the entries
// written so far.
//
//   A1 ReadBulletinIndex  *.bbs, 00_index*    "TOOL.LZH   ツール集"
//   A2 ReadFileList       tools.txt, contents.*, cdlist.txt, dirs.txt
//   B  ReadDiskList       filedir.txt: "DISK 1" sections, may give the catalog title
//   C  ReadCollectionList 00global.txt: fixed columns under "======"
//   D  ReadOutline        TAB-indented folder outline
//   E  ReadMenu           menu.dat: "[menu]", "[GAMES]", "TITLE=ゲーム"
//   F  SettingsTitle      setdata.ini (caption=), setup.lst (wndtitle=)
//   G  BatchTitle         UP*.BAT: the first echoed line
#include <cstddef>
#include <functional>
#include <string>
#include <utility>

#include "media/CommentTable.h"
#include "media/MediumFiles.h"
#include "text/Text.h"

namespace zevro {

class IndexReaders {
public:
  // Read caps: a "whole" index file stops at 4 MiB.
  static constexpr std::size_t WholeFileCap = 4u << 20;
  static constexpr std::size_t FileListBytes = 32767;
  static constexpr std::size_t CollectionBytes = 409600;
  static constexpr std::size_t SettingsBytes = 8192;
  // Lines of this many characters or more have no description.
  static constexpr std::size_t LongLine = 100;

  // progress: the count of names handled so far (shown as "(" count ")").
  IndexReaders(MediumFiles& files, CommentTable& table, std::function<void(int)> progress = {})
      : files_(files), table_(table), progress_(std::move(progress)) {}

  // A1 and A2: `path` is the index file, `folderName` the name of the
  // folder holding it (empty at a drive root). True when an entry was written.
  bool ReadBulletinIndex(TextView path, TextView folderName);
  bool ReadFileList(TextView path, TextView folderName);

  struct DiskListResult {
    bool read = false;  // an entry was written
    Text title;         // the catalog title of this medium's section, when it differs from the root comment
  };
  // B: the section of this medium and its entries.
  DiskListResult ReadDiskList(TextView path, TextView rootComment);
  bool ReadCollectionList(TextView path);  // C
  bool ReadOutline(TextView path);         // D
  bool ReadMenu(TextView path);            // E
  Text SettingsTitle(TextView path, TextView key);  // F
  Text BatchTitle(TextView path);                   // G

  int progressCount() const { return count_; }
  void setProgress(std::function<void(int)> progress) { progress_ = std::move(progress); }

private:
  struct ListRun;
  bool readList(TextView path, TextView folderName, bool bulletin);
  bool readFixedColumns(TextView text, TextView folder, TextView folderName);
  bool enter(TextView path, TextView comment);
  Text textOf(TextView path, std::size_t cap);
  void advance(int every);

  MediumFiles& files_;
  CommentTable& table_;
  std::function<void(int)> progress_;
  int count_ = 0;
  bool entered_ = false;
};

}  // namespace zevro
