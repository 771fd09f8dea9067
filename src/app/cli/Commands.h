#pragma once
// Every command of zevro-cli, one function each, defined in its own file
// (InfoCommand.cpp, DumpCommand.cpp …) and listed in the table of Cli.cpp.
#include "app/cli/Cli.h"

namespace zevro::cli {

// Commands are declared here, one line each:
// Command infoCommand();
Command catalogsCommand();
Command infoCommand();
Command dumpCommand();
Command optionsCommand();
Command drivesCommand();
Command readCommand();
Command searchCommand();
Command indexCommand();
Command titleCommand();
Command extractCommand();
Command kindCommand();
#ifdef ZEVRO_CLI_PRINT
Command printCommand();
#endif
Command readmeTitleCommand();
Command selectionCommand();
Command genresCommand();
Command moveCommand();
Command exportCommand();
Command backupCommand();
Command convertCommand();
Command locateCommand();
Command pictureCommand();
Command diskImageCommand();
Command editCommand();
Command refreshCommand();
Command duplicatesCommand();
Command onlyHereCommand();
Command diffCommand();

}  // namespace zevro::cli
