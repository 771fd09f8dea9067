#include "text/Cp932Tables.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "text/Cp932.h"
#include "text/tablegen/Cp932TableBuilder.h"

namespace zevro {
namespace {

// The tables compiled in at build time must be what the C library's
// converter gives on this machine, for every byte, every pair and every
// UTF-16 unit.
TEST(Cp932TablesTest, CompiledTablesAreTheConvertersForEveryByteAndPair) {
  const cp932::tablegen::BuiltTables fresh = cp932::tablegen::buildFromConverter();
  for (std::size_t b = 0; b < 256; ++b) {
    EXPECT_EQ(cp932::compiled::single[b], fresh.single[b]) << "byte " << b;
    EXPECT_EQ(cp932::compiled::leadRow[b], fresh.leadRow[b]) << "byte " << b;
  }
  ASSERT_EQ(cp932::compiled::pairCount, fresh.pairs.size());
  std::size_t pairsDiffering = 0;
  for (std::size_t i = 0; i < fresh.pairs.size(); ++i) pairsDiffering += cp932::compiled::pairs[i] != fresh.pairs[i];
  EXPECT_EQ(pairsDiffering, 0u);
  std::size_t codesDiffering = 0;
  for (std::size_t u = 0; u < fresh.codes.size(); ++u) codesDiffering += cp932::compiled::codes[u] != fresh.codes[u];
  EXPECT_EQ(codesDiffering, 0u);
}

TEST(Cp932TablesTest, KnownCharactersThroughTheCompiledTables) {
  struct Row {
    std::string bytes;
    Text text;
  } rows[] = {
      {"\x95\x5C", u"表"},  // a trail byte that is "\" in ASCII
      {"\x83\x7C", u"ポ"},
      {"\\", u"\\"},  // 0x5C stays a backslash, never a yen sign
      {"\xB1", u"ｱ"},
      {"\x81\x60", u"～"},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(cp932::decode(r.bytes), r.text);
    EXPECT_EQ(cp932::encode(r.text), r.bytes);
  }
}

}  // namespace
}  // namespace zevro
