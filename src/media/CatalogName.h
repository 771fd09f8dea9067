#pragma once
// The catalog file a medium (or a folder of it) is stored under:
//   catalog folder / "_" + genre + kind + "_" + label [+ "-" + sequence] + ".CCT"
//
//   CD labelled GAMES, genre u"03"                    -> "<catalogs>/_03CD_GAMES.CCT"
//   label A/B:C                                        -> label part A&B-C
//   HD labelled WORK, path u"X:\\SOFT\\TOOLS", u"00"   -> "_00HD_WORK SOFT&TOOLS.CCT"
//   FD titled My Disk, path u"E:\\DOCS"                -> "_00FD_My Disk DOCS.CCT"
//   sequence 2                                          -> label part ends in "-02"
//   genre u"??" forms a pattern over all genres         -> "_??CD_GAMES.CCT"
//
// The label is the volume label ("Audio CD" as the audio CD identity), a
// synthetic label when the medium has none, or for removable media the
// title of the title file (asked for when missing). The characters
// \ / : , ; * ? < > | " cannot stand in the name and are replaced; a name
// too long for a file name is cut, keeping its extension.
//
// No name when the drive holds no medium (an empty CD or floppy drive, a
// removable drive of capacity 0; a beep tells the user) or when a removable
// medium gets no title.
#include "media/DriveInfo.h"
#include "media/TitleFile.h"
#include "platform/Ui.h"
#include "text/Text.h"

namespace zevro {

struct CatalogNameResult {
  enum class Failure { None, NoMedium, NoTitle };

  NativePath path;   // like "/home/kaori/zevro/CatList/_03CD_GAMES.CCT"; empty on failure
  Text fileName;     // like u"_03CD_GAMES.CCT"
  Text mediumTitle;  // the medium's title for the reading window, like u"GAMES" (without the folder)
  Failure failure = Failure::None;

  explicit operator bool() const { return failure == Failure::None; }
};

// path: a drive (u"E:", u"E:\\") or a folder below a drive root
// (u"E:\\SOFT\\TOOLS"); genre: two digits like u"03", or u"??"; sequence:
// 0, or 1..99 for a numbered catalog.
CatalogNameResult CatalogName(DriveInfo& drives, TitleFile& titles, Ui& ui, const NativePath& catalogFolder,
                              TextView path, TextView genre, int sequence);

}  // namespace zevro
