// The walk lists folders on a thread of its own, ahead of the rows. These
// tests walk trees with more folders than it lists ahead, and check that the
// rows, the problems and their order are those of a folder-by-folder walk,
// that stopping or failing in the middle ends the walk cleanly, and that the
// file system is never used by two threads at once.
#include "TempFolder.h"
#include "media/FolderWalker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <map>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "core/CatalogList.h"
#include "platform/FakeUi.h"
#include "platform/FaultyFileSystem.h"
#include "platform/LinuxFileSystem.h"

namespace zevro {
namespace {

// A file system that notes which threads list, whether two calls ever ran at
// once, and whether it was used after the walk said it had ended.
class WatchedFileSystem : public FaultyFileSystem {
public:
  using FaultyFileSystem::FaultyFileSystem;

  std::vector<DirEntry> list(const NativePath& folder, IoError* error = nullptr) override {
    const Call call(*this);
    {
      const std::lock_guard hold(lock_);
      listers_.insert(std::this_thread::get_id());
    }
    std::vector<DirEntry> entries = FaultyFileSystem::list(folder, error);
    for (DirEntry& e : entries)
      if (auto it = times.find(folder / e.name); it != times.end()) e.modified = it->second;
    return entries;
  }

  std::map<NativePath, FileTime> times;  // entry -> the time its listing reports
  std::optional<Identity> identityOf(const NativePath& path) override {
    const Call call(*this);
    return FaultyFileSystem::identityOf(path);
  }
  IoError readStart(const NativePath& path, std::string& bytes, std::size_t count) override {
    const Call call(*this);
    return FaultyFileSystem::readStart(path, bytes, count);
  }

  void walkEnded() { ended_ = true; }
  bool overlapped() const { return overlapped_; }
  bool usedAfterTheEnd() const { return usedAfterEnd_; }
  std::size_t listingThreads() const { return listers_.size(); }

private:
  struct Call {
    explicit Call(WatchedFileSystem& fs) : fs(fs) {
      if (fs.active_.fetch_add(1) != 0) fs.overlapped_ = true;
      if (fs.ended_) fs.usedAfterEnd_ = true;
      // A call that lasts a little, as a real medium's does, so that a call
      // made meanwhile from another thread is seen.
      for (int i = 0; i < 20; ++i) std::this_thread::yield();
    }
    ~Call() { fs.active_.fetch_sub(1); }
    WatchedFileSystem& fs;
  };

  std::atomic<int> active_{0};
  std::atomic<bool> overlapped_{false};
  std::atomic<bool> ended_{false};
  std::atomic<bool> usedAfterEnd_{false};
  std::mutex lock_;
  std::set<std::thread::id> listers_;
};

// Reads the start of every file and asks for a read of each one, as a
// comment generator reading text files does, through the walk's own file
// system; can throw in a chosen folder.
class ReadingComments : public CommentSource {
public:
  explicit ReadingComments(FileSystem& files) : files_(files) {}
  Text throwIn;  // a folder path whose comment fails
  std::vector<Text> folders;
  Text FolderComment(const FolderVisit& visit) override {
    if (!throwIn.empty() && visit.path == throwIn) throw std::runtime_error("no comment");
    folders.emplace_back(visit.path);
    for (const FolderEntry& e : visit.entries) {
      std::string bytes;
      if (!e.folder) files_.readStart(*visit.folder / std::string(e.native), bytes, 4);
    }
    return {};
  }
  Text FileComment(const FileVisit& visit) override {
    std::string bytes;
    if (files_.readStart(*visit.folder / std::string(visit.native), bytes, 8)) return u"?";
    return Text(bytes.begin(), bytes.end());
  }

private:
  FileSystem& files_;
};

// Lists an archive as full: the list cannot take its rows.
class FullArchives : public ArchiveLister {
public:
  bool WalkArchive(const ArchiveVisit& v, RowStore&) override {
    v.listFull();
    return false;
  }
};

struct Row {
  int level;
  int kind;
  Text name;
  Text comment;
  bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Row& r) {
  return os << r.level << " " << r.kind << " " << toUtf8(r.name) << " [" << toUtf8(r.comment) << "]";
}

std::vector<Row> rowsOf(const RowStore& store) {
  std::vector<Row> rows;
  for (int r = 0; r < store.rowCount(); ++r)
    rows.push_back(
        {store.level(r), store.kind(r), store.field(catalog::FieldName, r), store.field(catalog::FieldComment, r)});
  return rows;
}

class FolderWalkerAheadTest : public ::testing::Test, protected test::TempFolder {
protected:
  // Folders F000 … F199, each with two files and a subfolder with one file;
  // many more folders than the walk lists ahead.
  static constexpr int Folders = 200;

