#pragma once
// A catalog at the list file's limit for the benchmarks: a record heap just
// under 16,777,216 characters in about 300,000 rows of ordinary length, half
// of them with Japanese names and comments (among them the characters whose
// second byte is "\" or "|": 表, ソ, 能, ポ). Every 20th row is a level-1
// folder, the rows between are its files.
#include <string>

#include "core/CatalogList.h"
#include "core/RowStore.h"

namespace zevro::bench {

constexpr std::size_t LimitCharacters = 16'700'000;

inline Text limitDigits(unsigned v, std::size_t width) {
  Text t(width, u'0');
  for (std::size_t i = width; i-- > 0; v /= 10) t[i] = static_cast<char16_t>(u'0' + v % 10);
  return t;
}

inline Text limitRecord(unsigned i) {
  static const TextView japaneseNames[] = {u"表示ソフト", u"能力テスト", u"ポスター画像", u"資料フォルダー"};
  static const TextView japaneseComments[] = {u"会議の議事録です", u"年度末の報告書", u"ソース一式と説明"};
  const bool japanese = i % 2 == 0;
  const Text name =
      japanese ? Text(japaneseNames[i % 4]) + limitDigits(i, 6) + u".TXT" : u"README_" + limitDigits(i, 6) + u".TXT";
  const Text comment = japanese ? Text(japaneseComments[i % 3]) + u" " + limitDigits(i * 7u, 4)
                                : u"plain comment " + limitDigits(i * 7919u, 5);
  const Text date = limitDigits(i % 100, 2) + u"/04/05 12:" + limitDigits(i % 60, 2);
  const Text size = limitDigits(i % 1000 + 1, 3) + u"," + limitDigits(i * 31u % 1000, 3);
  return catalog::buildRecord({name, comment, date, size, u"0"});
}

// Fills `store` (emptied first) with the catalog.
inline void buildLimitCatalog(RowStore& store) {
  store.clear();
  catalog::makeCatalogList(store);
  store.appendShown(catalog::buildRecord({u"BIGDISC", u"限界までのカタログ", u"", u"99,999,999"}), 0, 0,
                    catalog::KindTitleHD, 0);
  std::size_t characters = store.heap().size();
  for (unsigned i = 1; characters < LimitCharacters; ++i) {
    const Text record = limitRecord(i);
    const bool folder = i % 20 == 1;
    store.appendShown(record, 0, 0, folder ? catalog::KindFolder : catalog::KindFile, folder ? 1 : 2);
    characters += record.size();
  }
  catalog::assignColourIndexes(store);
}

}  // namespace zevro::bench
