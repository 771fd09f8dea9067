#include "dialogs/qt/OptionForm.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>

#include "../MainWindowFixture.h"
#include "ShownMainWindow.h"
#include "core/OptionKeys.h"
#include "grid/qt/GridWidget.h"
#include "listview/DisplayMode.h"
#include "listview/qt/MainWindow.h"
#include "platform/qt/QtColour.h"
#include "platform/qt/QtText.h"

namespace zevro {
namespace {

using C = Command;

QColor shownIn(const QWidget* w, QPalette::ColorRole role) { return w->palette().color(role); }

class OptionFormTest : public ::testing::Test, protected test::MainWindowFixture {
protected:
  void TearDown() override {
    if (window) window->close();
    window.reset();
  }

  MainWindow& showWindow() {
    writeCatalog("_00HD_DATA.cct", sampleCatalog());
    options.writeNumber(opt::FileFrames, DisplayMode::RightPane);
    EXPECT_FALSE(options.save());
    start();
    window = std::make_unique<MainWindow>(*logic);
    logic->hooks().chooseListFile = [this](const NativePath&, TextView, TextView) {
      return std::optional<NativePath>(catalogs / "_00HD_DATA.cct");
    };
    test::showAndWait(*window, false);
    window->runCommand(C::MF_リスト開く);
    QApplication::processEvents();
    return *window;
  }

  // Runs the colour command; `work` acts on the options window while it is
  // open (its own event loop runs meanwhile).
  void runColourCommand(const std::function<void(OptionForm&)>& work) {
    // The command lets pending events run before it opens the window: look
    // for the window until it is there.
    bool seen = false;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
      auto* form = qobject_cast<OptionForm*>(QApplication::activeModalWidget());
      if (!form || !form->isVisible()) return;
      poll.stop();
      seen = true;
      work(*form);
      // Whatever the steps did, the window does not stay open.
      if (form->isVisible()) form->reject();
    });
    poll.start();
    window->runCommand(C::MO_色の変更);
    poll.stop();
    QApplication::processEvents();
    EXPECT_TRUE(seen);
  }

  QImage folderShown() const {
    QApplication::processEvents();
    return window->folderView()->viewport()->grab().toImage();
  }
  // A point inside the cursor cell of the folder grid, clear of its text.
  QPoint cursorPoint() const {
    const GridModel& g = logic->folderGrid();
    const QRect cell = window->folderView()->cellRect(g.cursorColumn(), g.cursorRow());
    return QPoint(cell.right() - 3, cell.center().y());
  }
  std::string optionFile() const { return temp().get("zevro/ZEVRO32.Opt"); }

  std::unique_ptr<MainWindow> window;
};

TEST_F(OptionFormTest, ShowsNamesSwatchesAndLevelLabelsInTheirColours) {
  start();
  FakeUi scripted;
  OptionForm form(ColourOptions::read(options), scripted, nullptr);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("オプション設定"));
  EXPECT_EQ(form.cancelButton()->text(), QStringLiteral("キャンセル"));
  EXPECT_EQ(form.cancelButton()->objectName(), QStringLiteral("CANBTN"));
  EXPECT_EQ(form.okButton()->objectName(), QStringLiteral("OKBTN"));
  EXPECT_EQ(form.swatchName(5)->text(), QStringLiteral("・カーソルセルの背景色"));
  EXPECT_EQ(form.swatchName(13)->objectName(), QStringLiteral("COLNAM(13)"));
  EXPECT_EQ(form.swatch(5)->objectName(), QStringLiteral("COLDSP(5)"));
  EXPECT_EQ(shownIn(form.swatch(5), QPalette::Window), toQColor(15269832, form.palette()));
  // The desktop's selection colour is shown resolved.
  EXPECT_EQ(shownIn(form.swatch(3), QPalette::Window), form.palette().color(QPalette::Active, QPalette::Highlight));
  EXPECT_EQ(form.paperBox()->objectName(), QStringLiteral("PAPBOX"));
  EXPECT_EQ(shownIn(form.paperBox(), QPalette::Window), QColor(Qt::white));
  EXPECT_EQ(form.levelLabel(1)->text(), QStringLiteral("Level 1"));
  EXPECT_EQ(form.levelLabel(12)->objectName(), QStringLiteral("LVLNAM(12)"));
  EXPECT_EQ(shownIn(form.levelLabel(1), QPalette::WindowText), QColor(0, 0, 0x80));
  EXPECT_EQ(shownIn(form.levelLabel(2), QPalette::WindowText), QColor(0, 0x80, 0));
}

