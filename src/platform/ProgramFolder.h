#pragma once
// The program folder: where the options, histories, icon table, Backup/ and
// temp/ live, like "/home/kaori/.local/share/zevro". The first of these wins:
//   1. the folder given with --program-dir DIR,
//   2. $ZEVRO_HOME,
//   3. $XDG_DATA_HOME/zevro (only an absolute XDG_DATA_HOME counts),
//   4. $HOME/.local/share/zevro.
// Empty values count as unset; relative folders of 1 and 2 are taken from the
// current folder. The folder is created, with its parents, when missing.
#include <functional>
#include <string>

#include "platform/FileSystem.h"

namespace zevro {

struct ProgramFolderResult {
  NativePath path;    // absolute, no trailing "/"; empty on error
  std::string error;  // UTF-8, one line, like "cannot create the program folder /x/zevro: Permission denied"
};

// The value of an environment variable, "" when unset.
using EnvironmentLookup = std::function<std::string(const char* name)>;

// The folder the rules choose, without touching the disk; empty when neither
// of the variables nor HOME gives one.
NativePath chooseProgramFolder(const std::string& argument, const EnvironmentLookup& environment);

// Chooses the folder and creates it when missing.
ProgramFolderResult settleProgramFolder(FileSystem& files, const std::string& argument,
                                        const EnvironmentLookup& environment);

// The same on the machine's own file system.
ProgramFolderResult settleProgramFolder(const std::string& argument, const EnvironmentLookup& environment);

// Where an audio CD's player settings (CDPlayer.ini) are looked for: the
// folder WINDIR names when it is set (a Windows folder mounted or copied
// here), else the program folder.
NativePath playerSettingsFolder(const NativePath& programFolder, const EnvironmentLookup& environment);

}  // namespace zevro
