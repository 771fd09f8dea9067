#include "media/IndexReaders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "TempFolder.h"
#include "platform/LinuxFileSystem.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

// A medium E: in a temporary folder, files written as Shift-JIS with CR LF.
class IndexReadersTest : public ::testing::Test, protected test::TempFolder {
protected:
  IndexReadersTest() : TempFolder("zevro-index") {
    std::filesystem::create_directories(root());
    medium.setRoot(u"E:", root());
  }
  void text(const std::string& relative, TextView content) {
    Text crlf;
    for (char16_t c : content) {
      if (c == u'\n') crlf += u'\r';
      crlf += c;
    }
    put(relative, cp932::encode(crlf));
    again();
  }
  void file(const std::string& relative) {
    put(relative, "x");
    again();
  }
  void folder(const std::string& relative) {
    std::filesystem::create_directories(path(relative));
    again();
  }
  // Listings are kept for a reading; a file made between two reads is seen
  // by a new reading.
  void again() { medium.setRoot(u"E:", root()); }
  std::string comment(TextView p) {
    const std::optional<TextView> c = table.find(p);
    return c ? toUtf8(*c) : std::string("(none)");
  }

  LinuxFileSystem files;
  MediumFiles medium{files};
  CommentTable table;
  IndexReaders readers{medium, table};
};

TEST_F(IndexReadersTest, FileListEntersNamesThatExist) {
  text("TOOLS/tools.txt", u"SETUP.EXE インストーラ\nMISSING.EXE ないもの\n");
  file("TOOLS/SETUP.EXE");
  EXPECT_TRUE(readers.ReadFileList(u"E:\\TOOLS\\tools.txt", u"TOOLS"));
  EXPECT_EQ(comment(u"E:\\TOOLS\\SETUP.EXE"), "インストーラ");
  EXPECT_EQ(comment(u"e:\\tools\\missing.exe"), "(none)");
}

TEST_F(IndexReadersTest, FileListWithoutAnyExistingNameFails) {
  text("TOOLS/tools.txt", u"SETUP.EXE インストーラ\n");
  EXPECT_FALSE(readers.ReadFileList(u"E:\\TOOLS\\tools.txt", u"TOOLS"));
  EXPECT_EQ(table.size(), 0u);
}

TEST_F(IndexReadersTest, DashesAndPatternLookups) {
  text("DOCS/contents.txt", u"README------説明書\n");
  file("DOCS/README.TXT");
  EXPECT_TRUE(readers.ReadFileList(u"E:\\DOCS\\contents.txt", u"DOCS"));
  EXPECT_EQ(comment(u"e:\\docs\\readme.txt"), "説明書");
}

TEST_F(IndexReadersTest, AFolderLineBecomesTheBaseFolder) {
  text("cdlist.txt", u"CD-ROM 収録ソフト一覧\n\\TOOLS ツール集\nSETUP.EXE インストーラ\n");
  file("TOOLS/SETUP.EXE");
  EXPECT_TRUE(readers.ReadFileList(u"E:\\cdlist.txt", u""));
  EXPECT_EQ(comment(u"E:\\TOOLS"), "ツール集");
  EXPECT_EQ(comment(u"E:\\TOOLS\\SETUP.EXE"), "インストーラ");
  // The first line of a root list without "\" is the root's own comment.
  EXPECT_EQ(comment(u"E:"), "CD-ROM 収録ソフト一覧");
}

TEST_F(IndexReadersTest, NamesWithBackslashSecondBytes) {
  // 表 (95 5C), ソ (83 5C) and 能 (8E 5C) hold "\" as their second byte.
  text("LIST/list.txt", u"表ソ能.TXT 表示のソフト性能\n");
  file("LIST/表ソ能.TXT");
  EXPECT_TRUE(readers.ReadFileList(u"E:\\LIST\\list.txt", u"LIST"));
  EXPECT_EQ(comment(u"E:\\LIST\\表ソ能.TXT"), "表示のソフト性能");
}

TEST_F(IndexReadersTest, LongLinesHaveNoDescriptionUnlessDashed) {
  const Text padding(100, u'x');
  text("ZA/za.txt", u"ONE.TXT " + padding + u"\nTWO------説明" + padding + u"\n");
  file("ZA/ONE.TXT");
  file("ZA/TWO.TXT");
  EXPECT_TRUE(readers.ReadFileList(u"E:\\ZA\\za.txt", u"ZA"));
  EXPECT_EQ(comment(u"E:\\ZA\\ONE.TXT"), "(none)");
  EXPECT_EQ(comment(u"E:\\ZA\\TWO.TXT"), toUtf8(u"説明" + padding));
}

