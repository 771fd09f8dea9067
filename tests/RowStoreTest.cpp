#include "core/RowStore.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/CatalogList.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

using namespace catalog;

// A record with markers for every given field, empty ones included, nothing escaped.
Text raw(std::initializer_list<TextView> fields) {
  Text r;
  int k = 0;
  for (TextView f : fields) {
    r.push_back(record::marker(k++));
    r += f;
  }
  return r;
}

struct Row {
  Text name;
  int level;
  int kind;
};

// A catalog list with the given rows appended as shown rows.
RowStore catalogOf(const std::vector<Row>& rows) {
  RowStore store;
  makeCatalogList(store);
  for (const Row& r : rows) {
    EXPECT_TRUE(
        store.appendShown(buildRecord({r.name, u"comment", u"01/02/03 04:05", u"1,234", u"0"}), 0, 0, r.kind, r.level));
  }
  return store;
}

std::vector<int> treeFlagsOf(const RowStore& store) {
  std::vector<int> flags;
  for (int r = 0; r < store.rowCount(); ++r) flags.push_back(store.treeFlags(r));
  return flags;
}

std::vector<std::int32_t> orderOf(const RowStore& store) {
  const auto order = store.displayOrder();
  return {order.begin(), order.end()};
}

std::vector<Text> allFields(const RowStore& store, int row) {
  std::vector<Text> fields;
  for (int k = 0; k < FieldCount; ++k) fields.push_back(store.field(k, row));
  return fields;
}

// ------------------------------------------------------------------ reading

TEST(RowStoreTest, ReadsFieldsAndEmptyOutsideTheRecordOrRange) {
  RowStore store;
  ASSERT_TRUE(store.appendShown(raw({u"TITLE", u"My disk", u"", u"9,999"}), 0, 0, KindTitleCD, 0));
  ASSERT_TRUE(store.appendShown(raw({u"A.TXT", u"c", u"01/02/03 04:05", u"12", u"3", u"orig", u"pic", u"x"}), 0, 0,
                                KindFile, 1));
  struct Case {
    const char* behaviour;
    int k;
    int row;
    Text expected;
  } cases[] = {
      {"name", FieldName, 0, u"TITLE"},
      {"empty field between present ones", FieldDate, 0, u""},
      {"last present field", FieldSize, 0, u"9,999"},
      {"fields 4 to 7 absent read empty", FieldFlags, 0, u""},
      {"field 7 absent", FieldSpare, 0, u""},
      {"field 7 present", FieldSpare, 1, u"x"},
      {"medium name", FieldMediumName, 1, u"orig"},
      {"row before range", FieldName, -1, u""},
      {"row past range", FieldName, 2, u""},
      {"negative field", -1, 1, u""},
      {"field beyond markers", 16, 1, u""},
  };
  for (const Case& c : cases) EXPECT_EQ(store.field(c.k, c.row), c.expected) << c.behaviour;
}

TEST(RowStoreTest, AllFieldsInOnePassAgreeWithSingleReads) {
  struct Case {
    const char* behaviour;
    Text record;
    int fieldCount;
  } cases[] = {
      {"scanned row", buildRecord({u"NAME.TXT", u"a comment", u"01/02/03 04:05", u"1,234", u"0"}), 5},
      {"CR LF inside a comment is text", raw({u"N", u"line 1\r\nline 2", u"d"}), 3},
      {"marker at every offset of a long text", raw({u"abcdefghij", u"k", u"lm", u"nop", u"qrst", u"uvwxy"}), 6},
      {"gap: field 1 absent",
       Text(u"\x10"
            u"A\x12"
            u"d"),
       3},
      {"out of order: the lower marker after a higher one is ignored",
       Text(u"\x10"
            u"A\x12"
            u"d\x11"
            u"c"),
       3},
      {"repeated marker: the first counts",
       Text(u"\x10"
            u"A\x11"
            u"x\x11"
            u"y"),
       2},
      {"marker 31",
       Text(u"\x10"
            u"A\x1F"
            u"z"),
       16},
  };
  for (const Case& c : cases) {
    RowStore store;
    ASSERT_TRUE(store.appendShown(c.record, 0, 0, KindFile, 1)) << c.behaviour;
    TextView all[RowStore::MaxField + 1];
    EXPECT_EQ(store.fieldsOf(0, all), c.fieldCount) << c.behaviour;
    for (int k = 0; k <= RowStore::MaxField; ++k) EXPECT_EQ(all[k], store.fieldView(k, 0)) << c.behaviour << " k=" << k;
  }
  RowStore store;
  ASSERT_TRUE(store.appendShown(Text(u"\x10"
                                     u"A\x12"
                                     u"d\x11"
                                     u"c"),
                                0, 0, KindFile, 1));
  EXPECT_EQ(store.field(FieldComment, 0), u"");
  EXPECT_EQ(store.field(FieldDate, 0), u"d");
  TextView two[2];
  EXPECT_EQ(store.fieldsOf(1, two), 0);
  EXPECT_EQ(two[0], u"");
}

