#include "media/CommentGenerator.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <map>

#include "TempFolder.h"
#include "core/CatalogList.h"
#include "core/IconTable.h"
#include "core/RowStore.h"
#include "media/FolderWalker.h"
#include "platform/FakeUi.h"
#include "platform/LinuxFileSystem.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

// A medium in a temporary folder, walked with generated comments; the
// comments come back by row name.
class CommentGeneratorTest : public ::testing::Test, protected test::TempFolder {
protected:
  CommentGeneratorTest() : TempFolder("zevro-comments") {
    icons.BuildStandardTables();
    std::filesystem::create_directories(path("medium"));
    std::filesystem::create_directories(path("windows"));
  }
  void text(const std::string& relative, TextView content) {
    Text crlf;
    for (char16_t c : content) {
      if (c == u'\n') crlf += u'\r';
      crlf += c;
    }
    put("medium/" + relative, cp932::encode(crlf));
  }
  void bytes(const std::string& relative, const std::string& content) { put("medium/" + relative, content); }
  void folder(const std::string& relative) { std::filesystem::create_directories(path("medium/" + relative)); }

  // Walks the medium (u"E:" or a folder of it) and keeps the comments.
  void walk(CommentOptions options, TextView logical = u"E:", TextView title = u"TITLE",
            const std::string& sub = "medium") {
    CommentGenerator comments(files, path("windows"), options);
    WalkHooks hooks;
    hooks.comments = &comments;
    FolderWalker walker(files, ui, icons, {.sortOrder = WalkOrder::Name, .mediumKind = 1}, {}, hooks);
    store.clear();
    ASSERT_TRUE(walker.WalkFolder(path(sub), logical, title, store));
    byName.clear();
    for (int r = 0; r < store.rowCount(); ++r)
      byName.emplace(toUtf8(store.field(catalog::FieldName, r)), toUtf8(store.field(catalog::FieldComment, r)));
    title0 = toUtf8(store.field(catalog::FieldComment, 0));
  }
  std::string comment(const std::string& name) {
    const auto it = byName.find(name);
    return it == byName.end() ? "(no row)" : it->second;
  }

  LinuxFileSystem files;
  FakeUi ui;
  IconTable icons;
  RowStore store;
  std::map<std::string, std::string> byName;
  std::string title0;
};

TEST_F(CommentGeneratorTest, DeviceFoldersAndIssueDates) {
  folder("drivers");
  folder("driver");
  folder("NEC");
  folder("SOFT9912");
  folder("SOFT1234");
  walk({.autoCreate = false});
  EXPECT_EQ(comment("drivers"), "デバイス・ドライバー");
  EXPECT_EQ(comment("driver"), "デバイス･ドライバー");
  EXPECT_EQ(comment("NEC"), "NEC");
  EXPECT_EQ(comment("SOFT9912"), " 99年12月号");
  EXPECT_EQ(comment("SOFT1234"), "");
}

TEST_F(CommentGeneratorTest, TitleLineFromMagazineLabelsOrTheMediumTitle) {
  const struct {
    const char* label;
    const char* title;
  } rows[] = {
      {"ASCIIIV9905", "月刊アスキー DOS/V 99年 5月号"},
      {"OHPC0107", "Oh!PC 2001年 7月号"},
      {"VPR99051", "DOS/V Power Report 99年 5月号 Disk-1"},
      {"GAMES", "GAMES"},
  };
  for (const auto& r : rows) {
    walk({.autoCreate = true}, u"E:", fromUtf8(r.label));
    EXPECT_EQ(title0, r.title) << r.label;
  }
}

TEST_F(CommentGeneratorTest, AudioCdNamesFromThePlayerSettings) {
  bytes("Track01.cda", "x");
  put("windows/CDPlayer.ini", cp932::encode(u"[1a2b3c4d]\r\nartist=歌手\r\ntitle=アルバム\r\n0=最初の曲\r\n"));
  walk({.autoCreate = true}, u"E:", u"CDA1A2B3C4D");
  EXPECT_EQ(title0, "歌手/アルバム");
  EXPECT_EQ(comment("Track01.cda"), "最初の曲");
}

TEST_F(CommentGeneratorTest, ReadmeGivesTheFolderComment) {
  text("TOOL/README.TXT", u"すごいツール Ver1.00\n\n株式会社サンプル\n");
  walk({.autoCreate = true});
  EXPECT_EQ(comment("TOOL"), "すごいツール Ver1.00");
}

TEST_F(CommentGeneratorTest, AFileListBeatsTheReadme) {
  text("TOOLS/tools.txt", u"TOOLS  ツール集 ...\nSETUP.EXE インストーラ\n");
  bytes("TOOLS/SETUP.EXE", "MZ");
  text("TOOLS/readme.txt", u"別のツール Ver.2\n");
  walk({.autoCreate = true});
  EXPECT_EQ(comment("TOOLS"), "ツール集");
  EXPECT_EQ(comment("SETUP.EXE"), "インストーラ");
}

TEST_F(CommentGeneratorTest, WithAutoCreateOffNoIndexOrReadmeIsRead) {
  text("TOOLS/tools.txt", u"SETUP.EXE インストーラ\n");
  bytes("TOOLS/SETUP.EXE", "MZ");
  text("TOOLS/readme.txt", u"別のツール Ver.2\n");
  text("GAME/setdata.ini", u"caption=ゲーム\n");
  walk({.autoCreate = false});
  EXPECT_EQ(comment("TOOLS"), "");
  EXPECT_EQ(comment("SETUP.EXE"), "");
  EXPECT_EQ(comment("GAME"), "");
  // The file rules still apply: the readme's first lines.
  EXPECT_EQ(comment("readme.txt"), "別のツール Ver.2\r\n");
}

