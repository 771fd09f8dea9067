#include "core/OptionKeys.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>

#include "core/Strings.h"
#include "platform/LinuxFileSystem.h"

namespace zevro {
namespace {

namespace fs = std::filesystem;

TEST(OptionKeys, TheTableHoldsEveryKeyOnce) {
  const std::vector<opt::OptionKey>& keys = opt::optionKeys();
  EXPECT_EQ(keys.size(), 152u);  // the original 150, LocalListTime and AudioCdCommand
  std::set<Text> folded;
  for (const opt::OptionKey& key : keys) EXPECT_TRUE(folded.insert(asciiLower(key.name)).second) << toUtf8(key.name);
}

TEST(OptionKeys, NumberedKeysAreGenerated) {
  struct Row {
    Text name;
    Text expected;
  } rows[] = {
      {opt::groupKey(0), u"Group00"},
      {opt::groupKey(19), u"Group19"},
      {opt::foreColorKey(1), u"ForeColor1"},
      {opt::foreColorKey(12), u"ForeColor12"},
      {opt::defaultGenreName(3), u"ジャンル03"},
  };
  for (const Row& r : rows) EXPECT_EQ(r.name, r.expected);
  for (int g = 0; g < opt::GroupCount; ++g) EXPECT_NE(opt::findOptionKey(opt::groupKey(g)), nullptr) << g;
  for (int level = 1; level <= opt::ForeColorCount; ++level)
    EXPECT_NE(opt::findOptionKey(opt::foreColorKey(level)), nullptr) << level;
  EXPECT_EQ(opt::findOptionKey(u"ForeColor13"), nullptr);
  EXPECT_EQ(opt::findOptionKey(u"Group20"), nullptr);
}

TEST(OptionKeys, KeysAreFoundWhateverTheirCase) {
  const opt::OptionKey* key = opt::findOptionKey(u"listinterleave");
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->name, opt::ListInterleave);
  EXPECT_EQ(opt::findOptionKey(u"NoSuchKey"), nullptr);
}

class OptionKeysStore : public ::testing::Test {
protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "zevro-keys-XXXXXX").native();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root = pattern;
  }
  void TearDown() override { fs::remove_all(root); }

  NativePath root;
  LinuxFileSystem disk;
};

TEST_F(OptionKeysStore, AnEmptyStoreReadsTheTablesDefaults) {
  OptionStore store(disk, root / "ZEVRO32.Opt");
  ASSERT_FALSE(store.load());

  struct NumberRow {
    TextView key;
    int value;
  } numbers[] = {
      {opt::FileFrames, 4},     {opt::ListInterleave, 2}, {opt::isMsgModal, -1}, {opt::FindMode, 3},
      {opt::SelMediaMode, 7},   {opt::FindWidth0, 200},   {opt::RomanFont, -1},  {opt::PrnWrap, 1},
      {opt::ListWidthWm0, 215}, {opt::WIDTH, 0},
  };
  for (const NumberRow& r : numbers) EXPECT_EQ(opt::readNumber(store, r.key), r.value) << toUtf8(r.key);

  struct FlagRow {
    TextView key;
    bool value;
  } flags[] = {
      {opt::KeiDispH, false},      {opt::KeiDispV, true},     {opt::QueryDelete, true}, {opt::StartWithCatalog, true},
      {opt::StartWithFind, false}, {opt::UseExtactZip, true}, {opt::AlphaSame, false},
  };
  for (const FlagRow& r : flags) EXPECT_EQ(opt::readBoolean(store, r.key), r.value) << toUtf8(r.key);
  EXPECT_TRUE(opt::readOnOff(store, opt::ColorF));

  struct ColourRow {
    Text key;
    std::uint32_t value;
  } colours[] = {
      {Text(opt::SelBackCol), 0x8000000D},  {Text(opt::SelForeCol), 0x8000000E}, {Text(opt::CsrBackCol), 0xE8FFC8},
      {Text(opt::TitleBackColL), 0xE0D090}, {opt::foreColorKey(1), 0x800000},    {opt::foreColorKey(12), 0x337033},
  };
  for (const ColourRow& r : colours) EXPECT_EQ(opt::readColour(store, r.key), r.value) << toUtf8(r.key);

  EXPECT_EQ(opt::readText(store, opt::FontSize), u"9.75");
  EXPECT_EQ(opt::readText(store, opt::JanreList), u"00000000000000000000");
  EXPECT_EQ(opt::readText(store, opt::CatalogDir), u"");
}

TEST_F(OptionKeysStore, StoredValuesWinOverTheTable) {
  std::ofstream(root / "ZEVRO32.Opt", std::ios::binary)
      << "[Options]\r\nColorF=on\r\nFileFrames= 2\r\nSelBackCol=255\r\nKeiDispV= 0\r\n";
  OptionStore store(disk, root / "ZEVRO32.Opt");
  ASSERT_FALSE(store.load());
  EXPECT_TRUE(opt::readOnOff(store, opt::ColorF));
  EXPECT_EQ(opt::readNumber(store, opt::FileFrames), 2);
  EXPECT_EQ(opt::readColour(store, opt::SelBackCol), 255u);
  EXPECT_FALSE(opt::readBoolean(store, opt::KeiDispV));
}

}  // namespace
}  // namespace zevro