TEST(RowStoreTest, ShownFieldsFollowTheDisplayOrder) {
  RowStore store;
  for (const TextView name : {u"R0", u"R1", u"R2"}) ASSERT_TRUE(store.appendShown(raw({name}), 0, 0, KindFile, 1));
  ASSERT_TRUE(store.appendHidden(raw({u"H3"}), 0, 0, KindFile, 1, 0));
  store.setDisplayOrder({2, 0, 3});
  struct Case {
    const char* behaviour;
    int displayRow;
    Text expected;
  } cases[] = {
      {"first display row shows stored row 2", 0, u"R2"},
      {"second shows stored row 0", 1, u"R0"},
      {"a hidden row once placed in the order", 2, u"H3"},
      {"past the shown count", 3, u""},
      {"negative display row", -1, u""},
  };
  for (const Case& c : cases) EXPECT_EQ(store.shownField(FieldName, c.displayRow), c.expected) << c.behaviour;
  EXPECT_EQ(store.displayRowOf(2), 0);
  EXPECT_EQ(store.displayRowOf(1), -1);
}

// ------------------------------------------------------------------ append

TEST(RowStoreTest, AppendRefusesRecordsAndLevelsThatCannotBeStored) {
  struct Case {
    const char* behaviour;
    Text record;
    int level;
    bool accepted;
  } cases[] = {
      {"deepest storable level", raw({u"A"}), 127, true},
      {"level 128 does not fit the level byte", raw({u"A"}), 128, false},
      {"negative level", raw({u"A"}), -1, false},
      {"empty record", u"", 1, false},
      {"record without leading marker",
       u"A\x11"
       u"b",
       1, false},
      {"code 0 would end the heap", raw({Text(u"A\0B", 3)}), 1, false},
      {"second code 16 would split the row", raw({u"A"}) + raw({u"B"}), 1, false},
  };
  for (const Case& c : cases) {
    RowStore store;
    EXPECT_EQ(store.appendShown(c.record, 0, 0, KindFile, c.level), c.accepted) << c.behaviour;
    EXPECT_EQ(store.appendHidden(c.record, 0, 0, KindFile, c.level, 0), c.accepted) << c.behaviour;
    EXPECT_EQ(store.rowCount(), c.accepted ? 2 : 0) << c.behaviour;
    EXPECT_EQ(store.endPosition(), c.accepted ? 2 * static_cast<int>(c.record.size()) : 0) << c.behaviour;
  }
}

TEST(RowStoreTest, AppendStoresRowPartsAndMarksModified) {
  RowStore store;
  store.setIndentWidth(20);
  EXPECT_FALSE(store.modified());
  ASSERT_TRUE(store.appendShown(raw({u"T"}), 3, 6, KindTitleHD, 0));
  ASSERT_TRUE(store.appendHidden(raw({u"F"}), 0, 2, KindFile + 4, 2, TreeCollapsed | TreeHasFiles));
  EXPECT_TRUE(store.modified());
  struct Case {
    const char* behaviour;
    int got;
    int expected;
  } cases[] = {
      {"colour", store.colour(0), 3},
      {"highlight", store.highlight(0), 6},
      {"kind", store.kind(1), KindFile + 4},
      {"level", store.level(1), 2},
      {"indent is level x width + 6", store.indent(1), 2 * 20 + 6},
      {"hidden row keeps given flags", store.treeFlags(1), TreeCollapsed | TreeHasFiles},
      {"shown count", store.shownCount(), 1},
      {"start of row 1", store.start(1), 2},
      {"end position", store.endPosition(), 4},
      {"hidden row has no display row", store.displayRowOf(1), -1},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.expected) << c.behaviour;
  EXPECT_EQ(store.heap(), TextView(u"\x10T\x10"
                                   u"F\0",
                                   5));
}

TEST(RowStoreTest, HiddenRowFlagsAreUpdatedLikeShownOnes) {
  RowStore store;
  makeCatalogList(store);
  ASSERT_TRUE(store.appendShown(raw({u"T"}), 0, 0, KindTitleCD, 0));
  ASSERT_TRUE(store.appendHidden(raw({u"A"}), 0, 0, KindFolder, 1, TreeCollapsed));
  ASSERT_TRUE(store.appendHidden(raw({u"B"}), 0, 0, KindFolder, 2, TreeHasFiles));
  ASSERT_TRUE(store.appendShown(raw({u"C"}), 0, 0, KindFolder, 1));
  EXPECT_EQ(treeFlagsOf(store),
            (std::vector<int>{TreeHasChildren, TreeCollapsed | TreeHasChildren, TreeHasFiles | TreeLast, 0}));
  EXPECT_EQ(store.shownCount(), 2);
  EXPECT_EQ(store.shownField(FieldName, 1), u"C");
}

