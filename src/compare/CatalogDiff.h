#pragma once
// What changed between two catalogs (two readings of one medium, or any
// two): file rows added, removed, changed (same row path, other size or
// date) and moved (the same file under another path). Rows are matched by
// row path without regard to letter case, as the medium's file system
// matches names, so a path that only changed case is the same file.
//
//   CatalogDiff::Options options;   // members off: files listed in archives are left out
//   std::vector<CatalogDiff::Change> changes = CatalogDiff::compare(oldBytes, newBytes, options);
//     {Added,   u"NEW.TXT",          10, u"24/01/02 10:00"}
//     {Changed, u"DOCS\\README.TXT", 20, u"24/01/02 10:00", old size 10, old date u"99/12/31 23:55"}
//     {Moved,   u"B\\X.TXT",         30, u"24/01/01 09:00", old path u"A\\X.TXT"}
//     {Removed, u"OLD.TXT",          40, u"99/12/31 23:55"}
//
// A removed row and an added row of the same key (folded name and size)
// become one move when that key is removed once and added once; otherwise
// they stay a removal and an addition. Changes come sorted by path (case
// folded), a move at its new path.
#include <cstdint>
#include <string_view>
#include <vector>

#include "compare/SameFileKey.h"
#include "text/Text.h"

namespace zevro {

class CatalogDiff {
public:
  enum class Kind { Added, Removed, Changed, Moved };

  struct Change {
    Kind kind = Kind::Added;
    Text path;  // the new path; the old one for Removed
    std::uint64_t size = 0;
    Text date;
    Text oldPath;  // Moved: where it was
    std::uint64_t oldSize = 0;  // Changed: what it was
    Text oldDate;
  };

  struct Options {
    bool members = false;  // files listed inside archives too
    SameFileKey::By by = SameFileKey::By::NameSize;  // the key of a move
  };

  // Both are list files' bytes of the current layout; a file that is not
  // reads as a catalog without files.
  static std::vector<Change> compare(std::string_view oldBytes, std::string_view newBytes, const Options& options);

  // "+", "-", "~", ">"
  static char markOf(Kind kind);
};

}  // namespace zevro
