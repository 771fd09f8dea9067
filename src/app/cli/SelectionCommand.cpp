// zevro-cli selection [--by-title|--grouped] [--media CD,FD,HD]: the rows of
// the catalog selection window, hidden ones included, after the listing pass
// the window makes (missing index entries appended, genres without a place
// joined), one a line:
//   level<TAB>kind code<TAB>shown<TAB>field 0<TAB>field 1
//   0	4	1	ゲーム	00
//   1	1	1	ゲーム集	_00cd_games.cct
//   0	5	1	文書	03
//   1	3	0	無題(DOCS)	_03hd_docs.cct
// Texts are escaped as `dump` writes them.
#include <ostream>

#include "app/cli/Commands.h"
#include "app/cli/ListFileArgument.h"
#include "app/cli/SelectionSession.h"
#include "core/Strings.h"

namespace zevro::cli {

namespace {

constexpr const char* Name = "selection";

// "CD,FD" -> 3; 0 when a piece is not a medium kind.
int mediaOf(const std::string& arg) {
  int mode = 0;
  std::size_t from = 0;
  while (from <= arg.size()) {
    std::size_t comma = arg.find(',', from);
    if (comma == std::string::npos) comma = arg.size();
    const Text piece = asciiUpper(fromUtf8(arg.substr(from, comma - from)));
    if (piece == u"CD") {
      mode |= selection::MediaCD;
    } else if (piece == u"FD") {
      mode |= selection::MediaFD;
    } else if (piece == u"HD") {
      mode |= selection::MediaHD;
    } else {
      return 0;
    }
    from = comma + 1;
  }
  return mode;
}

int runSelection(Context& context) {
  std::optional<bool> byTitle;
  int media = 0;
  for (std::size_t i = 0; i < context.args.size(); ++i) {
    const std::string& arg = context.args[i];
    if (arg == "--by-title" || arg == "--grouped") {
      byTitle = arg == "--by-title";
    } else if (arg == "--media") {
      if (i + 1 >= context.args.size()) return usageError(context, Name, "--media needs kinds like CD,FD,HD");
      media = mediaOf(context.args[++i]);
      if (media == 0) return usageError(context, Name, "--media takes CD, FD and HD separated by commas");
    } else {
      return usageError(context, Name, isOption(arg) ? unknownOption(arg) : "no arguments but the options");
    }
  }
  SelectionSession s(context, "zevro-cli: selection: ");
  if (!s.open()) return ExitError;
  CatalogSelection& selection = *s.selection;
  if (byTitle) selection.setSortByTitle(*byTitle);
  if (media != 0) selection.setMediaMode(media);
  const CatalogSelection::Listing listing = selection.build();
  const RowStore& rows = selection.rows();
  for (int r = 0; r < rows.rowCount(); ++r) {
    context.out << rows.level(r) << '\t' << rows.kind(r) << '\t' << (rows.displayRowOf(r) >= 0 ? 1 : 0) << '\t'
                << escapedField(rows.fieldView(selection::FieldTitle, r)) << '\t'
                << escapedField(rows.fieldView(selection::FieldFile, r)) << '\n';
  }
  const NativePath& folder = selection.catalogFolder();
  if (listing.indexError) {
    context.err << s.session.prefix << "cannot write the catalog index in " << folder.native() << ": "
                << listing.indexError.text << '\n';
    return ExitError;
  }
  if (listing.genreError) {
    context.err << s.session.prefix << "cannot write the genre table in " << folder.native() << ": "
                << listing.genreError.text << '\n';
    return ExitError;
  }
  return ExitOk;
}

constexpr const char* Help =
    "The rows of the catalog selection window, hidden ones included, one a\n"
    "line: level, kind code, shown (1) or hidden (0), field 0 and field 1,\n"
    "separated by TABs. Genre rows have kind 4 (open) or 5 (closed), their\n"
    "name and number; catalog rows kind 1 (CD), 2 (FD) or 3 (HD), their title\n"
    "and list file name. The listing enters missing titles in the catalog\n"
    "index, and a genre that holds list files but has no place in the genre\n"
    "table joins it, as in the desktop program. Texts are escaped as `dump`\n"
    "writes them (\\\\ \\t \\r \\n).\n"
    "\n"
    "Options:\n"
    "  --by-title       one list in title order (default: the option SortByTitle)\n"
    "  --grouped        grouped under the genres\n"
    "  --media KINDS    the medium kinds listed, like CD,FD,HD (default: the\n"
    "                   option SelMediaMode)\n"
    "  -h, --help       this text\n"
    "\n"
    "Exit status:\n"
    "  0  listed (also when there is no catalog)\n"
    "  2  bad input, or the catalog index or genre table cannot be read or written\n";

}  // namespace

Command selectionCommand() {
  return {Name, "selection [--by-title|--grouped] [--media CD,FD,HD]", "the rows of the catalog selection window",
          runSelection, Help};
}

}  // namespace zevro::cli
