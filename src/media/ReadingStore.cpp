#include "media/ReadingStore.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <system_error>
#include <utility>

#include "core/FileOps.h"
#include "platform/WriteLock.h"
#include "text/Cp932.h"

namespace zevro {

ReadingStore::ReadingStore(Platform& platform, CatalogIndex& index, NativePath backupFolder, NativePath programFolder)
    : platform_(platform),
      index_(index),
      backupFolder_(std::move(backupFolder)),
      programFolder_(std::move(programFolder)) {}

bool ReadingStore::makeBackupFolder() {
  if (fileops::createFolderChain(platform_.files, backupFolder_)) return true;
  // The copy into a folder that is not there would only say "No such file
  // or directory"; the reason is why the folder could not be made.
  IoError error = platform_.files.createFolders(backupFolder_);
  if (!error) error = {ENOTDIR, std::generic_category().message(ENOTDIR)};
  platform_.ui.showMessage(fileops::copyFailedText(error, false, backupFolder_), mb::Ok | mb::IconExclamation, {});
  return false;
}

bool ReadingStore::decideAgain(MediaReading::Result& result, SavedReading& saved, const AskAgain& askAgain) {
  if (result.namePattern.empty() || result.baseFileName.empty()) return true;
  const NativePath folder = result.catalogPath.parent_path();
  IoError error;
  const std::vector<DirEntry> entries = platform_.files.list(folder, &error);
  if (error) return true;  // the write itself will say what is wrong
  std::vector<Text> names;
  for (const DirEntry& e : entries)
    if (!e.isFolder()) names.push_back(fileops::nameOf(e));
  const auto existing = std::find_if(names.begin(), names.end(), [&](const Text& n) {
    return fileops::matchesWildcard(result.namePattern, n);
  });

  std::optional<MediaReading::Existing> answer = result.answer;
  if (existing != names.end() && !answer) {
    answer = askAgain ? askAgain(*existing) : MediaReading::Existing::Cancel;
    if (*answer == MediaReading::Existing::Cancel) {
      saved.taken = *existing;
      return false;
    }
  }
  int sequence = 0;
  result.replaced.reset();
  if (answer == MediaReading::Existing::Replace && existing != names.end()) {
    MediaReading::ExistingCatalog replaced;
    replaced.fileName = *existing;
    replaced.path = folder / cp932::toNativeName(*existing);
    result.replaced = std::move(replaced);
  } else if (answer == MediaReading::Existing::AddAnother && existing != names.end()) {
    sequence = MediaReading::freeSequence(names, result.namePattern);
    if (sequence == 0) {
      saved.noFreeNumber = true;
      return false;
    }
  }
  result.fileName = sequence ? MediaReading::numberedName(result.baseFileName, sequence) : result.baseFileName;
  result.catalogPath = folder / cp932::toNativeName(result.fileName);
  return true;
}

bool ReadingStore::replacedInPlace(const MediaReading::Result& result) {
  return result.replaced &&
         CatalogIndex::indexName(result.replaced->path) == CatalogIndex::indexName(result.catalogPath);
}

bool ReadingStore::prepare(const MediaReading::Result& result) {
  // The list file about to be overwritten: the replaced catalog of the same
  // name, or one that another program stored under the name since the
  // reading (the desktop program stores a reading only when the user saves).
  const NativePath folder = result.catalogPath.parent_path();
  const std::optional<std::string> there =
      platform_.files.resolveName(folder, result.catalogPath.filename().native());
  if (!there) return true;
  if (!makeBackupFolder()) return false;
  return fileops::copyFile(platform_, folder / *there, backupFolder_ / *there);
}

ReadingStore::Finished ReadingStore::finish(const MediaReading::Result& result, TextView fileName) {
  Finished finished;
  if (!result.ok()) return finished;
  index_.titleOf(fileName);
  if (result.replaced && !replacedInPlace(result)) {
    const NativePath& old = result.replaced->path;
    if (makeBackupFolder() && fileops::moveFileToFolder(platform_, old, backupFolder_))
      index_.removeEntry(CatalogIndex::indexName(old));
    else
      finished.retired = false;
  }
  finished.indexError = index_.writeIfChanged();
  return finished;
}

SavedReading ReadingStore::store(const MediaReading::Result& reading, CatalogDocument& document,
                                 const IconTable& icons, const AskAgain& askAgain) {
  SavedReading saved;
  if (!reading.ok()) return saved;
  std::optional<WriteLock> lock;
  if (!programFolder_.empty() && !lock.emplace(programFolder_)) {
    saved.lockError = {lock->error().code, lock->message()};
    return saved;
  }
  // Temporary files of writes cut short beside the catalogs: nobody else
  // writes there while the lock is held.
  if (lock) removeStaleTemporaries(reading.catalogPath.parent_path());
  MediaReading::Result result = reading;
  if (!decideAgain(result, saved, askAgain) || !prepare(result)) return saved;
  document.setCurrentFile(result.catalogPath);
  document.setFreeSpace(result.freeSpace);
  document.setIconStamp(icons.stamp() == IconTable::NoStamp ? Text() : icons.stamp());
  document.setModified(true);
  if (!document.save()) return saved;
  saved.saved = true;
  saved.fileName = document.currentFileName();
  const Finished finished = finish(result, saved.fileName);
  saved.retired = finished.retired;
  saved.indexError = finished.indexError;
  return saved;
}

}  // namespace zevro
