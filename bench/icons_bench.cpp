// Loading a catalog of 300,000 rows whose kind codes were made under another
// icon table (every row's kind derived again from its name) against loading
// it under the table it was saved with (kinds kept as stored). Both go
// through the document's load, as the main window loads a catalog.
//
//   BM_LoadSameStamp     the list file's stamp is the table's: no re-derive
//   BM_LoadOtherStamp    the stamps differ: ReDeriveKinds over every row
//   BM_ReDeriveOnly      the re-derive alone, on a list already in memory
//
// File names cycle through the extensions of the standard table (and some
// that are not in it, and names without one), so the table is searched as
// a real medium's mixture would have it.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/CatalogDocument.h"
#include "core/CatalogIndex.h"
#include "core/CatalogList.h"
#include "core/IconEdit.h"
#include "core/IconTable.h"
#include "core/ListFile.h"
#include "core/TitleCache.h"
#include "platform/FakeUi.h"
#include "platform/LinuxFileSystem.h"

namespace {

using namespace zevro;

constexpr int Rows = 300'000;
constexpr int FilesPerFolder = 20;

Text digits(unsigned v, std::size_t width) {
  Text t(width, u'0');
  for (std::size_t i = width; i-- > 0; v /= 10) t[i] = static_cast<char16_t>(u'0' + v % 10);
  return t;
}

struct Fixture {
  NativePath folder;
  NativePath catalogs;
  LinuxFileSystem files;
  FakeUi ui;
  Platform platform{files, ui};
  TitleCache titles;
  std::optional<CatalogIndex> index;
  IconTable standard;  // the stamp the file was saved with (12 blanks)
  IconTable user;      // another table, another stamp

  Fixture() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zevro-icons-bench-XXXXXX").native();
    folder = ::mkdtemp(pattern.data());
    catalogs = folder / "Catalog";
    std::filesystem::create_directories(catalogs);
    index.emplace(files, catalogs);
    standard.BuildStandardTables();
    user.BuildStandardTables();
    IconEdit edit(user, 46);
    edit.add(u"7Z");
    edit.commitTo(user);
    user.SaveIcons(files, folder);

    std::vector<Text> extensions;
    for (const IconEdit::Entry& e : IconEdit(standard, 46).entries()) extensions.push_back(e.extension);
    extensions.insert(extensions.end(), {u"XYZ", u"BAK", u"", u"EX_", u"TAR"});

    RowStore store;
    catalog::makeCatalogList(store);
    store.appendShown(catalog::buildRecord({u"BIGDISC", u"アイコンの多いカタログ", u"", u"99,999,999"}), 0, 0,
                      catalog::KindTitleHD, 0);
    for (unsigned i = 1; static_cast<int>(i) < Rows; ++i) {
      const bool folderRow = i % FilesPerFolder == 1;
      const Text& extension = extensions[i % extensions.size()];
      const Text name = folderRow           ? u"フォルダー" + digits(i, 6)
                        : extension.empty() ? u"README" + digits(i, 6)
                                            : u"ファイル" + digits(i, 6) + u"." + extension;
      const int kind = folderRow ? catalog::KindFolder : standard.IconCodeOf(extension);
      store.appendShown(catalog::buildRecord({name, u"コメント", u"24/04/05 12:00", u"1,234", u"0"}), 0, 0, kind,
                        folderRow ? 1 : 2);
    }
    listfile::Header header;
    header.iconStamp = standard.stamp();
    files.writeFileAtomic(catalogs / "_00HD_BIGDISC.cct", *listfile::build(store, header));
  }
  ~Fixture() { std::filesystem::remove_all(folder); }

  void load(benchmark::State& state, const IconTable& icons) {
    CatalogDocument document({platform, catalogs, folder, *index, titles, &icons});
    if (document.load(u"_00HD_BIGDISC.cct", false) != CatalogDocument::LoadResult::Loaded)
      state.SkipWithError("load failed");
    benchmark::DoNotOptimize(document.list().kind(2));
    state.counters["rows"] = document.list().rowCount();
  }
};

Fixture& fixture() {
  static Fixture f;
  return f;
}

void BM_LoadSameStamp(benchmark::State& state) {
  Fixture& f = fixture();
  for (auto _ : state) f.load(state, f.standard);
}
BENCHMARK(BM_LoadSameStamp)->Unit(benchmark::kMillisecond);

void BM_LoadOtherStamp(benchmark::State& state) {
  Fixture& f = fixture();
  for (auto _ : state) f.load(state, f.user);
}
BENCHMARK(BM_LoadOtherStamp)->Unit(benchmark::kMillisecond);

void BM_ReDeriveOnly(benchmark::State& state) {
  Fixture& f = fixture();
  RowStore store;
  catalog::makeCatalogList(store);
  listfile::read(f.files, f.catalogs / "_00HD_BIGDISC.cct", store);
  for (auto _ : state) {
    Text stamp(IconTable::NoStamp);
    ReDeriveKinds(store, f.user, stamp);
    benchmark::DoNotOptimize(store.kind(2));
  }
}
BENCHMARK(BM_ReDeriveOnly)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
