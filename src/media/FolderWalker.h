#pragma once
// The walk of a medium into a catalog list: one row per folder and per file,
// depth first, each folder's files (in the chosen order) before its
// subfolders, and afterwards the size pass that gives every folder the total
// of everything below it.
//
// A medium E: with the file r.txt and the folders A (files a1, a2) and B
// (subfolder B1 with b.dat) becomes, level / kind / fields:
//   0  4  u"\x10TITLE\x11\x12\x13" u"1,234,682\x14" u"0\x15"     title line (kind: HD)
//   1  k  u"\x10r.txt\x11\x12" u"21/01/01 01:30\x13" u"10\x14" u"0\x15"
//   1  1  u"\x10" u"A\x11\x12\x13" u"1,234,667\x14" u"0\x15"
//   2  6  … a1 (100 bytes), a2 (1,234,567 bytes)
//   1  1  B, then 2 1 B1, then 3 k b.dat
// File kinds k come from the icon table (6 for an unlisted extension);
// folders are 1; the title line is the medium kind + 1 (2 CD, 3 FD, 4 HD).
// Dates are list times (see ListTime.h), sizes grouped by thousands.
//
// Left out: folders whose name begins with "." and folders named exactly
// "RECYCLED"; at a drive root the first file spelled "V…" whose name is
// volname.txt or volname.dat in any case (the medium's title file). A folder
// holding an entry dated before 1900 is left out with all its contents and
// reported with badDateMessage().
//
// Safety on Linux: links are catalogued as files (their own size and time)
// and never followed, so a link to a folder cannot make a loop; FIFOs,
// sockets and devices are catalogued by name and never opened; a folder
// that cannot be listed keeps its row, loses its contents and is reported;
// folders at level 127 (the deepest level a list holds) are recorded without
// their contents and reported.
//
// The folders are listed on a thread of its own, ahead of the rows and in
// the order the rows need them, so that the medium is read while rows are
// made. It is the only thread that lists; the walk's own thread (where the
// callbacks, the Ui and the hooks run) touches the medium only through the
// hooks, and then holds the medium so that the two never read it at once.
#include <cstdint>
#include <functional>
#include <iterator>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/IconTable.h"
#include "core/RowStore.h"
#include "media/ArchiveLister.h"
#include "media/CommentSource.h"
#include "media/ListTime.h"
#include "media/WalkOrder.h"
#include "platform/FileSystem.h"
#include "platform/Ui.h"
#include "text/Text.h"

namespace zevro {

struct WalkOptions {
  WalkOrder sortOrder = WalkOrder::Kind;  // the option RecordSort
  int mediumKind = 3;                     // 1 CD, 2 FD, 3 HD
  ListTime::Zone zone = ListTime::Zone::Japan;
  // Archives go to the archive lister (record contents or comments from
  // archives); otherwise they are plain files.
  bool archives = false;
};

// How the walk shows its progress and learns that the user stopped it.
// Every member may be left empty.
struct WalkCallbacks {
  std::function<void(TextView path)> showFolder;  // each folder on entry: u"E:\\DOCS"
  std::function<void(int count)> showCount;       // the running count of files and folders
  // Lets pending events run (a window's stop button); false once the
  // reading was stopped. Called every 50th item, every item at low
  // priority, and after each subfolder; an implementation that is costly
  // throttles itself (see ThrottledPump).
  std::function<bool()> pump;
  std::function<bool()> lowPriority;  // asked again after each pump
};

struct WalkProblem {
  enum class Kind {
    Unreadable,  // the folder could not be listed: row kept, contents missing
    TooDeep,     // level 127 reached: row kept, contents missing
    BadDate,     // an entry dated before 1900: the folder is left out
    ListFull,    // the list cannot take another row: the walk stopped
    NoDetails,   // an entry whose size and date could not be read: row kept with size 0
  };
  Kind kind;
  Text path;          // catalog path of the folder (of the entry for NoDetails), u"E:\\DOCS\\OLD"
  std::string error;  // the system's text for Unreadable and NoDetails, like "Permission denied"
};

struct WalkHooks {
  CommentSource* comments = nullptr;  // nullptr: no comments
  ArchiveLister* archives = nullptr;  // nullptr: archives are plain files
};

class FolderWalker {
public:
  // The report of a folder with invalid dates: "フォルダー " + bold path +
  // BadDateMessageTail. Codes 8 and 7 switch bold on and off, 5, 0 and 3
  // pick colours.
  static constexpr TextView BadDateMessageHead = u"フォルダー \x08";
  static constexpr char16_t BadDateMessageTailText[] =
      u"\x07|に記録されたファイルは、\x05ファイル情報が正しくありません。\0"
      u"||このフォルダーの情報は記録できません||"
      u"\x03※ドライブの読取エラーの可能性もあります。|　　・HDDならスキャンディスク、|"
      u"　　・CDならクリーニングを行なってみてください";
  static constexpr TextView BadDateMessageTail{BadDateMessageTailText, std::size(BadDateMessageTailText) - 1};
  static Text badDateMessage(TextView folderPath);

  // Longest folder comment a row keeps.
  static constexpr std::size_t MaxFolderComment = 128;

