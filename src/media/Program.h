#pragma once
// The program's services over one program folder: the one place where the
// desktop program, zevro-cli and the tests build them, so that both front
// ends read and store media alike.
//
//   Program program(platform, "/home/kaori/.local/share/zevro");
//   program.loadOptions();                   ZEVRO32.Opt
//   program.startUp({1, 2, 0});              the desktop program's start-up, or
//   program.settleCatalogFolder();           the catalog folder alone (zevro-cli)
//   program.reading(settings, hooks).read(u"E:", store);
//   program.readingStore().store(result, document, program.icons());
//
// The drive services (drive letters, drive types, title cache, drive info,
// title file), the icon table and the catalog index are built at first use,
// with the list-time clock of the option LocalListTime (or useMachineTime()),
// so a command that needs none of them touches no drive and writes nothing.
#include <memory>
#include <optional>

#include "core/CatalogIndex.h"
#include "core/DriveTypeTable.h"
#include "core/GenreTable.h"
#include "core/IconEdit.h"
#include "core/IconTable.h"
#include "core/OptionStore.h"
#include "core/Startup.h"
#include "core/TitleCache.h"
#include "media/ArchiveReader.h"
#include "media/DriveInfo.h"
#include "media/ListTime.h"
#include "media/MediaReading.h"
#include "media/MediumLocator.h"
#include "media/PictureCompanion.h"
#include "media/RowOpener.h"
#include "media/ReadingStore.h"
#include "media/TitleFile.h"
#include "platform/Drives.h"
#include "platform/FileLock.h"
#include "platform/Platform.h"
#include "platform/Programs.h"

namespace zevro {

class Program {
public:
  // drives: the drive letters; nullptr for the machine's own (its mounted
  // media and the folders of drives.map in the program folder).
  Program(Platform& platform, NativePath programFolder, Drives* drives = nullptr);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  Platform& platform() { return platform_; }
  const NativePath& programFolder() const { return programFolder_; }
  // Settled by startUp or settleCatalogFolder: "/…/zevro/Catalog".
  const NativePath& catalogFolder() const { return catalogFolder_; }
  // "/…/zevro/Backup", where replaced catalogs go.
  NativePath backupFolder() const;

  // The desktop program runs once per program folder: the first one holds
  // the instance lock (a file of its own in the program folder, released by
  // the system when the process ends, whatever way it ends). False when
  // another program holds it; zevro-cli never asks (it coordinates its
  // writes through the write lock).
  static constexpr const char* InstanceLockName = ".zevro-instance.lock";
  static constexpr TextView AlreadyRunningMessage =
      u"ZEVRO は、このプログラム･フォルダーで既に起動しています。|\x08";
  bool claimInstance();
  // The message for a second program: AlreadyRunningMessage + the folder.
  Text alreadyRunningText() const;

  OptionStore& options() { return options_; }
  IoError loadOptions();

  // The desktop program's whole start-up (the options loaded first).
  const StartupState& startUp(const VersionNumbers& version);
  // The catalog folder the options name (not made).
  const NativePath& chooseCatalogFolder();
  // The same, made when missing; a stored folder that cannot be made gives
  // the default one, with a message naming both. False when no catalog
  // folder could be had.
  bool settleCatalogFolder();

  // List times and dated labels in this machine's time zone (or, with
  // false, in the catalogs' fixed zone) for this run, whatever the option
  // LocalListTime says (before the services are built).
  void useMachineTime(bool on = true) { machineTime_ = on; }
  ListTime::Zone listTimeZone() const;

  Drives& drives();
  DriveTypeTable& driveTypes() { return types_; }
  // CATDRV.CCZ as the last run left it, loaded at first use.
  TitleCache& titles();
  // Built at first use: the title cache is loaded first, then the drive
  // types are merged with the drives present (CATTYP.DAT written), whose
  // labels update the titles.
  DriveInfo& driveInfo();
  // The error of writing CATTYP.DAT when the drive info was built.
  const IoError& driveTypesError() const { return driveTypesError_; }
  TitleFile& titleFile();
  // The tables in use: the user's (IconList.CCZ with the picture the option
  // MarkIconFile names) or the standard ones.
  IconTable& icons();
  // Loads them again (after the icon dialog or a return to the standard
  // icons): the number of icons of the user's picture, 0 for the standard
  // strip.
  int LoadIcons();
  // The picture of the user's icons the option names ("" for none), and
  // where the icon dialog writes it.
  static constexpr const char* IconPictureName = "MarkIcon.BMP";
  NativePath iconPicturePath() const;
  NativePath standardIconPicturePath() const;
  IconTable::Clock iconClock() const;
  // The icon dialog ended with OK after a change: the strip's picture is
  // written to MarkIcon.BMP (and the option MarkIconFile names it), the
  // dialog's map and table are in use and written to IconList.CCZ, and both
  // are loaded again. A file that cannot be written is shown; false then.
  bool storeUserIcons(const IconEdit& edit, const std::string& pictureBytes);
  // Back to the standard icons: the picture and IconList.CCZ deleted, the
  // option emptied, the standard tables loaded.
  void useStandardIcons();
  CatalogIndex& index();
  // The genre table of the catalog folder (CatJan.CCZ), loaded at first use;
  // a folder without one gets it migrated from the options and written.
  GenreTable& genres();
  // The error of reading CatJan.CCZ, or of writing the migrated one.
  const IoError& genresError() const { return genresError_; }
  // The user chose another catalog folder: CatalogDir is written, and the
  // index and the genre table are those of the new folder from now on (its
  // index pruned, its genre table read or migrated), never the old folder's.
  // Answers the first error of loading them.
  IoError changeCatalogFolder(const NativePath& folder);

  MediaReading::Services readingServices();
  MediaReading reading(MediaReading::Settings settings, MediaReading::Hooks hooks = {});
  ReadingStore& readingStore();

  // --- Getting back to the files of a catalog ---------------------------
  // "<program folder>/TempFile" (members extracted for opening) and
  // "<program folder>/temp" (cached attached pictures).
  NativePath extractionFolder() const;
  NativePath workFolder() const;
  // LZH and ZIP archives of this machine, in the list-time zone.
  ArchiveReader& archiveReader();
  // Other programs (players); the machine's own unless set before first use.
  Programs& programs();
  void setPrograms(Programs* programs) { programs_ = programs; }
  // Built at first use over the drive services; UseExtactZip is taken from
  // the options each time the locator is asked for.
  MediumLocator& locator();
  AttachedPictures& pictures();
  RowOpener& opener();

private:
  Platform& platform_;
  NativePath programFolder_;
  FileLock instance_;
  NativePath catalogFolder_;
  OptionStore options_;
  std::optional<StartupState> state_;
  std::optional<bool> machineTime_;  // unset: the option decides
  Drives* drives_;
  std::unique_ptr<Drives> ownDrives_;
  DriveTypeTable types_;
  TitleCache titles_;
  bool titlesLoaded_ = false;
  IoError driveTypesError_;
  std::optional<DriveInfo> driveInfo_;
  std::optional<TitleFile> titleFile_;
  std::optional<IconTable> icons_;
  std::optional<CatalogIndex> index_;
  std::optional<GenreTable> genres_;
  IoError genresError_;
  std::optional<ReadingStore> readingStore_;
  std::unique_ptr<ArchiveReader> archiveReader_;
  Programs* programs_ = nullptr;
  std::unique_ptr<Programs> ownPrograms_;
  std::optional<MediumLocator> locator_;
  std::optional<AttachedPictures> pictures_;
  std::optional<RowOpener> opener_;
};

}  // namespace zevro
