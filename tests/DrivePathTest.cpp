#include "media/DrivePath.h"

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "platform/FakeDrives.h"
#include "platform/LinuxFileSystem.h"

namespace zevro {
namespace {

class DrivePathTest : public ::testing::Test {
protected:
  DrivePathTest() {
    drives.set('C', {drivetype::Fixed, "/", u"", 0, false, {}, true});
    drives.set('E', {drivetype::CdRom, "/media/kaori/GAMES", u"GAMES", 0, false, {}, true});
    drives.set('F', {drivetype::Fixed, "/media/kaori/GAMES/SUB", u"", 0, false, {}, true});
    drives.set('G', {drivetype::CdRom, "/media/empty", u"", 0, false, {}, false});
    temp.put("DOCS/read.txt", "x");
    temp.put("docs2/A.TXT", "x");
    temp.put("docs2/a.txt", "x");
    drives.set('H', {drivetype::Fixed, temp.root(), u"", 0, false, {}, true});
  }
  test::TempFolder temp{"zevro-drivepath"};
  FakeDrives drives;
  LinuxFileSystem files;
};

TEST_F(DrivePathTest, LetterOf) {
  struct Row {
    const char16_t* text;
    char letter;
  } rows[] = {{u"E:", 'E'}, {u"e:\\X", 'E'}, {u"Z", 'Z'}, {u"", 0}, {u"1:", 0}, {u"\\\\server", 0}, {u"表", 0}};
  for (const Row& row : rows) EXPECT_EQ(drivepath::letterOf(row.text), row.letter);
}

TEST_F(DrivePathTest, DrivePathsToFoldersOfThisMachine) {
  struct Row {
    const char16_t* drivePath;
    std::optional<std::string> native;
  } rows[] = {
      {u"E:", "/media/kaori/GAMES"},
      {u"e:\\", "/media/kaori/GAMES"},
      {u"E:\\SOFT\\TOOLS", "/media/kaori/GAMES/SOFT/TOOLS"},
      {u"E:/SOFT/TOOLS/", "/media/kaori/GAMES/SOFT/TOOLS"},
      {u"E:\\表示\\a.txt", "/media/kaori/GAMES/表示/a.txt"},  // 表 ends in byte 0x5C in CP932
      {u"G:\\X", std::nullopt},                               // no medium
      {u"Q:\\X", std::nullopt},                               // no such drive
      {u"?:\\X", std::nullopt},
      {u"E:\\..", std::nullopt},  // out of the drive's root
      {u"E:\\SOFT\\..\\..\\etc", std::nullopt},
      {u"E:/SOFT/../TOOLS", std::nullopt},
      {u"E:\\..x\\a", "/media/kaori/GAMES/..x/a"},
      // names compare without case, the exact one first
      {u"H:\\docs\\READ.TXT", (temp.root() / "DOCS" / "read.txt").native()},
      {u"H:\\docs2\\a.txt", (temp.root() / "docs2" / "a.txt").native()},
      {u"H:\\docs2\\A.TXT", (temp.root() / "docs2" / "A.TXT").native()},
      {u"H:\\new\\Name", (temp.root() / "new" / "Name").native()},  // not there: as written
  };
  for (const Row& row : rows) {
    const std::optional<NativePath> native = drivepath::nativePathOf(drives, files, row.drivePath);
    ASSERT_EQ(native.has_value(), row.native.has_value()) << row.native.value_or("none");
    if (native) {
      EXPECT_EQ(native->native(), *row.native);
    }
  }
}

TEST_F(DrivePathTest, FoldersOfThisMachineToDrivePaths) {
  struct Row {
    const char* native;
    std::optional<Text> drivePath;
  } rows[] = {
      {"/media/kaori/GAMES", u"E:\\"},
      {"/media/kaori/GAMES/", u"E:\\"},
      {"/media/kaori/GAMES/SOFT/表示", u"E:\\SOFT\\表示"},
      {"/media/kaori/GAMES/SUB/X", u"F:\\X"},        // the closest root wins
      {"/media/kaori/GAMES/SUBWAY", u"E:\\SUBWAY"},  // whole names only
      {"/media/kaori/GAMES/./SOFT/../DOCS", u"E:\\DOCS"},
      {"/home/kaori", u"C:\\home\\kaori"},
      {"/", u"C:\\"},
      {"/media/empty/X", u"C:\\media\\empty\\X"},  // a drive without a medium holds nothing
      {"relative/path", std::nullopt},
  };
  for (const Row& row : rows) EXPECT_EQ(drivepath::drivePathOf(drives, row.native), row.drivePath) << row.native;
}

}  // namespace
}  // namespace zevro
