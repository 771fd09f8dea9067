#include "search/SearchIndexes.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <atomic>
#include <deque>
#include <memory>
#include <thread>

#include "core/ListFile.h"
#include "platform/WriteLock.h"

namespace zevro {

namespace {

// Catalog folders share the cache folder: each has its own subfolder, named
// by a hash of its path.
std::string keyOf(const NativePath& folder) {
  std::uint64_t h = 1469598103934665603ull;
  for (unsigned char b : folder.lexically_normal().string()) {
    h ^= b;
    h *= 1099511628211ull;
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
  return text;
}

bool endsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

bool sameListing(const TrigramIndex::Stamp& stamp, const SearchListEntry& entry) {
  return stamp.size == entry.size && stamp.modified == entry.modified;
}

}  // namespace

SearchIndexes::SearchIndexes(FileSystem& files, NativePath programFolder, NativePath catalogFolder)
    : files_(files),
      programFolder_(std::move(programFolder)),
      catalogFolder_(std::move(catalogFolder)),
      folder_(programFolder_ / FolderName / keyOf(catalogFolder_)) {}

NativePath SearchIndexes::pathOf(std::string_view listFileName) const {
  return folder_ / (std::string(listFileName) + Extension);
}

std::optional<TrigramIndex::Stamp> SearchIndexes::stampOf(std::string_view listFileName, std::string_view bytes) {
  const std::optional<DirEntry> entry = files_.stat(catalogFolder_ / std::string(listFileName));
  if (!entry || entry->size != bytes.size()) return std::nullopt;
  return TrigramIndex::Stamp{entry->size, entry->modified, TrigramIndex::headerHashOf(bytes)};
}

bool SearchIndexes::store(std::string_view listFileName, std::string_view index, std::chrono::milliseconds wait) {
  WriteLock lock(programFolder_, wait);
  if (!lock) {
    error_ = lock.error();
    return false;
  }
  error_ = files_.createFolders(folder_);
  if (!error_) error_ = files_.writeFileAtomic(pathOf(listFileName), index);
  return !error_;
}

void SearchIndexes::openPack(bool checked) {
  // Opened again when another writer (or a user) changed it meanwhile.
  const std::optional<DirEntry> now = files_.stat(packPath());
  const TrigramIndex::Stamp stamp{now ? now->size : 0, now ? now->modified : 0, now ? 1u : 0u};
  if (packTried_ && stamp == packStamp_ && (packChecked_ || !checked)) return;
  packTried_ = true;
  packStamp_ = stamp;
  packChecked_ = checked;
  // Mapped, not read: a search touches only the pages it looks up.
  packThere_ = !files_.viewFileLazily(packPath(), packView_);
  packOpen_ = packThere_ && (checked ? pack_.openChecked(packView_.bytes()) : pack_.open(packView_.bytes()));
}

// ---- a search ----

void SearchIndexes::beginSearch(const SearchRequest& request) {
  built_.clear();
  loose_ = 0;
  openPack();
  packPrunes_ = packOpen_ && pack_.candidates(request, packHits_);
}

const IndexPack::Entry* SearchIndexes::known(const SearchListEntry& entry, bool& noHit) const {
  noHit = false;
  if (!packOpen_) return nullptr;
  const IndexPack::Entry* e = pack_.find(entry.nativeName);
  if (!e || !sameListing(e->stamp, entry)) return nullptr;
  noHit = packPrunes_ && !packHits_[static_cast<std::size_t>(pack_.numberOf(*e))];
  return e;
}

const TrigramIndex* SearchIndexes::forSearch(const SearchListEntry& entry, ListFileBytes& file,
                                             std::string_view bytes) {
  const std::optional<TrigramIndex::Stamp> stamp = stampOf(entry.nativeName, bytes);
  if (!stamp) return nullptr;
  if (packOpen_) {
    const IndexPack::Entry* e = pack_.find(entry.nativeName);
    if (e && e->stamp == *stamp && index_.open(e->index, *stamp) == TrigramIndex::Status::Fresh) return &index_;
  }
  if (!files_.viewFileLazily(pathOf(entry.nativeName), held_) &&
      index_.open(held_.bytes(), *stamp) == TrigramIndex::Status::Fresh) {
    ++loose_;
    return &index_;
  }
  held_.release();
  built_.push_back({entry.nativeName, *stamp, file.title(), TrigramIndex::build(file, *stamp)});
  return index_.open(built_.back().index, *stamp) == TrigramIndex::Status::Fresh ? &index_ : nullptr;
}

void SearchIndexes::endSearch() {
  const int loose = static_cast<int>(built_.size()) + loose_;
  if (built_.empty() && loose < MostLoose) return;
  const int packed = packOpen_ ? static_cast<int>(pack_.entries().size()) : 0;
  std::vector<Built> built = std::move(built_);
  built_.clear();
  if (storeRefused_) return;
  // A search waits for the lock once: when another writer holds it, what it
  // built stays in memory and the next search builds it again.
  WriteLock lock(programFolder_, SearchWait);
  if (!lock) {
    storeRefused_ = true;
    return;
  }
  if (loose >= MostLoose || loose * LooseShare >= packed + loose) {
    Tally ignored;
    storeRefused_ = static_cast<bool>(writePack(built, false, false, ignored));
    return;
  }
  for (const Built& b : built) {
    if (!store(b.name, b.index, SearchWait)) {
      storeRefused_ = true;
      return;
    }
  }
}

// ---- upkeep ----

IoError SearchIndexes::writePack(std::vector<Built>& built, bool rebuild, bool buildMissing, Tally& tally) {
  packTried_ = false;
  openPack();
  std::vector<IndexPack::Entry> entries;
  std::deque<std::string> kept;  // bytes of indexes read or built here
  std::sort(built.begin(), built.end(), [](const Built& a, const Built& b) { return a.name < b.name; });
  FileView looseView;
  TrigramIndex loose;
  // The list files to be indexed are built a batch at a time, on as many
  // threads as the machine has cores (up to MostBuilders).
  struct BuildJob {
    std::string name;
    TrigramIndex::Stamp stamp;
    Text title;
    FileView view;
    std::string index;
  };
  std::vector<std::unique_ptr<BuildJob>> jobs;
  const auto runJobs = [&] {
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
      for (std::size_t j; (j = next++) < jobs.size();) {
        ListFileBytes bytes(jobs[j]->view.bytes());
        jobs[j]->index = TrigramIndex::build(bytes, jobs[j]->stamp);
      }
    };
    const unsigned cores = std::max(1u, std::min(std::thread::hardware_concurrency(), MostBuilders));
    std::vector<std::thread> helpers;
    for (unsigned t = 1; t < cores && t < jobs.size(); ++t) helpers.emplace_back(work);
    work();
    for (std::thread& t : helpers) t.join();
    for (const std::unique_ptr<BuildJob>& job : jobs) {
      kept.push_back(std::move(job->index));
      entries.push_back({job->name, job->stamp, job->title, kept.back()});
    }
    jobs.clear();
  };
  for (const SearchListEntry& e : buildSearchList(files_, catalogFolder_, media::All)) {
    const auto b = std::lower_bound(built.begin(), built.end(), e.nativeName,
                                    [](const Built& x, const std::string& n) { return x.name < n; });
    if (b != built.end() && b->name == e.nativeName && sameListing(b->stamp, e)) {
      ++tally.catalogs;
      ++tally.built;
      entries.push_back({b->name, b->stamp, b->title, b->index});
      continue;
    }
    if (!rebuild && packOpen_) {
      const IndexPack::Entry* p = pack_.find(e.nativeName);
      if (p && sameListing(p->stamp, e)) {
        ++tally.catalogs;
        ++tally.fresh;
        entries.push_back(*p);
        continue;
      }
    }
    // The list file itself is needed: for its header hash, title and rows.
    if (e.size > listfile::MaxFileSize) continue;
    auto job = std::make_unique<BuildJob>();
    if (files_.viewFile(catalogFolder_ / e.nativeName, job->view)) continue;
    ListFileBytes file(job->view.bytes());
    if (file.layout() != ListFileBytes::Layout::Current) continue;
    const std::optional<TrigramIndex::Stamp> stamp = stampOf(e.nativeName, job->view.bytes());
    if (!stamp) continue;
    ++tally.catalogs;
    if (!rebuild && !files_.viewFileLazily(pathOf(e.nativeName), looseView) &&
        loose.openChecked(looseView.bytes(), *stamp) == TrigramIndex::Status::Fresh) {
      ++tally.fresh;
      kept.emplace_back(looseView.bytes());
      entries.push_back({e.nativeName, *stamp, file.title(), kept.back()});
      continue;
    }
    if (!buildMissing) continue;
    ++tally.built;
    job->name = e.nativeName;
    job->stamp = *stamp;
    job->title = file.title();
    jobs.push_back(std::move(job));
    if (jobs.size() == BuildBatch) runJobs();
  }
  runJobs();
  std::sort(entries.begin(), entries.end(),
            [](const IndexPack::Entry& a, const IndexPack::Entry& b) { return a.name < b.name; });
  entries.erase(std::unique(entries.begin(), entries.end(),
                            [](const IndexPack::Entry& a, const IndexPack::Entry& b) { return a.name == b.name; }),
                entries.end());
  std::string bytes;
  if (!IndexPack::build(entries, bytes)) return IoError{EIO, "an index to be packed is damaged"};
  if (IoError e = files_.createFolders(folder_)) return e;
  if (IoError e = files_.writeFileAtomic(packPath(), bytes)) return e;
  // Every loose index is in the pack now, or fits no list file any more.
  for (const DirEntry& d : files_.list(folder_))
    if (!d.isFolder() && endsWith(d.name, Extension)) files_.removeFile(folder_ / d.name);
  packTried_ = false;
  return {};
}

IoError SearchIndexes::updateAll(bool rebuild, Tally& tally) {
  tally = {};
  WriteLock lock(programFolder_);
  if (!lock) return lock.error();
  std::vector<Built> none;
  return writePack(none, rebuild, true, tally);
}

SearchIndexes::State SearchIndexes::update(std::string_view listFileName, bool rebuild) {
  std::string bytes;
  if (files_.readFile(catalogFolder_ / std::string(listFileName), bytes, listfile::MaxFileSize))
    return State::NoCatalog;
  ListFileBytes file(bytes);
  const std::optional<TrigramIndex::Stamp> stamp = stampOf(listFileName, bytes);
  if (file.layout() != ListFileBytes::Layout::Current || !stamp) return State::NoCatalog;
  if (!rebuild && !files_.viewFileLazily(pathOf(listFileName), held_) &&
      index_.openChecked(held_.bytes(), *stamp) == TrigramIndex::Status::Fresh)
    return State::Fresh;
  if (!rebuild) {
    openPack();
    const IndexPack::Entry* e = packOpen_ ? pack_.find(listFileName) : nullptr;
    if (e && e->stamp == *stamp && index_.openChecked(e->index, *stamp) == TrigramIndex::Status::Fresh)
      return State::Fresh;
  }
  held_.hold(TrigramIndex::build(file, *stamp));
  // A cache is not worth holding up a save for: another writer busy for
  // long means the next search builds it.
  return store(listFileName, held_.bytes(), SearchWait) ? State::Built : State::NotStored;
}

SearchIndexes::State SearchIndexes::check(std::string_view listFileName) {
  std::string bytes;
  if (files_.readFile(catalogFolder_ / std::string(listFileName), bytes, listfile::MaxFileSize))
    return State::NoCatalog;
  ListFileBytes file(bytes);
  const std::optional<TrigramIndex::Stamp> stamp = stampOf(listFileName, bytes);
  if (file.layout() != ListFileBytes::Layout::Current || !stamp) return State::NoCatalog;
  const auto stateOf = [](TrigramIndex::Status status) {
    switch (status) {
      case TrigramIndex::Status::Fresh: return State::Fresh;
      case TrigramIndex::Status::Stale: return State::Stale;
      case TrigramIndex::Status::Damaged: break;
    }
    return State::Damaged;
  };
  std::optional<State> loose;
  if (!files_.viewFileLazily(pathOf(listFileName), held_)) {
    loose = stateOf(index_.openChecked(held_.bytes(), *stamp));
    if (*loose == State::Fresh) return State::Fresh;
  }
  openPack(true);
  State packed = State::Missing;
  if (packThere_ && !packOpen_) {
    packed = State::Damaged;
  } else if (packOpen_) {
    if (const IndexPack::Entry* e = pack_.find(listFileName)) {
      packed = e->stamp == *stamp ? stateOf(index_.openChecked(e->index, *stamp)) : State::Stale;
    }
  }
  if (packed == State::Fresh) return packed;
  return loose ? *loose : packed;
}

void SearchIndexes::renamed(std::string_view oldName, std::string_view newName) {
  WriteLock lock(programFolder_);
  if (lock) error_ = files_.renameFile(pathOf(oldName), pathOf(newName));
}

void SearchIndexes::forget(std::string_view listFileName) {
  WriteLock lock(programFolder_);
  if (lock) error_ = files_.removeFile(pathOf(listFileName));
}

}  // namespace zevro
