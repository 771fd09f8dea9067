#include <ostream>

#include "app/cli/Cli.h"

namespace zevro::cli {

bool asksForHelp(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--") return false;
    if (arg == "--help" || arg == "-h") return true;
  }
  return false;
}

void printCommandHelp(std::ostream& out, const Command& command) {
  out << "Usage: zevro-cli [--program-dir DIR] " << command.usage << "\n\n" << command.help;
}

bool isOption(const std::string& arg) { return arg.size() > 1 && arg[0] == '-' && arg != "--"; }

std::string unknownOption(const std::string& arg) { return "unknown option " + arg; }

int usageError(Context& context, const char* command, const std::string& what) {
  context.err << "zevro-cli: " << command << ": " << what << " (see zevro-cli " << command << " --help)\n";
  return ExitError;
}

}  // namespace zevro::cli
