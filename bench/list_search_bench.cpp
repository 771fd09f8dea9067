// The search within a list of 300,000 rows (the list file's limit):
//   BM_PrepareSearch   the hit marks of every row for a new word (about
//                      30,000 hits), with case and width folding off and on
//   BM_StepToFarHit    one F3 step from the first row to a hit in the last
//                      rows: display rows (mode 0, folders only) and stored
//                      rows (mode 2, files reached through the pane)
//   BM_StepWithoutHit  one F3 step that runs to the end and finds nothing
// The marks are prepared outside the timed part of the steps.
#include <benchmark/benchmark.h>

#include <memory>

#include "GridBenchCatalog.h"
#include "core/CatalogList.h"
#include "grid/GridModel.h"
#include "listview/FolderViewBuilder.h"
#include "listview/ListSearch.h"
#include "listview/TreeDisplay.h"

namespace {

using namespace zevro;

constexpr int CatalogRows = 300000;

const RowStore& bigCatalog() {
  static const std::unique_ptr<RowStore> store = [] {
    auto s = std::make_unique<RowStore>();
    bench::buildCatalog(*s, CatalogRows);
    FolderViewBuilder::prepareMarks(*s);
    return s;
  }();
  return *store;
}

void setUpGrid(GridModel& grid) {
  grid.Grid_Init();
  grid.columns().setCount(4);
  grid.columns().setStretchColumn(1);
  grid.settings().treeMode = true;
  grid.setTextHeight(12);
  grid.Grid_Layout(1000, 800);
}

struct Window {
  RowStore catalog;
  RowStore files;
  GridModel folderGrid{catalog};
  GridModel fileGrid{files};
  TreeDisplay tree{folderGrid, fileGrid};
  ListSearch search{tree};

  explicit Window(int mode) {
    const RowStore& source = bigCatalog();
    catalog.loadBlocks(source.heap(), source.levelBlock(), source.treeFlagBlock(), source.kindBlock(),
                       source.colourBlock());
    catalog::makeCatalogList(catalog);
    catalog.setSortOrder(source.sortOrder());
    setUpGrid(folderGrid);
    setUpGrid(fileGrid);
    tree.setDisplayMode(mode);
    tree.BuildFolderView(0, false, false);
  }
  void toTop() {
    search.reset();
    folderGrid.Grid_ShowRow(0, true);
  }
};

MatchSwitches switchesOf(bool fold) {
  MatchSwitches s;
  s.caseFold = fold;
  s.widthFold = fold;
  return s;
}

// The name of the last row of a kind (folder or file).
Text lastName(bool folder) {
  const RowStore& s = bigCatalog();
  for (int r = s.rowCount() - 1; r > 0; --r)
    if (catalog::isFolderLike(s.kind(r)) == folder) return s.field(0, r);
  return {};
}

void BM_PrepareSearch(benchmark::State& state) {
  Window w(2);
  const MatchSwitches switches = switchesOf(state.range(0) != 0);
  for (auto _ : state) {
    w.search.reset();
    TreeUpdate update;
    benchmark::DoNotOptimize(w.search.prepare(u"議事録", switches, ListSearch::Both, update));
  }
}

void BM_StepToFarHit(benchmark::State& state) {
  const int mode = static_cast<int>(state.range(0));
  Window w(mode);
  const Text word = lastName(mode == 0);
  const MatchSwitches switches = switchesOf(false);
  for (auto _ : state) {
    state.PauseTiming();
    w.toTop();
    TreeUpdate update;
    w.search.prepare(word, switches, ListSearch::Names, update);
    state.ResumeTiming();
    const ListSearch::Step step = w.search.findNext(word, switches, ListSearch::Names, false, maingrid::Pane::Folder);
    if (!step.found) state.SkipWithError("no hit");
  }
}

void BM_StepWithoutHit(benchmark::State& state) {
  const int mode = static_cast<int>(state.range(0));
  Window w(mode);
  const MatchSwitches switches = switchesOf(true);
  const Text word = u"見つからない語";
  for (auto _ : state) {
    state.PauseTiming();
    w.toTop();
    TreeUpdate update;
    w.search.prepare(word, switches, ListSearch::Both, update);
    state.ResumeTiming();
    benchmark::DoNotOptimize(w.search.findNext(word, switches, ListSearch::Both, false, maingrid::Pane::Folder).found);
  }
}

BENCHMARK(BM_PrepareSearch)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StepToFarHit)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StepWithoutHit)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
