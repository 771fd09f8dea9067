#include "platform/BlockDevices.h"

#include <gtest/gtest.h>

#include "BlockDeviceTree.h"
#include "TempFolder.h"

namespace zevro {
namespace {

TEST(BlockDevicesTest, SerialOfUuid) {
  struct Row {
    const char* uuid;
    std::uint32_t serial;
  } rows[] = {
      {"1A2B-3C4D", 0x1A2B3C4Du},  // FAT, as the system that made it reports it
      {"1a2b-3c4d", 0x1A2B3C4Du}, {"0000-0001", 0x00000001u},
      {"FFFF-FFFF", 0xFFFFFFFFu}, {"0123456789ABCDEF", 0x89ABCDEFu},  // NTFS: the low half
  };
  for (const Row& row : rows) EXPECT_EQ(BlockDevices::serialOfUuid(row.uuid), row.serial) << row.uuid;
}

TEST(BlockDevicesTest, OtherUuidsHashToDistinctSerials) {
  const char* uuids[] = {"2019-04-10-12-34-56-00", "6f1c7e0a-3b9d-4c51-a0f2-9e3d2b1c4a55",
                         "6f1c7e0a-3b9d-4c51-a0f2-9e3d2b1c4a56", "1A2B-3C4G", "1A2B3C4D"};
  for (std::size_t i = 0; i < std::size(uuids); ++i) {
    for (std::size_t j = i + 1; j < std::size(uuids); ++j)
      EXPECT_NE(BlockDevices::serialOfUuid(uuids[i]), BlockDevices::serialOfUuid(uuids[j]))
          << uuids[i] << " " << uuids[j];
  }
  // Not read as FAT hex: "1A2B3C4D" would be 0x1A2B3C4D.
  EXPECT_NE(BlockDevices::serialOfUuid("1A2B3C4D"), 0x1A2B3C4Du);
}

TEST(BlockDevicesTest, UdevEscapesAreDecoded) {
  struct Row {
    const char* encoded;
    const char* decoded;
  } rows[] = {
      {"MY\\x20DISK", "MY DISK"},
      {"A\\x2fB", "A/B"},
      {"\\xe6\\x97\\xa5", "\xE6\x97\xA5"},
      {"\xE6\x97\xA5", "\xE6\x97\xA5"},  // udev keeps UTF-8 as it is
      {"no\\x2", "no\\x2"},
      {"not\\xzz", "not\\xzz"},
  };
  for (const Row& row : rows) EXPECT_EQ(BlockDevices::decodeUdevEscapes(row.encoded), row.decoded) << row.encoded;
}

class BlockDevicesTreeTest : public ::testing::Test, protected test::TempFolder {
protected:
  BlockDevicesTreeTest() : TempFolder("zevro-blk"), tree(root()) {
    tree.addDisk("sda", 8, 0, false);
    tree.addPartition("sda", "sda2", 8, 2);
    tree.addDisk("sdb", 8, 16, true);
    tree.addPartition("sdb", "sdb1", 8, 17);
    tree.addDisk("sr0", 11, 0, true);
    tree.addDisk("sr1", 11, 1, true);
    tree.addDisk("fd0", 2, 0, true);
    tree.addLabel("MY\\x20DISK", "sdb1");
    tree.addUuid("1A2B-3C4D", "sdb1");
  }
  test::BlockDeviceTree tree;
  BlockDevices devices{tree.sysRoot(), tree.diskRoot()};
};

TEST_F(BlockDevicesTreeTest, DeviceOfAMount) {
  struct Row {
    unsigned major, minor;
    const char* source;
    std::optional<std::string> name;
    bool removable;
  } rows[] = {
      {8, 2, "/dev/sda2", "sda2", false},   // a partition of a fixed disk
      {8, 17, "/dev/sdb1", "sdb1", true},   // a partition: the disk tells "removable"
      {11, 0, "/dev/sr0", "sr0", true},     // a whole drive
      {8, 99, "/dev/sdz9", "sdz9", false},  // unknown to sysfs: the source's name
      {0, 45, "nas:/share", std::nullopt, false}, {0, 46, "tmpfs", std::nullopt, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.source);
    const std::optional<BlockDevices::Device> device = devices.deviceOf(row.major, row.minor, row.source);
    ASSERT_EQ(device.has_value(), row.name.has_value());
    if (!device) continue;
    EXPECT_EQ(device->name, *row.name);
    EXPECT_EQ(device->removable, row.removable);
  }
}

TEST_F(BlockDevicesTreeTest, DrivesLabelsAndUuids) {
  EXPECT_EQ(devices.drivesNamed("sr"), (std::vector<std::string>{"sr0", "sr1"}));
  EXPECT_EQ(devices.drivesNamed("fd"), (std::vector<std::string>{"fd0"}));
  EXPECT_TRUE(devices.drivesNamed("sd").empty());  // "sda": no digit after the prefix
  EXPECT_EQ(devices.labelOf("sdb1"), "MY DISK");
  EXPECT_EQ(devices.uuidOf("sdb1"), "1A2B-3C4D");
  EXPECT_EQ(devices.labelOf("sda2"), std::nullopt);
  EXPECT_EQ(devices.uuidOf("sdb"), std::nullopt);
}

TEST(BlockDevicesMissingTest, MissingTreesKnowNothing) {
  const BlockDevices devices("/nonexistent-zevro/sys", "/nonexistent-zevro/disk");
  EXPECT_TRUE(devices.drivesNamed("sr").empty());
  EXPECT_EQ(devices.labelOf("sr0"), std::nullopt);
  EXPECT_EQ(devices.uuidOf("sr0"), std::nullopt);
  EXPECT_EQ(devices.deviceOf(0, 30, "tmpfs"), std::nullopt);
}

}  // namespace
}  // namespace zevro