  FolderWalkerAheadTest() : TempFolder("zevro-ahead") {
    icons.BuildStandardTables();
    for (int i = 0; i < Folders; ++i) {
      const std::string f = folderName(i);
      put(f + "/a.dat", "a" + f);
      put(f + "/b.dat", "b" + f);
      put(f + "/sub/c.dat", "c" + f);
    }
  }

  static std::string folderName(int i) {
    std::string n = std::to_string(i);
    return "F" + std::string(3 - n.size(), '0') + n;
  }

  // The rows a folder-by-folder walk gives for folders [0, end), made here
  // from the layout; with comments, a file's comment is its first bytes.
  std::vector<Row> expected(int end, bool comments = false) const {
    std::vector<Row> rows{{0, catalog::KindTitleHD, u"TITLE", {}}};
    const auto comment = [&](Text text) { return comments ? text : Text(); };
    const int dat = icons.IconCodeOf(u"dat");
    for (int i = 0; i < end; ++i) {
      const Text f = ascii(folderName(i));
      rows.push_back({1, catalog::KindFolder, f, {}});
      rows.push_back({2, dat, u"a.dat", comment(u"a" + f)});
      rows.push_back({2, dat, u"b.dat", comment(u"b" + f)});
      rows.push_back({2, catalog::KindFolder, u"sub", {}});
      rows.push_back({3, dat, u"c.dat", comment(u"c" + f)});
    }
    return rows;
  }

  bool walk(WatchedFileSystem& files) {
    bool ok = false;
    {
      FolderWalker walker(files, ui, icons, options, callbacks, hooks);
      ok = walker.WalkFolder(root(), u"E:", u"TITLE", store);
      problems = walker.problems();
      cancelled = walker.cancelled();
    }
    files.walkEnded();
    return ok;
  }

  static Text ascii(const std::string& s) { return Text(s.begin(), s.end()); }

