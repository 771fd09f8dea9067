// zevro-cli edit CATALOG ROWPATH [--name TEXT] [--comment TEXT] [--date TEXT]:
// changes a row of a catalog as an edit in the main window does (rename in
// the list only), then saves the catalog:
//   zevro-cli edit _03CD_GAMES.cct DOCS/README.TXT --comment "読んでね" --date "99/12/31"
// A refused edit (a changed extension, a date with other characters, a
// folder's name) saves nothing.
#include <ostream>

#include "app/cli/CatalogRow.h"
#include "app/cli/Commands.h"
#include "app/cli/Session.h"
#include "core/CatalogList.h"
#include "listview/ListEdit.h"
#include "text/Cp932.h"

namespace zevro::cli {

namespace {

constexpr const char* Name = "edit";

int runEdit(Context& context) {
  std::vector<std::string> words;
  std::optional<std::string> values[3];  // name, comment, date
  const char* const switches[3] = {"--name", "--comment", "--date"};
  bool optionsEnded = false;
  for (std::size_t i = 0; i < context.args.size(); ++i) {
    const std::string& arg = context.args[i];
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (optionsEnded || !isOption(arg)) {
      words.push_back(arg);
      continue;
    }
    int which = -1;
    for (int k = 0; k < 3; ++k)
      if (arg == switches[k]) which = k;
    if (which < 0) return usageError(context, Name, unknownOption(arg));
    if (i + 1 >= context.args.size()) return usageError(context, Name, std::string(arg) + " needs a text");
    values[which] = context.args[++i];
  }
  if (words.size() != 2) return usageError(context, Name, "give a catalog and a row path");
  if (!values[0] && !values[1] && !values[2]) return usageError(context, Name, "give --name, --comment or --date");

  Session session(context, "zevro-cli: edit: ");
  if (!session.loadOptions()) return ExitError;
  CatalogRow catalog;
  if (int status = catalog.load(session, words[0])) return status;
  const int row = catalog.row(session, words[1]);
  if (row < 0) return ExitError;
  RowStore& list = catalog.document().list();
  for (int column = 0; column < 3; ++column) {
    if (!values[column]) continue;
    const listedit::CommitResult r = listedit::CommitEdit({&list, row, nullptr, -1, column},
                                                          cp932::fromNativeName(*values[column]),
                                                          listedit::RenameMode::ListOnly, nullptr);
    if (r.ok) continue;
    if (!r.message.empty())
      context.err << session.prefix << toUtf8(r.message) << '\n';
    else if (column == 0 && list.kind(row) <= catalog::KindArchiveFolder)
      context.err << session.prefix << words[1] << ": only a file's name can be edited\n";
    else
      context.err << session.prefix << "the name is empty or has nothing before its extension\n";
    return ExitNone;
  }
  if (!list.modified()) return ExitOk;  // nothing changed: the file stays as it is
  return catalog.save(session);
}

constexpr const char* Help =
    "Changes the name, comment or date of a row of a catalog as an edit in the\n"
    "main window does, and saves the catalog as the desktop program saves it.\n"
    "The name changes in the list only (the file on the medium keeps its name,\n"
    "which the row remembers); the row's flags record what the user changed, so\n"
    "that a refresh of the list keeps it.\n"
    "\n"
    "CATALOG is a name in the catalog folder, any case; ROWPATH the row's path\n"
    "as the catalog writes it (DOCS\\README.TXT; \"/\" may stand for \"\\\").\n"
    "Control characters become blanks; line breaks are kept (as CR LF).\n"
    "\n"
    "Options:\n"
    "  --name TEXT     the new name (a file row only; its extension cannot change)\n"
    "  --comment TEXT  the new comment\n"
    "  --date TEXT     the new date: digits, blanks and / : . ' + - x × ( ) [ ] \"\n"
    "  -h, --help      this text\n"
    "\n"
    "Exit status:\n"
    "  0  stored (or nothing to change)\n"
    "  1  the edit was refused (the program's message on stderr); nothing saved\n"
    "  2  bad input (no such catalog or row), or the catalog could not be written\n";

}  // namespace

Command editCommand() {
  return {"edit", "edit CATALOG ROWPATH [--name TEXT] [--comment TEXT] [--date TEXT]",
          "changes the name, comment or date of a row", runEdit, Help};
}

}  // namespace zevro::cli
