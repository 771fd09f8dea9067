#include "select/qt/FindForm.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <filesystem>
#include <memory>
#include <vector>

#include "../MainWindowFixture.h"
#include "../TempFolder.h"
#include "core/CatalogList.h"
#include "core/ListFile.h"
#include "grid/qt/GridWidget.h"
#include "listview/ListSorter.h"
#include "listview/qt/MainWindow.h"
#include "media/Program.h"
#include "platform/FakeDrives.h"
#include "platform/FakeUi.h"
#include "platform/LinuxFileSystem.h"
#include "platform/qt/QtText.h"
#include "search/CatalogScan.h"
#include "search/SearchIndexes.h"

namespace zevro {
namespace {

class FindFormTest : public ::testing::Test {
protected:
  FindFormTest() : program(platform, temp.root(), &drives) {
    EXPECT_FALSE(program.loadOptions());
    EXPECT_TRUE(program.settleCatalogFolder());
    catalogs = program.catalogFolder();
    writeCatalog("_00HD_DATA.cct", u"資料集");
    writeCatalog("_03CD_DOCS.cct", u"文書集");
  }

  void writeCatalog(const std::string& name, TextView title) {
    const std::optional<std::string> bytes =
        listfile::build(test::MainWindowFixture::sampleCatalog(title), listfile::Header{});
    ASSERT_TRUE(bytes.has_value());
    temp.put((catalogs / name).lexically_relative(temp.root()).native(), *bytes);
  }

  void TearDown() override {
    if (window) window->close();
  }

  FindForm& open(TextView text = u"") {
    logic = std::make_unique<MainWindowLogic>(MainWindowLogic::Services{
        platform, program.options(), program.index(), program.titles(), program.programFolder(), catalogs, u"0.1"});
    window = std::make_unique<MainWindow>(*logic);
    window->resize(700, 500);
    window->show();
    form = std::make_unique<FindForm>(program, *window, true);
    form->OpenFind(text);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    form->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    return *form;
  }

  void typeAndEnter(const QString& text) {
    QLineEdit* edit = form->termBox(0)->lineEdit();
    edit->setFocus();
    edit->clear();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
  }

  QPoint rowPoint(int displayRow) {
    const GridModel& g = form->grid()->model();
    const int h = g.metrics().rowHeight;
    return QPoint(60, (displayRow - g.topRow()) * h + h / 2);
  }

