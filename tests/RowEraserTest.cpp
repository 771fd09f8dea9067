#include "grid/RowEraser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/CatalogList.h"

namespace zevro {
namespace {

using namespace catalog;

// Twelve rows with distinct texts and per-row bytes: a title, then folders
// F0, F1, ... each holding two files.
RowStore sample() {
  RowStore store;
  makeCatalogList(store);
  store.appendShown(buildRecord({u"TITLE", u"title comment"}), 0, 0, KindTitleHD, 0);
  for (int f = 0; f < 4; ++f) {
    const Text n = ascii(std::to_string(f));
    store.appendShown(buildRecord({u"F" + n, u"folder " + n}), f + 2, 0, KindFolder, 1);
    store.appendShown(buildRecord({u"f" + n + u".txt", u"日本語 " + n, u"01/02/03 04:05", u"1,234"}), 0, 2,
                      KindFile + f, 2);
    store.appendShown(buildRecord({u"g" + n + u".txt"}), 0, 6, KindFile, 2);
  }
  store.deriveIndexAndTreeFlags();
  return store;
}

struct RowImage {
  Text record;
  int level, kind, colour, highlight, indent;
  bool operator==(const RowImage&) const = default;
};

std::vector<RowImage> rowsOf(const RowStore& s) {
  std::vector<RowImage> rows;
  for (int r = 0; r < s.rowCount(); ++r) {
    rows.push_back({Text(s.record(r)), s.level(r), s.kind(r), s.colour(r), s.highlight(r), s.indent(r)});
  }
  return rows;
}

struct ShownImage {
  Text name;
  bool selected;
  int flags;
  bool operator==(const ShownImage&) const = default;
};

std::vector<ShownImage> shownOf(const RowStore& s) {
  std::vector<ShownImage> rows;
  for (int d = 0; d < s.shownCount(); ++d) rows.push_back({s.shownField(0, d), s.selected(d), s.displayFlags(d)});
  return rows;
}

TEST(RowEraserTest, BothWaysOfClosingTheGapsGiveTheSameStore) {
  const struct {
    const char* behaviour;
    std::vector<int> marked;
  } cases[] = {
      {"one row", {5}},
      {"one folder with its files", {4, 5, 6}},
      {"every other file", {2, 5, 8, 11}},
      {"first and last rows", {1, 12}},
      {"nothing", {}},
  };
  for (const auto& c : cases) {
    RowStore base = sample();
    // A display order that is not the stored order, with a flat indent, a
    // selection and display flags of its own.
    base.setDisplayOrder({0, 12, 3, 2, 1, 4, 6, 5, 7, 8, 9, 10, 11});
    base.setSelected(1, true);
    base.setSelected(6, true);
    base.setDisplayFlags(2, 0x28);
    base.setIndent(3, RowStore::BaseIndent);
    std::vector<std::uint8_t> marks(static_cast<std::size_t>(base.rowCount()), 0);
    for (int r : c.marked) marks[static_cast<std::size_t>(r)] = 1;

    RowStore gapByGap = base;
    RowStore onePass = base;
    EXPECT_EQ(RowEraser::erase(gapByGap, marks, 1000), static_cast<int>(c.marked.size())) << c.behaviour;
    EXPECT_EQ(RowEraser::erase(onePass, marks, 0), static_cast<int>(c.marked.size())) << c.behaviour;
    EXPECT_EQ(rowsOf(onePass), rowsOf(gapByGap)) << c.behaviour;
    EXPECT_EQ(shownOf(onePass), shownOf(gapByGap)) << c.behaviour;
    EXPECT_EQ(std::string(onePass.treeFlagBlock()), std::string(gapByGap.treeFlagBlock())) << c.behaviour;
    EXPECT_EQ(onePass.selectedCount(), gapByGap.selectedCount()) << c.behaviour;
    EXPECT_EQ(onePass.rowCapacity(), base.rowCapacity()) << c.behaviour;
    EXPECT_EQ(onePass.rowCount(), base.rowCount() - static_cast<int>(c.marked.size())) << c.behaviour;
    for (int r = 0; r < onePass.rowCount(); ++r) {
      EXPECT_NE(onePass.field(0, r), Text()) << c.behaviour;
    }
  }
}

TEST(RowEraserTest, MarkSubtreeTakesTheFollowingDeeperRows) {
  const RowStore store = sample();
  const struct {
    int row;
    std::vector<std::uint8_t> marks;
  } cases[] = {
      {1, {0, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {2, {0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {0, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
  };
  for (const auto& c : cases) {
    std::vector<std::uint8_t> marks;
    RowEraser::markSubtree(store, c.row, marks);
    EXPECT_EQ(marks, c.marks) << c.row;
  }
}

}  // namespace
}  // namespace zevro
