// libFuzzer target for the genre table CatJan.CCZ: any bytes must decode
// without a crash, a hang or a read outside the input, and once written the
// table must read back as itself. (The first write may change it: text in
// the file that looks like an escape, "&#x1F600;", reads as its character,
// the one ambiguity the CP932 codec accepts; from then on nothing changes.)
//
// Not part of the normal build. Build and run from the repository root after
// a normal build (which generates build/generated/Cp932Tables.cpp):
//   clang++-14 -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
//     -I src fuzz/genre_table_fuzz.cpp src/core/GenreTable.cpp src/core/FileOps.cpp src/core/Numbers.cpp \
//     src/core/OptionKeys.cpp src/core/OptionStore.cpp src/core/OptionValue.cpp src/core/ProfileDocument.cpp \
//     src/core/Strings.cpp src/core/ListFile.cpp src/core/RowStore.cpp src/core/CatalogList.cpp \
//     src/core/Record.cpp src/platform/WriteLock.cpp src/platform/FileLock.cpp src/platform/LinuxFileSystem.cpp \
//     src/platform/MemoryHint.cpp \
//     src/text/Cp932.cpp src/text/Text.cpp build/generated/Cp932Tables.cpp -o /tmp/genre_table_fuzz
//   mkdir -p /tmp/genre_table_corpus && /tmp/genre_table_fuzz -max_total_time=600 /tmp/genre_table_corpus
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/GenreTable.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zevro;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  const GenreTable table = GenreTable::decode(bytes);
  for (int g = 0; g < GenreTable::Count; ++g) {
    const int position = table.position(g);
    require(position == GenreTable::FreePosition || (position >= 0 && position <= 99));
  }
  const GenreTable stored = GenreTable::decode(table.encode());
  const std::string written = stored.encode();
  const GenreTable back = GenreTable::decode(written);
  require(back == stored);
  require(back.encode() == written);
  return 0;
}
