// Searching every catalog of a large catalog folder: 200 list files holding
// 2,000,000 rows in all (about 110 MB), made once in a temporary folder by
// the program's list-file writer, searched with a warm cache. The reference
// is grep finding every occurrence of the same word in the same files
// (`LC_ALL=C grep -aoF WORD FILES >/dev/null`), started without a shell.
//
//   BM_SearchRare        a word in 10 rows of the 2,000,000
//   BM_GrepRare          grep for that word (wall time; child_cpu_ms is grep's own CPU time)
//   BM_SearchDense       a word in every row: 2,000,000 result rows
//   BM_SearchRareFolded  the rare word with case folding on: every catalog decoded and folded
//   BM_SearchRarePattern the rare word as a pattern: every catalog decoded
//   BM_IndexedRare       the rare word through the search indexes (built before timing)
//   BM_IndexedRareFolded the same with case folding on
//   BM_IndexedDense      the dense word through the indexes: every row a candidate
//   BM_BuildIndexes      every catalog's index built afresh and stored in one file (index_MB: the cache's size)
//
// ZEVRO_BENCH_CATALOGS=2000 makes the folder ten times as large.
//
// Every catalog: a title line, 99 folders of 100 files each (level 1 and 2),
// half of the names Japanese, comments on a third of the rows, dates and
// sizes everywhere. Every row holds "item"; "Zq9rare" stands in the comment
// of one row of every 20th catalog.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/CatalogList.h"
#include "core/ListFile.h"
#include "core/RowStore.h"
#include "platform/LinuxFileSystem.h"
#include "search/CatalogScan.h"
#include "search/SearchIndexes.h"
#include "search/SearchList.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace zevro;

int catalogCount() {
  const char* n = std::getenv("ZEVRO_BENCH_CATALOGS");
  return n ? std::atoi(n) : 200;
}
constexpr int Folders = 99;
constexpr int FilesPerFolder = 100;
constexpr int RareEvery = 20;  // catalogs
constexpr const char* RareWord = "Zq9rare";
constexpr const char* DenseWord = "item";

Text digits(unsigned v, std::size_t width) {
  Text t(width, u'0');
  for (std::size_t i = width; i-- > 0; v /= 10) t[i] = static_cast<char16_t>(u'0' + v % 10);
  return t;
}

Text fileRecord(unsigned n, bool rare) {
  static const TextView comments[] = {u"", u"旅行の写真", u"backup copy"};
  const Text name = n % 2 == 0 ? u"写真item" + digits(n, 5) + u".jpg" : u"item" + digits(n, 5) + u".txt";
  const Text comment = rare ? Text(u"the Zq9rare one") : Text(comments[n % 3]);
  const Text date = digits(n % 100, 2) + u"/04/05 12:" + digits(n % 60, 2);
  const Text size = digits(n % 90 + 10, 2) + u"," + digits(n * 7 % 1000, 3);
  return catalog::buildRecord({name, comment, date, size, u"0"});
}

std::string catalogBytes(int c) {
  RowStore store;
  catalog::makeCatalogList(store);
  store.appendShown(catalog::buildRecord({u"DISC" + digits(static_cast<unsigned>(c), 3) + u" item",
                                          u"Catalog " + digits(static_cast<unsigned>(c), 3), u"", u"99,999,999"}),
                    0, 0, catalog::KindTitleHD, 0);
  unsigned n = 0;
  for (int f = 0; f < Folders; ++f) {
    store.appendShown(catalog::buildRecord({u"folder item " + digits(static_cast<unsigned>(f), 3), u"",
                                            u"03/04/05 12:34", u"1,234,567"}),
                      0, 0, catalog::KindFolder, 1);
    for (int i = 0; i < FilesPerFolder; ++i, ++n) {
      const bool rare = c % RareEvery == 7 && f == 50 && i == 50;
      store.appendShown(fileRecord(n, rare), 0, 0, catalog::KindFile, 2);
    }
  }
  catalog::assignColourIndexes(store);
  return *listfile::build(store, listfile::Header{});
}

