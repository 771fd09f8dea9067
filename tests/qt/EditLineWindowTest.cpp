// The edit lines of the real main window, driven with keys as a user would.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTest>

#include <memory>
#include <string>

#include "../MainWindowFixture.h"
#include "ShownMainWindow.h"
#include "core/CatalogList.h"
#include "core/OptionKeys.h"
#include "grid/qt/GridFonts.h"
#include "grid/qt/GridItemBar.h"
#include "grid/qt/GridWidget.h"
#include "listview/DisplayMode.h"
#include "listview/ListEdit.h"
#include "listview/qt/EditLine.h"
#include "listview/qt/MainWindow.h"
#include "platform/qt/QtText.h"

namespace zevro {
namespace {

using C = Command;
using Kind = FakeUi::Kind;

class EditLineWindowTest : public ::testing::Test, protected test::MainWindowFixture {
protected:
  void TearDown() override { test::closeWithoutQuestion(window, logic.get()); }

  // The sample catalog open in a shown window; display mode 1 shows the
  // files in the folder grid, RightPane puts them in the file grid.
  MainWindow& open(int fileFrames) {
    writeCatalog("_00HD_DATA.cct", sampleCatalog());
    options.writeNumber(opt::FileFrames, fileFrames);
    EXPECT_FALSE(options.save());
    start();
    window = std::make_unique<MainWindow>(*logic);
    logic->hooks().chooseListFile = [this](const NativePath&, TextView, TextView) {
      return std::optional<NativePath>(catalogs / "_00HD_DATA.cct");
    };
    test::showAndWait(*window);
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    QApplication::processEvents();
    return *window;
  }

  // The folder grid's cursor on the catalog row `stored`, column `column`.
  void cursorTo(MainWindow& w, int stored, int column) {
    GridModel& g = logic->folderGrid();
    w.folderView()->apply(g.Grid_MoveCursor(g.Grid_DisplayRowOf(stored)));
    w.folderView()->apply(g.Grid_SetCursorColumn(column));
    w.folderView()->setFocus();
  }

  Text field(int column, int row) const { return logic->document().list().field(column, row); }
  QWidget* focused() const { return QApplication::focusWidget(); }
  QRect cellOf(GridWidget* view, int column, int displayRow) const {
    return view->editRect(column, displayRow).adjusted(0, 0, 1, 0);
  }

  // Types text as the input method hands it over: one key event a character.
  static void type(QWidget* to, const QString& text) {
    for (QChar c : text) {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
      QApplication::sendEvent(to, &press);
      QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
      QApplication::sendEvent(to, &release);
    }
  }

