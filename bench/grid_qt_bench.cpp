// Painting the grid with QPainter into an off-screen image: one full screen
// (1000 x 800 px, 57 rows, four columns, tree lines and icons) of catalog
// lists of 10,000 to 1,000,000 rows, at places spread over the list; a Page
// Down with the screen it paints; a one-row scroll with the row it exposes.
//
//   grid_qt_bench                        the benchmarks (offscreen)
//   grid_qt_bench --screenshot FILE.png  shows a sample catalog in a real
//                                        window and saves what it shows
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTimer>

#include <cstring>
#include <map>
#include <memory>

#include "GridBenchCatalog.h"
#include "grid/GridKeys.h"
#include "grid/GridModel.h"
#include "grid/qt/GridFonts.h"
#include "grid/qt/GridPainter.h"
#include "grid/qt/GridWidget.h"

namespace {

using namespace zevro;

constexpr int SurfaceWidth = 1000;
constexpr int SurfaceHeight = 800;
constexpr int IconCount = 10;

// ---------------------------------------------------------------- icons

// A 16 x 16 icon per kind code: 1 folder, 2-4 media, 5 archive folder,
// 6 and more files of a few types.
QImage drawIcon(int kind) {
  QImage icon(16, 16, QImage::Format_ARGB32_Premultiplied);
  icon.fill(Qt::transparent);
  QPainter p(&icon);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QColor(0x60, 0x50, 0x20));
  if (kind == 1 || kind == 5) {
    p.setBrush(kind == 1 ? QColor(0xF0, 0xC8, 0x40) : QColor(0xC0, 0xA0, 0xE0));
    p.drawRect(1, 3, 6, 2);
    p.drawRect(1, 4, 13, 9);
  } else if (kind >= 2 && kind <= 4) {
    p.setPen(QColor(0x40, 0x40, 0x40));
    p.setBrush(QColor(0xB0, 0xB8, 0xC0));
    p.drawRoundedRect(1, 4, 13, 8, 2, 2);
    p.fillRect(10, 9, 2, 1, QColor(0x20, 0xE0, 0x20));
  } else {
    static const QColor bands[] = {QColor(0x90, 0x90, 0x90), QColor(0x30, 0x90, 0x30), QColor(0x30, 0x60, 0xC0),
                                   QColor(0xC0, 0x40, 0x40), QColor(0xA0, 0x60, 0x00)};
    p.setPen(QColor(0x50, 0x50, 0x50));
    p.setBrush(Qt::white);
    p.drawRect(3, 1, 10, 13);
    p.fillRect(5, 4, 6, 3, bands[(kind - 6) % 5]);
    p.fillRect(5, 8, 6, 1, QColor(0xA0, 0xA0, 0xA0));
    p.fillRect(5, 10, 6, 1, QColor(0xA0, 0xA0, 0xA0));
  }
  return icon;
}

// The strip in the program's form: each cell the picture beside its mask.
QImage iconStrip() {
  QImage strip(32, 16 * IconCount, QImage::Format_RGB32);
  strip.fill(Qt::white);
  for (int k = 1; k <= IconCount; ++k) {
    const QImage icon = drawIcon(k);
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        const QColor c = icon.pixelColor(x, y);
        if (c.alpha() == 0) continue;
        strip.setPixelColor(x, 16 * (k - 1) + y, c);
        strip.setPixelColor(16 + x, 16 * (k - 1) + y, Qt::black);
      }
    }
  }
  return strip;
}

// ---------------------------------------------------------------- set-up

RowStore& catalogOf(int rows) {
  static std::map<int, std::unique_ptr<RowStore>> stores;
  auto& slot = stores[rows];
  if (!slot) {
    slot = std::make_unique<RowStore>();
    zevro::bench::buildCatalog(*slot, rows);
  }
  return *slot;
}

// The main window's folder grid, as its options leave it by default.
void configure(GridModel& grid) {
  grid.Grid_Init();
  ColumnLayout& columns = grid.columns();
  columns.setCount(4);
  const TextView titles[] = {u"Folder", u"Comment", u"Date", u"Size"};
  const int widths[] = {300, 0, 110, 90};
  for (int i = 0; i < 4; ++i) {
    columns.column(i).title = Text(titles[i]);
    columns.column(i).width = widths[i];
  }
  columns.column(2).fixed = columns.column(3).fixed = true;
  columns.column(2).align = ColumnAlign::Centre;
  columns.column(3).align = ColumnAlign::Right;
  columns.setStretchColumn(1);
  GridSettings& s = grid.settings();
  s.treeMode = true;
  s.cursorOutline = true;
  s.cursorColour = 0xE8FFC8;
  s.textColourMode = TextColourMode::ByColourIndex;
  s.backgroundMode = BackgroundMode::Highlight;
  s.vRules = true;
  s.itemBarTextColour = 0xFFFFFF;
  s.itemBarTopColour = 0xE0D090;
  const Colour levels[] = {0x800000, 0x008000, 0x800080, 0xA06000, 0x007090, 0x8020A0, 0xC08000};
  for (int i = 0; i < 7; ++i) s.levelColours[static_cast<std::size_t>(i + 1)] = levels[i];
  const Colour marks[] = {0x9DFDEA, 0xA5FCE1, 0xA8F9D0, 0xA9FCB1, 0xDBFDA8,
                          0xFBFEB4, 0xFFFAD0, 0xFFEED9, 0xFFE6DF, 0xFFE8EB};
  for (int i = 0; i < 10; ++i) s.palette[static_cast<std::size_t>(i + 6)] = marks[i];
}

