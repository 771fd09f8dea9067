#pragma once
// Where everything of the message box goes, in twips, worked out from the
// text, the flags, the font measures, the owner window and the screen. The
// window only applies the result.
//
// Example at 96 dpi (15 twips a pixel), "A" 270 high, every character 150
// wide, no frame, owner {0, 0, 12000, 9000}, screen {0, 0, 28800, 16200}:
//   layoutMessage(u"保存しますか", mb::YesNoCancel, …)
//   -> one line, line height 300, icon top 60, client 4800 x 1410 (both
//      minimums), buttons 1215 x 315 at top 630 from x 577 in steps of 1275
//      (Yes, No, Cancel), box at {9600, 7200, 4800, 1410}, focus on Yes,
//      one run {750, 210, u"保存しますか", black}.
#include <vector>

#include "dialogs/ColourTable.h"
#include "dialogs/DialogMetrics.h"
#include "dialogs/MessageButtons.h"
#include "dialogs/MessageMarkup.h"
#include "text/Text.h"

namespace zevro {

namespace msgbox {
inline constexpr int TextLeft = 750;    // left edge of every line
inline constexpr int TextTop = 210;     // top of the first line
inline constexpr int RightMargin = 90;  // room right of the longest line
inline constexpr int MinWidth = 4800;   // the box, frame included
inline constexpr int MinHeight = 1410;
inline constexpr int ButtonMargin = 900;  // room beside the row of buttons
inline constexpr int ButtonWidth = 1215;
inline constexpr int ButtonHeight = 315;
inline constexpr int ButtonGap = 60;
inline constexpr int ButtonsBelowText = 330;
inline constexpr int BottomMargin = 60;
inline constexpr int IconLeft = 180;
inline constexpr int IconTopFew = 60;          // one or two lines
inline constexpr int IconTopMany = 330;        // three lines or more
inline constexpr int ScreenBottomPixels = 60;  // kept free below the box
}  // namespace msgbox

struct PlacedButton {
  MessageButton button = MessageButton::Ok;
  Rect rect;  // in the client area

  bool operator==(const PlacedButton&) const = default;
};

struct MessageLayout {
  Rect box;  // the whole window on the screen, frame included
  int clientWidth = 0;
  int clientHeight = 0;
  int lineCount = 0;
  int lineHeight = 0;                 // height of "A" + 2 pixels
  int iconTop = 0;                    // in the client area; the icon stands at IconLeft
  std::vector<PlacedButton> buttons;  // left to right
  MessageButton focus = MessageButton::Ok;
  ButtonSet buttonSet = ButtonSet::Ok;
  std::vector<PlacedRun> runs;  // in the client area
};

// owner and screen are in twips on the screen; screen is the usable area of
// the screen the owner is on. The box opens at four fifths of the owner's
// width and height and is pulled back onto the screen, keeping 60 pixels free
// below it.
MessageLayout layoutMessage(TextView text, int flags, const DialogMetrics& metrics, FrameSize frame, const Rect& owner,
                            const Rect& screen);

}  // namespace zevro
