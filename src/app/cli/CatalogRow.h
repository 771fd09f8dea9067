#pragma once
// What `locate`, `picture` and `disk-image` share: a catalog of the catalog
// folder loaded as the main window loads it, and a row of it named by its
// path from level 1 as the catalog writes it ("DOCS\PACK.ZIP\README.TXT";
// "/" is taken for "\").
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/cli/Session.h"
#include "core/CatalogDocument.h"

namespace zevro::cli {

class CatalogRow {
public:
  // Loads the catalog FILE (a name in the catalog folder, any case). ExitOk,
  // or ExitError after one line on stderr.
  int load(Session& session, const std::string& file);
  // The stored row of the path; -1 after a line on stderr.
  int row(Session& session, const std::string& rowPath) const;
  // Saves the catalog as the window saves it; ExitOk or ExitError.
  int save(Session& session);

  CatalogDocument& document() { return *document_; }
  ShownCatalog shown() const { return {document_->currentFile(), &document_->list()}; }
  static Text catalogPath(const std::string& rowPath);
  // The arguments without "--" (an option is a usage error): nullopt after
  // the message.
  static std::optional<std::vector<std::string>> words(Context& context, const char* command);

private:
  std::unique_ptr<CatalogDocument> document_;
};

}  // namespace zevro::cli
