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
#include <functional>
#include <vector>

#include "core/CatalogDocument.h"
#include "core/CatalogIndex.h"
#include "core/IconTable.h"
#include "media/MediaReading.h"
#include "platform/Platform.h"
#include "text/Text.h"

namespace zevro {

struct SavedReading {
  bool saved = false;   // the list file is written (failures were shown by the document)
  // Not saved because another program stored a catalog of the medium while
  // this one was read, and the answer about it was to keep it: its name.
  Text taken;
  // Not saved because the program folder's write lock could not be had.
  IoError lockError;
  // Not saved: every number 01 to 99 of another list is taken by now.
  bool noFreeNumber = false;
  // Not saved: another list was asked for, by now, of a reading recorded as
  // several catalogs (MediaReading::Outcome::TooLargeForAnother).
  bool tooLargeForAnother = false;
  Text fileName;        // u"_04CD_GAMES.CCT", as written
  // Every catalog written, fileName first: more than one for a reading too
  // large for one list file (all of them are written, or none).
  std::vector<Text> fileNames;
  bool retired = true;  // a replaced catalog (every part of it) is out of the way (or there was none)
  IoError indexError;   // writing the catalog index failed
};

class ReadingStore {
public:
  // backupFolder: "/home/kaori/.local/share/zevro/Backup", made when needed;
  // programFolder: whose write lock store() holds; empty: none.
  ReadingStore(Platform& platform, CatalogIndex& index, NativePath backupFolder, NativePath programFolder = {});

  // Asked when a catalog of the medium turns up that was not there when the
  // reading started (u"_00CD_GAMES.cct"); empty: keep it (Cancel).
  using AskAgain = std::function<MediaReading::Existing(TextView existingFileName)>;

  // False when the copy of a catalog about to be overwritten failed (shown
  // by the file helpers): the new list must not be written then.
  bool prepare(const MediaReading::Result& result);

  struct Finished {
    bool retired = true;  // false: the replaced catalog could not be moved (it stays where it was)
    IoError indexError;
  };
  // Nothing for a reading that did not succeed. The further parts of a
  // replaced split reading are retired too, unless a new catalog took the
  // name; for a split reading, fileNames are all its parts.
  Finished finish(const MediaReading::Result& result, TextView fileName);
  Finished finish(const MediaReading::Result& result, const std::vector<Text>& fileNames);

  // The whole store under the program folder's write lock: the name is
  // decided again from the catalog folder as it is now (a catalog stored by
  // another program meanwhile is replaced, numbered past or kept as the
  // answers say), then the list file and the index are written.
  SavedReading store(const MediaReading::Result& result, CatalogDocument& document, const IconTable& icons,
                     const AskAgain& askAgain = {});

  // The replaced catalog carries the name the new list gets (any case).
  static bool replacedInPlace(const MediaReading::Result& result);

private:
  // Makes Backup/; false after a message naming why it cannot be made.
  bool makeBackupFolder();
  // The parts of a split reading, written to temporary files first and
  // given their names only once every one is complete.
  void storeParts(const MediaReading::Result& result, CatalogDocument& document, const IconTable& icons,
                  SavedReading& saved);
  // Decides the name again (see store); false when nothing may be written.
  bool decideAgain(MediaReading::Result& result, SavedReading& saved, const AskAgain& askAgain);

  Platform& platform_;
  CatalogIndex& index_;
  NativePath backupFolder_;
  NativePath programFolder_;
};

}  // namespace zevro
