#include "media/Program.h"

#include <utility>

#include "core/FileOps.h"
#include "core/OptionKeys.h"
#include "core/Shutdown.h"
#include "core/ShutdownMessages.h"
#include "media/ArchiveLibraries.h"
#include "platform/DriveMapFile.h"
#include "platform/LinuxDrives.h"

namespace zevro {

Program::Program(Platform& platform, NativePath programFolder, Drives* drives)
    : platform_(platform),
      programFolder_(std::move(programFolder)),
      catalogFolder_(defaultCatalogFolder(programFolder_)),
      options_(platform.files, optionFilePath(programFolder_)),
      drives_(drives) {}

Program::~Program() = default;

NativePath Program::backupFolder() const { return programFolder_ / std::string(BackupFolderName); }

IoError Program::loadOptions() { return options_.load(); }

bool Program::claimInstance() { return !instance_.tryLock(programFolder_ / InstanceLockName); }

Text Program::alreadyRunningText() const {
  return Text(AlreadyRunningMessage) + fileops::shown(programFolder_) + u"\x07";
}

const StartupState& Program::startUp(const VersionNumbers& version) {
  state_ = zevro::startUp(platform_, programFolder_, options_, version);
  if (!state_->refused) catalogFolder_ = state_->catalogFolder;
  return *state_;
}

const NativePath& Program::chooseCatalogFolder() {
  catalogFolder_ = zevro::chooseCatalogFolder(programFolder_, options_);
  return catalogFolder_;
}

bool Program::settleCatalogFolder() {
  const CatalogFolderChoice choice = zevro::settleCatalogFolder(platform_.files, programFolder_, options_);
  catalogFolder_ = choice.folder;
  if (!choice.unreachable.empty())
    platform_.ui.showMessage(catalogFolderFallbackText(choice), mb::Ok | mb::IconExclamation, u"");
  return choice.ready;
}

ListTime::Zone Program::listTimeZone() const {
  return machineTime_.value_or(opt::readBoolean(options_, opt::LocalListTime)) ? ListTime::Zone::Machine
                                                                               : ListTime::Zone::Japan;
}

Drives& Program::drives() {
  if (!drives_) {
    ownDrives_ = std::make_unique<LinuxDrives>(platform_.files, programFolder_ / DriveMapFile::FileName);
    drives_ = ownDrives_.get();
  }
  return *drives_;
}

TitleCache& Program::titles() {
  if (!titlesLoaded_) {
    titles_.load(platform_.files, programFolder_);  // a missing or unreadable cache starts empty
    titlesLoaded_ = true;
  }
  return titles_;
}

DriveInfo& Program::driveInfo() {
  if (!driveInfo_) {
    driveInfo_.emplace(drives(), platform_.files, types_, titles(), listTimeZone());
    driveTypesError_ = driveInfo_->LoadDriveTypes(programFolder_);
  }
  return *driveInfo_;
}

TitleFile& Program::titleFile() {
  if (!titleFile_) titleFile_.emplace(driveInfo(), platform_.ui);
  return *titleFile_;
}

IconTable& Program::icons() {
  if (!icons_) {
    icons_.emplace();
    LoadIcons();
  }
  return *icons_;
}

IconTable::Clock Program::iconClock() const {
  return listTimeZone() == ListTime::Zone::Machine ? IconTable::Clock::MachineTime : IconTable::Clock::JapanTime;
}

NativePath Program::iconPicturePath() const { return options_.readPath(opt::MarkIconFile, {}); }

NativePath Program::standardIconPicturePath() const { return programFolder_ / IconPictureName; }

int Program::LoadIcons() {
  if (!icons_) icons_.emplace();
  const int pictureIcons = icons_->LoadIcons(platform_.files, programFolder_, iconPicturePath(), iconClock());
  icons_->BuildStandardTables();
  return pictureIcons;
}

bool Program::storeUserIcons(const IconEdit& edit, const std::string& pictureBytes) {
  IconTable& table = icons();
  const NativePath picture = fileops::resolved(platform_.files, standardIconPicturePath());
  if (platform_.files.writeFileAtomic(picture, pictureBytes)) {
    platform_.ui.showMessage(fileWriteErrorText(picture), mb::Ok | mb::IconStop, u"");
    return false;
  }
  options_.writePath(opt::MarkIconFile, picture);
  saveOptions(platform_, options_);
  edit.commitTo(table);
  const bool written = !table.SaveIcons(platform_.files, programFolder_, iconClock());
  if (!written)
    platform_.ui.showMessage(fileWriteErrorText(programFolder_ / IconTable::FileName), mb::Ok | mb::IconStop, u"");
  LoadIcons();
  return written;
}

void Program::useStandardIcons() {
  const NativePath picture = iconPicturePath();
  if (!picture.empty()) fileops::deleteFile(platform_.files, picture);
  options_.writeText(opt::MarkIconFile, u"");
  saveOptions(platform_, options_);
  fileops::deleteFile(platform_.files, programFolder_ / IconTable::FileName);
  LoadIcons();
}

CatalogIndex& Program::index() {
  if (!index_) index_.emplace(platform_.files, catalogFolder_, programFolder_);
  return *index_;
}

GenreTable& Program::genres() {
  if (genres_) return *genres_;
  GenreTable::Loaded loaded =
      GenreTable::load(platform_.files, catalogFolder_, GenreTable::optionsFrom(options_), programFolder_);
  genresError_ = loaded.error;
  genres_ = std::move(loaded.table);
  return *genres_;
}

IoError Program::changeCatalogFolder(const NativePath& folder) {
  catalogFolder_ = folder;
  options_.writePath(opt::CatalogDir, folder);
  if (state_) state_->catalogFolder = folder;
  // Lists of the older extension in the new folder become catalogs too.
  migrateOldListFiles(platform_, folder);
  IoError error = index().loadFolder(folder);
  genres_.reset();
  genres();
  if (!error) error = genresError_;
  return error;
}

MediaReading::Services Program::readingServices() {
  return {platform_, driveInfo(), titleFile(), icons(), catalogFolder_};
}

MediaReading Program::reading(MediaReading::Settings settings, MediaReading::Hooks hooks) {
  settings.walk.zone = listTimeZone();
  return MediaReading(readingServices(), std::move(settings), std::move(hooks));
}

ReadingStore& Program::readingStore() {
  if (!readingStore_) readingStore_.emplace(platform_, index(), backupFolder(), programFolder_);
  return *readingStore_;
}

NativePath Program::extractionFolder() const { return programFolder_ / std::string(ExtractionFolderName); }
NativePath Program::workFolder() const { return programFolder_ / std::string(WorkFolderName); }

ArchiveReader& Program::archiveReader() {
  if (!archiveReader_) archiveReader_ = std::make_unique<ArchiveLibraries>(listTimeZone());
  return *archiveReader_;
}

Programs& Program::programs() {
  if (programs_ == nullptr) {
    ownPrograms_ = std::make_unique<LinuxPrograms>();
    programs_ = ownPrograms_.get();
  }
  return *programs_;
}

MediumLocator& Program::locator() {
  if (!locator_)
    locator_.emplace(MediumLocator::Services{driveInfo(), titleFile(), platform_.files, platform_.ui, archiveReader(),
                                             extractionFolder()});
  locator_->setZipUsable(opt::readBoolean(options_, opt::UseExtactZip));
  return *locator_;
}

AttachedPictures& Program::pictures() {
  if (!pictures_) pictures_.emplace(AttachedPictures::Services{platform_, catalogFolder_, workFolder()});
  return *pictures_;
}

RowOpener& Program::opener() {
  if (!opener_)
    opener_.emplace(RowOpener::Services{locator(), archiveReader(), platform_.files, platform_.ui, programs(),
                                        extractionFolder()});
  opener_->settings.useExternal = opt::readBoolean(options_, opt::UseExternal);
  opener_->settings.useOldPlayer = opt::readNumber(options_, opt::UseOldPlayer) != 0;
  opener_->settings.zipUsable = opt::readBoolean(options_, opt::UseExtactZip);
  opener_->settings.audioCdCommand = opt::readText(options_, opt::AudioCdCommand);
  return *opener_;
}

}  // namespace zevro
