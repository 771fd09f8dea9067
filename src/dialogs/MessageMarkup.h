#pragma once
// The markup of message texts and input prompts. One string holds the whole
// message:
//   "|" (and CR, LF or CR LF) ends a line,
//   character 0..6 switches the text colour (ColourTable),
//   character 8 switches bold on and 7 switches it off.
// A switch lasts until the next switch of its kind, across line breaks, so
// messages switch back themselves: u"\x05" u"保存できません。" u"\x00" u"||再度…".
// Control characters are never drawn and take no room.
#include <cstdint>
#include <vector>

#include "dialogs/ColourTable.h"
#include "text/Text.h"

namespace zevro {

namespace markup {
inline constexpr char16_t LineBreak = u'|';
inline constexpr char16_t BoldOff = 7;
inline constexpr char16_t BoldOn = 8;
inline constexpr char16_t LastSwitch = 8;  // codes 0..8 are switches
inline constexpr bool isSwitch(char16_t c) { return c <= LastSwitch; }
}  // namespace markup

// Every line ends with "|": CR LF, CR and LF become "|", and a text that does
// not end with a break gets one, so a trailing break never adds an empty line:
//   u"abc" -> u"abc|",  u"abc\r\n" -> u"abc|",  u"a\rb\nc" -> u"a|b|c|",
//   u"" -> u"|" (one empty line).
Text normaliseMessage(TextView text);

// The lines of a text (normalised first): u"a||b" -> {u"a", u"", u"b"}.
// Switch characters stay in the lines.
std::vector<Text> messageLines(TextView text);

// True when the text switches bold on anywhere; the box then measures every
// line in bold so that bold words always fit.
bool hasBold(TextView text);

// A line without its switch characters, as it is measured:
//   u"\x01" u"青" u"\x00" u" x" -> u"青 x".
Text withoutSwitches(TextView line);

// The text for the platform's plain message box, used when the program's own
// box cannot be shown: switches become blanks and "|" becomes CR:
//   u"\x08" u"a" u"\x07" u"|b" -> u" a \rb".
Text plainMessageText(TextView text);

// One piece of a line drawn in one colour and face, at its place in twips.
struct PlacedRun {
  int x = 0;                 // left edge
  int y = 0;                 // top of the line
  Text text;                 // without switch characters, never empty
  std::uint32_t colour = 0;  // 0xBBGGRR
  bool bold = false;
  int width = 0;  // as measured in its face

  bool operator==(const PlacedRun&) const = default;
};

// Lays the lines out from the left edge x0, line k at y0 + k * lineHeight.
// Drawing starts black and not bold; each switch character ends the run
// before it, and the next run starts where that one ended. textWidth(text,
// bold) measures a run in twips.
template <typename Measure>
std::vector<PlacedRun> placeRuns(const std::vector<Text>& lines, const ColourTable& colours, const Measure& textWidth,
                                 int x0, int y0, int lineHeight) {
  std::vector<PlacedRun> runs;
  std::uint32_t colour = colours.colour(0);
  bool bold = false;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const TextView line = lines[k];
    const int y = y0 + static_cast<int>(k) * lineHeight;
    int x = x0;
    std::size_t start = 0;
    auto flush = [&](std::size_t end) {
      if (end <= start) return;
      Text text(line.substr(start, end - start));
      const int width = textWidth(TextView(text), bold);
      runs.push_back({x, y, std::move(text), colour, bold, width});
      x += width;
    };
    for (std::size_t i = 0; i < line.size(); ++i) {
      const char16_t c = line[i];
      if (!markup::isSwitch(c)) continue;
      flush(i);
      start = i + 1;
      if (c == markup::BoldOn) {
        bold = true;
      } else if (c == markup::BoldOff) {
        bold = false;
      } else {
        colour = colours.colour(c);
      }
    }
    flush(line.size());
  }
  return runs;
}

}  // namespace zevro
