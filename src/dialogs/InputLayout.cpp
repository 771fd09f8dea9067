#include "dialogs/InputLayout.h"

#include <algorithm>

namespace zevro {

namespace {

// Just below the prompt's last line when the prompt reaches below the icon,
// otherwise just below the icon.
int answerLineTop(int lineCount, int lineHeight, const Rect& icon, int twipsPerPixelY) {
  const int lastLineTop = (std::max(lineCount, 1) - 1) * lineHeight + inputbox::TextTop;
  if (icon.bottom() <= lastLineTop) return lastLineTop + inputbox::BelowLastLinePixels * twipsPerPixelY;
  return icon.bottom() + inputbox::BelowIconPixels * twipsPerPixelY;
}

// Centred on the owner, never left of the screen; the bottom on the owner's
// bottom unless a top is given; 25 pixels kept free below.
Rect placeBox(int top, int width, int height, const Rect& owner, const Rect& screen, int twipsPerPixelY) {
  Rect box{owner.left + (owner.width - width) / 2, top, width, height};
  if (top == 0) box.top = owner.bottom() - height;
  const int bottomLimit = screen.bottom() - inputbox::ScreenBottomPixels * twipsPerPixelY;
  if (box.bottom() > bottomLimit) box.top = bottomLimit - height;
  box.left = std::max(box.left, screen.left);
  box.top = std::max(box.top, screen.top);
  return box;
}

}  // namespace

InputLayout layoutInput(TextView prompt, int top, const DialogMetrics& metrics, FrameSize frame, int iconHeight,
                        const Rect& owner, const Rect& screen, const ColourTable& colours) {
  InputLayout layout;
  const std::vector<Text> lines = messageLines(prompt);
  layout.lineCount = static_cast<int>(lines.size());
  layout.lineHeight = metrics.textHeight + 2 * metrics.twipsPerPixelY;
  layout.icon = {inputbox::IconLeft, inputbox::IconTop, iconHeight, iconHeight};

  const int answerTop = answerLineTop(layout.lineCount, layout.lineHeight, layout.icon, metrics.twipsPerPixelY);
  layout.answerLine = {inputbox::AnswerLeft, answerTop, inputbox::AnswerWidth, inputbox::AnswerHeight};
  layout.clientHeight = answerTop + inputbox::AnswerHeight + inputbox::BottomPixels * metrics.twipsPerPixelY;

  layout.box = placeBox(top, inputbox::ClientWidth + frame.width, layout.clientHeight + frame.height, owner, screen,
                        metrics.twipsPerPixelY);
  layout.runs = placeRuns(lines, colours, metrics.textWidth, inputbox::TextLeft, inputbox::TextTop, layout.lineHeight);
  return layout;
}

bool answerWithoutInputMethod(TextView prompt) { return prompt.find(inputbox::DateTimeWord) != TextView::npos; }

}  // namespace zevro
