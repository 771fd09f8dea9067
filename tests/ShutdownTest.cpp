#include "core/Shutdown.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "core/OptionKeys.h"
#include "core/ShutdownMessages.h"
#include "listview/MainWindowOptions.h"
#include "platform/FakeUi.h"
#include "platform/FaultyFileSystem.h"
#include "platform/LinuxFileSystem.h"

namespace zevro {
namespace {

namespace fs = std::filesystem;

class ShutdownTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "zevro-shutdown-XXXXXX").native();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root = pattern;
  }
  void TearDown() override { fs::remove_all(root); }

  void put(const std::string& relative, const std::string& bytes) const {
    fs::create_directories((root / relative).parent_path());
    std::ofstream(root / relative, std::ios::binary) << bytes;
  }

  std::string get(const std::string& relative) const {
    std::ifstream in(root / relative, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  NativePath root;
  LinuxFileSystem disk;
  FaultyFileSystem faulty{disk};
  FakeUi ui;
  Platform platform{faulty, ui};
};

TEST_F(ShutdownTest, TheMainWindowsOptionsAreWrittenWithGeometryOnlyInTheNormalState) {
  MainWindowOptions settings;
  settings.windowX = 120;
  settings.windowY = -15;
  settings.width = 9000;
  settings.height = 6000;
  settings.displayMode = 2;
  settings.janreOpen = u"31000000000000000000";
  settings.alphaSame = true;
  settings.listWidths = {91, 92, 95, 93};
  settings.fileWidths = {211, 212, 230, 213};
  const std::string common =
      "FolderPercentH= 50\r\nFolderPercentV= 50\r\nFileFrames= 2\r\nCurrentJanreNo= 0\r\n"
      "JanreOpen=31000000000000000000\r\nAlphaSame=-1\r\nHanZenSame= 0\r\nFindTerm= 0\r\nUseWildCard= 0\r\n"
      "ListWidthNm0= 91\r\nFileWidthNm0= 211\r\nListWidthWm0= 92\r\nFileWidthWm0= 212\r\n"
      "ListWidthNs0= 95\r\nFileWidthNs0= 230\r\nListWidthWs0= 93\r\nFileWidthWs0= 213\r\n";
  struct Row {
    bool normal;
    std::string bytes;
  } rows[] = {
      {true, "[Options]\r\nWindowX= 120\r\nWindowY=-15\r\nWIDTH= 9000\r\nHEIGHT= 6000\r\n" + common},
      {false, "[Options]\r\n" + common},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.normal);
    fs::remove(root / "ZEVRO32.Opt");
    OptionStore options(disk, root / "ZEVRO32.Opt");
    ASSERT_FALSE(options.load());
    settings.write(options, r.normal);
    EXPECT_TRUE(saveOptions(platform, options));
    EXPECT_EQ(get("ZEVRO32.Opt"), r.bytes);
  }
  EXPECT_TRUE(ui.calls.empty());
}

TEST_F(ShutdownTest, AFailedOptionSaveIsShownAndLeavesTheOldFile) {
  put("ZEVRO32.Opt", "[Options]\r\nFileFrames= 4\r\n");
  OptionStore options(faulty, root / "ZEVRO32.Opt");
  ASSERT_FALSE(options.load());
  options.writeNumber(opt::FileFrames, 1);
  faulty.fail(FaultyFileSystem::Op::Write, ENOSPC);
  EXPECT_FALSE(saveOptions(platform, options));
  EXPECT_EQ(get("ZEVRO32.Opt"), "[Options]\r\nFileFrames= 4\r\n");
  EXPECT_EQ(ui.messages(), std::vector<Text>{Text(MsgFileWriteError) + fromUtf8((root / "ZEVRO32.Opt").native())});
}

TEST_F(ShutdownTest, EmptiesTheWorkFoldersWithoutFollowingLinks) {
  put("outside/precious.txt", "keep");
  put("TempFile/archive/member.txt", "x");
  put("temp/viewed.txt", "x");
  fs::create_directory_symlink(root / "outside", root / "TempFile" / "archive" / "link");
  fs::create_directories(root / "temp" / "sub");
  EXPECT_TRUE(emptyWorkFolders(platform, root));
  EXPECT_FALSE(fs::exists(root / "TempFile"));
  EXPECT_TRUE(fs::exists(root / "temp"));
  EXPECT_FALSE(fs::exists(root / "temp" / "viewed.txt"));
  EXPECT_EQ(get("outside/precious.txt"), "keep");
  EXPECT_TRUE(ui.calls.empty());
}

TEST_F(ShutdownTest, MissingWorkFoldersAreNoError) {
  EXPECT_TRUE(emptyWorkFolders(platform, root));
  EXPECT_TRUE(ui.calls.empty());
}

TEST_F(ShutdownTest, AFolderThatCannotBeEmptiedIsShownAndTheRestGoesOn) {
  struct Row {
    const char* what;
    FaultyFileSystem::Op op;
    std::string failing;  // relative path the fault applies to
    std::string shown;    // folder named in the message
  } rows[] = {
      {"extraction folder", FaultyFileSystem::Op::RemoveTree, "TempFile", "TempFile"},
      {"work folder", FaultyFileSystem::Op::Remove, "temp/viewed.txt", "temp"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    put("TempFile/member.txt", "x");
    put("temp/viewed.txt", "x");
    ui.calls.clear();
    faulty.clearFaults();
    faulty.fail(r.op, EACCES, root / r.failing, -1);
    EXPECT_FALSE(emptyWorkFolders(platform, root));
    EXPECT_EQ(ui.messages(), std::vector<Text>{Text(MsgDirAccessError) + fromUtf8((root / r.shown).native())});
    // Only the failing folder keeps its files; the other was emptied all the same.
    EXPECT_EQ(fs::exists(root / "TempFile" / "member.txt"), r.shown == "TempFile");
    EXPECT_EQ(fs::exists(root / "temp" / "viewed.txt"), r.shown == "temp");
  }
}

}  // namespace
}  // namespace zevro
