#include "media/FolderRules.h"

#include <gtest/gtest.h>

#include "media/FileComment.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

using namespace folderrules;

TEST(FolderRulesTest, DeviceAndMakerFolders) {
  struct Row {
    Text folder;
    Text comment;
  };
  const Row rows[] = {
      {u"driver", u"デバイス･ドライバー"},   // half-width middle dot
      {u"drivers", u"デバイス・ドライバー"}, // full-width middle dot
      {u"DRIVERS", u"デバイス・ドライバー"},
      {u"nec", u"NEC"},
      {u"NEC", u"NEC"},
      {u"msie", u"Microsoft ｲﾝﾀｰﾈｯﾄ･ｴｸｽﾌﾟﾛｰﾗ"},
      {u"iodata", u"アイ・オー･データ機器"},
      {u"mitubisi", u"三菱電気"},
      {u"gateway", u"GATEWAY"},
      {u"games", u""},
      {u"nec2", u""},
  };
  for (const Row& r : rows) EXPECT_EQ(DeviceComment(r.folder), r.comment) << toUtf8(r.folder);
}

TEST(FolderRulesTest, MagazineLabels) {
  struct Row {
    Text label;
    Magazine::Result result;
    Text title;
  };
  using R = Magazine::Result;
  const Row rows[] = {
      {u"ASCIIIV9905", R::Title, u"月刊アスキー DOS/V 99年 5月号"},
      {u"ASCIIIVXY", R::Title, u"月刊アスキー DOS/V"},
      {u"ASCII-WM12", R::Title, u"月刊 Windows Magazine Vol.12"},
      {u"DOSV9812", R::Title, u"月刊 DOS/V USER 98年 12月号"},
      {u"DOSV", R::Title, u"月刊 DOS/V USER"},
      {u"OHPC0107", R::Title, u"Oh!PC 2001年 7月号"},
      {u"OHPCX", R::Title, u"Oh!PC"},
      {u"OH!PC0815", R::Title, u"Oh!PC 8月 15日号"},
      {u"OH!PC", R::Title, u"Oh!PC"},
      {u"VPR99051", R::Title, u"DOS/V Power Report 99年 5月号 Disk-1"},
      {u"VPR9905", R::Title, u"DOS/V Power Report 99年 5月号"},
      {u"VPRX", R::Title, u"DOS/V Power Report"},
      {u"LIVECD_07", R::Title, u"Windows Magazine - LIVE CD Vol.07"},
      {u"VBM_VOL15", R::Title, u"VBマガジン Vol.15"},
      {u"MD", R::Title, u"CD-ROMマガジン"},
      {u"MD2", R::None, u""},
      {u"VD019901", R::Title, u"Vector Pack 99年 Disk-1"},
      {u"VD99", R::Keep, u""},
      {u"GAMES", R::None, u""},
  };
  for (const Row& r : rows) {
    const Magazine m = MagazineTitle(r.label);
    EXPECT_EQ(m.result, r.result) << toUtf8(r.label);
    EXPECT_EQ(m.title, r.title) << toUtf8(r.label);
  }
}

TEST(FolderRulesTest, IssueDates) {
  struct Row {
    Text name;
    Text date;
  };
  const Row rows[] = {
      {u"SOFT9912", u" 99年12月号"}, {u"SOFT9905", u" 99年05月号"}, {u"SOFT0107", u" 01年07月号"},
      {u"SOFT1234", u""},            {u"SOFT9913", u""},            {u"SOFT9900", u""},
      {u"991", u""},                 {u"9905", u" 99年05月号"},
  };
  for (const Row& r : rows) EXPECT_EQ(IssueDate(r.name), r.date) << toUtf8(r.name);
}

