#include "search/CatalogScan.h"

#include <cerrno>

#include "core/ListFile.h"
#include "search/CatalogMatcher.h"
#include "search/ListFileBytes.h"
#include "search/SearchIndexes.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

bool isCurrentTag(std::string_view bytes) { return bytes.substr(0, 2) == listfile::CurrentTag; }

}  // namespace

bool CatalogScan::termLongEnough(TextView term) { return cp932::byteLength(term) >= MinimumTermBytes; }

CatalogScan::CatalogScan(FileSystem& files, NativePath catalogFolder, Hooks hooks)
    : files_(files), folder_(std::move(catalogFolder)), hooks_(std::move(hooks)) {}

bool CatalogScan::pump() { return !hooks_.pump || hooks_.pump(); }

CatalogScan::Read CatalogScan::readCatalog(const SearchListEntry& entry, FileView& view, std::string& error,
                                           bool fewRows) {
  // A file larger than any list file is refused by its size, never mapped
  // (by the listed size, or else by the size found on opening it).
  const NativePath path = folder_ / entry.nativeName;
  IoError e = entry.size > listfile::MaxFileSize ? IoError{EFBIG, {}}
              : fewRows ? files_.viewFileLazily(path, view, listfile::MaxFileSize)
                        : files_.viewFile(path, view, listfile::MaxFileSize);
  if (e.code == EFBIG) {
    view.release();
    e = IoError{EFBIG, "larger than any list file"};
  }
  if (!e) return Read::Ok;
  if (e.code == ENOENT) return Read::Vanished;
  error = e.text;
  return Read::Failed;
}

CatalogScan::Outcome CatalogScan::run(const SearchRequest& request, unsigned mediaFilter, const GenreFilter& genres,
                                      SearchResults& results) {
  Outcome outcome;
  results.start(buildSearchList(files_, folder_, mediaFilter));
  CatalogMatcher matcher(request);
  const CatalogMatcher::Pump pumpInCatalog = [&] {
    if (pump()) return true;
    outcome.cancelled = true;
    return false;
  };
  bool conversionAsked = false;
  std::vector<int> candidates;
  if (indexes_) indexes_->beginSearch(request);
  FileView view;  // each catalog mapped in turn (or read into one buffer that grows to the largest file)
  for (std::size_t i = 0; i < results.catalogs().size(); ++i) {
    SearchListEntry& entry = results.catalogs()[i];
    if (!genres.admits(entry.fileName)) continue;
    // A catalog the indexes know to hold no hit is not read at all.
    bool noHit = false;
    const IndexPack::Entry* known = indexes_ ? indexes_->known(entry, noHit) : nullptr;
    if (known && noHit) {
      entry.title = known->title;
      if (hooks_.progress) hooks_.progress(entry.title);
      if (!pumpInCatalog()) break;
      ++outcome.catalogsSearched;
      ++outcome.catalogsByIndex;
      ++outcome.catalogsUnread;
      continue;
    }
    std::string error;
    // A catalog whose index is at hand is likely read only in a few rows.
    Read read = readCatalog(entry, view, error, known != nullptr);
    // Old data is converted once per scan, whatever its files hold afterwards.
    if (read == Read::Ok && !isCurrentTag(view.bytes()) && hooks_.convertOldFiles && !conversionAsked) {
      conversionAsked = true;
      view.release();
      outcome.converted = hooks_.convertOldFiles();
      read = readCatalog(entry, view, error);
    }
    if (read == Read::Vanished) continue;
    if (read == Read::Failed) {
      outcome.skipped.push_back({entry.fileName, SkipReason::Unreadable, error});
      continue;
    }
    ListFileBytes file(view.bytes());
    if (file.layout() != ListFileBytes::Layout::Current) {
      const SkipReason reason =
          file.layout() == ListFileBytes::Layout::Old ? SkipReason::OldLayout : SkipReason::Damaged;
      outcome.skipped.push_back({entry.fileName, reason, {}});
      continue;
    }
    entry.title = file.title();
    if (hooks_.progress) hooks_.progress(entry.title);
    if (!pumpInCatalog()) break;
    ++outcome.catalogsSearched;
    const int catalog = static_cast<int>(i);
    const CatalogMatcher::Found found = [&](ResultFields&& fields) {
      if (!results.append(catalog, fields)) {
        outcome.gridFull = true;
        return false;
      }
      return results.rowCount() % RowsBetweenPumps != 0 || pumpInCatalog();
    };
    const TrigramIndex* index = indexes_ ? indexes_->forSearch(entry, file, view.bytes()) : nullptr;
    // Where most rows are candidates, reading the catalog whole is faster.
    if (index && index->candidates(request, candidates) &&
        candidates.size() < static_cast<std::size_t>(index->rowCount()) / MostCandidates) {
      ++outcome.catalogsByIndex;
      if (!matcher.searchRows(file, entry.title, candidates, found)) break;
    } else if (!matcher.search(file, entry.title, found, pumpInCatalog)) {
      break;
    }
  }
  if (indexes_) indexes_->endSearch();
  return outcome;
}

}  // namespace zevro
