// The data window and the comment window as a user meets them: zoom keys and
// the sizes they give, keys handed back to the main window, the right button
// unloading, closing hiding, and an edit stored when the box loses the focus.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

#include "../TempFolder.h"
#include "core/OptionKeys.h"
#include "core/OptionStore.h"
#include "platform/FakeUi.h"
#include "platform/FaultyFileSystem.h"
#include "platform/qt/QtText.h"
#include "text/Cp932.h"
#include "viewers/qt/DocForm.h"
#include "viewers/qt/LiveForm.h"

namespace zevro {
namespace {

class ViewerWindowsTest : public ::testing::Test {
protected:
  ViewerWindowsTest() {
    // A stand-in main window whose list moves its current row with Up and Down.
    auto* layout = new QVBoxLayout(&mainWindow);
    rows = new QListWidget;
    for (int i = 0; i < 10; ++i) rows->addItem(QString::number(i));
    layout->addWidget(rows);
    rows->setCurrentRow(3);
    mainWindow.resize(300, 300);
    mainWindow.show();
    rows->setFocus();
    live = std::make_unique<LiveForm>(files, &mainWindow, &ui, &options);
  }

  NativePath picture(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    const NativePath path = folder.path("p.png");
    EXPECT_TRUE(image.save(QString::fromStdString(path.native())));
    return path;
  }

