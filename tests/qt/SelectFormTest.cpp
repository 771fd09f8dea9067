#include "select/qt/SelectForm.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <filesystem>
#include <memory>

#include "../MainWindowFixture.h"
#include "../TempFolder.h"
#include "core/ListFile.h"
#include "core/OptionKeys.h"
#include "grid/qt/GridWidget.h"
#include "listview/qt/MainWindow.h"
#include "media/Program.h"
#include "platform/FakeDrives.h"
#include "platform/FakeUi.h"
#include "platform/LinuxFileSystem.h"
#include "platform/qt/QtText.h"
#include "select/qt/JanreForm.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

class SelectFormTest : public ::testing::Test {
protected:
  SelectFormTest() : program(platform, temp.root(), &drives) {
    EXPECT_FALSE(program.loadOptions());
    EXPECT_TRUE(program.settleCatalogFolder());
    catalogs = program.catalogFolder();
    GenreTable genres;
    genres.setName(0, u"ゲーム");
    genres.setPosition(0, 0);
    genres.setState(0, GenreTable::Open);
    genres.setName(3, u"文書");
    genres.setPosition(3, 1);
    genres.setState(3, GenreTable::ClosedByUser);
    genres.setName(5, u"音楽");
    genres.setPosition(5, 2);
    EXPECT_FALSE(genres.write(disk, catalogs));
    // On disk in mixed case; the list keeps it lower-cased.
    writeCatalog("_00hd_Data.CCT", u"資料集");
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

  SelectForm& show() {
    logic = std::make_unique<MainWindowLogic>(MainWindowLogic::Services{
        platform, program.options(), program.index(), program.titles(), program.programFolder(), catalogs, u"0.1"});
    window = std::make_unique<MainWindow>(*logic);
    window->resize(700, 500);
    window->move(320, 0);
    window->show();
    form = std::make_unique<SelectForm>(program, window.get());
    form->attachTo(*window);
    form->カタログ一覧を表示(u"");
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    form->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    return *form;
  }

  // The middle of a row of the list, in the grid's viewport.
  QPoint rowPoint(int storedRow, int x = 120) {
    CatalogSelection& s = form->selection();
    const int d = s.rows().displayRowOf(storedRow);
    EXPECT_GE(d, 0);
    const int h = s.grid().metrics().rowHeight;
    return QPoint(x, (d - s.grid().topRow()) * h + h / 2);
  }

  char stateOnDisk(int genre) {
    std::string bytes;
    EXPECT_FALSE(disk.readFile(catalogs / GenreTable::FileName, bytes));
    return bytes.size() > 200u + genre ? bytes[200 + static_cast<std::size_t>(genre)] : '?';
  }

  test::TempFolder temp{"zevro-select-form"};
  LinuxFileSystem disk;
  FakeUi ui;
  Platform platform{disk, ui};
  FakeDrives drives;
  Program program;
  NativePath catalogs;
  std::unique_ptr<MainWindowLogic> logic;
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<SelectForm> form;
};

TEST_F(SelectFormTest, CaptionAndControls) {
  SelectForm& f = show();
  EXPECT_EQ(fromQString(f.windowTitle()), u"カタログ選択 【" + cp932::fromNativeName(catalogs.native()) + u"】");
  EXPECT_EQ(fromQString(f.folderButton()->text()), u"フォルダー変更");
  EXPECT_EQ(fromQString(f.titleButton()->toolTip()), u"タイトル順にソート");
  EXPECT_EQ(fromQString(f.mediaButton(1)->toolTip()), u"リムーバブル・メディア");
  ASSERT_NE(f.genreAction(u"POPJADD"), nullptr);
  EXPECT_EQ(fromQString(f.genreAction(u"POPJADD")->text()), u"ジャンル名を追加");
}

TEST_F(SelectFormTest, AClickOpensTheCatalogInTheMainWindowWhateverTheCaseOnDisk) {
  SelectForm& f = show();
  const int row = f.selection().rowOfFile(u"_00hd_data.cct");
  ASSERT_GE(row, 0);
  QTest::mouseClick(f.grid()->viewport(), Qt::LeftButton, {}, rowPoint(row));
  QApplication::processEvents();
  EXPECT_EQ(logic->document().currentFileName(), u"_00hd_Data.CCT");
  EXPECT_EQ(fromQString(window->titleLabel()->text()), u"資料集");
  EXPECT_EQ(fromQString(window->genreLabel()->text()).substr(0, 3), u"ゲーム");
}

TEST_F(SelectFormTest, TheExpandMarkWritesTheGenreState) {
  SelectForm& f = show();
  CatalogSelection& s = f.selection();
  const int genre3 = s.rowOfGenre(3);
  EXPECT_EQ(stateOnDisk(3), '1');
  QTest::mouseClick(f.grid()->viewport(), Qt::LeftButton, {}, rowPoint(genre3, 3));
  EXPECT_EQ(stateOnDisk(3), '3');
  EXPECT_GE(s.rows().displayRowOf(s.rowOfFile(u"_03cd_docs.cct")), 0);
  QTest::mouseClick(f.grid()->viewport(), Qt::LeftButton, {}, rowPoint(genre3, 3));
  EXPECT_EQ(stateOnDisk(3), '1');
  EXPECT_LT(s.rows().displayRowOf(s.rowOfFile(u"_03cd_docs.cct")), 0);
  // A click on the genre's name opens nothing.
  QTest::mouseClick(f.grid()->viewport(), Qt::LeftButton, {}, rowPoint(genre3, 120));
  EXPECT_EQ(stateOnDisk(3), '1');
  EXPECT_TRUE(logic->document().currentFileName().empty());
}

TEST_F(SelectFormTest, ACatalogOpenedElsewhereGetsTheCursorAndItsGenreOpens) {
  SelectForm& f = show();
  CatalogSelection& s = f.selection();
  const int top = s.grid().topRow();
  window->指定カタログをロード(u"_03cd_docs.cct");
  EXPECT_EQ(stateOnDisk(3), '3');
  EXPECT_EQ(s.cursorStoredRow(), s.rowOfFile(u"_03cd_docs.cct"));
  EXPECT_EQ(s.grid().topRow(), top);
  // Hidden, the window still opens the genre of a catalog shown.
  f.hide();
  s.setGenreOpen(3, false);
  window->指定カタログをロード(u"_00hd_data.cct");
  window->指定カタログをロード(u"_03cd_docs.cct");
  EXPECT_EQ(stateOnDisk(3), '3');
}

TEST_F(SelectFormTest, AnotherCatalogFolderBringsItsOwnIndexAndGenres) {
  SelectForm& f = show();
  GenreTable theirs;
  theirs.setName(4, u"写真");
  theirs.setPosition(4, 0);
  theirs.setState(4, GenreTable::Open);
  temp.put("Other/CatJan.CCZ", theirs.encode());
  temp.put("Other/CatList.CCZ", CatalogIndex::encode({{u"_04hd_pics.cct", u"旅行の写真"}}));
  const NativePath other = temp.path("Other");
  const std::string before = temp.get("Other/CatList.CCZ");
  catalogs = other;
  writeCatalog("_04HD_PICS.cct", u"資料集");
  ui.folders.push_back(cp932::fromNativeName(other.native()));
  QTest::mouseClick(f.folderButton(), Qt::LeftButton);
  EXPECT_EQ(fromQString(f.windowTitle()), u"カタログ選択 【" + cp932::fromNativeName(other.native()) + u"】");
  CatalogSelection& s = f.selection();
  ASSERT_EQ(s.rows().rowCount(), 2);
  EXPECT_EQ(s.rows().field(0, 0), u"写真");
  EXPECT_EQ(s.rows().field(0, 1), u"旅行の写真");  // its own index's title
  EXPECT_EQ(temp.get("Other/CatList.CCZ"), before);
  EXPECT_EQ(temp.get("Other/CatJan.CCZ"), theirs.encode());
  EXPECT_EQ(program.options().readPath(opt::CatalogDir, {}), other);
  // The main window opens catalogs from there.
  QTest::mouseClick(f.grid()->viewport(), Qt::LeftButton, {}, rowPoint(1));
  EXPECT_EQ(logic->document().currentFileName(), u"_04HD_PICS.cct");
  EXPECT_EQ(logic->document().currentFile().parent_path(), other);
}

TEST_F(SelectFormTest, TheGenreMenuOpensOnGenreRowsOnly) {
  SelectForm& f = show();
  CatalogSelection& s = f.selection();
  QTest::mouseClick(f.grid()->viewport(), Qt::RightButton, {}, rowPoint(s.rowOfFile(u"_00hd_data.cct")));
  EXPECT_FALSE(f.genreMenu()->isVisible());
  QTest::mouseClick(f.grid()->viewport(), Qt::RightButton, {}, rowPoint(s.rowOfGenre(5)));
  EXPECT_TRUE(f.genreMenu()->isVisible());
  f.genreMenu()->hide();
  // In title order every row is a catalog: no menu.
  QTest::keyClick(f.grid(), Qt::Key_T, Qt::AltModifier);
  ASSERT_TRUE(s.sortByTitle());
  QTest::mouseClick(f.grid()->viewport(), Qt::RightButton, {}, rowPoint(0));
  EXPECT_FALSE(f.genreMenu()->isVisible());
}

TEST_F(SelectFormTest, AltDigitsToggleTheMediaAndAltTTheTitleOrder) {
  SelectForm& f = show();
  CatalogSelection& s = f.selection();
  struct Step {
    Qt::Key key;
    int media;
    bool byTitle;
    int rows;
  } steps[] = {
      {Qt::Key_1, selection::MediaFD | selection::MediaHD, false, 4},  // the CD catalog goes
      {Qt::Key_3, selection::MediaFD, false, 3},                       // and the HD one
      {Qt::Key_1, selection::MediaFD | selection::MediaCD, false, 4},
      {Qt::Key_2, selection::MediaCD, false, 4},
      {Qt::Key_3, selection::MediaCD | selection::MediaHD, false, 5},
      {Qt::Key_T, selection::MediaCD | selection::MediaHD, true, 2},
      {Qt::Key_T, selection::MediaCD | selection::MediaHD, false, 5},
      {Qt::Key_2, selection::MediaAll, false, 5},
  };
  for (const Step& step : steps) {
    QTest::keyClick(f.grid(), step.key, Qt::AltModifier);
    EXPECT_EQ(s.mediaMode(), step.media);
    EXPECT_EQ(s.sortByTitle(), step.byTitle);
    EXPECT_EQ(s.rows().rowCount(), step.rows);
  }
  EXPECT_TRUE(f.mediaButton(0)->isChecked());
  f.unload();
  EXPECT_EQ(program.options().readNumber(opt::SelMediaMode, 0), selection::MediaAll);
}

TEST_F(SelectFormTest, TheGenrePickerMovesTheShownCatalog) {
  SelectForm& f = show();
  f.selection();
  window->指定カタログをロード(u"_00hd_data.cct");
  ASSERT_EQ(logic->document().currentFileName(), u"_00hd_Data.CCT");
  bool seen = false;
  // The picker is modal: answered from a timer once it is up.
  QTimer poll;
  poll.setInterval(10);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* picker = qobject_cast<JanreForm*>(QApplication::activeModalWidget());
    if (!picker || seen) return;
    seen = true;
    EXPECT_EQ(fromQString(picker->windowTitle()), u"ジャンルの選択");
    EXPECT_EQ(picker->list()->count(), 3);
    EXPECT_TRUE(picker->list()->item(0)->isSelected());  // ゲーム, the catalog's genre
    picker->list()->setCurrentRow(2);                      // 音楽, genre 5
    picker->okButton()->click();
  });
  poll.start();
  window->runCommand(Command::JANDSP);
  poll.stop();
  EXPECT_TRUE(seen);
  EXPECT_TRUE(std::filesystem::exists(catalogs / "_05hd_Data.CCT"));
  EXPECT_FALSE(std::filesystem::exists(catalogs / "_00hd_Data.CCT"));
  EXPECT_EQ(logic->document().currentFileName(), u"_05hd_Data.CCT");
  EXPECT_EQ(fromQString(window->genreLabel()->text()).substr(0, 2), u"音楽");
  EXPECT_EQ(stateOnDisk(5), '3');
  EXPECT_EQ(f.selection().cursorStoredRow(), f.selection().rowOfFile(u"_05hd_data.cct"));
}

TEST(JanreFormTest, SeveralChoicesPresetFromTheGenreList) {
  GenreTable t;
  t.setName(0, u"A");
  t.setPosition(0, 0);
  t.setName(7, u"B");
  t.setPosition(7, 1);
  t.setName(9, u"C");
  t.setPosition(9, 2);
  JanreForm form(JanreChoice::several(t, u"10000000010000000000"));
  EXPECT_EQ(form.list()->selectionMode(), QAbstractItemView::MultiSelection);
  EXPECT_EQ(fromQString(form.cancelButton()->text()), u"ｷｬﾝｾﾙ");
  QTimer::singleShot(0, [&] {
    form.list()->item(1)->setSelected(true);
    form.okButton()->click();
  });
  form.SetJanre();
  EXPECT_FALSE(form.cancelled());
  EXPECT_EQ(form.chosen(), (std::vector<int>{0, 7, 9}));
  QTimer::singleShot(0, [&] { form.cancelButton()->click(); });
  form.SetJanre();
  EXPECT_TRUE(form.cancelled());
  EXPECT_TRUE(form.chosen().empty());
}

}  // namespace
}  // namespace zevro