  LinuxFileSystem disk;
  FakeUi ui;
  IconTable icons;
  WalkOptions options{.sortOrder = WalkOrder::Name, .mediumKind = 3, .zone = ListTime::Zone::Japan, .archives = false};
  WalkCallbacks callbacks;
  WalkHooks hooks;
  RowStore store;
  std::vector<WalkProblem> problems;
  bool cancelled = false;
};

TEST_F(FolderWalkerAheadTest, RowsAndCommentsComeInTheWalksOrderAndTheFilesAreReadOneAtATime) {
  WatchedFileSystem files(disk);
  ReadingComments comments(files);
  hooks.comments = &comments;

  ASSERT_TRUE(walk(files));
  EXPECT_EQ(rowsOf(store), expected(Folders, true));
  EXPECT_TRUE(problems.empty());
  // Every folder's comment was asked once, in the walk's order.
  ASSERT_EQ(comments.folders.size(), 1u + 2u * Folders);
  EXPECT_EQ(comments.folders[1], u"E:\\F000");
  EXPECT_EQ(comments.folders[2], u"E:\\F000\\sub");
  EXPECT_EQ(comments.folders.back(), u"E:\\F199\\sub");
  // The listings came from one thread, and no call ever overlapped another
  // (the comments read files while folders were being listed ahead).
  EXPECT_EQ(files.listingThreads(), 1u);
  EXPECT_FALSE(files.overlapped());
  EXPECT_FALSE(files.usedAfterTheEnd());
}

TEST_F(FolderWalkerAheadTest, UnreadableFoldersAndEntriesAreReportedInTheWalksOrder) {
  WatchedFileSystem files(disk);
  files.fail(FaultyFileSystem::Op::List, EACCES, path("F150"));
  files.fail(FaultyFileSystem::Op::List, EIO, path("F020/sub"));
  files.fail(FaultyFileSystem::Op::ListEntry, EIO, path("F100/b.dat"));

  ASSERT_TRUE(walk(files));
  std::vector<Row> rows = expected(Folders);
  const auto at = [&](int folder) { return rows.begin() + 1 + 5 * folder; };
  rows.erase(at(150) + 1, at(150) + 5);  // F150 keeps its row only
  rows.erase(at(20) + 4);                // F020\sub keeps its row only
  EXPECT_EQ(rowsOf(store), rows);
  ASSERT_EQ(problems.size(), 3u);
  EXPECT_EQ(problems[0].kind, WalkProblem::Kind::Unreadable);
  EXPECT_EQ(problems[0].path, u"E:\\F020\\sub");
  EXPECT_EQ(problems[1].kind, WalkProblem::Kind::NoDetails);
  EXPECT_EQ(problems[1].path, u"E:\\F100\\b.dat");
  EXPECT_EQ(problems[2].kind, WalkProblem::Kind::Unreadable);
  EXPECT_EQ(problems[2].path, u"E:\\F150");
  EXPECT_EQ(problems[2].error, "Permission denied");
  EXPECT_FALSE(files.overlapped());
}

TEST_F(FolderWalkerAheadTest, AStopInTheMiddleEndsTheWalkThereWithTheReaderAhead) {
  WatchedFileSystem files(disk);
  // Stopped when the fourth folder is shown: rows up to the third stay.
  int shown = 0;
  bool stop = false;
  callbacks.showFolder = [&](TextView p) {
    if (p.size() == 7 && ++shown == 4) stop = true;  // u"E:\\F003"
  };
  callbacks.pump = [&] { return !stop; };

  EXPECT_FALSE(walk(files));
  EXPECT_TRUE(cancelled);
  std::vector<Row> rows = expected(4);
  EXPECT_EQ(rowsOf(store), rows);
  EXPECT_TRUE(problems.empty());
  // The reader went no further than its limit ahead and was ended with the walk.
  EXPECT_LT(files.calls(FaultyFileSystem::Op::List), Folders);
  EXPECT_FALSE(files.usedAfterTheEnd());
}

TEST_F(FolderWalkerAheadTest, AFullListStopsTheWalkWithTheReaderAhead) {
  put("F050/sub/pack.zip", "PK");
  WatchedFileSystem files(disk);
  FullArchives archives;
  hooks.archives = &archives;
  options.archives = true;

  EXPECT_FALSE(walk(files));
  EXPECT_FALSE(cancelled);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].kind, WalkProblem::Kind::ListFull);
  // Everything up to the archive, which keeps a plain row, nothing after it.
  std::vector<Row> rows = expected(51);
  rows.push_back({3, icons.IconCodeOf(u"zip"), u"pack.zip", {}});
  EXPECT_EQ(rowsOf(store), rows);
  EXPECT_FALSE(files.usedAfterTheEnd());
}

TEST_F(FolderWalkerAheadTest, AFolderWithABadDateIsLeftOutInItsTurnAndSaidOnce) {
  WatchedFileSystem files(disk);
  // A date before 1900, as a damaged medium gives it.
  files.times[path("F120/b.dat")] = -2'500'000'000LL * 1'000'000'000LL;
  files.fail(FaultyFileSystem::Op::ListEntry, EIO, path("F130/a.dat"));

  ASSERT_TRUE(walk(files));
  std::vector<Row> rows = expected(Folders);
  rows.erase(rows.begin() + 1 + 5 * 120, rows.begin() + 1 + 5 * 121);
  EXPECT_EQ(rowsOf(store), rows);
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_EQ(problems[0].kind, WalkProblem::Kind::BadDate);
  EXPECT_EQ(problems[0].path, u"E:\\F120");
  EXPECT_EQ(problems[1].kind, WalkProblem::Kind::NoDetails);
  EXPECT_EQ(ui.messages(), std::vector<Text>{FolderWalker::badDateMessage(u"E:\\F120")});
}

