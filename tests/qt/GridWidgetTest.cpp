#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QImage>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <set>
#include <string>

#include "core/CatalogList.h"
#include "grid/GridColours.h"
#include "grid/GridModel.h"
#include "grid/qt/GridFonts.h"
#include "grid/qt/GridItemBar.h"
#include "grid/qt/GridWidget.h"

namespace zevro {
namespace {

using namespace catalog;

QColor qcolour(Colour c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }

// An icon strip in the program's form: 16 x 16 icons, each cell the picture
// (one colour per icon) beside its mask (black: drawn, white: transparent),
// the outer two pixels transparent.
QImage iconStrip(int count) {
  QImage strip(32, 16 * count, QImage::Format_RGB32);
  strip.fill(Qt::white);
  for (int i = 0; i < count; ++i) {
    for (int y = 2; y < 14; ++y) {
      for (int x = 2; x < 14; ++x) {
        strip.setPixelColor(x, 16 * i + y, QColor::fromHsv(i * 36 % 360, 200, 200));
        strip.setPixelColor(16 + x, 16 * i + y, Qt::black);
      }
    }
  }
  return strip;
}

// A grid of four columns (name, comment, date, size) over `rows` rows: a
// title line, then folders F0, F1, ... each holding three files, so that
// tree lines, colours and selection show. Only the name column has text.
class GridWidgetTest : public ::testing::Test {
protected:
  void SetUp() override {
    makeCatalogList(store);
    store.appendShown(buildRecord({u"ボリューム"}), 0, 0, KindTitleHD, 0);
    for (int f = 0; f < 10; ++f) {
      const Text n = ascii(std::to_string(f));
      store.appendShown(buildRecord({u"F" + n}), colourIndexFor(KindFolder, 1), 0, KindFolder, 1);
      for (int i = 0; i < 3; ++i) {
        store.appendShown(buildRecord({u"ファイル" + ascii(std::to_string(i))}), 0, 0, KindFile, 2);
      }
    }
    store.deriveIndexAndTreeFlags();
    model.Grid_Init();
    model.columns().setCount(4);
    const int widths[] = {160, 0, 100, 80};
    for (int i = 0; i < 4; ++i) model.columns().column(i).width = widths[i];
    model.columns().column(2).fixed = true;
    model.columns().column(3).fixed = true;
    model.columns().setStretchColumn(1);
    model.settings().vRules = true;
    model.settings().treeMode = true;
    model.settings().textColourMode = TextColourMode::ByColourIndex;
    widget = std::make_unique<GridWidget>(model);
    widget->applySettings();
    widget->setIconStrip(iconStrip(10), 10, 16, 16);
    widget->resize(480, 300);
    widget->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(widget.get()));
  }

  QWidget* surface() const { return widget->viewport(); }
  int rowY(int row) const { return model.rowTop(row) + model.metrics().rowHeight / 2; }
  // A point in a column well away from any text.
  QPoint emptyPoint(int column, int row) const { return QPoint(model.columns().column(column).right - 3, rowY(row)); }
  void click(int row, Qt::KeyboardModifiers mods = {}) {
    QTest::mouseClick(surface(), Qt::LeftButton, mods, QPoint(30, rowY(row)));
  }
  // What the window shows now, painted as the events left it.
  QImage shown() const {
    QApplication::processEvents();
    return surface()->grab().toImage();
  }
  std::set<int> selected() const {
    std::set<int> rows;
    for (int r = 0; r < model.rowCount(); ++r) {
      if (store.selected(r)) rows.insert(r);
    }
    return rows;
  }

