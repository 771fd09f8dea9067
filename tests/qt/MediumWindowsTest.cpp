// The windows of getting back to a catalogued file: the drive question,
// the drive chooser, and the main window opening, showing and attaching
// pictures to rows of a catalog whose medium is a folder standing in for a
// drive.
#include <gtest/gtest.h>

#include <fstream>

#include <QApplication>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "../MainWindowFixture.h"
#include "ShownMainWindow.h"
#include "core/DriveTypeTable.h"
#include "core/OptionKeys.h"
#include "text/Cp932.h"
#include "grid/qt/GridWidget.h"
#include "listview/qt/MainWindow.h"
#include "media/ArchiveLibraries.h"
#include "media/DriveInfo.h"
#include "media/TitleFile.h"
#include "media/qt/MediaForm.h"
#include "platform/FakeDrives.h"
#include "platform/Programs.h"
#include "platform/qt/QtText.h"
#include "viewers/qt/LiveForm.h"

namespace zevro {
namespace {

using C = Command;

class MediumWindowsTest : public ::testing::Test, protected test::MainWindowFixture {
protected:
  MediumWindowsTest() {
    medium = program.parent_path() / "medium";
    std::filesystem::create_directories(medium / "DOCS");
    std::filesystem::create_directories(medium / "PICS");
    std::ofstream(medium / "DOCS" / "README.TXT") << "read me first";
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::blue);
    image.save(QString::fromStdString((medium / "PICS" / "photo.jpg").native()), "JPEG");
    image.fill(Qt::red);
    attached = program.parent_path() / "cover.jpg";
    image.save(QString::fromStdString(attached.native()), "JPEG");
    drives.set('K', {drivetype::Fixed, medium, u"DATA", 0, false, DriveSpace{1, 1}, true});
    types.setStored('K', drivetype::Fixed);
    writeCatalog("_00HD_DATA.cct", sampleCatalog());
  }

  void TearDown() override { test::closeWithoutQuestion(window, logic.get()); }

  MainWindow& showWindow() {
    window.reset();
    logic.reset();
    options.writeNumber(opt::FileFrames, 1);  // one tree: files in the folder grid
    EXPECT_FALSE(options.save());
    EXPECT_FALSE(options.load());
    logic = std::make_unique<MainWindowLogic>(MainWindowLogic::Services{
        platform, options, index, titles, program, catalogs, u"0.1", nullptr, false, true, &locator, &pictures, &opener});
    window = std::make_unique<MainWindow>(*logic);
    logic->hooks().chooseListFile = [this](const NativePath&, TextView, TextView) {
      return std::optional<NativePath>(catalogs / "_00HD_DATA.cct");
    };
    liveForm = std::make_unique<LiveForm>(disk, nullptr);
    logic->hooks().dataWindow = [this]() -> DataWindow* { return liveForm.get(); };
    logic->hooks().pictureSize = [](const NativePath& file) -> std::optional<std::pair<int, int>> {
      const QSize size = QImageReader(QString::fromStdString(file.native())).size();
      if (!size.isValid()) return std::nullopt;
      return std::pair{size.width(), size.height()};
    };
    test::showAndWait(*window, false);
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    QApplication::processEvents();
    return *window;
  }

  // The middle of the row showing a stored row of the catalog.
  QPoint rowPoint(int storedRow) {
    GridModel& g = logic->folderGrid();
    return QPoint(60, g.rowTop(g.Grid_DisplayRowOf(storedRow)) + g.metrics().rowHeight / 2);
  }
  void cursorTo(int storedRow) {
    QTest::mouseClick(window->folderView()->viewport(), Qt::LeftButton, {}, rowPoint(storedRow));
  }

