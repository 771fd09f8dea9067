// Reading a folder that holds one ZIP of 100,000 members (archive contents
// recorded) against reading the same files unpacked in folders, both with a
// warm cache. Goal: the ZIP at most 1.5 times the folders.
//
// The members: 100 folders of 1,000 files ("D042/file0007.txt", nine kinds
// of extension, 0..99 bytes each, stored), the same tree on disk.
//
//   BM_WalkZip      the walk of the folder with pack.zip, by kind
//   BM_WalkFolders  the walk of the unpacked tree, by kind
#include <benchmark/benchmark.h>

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/IconTable.h"
#include "core/RowStore.h"
#include "media/ArchiveContents.h"
#include "media/ArchiveLibraries.h"
#include "media/FolderWalker.h"
#include "platform/FakeUi.h"
#include "platform/LinuxFileSystem.h"

namespace {

namespace fs = std::filesystem;
using namespace zevro;

constexpr int Folders = 100;
constexpr int FilesPerFolder = 1000;
const char* const Extensions[] = {".txt", ".jpg", ".zip", ".c", ".h", ".html", ".dat", "", ".bin"};

std::string number(int n, int width) {
  std::string s = std::to_string(n);
  return std::string(static_cast<std::size_t>(std::max(0, width - static_cast<int>(s.size()))), '0') + s;
}

std::string memberPath(int folder, int file, int count) {
  return "D" + number(folder, 3) + "/file" + number(file, 4) + Extensions[count % std::size(Extensions)];
}

void makeZip(const fs::path& zip) {
  archive* a = archive_write_new();
  archive_write_set_format_zip(a);
  archive_write_set_options(a, "zip:compression=store");
  archive_write_open_filename(a, zip.c_str());
  const std::string data(100, 'x');
  int count = 0;
  for (int d = 0; d < Folders; ++d)
    for (int f = 0; f < FilesPerFolder; ++f, ++count) {
      archive_entry* e = archive_entry_new();
      archive_entry_copy_pathname(e, memberPath(d, f, count).c_str());
      archive_entry_set_filetype(e, AE_IFREG);
      archive_entry_set_perm(e, 0644);
      const int size = count % 100;
      archive_entry_set_size(e, size);
      archive_entry_set_mtime(e, 1109931600, 0);
      archive_write_header(a, e);
      archive_write_data(a, data.data(), static_cast<std::size_t>(size));
      archive_entry_free(e);
    }
  archive_write_close(a);
  archive_write_free(a);
}

void makeTree(const fs::path& root) {
  const std::string data(100, 'x');
  int count = 0;
  for (int d = 0; d < Folders; ++d) {
    fs::create_directories(root / ("D" + number(d, 3)));
    for (int f = 0; f < FilesPerFolder; ++f, ++count) {
      const fs::path file = root / memberPath(d, f, count);
      const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
      if (fd < 0) continue;
      if (::write(fd, data.data(), static_cast<std::size_t>(count % 100)) < 0) {
        // An empty file serves as well.
      }
      ::close(fd);
    }
  }
}

struct Fixture {
  fs::path base;
  Fixture() {
    std::string pattern = (fs::temp_directory_path() / "zevro-archive-bench-XXXXXX").native();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    base = pattern;
    fs::create_directories(base / "zip");
    makeZip(base / "zip" / "pack.zip");
    makeTree(base / "tree");
  }
  ~Fixture() {
    std::error_code ignored;
    fs::remove_all(base, ignored);
  }
};

Fixture& fixture() {
  static Fixture f;
  return f;
}

int walk(const fs::path& folder) {
  LinuxFileSystem files;
  FakeUi ui;
  IconTable icons;
  icons.BuildStandardTables();
  ArchiveLibraries reader(ListTime::Zone::Japan);
  ArchiveContents contents(reader, icons, {.recordMembers = true, .zip = true, .sortOrder = WalkOrder::Kind});
  WalkOptions options;
  options.archives = true;
  WalkHooks hooks;
  hooks.archives = &contents;
  RowStore store;
  FolderWalker walker(files, ui, icons, options, {}, hooks);
  walker.WalkFolder(folder, u"E:", u"BENCH", store);
  FolderWalker::AddFolderSizes(store);
  return store.rowCount();
}

void run(benchmark::State& state, const fs::path& folder) {
  int rows = walk(folder);  // warm the cache
  for (auto _ : state) rows = walk(folder);
  state.counters["rows"] = rows;
}

void BM_WalkZip(benchmark::State& state) { run(state, fixture().base / "zip"); }
void BM_WalkFolders(benchmark::State& state) { run(state, fixture().base / "tree"); }

BENCHMARK(BM_WalkZip)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_WalkFolders)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
