// zevro-cli info FILE: what the header and the title line of a list file say,
// one key and value a line:
//   tag     BX
//   rows    1234          stored rows, the title line included
//   kind    2             medium kind of the file name: 1 CD, 2 FD, 3 HD
//   genre   3
//   label   MYDISC        field 0 of the title line
//   title   ゲーム集       field 1 of the title line
//   sort    2             2 name, 3 extension, 4 kind
//   free    123456789     free bytes of the medium when it was read
//   stamp   240131235959  the icon-table stamp its kind codes follow, as
//                         stored (12 blanks: the standard icons)
// Texts are escaped as in `dump` ("\\", "\t", "\r", "\n").
#include <ostream>

#include "app/cli/Commands.h"
#include "app/cli/ListFileArgument.h"
#include "core/CatalogList.h"
#include "core/ListFileName.h"
#include "text/Cp932.h"

namespace zevro::cli {

namespace {

int runInfo(Context& context) {
  std::vector<std::string> flags;
  const std::optional<std::string> file = listFileArgument(context, "info", {}, flags);
  if (!file) return ExitError;
  LoadedListFile loaded;
  if (int status = loadListFileArgument(context, "info", *file, loaded)) return status;
  const Text name = cp932::fromNativeName(loaded.path.filename().native());
  const RowStore& list = loaded.list;
  std::ostream& out = context.out;
  out << "tag\t" << escapedField(cp932::decode(loaded.header.tag)) << '\n'
      << "rows\t" << list.rowCount() << '\n'
      << "kind\t" << listfilename::mediumKindOf(name) << '\n'
      << "genre\t" << listfilename::genreOf(name) << '\n'
      << "label\t" << escapedField(list.fieldView(catalog::FieldName, 0)) << '\n'
      << "title\t" << escapedField(list.fieldView(catalog::FieldComment, 0)) << '\n'
      << "sort\t" << storedValue(list.sortOrder()) << '\n'
      << "free\t" << loaded.header.freeSpace << '\n'
      << "stamp\t" << escapedField(loaded.header.iconStamp) << '\n';
  return ExitOk;
}

constexpr const char* Help =
    "What the header and the title line of a list file say, one key and value\n"
    "a line: tag, rows, kind, genre, label, title, sort, free, stamp (the\n"
    "icon-table stamp as stored: \"YYMMDDhhmmss\", 12 blanks for the standard\n"
    "icons). FILE is a name in\n"
    "the catalog folder (any case, like _03CD_GAMES.cct) or a path.\n"
    "\n"
    "Options:\n"
    "  -h, --help this text\n"
    "\n"
    "Exit status:\n"
    "  0  shown (a truncated file is shown as far as it goes, with a warning)\n"
    "  2  bad input: no such file, not a list file, or of the old layout\n";

}  // namespace

Command infoCommand() { return {"info", "info FILE", "the header and title line of a list file", runInfo, Help}; }

}  // namespace zevro::cli
