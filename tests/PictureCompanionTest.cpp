#include "media/PictureCompanion.h"

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "core/CatalogList.h"
#include "platform/FakeUi.h"
#include "platform/FaultyFileSystem.h"
#include "platform/LinuxFileSystem.h"

namespace zevro::test {
namespace {

using catalog::buildRecord;
namespace pc = picturecodec;

std::string companionOf(std::initializer_list<std::pair<const char*, std::string>> pictures) {
  std::string out;
  for (const auto& [id, data] : pictures) out += pc::record(id, data);
  return out;
}

TEST(PictureCodec, RecordLayout) {
  EXPECT_EQ(pc::record("007", "abc"), std::string("00000003007     abc"));
  EXPECT_EQ(pc::record("123", std::string(0x1A2B, 'x')).substr(0, 16), "00001A2B123     ");
}

TEST(PictureCodec, ParsesEveryRecordAndTellsDamage) {
  const std::string good = companionOf({{"001", "one"}, {"002", "second"}, {"004", ""}});
  struct Case {
    const char* what;
    std::string bytes;
    std::size_t records;
    bool damaged;
  };
  const Case cases[] = {
      {"empty", "", 0, false},
      {"three records", good, 3, false},
      {"zero padding after the last", good + std::string(20, '\0'), 3, false},
      {"cut inside the last record's data", good.substr(0, good.size() - 1), 2, true},
      {"cut inside a header", good.substr(0, 16 + 3 + 10), 1, true},
      {"length field not hexadecimal", good + "0000000G005     x", 3, true},
      {"a record past the end", good + "000000FF005     abc", 3, true},
      {"data after zero padding", good + std::string(8, '\0') + "junk", 3, true},
  };
  for (const Case& c : cases) {
    const pc::Parsed parsed = pc::parse(c.bytes);
    EXPECT_EQ(parsed.records.size(), c.records) << c.what;
    EXPECT_EQ(parsed.damaged, c.damaged) << c.what;
  }
}

TEST(PictureCodec, ReplacesInPlaceAppendsAndRemovesLeavingOthersByteIdentical) {
  const std::string file = companionOf({{"001", "one"}, {"007", "old seven"}, {"004", "four"}});
  EXPECT_EQ(pc::withPicture(file, "007", "NEW"), companionOf({{"001", "one"}, {"007", "NEW"}, {"004", "four"}}));
  EXPECT_EQ(pc::withPicture(file, "009", "nine"), file + pc::record("009", "nine"));
  // A second record of the same id goes when the first is replaced.
  const std::string twice = file + pc::record("007", "stray");
  EXPECT_EQ(pc::withPicture(twice, "007", "NEW"), companionOf({{"001", "one"}, {"007", "NEW"}, {"004", "four"}}));
  EXPECT_EQ(pc::withoutPicture(file, "007"), companionOf({{"001", "one"}, {"004", "four"}}));
  EXPECT_EQ(pc::withoutPicture(twice, "007"), companionOf({{"001", "one"}, {"004", "four"}}));
  EXPECT_EQ(pc::pictureOf(file, "004"), "four");
  EXPECT_FALSE(pc::pictureOf(file, "005"));
  // A damaged file is never rewritten.
  const std::string cut = file.substr(0, file.size() - 2);
  EXPECT_FALSE(pc::withPicture(cut, "001", "x"));
  EXPECT_FALSE(pc::withoutPicture(cut, "001"));
  EXPECT_EQ(pc::pictureOf(cut, "001"), "one") << "still shown as far as it reads";
}

TEST(PictureCodec, NextFreeIdFromTheFieldSixMarkers) {
  struct Case {
    std::vector<Text> ids;
    const char16_t* next;
  };
  std::vector<Text> all;
  for (int n = 1; n <= 999; ++n) {
    char digits[4];
    std::snprintf(digits, sizeof digits, "%03d", n);
    all.push_back(Text(digits, digits + 3));
  }
  const Case cases[] = {
      {{}, u"001"},
      {{u"001", u"002", u"004"}, u"003"},
      {{u"002"}, u"001"},
      {{u"001", u"0x2", u"00"}, u"002"},  // not three digits: not an id
      {all, u""},
  };
  for (const Case& c : cases) {
    RowStore store;
    catalog::makeCatalogList(store);
    store.appendShown(buildRecord({u"LABEL"}), 0, 0, catalog::KindTitleCD, 0);
    for (const Text& id : c.ids)
      store.appendShown(buildRecord({u"A.JPG", u"", u"", u"1", u"8", u"", id}), 0, 0, catalog::KindFile, 1);
    EXPECT_EQ(pc::nextFreeId(store.heap()), c.next) << c.ids.size();
  }
}

TEST(PictureCodec, CompanionNameHasTheKindInCapitalsAndNoGenre) {
  struct Case {
    const char16_t* list;
    const char16_t* companion;
  };
  const Case cases[] = {
      {u"_03CD_GAMES.cct", u"_p_CD_GAMES.ccj"},
      {u"_03cd_GAMES.cct", u"_p_CD_GAMES.ccj"},
      {u"_00hd_work SOFT&TOOLS.CCT", u"_p_HD_work SOFT&TOOLS.ccj"},
  };
  for (const Case& c : cases) EXPECT_EQ(pc::companionName(c.list), c.companion);
}

// ------------------------------------------------------------ the operations

class AttachedPicturesTest : public ::testing::Test, protected TempFolder {
protected:
  AttachedPicturesTest() : TempFolder("zevro-pictures") {
    catalog::makeCatalogList(list);
    list.appendShown(buildRecord({u"GAMES"}), 0, 0, catalog::KindTitleCD, 0);
    list.appendShown(buildRecord({u"A.JPG", u"", u"", u"1", u"0"}), 0, 0, catalog::KindFile, 1);
    list.appendShown(buildRecord({u"B.JPG", u"", u"", u"1", u"2"}), 0, 0, catalog::KindFile, 1);
    list.setModified(false);
    std::filesystem::create_directories(path("Catalog"));
    put("pic1.jpg", "JPEG one");
    put("pic2.jpg", "JPEG two");
  }