TEST_F(OptionFormTest, AClickOpensTheChooserAtTheColourAndMarksTheName) {
  start();
  FakeUi scripted;
  scripted.colours = {0x0000FF, 0x00FF00};
  OptionForm form(ColourOptions::read(options), scripted, nullptr);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  QTest::mouseClick(form.swatchName(1), Qt::LeftButton);
  EXPECT_EQ(scripted.colourStarts, std::vector<std::uint32_t>{0xFFFFFF});
  EXPECT_EQ(shownIn(form.swatch(1), QPalette::Window), QColor(Qt::red));
  EXPECT_EQ(shownIn(form.paperBox(), QPalette::Window), QColor(Qt::red));  // the list background
  EXPECT_TRUE(form.swatchName(1)->autoFillBackground());
  QTest::mouseClick(form.levelLabel(4), Qt::LeftButton);
  EXPECT_EQ(shownIn(form.levelLabel(4), QPalette::WindowText), QColor(Qt::green));
  EXPECT_FALSE(form.swatchName(1)->autoFillBackground());
  EXPECT_EQ(form.logic().markedLevel(), 4);
}

TEST_F(OptionFormTest, WithoutChoosersAClickBeepsAndChangesNothing) {
  start();
  FakeUi scripted;
  scripted.choosers = false;
  scripted.colours = {0x0000FF};
  OptionForm form(ColourOptions::read(options), scripted, nullptr);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  QTest::mouseClick(form.swatch(5), Qt::LeftButton);
  QTest::mouseClick(form.levelLabel(3), Qt::LeftButton);
  EXPECT_EQ(scripted.count(FakeUi::Kind::Beep), 2);
  EXPECT_EQ(shownIn(form.swatch(5), QPalette::Window), toQColor(15269832, form.palette()));
  EXPECT_EQ(form.logic().markedSwatch(), -1);
}

// The cursor cell of the main window's grid shows the picked colour, and
// the untouched selection colours stay the desktop's in the file.
TEST_F(OptionFormTest, APickedCursorColourShowsInTheGridAfterOk) {
  MainWindow& w = showWindow();
  w.folderView()->setFocus();
  QApplication::processEvents();
  const QColor picked(0x20, 0x90, 0xD0);
  ASSERT_NE(folderShown().pixelColor(cursorPoint()), picked);
  ui.colours = {fromQColor(picked)};
  runColourCommand([](OptionForm& form) {
    QTest::mouseClick(form.swatch(5), Qt::LeftButton);
    QTest::mouseClick(form.okButton(), Qt::LeftButton);
  });
  EXPECT_EQ(folderShown().pixelColor(cursorPoint()), picked);
  logic->saveOptionsNow();
  const std::string file = optionFile();
  EXPECT_NE(file.find("CsrBackCol= 13668384\r\n"), std::string::npos) << file;
  EXPECT_NE(file.find("SelBackCol=-2147483635\r\n"), std::string::npos) << file;
  EXPECT_NE(file.find("SelForeCol=-2147483634\r\n"), std::string::npos) << file;
}

TEST_F(OptionFormTest, ALevelColourChangedAndCancelledChangesNothing) {
  showWindow();
  logic->saveOptionsNow();
  const std::string before = optionFile();
  const QImage shown = folderShown();
  ui.colours = {0x0000FF};
  runColourCommand([](OptionForm& form) {
    QTest::mouseClick(form.levelLabel(1), Qt::LeftButton);
    EXPECT_EQ(shownIn(form.levelLabel(1), QPalette::WindowText), QColor(Qt::red));
    QTest::mouseClick(form.cancelButton(), Qt::LeftButton);
  });
  EXPECT_EQ(ui.count(FakeUi::Kind::ChooseColour), 1);
  EXPECT_EQ(folderShown(), shown);
  EXPECT_FALSE(options.hasPending());
  logic->saveOptionsNow();
  EXPECT_EQ(optionFile(), before);

  // The same change confirmed does show: the folders of level 1 turn red.
  ui.colours = {0x0000FF};
  runColourCommand([](OptionForm& form) {
    QTest::mouseClick(form.levelLabel(1), Qt::LeftButton);
    QTest::mouseClick(form.okButton(), Qt::LeftButton);
  });
  EXPECT_NE(folderShown(), shown);
  logic->saveOptionsNow();
  EXPECT_NE(optionFile().find("ForeColor1= 255\r\n"), std::string::npos);
}

}  // namespace
}  // namespace zevro
