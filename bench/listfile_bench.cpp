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

#include "core/CatalogList.h"
#include "core/Cp932.h"
#include "core/ListFile.h"
#include "core/RowStore.h"
#include "platform/LinuxFileSystem.h"

namespace {

using namespace zevro;

constexpr std::size_t TargetCharacters = 16'700'000;

Text digits(unsigned v, std::size_t width) {
  Text t(width, u'0');
  for (std::size_t i = width; i-- > 0; v /= 10) t[i] = static_cast<char16_t>(u'0' + v % 10);
  return t;
}

// Names and comments as a Japanese medium has them, with the characters whose
// second byte is "\" or "|" (表, ソ, 能, ポ) among them.
Text recordFor(unsigned i) {
  static const TextView japaneseNames[] = {u"表示ソフト", u"能力テスト", u"ポスター画像", u"資料フォルダー"};
  static const TextView japaneseComments[] = {u"会議の議事録です", u"年度末の報告書", u"ソース一式と説明"};
  const bool japanese = i % 2 == 0;
  const Text name = japanese ? Text(japaneseNames[i % 4]) + digits(i, 6) + u".TXT" : u"README_" + digits(i, 6) + u".TXT";
  const Text comment = japanese ? Text(japaneseComments[i % 3]) + u" " + digits(i * 7u, 4)
                                : u"plain comment " + digits(i * 7919u, 5);
  const Text date = digits(i % 100, 2) + u"/04/05 12:" + digits(i % 60, 2);
  const Text size = digits(i % 1000 + 1, 3) + u"," + digits(i * 31u % 1000, 3);
  return catalog::buildRecord({name, comment, date, size, u"0"});
}

struct Fixture {
  NativePath folder;
  NativePath path;
  bool removeFolder = false;
  RowStore store;
  std::string bytes;
  std::size_t rows = 0;

  Fixture() {
    catalog::makeCatalogList(store);
    store.appendShown(catalog::buildRecord({u"BIGDISC", u"限界までのカタログ", u"", u"99,999,999"}), 0, 0,
                      catalog::KindTitleHD, 0);
    std::size_t characters = store.heap().size();
    for (unsigned i = 1; characters < TargetCharacters; ++i) {
      const Text record = recordFor(i);
      const bool folder = i % 20 == 1;
      store.appendShown(record, 0, 0, folder ? catalog::KindFolder : catalog::KindFile, folder ? 1 : 2);
      characters += record.size();
    }
    catalog::assignColourIndexes(store);
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
