#include "core/FileOps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "TempFolder.h"
#include "platform/FakeUi.h"
#include "platform/FaultyFileSystem.h"
#include "platform/LinuxFileSystem.h"

namespace zevro {
namespace {

namespace fs = std::filesystem;
using namespace fileops;

class FileOpsTest : public ::testing::Test, protected test::TempFolder {
protected:
  FileOpsTest() : TempFolder("zevro-fileops") { faulty.setHome(root / "home-of-user"); }

  NativePath root = TempFolder::root();
  LinuxFileSystem disk;
  FaultyFileSystem faulty{disk};
  FakeUi ui;
  Platform platform{faulty, ui};
};

Text list(std::initializer_list<const char16_t*> names) {
  Text out;
  for (const char16_t* n : names) out += Text(1, ch::ListSep) + n;
  if (names.size() > 0) out += ch::ListSep;
  return out;
}

constexpr int QuestionFlags = mb::YesNo | mb::DefaultSecond;

// --- Names and patterns ---------------------------------------------------

TEST(FileOpsWildcard, MatchesLikeTheCatalogsFileSystems) {
  struct Row {
    const char16_t* pattern;
    const char16_t* name;
    bool matches;
  } rows[] = {
      {u"_????_*.CCT", u"_03cd_x.cct", true},
      {u"_????_*.CCT", u"_03CD_.CCT", true},
      {u"_????_*.CCT", u"_3cd_x.cct", false},
      {u"_????_*.CCT", u"_03cd_x.cctx", false},
      {u"*", u"", true},
      {u"*", u".hidden", true},
      {u"?", u"", false},
      {u"?.TXT", u".TXT", false},
      {u"*.*", u"README", false},
      {u"*.TXT", u"A.B.TXT", true},
      {u"a*b*c", u"aXXbYYbc", true},
      {u"a*b*c", u"aXXbYYbcd", false},
      {u"README", u"readme", true},
      {u"表*", u"表示.txt", true},
      {u"ＡＢ", u"ａｂ", false},
      {u"?", u"表", true},
      {u"", u"", true},
      {u"", u"a", false},
      {u"**x", u"abx", true},
      {u"[a]", u"a", false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(toUtf8(Text(r.pattern)) + " ~ " + toUtf8(Text(r.name)));
    EXPECT_EQ(matchesWildcard(r.pattern, r.name), r.matches);
  }
}

// --- Existence and listings -----------------------------------------------

TEST_F(FileOpsTest, FileExistsMatchesFilesOnlyIgnoringCase) {
  put("data/_03cd_x.cct", "x");
  put("data/readme.TXT", "r");
  fs::create_directories(path("data/Docs.CCT"));
  fs::create_directories(path("data/sub"));
  fs::create_directory_symlink(path("data/sub"), path("data/folderLink"));
  struct Row {
    const char* path;
    bool exists;
  } rows[] = {
      {"data/_????_*.CCT", true}, {"data/*.cct", true},     {"data/README.txt", true},
      {"data/Docs.CCT", false},   {"data/Doc?.CCT", false}, {"data/sub", false},
      {"data/folderLink", false}, {"data/missing", false},  {"missing/*", false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.path);
    EXPECT_EQ(fileExists(faulty, path(r.path)), r.exists);
  }
  EXPECT_FALSE(fileExists(faulty, path("data"), u""));
}

TEST_F(FileOpsTest, FolderExistsMatchesFoldersAndLinksToThem) {
  put("data/file.txt", "x");
  fs::create_directories(path("data/Backup"));
  fs::create_directory_symlink(path("data/Backup"), path("data/link"));
  struct Row {
    const char* path;
    bool exists;
  } rows[] = {
      {"data", true},      {"data/", true},          {"data/backup", true}, {"data/BACK*", true},
      {"data/link", true}, {"data/file.txt", false}, {"data/none", false},  {"none/Backup", false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.path);
    EXPECT_EQ(folderExists(faulty, path(r.path)), r.exists);
  }
  EXPECT_TRUE(folderExists(faulty, "/"));
}

TEST_F(FileOpsTest, ListFilesFindsMatchingFilesSortedAsNameList) {
  put("list/_03cd_x.cct", "x");
  put("list/_03FD_B.CCT", "b");
  put("list/_3cd_short.cct", "s");
  put("list/_03cd_x.txt", "t");
  fs::create_directories(path("list/_03cd_folder.cct"));
  struct Row {
    const char16_t* pattern;
    Text expected;
  } rows[] = {
      {u"_????_*.CCT", list({u"_03FD_B.CCT", u"_03cd_x.cct"})},
      {u"*.TXT", list({u"_03cd_x.txt"})},
      {u"*.none", Text()},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(toUtf8(Text(r.pattern)));
    EXPECT_EQ(listFiles(faulty, path("list"), r.pattern), r.expected);
  }
  EXPECT_EQ(listFiles(faulty, path("missing"), u"*"), Text());
}

TEST_F(FileOpsTest, ListFoldersSkipsHiddenOnesAndFiles) {
  fs::create_directories(path("top/B"));
  fs::create_directories(path("top/a"));
  fs::create_directories(path("top/.hidden"));
  put("top/c", "file");
  EXPECT_EQ(listFolders(faulty, path("top"), u"*"), list({u"B", u"a"}));
  EXPECT_EQ(listFolders(faulty, path("top"), u"b"), list({u"B"}));
  EXPECT_EQ(listFolders(faulty, path("top/a"), u"*"), Text());
}

TEST_F(FileOpsTest, FileSizeIsTheFirstMatchExactSpellingFirst) {
  put("s/Big.DAT", std::string(1000, 'b'));
  put("s/big.dat", std::string(10, 'b'));
  put("s/x.bin", std::string(7, 'x'));
  struct Row {
    const char* path;
    std::uint64_t size;
  } rows[] = {{"s/big.dat", 10}, {"s/Big.DAT", 1000}, {"s/BIG.DAT", 1000}, {"s/*.bin", 7}, {"s/none", 0}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.path);
    EXPECT_EQ(fileSize(faulty, path(r.path)), r.size);
  }
}

// --- Deleting -------------------------------------------------------------

TEST_F(FileOpsTest, DeleteFileFindsItIgnoringCase) {
  put("d/Note.TXT", "n");
  put("d/keep.txt", "k");
  deleteFile(faulty, path("d/NOTE.txt"));
  deleteFile(faulty, path("d/missing"));
  EXPECT_EQ(namesIn("d"), std::vector<std::string>{"keep.txt"});
}

TEST_F(FileOpsTest, ClearForWritingMakesWritableWithoutDeleting) {
  put("w/ro.txt", "old");
  ASSERT_FALSE(disk.setReadOnly(path("w/ro.txt"), true));
  EXPECT_TRUE(clearForWriting(faulty, path("w/RO.TXT")));
  EXPECT_EQ(get("w/ro.txt"), "old");
  EXPECT_FALSE(disk.stat(path("w/ro.txt"))->readOnly);
  EXPECT_TRUE(clearForWriting(faulty, path("w/missing")));

  ASSERT_FALSE(disk.setReadOnly(path("w/ro.txt"), true));
  faulty.fail(FaultyFileSystem::Op::SetReadOnly, EPERM);
  EXPECT_FALSE(clearForWriting(faulty, path("w/ro.txt")));
}

TEST_F(FileOpsTest, DeleteFilesOfFolderKeepsSubfolders) {
  put("f/a.txt", "a");
  put("f/B.TXT", "b");
  put("f/sub/c.txt", "c");
  deleteFilesOfFolder(faulty, path("f"));
  EXPECT_EQ(namesIn("f"), std::vector<std::string>{"sub"});
  EXPECT_EQ(get("f/sub/c.txt"), "c");
}

TEST_F(FileOpsTest, DeleteFolderTreeRemovesLinksWithoutFollowingThem) {
  put("outside/keep.txt", "1");
  put("outside/deep/keep.txt", "2");
  put("tree/a.txt", "a");
  put("tree/.hidden/b.txt", "b");
  put("tree/sub/c.txt", "c");
  fs::create_directory_symlink(path("outside"), path("tree/toOutside"));
  fs::create_directory_symlink(path("outside"), path("tree/sub/toOutside"));
  fs::create_symlink(path("outside/keep.txt"), path("tree/toFile"));

  EXPECT_TRUE(deleteFolderTree(platform, path("tree")));
  EXPECT_FALSE(there("tree"));
  EXPECT_EQ(get("outside/keep.txt"), "1");
  EXPECT_EQ(get("outside/deep/keep.txt"), "2");
  EXPECT_TRUE(ui.calls.empty());
}

TEST_F(FileOpsTest, DeleteFolderTreeOfLinkRemovesOnlyTheLink) {
  put("outside/keep.txt", "1");
  fs::create_directory_symlink(path("outside"), path("link"));
  fs::create_directory_symlink(path("outside"), path("link2"));
  EXPECT_TRUE(deleteFolderTree(platform, path("link")));
  EXPECT_TRUE(deleteFolderTree(platform, path("link2/")));
  EXPECT_EQ(namesIn(""), std::vector<std::string>{"outside"});
  EXPECT_EQ(get("outside/keep.txt"), "1");
}

TEST_F(FileOpsTest, DeleteFolderTreeReportsFileThatStaysAndGoesOn) {
  put("tree/stuck.txt", "s");
  put("tree/other.txt", "o");
  put("tree/sub/x.txt", "x");
  faulty.fail(FaultyFileSystem::Op::Remove, EACCES, path("tree/stuck.txt"), -1);
  EXPECT_FALSE(deleteFolderTree(platform, path("tree")));
  EXPECT_EQ(namesIn("tree"), std::vector<std::string>{"stuck.txt"});
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(ui.calls[0].text, cannotDeleteText(path("tree/stuck.txt")));
  EXPECT_EQ(ui.calls[0].text, Text(u"ファイルを削除できません\r\r") + fromUtf8(path("tree/stuck.txt").native()));
  EXPECT_EQ(ui.calls[0].flags, mb::Ok);
}

TEST_F(FileOpsTest, DeletingMountPointAsksTwiceAndNoRemovesNothing) {
  struct Row {
    std::vector<int> answers;
    int questions;
    bool removed;
  } rows[] = {
      {{}, 1, false},  // no answer scripted: the cautious one
      {{AnswerNo}, 1, false},
      {{AnswerYes, AnswerNo}, 2, false},
      {{AnswerYes, AnswerYes}, 2, true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.questions);
    put("medium/file.txt", "f");
    put("medium/sub/g.txt", "g");
    faulty.setDevice(path("medium"), 4242);
    ui = FakeUi();
    ui.answers.assign(r.answers.begin(), r.answers.end());

    EXPECT_EQ(deleteFolderTree(platform, path("medium")), r.removed);
    ASSERT_EQ(static_cast<int>(ui.calls.size()), r.questions);
    EXPECT_EQ(ui.calls[0].text, rootQuestionText(path("medium")));
    EXPECT_EQ(ui.calls[0].flags, QuestionFlags);
    if (r.questions == 2) {
      EXPECT_EQ(ui.calls[1].text, rootWarningText(path("medium")));
      EXPECT_EQ(ui.calls[1].flags, QuestionFlags);
    }
    EXPECT_EQ(there("medium/file.txt"), !r.removed);
    EXPECT_EQ(there("medium/sub/g.txt"), !r.removed);
  }
}

TEST_F(FileOpsTest, RootQuestionsNameTheFolderWhereADriveLetterWouldStand) {
  const NativePath medium = "/media/usb";
  EXPECT_EQ(rootQuestionText(medium),
            Text(MsgRootQuestionHead) + u"/media/usb" + Text(MsgRootQuestionTail) + u"\r\r" + Text(MsgRootQuestionAsk));
  EXPECT_EQ(rootWarningText(medium), Text(MsgRootWarningHead) + u"/media/usb" + Text(MsgRootWarningTail));
}

TEST_F(FileOpsTest, MountPointBelowTheTreeIsAskedAboutToo) {
  put("tree/a.txt", "a");
  put("tree/mnt/on-medium.txt", "m");
  faulty.setDevice(path("tree/mnt"), 77);
  ui.answers = {AnswerNo};
  EXPECT_FALSE(deleteFolderTree(platform, path("tree")));
  ASSERT_EQ(ui.calls.size(), 1u);
  EXPECT_EQ(ui.calls[0].text, rootQuestionText(path("tree/mnt")));
  EXPECT_EQ(get("tree/mnt/on-medium.txt"), "m");
  EXPECT_FALSE(there("tree/a.txt"));
}

TEST_F(FileOpsTest, SystemRootAndHomeAreRefusedWithoutQuestions) {
  put("home-of-user/mine.txt", "m");
  const NativePath refused[] = {"/", "//", "/.", path("home-of-user"), path("home-of-user/"), root, ""};
  for (const NativePath& p : refused) {
    SCOPED_TRACE(p.native());
    EXPECT_FALSE(confirmRootDeletion(platform, p));
  }
  EXPECT_FALSE(deleteFolderTree(platform, path("home-of-user")));
  EXPECT_FALSE(deleteFolderTree(platform, root));
  EXPECT_EQ(get("home-of-user/mine.txt"), "m");
  EXPECT_TRUE(ui.calls.empty());
  EXPECT_TRUE(confirmRootDeletion(platform, path("home-of-user/sub")));

  faulty.setHome("");  // "/" is refused even when the home folder is unknown
  EXPECT_FALSE(confirmRootDeletion(platform, "/"));
  EXPECT_TRUE(ui.calls.empty());
}

TEST_F(FileOpsTest, CreateFolderChainCreatesEveryMissingLevel) {
  EXPECT_TRUE(createFolderChain(faulty, path("a/b/c/")));
  EXPECT_TRUE(fs::is_directory(path("a/b/c")));
  put("file", "f");
  EXPECT_FALSE(createFolderChain(faulty, path("file/sub")));
}

// --- Copying and moving ---------------------------------------------------

TEST_F(FileOpsTest, CopyKeepsTimeAndReplacesDifferentlyCasedTwin) {
  put("src/Data.CCT", "new data");
  put("dst/data.cct", "old data");
  const FileTime t = 1'111'111'111'000'000'000;
  ASSERT_FALSE(disk.setModified(path("src/Data.CCT"), t));
  EXPECT_TRUE(copyFile(platform, path("src/DATA.cct"), path("dst/DATA.CCT")));
  EXPECT_EQ(namesIn("dst"), std::vector<std::string>{"data.cct"});
  EXPECT_EQ(get("dst/data.cct"), "new data");
  EXPECT_EQ(disk.stat(path("dst/data.cct"))->modified, t);
  EXPECT_TRUE(ui.calls.empty());
}

TEST_F(FileOpsTest, CopyOverReadOnlyDestinationSucceeds) {
  put("a.txt", "new");
  put("b.txt", "old");
  ASSERT_FALSE(disk.setReadOnly(path("b.txt"), true));
  EXPECT_TRUE(copyFile(platform, path("a.txt"), path("b.txt")));
  EXPECT_EQ(get("b.txt"), "new");
}

TEST_F(FileOpsTest, CopyOntoItselfIsRefusedSilently) {
  put("f.txt", "precious");
  fs::create_hard_link(path("f.txt"), path("hard.txt"));
  const char* destinations[] = {"f.txt", "F.TXT", "./f.txt", "hard.txt"};
  for (const char* d : destinations) {
    SCOPED_TRACE(d);
    EXPECT_FALSE(copyFile(platform, path("f.txt"), path(d)));
    EXPECT_EQ(get("f.txt"), "precious");
  }
  EXPECT_EQ(namesIn(""), (std::vector<std::string>{"f.txt", "hard.txt"}));
}

TEST_F(FileOpsTest, CopyOfMissingSourceDoesNothing) {
  put("dst.txt", "old");
  EXPECT_FALSE(copyFile(platform, path("missing.txt"), path("dst.txt")));
  EXPECT_EQ(get("dst.txt"), "old");
  EXPECT_TRUE(ui.calls.empty());
}

TEST_F(FileOpsTest, FailingCopyKeepsOldDestinationAndReports) {
  put("src.dat", std::string(80'000, 'n'));
  put("dst/old.dat", "old destination");
  LinuxFileSystem failingDisk(failingWriter(5'000, EIO));
  Platform failing{failingDisk, ui};
  EXPECT_FALSE(copyFile(failing, path("src.dat"), path("dst/old.dat")));
  EXPECT_EQ(get("dst/old.dat"), "old destination");
  EXPECT_EQ(namesIn("dst"), std::vector<std::string>{"old.dat"});
  ASSERT_EQ(ui.calls.size(), 1u);
  const IoError error = LinuxFileSystem::errorOf(EIO);
  EXPECT_EQ(ui.calls[0].text, copyFailedText(error, false, path("dst/old.dat")));
  EXPECT_EQ(ui.calls[0].text,
            fromUtf8(error.text) + u"\r" + Text(MsgCopyFileLabel) + fromUtf8(path("dst/old.dat").native()));
}

TEST_F(FileOpsTest, CopyFailingForSpaceInMountRootShowsRootFolderText) {
  put("src.dat", "s");
  fs::create_directories(path("medium"));
  faulty.setDevice(path("medium"), 9);
  faulty.fail(FaultyFileSystem::Op::Copy, ENOSPC);
  EXPECT_FALSE(copyFile(platform, path("src.dat"), path("medium/x.dat")));
  ASSERT_EQ(ui.calls.size(), 1u);
  EXPECT_EQ(ui.calls[0].text, Text(MsgRootFolderFull) + u"\r" + Text(MsgRootFolderFullWhy) + u"\r\r" +
                                  Text(MsgRootFolderFullHint1) + u"\r" + Text(MsgRootFolderFullHint2) + u"\r\r" +
                                  Text(MsgCopyFileLabel) + fromUtf8(path("medium/x.dat").native()));

  // The same error one level deeper is an ordinary error.
  fs::create_directories(path("medium/sub"));
  faulty.fail(FaultyFileSystem::Op::Copy, ENOSPC);
  EXPECT_FALSE(copyFile(platform, path("src.dat"), path("medium/sub/x.dat")));
  ASSERT_EQ(ui.calls.size(), 2u);
  EXPECT_EQ(ui.calls[1].text, copyFailedText(LinuxFileSystem::errorOf(ENOSPC), false, path("medium/sub/x.dat")));
}

TEST_F(FileOpsTest, MoveOnOneFileSystemRenames) {
  put("a/F.txt", "f");
  fs::create_directories(path("b"));
  EXPECT_TRUE(moveFileToFolder(platform, path("a/f.TXT"), path("b")));
  EXPECT_EQ(namesIn("a"), std::vector<std::string>{});
  EXPECT_EQ(get("b/F.txt"), "f");
  EXPECT_TRUE(ui.calls.empty());
}

TEST_F(FileOpsTest, MoveAcrossFileSystemsWhoseCopyFailsKeepsSource) {
  put("a/f.txt", "the only copy");
  put("b/f.txt", "old destination");
  faulty.fail(FaultyFileSystem::Op::Rename, EXDEV);
  faulty.fail(FaultyFileSystem::Op::Copy, ENOSPC);
  EXPECT_FALSE(moveFileToFolder(platform, path("a/f.txt"), path("b")));
  EXPECT_EQ(get("a/f.txt"), "the only copy");
  EXPECT_EQ(get("b/f.txt"), "old destination");
  EXPECT_EQ(faulty.calls(FaultyFileSystem::Op::Remove), 0);
  ASSERT_EQ(ui.calls.size(), 1u);
  EXPECT_EQ(ui.calls[0].text, moveFailedText(LinuxFileSystem::errorOf(ENOSPC), path("b/f.txt")));
  EXPECT_EQ(ui.calls[0].text, fromUtf8(LinuxFileSystem::errorOf(ENOSPC).text) + u"\r" + Text(MsgMoveFileLabel) +
                                  fromUtf8(path("b/f.txt").native()));
}

TEST_F(FileOpsTest, MoveAcrossFileSystemsWhoseWriteFailsPartWayKeepsSource) {
  put("a/f.txt", std::string(40'000, 'f'));
  fs::create_directories(path("b"));
  LinuxFileSystem failingDisk(failingWriter(3'000, ENOSPC));
  FaultyFileSystem crossing(failingDisk);
  crossing.fail(FaultyFileSystem::Op::Rename, EXDEV);
  Platform failing{crossing, ui};
  EXPECT_FALSE(moveFileToFolder(failing, path("a/f.txt"), path("b")));
  EXPECT_EQ(get("a/f.txt"), std::string(40'000, 'f'));
  EXPECT_EQ(namesIn("b"), std::vector<std::string>{});
  EXPECT_EQ(ui.calls.size(), 1u);
}

TEST_F(FileOpsTest, MoveAcrossFileSystemsCopiesKeepingTimeThenDeletesSource) {
  put("a/f.txt", "moving");
  fs::create_directories(path("b"));
  const FileTime t = 1'400'000'000'500'000'000;
  ASSERT_FALSE(disk.setModified(path("a/f.txt"), t));
  faulty.fail(FaultyFileSystem::Op::Rename, EXDEV);
  EXPECT_TRUE(moveFileToFolder(platform, path("a/f.txt"), path("b")));
  EXPECT_FALSE(there("a/f.txt"));
  EXPECT_EQ(get("b/f.txt"), "moving");
  EXPECT_EQ(disk.stat(path("b/f.txt"))->modified, t);
  EXPECT_TRUE(ui.calls.empty());
}

TEST_F(FileOpsTest, MoveWhoseSourceCannotBeDeletedReportsIt) {
  put("a/f.txt", "both");
  fs::create_directories(path("b"));
  faulty.fail(FaultyFileSystem::Op::Rename, EXDEV);
  faulty.fail(FaultyFileSystem::Op::Remove, EACCES, path("a/f.txt"), -1);
  EXPECT_TRUE(moveFileToFolder(platform, path("a/f.txt"), path("b")));
  EXPECT_EQ(get("a/f.txt"), "both");
  EXPECT_EQ(get("b/f.txt"), "both");
  ASSERT_EQ(ui.calls.size(), 1u);
  EXPECT_EQ(ui.calls[0].text, sourceKeptText(path("a/f.txt")));
  EXPECT_EQ(ui.calls[0].text, Text(u"コピーは終了しましたが、元のファイル『") + fromUtf8(path("a/f.txt").native()) +
                                  u"』を削除できませんでした");
}

TEST_F(FileOpsTest, MoveWhoseRenameFailsOtherwiseReportsAndKeepsSource) {
  put("a/f.txt", "f");
  fs::create_directories(path("b"));
  faulty.fail(FaultyFileSystem::Op::Rename, EACCES);
  EXPECT_FALSE(moveFileToFolder(platform, path("a/f.txt"), path("b")));
  EXPECT_EQ(get("a/f.txt"), "f");
  EXPECT_FALSE(there("b/f.txt"));
  ASSERT_EQ(ui.calls.size(), 1u);
  EXPECT_EQ(ui.calls[0].text, moveFailedText(LinuxFileSystem::errorOf(EACCES), path("b/f.txt")));
}

TEST_F(FileOpsTest, MoveIntoItsOwnFolderDoesNothing) {
  put("a/f.txt", "f");
  EXPECT_FALSE(moveFileToFolder(platform, path("a/f.txt"), path("a")));
  EXPECT_EQ(get("a/f.txt"), "f");
}

TEST_F(FileOpsTest, MigrateOldExtension) {
  struct Row {
    const char* name;
    bool oldThere;
    bool newThere;
    std::string expectedNew;  // "" = absent
  } rows[] = {
      {"only old", true, false, "old"},
      {"both", true, true, "new"},
      {"neither", false, false, ""},
      {"only new", false, true, "new"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    fs::remove_all(path("m"));
    fs::create_directories(path("m"));
    if (r.oldThere) put("m/ZEVRO32.ini", "old");
    if (r.newThere) put("m/ZEVRO32.Opt", "new");
    migrateOldExtension(platform, path("m/ZEVRO32.Opt"), u"INI");
    EXPECT_FALSE(there("m/ZEVRO32.ini"));
    EXPECT_EQ(there("m/ZEVRO32.Opt"), !r.expectedNew.empty());
    if (!r.expectedNew.empty()) {
      EXPECT_EQ(get("m/ZEVRO32.Opt"), r.expectedNew);
    }
  }
  migrateOldExtension(platform, path("m/ZEVRO32.Opt"), u"opt");  // same file: left alone
  EXPECT_EQ(get("m/ZEVRO32.Opt"), "new");
}

TEST_F(FileOpsTest, BrowseForFolderWidensBareDrive) {
  ui.folders = {u"/media/usb"};
  EXPECT_EQ(browseForFolder(ui, u"E:", u"フォルダーの選択"), u"/media/usb");
  EXPECT_EQ(browseForFolder(ui, u"/home", u"t"), u"");
  ASSERT_EQ(ui.calls.size(), 2u);
  EXPECT_EQ(ui.calls[0].text, u"E:\\");
  EXPECT_EQ(ui.calls[0].title, u"フォルダーの選択");
  EXPECT_EQ(ui.calls[1].text, u"/home");
}

}  // namespace
}  // namespace zevro
