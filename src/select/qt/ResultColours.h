#pragma once
// The background colours of result rows by group colour number 1..13
// (0xBBGGRR): each catalog's hits in the search window, each group of
// copies in the comparison window.
#include "grid/GridSettings.h"

namespace zevro {

inline constexpr Colour ResultGroupColours[13] = {0xFFF0D8, 0xFFECEE, 0xC9FEFC, 0xB3F3FD, 0xBAFADA, 0xFDEEFC, 0xF0FBCE,
                                                  0xAEFDE6, 0xE6EDF9, 0xDBFECF, 0xFFEBE6, 0xEBE6FF, 0xE3F2F1};

// A result grid looks like the main window's folder grid (colours, font),
// with a row background per group colour, rules and a one-row cursor.
inline void takeResultGridLook(GridSettings& s, const GridSettings& mainSettings) {
  s.textColour = mainSettings.textColour;
  s.backColour = mainSettings.backColour;
  s.itemBarTextColour = mainSettings.itemBarTextColour;
  s.itemBarTopColour = mainSettings.itemBarTopColour;
  s.cursorColour = mainSettings.cursorColour;
  s.cursorTextColour = mainSettings.cursorTextColour;
  s.selectionBack = mainSettings.selectionBack;
  s.selectionText = mainSettings.selectionText;
  s.hRuleColour = mainSettings.hRuleColour;
  s.vRuleColour = mainSettings.vRuleColour;
  s.font = mainSettings.font;
  s.textColourMode = TextColourMode::ByColourIndex;
  s.levelColours[0] = 0x202020;
  s.backgroundMode = BackgroundMode::Highlight;
  s.palette[0] = mainSettings.backColour;
  for (int i = 0; i < 13; ++i) s.palette[static_cast<std::size_t>(i + 1)] = ResultGroupColours[i];
  s.hRules = true;
  s.vRules = true;
  s.embossed = false;
  s.cursorMode = true;
  s.selectionMode = SelectionMode::Single;
}

}  // namespace zevro