struct Fixture {
  fs::path base;
  fs::path folder;
  std::vector<std::string> paths;
  std::size_t bytes = 0;
  Fixture() {
    std::string pattern = (fs::temp_directory_path() / "zevro-search-bench-XXXXXX").native();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    base = pattern;
    folder = base / "Catalog";
    fs::create_directories(folder);
    for (int c = 0; c < catalogCount(); ++c) {
      // Four digits: the names stay apart up to 10,000 catalogs.
      const std::string number = std::to_string(10000 + c).substr(1);
      const fs::path path = folder / ("_00HD_BENCH" + number + ".cct");
      const std::string data = catalogBytes(c);
      std::ofstream(path, std::ios::binary) << data;
      bytes += data.size();
      paths.push_back(path.native());
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

int search(const SearchRequest& request, bool indexed = false) {
  LinuxFileSystem files;
  RowStore grid;
  SearchResults results(grid);
  CatalogScan scan(files, fixture().folder);
  SearchIndexes indexes(files, fixture().base, fixture().folder);
  if (indexed) scan.useIndexes(&indexes);
  scan.run(request, media::All, GenreFilter{}, results);
  return results.rowCount();
}

void runSearch(benchmark::State& state, const SearchRequest& request, bool indexed = false) {
  int rows = search(request, indexed);  // warm the cache (and build the indexes)
  for (auto _ : state) rows = search(request, indexed);
  state.counters["rows"] = rows;
  state.counters["MB"] = static_cast<double>(fixture().bytes) / 1e6;
}

MatchSwitches switchesOf(bool caseFold, bool pattern) {
  MatchSwitches s;
  s.caseFold = caseFold;
  s.pattern = pattern;
  return s;
}

void BM_SearchRare(benchmark::State& state) {
  runSearch(state, SearchRequest(ascii(RareWord), switchesOf(false, false)));
}
void BM_SearchDense(benchmark::State& state) {
  runSearch(state, SearchRequest(ascii(DenseWord), switchesOf(false, false)));
}
void BM_SearchRareFolded(benchmark::State& state) {
  runSearch(state, SearchRequest(u"zq9RARE", switchesOf(true, false)));
}
void BM_SearchRarePattern(benchmark::State& state) {
  runSearch(state, SearchRequest(u"Zq9r?re", switchesOf(false, true)));
}

void BM_IndexedRare(benchmark::State& state) {
  runSearch(state, SearchRequest(ascii(RareWord), switchesOf(false, false)), true);
}
void BM_IndexedRareFolded(benchmark::State& state) {
  runSearch(state, SearchRequest(u"zq9RARE", switchesOf(true, false)), true);
}
void BM_IndexedDense(benchmark::State& state) {
  runSearch(state, SearchRequest(ascii(DenseWord), switchesOf(false, false)), true);
}

void BM_BuildIndexes(benchmark::State& state) {
  LinuxFileSystem files;
  SearchIndexes indexes(files, fixture().base, fixture().folder);
  for (auto _ : state) {
    SearchIndexes::Tally tally;
    if (indexes.updateAll(true, tally) || tally.built != catalogCount()) state.SkipWithError("not built");
  }
  std::uintmax_t cache = 0;
  for (const auto& entry : fs::recursive_directory_iterator(indexes.folder()))
    if (entry.is_regular_file()) cache += entry.file_size();
  state.counters["index_MB"] = static_cast<double>(cache) / 1e6;
  state.counters["MB"] = static_cast<double>(fixture().bytes) / 1e6;
}

// grep's wall time, and its CPU time through the child's resource usage.
double runGrep(double& cpuMs) {
  std::vector<std::string> args = {"grep", "-aoF", RareWord};
  for (const std::string& p : fixture().paths) args.push_back(p);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> env = {"LC_ALL=C"};
  std::vector<char*> envp = {env[0].data(), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawnp(&pid, "grep", &actions, nullptr, argv.data(), envp.data()) != 0) std::abort();
  int status = 0;
  rusage usage{};
  ::wait4(pid, &status, 0, &usage);
  const auto end = std::chrono::steady_clock::now();
  posix_spawn_file_actions_destroy(&actions);
  cpuMs =
      (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
  return std::chrono::duration<double>(end - start).count();
}

void BM_GrepRare(benchmark::State& state) {
  double cpuMs = 0;
  runGrep(cpuMs);
  double totalCpu = 0;
  for (auto _ : state) {
    state.SetIterationTime(runGrep(cpuMs));
    totalCpu += cpuMs;
  }
  state.counters["child_cpu_ms"] = totalCpu / static_cast<double>(state.iterations());
  state.counters["MB"] = static_cast<double>(fixture().bytes) / 1e6;
}

BENCHMARK(BM_SearchRare)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_GrepRare)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3.0);
BENCHMARK(BM_SearchDense)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_SearchRareFolded)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_SearchRarePattern)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_IndexedRare)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_IndexedRareFolded)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_IndexedDense)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_BuildIndexes)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
