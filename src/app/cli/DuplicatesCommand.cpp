// zevro-cli duplicates [OPTIONS]: the files kept on several media, found in
// the catalogs alone, one line per row, groups in order (most bytes wasted
// first):
//   group<TAB>size<TAB>name<TAB>catalog title<TAB>row path<TAB>date<TAB>list file
//   1	700000000	SETUP.EXE	ゲーム集	DOS\SETUP.EXE	99/12/31 23:55	_03CD_GAMES.cct
// Exit status 0 with groups, 1 without, 2 on bad input.
#include <ostream>

#include "app/cli/Commands.h"
#include "app/cli/CompareArguments.h"
#include "compare/DuplicateFinder.h"

namespace zevro::cli {

namespace {

constexpr const char* Prefix = "zevro-cli: duplicates: ";

int runDuplicates(Context& context) {
  CompareArguments a;
  const std::string wrong =
      parseCompareArguments(context.args, compareoption::Filters | compareoption::SameMedium, a);
  if (!wrong.empty()) return usageError(context, "duplicates", wrong);
  if (!a.files.empty()) return usageError(context, "duplicates", "no arguments but options");
  Session session(context, Prefix);
  if (!fillStoredFilters(session, a)) return ExitError;
  CompareScan scan(session.files, session.program.chooseCatalogFolder());
  scan.start(a.filters.media);
  const FoundFiles found = DuplicateFinder::find(scan, a.filters);
  warnSkipped(session, found.skipped);
  printFoundRows(context.out, found, true, a.json);
  return found.groups.empty() ? ExitNone : ExitOk;
}

constexpr const char* Help =
    "Finds the files kept on several media, from the catalogs alone (no medium\n"
    "is read): file rows whose names agree once case and width are folded, as\n"
    "the search folds them (\"ＡＢＣ.TXT\" and \"abc.txt\"), and whose sizes agree.\n"
    "Prints one line a row: group number, size in bytes, name, catalog title,\n"
    "row path, date and list file, separated by TABs. Groups come largest waste\n"
    "first (size x (copies - 1)), then by name. A file of size 0 never groups;\n"
    "folders never do.\n"
    "\n"
    "Options:\n"
    "  --by name,size|name,size,date   what must agree (default name,size)\n"
    "  --min-size N          leave out files smaller than N bytes\n"
    "  --media CD,FD,HD      the media read (default: the search window's stored\n"
    "                        MediaMode)\n"
    "  --genre N             a genre read, 0 to 19 (repeatable; default: the\n"
    "                        stored genres)\n"
    "  --members             files listed inside archives too\n"
    "  --same-medium         copies on one medium form groups too (the catalogs\n"
    "                        of one reading are one medium)\n"
    "  --json                one JSON object a line with the keys group, size,\n"
    "                        name, title, path, date and file\n"
    "  -h, --help            this text\n"
    "\n"
    "Exit status:\n"
    "  0  groups were found\n"
    "  1  none\n"
    "  2  bad input or the option store cannot be read\n";

}  // namespace

Command duplicatesCommand() {
  return {"duplicates", "duplicates [OPTIONS]",
          "files kept on several media: --by, --min-size N, --media, --genre N, --members, --same-medium, --json",
          runDuplicates, Help};
}

}  // namespace zevro::cli
