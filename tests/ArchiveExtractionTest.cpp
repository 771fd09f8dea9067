#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "ArchiveFixtures.h"
#include "TempFolder.h"
#include "media/ArchiveLibraries.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

namespace fs = std::filesystem;

std::string utf8(TextView t) { return cp932::toNativeName(t); }

std::vector<std::string> texts(const std::vector<Text>& list) {
  std::vector<std::string> out;
  for (const Text& t : list) out.push_back(utf8(t));
  return out;
}

std::vector<std::pair<std::string, ExtractRefusal>> refusals(const ExtractReport& r) {
  std::vector<std::pair<std::string, ExtractRefusal>> out;
  for (const auto& [path, why] : r.refused) out.push_back({utf8(path), why});
  return out;
}

// Every file below a folder, relative, sorted.
std::vector<std::string> filesBelow(const fs::path& root) {
  std::vector<std::string> out;
  if (!fs::exists(root)) return out;
  for (const auto& e : fs::recursive_directory_iterator(root))
    if (!e.is_directory()) out.push_back(fs::relative(e.path(), root).string());
  std::sort(out.begin(), out.end());
  return out;
}

class ArchiveExtractionTest : public ::testing::Test {
protected:
  test::TempFolder dir;
  ArchiveLibraries reader{ListTime::Zone::Japan};
  fs::path target() const { return dir.path("out/t"); }
};

TEST_F(ArchiveExtractionTest, OneMemberLandsWithItsFoldersAndExactBytesInBothFormats) {
  test::writeBytes(dir.path("a.lzh"),
                   test::lzhArchive({{"doc\\" + test::Hyo + " readme.txt", "hello"}, {"tool.exe", "MZ"}}, 1));
  ASSERT_TRUE(test::writeZip(dir.path("a.zip"), {{"doc/表 readme.txt", "hello"}, {"tool.exe", "MZ"}}));
  for (const auto& [name, type] : {std::pair{"a.lzh", ArchiveType::Lzh}, std::pair{"a.zip", ArchiveType::Zip}}) {
    test::TempFolder out;
    // "\" as the catalog writes paths, and another case.
    const ExtractReport r = reader.ExtractMember(dir.path(name), type, u"DOC\\表 README.TXT", out.path("t"));
    EXPECT_TRUE(r.success()) << name;
    EXPECT_EQ(texts(r.written), std::vector<std::string>{"doc/表 readme.txt"}) << name;
    EXPECT_EQ(out.get("t/doc/表 readme.txt"), "hello") << name;
    EXPECT_EQ(filesBelow(out.path("t")), std::vector<std::string>{"doc/表 readme.txt"}) << name;
    EXPECT_EQ(reader.ReadMember(dir.path(name), type, u"doc/表 readme.txt", 3), std::optional<std::string>("hel"))
        << name;
    EXPECT_EQ(reader.ReadMember(dir.path(name), type, u"tool.exe", 100), std::optional<std::string>("MZ")) << name;
    EXPECT_EQ(reader.ReadMember(dir.path(name), type, u"missing", 100), std::nullopt) << name;
  }
}

TEST_F(ArchiveExtractionTest, UnsafePathsAreRefusedAndNothingLandsOutsideTheTarget) {
  // The same archive extracted whole: the safe members are written, the
  // others refused one by one.
  const std::vector<test::LzhEntry> entries = {
      {"../evil1.txt", "x"},  {"..\\evil2.txt", "x"}, {"/tmp/evil3.txt", "x"},        {"\\evil4.txt", "x"},
      {"C:\\evil5.txt", "x"}, {"c:evil6.txt", "x"},   {"ok\\..\\..\\evil7.txt", "x"}, {"ok\\good.txt", "good"},
  };
  test::writeBytes(dir.path("bad.lzh"), test::lzhArchive(entries, 0));
  const ExtractReport r = reader.ExtractMember(dir.path("bad.lzh"), ArchiveType::Lzh, u"", target());
  EXPECT_TRUE(r.opened);
  EXPECT_FALSE(r.success());
  EXPECT_EQ(texts(r.written), std::vector<std::string>{"ok/good.txt"});
  ASSERT_EQ(r.refused.size(), 7u);
  for (const auto& [path, why] : refusals(r)) EXPECT_EQ(why, ExtractRefusal::Unsafe) << path;
  EXPECT_EQ(filesBelow(dir.path("out")), std::vector<std::string>{"t/ok/good.txt"});
  EXPECT_FALSE(fs::exists("/tmp/evil3.txt"));
  // One refused member asked for by name.
  const ExtractReport one = reader.ExtractMember(dir.path("bad.lzh"), ArchiveType::Lzh, u"../evil1.txt", target());
  EXPECT_EQ(refusals(one),
            (std::vector<std::pair<std::string, ExtractRefusal>>{{"../evil1.txt", ExtractRefusal::Unsafe}}));
}

