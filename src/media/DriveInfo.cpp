#include "media/DriveInfo.h"

#include "core/FileOps.h"
#include "core/ListFileName.h"
#include "core/Numbers.h"
#include "media/DrivePath.h"

namespace zevro {

namespace {

constexpr FileTime NanosPerSecond = 1000000000;

// "YYMMDDhhmmss" of a file time in the zone.
Text dateStamp(FileTime time, ListTime::Zone zone) {
  const ListTime t = ListTime::of(time, zone);
  // Seconds are the same in every zone the catalogs use (whole-minute offsets).
  std::int64_t seconds = time / NanosPerSecond;
  if (time % NanosPerSecond < 0) --seconds;
  const std::int64_t second = (seconds % 60 + 60) % 60;
  Text out = zeroPadded(t.year % 100, 2);
  for (std::int64_t n :
       {std::int64_t{t.month}, std::int64_t{t.day}, std::int64_t{t.hour}, std::int64_t{t.minute}, second})
    out += zeroPadded(n, 2);
  return out;
}

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// The first n characters, never ending between the halves of a surrogate pair.
Text firstCharacters(Text text, std::size_t n) {
  if (text.size() <= n) return text;
  if (n > 0 && isHighSurrogate(text[n - 1])) --n;
  text.resize(n);
  return text;
}

// The file name part of a catalog path with "\" or "/" separators.
TextView fileNameOf(TextView path) {
  const std::size_t slash = path.find_last_of(u"\\/");
  return slash == TextView::npos ? path : path.substr(slash + 1);
}

}  // namespace

DriveInfo::DriveInfo(Drives& drives, FileSystem& files, DriveTypeTable& types, TitleCache& titles, ListTime::Zone zone)
    : drives_(drives), files_(files), types_(types), titles_(titles), zone_(zone) {}

IoError DriveInfo::LoadDriveTypes(const NativePath& programFolder) {
  return types_.LoadDriveTypes(files_, programFolder, drives_, titles_);
}

void DriveInfo::RefreshDriveTypes() {
  drives_.refresh();
  types_.RefreshDriveTypes(drives_);
}

int DriveInfo::DriveType(TextView pathOrDrive) const {
  if (drivepath::letterOf(pathOrDrive) == 0) return drivetype::Unknown;
  return types_.DriveType(pathOrDrive);
}

Text DriveInfo::DriveKind(TextView pathOrDrive) const { return kindOfType(DriveType(pathOrDrive)); }

Text DriveInfo::kindOfType(int type) {
  if (type == drivetype::Removable || type == drivetype::Changing) return Text(KindFD);
  if (type == drivetype::CdRom) return Text(KindCD);
  return Text(KindHD);
}

int DriveInfo::MediumKindNumber(TextView catalogFileName) {
  return listfilename::mediumKindOf(fileNameOf(catalogFileName));
}

Text DriveInfo::VolumeLabel(TextView driveRoot) {
  const char letter = drivepath::letterOf(driveRoot);
  if (letter == 0) return {};
  const std::optional<VolumeInfo> volume = drives_.volume(letter);
  return volume ? volume->label : Text();
}

Text DriveInfo::SyntheticLabel(TextView drive) {
  const char letter = drivepath::letterOf(drive);
  const std::optional<NativePath> root = letter ? drives_.root(letter) : std::nullopt;
  if (!root) return {};
  Text label;
  int folders = 0;
  FileTime onlyFolderTime = 0;
  for (const DirEntry& entry : files_.list(*root)) {
    if (!entry.isFolder() || entry.name.empty() || entry.name[0] == '.') continue;
    label += fileops::nameOf(entry);
    onlyFolderTime = entry.modified;
    ++folders;
  }
  if (folders == 1) label += u"_" + dateStamp(onlyFolderTime, zone_);
  return firstCharacters(std::move(label), SyntheticLabelLength);
}

Text DriveInfo::AudioCdIdentity(TextView drive) {
  const char letter = drivepath::letterOf(drive);
  const std::optional<VolumeInfo> volume = letter ? drives_.volume(letter) : std::nullopt;
  if (!volume || !volume->hasSerial) return Text(AudioCdLabel);
  Text hex = hexField(volume->serial, 8);
  const std::size_t firstDigit = hex.find_first_not_of(u'0');
  hex.erase(0, firstDigit == Text::npos ? hex.size() - 1 : firstDigit);
  return Text(AudioCdPrefix) + hex;
}

DriveSpace DriveInfo::Capacity(TextView drive) {
  const char letter = drivepath::letterOf(drive);
  const std::optional<DriveSpace> space = letter ? drives_.space(letter) : std::nullopt;
  return space ? *space : DriveSpace{};
}

std::optional<NativePath> DriveInfo::rootOf(TextView drivePath) { return drivepath::nativePathOf(drives_, files_, drivePath); }

bool DriveInfo::hasMedium(TextView drive) {
  const char letter = drivepath::letterOf(drive);
  if (letter == 0 || !drives_.volume(letter)) return false;
  if (DriveType(drive) == drivetype::Removable) return Capacity(drive).total > 0;
  return true;
}

}  // namespace zevro
