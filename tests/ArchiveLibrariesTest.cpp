#include "media/ArchiveLibraries.h"

#include <gtest/gtest.h>

#include "ArchiveFixtures.h"
#include "TempFolder.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

using test::DosDate2005;
using test::DosTime1020;
using test::Hyo;
using test::Ji;
using test::Risuto;
using test::So;

struct Expected {
  Text path;
  std::uint64_t size;
  bool directory;
  Text time;  // row text
};

std::string utf8(TextView text) { return cp932::toNativeName(text); }

void expectMembers(const ArchiveListing& listing, const std::vector<Expected>& expected, const std::string& label) {
  ASSERT_TRUE(listing.opened) << label;
  ASSERT_EQ(listing.members.size(), expected.size()) << label;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const ArchiveMember& m = listing.members[i];
    EXPECT_EQ(utf8(m.path), utf8(expected[i].path)) << label << " #" << i;
    EXPECT_EQ(m.size, expected[i].size) << label << " #" << i;
    EXPECT_EQ(m.directory, expected[i].directory) << label << " #" << i;
    EXPECT_EQ(utf8(m.time.rowText()), utf8(expected[i].time)) << label << " #" << i;
  }
}

// CP932 names whose characters end in 0x5C, blanks, "\" between folders,
// a folder entry; every header level the writers of old media used.
std::vector<test::LzhEntry> lzhEntries() {
  return {
      {"doc\\", "", true},
      {"doc\\" + Hyo + Ji + " " + Risuto + ".txt", "readme!"},
      {So + "\\tool.exe", "MZ"},
  };
}

TEST(ArchiveLibrariesTest, LzhMembersOfEveryHeaderLevelKeepTheirNamesAndDates) {
  test::TimeZoneForTest zone("XST+03:30");  // neither UTC nor Japan
  test::TempFolder dir;
  struct Case {
    int level;
    bool folderExtended;  // level 1: the folder in an extended header
    Text time;            // levels 0 and 1 store DOS fields; level 2 a Unix time, shown as a list time
  } cases[] = {
      {0, false, u"05/03/04 10:20"},
      {1, false, u"05/03/04 10:20"},
      {1, true, u"05/03/04 10:20"},
      {2, false, u"05/03/04 19:20"},
  };
  ArchiveLibraries reader(ListTime::Zone::Japan);
  for (const Case& c : cases) {
    const std::string label = "level " + std::to_string(c.level) + (c.folderExtended ? " extended" : "");
    const auto path = dir.path(label + ".lzh");
    test::writeBytes(path, test::lzhArchive(lzhEntries(), c.level, c.folderExtended));
    expectMembers(
        reader.list(path, ArchiveType::Lzh),
        {{u"doc/", 0, true, c.time}, {u"doc/表示 リスト.txt", 7, false, c.time}, {u"ソ/tool.exe", 2, false, c.time}},
        label);
  }
}

TEST(ArchiveLibrariesTest, ZipNamesInCp932OrFlaggedUtf8ComeOutWholeWithTheirDates) {
  test::TimeZoneForTest zone("XST+03:30");
  test::TempFolder dir;
  const time_t local1020 = 1109931600 + 3 * 3600 + 30 * 60;  // 10:20 in that zone
  const auto path = dir.path("pack.zip");
  ASSERT_TRUE(test::writeZip(path, {
                                       {"doc/表示 リスト.txt", "readme!", false, false, local1020},
                                       {"utf8/日本.txt", "abc", false, true, local1020},
                                       {"sub/", "", true, false, local1020},
                                       {"win\\ソ.txt", "xy", false, false, local1020},
                                       {"unix.txt", "u", false, false, local1020, false, false, true},
                                   }));
  ArchiveLibraries reader(ListTime::Zone::Japan);
  expectMembers(reader.list(path, ArchiveType::Zip),
                {{u"doc/表示 リスト.txt", 7, false, u"05/03/04 10:20"},
                 {u"utf8/日本.txt", 3, false, u"05/03/04 10:20"},
                 {u"sub/", 0, true, u"05/03/04 10:20"},
                 {u"win/ソ.txt", 2, false, u"05/03/04 10:20"},
                 // A stored Unix time (13:50 UTC) shows as a list time.
                 {u"unix.txt", 1, false, u"05/03/04 22:50"}},
                "zip");
}

