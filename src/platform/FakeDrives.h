#pragma once
// Drives for tests: a table of letters, each standing for a folder with a
// chosen type, label, serial number and space. A letter not in the table is
// "no such root" (type 1). A drive without a medium (an empty CD drive) keeps
// its type but has no root, volume or space.
//
//   FakeDrives drives;
//   drives.set('E', {drivetype::CdRom, "/tmp/t/disc", u"GAMES", 0xABCD1234});
//   drives.driveType('e') == 5;  drives.volume('E')->label == u"GAMES"
#include <array>
#include <optional>

#include "platform/Drives.h"

namespace zevro {

class FakeDrives : public Drives {
public:
  struct Drive {
    int type = drivetype::Fixed;
    NativePath folder;  // the root the letter stands for
    Text label;         // like u"GAMES"; empty when the medium has none
    std::uint32_t serial = 0;
    bool hasSerial = true;
    DriveSpace space{};
    bool hasMedium = true;  // false: a drive with nothing inserted
  };

  // Puts a drive at the letter (either case), replacing what was there.
  void set(char letter, Drive drive);
  // Takes the drive away: the letter becomes "no such root".
  void remove(char letter);

  int driveType(char letter) override;
  std::optional<NativePath> root(char letter) override;
  std::optional<VolumeInfo> volume(char letter) override;
  std::optional<DriveSpace> space(char letter) override;

private:
  // The drive of a letter with a medium in it, or nullptr.
  const Drive* mounted(char letter) const;

  std::array<std::optional<Drive>, 26> drives_;
};

}  // namespace zevro
