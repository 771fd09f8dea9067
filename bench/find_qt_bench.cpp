// The search window on the catalogs of a program folder (bench/
// search_window_timings.sh makes one with bench/export_catalog and gives it
// in ZEVRO_SEARCH_DIR):
//   BM_SearchWindow  "検索 開始" for ".TXT" (every file row, about 285,000
//                    result rows): the scan through the engine with the
//                    window's pump, the grid filled and laid out, the count
// The script compares it with the whole zevro-cli search process on the
// same folder. Runs on Qt's offscreen platform unless QT_QPA_PLATFORM says
// otherwise.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>
#include <memory>

#include "core/OptionStore.h"
#include "listview/MainWindowLogic.h"
#include "listview/qt/MainWindow.h"
#include "media/Program.h"
#include "platform/FakeUi.h"
#include "platform/LinuxFileSystem.h"
#include "select/qt/FindForm.h"

namespace {

using namespace zevro;

void BM_SearchWindow(benchmark::State& state) {
  const char* dir = std::getenv("ZEVRO_SEARCH_DIR");
  if (dir == nullptr) {
    state.SkipWithError("ZEVRO_SEARCH_DIR is not set");
    return;
  }
  LinuxFileSystem disk;
  FakeUi ui;
  Platform platform{disk, ui};
  Program program(platform, NativePath(dir));
  if (program.loadOptions() || !program.settleCatalogFolder()) {
    state.SkipWithError("the program folder cannot be opened");
    return;
  }
  MainWindowLogic logic({platform, program.options(), program.index(), program.titles(), program.programFolder(),
                         program.catalogFolder(), u"0.1"});
  MainWindow window(logic);
  FindForm find(program, window, true);
  find.OpenFind(u".TXT");
  QApplication::processEvents();
  for (auto _ : state) {
    find.startStop();
    QApplication::processEvents();
    benchmark::DoNotOptimize(find.results().rowCount());
  }
  state.counters["rows"] = static_cast<double>(find.results().rowCount());
}
BENCHMARK(BM_SearchWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
