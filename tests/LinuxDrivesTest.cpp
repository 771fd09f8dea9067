#include "platform/LinuxDrives.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include "BlockDeviceTree.h"
#include "TempFolder.h"
#include "platform/BlockDevices.h"
#include "platform/DriveMapFile.h"
#include "platform/LinuxFileSystem.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

namespace fs = std::filesystem;

// Mount table lines of the machine the tests pretend to be.
constexpr const char* RootLine = "26 1 254:0 / / rw - ext4 /dev/vda rw\n";
constexpr const char* ProcLine = "21 26 0:20 / /proc rw - proc proc rw\n";
constexpr const char* DiscLine = "50 26 11:0 / /media/kaori/DISC\\040ONE ro - iso9660 /dev/sr0 ro\n";
constexpr const char* StickLine = "51 26 8:17 / /media/kaori/STICK rw,nosuid shared:7 - vfat /dev/sdb1 rw\n";
constexpr const char* BackupLine = "52 26 8:2 / /mnt/backup rw - ext4 /dev/sda2 rw\n";
constexpr const char* BindLine = "53 26 8:2 /srv/x /mnt/bound rw - ext4 /dev/sda2 rw\n";
constexpr const char* StickAgainLine = "54 26 8:17 / /home/kaori/stick-again rw - vfat /dev/sdb1 rw\n";
constexpr const char* RunUserLine = "56 26 0:40 / /run/user/1000 rw - tmpfs tmpfs rw\n";
constexpr const char* HomeLine = "57 26 8:3 / /home rw - ext4 /dev/sda3 rw\n";
constexpr const char* OtherStickLine = "58 26 8:33 / /run/media/kaori/OTHER rw - exfat /dev/sdc1 rw\n";
constexpr const char* UuidNamedLine = "59 26 8:49 / /media/kaori/5E6F-7A8B rw - vfat /dev/sdd1 rw\n";
constexpr const char* ShareLine = "60 26 0:45 / /mnt/share rw - nfs4 nas:/share rw\n";
constexpr const char* ImageLine = "61 26 7:0 / /mnt/iso rw - iso9660 /dev/loop0 ro\n";

class LinuxDrivesTest : public ::testing::Test, protected test::TempFolder {
protected:
  LinuxDrivesTest() : TempFolder("zevro-drives"), tree(root()) {
    tree.addDisk("vda", 254, 0, false);
    tree.addDisk("sda", 8, 0, false);
    tree.addPartition("sda", "sda2", 8, 2);
    tree.addPartition("sda", "sda3", 8, 3);
    tree.addDisk("sdb", 8, 16, true);
    tree.addPartition("sdb", "sdb1", 8, 17);
    tree.addDisk("sdc", 8, 32, true);
    tree.addPartition("sdc", "sdc1", 8, 33);
    tree.addDisk("sdd", 8, 48, true);
    tree.addPartition("sdd", "sdd1", 8, 49);
    tree.addDisk("sr0", 11, 0, true);
    tree.addDisk("sr1", 11, 1, true);
    tree.addDisk("loop0", 7, 0, false);
    tree.addLabel("DISC\\x20ONE", "sr0");
    tree.addLabel("STICK", "sdb1");
    tree.addLabel("ROOTFS", "vda");
    tree.addUuid("2019-04-10-12-34-56-00", "sr0");
    tree.addUuid("1A2B-3C4D", "sdb1");
    tree.addUuid("5E6F-7A8B", "sdd1");
    tree.addUuid("0123456789ABCDEF", "vda");
  }

  // A look at the machine with this mount table and the map file of the test.
  LinuxDrives look(const std::string& mountInfo) {
    put("mountinfo", mountInfo);
    return LinuxDrives(files, mapFile(),
                       LinuxDrives::Sources{path("mountinfo"), tree.sysRoot(), tree.diskRoot(), path("hostname")});
  }
  NativePath mapFile() const { return path(DriveMapFile::FileName); }

