#pragma once
// Drive letters on Linux. C: is "/". Mounted media get letters from D: on:
// optical drives ("sr0", a letter even when empty), floppy drives ("fd0"),
// file systems on disks that call themselves removable (USB sticks, card
// readers), and whatever is mounted below /media, /run/media or /mnt. The
// letters live in the map file "drives.map" of the program folder (see
// DriveMapFile.h), so that a medium keeps its letter in later runs, and the
// user may give any folder a letter there.
//
//   drive            type              root                   label
//   C:               3 fixed           "/"                    udev label of the root device, else the host name
//   D: /dev/sr0      5 CD-ROM          "/media/kaori/GAMES"   "GAMES"
//   D: empty drive   5 CD-ROM          none (no medium)       none
//   E: USB stick     2 removable       "/media/kaori/STICK"   "STICK"
//   F: /mnt/backup   3 fixed           "/mnt/backup"          "backup" (the mount folder's name)
//   K: user folder   as the map says   "/srv/images/disc1"    as the map says, else "disc1"
//   a letter without a line or whose medium or folder is absent: 1 (no such root)
//
// Labels come from /dev/disk/by-label, else from the mount folder's name
// (unless that name is just the file system's UUID, as desktops name media
// without a label). The serial number comes from /dev/disk/by-uuid (see
// BlockDevices::serialOfUuid). Capacity and free space: statvfs of the root.
//
// The machine is looked at when the object is made and on refresh(); the
// map file is written again only when a letter was added.
#include <array>

#include "platform/Drives.h"
#include "platform/FileSystem.h"

namespace zevro {

class LinuxDrives : public Drives {
public:
  // Where the machine's state is read from; tests point these at fixtures.
  struct Sources {
    NativePath mountInfo = "/proc/self/mountinfo";
    NativePath sysRoot = "/sys";
    NativePath diskRoot = "/dev/disk";
    // The root file system seldom has a label of its own; the machine's
    // name stands in for it, so that a folder read from C: gets a readable
    // catalog name instead of the root's folder names run together.
    NativePath hostName = "/proc/sys/kernel/hostname";
  };

  // mapFile: like "/home/kaori/.local/share/zevro/drives.map".
  LinuxDrives(FileSystem& files, NativePath mapFile, Sources sources);
  LinuxDrives(FileSystem& files, NativePath mapFile);

  int driveType(char letter) override;
  std::optional<NativePath> root(char letter) override;
  std::optional<VolumeInfo> volume(char letter) override;
  std::optional<DriveSpace> space(char letter) override;
  void refresh() override;

  IoError stateError() const override { return mapFileError_; }

private:
  struct Letter {
    int type = drivetype::NoRoot;
    std::optional<NativePath> root;
    std::optional<VolumeInfo> volume;
  };

  const Letter* slotOf(char letter) const;

  FileSystem& files_;
  NativePath mapFile_;
  Sources sources_;
  std::array<Letter, 26> letters_;
  IoError mapFileError_;
};

}  // namespace zevro
