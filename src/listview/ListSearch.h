#pragma once
// The search within the shown list: every row holding the word gets the hit
// mark (2), and the search steps from the cursor to the next or previous
// hit, which gets the current-hit mark (6). It never wraps around.
//
//   ListSearch search(tree);
//   search.prepare(u"readme", switches, ListSearch::Both);   // marks the hits
//   ListSearch::Step s = search.findNext(u"readme", switches, ListSearch::Both, false, Pane::Folder);
//   s.found, s.update                                         // what to draw
//
// Which rows are stepped through: the file grid's display rows when it is
// active; the folder grid's display rows in display modes 0 and 1; with a
// file pane (modes 2 and 4) and the folder grid active, the catalog's stored
// rows shown in the folder grid and the files lying directly in a shown
// folder (a hit there opens its folder and fills the pane).
#include "listview/MainGridSetup.h"
#include "listview/TreeDisplay.h"
#include "search/MatchSwitches.h"
#include "text/Text.h"

namespace zevro {

class ListSearch {
public:
  // The search field (option FindMode).
  static constexpr int Names = 1;
  static constexpr int Comments = 2;
  static constexpr int Both = 3;

  explicit ListSearch(TreeDisplay& tree) : tree_(tree) {}

  // Recomputes the hit marks when the text differs from the prepared one;
  // answers whether it did. An empty text clears every mark.
  bool prepare(TextView text, const MatchSwitches& switches, int field, TreeUpdate& update);

  struct Step {
    bool found = false;
    TreeUpdate update;
  };
  // The next hit (backwards: the previous one) from the cursor of the
  // active grid; found false when there is none in that direction or the
  // text is empty (the window beeps).
  Step findNext(TextView text, const MatchSwitches& switches, int field, bool backwards, maingrid::Pane active);

  // The current hit turns back into a plain hit.
  void clearCurrentHit(TreeUpdate& update);

  // The rows were replaced (a load, a reading) or deleted: nothing is
  // prepared, no last hit, no current hit.
  void reset();

  const Text& preparedWord() const { return prepared_; }
  int lastHit() const { return lastHit_; }
  int currentCatalogRow() const { return currentCatalog_; }
  // The pane row with the current-hit mark; -1 also after the pane was refilled.
  int currentPaneRow() const;

private:
  Step stepDisplayRows(GridModel& grid, bool pane, bool backwards, const class RowMatcher& match);
  Step stepStoredRows(bool backwards, const class RowMatcher& match);
  void markPane(int paneRow, GridUpdate& update);

  TreeDisplay& tree_;
  Text prepared_;
  bool preparedOnce_ = false;
  int lastHit_ = -1;
  int folderRowAtLastHit_ = -1;
  int currentCatalog_ = -1;
  int currentPane_ = -1;
  int paneFill_ = -1;  // the pane fill currentPane_ belongs to
};

}  // namespace zevro