TEST(RowStoreTest, TreeFlagsAfterAppendAndAfterDerive) {
  constexpr int F = KindFolder;
  constexpr int X = KindFile;
  constexpr int C = TreeHasChildren;
  constexpr int L = TreeLast;
  struct Case {
    const char* behaviour;
    std::vector<int> levels;
    std::vector<int> kinds;
    std::vector<int> expected;
  } cases[] = {
      {"sibling follows: no bit 2 on row 2; end of list: none on row 4",
       {0, 1, 2, 2, 1},
       {KindTitleCD, F, F, X, F},
       {C, C, 0, L, 0}},
      {"drop of two levels marks the last row of each",
       {0, 1, 2, 3, 1},
       {KindTitleCD, F, F, F, F},
       {C, C, C | L, L, 0}},
      {"walk back skips deeper rows",
       {0, 1, 2, 3, 3, 2, 3, 1},
       {KindTitleCD, F, F, F, F, F, F, F},
       {C, C, C, 0, L, C | L, L, 0}},
      {"drop to the title level", {0, 1, 2, 0}, {KindTitleCD, F, F, F}, {C, C | L, L, 0}},
      {"flat list", {0, 1, 1, 1}, {KindTitleCD, F, F, F}, {C, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    RowStore store;
    makeCatalogList(store);
    for (std::size_t i = 0; i < c.levels.size(); ++i) {
      ASSERT_TRUE(store.appendShown(raw({u"N"}), 0, 0, c.kinds[i], c.levels[i])) << c.behaviour;
    }
    EXPECT_EQ(treeFlagsOf(store), c.expected) << "append: " << c.behaviour;
    for (int r = 0; r < store.rowCount(); ++r) {
      EXPECT_EQ(store.displayFlags(r) & C, c.expected[r] & C) << "display flags: " << c.behaviour << " row " << r;
    }
    for (int r = 0; r < store.rowCount(); ++r) store.setTreeFlags(r, TreeLast | TreeHasChildren);
    ASSERT_TRUE(store.deriveIndexAndTreeFlags());
    EXPECT_EQ(treeFlagsOf(store), c.expected) << "derive: " << c.behaviour;
  }
}

TEST(RowStoreTest, AppendOutsideTreeModeLeavesFlagsAlone) {
  RowStore store;
  for (int level : {0, 1, 2, 1}) ASSERT_TRUE(store.appendShown(raw({u"N"}), 0, 0, KindFolder, level));
  EXPECT_EQ(treeFlagsOf(store), (std::vector<int>{0, 0, 0, 0}));
}

TEST(RowStoreTest, FolderAwareStoreSetsBit1OnlyForFolderLikeRowsInTheSubtree) {
  constexpr int F = KindFolder;
  constexpr int X = KindFile;
  constexpr int C = TreeHasChildren;
  constexpr int L = TreeLast;
  struct Case {
    const char* behaviour;
    bool folderAware;
    std::vector<int> levels;
    std::vector<int> kinds;
    std::vector<int> expected;
  } cases[] = {
      {"folder with files only has no bit 1", true, {0, 1, 2, 2, 1}, {KindTitleHD, F, X, X, F}, {C, 0, 0, L, 0}},
      {"plain store: any deeper row", false, {0, 1, 2, 2, 1}, {KindTitleHD, F, X, X, F}, {C, C, 0, L, 0}},
      {"folder further down the subtree counts", true, {0, 1, 2, 2, 3}, {KindTitleHD, F, X, F, X}, {C, C, 0, 0, 0}},
      {"archive folder is folder-like", true, {0, 1, 2, 3}, {KindTitleHD, F, X + 3, KindArchiveFolder}, {C, C, C, 0}},
      {"a folder after the subtree does not count", true, {0, 1, 2, 1}, {KindTitleHD, F, X, F}, {C, 0, L, 0}},
  };
  for (const Case& c : cases) {
    RowStore store;
    store.setTreeMode(true);
    store.setFolderAware(c.folderAware);
    for (std::size_t i = 0; i < c.levels.size(); ++i) {
      ASSERT_TRUE(store.appendHidden(raw({u"N"}), 0, 0, c.kinds[i], c.levels[i], TreeFilesHidden));
    }
    ASSERT_TRUE(store.deriveIndexAndTreeFlags());
    std::vector<int> expected = c.expected;
    for (int& f : expected) f |= TreeFilesHidden;  // display bits stay
    EXPECT_EQ(treeFlagsOf(store), expected) << c.behaviour;
    EXPECT_EQ(store.displayFlags(1), expected[1]) << c.behaviour;
  }
}

// ------------------------------------------------------------------ set field

TEST(RowStoreTest, SetFieldAddsMissingMarkers) {
  struct Case {
    const char* behaviour;
    Text record;
    int k;
    Text expected;
  } cases[] = {
      {"field 6 after field 3 adds empty 4 and 5", raw({u"A", u"c", u"d", u"1"}), FieldImage,
       raw({u"A", u"c", u"d", u"1", u"", u"", u"pic"})},
      {"next field", raw({u"A"}), FieldComment, raw({u"A", u"pic"})},
      {"present field replaced", raw({u"A", u"old", u"d"}), FieldComment, raw({u"A", u"pic", u"d"})},
      {"damaged order: marker goes before the higher one",
       Text(u"\x10"
            u"A\x13"
            u"1"),
       FieldComment,
       Text(u"\x10"
            u"A\x11pic\x13"
            u"1")},
  };
  for (const Case& c : cases) {
    RowStore store;
    ASSERT_TRUE(store.appendShown(c.record, 0, 0, KindFile, 1));
    ASSERT_TRUE(store.appendShown(raw({u"NEXT", u"n"}), 0, 0, KindFile, 1));
    ASSERT_TRUE(store.setField(c.k, 0, u"pic")) << c.behaviour;
    EXPECT_EQ(store.record(0), c.expected) << c.behaviour;
    EXPECT_EQ(store.field(c.k, 0), u"pic") << c.behaviour;
    EXPECT_EQ(store.field(FieldFlags, 0), u"") << c.behaviour;
    EXPECT_EQ(store.record(1), raw({u"NEXT", u"n"})) << c.behaviour;
  }
}

TEST(RowStoreTest, SetFieldShiftsLaterRecordsByTheLengthChange) {
  struct Case {
    const char* behaviour;
    Text text;
  } cases[] = {
      {"longer", u"a much longer comment than before"},
      {"shorter", u"x"},
      {"same length", u"COMMENT1"},
      {"empty", u""},
  };
  for (const Case& c : cases) {
    RowStore store;
    for (int r = 0; r < 4; ++r) {
      const Text n = u"ROW" + Text(1, static_cast<char16_t>(u'0' + r));
      ASSERT_TRUE(store.appendShown(buildRecord({n, u"comment" + n.substr(3), u"01/02/03 04:05", n}), 0, 0, 6, 1));
    }
    std::vector<std::vector<Text>> before;
    std::vector<int> starts;
    for (int r = 0; r < 4; ++r) {
      before.push_back(allFields(store, r));
      starts.push_back(store.start(r));
    }
    const int end = store.endPosition();
    ASSERT_TRUE(store.setField(FieldComment, 1, c.text)) << c.behaviour;
    const int d = static_cast<int>(c.text.size()) - 8;
    EXPECT_EQ(store.field(FieldComment, 1), c.text) << c.behaviour;
    EXPECT_EQ(store.field(FieldDate, 1), u"01/02/03 04:05") << c.behaviour;
    for (int r : {0, 2, 3}) EXPECT_EQ(allFields(store, r), before[r]) << c.behaviour << " row " << r;
    EXPECT_EQ(store.start(1), starts[1]) << c.behaviour;
    EXPECT_EQ(store.start(2), starts[2] + d) << c.behaviour;
    EXPECT_EQ(store.start(3), starts[3] + d) << c.behaviour;
    EXPECT_EQ(store.endPosition(), end + d) << c.behaviour;
    EXPECT_EQ(store.heap().back(), ch::Null) << c.behaviour;
  }
}

TEST(RowStoreTest, SetFieldStoresControlCharactersAsEscapes) {
  struct Case {
    const char* behaviour;
    Text text;
    Text stored;
  } cases[] = {
      {"field marker 16",
       Text(u"a\x10"
            u"b"),
       u"a&#x0010;b"},
      {"marker of another field", Text(u"\x12"), cp932::escapeControl(0x12)},
      {"end marker", Text(u"a\0b", 3), u"a" + cp932::escapeControl(0) + u"b"},
      {"tab", Text(u"a\tb"), u"a" + cp932::escapeControl(9) + u"b"},
      {"code 31", Text(u"\x1F"), cp932::escapeControl(31)},
      {"multi-line comment keeps CR LF", Text(u"line 1\r\nline 2"), u"line 1\r\nline 2"},
  };
  for (const Case& c : cases) {
    RowStore store;
    ASSERT_TRUE(store.appendShown(raw({u"A", u"old", u"date"}), 0, 0, KindFile, 1));
    ASSERT_TRUE(store.appendShown(raw({u"B", u"next"}), 0, 0, KindFile, 1));
    ASSERT_TRUE(store.setField(FieldComment, 0, c.text)) << c.behaviour;
    EXPECT_EQ(store.field(FieldComment, 0), c.stored) << c.behaviour;
    EXPECT_EQ(store.field(FieldDate, 0), u"date") << c.behaviour;
    ASSERT_TRUE(store.rebuildIndex());
    EXPECT_EQ(store.rowCount(), 2) << c.behaviour;
    EXPECT_EQ(store.field(FieldComment, 1), u"next") << c.behaviour;
  }
}

TEST(RowStoreTest, SetFieldOutsideRangeChangesNothing) {
  RowStore store;
  ASSERT_TRUE(store.appendShown(raw({u"A"}), 0, 0, KindFile, 1));
  store.setModified(false);
  for (auto [k, row] : {std::pair{0, -1}, {0, 1}, {-1, 0}, {16, 0}}) {
    EXPECT_FALSE(store.setField(k, row, u"x")) << k << "," << row;
  }
  EXPECT_EQ(store.record(0), raw({u"A"}));
  EXPECT_FALSE(store.modified());
}

// ------------------------------------------------------------------ capacity

TEST(RowStoreTest, RowCapacityGrowsBy1024AtThe501stRow) {
  RowStore store;
  EXPECT_EQ(store.rowCapacity(), 500);
  for (int r = 0; r < 500; ++r) ASSERT_TRUE(store.appendShown(raw({u"N"}), 0, 0, KindFile, 1));
  EXPECT_EQ(store.rowCapacity(), 500);
  ASSERT_TRUE(store.appendShown(raw({u"N"}), 0, 0, KindFile, 1));
  EXPECT_EQ(store.rowCapacity(), 1524);
  store.clear(100);
  EXPECT_EQ(store.rowCapacity(), 100);
  EXPECT_EQ(store.rowCount(), 0);
  EXPECT_EQ(store.heapCapacity(), 65536);
}

TEST(RowStoreTest, HeapGrowsBy32768WhenFewerThan256CharactersWouldRemain) {
  struct Case {
    const char* behaviour;
    int fillerLength;  // record length before a 10-character record
    int expectedCapacity;
  } cases[] = {
      {"256 left after the record", 65269, 65536},
      {"255 left after the record", 65270, 65536 + 32768},
  };
  for (const Case& c : cases) {
    RowStore store;
    const Text filler = u"\x10" + Text(static_cast<std::size_t>(c.fillerLength - 1), u'x');
    ASSERT_TRUE(store.appendShown(filler, 0, 0, KindFile, 1));
    EXPECT_EQ(store.heapCapacity(), 65536) << c.behaviour;
    ASSERT_TRUE(store.appendShown(raw({u"123456789"}), 0, 0, KindFile, 1));
    EXPECT_EQ(store.heapCapacity(), c.expectedCapacity) << c.behaviour;
    EXPECT_EQ(store.field(FieldName, 1), u"123456789") << c.behaviour;
  }
}

// Rows copied in ranges from another store come out as appending them one
// by one makes them: the same heap, blocks and room, in the cases where the
// room grows within one range, across ranges and not at all.
TEST(RowStoreTest, RowsCopiedInRangesEqualRowsAppendedOneByOne) {
  RowStore source;
  makeCatalogList(source);
  ASSERT_TRUE(source.appendShown(raw({u"TITLE"}), 0, 0, KindFolder, 0));
  for (int r = 1; r < 3000; ++r) {
    const bool folder = r % 7 == 1;
    const int level = folder ? 2 : 3 + r % 2;
    const Text name = u"name-" + Text(static_cast<std::size_t>(r % 40), u'x') + u"表" + Text(1, u'a' + r % 26);
    ASSERT_TRUE(source.appendShown(buildRecord({name, u"", u"01/02/03 04:05", u"1,234", u"0"}),
                                   colourIndexFor(folder ? KindFolder : KindFile, level), 0,
                                   folder ? KindFolder : KindFile, level));
  }
  struct Case {
    const char* behaviour;
    int capacity;
    std::vector<std::pair<int, int>> ranges;
  } cases[] = {
      {"one range, room grows", 10, {{1, 3000}}},
      {"ranges, room grows between them", 1, {{1, 400}, {700, 1900}, {1900, 2999}}},
      {"exact row room, an empty range", 2002, {{1000, 1000}, {1, 2001}}},
  };
  for (const Case& c : cases) {
    RowStore single;
    RowStore bulk;
    for (RowStore* s : {&single, &bulk}) {
      s->clear(c.capacity);
      makeCatalogList(*s);
      ASSERT_TRUE(s->appendShown(raw({u"TOP"}), 1, 0, KindFolder, 0));
    }
    for (const auto& [first, end] : c.ranges) {
      for (int r = first; r < end; ++r)
        ASSERT_TRUE(single.appendShown(source.record(r), source.colour(r), 0, source.kind(r), source.level(r) - 1));
      ASSERT_TRUE(bulk.appendRowsOf(source, first, end, 1)) << c.behaviour;
    }
    EXPECT_EQ(bulk.heap(), single.heap()) << c.behaviour;
    EXPECT_EQ(bulk.heapCapacity(), single.heapCapacity()) << c.behaviour;
    EXPECT_EQ(bulk.rowCapacity(), single.rowCapacity()) << c.behaviour;
    EXPECT_EQ(bulk.levelBlock(), single.levelBlock()) << c.behaviour;
    EXPECT_EQ(bulk.kindBlock(), single.kindBlock()) << c.behaviour;
    EXPECT_EQ(bulk.colourBlock(), single.colourBlock()) << c.behaviour;
    EXPECT_TRUE(bulk.modified()) << c.behaviour;
    ASSERT_EQ(bulk.rowCount(), single.rowCount()) << c.behaviour;
    ASSERT_EQ(bulk.shownCount(), single.rowCount()) << c.behaviour;
    for (int r = 0; r < bulk.rowCount(); ++r) {
      ASSERT_EQ(bulk.start(r), single.start(r)) << c.behaviour << " row " << r;
      ASSERT_EQ(bulk.record(r), single.record(r)) << c.behaviour << " row " << r;
      ASSERT_EQ(bulk.indent(r), single.indent(r)) << c.behaviour << " row " << r;
      ASSERT_EQ(bulk.storedRowAt(r), r) << c.behaviour;
    }
    ASSERT_TRUE(single.deriveIndexAndTreeFlags());
    ASSERT_TRUE(bulk.deriveIndexAndTreeFlags());
    EXPECT_EQ(bulk.treeFlagBlock(), single.treeFlagBlock()) << c.behaviour;
    EXPECT_EQ(bulk.heapCapacity(), single.heapCapacity()) << c.behaviour;
    EXPECT_EQ(bulk.rowCapacity(), single.rowCapacity()) << c.behaviour;
  }
}

TEST(RowStoreTest, RowsCopiedInRangesRefuseLevelsAndRangesOutsideAndAddNothing) {
  RowStore source;
  ASSERT_TRUE(source.appendShown(raw({u"A"}), 0, 0, KindFolder, 0));
  ASSERT_TRUE(source.appendShown(raw({u"B"}), 0, 0, KindFile, 1));
  ASSERT_TRUE(source.appendShown(raw({u"C"}), 0, 0, KindFile, 2));
  struct Case {
    const char* behaviour;
    int first, end, levelUp;
  } cases[] = {
      {"a level below 0", 0, 3, 1},
      {"a level above 127", 1, 3, -127},
      {"beyond the last row", 1, 4, 0},
      {"before the first row", -1, 2, 0},
      {"end before first", 2, 1, 0},
  };
  for (const Case& c : cases) {
    RowStore out;
    ASSERT_TRUE(out.appendShown(raw({u"T"}), 0, 0, KindFolder, 0));
    EXPECT_FALSE(out.appendRowsOf(source, c.first, c.end, c.levelUp)) << c.behaviour;
    EXPECT_EQ(out.rowCount(), 1) << c.behaviour;
    EXPECT_EQ(out.shownCount(), 1) << c.behaviour;
    EXPECT_EQ(out.heap(), raw({u"T"}) + Text(1, ch::Null)) << c.behaviour;
  }
}

TEST(RowStoreTest, RecordLongerThanOneHeapStepFitsWhole) {
  RowStore store;
  const Text name(100000, u'n');
  ASSERT_TRUE(store.appendShown(raw({name, u"c"}), 0, 0, KindFile, 1));
  EXPECT_GE(store.heapCapacity() - store.endPosition(), 256);
  EXPECT_EQ(store.field(FieldName, 0), name);
  EXPECT_EQ(store.field(FieldComment, 0), u"c");
}

TEST(RowStoreTest, FailedGrowthReportsAndKeepsCapacity) {
  RowStore store;
  std::vector<Text> messages;
  store.setErrorHandler([&](TextView m) { messages.emplace_back(m); });
  EXPECT_FALSE(store.expandListSize(0x7FFFFF00));
  EXPECT_EQ(store.rowCapacity(), 500);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].substr(0, ExpandListSizeMessage.size()), ExpandListSizeMessage);
  EXPECT_GT(messages[0].size(), ExpandListSizeMessage.size());
  EXPECT_TRUE(store.expandListSize(1024));
  EXPECT_EQ(store.rowCapacity(), 1524);
}

