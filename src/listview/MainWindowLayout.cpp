#include "listview/MainWindowLayout.h"

#include <algorithm>
#include <cmath>

#include "core/Geometry.h"

namespace zevro::mainlayout {

Size minimumSize(bool pane, int dpi) {
  return {twipsToPixels(MinWidthTwips, dpi), twipsToPixels(pane ? MinHeightWithPaneTwips : MinHeightTwips, dpi)};
}

PaneMinimums splitMinimums(bool rightPane, int dpi) {
  if (rightPane) return {twipsToPixels(SplitMinSideTwips, dpi), twipsToPixels(SplitMinSideTwips, dpi)};
  return {twipsToPixels(SplitMinTopTwips, dpi), twipsToPixels(SplitMinBottomTwips, dpi)};
}

int clampSplit(int wanted, int total, PaneMinimums minimums) {
  if (total <= 0) return 0;
  if (minimums.folder + minimums.file > total) return total / 2;
  return std::clamp(wanted, minimums.folder, total - minimums.file);
}

int genreLabelWidth(int windowTwips, int spare, int dpi) {
  if (windowTwips >= WideWindowTwips) return twipsToPixels(GenreWidthTwips, dpi);
  return std::max(spare - GenreRowReservePx, GenreRowLeastPx) / 3;
}

int percentOf(int folderSize, int total) {
  if (total <= 0) return DefaultPercent;
  const int percent = static_cast<int>(std::lround(100.0 * folderSize / total));
  return std::clamp(percent, 1, 99);
}

int folderSizeOf(int percent, int total) {
  if (percent <= 0 || percent >= 100) percent = DefaultPercent;
  return static_cast<int>(std::lround(static_cast<double>(total) * percent / 100.0));
}

AttachPlan attachSelection(int mainLeft, int selectionWidth) {
  const int left = mainLeft - selectionWidth;
  if (left >= 0) return {left, false};
  return {0, true};
}

}  // namespace zevro::mainlayout
