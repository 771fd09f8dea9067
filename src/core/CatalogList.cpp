#include "core/CatalogList.h"

namespace zevro::catalog {

void assignColourIndexes(RowStore& store) {
  const int rows = store.rowCount();
  for (int r = 0; r < rows; ++r) store.setColour(r, colourIndexFor(store.kind(r), store.level(r)));
}

void makeCatalogList(RowStore& store) {
  store.setTreeMode(true);
  store.setFolderAware(true);
}

Text buildRecord(std::span<const TextView> fields) {
  std::size_t used = 1;  // field 0's marker is always written
  for (std::size_t k = 0; k < fields.size(); ++k) {
    if (!fields[k].empty()) used = k + 1;
  }
  used = std::min<std::size_t>(used, RowStore::MaxField + 1);
  Text record;
  for (std::size_t k = 0; k < used; ++k) {
    record.push_back(record::marker(static_cast<int>(k)));
    if (k < fields.size()) record += RowStore::escapeFieldText(fields[k]);
  }
  return record;
}

Text buildRecord(std::initializer_list<TextView> fields) {
  return buildRecord(std::span<const TextView>(fields.begin(), fields.size()));
}

}  // namespace zevro::catalog