// ------------------------------------------------------------------ paths

TEST(RowStoreTest, RowPathJoinsAncestorNames) {
  const RowStore store = catalogOf({{u"LABEL", 0, KindTitleCD},
                                    {u"A", 1, KindFolder},
                                    {u"OTHER", 2, KindFolder},
                                    {u"B", 2, KindFolder},
                                    {u"file.txt", 3, KindFile},
                                    {u"C", 1, KindFolder}});
  struct Case {
    const char* behaviour;
    int row;
    int lowest;
    Text expected;
  } cases[] = {
      {"file below A and B from level 1", 4, 1, u"A\\B\\file.txt"},
      {"from level 0 starts with the label", 4, 0, u"LABEL\\A\\B\\file.txt"},
      {"from the row's own level", 4, 3, u"file.txt"},
      {"row shallower than the lowest level", 1, 2, u""},
      {"root folder", 5, 1, u"C"},
      {"row outside", 6, 1, u""},
  };
  for (const Case& c : cases) EXPECT_EQ(store.rowPath(c.row, c.lowest), c.expected) << c.behaviour;
}

TEST(RowStoreTest, FindRowByPathFollowsFirstMatchWithoutBacktracking) {
  const RowStore store = catalogOf({{u"LABEL", 0, KindTitleCD},
                                    {u"A", 1, KindFolder},   // 1
                                    {u"X", 2, KindFolder},   // 2
                                    {u"DEEP", 3, KindFile},  // 3
                                    {u"Y", 2, KindFile},     // 4
                                    {u"A", 1, KindFolder},   // 5
                                    {u"B", 2, KindFile},     // 6
                                    {u"D", 1, KindFolder},   // 7
                                    {u"B", 2, KindFile}});   // 8
  struct Case {
    const char* behaviour;
    Text path;
    int expected;
  } cases[] = {
      {"first A has no B; the second A's B is not tried", u"A\\B", -1},
      {"child of the first A", u"A\\X", 2},
      {"deeper rows are skipped", u"A\\Y", 4},
      {"a deeper row is not a child", u"A\\DEEP", -1},
      {"three levels", u"A\\X\\DEEP", 3},
      {"other folder's child", u"D\\B", 8},
      {"top level only", u"D", 7},
      {"empty path", u"", 0},
      {"unknown name", u"Q", -1},
      {"case-sensitive", u"a", -1},
      {"child past the end", u"D\\B\\Z", -1},
  };
  for (const Case& c : cases) EXPECT_EQ(store.findRowByPath(c.path, 1), c.expected) << c.behaviour;
  EXPECT_EQ(store.findRowByPath(u"LABEL\\D\\B", 0), 8);
}

