#include "media/ReadingStore.h"

#include <algorithm>
#include <cerrno>
#include <future>
#include <optional>
#include <string>
#include <system_error>
#include <utility>

#include "core/FileOps.h"
#include "core/ListFile.h"
#include "core/ListFileName.h"
#include "core/Strings.h"
#include "media/ReadingSplit.h"
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
  result.replacedParts.clear();
  if (answer == MediaReading::Existing::Replace && existing != names.end()) {
    MediaReading::ExistingCatalog replaced;
    replaced.fileName = *existing;
    replaced.path = folder / cp932::toNativeName(*existing);
    result.replaced = std::move(replaced);
    result.replacedParts = MediaReading::partsOf(platform_.files, folder, names, *existing);
  } else if (answer == MediaReading::Existing::AddAnother && existing != names.end()) {
    if (!result.parts.empty()) {
      saved.tooLargeForAnother = true;
      return false;
    }
    sequence = MediaReading::freeSequence(names, result.namePattern);
    if (sequence == 0) {
      saved.noFreeNumber = true;
      return false;
    }
  }
  result.fileName = sequence ? MediaReading::numberedName(result.baseFileName, sequence) : result.baseFileName;
  result.catalogPath = folder / cp932::toNativeName(result.fileName);
  if (!result.partNames.empty()) {
    result.partNames.front() = result.fileName;
    // A further part must not overwrite a catalog that is not being replaced.
    std::vector<Text> replacing;
    if (result.replaced) replacing.push_back(asciiUpper(result.replaced->fileName));
    for (const MediaReading::ExistingCatalog& p : result.replacedParts) replacing.push_back(asciiUpper(p.fileName));
    for (std::size_t i = 1; i < result.partNames.size(); ++i) {
      const Text wanted = asciiUpper(listfilename::normalizedForWriting(result.partNames[i]));
      const auto there = std::find_if(names.begin(), names.end(), [&](const Text& n) {
        return asciiUpper(n) == wanted && std::find(replacing.begin(), replacing.end(), wanted) == replacing.end();
      });
      if (there != names.end()) {
        saved.taken = *there;
        return false;
      }
    }
  }
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
  return finish(result, std::vector<Text>{Text(fileName)});
}

