// zevro-cli convert: the list files of earlier versions in the catalog
// folder brought to the current layout, as the desktop program does when it
// meets them. One line per file converted, its name as written and the
// generation it had:
//   _03CD_GAMES.cct	AX
//   _01FD_OLD.cct	untagged
// A file that cannot be converted stays as it is: "NAME<TAB>text" on stderr
// and the exit status 1. "_????_*.DAT" files of still older versions are
// only told about (on stderr), never converted.
#include <ostream>

#include "app/cli/Commands.h"
#include "app/cli/Session.h"
#include "core/OldDataConversion.h"
#include "core/Startup.h"
#include "text/Utf8.h"

namespace zevro::cli {

namespace {

constexpr const char* Name = "convert";

int runConvert(Context& context) {
  for (const std::string& arg : context.args) {
    if (isOption(arg)) return usageError(context, Name, unknownOption(arg));
    return usageError(context, Name, "takes no arguments");
  }
  Session session(context, "zevro-cli: convert: ");
  if (!session.loadOptions()) return ExitError;
  Program& program = session.program;
  const NativePath catalogs = program.chooseCatalogFolder();
  if (hasOldListFiles(session.files, catalogs))
    session.ui.showMessage(OldDataConversion::OldVersionMessage, mb::Ok, u"");
  OldDataConversion conversion({session.platform, catalogs, program.programFolder(), program.icons()});
  const OldDataConversion::Outcome outcome = conversion.Update_AX_to_BX();
  for (const OldDataConversion::Converted& c : outcome.converted)
    context.out << toUtf8(c.name) << '\t' << OldDataConversion::nameOf(c.from) << '\n';
  for (const OldDataConversion::Failed& f : outcome.failed)
    context.err << toUtf8(f.name) << '\t' << HeadlessUi::plainLine(f.text) << '\n';
  return outcome.failed.empty() ? ExitOk : ExitNone;
}

constexpr const char* Help =
    "Converts the list files of earlier versions in the catalog folder: files\n"
    "without a tag and files tagged \"AH\" or \"AX\" become current \"BX\" files\n"
    "(records in the current format, kind codes from the icon table, tree\n"
    "flags and marks derived). The original goes to the program folder's\n"
    "Backup folder and the new file gets its time plus one second. Files of\n"
    "any other tag are left alone. \"_????_*.DAT\" files of still older\n"
    "versions are only reported on stderr.\n"
    "\n"
    "Output: \"NAME<TAB>OLD\" per converted file, OLD being AX, AH or untagged.\n"
    "A file that cannot be converted: \"NAME<TAB>text\" on stderr; it stays as\n"
    "it was.\n"
    "\n"
    "Exit status:\n"
    "  0  done (also when nothing needed converting)\n"
    "  1  some file could not be converted\n"
    "  2  bad arguments or unreadable options\n";

}  // namespace

Command convertCommand() {
  return {Name, "convert", "converts list files of earlier versions in the catalog folder", runConvert, Help};
}

}  // namespace zevro::cli
