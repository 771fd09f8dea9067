#include "listview/qt/MainWindow.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QTest>
#include <QToolButton>

#include <memory>
#include <string>
#include <vector>

#include "../MainWindowFixture.h"
#include "ShownMainWindow.h"
#include "core/CatalogList.h"
#include "core/OptionKeys.h"
#include "grid/qt/GridItemBar.h"
#include "grid/qt/GridWidget.h"
#include "listview/DisplayMode.h"
#include "listview/FolderViewBuilder.h"
#include "listview/MainGridSetup.h"
#include "listview/MainWindowLayout.h"
#include "platform/qt/QtText.h"

namespace zevro {
namespace {

using C = Command;

class MainWindowTest : public ::testing::Test, protected test::MainWindowFixture {
protected:
  void TearDown() override { test::closeWithoutQuestion(window, logic.get()); }

  MainWindow& showWindow(int fileFrames = -1) {
    if (fileFrames >= 0) {
      options.writeNumber(opt::FileFrames, fileFrames);
      EXPECT_FALSE(options.save());
    }
    window.reset();
    start();
    window = std::make_unique<MainWindow>(*logic);
    logic->hooks().chooseListFile = [this](const NativePath&, TextView, TextView) {
      return chosen.empty() ? std::optional<NativePath>{} : std::optional<NativePath>(catalogs / chosen);
    };
    test::showAndWait(*window);
    return *window;
  }

  // Opens a catalog with Ctrl+O, as a user would.
  void openWithKeys(const std::string& name) {
    chosen = name;
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    QApplication::processEvents();
  }

  QWidget* focused() const { return QApplication::focusWidget(); }

