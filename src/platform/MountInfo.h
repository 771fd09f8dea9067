#pragma once
// The kernel's table of mounted file systems, as /proc/self/mountinfo gives
// it, one mount a line:
//   "36 25 8:17 / /media/kaori/MY\040DISK rw,nosuid shared:1 - vfat /dev/sdb1 rw,uid=1000"
//   id parent major:minor root mount-point options [optional fields] - type source super-options
// Paths come with octal escapes for blank, tab, line end and backslash
// ("\040", "\011", "\012", "\134"); the entries hold them decoded.
#include <string>
#include <string_view>
#include <vector>

namespace zevro {

struct MountEntry {
  int id = 0;
  int parent = 0;
  unsigned major = 0;  // 8 for SCSI disks, 11 for optical drives, 0 for virtual file systems
  unsigned minor = 0;
  std::string root;        // the folder of the file system shown here: "/", or "/srv/x" for a bind mount of a folder
  std::string mountPoint;  // like "/media/kaori/MY DISK"
  std::string fsType;      // like "vfat", "iso9660", "fuse.sshfs"
  std::string source;      // like "/dev/sdb1", "nas:/share", "proc"
};

// The mounts in the order of the table; lines that do not have the fields of
// a mount are skipped.
std::vector<MountEntry> parseMountInfo(std::string_view text);

// "MY\040DISK" -> "MY DISK", "a\134b" -> "a\b"; a backslash not followed by
// three octal digits stays as it is.
std::string decodeMountEscapes(std::string_view text);

}  // namespace zevro
