#pragma once
// Bringing a catalog up to date with its medium: the medium is read again
// into a fresh list, and what the user changed in the old one is carried
// over to the rows that are still there.
//
//   old row DOCS\README.TXT, flags "2", comment u"my notes"
//   fresh row DOCS\README.TXT, comment u"Read me first"  -> u"my notes", flags "2"
//   fresh row with the same comment as the user's         -> flags "0" (nothing of the user's left)
//   old row GONE.TXT (no longer on the medium)            -> dropped with its edits
//
// The flag bits of a row (field 4) tell what the user changed: 1 the name
// (field 5 keeps the name on the medium), 2 the comment, 4 the date, 8 an
// attached picture (field 6). Rows are matched by their path from the medium
// root, on the medium's names; a hash of the edited rows' paths keeps the
// merge linear in the number of rows.
//
// A catalog that is one part of a medium recorded as several catalogs (see
// media/ReadingSplit.h) is refreshed as that part: its folder is read again
// and only the entries of that folder that belong to it are kept (those it
// held, and new ones no other part of the medium holds).
#include <functional>
#include <optional>
#include <set>
#include <vector>

#include "core/RowStore.h"
#include "media/MediumLocator.h"
#include "platform/FileSystem.h"
#include "text/Text.h"

namespace zevro {

class ListRefresh {
public:
  // Carries the user's edits of `shown` (a catalog list) over to `fresh` (a
  // new reading of its medium with tree flags derived), in place. The title
  // line keeps the catalog title, the source folder and the part mark of the
  // shown list. Answers how many edited rows found their row again; -1
  // when memory ran out (fresh is then empty).
  static int mergeUserEdits(const RowStore& shown, RowStore& fresh);

  // What is read again for the shown catalog.
  struct Source {
    enum class Outcome { Found, NoMedium, SameAsSource };
    Outcome outcome = Outcome::NoMedium;
    Text path;  // the catalog path to read: u"E:", u"E:\\SOFT\\TOOLS"
    // A part of a split medium: the level-1 names to keep of the folder
    // read, given as a test (empty: the whole reading is the catalog).
    std::function<bool(TextView name)> keepEntry;
  };
  // Finds the medium of the shown catalog (catalogFolder holds the other
  // parts of a split medium) and decides what to read:
  //   a folder reading ("_00HD_WORK SOFT&TOOLS.CCT")  its folder on the medium
  //   a whole medium                                  its drive; SameAsSource when the
  //                                                   title line's source folder is that drive
  //   a part of a split medium                        the part's folder, with keepEntry
  static Source sourceOf(MediumLocator& locator, FileSystem& files, const NativePath& catalogFolder,
                         const ShownCatalog& shown);

  // Keeps of a folder reading only the level-1 entries that pass the test,
  // each with its rows below; the title line's total follows. When memory
  // runs out the store is left empty.
  static void keepEntries(RowStore& fresh, const std::function<bool(TextView name)>& keep);

  // The level-1 names of a catalog list.
  static std::set<Text> topNames(const RowStore& list);
};

}  // namespace zevro