  RowStore store;
  GridModel model{store};
  std::unique_ptr<GridWidget> widget;
};

TEST_F(GridWidgetTest, ClickShiftClickAndCtrlClickSelectAndPaintTheRows) {
  click(5);
  EXPECT_EQ(model.cursorRow(), 5);
  EXPECT_EQ(selected(), std::set<int>{5});
  click(8, Qt::ShiftModifier);
  EXPECT_EQ(selected(), (std::set<int>{5, 6, 7, 8}));
  click(6, Qt::ControlModifier);
  EXPECT_EQ(selected(), (std::set<int>{5, 7, 8}));
  EXPECT_EQ(model.cursorRow(), 6);

  const QImage image = shown();
  const QColor selection = widget->palette().color(QPalette::Active, QPalette::Highlight);
  const struct {
    const char* behaviour;
    QPoint at;
    QColor colour;
  } samples[] = {
      {"selected row in the selection background", emptyPoint(1, 7), selection},
      {"selected row, last column", emptyPoint(3, 5), selection},
      {"unselected row in the background colour", emptyPoint(1, 6), Qt::white},
      {"row never selected", emptyPoint(1, 2), Qt::white},
      {"the cursor cell is filled in the cursor colour", emptyPoint(0, 6), qcolour(0x80FFFF)},
      {"the vertical rule at the column's right", QPoint(model.columns().column(1).right, rowY(2)), qcolour(0xB0B0B0)},
  };
  for (const auto& s : samples) EXPECT_EQ(image.pixelColor(s.at), s.colour) << s.behaviour;
}

TEST_F(GridWidgetTest, KeysMoveTheCursorAndTheScrollBarFollows) {
  QTest::keyClick(widget.get(), Qt::Key_Down);
  EXPECT_EQ(model.cursorRow(), 1);
  QTest::keyClick(widget.get(), Qt::Key_End);
  EXPECT_EQ(model.cursorRow(), model.rowCount() - 1);
  EXPECT_EQ(widget->scrollBar()->value(), model.lastTopRow());
  EXPECT_EQ(widget->scrollBar()->maximum(), model.rowCount() - model.visibleRows());
  EXPECT_EQ(widget->scrollBar()->pageStep(), model.visibleRows());
  QTest::keyClick(widget.get(), Qt::Key_Home);
  EXPECT_EQ(model.topRow(), 0);
  EXPECT_EQ(widget->scrollBar()->value(), 0);
  QTest::keyClick(widget.get(), Qt::Key_F);  // next row starting with F
  EXPECT_EQ(model.cursorRow(), 1);
}

TEST_F(GridWidgetTest, TheGridFollowsItsScrollBar) {
  store.setSelected(12, true);
  QScrollBar* bar = widget->scrollBar();
  bar->setValue(10);
  EXPECT_EQ(model.topRow(), 10);
  QImage image = shown();
  EXPECT_EQ(image.pixelColor(emptyPoint(1, 12)), widget->palette().color(QPalette::Active, QPalette::Highlight));
  EXPECT_EQ(image.pixelColor(emptyPoint(1, 11)), QColor(Qt::white));
  bar->setValue(bar->maximum() + 50);
  EXPECT_EQ(model.topRow(), model.lastTopRow());
}

TEST_F(GridWidgetTest, TheScrollBarShowsBelowTheTitlesOnlyWhenRowsDoNotFit) {
  const struct {
    const char* behaviour;
    int height;
    bool bar;
  } cases[] = {
      {"41 rows in 300 px: the bar shows", 300, true},
      {"41 rows in a tall window: no bar", 41 * 20 + 100, false},
  };
  for (const auto& c : cases) {
    widget->resize(480, c.height);
    QApplication::processEvents();
    EXPECT_EQ(model.needsScrollBar(), c.bar) << c.behaviour;
    EXPECT_EQ(widget->scrollBar()->isVisible(), c.bar) << c.behaviour;
    EXPECT_EQ(surface()->width(), model.surfaceWidth()) << c.behaviour;
    EXPECT_EQ(widget->itemBar()->width(), model.gridWidth()) << c.behaviour << ": titles span the whole width";
    if (c.bar) {
      EXPECT_EQ(widget->scrollBar()->geometry().top(), widget->itemBar()->geometry().bottom() + 1) << c.behaviour;
      EXPECT_EQ(widget->scrollBar()->geometry().left(), surface()->geometry().right() + 1) << c.behaviour;
    }
  }
}

TEST_F(GridWidgetTest, TheWheelScrollsTheRows) {
  const QPoint at(100, rowY(2));
  QWheelEvent down(at, surface()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
  QApplication::sendEvent(surface(), &down);
  EXPECT_GT(model.topRow(), 0);
  EXPECT_EQ(widget->scrollBar()->value(), model.topRow());
}

TEST_F(GridWidgetTest, DraggingAColumnEdgeResizesItWithinItsLimits) {
  GridItemBar* bar = widget->itemBar();
  const int y = bar->height() / 2;
  const int edge = model.columns().column(0).edge;
  const int commentWidth = model.columns().column(1).shownWidth;
  QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(edge - 2, y));
  ASSERT_TRUE(model.itemBarDrag().dragging());
  QTest::mouseMove(bar, QPoint(edge + 40, y));
  QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(edge + 40, y));
  EXPECT_FALSE(model.itemBarDrag().dragging());
  EXPECT_EQ(model.columns().column(0).shownWidth, 200);
  EXPECT_EQ(model.columns().column(1).shownWidth, commentWidth - 40) << "the stretch column gave the room";
  const QImage image = shown();
  EXPECT_EQ(image.pixelColor(model.columns().column(0).right, rowY(3)), qcolour(0xB0B0B0)) << "rule at the new edge";
  EXPECT_EQ(image.pixelColor(edge, rowY(3)), QColor(Qt::white)) << "nothing left at the old edge";

