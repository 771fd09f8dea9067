#include "compare/qt/CompareForm.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

#include "../CompareTestFiles.h"
#include "../TempFolder.h"
#include "core/CatalogList.h"
#include "grid/qt/GridWidget.h"
#include "listview/MainMenu.h"
#include "listview/qt/MainWindow.h"
#include "media/Program.h"
#include "platform/FakeDrives.h"
#include "platform/FakeUi.h"
#include "platform/LinuxFileSystem.h"
#include "platform/qt/QtText.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

using comparetest::folder;
using comparetest::listFileOf;
using comparetest::Row;

class CompareFormTest : public ::testing::Test {
protected:
  CompareFormTest() : program(platform, temp.root(), &drives) {
    EXPECT_FALSE(program.loadOptions());
    EXPECT_TRUE(program.settleCatalogFolder());
    catalogs = program.catalogFolder();
    // Two groups of copies across three media, one file on the CD only.
    put("_00CD_ALPHA.cct", {{0, u"ALPHA", u"", u"", false},
                            folder(1, u"DOCS"),
                            {2, u"SETUP.EXE", u"1,000"},
                            {2, u"README.TXT", u"10"},
                            {1, u"ONLY.TXT", u"3"}});
    put("_00FD_BETA.cct", {{0, u"BETA"}, {1, u"setup.exe", u"1,000"}, {1, u"readme.txt", u"10"}});
    put("_00HD_GAMMA.cct", {{0, u"GAMMA"}, folder(1, u"X"), {2, u"Setup.Exe", u"1,000"}});
  }

  void put(const std::string& name, const std::vector<Row>& rows) {
    temp.put((catalogs / name).lexically_relative(temp.root()).native(), listFileOf(rows));
  }

  void TearDown() override {
    if (window) window->close();
  }

  CompareForm& open() {
    logic = std::make_unique<MainWindowLogic>(MainWindowLogic::Services{
        platform, program.options(), program.index(), program.titles(), program.programFolder(), catalogs, u"0.1"});
    window = std::make_unique<MainWindow>(*logic);
    window->resize(700, 500);
    window->show();
    form = std::make_unique<CompareForm>(program, *window, [](CompareFilters& f) { f.media = media::All; });
    logic->hooks().findDuplicates = [this] { form->FindDuplicates(); };
    logic->hooks().filesOnlyHere = [this](TextView name) { form->FilesOnlyHere(name); };
    logic->hooks().compareWith = [this](TextView name) { form->CompareWith(name); };
    return *form;
  }

  QPoint rowPoint(int displayRow) {
    const GridModel& g = form->grid()->model();
    const int h = g.metrics().rowHeight;
    return QPoint(60, (displayRow - g.topRow()) * h + h / 2);
  }

  const RowStore& rows() { return form->grid()->model().store(); }

  test::TempFolder temp{"zevro-compare-form"};
  LinuxFileSystem disk;
  FakeUi ui;
  Platform platform{disk, ui};
  FakeDrives drives;
  Program program;
  NativePath catalogs;
  std::unique_ptr<MainWindowLogic> logic;
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<CompareForm> form;
};

TEST_F(CompareFormTest, TheMenuItemShowsGroupsEachInItsOwnColour) {
  CompareForm& f = open();
  ASSERT_TRUE(logic->isEnabled(Command::MS_重複ファイル));
  logic->run(Command::MS_重複ファイル);
  ASSERT_TRUE(f.isVisible());
  EXPECT_EQ(f.windowTitle(), QStringLiteral("重複ファイル"));
  ASSERT_EQ(rows().shownCount(), 5);
  // SETUP.EXE three times (2,000 bytes wasted), then README.TXT twice.
  const struct {
    const char16_t* path;
    int group;
  } expected[] = {{u"DOCS\\SETUP.EXE", 1}, {u"setup.exe", 1}, {u"X\\Setup.Exe", 1}, {u"DOCS\\README.TXT", 2},
                  {u"readme.txt", 2}};
  for (int r = 0; r < 5; ++r) {
    EXPECT_EQ(rows().field(1, r), expected[r].path);
    EXPECT_EQ(f.logic().groupOf(r), expected[r].group);
    EXPECT_EQ(rows().highlight(r), expected[r].group) << "row " << r;
  }
  EXPECT_NE(rows().highlight(2), rows().highlight(3));
  EXPECT_EQ(rows().field(3, 0), u"1,000");
  EXPECT_EQ(f.summary()->text(), QStringLiteral("2 グループ  5 ファイル  2,010 バイト"));
  EXPECT_EQ(f.startButton()->text(), QStringLiteral("検索 開始"));
  // The grid paints the group colours as row backgrounds.
  const QImage shot = f.grid()->viewport()->grab().toImage();
  const int h = f.grid()->model().metrics().rowHeight;
  const QColor first = shot.pixelColor(f.grid()->viewport()->width() - 4, h / 2);
  const QColor fourth = shot.pixelColor(f.grid()->viewport()->width() - 4, 3 * h + h / 2);
  EXPECT_NE(first, fourth);
}