ReadingStore::Finished ReadingStore::finish(const MediaReading::Result& result, const std::vector<Text>& fileNames) {
  Finished finished;
  if (!result.ok()) return finished;
  std::vector<Text> written;
  for (const Text& name : fileNames) {
    index_.titleOf(name);
    written.push_back(CatalogIndex::indexName(result.catalogPath.parent_path() / cp932::toNativeName(name)));
  }
  std::vector<const MediaReading::ExistingCatalog*> old;
  if (result.replaced) old.push_back(&*result.replaced);
  for (const MediaReading::ExistingCatalog& p : result.replacedParts) old.push_back(&p);
  for (const MediaReading::ExistingCatalog* catalog : old) {
    const Text name = CatalogIndex::indexName(catalog->path);
    // A new catalog of the same name took its place (it went to Backup/ first).
    if (std::find(written.begin(), written.end(), name) != written.end()) continue;
    if (makeBackupFolder() && fileops::moveFileToFolder(platform_, catalog->path, backupFolder_))
      index_.removeEntry(name);
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
  if (!decideAgain(result, saved, askAgain)) return saved;
  if (!result.parts.empty()) {
    storeParts(result, document, icons, saved);
    return saved;
  }
  if (!prepare(result)) return saved;
  document.setCurrentFile(result.catalogPath);
  document.setFreeSpace(result.freeSpace);
  document.setIconStamp(icons.stamp() == IconTable::NoStamp ? Text() : icons.stamp());
  document.setModified(true);
  if (!document.save()) return saved;
  saved.saved = true;
  saved.fileName = document.currentFileName();
  saved.fileNames = {saved.fileName};
  const Finished finished = finish(result, saved.fileName);
  saved.retired = finished.retired;
  saved.indexError = finished.indexError;
  return saved;
}

void ReadingStore::storeParts(const MediaReading::Result& result, CatalogDocument& document, const IconTable& icons,
                              SavedReading& saved) {
  const NativePath folder = result.catalogPath.parent_path();
  listfile::Header header;
  header.iconStamp = icons.stamp() == IconTable::NoStamp ? Text() : icons.stamp();
  header.freeSpace = result.freeSpace;
  const Text mark = ReadingSplit::markOfName(listfilename::normalizedForWriting(result.fileName));

  // Every part goes to a hidden temporary beside the catalogs first (one an
  // interrupted run leaves behind is removed by the next writer); only when
  // all are there do they take their names.
  std::vector<Text> names;
  std::vector<NativePath> temporaries;
  const auto removeTemporaries = [&] {
    for (const NativePath& t : temporaries) platform_.files.removeFile(t);
  };
  const auto failed = [&](TextView why, TextView name) {
    removeTemporaries();
    platform_.ui.showMessage(Text(CatalogDocument::WriteFailedMessage) + u"||" + Text(why) + u"|" + Text(name),
                             mb::Ok | mb::IconExclamation, {});
  };
  // A part is written on a thread of its own while the next is built: the
  // file system is used by that thread alone until it is done.
  struct Writing {
    Text name;
    NativePath temporary;
    std::string bytes;
    std::future<IoError> done;
  };
  std::optional<Writing> writing;
  // The part being written, once written: false (and reported) when it failed.
  const auto written = [&]() -> bool {
    if (!writing) return true;
    const IoError error = writing->done.get();
    Writing w = std::move(*writing);
    writing.reset();
    if (error) {
      failed(fromUtf8(error.text), w.name);
      return false;
    }
    temporaries.push_back(w.temporary);
    names.push_back(w.name);
    return true;
  };
  for (std::size_t i = 0; i < result.parts.size(); ++i) {
    const Text name = listfilename::normalizedForWriting(result.partNames[i]);
    RowStore part;
    ReadingSplit::build(document.list(), result.parts[i], mark, part);
    std::optional<std::string> bytes = listfile::build(part, header);
    if (!written()) return;
    if (!bytes) {
      failed(CatalogDocument::TooManyRowsMessage, name);
      return;
    }
    const NativePath temporary =
        folder / ("." + cp932::toNativeName(name) + ".zevro-tmp-" + std::string(6 - std::to_string(i).size(), '0') +
                  std::to_string(i));
    writing.emplace(Writing{name, temporary, std::move(*bytes), {}});
    writing->done = std::async(std::launch::async, [this, w = &*writing] {
      return platform_.files.writeFileAtomic(w->temporary, w->bytes);
    });
  }
  if (!written()) return;
  // Catalogs about to be overwritten (the replaced ones of the same names)
  // go to Backup/ first.
  std::vector<std::optional<std::string>> before;
  for (const Text& name : names) {
    before.push_back(platform_.files.resolveName(folder, cp932::toNativeName(name)));
    const std::optional<std::string>& there = before.back();
    if (there && (!makeBackupFolder() || !fileops::copyFile(platform_, folder / *there, backupFolder_ / *there))) {
      removeTemporaries();
      return;
    }
  }
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string native = cp932::toNativeName(names[i]);
    // Another spelling of the name is the same catalog: it does not stay beside.
    if (before[i] && *before[i] != native) platform_.files.removeFile(folder / *before[i]);
    const IoError error = platform_.files.renameFile(temporaries[i], folder / native);
    if (!error) continue;
    platform_.ui.showMessage(Text(CatalogDocument::WriteFailedMessage) + u"||" + fromUtf8(error.text) + u"|" + names[i],
                             mb::Ok | mb::IconExclamation, {});
    // None or all: the parts named so far give way to what was there.
    for (std::size_t j = 0; j <= i; ++j) {
      platform_.files.removeFile(folder / cp932::toNativeName(names[j]));
      if (before[j]) platform_.files.copyFile(backupFolder_ / *before[j], folder / *before[j]);
    }
    for (std::size_t j = i; j < temporaries.size(); ++j) platform_.files.removeFile(temporaries[j]);
    return;
  }
  document.setCurrentFile(folder / cp932::toNativeName(names.front()));
  document.setModified(false);
  saved.saved = true;
  saved.fileName = names.front();
  saved.fileNames = names;
  const Finished finished = finish(result, names);
  saved.retired = finished.retired;
  saved.indexError = finished.indexError;
}

}  // namespace zevro
