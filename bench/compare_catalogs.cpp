// Writes the catalogs of bench/compare_timings.sh into program folders
// under DIR:
//
//   DIR/many/Catalog/_00HD_DISC001.cct …  200 catalogs of 10,000 rows, folders
//                                         of 50 files; one file in ten is a
//                                         copy of a file of another catalog
//                                         (name in another case, same size),
//                                         the word 金閣寺 in every 997th row
//   DIR/diff/Catalog/_00HD_OLD.cct        300,000 rows
//   DIR/diff/Catalog/_00HD_NEW.cct        the same reading later: of every
//                                         100 files one changed, one moved,
//                                         one removed, one added
//
//   compare_catalogs DIR
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

// "1,234,567" (every digit: a width of 1 would keep the last one only).
Text grouped(unsigned v) {
  Text plain;
  for (const char c : std::to_string(v)) plain += static_cast<char16_t>(c);
  Text out;
  for (std::size_t i = 0; i < plain.size(); ++i) {
    if (i > 0 && (plain.size() - i) % 3 == 0) out += u',';
    out += plain[i];
  }
  return out;
}

void appendRow(RowStore& store, TextView name, TextView date, unsigned size, bool folder) {
  store.appendShown(catalog::buildRecord({Text(name), u"", Text(date), grouped(size)}), 0, 0,
                    folder ? catalog::KindFolder : catalog::KindFile, folder ? 1 : 2);
}

std::string many(unsigned seed) {
  RowStore store;
  catalog::makeCatalogList(store);
  store.appendShown(catalog::buildRecord({u"DISC", u"写真 " + digits(seed, 3), u"", u"1,234,567"}), 0, 0,
                    catalog::KindTitleHD, 0);
  for (int i = 1; i < 10000; ++i) {
    const unsigned n = seed * 100000u + static_cast<unsigned>(i);
    if (i % 50 == 1) {
      appendRow(store, u"写真_" + digits(n, 8), u"", 1000000, true);
      continue;
    }
    Text name = u"IMG_" + digits(n, 8) + u".JPG";
    unsigned size = 100000u + n % 900000u;
    if (i % 10 == 0) {
      // A copy of a file of the catalog before (the first one's of the last).
      const unsigned from = (seed == 1 ? 200u : seed - 1u) * 100000u + static_cast<unsigned>(i + 7);
      name = u"img_" + digits(from, 8) + u".jpg";
      size = 100000u + from % 900000u;
    }
    if (n % 997 == 0) name = u"金閣寺_" + digits(n, 8) + u".JPG";
    appendRow(store, name, u"24/04/05 12:" + digits(n % 60, 2), size, false);
  }
  catalog::assignColourIndexes(store);
  return *listfile::build(store, listfile::Header{});
}

std::string reading(bool later) {
  RowStore store;
  catalog::makeCatalogList(store);
  store.appendShown(catalog::buildRecord({u"BIG", u"大きな読み取り", u"", u"1"}), 0, 0, catalog::KindTitleHD, 0);
  for (unsigned i = 1; i < 300000; ++i) {
    if (i % 50 == 1) {
      appendRow(store, u"D" + digits(i, 6), u"", 1, true);
      continue;
    }
    Text name = u"F" + digits(i, 6) + u".DAT";
    unsigned size = 1000u + i;
    Text date = u"24/04/05 12:00";
    if (later) {
      if (i % 100 == 3) size += 1;                    // changed
      if (i % 100 == 5) continue;                     // removed
      if (i % 100 == 7) name = u"M" + digits(i, 6) + u".DAT";  // moved away below
      if (i % 100 == 9) appendRow(store, u"N" + digits(i, 6) + u".DAT", date, 7u, false);  // added
    }
    if (!later || i % 100 != 7) appendRow(store, name, date, size, false);
    // The moved file comes back in the next folder under its old name.
    if (later && i % 100 == 8) appendRow(store, u"F" + digits(i - 1, 6) + u".DAT", date, 1000u + i - 1, false);
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
    std::fprintf(stderr, "usage: compare_catalogs DIR\n");
    return 2;
  }
  const NativePath dir = argv[1];
  char name[64];
  for (unsigned i = 1; i <= 200; ++i) {
    std::snprintf(name, sizeof name, "_00HD_DISC%03u.cct", i);
    if (!write(dir / "many/Catalog" / name, many(i))) return 1;
  }
  if (!write(dir / "diff/Catalog/_00HD_OLD.cct", reading(false))) return 1;
  if (!write(dir / "diff/Catalog/_00HD_NEW.cct", reading(true))) return 1;
  return 0;
}