  test::BlockDeviceTree tree;
  LinuxFileSystem files;
};

struct Expect {
  char letter;
  int type;
  std::optional<std::string> root;  // nullopt: no medium
  const char16_t* label;            // nullptr: no volume
  std::optional<std::uint32_t> serial;
};

void check(LinuxDrives& drives, const Expect& e) {
  SCOPED_TRACE(std::string("drive ") + e.letter);
  EXPECT_EQ(drives.driveType(e.letter), e.type);
  const std::optional<NativePath> root = drives.root(e.letter);
  ASSERT_EQ(root.has_value(), e.root.has_value());
  if (root) {
    EXPECT_EQ(root->native(), *e.root);
  }
  const std::optional<VolumeInfo> volume = drives.volume(e.letter);
  ASSERT_EQ(volume.has_value(), e.label != nullptr);
  if (!volume) return;
  EXPECT_EQ(volume->label, e.label);
  EXPECT_EQ(volume->hasSerial, e.serial.has_value());
  if (e.serial) {
    EXPECT_EQ(volume->serial, *e.serial);
  }
}

TEST_F(LinuxDrivesTest, MediaGetLettersFromDOnInMountOrder) {
  LinuxDrives drives = look(std::string(RootLine) + ProcLine + DiscLine + StickLine + BackupLine + BindLine +
                            StickAgainLine + RunUserLine + HomeLine);
  const std::uint32_t discSerial = BlockDevices::serialOfUuid("2019-04-10-12-34-56-00");
  const Expect rows[] = {
      {'C', drivetype::Fixed, "/", u"ROOTFS", 0x89ABCDEFu},
      // optical drive with a disc; blank in the mount path, label from udev
      {'D', drivetype::CdRom, "/media/kaori/DISC ONE", u"DISC ONE", discSerial},
      // USB stick: removable, FAT serial; its second mount gets no letter of its own
      {'E', drivetype::Removable, "/media/kaori/STICK", u"STICK", 0x1A2B3C4Du},
      // fixed disk below /mnt: label from the mount folder; its folder bind mount is no medium
      {'F', drivetype::Fixed, "/mnt/backup", u"backup", std::nullopt},
      // the empty optical drive
      {'G', drivetype::CdRom, std::nullopt, nullptr, std::nullopt},
      // nothing else: /proc, /run/user, /home are no media
      {'A', drivetype::NoRoot, std::nullopt, nullptr, std::nullopt},
      {'H', drivetype::NoRoot, std::nullopt, nullptr, std::nullopt},
      {'Z', drivetype::NoRoot, std::nullopt, nullptr, std::nullopt},
  };
  for (const Expect& row : rows) check(drives, row);
  EXPECT_EQ(drives.driveType('d'), drivetype::CdRom);
  EXPECT_EQ(drives.driveType('?'), drivetype::NoRoot);
  EXPECT_FALSE(drives.stateError());
  EXPECT_EQ(get(DriveMapFile::FileName),
            DriveMapFile::header() + "D\t/dev/sr0\nE\t/media/kaori/STICK\nF\t/mnt/backup\nG\t/dev/sr1\n");
}

TEST_F(LinuxDrivesTest, KindsOfFileSystemsBelowMediaFolders) {
  LinuxDrives drives = look(std::string(RootLine) + UuidNamedLine + ShareLine + ImageLine);
  const Expect rows[] = {
      // a medium without a label, mounted on a folder named by its UUID: no label
      {'D', drivetype::Removable, "/media/kaori/5E6F-7A8B", u"", 0x5E6F7A8Bu},
      {'E', drivetype::Network, "/mnt/share", u"share", std::nullopt},
      // a disc image through a loop device is a CD
      {'F', drivetype::CdRom, "/mnt/iso", u"iso", std::nullopt},
  };
  for (const Expect& row : rows) check(drives, row);
}