  FolderWalker(FileSystem& files, Ui& ui, const IconTable& icons, WalkOptions options, WalkCallbacks callbacks = {},
               WalkHooks hooks = {});

  // Walks the medium into the store (which should be empty): `folder` is the
  // real folder, `path` its catalog path without a trailing "\" (u"E:" for a
  // whole drive, u"E:\\DOCS" for a folder read as the medium), `mediumTitle`
  // the title line's name. Rows go in as shown rows of a catalog list. False
  // when the reading was stopped (cancelled() tells) or the list ran full;
  // the rows written so far stay. A folder's row holds the size of its own
  // files until AddFolderSizes runs.
  bool WalkFolder(const NativePath& folder, TextView path, TextView mediumTitle, RowStore& store);

  // The size pass: every folder-like row (kind 5 or less) gets the total of
  // the files below it, the title line the medium's total: the size a row
  // holds counts as its own files' size, and the totals of the folder rows
  // below it are added. When a size changes, the store writes them all in
  // one pass (RowStore::setFieldOfRows: heap cut to its used length, index
  // rebuilt, modified mark kept). Returns the title line's total.
  static std::int64_t AddFolderSizes(RowStore& store);
  // The number of a size field, commas skipped: u"1,234" -> 1234, u"" -> 0;
  // a damaged text stops at the largest value.
  static std::int64_t SizeValue(TextView text);

  bool cancelled() const { return cancelled_; }
  int itemCount() const { return count_; }  // files and folders counted for the progress
  int folderRows() const { return folderRows_; }
  const std::vector<WalkProblem>& problems() const { return problems_; }

  // The sort key of a file name for an order: by name the name, by
  // extension extension "." base name, by kind group ":" extension "." base:
  //   (u"b.txt", Extension) -> u"txt.b",  (u"c", Extension) -> u".c",
  //   (u"a.zip", Kind) -> u"97:zip.a".
  static Text sortKey(TextView name, WalkOrder order);

private:
  struct FileItem;
  struct Listing;
  struct Visit;
  class Reader;

  void visitFolder(Visit& visit, RowStore& store);
  // A medium that is an LZH or ZIP file (a reading of E:\\TOOL.LZH): the
  // title line, then its members. False when the medium is not one.
  bool readArchiveMedium(const NativePath& file, const Text& path, TextView name, RowStore& store);
  // False for a folder of another file system than the medium's, or one
  // entered before.
  bool entering(const NativePath& folder, int depth);
  // The reader's part of a folder: whether it is entered, its listing, its
  // subfolders in order, an entry dated before 1900.
  void readFolder(Visit& visit);
  void listSubfolders(Visit& visit);
  // The walk's part: the problems of its entries, its files in order.
  void listFiles(Visit& visit);
  bool beforeFirstYear(FileTime time) const;
  // The drive's title file, left out: the first so named at a drive root.
  static bool isSkippedTitleFile(const Visit& visit, const DirEntry& entry, bool& titleFileSkipped);
  void reportBadDate(const Text& path);
  bool writeFolderRow(const NativePath& folder, const Text& path, TextView name, int depth, Listing& listing,
                      RowStore& store);
  bool writeFileRow(const NativePath& folder, const Text& path, const FileItem& item, int level, RowStore& store);
  bool append(TextView name, TextView comment, TextView date, TextView size, int kind, int level, RowStore& store);
  int kindOf(const Text& extension);
  TextView groupOf(const Text& extension);
  bool countItem();
  bool pump();
  bool stopped() const { return cancelled_ || full_; }
  // The list cannot take another row: the walk ends, reported once.
  void reportListFull();

  FileSystem& files_;
  Ui& ui_;
  const IconTable& icons_;
  WalkOptions options_;
  WalkCallbacks callbacks_;
  WalkHooks hooks_;
  Text mediumTitle_;
  bool lowPriority_ = false;
  bool cancelled_ = false;
  bool full_ = false;
  int count_ = 0;
  int folderRows_ = 0;
  std::vector<WalkProblem> problems_;
  // A drive is one file system: folders of another device (mount points,
  // pseudo file systems) and folders met before (bind mounts) are recorded
  // but not entered. Used by the reader only while it runs, like
  // options_; everything else only by the walk's thread.
  std::uint64_t rootDevice_ = 0;
  std::set<FileSystem::Identity> visited_;
  std::unordered_map<Text, int> kinds_;        // extension as spelled -> kind code
  std::unordered_map<Text, TextView> groups_;  // extension as spelled -> kind group
  Text lastKindExtension_;                     // the extension kindOf answered last, and its kind
  int lastKind_ = -1;
  Text lastGroupExtension_;  // the extension groupOf answered last, and its group
  std::optional<TextView> lastGroup_;
  Text date_;                                  // the date of the row being written
  Text record_;                                // the record of the row being written
  // Held by whichever thread reads the medium: the reader while it lists,
  // the walk while a hook may read (a comment file, an archive).
  std::mutex medium_;
  Reader* reader_ = nullptr;  // the folders listed ahead, during WalkFolder
};

}  // namespace zevro
