#include "listview/ListSearch.h"

#include <algorithm>
#include <vector>

#include "core/CatalogList.h"
#include "search/SearchRequest.h"

namespace zevro {

// Whether a row holds the word in the fields of the search field, each
// field folded and searched on its own.
class RowMatcher {
public:
  RowMatcher(TextView word, const MatchSwitches& switches, int field)
      : request_(word, switches, static_cast<unsigned>(field)), field_(field) {}

  bool matches(const RowStore& store, int row) const {
    return ((field_ & ListSearch::Names) != 0 && holds(store.fieldView(0, row))) ||
           ((field_ & ListSearch::Comments) != 0 && holds(store.fieldView(1, row)));
  }

private:
  bool holds(TextView text) const {
    if (text.empty()) return false;
    if (!request_.foldsText()) return request_.findIn(text).found();
    request_.foldText(text, folded_);
    return request_.findIn(folded_).found();
  }

  SearchRequest request_;
  int field_;
  mutable Text folded_;
};

namespace {

bool isFile(int kind) { return kind > 5; }

}  // namespace

int ListSearch::currentPaneRow() const {
  return currentPane_ >= 0 && paneFill_ == tree_.filePane().fills() ? currentPane_ : -1;
}

void ListSearch::reset() {
  prepared_.clear();
  preparedOnce_ = false;
  lastHit_ = -1;
  folderRowAtLastHit_ = -1;
  currentCatalog_ = -1;
  currentPane_ = -1;
}

bool ListSearch::prepare(TextView text, const MatchSwitches& switches, int field, TreeUpdate& update) {
  if (preparedOnce_ && text == prepared_) return false;
  preparedOnce_ = true;
  prepared_ = Text(text);
  currentCatalog_ = -1;
  currentPane_ = -1;
  RowStore& catalog = tree_.folderGrid().store();
  RowStore& files = tree_.fileGrid().store();
  for (int r = 0; r < catalog.rowCount(); ++r) catalog.setHighlight(r, 0);
  for (int r = 0; r < files.rowCount(); ++r) files.setHighlight(r, 0);
  if (!text.empty() && catalog.rowCount() > 0) {
    const RowMatcher match(text, switches, field);
    for (int r = 0; r < catalog.rowCount(); ++r)
      if (match.matches(catalog, r)) catalog.setHighlight(r, catalog::HighlightHit);
  }
  update.folder.merge(tree_.folderGrid().Grid_Repaint());
  if (tree_.paneOpen()) {
    const std::span<const std::int32_t> map = tree_.paneMap();
    for (std::size_t p = 0; p < map.size() && static_cast<int>(p) < files.rowCount(); ++p)
      files.setHighlight(static_cast<int>(p), catalog.highlight(map[p]));
    update.files.merge(tree_.fileGrid().Grid_Repaint());
  }
  return true;
}

void ListSearch::clearCurrentHit(TreeUpdate& update) {
  RowStore& catalog = tree_.folderGrid().store();
  if (currentCatalog_ >= 0 && currentCatalog_ < catalog.rowCount()) {
    catalog.setHighlight(currentCatalog_, catalog::HighlightHit);
    if (const int shown = catalog.displayRowOf(currentCatalog_); shown >= 0) update.folder.rows.push_back(shown);
  }
  currentCatalog_ = -1;
  const int pane = currentPaneRow();
  RowStore& files = tree_.fileGrid().store();
  if (pane >= 0 && pane < files.rowCount()) {
    files.setHighlight(pane, catalog::HighlightHit);
    if (const int shown = files.displayRowOf(pane); shown >= 0) update.files.rows.push_back(shown);
  }
  currentPane_ = -1;
}

void ListSearch::markPane(int paneRow, GridUpdate& update) {
  RowStore& files = tree_.fileGrid().store();
  if (paneRow < 0 || paneRow >= files.rowCount()) return;
  files.setHighlight(paneRow, catalog::HighlightCurrentHit);
  currentPane_ = paneRow;
  paneFill_ = tree_.filePane().fills();
  if (const int shown = files.displayRowOf(paneRow); shown >= 0) update.rows.push_back(shown);
}

ListSearch::Step ListSearch::findNext(TextView text, const MatchSwitches& switches, int field, bool backwards,
                                      maingrid::Pane active) {
  TreeUpdate before;
  prepare(text, switches, field, before);
  clearCurrentHit(before);
  Step step;
  if (!text.empty()) {
    const RowMatcher match(text, switches, field);
    if (active == maingrid::Pane::File && tree_.paneOpen())
      step = stepDisplayRows(tree_.fileGrid(), true, backwards, match);
    else if (!tree_.paneOpen())
      step = stepDisplayRows(tree_.folderGrid(), false, backwards, match);
    else
      step = stepStoredRows(backwards, match);
  }
  before.merge(step.update);
  step.update = before;
  return step;
}

ListSearch::Step ListSearch::stepDisplayRows(GridModel& grid, bool pane, bool backwards, const RowMatcher& match) {
  Step step;
  const RowStore& store = grid.store();
  const int rows = store.shownCount();
  if (rows == 0) return step;
  const auto catalogRowOf = [&](int displayRow) {
    const int stored = store.storedRowAt(displayRow);
    return pane ? tree_.filePane().sourceRow(stored) : stored;
  };
  int d = std::max(grid.cursorRow(), 0);
  if (lastHit_ >= 0 && catalogRowOf(d) == lastHit_) d += backwards ? -1 : 1;
  for (; d >= 0 && d < rows; d += backwards ? -1 : 1) {
    const int stored = store.storedRowAt(d);
    if (!match.matches(store, stored)) continue;
    RowStore& catalog = tree_.folderGrid().store();
    if (pane) {
      step.update.files.merge(grid.Grid_ClearSelection());
      step.update.files.merge(grid.Grid_ShowRow(d, true));
      lastHit_ = catalogRowOf(d);
      markPane(stored, step.update.files);
      step.update.focus = TreeFocus::FileGrid;
    } else {
      step.update.folder.merge(grid.Grid_ClearSelection());
      step.update.folder.merge(grid.Grid_ShowRow(d, true));
      step.update.merge(tree_.folderCursorMoved());
      lastHit_ = stored;
      catalog.setHighlight(stored, catalog::HighlightCurrentHit);
      currentCatalog_ = stored;
      step.update.folder.rows.push_back(d);
      step.update.focus = TreeFocus::FolderGrid;
    }
    step.found = true;
    return step;
  }
  return step;
}

ListSearch::Step ListSearch::stepStoredRows(bool backwards, const RowMatcher& match) {
  Step step;
  GridModel& folder = tree_.folderGrid();
  RowStore& catalog = folder.store();
  const int count = catalog.rowCount();
  if (count == 0) return step;
  const int cursorStored = folder.cursorRow() >= 0 && catalog.shownCount() > 0 ? catalog.storedRowAt(folder.cursorRow()) : 0;
  int r;
  if (!backwards)
    r = lastHit_ < 0 ? cursorStored : lastHit_ + 1;
  else
    r = lastHit_ < 1 ? cursorStored : lastHit_ - 1;
  // Forwards, a file counts when it lies directly in the last shown row passed.
  int shownLevel = 0;
  {
    const int atHit = folderRowAtLastHit_ >= 0 && folderRowAtLastHit_ < catalog.shownCount() && lastHit_ >= 0
                          ? catalog.storedRowAt(folderRowAtLastHit_)
                          : cursorStored;
    shownLevel = atHit >= 0 && atHit < count ? catalog.level(atHit) : 0;
  }
  // Which stored rows the folder grid shows, found once for the whole step.
  std::vector<char> isShown(static_cast<std::size_t>(count), 0);
  for (const std::int32_t shownRow : catalog.displayOrder())
    if (shownRow >= 0 && shownRow < count) isShown[static_cast<std::size_t>(shownRow)] = 1;
  const auto parentShown = [&](int row) {
    const int level = catalog.level(row);
    for (int p = row - 1; p >= 0; --p)
      if (catalog.level(p) < level) return catalog.level(p) == level - 1 && isShown[static_cast<std::size_t>(p)] != 0;
    return false;
  };
  for (; r >= 0 && r < count; r += backwards ? -1 : 1) {
    const bool shown = isShown[static_cast<std::size_t>(r)] != 0;
    bool candidate = shown;
    if (!shown && isFile(catalog.kind(r)))
      candidate = backwards ? parentShown(r) : catalog.level(r) == shownLevel + 1;
    if (shown) shownLevel = catalog.level(r);
    if (!candidate || !match.matches(catalog, r)) continue;
    step.update.folder.merge(folder.Grid_ClearSelection());
    const bool folderLike = !isFile(catalog.kind(r));
    if (folderLike) {
      catalog.setHighlight(r, catalog::HighlightCurrentHit);
      currentCatalog_ = r;
    }
    step.update.merge(tree_.RevealRow(catalog.rowPath(r, 1), -1, true, false));
    lastHit_ = r;
    folderRowAtLastHit_ = folder.cursorRow();
    // The pane row made from the hit: an archive member of the same name may come first.
    if (!folderLike) markPane(tree_.filePane().paneRowOf(r), step.update.files);
    step.found = true;
    return step;
  }
  return step;
}

}  // namespace zevro
