#pragma once
// What the program reads inside LZH and ZIP archives: the members with their
// paths, sizes and dates, and (later) one member's bytes or files.
//
// A member as the catalog sees it:
//   path      u"doc/表示 リスト.txt"   decoded first, then "\" turned into "/";
//             a directory entry ends with "/", like u"doc/"
//   size      7                        uncompressed bytes
//   time      2005-03-04 10:20         the DOS date and time as stored (no zone
//             shift); a header that stores a Unix time gives its list time
//   directory true for u"doc/"
//   regular   false for links, devices and other special entries
#include <cstdint>
#include <vector>

#include "media/ListTime.h"
#include "platform/FileSystem.h"
#include "text/Text.h"

namespace zevro {

enum class ArchiveType { None, Lzh, Zip, Cab };

// The archive type a file name's extension names, in any case:
//   u"TOOL.LZH" -> Lzh, u"a.zip" -> Zip, u"setup.cab" -> Cab, u"x.txt" -> None.
ArchiveType archiveTypeOf(TextView name);

struct ArchiveMember {
  Text path;
  std::uint64_t size = 0;
  ListTime time;
  bool directory = false;
  bool regular = true;
};

struct ArchiveListing {
  bool opened = false;  // false: the archive could not be read at all (or no reader)
  // In stored order; an archive damaged halfway keeps the members before the damage.
  std::vector<ArchiveMember> members;
};

class ArchiveReader {
public:
  virtual ~ArchiveReader() = default;
  // False when this machine cannot read archives of the type: such an
  // archive stays a plain file in the catalog.
  virtual bool available(ArchiveType type) const = 0;
  // The members in the order the archive stores them.
  virtual ArchiveListing list(const NativePath& archive, ArchiveType type) = 0;
};

}  // namespace zevro
