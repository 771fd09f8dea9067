// libFuzzer target for the list-file reader: any bytes must read without a
// crash, a hang or a read outside the input, and whatever loads must write
// and read back as the same list.
//
// Not part of the normal build. Build and run from the repository root after
// a normal build (which generates build/generated/Cp932Tables.cpp):
//   clang++-14 -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
//     -I src fuzz/list_file_fuzz.cpp src/core/ListFile.cpp src/core/RowStore.cpp src/core/CatalogList.cpp \
//     src/text/Cp932.cpp src/core/Numbers.cpp src/text/Text.cpp build/generated/Cp932Tables.cpp \
//     src/core/Record.cpp src/platform/MemoryHint.cpp -o /tmp/list_file_fuzz
//   mkdir -p /tmp/list_file_corpus && /tmp/list_file_fuzz -max_total_time=300 /tmp/list_file_corpus
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/ListFile.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zevro;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  listfile::OldListBlocks old;
  listfile::parseOldLayout(bytes, old);
  listfile::titleLineLabel(bytes);

  RowStore store;
  const listfile::ReadResult read = listfile::parse(bytes, store);
  if (!read.loaded()) {
    require(store.rowCount() == 0);
    return 0;
  }
  require(read.status != listfile::ReadStatus::Ok || bytes.size() >= listfile::HeaderSize);

  // What loaded writes and reads back as the same rows.
  const std::optional<std::string> written = listfile::build(store, read.header);
  require(written.has_value());
  RowStore back;
  const listfile::ReadResult again = listfile::parse(*written, back);
  require(again.status == listfile::ReadStatus::Ok);
  require(back.rowCount() == store.rowCount());
  require(back.heap() == store.heap());
  require(back.levelBlock() == store.levelBlock());
  require(back.kindBlock() == store.kindBlock());
  require(back.treeFlagBlock() == store.treeFlagBlock());
  require(back.colourBlock() == store.colourBlock());
  require(back.sortOrder() == store.sortOrder());
  require(again.header.freeSpace == read.header.freeSpace);
  return 0;
}
