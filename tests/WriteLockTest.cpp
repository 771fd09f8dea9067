#include "platform/WriteLock.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>

#include "TempFolder.h"
#include "core/CatalogIndex.h"
#include "platform/FileLock.h"
#include "platform/LinuxFileSystem.h"

namespace zevro {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

class WriteLockTest : public ::testing::Test, protected test::TempFolder {
protected:
  WriteLockTest() : TempFolder("zevro-lock") {}

  // A child process that takes the write lock, tells us so through a pipe,
  // holds it for `hold` and exits (which would release it even after a crash).
  pid_t holdInChild(milliseconds hold) {
    int fds[2];
    if (::pipe(fds) != 0) return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::close(fds[0]);
      FileLock lock;
      const bool ok = !lock.lock(root() / WriteLock::FileName, milliseconds(5000));
      const char c = ok ? '1' : '0';
      if (::write(fds[1], &c, 1) != 1) ::_exit(2);
      ::usleep(static_cast<useconds_t>(hold.count() * 1000));
      ::_exit(ok ? 0 : 1);
    }
    ::close(fds[1]);
    char c = 0;
    const bool told = ::read(fds[0], &c, 1) == 1 && c == '1';
    ::close(fds[0]);
    EXPECT_TRUE(told) << "the child could not take the lock";
    return pid;
  }
  static void reap(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
  }
};

TEST_F(WriteLockTest, AWriterWaitsForTheHolderOrGivesUpAtItsLimit) {
  struct Case {
    const char* what;
    milliseconds hold;
    milliseconds wait;
    bool taken;
  };
  const Case cases[] = {
      {"the holder finishes within the wait", milliseconds(300), milliseconds(10000), true},
      {"the holder outlasts the wait", milliseconds(1500), milliseconds(100), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const pid_t child = holdInChild(c.hold);
    ASSERT_GT(child, 0);
    {
      FileLock probe;
      EXPECT_EQ(probe.tryLock(root() / WriteLock::FileName).code, EWOULDBLOCK) << "held by the child";
    }
    WriteLock lock(root(), c.wait);
    EXPECT_EQ(static_cast<bool>(lock), c.taken);
    if (!c.taken) {
      EXPECT_EQ(lock.error().code, EWOULDBLOCK);
      EXPECT_NE(lock.message().find(WriteLock::BusyText), std::string::npos);
    }
    reap(child);
  }
}

TEST_F(WriteLockTest, NestsWithinOneProcessAndIsFreeAfterwards) {
  {
    WriteLock outer(root(), milliseconds(100));
    ASSERT_TRUE(outer);
    WriteLock inner(root(), milliseconds(100));
    EXPECT_TRUE(inner) << "a step holding the lock calls another that takes it";
  }
  FileLock probe;
  EXPECT_FALSE(probe.tryLock(root() / WriteLock::FileName)) << "released when the outermost ends";
}

TEST_F(WriteLockTest, StaleTemporaryFilesOfInterruptedWritesGoWhenTheLockIsTaken) {
  struct Row {
    const char* name;
    bool old;
    bool removed;
  };
  const Row rows[] = {
      {".CatList.CCZ.zevro-tmp-k3J9xQ", true, true},
      {".ZEVRO32.Opt.zevro-tmp-AbCdEf", false, false},  // may belong to a write still running
      {".notes.txt", true, false},
      {"CatList.CCZ", true, false},
      {".x.zevro-tmp-toolong", true, false},
  };
  for (const Row& r : rows) {
    put(r.name, "bytes");
    if (r.old) fs::last_write_time(path(r.name), fs::file_time_type::clock::now() - std::chrono::hours(1));
  }
  { WriteLock lock(root()); }
  for (const Row& r : rows) EXPECT_EQ(fs::exists(path(r.name)), !r.removed) << r.name;
}

TEST_F(WriteLockTest, TwoIndexesWritingAtOnceKeepBothChanges) {
  // Each program holds the index in memory; the second write must not put
  // back the state the first one started from.
  LinuxFileSystem files;
  const NativePath catalogs = root() / "Catalog";
  fs::create_directories(catalogs);
  const std::string list = std::string("BX") + std::string(62, ' ');
  for (const char* name : {"_00CD_A.cct", "_00CD_B.cct", "_00CD_C.cct"})
    put(std::string("Catalog/") + name, list + "\x10" "LABEL" + std::string(1, '\x11') + name + "\x12\x13\x14\x15" + '\0');
  CatalogIndex seed(files, catalogs, root());
  ASSERT_FALSE(seed.load());
  seed.titleOf(u"_00CD_C.cct");
  ASSERT_FALSE(seed.write());

  CatalogIndex first(files, catalogs, root());
  CatalogIndex second(files, catalogs, root());
  ASSERT_FALSE(first.load());
  ASSERT_FALSE(second.load());
  first.titleOf(u"_00CD_A.cct");
  second.titleOf(u"_00CD_B.cct");
  second.removeEntry(u"_00CD_C.cct");
  ASSERT_FALSE(first.write());
  ASSERT_FALSE(second.writeIfChanged());

  CatalogIndex after(files, catalogs, root());
  ASSERT_FALSE(after.load());
  std::vector<Text> names;
  for (const CatalogIndexEntry& e : after.entries()) names.push_back(e.name);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<Text>{u"_00cd_a.cct", u"_00cd_b.cct"}));
}

}  // namespace
}  // namespace zevro