TEST_F(IndexReadersTest, TwoLineProgramForm) {
  text("SOFT/soft.txt", u"プログラム  お絵かきソフト\nファイル名  PAINT11.LZH\n");
  file("SOFT/PAINT12.LZH");
  EXPECT_TRUE(readers.ReadFileList(u"E:\\SOFT\\soft.txt", u"SOFT"));
  EXPECT_EQ(comment(u"E:\\SOFT\\PAINT12.LZH"), "お絵かきソフト");
}

TEST_F(IndexReadersTest, ProviderContinuation) {
  text("QB/qb.txt", u"TOOL.LZH    便利ツール ○○社提供\n    サンプル株式会社\n");
  file("QB/TOOL.LZH");
  EXPECT_TRUE(readers.ReadFileList(u"E:\\QB\\qb.txt", u"QB"));
  EXPECT_EQ(comment(u"E:\\QB\\TOOL.LZH"), "便利ツール ○○社提供 サンプル株式会社");
}

TEST_F(IndexReadersTest, BulletinIndexPlainAndFixedColumns) {
  // Plain ASCII: read line by line.
  text("BBS/files.bbs", u"TOOL.LZH   A small tool\nGONE.LZH   Not here\n");
  file("BBS/TOOL.LZH");
  EXPECT_TRUE(readers.ReadBulletinIndex(u"E:\\BBS\\files.bbs", u"BBS"));
  EXPECT_EQ(comment(u"E:\\BBS\\TOOL.LZH"), "A small tool");
  EXPECT_EQ(comment(u"E:\\BBS\\GONE.LZH"), "(none)");

  // Japanese text is read only in the fixed-column layout: name in bytes 1
  // to 14 (padded 8.3), description from byte 37, no existence check.
  table.clear();
  const Text record1 = u"TOOL    .LZH  12345  98-01-02 10:20 ツール集";
  const Text record2 = u"表示    .LZH  12345  98-01-02 10:20 表示ソフト";
  text("JBBS/00_index.txt", u"====== 索引\tフォルダー JBBS\t項目\n" + record1 + u"\n" + record2 + u"\n");
  EXPECT_TRUE(readers.ReadBulletinIndex(u"E:\\JBBS\\00_index.txt", u"JBBS"));
  EXPECT_EQ(comment(u"E:\\JBBS\\TOOL.LZH"), "ツール集");
  EXPECT_EQ(comment(u"E:\\JBBS\\表示.LZH"), "表示ソフト");

  // Japanese without the layout: nothing.
  table.clear();
  text("KBBS/k.bbs", u"TOOL.LZH   日本語の説明\n");
  file("KBBS/TOOL.LZH");
  EXPECT_FALSE(readers.ReadBulletinIndex(u"E:\\KBBS\\k.bbs", u"KBBS"));
}

TEST_F(IndexReadersTest, DiskListPicksTheSectionOfThisMedium) {
  text("filedir.txt",
       u"DISK 1  第一巻\n\\ONE\\\nA.TXT   1234  98-01-01 12:00   文書その一\n"
       u"DISK 2  第二巻\n\\TWO\\\nB.TXT   2345  98-01-01 12:00   文書その二\n");
  folder("TWO");
  const IndexReaders::DiskListResult r = readers.ReadDiskList(u"E:\\filedir.txt", u"ROOT");
  EXPECT_TRUE(r.read);
  EXPECT_EQ(toUtf8(r.title), "DISK 2  第二巻");
  EXPECT_EQ(comment(u"E:\\TWO\\B.TXT"), "文書その二");
  EXPECT_EQ(comment(u"E:\\ONE\\A.TXT"), "(none)");
}

TEST_F(IndexReadersTest, DiskListNeedsADigitAndABlank) {
  // "DISK10" has no blank after its digit: no section.
  text("filedir.txt", u"DISK10\n\\ONE\\\nA.TXT   1,234  98-01-01 文書\n");
  EXPECT_FALSE(readers.ReadDiskList(u"E:\\filedir.txt", u"").read);
}

TEST_F(IndexReadersTest, CollectionList) {
  text("00global.txt",
       u"収録一覧\n======\n\\WIN\\TOOLS                          \n-----\n"
       u"TOOL    .LZH                         ツール\nSUB\\                                サブフォルダー\n");
  file("WIN31/TOOLS/TOOL.LZH");
  folder("WIN31/TOOLS/SUB");
  EXPECT_TRUE(readers.ReadCollectionList(u"E:\\00global.txt"));
  EXPECT_EQ(comment(u"E:\\WIN31\\TOOLS\\TOOL.LZH"), "ツール");
  EXPECT_EQ(comment(u"E:\\WIN31\\TOOLS\\SUB"), "サブフォルダー");
}