TEST(FolderRulesTest, AudioCdSettings) {
  const Text ini =
      u"[other]\r\ntitle=X\r\n[1a2b3c4d]\r\nartist=Artist\r\ntitle=Album\r\nnumtracks=2\r\n0=First\r\n1=Second\r\n"
      u"[next]\r\n0=Never\r\n";
  const AudioCd cd = AudioCdOf(ini, u"1A2B3C4D");
  EXPECT_TRUE(cd.found);
  EXPECT_EQ(cd.title, u"Artist/Album");
  ASSERT_EQ(cd.tracks.size(), 2u);
  EXPECT_EQ(cd.tracks[0], (std::pair<int, Text>{0, u"First"}));
  EXPECT_EQ(cd.tracks[1], (std::pair<int, Text>{1, u"Second"}));
  EXPECT_EQ(AudioCdOf(u"[1a2b3c4d]\r\ntitle=Album\r\n", u"1a2b3c4d").title, u"Album");
  EXPECT_FALSE(AudioCdOf(ini, u"99999999").found);
}

std::string aviHeader(unsigned width, unsigned height, unsigned frames) {
  std::string b(256, '\0');
  b.replace(0, 4, "RIFF");
  b.replace(8, 4, "AVI ");
  b[48] = static_cast<char>(frames & 0xFF);
  b[49] = static_cast<char>((frames >> 8) & 0xFF);
  b[50] = static_cast<char>((frames >> 16) & 0xFF);
  b[64] = static_cast<char>(width & 0xFF);
  b[65] = static_cast<char>(width >> 8);
  b[68] = static_cast<char>(height & 0xFF);
  b[69] = static_cast<char>(height >> 8);
  return b;
}

TEST(FileCommentTest, Avi) {
  EXPECT_EQ(filecomment::AviComment(aviHeader(320, 240, 1500)), u"320×240（1500フレーム）");
  EXPECT_EQ(filecomment::AviComment(aviHeader(640, 480, 70000)), u"640×480（70000フレーム）");
  EXPECT_EQ(filecomment::AviComment("RIFF"), u"");  // too short to hold the header
}

TEST(FileCommentTest, Mp3NamesInProperCaseWithRepairs) {
  struct Row {
    Text name;
    Text comment;
  };
  const Row rows[] = {
      {u"my_artist-some song.mp3", u"My_artist-Some Song"},
      {u"THE BAND - LOUD SONG.MP3", u"The Band - Loud Song"},
      {u"no dash here.mp3", u"No Dash Here"},
      {u"don_ t stop.mp3", u"Don, T Stop"},   // "on" before it: a comma
      {u"_ ll be there.mp3", u"' Ll Be There"},  // position 1: an apostrophe
      {u"a_ b.mp3", u"A' B"},                  // position 2: an apostrophe
      {u"st_ louis.mp3", u"St. Louis"},
      {u"dr_ who.mp3", u"Dr. Who"},
      {u"rockin_ roll.mp3", u"Rockin' Roll"},
      {u"one_ two.mp3", u"One, Two"},
  };
  for (const Row& r : rows) EXPECT_EQ(filecomment::Mp3Comment(r.name), r.comment) << toUtf8(r.name);
}

TEST(FileCommentTest, TxtTakesFiveEndedLines) {
  const std::string bytes = cp932::encode(u"  一行目  \r\n\"二行目\"\r\n3\r\n4\r\n5\r\n6\r\n7\r\n");
  EXPECT_EQ(filecomment::TxtComment(bytes), u"一行目\r\n二行目\r\n3\r\n4\r\n5\r\n");
  // A last line without a line end is not taken.
  EXPECT_EQ(filecomment::TxtComment("a\r\nb"), u"a\r\n");
}

TEST(FileCommentTest, HtmlTitleDescriptionAndBody) {
  struct Row {
    const char* why;
    Text page;
    Text comment;
  };
  const Row rows[] = {
      {"title and description",
       u"<html><head><TITLE>ゲーム集</TITLE><meta name=\"description\" content=\"楽しいゲーム\"></head>",
       u"ゲーム集\r\n楽しいゲーム"},
      {"title only", u"<title>X</title>", u"X"},
      {"description only", u"<meta name=description content=\"D\">", u"\r\nD"},
      {"body pieces", u"<html><body><h1>見出し</h1>\r\n<p>本文&nbsp;です</p><p>\t二つ目  の  段落</p></body>",
       u"見出し, 本文です, 二つ目 の 段落"},
      {"nothing", u"<html></html>", u""},
  };
  for (const Row& r : rows) EXPECT_EQ(filecomment::HtmlComment(cp932::encode(r.page)), r.comment) << r.why;
}

}  // namespace
}  // namespace zevro
