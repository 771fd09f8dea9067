#include "grid/GridColours.h"

#include <algorithm>

namespace zevro::gridcolours {

namespace {

Colour paletteAt(const GridSettings& s, int index) { return s.palette[static_cast<std::size_t>(index & 15)]; }

// Each component moves from `from` towards `to` by (to - from) / steps per line.
Colour gradientAt(Colour from, Colour to, int line, int steps) {
  steps = std::max(steps, 1);
  auto part = [&](int a, int b) { return std::clamp(a + (b - a) / steps * line, 0, 255); };
  return rgb(part(redOf(from), redOf(to)), part(greenOf(from), greenOf(to)), part(blueOf(from), blueOf(to)));
}

}  // namespace

Colour treeLine(Colour background) {
  const int l = redOf(background) + 2 * greenOf(background) + 2 * blueOf(background);
  return l >= 769 && l <= 1088 ? 0x808080 : 0xC0C0C0;
}

Colour rowBackground(const GridSettings& s, const RowLook& row, int column) {
  if (row.selected && s.selectionMode != SelectionMode::None) return s.selectionBack;
  switch (s.backgroundMode) {
    case BackgroundMode::Plain: return s.backColour;
    case BackgroundMode::Highlight: return paletteAt(s, row.highlight);
    case BackgroundMode::Level: return paletteAt(s, row.level);
    case BackgroundMode::Stripes: return paletteAt(s, row.displayRow % 2 == 0 ? s.stripeFirst : s.stripeSecond);
    case BackgroundMode::Gradient:
      return gradientAt(paletteAt(s, s.stripeFirst), paletteAt(s, s.stripeSecond), row.line, row.visibleRows);
    case BackgroundMode::Columns: return paletteAt(s, column);
  }
  return s.backColour;
}

Colour cellText(const GridSettings& s, const RowLook& row, int column, bool cursorCell) {
  if (cursorCell && s.cursorMode) return s.cursorTextColour;
  if (row.selected && s.selectionMode != SelectionMode::None) return s.selectionText;
  const Colour byIndex = s.levelColours[static_cast<std::size_t>(row.colourIndex & 15)];
  if (s.colourColumn >= 0) return column == s.colourColumn ? byIndex : s.textColour;
  switch (s.textColourMode) {
    case TextColourMode::Plain: return s.textColour;
    case TextColourMode::ByColourIndex: return byIndex;
    case TextColourMode::ByLevel: return s.levelColours[static_cast<std::size_t>(row.level & 15)];
  }
  return s.textColour;
}

Colour cursorFill(const GridSettings& s, bool rowSelected, Colour background) {
  if (s.cursorColour == NoColour) return NoColour;
  const bool vanishes =
      s.cursorColour == s.selectionBack && rowSelected && s.selectionMode != SelectionMode::None && !s.cursorOutline;
  return vanishes ? inverse(background) : s.cursorColour;
}

Colour darker(Colour c, int by) {
  return rgb(std::max(redOf(c) - by, 0), std::max(greenOf(c) - by, 0), std::max(blueOf(c) - by, 0));
}

Colour inverse(Colour c) { return rgb(255 - redOf(c), 255 - greenOf(c), 255 - blueOf(c)); }

}  // namespace zevro::gridcolours
