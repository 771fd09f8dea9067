#pragma once
// A reading too large for one list file, recorded as several catalogs of the
// same medium ("parts"), each a folder reading of one folder of it:
//
//   E: (2,000,000 files)      -> "_00HD_DATA.CCT"            the root's files, small folders
//                                "_00HD_DATA PHOTOS.CCT"      E:\PHOTOS
//                                "_00HD_DATA MAIL.CCT"        E:\MAIL's files, small folders
//                                "_00HD_DATA MAIL&2019.CCT"   E:\MAIL\2019 (split again)
//                                "_00HD_DATA MAIL-01.CCT"     more of E:\MAIL's files
//
// The plan: a folder large enough to stand alone (an eighth of a part or
// more) becomes its own part, and one that is too large for a part is split
// again one level down. The folder's own files and its smaller folders are
// packed into parts of that folder in the order of the reading; when they
// fill one part, the next one is the same folder numbered "-01", "-02"... A
// part is closed at 90 % of either limit of the list file (rows, heap
// characters), so that later edits have room. The part holding the root is
// always there and keeps the plain name of the medium.
//
// Every part's title line carries the medium title, the part's own total and
// comment, the folder it reads (field 5) and the name of the medium's root
// part without its genre (field 7, u"HD_DATA.CCT"): a later reading of the
// medium finds all the parts by it.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "core/RowStore.h"
#include "text/Text.h"

namespace zevro {

struct SplitLimits {
  std::size_t rows = 0;        // rows of a part, its title line included
  std::size_t characters = 0;  // heap characters of a part, end marker included
  // What one list file holds: 1,048,575 rows, 16,777,215 heap characters.
  static SplitLimits listFile();
  // 90 % of these limits: where a part is closed.
  SplitLimits margin() const;
  // 90 % of the list file's limits.
  static SplitLimits listFileMargin() { return listFile().margin(); }
};

struct SplitPart {
  int folderRow = 0;  // the row of the folder the part reads in the whole reading (0: the root)
  Text folder;        // its catalog path, u"E:\\MAIL"
  int sequence = 0;   // 0, or 1.. for the further parts of the same folder ("-01")
  // The rows of the whole reading the part holds, [first, end) each, in order.
  std::vector<std::pair<int, int>> ranges;
  std::size_t rows = 0;        // as the list file counts them, title line included
  std::size_t characters = 0;  // heap characters, title line and end marker included
};

class ReadingSplit {
public:
  // True when the reading can be written as one list file.
  static bool fits(const RowStore& reading);

  // The parts of a reading (row 0 the title line, walked and sized), root
  // part first; rootPath is the catalog path of what was read (u"E:",
  // u"E:\\DOCS").
  static std::vector<SplitPart> plan(const RowStore& reading, TextView rootPath, SplitLimits limits);
  // The same for a reading too large for one list file of the `whole`
  // limits, its parts closed at their margin; none when it fits (counted
  // as fits() counts for the list file's limits).
  static std::vector<SplitPart> planIfTooLarge(const RowStore& reading, TextView rootPath, SplitLimits whole);

  // One part as a catalog list of its own, ready to be written: title line,
  // rows with their levels moved up under it, tree flags and file marks.
  // mark: the root part's name without its genre (field 7 of the title line).
  static void build(const RowStore& reading, const SplitPart& part, TextView mark, RowStore& out);

  // The title line's field 7 of a list file's first bytes (see
  // listfile::TitleBytes); empty when it has none.
  static Text markOf(std::string_view firstBytes);
  // A catalog name without its genre: u"_04HD_DATA.CCT" -> u"HD_DATA.CCT".
  static Text markOfName(TextView fileName);

  // Field 7 of a title line.
  static constexpr int FieldMark = 7;
  // A folder of at least 1 / ShareDivisor of a part's room stands alone.
  static constexpr std::size_t ShareDivisor = 8;
  // Room kept for a part's title line beyond the folder row it is made of.
  static constexpr std::size_t TitleRoom = 1024;
};

}  // namespace zevro
