#include "platform/LinuxDrives.h"


#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>

#include "platform/BlockDevices.h"
#include "platform/DriveMapFile.h"
#include "platform/MountInfo.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

constexpr char RootLetter = 'C';

// File systems of the kernel's own making: never a medium, wherever mounted.
constexpr std::string_view PseudoFileSystems[] = {
    "proc",    "sysfs",   "devtmpfs",    "devpts",   "cgroup",     "cgroup2",   "securityfs",
    "debugfs", "tracefs", "pstore",      "bpf",      "mqueue",     "hugetlbfs", "configfs",
    "fusectl", "autofs",  "binfmt_misc", "efivarfs", "rpc_pipefs", "nsfs",      "selinuxfs"};

constexpr std::string_view NetworkFileSystems[] = {"nfs", "nfs4", "cifs",      "smb3", "smbfs",
                                                   "9p",  "ceph", "glusterfs", "afs",  "fuse.sshfs"};

constexpr std::string_view RamFileSystems[] = {"tmpfs", "ramfs"};

// Image file systems of optical discs: a disc image mounted through a loop
// device is a CD as far as its catalogs go.
constexpr std::string_view DiscFileSystems[] = {"iso9660", "udf"};

// Folders whose every mount counts as a medium, whatever the device.
constexpr std::string_view MediaFolders[] = {"/media/", "/run/media/", "/mnt/"};

template <std::size_t N>
bool among(const std::string_view (&set)[N], std::string_view value) {
  for (std::string_view item : set)
    if (item == value) return true;
  return false;
}

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// "sr0" with prefix "sr": the prefix and a digit.
bool isNamed(std::string_view device, std::string_view prefix) {
  return device.size() > prefix.size() && startsWith(device, prefix) && isDigit(device[prefix.size()]);
}

bool isOptical(std::string_view device) { return isNamed(device, "sr"); }
bool isFloppy(std::string_view device) { return isNamed(device, "fd"); }

bool belowMediaFolder(std::string_view mountPoint) {
  for (std::string_view folder : MediaFolders)
    if (mountPoint.size() > folder.size() && startsWith(mountPoint, folder)) return true;
  return false;
}

