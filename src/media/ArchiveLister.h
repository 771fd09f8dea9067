#pragma once
// Where the walk hands over an archive (a regular file named *.ZIP, *.LZH,
// *.CAB; a folder of such a name is walked as a folder) when the reading records archive contents or comments from
// archives. The lister writes the archive's row and the rows of its members;
// until one is given, archives are catalogued as plain files.
#include <cstdint>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "core/RowStore.h"
#include "media/WalkOrder.h"
#include "platform/FileSystem.h"
#include "text/Text.h"

namespace zevro {

struct ArchiveVisit {
  TextView folderPath;               // the folder holding the archive, u"E:\\DOCS"
  TextView name;                     // u"TOOLS.LZH"
  const NativePath* file = nullptr;  // "/media/kaori/GAMES/DOCS/TOOLS.LZH"
  int level = 1;                     // level of the archive row (its members go below it)
  TextView date;                     // the archive's row date, u"21/01/01 01:30"
  std::uint64_t size = 0;
  TextView comment;  // the file comment found for the archive, may be empty
  int kind = 0;      // the icon code of the archive's extension, like 91
  // The archive is the medium itself (a reading of tool.lzh): the walk wrote
  // the title line, its members go below it without an archive row, and
  // they are listed whatever the switches say.
  bool medium = false;
  // Counts one member row for the progress and lets pending events run at
  // the walk's pace; false once the reading was stopped (the lister then
  // ends, keeping the rows written). Empty: not asked.
  std::function<bool()> countMember = nullptr;
  // Told when the list cannot take another member row: the reading stops
  // there and says the list is full (the rows written so far stay).
  std::function<void()> listFull = nullptr;
  // The archive row's comment from its readme-like members (lower-case
  // paths, each followed by a TAB) and a way to read a member's first
  // bytes; asked when the row has no comment yet. Empty: not asked.
  using MemberReader = std::function<std::optional<std::string>(TextView member, std::size_t maxBytes)>;
  std::function<Text(TextView candidates, const MemberReader& read)> commentFromMembers = nullptr;
};

// The switches of one reading that decide what becomes of an archive.
struct ArchiveOptions {
  bool recordMembers = false;  // RecordUnzip: members are listed
  bool comments = false;       // CommentUnzip (with generated comments): the archive row's comment may come from inside it
  bool zip = false;            // UseExtactZip: ZIP archives are read at all
  WalkOrder sortOrder = WalkOrder::Kind;
};

class ArchiveLister {
public:
  virtual ~ArchiveLister() = default;
  // Told before each reading.
  virtual void setOptions(const ArchiveOptions&) {}
  // Appends the archive row and its members to the store. False when it
  // appended nothing: the walk then writes a plain file row.
  virtual bool WalkArchive(const ArchiveVisit& visit, RowStore& store) = 0;
};

// Archives stay plain files.
class NoArchiveContents final : public ArchiveLister {
public:
  bool WalkArchive(const ArchiveVisit&, RowStore&) override { return false; }
};

}  // namespace zevro
