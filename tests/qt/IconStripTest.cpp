// The standard icon strip, the picture file, the paste conversion and the
// icon dialog, drawn off screen.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <set>

#include "core/IconEdit.h"
#include "core/IconTable.h"
#include "listview/IconFormLogic.h"
#include "listview/qt/IconForm.h"
#include "listview/qt/IconStrip.h"
#include "platform/FakeUi.h"
#include "platform/qt/QtText.h"

namespace zevro {
namespace {

using Kind = FakeUi::Kind;

QByteArray pixelsOf(const QImage& image) {
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  return QByteArray(reinterpret_cast<const char*>(argb.constBits()), argb.sizeInBytes());
}

TEST(IconStrip, TheStandardStripHas46DistinctIconsWithTheirMasks) {
  const QImage strip = iconstrip::standardStrip();
  EXPECT_EQ(strip.width(), 32);
  EXPECT_EQ(strip.height(), 46 * 16);
  EXPECT_EQ(iconstrip::iconCount(strip), 46);
  std::set<QByteArray> seen;
  for (int n = 1; n <= 46; ++n) {
    const QImage icon = iconstrip::standardIcon(n);
    ASSERT_EQ(icon.size(), QSize(16, 16)) << n;
    EXPECT_TRUE(seen.insert(pixelsOf(icon)).second) << "icon " << n << " looks like another";
    int drawn = 0;
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        const bool opaque = qAlpha(icon.pixel(x, y)) == 255;
        const bool transparent = qAlpha(icon.pixel(x, y)) == 0;
        EXPECT_TRUE(opaque || transparent) << n;  // no half-drawn pixels
        drawn += opaque ? 1 : 0;
        // The strip's mask says the same: black where drawn, white where not.
        const QRgb mask = strip.pixel(16 + x, (n - 1) * 16 + y) & 0xFFFFFF;
        EXPECT_EQ(mask, opaque ? 0x000000u : 0xFFFFFFu) << n << " at " << x << "," << y;
      }
    }
    EXPECT_GE(drawn, 40) << "icon " << n << " is almost empty";
    // The strip's icon reads back as the standard one.
    EXPECT_EQ(pixelsOf(iconstrip::iconImage(strip, n)), pixelsOf(icon)) << n;
  }
  EXPECT_TRUE(iconstrip::standardIcon(0).isNull());
  EXPECT_TRUE(iconstrip::standardIcon(47).isNull());
  EXPECT_TRUE(iconstrip::iconImage(strip, 47).isNull());
}

TEST(IconStrip, ThePictureFileRoundTripsAndOnlyAStripIsTaken) {
  const QImage strip = iconstrip::standardStrip();
  const std::string bytes = iconstrip::bitmapBytes(strip);
  EXPECT_EQ(IconTable::bitmapStripIcons(bytes), 46);
  const std::optional<QImage> back = iconstrip::fromBitmapBytes(bytes);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(pixelsOf(*back), pixelsOf(strip.convertToFormat(QImage::Format_RGB32)));

  const std::string wrongWidth = iconstrip::bitmapBytes(strip.copy(0, 0, 16, 46 * 16));
  EXPECT_FALSE(iconstrip::fromBitmapBytes(wrongWidth).has_value());
  EXPECT_FALSE(iconstrip::fromBitmapBytes(bytes.substr(0, bytes.size() / 2)).has_value());
  EXPECT_FALSE(iconstrip::fromBitmapBytes("").has_value());
}

