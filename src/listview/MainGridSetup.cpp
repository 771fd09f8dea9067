#include "listview/MainGridSetup.h"

#include <algorithm>
#include <array>

#include "core/CatalogList.h"

namespace zevro::maingrid {

namespace {

void setColumns(ColumnLayout& columns, Pane pane, int nameWidth, bool fixedPitch) {
  const bool folder = pane == Pane::Folder;
  columns.setCount(4);
  for (int i = 0; i < 4; ++i) {
    GridColumn& c = columns.column(i);
    c.title = Text(folder ? FolderTitles[i] : FileTitles[i]);
    c.defaultSort = FileDefaultSorts[i];
    c.fixed = i == DateColumn || i == SizeColumn;
    c.altFont = fixedPitch && c.fixed;
  }
  columns.column(0).width = nameWidth;
  columns.column(DateColumn).align = ColumnAlign::Centre;
  columns.column(SizeColumn).align = ColumnAlign::Right;
  columns.setStretchColumn(CommentColumn, CommentMinWidth);
}

void setColours(GridSettings& s, Pane pane, const MainWindowOptions& o) {
  s.textColour = o.listFore;
  s.backColour = o.listBack;
  s.selectionText = o.selFore;
  s.selectionBack = o.selBack;
  s.cursorTextColour = o.csrFore;
  s.cursorColour = o.csrBack;
  s.vRuleColour = o.vLine;
  s.hRuleColour = o.hLine;
  s.itemBarTextColour = pane == Pane::Folder ? o.titleForeL : o.titleForeF;
  s.itemBarTopColour = pane == Pane::Folder ? o.titleBackL : o.titleBackF;
  s.levelColours[0] = 0x000000;
  for (std::size_t i = 0; i < o.levelColours.size(); ++i) s.levelColours[i + 1] = o.levelColours[i];
  for (std::size_t i = 0; i < std::size(MarkColours); ++i) s.palette[i + 6] = MarkColours[i];
}

}  // namespace

void configure(GridModel& grid, Pane pane, const MainWindowOptions& options, bool rightPane, bool maximised) {
  if (!grid.initialised()) grid.Grid_Init();
  const bool folder = pane == Pane::Folder;
  const auto which = static_cast<std::size_t>(MainWindowOptions::widthCase(rightPane, maximised));
  setColumns(grid.columns(), pane, folder ? options.listWidths[which] : options.fileWidths[which],
             options.useFixedPitch);

  GridSettings& s = grid.settings();
  setColours(s, pane, options);
  s.cursorMode = true;
  s.cursorOutline = true;
  s.selectionMode = SelectionMode::Multiple;
  if (folder) s.treeMode = true;
  s.textColourMode = options.colorF ? TextColourMode::ByColourIndex : TextColourMode::Plain;
  s.backgroundMode = BackgroundMode::Highlight;
  s.hRules = folder ? options.keiDispH : options.keiFileH;
  s.vRules = folder ? options.keiDispV : options.keiFileV;
  s.font = options.font;
  s.altFont = options.font;
  s.altFont.name = Text(FixedPitchFace);
  grid.columns().column(CommentColumn).wordWrap = wrapsComments(options);
}

int lineSpacing(int interleave, int textHeight, int surfaceHeight) {
  constexpr int Default = 2;
  if (interleave >= 1 && interleave <= 4) return interleave;
  if (interleave < 5 || interleave > 7) return Default;
  const int spacing = textHeight * (interleave - 4) + 4;
  return surfaceHeight > 2 * spacing ? spacing : Default;
}

bool wrapsComments(const MainWindowOptions& options) { return options.listWordWrap && options.listInterleave >= 5; }

LongestTexts longestTexts(const RowStore& store) {
  LongestTexts longest;
  std::array<TextView, 4> fields;
  for (int r = 0; r < store.rowCount(); ++r) {
    store.fieldsOf(r, fields);
    longest.date = std::max(longest.date, static_cast<int>(fields[catalog::FieldDate].size()));
    longest.size = std::max(longest.size, static_cast<int>(fields[catalog::FieldSize].size()));
  }
  return longest;
}

TextView sampleTail(TextView sample, int n) {
  if (n <= 0) return {};
  const auto count = std::min(sample.size(), static_cast<std::size_t>(n));
  return sample.substr(sample.size() - count);
}

}  // namespace zevro::maingrid
