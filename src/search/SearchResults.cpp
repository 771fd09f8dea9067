#include "search/SearchResults.h"

#include "core/Numbers.h"
#include "core/Record.h"

namespace zevro {

SearchResults::SearchResults(RowStore& grid) : grid_(grid) {}

void SearchResults::start(std::vector<SearchListEntry> catalogs) {
  grid_.clear();
  catalogs_ = std::move(catalogs);
  catalogOfRow_.clear();
  hitCounter_ = 0;
  group_ = 0;
  lastCatalog_ = -1;
}

bool SearchResults::append(int catalog, const ResultFields& fields) {
  const bool firstOfCatalog = catalog != lastCatalog_;
  const int group = firstOfCatalog ? group_ % GroupColours + 1 : group_;
  const int kind = catalog >= 0 && catalog < static_cast<int>(catalogs_.size())
                       ? catalogs_[static_cast<std::size_t>(catalog)].mediumKind
                       : 0;
  if (!grid_.appendShown(recordOf(fields, hitCounter_), 0, group, kind, 0)) return false;
  group_ = group;
  lastCatalog_ = catalog;
  catalogOfRow_.push_back(catalog);
  ++hitCounter_;
  return true;
}

int SearchResults::catalogIndexOf(int row) const {
  if (row < 0 || row >= rowCount()) return -1;
  return catalogOfRow_[static_cast<std::size_t>(row)];
}

const SearchListEntry* SearchResults::catalogOf(int row) const {
  const int index = catalogIndexOf(row);
  if (index < 0 || index >= static_cast<int>(catalogs_.size())) return nullptr;
  return &catalogs_[static_cast<std::size_t>(index)];
}

Text SearchResults::recordOf(const ResultFields& fields, std::uint32_t hitNumber) {
  const Text number = hexField(hitNumber, HitNumberDigits);
  Text record;
  record.reserve(fields.title.size() + fields.path.size() + fields.date.size() + fields.comment.size() + number.size() +
                 6);
  record += record::marker(0);
  record += fields.title;
  record += record::marker(1);
  record += fields.path;
  record += record::marker(2);
  record += fields.date;
  record += record::marker(3);
  record += fields.comment;
  record += record::marker(4);
  record += number;
  record += record::marker(5);
  return record;
}

}  // namespace zevro
