#pragma once
// The background colours of result rows by group colour number 1..13
// (0xBBGGRR): each catalog's hits in the search window, each group of
// copies in the comparison window.
#include "grid/GridSettings.h"

namespace zevro {

inline constexpr Colour ResultGroupColours[13] = {0xFFF0D8, 0xFFECEE, 0xC9FEFC, 0xB3F3FD, 0xBAFADA, 0xFDEEFC, 0xF0FBCE,
                                                  0xAEFDE6, 0xE6EDF9, 0xDBFECF, 0xFFEBE6, 0xEBE6FF, 0xE3F2F1};

}  // namespace zevro
