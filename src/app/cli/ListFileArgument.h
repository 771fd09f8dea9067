#pragma once
// The list file a command of zevro-cli names: a name in the catalog folder
// ("_03CD_GAMES.cct", any case) or a path ("./GAMES.cct", "/data/x.cct"),
// read into a catalog list. Used by `info` and `dump`.
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "app/cli/Cli.h"
#include "core/ListFile.h"
#include "core/RowStore.h"

namespace zevro::cli {

class Session;

struct LoadedListFile {
  NativePath path;  // the file read, like "/home/kaori/.local/share/zevro/Catalog/_03CD_GAMES.cct"
  listfile::Header header;
  RowStore list;
};

// Reads the list file `argument` of `command` (like "info") into `loaded`.
// Returns ExitOk, or ExitError after one line on stderr ("zevro-cli: info:
// x.cct: not a valid list file"). A truncated file is read as far as it
// goes, with a warning line.
int loadListFileArgument(Context& context, const char* command, const std::string& argument, LoadedListFile& loaded);

// The one list file of the arguments, which may also hold the flags of
// `flags` (like "--json"); each flag given is added to `given`. nullopt
// after a usage error on stderr.
std::optional<std::string> listFileArgument(Context& context, const char* command,
                                            std::initializer_list<const char*> flags, std::vector<std::string>& given);

// Where the list file `argument` is: a bare name found in the catalog folder
// (ignoring case), else the argument as a path.
NativePath locateListFile(Session& session, const std::string& argument);

// Text for one TAB-separated field: UTF-8, "\" "\t" "\r" "\n" written as
// "\\", "\t", "\r", "\n": u"a\tb\\c" -> "a\\tb\\\\c"; a lone surrogate
// (a byte of a name that was not UTF-8) as the list file's escape:
// u"\xDCE9" -> "&#xDCE9;".
std::string escapedField(TextView text);

}  // namespace zevro::cli
