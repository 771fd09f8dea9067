#include "app/cli/Cli.h"

#include <cerrno>
#include <cstdlib>
#include <ios>
#include <ostream>

#include "app/cli/Commands.h"
#include "app/cli/TextOutput.h"
#include "platform/ProgramFolder.h"

#ifndef ZEVRO_VERSION
#define ZEVRO_VERSION "0.0.0"
#endif

namespace zevro::cli {

const std::vector<Command>& commands() {
  static const std::vector<Command> table = {
      // One line per command, in the order --help lists them:
      catalogsCommand(), infoCommand(), dumpCommand(),   optionsCommand(),
      drivesCommand(),   readCommand(), searchCommand(), indexCommand(), titleCommand(), extractCommand(), readmeTitleCommand(),
      kindCommand(),     exportCommand(), backupCommand(), convertCommand(),
#ifdef ZEVRO_CLI_PRINT
      printCommand(),
#endif
      selectionCommand(), genresCommand(), moveCommand(),
      locateCommand(),   pictureCommand(), diskImageCommand(), editCommand(), refreshCommand(),
      duplicatesCommand(), onlyHereCommand(), diffCommand(),
  };
  return table;
}

namespace {

void printHelp(std::ostream& out) {
  out << "Usage: zevro-cli [--program-dir DIR] COMMAND [ARGUMENTS]\n"
         "       zevro-cli --help | --version\n"
         "\n"
         "The headless tool of ZEVRO, the disk catalogue. It works on the same\n"
         "program folder, options and catalog folder as the desktop program.\n"
         "\n"
         "Options:\n"
         "  --program-dir DIR  the program folder (default: $ZEVRO_HOME, else\n"
         "                     $XDG_DATA_HOME/zevro, else ~/.local/share/zevro)\n"
         "  --help             this text\n"
         "  --version          the version\n";
  if (commands().empty()) {
    out << "\nNo commands yet.\n";
    return;
  }
  out << "\nCommands:\n";
  for (const Command& c : commands()) {
    std::string usage = c.usage;
    out << "  " << usage;
    for (std::size_t n = usage.size(); n < 30; ++n) out << ' ';
    out << ' ' << c.summary << '\n';
  }
  out << "\n"
         "`zevro-cli COMMAND --help` tells a command's options.\n"
         "\n"
         "Exit status:\n"
         "  0  done (a search found something)\n"
         "  1  refused, nothing found, or the medium is not in its drive\n"
         "  2  bad input (an unknown command or option, a missing argument) or a failure\n";
}

}  // namespace

namespace {

int runCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string programDirArg;
  std::size_t i = 0;
  for (; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      printHelp(out);
      return ExitOk;
    }
    if (a == "--version") {
      out << "zevro-cli " << ZEVRO_VERSION << '\n';
      return ExitOk;
    }
    if (a == "--program-dir") {
      if (i + 1 >= args.size()) {
        err << "zevro-cli: --program-dir needs a folder\n";
        return ExitError;
      }
      programDirArg = args[++i];
      continue;
    }
    if (a.rfind("--program-dir=", 0) == 0) {
      programDirArg = a.substr(14);
      continue;
    }
    if (a.rfind("-", 0) == 0) {
      err << "zevro-cli: unknown option " << a << " (see --help)\n";
      return ExitError;
    }
    break;
  }

  if (i >= args.size()) {
    printHelp(err);
    return ExitError;
  }

  const std::string& name = args[i];
  const Command* command = nullptr;
  for (const Command& c : commands())
    if (name == c.name) command = &c;
  if (!command) {
    err << "zevro-cli: unknown command " << name << " (see --help)\n";
    return ExitError;
  }

  const std::vector<std::string> commandArgs(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
  if (asksForHelp(commandArgs)) {
    printCommandHelp(out, *command);
    return ExitOk;
  }

  ProgramFolderResult folder = settleProgramFolder(programDirArg, [](const char* key) -> std::string {
    const char* v = std::getenv(key);
    return v ? std::string(v) : std::string();
  });
  if (!folder.error.empty()) {
    err << "zevro-cli: " << folder.error << '\n';
    return ExitError;
  }

  Context context{commandArgs, folder.path, out, err};
  return command->run(context);
}

}  // namespace

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  // The first failed write ends the command: its errno is still fresh then
  // (a later flush would not know it), and nothing more is worth printing.
  const std::ios::iostate exceptions = out.exceptions();
  out.exceptions(std::ios::badbit);
  int status = ExitError;
  int code = 0;
  try {
    status = runCommand(args, out, err);
  } catch (const std::ios_base::failure&) {
    code = errno;
  }
  return finishOutput(out, err, status, code, exceptions);
}

}  // namespace zevro::cli
