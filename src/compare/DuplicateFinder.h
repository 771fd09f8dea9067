#pragma once
// Files kept on several media: one pass over the catalogs of the search
// list keys every file row by its folded name and size (and date), and the
// keys met twice or more become groups, sorted by the bytes they waste
// (size x (copies - 1)), largest first, then by name.
//
//   CompareScan scan(files, catalogFolder, hooks);
//   scan.start(filters.media);
//   FoundFiles found = DuplicateFinder::find(scan, filters);
//   found.groups[0] -> {size 700000000, first 0, count 3}: three copies of one file
//
// A group needs rows on two media at least; with filters.sameMedium two
// copies on one medium form a group as well. A size of 0 never groups.
//
// The pass keeps 16 bytes a file row (a hash of the whole key, size
// included, the catalog and the row) and 8 bytes a row of any kind (where
// its record starts and which row it lies below); only the rows whose
// hashes meet are read again, straight from those places, for their names
// and paths, and their keys are compared in full there, so that rows whose
// keys merely hash alike are never taken for copies.
#include "compare/CompareScan.h"
#include "compare/FoundFiles.h"

namespace zevro {

class DuplicateFinder {
public:
  // `threads`: how many threads walk the catalogs (each takes whole
  // catalogs; the result is the same whatever their number); 1 walks them
  // on the calling thread, 0 takes threadsToUse(). The scan's hooks always
  // run on the calling thread; its file system is read (viewFile, stat)
  // from the others too.
  static FoundFiles find(CompareScan& scan, const CompareFilters& filters, int threads = 0);
  // The machine's cores, at most 4; 1 on a machine of two cores or fewer.
  static int threadsToUse();
};

}  // namespace zevro