// ------------------------------------------------------------------ index

TEST(RowStoreTest, LoadBlocksRebuildsIndexAndStopsAtTheEndOfData) {
  const Text two = raw({u"T", u"title"}) + raw({u"F", u"c"});
  struct Case {
    const char* behaviour;
    Text heap;
    std::string levels;
    int rows;
    Text lastName;
    Text lastComment;
  } cases[] = {
      {"end marker and spare", two + Text(20, u'\0'), std::string("\0\1", 2), 2, u"F", u"c"},
      {"no end marker", two, std::string("\0\1", 2), 2, u"F", u"c"},
      {"cut inside a record", two.substr(0, two.size() - 2), std::string("\0\1", 2), 2, u"F", u""},
      {"short level block is padded", two, std::string("\0", 1), 2, u"F", u"c"},
      {"empty heap", u"", "", 0, u"", u""},
      {"text after the end marker is ignored", two + Text(1, u'\0') + raw({u"GHOST"}), std::string("\0\1", 2), 2, u"F",
       u"c"},
  };
  for (const Case& c : cases) {
    RowStore store;
    store.setErrorHandler([](TextView) { ADD_FAILURE() << "no growth failure expected"; });
    ASSERT_TRUE(store.loadBlocks(c.heap, c.levels, "", std::string("\x02", 1), "")) << c.behaviour;
    ASSERT_EQ(store.rowCount(), c.rows) << c.behaviour;
    EXPECT_EQ(store.shownCount(), c.rows) << c.behaviour;
    EXPECT_EQ(store.heap().back(), ch::Null) << c.behaviour;
    EXPECT_FALSE(store.modified()) << c.behaviour;
    EXPECT_EQ(store.field(FieldName, c.rows - 1), c.lastName) << c.behaviour;
    EXPECT_EQ(store.field(FieldComment, c.rows - 1), c.lastComment) << c.behaviour;
    EXPECT_EQ(store.levelBlock().size(), static_cast<std::size_t>(c.rows)) << c.behaviour;
    EXPECT_EQ(store.kindBlock().size(), static_cast<std::size_t>(c.rows)) << c.behaviour;
    EXPECT_EQ(store.treeFlags(1), 0) << c.behaviour;
    if (c.rows == 2) {
      EXPECT_EQ(store.kind(0), KindTitleCD) << c.behaviour;
      EXPECT_EQ(store.kind(1), 0) << c.behaviour;
      EXPECT_EQ(store.storedRowAt(1), 1) << c.behaviour;
      EXPECT_EQ(store.indent(1), store.level(1) * store.indentWidth() + 6) << c.behaviour;
    }
  }
}