  test::TempFolder folder{"zevro-viewers"};
  LinuxFileSystem real;
  FaultyFileSystem files{real};
  FakeUi ui;
  OptionStore options{files, folder.path("ZEVRO32.Opt")};
  QWidget mainWindow;
  QListWidget* rows = nullptr;
  std::unique_ptr<LiveForm> live;
};

TEST_F(ViewerWindowsTest, ZoomKeysSizeThePictureAndTheWindow) {
  live->DispPic({picture(64, 48), 64, 48, u"p.png (64x48)"});
  ASSERT_TRUE(live->isVisible());
  QTest::keyClick(live.get(), Qt::Key_Equal, Qt::NoModifier);
  EXPECT_EQ(live->imageView()->size(), QSize(64, 48));
  const QSize natural = live->size();
  const int frameW = natural.width() - 64;
  const int frameH = natural.height() - 48;
  EXPECT_GT(frameW, 0);
  // "+" twice: 1.4 of the natural size, the window around it.
  QTest::keyClick(live.get(), Qt::Key_Plus, Qt::NoModifier);
  QTest::keyClick(live.get(), Qt::Key_Plus, Qt::NoModifier);
  EXPECT_EQ(live->logic().zoomTenths(), 14);
  EXPECT_EQ(live->imageView()->size(), QSize(89, 67));
  EXPECT_EQ(live->size(), QSize(89 + frameW, 67 + frameH));
  // The main window hands the keys on the same way ("-" on the keypad too).
  live->KeyIn(u'-');
  QTest::keyClick(live.get(), Qt::Key_Minus, Qt::KeypadModifier);
  EXPECT_EQ(live->logic().zoomTenths(), 10);
  EXPECT_EQ(live->imageView()->size(), QSize(64, 48));
  for (int i = 0; i < 10; ++i) live->KeyIn(u'-');
  EXPECT_EQ(live->logic().zoomTenths(), 2);
  EXPECT_EQ(live->imageView()->size(), QSize(12, 9));
}

TEST_F(ViewerWindowsTest, UpAndDownMoveTheMainWindowsCursorOtherKeysOnlyGiveTheFocusBack) {
  live->DispPic({picture(20, 20), 20, 20, u"p.png (20x20)"});
  QTest::keyClick(live.get(), Qt::Key_Down);
  EXPECT_EQ(rows->currentRow(), 4);
  QTest::keyClick(live.get(), Qt::Key_Up);
  QTest::keyClick(live.get(), Qt::Key_Up);
  EXPECT_EQ(rows->currentRow(), 2);
  QTest::keyClick(live.get(), Qt::Key_A);
  EXPECT_EQ(rows->currentRow(), 2);
}

TEST_F(ViewerWindowsTest, RightButtonUnloadsAndStoresThePlaceAndSize) {
  live->DispPic({picture(40, 30), 40, 30, u"p.png (40x30)"});
  live->move(120, 80);
  live->resize(320, 260);
  QTest::mouseClick(live->imageView(), Qt::RightButton);
  EXPECT_FALSE(live->loaded());
  EXPECT_FALSE(live->isVisible());
  const int tpp = live->logic().twipsPerPixel();
  EXPECT_EQ(options.readNumber(opt::LiveViewWidth, 0), 320 * tpp);
  EXPECT_EQ(options.readNumber(opt::LiveViewHeight, 0), 260 * tpp);
  EXPECT_EQ(options.readNumber(opt::LiveViewX, -1), live->x() * tpp);
  EXPECT_TRUE(options.has(opt::LiveViewY));
  // The next use loads it again where it was.
  live->DispPic({picture(40, 30), 40, 30, u"p.png (40x30)"});
  EXPECT_TRUE(live->loaded());
  EXPECT_TRUE(live->isVisible());
}

TEST_F(ViewerWindowsTest, CloseHidesClearsTheCaptionAndThePicture) {
  live->DispPic({picture(40, 30), 40, 30, u"p.png (40x30)"});
  live->close();
  EXPECT_FALSE(live->isVisible());
  EXPECT_TRUE(live->loaded());
  EXPECT_TRUE(live->windowTitle().isEmpty());
  EXPECT_TRUE(live->imageView()->pixmap().isNull());
}

TEST_F(ViewerWindowsTest, TextIsShownInAWindowOfAtLeast3600By4200Twips) {
  folder.put("readme.txt", cp932::encode(u"読んでください\r\n"));
  live->resize(100, 100);
  live->DispDoc(folder.path("readme.txt"), u"DOCS\\README.TXT");
  EXPECT_TRUE(live->isVisible());
  EXPECT_EQ(live->windowTitle(), QStringLiteral("DOCS\\README.TXT"));
  EXPECT_EQ(live->textView()->toPlainText(), QStringLiteral("読んでください\n"));
  const int tpp = live->logic().twipsPerPixel();
  EXPECT_GE(live->width() * tpp, 3600);
  EXPECT_GE(live->height() * tpp, 4200);
  // A read error: told, the text kept, the caption emptied.
  files.fail(FaultyFileSystem::Op::Read, EIO, folder.path("readme.txt"));
  live->DispDoc(folder.path("readme.txt"), u"DOCS\\README.TXT");
  EXPECT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(live->textView()->toPlainText(), QStringLiteral("読んでください\n"));
  EXPECT_TRUE(live->windowTitle().isEmpty());
  // A missing file changes nothing.
  live->DispDoc(folder.path("none.txt"), u"NONE.TXT");
  EXPECT_EQ(live->textView()->toPlainText(), QStringLiteral("読んでください\n"));
}

TEST_F(ViewerWindowsTest, FixedFrameStoresTheSizeTheUserGivesTheWindow) {
  live->setSettings({true, 300, 300});
  live->DispPic({picture(40, 30), 40, 30, u"p.png (40x30)"});
  live->resize(333, 222);
  QApplication::processEvents();
  const int tpp = live->logic().twipsPerPixel();
  EXPECT_EQ(options.readNumber(opt::PicViewWidth, 0), 333 * tpp);
  EXPECT_EQ(options.readNumber(opt::PicViewHeight, 0), 222 * tpp);
}

struct Stored {
  int row;
  Text comment;
  bool operator==(const Stored&) const = default;
};

TEST_F(ViewerWindowsTest, CommentWindowStoresAnEditWhenTheBoxLosesTheFocus) {
  std::vector<Stored> stored;
  DocForm doc([&](int row, TextView comment) { stored.push_back({row, Text(comment)}); }, &options, &mainWindow);
  doc.DispCommentText(u"/c/_01CD_A.cct", 5, u"FIVE.TXT", u"line 1\r\nline 2");
  EXPECT_TRUE(doc.isVisible());
  EXPECT_EQ(doc.windowTitle(), QStringLiteral("コメント： FIVE.TXT"));
  EXPECT_EQ(doc.textView()->toPlainText(), QStringLiteral("line 1\nline 2"));
  QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
  QApplication::sendEvent(doc.textView(), &out);
  EXPECT_TRUE(stored.empty());  // a CR LF comment passed over is no edit

  doc.textView()->setPlainText(QStringLiteral("line 1\nnew line"));
  QApplication::sendEvent(doc.textView(), &out);
  EXPECT_EQ(stored, (std::vector<Stored>{{5, u"line 1\r\nnew line"}}));

  doc.textView()->clear();
  QApplication::sendEvent(doc.textView(), &out);
  EXPECT_EQ(doc.textView()->toPlainText(), QStringLiteral("line 1\nnew line"));
  EXPECT_EQ(stored.size(), 1u);

  doc.DispCommentText(u"/c/_01CD_A.cct", 0, u"VOLUME", u"title");
  EXPECT_FALSE(doc.textView()->isEnabled());
  EXPECT_TRUE(doc.textView()->toPlainText().isEmpty());

  doc.close();
  EXPECT_FALSE(doc.isVisible());
  EXPECT_TRUE(doc.windowTitle().isEmpty());
  doc.resize(310, 230);
  doc.unload();
  EXPECT_FALSE(doc.loaded());
  EXPECT_EQ(options.readNumber(opt::DocViewWidth, 0), 310 * 15 * 96 / doc.logicalDpiX());
}

}  // namespace
}  // namespace zevro
