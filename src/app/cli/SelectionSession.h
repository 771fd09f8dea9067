#pragma once
// What `selection`, `genres` and `move` share: the session over the catalog
// folder with its index loaded and its genre table (CatJan.CCZ migrated from
// the options and written first when it is missing), and the selection list
// over them, as the desktop program's selection window has them.
#include <memory>
#include <optional>
#include <string>

#include "app/cli/Session.h"
#include "select/CatalogSelection.h"

namespace zevro::cli {

struct SelectionSession {
  // prefix like "zevro-cli: genres: "
  SelectionSession(Context& context, std::string prefix);
  // Options, index and genre table; false after a line on stderr.
  bool open();

  Session session;
  std::optional<CatalogSelection> selection;
};

// A genre number as given: one or two digits, 0..99; nullopt otherwise.
std::optional<int> genreArgument(const std::string& arg);

}  // namespace zevro::cli