TEST(IconStrip, APastedPictureIsTransparentWhereItIsWhite) {
  // A clipboard picture: white with a red square in the middle.
  QImage clip(32, 32, QImage::Format_RGB32);
  clip.fill(Qt::white);
  QPainter(&clip).fillRect(8, 8, 16, 16, QColor(0xC0, 0x10, 0x10));
  const QImage cell = iconstrip::pastedCell(clip);
  ASSERT_EQ(cell.size(), QSize(32, 16));
  EXPECT_EQ(cell.pixel(0, 0) & 0xFFFFFF, 0x000000u);   // white became black …
  EXPECT_EQ(cell.pixel(16, 0) & 0xFFFFFF, 0xFFFFFFu);  // … under a white mask
  EXPECT_EQ(cell.pixel(24, 8) & 0xFFFFFF, 0x000000u);  // the square is drawn

  // Put into a strip and drawn over a coloured row, the row shows through.
  QImage strip = iconstrip::withIcons(iconstrip::standardStrip(), 47);
  EXPECT_EQ(iconstrip::iconCount(strip), 47);
  iconstrip::putCell(strip, 47, cell);
  QImage row(16, 16, QImage::Format_RGB32);
  row.fill(QColor(0x30, 0x80, 0xF0));
  QPainter(&row).drawImage(0, 0, iconstrip::iconImage(strip, 47));
  EXPECT_EQ(row.pixel(0, 0) & 0xFFFFFF, 0x3080F0u);
  EXPECT_EQ(row.pixel(15, 15) & 0xFFFFFF, 0x3080F0u);
  EXPECT_EQ(row.pixel(8, 8) & 0xFFFFFF, 0xC01010u);
  // The icons before it are untouched.
  EXPECT_EQ(pixelsOf(iconstrip::iconImage(strip, 26)), pixelsOf(iconstrip::standardIcon(26)));
}

class IconFormTest : public ::testing::Test {
protected:
  IconFormTest() : edit(standardTable(), 46), strip(iconstrip::standardStrip()) {}
  static IconTable standardTable() {
    IconTable t;
    t.BuildStandardTables();
    return t;
  }
  void choose(IconForm& form, const char16_t* extension) {
    form.typeList()->setCurrentIndex(form.typeList()->findText(toQString(extension)));
  }

  IconEdit edit;
  QImage strip;
  FakeUi ui;
};

TEST_F(IconFormTest, TheListHoldsEveryExtensionWithItsCodeAndTheFirstIsChosen) {
  IconForm form(edit, strip, ui);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("アイコンの選択"));
  EXPECT_EQ(form.typeList()->count(), static_cast<int>(edit.entries().size()));
  EXPECT_EQ(form.typeList()->currentIndex(), 0);
  EXPECT_EQ(form.chosenCode(), 10);
  choose(form, u"HTML");
  EXPECT_EQ(form.chosenCode(), 73);
  EXPECT_EQ(form.cancelButton()->text(), QStringLiteral("ｷｬﾝｾﾙ"));
}

TEST_F(IconFormTest, AClickOnThePreviewSwitchesBetweenEnlargedAndActualSize) {
  IconForm form(edit, strip, ui);
  form.show();
  choose(form, u"ZIP");
  auto centreOf = [&](const QImage& shot) {
    // How wide the icon is drawn: columns in the preview that are not its ground.
    const QRgb ground = shot.pixel(2, 2);
    int columns = 0;
    for (int x = 0; x < shot.width(); ++x) {
      bool any = false;
      for (int y = 1; y < shot.height() - 1 && !any; ++y) any = shot.pixel(x, y) != ground && x > 0 && x < shot.width() - 1;
      columns += any ? 1 : 0;
    }
    return columns;
  };
  EXPECT_EQ(form.logic().previewSize(), 32);
  const int enlarged = centreOf(form.preview()->grab().toImage());
  QTest::mouseClick(form.preview(), Qt::LeftButton);
  EXPECT_EQ(form.logic().previewSize(), 16);
  const int actual = centreOf(form.preview()->grab().toImage());
  QTest::mouseClick(form.preview(), Qt::LeftButton);
  EXPECT_EQ(form.logic().previewSize(), 32);
  EXPECT_GT(enlarged, 16);
  EXPECT_LE(actual, 16);
  EXPECT_GE(actual, 8);
}

