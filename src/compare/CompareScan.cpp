#include "compare/CompareScan.h"

#include <algorithm>
#include <cerrno>

#include "core/ListFile.h"
#include "media/ReadingSplit.h"
#include "search/ListFileBytes.h"

namespace zevro {

CompareScan::CompareScan(FileSystem& files, NativePath catalogFolder, CatalogScan::Hooks hooks)
    : files_(files), folder_(std::move(catalogFolder)), hooks_(std::move(hooks)) {}

void CompareScan::start(unsigned mediaFilter) { startWith(buildSearchList(files_, folder_, mediaFilter)); }

void CompareScan::startWith(std::vector<SearchListEntry> catalogs) {
  catalogs_ = std::move(catalogs);
  media_.assign(catalogs_.size(), -1);
  seen_.assign(catalogs_.size(), Seen{});
  skipped_.clear();
  read_ = 0;
  cancelled_ = false;
}

bool CompareScan::pump() {
  if (cancelled_) return false;
  if (hooks_.pump && !hooks_.pump()) cancelled_ = true;
  return !cancelled_;
}

int CompareScan::mediumOf(int catalog) const {
  if (catalog < 0 || catalog >= static_cast<int>(media_.size())) return -1;
  return media_[static_cast<std::size_t>(catalog)];
}

int CompareScan::mediumOfBytes(std::string_view bytes, TextView fileName) {
  Text name = ReadingSplit::markOf(bytes.substr(0, listfile::TitleBytes));
  if (name.empty()) name = ReadingSplit::markOfName(fileName);
  const auto found = std::find(mediumNames_.begin(), mediumNames_.end(), name);
  if (found != mediumNames_.end()) return static_cast<int>(found - mediumNames_.begin());
  mediumNames_.push_back(std::move(name));
  return static_cast<int>(mediumNames_.size()) - 1;
}

CompareScan::Read CompareScan::readCatalog(const SearchListEntry& entry, FileView& view, std::string& error) {
  // A file larger than any list file is refused by its size, never mapped.
  IoError e = files_.viewFile(folder_ / entry.nativeName, view, listfile::MaxFileSize);
  if (!e) return Read::Ok;
  if (e.code == ENOENT) return Read::Vanished;
  error = e.code == EFBIG ? std::string("larger than any list file") : e.text;
  return Read::Failed;
}

CompareScan::Seen CompareScan::seenOf(const std::optional<DirEntry>& now, std::string_view bytes) {
  Seen seen;
  if (!now || now->size != bytes.size()) return seen;
  seen.known = true;
  seen.size = now->size;
  seen.modified = now->modified;
  seen.header = std::string(bytes.substr(0, listfile::HeaderSize));
  return seen;
}

bool CompareScan::reread(int catalog, FileView& view, bool& unchanged) {
  unchanged = false;
  if (catalog < 0 || catalog >= static_cast<int>(catalogs_.size())) return false;
  const SearchListEntry& entry = catalogs_[static_cast<std::size_t>(catalog)];
  std::string error;
  if (readCatalog(entry, view, error) != Read::Ok) return false;
  if (ListFileBytes(view.bytes()).layout() != ListFileBytes::Layout::Current) return false;
  // Looked at after the mapping: a file replaced since shows another time.
  const Seen& before = seen_[static_cast<std::size_t>(catalog)];
  unchanged = before.known && seenOf(files_.stat(folder_ / entry.nativeName), view.bytes()) == before;
  return true;
}

bool CompareScan::each(const GenreFilter& genres, const std::function<bool(const Catalog&)>& f) {
  bool conversionAsked = false;
  FileView view;
  for (std::size_t i = 0; i < catalogs_.size(); ++i) {
    SearchListEntry& entry = catalogs_[i];
    if (!genres.admits(entry.fileName)) continue;
    std::string error;
    std::optional<DirEntry> before = files_.stat(folder_ / entry.nativeName);
    Read read = readCatalog(entry, view, error);
    // Old data is converted once, whatever its files hold afterwards.
    if (read == Read::Ok && view.bytes().substr(0, 2) != listfile::CurrentTag && hooks_.convertOldFiles &&
        !conversionAsked) {
      conversionAsked = true;
      view.release();
      hooks_.convertOldFiles();
      before = files_.stat(folder_ / entry.nativeName);
      read = readCatalog(entry, view, error);
    }
    if (read == Read::Ok) seen_[i] = seenOf(before, view.bytes());
    if (read == Read::Vanished) continue;
    if (read == Read::Failed) {
      skipped_.push_back({entry.fileName, CatalogScan::SkipReason::Unreadable, error});
      continue;
    }
    ListFileBytes file(view.bytes());
    if (file.layout() != ListFileBytes::Layout::Current) {
      const auto reason = file.layout() == ListFileBytes::Layout::Old ? CatalogScan::SkipReason::OldLayout
                                                                      : CatalogScan::SkipReason::Damaged;
      skipped_.push_back({entry.fileName, reason, {}});
      continue;
    }
    entry.title = file.title();
    if (hooks_.progress) hooks_.progress(entry.title);
    if (!pump()) return false;
    media_[i] = mediumOfBytes(view.bytes(), entry.fileName);
    ++read_;
    if (!f(Catalog{static_cast<int>(i), &entry, view.bytes(), media_[i]})) return false;
    if (cancelled_) return false;
  }
  view.release();
  return true;
}

}  // namespace zevro
