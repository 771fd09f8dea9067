#pragma once
// The catalog index "CatList.CCZ" of the catalog folder: the title of every
// list file, so that the selection list can show thousands of catalogs
// without opening each file.
//
// In memory, entries in the order they were added:
//   {{u"_00cd_a.cct", u"Alpha"}, {u"_00cd_b.cct", u"Beta"}}
// On disk, one CP932 text: code 2, then name, code 8, title, code 2 for each
// entry, then code 0:
//   02 "_00cd_a.cct" 08 "Alpha" 02 "_00cd_b.cct" 08 "Beta" 02 00
// The empty index is exactly 02 00. Text after the first code 0 is ignored.
//
// Names are the list file's name part, ASCII-lower-cased, and are matched as
// whole names: "_03cd_a.cct" never finds the entry of "_00hd_x_03cd_a.cct".
// A title keeps every character (tabs inside, full-width blanks, escapes of
// characters CP932 lacks) except the three the file format reserves: code 0,
// code 2 and code 8 become a blank when an entry is made.
//
// Every write replaces the file atomically; a failed write leaves the old
// file and keeps the in-memory index marked as changed, so the next write
// tries again and nothing is lost. An index file that exists but cannot be
// read is never overwritten during the run.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/FileSystem.h"
#include "text/Text.h"

namespace zevro {

struct CatalogIndexEntry {
  Text name;   // like u"_03cd_games.cct"
  Text title;  // like u"ゲーム集" or u"無題(GAMES)"
  bool operator==(const CatalogIndexEntry&) const = default;
};

class CatalogIndex {
public:
  static constexpr const char* FileName = "CatList.CCZ";
  // Wraps the volume label when a catalog has no title: u"無題(" + label + u")".
  static constexpr TextView UntitledHead = u"無題(";
  static constexpr TextView UntitledTail = u")";

  // catalogFolder like "/home/kaori/.local/share/zevro/Catalog"; programFolder:
  // whose write lock (platform/WriteLock) every write holds; empty: none.
  CatalogIndex(FileSystem& files, NativePath catalogFolder, NativePath programFolder = {});

  // Reads CatList.CCZ (a missing or empty file gives the empty index), drops
  // the entries whose list file is no longer in the catalog folder (names
  // compared ignoring case, from one listing of the folder) and rewrites the
  // file when its text changed. Returns the error of a read or rewrite that
  // failed; the entries in memory are usable either way.
  IoError load();
  // The same for another catalog folder, which the index serves from then
  // on (the user chose a new catalog folder): its own file is read, nothing
  // of the old folder's entries goes with it.
  IoError loadFolder(NativePath catalogFolder);

  // The title of a list file, like u"ゲーム集", by its name (u"_03CD_GAMES.cct",
  // any case). Without an entry, the title is read from the file's title line
  // and appended as an entry (the index is then changed, see writeIfChanged).
  // Empty when the file has neither title nor label, or cannot be read; such
  // a file gets no entry.
  Text titleOf(TextView fileName);

  // Removes the entry of a list file by its name, any case (u"_03CD_GAMES.cct";
  // for a native path pass indexName(path)), and rewrites the file. Removing
  // a name without an entry writes nothing unless the index was already changed.
  IoError removeEntry(TextView fileName);

  // Writes the index under the program folder's write lock. Another program
  // may have changed the file since it was read: its entries are taken afresh
  // and the entries added and removed here since the last write are applied
  // to them, so that neither program's change is lost. A name listed twice
  // keeps its first entry. On success the index is no longer changed.
  IoError write();
  // Writes it when entries were added or removed since the last write (what a
  // listing pass does once it has seen every list file).
  IoError writeIfChanged();

  bool changed() const { return changed_; }
  const std::vector<CatalogIndexEntry>& entries() const { return entries_; }
  const NativePath& catalogFolder() const { return folder_; }

  // --- The file format and the title rules, without the disk -------------

  // The bytes of CatList.CCZ for these entries.
  static std::string encode(const std::vector<CatalogIndexEntry>& entries);
  // The entries of CatList.CCZ's bytes; a text not starting with code 2 and
  // pieces without a code 8 or a name give no entries.
  static std::vector<CatalogIndexEntry> decode(std::string_view bytes);

  // What an entry keeps as title: the catalog title trimmed; when that is
  // empty the label as u"無題(" + label + u")"; when both are empty, empty.
  //   (u"  Games\t", u"GAMES") -> u"Games",  (u"", u"ABC") -> u"無題(ABC)".
  static Text entryTitle(TextView title, TextView label);

  // The entry title of a list file from its first bytes: tag "AX" (21-byte
  // header, fields of the title record separated by code 2), any other tag
  // the current layout (64-byte header, fields introduced by codes 16 + k).
  static Text titleFromListFile(std::string_view bytes);

  // Code 0, 2 and 8 replaced by a blank: u"A\x08" u"B" -> u"A B".
  static Text storableTitle(TextView title);

  // The index name of a list file: its name part, ASCII-lower-cased:
  //   "/c/Catalog/_03CD_Games.CCT" -> u"_03cd_games.cct".
  static Text indexName(const NativePath& listFile);

private:
  NativePath indexPath() const;
  void rebuildLookup();
  void append(CatalogIndexEntry entry);
  // Drops the entries whose list file is missing; false when the folder could
  // not be listed (nothing is dropped then).
  bool prune();

  FileSystem& files_;
  NativePath folder_;
  std::vector<CatalogIndexEntry> entries_;
  std::unordered_map<Text, std::size_t> lookup_;  // name -> first entry
  bool changed_ = false;
  IoError unreadable_;  // set when an existing index file could not be read
  NativePath programFolder_;
  std::vector<CatalogIndexEntry> added_;  // since the last write
  std::vector<Text> removed_;             // names, since the last write
};

}  // namespace zevro
