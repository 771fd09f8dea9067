// zevro-cli kind EXT...: the kind code a reading gives a file of each
// extension and the icon it is drawn with, from the tables in use (the
// user's icons of the program folder, else the standard ones), one line each:
//   jpg<TAB>82<TAB>7
//   7z<TAB>6<TAB>6          not in the table: a file of its own type
// --json: [{"extension":"jpg","kind":82,"icon":7}, …]
#include <ostream>

#include "app/cli/Commands.h"
#include "app/cli/Session.h"
#include "app/cli/TextOutput.h"
#include "core/IconTable.h"
#include "text/Text.h"

namespace zevro::cli {

namespace {

int runKind(Context& context) {
  bool json = false;
  bool optionsEnd = false;
  std::vector<Text> extensions;
  for (const std::string& arg : context.args) {
    if (!optionsEnd && arg == "--") {
      optionsEnd = true;
    } else if (!optionsEnd && arg == "--json") {
      json = true;
    } else if (!optionsEnd && isOption(arg)) {
      return usageError(context, "kind", unknownOption(arg));
    } else {
      // "jpg" and ".jpg" alike.
      Text extension = fromUtf8(arg);
      if (extension.starts_with(u'.')) extension.erase(0, 1);
      extensions.push_back(std::move(extension));
    }
  }
  if (extensions.empty()) return usageError(context, "kind", "no extension given");

  Session session(context, "zevro-cli: kind: ");
  if (!session.loadOptions()) return ExitError;
  const IconTable& icons = session.program.icons();
  std::ostream& out = context.out;
  if (json) out << '[';
  for (std::size_t i = 0; i < extensions.size(); ++i) {
    const int kind = icons.IconCodeOf(extensions[i]);
    const int icon = icons.iconMap()[static_cast<std::size_t>(kind)];
    if (json) {
      out << (i == 0 ? "\n" : ",\n") << "{\"extension\":" << jsonString(extensions[i]) << ",\"kind\":" << kind
          << ",\"icon\":" << icon << '}';
    } else {
      out << toUtf8(extensions[i]) << '\t' << kind << '\t' << icon << '\n';
    }
  }
  if (json) out << "\n]\n";
  return ExitOk;
}

constexpr const char* Help =
    "The kind code a reading gives a file of each extension and the number of\n"
    "the icon it is drawn with, one line an extension: EXT, kind code, icon,\n"
    "separated by TABs. The tables are those in use: the icons the user chose\n"
    "in the desktop program (IconList.CCZ with MarkIcon.BMP in the program\n"
    "folder), else the standard ones. An extension not in the table gives kind\n"
    "6. EXT is written without the \".\" (a leading one is dropped), in any case.\n"
    "\n"
    "Options:\n"
    "  --json     one JSON array of {\"extension\", \"kind\", \"icon\"}\n"
    "  -h, --help this text\n"
    "\n"
    "Exit status:\n"
    "  0  shown\n"
    "  2  bad input: no extension, an unknown option, an unreadable option file\n";

}  // namespace

Command kindCommand() {
  return {"kind", "kind [--json] EXT...", "the kind code and icon of file extensions", runKind, Help};
}

}  // namespace zevro::cli