  LinuxFileSystem files;
  FakeUi ui;
  Platform platform{files, ui};
  AttachedPictures pictures{{platform, path("Catalog"), path("temp")}};
  RowStore list;
  const Text name = u"_03cd_GAMES.cct";
};

TEST_F(AttachedPicturesTest, AddKeepsTheIdReplacesInPlaceAndCaches) {
  ASSERT_TRUE(pictures.AddPicture(list, 1, nullptr, -1, name, path("pic1.jpg")));
  EXPECT_EQ(list.field(catalog::FieldImage, 1), u"001");
  EXPECT_EQ(list.field(catalog::FieldFlags, 1), u"8");
  EXPECT_TRUE(list.modified());
  ASSERT_TRUE(pictures.AddPicture(list, 2, nullptr, -1, name, path("pic2.jpg")));
  EXPECT_EQ(list.field(catalog::FieldImage, 2), u"002");
  EXPECT_EQ(list.field(catalog::FieldFlags, 2), u":") << "bits 2 and 8";
  EXPECT_EQ(get("Catalog/_p_CD_GAMES.ccj"), companionOf({{"001", "JPEG one"}, {"002", "JPEG two"}}));
  EXPECT_EQ(get("temp/_Dir.txt"), "CD_GAMES\r\n");
  EXPECT_EQ(get("temp/002.jpg"), "JPEG two");

  // The first row gets another picture: record 001 replaced where it was.
  put("pic3.jpg", "JPEG three");
  ASSERT_TRUE(pictures.AddPicture(list, 1, nullptr, -1, name, path("pic3.jpg")));
  EXPECT_EQ(get("Catalog/_p_CD_GAMES.ccj"), companionOf({{"001", "JPEG three"}, {"002", "JPEG two"}}));
  EXPECT_EQ(get("temp/001.jpg"), "JPEG three");
  EXPECT_TRUE(ui.calls.empty());
}

TEST_F(AttachedPicturesTest, LoadTakesThePictureFromTheCompanionWhenNotCached) {
  put("Catalog/_p_CD_GAMES.ccj", companionOf({{"001", "x"}, {"007", "seven"}}));
  pictures.SyncPictureCache(name);
  const std::optional<NativePath> got = pictures.LoadAttachedPicture(name, u"007");
  ASSERT_TRUE(got);
  EXPECT_EQ(*got, path("temp/007.jpg"));
  EXPECT_EQ(get("temp/007.jpg"), "seven");
  EXPECT_FALSE(pictures.LoadAttachedPicture(name, u"005"));
}

TEST_F(AttachedPicturesTest, CacheOfAnotherCatalogIsEmptiedFirst) {
  put("temp/_Dir.txt", "FD_OTHER\r\n");
  put("temp/001.jpg", "a picture of the other catalog");
  pictures.SyncPictureCache(name);
  EXPECT_FALSE(there("temp/001.jpg"));
  EXPECT_EQ(get("temp/_Dir.txt"), "CD_GAMES\r\n");
  put("temp/001.jpg", "ours");
  pictures.SyncPictureCache(u"_05CD_GAMES.cct");
  EXPECT_TRUE(there("temp/001.jpg")) << "same catalog key, cache kept";
}

TEST_F(AttachedPicturesTest, RemoveLeavesTheOtherRecordsAndOnlyTheRowsGiven) {
  put("Catalog/_p_CD_GAMES.ccj", companionOf({{"001", "one"}, {"002", "two"}, {"004", "four"}}));
  list.setField(catalog::FieldImage, 1, u"002");
  list.setField(catalog::FieldFlags, 1, u"8");
  RowStore pane;
  pane.appendShown(buildRecord({u"A.JPG", u"", u"", u"1", u"8", u"", u"002"}), 0, 0, catalog::KindFile, 0);
  // With the folder grid active, the pane row is left alone.
  ASSERT_TRUE(pictures.RemovePicture(list, 1, nullptr, -1, name));
  EXPECT_EQ(get("Catalog/_p_CD_GAMES.ccj"), companionOf({{"001", "one"}, {"004", "four"}}));
  EXPECT_EQ(list.field(catalog::FieldImage, 1), u"");
  EXPECT_EQ(list.field(catalog::FieldFlags, 1), u"0");
  EXPECT_EQ(pane.field(catalog::FieldImage, 0), u"002");
}

TEST_F(AttachedPicturesTest, DamagedCompanionIsRefusedAndLeftUnchanged) {
  const std::string cut = companionOf({{"001", "one"}, {"002", "two"}}).substr(0, 30);
  put("Catalog/_p_CD_GAMES.ccj", cut);
  EXPECT_FALSE(pictures.AddPicture(list, 1, nullptr, -1, name, path("pic1.jpg")));
  list.setField(catalog::FieldImage, 2, u"001");
  EXPECT_FALSE(pictures.RemovePicture(list, 2, nullptr, -1, name));
  EXPECT_EQ(get("Catalog/_p_CD_GAMES.ccj"), cut);
  EXPECT_EQ(list.field(catalog::FieldImage, 1), u"");
  EXPECT_EQ(list.field(catalog::FieldImage, 2), u"001");
  ASSERT_EQ(ui.messages().size(), 2u);
  EXPECT_TRUE(ui.messages()[0].starts_with(AttachedPictures::DamagedMessage));
}

TEST_F(AttachedPicturesTest, FailedWriteKeepsTheOldCompanion) {
  const std::string old = companionOf({{"001", "one"}});
  put("Catalog/_p_CD_GAMES.ccj", old);
  FaultyFileSystem faulty(files);
  Platform faultyPlatform{faulty, ui};
  AttachedPictures failing({faultyPlatform, path("Catalog"), path("temp")});
  faulty.fail(FaultyFileSystem::Op::Write, ENOSPC, path("Catalog/_p_CD_GAMES.ccj"));
  EXPECT_FALSE(failing.AddPicture(list, 2, nullptr, -1, name, path("pic2.jpg")));
  EXPECT_EQ(get("Catalog/_p_CD_GAMES.ccj"), old);
  EXPECT_EQ(ui.count(FakeUi::Kind::SystemMessage), 1);
  EXPECT_EQ(list.field(catalog::FieldImage, 2), u"");
  EXPECT_FALSE(list.modified());
}

}  // namespace
}  // namespace zevro::test