TEST_F(LinuxDrivesTest, LettersAreKeptAcrossRuns) {
  look(std::string(RootLine) + DiscLine + StickLine);  // D: optical, E: stick, F: empty sr1

  {  // the stick is gone, a new one appears, the disc is taken out
    LinuxDrives drives = look(std::string(RootLine) + OtherStickLine);
    check(drives, {'D', drivetype::CdRom, std::nullopt, nullptr, std::nullopt});
    check(drives, {'E', drivetype::NoRoot, std::nullopt, nullptr, std::nullopt});
    check(drives, {'F', drivetype::CdRom, std::nullopt, nullptr, std::nullopt});
    check(drives, {'G', drivetype::Removable, "/run/media/kaori/OTHER", u"OTHER", std::nullopt});
  }
  {  // both sticks and the disc back
    LinuxDrives drives = look(std::string(RootLine) + OtherStickLine + StickLine + DiscLine);
    check(drives, {'D', drivetype::CdRom, "/media/kaori/DISC ONE", u"DISC ONE",
                   BlockDevices::serialOfUuid("2019-04-10-12-34-56-00")});
    check(drives, {'E', drivetype::Removable, "/media/kaori/STICK", u"STICK", 0x1A2B3C4Du});
    check(drives, {'G', drivetype::Removable, "/run/media/kaori/OTHER", u"OTHER", std::nullopt});
  }
  EXPECT_EQ(get(DriveMapFile::FileName), DriveMapFile::header() +
                                             "D\t/dev/sr0\nE\t/media/kaori/STICK\nF\t/dev/sr1\n"
                                             "G\t/run/media/kaori/OTHER\n");
}

TEST_F(LinuxDrivesTest, UserMapsFoldersAndDrivesToLetters) {
  fs::create_directories(path("disc"));
  fs::create_directories(path("plain"));
  put(DriveMapFile::FileName,
      "# my letters\n"
      "K\t" +
          path("disc").native() +
          "\tCD\tGAMES\n"
          "L\t" +
          path("plain").native() +
          "/\n"
          "M\t" +
          path("missing").native() +
          "\n"
          "S\t/media/kaori/STICK\tHD\tRENAMED\n"
          "Z\t/dev/sr0\n");
  LinuxDrives drives = look(std::string(RootLine) + DiscLine + StickLine);
  const Expect rows[] = {
      {'K', drivetype::CdRom, path("disc").native(), u"GAMES", std::nullopt},
      {'L', drivetype::Fixed, path("plain").native(), u"plain", std::nullopt},
      // the user's folder that is not there keeps its kind, with no medium
      {'M', drivetype::Fixed, std::nullopt, nullptr, std::nullopt},
      // the user's kind and label win over the machine's
      {'S', drivetype::Fixed, "/media/kaori/STICK", u"RENAMED", 0x1A2B3C4Du},
      {'Z', drivetype::CdRom, "/media/kaori/DISC ONE", u"DISC ONE",
       BlockDevices::serialOfUuid("2019-04-10-12-34-56-00")},
      // only the empty second optical drive is new
      {'D', drivetype::CdRom, std::nullopt, nullptr, std::nullopt},
      {'E', drivetype::NoRoot, std::nullopt, nullptr, std::nullopt},
  };
  for (const Expect& row : rows) check(drives, row);

  const std::optional<DriveSpace> space = drives.space('K');
  ASSERT_TRUE(space.has_value());
  EXPECT_GT(space->total, 0u);
  EXPECT_LE(space->free, space->total);
  EXPECT_EQ(drives.space('M'), std::nullopt);
  EXPECT_EQ(drives.space('D'), std::nullopt);
}