TEST_F(ArchiveExtractionTest, LinksAreNeverMadeNorFollowed) {
  const fs::path outside = dir.path("outside");
  fs::create_directories(outside);
  // A link member, then a member written "through" it: the link is refused,
  // so the member goes into a real folder inside the target.
  ASSERT_TRUE(test::writeZip(dir.path("link.zip"),
                             {{"evil", outside.string(), false, false, 1109931600, true}, {"evil/x.txt", "x"}}));
  const ExtractReport r = reader.ExtractMember(dir.path("link.zip"), ArchiveType::Zip, u"", target());
  EXPECT_EQ(refusals(r), (std::vector<std::pair<std::string, ExtractRefusal>>{{"evil", ExtractRefusal::NotRegular}}));
  EXPECT_EQ(texts(r.written), std::vector<std::string>{"evil/x.txt"});
  EXPECT_FALSE(fs::is_symlink(target() / "evil"));
  EXPECT_TRUE(filesBelow(outside).empty());

  // A link already standing in the target is not entered either.
  const fs::path other = dir.path("t2");
  fs::create_directories(other);
  fs::create_directory_symlink(outside, other / "evil");
  const ExtractReport through = reader.ExtractMember(dir.path("link.zip"), ArchiveType::Zip, u"evil/x.txt", other);
  EXPECT_EQ(refusals(through),
            (std::vector<std::pair<std::string, ExtractRefusal>>{{"evil/x.txt", ExtractRefusal::Unsafe}}));
  EXPECT_TRUE(filesBelow(outside).empty());
  // Nor a link in the place of the file itself.
  fs::create_directories(dir.path("t3/evil"));
  fs::create_symlink(dir.path("outside/y.txt"), dir.path("t3/evil/x.txt"));
  const ExtractReport file =
      reader.ExtractMember(dir.path("link.zip"), ArchiveType::Zip, u"evil/x.txt", dir.path("t3"));
  EXPECT_FALSE(file.success());
  EXPECT_FALSE(fs::exists(dir.path("outside/y.txt")));
}

TEST_F(ArchiveExtractionTest, AnExistingFileIsNeverOverwrittenAndTheOthersStillCome) {
  ASSERT_TRUE(test::writeZip(dir.path("a.zip"), {{"keep.txt", "new"}, {"sub/", "", true}, {"sub/new.txt", "n"}}));
  dir.put("out/t/keep.txt", "old");
  const ExtractReport r = reader.ExtractMember(dir.path("a.zip"), ArchiveType::Zip, u"", target());
  EXPECT_EQ(refusals(r), (std::vector<std::pair<std::string, ExtractRefusal>>{{"keep.txt", ExtractRefusal::Exists}}));
  EXPECT_EQ(texts(r.written), std::vector<std::string>{"sub/new.txt"});
  EXPECT_EQ(dir.get("out/t/keep.txt"), "old");
  EXPECT_EQ(dir.get("out/t/sub/new.txt"), "n");
}

TEST_F(ArchiveExtractionTest, MissingMembersUnreadableArchivesAndDamagedDataFail) {
  test::writeBytes(dir.path("a.lzh"), test::lzhArchive({{"a.txt", "abcdef"}}, 2));
  std::string damaged = test::lzhArchive({{"a.txt", "abcdef"}}, 2);
  damaged[damaged.size() - 3] ^= 0x01;  // a data byte: the CRC-16 no longer agrees
  test::writeBytes(dir.path("crc.lzh"), damaged);
  test::writeBytes(dir.path("junk.zip"), "not an archive");
  struct Case {
    const char* archive;
    ArchiveType type;
    TextView member;
    bool opened;
    std::vector<std::pair<std::string, ExtractRefusal>> refused;
  } cases[] = {
      {"a.lzh", ArchiveType::Lzh, u"b.txt", true, {{"b.txt", ExtractRefusal::NotFound}}},
      {"crc.lzh", ArchiveType::Lzh, u"a.txt", true, {{"a.txt", ExtractRefusal::Damaged}}},
      {"junk.zip", ArchiveType::Zip, u"", false, {}},
      {"none.zip", ArchiveType::Zip, u"a.txt", false, {}},
  };
  for (const Case& c : cases) {
    const ExtractReport r = reader.ExtractMember(dir.path(c.archive), c.type, c.member, target());
    EXPECT_EQ(r.opened, c.opened) << c.archive;
    EXPECT_FALSE(r.success()) << c.archive;
    EXPECT_EQ(refusals(r), c.refused) << c.archive;
    EXPECT_TRUE(filesBelow(target()).empty()) << c.archive;
  }
}

TEST_F(ArchiveExtractionTest, AReaderSwitchedOffExtractsNothing) {
  test::writeBytes(dir.path("a.lzh"), test::lzhArchive({{"a.txt", "a"}}, 0));
  ArchiveLibraries off(ListTime::Zone::Japan, false);
  EXPECT_FALSE(off.ExtractMember(dir.path("a.lzh"), ArchiveType::Lzh, u"", target()).success());
  EXPECT_EQ(off.ReadMember(dir.path("a.lzh"), ArchiveType::Lzh, u"a.txt", 10), std::nullopt);
  EXPECT_TRUE(filesBelow(target()).empty());
}

}  // namespace
}  // namespace zevro
