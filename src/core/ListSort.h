#pragma once
// The order a list's rows were recorded in, as its list file keeps it: the
// sort digit of the header (see ListFile.h), "2" by name, "3" by extension,
// "4" by kind group, "0" none. The grid's sort kinds number these orders
// alike (2 ascending by name, 3 by extension, 4 by kind group; see
// ListSorter.h), so a list's natural sort kind is storedValue(list order).
//
// A digit read from a file is kept as it is, even one that names no order,
// so that the file is written back the same.
namespace zevro {

enum class ListSort : int {
  None = 0,
  Name = 2,
  Extension = 3,
  Kind = 4,
};

constexpr int storedValue(ListSort order) { return static_cast<int>(order); }
constexpr ListSort listSortOfStored(int value) { return static_cast<ListSort>(value); }

}  // namespace zevro
