// The grid engine over catalog lists of 10,000 to 1,000,000 rows, without a
// display: opening a grid on a filled list, paging to the end and back, and
// the tree lines of the last screen (the one place that looks back through
// the list for the ancestors of the top row). Painting is measured in
// grid_qt_bench.
//
// Counters: pages = Page Down and Page Up presses per iteration; the
// items_per_second of the paging benchmark is pages per second.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <vector>

#include "GridBenchCatalog.h"
#include "grid/GridKeys.h"
#include "grid/GridModel.h"

namespace {

using zevro::GridModel;
using zevro::RowStore;

constexpr int SurfaceWidth = 1000;
constexpr int SurfaceHeight = 800;  // 57 rows of 14 px

RowStore& catalogOf(int rows) {
  static std::map<int, std::unique_ptr<RowStore>> stores;
  auto& slot = stores[rows];
  if (!slot) {
    slot = std::make_unique<RowStore>();
    zevro::bench::buildCatalog(*slot, rows);
  }
  return *slot;
}

void setUp(GridModel& grid) {
  grid.Grid_Init();
  grid.columns().setCount(4);
  grid.columns().column(0).width = 300;
  grid.columns().column(2).width = 110;
  grid.columns().column(3).width = 90;
  grid.columns().column(2).fixed = true;
  grid.columns().column(3).fixed = true;
  grid.columns().setStretchColumn(1);
  grid.settings().treeMode = true;
  grid.setTextHeight(12);
  grid.Grid_Layout(SurfaceWidth, SurfaceHeight);
  grid.Grid_FinishRows(0);
}

void BM_OpenGrid(benchmark::State& state) {
  RowStore& store = catalogOf(static_cast<int>(state.range(0)));
  std::vector<zevro::TreeLineSegment> lines;
  std::vector<zevro::TreeBox> boxes;
  for (auto _ : state) {
    GridModel grid(store);
    setUp(grid);
    lines.clear();
    boxes.clear();
    grid.treeLines(0, grid.visibleRows() - 1, lines, boxes);
    benchmark::DoNotOptimize(lines.data());
  }
}
BENCHMARK(BM_OpenGrid)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

void BM_PageToEndAndBack(benchmark::State& state) {
  RowStore& store = catalogOf(static_cast<int>(state.range(0)));
  GridModel grid(store);
  setUp(grid);
  std::int64_t pages = 0;
  for (auto _ : state) {
    grid.Grid_KeyDown(zevro::gridkey::Home, 0);
    while (grid.cursorRow() < grid.rowCount() - 1) {
      grid.Grid_KeyDown(zevro::gridkey::PageDown, 0);
      ++pages;
    }
    while (grid.cursorRow() > 0) {
      grid.Grid_KeyDown(zevro::gridkey::PageUp, 0);
      ++pages;
    }
  }
  state.SetItemsProcessed(pages);
  state.counters["pages"] = benchmark::Counter(static_cast<double>(pages), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_PageToEndAndBack)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_TreeLinesOfTheLastScreen(benchmark::State& state) {
  RowStore& store = catalogOf(static_cast<int>(state.range(0)));
  GridModel grid(store);
  setUp(grid);
  grid.Grid_KeyDown(zevro::gridkey::End, 0);
  std::vector<zevro::TreeLineSegment> lines;
  std::vector<zevro::TreeBox> boxes;
  for (auto _ : state) {
    lines.clear();
    boxes.clear();
    grid.treeLines(grid.topRow(), grid.topRow() + grid.visibleRows() - 1, lines, boxes);
    benchmark::DoNotOptimize(lines.data());
  }
}
BENCHMARK(BM_TreeLinesOfTheLastScreen)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

// The worst place for the ancestor look-up: the last screen of one folder
// holding every row, whose ancestor lies a whole list back.
void BM_TreeLinesOfOneHugeFolder(benchmark::State& state) {
  static RowStore store;
  const int rows = static_cast<int>(state.range(0));
  if (store.rowCount() != rows) {
    store.clear();
    zevro::catalog::makeCatalogList(store);
    store.appendShown(zevro::catalog::buildRecord({u"TITLE"}), 0, 0, zevro::catalog::KindTitleHD, 0);
    store.appendShown(zevro::catalog::buildRecord({u"FOLDER"}), 2, 0, zevro::catalog::KindFolder, 1);
    const zevro::Text file = zevro::catalog::buildRecord({u"ファイル.TXT", u"注釈"});
    while (store.rowCount() < rows) store.appendShown(file, 0, 0, zevro::catalog::KindFile, 2);
    store.deriveIndexAndTreeFlags();
  }
  GridModel grid(store);
  setUp(grid);
  grid.Grid_KeyDown(zevro::gridkey::End, 0);
  std::vector<zevro::TreeLineSegment> lines;
  std::vector<zevro::TreeBox> boxes;
  for (auto _ : state) {
    lines.clear();
    boxes.clear();
    grid.treeLines(grid.topRow(), grid.topRow() + grid.visibleRows() - 1, lines, boxes);
    benchmark::DoNotOptimize(lines.data());
  }
}
BENCHMARK(BM_TreeLinesOfOneHugeFolder)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
