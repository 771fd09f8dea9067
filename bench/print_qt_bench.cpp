// The print layout on the QPainter page device (offscreen):
//   PreviewAtRangeStart100   a setting changed in the print window: the
//                            preview drawn again with the range starting at
//                            page 100 of a 300,000-row catalog (99 pages laid
//                            out without drawing, then one page drawn)
//   PdfOf10000Rows           every page of a 10,000-row catalog into a PDF
#include <benchmark/benchmark.h>

#include <QDir>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QTemporaryDir>

#include "GridBenchCatalog.h"
#include "platform/FakeUi.h"
#include "print/GridPrint.h"
#include "print/paint/QtPrevPrint.h"

namespace {

using namespace zevro;

struct Catalog {
  explicit Catalog(int rows) {
    bench::buildCatalog(store, rows);
    std::vector<std::int32_t> every(static_cast<std::size_t>(store.rowCount()));
    for (int r = 0; r < store.rowCount(); ++r) every[static_cast<std::size_t>(r)] = r;
    store.setDisplayOrder(std::move(every));
  }
  RowStore store;
};

void PreviewAtRangeStart100(benchmark::State& state) {
  static Catalog catalog(300'000);
  QTemporaryDir dir;
  QPdfWriter writer(QDir(dir.path()).filePath("never.pdf"));
  writer.setPageSize(QPageSize(QPageSize::A4));
  writer.setPageMargins(QMarginsF(0, 0, 0, 0));
  QtPrevPrint device(writer);
  device.setSurfaceDpi(60);
  device.setPreview(true);
  FakeUi ui;
  GridPrint print(device, ui);
  RowStorePrintSource source(catalog.store, {}, 6);
  PrintSettings settings;
  settings.allPages = false;
  settings.rangeStart = 100;
  settings.rangeEnd = 100;
  int shown = 0;
  for (auto _ : state) {
    settings.verticalRules = !settings.verticalRules;  // the setting the user changed
    shown += print.DrawListPages(source, settings, u"HD: 資料", u"", 9000).shown;
  }
  if (shown != static_cast<int>(state.iterations())) state.SkipWithError("page 100 was not shown");
  state.counters["laid_out"] = print.DrawListPages(source, settings, u"HD: 資料", u"", 9000).laidOut;
}
BENCHMARK(PreviewAtRangeStart100)->Unit(benchmark::kMillisecond);

void PdfOf10000Rows(benchmark::State& state) {
  static Catalog catalog(10'000);
  QTemporaryDir dir;
  FakeUi ui;
  RowStorePrintSource source(catalog.store, {}, 6);
  int pages = 0;
  for (auto _ : state) {
    QPdfWriter writer(QDir(dir.path()).filePath("all.pdf"));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QtPrevPrint device(writer);
    device.setPreview(false);
    GridPrint print(device, ui);
    print.DrawListPages(source, PrintSettings{}, u"HD: 資料", u"", 9000);
    device.endJob();
    pages = device.pagesPrinted();
  }
  state.counters["pages"] = pages;
}
BENCHMARK(PdfOf10000Rows)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
