#include "core/CatalogBackup.h"

#include "core/FileOps.h"
#include "core/IconTable.h"
#include "core/OptionKeys.h"
#include "core/Startup.h"
#include "core/Strings.h"
#include "core/TitleCache.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

// The last part of a folder's path, also when it ends in "/".
NativePath lastPart(const NativePath& folder) {
  NativePath name = folder.filename();
  if (name.empty()) name = folder.parent_path().filename();
  return name;
}

}  // namespace

NativePath CatalogBackup::destinationFor(const NativePath& chosen) {
  NativePath folder = chosen;
  if (folder.filename().empty() && folder.has_parent_path() && folder != folder.root_path())
    folder = folder.parent_path();
  const Text name = cp932::fromNativeName(folder.native());
  const bool named = name.size() >= BackupSuffix.size() &&
                     asciiUpper(TextView(name).substr(name.size() - BackupSuffix.size())) == BackupSuffix;
  return named ? folder : folder / SubfolderName;
}

Text CatalogBackup::doneMessage(int count) {
  if (count <= 0) return Text(NothingCopiedMessage);
  Text text = u"\x08";
  text += ascii(std::to_string(count));
  text += u'\x07';
  text += DoneTail;
  return text;
}

CatalogBackup::Result CatalogBackup::run(const NativePath& chosen, OptionStore& options,
                                         const std::function<void(const Failure&)>& onFailure) {
  Result result;
  const auto fail = [&](Failure failure) {
    if (onFailure) onFailure(failure);
    result.failures.push_back(std::move(failure));
  };
  const NativePath destination = destinationFor(chosen);
  result.destination = destination;
  if (IoError error = files_.createFolders(destination)) {
    fail({destination, error});
    return result;
  }
  options.writePath(opt::BackupDir, destination);
  if (IoError error = options.save()) fail({options.path(), error});

  const NativePath& program = folders_.programFolder;
  copyIfNewer(program, TitleCache::FileName, destination, "", result, onFailure);
  copyIfNewer(program, std::string(OptionFileName), destination, "", result, onFailure);
  for (const char* optional : {IconTable::FileName, IconPictureName})
    if (files_.resolveName(program, optional)) copyIfNewer(program, optional, destination, "", result, onFailure);

  const NativePath catalogName = lastPart(folders_.catalogFolder);
  const NativePath catalogCopies = destination / catalogName;
  if (IoError error = files_.createFolders(catalogCopies)) {
    fail({catalogCopies, error});
    return result;
  }
  for (const Text& name : namesOf(fileops::listFiles(files_, folders_.catalogFolder, ListFilePattern)))
    copyIfNewer(folders_.catalogFolder, cp932::toNativeName(name), catalogCopies, catalogName.native() + "/", result,
                onFailure);
  return result;
}

void CatalogBackup::copyIfNewer(const NativePath& sourceFolder, const std::string& name, const NativePath& folder,
                                const std::string& relative, Result& result,
                                const std::function<void(const Failure&)>& onFailure) {
  const std::optional<std::string> spelled = files_.resolveName(sourceFolder, name);
  const NativePath source = sourceFolder / spelled.value_or(name);
  const std::string copyName = spelled.value_or(name);
  // A copy under another spelling of the name is the same file to the
  // catalogs' home systems: it is compared and replaced, not doubled.
  const std::optional<std::string> existing = files_.resolveName(folder, copyName);
  const std::optional<DirEntry> from = files_.stat(source);
  if (!from) return;  // nothing of that name to keep (no reading made yet)
  if (existing) {
    const std::optional<DirEntry> copy = files_.stat(folder / *existing);
    if (copy && from->modified <= copy->modified) return;
  }
  const NativePath target = folder / copyName;
  if (IoError error = files_.copyFile(source, target)) {
    const Failure failure{target, error};
    if (onFailure) onFailure(failure);
    result.failures.push_back(failure);
    return;
  }
  if (existing && *existing != copyName) files_.removeFile(folder / *existing);
  result.copied.push_back(relative + copyName);
}

}  // namespace zevro
