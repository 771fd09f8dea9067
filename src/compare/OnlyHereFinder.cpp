#include "compare/OnlyHereFinder.h"

#include <algorithm>
#include <unordered_map>

#include "compare/FileRows.h"
#include "core/ListFileName.h"
#include "search/ListFileBytes.h"
#include "text/Cp932.h"

namespace zevro {

FoundFiles OnlyHereFinder::find(CompareScan& scan, std::string_view bytes, TextView fileName,
                                const CompareFilters& filters) {
  FoundFiles found;
  const std::uint64_t minSize = std::max<std::uint64_t>(filters.minSize, 1);
  SameFileKey key(filters.by);

  SearchListEntry self;
  self.fileName = Text(fileName);
  self.nativeName = cp932::toNativeName(fileName);
  self.mediumKind = listfilename::mediumKindOf(fileName);
  self.title = ListFileBytes(bytes).title();
  const int ownMedium = scan.mediumOfBytes(bytes, fileName);

  // The catalog's own files by their exact keys (numbered as met); a key
  // is false until another medium shows it.
  std::unordered_map<Text, std::size_t> byKey;
  std::vector<bool> elsewhere;
  std::vector<std::size_t> keyOfRow;
  FileRows own(bytes);
  found.texts.resize(1);
  own.forEach(filters.members, [&](const FileRow& r) {
    if (r.size < minSize) return true;
    const std::size_t number = byKey.size();
    const auto [at, fresh] = byKey.emplace(key.textOf(r), number);
    if (fresh) elsewhere.push_back(false);
    keyOfRow.push_back(at->second);
    Text& texts = found.texts[0];
    FoundRow f{0, r.row, r.size, 0, static_cast<std::uint32_t>(texts.size())};
    f.nameSize = static_cast<std::uint32_t>(own.appendPath(r, texts));
    f.pathSize = static_cast<std::uint32_t>(texts.size() - f.textAt);
    f.dateSize = static_cast<std::uint32_t>(FileRows::appendDecoded(r.date, texts));
    found.rows.push_back(f);
    return true;
  });
  std::size_t left = byKey.size();

  const bool whole = scan.each(filters.genres, [&](const CompareScan::Catalog& c) {
    if (c.medium == ownMedium || left == 0) return true;
    FileRows rows(c.bytes);
    int sincePump = 0;
    bool go = true;
    rows.forEach(filters.members, [&](const FileRow& r) {
      if (r.size < minSize) return true;
      const auto hit = byKey.find(key.textOf(r));
      if (hit != byKey.end() && !elsewhere[hit->second]) {
        elsewhere[hit->second] = true;
        --left;
      }
      if (++sincePump == 65536) {
        sincePump = 0;
        go = scan.pump();
      }
      return go && left > 0;
    });
    return go;
  });
  found.skipped = scan.skipped();
  found.catalogsRead = scan.catalogsRead();
  found.catalogs = {self};
  if (!whole) {
    found.cancelled = true;
    found.rows.clear();
    found.texts.clear();
    return found;
  }
  std::vector<FoundRow> kept;
  for (std::size_t i = 0; i < found.rows.size(); ++i) {
    if (!elsewhere[keyOfRow[i]]) kept.push_back(found.rows[i]);
  }
  found.rows = std::move(kept);
  return found;
}

}  // namespace zevro
