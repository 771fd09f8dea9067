#include "TempFolder.h"
#include "platform/FileView.h"
#include "platform/LinuxFileSystem.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>

#include "platform/FaultyFileSystem.h"

namespace zevro {
namespace {

namespace fs = std::filesystem;

class LinuxFileSystemTest : public ::testing::Test, protected test::TempFolder {
protected:
  LinuxFileSystemTest() : TempFolder("zevro-lfs") {}

  NativePath root = TempFolder::root();
  LinuxFileSystem files;
};

// A file system whose rename reports "another file system", so that a move
// has to copy.
class CrossDeviceFileSystem : public LinuxFileSystem {
public:
  using LinuxFileSystem::LinuxFileSystem;
  IoError renameFile(const NativePath&, const NativePath&) override { return errorOf(EXDEV); }
};

TEST_F(LinuxFileSystemTest, FailedLookAtAnEntryKeepsItAndTheRestOfTheListing) {
  put("a.txt", "aaa");
  put("sub/x.txt", "x");
  put("z.txt", "zz");
  struct Case {
    const char* failing;
    int code;
    std::vector<std::string> names;
    DirEntry::Type type;  // of the failing entry, when kept
  };
  const Case cases[] = {
      {"sub", EIO, {"a.txt", "sub", "z.txt"}, DirEntry::Type::Folder},
      {"a.txt", EACCES, {"a.txt", "sub", "z.txt"}, DirEntry::Type::File},
      {"z.txt", ENOENT, {"a.txt", "sub"}, DirEntry::Type::File},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.failing);
    LinuxFileSystem failing({}, {}, [&](int fd, const char* name, struct stat* st, int flags) {
      if (std::string(name) == c.failing) {
        errno = c.code;
        return -1;
      }
      return ::fstatat(fd, name, st, flags);
    });
    IoError error;
    const std::vector<DirEntry> entries = failing.list(root, &error);
    EXPECT_FALSE(error) << "the listing itself did not fail";
    std::vector<std::string> names;
    for (const DirEntry& e : entries) {
      names.push_back(e.name);
      if (e.name == c.failing) {
        EXPECT_EQ(e.statError, c.code);
        EXPECT_EQ(e.type, c.type);
        EXPECT_EQ(e.size, 0u);
      } else {
        EXPECT_EQ(e.statError, 0);
      }
    }
    EXPECT_EQ(names, c.names);
  }
}

TEST_F(LinuxFileSystemTest, OnlyRegularFilesWithinTheLimitAreRead) {
  // A FIFO would block the open for ever and a link to /dev/zero would be
  // read until memory runs out; both are refused at once.
  put("list.cct", "BX0123456789");
  ASSERT_EQ(::mkfifo(path("fifo.cct").c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", path("zero.cct"));
  fs::create_directory(path("folder.cct"));
  struct Case {
    const char* name;
    std::uint64_t limit;
    int code;
    std::string whole;  // readFile
    std::string start;  // readStart of 4 bytes
  };
  const Case cases[] = {
      {"list.cct", FileSystem::NoLimit, 0, "BX0123456789", "BX01"},
      {"list.cct", 12, 0, "BX0123456789", "BX01"},
      {"list.cct", 11, EFBIG, "", "BX01"},
      {"fifo.cct", FileSystem::NoLimit, NotRegularFile, "", ""},
      {"zero.cct", FileSystem::NoLimit, NotRegularFile, "", ""},
      {"folder.cct", FileSystem::NoLimit, NotRegularFile, "", ""},
      {"missing.cct", FileSystem::NoLimit, ENOENT, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string bytes = "old";
    EXPECT_EQ(files.readFile(path(c.name), bytes, c.limit).code, c.code);
    EXPECT_EQ(bytes, c.whole);
    const int startCode = c.code == EFBIG ? 0 : c.code;
    EXPECT_EQ(files.readStart(path(c.name), bytes, 4).code, startCode);
    EXPECT_EQ(bytes, c.start);
    FileView view;
    EXPECT_EQ(files.viewFile(path(c.name), view).code, startCode);  // mapped, never blocking
    EXPECT_EQ(std::string(view.bytes()), startCode ? "" : "BX0123456789");
    EXPECT_EQ(files.viewFile(path(c.name), view, c.limit).code, c.code);  // over the limit: never mapped
    EXPECT_EQ(std::string(view.bytes()), c.whole);
  }
}

TEST_F(LinuxFileSystemTest, ListingIsSortedBytewiseWithTypesSizesAndTimes) {
  put("b.txt", "bbb");
  put("A.TXT", "AAAAA");
  put("a.txt", "a");
  fs::create_directory(path("sub"));
  fs::create_directory_symlink(path("sub"), path("link"));
  fs::create_symlink(path("nowhere"), path("dangling"));
  const FileTime t0 = 1'700'000'000'123'456'789;
  for (const char* name : {"b.txt", "A.TXT", "a.txt", "sub"}) ASSERT_FALSE(files.setModified(path(name), t0 + name[0]));

  IoError error;
  std::vector<DirEntry> entries = files.list(root, &error);
  EXPECT_FALSE(error);

  struct Row {
    const char* name;
    DirEntry::Type type;
    std::uint64_t size;
    bool linkToFolder;
  };
  const Row expected[] = {
      {"A.TXT", DirEntry::Type::File, 5, false}, {"a.txt", DirEntry::Type::File, 1, false},
      {"b.txt", DirEntry::Type::File, 3, false}, {"dangling", DirEntry::Type::Link, 0, false},
      {"link", DirEntry::Type::Link, 0, true},   {"sub", DirEntry::Type::Folder, 0, false},
  };
  ASSERT_EQ(entries.size(), std::size(expected));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    SCOPED_TRACE(expected[i].name);
    EXPECT_EQ(entries[i].name, expected[i].name);
    EXPECT_EQ(entries[i].type, expected[i].type);
    if (expected[i].type != DirEntry::Type::Link) {
      EXPECT_EQ(entries[i].size, expected[i].size);
    }
    EXPECT_EQ(entries[i].linkToFolder, expected[i].linkToFolder);
    if (expected[i].type != DirEntry::Type::Link) {
      EXPECT_EQ(entries[i].modified, t0 + expected[i].name[0]);
    }
  }
}

TEST_F(LinuxFileSystemTest, AnUnsortedListingHoldsTheSameEntriesAndSortsIntoTheListingsOrder) {
  for (int i = 0; i < 300; ++i) put((i % 2 ? "f" : "F") + std::to_string(i * 7919 % 1000), std::string(i % 5, 'x'));
  fs::create_directory(path("sub"));
  fs::create_symlink(path("nowhere"), path("dangling"));
  const std::vector<DirEntry> sorted = files.list(root);
  ASSERT_EQ(sorted.size(), 302u);
  for (const std::vector<DirEntry>& given :
       {files.listUnsorted(root), std::vector<DirEntry>(sorted.rbegin(), sorted.rend())}) {
    std::vector<DirEntry> entries = given;
    sortByName(entries);
    ASSERT_EQ(entries.size(), sorted.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
      EXPECT_EQ(entries[i].name, sorted[i].name);
      EXPECT_EQ(entries[i].type, sorted[i].type);
      EXPECT_EQ(entries[i].size, sorted[i].size);
      EXPECT_EQ(entries[i].modified, sorted[i].modified);
    }
  }
  IoError error;
  EXPECT_TRUE(files.listUnsorted(path("missing"), &error).empty());
  EXPECT_EQ(error.code, ENOENT);
}

TEST_F(LinuxFileSystemTest, ListingOfMissingFolderIsEmptyWithError) {
  IoError error;
  EXPECT_TRUE(files.list(path("missing"), &error).empty());
  EXPECT_EQ(error.code, ENOENT);
  EXPECT_FALSE(error.text.empty());
}

TEST_F(LinuxFileSystemTest, SetModifiedSetsExactTimes) {
  put("f", "x");
  const FileTime times[] = {0, 1'000'000'000, 1'700'000'000'999'999'999, 946'684'800'000'000'001};
  for (FileTime t : times) {
    SCOPED_TRACE(t);
    ASSERT_FALSE(files.setModified(path("f"), t));
    std::optional<DirEntry> e = files.stat(path("f"));
    ASSERT_TRUE(e);
    EXPECT_EQ(e->modified, t);
  }
}

TEST_F(LinuxFileSystemTest, TimesBeyondTheNanosecondRangeAreClampedNotWrapped) {
  put("f", "x");
  struct Case {
    time_t seconds;
    FileTime expected;
  };
  // 2300-01-01 lies past what nanoseconds since 1970 can hold (2262).
  const Case cases[] = {{10'413'792'000, std::numeric_limits<FileTime>::max()}};
  for (const Case& c : cases) {
    struct timespec both[2] = {{c.seconds, 0}, {c.seconds, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path("f").c_str(), both, 0), 0);
    struct stat st {};
    ASSERT_EQ(::stat(path("f").c_str(), &st), 0);
    if (st.st_mtim.tv_sec != c.seconds) GTEST_SKIP() << "this file system cannot hold the time";
    std::optional<DirEntry> e = files.stat(path("f"));
    ASSERT_TRUE(e);
    EXPECT_EQ(e->modified, c.expected);
  }
}

TEST_F(LinuxFileSystemTest, ResolveNameTakesExactSpellingFirstThenIgnoresAsciiCase) {
  put("Data.CCT", "1");
  put("data.cct", "2");
  put("Only.TXT", "3");
  put("表.txt", "4");
  struct Row {
    const char* asked;
    std::optional<std::string> found;
  } rows[] = {
      {"data.cct", "data.cct"},  {"Data.CCT", "Data.CCT"}, {"DATA.CCT", "Data.CCT"},  // first in listing order
      {"only.txt", "Only.TXT"},  {"ONLY.TXT", "Only.TXT"}, {"表.TXT", "表.txt"},
      {"missing", std::nullopt}, {"", std::nullopt},       {"Only.TX", std::nullopt},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.asked);
    EXPECT_EQ(files.resolveName(root, r.asked), r.found);
  }
}

TEST_F(LinuxFileSystemTest, AtomicWriteReplacesContentAndKeepsPermissions) {
  put("opt", "old content that is longer");
  ::chmod(path("opt").c_str(), 0640);
  ASSERT_FALSE(files.writeFileAtomic(path("opt"), "new"));
  EXPECT_EQ(get("opt"), "new");
  struct stat st {};
  ASSERT_EQ(::stat(path("opt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(namesIn(""), std::vector<std::string>{"opt"});

  ASSERT_FALSE(files.writeFileAtomic(path("fresh"), std::string("a\0b", 3)));
  EXPECT_EQ(get("fresh"), std::string("a\0b", 3));
}

TEST_F(LinuxFileSystemTest, AtomicWriteFailingPartWayLeavesOldFileAndNoTemporary) {
  const std::string big(300'000, 'z');
  struct Row {
    std::size_t bytesBeforeFailure;
    int code;
  } rows[] = {{0, ENOSPC}, {4, ENOSPC}, {70'000, EIO}, {299'999, EDQUOT}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.bytesBeforeFailure);
    put("list.cct", "old list");
    LinuxFileSystem failing(failingWriter(r.bytesBeforeFailure, r.code));
    IoError error = failing.writeFileAtomic(path("list.cct"), big);
    EXPECT_EQ(error.code, r.code);
    EXPECT_EQ(get("list.cct"), "old list");
    EXPECT_EQ(namesIn(""), std::vector<std::string>{"list.cct"});
  }
}

TEST_F(LinuxFileSystemTest, AtomicWriteFailingAtRenameLeavesNoTemporary) {
  fs::create_directories(path("dir/inner"));
  IoError error = files.writeFileAtomic(path("dir"), "text");
  EXPECT_TRUE(error);
  EXPECT_TRUE(fs::is_directory(path("dir/inner")));
  EXPECT_EQ(namesIn(""), std::vector<std::string>{"dir"});
}

TEST_F(LinuxFileSystemTest, ReadFileReadsAllBytesAndReportsMissing) {
  std::string bytes(200'000, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
  put("bin", bytes);
  std::string read;
  ASSERT_FALSE(files.readFile(path("bin"), read));
  EXPECT_EQ(read, bytes);
  EXPECT_EQ(files.readFile(path("none"), read).code, ENOENT);
  EXPECT_TRUE(read.empty());
}

TEST_F(LinuxFileSystemTest, CopyKeepsContentTimeAndMode) {
  std::string bytes(150'000, 'c');
  put("src/a.bin", bytes);
  ::chmod(path("src/a.bin").c_str(), 0444);
  const FileTime t = 1'234'567'890'123'456'789;
  ASSERT_FALSE(files.setModified(path("src/a.bin"), t));
  fs::create_directory(path("dst"));

  ASSERT_FALSE(files.copyFile(path("src/a.bin"), path("dst/a.bin")));
  EXPECT_EQ(get("dst/a.bin"), bytes);
  std::optional<DirEntry> copy = files.stat(path("dst/a.bin"));
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->modified, t);
  EXPECT_TRUE(copy->readOnly);
  EXPECT_EQ(namesIn("dst"), std::vector<std::string>{"a.bin"});
}

TEST_F(LinuxFileSystemTest, CopyOntoItselfIsRefusedAndChangesNothing) {
  put("f.txt", "precious");
  fs::create_hard_link(path("f.txt"), path("hard.txt"));
  fs::create_symlink(path("f.txt"), path("soft.txt"));
  const FileTime t = 1'600'000'000'000'000'000;
  ASSERT_FALSE(files.setModified(path("f.txt"), t));
  const NativePath destinations[] = {path("f.txt"), root / "." / "f.txt", path("hard.txt"), path("soft.txt")};
  for (const NativePath& d : destinations) {
    SCOPED_TRACE(d.native());
    EXPECT_EQ(files.copyFile(path("f.txt"), d).code, EINVAL);
    EXPECT_EQ(get("f.txt"), "precious");
    EXPECT_EQ(files.stat(path("f.txt"))->modified, t);
  }
  EXPECT_EQ(namesIn(""), (std::vector<std::string>{"f.txt", "hard.txt", "soft.txt"}));
}

TEST_F(LinuxFileSystemTest, FailingCopyKeepsOldDestination) {
  put("new.dat", std::string(100'000, 'n'));
  put("old.dat", "old destination");
  struct Row {
    std::size_t bytesBeforeFailure;
  } rows[] = {{0}, {10}, {65'536}, {99'999}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.bytesBeforeFailure);
    LinuxFileSystem failing(failingWriter(r.bytesBeforeFailure, ENOSPC));
    EXPECT_EQ(failing.copyFile(path("new.dat"), path("old.dat")).code, ENOSPC);
    EXPECT_EQ(get("old.dat"), "old destination");
    EXPECT_EQ(namesIn(""), (std::vector<std::string>{"new.dat", "old.dat"}));
  }
}

TEST_F(LinuxFileSystemTest, CopyOfFolderOrMissingFileFails) {
  fs::create_directory(path("folder"));
  EXPECT_EQ(files.copyFile(path("folder"), path("x")).code, EISDIR);
  EXPECT_EQ(files.copyFile(path("missing"), path("x")).code, ENOENT);
  EXPECT_FALSE(fs::exists(path("x")));
}

TEST_F(LinuxFileSystemTest, MoveOnOneFileSystemRenames) {
  put("a/f.txt", "moved");
  fs::create_directory(path("b"));
  ASSERT_FALSE(files.moveFile(path("a/f.txt"), path("b/f.txt")));
  EXPECT_FALSE(fs::exists(path("a/f.txt")));
  EXPECT_EQ(get("b/f.txt"), "moved");
}

TEST_F(LinuxFileSystemTest, MoveAcrossFileSystemsCopiesKeepingTimeThenDeletesSource) {
  put("a/f.txt", "moved by copy");
  fs::create_directory(path("b"));
  const FileTime t = 1'500'000'000'000'000'000;
  ASSERT_FALSE(files.setModified(path("a/f.txt"), t));
  CrossDeviceFileSystem cross;
  ASSERT_FALSE(cross.moveFile(path("a/f.txt"), path("b/f.txt")));
  EXPECT_FALSE(fs::exists(path("a/f.txt")));
  EXPECT_EQ(get("b/f.txt"), "moved by copy");
  EXPECT_EQ(files.stat(path("b/f.txt"))->modified, t);
}

TEST_F(LinuxFileSystemTest, MoveAcrossFileSystemsWhoseCopyFailsKeepsSource) {
  put("a/f.txt", std::string(50'000, 's'));
  put("b/f.txt", "old destination");
  CrossDeviceFileSystem cross(failingWriter(1'000, ENOSPC));
  EXPECT_EQ(cross.moveFile(path("a/f.txt"), path("b/f.txt")).code, ENOSPC);
  EXPECT_EQ(get("a/f.txt"), std::string(50'000, 's'));
  EXPECT_EQ(get("b/f.txt"), "old destination");
  EXPECT_EQ(namesIn("b"), std::vector<std::string>{"f.txt"});
}

TEST_F(LinuxFileSystemTest, RemoveTreeRemovesLinksWithoutFollowingThem) {
  put("outside/keep1.txt", "1");
  put("outside/deep/keep2.txt", "2");
  put("tree/file.txt", "x");
  put("tree/sub/deeper/file.txt", "y");
  fs::create_directory_symlink(path("outside"), path("tree/linkToFolder"));
  fs::create_directory_symlink(path("outside"), path("tree/sub/deeper/linkToFolder"));
  fs::create_symlink(path("outside/keep1.txt"), path("tree/linkToFile"));
  ::mkfifo(path("tree/fifo").c_str(), 0600);

  ASSERT_FALSE(files.removeTree(path("tree")));
  EXPECT_FALSE(fs::exists(fs::symlink_status(path("tree"))));
  EXPECT_EQ(get("outside/keep1.txt"), "1");
  EXPECT_EQ(get("outside/deep/keep2.txt"), "2");
}

TEST_F(LinuxFileSystemTest, RemoveTreeOfLinkRemovesOnlyTheLink) {
  put("outside/keep.txt", "k");
  fs::create_directory_symlink(path("outside"), path("link"));
  fs::create_directory_symlink(path("outside"), path("link2"));
  for (const char* given : {"link", "link2/"}) {
    SCOPED_TRACE(given);
    ASSERT_FALSE(files.removeTree(path(given)));
    EXPECT_FALSE(fs::exists(fs::symlink_status(path(given).parent_path() / path(given).filename())));
    EXPECT_EQ(get("outside/keep.txt"), "k");
  }
  EXPECT_EQ(namesIn(""), std::vector<std::string>{"outside"});
}

TEST_F(LinuxFileSystemTest, RemoveTreeReportsMissingFolderAndPlainFile) {
  put("file", "f");
  EXPECT_EQ(files.removeTree(path("missing")).code, ENOENT);
  EXPECT_EQ(files.removeTree(path("file")).code, ENOTDIR);
  EXPECT_EQ(get("file"), "f");
}

TEST_F(LinuxFileSystemTest, FoldersAreCreatedAndRemoved) {
  ASSERT_FALSE(files.createFolders(path("a/b/c")));
  EXPECT_TRUE(fs::is_directory(path("a/b/c")));
  EXPECT_FALSE(files.createFolders(path("a/b/c")));  // already there is fine
  EXPECT_EQ(files.createFolder(path("x/y")).code, ENOENT);
  EXPECT_EQ(files.removeFolder(path("a")).code, ENOTEMPTY);
  EXPECT_FALSE(files.removeFolder(path("a/b/c")));
  EXPECT_FALSE(fs::exists(path("a/b/c")));
}

TEST_F(LinuxFileSystemTest, ReadOnlyMarkIsTheOwnersWriteBit) {
  put("f", "x");
  ASSERT_FALSE(files.setReadOnly(path("f"), true));
  EXPECT_TRUE(files.stat(path("f"))->readOnly);
  ASSERT_FALSE(files.setReadOnly(path("f"), false));
  EXPECT_FALSE(files.stat(path("f"))->readOnly);
}

TEST_F(LinuxFileSystemTest, DeviceOfTellsFileSystemsApart) {
  put("f", "x");
  EXPECT_EQ(files.deviceOf(path("f")), files.deviceOf(root));
  EXPECT_FALSE(files.deviceOf(path("missing")));
}

TEST_F(LinuxFileSystemTest, HomeFolderIsTheOneGivenElseTheEnvironments) {
  LinuxFileSystem given({}, "/home/kaori");
  EXPECT_EQ(given.homeFolder(), NativePath("/home/kaori"));
  std::optional<NativePath> home = files.homeFolder();
  ASSERT_TRUE(home);
  if (const char* env = std::getenv("HOME"); env && *env) {
    EXPECT_EQ(*home, NativePath(env));
  }
}

}  // namespace
}  // namespace zevro
