// zevro-cli locate CATALOG ROWPATH: where the file of a catalog row is on
// this machine now, found as the desktop program finds it when the row is
// opened, but without asking for the medium:
//   zevro-cli locate _03CD_GAMES.cct 'DOCS\README.TXT'   -> /media/kaori/GAMES/DOCS/README.TXT
//   zevro-cli locate _03CD_GAMES.cct DOCS/PACK.ZIP/README.TXT
//       -> /home/kaori/.local/share/zevro/TempFile/README.TXT (the member extracted)
#include <ostream>

#include "app/cli/CatalogRow.h"
#include "app/cli/Commands.h"
#include "app/cli/Session.h"
#include "media/RowOpener.h"

namespace zevro::cli {

namespace {

constexpr const char* Name = "locate";

int runLocate(Context& context) {
  const std::optional<std::vector<std::string>> words = CatalogRow::words(context, Name);
  if (!words) return ExitError;
  if (words->size() != 2) return usageError(context, Name, "give a catalog and a row path");
  Session session(context, "zevro-cli: locate: ");
  if (!session.loadOptions()) return ExitError;
  CatalogRow catalog;
  if (int status = catalog.load(session, (*words)[0])) return status;
  const int row = catalog.row(session, (*words)[1]);
  if (row < 0) return ExitError;
  Program& program = session.program;
  program.platform().files.removeTree(program.extractionFolder());
  const ShownCatalog shown = catalog.shown();
  const Text p = RowOpener::relativePath(*shown.list, row);
  const NativePath found = program.locator().LocateFile(shown, p, row);
  if (found.empty()) {
    context.err << session.prefix << (*words)[1] << ": not found (is the medium in its drive?)\n";
    return ExitNone;
  }
  context.out << found.native() << '\n';
  return ExitOk;
}

constexpr const char* Help =
    "Prints where the file of a catalog row is on this machine now, found as\n"
    "the desktop program finds it when the row is opened: on the fixed disk\n"
    "of the catalog's label (HD), or in the folder of a recorded disk image,\n"
    "or in the drive that holds the medium (CD, FD). Nobody is asked to\n"
    "insert the medium. A member of a catalogued LZH or ZIP archive is\n"
    "extracted into TempFile/ of the program folder and that copy is printed\n"
    "(ZIP members only with the option UseExtactZip on).\n"
    "\n"
    "CATALOG is a name in the catalog folder, any case (like _03CD_GAMES.cct);\n"
    "ROWPATH the row's path from the medium's root as the catalog writes it\n"
    "(DOCS\\PACK.ZIP\\README.TXT; \"/\" may stand for \"\\\"). A row renamed in\n"
    "the catalog is looked for under its name on the medium.\n"
    "\n"
    "Options:\n"
    "  -h, --help this text\n"
    "\n"
    "Exit status:\n"
    "  0  found; the path printed\n"
    "  1  the medium or the file is not there\n"
    "  2  bad input (no such catalog or row)\n";

}  // namespace

Command locateCommand() {
  return {"locate", "locate CATALOG ROWPATH", "prints where a catalogued file is now", runLocate, Help};
}

}  // namespace zevro::cli
