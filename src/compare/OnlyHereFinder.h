#pragma once
// The files of one catalog that no other medium of the search list holds:
// those at risk when that medium fails. A file counts as held elsewhere
// when a catalog of another medium has a file row of the same key (folded
// name and size, and date when asked); catalogs of the same medium (the
// catalog itself, the other parts of its reading) do not count.
//
//   FoundFiles only = OnlyHereFinder::find(scan, bytes, u"_03CD_GAMES.cct", filters);
//   only.catalogs   -> {the catalog itself}, only.rows -> its files kept nowhere else, in stored order
//
// Files of size 0 hold nothing that could be lost and are never listed;
// neither are files below filters.minSize.
#include <string_view>

#include "compare/CompareScan.h"
#include "compare/FoundFiles.h"

namespace zevro {

class OnlyHereFinder {
public:
  // bytes: the list file asked about, named fileName (as spelled on disk).
  // scan: started on the search list of the filters; the catalog itself
  // may be among them. Rows refer to catalog 0 (the catalog asked about).
  static FoundFiles find(CompareScan& scan, std::string_view bytes, TextView fileName, const CompareFilters& filters);
};

}  // namespace zevro
