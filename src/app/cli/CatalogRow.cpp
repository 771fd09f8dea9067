#include "app/cli/CatalogRow.h"

#include <ostream>

#include "core/CatalogIndex.h"
#include "text/Cp932.h"

namespace zevro::cli {

Text CatalogRow::catalogPath(const std::string& rowPath) {
  Text p = cp932::fromNativeName(rowPath);
  for (char16_t& c : p)
    if (c == u'/') c = ch::PathSeparator;
  while (!p.empty() && p.front() == ch::PathSeparator) p.erase(0, 1);
  return p;
}

std::optional<std::vector<std::string>> CatalogRow::words(Context& context, const char* command) {
  std::vector<std::string> out;
  bool optionsEnded = false;
  for (const std::string& arg : context.args) {
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && isOption(arg)) {
      usageError(context, command, unknownOption(arg));
      return std::nullopt;
    } else {
      out.push_back(arg);
    }
  }
  return out;
}

int CatalogRow::load(Session& session, const std::string& file) {
  Context& context = session.context;
  if (file.find('/') != std::string::npos) {
    context.err << session.prefix << "give the name of a catalog of the catalog folder, not a path\n";
    return ExitError;
  }
  Program& program = session.program;
  const NativePath folder = program.chooseCatalogFolder();
  CatalogIndex& index = program.index();
  if (IoError error = index.load()) {
    context.err << session.prefix << "catalog index in " << folder.native() << ": " << error.text << '\n';
    return ExitError;
  }
  CatalogDocument::Hooks hooks;
  hooks.refreshCatalogList = [&index](TextView name) { index.titleOf(name); };
  document_ = std::make_unique<CatalogDocument>(
      CatalogDocument::Services{session.platform, folder, context.programDir, index, program.titles(),
                                &program.icons()},
      hooks);
  switch (document_->load(cp932::fromNativeName(file), true)) {
    case CatalogDocument::LoadResult::Loaded: return ExitOk;
    case CatalogDocument::LoadResult::Missing:
      context.err << session.prefix << file << ": no such catalog in " << folder.native() << '\n';
      return ExitError;
    default: return ExitError;  // the reason was reported
  }
}

int CatalogRow::row(Session& session, const std::string& rowPath) const {
  const int r = document_->list().findRowByPath(catalogPath(rowPath), 1);
  if (r <= 0) session.context.err << session.prefix << rowPath << ": no such row in the catalog\n";
  return r <= 0 ? -1 : r;
}

int CatalogRow::save(Session& session) {
  if (!document_->save()) return ExitError;  // the reason was reported
  if (IoError error = session.program.index().writeIfChanged()) {
    session.context.err << session.prefix << "cannot write the catalog index: " << error.text << '\n';
    return ExitError;
  }
  return ExitOk;
}

}  // namespace zevro::cli
