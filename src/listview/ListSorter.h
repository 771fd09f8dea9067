#pragma once
// Sorting a grid's rows (the file pane, the search results): the grid's
// sort kind and sorted column decide the display order.
//
// Sort kinds: 0 stored order, 1 descending and 2 ascending by the text of
// the sorted column, 3 by extension, 4 by kind group. The list's natural
// sort kind (grid.naturalSortKind(): the order the rows were recorded in,
// 2 name, 3 extension, 4 kind group, 0 none) needs no sorting: choosing it
// shows the stored order again, with the tree lines and level indents.
// Every other sort shows a plain list without tree lines; kinds 3 and 4 also
// put every row at the base indent.
//
// Keys (in Japanese order without regard to case or width, see
// DisplayCollator.h; each row's key is built once per sort):
//   kind 1/2, column 0:  the name               u"readme.txt"
//   kind 1/2, column c:  field c right-aligned in 16 characters
//                        u"           1,234"  (so sizes order by length first)
//   kind 3:              extension "." name without it   u"TXT.readme"
//   kind 4:              group ":" extension "." name    u"10:TXT.readme"
//
// The row that was current before a sort (the first selected row, else the
// cursor row) stays current on the same screen line; it is followed as a
// row, so rows with equal texts never swap places with it. Selection marks
// follow their rows.
//
//   ListSorter sorter(fileGrid);
//   sorter.Grid_SetSort(0, 3);        // by extension
//   sorter.Grid_ItemBarClick();       // after the item bar reported a pick
#include <cstdint>
#include <string>
#include <vector>

#include "grid/GridModel.h"
#include "grid/GridUpdate.h"
#include "listview/DisplayCollator.h"
#include "text/Text.h"

namespace zevro {

class ListSorter {
public:
  explicit ListSorter(GridModel& grid);

  // Rebuilds the display order for the grid's sort kind and column.
  GridUpdate Grid_Sort();
  // Sorts by `kind` on `column` unless both are current already.
  GridUpdate Grid_SetSort(int column, int kind);
  // A column title was picked (grid.pickedColumn()): another column sorts by
  // its default kind; the sorted column again: columns other than 0 toggle
  // between 1 and 2, column 0 follows nextNameKind.
  GridUpdate Grid_ItemBarClick();

  // The kind the next click on the sorted name column gives, from the
  // natural kind n and the current kind k:
  //   n 0: (k + 1) mod 3            0 -> 1 -> 2 -> 0
  //   n 3: "23122"[k]               3 -> 2 -> 1 -> 3
  //   n 4: "24122"[k]               4 -> 2 -> 1 -> 4
  //   n other: (k mod 2) + 1        2 -> 1 -> 2
  static int nextNameKind(int natural, int current);

  // The grid was refilled in its natural order with its own tree mode
  // (the file pane changes folder): the tree mode a sort put aside is
  // forgotten.
  void forgetSort() { savedTreeMode_ = -1; }

private:
  void restoreNaturalOrder();
  void sortRows(int kind, int column);
  void buildKeys(int kind, int column);
  int trackedRow() const;
  GridUpdate keepRow(int storedRow, int line);

  GridModel* grid_;
  int savedTreeMode_ = -1;  // -1: the grid shows its natural order

  // A key being sorted: its first eight bytes packed for a quick
  // comparison, where the rest lies in the key arena, and its row.
  struct Item {
    std::uint64_t head = 0;
    std::int32_t start = 0;
    std::int32_t length = 0;
    std::int32_t row = 0;
  };

  DisplayCollator collator_;
  // Reused between sorts: one key arena, no allocation per row.
  Text text_;         // the text of one row's key
  std::string keys_;  // the collation keys of every row
  std::vector<Item> items_;
  std::vector<std::int32_t> order_;  // stored rows
  std::vector<std::uint8_t> marks_;  // selection per stored row
};

}  // namespace zevro
