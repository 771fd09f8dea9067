#include "dialogs/MessageLayout.h"

#include <algorithm>

namespace zevro {

namespace {

int widestLine(const std::vector<Text>& lines, const DialogMetrics& metrics, bool bold) {
  int widest = 0;
  for (const Text& line : lines) {
    const Text shown = withoutSwitches(line);
    if (shown.empty()) continue;
    widest = std::max(widest, metrics.textWidth(TextView(shown), bold));
  }
  return widest;
}

std::vector<PlacedButton> placeButtons(ButtonSet set, int clientWidth, int top) {
  const std::vector<MessageButton> buttons = buttonsOf(set);
  const int total = static_cast<int>(buttons.size()) * msgbox::ButtonWidth;
  int x = (clientWidth - total) / 2;
  std::vector<PlacedButton> placed;
  for (MessageButton b : buttons) {
    placed.push_back({b, {x, top, msgbox::ButtonWidth, msgbox::ButtonHeight}});
    x += msgbox::ButtonWidth + msgbox::ButtonGap;
  }
  return placed;
}

// Four fifths into the owner, then back onto the screen: the right edge no
// further than the screen's, the bottom 60 pixels above the screen's. A box
// larger than the screen keeps its top-left corner on the screen.
Rect placeBox(int width, int height, const Rect& owner, const Rect& screen, int twipsPerPixelY) {
  Rect box{owner.left + 4 * (owner.width / 5), owner.top + 4 * (owner.height / 5), width, height};
  if (box.right() > screen.right()) box.left = screen.right() - width;
  const int bottomLimit = screen.bottom() - msgbox::ScreenBottomPixels * twipsPerPixelY;
  if (box.bottom() > bottomLimit) box.top = bottomLimit - height;
  box.left = std::max(box.left, screen.left);
  box.top = std::max(box.top, screen.top);
  return box;
}

}  // namespace

MessageLayout layoutMessage(TextView text, int flags, const DialogMetrics& metrics, FrameSize frame, const Rect& owner,
                            const Rect& screen) {
  MessageLayout layout;
  const std::vector<Text> lines = messageLines(text);
  layout.lineCount = static_cast<int>(lines.size());
  layout.lineHeight = metrics.textHeight + 2 * metrics.twipsPerPixelY;
  layout.buttonSet = buttonSetOf(flags);
  layout.focus = focusButtonOf(flags);
  layout.iconTop = layout.lineCount > 2 ? msgbox::IconTopMany : msgbox::IconTopFew;

  const int buttonsWidth = static_cast<int>(buttonsOf(layout.buttonSet).size()) * msgbox::ButtonWidth;
  const int widest = widestLine(lines, metrics, hasBold(text));
  int boxWidth = frame.width + widest + msgbox::TextLeft + msgbox::RightMargin;
  boxWidth = std::max({boxWidth, buttonsWidth + msgbox::ButtonMargin, msgbox::MinWidth});
  layout.clientWidth = boxWidth - frame.width;

  const int buttonTop = layout.lineCount * layout.lineHeight + msgbox::ButtonsBelowText;
  layout.buttons = placeButtons(layout.buttonSet, layout.clientWidth, buttonTop);

  const int boxHeight =
      std::max(buttonTop + msgbox::BottomMargin + msgbox::ButtonHeight + frame.height, msgbox::MinHeight);
  layout.clientHeight = boxHeight - frame.height;
  layout.box = placeBox(boxWidth, boxHeight, owner, screen, metrics.twipsPerPixelY);

  layout.runs = placeRuns(lines, ColourTable::trueColour(), metrics.textWidth, msgbox::TextLeft, msgbox::TextTop,
                          layout.lineHeight);
  return layout;
}

}  // namespace zevro
