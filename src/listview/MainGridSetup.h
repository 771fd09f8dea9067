#pragma once
// How the main window sets up its two grids from its options: four columns
// (name, comment, date, size) with the comment column taking the rest, the
// colours, rules, line spacing and fonts, cursor and selection modes.
//
//   GridModel folder(document.list());
//   maingrid::configure(folder, maingrid::Pane::Folder, options);
//   folder.columns().column(0).title == u"Folder", width options.listWidths[Ws]
//   folder.settings().textColourMode == ByColourIndex   (ColorF on)
//
// What needs the window's fonts (the pixel widths of the date and size
// columns, the text height for multi-line rows) comes in as numbers the
// window measured.
#include "core/RowStore.h"
#include "grid/GridModel.h"
#include "listview/MainWindowOptions.h"
#include "text/Text.h"

namespace zevro::maingrid {

enum class Pane { Folder, File };

inline constexpr TextView FolderTitles[4] = {u"Folder", u"Comment", u"Date", u"Size"};
inline constexpr TextView FileTitles[4] = {u"File", u"Comment", u"Date", u"Size"};
inline constexpr int FileDefaultSorts[4] = {2, 2, 1, 1};
inline constexpr int CommentColumn = 1;
inline constexpr int DateColumn = 2;
inline constexpr int SizeColumn = 3;
// The comment column gives way to the others but keeps this much.
inline constexpr int CommentMinWidth = 50;

// The cursor of the grid that does not have the keys.
inline constexpr Colour InactiveCursor = 0xE0D8D0;
// Background palette entries 6 to 15: the highlight marks of found rows.
inline constexpr Colour MarkColours[10] = {0x9DFDEA, 0xA5FCE1, 0xA8F9D0, 0xA9FCB1, 0xDBFDA8,
                                           0xFBFEB4, 0xFFFAD0, 0xFFEED9, 0xFFE6DF, 0xFFE8EB};
// The date and size columns are as wide as the last n characters of these
// (n the longest text of the list) plus 10 and 30 px.
inline constexpr TextView DateSample = u"1234567890(640) 59:23 27/10/02";
inline constexpr TextView SizeSample = u"123,456,789,012,345";
inline constexpr int DateExtra = 10;
inline constexpr int SizeExtra = 30;
// The fixed-pitch face of the date and size columns.
inline constexpr TextView FixedPitchFace = u"ＭＳ ゴシック";

// Columns, colours, rules, modes and fonts of a pane (the row metrics follow
// when the window applies the settings). The first column's width is the
// option for the pane's case (right pane / maximised).
void configure(GridModel& grid, Pane pane, const MainWindowOptions& options, bool rightPane, bool maximised);

// Pixels added to the text height of a row for ListInterleave 1..7: 1 to 4
// are pixels; 5, 6 and 7 make rows of 2, 3 and 4 lines, textHeight *
// (value - 4) + 4 px, but only in a grid taller than twice that; a lower grid
// keeps the default 2 px.
int lineSpacing(int interleave, int textHeight, int surfaceHeight);

// Whether the comment column wraps words: ListWordWrap on with rows of two
// lines or more.
bool wrapsComments(const MainWindowOptions& options);

// The longest date and size texts of a list, in characters (0 for none).
struct LongestTexts {
  int date = 0;
  int size = 0;
};
LongestTexts longestTexts(const RowStore& store);

// The last n characters of a sample (all of it for n beyond its length).
TextView sampleTail(TextView sample, int n);

// The cursor colour of a pane: the option's while it has the keys, else grey.
inline Colour cursorColour(bool active, const MainWindowOptions& options) {
  return active ? options.csrBack : InactiveCursor;
}

}  // namespace zevro::maingrid
