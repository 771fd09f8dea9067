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
  using State = SearchIndexes::State;
  int catalogs = 0, built = 0, fresh = 0, missing = 0, stale = 0, damaged = 0, notStored = 0;
  for (const SearchListEntry& entry : buildSearchList(session.files, catalogFolder, media::All)) {
    const State state = check ? indexes.check(entry.nativeName) : indexes.update(entry.nativeName, rebuild);
    if (state == State::NoCatalog) continue;
    ++catalogs;
    switch (state) {
      case State::Fresh: ++fresh; break;
      case State::Built: ++built; break;
      case State::Missing: ++missing; break;
      case State::Stale: ++stale; break;
      case State::Damaged: ++damaged; break;
      case State::NotStored:
        ++notStored;
        context.err << Prefix << "the index of " << entry.nativeName << " could not be stored ("
                    << indexes.lastError().text << ")\n";
        break;
      case State::NoCatalog: break;
    }
  }
  if (check) {
    context.out << "checked " << catalogs << " catalogs: " << fresh << " up to date, " << missing << " missing, "
                << stale << " stale, " << damaged << " damaged\n";
    return missing + stale + damaged == 0 ? ExitOk : ExitNone;
  }
  context.out << "indexed " << catalogs << " catalogs: " << built << " built, " << fresh << " up to date";
  if (notStored > 0) context.out << ", " << notStored << " not stored";
  context.out << '\n';
  return notStored == 0 ? ExitOk : ExitError;
}

constexpr const char* Help =
    "Builds the search indexes of the catalogs: a cache in the program folder\n"
    "(\"SearchIndex\") that lets a search look only at the rows that can hold its\n"
    "term. A search builds a missing or out-of-date index by itself; deleting the\n"
    "cache loses nothing. Catalogs of the older layout are left out.\n"
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
