#pragma once
// One run of the search across catalogs: the search list from the media
// filter, each catalog of the genre filter read straight from its list file
// (never from the catalog a window shows), its hit rows appended to the
// result grid with the catalog's group colour, and the result-to-catalog
// table filled.
//
//   CatalogScan scan(files, u"/home/kaori/.local/share/zevro/Catalog", hooks);
//   SearchRequest request(u"readme", switches);
//   CatalogScan::Outcome o = scan.run(request, media::All, GenreFilter{}, results);
//   o.cancelled  -> true when pump() said stop (the rows found so far stay)
//   o.skipped    -> {{u"_00CD_OLD.cct", SkipReason::OldLayout, ""}} and the like
//
// The window system runs through hooks.pump (false asks the scan to stop):
// after each catalog's progress line, after every 8th result row, and every
// so many candidate positions inside a long catalog. The caller throttles it.
//
// A list file of the older layout ("AX") needs converting before it can be
// searched; the conversion is the caller's hook and runs in a store of its
// own. It is asked for at most once per scan; a file that still does not
// read as the current layout afterwards is skipped and noted, and so is a
// damaged or unreadable file. A file that vanished since the list was made
// is skipped silently.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "search/SearchList.h"
#include "search/SearchRequest.h"
#include "search/SearchResults.h"
#include "text/Text.h"

namespace zevro {

class SearchIndexes;

class CatalogScan {
public:
  // The shortest first term, in CP932 bytes: "ab" or "ａ", never "a".
  static constexpr std::size_t MinimumTermBytes = 2;
  // The window system gets a chance after this many result rows.
  static constexpr int RowsBetweenPumps = 8;
  // An indexed catalog is read whole when more than 1 / MostCandidates of its rows are candidates.
  static constexpr std::size_t MostCandidates = 4;

  struct Hooks {
    // Lets the window system run; false when the user asked the search to stop.
    std::function<bool()> pump;
    // The catalog about to be searched, by its title (the window prints
    // "検索中： " + title).
    std::function<void(TextView title)> progress;
    // Converts every old-layout list file of the catalog folder without
    // touching a shown catalog; false when it could not run. Empty: old
    // files are skipped.
    std::function<bool()> convertOldFiles;
  };

  enum class SkipReason {
    OldLayout,   // "AX" and not converted
    Damaged,     // not a list file of either layout
    Unreadable,  // the system refused the read
  };
  struct Skipped {
    Text fileName;  // u"_00CD_OLD.cct"
    SkipReason reason;
    std::string error;  // Unreadable: the system's text, like "Permission denied"
  };
  struct Outcome {
    bool cancelled = false;  // pump() said stop
    bool gridFull = false;   // the result grid refused a row
    bool converted = false;  // the conversion hook ran
    int catalogsSearched = 0;
    int catalogsByIndex = 0;  // of those, searched only in the rows their indexes named
    int catalogsUnread = 0;   // of those, passed by unread: the indexes showed no row could hold a hit
    std::vector<Skipped> skipped;
  };

  // Whether a first term is long enough to start a search.
  static bool termLongEnough(TextView term);

  CatalogScan(FileSystem& files, NativePath catalogFolder, Hooks hooks = {});

  // Searches through these indexes from now on (nullptr: read every catalog
  // whole). A catalog is then checked only in the rows its index names; a
  // request that gives the index nothing to go by reads it whole.
  void useIndexes(SearchIndexes* indexes) { indexes_ = indexes; }

  // Searches every catalog of the filters; results is started afresh.
  Outcome run(const SearchRequest& request, unsigned mediaFilter, const GenreFilter& genres, SearchResults& results);

private:
  enum class Read { Ok, Vanished, Failed };
  // fewRows: only a few of its pages are likely wanted (mapped lazily).
  Read readCatalog(const SearchListEntry& entry, FileView& view, std::string& error, bool fewRows = false);
  bool pump();

  FileSystem& files_;
  NativePath folder_;
  Hooks hooks_;
  SearchIndexes* indexes_ = nullptr;
};

}  // namespace zevro
