#pragma once
// The rows of an LZH or ZIP archive met in a walk: the archive's own row
// (like a folder row, with the archive's date, size and icon code), then,
// when the reading records archive contents, its members below it in the
// walk's order, with a folder row (kind 5) for each folder component that
// differs from the previous member's path. tool.lzh holding doc/readme.txt
// (7 bytes) and tool.exe (2 bytes), dated 2005-03-04 10:20, at level 1 by
// name gives, level / kind / name / date / size:
//   1  91   tool.lzh    21/01/01 01:30  1,234   (its own date and size)
//   2  5    doc         ""              ""
//   3  153  readme.txt  05/03/04 10:20  7
//   2  173  tool.exe    05/03/04 10:20  2
// A folder entry (u"doc/") gives only folder rows. Member dates are the
// dates the archive stores; the archive row's date is a list time like
// its neighbours'.
#include <unordered_map>

#include "core/IconTable.h"
#include "media/ArchiveLister.h"
#include "media/ArchiveReader.h"
#include "media/FolderWalker.h"

namespace zevro {

class ArchiveContents final : public ArchiveLister {
public:
  ArchiveContents(ArchiveReader& reader, const IconTable& icons, ArchiveOptions options = {})
      : reader_(reader), icons_(icons), options_(options) {}

  void setOptions(const ArchiveOptions& options) override { options_ = options; }

  // False (a plain file row) for a type this reading does not open: CAB,
  // ZIP without UseExtactZip, a reader that cannot read it, an archive that
  // cannot be opened, or neither members nor comments asked for.
  bool WalkArchive(const ArchiveVisit& visit, RowStore& store) override;

  // The sort key of a member path: the order's key of the part after the
  // last "/" behind the folder part; by kind, a folder entry keeps its path:
  //   (u"doc/readme.txt", Extension) -> u"doc/txt.readme"
  //   (u"doc/", Kind) -> u"doc/",  (u"tool.exe", Kind) -> u"98:exe.tool"
  static Text memberKey(TextView path, WalkOrder order);

  // Readme-like members of the last archive, lower case, each followed by a
  // TAB, like u"\tdoc/readme.txt\t": what a comment of the archive row is
  // drawn from.
  const Text& candidates() const { return candidates_; }

private:
  bool append(TextView name, TextView date, TextView size, int kind, int level, RowStore& store);
  int kindOf(TextView name);

  ArchiveReader& reader_;
  const IconTable& icons_;
  ArchiveOptions options_;
  std::unordered_map<Text, int> kinds_;
  Text candidates_;
};

}  // namespace zevro
