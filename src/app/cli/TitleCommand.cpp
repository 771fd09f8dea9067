// zevro-cli title FILE TEXT: changes a catalog's title (the comment of its
// title line, what `catalogs` lists) as the main window's change-title
// command does, and prints the list file's name:
//   zevro-cli title _00hd_photos.cct "写真 2025"   -> _00HD_PHOTOS.cct
// The catalog is loaded as the main window loads it and saved the way the
// window saves it: the file name in its written form (medium kind in capitals,
// ".cct"), a new file time (the old time is not kept), and the catalog index
// entry made again with the new title.
#include <ostream>

#include "app/cli/Commands.h"
#include "app/cli/Session.h"
#include "core/CatalogDocument.h"
#include "core/CatalogIndex.h"
#include "text/Cp932.h"

namespace zevro::cli {

namespace {

constexpr const char* Name = "title";

int runTitle(Context& context) {
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
  if (words.size() != 2) return usageError(context, Name, "give a list file and the new title");
  const std::string& file = words[0];
  if (file.find('/') != std::string::npos)
    return usageError(context, Name, "give the name of a catalog of the catalog folder, not a path");
  const Text title = cp932::fromNativeName(words[1]);
  if (title.empty()) return usageError(context, Name, "the new title is empty");

  Session session(context, "zevro-cli: title: ", title);
  if (!session.loadOptions()) return ExitError;
  Program& program = session.program;
  const NativePath folder = program.chooseCatalogFolder();
  CatalogIndex& index = program.index();
  if (IoError error = index.load()) {
    context.err << session.prefix << "catalog index in " << folder.native() << ": " << error.text << '\n';
    return ExitError;
  }
  CatalogDocument::Hooks hooks;
  // What the selection list does when it is told of the catalog: its entry.
  hooks.refreshCatalogList = [&index](TextView name) { index.titleOf(name); };
  CatalogDocument document({session.platform, folder, context.programDir, index, program.titles(), &program.icons()},
                           hooks);
  switch (document.load(cp932::fromNativeName(file), true)) {
    case CatalogDocument::LoadResult::Loaded: break;
    case CatalogDocument::LoadResult::Missing:
      context.err << session.prefix << file << ": no such catalog in " << folder.native() << '\n';
      return ExitError;
    default: return ExitError;  // the reason was reported
  }
  if (!document.changeTitle()) return ExitError;  // the reason was reported
  const Text written = document.currentFileName();
  if (IoError error = index.writeIfChanged()) {
    context.err << session.prefix << "cannot write the catalog index in " << folder.native() << ": " << error.text
                << '\n';
    return ExitError;
  }
  context.out << cp932::toNativeName(written) << '\n';
  return ExitOk;
}

constexpr const char* Help =
    "Changes the title of a catalog (the comment of its title line, what\n"
    "`catalogs` lists) as the main window's change-title command does, and\n"
    "prints the name of the list file. FILE is a name in the catalog folder,\n"
    "any case (like _00HD_PHOTOS.cct). The catalog is saved as the desktop\n"
    "program saves it: a file name in its written form, a new file time, and\n"
    "its entry in the catalog index made again with the new title.\n"
    "\n"
    "Options:\n"
    "  -h, --help this text\n"
    "  --         ends the options (a TEXT that starts with \"-\" goes after it)\n"
    "\n"
    "Exit status:\n"
    "  0  the title was changed\n"
    "  2  bad input (no such catalog, an empty title), or the catalog could not\n"
    "     be read or written\n";

}  // namespace

Command titleCommand() { return {"title", "title FILE TEXT", "changes the title of a catalog", runTitle, Help}; }

}  // namespace zevro::cli
