#pragma once
// The catalogs a comparison reads, one after the other: the search list of
// the media filter (as the search window builds it), each catalog of the
// genre filter mapped in turn, its title and medium found, the window system
// given its chance between catalogs.
//
//   CompareScan scan(files, catalogFolder, hooks);
//   scan.start(media::All);
//   scan.each(genres, [&](const CompareScan::Catalog& c) { … c.bytes …; return true; });
//   scan.catalogs()   -> the search list, titles filled in for the catalogs read
//   scan.mediumOf(2)  -> 0: catalogs of one medium share a number
//
// A medium is told by the mark of its title line (the parts of one reading
// recorded as several catalogs carry the name of the root part) or else by
// the list file name without its genre: "_03CD_GAMES.cct" and
// "_11cd_games.cct" are one medium, "_03CD_GAMES 2.cct" another.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/FileView.h"
#include "search/CatalogScan.h"
#include "search/SearchList.h"
#include "text/Text.h"

namespace zevro {

class CompareScan {
public:
  struct Catalog {
    int index = 0;  // in catalogs()
    const SearchListEntry* entry = nullptr;
    std::string_view bytes;  // the whole list file, valid during the call
    int medium = 0;
  };

  CompareScan(FileSystem& files, NativePath catalogFolder, CatalogScan::Hooks hooks = {});

  // Builds the search list of the media filter.
  void start(unsigned mediaFilter);
  // Sets the list to read instead (tests, a single file).
  void startWith(std::vector<SearchListEntry> catalogs);

  // Calls f(const Catalog&) for each catalog the genre filter admits and
  // that reads as a current list file; f returns false to stop. The window
  // system runs before each catalog (the progress hook gets its title).
  // False when the user asked to stop (or f did).
  bool each(const GenreFilter& genres, const std::function<bool(const Catalog&)>& f);

  // Maps one catalog of the list again (a second look at some of its rows);
  // false when it no longer reads as a list file. `unchanged` tells whether
  // it is still the file each() gave (same size, time and header).
  bool reread(int catalog, FileView& view, bool& unchanged);

  std::vector<SearchListEntry>& catalogs() { return catalogs_; }
  const std::vector<SearchListEntry>& catalogs() const { return catalogs_; }
  // The medium number of a catalog that was read; -1 for one not read.
  int mediumOf(int catalog) const;
  // The medium number of a list file's bytes and name, as above (new
  // numbers are handed out as media are met).
  int mediumOfBytes(std::string_view bytes, TextView fileName);

  const std::vector<CatalogScan::Skipped>& skipped() const { return skipped_; }
  int catalogsRead() const { return read_; }
  bool cancelled() const { return cancelled_; }
  // Lets the window system run (between long steps of the caller); false
  // when the user asked to stop.
  bool pump();

private:
  enum class Read { Ok, Vanished, Failed };
  // What tells a file from the one it was replaced by.
  struct Seen {
    bool known = false;
    std::uint64_t size = 0;
    FileTime modified = 0;
    std::string header;
    bool operator==(const Seen&) const = default;
  };
  Read readCatalog(const SearchListEntry& entry, FileView& view, std::string& error);
  // `now`: the file's entry, looked at before the bytes were mapped (in the
  // first look) or after (in the second), so that a file replaced between
  // the two looks never passes for the one first read.
  static Seen seenOf(const std::optional<DirEntry>& now, std::string_view bytes);

  FileSystem& files_;
  NativePath folder_;
  CatalogScan::Hooks hooks_;
  std::vector<SearchListEntry> catalogs_;
  std::vector<int> media_;
  std::vector<Seen> seen_;
  std::vector<Text> mediumNames_;
  std::vector<CatalogScan::Skipped> skipped_;
  int read_ = 0;
  bool cancelled_ = false;
};

}  // namespace zevro
