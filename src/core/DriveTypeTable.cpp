#include "core/DriveTypeTable.h"

#include "core/FileOps.h"
#include "platform/WriteLock.h"

namespace zevro {

namespace {

char letterAt(std::size_t slot) { return static_cast<char>('A' + slot); }

bool absent(int type) { return type == drivetype::Unknown || type == drivetype::NoRoot; }

}  // namespace

int DriveTypeTable::stored(char letter) const {
  const int slot = driveSlot(letter);
  return slot < 0 ? drivetype::Unknown : types_[static_cast<std::size_t>(slot)];
}

void DriveTypeTable::setStored(char letter, int type) {
  const int slot = driveSlot(letter);
  if (slot < 0 || type < 0 || type > 255) return;
  types_[static_cast<std::size_t>(slot)] = static_cast<std::uint8_t>(type);
}

int DriveTypeTable::DriveType(TextView pathOrDrive) const {
  if (pathOrDrive.empty() || pathOrDrive[0] > 0x7F) return drivetype::Unknown;
  const int type = stored(static_cast<char>(pathOrDrive[0]));
  return type == drivetype::Changing ? drivetype::Removable : type;
}

int DriveTypeTable::merge(int current, int stored) {
  if (stored == drivetype::Changing) return drivetype::Changing;
  if (current == stored) return current;
  if (current == drivetype::Fixed && absent(stored)) return drivetype::Changing;
  if (absent(current) && stored == drivetype::Fixed) return drivetype::Changing;
  return current;
}

IoError DriveTypeTable::LoadDriveTypes(FileSystem& files, const NativePath& programFolder, Drives& drives,
                                       TitleCache& titles) {
  // The stored types decide the new ones: read and written in one step.
  WriteLock lock(programFolder);
  if (!lock) return {lock.error().code, lock.message()};
  const NativePath path = fileops::resolved(files, programFolder / FileName);
  std::optional<DriveTypeTable> before;
  std::string bytes;
  if (files.stat(path) && !files.readFile(path, bytes)) before = decode(bytes);

  for (std::size_t slot = 0; slot < types_.size(); ++slot) {
    const int current = drives.driveType(letterAt(slot));
    const int type = before ? merge(current, before->types_[slot]) : current;
    types_[slot] = static_cast<std::uint8_t>(type);
  }
  IoError error = files.writeFileAtomic(path, encode());

  for (std::size_t slot = 0; slot < types_.size(); ++slot) {
    if (types_[slot] < drivetype::Removable) continue;
    const std::optional<VolumeInfo> volume = drives.volume(letterAt(slot));
    titles.setTitle(letterAt(slot), volume ? TextView(volume->label) : TextView());
  }
  return error;
}

void DriveTypeTable::RefreshDriveTypes(Drives& drives) {
  for (std::size_t slot = 0; slot < types_.size(); ++slot) {
    if (types_[slot] == drivetype::Changing) continue;
    types_[slot] = static_cast<std::uint8_t>(drives.driveType(letterAt(slot)));
  }
}

std::string DriveTypeTable::encode() const { return std::string(types_.begin(), types_.end()); }

std::optional<DriveTypeTable> DriveTypeTable::decode(std::string_view bytes) {
  if (bytes.size() < Letters) return std::nullopt;
  DriveTypeTable table;
  for (std::size_t slot = 0; slot < table.types_.size(); ++slot)
    table.types_[slot] = static_cast<std::uint8_t>(bytes[slot]);
  return table;
}

}  // namespace zevro
