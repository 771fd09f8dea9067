// libFuzzer target for the catalog index CatList.CCZ: any bytes must decode
// without a crash, a hang or a read outside the input; what decodes must
// write and read back as the same entries (titles as an entry keeps them),
// with no name twice once repeats are dropped; and a title read from a list
// file's first bytes never fails whatever those bytes are.
//
// Not part of the normal build. Build and run from the repository root after
// a normal build (which generates build/generated/Cp932Tables.cpp):
//   clang++-14 -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
//     -I src fuzz/catalog_index_fuzz.cpp src/core/CatalogIndex.cpp src/core/FileOps.cpp src/core/Record.cpp \
//     src/core/Strings.cpp src/core/Numbers.cpp src/core/ListFile.cpp src/core/RowStore.cpp \
//     src/core/CatalogList.cpp src/platform/WriteLock.cpp src/platform/FileLock.cpp \
//     src/platform/LinuxFileSystem.cpp src/platform/MemoryHint.cpp src/text/Cp932.cpp src/text/Text.cpp \
//     build/generated/Cp932Tables.cpp -o /tmp/catalog_index_fuzz
//   mkdir -p /tmp/catalog_index_corpus && /tmp/catalog_index_fuzz -max_total_time=600 /tmp/catalog_index_corpus
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <unordered_set>

#include "core/CatalogIndex.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zevro;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  CatalogIndex::titleFromListFile(bytes);

  const std::vector<CatalogIndexEntry> entries = CatalogIndex::decode(bytes);
  for (const CatalogIndexEntry& e : entries) require(!e.name.empty());

  // Written and read back: the same names in the same order, each title as
  // an entry stores it; and that text is written again byte for byte.
  const std::string written = CatalogIndex::encode(entries);
  require(written.size() >= 2 && written[0] == '\x02' && written.back() == '\0');
  const std::vector<CatalogIndexEntry> back = CatalogIndex::decode(written);
  require(back.size() == entries.size());
  for (std::size_t i = 0; i < back.size(); ++i) {
    require(back[i].name == entries[i].name);
    require(back[i].title == CatalogIndex::storableTitle(entries[i].title));
  }
  require(CatalogIndex::encode(back) == written);
  return 0;
}
