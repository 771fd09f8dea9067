#pragma once
// How a grid looks and behaves: colours, rules, fonts and modes. The owner
// fills it (from the option store) after Grid_Init has put the defaults in.
//
// Colours are 24-bit values written 0xBBGGRR, red in the low byte:
// 0x0000FF is pure red, 0xFF0000 pure blue. Two values stand for the
// desktop's own colours: SystemSelectionBack (0x8000000D) and
// SystemSelectionText (0x8000000E). NoColour (-1 as stored in the option
// files) means "no fill" where a setting allows it (the cursor colour).
#include <array>
#include <cstdint>

#include "text/Text.h"

namespace zevro {

using Colour = std::uint32_t;

inline constexpr Colour SystemSelectionBack = 0x8000000D;
inline constexpr Colour SystemSelectionText = 0x8000000E;
inline constexpr Colour NoColour = 0xFFFFFFFF;

constexpr int redOf(Colour c) { return static_cast<int>(c & 0xFF); }
constexpr int greenOf(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int blueOf(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr Colour rgb(int r, int g, int b) {
  return static_cast<Colour>(r & 0xFF) | static_cast<Colour>(g & 0xFF) << 8 | static_cast<Colour>(b & 0xFF) << 16;
}

// A font as the option store keeps it: u"ＭＳ Ｐゴシック", 9.75 points.
struct GridFontSetting {
  Text name = u"ＭＳ Ｐゴシック";
  double size = 9.75;
  bool bold = false;
  bool italic = false;
};

// What the rows' text colour follows.
enum class TextColourMode : int {
  Plain = 0,          // every row in the text colour
  ByColourIndex = 1,  // the level colour of the row's colour index (no colour column set)
  ByLevel = 2,        // the level colour of the row's level
};

// What fills a row's background.
enum class BackgroundMode : int {
  Plain = 0,      // the background colour
  Highlight = 1,  // palette entry (highlight mark AND 15): found rows stand out
  Level = 2,      // palette entry of the row's level
  Stripes = 3,    // even display rows in the first stripe entry, odd rows in the second
  Gradient = 4,   // from the first to the second stripe entry down the visible rows
  Columns = 5,    // each column in the palette entry of its number
};

enum class SelectionMode : int {
  None = 0,
  Toggle = 1,    // every click and key toggles one row (check marks)
  Multiple = 2,  // a click selects one row, Ctrl toggles, Shift extends
  Single = 3,    // a click selects one row and unselects the others
};

struct GridSettings {
  Colour textColour = 0x000000;
  Colour backColour = 0xFFFFFF;
  Colour itemBarTextColour = 0xF7F7F7;
  Colour itemBarTopColour = 0x9FAEAB;  // each pixel line below is 0x030303 darker
  Colour cursorColour = 0x80FFFF;      // NoColour: the cursor cell is not filled
  Colour cursorTextColour = 0x000000;
  Colour cursorOutlineColour = 0xFFA060;
  bool cursorOutline = false;
  Colour selectionBack = SystemSelectionBack;
  Colour selectionText = SystemSelectionText;
  Colour hRuleColour = 0xA0A0A0;
  Colour vRuleColour = 0xB0B0B0;

  // Text colours by colour index (or level), index 0 to 15.
  std::array<Colour, 16> levelColours{0x000000, 0xE03000, 0x7020B8, 0xA820B0, 0x108010, 0x908010, 0x007090, 0x666666,
                                      0x444444, 0x504422, 0x333370, 0x603370, 0x337033, 0x686833, 0x106060, 0x333333};
  // Backgrounds by highlight mark, level, stripe or column, index 0 to 15.
  std::array<Colour, 16> palette{0xFFFFFF, 0xFFF0D8, 0xE4F4C4, 0xFCF0FC, 0xF4F4C4, 0xD0F8F8, 0xE8F0FF, 0xE8E8E4,
                                 0xD0D0D0, 0xE0C8C8, 0xC8C8E0, 0xE0C8E0, 0xC8E0C8, 0xD8D8C0, 0xC8E0E0, 0xF8F8F8};
  int stripeFirst = 0;   // palette index of even stripes / the gradient's top
  int stripeSecond = 1;  // palette index of odd stripes / the gradient's bottom

  TextColourMode textColourMode = TextColourMode::Plain;
  int colourColumn = -1;  // a column always drawn in the level colour of the colour index; -1 none
  BackgroundMode backgroundMode = BackgroundMode::Plain;

  bool hRules = false;
  int hRuleWidth = 1;  // 1: a line under every row; more: a band of that many pixels
  bool vRules = false;
  int vRuleWidth = 1;  // also the space between two columns
  bool embossed = false;

  GridFontSetting font;
  GridFontSetting altFont;
  int lineSpacing = 2;  // pixels added to the text height of a line

  bool treeMode = false;   // tree lines and expand boxes in column 0
  bool cursorMode = true;  // a cell cursor that the keys move; off: the keys scroll
  SelectionMode selectionMode = SelectionMode::Multiple;
};

}  // namespace zevro