TEST(RowStoreTest, LoadBlocksTakesCapacitiesFromTheBlocks) {
  const Text heap = raw({u"T"}) + Text(99, u'\0');
  RowStore store;
  ASSERT_TRUE(store.loadBlocks(heap, std::string(1525, '\0'), std::string(1525, '\0'), std::string(1525, '\x02'),
                               std::string(1525, '\0')));
  EXPECT_EQ(store.rowCapacity(), 1524);
  EXPECT_EQ(store.heapCapacity(), 101);
  EXPECT_TRUE(store.hasCurrentFormat());
  EXPECT_EQ(store.endPosition(), 2);
  // The next record must leave 256 characters free.
  ASSERT_TRUE(store.appendShown(raw({u"F"}), 0, 0, KindFile, 1));
  EXPECT_EQ(store.heapCapacity(), 101 + 32768);
  EXPECT_EQ(store.field(FieldName, 1), u"F");
}

TEST(RowStoreTest, LoadedRowsBeyondTheBlocksGrowCapacityBy100) {
  Text heap;
  for (int r = 0; r < 5; ++r) heap += raw({u"N"});
  RowStore store;
  ASSERT_TRUE(store.loadBlocks(heap, std::string("\0\1", 2), "", "", ""));
  EXPECT_EQ(store.rowCount(), 5);
  EXPECT_EQ(store.rowCapacity(), 1 + 100);
  EXPECT_EQ(store.level(4), 0);
}

