// zevro-cli only-here FILE [OPTIONS]: the files of one catalog that no other
// medium of the catalog folder holds, in the catalog's order:
//   size<TAB>name<TAB>catalog title<TAB>row path<TAB>date<TAB>list file
// Exit status 0 when there are such files, 1 when every file is kept
// elsewhere too, 2 on bad input.
#include <ostream>

#include "app/cli/Commands.h"
#include "app/cli/CompareArguments.h"
#include "compare/OnlyHereFinder.h"

namespace zevro::cli {

namespace {

constexpr const char* Prefix = "zevro-cli: only-here: ";

int runOnlyHere(Context& context) {
  CompareArguments a;
  const std::string wrong = parseCompareArguments(context.args, compareoption::Filters, a);
  if (!wrong.empty()) return usageError(context, "only-here", wrong);
  if (a.files.size() != 1) return usageError(context, "only-here", "give one list file");
  Session session(context, Prefix);
  if (!fillStoredFilters(session, a)) return ExitError;
  FileView view;
  Text fileName;
  if (const int status = viewListFile(session, a.files[0], view, fileName); status != ExitOk) return status;
  CompareScan scan(session.files, session.program.chooseCatalogFolder());
  scan.start(a.filters.media);
  const FoundFiles found = OnlyHereFinder::find(scan, view.bytes(), fileName, a.filters);
  warnSkipped(session, found.skipped);
  printFoundRows(context.out, found, false, a.json);
  return found.rows.empty() ? ExitNone : ExitOk;
}

constexpr const char* Help =
    "Lists the files of the catalog FILE that no other medium holds, as the\n"
    "catalogs of the catalog folder tell it: those at risk should that medium\n"
    "fail. A file is held elsewhere when a catalog of another medium has a file\n"
    "of the same name (case and width folded) and size. FILE is a list file\n"
    "name in the catalog folder or a path. Prints one line a file: size in\n"
    "bytes, name, catalog title, row path, date and list file, separated by\n"
    "TABs. Files of size 0 are never listed.\n"
    "\n"
    "Options:\n"
    "  --by name,size|name,size,date   what must agree (default name,size)\n"
    "  --min-size N          leave out files smaller than N bytes\n"
    "  --media CD,FD,HD      the media compared with (default: the search\n"
    "                        window's stored MediaMode)\n"
    "  --genre N             a genre compared with, 0 to 19 (repeatable;\n"
    "                        default: the stored genres)\n"
    "  --members             files listed inside archives too\n"
    "  --json                one JSON object a line with the keys size, name,\n"
    "                        title, path, date and file\n"
    "  -h, --help            this text\n"
    "\n"
    "Exit status:\n"
    "  0  files were found that no other medium holds\n"
    "  1  none\n"
    "  2  bad input, FILE is no list file, or the option store cannot be read\n";

}  // namespace

Command onlyHereCommand() {
  return {"only-here", "only-here FILE [OPTIONS]",
          "files of FILE no other medium holds: --by, --min-size N, --media, --genre N, --members, --json",
          runOnlyHere, Help};
}

}  // namespace zevro::cli