// A grid and its painter over an image of one screen.
struct Screen {
  explicit Screen(RowStore& store)
      : grid(store), painter(grid), image(SurfaceWidth, SurfaceHeight, QImage::Format_RGB32) {
    configure(grid);
    const QFont font = gridfonts::fontFor(grid.settings().font);
    painter.setFonts(font, gridfonts::fontFor(grid.settings().altFont));
    painter.setPalette(QApplication::palette());
    grid.setTextHeight(QFontMetrics(font).height());
    grid.Grid_Layout(SurfaceWidth, SurfaceHeight);
    const GridIcons& icons = grid.icons();
    grid.Grid_SetIcons(IconCount, 16, 16);
    painter.setIcons(GridPainter::argbStrip(iconStrip(), IconCount, 16, 16, icons.width, icons.height));
    grid.Grid_FinishRows(0);
  }
  void paint(const QRect& dirty) {
    QPainter p(&image);
    p.setClipRect(dirty);
    painter.paintSurface(p, dirty);
  }
  void paintAll() { paint(QRect(0, 0, SurfaceWidth, SurfaceHeight)); }

  GridModel grid;
  GridPainter painter;
  QImage image;
};

// ---------------------------------------------------------------- benchmarks

void BM_PaintScreen(benchmark::State& state) {
  Screen screen(catalogOf(static_cast<int>(state.range(0))));
  const int last = screen.grid.lastTopRow();
  std::int64_t i = 0;
  for (auto _ : state) {
    // Places spread over the whole list, the last screen among them.
    const int top = i % 8 == 7 ? last : static_cast<int>((i * 7919 * 97) % (last + 1));
    ++i;
    screen.grid.Grid_ScrollTo(top, true);
    screen.paintAll();
    benchmark::DoNotOptimize(screen.image.constBits());
  }
}
BENCHMARK(BM_PaintScreen)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_PageDownAndPaint(benchmark::State& state) {
  Screen screen(catalogOf(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    if (screen.grid.cursorRow() == screen.grid.rowCount() - 1) screen.grid.Grid_KeyDown(gridkey::Home, 0);
    const GridUpdate u = screen.grid.Grid_KeyDown(gridkey::PageDown, 0);
    screen.paintAll();
    benchmark::DoNotOptimize(u.full);
  }
}
BENCHMARK(BM_PageDownAndPaint)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_ScrollOneRowAndPaintTheExposedRow(benchmark::State& state) {
  Screen screen(catalogOf(static_cast<int>(state.range(0))));
  const int rowHeight = screen.grid.metrics().rowHeight;
  const int bottom = screen.grid.visibleRows() * rowHeight;
  for (auto _ : state) {
    if (screen.grid.topRow() == screen.grid.lastTopRow()) screen.grid.Grid_ScrollTo(0, true);
    screen.grid.Grid_ScrollTo(screen.grid.topRow() + 1, false);
    screen.paint(QRect(0, bottom - rowHeight, SurfaceWidth, rowHeight));
    benchmark::DoNotOptimize(screen.image.constBits());
  }
}
BENCHMARK(BM_ScrollOneRowAndPaintTheExposedRow)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

// ---------------------------------------------------------------- screenshot

struct DemoRow {
  int level;
  int kind;
  TextView name;
  TextView comment;
  TextView date;
  TextView size;
};

const DemoRow DemoRows[] = {
    {0, 3 + 1, u"DATA_2024", u"仕事の資料とプライベート写真のバックアップ", u"", u"1,234,567,890"},
    {1, 1, u"ドキュメント", u"仕事の書類", u"24/03/15 09:12", u"52,428,800"},
    {2, 8, u"議事録_2024年3月.TXT", u"定例会議の議事録", u"24/03/14 18:30", u"12,288"},
    {2, 9, u"企画書（最終版）.DOC", u"新製品の企画書", u"24/03/10 11:05", u"245,760"},
    {2, 1, u"見積書", u"取引先ごとの見積", u"24/02/28 16:40", u"1,048,576"},
    {3, 10, u"株式会社山田商事.XLS", u"", u"24/02/27 10:00", u"34,816"},
    {3, 10, u"有限会社鈴木工業.XLS", u"再見積あり", u"24/02/28 16:40", u"30,720"},
    {2, 1, u"報告書", u"月次報告", u"24/03/01 08:00", u"2,097,152"},
    {3, 1, u"2023年度", u"", u"23/12/28 17:45", u"1,572,864"},
    {4, 9, u"年間報告書.DOC", u"提出済み", u"23/12/28 17:45", u"1,572,864"},
    {3, 9, u"3月分報告.DOC", u"作成中", u"24/03/15 09:12", u"524,288"},
    {1, 1, u"写真", u"旅行とイベント", u"24/01/05 20:10", u"734,003,200"},
    {2, 1, u"京都旅行", u"紅葉の季節", u"23/11/20 21:00", u"314,572,800"},
    {3, 7, u"清水寺.JPG", u"朝の清水寺", u"23/11/18 07:32", u"4,194,304"},
    {3, 7, u"金閣寺.JPG", u"", u"23/11/18 10:15", u"3,932,160"},
    {3, 7, u"嵐山の竹林.JPG", u"人が少なかった", u"23/11/19 08:47", u"4,456,448"},
    {2, 1, u"花見", u"上野公園", u"24/04/02 13:00", u"209,715,200"},
    {3, 7, u"桜並木.JPG", u"満開", u"24/04/01 12:30", u"5,242,880"},
    {2, 6, u"アルバム.ZIP", u"写真のまとめ", u"24/01/05 20:10", u"209,715,200"},
    {3, 5, u"2023", u"", u"24/01/05 20:05", u""},
    {4, 7, u"年賀状.JPG", u"", u"24/01/01 00:10", u"1,048,576"},
    {1, 1, u"音楽", u"お気に入りの曲", u"23/08/30 22:22", u"157,286,400"},
    {2, 1, u"クラシック", u"", u"23/08/30 22:22", u"104,857,600"},
    {3, 6, u"交響曲第９番.MP3", u"年末の定番", u"23/08/30 22:20", u"52,428,800"},
    {1, 1, u"プログラム", u"自作ツール", u"22/05/12 14:08", u"8,388,608"},
    {2, 8, u"はじめにお読みください.TXT", u"インストール手順", u"22/05/12 14:08", u"4,096"},
};

int screenshot(const char* path) {
  RowStore store;
  catalog::makeCatalogList(store);
  for (const DemoRow& r : DemoRows) {
    store.appendShown(catalog::buildRecord({r.name, r.comment, r.date, r.size, u"0"}),
                      catalog::colourIndexFor(r.kind, r.level), 0, r.kind, r.level);
  }
  store.deriveIndexAndTreeFlags();
  // "音楽" collapsed: its subfolder is hidden behind a plus box.
  const int music = 21;
  store.setTreeFlags(music, store.treeFlags(music) | catalog::TreeCollapsed);
  std::vector<std::int32_t> order;
  for (int r = 0; r < store.rowCount(); ++r) {
    if (r == 22 || r == 23) continue;
    order.push_back(r);
  }
  store.setDisplayOrder(order);
  store.setHighlight(14, 2);  // found rows of a search, the current hit
  store.setHighlight(10, 6);

  GridModel grid(store);
  configure(grid);
  grid.columns().column(0).width = 250;
  grid.columns().column(2).width = 110;
  grid.columns().column(3).width = 100;
  grid.setSort(3, 1);
  GridWidget widget(grid);
  widget.setWindowTitle(QStringLiteral("ＺＥＶＲＯ"));
  widget.setIconStrip(iconStrip(), IconCount, 16, 16);
  widget.resize(780, 440);
  widget.apply(grid.Grid_MouseDown(gridkey::LeftButton, 0, 120, 12 * grid.metrics().rowHeight + 3));
  widget.apply(grid.Grid_MouseUp(gridkey::LeftButton, 0, 0, 0));
  widget.apply(grid.Grid_MouseDown(gridkey::LeftButton, gridkey::ShiftMask, 120, 14 * grid.metrics().rowHeight + 3));
  widget.apply(grid.Grid_MouseUp(gridkey::LeftButton, 0, 0, 0));
  widget.apply(grid.Grid_KeyDown(gridkey::Down, gridkey::CtrlMask));
  widget.apply(grid.Grid_SetCursorColumn(1));
  widget.show();
  int result = 1;
  QTimer::singleShot(500, [&] {
    QScreen* screen = widget.screen();
    QPixmap shot = screen != nullptr ? screen->grabWindow(widget.winId()) : QPixmap();
    if (shot.isNull() || shot.width() < widget.width()) shot = widget.grab();
    result = shot.save(QString::fromLocal8Bit(path)) ? 0 : 1;
    QApplication::quit();
  });
  QApplication::exec();
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  const bool shot = argc == 3 && std::strcmp(argv[1], "--screenshot") == 0;
  if (!shot && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (shot) return screenshot(argv[2]);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