TEST(ArchiveLibrariesTest, ZipNamesTheConverterRefusesAreDecodedFromTheirBytes) {
  test::TempFolder dir;
  // 0x85 0x40 is a pair CP932 assigns nothing; the name is kept with it
  // (as the codec keeps such bytes) and 表 after it is still whole.
  const std::string stored = "odd\x85\x40" + Hyo + ".txt";
  ASSERT_TRUE(test::writeZip(dir.path("odd.zip"),
                             {{"a.txt", "a"}, {stored, "b", false, false, 1109931600, false, true}, {"c.txt", "c"}}));
  ArchiveLibraries reader(ListTime::Zone::Japan);
  const ArchiveListing listing = reader.list(dir.path("odd.zip"), ArchiveType::Zip);
  ASSERT_EQ(listing.members.size(), 3u);
  EXPECT_EQ(utf8(listing.members[0].path), "a.txt");
  EXPECT_EQ(utf8(listing.members[1].path), utf8(cp932::decode(stored)));
  EXPECT_TRUE(listing.members[1].path.ends_with(u"表.txt"));
  EXPECT_EQ(utf8(listing.members[2].path), "c.txt");
}

TEST(ArchiveLibrariesTest, DamagedArchivesKeepTheMembersBeforeTheDamage) {
  test::TempFolder dir;
  const std::vector<test::LzhEntry> three = {{"a.txt", "aaaa"}, {"b.txt", "bbbb"}, {"c.txt", "cccc"}};
  const std::string lzh = test::lzhArchive(three, 1);
  const std::size_t third = test::lzhMember(three[0], 1).size() + test::lzhMember(three[1], 1).size();
  test::writeBytes(dir.path("cut.lzh"), lzh.substr(0, third + 10));

  const auto whole = dir.path("whole.zip");
  ASSERT_TRUE(test::writeZip(
      whole, {{"a.txt", std::string(100, 'a')}, {"b.txt", std::string(100, 'b')}, {"c.txt", std::string(100, 'c')}}));
  std::ifstream in(whole, std::ios::binary);
  const std::string zip((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::size_t cPos = zip.find("c.txt");
  ASSERT_NE(cPos, std::string::npos);
  test::writeBytes(dir.path("cut.zip"), zip.substr(0, cPos + 2));

  ArchiveLibraries reader(ListTime::Zone::Japan);
  for (const auto& [name, type] : {std::pair{"cut.lzh", ArchiveType::Lzh}, std::pair{"cut.zip", ArchiveType::Zip}}) {
    const ArchiveListing listing = reader.list(dir.path(name), type);
    ASSERT_EQ(listing.members.size(), 2u) << name;
    EXPECT_EQ(utf8(listing.members[0].path), "a.txt") << name;
    EXPECT_EQ(utf8(listing.members[1].path), "b.txt") << name;
  }
}

TEST(ArchiveLibrariesTest, AReaderSwitchedOffReadsNothing) {
  test::TempFolder dir;
  test::writeBytes(dir.path("a.lzh"), test::lzhArchive({{"a.txt", "a"}}, 0));
  ASSERT_TRUE(test::writeZip(dir.path("a.zip"), {{"a.txt", "a"}}));
  ArchiveLibraries on(ListTime::Zone::Japan);
  ArchiveLibraries off(ListTime::Zone::Japan, false);
  for (const auto& [name, type] : {std::pair{"a.lzh", ArchiveType::Lzh}, std::pair{"a.zip", ArchiveType::Zip}}) {
    EXPECT_TRUE(on.available(type)) << name;
    EXPECT_EQ(on.list(dir.path(name), type).members.size(), 1u) << name;
    EXPECT_FALSE(off.available(type)) << name;
    const ArchiveListing listing = off.list(dir.path(name), type);
    EXPECT_FALSE(listing.opened) << name;
    EXPECT_TRUE(listing.members.empty()) << name;
  }
}

TEST(ArchiveLibrariesTest, ArchiveTypesComeFromTheExtensionInAnyCase) {
  const std::pair<TextView, ArchiveType> cases[] = {
      {u"TOOL.LZH", ArchiveType::Lzh},  {u"tool.lzh", ArchiveType::Lzh},    {u"a.Zip", ArchiveType::Zip},
      {u"setup.cab", ArchiveType::Cab}, {u"readme.txt", ArchiveType::None}, {u"lzh", ArchiveType::None},
  };
  for (const auto& [name, type] : cases) EXPECT_EQ(archiveTypeOf(name), type) << utf8(name);
}

}  // namespace
}  // namespace zevro
