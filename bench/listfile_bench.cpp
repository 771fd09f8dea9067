// Loading and saving a list file at the format's limit: a record heap just
// under 16,777,216 characters in about 300,000 rows of ordinary length, half
// of them with Japanese names and comments. The reference is the C library's
// converter turning the same file from CP932 into UTF-16 (what
// `iconv -f CP932 -t UTF-16LE FILE > /dev/null` does, minus starting a
// process and reading the file).
//
//   BM_Load          read the file, decode the heap, rebuild the index
//   BM_SaveBytes     encode the heap and lay out the file in memory
//   BM_SaveFile      BM_SaveBytes, then write it atomically (flushed to disk)
//   BM_IconvCp932    the reference conversion of the file's bytes
//
// Set ZEVRO_BENCH_FILE=/some/path.cct to keep the file for timing the iconv
// command on it; otherwise it goes to a temporary folder removed at the end.
#include <benchmark/benchmark.h>
#include <iconv.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "LimitCatalog.h"
#include "core/CatalogList.h"
#include "core/ListFile.h"
#include "core/RowStore.h"
#include "platform/LinuxFileSystem.h"
#include "text/Cp932.h"

namespace {

using namespace zevro;

struct Fixture {
  NativePath folder;
  NativePath path;
  bool removeFolder = false;
  RowStore store;
  std::string bytes;
  std::size_t rows = 0;

  Fixture() {
    bench::buildLimitCatalog(store);
    rows = static_cast<std::size_t>(store.rowCount());
    bytes = *listfile::build(store, listfile::Header{});

    if (const char* keep = std::getenv("ZEVRO_BENCH_FILE"); keep && *keep) {
      path = keep;
      folder = path.parent_path();
    } else {
      std::string pattern = (std::filesystem::temp_directory_path() / "zevro-listfile-bench-XXXXXX").native();
      folder = ::mkdtemp(pattern.data());
      path = folder / "_00HD_BIGDISC.cct";
      removeFolder = true;
    }
    LinuxFileSystem files;
    files.writeFileAtomic(path, bytes);
  }
  ~Fixture() {
    if (removeFolder) std::filesystem::remove_all(folder);
  }
};

Fixture& fixture() {
  static Fixture f;
  return f;
}

void counters(benchmark::State& state) {
  const Fixture& f = fixture();
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.bytes.size()));
  state.counters["rows"] = static_cast<double>(f.rows);
  state.counters["heap_chars"] = static_cast<double>(cp932::fileLength(f.store.heap()));
  state.counters["file_MB"] = static_cast<double>(f.bytes.size()) / 1e6;
}

void BM_Load(benchmark::State& state) {
  Fixture& f = fixture();
  LinuxFileSystem files;
  RowStore store;
  catalog::makeCatalogList(store);
  for (auto _ : state) {
    const listfile::ReadResult result = listfile::read(files, f.path, store);
    if (result.status != listfile::ReadStatus::Ok) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(store.rowCount());
  }
  counters(state);
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);

void BM_SaveBytes(benchmark::State& state) {
  Fixture& f = fixture();
  for (auto _ : state) {
    std::optional<std::string> bytes = listfile::build(f.store, listfile::Header{});
    benchmark::DoNotOptimize(bytes->data());
  }
  counters(state);
}
BENCHMARK(BM_SaveBytes)->Unit(benchmark::kMillisecond);

void BM_SaveFile(benchmark::State& state) {
  Fixture& f = fixture();
  LinuxFileSystem files;
  for (auto _ : state) {
    std::optional<std::string> bytes = listfile::build(f.store, listfile::Header{});
    if (files.writeFileAtomic(f.path, *bytes)) state.SkipWithError("write failed");
  }
  counters(state);
}
BENCHMARK(BM_SaveFile)->Unit(benchmark::kMillisecond);

void BM_IconvCp932(benchmark::State& state) {
  Fixture& f = fixture();
  std::vector<char> out(f.bytes.size() * 2 + 16);
  for (auto _ : state) {
    iconv_t cd = iconv_open("UTF-16LE", "CP932");
    char* in = f.bytes.data();
    std::size_t inLeft = f.bytes.size();
    char* o = out.data();
    std::size_t outLeft = out.size();
    if (iconv(cd, &in, &inLeft, &o, &outLeft) == static_cast<std::size_t>(-1)) state.SkipWithError("iconv failed");
    iconv_close(cd);
    benchmark::DoNotOptimize(out.data());
  }
  counters(state);
}
BENCHMARK(BM_IconvCp932)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
