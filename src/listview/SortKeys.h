#pragma once
// The texts a grid's rows are sorted by (DisplayCollator orders them).
//
// For the row "readme.txt" with size "1,234" in column 3:
//   kind 1 or 2, column 0:  u"readme.txt"
//   kind 1 or 2, column 3:  u"           1,234"   (right-aligned in 16)
//   kind 3:                 u"TXT.readme"         (extension, ".", the rest)
//   kind 4:                 u"10:TXT.readme"      (kind group, ":", as kind 3)
// A name without extension gives u".README" (kind 3) and u"99:.README"
// (kind 4); a field longer than 16 characters keeps its last 16.
#include "core/RowStore.h"
#include "text/Text.h"

namespace zevro {

class SortKeys {
public:
  static constexpr int FieldWidth = 16;

  // Appends the key of stored row `row` for a sort kind and column to `out`.
  static void append(const RowStore& store, int row, int kind, int column, Text& out);
  // The texts are ordered by DisplayCollator.
};

}  // namespace zevro
