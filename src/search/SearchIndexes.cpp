#include "search/SearchIndexes.h"

#include <cstdio>

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

const TrigramIndex* SearchIndexes::forSearch(std::string_view listFileName, ListFileBytes& file,
                                             std::string_view bytes) {
  const std::optional<TrigramIndex::Stamp> stamp = stampOf(listFileName, bytes);
  if (!stamp) return nullptr;
  // Mapped, not read: a search touches only the pages of the trigrams it looks up.
  if (!files_.viewFile(pathOf(listFileName), held_) &&
      index_.open(held_.bytes(), *stamp) == TrigramIndex::Status::Fresh)
    return &index_;
  held_.hold(TrigramIndex::build(file, *stamp));
  // A search waits for the lock once: when another writer holds it, the rest
  // of its indexes stay in memory too.
  if (!storeRefused_) storeRefused_ = !store(listFileName, held_.bytes(), SearchWait);
  return index_.open(held_.bytes(), *stamp) == TrigramIndex::Status::Fresh ? &index_ : nullptr;
}

SearchIndexes::State SearchIndexes::update(std::string_view listFileName, bool rebuild) {
  std::string bytes;
  if (files_.readFile(catalogFolder_ / std::string(listFileName), bytes, listfile::MaxFileSize))
    return State::NoCatalog;
  ListFileBytes file(bytes);
  const std::optional<TrigramIndex::Stamp> stamp = stampOf(listFileName, bytes);
  if (file.layout() != ListFileBytes::Layout::Current || !stamp) return State::NoCatalog;
  if (!rebuild && !files_.viewFile(pathOf(listFileName), held_) &&
      index_.openChecked(held_.bytes(), *stamp) == TrigramIndex::Status::Fresh)
    return State::Fresh;
  held_.hold(TrigramIndex::build(file, *stamp));
  return store(listFileName, held_.bytes(), WriteLock::DefaultWait) ? State::Built : State::NotStored;
}

SearchIndexes::State SearchIndexes::check(std::string_view listFileName) {
  std::string bytes;
  if (files_.readFile(catalogFolder_ / std::string(listFileName), bytes, listfile::MaxFileSize))
    return State::NoCatalog;
  ListFileBytes file(bytes);
  const std::optional<TrigramIndex::Stamp> stamp = stampOf(listFileName, bytes);
  if (file.layout() != ListFileBytes::Layout::Current || !stamp) return State::NoCatalog;
  if (files_.viewFile(pathOf(listFileName), held_)) return State::Missing;
  switch (index_.openChecked(held_.bytes(), *stamp)) {
    case TrigramIndex::Status::Fresh: return State::Fresh;
    case TrigramIndex::Status::Stale: return State::Stale;
    case TrigramIndex::Status::Damaged: break;
  }
  return State::Damaged;
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
