#include "app/cli/SelectionSession.h"

#include <ostream>

#include "core/FileOps.h"
#include "core/OptionKeys.h"

namespace zevro::cli {

SelectionSession::SelectionSession(Context& context, std::string prefix) : session(context, std::move(prefix)) {}

bool SelectionSession::open() {
  if (!session.loadOptions()) return false;
  Program& program = session.program;
  const NativePath folder = program.chooseCatalogFolder();
  std::ostream& err = session.context.err;
  if (!fileops::folderExists(session.files, folder)) {
    err << session.prefix << "the catalog folder " << folder.native() << " is not there\n";
    return false;
  }
  if (IoError error = program.index().load()) {
    err << session.prefix << "catalog index in " << folder.native() << ": " << error.text << '\n';
    return false;
  }
  GenreTable& genres = program.genres();
  if (program.genresError()) {
    err << session.prefix << "genre table in " << folder.native() << ": " << program.genresError().text << '\n';
    return false;
  }
  CatalogSelection::Services services{session.files, program.index(), genres, folder, session.context.programDir, {}};
  const OptionStore& options = program.options();
  for (int g = 0; g < GenreTable::Count; ++g)
    services.groupNames[static_cast<std::size_t>(g)] = options.readText(opt::groupKey(g), u"");
  selection.emplace(services);
  selection->setSortByTitle(options.readBoolean(opt::SortByTitle, false));
  selection->setMediaMode(options.readNumber(opt::SelMediaMode, selection::MediaAll));
  return true;
}

std::optional<int> genreArgument(const std::string& arg) {
  if (arg.empty() || arg.size() > 2) return std::nullopt;
  int n = 0;
  for (char c : arg) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  return n;
}

}  // namespace zevro::cli
