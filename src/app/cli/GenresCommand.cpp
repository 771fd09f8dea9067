// zevro-cli genres [add NAME | rename NN NAME | delete NN | up NN | down NN]:
// the genres of the catalog folder, one a line in list order:
//   NN<TAB>name<TAB>state character<TAB>number of its list files
//   00	ゲーム	3	12
//   03	文書	1	0
// or one of the commands of the selection window's genre menu, with its
// rules: a genre holding list files ("_NN?D_*.CCT", any medium) is not
// deleted, the first genre does not move up, at most 20 genres.
#include <ostream>

#include "app/cli/Commands.h"
#include "app/cli/ListFileArgument.h"
#include "app/cli/SelectionSession.h"
#include "core/FileOps.h"
#include "core/Numbers.h"
#include "core/Strings.h"
#include "select/GenreCommands.h"
#include "text/Cp932.h"

namespace zevro::cli {

namespace {

constexpr const char* Name = "genres";

int listFilesOf(FileSystem& files, const NativePath& folder, int genre) {
  int n = 0;
  forEachName(fileops::listFiles(files, folder, u"_" + zeroPadded(genre, 2) + u"?D_*.CCT"), [&n](TextView) { ++n; });
  return n;
}

int exitOf(GenreOutcome outcome) {
  switch (outcome) {
    case GenreOutcome::Done:
    case GenreOutcome::Unchanged: return ExitOk;
    case GenreOutcome::Refused: return ExitNone;
    default: return ExitError;
  }
}

int runGenres(Context& context) {
  std::vector<std::string> words;
  bool optionsEnded = false;
  for (const std::string& arg : context.args) {
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && isOption(arg)) {
      return usageError(context, Name, unknownOption(arg));
    } else {
      words.push_back(arg);
    }
  }
  const std::string verb = words.empty() ? "" : words[0];
  const std::size_t wanted = verb.empty() ? 0 : verb == "add" || verb == "delete" || verb == "up" || verb == "down" ? 2
                                              : verb == "rename"                                                     ? 3
                                                                                                                     : 99;
  if (wanted == 99) return usageError(context, Name, "unknown genre command " + verb);
  if (words.size() != wanted) return usageError(context, Name, "wrong number of arguments for " + verb);
  std::optional<int> genre;
  if (verb != "add" && !verb.empty()) {
    genre = genreArgument(words[1]);
    if (!genre) return usageError(context, Name, words[1] + " is not a genre number (one or two digits)");
  }

  SelectionSession s(context, "zevro-cli: genres: ");
  if (!s.open()) return ExitError;
  CatalogSelection& selection = *s.selection;
  GenreTable& genres = selection.genres();
  const NativePath& folder = selection.catalogFolder();
  if (verb.empty()) {
    for (int g : genres.inOrder()) {
      context.out << cp932::toNativeName(zeroPadded(g, 2)) << '\t' << escapedField(genres.name(g)) << '\t'
                  << toUtf8(Text(1, genres.state(g))) << '\t' << listFilesOf(s.session.files, folder, g) << '\n';
    }
    return ExitOk;
  }
  if (genre && (*genre >= GenreTable::Count || !genres.inUse(*genre))) {
    context.err << s.session.prefix << "genre " << words[1] << " is not in use\n";
    return ExitError;
  }
  selection.build();
  GenreCommands commands(selection, s.session.platform);
  if (verb == "add") {
    const Text name = cp932::fromNativeName(words[1]);
    if (GenreTable::storableName(name).empty()) return usageError(context, Name, "the genre name is empty");
    GenreOutcome outcome = GenreOutcome::Done;
    const int added = commands.addNamed(name, &outcome);
    if (added < 0) {
      if (outcome == GenreOutcome::Refused && genres.lowestFree() >= 0)
        context.err << s.session.prefix << "the genre names would not fit in " << GenreTable::FileName << '\n';
      return exitOf(outcome);
    }
    context.out << toUtf8(zeroPadded(added, 2)) << '\n';
    return ExitOk;
  }
  if (verb == "rename") {
    const Text name = cp932::fromNativeName(words[2]);
    if (GenreTable::storableName(name).empty()) return usageError(context, Name, "the genre name is empty");
    const GenreOutcome outcome = commands.renameTo(*genre, name);
    if (outcome == GenreOutcome::Refused)
      context.err << s.session.prefix << "the genre names would not fit in " << GenreTable::FileName << '\n';
    return exitOf(outcome);
  }
  if (verb == "delete") return exitOf(commands.remove(*genre, false));
  if (verb == "up") return exitOf(commands.moveUp(*genre));
  return exitOf(commands.moveDown(*genre));
}

constexpr const char* Help =
    "Without a command: the genres in use, in list order, one a line: the\n"
    "genre number, its name, its state in the selection list (3 open, 1 closed\n"
    "by the user, 0 closed) and how many list files it holds, separated by\n"
    "TABs. A catalog folder without CatJan.CCZ gets it from the options first.\n"
    "\n"
    "Commands (NN: a genre number, one or two digits):\n"
    "  add NAME         a new genre at the lowest free number, last in the list;\n"
    "                   prints its number\n"
    "  rename NN NAME   renames a genre (\"|\" is kept as \"｜\", control\n"
    "                   characters are dropped)\n"
    "  delete NN        deletes a genre that holds no list file\n"
    "  up NN, down NN   moves a genre one place in the list\n"
    "\n"
    "Options:\n"
    "  -h, --help       this text\n"
    "  --               ends the options (a NAME that starts with \"-\" goes after it)\n"
    "\n"
    "Exit status:\n"
    "  0  done, or nothing to change (the same name, the first genre up, the\n"
    "     last down)\n"
    "  1  refused: 20 genres in use, the genre holds list files, the names too\n"
    "     long for the genre table\n"
    "  2  bad input (a genre not in use), or a file cannot be read or written\n";

}  // namespace

Command genresCommand() {
  return {Name, "genres [add|rename|delete|up|down …]", "the genres, or a change of them", runGenres, Help};
}

}  // namespace zevro::cli
