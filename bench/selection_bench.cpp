// The listing pass of the catalog selection window over a catalog folder of
// N list files (each a title line and 20 rows, like a small medium):
//
//   BM_SelectionWithIndex/N     every title in CatList.CCZ: no list file is
//                               opened, the folder is listed once
//   BM_SelectionWithoutIndex/N  no CatList.CCZ: every list file's start is
//                               read and entered, the index written once
//   BM_SelectionByTitle/N       the same with the index, in title order
//
// The folders are made once per N under the system's temporary folder and
// removed at the end. The time per catalog should not grow with N.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <map>
#include <string>

#include "core/CatalogIndex.h"
#include "core/CatalogList.h"
#include "core/GenreTable.h"
#include "core/ListFile.h"
#include "core/RowStore.h"
#include "platform/LinuxFileSystem.h"
#include "select/CatalogSelection.h"

namespace {

using namespace zevro;

std::string listBytes(int n) {
  RowStore store;
  catalog::makeCatalogList(store);
  const Text number = fromUtf8(std::to_string(n));
  store.appendShown(catalog::buildRecord({u"DISC" + number, u"ディスク " + number, u"", u"1,234"}), 0, 0,
                    catalog::KindTitleCD, 0);
  for (int i = 1; i < 20; ++i)
    store.appendShown(catalog::buildRecord({u"FILE" + fromUtf8(std::to_string(i)) + u".TXT", u"", u"24/01/31 12:00",
                                            u"12", u"0"}),
                      0, 0, catalog::KindFile, 1);
  return *listfile::build(store, listfile::Header{});
}

// A catalog folder of n catalogs in five genres, kept for the whole run.
struct Folder {
  std::filesystem::path root;
  std::string index;  // CatList.CCZ with every catalog
};

const Folder& folderOf(int n) {
  static std::map<int, Folder> folders;
  auto it = folders.find(n);
  if (it != folders.end()) return it->second;
  std::string pattern = (std::filesystem::temp_directory_path() / "zevro-selection-bench-XXXXXX").native();
  Folder f;
  f.root = ::mkdtemp(pattern.data());
  LinuxFileSystem files;
  GenreTable genres;
  for (int g = 0; g < 5; ++g) {
    genres.setName(g, u"ジャンル");
    genres.setPosition(g, g);
    genres.setState(g, g % 2 == 0 ? GenreTable::Open : GenreTable::Closed);
  }
  genres.write(files, f.root);
  for (int i = 0; i < n; ++i) {
    const std::string name = "_0" + std::to_string(i % 5) + "CD_DISC" + std::to_string(i) + ".cct";
    files.writeFileAtomic(f.root / name, listBytes(i));
  }
  CatalogIndex index(files, f.root);
  index.load();
  for (int i = 0; i < n; ++i) index.titleOf(fromUtf8("_0" + std::to_string(i % 5) + "CD_DISC" + std::to_string(i) + ".cct"));
  index.write();
  files.readFile(f.root / CatalogIndex::FileName, f.index);
  return folders.emplace(n, std::move(f)).first->second;
}

struct Cleanup {
  ~Cleanup() {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::temp_directory_path(), ignored))
      if (entry.path().filename().native().starts_with("zevro-selection-bench-"))
        std::filesystem::remove_all(entry.path(), ignored);
  }
} cleanup;

void run(benchmark::State& state, bool withIndex, bool byTitle) {
  const int n = static_cast<int>(state.range(0));
  const Folder& f = folderOf(n);
  LinuxFileSystem files;
  GenreTable genres = GenreTable::decode([&] {
    std::string bytes;
    files.readFile(f.root / GenreTable::FileName, bytes);
    return bytes;
  }());
  for (auto _ : state) {
    state.PauseTiming();
    if (withIndex) {
      files.writeFileAtomic(f.root / CatalogIndex::FileName, f.index);
    } else {
      files.removeFile(f.root / CatalogIndex::FileName);
    }
    CatalogIndex index(files, f.root);
    index.load();
    CatalogSelection selection({files, index, genres, f.root, {}, {}});
    selection.setSortByTitle(byTitle);
    state.ResumeTiming();
    const CatalogSelection::Listing listing = selection.build();
    benchmark::DoNotOptimize(listing.catalogs);
    if (listing.catalogs != n) state.SkipWithError("not every catalog was listed");
  }
  state.SetItemsProcessed(state.iterations() * n);
}

void BM_SelectionWithIndex(benchmark::State& state) { run(state, true, false); }
void BM_SelectionWithoutIndex(benchmark::State& state) { run(state, false, false); }
void BM_SelectionByTitle(benchmark::State& state) { run(state, true, true); }

BENCHMARK(BM_SelectionWithIndex)->Arg(5000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectionWithoutIndex)->Arg(5000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectionByTitle)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