  test::TempFolder temp{"zevro-find-form"};
  LinuxFileSystem disk;
  FakeUi ui;
  Platform platform{disk, ui};
  FakeDrives drives;
  Program program;
  NativePath catalogs;
  std::unique_ptr<MainWindowLogic> logic;
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<FindForm> form;
};

TEST_F(FindFormTest, EnterInTheFirstBoxSearchesCountsAndFeedsBothHistories) {
  FindForm& f = open();
  EXPECT_EQ(f.windowTitle(), QStringLiteral("検索リスト"));
  EXPECT_EQ(f.startButton()->text(), QStringLiteral("検索 開始"));
  typeAndEnter(QStringLiteral(".TXT"));
  // README.TXT and NOTE.TXT in each of the two catalogs.
  EXPECT_EQ(f.results().rowCount(), 4);
  EXPECT_EQ(f.counter()->text(), QStringLiteral("4"));
  EXPECT_EQ(f.startButton()->text(), QStringLiteral("検索 開始"));
  ASSERT_FALSE(logic->searchWords().empty());
  EXPECT_EQ(logic->searchWords().front(), u".TXT");
  EXPECT_EQ(window->findBox()->itemText(0), QStringLiteral(".TXT"));
  EXPECT_EQ(f.termBox(0)->itemText(0), QStringLiteral(".TXT"));
  EXPECT_EQ(f.logic().term(), u".TXT");
}

TEST_F(FindFormTest, TheWindowSearchesThroughTheIndexesAndShowsWhatTheScanShows) {
  FindForm& f = open();
  SearchIndexes indexes(disk, program.programFolder(), catalogs);
  EXPECT_FALSE(std::filesystem::exists(indexes.folder()));
  const auto shown = [&] {
    std::vector<Text> rows;
    for (int r = 0; r < f.results().rowCount(); ++r)
      rows.push_back(Text(f.results().grid().record(r)) + u"|" + f.results().catalogOf(r)->title);
    return rows;
  };
  const auto scanned = [&](TextView term) {
    RowStore grid;
    SearchResults results(grid);
    CatalogScan(disk, catalogs).run(SearchRequest(term, MatchSwitches{}), media::All, GenreFilter{}, results);
    std::vector<Text> rows;
    for (int r = 0; r < results.rowCount(); ++r)
      rows.push_back(Text(results.grid().record(r)) + u"|" + results.catalogOf(r)->title);
    return rows;
  };
  for (const QString& term : {QStringLiteral(".TXT"), QStringLiteral("README"), QStringLiteral("absent")}) {
    typeAndEnter(term);
    EXPECT_EQ(shown(), scanned(fromQString(term))) << term.toStdString();
    // The window's search left the indexes of both catalogs behind, fresh.
    EXPECT_TRUE(std::filesystem::exists(indexes.packPath()));
    EXPECT_EQ(indexes.check("_00HD_DATA.cct"), SearchIndexes::State::Fresh);
    EXPECT_EQ(indexes.check("_03CD_DOCS.cct"), SearchIndexes::State::Fresh);
  }
  EXPECT_EQ(f.results().rowCount(), 0);
}

TEST_F(FindFormTest, WhileRunningFiltersBeepAndTheTermBoxHandsFocusToStop) {
  FindForm& f = open(u"README");
  bool checked = false;
  int beepsBefore = 0;
  QTimer::singleShot(0, &f, [&] {
    checked = true;
    EXPECT_TRUE(f.logic().running());
    EXPECT_EQ(f.startButton()->text(), QStringLiteral("検索 中止"));
    beepsBefore = ui.count(FakeUi::Kind::Beep);
    f.mediaButton(0)->click();
    f.columnButton(0)->click();
    f.lamp(1)->click();
    EXPECT_EQ(ui.count(FakeUi::Kind::Beep), beepsBefore + 3);
    EXPECT_EQ(f.logic().media(), media::All);
    f.grid()->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
    f.termBox(0)->lineEdit()->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
    EXPECT_TRUE(f.startButton()->hasFocus());
    f.startButton()->click();  // stop
    EXPECT_FALSE(f.startButton()->isEnabled());
  });
  f.startStop();
  EXPECT_TRUE(checked);
  EXPECT_FALSE(f.logic().running());
  EXPECT_TRUE(f.startButton()->isEnabled());
  EXPECT_EQ(f.startButton()->text(), QStringLiteral("検索 開始"));
}

TEST_F(FindFormTest, AltTwoTogglesTheFloppyFilterAltSixNothing) {
  FindForm& f = open();
  ASSERT_TRUE(f.mediaButton(1)->isChecked());
  QTest::keyClick(&f, Qt::Key_2, Qt::AltModifier);
  EXPECT_EQ(f.logic().media(), media::CD | media::HD);
  EXPECT_FALSE(f.mediaButton(1)->isChecked());
  QTest::keyClick(&f, Qt::Key_6, Qt::AltModifier);
  EXPECT_EQ(f.logic().media(), media::CD | media::HD);
  EXPECT_EQ(f.logic().columns(), column::Both);
  QTest::keyClick(&f, Qt::Key_2, Qt::AltModifier);
  EXPECT_EQ(f.logic().media(), media::All);
}

TEST_F(FindFormTest, AnEmptyMediaFilterIsRefusedWithItsMessage) {
  FindForm& f = open(u"README");
  for (int i = 0; i < 3; ++i) f.mediaButton(i)->click();
  f.startButton()->click();
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(ui.messages()[0], FindFormLogic::NoMediumMessage);
  EXPECT_EQ(f.results().rowCount(), 0);
}

TEST_F(FindFormTest, ADoubleClickLoadsTheCatalogAndMarksTheRow) {
  FindForm& f = open(u"NOTE");
  f.startStop();
  ASSERT_EQ(f.results().rowCount(), 2);
  const int stored = f.grid()->model().store().storedRowAt(1);
  const SearchListEntry* entry = f.results().catalogOf(stored);
  ASSERT_NE(entry, nullptr);
  QTest::mouseClick(f.grid()->viewport(), Qt::LeftButton, {}, rowPoint(1));
  QTest::mouseDClick(f.grid()->viewport(), Qt::LeftButton, {}, rowPoint(1));
  EXPECT_EQ(logic->document().currentFileName(), entry->fileName);
  const int row = logic->lastJumpRow();
  ASSERT_GE(row, 0);
  EXPECT_EQ(logic->document().list().field(0, row), u"NOTE.TXT");
  EXPECT_EQ(logic->document().list().highlight(row), catalog::HighlightCurrentHit);
  EXPECT_EQ(f.logic().lastJumpedCatalog(), entry->fileName);
}

TEST_F(FindFormTest, SortedByCommentAJumpStillOpensTheRowsCatalog) {
  FindForm& f = open(u"DATA");  // the title rows: one a catalog, comments 資料集 and 文書集
  f.startStop();
  ASSERT_EQ(f.results().rowCount(), 2);
  GridModel& g = f.grid()->model();
  g.setSort(3, 1);  // comment, descending
  f.grid()->apply(ListSorter(g).Grid_Sort());
  const RowStore& rows = g.store();
  const int first = rows.storedRowAt(0);
  ASSERT_NE(first, 0);  // the order changed
  const SearchListEntry* entry = f.results().catalogOf(first);
  ASSERT_NE(entry, nullptr);
  g.Grid_ShowRow(0, true);
  f.jumpToCursor(true);
  EXPECT_EQ(logic->document().currentFileName(), entry->fileName);
}

TEST_F(FindFormTest, SwitchesAreSharedWithTheMainWindowsMenu) {
  FindForm& f = open();
  EXPECT_TRUE(logic->isChecked(Command::MS_大小区別));
  EXPECT_TRUE(f.lamp(0)->isChecked());  // lit: case told apart
  f.lamp(0)->click();
  EXPECT_FALSE(f.lamp(0)->isChecked());
  EXPECT_FALSE(logic->isChecked(Command::MS_大小区別));
  window->apply(logic->run(Command::MS_完全一致));
  EXPECT_TRUE(f.lamp(3)->isChecked());
}

TEST_F(FindFormTest, TheMainWindowsFindBoxStepsAndShiftClickGoesBack) {
  FindForm& f = open();
  logic->hooks().openSearch = [&](TextView text) { f.OpenFind(text); };
  window->指定カタログをロード(u"_00HD_DATA.cct");
  window->apply(logic->run(Command::MD_表示モード1));
  window->apply(logic->run(Command::MDL_総て表示));
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  const RowStore& list = logic->document().list();
  const auto cursorName = [&] { return list.field(0, list.storedRowAt(logic->folderGrid().cursorRow())); };
  QLineEdit* edit = window->findBox()->lineEdit();
  edit->setFocus();
  QTest::keyClicks(edit, QStringLiteral(".TXT"));
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(cursorName(), u"README.TXT");
  EXPECT_EQ(logic->searchWords().front(), u".TXT");
  EXPECT_EQ(f.termBox(0)->itemText(0), QStringLiteral(".TXT"));  // the shared history
  auto* button = window->findChild<QToolButton*>(QStringLiteral("FNDBTN"));
  ASSERT_NE(button, nullptr);
  ASSERT_TRUE(button->isEnabled());
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(cursorName(), u"NOTE.TXT");
  QTest::mouseClick(button, Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_EQ(cursorName(), u"README.TXT");
  EXPECT_EQ(list.highlight(list.storedRowAt(logic->folderGrid().cursorRow())), catalog::HighlightCurrentHit);
  // The right button opens the search window on the word.
  f.hide();
  QTest::mouseClick(button, Qt::RightButton);
  EXPECT_TRUE(f.isVisible());
  EXPECT_EQ(f.logic().term(), u".TXT");
}

TEST_F(FindFormTest, CloseOnlyHides) {
  FindForm& f = open();
  f.close();
  EXPECT_FALSE(f.isVisible());
  f.OpenFind(u"again");
  EXPECT_TRUE(f.isVisible());
  EXPECT_EQ(f.termBox(0)->currentText(), QStringLiteral("again"));
}

}  // namespace
}  // namespace zevro
