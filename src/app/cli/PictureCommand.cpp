// zevro-cli picture add|get|remove CATALOG ROWPATH [FILE]: the pictures
// attached to catalog rows, as the main window's Edit menu attaches and
// removes them:
//   zevro-cli picture add _03CD_GAMES.cct DOCS/COVER.TXT cover.jpg   -> 001
//   zevro-cli picture get _03CD_GAMES.cct DOCS/COVER.TXT out.jpg
//   zevro-cli picture remove _03CD_GAMES.cct DOCS/COVER.TXT
#include <ostream>

#include "app/cli/CatalogRow.h"
#include "app/cli/Commands.h"
#include "app/cli/Session.h"
#include "core/CatalogList.h"
#include "text/Cp932.h"

namespace zevro::cli {

namespace {

constexpr const char* Name = "picture";

int runPicture(Context& context) {
  const std::optional<std::vector<std::string>> words = CatalogRow::words(context, Name);
  if (!words) return ExitError;
  if (words->empty()) return usageError(context, Name, "give add, get or remove");
  const std::string& action = (*words)[0];
  const std::size_t wanted = action == "remove" ? 3 : 4;
  if (action != "add" && action != "get" && action != "remove") return usageError(context, Name, "give add, get or remove");
  if (words->size() != wanted)
    return usageError(context, Name, action == "remove" ? "give a catalog and a row path" : "give a catalog, a row path and a file");

  Session session(context, "zevro-cli: picture: ");
  if (!session.loadOptions()) return ExitError;
  CatalogRow catalog;
  if (int status = catalog.load(session, (*words)[1])) return status;
  const int row = catalog.row(session, (*words)[2]);
  if (row < 0) return ExitError;
  Program& program = session.program;
  CatalogDocument& document = catalog.document();
  RowStore& list = document.list();
  const Text listName = document.currentFileName();
  AttachedPictures& pictures = program.pictures();

  if (action == "get") {
    const Text id = list.field(catalog::FieldImage, row);
    pictures.SyncPictureCache(listName);
    const std::optional<NativePath> cached = pictures.LoadAttachedPicture(listName, id);
    if (!cached) {
      context.err << session.prefix << (*words)[2] << ": no picture attached\n";
      return ExitNone;
    }
    if (IoError error = program.platform().files.copyFile(*cached, (*words)[3])) {
      context.err << session.prefix << (*words)[3] << ": " << error.text << '\n';
      return ExitError;
    }
    return ExitOk;
  }
  if (action == "add") {
    if (!pictures.AddPicture(list, row, nullptr, -1, listName, (*words)[3])) {
      context.err << session.prefix << "no picture attached\n";
      return ExitError;
    }
    if (int status = catalog.save(session)) return status;
    context.out << cp932::toNativeName(list.field(catalog::FieldImage, row)) << '\n';
    return ExitOk;
  }
  if (list.fieldView(catalog::FieldImage, row).empty()) {
    context.err << session.prefix << (*words)[2] << ": no picture attached\n";
    return ExitNone;
  }
  if (!pictures.RemovePicture(list, row, nullptr, -1, listName)) return ExitError;
  return catalog.save(session);
}

constexpr const char* Help =
    "The JPEG pictures attached to rows of a catalog, kept in the picture\n"
    "file _p_KK_LABEL.ccj beside the list file:\n"
    "  add CATALOG ROWPATH FILE     attaches FILE (replacing the row's picture)\n"
    "                               and prints the picture's id, like 001\n"
    "  get CATALOG ROWPATH OUT      writes the row's picture to OUT\n"
    "  remove CATALOG ROWPATH       takes the picture off the row\n"
    "add and remove save the catalog as the desktop program saves it.\n"
    "\n"
    "CATALOG is a name in the catalog folder, any case; ROWPATH the row's path\n"
    "as the catalog writes it (DOCS\\PHOTO.JPG; \"/\" may stand for \"\\\").\n"
    "A damaged picture file is never rewritten: add and remove then fail and\n"
    "leave it as it is.\n"
    "\n"
    "Options:\n"
    "  -h, --help this text\n"
    "\n"
    "Exit status:\n"
    "  0  done\n"
    "  1  get or remove: the row has no picture\n"
    "  2  bad input, or the picture file or catalog could not be written\n";

}  // namespace

Command pictureCommand() {
  return {"picture", "picture add|get|remove CATALOG ROWPATH [FILE]", "attaches, writes out or removes a row's picture",
          runPicture, Help};
}

}  // namespace zevro::cli
