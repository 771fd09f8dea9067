// zevro-cli extract ARCHIVE [MEMBER] --to DIR: writes one member of an LZH
// or ZIP archive, or all of them, below DIR, as the desktop program does when
// it opens or extracts a catalogued file:
//   zevro-cli extract tool.lzh 'doc\readme.txt' --to out   -> doc/readme.txt
// stdout: each file written, relative to DIR with "/" between folders;
// stderr: "member<TAB>reason" for each member not written.
#include <filesystem>
#include <ostream>
#include <system_error>

#include "app/cli/Commands.h"
#include "media/ArchiveLibraries.h"
#include "text/Cp932.h"

namespace zevro::cli {

namespace {

constexpr const char* Name = "extract";

int runExtract(Context& context) {
  std::vector<std::string> words;
  std::string target;
  bool haveTarget = false;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < context.args.size(); ++i) {
    const std::string& arg = context.args[i];
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && arg == "--to") {
      if (i + 1 >= context.args.size()) return usageError(context, Name, "--to needs a folder");
      target = context.args[++i];
      haveTarget = true;
    } else if (!optionsEnded && isOption(arg)) {
      return usageError(context, Name, unknownOption(arg));
    } else {
      words.push_back(arg);
    }
  }
  if (words.empty() || words.size() > 2) return usageError(context, Name, "give an archive and at most one member");
  if (!haveTarget || target.empty()) return usageError(context, Name, "give the target folder with --to DIR");
  const NativePath archive = words[0];
  const ArchiveType type = archiveTypeOf(cp932::fromNativeName(archive.filename().native()));
  if (type != ArchiveType::Lzh && type != ArchiveType::Zip)
    return usageError(context, Name, "not an LZH or ZIP archive: " + words[0]);
  std::error_code error;
  if (!std::filesystem::is_regular_file(archive, error)) {
    context.err << "zevro-cli: extract: " << words[0] << ": no such archive\n";
    return ExitError;
  }
  std::filesystem::create_directories(target, error);
  if (error || !std::filesystem::is_directory(target)) {
    context.err << "zevro-cli: extract: cannot make the folder " << target << '\n';
    return ExitError;
  }
  const Text member = words.size() == 2 ? cp932::fromNativeName(words[1]) : Text();
  ArchiveLibraries reader(ListTime::Zone::Japan);
  const ExtractReport report = reader.ExtractMember(archive, type, member, target);
  if (!report.opened) {
    context.err << "zevro-cli: extract: " << words[0] << ": cannot be read as an archive\n";
    return ExitError;
  }
  for (const Text& path : report.written) context.out << cp932::toNativeName(path) << '\n';
  for (const auto& [path, why] : report.refused)
    context.err << cp932::toNativeName(path) << '\t' << refusalText(why) << '\n';
  return report.refused.empty() ? ExitOk : ExitNone;
}

constexpr const char* Help =
    "Writes one member of an LZH or ZIP archive, or every member when MEMBER\n"
    "is left out, below DIR (created when missing), with the member's folders.\n"
    "MEMBER may be written with \"\\\" or \"/\" between folders; it matches\n"
    "exactly first, then ignoring the case of ASCII letters.\n"
    "\n"
    "A member is not written when its path is absolute, has a drive prefix or\n"
    "a \"..\" component, when it is a link or special file, or when a file of\n"
    "its name is there already (nothing is ever overwritten). Links found\n"
    "below DIR are never followed.\n"
    "\n"
    "Output: each file written, relative to DIR with \"/\" between folders, one\n"
    "a line; on stderr, MEMBER<TAB>REASON for each member not written, the\n"
    "reason one of: unsafe path, not a regular file, exists, not found,\n"
    "damaged, cannot write.\n"
    "\n"
    "Options:\n"
    "  --to DIR   the folder to write into (required)\n"
    "  -h, --help this text\n"
    "  --         ends the options\n"
    "\n"
    "Exit status:\n"
    "  0  every member asked for was written\n"
    "  1  a member was refused, already there or not found (the others are\n"
    "     still written)\n"
    "  2  the archive cannot be read, or bad arguments\n";

}  // namespace

Command extractCommand() {
  return {"extract", "extract ARCHIVE [MEMBER] --to DIR", "writes members of an LZH or ZIP archive", runExtract, Help};
}

}  // namespace zevro::cli
