// zevro-cli move FILE NN: moves a catalog to another genre as the main
// window's command does, and prints its new name as on disk:
//   zevro-cli move _00cd_games.cct 7   -> _07CD_GAMES.cct
// The list file is renamed, its index entry removed, the genre opened in
// the selection list and the listing made again (which enters the new name).
// A list file of the new name already there (any case) refuses the move.
#include <ostream>

#include "app/cli/Commands.h"
#include "app/cli/SelectionSession.h"
#include "select/GenreCommands.h"
#include "text/Cp932.h"

namespace zevro::cli {

namespace {

constexpr const char* Name = "move";

int runMove(Context& context) {
  std::vector<std::string> words;
  for (const std::string& arg : context.args) {
    if (isOption(arg)) return usageError(context, Name, unknownOption(arg));
    words.push_back(arg);
  }
  if (words.size() != 2) return usageError(context, Name, "give a list file and a genre number");
  if (words[0].find('/') != std::string::npos)
    return usageError(context, Name, "give the name of a catalog of the catalog folder, not a path");
  const std::optional<int> genre = genreArgument(words[1]);
  if (!genre) return usageError(context, Name, words[1] + " is not a genre number (one or two digits)");

  SelectionSession s(context, "zevro-cli: move: ");
  if (!s.open()) return ExitError;
  CatalogSelection& selection = *s.selection;
  const NativePath& folder = selection.catalogFolder();
  if (*genre >= GenreTable::Count || !selection.genres().inUse(*genre)) {
    context.err << s.session.prefix << "genre " << words[1] << " is not in use\n";
    return ExitError;
  }
  const std::optional<std::string> onDisk = s.session.files.resolveName(folder, words[0]);
  if (!onDisk) {
    context.err << s.session.prefix << words[0] << ": no such catalog in " << folder.native() << '\n';
    return ExitError;
  }
  const CatalogMove move =
      moveCatalog(s.session.platform, selection.index(), folder, cp932::fromNativeName(*onDisk), *genre);
  switch (move.outcome) {
    case GenreOutcome::Unchanged: context.out << *onDisk << '\n'; return ExitOk;
    case GenreOutcome::Refused: return ExitNone;
    case GenreOutcome::Failed: return ExitError;
    case GenreOutcome::Done: break;
  }
  const CatalogSelection::Listing listing = selection.ChangeJanre(move.newName, *genre);
  context.out << cp932::toNativeName(move.newName) << '\n';
  if (listing.indexError || listing.genreError) {
    context.err << s.session.prefix << "cannot write the catalog index or genre table in " << folder.native() << '\n';
    return ExitError;
  }
  return ExitOk;
}

constexpr const char* Help =
    "Moves a catalog to another genre as the main window's command does: the\n"
    "list file _NNKK_label.cct becomes _MMKK_label.cct, its entry in the\n"
    "catalog index is made again, the genre is opened in the selection list.\n"
    "Prints the new name as on disk. FILE is a name in the catalog folder, any\n"
    "case; NN a genre in use (one or two digits).\n"
    "\n"
    "Options:\n"
    "  -h, --help this text\n"
    "\n"
    "Exit status:\n"
    "  0  moved, or already in that genre\n"
    "  1  refused: a list file of the new name is already there, or the name\n"
    "     has no genre number\n"
    "  2  bad input (no such catalog, a genre not in use), or the rename failed\n";

}  // namespace

Command moveCommand() { return {Name, "move FILE NN", "moves a catalog to another genre", runMove, Help}; }

}  // namespace zevro::cli
