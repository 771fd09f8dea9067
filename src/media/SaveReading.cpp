#include "media/SaveReading.h"

#include "text/Cp932.h"
#include "core/FileOps.h"

namespace zevro {

namespace {

// The replaced catalog carries the name the new list gets (any case).
bool replacedInPlace(const MediaReading::Result& result) {
  return result.replaced &&
         CatalogIndex::indexName(result.replaced->path) == CatalogIndex::indexName(result.catalogPath);
}

}  // namespace

SavedReading SaveReading(Platform& platform, const MediaReading::Result& result, CatalogDocument& document,
                         CatalogIndex& index, const IconTable& icons, const NativePath& backupFolder) {
  SavedReading saved;
  if (!result.ok()) return saved;
  if (replacedInPlace(result)) {
    fileops::createFolderChain(platform.files, backupFolder);
    const NativePath copy = backupFolder / cp932::toNativeName(result.replaced->fileName);
    if (!fileops::copyFile(platform, result.replaced->path, copy)) return saved;
  }
  document.setCurrentFile(result.catalogPath);
  document.setFreeSpace(result.freeSpace);
  document.setIconStamp(icons.stamp() == IconTable::NoStamp ? Text() : icons.stamp());
  document.setModified(true);
  if (!document.save()) return saved;
  saved.saved = true;
  saved.fileName = document.currentFileName();
  index.titleOf(saved.fileName);
  saved.retired = MediaReading::retireReplaced(platform, result, index, backupFolder);
  saved.indexError = index.writeIfChanged();
  return saved;
}

}  // namespace zevro
