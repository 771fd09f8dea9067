// The tree display over a catalog at the list file's limit (300,000 rows):
// the first build after a load, switching display modes, opening and closing
// the whole tree, and sorting a file pane of 300,000 files by name,
// extension and kind group. Nothing is drawn; grid_qt_bench measures paints.
//
// Mode 1 (one tree) is refused by the main window for lists above 32,767
// rows; BM_BuildMode measures its build anyway through the builder, as a
// bound for the day that limit goes.
#include <benchmark/benchmark.h>

#include <memory>

#include "GridBenchCatalog.h"
#include "core/CatalogList.h"
#include "grid/GridModel.h"
#include "listview/DisplayMode.h"
#include "listview/FolderViewBuilder.h"
#include "listview/ListSorter.h"
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

// One folder holding `rows` rows of files, names and extensions mixed as a
// download folder has them.
std::unique_ptr<RowStore> folderOf(int rows) {
  constexpr const char16_t* Extensions[] = {u"JPG", u"txt", u"Doc", u"ZIP", u"mp3", u"XYZ", u"pdf", u"c", u"", u"html"};
  auto s = std::make_unique<RowStore>();
  catalog::makeCatalogList(*s);
  s->appendShown(catalog::buildRecord({u"DISK"}), 1, 0, catalog::KindTitleHD, 0);
  s->appendShown(catalog::buildRecord({u"ダウンロード"}), 2, 0, catalog::KindFolder, 1);
  for (unsigned i = 0; s->rowCount() < rows; ++i) {
    const unsigned scrambled = i * 2654435761U % 1000003U;
    Text name = (i % 3 == 0 ? u"写真_" : i % 3 == 1 ? u"report_" : u"Memo_") + bench::number(scrambled, 7);
    const char16_t* ext = Extensions[i % 10];
    if (*ext != 0) name += u"." + Text(ext);
    s->appendShown(catalog::buildRecord({name, u"", u"24/01/02 03:04", bench::number(i % 5000, 4)}), 0, 0,
                   catalog::KindFile, 2);
  }
  s->deriveIndexAndTreeFlags();
  s->setSortOrder(zevro::ListSort::Name);
  FolderViewBuilder::prepareMarks(*s);
  return s;
}

const RowStore& bigFolder() {
  static const std::unique_ptr<RowStore> store = folderOf(CatalogRows);
  return *store;
}

const RowStore& smallFolder() {
  static const std::unique_ptr<RowStore> store = folderOf(10000);
  return *store;
}

void setUpGrid(GridModel& grid) {
  grid.Grid_Init();
  grid.columns().setCount(4);
  grid.columns().column(0).width = 300;
  grid.columns().column(2).width = 110;
  grid.columns().column(3).width = 90;
  grid.columns().column(2).defaultSort = 1;
  grid.columns().column(3).defaultSort = 1;
  grid.columns().setStretchColumn(1);
  grid.settings().treeMode = true;
  grid.setTextHeight(12);
  grid.Grid_Layout(1000, 800);
}

// A main window's pair of grids over a copy of a catalog.
struct Window {
  RowStore catalog;
  RowStore files;
  GridModel folderGrid{catalog};
  GridModel fileGrid{files};
  TreeDisplay tree{folderGrid, fileGrid};

  Window(const RowStore& source, int mode) {
    catalog.loadBlocks(source.heap(), source.levelBlock(), source.treeFlagBlock(), source.kindBlock(),
                       source.colourBlock());
    catalog::makeCatalogList(catalog);
    catalog.setSortOrder(source.sortOrder());
    setUpGrid(folderGrid);
    setUpGrid(fileGrid);
    tree.setDisplayMode(mode);
  }
};

// A catalog just loaded: marks, then the first build at all levels, with
// the file pane filled for the cursor's folder.
void BM_FirstBuild(benchmark::State& state) {
  Window w(bigCatalog(), static_cast<int>(state.range(0)));
  for (auto _ : state) {
    w.tree.prepareMarks();
    w.tree.BuildFolderView(0, false, false);
    benchmark::DoNotOptimize(w.catalog.shownCount());
  }
  state.counters["shown"] = w.catalog.shownCount();
}
BENCHMARK(BM_FirstBuild)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);

// A level button: level build, then the cursor's row revealed again.
void BM_LevelButton(benchmark::State& state) {
  Window w(bigCatalog(), 2);
  w.tree.BuildFolderView(0, false, false);
  w.folderGrid.Grid_MoveCursor(w.catalog.shownCount() / 2);
  const int level = static_cast<int>(state.range(0));
  for (auto _ : state) {
    w.tree.chooseLevel(level);
    w.tree.chooseLevel(0);
  }
  state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_LevelButton)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

