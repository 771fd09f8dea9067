#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <functional>
#include <vector>

#include "dialogs/qt/DialogSupport.h"
#include "dialogs/qt/InpBoxForm.h"
#include "dialogs/qt/MsgBoxForm.h"
#include "dialogs/qt/QtUi.h"
#include "platform/Ui.h"
#include "platform/qt/QtText.h"

namespace zevro {
namespace {

// Runs act on the box once it is up and waiting; returns what the waiting
// call answered. A box that act leaves open fails the test and is closed, so
// a wrong key never hangs the run.
template <typename Box, typename Result>
Result whileShown(const std::function<void(Box&)>& act, const std::function<Result()>& show) {
  QTimer::singleShot(0, [&act] {
    auto* box = qobject_cast<Box*>(QApplication::activeModalWidget());
    if (!box) {
      ADD_FAILURE() << "no box is shown";
      return;
    }
    act(*box);
    if (box->isVisible()) {
      ADD_FAILURE() << "the box is still open";
      box->done(99);
    }
  });
  return show();
}

int answerAfter(int flags, const std::function<void(MsgBoxForm&)>& act, QWidget* owner = nullptr) {
  return whileShown<MsgBoxForm, int>(act, [&] { return MsgBoxForm::ShowMessage(u"保存しますか", flags, u"", owner); });
}

std::function<void(MsgBoxForm&)> press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  return [key, mods](MsgBoxForm& box) {
    QWidget* target = box.focusWidget() ? box.focusWidget() : &box;
    QTest::keyClick(target, key, mods);
  };
}

TEST(MessageBoxTest, KeysAnswerInEachButtonSet) {
  struct Case {
    const char* behaviour;
    int flags;
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    int answer;
  };
  const std::vector<Case> cases = {
      {"Esc in Yes/No/Cancel cancels (a save question keeps the list)",
       mb::YesNoCancel,
       Qt::Key_Escape,
       {},
       AnswerCancel},
      {"Esc in Yes/No answers No", mb::YesNo, Qt::Key_Escape, {}, AnswerNo},
      {"Esc in OK/Cancel answers Cancel", mb::OkCancel, Qt::Key_Escape, {}, AnswerCancel},
      {"Esc in an OK box answers OK", mb::Ok, Qt::Key_Escape, {}, AnswerOk},
      {"Enter on Yes by default", mb::YesNo, Qt::Key_Return, {}, AnswerYes},
      {"Enter on the default No of 0x100", mb::YesNo | mb::DefaultSecond, Qt::Key_Return, {}, AnswerNo},
      {"keypad Enter on the default No of 0x100", mb::YesNoCancel | mb::DefaultSecond, Qt::Key_Enter,
       Qt::KeypadModifier, AnswerNo},
      {"Enter on Cancel focused by 0x200", mb::YesNoCancel | mb::FocusThird, Qt::Key_Return, {}, AnswerCancel},
      {"Enter on the default Cancel of OK/Cancel with 0x100",
       mb::OkCancel | mb::DefaultSecond,
       Qt::Key_Return,
       {},
       AnswerCancel},
      {"Enter in an OK box", mb::Ok, Qt::Key_Return, {}, AnswerOk},
      {"Space in an OK box", mb::Ok, Qt::Key_Space, {}, AnswerOk},
      {"y answers Yes with the focus on No", mb::YesNo | mb::DefaultSecond, Qt::Key_Y, {}, AnswerYes},
      {"Y answers Yes", mb::YesNoCancel, Qt::Key_Y, Qt::ShiftModifier, AnswerYes},
      {"n answers No", mb::YesNoCancel, Qt::Key_N, {}, AnswerNo},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    EXPECT_EQ(answerAfter(c.flags, press(c.key, c.mods)), c.answer);
  }
}

TEST(MessageBoxTest, EnterPressesTheButtonTheUserMovedTheFocusTo) {
  const int answer = answerAfter(mb::YesNoCancel, [](MsgBoxForm& box) {
    box.button(MessageButton::No)->setFocus();
    press(Qt::Key_Return)(box);
  });
  EXPECT_EQ(answer, AnswerNo);
}

TEST(MessageBoxTest, ClickingAButtonAnswersWithItsCode) {
  struct Case {
    int flags;
    MessageButton button;
    int answer;
  };
  const std::vector<Case> cases = {
      {mb::Ok, MessageButton::Ok, AnswerOk},
      {mb::OkCancel, MessageButton::Cancel, AnswerCancel},
      {mb::YesNoCancel, MessageButton::Yes, AnswerYes},
      {mb::YesNoCancel, MessageButton::No, AnswerNo},
      {mb::YesNoCancel, MessageButton::Cancel, AnswerCancel},
  };
  for (const Case& c : cases) {
    const int answer = answerAfter(c.flags, [&c](MsgBoxForm& box) {
      ASSERT_NE(box.button(c.button), nullptr);
      QTest::mouseClick(box.button(c.button), Qt::LeftButton);
    });
    EXPECT_EQ(answer, c.answer);
  }
}

TEST(MessageBoxTest, ClosingTheWindowBacksOutLikeEsc) {
  struct Case {
    int flags;
    int answer;
  };
  const std::vector<Case> cases = {
      {mb::YesNoCancel, AnswerCancel},
      {mb::YesNo, AnswerNo},
      {mb::OkCancel, AnswerCancel},
      {mb::Ok, AnswerOk},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(answerAfter(c.flags, [](MsgBoxForm& box) { box.close(); }), c.answer);
  }
}

TEST(MessageBoxTest, ShowsTheSetsButtonsWithTheirCaptionsAndTheTitle) {
  MsgBoxForm box(u"x", mb::YesNoCancel, u"", nullptr);
  EXPECT_EQ(box.windowTitle(), QStringLiteral("ZEVRO"));
  EXPECT_EQ(box.button(MessageButton::Yes)->text(), QStringLiteral("はい(&Y)"));
  EXPECT_EQ(box.button(MessageButton::No)->text(), QStringLiteral("いいえ(&N)"));
  EXPECT_EQ(box.button(MessageButton::Cancel)->text(), QStringLiteral("キャンセル"));
  EXPECT_EQ(box.button(MessageButton::Ok), nullptr);

  MsgBoxForm titled(u"x", mb::Ok, u"確認", nullptr);
  EXPECT_EQ(titled.windowTitle(), QStringLiteral("確認"));
  EXPECT_EQ(titled.button(MessageButton::Ok)->text(), QStringLiteral("OK"));
  EXPECT_EQ(titled.button(MessageButton::Yes), nullptr);
}

TEST(MessageBoxTest, BeepsOnceWhenShownAndOpensAtFourFifthsOfTheOwner) {
  QWidget owner;
  owner.setGeometry(0, 0, 400, 300);
  owner.show();
  int beeps = 0;
  QPoint shownAt;
  const int answer = whileShown<MsgBoxForm, int>(
      [&](MsgBoxForm& box) {
        EXPECT_EQ(beeps, 1);
        shownAt = box.pos();
        box.close();
      },
      [&] { return MsgBoxForm::ShowMessage(u"x", mb::Ok, u"", &owner, [&beeps] { ++beeps; }); });
  EXPECT_EQ(answer, AnswerOk);
  EXPECT_EQ(beeps, 1);
  // Four fifths into the owner's window; the test platform may shift a new
  // window by its frame of a few pixels.
  const QRect frame = owner.frameGeometry();
  EXPECT_NEAR(shownAt.x(), frame.x() + 4 * (frame.width() / 5), 4);
  EXPECT_NEAR(shownAt.y(), frame.y() + 4 * (frame.height() / 5), 4);
  EXPECT_TRUE(owner.isEnabled());
}

// --- the drawn text --------------------------------------------------------

QColor colourOf(std::uint32_t bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

bool near(QColor a, QColor b) {
  return std::abs(a.red() - b.red()) <= 40 && std::abs(a.green() - b.green()) <= 40 &&
         std::abs(a.blue() - b.blue()) <= 40;
}

// The pixel rectangle of a run: its place and width, one line high.
QRect runRect(const PlacedRun& run, int lineHeight, const QWidget& widget) {
  return toPixels({run.x, run.y, run.width, lineHeight}, widget);
}

int pixelsNear(const QImage& image, const QRect& rect, QColor colour) {
  int count = 0;
  for (int y = rect.top(); y <= rect.bottom(); ++y) {
    for (int x = rect.left(); x <= rect.right(); ++x) {
      if (near(image.pixelColor(x, y), colour)) ++count;
    }
  }
  return count;
}

// Ink: pixels that stand out from the background of the box, in any colour.
bool isInk(const QImage& image, int x, int y) {
  const QColor background = image.pixelColor(1, 1);
  const QColor c = image.pixelColor(x, y);
  return std::abs(c.red() - background.red()) + std::abs(c.green() - background.green()) +
             std::abs(c.blue() - background.blue()) >
         120;
}

int inkIn(const QImage& image, const QRect& rect) {
  int count = 0;
  for (int y = rect.top(); y <= rect.bottom(); ++y) {
    for (int x = rect.left(); x <= rect.right(); ++x) {
      if (isInk(image, x, y)) ++count;
    }
  }
  return count;
}

int leftmostInk(const QImage& image, const QRect& rect) {
  for (int x = rect.left(); x <= rect.right(); ++x) {
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
      if (isInk(image, x, y)) return x;
    }
  }
  return -1;
}

const Text StyledText =
    u"\x01"
    u"青い文字で" +
    Text(1, u'\0') +
    u"黒|\x04"
    u"赤紫の行" +
    Text(1, u'\0') +
    u"|太字と|\x08"
    u"太字と\x07";

TEST(MessageBoxTest, DrawsEachRunInItsColourWhereItWasLaidOut) {
  MsgBoxForm box(StyledText, mb::YesNoCancel, u"", nullptr);
  const QImage image = box.grab().toImage();
  const MessageLayout& layout = box.layout();
  ASSERT_EQ(layout.runs.size(), 5u);
  for (const PlacedRun& run : layout.runs) {
    SCOPED_TRACE(toUtf8(run.text));
    EXPECT_GT(pixelsNear(image, runRect(run, layout.lineHeight, box), colourOf(run.colour)), 0);
  }
  // The black run after the blue one has no blue in it, and the blue run no black.
  const QColor blue = colourOf(0xE00000);
  EXPECT_EQ(pixelsNear(image, runRect(layout.runs[1], layout.lineHeight, box), blue), 0);
  EXPECT_EQ(pixelsNear(image, runRect(layout.runs[0], layout.lineHeight, box), Qt::black), 0);
  // The first line's ink starts at its left margin of 750 twips (looking a
  // little further left, short of the icon).
  const QRect firstLine = runRect(layout.runs[0], layout.lineHeight, box).adjusted(-4, 0, 0, 0);
  EXPECT_NEAR(leftmostInk(image, firstLine), toPixelsX(msgbox::TextLeft, box), 2);
}

TEST(MessageBoxTest, BoldTextIsDrawnHeavierThanTheSameTextPlain) {
  MsgBoxForm box(StyledText, mb::Ok, u"", nullptr);
  const QImage image = box.grab().toImage();
  const MessageLayout& layout = box.layout();
  const PlacedRun& plain = layout.runs[3];
  const PlacedRun& bold = layout.runs[4];
  ASSERT_FALSE(plain.bold);
  ASSERT_TRUE(bold.bold);
  EXPECT_GT(inkIn(image, runRect(bold, layout.lineHeight, box)), inkIn(image, runRect(plain, layout.lineHeight, box)));
}

// --- the input box ---------------------------------------------------------

Text answerAfter(TextView prompt, TextView defaultText, const std::function<void(InpBoxForm&)>& act) {
  return whileShown<InpBoxForm, Text>(
      act, [&] { return InpBoxForm::InpLine(prompt, u"タイトル", defaultText, 0, nullptr); });
}

std::function<void(InpBoxForm&)> type(const char* text, Qt::Key end) {
  return [text, end](InpBoxForm& box) {
    QTest::keyClicks(box.answerLine(), QString::fromUtf8(text));
    QTest::keyClick(box.answerLine(), end);
  };
}

TEST(InputBoxTest, AnswersTheTypedLineOrEmptyText) {
  struct Case {
    const char* behaviour;
    Text defaultText;
    std::function<void(InpBoxForm&)> act;
    Text answer;
  };
  const std::vector<Case> cases = {
      {"typed text and Enter", u"", type("abc", Qt::Key_Return), u"abc"},
      {"the selected default is replaced by typing", u"古い名前", type("new", Qt::Key_Return), u"new"},
      {"Enter keeps the default", u"既定", type("", Qt::Key_Return), u"既定"},
      {"Esc gives empty text", u"既定", type("abc", Qt::Key_Escape), u""},
      {"OK on an empty line gives empty text", u"",
       [](InpBoxForm& box) { QTest::mouseClick(box.okButton(), Qt::LeftButton); }, u""},
      {"OK gives the line", u"既定", [](InpBoxForm& box) { QTest::mouseClick(box.okButton(), Qt::LeftButton); },
       u"既定"},
      {"Cancel gives empty text", u"既定",
       [](InpBoxForm& box) { QTest::mouseClick(box.cancelButton(), Qt::LeftButton); }, u""},
      {"closing the window gives empty text", u"既定", [](InpBoxForm& box) { box.close(); }, u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    EXPECT_EQ(answerAfter(u"名前を入力して下さい", c.defaultText, c.act), c.answer);
  }
}

TEST(InputBoxTest, DateTimePromptsOpenTheAnswerLineWithoutInputMethod) {
  struct Case {
    Text prompt;
    bool inputMethod;
  };
  const std::vector<Case> cases = {
      {u"新しい日付時刻を入力して下さい", false},
      {u"名前を入力して下さい", true},
  };
  for (const Case& c : cases) {
    InpBoxForm box(c.prompt, u"", u"", 0, nullptr);
    EXPECT_EQ(box.answerLine()->testAttribute(Qt::WA_InputMethodEnabled), c.inputMethod);
  }
}

TEST(InputBoxTest, AnswerLineSitsBelowTheIconOrThePromptAndTheBoxEndsBelowIt) {
  struct Case {
    const char* behaviour;
    Text prompt;
  };
  const std::vector<Case> cases = {{"one line", u"名前"}, {"six lines", u"1|2|3|4|5|6"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    InpBoxForm box(c.prompt, u"", u"", 0, nullptr);
    const InputLayout& layout = box.layout();
    const QRect line = box.answerLine()->geometry();
    const int iconBottom = toPixelsY(layout.icon.bottom(), box);
    const int lastLineTop = toPixelsY((layout.lineCount - 1) * layout.lineHeight + inputbox::TextTop, box);
    const int expectedTop = iconBottom <= lastLineTop ? lastLineTop + 22 : iconBottom + 8;
    EXPECT_NEAR(line.top(), expectedTop, 1);
    EXPECT_NEAR(box.height(), line.bottom() + 1 + 4, 1);
    EXPECT_EQ(box.width(), toPixelsX(6150, box));
  }
}

TEST(InputBoxTest, PromptIsDrawnInItsColours) {
  InpBoxForm box(
      u"\x02"
      u"緑の行|\x05"
      u"紫の行",
      u"", u"", 0, nullptr);
  const QImage image = box.grab().toImage();
  const InputLayout& layout = box.layout();
  ASSERT_EQ(layout.runs.size(), 2u);
  for (const PlacedRun& run : layout.runs) {
    SCOPED_TRACE(toUtf8(run.text));
    EXPECT_GT(pixelsNear(image, runRect(run, layout.lineHeight, box), colourOf(run.colour)), 0);
  }
}

// --- the Ui seam ------------------------------------------------------------

TEST(QtUiTest, MessagesAndQuestionsGoThroughTheProgramsBoxes) {
  QtUi ui;
  const int answer = whileShown<MsgBoxForm, int>(press(Qt::Key_Escape),
                                                 [&] { return ui.showMessage(u"保存しますか", mb::YesNoCancel, u""); });
  EXPECT_EQ(answer, AnswerCancel);
  const Text line = whileShown<InpBoxForm, Text>(type("abc", Qt::Key_Return),
                                                 [&] { return ui.inputLine(u"名前", u"タイトル", u""); });
  EXPECT_EQ(line, u"abc");
}

// Right after a box closes no window is active: the next box still opens
// over the main window, not at the bottom of the screen.
TEST(QtUiTest, ABoxOpensOverTheMainWindowWhenNoWindowIsActive) {
  QWidget main;
  main.setGeometry(40, 30, 400, 300);
  main.show();
  QApplication::setActiveWindow(nullptr);
  QtUi ui;
  EXPECT_EQ(ui.owner(), nullptr);
  ui.setMainWindow(&main);
  ASSERT_EQ(ui.owner(), &main);
  QPoint shownAt;
  whileShown<MsgBoxForm, int>(
      [&](MsgBoxForm& box) {
        shownAt = box.pos();
        box.close();
      },
      [&] { return ui.showMessage(u"x", mb::Ok, u""); });
  const QRect frame = main.frameGeometry();
  EXPECT_NEAR(shownAt.x(), frame.x() + 4 * (frame.width() / 5), 4);
  EXPECT_NEAR(shownAt.y(), frame.y() + 4 * (frame.height() / 5), 4);
}

TEST(QtUiTest, PlatformBoxAnswersWithTheSameCodesAndBacksOutTheSameWay) {
  struct Case {
    const char* behaviour;
    int flags;
    Qt::Key key;
    int answer;
  };
  const std::vector<Case> cases = {
      {"Esc in Yes/No/Cancel cancels", mb::YesNoCancel | mb::IconQuestion, Qt::Key_Escape, AnswerCancel},
      {"Esc in Yes/No answers No", mb::YesNo, Qt::Key_Escape, AnswerNo},
      {"Enter on the default No", mb::YesNo | mb::DefaultSecond, Qt::Key_Return, AnswerNo},
      {"Enter on Cancel focused by 0x200", mb::YesNoCancel | mb::FocusThird, Qt::Key_Return, AnswerCancel},
      {"Enter in an OK box", mb::Ok | mb::IconStop, Qt::Key_Return, AnswerOk},
  };
  QtUi ui;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    QString shownText;
    QString shownTitle;
    const int answer = whileShown<QMessageBox, int>(
        [&](QMessageBox& box) {
          shownText = box.text();
          shownTitle = box.windowTitle();
          QTest::keyClick(box.focusWidget() ? box.focusWidget() : &box, c.key);
        },
        [&] { return ui.systemMessage(u"一行目\r二行目\r\n三行目", c.flags, u""); });
    EXPECT_EQ(answer, c.answer);
    EXPECT_EQ(shownText, QStringLiteral("一行目\n二行目\n三行目"));
    EXPECT_EQ(shownTitle, QStringLiteral("ZEVRO"));
  }
}

TEST(QtUiTest, ClipboardTextRoundTrips) {
  QtUi ui;
  ui.setClipboardText(u"表\tファイル.TXT");
  EXPECT_EQ(ui.clipboardText(), u"表\tファイル.TXT");
}

// Not a check of behaviour: renders both boxes for the documentation when
// ZEVRO_SCREENSHOT_DIR names a folder. Run under a real display server:
//   QT_QPA_PLATFORM=xcb xvfb-run zevro_qt_tests --gtest_also_run_disabled_tests
//     --gtest_filter='*Screenshots*'
TEST(MessageBoxTest, DISABLED_Screenshots) {
  const QString dir = qEnvironmentVariable("ZEVRO_SCREENSHOT_DIR");
  ASSERT_FALSE(dir.isEmpty());
  const Text message =
      u"\x08"
      u"現在 表示中のリストを、カタログに保存しますか\x07||"
      u"\x01"
      u"_01CD_GAMES.CCT" +
      Text(1, u'\0') +
      u" は変更されています。|"
      u"\x04"
      u"いいえ" +
      Text(1, u'\0') +
      u" を選ぶと、変更は失われます。|\x02"
      u"キャンセル" +
      Text(1, u'\0') + u" で作業に戻ります。";
  MsgBoxForm box(message, mb::YesNoCancel | mb::IconQuestion, u"", nullptr);
  box.show();
  QTest::qWait(50);
  EXPECT_TRUE(box.grab().save(QDir(dir).filePath(QStringLiteral("message-box.png"))));
  box.hide();

  InpBoxForm input(
      u"\x05"
      u"ジャンル名" +
          Text(1, u'\0') + u"を入力して下さい|（20文字まで）",
      u"ジャンル名の変更", u"ゲーム", 0, nullptr);
  input.show();
  QTest::qWait(50);
  EXPECT_TRUE(input.grab().save(QDir(dir).filePath(QStringLiteral("input-box.png"))));
  input.hide();
}

}  // namespace
}  // namespace zevro
