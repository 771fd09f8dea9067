#include "core/Startup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "core/OptionKeys.h"
#include "platform/FakeUi.h"
#include "platform/FaultyFileSystem.h"
#include "platform/LinuxFileSystem.h"

namespace zevro {
namespace {

namespace fs = std::filesystem;

class StartupTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "zevro-startup-XXXXXX").native();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root = pattern;
    program = root / "zevro";
    fs::create_directories(program);
  }
  void TearDown() override { fs::remove_all(root); }

  NativePath at(const std::string& relative) const { return program / relative; }

  void put(const std::string& relative, const std::string& bytes) const {
    fs::create_directories(at(relative).parent_path());
    std::ofstream(at(relative), std::ios::binary) << bytes;
  }

  std::string get(const std::string& relative) const {
    std::ifstream in(at(relative), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  bool there(const std::string& relative) const { return fs::exists(fs::symlink_status(at(relative))); }

  std::vector<std::string> namesIn(const std::string& relative) const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(at(relative))) names.push_back(e.path().filename().native());
    std::sort(names.begin(), names.end());
    return names;
  }

  StartupState start(const VersionNumbers& version = {1, 2, 1}) {
    OptionStore options(faulty, optionFilePath(program));
    EXPECT_FALSE(options.load());
    return startUp(platform, program, options, version);
  }

  NativePath root;
  NativePath program;
  LinuxFileSystem disk;
  FaultyFileSystem faulty{disk};
  FakeUi ui;
  Platform platform{faulty, ui};
};

TEST_F(StartupTest, AFreshProgramFolderGetsItsFoldersButNoOptionFile) {
  StartupState state = start();
  EXPECT_FALSE(state.refused);
  EXPECT_EQ(state.programFolder, program);
  EXPECT_EQ(state.catalogFolder, program / "Catalog");
  EXPECT_EQ(state.optionFile, program / "ZEVRO32.Opt");
  EXPECT_FALSE(state.optionFileExisted);
  EXPECT_TRUE(state.catalogFolderReady);
  EXPECT_FALSE(state.hasDriveListFiles);
  EXPECT_FALSE(state.hasOldListFiles);
  EXPECT_EQ(state.versionText, u"1.2A");
  EXPECT_EQ(namesIn(""), (std::vector<std::string>{"Backup", "Catalog", "temp"}));
  EXPECT_TRUE(ui.calls.empty());
}

TEST_F(StartupTest, TheRootFolderIsRefused) {
  OptionStore options(faulty, "/ZEVRO32.Opt");
  StartupState state = startUp(platform, "/", options, {});
  EXPECT_TRUE(state.refused);
  EXPECT_TRUE(state.catalogFolder.empty());
  EXPECT_EQ(faulty.calls(FaultyFileSystem::Op::CreateFolders), 0);
}

TEST_F(StartupTest, TheStoredCatalogDirIsMadeWhenMissingOrTheUserIsToldWhichIsUsed) {
  fs::create_directories(root / "elsewhere" / "catalogs");
  put("a-file", "x");
  struct Row {
    const char* what;
    std::string stored;  // the CatalogDir line; "" for none
    NativePath expected;
    bool told;  // the stored folder cannot be made: a message names both
  } rows[] = {
      {"no value", "", program / "Catalog", false},
      {"existing folder", "CatalogDir=" + (root / "elsewhere" / "catalogs").native(), root / "elsewhere" / "catalogs",
       false},
      {"folder of a Windows machine", "CatalogDir=C:\\ZEVRO\\Catalog", program / "Catalog", false},
      {"relative folder", "CatalogDir=Catalog2", program / "Catalog", false},
      {"missing folder in an existing one: made", "CatalogDir=" + (root / "gone").native(), root / "gone", false},
      {"folder whose parent is gone (a drive not mounted)", "CatalogDir=" + (root / "usb" / "Catalog").native(),
       program / "Catalog", true},
      {"a file", "CatalogDir=" + at("a-file").native(), program / "Catalog", true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    ui.calls.clear();
    const std::string bytes = "[Options]\r\n" + r.stored + "\r\n";
    put("ZEVRO32.Opt", bytes);
    StartupState state = start();
    EXPECT_TRUE(state.optionFileExisted);
    EXPECT_EQ(state.catalogFolder, r.expected);
    EXPECT_TRUE(state.catalogFolderReady);
    EXPECT_TRUE(fs::is_directory(r.expected));
    EXPECT_FALSE(fs::exists(root / "usb"));
    EXPECT_EQ(ui.messages().size(), r.told ? 1u : 0u);
    if (r.told && !ui.messages().empty()) {
      EXPECT_NE(ui.messages()[0].find(fromUtf8((program / "Catalog").native())), Text::npos);
    }
    EXPECT_EQ(get("ZEVRO32.Opt"), bytes);  // the stored value stays for the older version
  }
}

TEST_F(StartupTest, FilesOfOlderVersionsAreCopiedToTheirNewNames) {
  struct Row {
    const char* current;  // relative to the program folder
    const char* old;
    const char* currentThere;  // spelling of an existing new file, or nullptr
    const char* oldThere;      // spelling of the old file, or nullptr
    bool copied;
  } rows[] = {
      {"Catalog/CatList.CCZ", "Catalog/ZEVRO32.CAT", nullptr, "Catalog/ZEVRO32.CAT", true},
      {"Catalog/CatJan.CCZ", "Catalog/CatJan.DEF", nullptr, "Catalog/CatJan.DEF", true},
      {"CATDRV.CCZ", "CATDRV.DAT", nullptr, "CATDRV.DAT", true},
      {"Catalog.Opt", "_Catalog.INI", nullptr, "_Catalog.INI", true},
      {"Catalog/CatList.CCZ", "Catalog/ZEVRO32.CAT", nullptr, "Catalog/zevro32.cat", true},
      {"Catalog/CatJan.CCZ", "Catalog/CatJan.DEF", "Catalog/CatJan.CCZ", "Catalog/CatJan.DEF", false},
      {"CATDRV.CCZ", "CATDRV.DAT", "CATDRV.CCZ", "CATDRV.DAT", false},
      {"Catalog.Opt", "_Catalog.INI", "catalog.opt", "_Catalog.INI", false},
      {"Catalog/CatList.CCZ", "Catalog/ZEVRO32.CAT", nullptr, nullptr, false},
  };
  constexpr FileTime OldTime = 1000000000LL * 1000000000LL;
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.current) + " <- " + (r.oldThere ? r.oldThere : "nothing"));
    fs::remove_all(program);
    fs::create_directories(program / "Catalog");
    if (r.currentThere) put(r.currentThere, "new");
    if (r.oldThere) {
      put(r.oldThere, "old");
      ASSERT_FALSE(disk.setModified(at(r.oldThere), OldTime));
    }
    start();
    if (r.oldThere) {
      EXPECT_EQ(get(r.oldThere), "old");  // the old file stays for the older version
    }
    if (r.copied) {
      EXPECT_EQ(get(r.current), "old");
      EXPECT_EQ(disk.stat(at(r.current))->modified, OldTime);
    } else if (r.currentThere) {
      EXPECT_EQ(get(r.currentThere), "new");
      EXPECT_TRUE(r.currentThere == std::string(r.current) || !there(r.current));  // no second file beside it
    } else {
      EXPECT_FALSE(there(r.current));
    }
  }
}

