#pragma once
// The catalogs one search reads: the list files of the catalog folder that
// the media filter lets through, in the order the folder lists them, and the
// genre filter applied to each before it is opened.
//
//   media filter (option MediaMode): 1 CD catalogs, 2 floppy catalogs,
//   4 hard-disk catalogs, any sum of them; 7 all.
//   buildSearchList(files, u"/home/kaori/.local/share/zevro/Catalog", 1)
//     -> {{u"_00CD_GAMES.cct", "_00CD_GAMES.cct", 1, u""},
//         {u"_21cd_Old.cct",   "_21cd_Old.cct",   1, u""}}
//
// An entry keeps its parts apart (file name, medium kind, title), so a title
// holding a tab or any other character cannot spoil the file name. The title
// is filled in when the scan reads the file (it comes from the file's title
// line, which is read with the rest anyway).
#include <cstdint>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "text/Text.h"

namespace zevro {

// Bits of the media filter.
namespace media {
inline constexpr unsigned CD = 1;
inline constexpr unsigned FD = 2;
inline constexpr unsigned HD = 4;
inline constexpr unsigned All = 7;
}  // namespace media

struct SearchListEntry {
  Text fileName;           // as spelled on disk, like u"_03CD_GAMES.cct"
  std::string nativeName;  // the same as the file system names it, like "_03CD_GAMES.cct"
  int mediumKind = 3;      // 1 CD, 2 floppy, 3 hard disk: name characters 3 and 4
  Text title;              // field 1 of the title line, blanks trimmed, like u"ゲーム集"
  std::uint64_t size = 0;  // the list file as the listing saw it
  FileTime modified = 0;
};

// The genre filter (options JanreMode and JanreList).
struct GenreFilter {
  bool on = false;  // JanreMode != 0; off: every genre is searched
  Text list;        // like u"10000100000000000000": character g is "1" when genre g is searched

  // Whether the catalog of this file name is searched. With the filter on,
  // the genre is name characters 1 and 2 as a number ("_05HD_X.cct" -> 5),
  // and a name without two digits there, or a genre of 20 or more, is never
  // searched.
  bool admits(TextView fileName) const;
};

// The file name pattern of a media filter (ASCII case ignored):
//   1 -> u"_??cD_*.CCT", 4 -> u"_??hD_*.CCT", 3, 5, 6, 7 -> u"_???D_*.CCT".
Text searchListPattern(unsigned mediaFilter);

// The medium letter a media filter leaves out of the pattern's matches:
//   3 -> u'h', 5 -> u'f', 6 -> u'c', anything else -> 0 (none).
char16_t excludedMediumLetter(unsigned mediaFilter);

// The list files of the folder the media filter lets through. Folders and
// entries that are no files (pipes, devices) are left out; a folder that
// cannot be listed gives an empty list.
std::vector<SearchListEntry> buildSearchList(FileSystem& files, const NativePath& catalogFolder, unsigned mediaFilter);

}  // namespace zevro