  std::string chosen;
  std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, TheMenuBarCarriesTheMenusInOrderWithTheMendedHelpCaption) {
  MainWindow& w = showWindow();
  EXPECT_EQ(w.windowTitle(), QStringLiteral("ＺＥＶＲＯ"));
  std::vector<QString> titles;
  for (QAction* a : w.menuBar()->actions()) titles.push_back(a->text());
  const std::vector<QString> expected = {QStringLiteral("ファイル(&F)"),   QStringLiteral("編集(&E)"),
                                         QStringLiteral("検索(&S)"),       QStringLiteral("表示(&D)"),
                                         QStringLiteral("オプション(&O)"), QStringLiteral("ヘルプ(&H)")};
  EXPECT_EQ(titles, expected);
  // Every command of the menu table is there with its caption and shortcut.
  for (const MenuEntry& e : mainmenu::entries()) {
    if (e.look != Look::Item && e.look != Look::Check) continue;
    QAction* a = w.action(e.id);
    ASSERT_NE(a, nullptr) << toUtf8(e.name);
    EXPECT_EQ(a->text(), toQString(e.caption)) << toUtf8(e.name);
    EXPECT_EQ(a->shortcut(),
              QKeySequence(QString::fromLatin1(e.shortcut.data(), static_cast<qsizetype>(e.shortcut.size()))))
        << toUtf8(e.name);
    EXPECT_EQ(a->isVisible(), !e.hidden) << toUtf8(e.name);
    if (!e.built) {
      EXPECT_FALSE(a->isEnabled()) << toUtf8(e.name);
    }
  }
  EXPECT_TRUE(w.findBox()->isEnabled());  // the search within the list is there
  EXPECT_EQ(w.button(C::ボタン_読込)->toolTip(), QStringLiteral("新規メディアの読み取り"));
}

TEST_F(MainWindowTest, CtrlOOpensACatalogAndShowsItsTitleAndRowCount) {
  writeCatalog("_00HD_DATA.cct", sampleCatalog(), 1'500'000);
  MainWindow& w = showWindow(0);
  openWithKeys("_00HD_DATA.cct");
  EXPECT_EQ(w.titleLabel()->text(), QStringLiteral("資料集"));
  EXPECT_EQ(w.genreLabel()->text(), QStringLiteral("ジャンル00"));
  EXPECT_EQ(w.consoleLine()->text(), QStringLiteral(" 記録行数: 8行 空き容量： 1,500,000 (1M) bytes"));
  EXPECT_GT(logic->folderGrid().rowCount(), 0);
  EXPECT_EQ(focused(), w.folderView());
  // Folders only: the title line and the three folders.
  EXPECT_EQ(logic->folderGrid().rowCount(), 4);
}

TEST_F(MainWindowTest, TabAndTheArrowKeysMoveBetweenAndWithinThePanes) {
  writeCatalog("_00HD_DATA.cct", sampleCatalog());
  MainWindow& w = showWindow(DisplayMode::RightPane);
  openWithKeys("_00HD_DATA.cct");
  ASSERT_TRUE(w.fileView()->isVisible());
  GridModel& folders = logic->folderGrid();
  ASSERT_EQ(focused(), w.folderView());

  // Down to DOCS: the pane shows its two files.
  QTest::keyClick(w.folderView(), Qt::Key_Down);
  EXPECT_EQ(folders.store().storedRowAt(folders.cursorRow()), 1);
  EXPECT_EQ(logic->fileGrid().rowCount(), 2);
  EXPECT_EQ(w.consoleLine()->text(), QStringLiteral(" DOCS"));

  QTest::keyClick(w.folderView(), Qt::Key_Tab);
  EXPECT_EQ(focused(), w.fileView());
  EXPECT_EQ(logic->activePane(), Pane::File);
  EXPECT_EQ(logic->fileGrid().settings().cursorColour, logic->options().csrBack);
  EXPECT_EQ(folders.settings().cursorColour, maingrid::InactiveCursor);

  QTest::keyClick(w.fileView(), Qt::Key_Down);
  EXPECT_EQ(logic->fileGrid().cursorRow(), 1);
  EXPECT_EQ(w.consoleLine()->text(), QStringLiteral(" DOCS\\MANUAL.PDF"));

  QTest::keyClick(w.fileView(), Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(focused(), w.folderView());
  EXPECT_EQ(logic->activePane(), Pane::Folder);
}

struct ModeCase {
  Command item;
  int mode;
  bool pane;
  Qt::Orientation orientation;
};

TEST_F(MainWindowTest, TheDisplayModeItemsLayTheWindowOut) {
  writeCatalog("_00HD_DATA.cct", sampleCatalog());
  MainWindow& w = showWindow(0);
  openWithKeys("_00HD_DATA.cct");
  const ModeCase cases[] = {
      {C::MD_表示モード1, 1, false, Qt::Vertical},
      {C::MD_表示モード2, 3, true, Qt::Horizontal},
      {C::MD_表示モード3, 5, true, Qt::Vertical},
      {C::MD_表示モード0, 0, false, Qt::Vertical},
  };
  for (const ModeCase& c : cases) {
    w.action(c.item)->trigger();
    QApplication::processEvents();
    const std::string name = toUtf8(mainmenu::entry(c.item).name);
    EXPECT_EQ(logic->displayMode(), c.mode) << name;
    EXPECT_EQ(w.fileView()->isVisible(), c.pane) << name;
    if (c.pane) {
      EXPECT_EQ(w.splitter()->orientation(), c.orientation) << name;
    }
    EXPECT_TRUE(w.action(c.item)->isChecked()) << name;
    const mainlayout::Size least = mainlayout::minimumSize(c.pane, w.logicalDpiX());
    EXPECT_EQ(w.minimumSize(), QSize(least.width, least.height)) << name;
    w.menu(C::M_表示)->aboutToShow();
    EXPECT_EQ(w.action(C::MD_ソート0)->isEnabled(), c.pane) << name;
    // The file count belongs to an open pane.
    EXPECT_EQ(w.consoleLine()->text().endsWith(QStringLiteral("個のファイル")), c.pane) << name;
  }
  // One tree shows the files among the folders once every level is shown.
  w.action(C::MD_表示モード1)->trigger();
  w.action(C::MDL_総て表示)->trigger();
  EXPECT_EQ(logic->folderGrid().rowCount(), 8);
  // The pane buttons open and close their pane.
  w.button(C::ボタン_縦2列)->click();
  EXPECT_TRUE(logic->rightPane());
  EXPECT_TRUE(w.button(C::ボタン_縦2列)->isChecked());
  w.button(C::ボタン_縦2列)->click();
  EXPECT_FALSE(logic->paneOpen());
}

// A switch reaches the option file a moment after it is flipped, not only
// when the program ends: a crash loses nothing.
TEST_F(MainWindowTest, AFlippedSwitchIsInTheOptionFileWithoutClosingTheWindow) {
  MainWindow& w = showWindow();
  ASSERT_FALSE(temp().there("zevro/ZEVRO32.Opt"));
  w.action(C::MD_文字色分け)->trigger();
  EXPECT_TRUE(w.optionSaveTimer().isActive());
  for (int i = 0; i < 40 && !temp().there("zevro/ZEVRO32.Opt"); ++i) QTest::qWait(50);
  EXPECT_NE(temp().get("zevro/ZEVRO32.Opt").find("ColorF=OFF"), std::string::npos);
  EXPECT_TRUE(w.isVisible());
}

TEST_F(MainWindowTest, AShrunkWindowKeepsItsLeastSize) {
  MainWindow& w = showWindow(DisplayMode::BottomPane);
  w.resize(50, 50);
  QApplication::processEvents();
  const mainlayout::Size least = mainlayout::minimumSize(true, w.logicalDpiX());
  EXPECT_GE(w.width(), least.width);
  EXPECT_GE(w.height(), least.height);
}

TEST_F(MainWindowTest, ClicksOnTheExpandBoxCollapseAndExpandAFolder) {
  writeCatalog("_00HD_DATA.cct", sampleCatalog());
  MainWindow& w = showWindow(0);
  openWithKeys("_00HD_DATA.cct");
  GridModel& folders = logic->folderGrid();
  ASSERT_EQ(folders.rowCount(), 4);  // DATA, DOCS, SUB, PICS: folders only
  const auto boxOfDocs = [&]() -> QPoint {
    std::vector<TreeLineSegment> lines;
    std::vector<TreeBox> boxes;
    folders.treeLines(0, folders.rowCount() - 1, lines, boxes);
    const int docsTop = folders.rowTop(folders.Grid_DisplayRowOf(1));
    const int rowHeight = folders.metrics().rowHeight;
    for (const TreeBox& b : boxes) {
      if (b.cy >= docsTop && b.cy < docsTop + rowHeight) return QPoint(b.cx, b.cy);
    }
    ADD_FAILURE() << "no expand box on DOCS";
    return {};
  };
  // The cursor on SUB, then its folder collapses: the console line follows
  // the cursor instead of keeping the hidden row's path.
  QTest::keyClick(w.folderView(), Qt::Key_Down);
  QTest::keyClick(w.folderView(), Qt::Key_Down);
  EXPECT_EQ(w.consoleLine()->text(), QStringLiteral(" DOCS\\SUB"));
  QTest::mouseClick(w.folderView()->viewport(), Qt::LeftButton, {}, boxOfDocs());
  EXPECT_EQ(folders.rowCount(), 3);  // SUB is hidden
  EXPECT_TRUE(logic->document().list().treeFlags(1) & catalog::TreeCollapsed);
  ASSERT_EQ(folders.store().storedRowAt(folders.cursorRow()), 1);
  EXPECT_EQ(w.consoleLine()->text(), QStringLiteral(" DOCS"));
  QTest::mouseClick(w.folderView()->viewport(), Qt::LeftButton, {}, boxOfDocs());
  EXPECT_EQ(folders.rowCount(), 4);
}

// A list stored without file marks (as zevro-cli read used to store them)
// gets them on loading: a folder holding only files has no expand box.
TEST_F(MainWindowTest, AListStoredWithoutFileMarksShowsNoBoxOnAFolderOfFilesOnly) {
  RowStore unmarked = sampleCatalog();
  for (int r = 0; r < unmarked.rowCount(); ++r)
    unmarked.setTreeFlags(r, unmarked.treeFlags(r) & ~(catalog::TreeHasFiles | catalog::TreeFilesHidden));
  // Rows below counted as children whatever they were.
  unmarked.setTreeFlags(4, unmarked.treeFlags(4) | catalog::TreeHasChildren);
  unmarked.setTreeFlags(6, unmarked.treeFlags(6) | catalog::TreeHasChildren);
  writeCatalog("_00HD_DATA.cct", unmarked);
  showWindow(0);
  openWithKeys("_00HD_DATA.cct");
  GridModel& folders = logic->folderGrid();
  ASSERT_EQ(folders.rowCount(), 4);  // DATA, DOCS, SUB, PICS
  std::vector<TreeLineSegment> lines;
  std::vector<TreeBox> boxes;
  folders.treeLines(0, folders.rowCount() - 1, lines, boxes);
  const int rowHeight = folders.metrics().rowHeight;
  const auto boxOn = [&](int storedRow) {
    const int top = folders.rowTop(folders.Grid_DisplayRowOf(storedRow));
    return std::any_of(boxes.begin(), boxes.end(), [&](const TreeBox& b) { return b.cy >= top && b.cy < top + rowHeight; });
  };
  EXPECT_TRUE(boxOn(1));   // DOCS holds the folder SUB
  EXPECT_FALSE(boxOn(4));  // SUB holds one file
  EXPECT_FALSE(boxOn(6));  // PICS holds one file
}

TEST_F(MainWindowTest, AReadListIsSavedWithCtrlSAndOpensAgainAfterARestart) {
  // The medium was catalogued before under the same name: the old list is
  // kept in Backup/ when the new one takes its place.
  writeCatalog("_00HD_READ.CCT", sampleCatalog(u"前の資料"));
  MainWindow& w = showWindow(DisplayMode::RightPane);
  const NativePath target = catalogs / "_00HD_READ.CCT";
  logic->hooks().readMedium = [target](RowStore& store) {
    RowStore sample = sampleCatalog(u"読んだ資料");
    for (int r = 0; r < sample.rowCount(); ++r)
      store.appendShown(sample.record(r), sample.colour(r), 0, sample.kind(r), sample.level(r));
    store.deriveIndexAndTreeFlags();  // as a reading leaves it
    catalog::prepareMarks(store);
    MediaReading::Result reading;
    reading.outcome = MediaReading::Outcome::Read;
    reading.catalogPath = target;
    reading.replaced = MediaReading::ExistingCatalog{target, u"_00HD_READ.CCT", u"前の資料", u"X:", u""};
    return std::optional<MediaReading::Result>(reading);
  };
  QTest::keyClick(&w, Qt::Key_N, Qt::ControlModifier);
  EXPECT_EQ(w.titleLabel()->text(), QStringLiteral("読んだ資料"));
  EXPECT_TRUE(w.action(C::MF_上書保存)->isEnabled());
  QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
  EXPECT_TRUE(temp().there("zevro/Catalog/_00HD_READ.cct"));
  EXPECT_EQ(titleOnDisk("_00HD_READ.cct"), u"読んだ資料");
  RowStore kept;
  ASSERT_TRUE(listfile::parse(temp().get("zevro/Backup/_00HD_READ.CCT"), kept).loaded());
  EXPECT_EQ(kept.field(catalog::FieldComment, 0), u"前の資料");
  EXPECT_FALSE(w.action(C::MF_上書保存)->isEnabled());
  w.close();
  EXPECT_FALSE(w.isVisible());

  MainWindow& again = showWindow();
  openWithKeys("_00HD_READ.cct");
  EXPECT_EQ(again.titleLabel()->text(), QStringLiteral("読んだ資料"));
  EXPECT_EQ(logic->document().list().rowCount(), 8);
}

TEST_F(MainWindowTest, ClosingAModifiedListAsksAndCancelKeepsTheWindowOpen) {
  writeCatalog("_00HD_DATA.cct", sampleCatalog());
  MainWindow& w = showWindow();
  openWithKeys("_00HD_DATA.cct");
  logic->document().setModified(true);
  ui.answers = {AnswerCancel};
  EXPECT_FALSE(w.close());
  EXPECT_TRUE(w.isVisible());
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(ui.messages()[0], CatalogDocument::SaveQuestion);
  ui.answers = {AnswerNo};
  EXPECT_TRUE(w.close());
  OptionStore reread(disk, program / "ZEVRO32.Opt");
  ASSERT_FALSE(reread.load());
  EXPECT_TRUE(reread.has(opt::WIDTH));
  EXPECT_EQ(reread.readNumber(opt::FileFrames, -1), 4);
}

TEST_F(MainWindowTest, ZoomKeysReachTheDataWindowButTextBoxesKeepThem) {
  writeCatalog("_00HD_DATA.cct", sampleCatalog());
  MainWindow& w = showWindow();
  openWithKeys("_00HD_DATA.cct");
  std::u16string zoomed;
  w.setZoomKeyTarget([&](char16_t c) { zoomed += c; });
  auto* edit = new QLineEdit(w.centralWidget());  // a box the user types a date into
  edit->show();
  edit->setFocus();
  QTest::keyClicks(edit, QStringLiteral("24-01+02="));
  EXPECT_EQ(edit->text(), QStringLiteral("24-01+02="));
  EXPECT_EQ(zoomed, u"");
  w.folderView()->setFocus();
  QTest::keyClicks(w.folderView(), QStringLiteral("+-="));
  EXPECT_EQ(zoomed, u"+-=");
}

TEST_F(MainWindowTest, TheContextMenuOfAFileNamesItsOpenAction) {
  writeCatalog("_00HD_DATA.cct", sampleCatalog());
  MainWindow& w = showWindow(1);
  openWithKeys("_00HD_DATA.cct");
  GridModel& folders = logic->folderGrid();
  folders.Grid_MoveCursor(folders.Grid_DisplayRowOf(2));  // README.TXT
  QMenu* m = w.prepareContextMenu(Pane::Folder);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m, w.menu(C::POP_名称欄));
  EXPECT_EQ(w.action(C::POP名称_開く)->text(), QStringLiteral("このファイルを開く"));
  EXPECT_FALSE(w.action(C::POP名称_開く)->isEnabled());
  EXPECT_TRUE(w.action(C::POPF_CAN)->isEnabled());
  folders.Grid_MoveCursor(folders.Grid_DisplayRowOf(1));  // DOCS
  EXPECT_EQ(w.prepareContextMenu(Pane::Folder), w.menu(C::POP_DIR欄));
}

TEST_F(MainWindowTest, AClickOnTheTitleRenamesTheCatalog) {
  writeCatalog("_00HD_DATA.cct", sampleCatalog());
  MainWindow& w = showWindow();
  openWithKeys("_00HD_DATA.cct");
  ui.inputs = {u"新しい題名"};
  QTest::mouseClick(w.titleLabel(), Qt::LeftButton);
  EXPECT_EQ(w.titleLabel()->text(), QStringLiteral("新しい題名"));
  EXPECT_EQ(titleOnDisk("_00HD_DATA.cct"), u"新しい題名");
}

TEST_F(MainWindowTest, TheLevelButtonsLimitTheTree) {
  writeCatalog("_00HD_DATA.cct", sampleCatalog());
  MainWindow& w = showWindow(0);
  openWithKeys("_00HD_DATA.cct");
  w.button(C::ボタン_深度1)->click();
  EXPECT_EQ(logic->folderGrid().rowCount(), 3);  // DATA, DOCS, PICS
  EXPECT_TRUE(w.button(C::ボタン_深度1)->isChecked());
  EXPECT_FALSE(w.button(C::ボタン_深度0)->isChecked());
  w.button(C::ボタン_深度0)->click();
  EXPECT_EQ(logic->folderGrid().rowCount(), 4);
}

TEST_F(MainWindowTest, AClickOnTheNameTitleSortsTheFilePaneInJapaneseOrder) {
  using namespace catalog;
  RowStore store;
  makeCatalogList(store);
  const auto row = [&](TextView name, int kind, int level) {
    EXPECT_TRUE(store.appendShown(buildRecord({name}), colourIndexFor(kind, level), 0, kind, level));
  };
  row(u"DATA", KindTitleHD, 0);
  row(u"MIXED", KindFolder, 1);
  // Stored in the order of kinds, so that the first click sorts by name.
  for (const TextView name : {u"写真.JPG", u"ｶﾞｻ.txt", u"readme.md", u"かさ.txt", u"Beta.txt", u"アイ.txt", u"10.txt",
                              u"あさ.txt", u"BETA.txt"})
    row(name, KindFile, 2);
  store.setSortOrder(ListSort::Kind);
  store.deriveIndexAndTreeFlags();
  FolderViewBuilder::prepareMarks(store);
  writeCatalog("_00HD_DATA.cct", store);

  MainWindow& w = showWindow(DisplayMode::RightPane);
  openWithKeys("_00HD_DATA.cct");
  QTest::keyClick(w.folderView(), Qt::Key_Down);
  GridModel& files = logic->fileGrid();
  ASSERT_EQ(files.rowCount(), 9);

  GridItemBar* bar = w.fileView()->itemBar();
  QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(files.columns().column(0).right / 2, bar->height() / 2));
  QApplication::processEvents();

  std::vector<std::string> shown;
  for (int d = 0; d < files.rowCount(); ++d)
    shown.push_back(toUtf8(files.store().fieldView(FieldName, files.store().storedRowAt(d))));
  // Digits, Latin letters in any case (equal names keep their stored order),
  // kana of either kind and width by their sounds (か before が), kanji last.
  const std::vector<std::string> want = {"10.txt",   "Beta.txt", "BETA.txt", "readme.md", "アイ.txt",
                                         "あさ.txt", "かさ.txt", "ｶﾞｻ.txt",  "写真.JPG"};
  EXPECT_EQ(shown, want);
}

}  // namespace
}  // namespace zevro
