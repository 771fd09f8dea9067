// Reading a medium of 200,000 files into a catalog and writing its list file,
// against `find DIR -printf '%s %T@ %p\n' >/dev/null` over the same tree, both
// with a warm cache (the tree is made once and walked once before timing).
//
// The tree: 20 folders of 10 folders of 10 folders, 100 files in each of the
// 2,000 deepest (names like "file0042.txt", nine kinds of extension, sizes
// 0..99,999 bytes as sparse files). ZEVRO_WALK_TREE=DIR walks an existing
// folder instead of making one.
//
//   BM_WalkAndWriteList  walk (sort by kind), size pass, list file written
//   BM_WalkOnly          the walk and the size pass alone
//   BM_FindPrintf        the find command above, through the shell
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/IconTable.h"
#include "core/ListFile.h"
#include "core/RowStore.h"
#include "media/FolderWalker.h"
#include "platform/FakeUi.h"
#include "platform/LinuxFileSystem.h"

namespace {

namespace fs = std::filesystem;
using namespace zevro;

constexpr int Top = 20;
constexpr int Middle = 10;
constexpr int Leaf = 10;
constexpr int FilesPerFolder = 100;
const char* const Extensions[] = {".txt", ".jpg", ".zip", ".c", ".h", ".html", ".dat", "", ".bin"};

std::string number(int n, int width) {
  std::string s = std::to_string(n);
  return std::string(static_cast<std::size_t>(std::max(0, width - static_cast<int>(s.size()))), '0') + s;
}

void makeTree(const fs::path& root) {
  int count = 0;
  for (int a = 0; a < Top; ++a)
    for (int b = 0; b < Middle; ++b)
      for (int c = 0; c < Leaf; ++c) {
        const fs::path folder = root / ("T" + number(a, 2)) / ("M" + number(b, 2)) / ("L" + number(c, 2));
        fs::create_directories(folder);
        for (int f = 0; f < FilesPerFolder; ++f, ++count) {
          const fs::path file = folder / ("file" + number(f, 4) + Extensions[count % std::size(Extensions)]);
          const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
          if (fd < 0) continue;
          if (::ftruncate(fd, (count * 7919) % 100000) != 0) {
            // A size of 0 serves as well.
          }
          ::close(fd);
        }
      }
}

// The tree and an output folder, made once for the whole run.
struct Fixture {
  fs::path base;
  fs::path tree;
  fs::path listFile;
  bool own = false;
  Fixture() {
    std::string pattern = (fs::temp_directory_path() / "zevro-walk-bench-XXXXXX").native();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    base = pattern;
    listFile = base / "_00HD_BENCH.cct";
    if (const char* given = std::getenv("ZEVRO_WALK_TREE")) {
      tree = given;
    } else {
      tree = base / "tree";
      own = true;
      makeTree(tree);
    }
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

struct Reading {
  int rows = 0;
  std::int64_t total = 0;
  std::size_t listBytes = 0;
};

Reading readTree(bool writeList) {
  LinuxFileSystem files;
  FakeUi ui;
  IconTable icons;
  icons.BuildStandardTables();
  RowStore store;
  WalkOptions options;  // sort by kind, the default of the reading window
  FolderWalker walker(files, ui, icons, options);
  walker.WalkFolder(fixture().tree, u"E:", u"BENCH", store);
  Reading r;
  r.total = FolderWalker::AddFolderSizes(store);
  r.rows = store.rowCount();
  if (writeList) {
    listfile::Header header;
    header.sortOrder = zevro::ListSort::Kind;
    const std::optional<std::string> bytes = listfile::build(store, header);
    if (bytes) {
      r.listBytes = bytes->size();
      files.writeFileAtomic(fixture().listFile, *bytes);
    }
  }
  return r;
}

void report(benchmark::State& state, const Reading& r) {
  state.counters["rows"] = r.rows;
  state.counters["list_MB"] = static_cast<double>(r.listBytes) / 1e6;
  state.counters["rows_per_s"] = benchmark::Counter(r.rows, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_WalkAndWriteList(benchmark::State& state) {
  readTree(true);  // warm the cache
  Reading r;
  for (auto _ : state) r = readTree(true);
  report(state, r);
}

void BM_WalkOnly(benchmark::State& state) {
  readTree(false);
  Reading r;
  for (auto _ : state) r = readTree(false);
  report(state, r);
}

void BM_FindPrintf(benchmark::State& state) {
  const std::string command = "find '" + fixture().tree.native() + "' -printf '%s %T@ %p\\n' >/dev/null";
  if (std::system(command.c_str()) != 0) state.SkipWithError("find failed");
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("find failed");
  }
}

BENCHMARK(BM_FindPrintf)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_WalkAndWriteList)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_WalkOnly)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

}  // namespace

BENCHMARK_MAIN();
