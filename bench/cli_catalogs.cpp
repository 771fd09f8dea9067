// Writes the catalogs the whole-process timings of zevro-cli run on
// (bench/cli_timings.sh), into program folders under DIR:
//
//   DIR/limit/Catalog/_00HD_BIGDISC.cct   one catalog at the list file's limit
//                                         (about 300,000 rows, a heap just
//                                         under 16,777,216 characters)
//   DIR/many/Catalog/_00HD_DISC001.cct …  200 catalogs of 10,000 rows (about
//                                         110 MB), the word 金閣寺 in every
//                                         997th row
//   DIR/titles/Catalog/_00HD_T0001.cct …  400 catalogs of about 2.5 MB each,
//                                         without a catalog index
//
//   cli_catalogs DIR
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

Text digits(unsigned v, std::size_t width) { return bench::limitDigits(v, width); }

// A catalog of `rows` rows like a photo disc: folders of 50 files each.
std::string catalogBytes(unsigned seed, int rows, TextView title, bool withWord) {
  RowStore store;
  catalog::makeCatalogList(store);
  store.appendShown(catalog::buildRecord({u"DISC", title, u"", u"1,234,567"}), 0, 0, catalog::KindTitleHD, 0);
  for (int i = 1; i < rows; ++i) {
    const unsigned n = seed * 100000u + static_cast<unsigned>(i);
    const bool folder = i % 50 == 1;
    Text name = folder ? u"写真_" + digits(n, 8) : u"IMG_" + digits(n, 8) + u".JPG";
    if (withWord && n % 997 == 0) name = u"金閣寺_" + digits(n, 8) + u".JPG";
    const Text comment = i % 3 == 0 ? u"京都の旅行 " + digits(n * 7u % 10000u, 4) : Text();
    store.appendShown(catalog::buildRecord({name, comment, u"24/04/05 12:" + digits(n % 60, 2), digits(n % 999, 3)}),
                      0, 0, folder ? catalog::KindFolder : catalog::KindFile, folder ? 1 : 2);
  }
  catalog::assignColourIndexes(store);
  return *listfile::build(store, listfile::Header{});
}

bool write(const NativePath& path, const std::string& bytes) {
  LinuxFileSystem files;
  std::filesystem::create_directories(path.parent_path());
  if (files.writeFileAtomic(path, bytes)) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: cli_catalogs DIR\n");
    return 2;
  }
  const NativePath dir = argv[1];
  RowStore limit;
  bench::buildLimitCatalog(limit);
  if (!write(dir / "limit/Catalog/_00HD_BIGDISC.cct", *listfile::build(limit, listfile::Header{}))) return 1;
  char name[64];
  for (unsigned i = 1; i <= 200; ++i) {
    std::snprintf(name, sizeof name, "_00HD_DISC%03u.cct", i);
    if (!write(dir / "many/Catalog" / name, catalogBytes(i, 10000, u"写真 " + digits(i, 3), true))) return 1;
  }
  // About 2.5 MB: 45,000 rows of these; every file the same but its title.
  const std::string big = catalogBytes(7, 45000, u"@@@@", false);
  for (unsigned i = 1; i <= 400; ++i) {
    std::snprintf(name, sizeof name, "_00HD_T%04u.cct", i);
    char number[8];
    std::snprintf(number, sizeof number, "%04u", i);
    std::string bytes = big;
    bytes.replace(bytes.find("@@@@"), 4, number, 4);
    if (!write(dir / "titles/Catalog" / name, bytes)) return 1;
  }
  return 0;
}
