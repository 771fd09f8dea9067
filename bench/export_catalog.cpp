// Writes the catalog the export timings run on (bench/export_timings.sh):
//
//   DIR/Catalog/_00HD_EXPORT.cct   300,000 rows: a title line, folders on
//                                  levels 1 to 3 with 20 files each, half the
//                                  names Japanese, every third row with a
//                                  comment (some with quotes and commas,
//                                  some longer than 40 characters)
//
//   export_catalog DIR
#include <cstdio>
#include <filesystem>
#include <string>

#include "LimitCatalog.h"
#include "core/CatalogList.h"
#include "core/ListFile.h"
#include "core/RowStore.h"
#include "platform/LinuxFileSystem.h"

namespace {

using namespace zevro;

constexpr int Rows = 300'000;

Text digits(unsigned v, std::size_t width) { return bench::limitDigits(v, width); }

Text comment(unsigned i) {
  switch (i % 9) {
    case 0: return u"会議の議事録 " + digits(i, 5);
    case 3: return u"say \"hello\", then go " + digits(i, 4);
    case 6: return u"とても長いコメントは四十文字を超えると表の形では切られてしまいます " + digits(i, 6);
    default: return {};
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: export_catalog DIR\n");
    return 2;
  }
  RowStore store;
  catalog::makeCatalogList(store);
  store.appendShown(catalog::buildRecord({u"EXPORT", u"書き出しのカタログ", u"", u"1,234,567,890,123"}), 0, 0,
                    catalog::KindTitleHD, 0);
  for (unsigned i = 1; store.rowCount() < Rows; ++i) {
    const bool folder = i % 21 == 1;
    const int level = folder ? 1 + static_cast<int>(i / 21 % 3) : 2 + static_cast<int>(i / 21 % 3);
    const bool japanese = i % 2 == 0;
    const Text name = folder ? (japanese ? u"資料フォルダー" : u"FOLDER_") + digits(i, 6)
                             : (japanese ? u"表示ソフト" : u"README_") + digits(i, 6) + u".TXT";
    const Text date = digits(i % 100, 2) + u"/04/05 12:" + digits(i % 60, 2);
    const Text size = digits(i % 1000 + 1, 3) + u"," + digits(i * 31u % 1000, 3);
    if (!store.appendShown(catalog::buildRecord({name, comment(i), date, size, u"0"}), 0, 0,
                           folder ? catalog::KindFolder : catalog::KindFile, level))
      return 1;
  }
  store.deriveIndexAndTreeFlags();
  catalog::prepareMarks(store);
  const NativePath path = NativePath(argv[1]) / "Catalog/_00HD_EXPORT.cct";
  std::filesystem::create_directories(path.parent_path());
  LinuxFileSystem files;
  if (files.writeFileAtomic(path, *listfile::build(store, listfile::Header{}))) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return 1;
  }
  return 0;
}
