#include "platform/ProgramFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <map>

#include "platform/FaultyFileSystem.h"
#include "platform/LinuxFileSystem.h"

namespace zevro {
namespace {

namespace fs = std::filesystem;

class ProgramFolderTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "zevro-progdir-XXXXXX").native();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root = pattern;
  }
  void TearDown() override { fs::remove_all(root); }

  EnvironmentLookup environment(std::map<std::string, std::string> values) {
    return [values](const char* name) -> std::string {
      auto it = values.find(name);
      return it == values.end() ? std::string() : it->second;
    };
  }

  NativePath root;
  LinuxFileSystem disk;
};

TEST_F(ProgramFolderTest, FirstGivenSourceWinsAndFolderIsCreated) {
  const std::string r = root.native();
  struct Row {
    const char* name;
    std::string argument;
    std::map<std::string, std::string> env;
    std::string expected;
  } rows[] = {
      {"argument first",
       r + "/arg",
       {{"ZEVRO_HOME", r + "/zh"}, {"XDG_DATA_HOME", r + "/xdg"}, {"HOME", r + "/h"}},
       r + "/arg"},
      {"then ZEVRO_HOME",
       "",
       {{"ZEVRO_HOME", r + "/zh"}, {"XDG_DATA_HOME", r + "/xdg"}, {"HOME", r + "/h"}},
       r + "/zh"},
      {"then XDG_DATA_HOME", "", {{"XDG_DATA_HOME", r + "/xdg"}, {"HOME", r + "/h"}}, r + "/xdg/zevro"},
      {"then HOME", "", {{"HOME", r + "/h"}}, r + "/h/.local/share/zevro"},
      {"empty values count as unset",
       "",
       {{"ZEVRO_HOME", ""}, {"XDG_DATA_HOME", ""}, {"HOME", r + "/h"}},
       r + "/h/.local/share/zevro"},
      {"relative XDG_DATA_HOME is ignored",
       "",
       {{"XDG_DATA_HOME", "rel/xdg"}, {"HOME", r + "/h2"}},
       r + "/h2/.local/share/zevro"},
      {"trailing separators and dots go", r + "/a/./b//", {}, r + "/a/b"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ProgramFolderResult result = settleProgramFolder(disk, row.argument, environment(row.env));
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(result.path, NativePath(row.expected));
    EXPECT_TRUE(fs::is_directory(row.expected));
  }
}

TEST_F(ProgramFolderTest, RelativeArgumentIsTakenFromCurrentFolder) {
  EXPECT_EQ(chooseProgramFolder("rel/dir", environment({})), fs::current_path() / "rel/dir");
  EXPECT_EQ(chooseProgramFolder("", environment({{"ZEVRO_HOME", "zh"}})), fs::current_path() / "zh");
}

TEST_F(ProgramFolderTest, NoSourceAtAllIsAnError) {
  ProgramFolderResult result = settleProgramFolder(disk, "", environment({}));
  EXPECT_TRUE(result.path.empty());
  EXPECT_NE(result.error.find("HOME"), std::string::npos);
}

TEST_F(ProgramFolderTest, ExistingFolderIsKept) {
  fs::create_directories(root / "p");
  std::ofstream(root / "p" / "ZEVRO32.Opt") << "x";
  ProgramFolderResult result = settleProgramFolder(disk, (root / "p").native(), environment({}));
  EXPECT_EQ(result.error, "");
  EXPECT_TRUE(fs::exists(root / "p" / "ZEVRO32.Opt"));
}

TEST_F(ProgramFolderTest, FolderThatCannotBeMadeIsAnErrorNamingIt) {
  std::ofstream(root / "file") << "x";
  ProgramFolderResult notFolder = settleProgramFolder(disk, (root / "file").native(), environment({}));
  EXPECT_TRUE(notFolder.path.empty());
  EXPECT_NE(notFolder.error.find((root / "file").native()), std::string::npos);

  FaultyFileSystem faulty(disk);
  faulty.fail(FaultyFileSystem::Op::CreateFolders, EACCES);
  ProgramFolderResult refused = settleProgramFolder(faulty, (root / "new").native(), environment({}));
  EXPECT_TRUE(refused.path.empty());
  EXPECT_NE(refused.error.find((root / "new").native()), std::string::npos);
  EXPECT_NE(refused.error.find(LinuxFileSystem::errorOf(EACCES).text), std::string::npos);
  EXPECT_FALSE(fs::exists(root / "new"));
}

}  // namespace
}  // namespace zevro