TEST_F(IconFormTest, TheHelpLabelExplainsTheRegionUnderThePointer) {
  IconForm form(edit, strip, ui);
  form.show();
  struct Row {
    QWidget* widget;
    TextView text;
  } rows[] = {
      {form.typeList(), IconFormLogic::ListHelp},  {form.preview(), IconFormLogic::PreviewHelp},
      {form.pasteButton(), IconFormLogic::PasteHelp}, {form.addButton(), IconFormLogic::AddHelp},
      {form.okButton(), u""},                     {form.cancelButton(), u""},
  };
  for (const Row& r : rows) {
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(r.widget, &enter);
    EXPECT_EQ(form.helpLabel()->text(), toQString(r.text)) << r.widget->objectName().toStdString();
    // Moving over the control (the move reaches the dialog too) keeps its text.
    QTest::mouseMove(r.widget, QPoint(r.widget->width() / 2, r.widget->height() / 2));
    EXPECT_EQ(form.helpLabel()->text(), toQString(r.text)) << r.widget->objectName().toStdString();
  }
  // Away from the list on the dialog itself: no text; over the list area: the list's.
  QTest::mouseMove(&form, QPoint(form.width() - 4, form.height() - 4));
  EXPECT_EQ(form.helpLabel()->text(), QString());
  QTest::mouseMove(&form, QPoint(3, 3));
  EXPECT_EQ(form.helpLabel()->text(), toQString(IconFormLogic::ListHelp));
}

TEST_F(IconFormTest, APasteWithoutAPictureBeepsAndSaysSo) {
  IconForm form(edit, strip, ui);
  form.setClipboardSource([] { return QImage(); });
  form.pasteIcon();
  EXPECT_EQ(ui.count(Kind::Beep), 1);
  EXPECT_EQ(form.helpLabel()->text(), toQString(IconFormLogic::NoBitmapHelp));
  EXPECT_FALSE(edit.changed());
  EXPECT_EQ(iconstrip::iconCount(strip), 46);
}

TEST_F(IconFormTest, APasteForASharedIconAppendsOneAndCancelForgetsIt) {
  QImage clip(16, 16, QImage::Format_RGB32);
  clip.fill(QColor(0x10, 0xA0, 0x30));
  IconForm form(edit, strip, ui);
  form.setClipboardSource([clip] { return clip; });
  choose(form, u"MP3");
  form.pasteIcon();
  EXPECT_EQ(iconstrip::iconCount(strip), 47);
  EXPECT_EQ(edit.iconOf(109), 47);
  EXPECT_EQ(edit.iconOf(106), 26);
  EXPECT_EQ(iconstrip::iconImage(strip, 47).pixel(5, 5) & 0xFFFFFF, 0x10A030u);
  // The preview shows the pasted icon.
  form.show();
  const QImage shot = form.preview()->grab().toImage();
  EXPECT_EQ(shot.pixel(shot.width() / 2, shot.height() / 2) & 0xFFFFFF, 0x10A030u);

  form.cancelButton()->click();
  EXPECT_FALSE(edit.changed());
  EXPECT_EQ(edit.finish(false).stripIcons, 46);
}

TEST_F(IconFormTest, NoIconIsAppendedPastIcon255) {
  QImage clip(16, 16, QImage::Format_RGB32);
  clip.fill(Qt::red);
  QImage full = iconstrip::withIcons(strip, 255);
  IconEdit fullEdit(standardTable(), 255);
  IconForm form(fullEdit, full, ui);
  form.setClipboardSource([clip] { return clip; });
  choose(form, u"MP3");
  form.pasteIcon();
  EXPECT_EQ(ui.count(Kind::Beep), 1);
  EXPECT_EQ(form.helpLabel()->text(), toQString(IconFormLogic::FullHelp));
  EXPECT_EQ(iconstrip::iconCount(full), 255);
  EXPECT_EQ(fullEdit.iconOf(109), 26);
  EXPECT_FALSE(fullEdit.changed());
}

TEST_F(IconFormTest, AnAddedExtensionIsListedAndChosen) {
  ui.inputs = {u"JPG", u"7z"};
  IconForm form(edit, strip, ui);
  form.addExtension();
  EXPECT_EQ(ui.count(Kind::Beep), 1);
  EXPECT_EQ(form.typeList()->currentText(), QStringLiteral("7Z"));
  EXPECT_EQ(form.chosenCode(), 195);
  EXPECT_EQ(edit.iconOf(195), 6);
  EXPECT_TRUE(edit.changed());
}

TEST_F(IconFormTest, TheCloseBoxForgetsTheChanges) {
  ui.inputs = {u"7z"};
  IconForm form(edit, strip, ui);
  form.show();
  form.addExtension();
  ASSERT_TRUE(edit.changed());
  form.close();
  EXPECT_FALSE(edit.changed());
  EXPECT_EQ(form.result(), QDialog::Rejected);
}

}  // namespace
}  // namespace zevro