TEST_F(CommentGeneratorTest, SettingsFileTitle) {
  text("GAME/setdata.ini", u"caption = すごいゲーム セットアップ\n");
  walk({.autoCreate = true});
  EXPECT_EQ(comment("GAME"), "すごいゲーム");
}

TEST_F(CommentGeneratorTest, DiskListSetsTheCatalogTitle) {
  text("filedir.txt",
       u"DISK 1  第一巻\n\\ONE\\\nA.TXT   1234  98-01-01 12:00   文書その一\n"
       u"DISK 2  第二巻\n\\TWO\\\nB.TXT   2345  98-01-01 12:00   文書その二\n");
  text("TWO/B.TXT", u"b\n");
  walk({.autoCreate = true});
  EXPECT_EQ(title0, "DISK 2  第二巻");
  EXPECT_EQ(comment("B.TXT"), "文書その二");
}

TEST_F(CommentGeneratorTest, AFolderReadAsTheMediumKeepsItsName) {
  folder("SOFT9905");
  // With AutoCreate on the name stays as it is; with it off the issue date
  // is added (the rules run in that order).
  walk({.autoCreate = true}, u"E:\\SOFT9905", u"ROOT SOFT9905", "medium/SOFT9905");
  EXPECT_EQ(title0, "SOFT9905");
  walk({.autoCreate = false}, u"E:\\SOFT9905", u"ROOT SOFT9905", "medium/SOFT9905");
  EXPECT_EQ(title0, "SOFT9905 99年05月号");
}

TEST_F(CommentGeneratorTest, FileCommentsKeepNoFieldMarkersAndFit) {
  // A text whose first line holds field markers and is long.
  const std::string line = "A\x10" "B\x11" "C" + std::string(200, 'x');
  bytes("notes.txt", line + "\r\nsecond\r\n");
  bytes("page.htm", "<title>T\x12itle</title>");
  walk({.autoCreate = true});
  const std::string txt = comment("notes.txt");
  EXPECT_EQ(txt.size(), 128u);
  EXPECT_EQ(txt.substr(0, 5), "A B C");
  EXPECT_EQ(comment("page.htm"), "T itle");
  // The rows are whole: every name is where it belongs.
  EXPECT_EQ(comment("(no such)"), "(no row)");
  EXPECT_NE(comment("page.htm"), "(no row)");
}

TEST_F(CommentGeneratorTest, FifoNamedReadmeDoesNotStopTheReading) {
  folder("F");
  ASSERT_EQ(::mkfifo(path("medium/F/readme.txt").c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo(path("medium/F/page.htm").c_str(), 0600), 0);
  walk({.autoCreate = true});
  EXPECT_EQ(comment("F"), "");
  EXPECT_EQ(comment("readme.txt"), "");
}

TEST_F(CommentGeneratorTest, LargePagesAreReadOnlyAtTheirStart) {
  // A 1 MiB page: only the first 256 KiB are read, where the title is.
  std::string page = "<title>Big</title>";
  page += std::string(1u << 20, ' ');
  page += "<meta name=description content=\"late\">";
  bytes("big.htm", page);
  walk({.autoCreate = true});
  EXPECT_EQ(comment("big.htm"), "Big");
}

TEST_F(CommentGeneratorTest, AviAndMp3Files) {
  std::string avi(256, '\0');
  avi[48] = static_cast<char>(1500 & 0xFF);
  avi[49] = static_cast<char>(1500 >> 8);
  avi[64] = static_cast<char>(320 & 0xFF);
  avi[65] = static_cast<char>(320 >> 8);
  avi[68] = static_cast<char>(240);
  bytes("clip.avi", avi);
  bytes("my_artist-some song.mp3", "ID3");
  walk({.autoCreate = false});
  EXPECT_EQ(comment("clip.avi"), "320×240（1500フレーム）");
  EXPECT_EQ(comment("my_artist-some song.mp3"), "My_artist-Some Song");
}

TEST_F(CommentGeneratorTest, FolderCommentsAreCutTo128) {
  text("LONG/readme.txt", Text(200, u'あ') + u"\n");
  walk({.autoCreate = true});
  // A title of 200 characters (the phrase rules keep up to 256) is cut.
  EXPECT_EQ(comment("LONG"), toUtf8(Text(128, u'あ')));
}

TEST(CommentTableTest, FirstEntryWinsAndKeysIgnoreAsciiCase) {
  CommentTable table;
  EXPECT_TRUE(table.add(u"E:\\TOOLS\\SETUP.EXE", u"first\tone"));
  EXPECT_FALSE(table.add(u"e:\\tools\\setup.exe", u"second"));
  ASSERT_TRUE(table.find(u"E:\\Tools\\Setup.exe"));
  EXPECT_EQ(*table.find(u"E:\\Tools\\Setup.exe"), u"first one");
  // Only ASCII letters fold: full-width letters are other names.
  EXPECT_TRUE(table.add(u"E:\\ＡＢＣ", u"x"));
  EXPECT_FALSE(table.find(u"E:\\ａｂｃ"));
}

}  // namespace
}  // namespace zevro
