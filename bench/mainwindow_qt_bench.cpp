// The main window on a catalog at the list file's limit (LimitCatalog.h:
// about 300,000 rows, a record heap just under 16,777,216 characters).
//
//   BM_OpenToFirstScreen  リストを開く as the menu runs it (the file chooser
//                         answered at once): read the list file, build the
//                         folder view, lay out and paint the whole window
//   BM_SwitchMode         a display-mode command and the repaint it needs:
//                         folders only -> files at the right -> files below
//                         -> folders only (one tree is refused for a list
//                         this long, so it is not among them)
//   BM_LoadListFile       the reference: reading the list file alone
//
// Goals: the first screen in under 0.5 s, a mode switch in under 0.2 s.
// Runs on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>

#include <array>
#include <filesystem>
#include <memory>
#include <string>

#include "LimitCatalog.h"
#include "core/CatalogIndex.h"
#include "core/ListFile.h"
#include "core/OptionKeys.h"
#include "core/OptionStore.h"
#include "core/RowStore.h"
#include "core/TitleCache.h"
#include "listview/MainWindowLogic.h"
#include "listview/qt/MainWindow.h"
#include "platform/FakeUi.h"
#include "platform/LinuxFileSystem.h"

namespace {

using namespace zevro;

const std::string CatalogName = "_00HD_BIGDISC.cct";

// A program folder in a temporary folder with the catalog written into it,
// and a main window over it.
struct Fixture {
  std::filesystem::path root;
  std::filesystem::path program;
  std::filesystem::path catalogs;
  LinuxFileSystem disk;
  FakeUi ui;
  Platform platform{disk, ui};
  std::unique_ptr<OptionStore> options;
  std::unique_ptr<CatalogIndex> index;
  TitleCache titles;
  std::unique_ptr<MainWindowLogic> logic;
  std::unique_ptr<MainWindow> window;
  std::size_t rows = 0;

  Fixture() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zevro-mainwindow-bench-XXXXXX").native();
    root = ::mkdtemp(pattern.data());
    program = root / "zevro";
    catalogs = program / "Catalog";
    std::filesystem::create_directories(catalogs);
    {
      RowStore store;
      bench::buildLimitCatalog(store);
      rows = static_cast<std::size_t>(store.rowCount());
      disk.writeFileAtomic(catalogs / CatalogName, *listfile::build(store, listfile::Header{}));
    }
    options = std::make_unique<OptionStore>(disk, program / "ZEVRO32.Opt");
    options->writeNumber(opt::FileFrames, 4);  // the file pane below, as the program starts
    options->save();
    index = std::make_unique<CatalogIndex>(disk, catalogs);
    logic = std::make_unique<MainWindowLogic>(
        MainWindowLogic::Services{platform, *options, *index, titles, program, catalogs, u"0.1", nullptr});
    window = std::make_unique<MainWindow>(*logic);
    // The window's file chooser, answered at once.
    logic->hooks().chooseListFile = [this](const NativePath&, TextView, TextView) {
      return std::optional<NativePath>(catalogs / CatalogName);
    };
    window->resize(1000, 700);
    window->show();
    QApplication::processEvents();
  }
  ~Fixture() {
    window.reset();
    logic.reset();
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
  }

  void paint() {
    window->repaint();
    QApplication::processEvents();
  }
};

Fixture& fixture() {
  static Fixture f;
  return f;
}

void BM_OpenToFirstScreen(benchmark::State& state) {
  Fixture& f = fixture();
  for (auto _ : state) {
    f.window->runCommand(Command::MF_リスト開く);
    f.paint();
    if (f.logic->document().list().rowCount() != static_cast<int>(f.rows)) state.SkipWithError("not opened");
  }
  state.counters["rows"] = static_cast<double>(f.rows);
}
BENCHMARK(BM_OpenToFirstScreen)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SwitchMode(benchmark::State& state) {
  Fixture& f = fixture();
  if (f.logic->document().list().rowCount() == 0) f.window->runCommand(Command::MF_リスト開く);
  static constexpr std::array<Command, 3> Modes = {Command::MD_表示モード2, Command::MD_表示モード3,
                                                   Command::MD_表示モード0};
  std::size_t next = 0;
  for (auto _ : state) {
    f.window->runCommand(Modes[next]);
    f.paint();
    next = (next + 1) % Modes.size();
  }
  state.counters["rows"] = static_cast<double>(f.rows);
}
BENCHMARK(BM_SwitchMode)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadListFile(benchmark::State& state) {
  Fixture& f = fixture();
  RowStore store;
  for (auto _ : state) {
    if (listfile::read(f.disk, f.catalogs / CatalogName, store).status != listfile::ReadStatus::Ok)
      state.SkipWithError("load failed");
    benchmark::DoNotOptimize(store.rowCount());
  }
  state.counters["rows"] = static_cast<double>(f.rows);
}
BENCHMARK(BM_LoadListFile)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
