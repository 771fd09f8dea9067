#include "media/ReadingStore.h"

#include <utility>

#include "core/FileOps.h"
#include "text/Cp932.h"

namespace zevro {

ReadingStore::ReadingStore(Platform& platform, CatalogIndex& index, NativePath backupFolder)
    : platform_(platform), index_(index), backupFolder_(std::move(backupFolder)) {}

bool ReadingStore::replacedInPlace(const MediaReading::Result& result) {
  return result.replaced &&
         CatalogIndex::indexName(result.replaced->path) == CatalogIndex::indexName(result.catalogPath);
}

bool ReadingStore::prepare(const MediaReading::Result& result) {
  if (!replacedInPlace(result)) return true;
  fileops::createFolderChain(platform_.files, backupFolder_);
  return fileops::copyFile(platform_, result.replaced->path,
                           backupFolder_ / cp932::toNativeName(result.replaced->fileName));
}

ReadingStore::Finished ReadingStore::finish(const MediaReading::Result& result, TextView fileName) {
  Finished finished;
  if (!result.ok()) return finished;
  index_.titleOf(fileName);
  if (result.replaced && !replacedInPlace(result)) {
    const NativePath& old = result.replaced->path;
    fileops::createFolderChain(platform_.files, backupFolder_);
    if (fileops::moveFileToFolder(platform_, old, backupFolder_))
      index_.removeEntry(CatalogIndex::indexName(old));
    else
      finished.retired = false;
  }
  finished.indexError = index_.writeIfChanged();
  return finished;
}

SavedReading ReadingStore::store(const MediaReading::Result& result, CatalogDocument& document,
                                 const IconTable& icons) {
  SavedReading saved;
  if (!result.ok() || !prepare(result)) return saved;
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
