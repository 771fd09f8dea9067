#pragma once
// zevro-cli: the scriptable face of ZEVRO over the same logic and files as the
// desktop program. Output is UTF-8, one record a line, fields separated by TAB.
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace zevro::cli {

// What every command gets: its own arguments (after the command name), the
// settled program folder and the output streams.
struct Context {
  std::vector<std::string> args;
  NativePath programDir;
  std::ostream& out;
  std::ostream& err;
};

struct Command {
  const char* name;
  const char* usage;    // like "info FILE"
  const char* summary;  // one line for --help
  std::function<int(Context&)> run;
  // What `zevro-cli info --help` prints after the usage line: what the
  // command does, its options and its exit statuses, like
  //   "The header and title line of a list file …\n\nExit status:\n  0 …"
  const char* help = "";
};

// The commands known to the tool, in the order --help lists them.
const std::vector<Command>& commands();

// Exit codes: 0 done (with hits, for a search); 1 refused, nothing found or
// the medium not found, where a command says so; 2 bad input or a failure
// (with one line on stderr); 3 stored but incomplete (read: the walk met
// problems, listed on stderr).
inline constexpr int ExitOk = 0;
inline constexpr int ExitNone = 1;
inline constexpr int ExitError = 2;
inline constexpr int ExitIncomplete = 3;

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// --- Help and usage errors, shared by every command (CommandHelp.cpp) -------

// True when the arguments of a command ask for its help ("--help" or "-h"
// before a "--" that ends the options).
bool asksForHelp(const std::vector<std::string>& args);
// "Usage: zevro-cli read [OPTIONS] PATH", a blank line and command.help.
void printCommandHelp(std::ostream& out, const Command& command);
// An argument that reads as an option: "-x", "--name"; not "-" nor "--".
bool isOption(const std::string& arg);
// "unknown option --frobnicate"
std::string unknownOption(const std::string& arg);
// One line on stderr, "zevro-cli: read: WHAT (see zevro-cli read --help)";
// answers ExitError.
int usageError(Context& context, const char* command, const std::string& what);

}  // namespace zevro::cli