TEST_F(LinuxDrivesTest, WhenLettersRunOutAnAbsentMediumsLetterIsReused) {
  fs::create_directories(path("mine"));
  std::string map;
  for (char c = 'D'; c <= 'W'; ++c) map += std::string(1, c) + "\t/media/kaori/GONE" + c + "\n";
  map += "X\t" + path("missing").native() + "\n";  // the user's own line: never taken
  map += "Y\t" + path("mine").native() + "\n";
  map += "Z\t/media/kaori/STICK\n";
  put(DriveMapFile::FileName, map);

  LinuxDrives drives = look(std::string(RootLine) + StickLine + OtherStickLine);
  check(drives, {'Z', drivetype::Removable, "/media/kaori/STICK", u"STICK", 0x1A2B3C4Du});
  check(drives, {'W', drivetype::Removable, "/run/media/kaori/OTHER", u"OTHER", std::nullopt});
  check(drives, {'X', drivetype::Fixed, std::nullopt, nullptr, std::nullopt});
  const DriveMapFile written = DriveMapFile::parse(get(DriveMapFile::FileName));
  EXPECT_EQ(written.find('W')->target, "/run/media/kaori/OTHER");
  EXPECT_EQ(written.find('X')->target, path("missing").native());
  // then the two optical drives, highest letters first
  EXPECT_EQ(written.find('V')->target, "/dev/sr0");
  EXPECT_EQ(written.find('U')->target, "/dev/sr1");
  EXPECT_EQ(written.find('T')->target, "/media/kaori/GONET");
}

TEST_F(LinuxDrivesTest, RefreshSeesNewMounts) {
  LinuxDrives drives = look(std::string(RootLine));
  EXPECT_EQ(drives.driveType('D'), drivetype::CdRom);  // sr0, empty
  EXPECT_EQ(drives.root('D'), std::nullopt);
  put("mountinfo", std::string(RootLine) + DiscLine);
  drives.refresh();
  check(drives, {'D', drivetype::CdRom, "/media/kaori/DISC ONE", u"DISC ONE",
                 BlockDevices::serialOfUuid("2019-04-10-12-34-56-00")});
}

TEST_F(LinuxDrivesTest, MapFileThatCannotBeReadIsNotOverwritten) {
  fs::create_directories(mapFile());  // a folder where the file should be
  LinuxDrives drives = look(std::string(RootLine) + StickLine);
  EXPECT_TRUE(drives.stateError());
  EXPECT_TRUE(fs::is_directory(mapFile()));
  // The letters hold for this run all the same.
  EXPECT_EQ(drives.driveType('D'), drivetype::Removable);
}

TEST_F(LinuxDrivesTest, MissingSourcesLeaveOnlyTheRoot) {
  LinuxDrives drives(files, mapFile(),
                     LinuxDrives::Sources{path("no-mountinfo"), path("no-sys"), path("no-disk"), path("no-hostname")});
  // The machine's name comes from the system when its file cannot be read.
  char host[256] = {};
  ASSERT_EQ(::gethostname(host, sizeof host - 1), 0);
  const Text machine = cp932::fromNativeName(host);
  check(drives, {'C', drivetype::Fixed, "/", machine.c_str(), std::nullopt});
  for (char c = 'D'; c <= 'Z'; ++c) EXPECT_EQ(drives.driveType(c), drivetype::NoRoot) << c;
}

TEST_F(LinuxDrivesTest, ARootWithoutALabelIsNamedAfterTheMachine) {
  // The root device has a label: the label wins over the host name.
  constexpr const char* OverlayRootLine = "26 1 0:31 / / rw - overlay overlay rw\n";
  put("hostname", "  kaori-pc \n");
  LinuxDrives labelled = look(RootLine);
  check(labelled, {'C', drivetype::Fixed, "/", u"ROOTFS", 0x89ABCDEFu});
  // A root without one (an overlay, as in a container) takes the host name.
  LinuxDrives unlabelled = look(OverlayRootLine);
  check(unlabelled, {'C', drivetype::Fixed, "/", u"kaori-pc", std::nullopt});
  // An empty name leaves the label empty.
  put("hostname", "\n");
  LinuxDrives nameless = look(OverlayRootLine);
  check(nameless, {'C', drivetype::Fixed, "/", u"", std::nullopt});
}

}  // namespace
}  // namespace zevro
