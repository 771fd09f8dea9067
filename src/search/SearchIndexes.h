#pragma once
// The trigram indexes of a catalog folder's list files, kept in a cache
// folder of the program folder, "SearchIndex/<folder key>/":
//   "Catalogs.zpk"        the pack: the indexes of all list files in one file,
//                         with their stamps and titles (see IndexPack.h)
//   "<list file>.zti"     a loose index of one list file, written when the
//                         desktop program saves a catalog or a search builds
//                         a few; merged into the pack now and then
// The cache is never needed: a missing, stale or damaged index is built
// afresh from the list file (and stored when the program folder can be
// written), and deleting the folder loses nothing. An index is used only for
// the list file in the state it was built from (size, modification time and
// header hash); a list file changed behind the program's back is searched
// whole and its index built anew.
//
//   SearchIndexes indexes(files, programFolder, catalogFolder);
//   a search (CatalogScan does this):
//     indexes.beginSearch(request);
//     indexes.known(entry, noHit)                 -> the pack's entry: noHit, the catalog need not be read
//     indexes.forSearch(entry, file, bytes)       -> the index of a catalog read; nullptr: scan it
//     indexes.endSearch();                        the indexes built meanwhile stored
//   upkeep:
//     indexes.update("_03CD_GAMES.cct", false)    -> State::Fresh or State::Built (a loose index)
//     indexes.check("_03CD_GAMES.cct")            -> State::Fresh, Missing, Stale or Damaged
//     indexes.updateAll(false, tally)             every list file in a new pack, one file written
//     indexes.forget("_03CD_GAMES.cct")           after the catalog was deleted or moved away
//
// Writes go by temporary file and rename under the program folder's write
// lock; a search that cannot have the lock soon keeps its indexes in memory.
// A search stores what it built silently: failing to store a cache costs the
// next search time, never a result.
#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/FileView.h"
#include "search/IndexPack.h"
#include "search/ListFileBytes.h"
#include "search/SearchList.h"
#include "search/TrigramIndex.h"

namespace zevro {

class SearchIndexes {
public:
  static constexpr const char* FolderName = "SearchIndex";
  static constexpr const char* Extension = ".zti";
  static constexpr const char* PackName = "Catalogs.zpk";
  // How long a search waits for the write lock before it keeps its indexes in memory only.
  static constexpr std::chrono::milliseconds SearchWait{200};
  // A search that met this many loose or missing indexes (or one in
  // LooseShare of its catalogs) writes a new pack rather than loose files.
  static constexpr int MostLoose = 64;
  static constexpr int LooseShare = 8;
  // Building every index: list files per batch, and threads at most.
  static constexpr std::size_t BuildBatch = 64;
  static constexpr unsigned MostBuilders = 4;

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
  NativePath packPath() const { return folder_ / PackName; }

  // ---- a search ----
  // Before a search: the pack opened and the catalogs marked that may hold a
  // hit of the request.
  void beginSearch(const SearchRequest& request);
  // The pack's entry of a catalog of the search list in the state the
  // listing saw (size and time); nullptr when it has none. noHit: by the
  // pack, no row of the catalog can hold a hit.
  const IndexPack::Entry* known(const SearchListEntry& entry, bool& noHit) const;
  // The fresh index of a list file whose bytes a search holds (file is a
  // ListFileBytes over them), built when needed. nullptr when the list file
  // changed while it was read. Valid until the next call.
  const TrigramIndex* forSearch(const SearchListEntry& entry, ListFileBytes& file, std::string_view bytes);
  // After a search: the indexes it built stored, in a new pack when there are many.
  void endSearch();

  // ---- upkeep ----
  // Builds the loose index of one list file when it has no fresh one
  // (always with rebuild); waits for the write lock as a search does.
  State update(std::string_view listFileName, bool rebuild);
  // How the stored index of a list file stands, every byte checked.
  State check(std::string_view listFileName);
  struct Tally {
    int catalogs = 0;  // list files of the current layout
    int built = 0;
    int fresh = 0;
  };
  // Writes a new pack of every list file of the folder: fresh indexes are
  // taken over, the others built (all of them with rebuild); loose indexes
  // are removed. The error of a failed write (nothing changed then).
  IoError updateAll(bool rebuild, Tally& tally);
  // Removes a list file's loose index (a catalog deleted); its entry in the
  // pack no longer fits any file and is left out of the next pack.
  void forget(std::string_view listFileName);
  // Takes a list file's loose index along when the file is renamed (its
  // stamp still tells whether it fits the file).
  void renamed(std::string_view oldName, std::string_view newName);

  const IoError& lastError() const { return error_; }

private:
  struct Built {
    std::string name;
    TrigramIndex::Stamp stamp;
    Text title;
    std::string index;
  };

  std::optional<TrigramIndex::Stamp> stampOf(std::string_view listFileName, std::string_view bytes);
  bool store(std::string_view listFileName, std::string_view index, std::chrono::milliseconds wait);
  // Opens the stored pack once (again after it was written); checked: every
  // byte of its folder index checked as well.
  void openPack(bool checked = false);
  // Writes a new pack (see updateAll); built: indexes in hand. The caller holds the lock.
  IoError writePack(std::vector<Built>& built, bool rebuild, bool buildMissing, Tally& tally);

  FileSystem& files_;
  NativePath programFolder_;
  NativePath catalogFolder_;
  NativePath folder_;
  FileView held_;  // the bytes of the loose index last opened (mapped)
  TrigramIndex index_;
  IoError error_;

  FileView packView_;
  IndexPack pack_;
  bool packTried_ = false;
  TrigramIndex::Stamp packStamp_;  // of the pack file as it was opened
  bool packThere_ = false;   // a pack file exists (open or damaged)
  bool packOpen_ = false;
  bool packChecked_ = false;
  bool packPrunes_ = false;  // the request had trigrams: packHits_ tells
  std::vector<char> packHits_;

  std::vector<Built> built_;  // built during this search, not yet stored
  int loose_ = 0;             // loose indexes this search used
  bool storeRefused_ = false; // a search could not store an index: it stores no more
};

}  // namespace zevro