TEST(RowStoreTest, CopiesAreIndependent) {
  RowStore original;
  makeCatalogList(original);
  ASSERT_TRUE(original.appendShown(raw({u"T", u"title"}), 0, 0, KindTitleCD, 0));
  ASSERT_TRUE(original.appendShown(raw({u"A", u"c"}), 0, 0, KindFolder, 1));
  RowStore copy = original;
  ASSERT_TRUE(copy.setField(FieldComment, 0, u"changed"));
  ASSERT_TRUE(copy.appendShown(raw({u"B"}), 0, 0, KindFile, 2));
  EXPECT_EQ(original.rowCount(), 2);
  EXPECT_EQ(original.field(FieldComment, 0), u"title");
  EXPECT_EQ(original.treeFlags(1), 0);
  EXPECT_EQ(copy.field(FieldComment, 0), u"changed");
  EXPECT_EQ(copy.field(FieldName, 1), u"A");
  EXPECT_EQ(copy.treeFlags(1), TreeHasChildren);
  original = copy;
  EXPECT_EQ(original.field(FieldName, 2), u"B");
  EXPECT_TRUE(original.treeMode());
}

TEST(RowStoreTest, OldFormatHeapIsRecognised) {
  RowStore store;
  ASSERT_TRUE(store.loadBlocks(Text(u"\x02name\x02"), std::string("\0", 1), "", "", ""));
  EXPECT_FALSE(store.hasCurrentFormat());
  EXPECT_EQ(store.rowCount(), 1);
  EXPECT_EQ(store.findRowByPath(u"name", 0), -1);
}

