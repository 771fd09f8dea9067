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
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
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

// Why a member was not written.
enum class ExtractRefusal {
  Unsafe,       // absolute, drive prefix, a ".." component, or it would land outside the target
  NotRegular,   // a link, device or other special entry
  Exists,       // a file of that name is there already; it is never overwritten
  NotFound,     // no member of that path
  Damaged,      // its data could not be read whole (or its check sum differs)
  WriteFailed,  // the target could not take it
};

// The reason as one short English text, like "exists" or "unsafe path".
const char* refusalText(ExtractRefusal refusal);

struct ExtractReport {
  bool opened = false;                                   // false: the archive could not be read
  std::vector<Text> written;                             // files written, u"doc/readme.txt" below the target
  std::vector<std::pair<Text, ExtractRefusal>> refused;  // member path and why
  bool success() const { return opened && refused.empty(); }
};

class ArchiveReader {
public:
  virtual ~ArchiveReader() = default;
  // False when this machine cannot read archives of the type: such an
  // archive stays a plain file in the catalog.
  virtual bool available(ArchiveType type) const = 0;
  // The members in the order the archive stores them.
  virtual ArchiveListing list(const NativePath& archive, ArchiveType type) = 0;

  // Writes one member (or every member when `member` is empty) below the
  // target folder, with the member's folders; the target is created when
  // missing. A member path matches after "\\" becomes "/", exactly first,
  // then ignoring ASCII case. Nothing is written for a member whose path is
  // absolute, has a drive prefix or a ".." component, for links and special
  // entries, nor over an existing file; what is written lies inside the
  // target (links found there are never followed).
  virtual ExtractReport ExtractMember(const NativePath& archive, ArchiveType type, TextView member,
                                      const NativePath& target) = 0;
  // The first maxBytes bytes of one member's data (matched as above), read
  // into memory; nothing when there is no such regular member or it cannot
  // be read.
  virtual std::optional<std::string> ReadMember(const NativePath& archive, ArchiveType type, TextView member,
                                                std::size_t maxBytes) = 0;
};

}  // namespace zevro
