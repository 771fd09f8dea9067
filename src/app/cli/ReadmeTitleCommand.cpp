// zevro-cli readme-title FILE: prints the title the reading would take from
// a readme as a folder comment (an empty line when it finds none), so that
// the rules can be tried on real readmes:
//   zevro-cli readme-title /media/cd/TOOLS/README.TXT   -> すごいツール Ver1.00
#include <algorithm>
#include <ostream>

#include "app/cli/Commands.h"
#include "core/FileOps.h"
#include "core/Strings.h"
#include "media/ReadmeTitle.h"
#include "platform/LinuxFileSystem.h"
#include "text/Cp932.h"

namespace zevro::cli {

namespace {

constexpr const char* Name = "readme-title";

int runReadmeTitle(Context& context) {
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
  if (words.size() != 1) return usageError(context, Name, "give one text file");
  LinuxFileSystem files;
  const NativePath file = std::filesystem::absolute(words[0]);
  std::string bytes;
  // Only a regular file is read, and only its start.
  if (const IoError error = files.readStart(file, bytes, ReadmeTitle::SampleBytes)) {
    context.err << "zevro-cli: " << Name << ": " << words[0] << ": " << error.text << '\n';
    return ExitError;
  }
  const NativePath folder = file.parent_path();
  Text path = cp932::fromNativeName(file.native());
  std::replace(path.begin(), path.end(), u'/', ch::PathSeparator);
  const Text title = ReadmeTitle::of(bytes, path, [&]() -> Text {
    const std::vector<Text> drivers = namesOf(fileops::listFiles(files, folder, u"*.DRV"));
    return drivers.empty() ? Text() : drivers.front();
  });
  context.out << toUtf8(title) << '\n';
  return ExitOk;
}

constexpr const char* Help =
    "Prints the title a reading takes from a readme for its folder's comment:\n"
    "the first 512 characters of the Shift-JIS text go through the readme\n"
    "rules (binary checks, driver folders, trial versions, label lines, the\n"
    "line scan and its phrase rules, the \"Ver.\" line). An empty line when\n"
    "the rules find no title. A Write document (.WRI) is read past its header.\n"
    "\n"
    "Options:\n"
    "  -h, --help this text\n"
    "  --         ends the options\n"
    "\n"
    "Exit status:\n"
    "  0  the file was read (whether or not it gave a title)\n"
    "  2  the file cannot be read, is no regular file, or bad arguments\n";

}  // namespace

Command readmeTitleCommand() {
  return {"readme-title", "readme-title FILE", "prints the title the readme rules take from a text file",
          runReadmeTitle, Help};
}

}  // namespace zevro::cli
