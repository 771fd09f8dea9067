#include "platform/FakeDrives.h"

namespace zevro {

namespace {

// 0..25 for 'A'..'Z' in either case, -1 for anything else.
int slotOf(char letter) {
  if (letter >= 'a' && letter <= 'z') return letter - 'a';
  if (letter >= 'A' && letter <= 'Z') return letter - 'A';
  return -1;
}

}  // namespace

void FakeDrives::set(char letter, Drive drive) {
  const int slot = slotOf(letter);
  if (slot < 0) return;
  drives_[static_cast<std::size_t>(slot)] = std::move(drive);
}

void FakeDrives::remove(char letter) {
  const int slot = slotOf(letter);
  if (slot < 0) return;
  drives_[static_cast<std::size_t>(slot)].reset();
}

int FakeDrives::driveType(char letter) {
  const int slot = slotOf(letter);
  if (slot < 0 || !drives_[static_cast<std::size_t>(slot)]) return drivetype::NoRoot;
  return drives_[static_cast<std::size_t>(slot)]->type;
}

const FakeDrives::Drive* FakeDrives::mounted(char letter) const {
  const int slot = slotOf(letter);
  if (slot < 0) return nullptr;
  const std::optional<Drive>& drive = drives_[static_cast<std::size_t>(slot)];
  if (!drive || !drive->hasMedium) return nullptr;
  return &*drive;
}

std::optional<NativePath> FakeDrives::root(char letter) {
  const Drive* drive = mounted(letter);
  if (!drive) return std::nullopt;
  return drive->folder;
}

std::optional<VolumeInfo> FakeDrives::volume(char letter) {
  const Drive* drive = mounted(letter);
  if (!drive) return std::nullopt;
  return VolumeInfo{drive->label, drive->serial, drive->hasSerial};
}

std::optional<DriveSpace> FakeDrives::space(char letter) {
  const Drive* drive = mounted(letter);
  if (!drive) return std::nullopt;
  return drive->space;
}

}  // namespace zevro
