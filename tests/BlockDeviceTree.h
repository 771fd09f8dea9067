#pragma once
// A made-up /sys and /dev/disk for the drive tests, built in a temporary
// folder the way the kernel and udev lay them out:
//   sys/devices/blk/sdb/removable, sys/devices/blk/sdb/sdb1/partition,
//   sys/dev/block/8:17 -> ../../devices/blk/sdb/sdb1, sys/block/sdb -> ../devices/blk/sdb,
//   disk/by-label/MY\x20DISK -> ../../sdb1, disk/by-uuid/1A2B-3C4D -> ../../sdb1
#include <filesystem>
#include <fstream>
#include <string>

namespace zevro::test {

class BlockDeviceTree {
public:
  explicit BlockDeviceTree(std::filesystem::path root) : root_(std::move(root)) {
    std::filesystem::create_directories(sysRoot() / "dev" / "block");
    std::filesystem::create_directories(sysRoot() / "block");
    std::filesystem::create_directories(diskRoot() / "by-label");
    std::filesystem::create_directories(diskRoot() / "by-uuid");
  }

  std::filesystem::path sysRoot() const { return root_ / "sys"; }
  std::filesystem::path diskRoot() const { return root_ / "disk"; }

  // A whole disk (or drive) like "sdb" or "sr0".
  void addDisk(const std::string& name, unsigned major, unsigned minor, bool removable) {
    const std::filesystem::path folder = sysRoot() / "devices" / "blk" / name;
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "removable") << (removable ? "1\n" : "0\n");
    link(sysRoot() / "dev" / "block" / number(major, minor), "../../devices/blk/" + name);
    link(sysRoot() / "block" / name, "../devices/blk/" + name);
  }

  // A partition like "sdb1" of a disk added before.
  void addPartition(const std::string& disk, const std::string& name, unsigned major, unsigned minor) {
    const std::filesystem::path folder = sysRoot() / "devices" / "blk" / disk / name;
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "partition") << "1\n";
    link(sysRoot() / "dev" / "block" / number(major, minor), "../../devices/blk/" + disk + "/" + name);
  }

  // udev's links; the name as udev writes it, escapes and all ("MY\x20DISK").
  void addLabel(const std::string& encodedLabel, const std::string& device) {
    link(diskRoot() / "by-label" / encodedLabel, "../../" + device);
  }
  void addUuid(const std::string& uuid, const std::string& device) {
    link(diskRoot() / "by-uuid" / uuid, "../../" + device);
  }

private:
  static std::string number(unsigned major, unsigned minor) {
    return std::to_string(major) + ":" + std::to_string(minor);
  }
  static void link(const std::filesystem::path& at, const std::string& target) {
    std::filesystem::create_symlink(target, at);
  }

  std::filesystem::path root_;
};

}  // namespace zevro::test
