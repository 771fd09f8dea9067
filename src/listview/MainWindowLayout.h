#pragma once
// The main window's sizes. The option store keeps geometry in twips (1/1440
// inch) so that option files stay interchangeable; the screen works in
// pixels: at 96 dpi one pixel is 15 twips, 7800 twips are 520 px.
//
// (twipsToPixels and pixelsToTwips of core/Geometry.h convert).
//   minimumSize(false, 96) == {520, 176}   (7800 x 2640 twips)
//   minimumSize(true, 96)  == {520, 320}   (7800 x 4800 twips with a pane)
//
// The split between the folder pane and a file pane is a percentage of the
// room both share; a drag that would squeeze a pane below its least size
// stops there: beside each other both keep 2800 twips, one above the other
// the folder pane keeps 1800 and the file pane 2800 twips.
namespace zevro::mainlayout {

inline constexpr int MinWidthTwips = 7800;
inline constexpr int MinHeightTwips = 2640;
inline constexpr int MinHeightWithPaneTwips = 4800;
inline constexpr int SplitMinSideTwips = 2800;    // either pane beside the other
inline constexpr int SplitMinTopTwips = 1800;     // the folder pane above a file pane
inline constexpr int SplitMinBottomTwips = 2800;  // the file pane below it
inline constexpr int DefaultPercent = 50;

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

// The least size of the window's inner area in pixels.
Size minimumSize(bool pane, int dpi);

// The least sizes of the two panes along the split, in pixels, like
// {186, 186} beside each other at 96 dpi. rightPane: side by side.
struct PaneMinimums {
  int folder = 0;
  int file = 0;
  bool operator==(const PaneMinimums&) const = default;
};
PaneMinimums splitMinimums(bool rightPane, int dpi);

// Where a split dragged to `wanted` px (the folder pane's size along the
// split) ends: kept `minimums` away from both ends of `total` px; when the
// room is too small for both, the folder pane gets half.
int clampSplit(int wanted, int total, PaneMinimums minimums);

// The genre label's width in pixels: 1600 twips in a window of at least 9960
// twips, else a third of what the title bar row leaves (`spare` px after the
// captions), less what its buttons need, and never below 20 px:
//   genreLabelWidth(10000, 700, 96) == 106,  genreLabelWidth(9000, 500, 96) == 100
inline constexpr int GenreWidthTwips = 1600;
inline constexpr int WideWindowTwips = 9960;
inline constexpr int GenreRowReservePx = 200;  // the level and pane buttons beside the labels
inline constexpr int GenreRowLeastPx = 60;
int genreLabelWidth(int windowTwips, int spare, int dpi);

// The folder pane's share of `total` px in percent (1..99); a total of 0
// gives the default 50.
int percentOf(int folderSize, int total);

// The folder pane's size in px for a share of `total` px (0 counts as 50 %).
int folderSizeOf(int percent, int total);

// The catalog selection window kept at the main window's left (same top and
// height): it goes to mainLeft - its width; when that is off the screen's
// left edge it goes to x 0 and, a moment later (the re-attach timer), the
// main window moves to its right edge.
//   attachSelection(600, 250) == {350, false}
//   attachSelection(100, 250) == {0, true}
struct AttachPlan {
  int selectionLeft = 0;
  bool moveMainLater = false;
  bool operator==(const AttachPlan&) const = default;
};
AttachPlan attachSelection(int mainLeft, int selectionWidth);
inline constexpr int ReattachDelayMs = 500;

}  // namespace zevro::mainlayout
