#include "core/Startup.h"

#include "core/CatalogIndex.h"
#include "core/FileOps.h"
#include "core/GenreTable.h"
#include "core/OptionKeys.h"
#include "core/SearchHistory.h"
#include "core/Strings.h"
#include "core/TitleCache.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

enum class Where { CatalogFolder, ProgramFolder };

struct OldName {
  std::string_view current;
  std::string_view old;
  Where where;
};

constexpr OldName IndexOldName{CatalogIndex::FileName, "ZEVRO32.CAT", Where::CatalogFolder};
constexpr OldName OtherOldNames[] = {
    {GenreTable::FileName, "CatJan.DEF", Where::CatalogFolder},
    {TitleCache::FileName, "CATDRV.DAT", Where::ProgramFolder},
    {SearchWordFileName, "_Catalog.INI", Where::ProgramFolder},
};

constexpr TextView CurrentListExtension = u"CCT";
constexpr TextView OldListExtension = u"CAT";

// The old file copied to the new name when only the old one is there.
void copyOldName(Platform& platform, const NativePath& folder, const OldName& name) {
  const NativePath current = folder / name.current;
  const NativePath old = folder / name.old;
  if (fileops::fileExists(platform.files, current)) return;
  if (!fileops::fileExists(platform.files, old)) return;
  fileops::copyFile(platform, old, current);
}

void copyOldNames(Platform& platform, const NativePath& programFolder, const NativePath& catalogFolder,
                  const OldName& name) {
  copyOldName(platform, name.where == Where::CatalogFolder ? catalogFolder : programFolder, name);
}

char16_t lastDigit(int n) { return static_cast<char16_t>(u'0' + (n < 0 ? -(n % 10) : n % 10)); }

}  // namespace

NativePath optionFilePath(const NativePath& programFolder) { return programFolder / OptionFileName; }

NativePath defaultCatalogFolder(const NativePath& programFolder) { return programFolder / CatalogFolderName; }

NativePath chooseCatalogFolder(const NativePath& programFolder, const OptionStore& options) {
  NativePath stored = options.readPath(opt::CatalogDir, {});
  if (stored.is_absolute()) return stored;
  return defaultCatalogFolder(programFolder);
}

CatalogFolderChoice settleCatalogFolder(FileSystem& files, const NativePath& programFolder, const OptionStore& options) {
  CatalogFolderChoice choice;
  choice.folder = chooseCatalogFolder(programFolder, options);
  const NativePath standard = defaultCatalogFolder(programFolder);
  if (choice.folder == standard) {
    choice.ready = fileops::createFolderChain(files, standard);
    return choice;
  }
  if (fileops::folderExists(files, choice.folder)) {
    choice.ready = true;
    return choice;
  }
  NativePath folder = choice.folder;
  while (folder.has_parent_path() && folder.filename().empty()) folder = folder.parent_path();  // "…/Catalog/"
  if (fileops::folderExists(files, folder.parent_path()) && !files.createFolder(folder)) {
    choice.ready = true;
    return choice;
  }
  choice.unreachable = choice.folder;
  choice.folder = standard;
  choice.ready = fileops::createFolderChain(files, standard);
  return choice;
}

Text catalogFolderFallbackText(const CatalogFolderChoice& choice) {
  return Text(CatalogFolderFallbackHead) + fileops::shown(choice.unreachable) + Text(CatalogFolderFallbackMiddle) +
         fileops::shown(choice.folder) + Text(CatalogFolderFallbackTail);
}

void migrateOldListFiles(Platform& platform, const NativePath& catalogFolder) {
  for (const Text& name : namesOf(fileops::listFiles(platform.files, catalogFolder, OldExtensionListPattern))) {
    const Text current = changeExtension(name, CurrentListExtension);
    fileops::migrateOldExtension(platform, catalogFolder / cp932::toNativeName(current), OldListExtension);
  }
}

void copyOldVersionFiles(Platform& platform, const NativePath& programFolder, const NativePath& catalogFolder) {
  copyOldNames(platform, programFolder, catalogFolder, IndexOldName);
  migrateOldListFiles(platform, catalogFolder);
  for (const OldName& name : OtherOldNames) copyOldNames(platform, programFolder, catalogFolder, name);
}

bool hasOldListFiles(FileSystem& files, const NativePath& catalogFolder) {
  return fileops::fileExists(files, catalogFolder, OldDatListPattern);
}

void prepareWorkFolders(FileSystem& files, const NativePath& programFolder) {
  fileops::createFolderChain(files, programFolder / BackupFolderName);
  const NativePath work = programFolder / WorkFolderName;
  fileops::createFolderChain(files, work);
  fileops::deleteFilesOfFolder(files, work);
}

Text versionText(const VersionNumbers& version) {
  Text text{lastDigit(version.major), u'.', lastDigit(version.minor)};
  if (version.revision > 0) text += static_cast<char16_t>(64 + version.revision);
  return text;
}

StartupState startUp(Platform& platform, const NativePath& programFolder, const OptionStore& options,
                     const VersionNumbers& version) {
  StartupState state;
  state.programFolder = programFolder;
  const NativePath plain = programFolder.lexically_normal();
  if (plain.empty() || plain == plain.root_path()) {
    state.refused = true;
    return state;
  }

  FileSystem& files = platform.files;
  state.optionFile = optionFilePath(programFolder);
  state.optionFileExisted = fileops::fileExists(files, state.optionFile);

  const CatalogFolderChoice catalogs = settleCatalogFolder(files, programFolder, options);
  state.catalogFolder = catalogs.folder;
  state.catalogFolderReady = catalogs.ready;
  state.unreachableCatalogFolder = catalogs.unreachable;
  if (!catalogs.unreachable.empty())
    platform.ui.showMessage(catalogFolderFallbackText(catalogs), mb::Ok | mb::IconExclamation, u"");

  copyOldVersionFiles(platform, programFolder, state.catalogFolder);
  state.hasDriveListFiles = fileops::fileExists(files, state.catalogFolder, DriveListPattern);
  state.hasOldListFiles = hasOldListFiles(files, state.catalogFolder);
  state.versionText = versionText(version);
  prepareWorkFolders(files, programFolder);
  return state;
}

}  // namespace zevro
