#pragma once
// What `zevro-cli duplicates`, `only-here` and `diff` share: the options that
// choose catalogs and rows, the list file argument read whole, and the
// printing of found rows.
//
//   --by name,size|name,size,date  --min-size N  --media CD,FD,HD  --genre N…
//   --members  --same-medium  --json
#include <optional>
#include <string>
#include <vector>

#include "app/cli/Cli.h"
#include "app/cli/Session.h"
#include "compare/CompareScan.h"
#include "compare/FoundFiles.h"
#include "platform/FileView.h"

namespace zevro::cli {

struct CompareArguments {
  CompareFilters filters;
  bool mediaGiven = false;
  bool json = false;
  std::vector<std::string> files;  // the arguments that are no options
};

// The options a command takes, as a set of these bits.
namespace compareoption {
inline constexpr unsigned By = 1, MinSize = 2, Media = 4, Genre = 8, Members = 16, SameMedium = 32, Json = 64;
inline constexpr unsigned Filters = By | MinSize | Media | Genre | Members | Json;
}  // namespace compareoption

// An empty text when the arguments are fine, else what is wrong.
std::string parseCompareArguments(const std::vector<std::string>& args, unsigned allowed, CompareArguments& a);

// Media and genres the options left open come from the search window's
// stored settings (MediaMode, JanreMode, JanreList), as `search` takes them.
// False after a message (the option store).
bool fillStoredFilters(Session& session, CompareArguments& a);

// Names each catalog that could not be read on stderr.
void warnSkipped(Session& session, const std::vector<CatalogScan::Skipped>& skipped);

// The list file of an argument, mapped whole, with the name it has on disk.
// ExitOk, or ExitError after one line on stderr.
int viewListFile(Session& session, const std::string& argument, FileView& view, Text& fileName);

// One line a found row: [group TAB] size TAB name TAB title TAB path TAB date TAB list file,
// or a JSON object with the keys group, size, name, title, path, date, file.
void printFoundRows(std::ostream& out, const FoundFiles& found, bool withGroups, bool json);

}  // namespace zevro::cli
