#pragma once
// Where everything of the input box goes, in twips. The box is 6150 twips
// wide inside its frame; its height follows the prompt, which is drawn with
// the markup of message texts (MessageMarkup.h).
//
// Example at 96 dpi, "A" 270 high (line height 300), icon 480 high at top
// 180, no frame, owner {1500, 1500, 12000, 9000}, screen {0, 0, 28800, 16200}:
//   layoutInput(u"タイトルを入力して下さい", 0, …)
//   -> answer line at top 780 (8 pixels below the icon's bottom 660), client
//      height 1125, box {4425, 9375, 6150, 1125}: bottom on the owner's
//      bottom, centred on the owner.
#include <cstdint>
#include <vector>

#include "dialogs/ColourTable.h"
#include "dialogs/DialogMetrics.h"
#include "dialogs/MessageMarkup.h"
#include "text/Text.h"

namespace zevro {

namespace inputbox {
inline constexpr int ClientWidth = 6150;
inline constexpr int TextLeft = 780;
inline constexpr int TextTop = 150;
inline constexpr Rect OkButton{5070, 90, 1005, 300};
inline constexpr Rect CancelButton{5070, 450, 1005, 300};
inline constexpr int AnswerLeft = 90;
inline constexpr int AnswerWidth = 5955;
inline constexpr int AnswerHeight = 285;
inline constexpr int IconLeft = 150;
inline constexpr int IconTop = 180;
inline constexpr int BelowLastLinePixels = 22;  // answer line below the last prompt line's top
inline constexpr int BelowIconPixels = 8;
inline constexpr int BottomPixels = 4;
inline constexpr int ScreenBottomPixels = 25;  // kept free below the box

inline constexpr TextView OkCaption = u"OK";
inline constexpr TextView CancelCaption = u"ｷｬﾝｾﾙ";
// A prompt asking for a date and time: typed digits must not go through the
// input method.
inline constexpr TextView DateTimeWord = u"日付時刻";
}  // namespace inputbox

struct InputLayout {
  Rect box;  // the whole window on the screen, frame included
  int clientWidth = inputbox::ClientWidth;
  int clientHeight = 0;
  int lineCount = 0;
  int lineHeight = 0;           // height of "A" + 2 pixels
  Rect icon;                    // in the client area
  Rect answerLine;              // in the client area
  std::vector<PlacedRun> runs;  // the prompt, in the client area
};

// top is the box's top on the screen in twips, 0 for the default place (its
// bottom on the owner's bottom). iconHeight is the icon's height in twips (a
// 32-pixel picture is 480 at 96 dpi). colours follows the screen's colour
// count (ColourTable::forDisplayColours).
InputLayout layoutInput(TextView prompt, int top, const DialogMetrics& metrics, FrameSize frame, int iconHeight,
                        const Rect& owner, const Rect& screen, const ColourTable& colours);

// True when the answer line opens with the input method switched off:
// u"変更後の日付時刻を入力して下さい" -> true.
bool answerWithoutInputMethod(TextView prompt);

}  // namespace zevro
