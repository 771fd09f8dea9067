// zevro-cli index [--rebuild] [--check]: the search indexes of every list
// file of the catalog folder. Without options builds those that are missing
// or out of date; --rebuild builds all of them afresh; --check only looks:
//   indexed 12 catalogs: 3 built, 9 up to date
//   checked 12 catalogs: 10 up to date, 1 missing, 1 stale, 0 damaged
#include <ostream>

#include "app/cli/Commands.h"
#include "app/cli/Session.h"
#include "search/SearchIndexes.h"
#include "search/SearchList.h"

namespace zevro::cli {

namespace {

constexpr const char* Name = "index";
constexpr const char* Prefix = "zevro-cli: index: ";

int runIndex(Context& context) {
  bool rebuild = false;
  bool check = false;
  for (const std::string& arg : context.args) {
    if (arg == "--rebuild")
      rebuild = true;
    else if (arg == "--check")
      check = true;
    else if (isOption(arg))
      return usageError(context, Name, unknownOption(arg));
    else
      return usageError(context, Name, "no arguments besides --rebuild and --check");
  }
  if (rebuild && check) return usageError(context, Name, "--rebuild and --check exclude each other");

  Session session(context, Prefix);
  const NativePath& catalogFolder = session.program.chooseCatalogFolder();
  SearchIndexes indexes(session.files, session.program.programFolder(), catalogFolder);
  if (!check) {
    SearchIndexes::Tally tally;
    if (const IoError e = indexes.updateAll(rebuild, tally)) {
      context.err << Prefix << "the search indexes could not be stored (" << e.text << ")\n";
      return ExitError;
    }
    context.out << "indexed " << tally.catalogs << " catalogs: " << tally.built << " built, " << tally.fresh
                << " up to date\n";
    return ExitOk;
  }
  using State = SearchIndexes::State;
  int catalogs = 0, fresh = 0, missing = 0, stale = 0, damaged = 0;
  for (const SearchListEntry& entry : buildSearchList(session.files, catalogFolder, media::All)) {
    const State state = indexes.check(entry.nativeName);
    if (state == State::NoCatalog) continue;
    ++catalogs;
    switch (state) {
      case State::Fresh: ++fresh; break;
      case State::Missing: ++missing; break;
      case State::Stale: ++stale; break;
      case State::Damaged: ++damaged; break;
      default: break;
    }
  }
  context.out << "checked " << catalogs << " catalogs: " << fresh << " up to date, " << missing << " missing, "
              << stale << " stale, " << damaged << " damaged\n";
  return missing + stale + damaged == 0 ? ExitOk : ExitNone;
}

constexpr const char* Help =
    "Builds the search indexes of the catalogs: a cache in the program folder\n"
    "(\"SearchIndex\") that lets a search look only at the rows that can hold its\n"
    "term, written as one file for the whole catalog folder. A search builds a\n"
    "missing or out-of-date index by itself; deleting the cache loses nothing.\n"
    "Catalogs of the older layout are left out.\n"
    "\n"
    "Options:\n"
    "  --rebuild    build every index afresh\n"
    "  --check      only report which indexes are up to date, missing, stale\n"
    "               (the list file changed) or damaged\n"
    "  -h, --help   this text\n"
    "\n"
    "Exit status:\n"
    "  0  every index is up to date (or was built)\n"
    "  1  --check: some index is missing, stale or damaged\n"
    "  2  bad input, or an index could not be stored\n";

}  // namespace

Command indexCommand() {
  return {Name, "index [--rebuild] [--check]", "builds (--rebuild) or checks (--check) the catalogs' search indexes",
          runIndex, Help};
}

}  // namespace zevro::cli