TEST_F(StartupTest, ListFilesOfTheOldExtensionMoveToTheNewOne) {
  put("Catalog/_00CD_GAMES.CAT", "games");
  put("Catalog/_01fd_disk.cat", "disk");
  put("Catalog/_02HD_KEPT.CCT", "current");
  put("Catalog/_02HD_KEPT.CAT", "older copy");
  put("Catalog/ZEVRO32.CAT", "old index");
  put("Catalog/NOTES.CAT", "not a list file");
  start();
  EXPECT_EQ(namesIn("Catalog"), (std::vector<std::string>{"CatList.CCZ", "NOTES.CAT", "ZEVRO32.CAT", "_00CD_GAMES.CCT",
                                                          "_01fd_disk.CCT", "_02HD_KEPT.CCT"}));
  EXPECT_EQ(get("Catalog/_00CD_GAMES.CCT"), "games");
  EXPECT_EQ(get("Catalog/_01fd_disk.CCT"), "disk");
  EXPECT_EQ(get("Catalog/_02HD_KEPT.CCT"), "current");
  EXPECT_EQ(get("Catalog/CatList.CCZ"), "old index");
}

TEST_F(StartupTest, TellsWhichListFilesTheCatalogFolderHolds) {
  struct Row {
    const char* file;
    bool driveLists;
    bool oldLists;
  } rows[] = {
      {"_03CD_GAMES.CCT", true, false}, {"_00fd_x.cct", true, false}, {"_19HD_Data Disk.CCT", true, false},
      {"_00CD_X.DAT", false, true},     {"_00cd_x.dat", false, true}, {"_0CD_X.CCT", false, false},
      {"_03CD_X.CCJ", false, false},    {"README.DAT", false, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.file);
    fs::remove_all(program / "Catalog");
    put(std::string("Catalog/") + r.file, "x");
    StartupState state = start();
    EXPECT_EQ(state.hasDriveListFiles, r.driveLists);
    EXPECT_EQ(state.hasOldListFiles, r.oldLists);
  }
}

TEST_F(StartupTest, TheWorkFolderIsEmptiedAtStart) {
  put("temp/viewed.txt", "x");
  put("temp/picture.jpg", "y");
  put("Backup/_00CD_A.CCT", "kept");
  start();
  EXPECT_TRUE(namesIn("temp").empty());
  EXPECT_EQ(get("Backup/_00CD_A.CCT"), "kept");
}

TEST(StartupVersion, VersionTextTakesLastDigitsAndARevisionLetter) {
  struct Row {
    VersionNumbers version;
    Text text;
  } rows[] = {
      {{1, 2, 0}, u"1.2"}, {{1, 2, 1}, u"1.2A"}, {{3, 5, 26}, u"3.5Z"}, {{12, 30, 3}, u"2.0C"}, {{0, 0, 0}, u"0.0"},
  };
  for (const Row& r : rows) EXPECT_EQ(versionText(r.version), r.text);
}

}  // namespace
}  // namespace zevro