  // Far to the right: the guide stops 80 px short of the next column's right.
  const int newEdge = model.columns().column(0).edge;
  const int limit = model.columns().column(1).right - 80;
  QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(newEdge + 3, y));
  QTest::mouseMove(bar, QPoint(470, y));
  QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(470, y));
  EXPECT_EQ(model.columns().column(0).edge, limit);

  // The boundary of a fixed column does not move.
  const int dateEdge = model.columns().column(2).edge;
  QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(dateEdge - 2, y));
  EXPECT_FALSE(model.itemBarDrag().dragging());
  QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(dateEdge - 2, y));
  EXPECT_EQ(model.cursorColumn(), 2) << "a press that starts no drag picks the column";
}

TEST_F(GridWidgetTest, TreeLinesBoxesAndLevelColoursArePainted) {
  const QImage image = shown();
  const int row = 1;  // F0, an open folder with a later sibling
  const int c = store.indent(1) - TreeLines::ConnectorOffset;
  const TreeLines planner(model.treeGeometry());
  const int mid = planner.middleOf(model.rowTop(row));
  const QColor line = qcolour(gridcolours::treeLine(0xFFFFFF));
  EXPECT_EQ(image.pixelColor(c + 6, mid), line) << "horizontal connector";
  EXPECT_EQ(image.pixelColor(c, model.rowTop(row + 1) + 2), line) << "the line to the next sibling";
  // F0 has no subfolders, so no box: folders with files only.
  EXPECT_EQ(image.pixelColor(c - 4, mid), QColor(Qt::white));
  // Some pixel of the name text is drawn in the level colour of index 2.
  const QColor folderColour = qcolour(model.settings().levelColours[2]);
  const QRect text(model.textRect(0, row).left, model.rowTop(row), 60, model.metrics().rowHeight);
  bool found = false;
  for (int x = text.left(); x < text.right() && !found; ++x) {
    for (int y = text.top(); y < text.bottom() && !found; ++y) found = image.pixelColor(x, y) == folderColour;
  }
  EXPECT_TRUE(found);
}

TEST_F(GridWidgetTest, ExpandBoxOfACollapsedFolderShowsAPlus) {
  // A folder with a subfolder, collapsed.
  store.appendShown(buildRecord({u"TOP"}), 2, 0, KindFolder, 1);
  store.appendShown(buildRecord({u"SUB"}), 3, 0, KindFolder, 2);
  store.deriveIndexAndTreeFlags();
  const int top = store.rowCount() - 2;
  std::vector<std::int32_t> order;
  for (int r = 0; r <= top; ++r) order.push_back(r);
  store.setDisplayOrder(order);
  store.setDisplayFlags(top, store.displayFlags(top) | TreeCollapsed);
  widget->apply(model.Grid_ShowRow(top, false));  // the cursor cell would cover the lines
  const QImage image = shown();
  const int c = store.indent(top) - TreeLines::ConnectorOffset;
  const int mid = TreeLines(model.treeGeometry()).middleOf(model.rowTop(top));
  EXPECT_EQ(image.pixelColor(c - 4, mid), QColor(0x80, 0x80, 0x80)) << "box outline";
  EXPECT_EQ(image.pixelColor(c - 3, mid - 3), QColor(Qt::white)) << "box inside";
  EXPECT_EQ(image.pixelColor(c + 2, mid), QColor(Qt::black)) << "minus stroke";
  EXPECT_EQ(image.pixelColor(c, mid - 2), QColor(Qt::black)) << "plus stroke";
}

TEST(GridFontsTest, WindowsFontNamesMapToInstalledJapaneseFaces) {
  const struct {
    TextView name;
    const char* family;
  } cases[] = {
      {u"ＭＳ Ｐゴシック", "IPAPGothic"}, {u"MS UI Gothic", "IPAPGothic"}, {u"ＭＳ ゴシック", "IPAGothic"},
      {u"ＭＳ 明朝", "IPAMincho"},        {u"IPAGothic", "IPAGothic"},     {u"No Such Face 123", "IPAPGothic"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(gridfonts::familyFor(c.name), QString::fromLatin1(c.family)) << c.family;
    EXPECT_EQ(QFontInfo(gridfonts::fontFor({Text(c.name), 9.75, false, false})).family(), QString::fromLatin1(c.family))
        << "installed: " << c.family;
  }
}

}  // namespace
}  // namespace zevro