  NativePath medium;
  NativePath attached;
  FakeDrives drives;
  DriveTypeTable types;
  DriveInfo info{drives, disk, types, titles};
  TitleFile titleFile{info, ui};
  ArchiveLibraries archives{ListTime::Zone::Japan};
  MediumLocator locator{{info, titleFile, disk, ui, archives, program / "TempFile"}};
  AttachedPictures pictures{{platform, catalogs, program / "temp"}};
  FakePrograms programs;
  RowOpener opener{{locator, archives, disk, ui, programs, program / "TempFile"}};
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<LiveForm> liveForm;
};

TEST_F(MediumWindowsTest, DoubleClickOpensTheFileOnTheMedium) {
  MainWindow& w = showWindow();
  ASSERT_EQ(logic->folderGrid().rowCount(), 8);
  // A double click: the first click puts the cursor on the row.
  const auto doubleClick = [&](int row) {
    cursorTo(row);
    QTest::mouseDClick(w.folderView()->viewport(), Qt::LeftButton, {}, rowPoint(row));
  };
  QSignalSpy spy(w.folderView(), &GridWidget::doubleClicked);
  doubleClick(2);
  EXPECT_EQ(spy.count(), 1);
  ASSERT_EQ(ui.count(FakeUi::Kind::OpenDefault), 1);
  EXPECT_EQ(ui.calls.back().text, cp932::fromNativeName((medium / "DOCS" / "README.TXT").native()));
  // The JPEG row was renamed in the catalog: the name on the medium opens.
  doubleClick(7);
  ASSERT_EQ(ui.count(FakeUi::Kind::OpenDefault), 2);
  EXPECT_EQ(ui.calls.back().text, cp932::fromNativeName((medium / "PICS" / "photo.jpg").native()));
  // A folder row opens nothing.
  doubleClick(1);
  EXPECT_EQ(ui.count(FakeUi::Kind::OpenDefault), 2);
}

TEST_F(MediumWindowsTest, DataWindowShowsTextAndPicture) {
  showWindow();
  cursorTo(2);
  window->findChild<QAction*>(QStringLiteral("MD_データ表示"))->trigger();
  EXPECT_EQ(liveForm->textView()->toPlainText(), QStringLiteral("read me first"));
  EXPECT_EQ(liveForm->windowTitle(), QStringLiteral("DOCS\\README.TXT"));
  cursorTo(7);
  window->findChild<QAction*>(QStringLiteral("MD_データ表示"))->trigger();
  EXPECT_EQ(liveForm->windowTitle(), QStringLiteral("photo.jpg (64x48)"));
  ASSERT_FALSE(liveForm->imageView()->pixmap().isNull());
  EXPECT_EQ(liveForm->imageView()->pixmap().size(), QSize(64, 48));

  // The medium gone: the console line says so.
  drives.remove('K');
  cursorTo(2);
  window->findChild<QAction*>(QStringLiteral("MD_データ表示"))->trigger();
  EXPECT_EQ(window->consoleLine()->text(), QStringLiteral("ファイル無し：DOCS\\README.TXT"));
}

TEST_F(MediumWindowsTest, AttachedPictureIsShownAfterARestart) {
  showWindow();
  cursorTo(2);
  logic->folderGrid().store().setSelected(logic->folderGrid().cursorRow(), true);
  ui.chosenFiles = {cp932::fromNativeName(attached.native())};
  window->findChild<QAction*>(QStringLiteral("ME_イメージ記録"))->trigger();
  EXPECT_EQ(logic->document().list().field(catalog::FieldImage, 2), u"001");
  EXPECT_EQ(liveForm->windowTitle(), QStringLiteral("README.TXT (64x48)"));
  EXPECT_TRUE(logic->document().save());

  std::filesystem::remove_all(program / "temp");
  showWindow();
  cursorTo(2);
  window->findChild<QAction*>(QStringLiteral("MD_データ表示"))->trigger();
  EXPECT_EQ(liveForm->windowTitle(), QStringLiteral("README.TXT (64x48)"));
  EXPECT_EQ(liveForm->imageView()->pixmap().toImage().pixelColor(10, 10).red() > 200, true);

  window->findChild<QAction*>(QStringLiteral("ME_イメージ消去"))->trigger();
  EXPECT_EQ(logic->document().list().field(catalog::FieldImage, 2), u"");
}

TEST_F(MediumWindowsTest, MediaFormAnswersTheChosenDrive) {
  drives.set('E', {drivetype::CdRom, medium, u"GAMES", 0, false, DriveSpace{1, 1}, true});
  types.setStored('E', drivetype::CdRom);
  MediaForm form(info, nullptr);
  MediaQuestion q{u"ゲーム||（GAMES）", MediumLocator::questionMessage(MediumLocator::KindTextCD), 'E'};
  QTimer::singleShot(0, &form, [&form] { form.okButton()->click(); });
  EXPECT_EQ(form.InputMediaDrive(q), u"E:");
  EXPECT_EQ(form.windowTitle(), QStringLiteral("ドライブの選択"));
  EXPECT_EQ(form.mediumLabel()->text(), QStringLiteral("ゲーム\n\n（GAMES）"));
  EXPECT_TRUE(form.messageLabel()->text().startsWith(QStringLiteral("このラベルと同じ CD-ROM、DVD-ROM を")));
  QTimer::singleShot(0, &form, [&form] { form.cancelButton()->click(); });
  EXPECT_EQ(form.InputMediaDrive(q), u"");

  DriveForm drive(info, nullptr);
  QTimer::singleShot(0, &drive, [&drive] {
    const QList<QListWidgetItem*> k = drive.driveBox()->findItems(QStringLiteral("k:"), Qt::MatchStartsWith);
    if (!k.isEmpty()) drive.driveBox()->setCurrentItem(k.front());
    drive.okButton()->click();
  });
  EXPECT_EQ(drive.InpDrive(), u"K:");
}

TEST_F(MediumWindowsTest, EnterAsksForTheMediumAndCancelKeepsTheDataWindowEmpty) {
  // A CD catalog whose disc is in no drive.
  RowStore cd = sampleCatalog();
  cd.setField(catalog::FieldName, 0, u"GAMES");
  writeCatalog("_00CD_GAMES.cct", cd);
  showWindow();
  logic->hooks().chooseListFile = [this](const NativePath&, TextView, TextView) {
    return std::optional<NativePath>(catalogs / "_00CD_GAMES.cct");
  };
  QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
  drives.set('E', {drivetype::CdRom, medium, u"OTHER", 0, false, DriveSpace{1, 1}, true});
  types.setStored('E', drivetype::CdRom);
  MediaForm form(info, window.get());
  locator.setQuestion(&form);
  cursorTo(2);
  QTimer::singleShot(0, &form, [&form] { form.cancelButton()->click(); });
  QTest::keyClick(window->folderView(), Qt::Key_Return);
  EXPECT_TRUE(locator.locateCancelled);
  EXPECT_EQ(ui.count(FakeUi::Kind::OpenDefault), 0);
  EXPECT_EQ(ui.count(FakeUi::Kind::Beep), 1);
  locator.setQuestion(nullptr);
}

}  // namespace
}  // namespace zevro