TEST_F(FolderWalkerAheadTest, AFailureOfAHookEndsTheReaderAndReachesTheCaller) {
  WatchedFileSystem files(disk);
  ReadingComments comments(files);
  comments.throwIn = u"E:\\F010";
  hooks.comments = &comments;

  // The walk ends with the failure; the reader, which was listing ahead, is
  // ended with it (a thread left running would end the program here).
  EXPECT_THROW(walk(files), std::runtime_error);
  EXPECT_EQ(comments.folders.back(), u"E:\\F009\\sub");
  EXPECT_EQ(rowsOf(store), expected(10, true));
  EXPECT_FALSE(files.overlapped());
}

// Listings in the reverse of their name order, with chosen times: the walk
// orders entries itself and must not depend on the listing's order.
class ReversedFileSystem : public FaultyFileSystem {
public:
  using FaultyFileSystem::FaultyFileSystem;
  std::map<std::string, FileTime> times;  // entry name -> the time its listing reports
  std::vector<DirEntry> listUnsorted(const NativePath& folder, IoError* error = nullptr) override {
    std::vector<DirEntry> entries = FaultyFileSystem::list(folder, error);
    for (DirEntry& e : entries)
      if (auto it = times.find(e.name); it != times.end()) e.modified = it->second;
    return {entries.rbegin(), entries.rend()};
  }
};

TEST(FolderWalkerOrder, TheTitleFileLeftOutAndDatesBefore1900DoNotDependOnTheListingsOrder) {
  constexpr FileTime Old = -2'300'000'000LL * 1'000'000'000LL;  // in 1897
  struct Case {
    const char* what;
    std::map<std::string, FileTime> times;
    std::vector<Text> names;  // empty: the root is left out for its dates
  };
  const std::vector<Case> cases = {
      {"the first title file by name is left out",
       {},
       {u"TITLE", u"a.txt", u"VolName.DAT", u"Volname.txt", u"SUB", u"s"}},
      {"its date is never looked at",
       {{"VOLNAME.TXT", Old}},
       {u"TITLE", u"a.txt", u"VolName.DAT", u"Volname.txt", u"SUB", u"s"}},
      {"another title file's date is", {{"Volname.txt", Old}}, {}},
      {"and a subfolder's", {{"SUB", Old}}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::TempFolder folder("zevro-order");
    for (const char* name : {"a.txt", "VolName.DAT", "VOLNAME.TXT", "Volname.txt", "SUB/s"}) folder.put(name, "x");
    LinuxFileSystem disk;
    ReversedFileSystem files(disk);
    files.times = c.times;
    FakeUi ui;
    IconTable icons;
    icons.BuildStandardTables();
    RowStore store;
    FolderWalker walker(files, ui, icons, {.sortOrder = WalkOrder::Name});
    ASSERT_TRUE(walker.WalkFolder(folder.root(), u"E:", u"TITLE", store));
    std::vector<Text> names;
    for (int r = 0; r < store.rowCount(); ++r) names.push_back(store.field(catalog::FieldName, r));
    EXPECT_EQ(names, c.names);
    if (c.names.empty()) {
      ASSERT_EQ(walker.problems().size(), 1u);
      EXPECT_EQ(walker.problems()[0].kind, WalkProblem::Kind::BadDate);
      EXPECT_EQ(walker.problems()[0].path, u"E:");
    } else {
      EXPECT_TRUE(walker.problems().empty());
    }
  }
}

}  // namespace
}  // namespace zevro
