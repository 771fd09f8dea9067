#pragma once
// A large catalog list for the grid benchmarks: a title line, then level-1
// folders each holding files, a level-2 folder with files, and a level-3
// folder with files (about 100 rows a block), with Japanese names,
// comments, dates and sizes, as a scan of a full disk leaves it.
#include <string>

#include "core/CatalogList.h"
#include "core/RowStore.h"

namespace zevro::bench {

inline Text number(unsigned v, std::size_t width) {
  Text t(width, u'0');
  for (std::size_t i = width; i-- > 0; v /= 10) t[i] = static_cast<char16_t>(u'0' + v % 10);
  return t;
}

inline void appendRow(RowStore& store, int level, int kind, const Text& name, unsigned i) {
  const Text date = number(i % 30 + 90, 2).substr(0, 2) + u"/0" + number(i % 9 + 1, 1) + u"/1" + number(i % 9, 1) +
                    u" 12:" + number(i % 60, 2);
  const Text size = number(i % 900 + 100, 3) + u"," + number(i * 37 % 1000, 3);
  const Text comment = kind == catalog::KindFolder ? u"フォルダーの説明 " + number(i, 6)
                                                   : u"ファイルの注釈 日本語テキスト " + number(i, 6);
  store.appendShown(catalog::buildRecord({name, comment, date, size, u"0"}), catalog::colourIndexFor(kind, level), 0,
                    kind, level);
}

// Fills `store` with `rows` rows (the last block may be cut short).
inline void buildCatalog(RowStore& store, int rows) {
  store.clear();
  catalog::makeCatalogList(store);
  store.appendShown(catalog::buildRecord({u"DISK_日本語", u"ベンチマーク用カタログ", u"", u"999,999,999"}), 0, 0,
                    catalog::KindTitleHD, 0);
  unsigned i = 0;
  while (store.rowCount() < rows) {
    const Text block = number(i, 6);
    appendRow(store, 1, catalog::KindFolder, u"資料フォルダー_" + block, i++);
    for (int f = 0; f < 40 && store.rowCount() < rows; ++f) {
      appendRow(store, 2, catalog::KindFile + f % 4, u"写真_" + number(i, 7) + u".JPG", i);
      ++i;
    }
    if (store.rowCount() >= rows) break;
    appendRow(store, 2, catalog::KindFolder, u"サブフォルダー_" + block, i++);
    for (int f = 0; f < 30 && store.rowCount() < rows; ++f) {
      appendRow(store, 3, catalog::KindFile + f % 4, u"議事録_" + number(i, 7) + u".TXT", i);
      ++i;
    }
    if (store.rowCount() >= rows) break;
    appendRow(store, 3, catalog::KindFolder, u"深い階層_" + block, i++);
    for (int f = 0; f < 27 && store.rowCount() < rows; ++f) {
      appendRow(store, 4, catalog::KindFile, u"設計書_" + number(i, 7) + u".DOC", i);
      ++i;
    }
  }
  store.deriveIndexAndTreeFlags();
}

}  // namespace zevro::bench
