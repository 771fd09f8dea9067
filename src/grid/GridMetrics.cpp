#include "grid/GridMetrics.h"

#include <algorithm>

namespace zevro {

GridMetrics GridMetrics::measure(int textHeight, int spacing, int ruleWidth, bool embossed, int surfaceHeight) {
  GridMetrics m;
  m.textHeight = std::max(textHeight, 1);
  spacing = std::max(spacing, 0);
  m.topMargin = spacing / 2;
  m.bottomMargin = spacing - m.topMargin;
  if (spacing / 2 > 2) m.topMargin = m.bottomMargin = 2;
  m.lineHeight = m.textHeight + spacing;
  m.rowHeight = m.lineHeight + std::max(ruleWidth, 0) + (embossed ? 1 : 0);
  m.visibleRows = std::max(surfaceHeight / m.rowHeight, 1);
  return m;
}

}  // namespace zevro
