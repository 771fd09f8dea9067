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
};

// The commands known to the tool, in the order --help lists them.
const std::vector<Command>& commands();

// Exit codes: 0 success, 1 "nothing found" where a command says so,
// 2 bad input or a failure (with one line on stderr), 3 stored but
// incomplete (read: the walk met problems, listed on stderr).
inline constexpr int ExitOk = 0;
inline constexpr int ExitNone = 1;
inline constexpr int ExitError = 2;
inline constexpr int ExitIncomplete = 3;

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace zevro::cli