std::string readWhole(const NativePath& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

struct Medium {
  std::string device;               // "sr0", "sdb1"; "" for a file system without a device
  std::optional<NativePath> mount;  // none: a drive with nothing in it
  int type = drivetype::Fixed;
  std::optional<VolumeInfo> volume;

  // What the map file remembers: the drive for optical and floppy drives
  // (whatever disc is in them), else the folder the medium is mounted on.
  std::string identity() const {
    if (isOptical(device) || isFloppy(device) || !mount) return DriveMapFile::DevicePrefix + device;
    return mount->string();
  }
};

int typeOfMount(const MountEntry& mount, const std::optional<BlockDevices::Device>& device) {
  if (device && isOptical(device->name)) return drivetype::CdRom;
  if (device && isFloppy(device->name)) return drivetype::Removable;
  if (among(DiscFileSystems, mount.fsType)) return drivetype::CdRom;
  if (among(NetworkFileSystems, mount.fsType) || startsWith(mount.fsType, "nfs")) return drivetype::Network;
  if (among(RamFileSystems, mount.fsType)) return drivetype::RamDisk;
  if (device && device->removable) return drivetype::Removable;
  return drivetype::Fixed;
}

Text textOfName(std::string_view nativeName) { return cp932::fromNativeName(nativeName); }

VolumeInfo volumeOf(const BlockDevices& devices, std::string_view device, const NativePath& mount) {
  VolumeInfo volume;
  const std::optional<std::string> uuid = device.empty() ? std::nullopt : devices.uuidOf(device);
  if (uuid) {
    volume.serial = BlockDevices::serialOfUuid(*uuid);
    volume.hasSerial = true;
  }
  const std::optional<std::string> label = device.empty() ? std::nullopt : devices.labelOf(device);
  if (label) {
    volume.label = textOfName(*label);
    return volume;
  }
  // Desktops mount a medium without a label on a folder named by its UUID:
  // that name is no label.
  const std::string folderName = mount.filename().string();
  if (!uuid || folderName != *uuid) volume.label = textOfName(folderName);
  return volume;
}

bool sameMedium(const Medium& a, const std::string& device, const std::string& mountPoint) {
  if (!device.empty() && a.device == device) return true;
  return a.mount && a.mount->string() == mountPoint;
}

std::vector<Medium> findMedia(const std::vector<MountEntry>& mounts, const BlockDevices& devices) {
  std::vector<Medium> media;
  for (const MountEntry& mount : mounts) {
    // A bind mount of a folder shows part of a file system, not a medium;
    // the medium itself has its own line.
    if (among(PseudoFileSystems, mount.fsType) || mount.root != "/" || mount.mountPoint == "/") continue;
    const std::optional<BlockDevices::Device> device = devices.deviceOf(mount.major, mount.minor, mount.source);
    const std::string name = device ? device->name : std::string();
    const bool mediumDevice = device && (isOptical(name) || isFloppy(name) || device->removable);
    if (!mediumDevice && !belowMediaFolder(mount.mountPoint)) continue;
    bool seen = false;
    for (const Medium& medium : media) seen = seen || sameMedium(medium, name, mount.mountPoint);
    if (seen) continue;
    const NativePath folder = mount.mountPoint;
    media.push_back(Medium{name, folder, typeOfMount(mount, device), volumeOf(devices, name, folder)});
  }
  // Optical and floppy drives get their letter even when nothing is in them.
  for (const char* prefix : {"sr", "fd"}) {
    for (const std::string& name : devices.drivesNamed(prefix)) {
      bool seen = false;
      for (const Medium& medium : media) seen = seen || medium.device == name;
      if (seen) continue;
      media.push_back(
          Medium{name, std::nullopt, isOptical(name) ? drivetype::CdRom : drivetype::Removable, std::nullopt});
    }
  }
  return media;
}

// The first line of a small system file, blanks trimmed ("" when unreadable).
std::string firstLineOf(const NativePath& path) {
  const std::string text = readWhole(path);
  std::string line = text.substr(0, text.find('\n'));
  const std::size_t first = line.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

// The machine's name from the file that holds it; when that cannot be read
// (no /proc in a sandbox), from the system call: a label that changed with a
// failed read would give C: a second catalog under another name.
std::string machineName(const NativePath& hostName) {
  if (std::ifstream(hostName).good()) return firstLineOf(hostName);
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return {};
  std::string line = name;
  const std::size_t first = line.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return line.substr(first, line.find_last_not_of(" \t\r\n") - first + 1);
}

VolumeInfo rootVolume(const std::vector<MountEntry>& mounts, const BlockDevices& devices, const NativePath& hostName) {
  VolumeInfo volume;
  for (const MountEntry& mount : mounts) {
    if (mount.mountPoint != "/") continue;
    const std::optional<BlockDevices::Device> device = devices.deviceOf(mount.major, mount.minor, mount.source);
    if (!device) continue;
    volume = VolumeInfo{};
    if (std::optional<std::string> label = devices.labelOf(device->name)) volume.label = textOfName(*label);
    if (std::optional<std::string> uuid = devices.uuidOf(device->name)) {
      volume.serial = BlockDevices::serialOfUuid(*uuid);
      volume.hasSerial = true;
    }
  }
  if (volume.label.empty()) volume.label = textOfName(machineName(hostName));
  return volume;
}

bool isFolder(FileSystem& files, const NativePath& path) {
  const std::optional<DirEntry> entry = files.stat(path);
  return entry && (entry->isFolder() || entry->linkToFolder);
}

std::size_t slotIndex(char letter) {
  if (letter >= 'a' && letter <= 'z') return static_cast<std::size_t>(letter - 'a');
  if (letter >= 'A' && letter <= 'Z') return static_cast<std::size_t>(letter - 'A');
  return 26;
}

// A letter the program gave to a medium that is not here now, to be given
// to a new medium when every letter is taken: the highest such letter.
// Letters of the user's own folders are never taken.
template <typename Letters>
char recyclableLetter(const DriveMapFile& map, const Letters& letters) {
  char best = 0;
  for (const DriveMapFile::Entry& entry : map.entries()) {
    if (letters[slotIndex(entry.letter)].type != drivetype::NoRoot) continue;
    if (!entry.isDevice() && !belowMediaFolder(entry.target)) continue;
    if (entry.letter > best) best = entry.letter;
  }
  return best;
}

}  // namespace

LinuxDrives::LinuxDrives(FileSystem& files, NativePath mapFile, Sources sources)
    : files_(files), mapFile_(std::move(mapFile)), sources_(std::move(sources)) {
  refresh();
}

LinuxDrives::LinuxDrives(FileSystem& files, NativePath mapFile) : LinuxDrives(files, std::move(mapFile), Sources{}) {}

void LinuxDrives::refresh() {
  letters_ = {};
  mapFileError_ = {};
  const std::vector<MountEntry> mounts = parseMountInfo(readWhole(sources_.mountInfo));
  const BlockDevices devices(sources_.sysRoot, sources_.diskRoot);
  const std::vector<Medium> media = findMedia(mounts, devices);
  letters_[slotIndex(RootLetter)] =
      Letter{drivetype::Fixed, NativePath("/"), rootVolume(mounts, devices, sources_.hostName)};

  std::string mapText;
  const IoError readError = files_.readFile(mapFile_, mapText);
  const bool mapMissing = readError && readError.code == ENOENT;
  DriveMapFile map = DriveMapFile::parse(mapMissing ? DriveMapFile::header() : mapText);

  std::vector<bool> claimed(media.size(), false);
  const auto letterOfMedium = [&](std::size_t i) {
    claimed[i] = true;
    return Letter{media[i].type, media[i].mount, media[i].volume};
  };
  for (const DriveMapFile::Entry& entry : map.entries()) {
    Letter& letter = letters_[slotIndex(entry.letter)];
    const std::string device = entry.deviceName();
    std::size_t found = media.size();
    for (std::size_t i = 0; i < media.size() && found == media.size(); ++i) {
      const bool match =
          entry.isDevice() ? media[i].device == device : media[i].mount && media[i].mount->string() == entry.target;
      if (match) found = i;
    }
    if (found < media.size()) {
      letter = letterOfMedium(found);
    } else if (!entry.isDevice() && isFolder(files_, entry.target)) {
      letter = Letter{drivetype::Fixed, NativePath(entry.target),
                      VolumeInfo{textOfName(NativePath(entry.target).filename().string()), 0, false}};
    } else if (!entry.isDevice() && (entry.type || !belowMediaFolder(entry.target))) {
      // The user's folder is not there now: the letter keeps the line's kind
      // (a hard disk unless it says otherwise) with no medium in it, so that
      // one run without the folder does not turn it into another kind of drive.
      letter = Letter{entry.type.value_or(drivetype::Fixed), std::nullopt, std::nullopt};
      continue;
    } else {
      continue;
    }
    // What the user wrote on the line wins over what the machine tells.
    if (entry.type) letter.type = *entry.type;
    if (entry.label && letter.volume) letter.volume->label = textOfName(*entry.label);
  }

  for (std::size_t i = 0; i < media.size(); ++i) {
    if (claimed[i]) continue;
    char letter = map.freeLetter();
    if (letter == 0) letter = recyclableLetter(map, letters_);
    if (letter == 0) break;
    map.assign(letter, media[i].identity());
    letters_[slotIndex(letter)] = letterOfMedium(i);
  }

  if (!map.changed()) return;
  // A map file that exists but cannot be read is never overwritten: it may
  // hold the user's own lines.
  if (readError && !mapMissing) {
    mapFileError_ = readError;
    return;
  }
  mapFileError_ = files_.writeFileAtomic(mapFile_, map.text());
}

const LinuxDrives::Letter* LinuxDrives::slotOf(char letter) const {
  const std::size_t slot = slotIndex(letter);
  return slot < letters_.size() ? &letters_[slot] : nullptr;
}

int LinuxDrives::driveType(char letter) {
  const Letter* slot = slotOf(letter);
  return slot ? slot->type : drivetype::NoRoot;
}

std::optional<NativePath> LinuxDrives::root(char letter) {
  const Letter* slot = slotOf(letter);
  return slot ? slot->root : std::nullopt;
}

std::optional<VolumeInfo> LinuxDrives::volume(char letter) {
  const Letter* slot = slotOf(letter);
  return slot ? slot->volume : std::nullopt;
}

std::optional<DriveSpace> LinuxDrives::space(char letter) {
  const std::optional<NativePath> folder = root(letter);
  if (!folder) return std::nullopt;
  struct statvfs info {};
  if (::statvfs(folder->c_str(), &info) != 0) return std::nullopt;
  const std::uint64_t unit = info.f_frsize ? info.f_frsize : info.f_bsize;
  return DriveSpace{static_cast<std::uint64_t>(info.f_blocks) * unit, static_cast<std::uint64_t>(info.f_bavail) * unit};
}

}  // namespace zevro