  std::unique_ptr<MainWindow> window;
};

TEST_F(EditLineWindowTest, F2OpensTheEditLineOverTheCommentCell) {
  MainWindow& w = open(DisplayMode::ItemOneTree);
  cursorTo(w, 2, 1);  // README.TXT, comment
  const int row = logic->folderGrid().cursorRow();
  QTest::keyClick(w.folderView(), Qt::Key_F2);
  EditLine* line = w.folderEditLine();
  ASSERT_TRUE(line->isVisible());
  EXPECT_EQ(line->objectName(), QStringLiteral("EDTLINL"));
  EXPECT_FALSE(w.fileEditLine()->isVisible());
  EXPECT_EQ(line->parentWidget(), w.folderView()->viewport());
  EXPECT_EQ(line->geometry(), cellOf(w.folderView(), 1, row));
  EXPECT_EQ(line->text(), u"はじめに");
  EXPECT_EQ(line->textCursor().position(), 0);
  EXPECT_FALSE(line->textCursor().hasSelection());
  EXPECT_EQ(focused(), line);
  const QColor back = line->palette().color(QPalette::Base);
  EXPECT_EQ(back, QColor(255, 255, 192));
  EXPECT_EQ(line->palette().color(QPalette::Text), QColor(Qt::black));
  EXPECT_TRUE(line->testAttribute(Qt::WA_InputMethodEnabled));
  EXPECT_EQ(line->font().family(), gridfonts::fontFor(logic->folderGrid().settings().font).family());
}

TEST_F(EditLineWindowTest, EnterStoresAndMovesDownEscapeDropsTheText) {
  MainWindow& w = open(DisplayMode::ItemOneTree);
  cursorTo(w, 2, 1);
  const int row = logic->folderGrid().cursorRow();
  QTest::keyClick(w.folderView(), Qt::Key_F2);
  EditLine* line = w.folderEditLine();
  line->selectAll();
  type(line, QStringLiteral("手引き"));
  QTest::keyClick(line, Qt::Key_Return);
  EXPECT_EQ(field(1, 2), u"手引き");
  EXPECT_EQ(field(4, 2), u"2");
  EXPECT_TRUE(logic->document().modified());
  // The grid draws the stored text; the line is open on the next row.
  EXPECT_EQ(logic->folderGrid().store().shownField(1, row), u"手引き");
  EXPECT_EQ(logic->folderGrid().cursorRow(), row + 1);
  ASSERT_TRUE(line->isVisible());
  EXPECT_EQ(line->geometry(), cellOf(w.folderView(), 1, row + 1));
  EXPECT_EQ(line->text(), u"");  // MANUAL.PDF has no comment
  EXPECT_EQ(focused(), line);

  type(line, QStringLiteral("捨てる"));
  QTest::keyClick(line, Qt::Key_Escape);
  EXPECT_FALSE(line->isVisible());
  EXPECT_EQ(field(1, 3), u"");
  EXPECT_EQ(focused(), w.folderView());
  EXPECT_EQ(logic->folderGrid().cursorRow(), row + 1);
}

TEST_F(EditLineWindowTest, CtrlUpStoresAndMovesUpShiftEnterBreaksTheLine) {
  MainWindow& w = open(DisplayMode::ItemOneTree);
  cursorTo(w, 3, 1);  // MANUAL.PDF
  const int row = logic->folderGrid().cursorRow();
  QTest::keyClick(w.folderView(), Qt::Key_F2);
  EditLine* line = w.folderEditLine();
  type(line, QStringLiteral("一行目"));
  QTest::keyClick(line, Qt::Key_Return, Qt::ShiftModifier);
  type(line, QStringLiteral("二行目"));
  QTest::keyClick(line, Qt::Key_Return, Qt::ControlModifier);
  type(line, QStringLiteral("三行目"));
  EXPECT_EQ(line->text(), u"一行目\r\n二行目\r\n三行目");
  EXPECT_EQ(field(1, 3), u"");  // a break stores nothing yet
  QTest::keyClick(line, Qt::Key_Up, Qt::ControlModifier);
  EXPECT_EQ(field(1, 3), u"一行目\r\n二行目\r\n三行目");
  EXPECT_EQ(logic->folderGrid().cursorRow(), row - 1);
  ASSERT_TRUE(line->isVisible());
  EXPECT_EQ(line->text(), u"はじめに");
  EXPECT_EQ(line->geometry(), cellOf(w.folderView(), 1, row - 1));
  // Up alone stays in the text.
  QTest::keyClick(line, Qt::Key_Up);
  EXPECT_EQ(logic->folderGrid().cursorRow(), row - 1);
  EXPECT_TRUE(line->isVisible());
}

TEST_F(EditLineWindowTest, ARefusedDateShowsTheMessageAndTheLineStays) {
  MainWindow& w = open(DisplayMode::ItemOneTree);
  cursorTo(w, 2, 2);
  const Text before = field(2, 2);
  QTest::keyClick(w.folderView(), Qt::Key_F2);
  EditLine* line = w.folderEditLine();
  ASSERT_TRUE(line->isVisible());
  EXPECT_FALSE(line->testAttribute(Qt::WA_InputMethodEnabled));
  EXPECT_EQ(line->text(), before);
  line->selectAll();
  QTest::keyClicks(line, QStringLiteral("Jan 31"));
  QTest::keyClick(line, Qt::Key_Return);
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(ui.messages()[0], listedit::DateMessage);
  EXPECT_TRUE(line->isVisible());
  EXPECT_EQ(field(2, 2), before);
  EXPECT_FALSE(logic->document().modified());
  line->selectAll();
  QTest::keyClicks(line, QStringLiteral("24/01/31 07:00"));
  QTest::keyClick(line, Qt::Key_Return);
  EXPECT_EQ(field(2, 2), u"24/01/31 07:00");
  EXPECT_EQ(field(4, 2), u"4");
}

TEST_F(EditLineWindowTest, AClickOnAnotherRowStoresTheEdit) {
  MainWindow& w = open(DisplayMode::ItemOneTree);
  cursorTo(w, 2, 1);
  QTest::keyClick(w.folderView(), Qt::Key_F2);
  EditLine* line = w.folderEditLine();
  line->selectAll();
  type(line, QStringLiteral("クリックで確定"));
  const QRect other = w.folderView()->cellRect(1, logic->folderGrid().Grid_DisplayRowOf(5));
  QTest::mouseClick(w.folderView()->viewport(), Qt::LeftButton, {}, other.center());
  EXPECT_FALSE(line->isVisible());
  EXPECT_EQ(field(1, 2), u"クリックで確定");
  EXPECT_EQ(logic->folderGrid().store().storedRowAt(logic->folderGrid().cursorRow()), 5);
}

TEST_F(EditLineWindowTest, TheFileGridsLineRenamesOnThePaneInPink) {
  MainWindow& w = open(DisplayMode::RightPane);
  GridModel& folders = logic->folderGrid();
  w.folderView()->setFocus();
  QTest::keyClick(w.folderView(), Qt::Key_Down);  // DOCS
  ASSERT_EQ(logic->fileGrid().rowCount(), 2);
  QTest::keyClick(w.folderView(), Qt::Key_Tab);
  ASSERT_EQ(focused(), w.fileView());
  ASSERT_EQ(folders.store().storedRowAt(folders.cursorRow()), 1);
  w.action(C::ME_ファイル名修正)->trigger();
  EditLine* line = w.fileEditLine();
  ASSERT_TRUE(line->isVisible());
  EXPECT_EQ(line->objectName(), QStringLiteral("EDTLINF"));
  EXPECT_EQ(line->palette().color(QPalette::Base), QColor(255, 224, 246));
  EXPECT_EQ(line->geometry(), cellOf(w.fileView(), 0, logic->fileGrid().cursorRow()));
  EXPECT_TRUE(line->testAttribute(Qt::WA_InputMethodEnabled));
  // Page Down leaves the line without storing and pages the grid.
  const Text name = logic->fileGrid().store().shownField(0, 0);
  line->selectAll();
  QTest::keyClicks(line, QStringLiteral("OTHER.TXT"));
  QTest::keyClick(line, Qt::Key_PageDown);
  EXPECT_FALSE(line->isVisible());
  EXPECT_EQ(logic->fileGrid().store().shownField(0, 0), name);
  EXPECT_EQ(logic->fileGrid().cursorRow(), 1);
  EXPECT_EQ(focused(), w.fileView());
}

TEST_F(EditLineWindowTest, CtrlCAndCtrlVCopyCommentsThroughTheClipboard) {
  MainWindow& w = open(DisplayMode::ItemOneTree);
  cursorTo(w, 2, 1);
  w.consoleLine()->setText(QStringLiteral("x"));
  QTest::keyClick(w.folderView(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(ui.clipboard, u"はじめに");
  EXPECT_EQ(w.consoleLine()->text(), QString());
  // Two rows below take the comment, one after the other.
  GridModel& g = logic->folderGrid();
  w.folderView()->apply(g.Grid_ClearSelection());
  ui.clipboard = u"一つ目\r\n二つ目";
  cursorTo(w, 3, 1);
  QTest::keyClick(w.folderView(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(field(1, 3), u"一つ目");
  EXPECT_EQ(field(1, 4), u"二つ目");
  EXPECT_EQ(field(4, 3), u"2");
  EXPECT_TRUE(logic->document().modified());
  EXPECT_EQ(ui.count(Kind::Beep), 0);
  // The name column takes no paste.
  cursorTo(w, 3, 0);
  QTest::keyClick(w.folderView(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(ui.count(Kind::Beep), 1);
  EXPECT_EQ(field(0, 3), u"MANUAL.PDF");
}

TEST_F(EditLineWindowTest, APressOnAColumnTitleStoresTheEditBeforeTheSort) {
  MainWindow& w = open(DisplayMode::RightPane);
  w.folderView()->setFocus();
  QTest::keyClick(w.folderView(), Qt::Key_Down);  // DOCS
  QTest::keyClick(w.folderView(), Qt::Key_Tab);
  GridModel& files = logic->fileGrid();
  ASSERT_EQ(files.rowCount(), 2);
  w.fileView()->apply(files.Grid_SetCursorColumn(1));
  const Text name = files.store().shownField(0, files.cursorRow());
  QTest::keyClick(w.fileView(), Qt::Key_F2);
  EditLine* line = w.fileEditLine();
  ASSERT_TRUE(line->isVisible());
  line->selectAll();
  QTest::keyClicks(line, QStringLiteral("sorted"));
  QTest::mouseClick(w.fileView()->itemBar(), Qt::LeftButton, {}, QPoint(20, 5));
  EXPECT_FALSE(line->isVisible());
  EXPECT_FALSE(logic->editLineOpen());
  const RowStore& list = logic->document().list();
  int row = -1;
  for (int r = 0; r < list.rowCount(); ++r)
    if (list.fieldView(0, r) == name) row = r;
  ASSERT_GT(row, 0);
  EXPECT_EQ(field(1, row), u"sorted");
}

}  // namespace
}  // namespace zevro
