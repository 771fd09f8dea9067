// Reading a folder of 30,000 files described by a 30,000-line bulletin-board
// index (files.bbs, "FILE00042.LZH  description of file 42"), with generated
// comments against without, warm cache. With comments on, the index is read
// once into the comment table and every file looks itself up there.
//
//   BM_CommentsOff  the walk with no comment source
//   BM_CommentsOn   the walk with generated comments (AutoCreate on)
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/IconTable.h"
#include "core/RowStore.h"
#include "media/CommentGenerator.h"
#include "media/FolderWalker.h"
#include "platform/FakeUi.h"
#include "platform/LinuxFileSystem.h"

namespace {

namespace fs = std::filesystem;
using namespace zevro;

constexpr int Files = 30000;

std::string number(int n) {
  std::string s = std::to_string(n);
  return std::string(5 - s.size(), '0') + s;
}

struct Fixture {
  fs::path base;
  fs::path folder;
  Fixture() {
    std::string pattern = (fs::temp_directory_path() / "zevro-comments-bench-XXXXXX").native();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    base = pattern;
    folder = base / "BBS";
    fs::create_directories(folder);
    std::ofstream index(folder / "files.bbs", std::ios::binary);
    for (int i = 0; i < Files; ++i) {
      const std::string name = "FILE" + number(i) + ".LZH";
      index << name << "  description of file " << i << "\r\n";
      const int fd = ::open((folder / name).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
      if (fd >= 0) ::close(fd);
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

void walk(benchmark::State& state, bool comments) {
  Fixture& f = fixture();
  LinuxFileSystem files;
  FakeUi ui;
  IconTable icons;
  icons.BuildStandardTables();
  CommentGenerator generator(files, f.base, {.autoCreate = true});
  WalkHooks hooks;
  if (comments) hooks.comments = &generator;
  for (auto _ : state) {
    RowStore store;
    FolderWalker walker(files, ui, icons, {.sortOrder = WalkOrder::Kind, .mediumKind = 3}, {}, hooks);
    if (!walker.WalkFolder(f.base, u"E:", u"BENCH", store)) state.SkipWithError("walk failed");
    benchmark::DoNotOptimize(store.rowCount());
  }
  state.SetItemsProcessed(state.iterations() * Files);
}

void BM_CommentsOff(benchmark::State& state) { walk(state, false); }
void BM_CommentsOn(benchmark::State& state) { walk(state, true); }

BENCHMARK(BM_CommentsOff)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CommentsOn)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