// The display-mode commands as the menu gives them: folders only -> right
// pane -> bottom pane -> folders only, each a keep-state rebuild with the
// cursor kept and the pane refilled. items_per_second: switches per second.
void BM_SwitchModes(benchmark::State& state) {
  Window w(bigCatalog(), 0);
  w.tree.BuildFolderView(0, false, false);
  w.folderGrid.Grid_MoveCursor(w.catalog.shownCount() / 2);
  for (auto _ : state) {
    w.tree.chooseDisplayMenuItem(DisplayMode::ItemRightPane);
    w.tree.chooseDisplayMenuItem(DisplayMode::ItemBottomPane);
    w.tree.chooseDisplayMenuItem(DisplayMode::ItemFoldersOnly);
  }
  state.SetItemsProcessed(state.iterations() * 3);
}
BENCHMARK(BM_SwitchModes)->Unit(benchmark::kMillisecond);

// One build of each shown mode (0, 1, 2; 4 builds as 2) through the builder,
// keeping the marks or to all levels.
void BM_BuildMode(benchmark::State& state) {
  RowStore store;
  const RowStore& source = bigCatalog();
  store.loadBlocks(source.heap(), source.levelBlock(), source.treeFlagBlock(), source.kindBlock(),
                   source.colourBlock());
  const int mode = static_cast<int>(state.range(0));
  const bool keepState = state.range(1) != 0;
  FolderViewBuilder builder;
  builder.buildToLevel(store, mode, 0);
  for (auto _ : state) {
    if (keepState) {
      builder.buildKeepingState(store, mode);
    } else {
      builder.buildToLevel(store, mode, 0);
    }
  }
  state.counters["shown"] = store.shownCount();
}
BENCHMARK(BM_BuildMode)->ArgsProduct({{0, 1, 2}, {0, 1}})->Unit(benchmark::kMillisecond);

// Collapse the title line, then open its whole subtree again (Shift-click
// on its box): every folder (mode 0) or every row (one tree) is spliced in.
void BM_CollapseExpandAll(benchmark::State& state) {
  const bool filesToo = state.range(0) != 0;
  Window w(bigCatalog(), 0);
  FolderViewBuilder builder;
  builder.buildToLevel(w.catalog, filesToo ? 1 : 0, 0);
  for (auto _ : state) {
    w.tree.Grid_ToggleChildren(0, false, false);
    w.tree.Grid_ToggleChildren(0, true, filesToo);
  }
  state.counters["shown"] = w.catalog.shownCount();
  state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_CollapseExpandAll)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A file pane of 300,000 files: filling it, then sorting by name (2),
// extension (3) and kind group (4), back to the natural order between.
void BM_FillPane(benchmark::State& state) {
  Window w(bigFolder(), 2);
  w.tree.BuildFolderView(0, false, false);
  w.folderGrid.Grid_MoveCursor(1);
  for (auto _ : state) w.tree.FillFilePane(true);
  state.counters["files"] = w.files.rowCount();
}
BENCHMARK(BM_FillPane)->Unit(benchmark::kMillisecond);

void BM_SortPane(benchmark::State& state) {
  Window w(bigFolder(), 2);
  w.tree.BuildFolderView(0, false, false);
  w.folderGrid.Grid_MoveCursor(1);
  w.tree.FillFilePane(true);
  const int kind = static_cast<int>(state.range(0));
  for (auto _ : state) {
    w.tree.sortFiles(kind == 2 ? 1 : kind);  // 1: by name, descending (2 is the natural order)
    state.PauseTiming();
    w.tree.sortFiles(2);
    state.ResumeTiming();
  }
  state.counters["files"] = w.files.rowCount();
}
BENCHMARK(BM_SortPane)->Arg(2)->Arg(3)->Arg(4)->Unit(benchmark::kMillisecond);

// The same on a folder of 10,000 files, as a large pane of everyday use.
void BM_SortSmallPane(benchmark::State& state) {
  Window w(smallFolder(), 2);
  w.tree.BuildFolderView(0, false, false);
  w.folderGrid.Grid_MoveCursor(1);
  w.tree.FillFilePane(true);
  const int kind = static_cast<int>(state.range(0));
  for (auto _ : state) {
    w.tree.sortFiles(kind == 2 ? 1 : kind);
    state.PauseTiming();
    w.tree.sortFiles(2);
    state.ResumeTiming();
  }
  state.counters["files"] = w.files.rowCount();
}
BENCHMARK(BM_SortSmallPane)->Arg(2)->Arg(3)->Arg(4)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
