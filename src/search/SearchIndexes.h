#pragma once
// The trigram indexes of a catalog folder's list files, kept in a cache
// folder of the program folder: "SearchIndex/<folder key>/<list file>.zti".
// The cache is never needed: a missing, stale or damaged index is built
// afresh from the list file (and stored when the program folder can be
// written), and deleting the folder loses nothing.
//
//   SearchIndexes indexes(files, programFolder, catalogFolder);
//   const TrigramIndex* index = indexes.forSearch("_03CD_GAMES.cct", file, bytes);  // nullptr: scan it
//   indexes.update("_03CD_GAMES.cct", false)   -> State::Fresh or State::Built
//   indexes.check("_03CD_GAMES.cct")           -> State::Fresh, Missing, Stale or Damaged
//   indexes.forget("_03CD_GAMES.cct")          after the catalog was deleted or moved away
//
// Writes go by temporary file and rename under the program folder's write
// lock; a search that cannot have the lock at once keeps its index in memory.
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/FileView.h"
#include "search/ListFileBytes.h"
#include "search/TrigramIndex.h"

namespace zevro {

class SearchIndexes {
public:
  static constexpr const char* FolderName = "SearchIndex";
  static constexpr const char* Extension = ".zti";
  // How long a search waits for the write lock before it keeps an index in memory only.
  static constexpr std::chrono::milliseconds SearchWait{200};

  enum class State {
    Fresh,     // the stored index agrees with the list file
    Built,     // built (or rebuilt) and stored
    Missing,   // none stored
    Stale,     // stored for another state of the list file
    Damaged,   // stored and unreadable as an index
    NoCatalog, // the list file is missing, unreadable or not of the current layout
    NotStored, // built, but it could not be stored (the error is in lastError())
  };

  SearchIndexes(FileSystem& files, NativePath programFolder, NativePath catalogFolder);

  // The cache folder of this catalog folder.
  const NativePath& folder() const { return folder_; }
  NativePath pathOf(std::string_view listFileName) const;

  // The fresh index of a list file whose bytes a search holds (file is a
  // ListFileBytes over them), built and stored when needed. nullptr when the
  // list file changed while it was read. Valid until the next call.
  const TrigramIndex* forSearch(std::string_view listFileName, ListFileBytes& file, std::string_view bytes);

  // Builds the index when it is not fresh (always with rebuild).
  State update(std::string_view listFileName, bool rebuild);
  // How the stored index stands, every byte checked.
  State check(std::string_view listFileName);
  // Removes a list file's index (a catalog deleted).
  void forget(std::string_view listFileName);
  // Takes a list file's index along when the file is renamed (its stamp
  // still tells whether it fits the file).
  void renamed(std::string_view oldName, std::string_view newName);

  const IoError& lastError() const { return error_; }

private:
  std::optional<TrigramIndex::Stamp> stampOf(std::string_view listFileName, std::string_view bytes);
  bool store(std::string_view listFileName, std::string_view index, std::chrono::milliseconds wait);

  FileSystem& files_;
  NativePath programFolder_;
  NativePath catalogFolder_;
  NativePath folder_;
  FileView held_;  // the bytes of the index last opened (mapped, or built here)
  TrigramIndex index_;
  IoError error_;
  bool storeRefused_ = false;  // a search could not store an index: it stores no more
};

}  // namespace zevro
