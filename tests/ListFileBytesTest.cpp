#include "search/ListFileBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/CatalogList.h"
#include "core/ListFile.h"
#include "core/RowStore.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

// A catalog whose names hold double-byte characters with "\" and "|" as
// their second byte (表, ソ, 能, ポ), so that bytes and characters differ.
RowStore sample() {
  using namespace catalog;
  RowStore store;
  makeCatalogList(store);
  store.appendShown(buildRecord({u"DISC", u"表示ソフト集"}), 0, 0, KindTitleHD, 0);
  store.appendShown(buildRecord({u"能力", u"ポスター"}), 0, 0, KindFolder, 1);
  store.appendShown(buildRecord({u"表.TXT", u"ソース", u"24/01/02 03:04", u"1,234"}), 0, 0, KindFile, 2);
  store.appendShown(buildRecord({u"README", u"plain"}), 0, 0, KindFile, 2);
  assignColourIndexes(store);
  return store;
}

TEST(ListFileBytesTest, HeapAndLevelsAreFoundInWholeCutAndPaddedFiles) {
  const RowStore store = sample();
  const std::string whole = *listfile::build(store, listfile::Header{});
  const Text records(store.heap().substr(0, store.heap().find(u'\0')));
  const std::string levels(store.levelBlock());
  const listfile::BlockLengths lengths = *listfile::blockLengths(whole);
  const std::size_t tail = lengths.levels + lengths.kinds + lengths.flags + lengths.colours;
  struct Case {
    const char* name;
    std::string bytes;
    std::size_t levelsHeld;  // bytes of the level string (rows and spare) the file holds
  };
  const Case cases[] = {
      {"whole file", whole, lengths.levels},
      {"bytes after the end", whole + "XYZ", lengths.levels},
      {"zero bytes after the end", whole + std::string(5, '\0'), lengths.levels},
      {"cut in the colour block", whole.substr(0, whole.size() - 1), lengths.levels},
      {"cut in the level string", whole.substr(0, whole.size() - tail + 2), 2},
  };
  for (const Case& c : cases) {
    ListFileBytes file(c.bytes);
    ASSERT_EQ(file.layout(), ListFileBytes::Layout::Current) << c.name;
    EXPECT_EQ(cp932::decode(file.heap()), records) << c.name;
    ASSERT_EQ(file.levels().size(), c.levelsHeld) << c.name;
    const std::size_t rows = std::min(c.levelsHeld, levels.size());
    EXPECT_EQ(file.levels().substr(0, rows), std::string_view(levels).substr(0, rows)) << c.name;
  }
}

}  // namespace
}  // namespace zevro