TEST_F(CompareFormTest, ADoubleClickLoadsTheCatalogAndMarksTheRowAndItsCopies) {
  // Copies on one medium count with the box ticked.
  put("_00HD_GAMMA.cct", {{0, u"GAMMA"}, folder(1, u"X"), {2, u"Setup.Exe", u"1,000"}, folder(1, u"Y"),
                          {2, u"SETUP.EXE", u"1,000"}});
  CompareForm& f = open();
  f.sameMedium()->setChecked(true);
  f.FindDuplicates();
  ASSERT_EQ(rows().shownCount(), 6);
  ASSERT_EQ(rows().field(1, 2), u"X\\Setup.Exe");
  QTest::mouseClick(f.grid()->viewport(), Qt::LeftButton, {}, rowPoint(2));
  QTest::mouseDClick(f.grid()->viewport(), Qt::LeftButton, {}, rowPoint(2));
  EXPECT_EQ(logic->document().currentFileName(), u"_00HD_GAMMA.cct");
  const RowStore& list = logic->document().list();
  const int row = logic->lastJumpRow();
  ASSERT_GE(row, 0);
  EXPECT_EQ(list.field(0, row), u"Setup.Exe");
  EXPECT_EQ(list.highlight(row), catalog::HighlightCurrentHit);
  // The other copy in that catalog is marked as an earlier hit.
  int other = -1;
  for (int r = 0; r < list.rowCount(); ++r)
    if (list.field(0, r) == u"SETUP.EXE") other = r;
  ASSERT_GE(other, 0);
  EXPECT_EQ(list.highlight(other), catalog::HighlightHit);
}

TEST_F(CompareFormTest, StopEndsTheRunWithNothingShown) {
  CompareForm& f = open();
  bool checked = false;
  QTimer::singleShot(0, &f, [&] {
    checked = true;
    EXPECT_TRUE(f.logic().running());
    EXPECT_EQ(f.startButton()->text(), QStringLiteral("検索 中止"));
    EXPECT_TRUE(f.progress()->text().startsWith(QStringLiteral("検索中： ")));
    f.startButton()->click();
    EXPECT_FALSE(f.startButton()->isEnabled());
  });
  f.FindDuplicates();
  EXPECT_TRUE(checked);
  EXPECT_FALSE(f.logic().running());
  EXPECT_EQ(rows().shownCount(), 0);
  EXPECT_EQ(f.progress()->text(), QStringLiteral("中止しました"));
  EXPECT_TRUE(f.startButton()->isEnabled());
  EXPECT_EQ(f.startButton()->text(), QStringLiteral("検索 開始"));
  // The button runs it again, whole this time.
  f.startStop();
  EXPECT_EQ(rows().shownCount(), 5);
  EXPECT_TRUE(f.progress()->text().isEmpty());
}

TEST_F(CompareFormTest, OnlyHereAndTheComparisonWorkOnTheShownCatalog) {
  CompareForm& f = open();
  EXPECT_FALSE(logic->isEnabled(Command::MS_単独ファイル));
  EXPECT_FALSE(logic->isEnabled(Command::MF_比較));
  window->指定カタログをロード(u"_00CD_ALPHA.cct");
  ASSERT_EQ(logic->document().currentFileName(), u"_00CD_ALPHA.cct");
  ASSERT_TRUE(logic->isEnabled(Command::MS_単独ファイル));
  logic->run(Command::MS_単独ファイル);
  ASSERT_EQ(rows().shownCount(), 1);
  EXPECT_EQ(rows().field(1, 0), u"ONLY.TXT");
  EXPECT_EQ(f.windowTitle(), QStringLiteral("このメディアにしかないファイル"));

  ui.chosenFiles.push_back(cp932::fromNativeName((catalogs / "_00FD_BETA.cct").native()));
  logic->run(Command::MF_比較);
  // From BETA to ALPHA: setup.exe and readme.txt only moved into DOCS (other case), ONLY.TXT came.
  ASSERT_EQ(rows().shownCount(), 3);
  EXPECT_EQ(rows().field(1, 0), u"DOCS\\README.TXT");
  EXPECT_EQ(rows().field(0, 0), u"移動  ← readme.txt");
  EXPECT_EQ(rows().highlight(0), 4);
  EXPECT_EQ(rows().field(0, 2), u"追加");
  EXPECT_EQ(rows().field(1, 2), u"ONLY.TXT");

  // A file that is no catalog is refused with a message.
  temp.put("not-a-catalog.cct", "hello");
  ui.chosenFiles.push_back(cp932::fromNativeName(temp.path("not-a-catalog.cct").native()));
  logic->run(Command::MF_比較);
  ASSERT_FALSE(ui.messages().empty());
  EXPECT_EQ(ui.messages().back().substr(0, CompareFormLogic::NotAListFile.size()), CompareFormLogic::NotAListFile);
  EXPECT_EQ(rows().shownCount(), 0);
}

}  // namespace
}  // namespace zevro
