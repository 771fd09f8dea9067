#pragma once
// Stores a finished reading as a catalog, for a caller that keeps no list
// window open (the desktop program before its list window exists): the list
// file in the catalog folder, its entry in the catalog index, and a replaced
// catalog retired to the backup folder only now that the new list is stored.
//
//   document.list() holds the reading; result.catalogPath
//   "/…/Catalog/_04CD_GAMES.CCT"  ->  the file is written, the index has
//   u"_04cd_games.cct", and a replaced "_01CD_GAMES.CCT" is in Backup/.
//
// A replaced catalog of the same name is overwritten by the new file; a copy
// of it goes to the backup folder first, so the old list can still be had.
#include "core/CatalogDocument.h"
#include "core/CatalogIndex.h"
#include "core/IconTable.h"
#include "text/Text.h"
#include "media/MediaReading.h"
#include "platform/Platform.h"

namespace zevro {

struct SavedReading {
  bool saved = false;    // the list file is written (failures were shown by the document)
  Text fileName;         // u"_04CD_GAMES.CCT", as written
  bool retired = true;   // a replaced catalog is out of the way (or there was none)
  IoError indexError;    // writing the catalog index failed
};

SavedReading SaveReading(Platform& platform, const MediaReading::Result& result, CatalogDocument& document,
                         CatalogIndex& index, const IconTable& icons, const NativePath& backupFolder);

}  // namespace zevro