// ------------------------------------------------------------------ display rows and erase

TEST(RowStoreTest, DisplaySplicesKeepSelectionAndFlagsInStep) {
  RowStore store;
  for (int r = 0; r < 5; ++r) ASSERT_TRUE(store.appendHidden(raw({u"N"}), 0, 0, KindFile, 1, r));
  store.setDisplayOrder({0, 4});
  store.setSelected(1, true);
  const std::int32_t inserted[] = {1, 2, 9};  // 9 is no stored row
  store.insertDisplayRows(1, inserted);
  EXPECT_EQ(orderOf(store), (std::vector<std::int32_t>{0, 1, 2, 4}));
  EXPECT_TRUE(store.selected(3));
  EXPECT_EQ(store.displayFlags(2), 2);
  EXPECT_EQ(store.selectedCount(), 1);
  store.eraseDisplayRows(2, 2);
  EXPECT_EQ(orderOf(store), (std::vector<std::int32_t>{0, 1}));
  EXPECT_EQ(store.selectedCount(), 0);
}

TEST(RowStoreTest, EraseRowsRemovesRecordsAndRenumbersDisplayRows) {
  RowStore store;
  for (const TextView n : {u"R0", u"R1", u"R2", u"R3", u"R4"}) {
    ASSERT_TRUE(store.appendShown(raw({n, u"c"}), 0, 0, KindFile, 1));
  }
  store.setSelected(4, true);
  store.eraseRows(1, 2);
  ASSERT_EQ(store.rowCount(), 3);
  EXPECT_EQ(store.field(FieldName, 1), u"R3");
  EXPECT_EQ(store.field(FieldComment, 2), u"c");
  EXPECT_EQ(orderOf(store), (std::vector<std::int32_t>{0, 1, 2}));
  EXPECT_TRUE(store.selected(2));
  EXPECT_EQ(store.endPosition(), 3 * 5);
  ASSERT_TRUE(store.rebuildIndex());
  EXPECT_EQ(store.rowCount(), 3);
}

// ------------------------------------------------------------------ catalog helpers

TEST(RowStoreTest, BuildRecordLeavesOffTrailingEmptyFieldsAndEscapes) {
  struct Case {
    const char* behaviour;
    std::vector<TextView> fields;
    Text expected;
  } cases[] = {
      {"scanned row",
       {u"A.TXT", u"c", u"01/02/03 04:05", u"12", u"0"},
       raw({u"A.TXT", u"c", u"01/02/03 04:05", u"12", u"0"})},
      {"trailing empties left off", {u"A", u"", u"d", u"", u""}, raw({u"A", u"", u"d"})},
      {"all empty keeps field 0", {u"", u""}, raw({u""})},
      {"marker inside a name",
       {u"a\x11"
        u"b"},
       raw({u"a&#x0011;b"})},
      {"control character", {u"a\x01"}, raw({u"a" + cp932::escapeControl(1)})},
      {"CR LF kept", {u"n", u"l1\r\nl2"}, raw({u"n", u"l1\r\nl2"})},
  };
  for (const Case& c : cases) EXPECT_EQ(buildRecord(c.fields), c.expected) << c.behaviour;
}

TEST(RowStoreTest, ColourIndexesFollowLevelForFolderLikeRows) {
  struct Case {
    int kind;
    int level;
    int colour;
  } cases[] = {
      {KindTitleCD, 0, 1},       {KindFolder, 1, 2}, {KindFolder, 13, 14},  {KindFolder, 14, 1},
      {KindArchiveFolder, 3, 4}, {KindFile, 2, 0},   {KindFile + 20, 5, 0}, {0, 15, 2},
  };
  RowStore store;
  for (const Case& c : cases) ASSERT_TRUE(store.appendShown(raw({u"N"}), 9, 0, c.kind, c.level));
  assignColourIndexes(store);
  for (int r = 0; r < store.rowCount(); ++r) {
    EXPECT_EQ(store.colour(r), cases[r].colour) << "kind " << cases[r].kind << " level " << cases[r].level;
  }
}

}  // namespace
}  // namespace zevro
