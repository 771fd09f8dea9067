#pragma once
// What a command works on: the machine's file system, the headless Ui and the
// program over the settled program folder (media/Program.h), which builds
// every service the same way the desktop program does.
//
//   Session session(context, "zevro-cli: search: ");
//   if (!session.loadOptions()) return ExitError;     after a message on stderr
//   session.program.chooseCatalogFolder();
#include <string>

#include "app/cli/Cli.h"
#include "app/cli/HeadlessUi.h"
#include "media/Program.h"
#include "platform/LinuxFileSystem.h"

namespace zevro::cli {

class Session {
public:
  // prefix like "zevro-cli: read: "; inputAnswer: what the input box answers
  // (like the title of --title).
  Session(Context& context, std::string prefix, Text inputAnswer = {});

  // Loads ZEVRO32.Opt; false after a message naming the file.
  bool loadOptions();

  Context& context;
  const std::string prefix;
  LinuxFileSystem files;
  HeadlessUi ui;
  Platform platform{files, ui};
  Program program;
};

}  // namespace zevro::cli
