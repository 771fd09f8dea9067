#pragma once
// What the kernel and udev tell about block devices: the kernel name of a
// mounted device, whether its disk is removable, the drives of a kind that
// exist even with nothing in them, and the label and file-system UUID udev
// lists for a device. Both roots can be moved so that tests build their own
// trees:
//   sysRoot  "/sys":      dev/block/8:17 -> ../../devices/…/block/sdb/sdb1 (holds "partition"),
//                         …/block/sdb/removable ("1\n"), block/sr0
//   diskRoot "/dev/disk": by-label/MY\x20DISK -> ../../sdb1, by-uuid/1A2B-3C4D -> ../../sdb1
// Everything missing (no /dev/disk in a container, no sysfs entry) reads as
// "not known".
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace zevro {

class BlockDevices {
public:
  struct Device {
    std::string name;        // kernel name, like "sdb1", "sr0", "dm-0"
    bool removable = false;  // the disk holding it says so (USB sticks, card readers, optical drives)
  };

  BlockDevices(NativePath sysRoot, NativePath diskRoot);

  // The device of a mount by its major:minor numbers, else by its source
  // when that is a device path ("/dev/sdb1"); nullopt for file systems
  // without a device (tmpfs, nfs).
  std::optional<Device> deviceOf(unsigned major, unsigned minor, std::string_view source) const;

  // Kernel names of the drives whose name starts with prefix and a digit
  // follows ("sr" gives "sr0", "sr1"), sorted.
  std::vector<std::string> drivesNamed(std::string_view prefix) const;

  // The label udev lists for the device, escapes decoded ("MY DISK").
  std::optional<std::string> labelOf(std::string_view name) const;
  // The file-system UUID udev lists for the device ("1A2B-3C4D").
  std::optional<std::string> uuidOf(std::string_view name) const;

  // "MY\x20DISK" -> "MY DISK", "a\x2fb" -> "a/b"; other text stays.
  static std::string decodeUdevEscapes(std::string_view text);

  // The 32-bit volume serial of a file-system UUID: FAT's "1A2B-3C4D" is
  // 0x1A2B3C4D, NTFS's sixteen hex digits "0123456789ABCDEF" give their low
  // half 0x89ABCDEF; any other UUID a stable hash of its text.
  static std::uint32_t serialOfUuid(std::string_view uuid);

private:
  // The entry of a by-* folder whose link leads to the device, name decoded.
  std::optional<std::string> linkNameFor(const char* folder, std::string_view name) const;

  NativePath sysRoot_;
  NativePath diskRoot_;
};

}  // namespace zevro
