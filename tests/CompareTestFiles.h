#pragma once
// Fixture catalogs for the comparison tests: rows given as level, name,
// size and date, written by the program's own list-file writer.
#include <string>
#include <vector>

#include "core/CatalogList.h"
#include "core/ListFile.h"
#include "core/RowStore.h"
#include "text/Text.h"

namespace zevro::comparetest {

// One row; row 0 is the title line (volume label, title). A row is a file
// unless `folder`; a file inside an archive is given at the archive's
// level + 1.
struct Row {
  int level;
  Text name;
  Text size = u"";
  Text date = u"";
  bool folder = false;
  Text mark = u"";  // title line only: the mark of a reading recorded as several catalogs
};

inline Row folder(int level, Text name) { return {level, std::move(name), u"9,999", u"", true}; }

inline std::string listFileOf(const std::vector<Row>& rows) {
  RowStore store;
  catalog::makeCatalogList(store);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const Row& r = rows[i];
    Text record = u"\x10" + r.name + u"\x11\x12" + r.date + u"\x13" + r.size + u"\x14" u"0";
    if (!r.mark.empty()) record += u"\x15\x16\x17" + r.mark;
    const int kind = i == 0 ? catalog::KindTitleCD : (r.folder ? catalog::KindFolder : catalog::KindFile);
    store.appendShown(record, 0, 0, kind, r.level);
  }
  return *listfile::build(store, listfile::Header{});
}

}  // namespace zevro::comparetest
