#pragma once
// The steps around storing a finished reading as a catalog, one set for the
// desktop program and zevro-cli alike:
//
//   prepare(result)           before the list file is written: a catalog of
//                             the same name (any case), which the new file is
//                             about to overwrite, is copied to Backup/ first
//   finish(result, fileName)  after it is written: the new catalog's index
//                             entry, a replaced catalog of another name moved
//                             to Backup/ and out of the index, the index written
//   store(result, document)   all of it for a caller that holds the reading in
//                             a document: "/…/Catalog/_04CD_GAMES.CCT" is
//                             written, the index has u"_04cd_games.cct", and
//                             a replaced "_01CD_GAMES.CCT" is in Backup/
//
// A failed or stopped reading never gets here, so the old catalog stays
// untouched until a new one is complete.
#include "core/CatalogDocument.h"
#include "core/CatalogIndex.h"
#include "core/IconTable.h"
#include "media/MediaReading.h"
#include "platform/Platform.h"
#include "text/Text.h"

namespace zevro {

struct SavedReading {
  bool saved = false;   // the list file is written (failures were shown by the document)
  Text fileName;        // u"_04CD_GAMES.CCT", as written
  bool retired = true;  // a replaced catalog is out of the way (or there was none)
  IoError indexError;   // writing the catalog index failed
};

class ReadingStore {
public:
  // backupFolder: "/home/kaori/.local/share/zevro/Backup", made when needed.
  ReadingStore(Platform& platform, CatalogIndex& index, NativePath backupFolder);

  // False when the copy of a catalog about to be overwritten failed (shown
  // by the file helpers): the new list must not be written then.
  bool prepare(const MediaReading::Result& result);

  struct Finished {
    bool retired = true;  // false: the replaced catalog could not be moved (it stays where it was)
    IoError indexError;
  };
  // Nothing for a reading that did not succeed.
  Finished finish(const MediaReading::Result& result, TextView fileName);

  SavedReading store(const MediaReading::Result& result, CatalogDocument& document, const IconTable& icons);

  // The replaced catalog carries the name the new list gets (any case).
  static bool replacedInPlace(const MediaReading::Result& result);

private:
  Platform& platform_;
  CatalogIndex& index_;
  NativePath backupFolder_;
};

}  // namespace zevro