TEST_F(IndexReadersTest, Outline) {
  text("readme.txt", u"このCDについて\n\n\\GAMES\tゲーム集\n\tPUZZLE\t（パズル）\n\t\tEASY\t初級\n\tACTION\tアクション\n");
  EXPECT_TRUE(readers.ReadOutline(u"E:\\readme.txt"));
  EXPECT_EQ(comment(u"E:\\GAMES"), "ゲーム集");
  EXPECT_EQ(comment(u"E:\\GAMES\\PUZZLE"), "パズル");
  EXPECT_EQ(comment(u"E:\\GAMES\\PUZZLE\\EASY"), "初級");
  EXPECT_EQ(comment(u"E:\\GAMES\\ACTION"), "アクション");
}

TEST_F(IndexReadersTest, MenuTitleRightAfterTheSection) {
  folder("GAMES");
  folder("TOOLS");
  text("menu.dat", u"[MENU]\n[GAMES]\nTITLE=ゲーム\n[TOOLS]\nexec=x.exe\ntitle=ツール\n");
  EXPECT_TRUE(readers.ReadMenu(u"E:\\menu.dat"));
  EXPECT_EQ(comment(u"E:\\GAMES"), "ゲーム");
  EXPECT_EQ(comment(u"E:\\TOOLS"), "(none)");
  text("menu2.dat", u"[other]\n[TOOLS]\ntitle=ツール\n");
  EXPECT_FALSE(readers.ReadMenu(u"E:\\menu2.dat"));
}

TEST_F(IndexReadersTest, SettingsAndBatchTitles) {
  text("A/setdata.ini", u"[setup]\ncaption = すごいゲーム セットアップ\n");
  EXPECT_EQ(toUtf8(readers.SettingsTitle(u"E:\\A\\setdata.ini", u"caption")), "すごいゲーム");
  text("A/setup.lst", u"[params]\nWndTitle=Tool Setup\n");
  EXPECT_EQ(toUtf8(readers.SettingsTitle(u"E:\\A\\setup.lst", u"wndtitle")), "Tool");
  text("A/other.ini", u"title=Fallback\n");
  EXPECT_EQ(toUtf8(readers.SettingsTitle(u"E:\\A\\other.ini", u"caption")), "Fallback");
  text("A/UP1.BAT", u"@echo off\necho ツール集の更新\n");
  EXPECT_EQ(toUtf8(readers.BatchTitle(u"E:\\A\\UP1.BAT")), "ツール集の更新");
}

TEST_F(IndexReadersTest, FifosAreNeverOpened) {
  folder("F");
  ASSERT_EQ(::mkfifo(path("F/f.txt").c_str(), 0600), 0);
  // Would block forever if it were opened for reading.
  EXPECT_FALSE(readers.ReadFileList(u"E:\\F\\f.txt", u"F"));
  EXPECT_EQ(readers.BatchTitle(u"E:\\F\\f.txt"), u"");
}

TEST_F(IndexReadersTest, FileListReadsOnlyItsFirstBytes) {
  // An entry past the first 32,767 bytes is not read.
  Text list;
  while (list.size() < IndexReaders::FileListBytes) list += u"NOPE.TXT filler\n";
  list += u"LATE.TXT 遅い\n";
  text("QL/ql.txt", u"EARLY.TXT 早い\n" + list);
  file("QL/EARLY.TXT");
  file("QL/LATE.TXT");
  EXPECT_TRUE(readers.ReadFileList(u"E:\\QL\\ql.txt", u"QL"));
  EXPECT_EQ(comment(u"E:\\QL\\EARLY.TXT"), "早い");
  EXPECT_EQ(comment(u"E:\\QL\\LATE.TXT"), "(none)");
}

TEST_F(IndexReadersTest, BulletinIndexStopsAtItsCap) {
  // A "whole" index is read up to 4 MiB: an entry past that is not seen,
  // one before it is.
  Text index = u"EARLY.LZH  early one\n";
  const Text filler = u"NOPE.LZH   filler line of the index\n";
  while (index.size() < IndexReaders::WholeFileCap) index += filler;
  index += u"LATE.LZH   late one\n";
  text("QX/files.bbs", index);
  file("QX/EARLY.LZH");
  file("QX/LATE.LZH");
  EXPECT_TRUE(readers.ReadBulletinIndex(u"E:\\QX\\files.bbs", u"QX"));
  EXPECT_EQ(comment(u"E:\\QX\\EARLY.LZH"), "early one");
  EXPECT_EQ(comment(u"E:\\QX\\LATE.LZH"), "(none)");
}

}  // namespace
}  // namespace zevro
