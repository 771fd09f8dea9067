#pragma once
// The search of `zevro-cli search`, for the commands that work on its
// results (print --search): the same options, the same order of rows.
#include <optional>
#include <string>
#include <vector>

#include "app/cli/Cli.h"
#include "app/cli/Session.h"
#include "search/SearchResults.h"

namespace zevro::cli {

// Searches with the arguments of `zevro-cli search` (TERM and options) into
// `results`. ExitOk with or without hits; ExitError with `wrong` set for bad
// arguments (the caller reports it as its own usage error), or after a
// message on stderr (the option store, a search that filled the memory).
// Catalogs that could not be searched are named on stderr. `term` gets the
// term searched for, `json` (when given) whether --json was among the options.
int searchCatalogs(Session& session, const std::vector<std::string>& args, SearchResults& results, std::string& wrong,
                   Text& term, bool* json = nullptr);

// The value of --media, "CD,HD" -> media::CD | media::HD (any case); nullopt
// for anything else.
std::optional<unsigned> mediaFilterOf(const std::string& text);
// The value of --genre, "0" to "19"; nullopt for anything else.
std::optional<int> genreNumberOf(const std::string& text);

}  // namespace zevro::cli
