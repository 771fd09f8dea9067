#include "dialogs/MessageLayout.h"

#include <gtest/gtest.h>

#include "GeometryPrinting.h"

#include <optional>
#include <ostream>
#include <vector>

#include "core/Placement.h"
#include "dialogs/ColourTable.h"
#include "dialogs/InputLayout.h"
#include "dialogs/MessageButtons.h"
#include "dialogs/MessageMarkup.h"
#include "platform/Ui.h"

namespace zevro {

std::ostream& operator<<(std::ostream& os, const PlacedRun& r) {
  return os << '{' << r.x << ',' << r.y << ",\"" << toUtf8(r.text) << "\"," << std::hex << r.colour << std::dec
            << (r.bold ? ",bold" : "") << ',' << r.width << '}';
}

namespace {

// A font in which every character is 150 twips wide, 200 in bold, and "A" is
// 270 high: the line height is 270 + 2 pixels of 15 twips = 300.
constexpr int Narrow = 150;
constexpr int Wide = 200;

DialogMetrics fakeMetrics() {
  DialogMetrics m;
  m.textWidth = [](TextView text, bool bold) { return static_cast<int>(text.size()) * (bold ? Wide : Narrow); };
  m.textHeight = 270;
  m.twipsPerPixelX = 15;
  m.twipsPerPixelY = 15;
  return m;
}

const Rect Screen{0, 0, 28800, 16200};  // 1920 x 1080 pixels
const Rect Owner{0, 0, 12000, 9000};

MessageLayout layoutOf(TextView text, int flags = mb::Ok, FrameSize frame = {}, Rect owner = Owner) {
  return layoutMessage(text, flags, fakeMetrics(), frame, owner, Screen);
}

Text repeat(char16_t c, int n) { return Text(static_cast<std::size_t>(n), c); }

TEST(MessageLayoutTest, TextSplitsIntoLinesAtBarsAndLineEnds) {
  struct Case {
    const char* behaviour;
    Text text;
    std::vector<Text> lines;
  };
  const std::vector<Case> cases = {
      {"a text without a break is one line", u"text", {u"text"}},
      {"a trailing bar adds no empty line", u"text|", {u"text"}},
      {"a trailing CR LF adds no empty line", u"text\r\n", {u"text"}},
      {"a trailing LF adds no empty line", u"text\n", {u"text"}},
      {"a double bar gives an empty middle line", u"a||b", {u"a", u"", u"b"}},
      {"CR, LF and CR LF each break once", u"a\rb\nc\r\nd", {u"a", u"b", u"c", u"d"}},
      {"CR LF twice gives an empty line", u"a\r\n\r\nb", {u"a", u"", u"b"}},
      {"an empty text is one empty line", u"", {u""}},
      {"switch characters stay in their line",
       Text(u"\x01"
            u"青|") +
           u'\0' + u"黒",
       {u"\x01青", Text(1, u'\0') + u"黒"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    EXPECT_EQ(messageLines(c.text), c.lines);
  }
}

TEST(MessageLayoutTest, RunsSwitchColourAndBoldAndCarryAcrossLines) {
  struct Case {
    const char* behaviour;
    Text text;
    std::vector<PlacedRun> runs;
  };
  const Text black(1, u'\0');
  const std::vector<Case> cases = {
      {"a colour run ends at the next switch and the next run follows it",
       u"\x01"
       u"blue" +
           black + u" x",
       {{750, 210, u"blue", 0xE00000, false, 600}, {1350, 210, u" x", 0x000000, false, 300}}},
      {"a colour lasts across a line break until switched back",
       u"\x02"
       u"green|still" +
           black + u"!",
       {{750, 210, u"green", 0x007000, false, 750},
        {750, 510, u"still", 0x007000, false, 750},
        {1500, 510, u"!", 0x000000, false, 150}}},
      {"bold runs are measured in bold and push the next run further",
       u"\x08"
       u"bold\x07 plain",
       {{750, 210, u"bold", 0x000000, true, 800}, {1550, 210, u" plain", 0x000000, false, 900}}},
      {"bold and colour switch independently",
       u"\x05\x08"
       u"ab\x06"
       u"c\x07"
       u"d",
       {{750, 210, u"ab", 0x900090, true, 400},
        {1150, 210, u"c", 0x3050C0, true, 200},
        {1350, 210, u"d", 0x3050C0, false, 150}}},
      {"a line of switches only draws nothing", u"\x03\x08||x", {{750, 810, u"x", 0x903000, true, 200}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    EXPECT_EQ(layoutOf(c.text).runs, c.runs);
  }
}

TEST(MessageLayoutTest, WidthFollowsTheLongestLineMeasuredInBoldWhenTheTextHasBold) {
  struct Case {
    const char* behaviour;
    Text text;
    int clientWidth;
  };
  const Text w40 = repeat(u'W', 40);  // 6000 narrow, 8000 bold
  const std::vector<Case> cases = {
      {"a long plain line: width + 750 + 90", w40, 6000 + 840},
      {"a long bold line is measured in bold", u"\x08" + w40 + u"\x07", 8000 + 840},
      {"bold anywhere measures every line in bold",
       u"\x08"
       u"b\x07|" +
           w40,
       8000 + 840},
      {"switches take no room", u"\x01\x02\x03" + w40 + u"\x04\x05\x06", 6000 + 840},
      {"the longest line counts, not the first", u"short|" + w40 + u"|mid", 6000 + 840},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    const MessageLayout layout = layoutOf(c.text);
    EXPECT_EQ(layout.clientWidth, c.clientWidth);
    EXPECT_EQ(layout.box.width, c.clientWidth);
  }
}

TEST(MessageLayoutTest, ShortMessagesKeepTheMinimumSizeAndTheIconMovesDownForThreeLines) {
  struct Case {
    const char* behaviour;
    Text text;
    FrameSize frame;
    int boxWidth, boxHeight, clientWidth, clientHeight, iconTop;
  };
  const std::vector<Case> cases = {
      {"one line: 4800 x 1410", u"ok", {}, 4800, 1410, 4800, 1410, 60},
      {"the minimums include the frame", u"ok", {120, 300}, 4800, 1410, 4680, 1110, 60},
      {"two lines keep the icon at the top", u"a|b", {}, 4800, 1410, 4800, 1410, 60},
      {"three lines lower the icon and grow the box", u"a|b|c", {}, 4800, 1605, 4800, 1605, 330},
      // buttons at 5 * 300 + 330 = 1830; 1830 + 60 + 315 = 2205, plus the frame
      {"five lines grow the box below the buttons", u"1|2|3|4|5", {120, 450}, 4800, 2655, 4680, 2205, 330},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    const MessageLayout layout = layoutOf(c.text, mb::Ok, c.frame);
    EXPECT_EQ(layout.box.width, c.boxWidth);
    EXPECT_EQ(layout.box.height, c.boxHeight);
    EXPECT_EQ(layout.clientWidth, c.clientWidth);
    EXPECT_EQ(layout.clientHeight, c.clientHeight);
    EXPECT_EQ(layout.iconTop, c.iconTop);
  }
}

TEST(MessageLayoutTest, ButtonsStandInTheSetsOrderBelowTheText) {
  struct Case {
    const char* behaviour;
    Text text;
    int flags;
    std::vector<PlacedButton> buttons;
  };
  using B = MessageButton;
  const std::vector<Case> cases = {
      {"OK alone, centred", u"x", mb::Ok, {{B::Ok, {1792, 630, 1215, 315}}}},
      {"unknown flags give OK", u"x", 7, {{B::Ok, {1792, 630, 1215, 315}}}},
      {"OK, Cancel", u"x", mb::OkCancel, {{B::Ok, {1185, 630, 1215, 315}}, {B::Cancel, {2460, 630, 1215, 315}}}},
      {"Yes, No, Cancel from (width - 3 buttons) / 2, 60 apart",
       u"x|y",
       mb::YesNoCancel | mb::IconQuestion,
       {{B::Yes, {577, 930, 1215, 315}}, {B::No, {1852, 930, 1215, 315}}, {B::Cancel, {3127, 930, 1215, 315}}}},
      {"Yes, No under a wide text",
       repeat(u'W', 60),
       mb::YesNo,
       {{B::Yes, {3705, 630, 1215, 315}}, {B::No, {4980, 630, 1215, 315}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    EXPECT_EQ(layoutOf(c.text, c.flags).buttons, c.buttons);
  }
}

TEST(MessageLayoutTest, BoxOpensAtFourFifthsOfTheOwnerAndStaysOnTheScreen) {
  struct Case {
    const char* behaviour;
    Rect owner;
    Rect box;
  };
  const std::vector<Case> cases = {
      {"four fifths of the owner's width and height", {1500, 1500, 12000, 9000}, {11100, 8700, 4800, 1410}},
      {"integer fifths", {0, 0, 12004, 9004}, {9600, 7200, 4800, 1410}},
      {"pulled back from the right edge", {18000, 0, 12000, 9000}, {24000, 7200, 4800, 1410}},
      // top 9000 + 5760 = 14760 would end at 16170, below 16200 - 60 pixels
      {"lifted off the bottom to keep 60 pixels free", {0, 9000, 12000, 7200}, {9600, 13890, 4800, 1410}},
      {"just fitting above the bottom stays", {0, 9000, 12000, 6120}, {9600, 13890, 4800, 1410}},
      {"an owner far off the screen still shows the box on it", {-40000, -40000, 5000, 5000}, {0, 0, 4800, 1410}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    EXPECT_EQ(layoutOf(u"x", mb::Ok, {}, c.owner).box, c.box);
  }
}

TEST(MessageLayoutTest, FocusButtonFollowsTheFlags) {
  struct Case {
    const char* behaviour;
    int flags;
    MessageButton focus;
  };
  using B = MessageButton;
  const std::vector<Case> cases = {
      {"OK", mb::Ok, B::Ok},
      {"OK ignores the second-button flag", mb::Ok | mb::DefaultSecond, B::Ok},
      {"OK/Cancel: OK", mb::OkCancel, B::Ok},
      {"OK/Cancel with 0x100: Cancel", mb::OkCancel | mb::DefaultSecond, B::Cancel},
      {"Yes/No: Yes", mb::YesNo, B::Yes},
      {"Yes/No with 0x100: No", mb::YesNo | mb::DefaultSecond, B::No},
      {"Yes/No ignores 0x200", mb::YesNo | mb::FocusThird, B::Yes},
      {"Yes/No/Cancel: Yes", mb::YesNoCancel, B::Yes},
      {"Yes/No/Cancel with 0x200: Cancel", mb::YesNoCancel | mb::FocusThird, B::Cancel},
      {"Yes/No/Cancel: 0x100 wins over 0x200", mb::YesNoCancel | mb::DefaultSecond | mb::FocusThird, B::No},
      {"icon bits change nothing", mb::YesNoCancel | mb::IconExclamation, B::Yes},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    EXPECT_EQ(focusButtonOf(c.flags), c.focus);
    EXPECT_EQ(layoutOf(u"x", c.flags).focus, c.focus);
  }
}

TEST(MessageLayoutTest, KeysAnswerAsTheButtonsShownAllow) {
  struct Case {
    const char* behaviour;
    int flags;
    MessageKey key;
    std::optional<MessageButton> focused;
    int answer;
  };
  using B = MessageButton;
  using K = MessageKey;
  const std::vector<Case> cases = {
      {"Esc in Yes/No/Cancel cancels, never discards", mb::YesNoCancel, K::Escape, B::Yes, AnswerCancel},
      {"Esc in Yes/No answers No", mb::YesNo, K::Escape, B::Yes, AnswerNo},
      {"Esc in OK/Cancel answers Cancel", mb::OkCancel, K::Escape, B::Ok, AnswerCancel},
      {"Esc in an OK box answers OK", mb::Ok, K::Escape, B::Ok, AnswerOk},
      {"y answers Yes", mb::YesNo, K::Yes, B::No, AnswerYes},
      {"n answers No", mb::YesNoCancel, K::No, B::Yes, AnswerNo},
      {"y without a Yes button goes to the button", mb::OkCancel, K::Yes, B::Ok, AnswerNone},
      {"n without a No button goes to the button", mb::Ok, K::No, B::Ok, AnswerNone},
      {"Enter presses the focused default No", mb::YesNo | mb::DefaultSecond, K::Enter, B::No, AnswerNo},
      {"Enter presses the focused Cancel of OK/Cancel", mb::OkCancel | mb::DefaultSecond, K::Enter, B::Cancel,
       AnswerCancel},
      {"Space presses the focused button", mb::YesNoCancel, K::Space, B::Cancel, AnswerCancel},
      {"Enter in an OK box answers OK", mb::Ok, K::Enter, B::Ok, AnswerOk},
      {"Enter without a focused button presses OK", mb::OkCancel, K::Enter, std::nullopt, AnswerOk},
      {"Enter without a focused button and no OK is left alone", mb::YesNo, K::Enter, std::nullopt, AnswerNone},
      {"other keys are left to the button", mb::YesNoCancel, K::Other, B::Yes, AnswerNone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    EXPECT_EQ(answerForKey(buttonSetOf(c.flags), c.key, c.focused), c.answer);
  }
}

TEST(MessageLayoutTest, ButtonsAnswerWithTheirCodes) {
  struct Case {
    MessageButton button;
    int answer;
    Text caption;
  };
  const std::vector<Case> cases = {
      {MessageButton::Ok, AnswerOk, u"OK"},
      {MessageButton::Cancel, AnswerCancel, u"キャンセル"},
      {MessageButton::Yes, AnswerYes, u"はい(&Y)"},
      {MessageButton::No, AnswerNo, u"いいえ(&N)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(answerOf(c.button), c.answer);
    EXPECT_EQ(captionOf(c.button), c.caption);
  }
}

TEST(MessageLayoutTest, ColourTablesReadSixHexDigitsEverySevenCharacters) {
  struct Case {
    const char* behaviour;
    ColourTable table;
    int code;
    std::uint32_t colour;
  };
  const std::vector<Case> cases = {
      {"true colour: code 1 is blue 224", ColourTable::trueColour(), 1, 0xE00000},
      {"true colour: code 3 is green 48, blue 144", ColourTable::trueColour(), 3, 0x903000},
      {"true colour: code 6 is the last entry", ColourTable::trueColour(), 6, 0x3050C0},
      {"256 colours: code 1 is blue 128", ColourTable::lowColour(), 1, 0x800000},
      {"256 colours: code 4 is red 128", ColourTable::lowColour(), 4, 0x000080},
      {"a screen of 256 colours takes the low table", ColourTable::forDisplayColours(screenColours(8, 1)), 1, 0x800000},
      {"a true-colour screen takes the full table", ColourTable::forDisplayColours(screenColours(32, 1)), 1, 0xE00000},
      {"257 colours count as more than 256", ColourTable::forDisplayColours(257), 2, 0x007000},
      {"lower-case digits read", ColourTable::parse("000000 abcdef"), 1, 0xABCDEF},
      {"a short table gives black for the missing entries", ColourTable::parse("000000 E00000"), 2, 0},
      {"codes outside the table are black", ColourTable::trueColour(), 7, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    EXPECT_EQ(c.table.colour(c.code), c.colour);
  }
}

TEST(MessageLayoutTest, PlainTextForThePlatformBoxDropsTheMarkup) {
  EXPECT_EQ(plainMessageText(u"\x08"
                             u"a\x07|b" +
                             Text(1, u'\0') + u"c|"),
            u" a \rb c\r");
}

// --- the input box ---------------------------------------------------------

constexpr int IconHeight = 480;  // 32 pixels
const Rect InputOwner{1500, 1500, 12000, 9000};

InputLayout inputOf(TextView prompt, int top = 0, Rect owner = InputOwner, FrameSize frame = {},
                    const ColourTable& colours = ColourTable::trueColour()) {
  return layoutInput(prompt, top, fakeMetrics(), frame, IconHeight, owner, Screen, colours);
}

TEST(InputLayoutTest, AnswerLineGoesBelowTheIconOrBelowTheLastPromptLine) {
  struct Case {
    const char* behaviour;
    Text prompt;
    int answerTop;
    int clientHeight;
  };
  // The icon ends at 180 + 480 = 660; prompt line i starts at 150 + 300 i.
  const std::vector<Case> cases = {
      {"one short line: 8 pixels below the icon", u"タイトル", 660 + 120, 780 + 285 + 60},
      {"two lines still end above the icon's bottom", u"a|b", 660 + 120, 780 + 285 + 60},
      {"three lines: 22 pixels below the last line's top", u"a|b|c", 750 + 330, 1080 + 285 + 60},
      {"six lines", u"1|2|3|4|5|6", 1650 + 330, 1980 + 285 + 60},
      {"an empty prompt counts as one line", u"", 660 + 120, 780 + 285 + 60},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    const InputLayout layout = inputOf(c.prompt);
    EXPECT_EQ(layout.answerLine, (Rect{90, c.answerTop, 5955, 285}));
    EXPECT_EQ(layout.clientHeight, c.clientHeight);
    EXPECT_EQ(layout.box.height, c.clientHeight);
  }
}

TEST(InputLayoutTest, BoxSitsOnTheOwnersBottomCentredAndStaysOnTheScreen) {
  struct Case {
    const char* behaviour;
    int top;
    Rect owner;
    FrameSize frame;
    Rect box;
  };
  // One-line prompt: client 6150 x 1125.
  const std::vector<Case> cases = {
      {"bottom on the owner's bottom, centred", 0, InputOwner, {}, {4425, 9375, 6150, 1125}},
      {"the frame counts in width and height", 0, InputOwner, {120, 450}, {4365, 8925, 6270, 1575}},
      {"a given top is kept", 3000, InputOwner, {}, {4425, 3000, 6150, 1125}},
      // bottom at 16200 would leave no room: lifted to 16200 - 25 px - 1125
      {"an owner at the screen's bottom lifts the box 25 pixels",
       0,
       {0, 7200, 12000, 9000},
       {},
       {2925, 14700, 6150, 1125}},
      {"a given top that runs off the bottom is lifted too", 16000, InputOwner, {}, {4425, 14700, 6150, 1125}},
      {"an owner narrower than the box: left of the owner", 0, {3000, 0, 1500, 9000}, {}, {675, 7875, 6150, 1125}},
      {"an owner narrower than the box at the left edge: never below 0",
       0,
       {0, 0, 1500, 9000},
       {},
       {0, 7875, 6150, 1125}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    EXPECT_EQ(inputOf(u"タイトル", c.top, c.owner, c.frame).box, c.box);
  }
}

TEST(InputLayoutTest, PromptDrawsWithTheMarkupAtItsOwnMargins) {
  struct Case {
    const char* behaviour;
    ColourTable colours;
    std::vector<PlacedRun> runs;
  };
  const Text prompt =
      u"\x01"
      u"名前|\x08"
      u"太字";
  const std::vector<Case> cases = {
      {"true colour: code 1 is 0xE00000",
       ColourTable::trueColour(),
       {{780, 150, u"名前", 0xE00000, false, 300}, {780, 450, u"太字", 0xE00000, true, 400}}},
      {"256 colours: code 1 is 0x800000",
       ColourTable::lowColour(),
       {{780, 150, u"名前", 0x800000, false, 300}, {780, 450, u"太字", 0x800000, true, 400}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    EXPECT_EQ(inputOf(prompt, 0, InputOwner, {}, c.colours).runs, c.runs);
  }
}

TEST(InputLayoutTest, DateTimePromptsSwitchTheInputMethodOff) {
  EXPECT_TRUE(answerWithoutInputMethod(u"新しい日付時刻を入力して下さい"));
  EXPECT_TRUE(answerWithoutInputMethod(u"\x02日付時刻\x00"));
  EXPECT_FALSE(answerWithoutInputMethod(u"日付を入力して下さい"));
  EXPECT_FALSE(answerWithoutInputMethod(u"タイトル"));
}

}  // namespace
}  // namespace zevro
