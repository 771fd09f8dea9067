#include "media/ReadmeTitle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "text/Cp932.h"

namespace zevro {
namespace {

// A readme as it stands on a medium: Shift-JIS with CR LF.
std::string readme(TextView text) {
  Text crlf;
  for (char16_t c : text) {
    if (c == u'\n') crlf += u'\r';
    crlf += c;
  }
  return cp932::encode(crlf);
}

Text titleOf(TextView text, TextView path = u"E:\\TOOLS\\README.TXT") { return ReadmeTitle::of(readme(text), path); }

TEST(ReadmeTitleTest, BinaryTextsGiveNothing) {
  struct Row {
    const char* why;
    std::string bytes;
  };
  const Row rows[] = {
      {"compound document", std::string("\xD0\xCF\x11\xE0Tool Ver.1\r\n")},
      {"old word processor", std::string("\xDB\xA5Tool Ver.1\r\n")},
      {"code 16", std::string("Tool Ver.1\x10\r\n")},
      {"byte 255", std::string("Tool Ver.1\xFF\r\n")},
      {"first character below TAB", std::string("\x01Tool Ver.1\r\n")},
      {"empty", std::string()},
  };
  for (const Row& r : rows) EXPECT_EQ(ReadmeTitle::of(r.bytes, u"E:\\README.TXT"), u"") << r.why;
  // The same text without the marks has a title.
  EXPECT_EQ(ReadmeTitle::of("Tool Ver.1\r\n", u"E:\\README.TXT"), u"Tool Ver.1");
}

TEST(ReadmeTitleTest, StagesOfTheAnalysis) {
  struct Row {
    const char* why;
    Text text;
    Text title;
  };
  const Row rows[] = {
      {"trial word at the line end", u"ABCツール 試用版\n", u"ABCツール （体験版）"},
      {"a demo is tagged the same way", u"ABCツール デモ版\n", u"ABCツール （体験版）"},
      {"trial word followed by hiragana is no tag", u"ABCツール 試用版のご案内\n", u"ABCツール 試用版"},
      {"trial word after この is no tag", u"ABCツール この試用版\n", u"ABCツール この試用版"},
      {"label with an LZH token", u"【名称】 TOOL.LZH すごいツール\n", u"すごいツール"},
      {"label typed with blanks", u"【 名称 】 すごいツール\n", u"すごいツール"},
      {"line ending in 会社 is skipped", u"サンプル株式会社\nゲーム集\n", u"ゲーム集"},
      {"all lines skipped: the Ver. line", u"お客様各位\n重要なお知らせ\n", u""},
      {"licence stops the scan; Ver. line", u"使用許諾条件\nツール Ver.1.0\n", u"ツール Ver.1.0"},
      {"name label on its line", u"名称：画像ビューア\n", u"画像ビューア"},
      {"name label with the name on the next line", u"■名称\n画像ビューア\n", u"画像ビューア"},
      {"program: line", u"PROGRAM: Disk Doctor\n", u"Disk Doctor"},
      {"this ... for", u"this is a utility for Lazy Typists\n", u"Lazy Typists"},
      {"です。 is cut", u"ゲーム集です。\n", u"ゲーム集"},
      {"です。 after プログラム stays (the 。 is decoration)", u"ゲームのプログラムです。\n", u"ゲームのプログラムです"},
      {"a version ends the sentence", u"電卓 Version 2.0 をお届けします。\n", u"電卓 Version 2.0"},
      {"letters after the version are not kept", u"電卓 ver 1.0a をお届けします。\n", u"電卓 ver 1.0"},
      {"このファイル ends without a title", u"このファイルについて\nツール Ver.1\n", u"ツール Ver.1"},
  };
  for (const Row& r : rows) EXPECT_EQ(titleOf(r.text), r.title) << r.why;
}

TEST(ReadmeTitleTest, PhraseRules) {
  struct Row {
    const char* why;
    Text in;
    Text out;
  };
  const Row rows[] = {
      {"1 これは", u"これは便利ツール", u"便利ツール"},
      {"2 このたびは", u"このたびは便利ツール", u"便利ツール"},
      {"3 本ソフトは", u"本ソフトは便利ツール", u"便利ツール"},
      {"3 このプログラム", u"このプログラムは便利ツール", u"便利ツール"},
      {"4 begins with この", u"この文書", u""},
      {"4 お読み", u"最初にお読みください", u""},
      {"4 方法 early", u"インストール方法", u""},
      {"5 の使い方", u"便利ツールの使い方", u"便利ツール"},
      {"6 使用説明書", u"便利ツール使用説明書", u"便利ツール"},
      {"6 使用説明書 with a version number", u"便利ツール使用説明書1.0", u""},
      {"7 をダウンロード", u"便利ツールをダウンロード", u"便利ツール"},
      {"8 の機能", u"便利ツールの機能一覧", u"便利ツール"},
      {"9 について", u"便利ツールについて", u"便利ツール"},
      {"9 a directory before について", u"便利ツールディレクトリについて", u"便利ツール"},
      {"10 説明書", u"便利ツール説明書", u"便利ツール"},
      {"11 取扱い (fuzzy)", u"便利ツール取扱い", u"便利ツール"},
      {"12 解説", u"便利ツール解説", u"便利ツール"},
      {"13 ending の", u"便利ツールの", u"便利ツール"},
      {"14 one character", u"a", u""},
      {"14 300 characters", Text(300, u'あ'), u""},
      {"15 a file name", u"TOOL.EXE 便利ツール", u"便利ツール"},
      {"15 a version is no file name", u"便利ツール 1.00", u"便利ツール 1.00"},
      {"16 leading yyyymmdd", u"19991224 便利ツール", u"便利ツール"},
      {"16 leading yymmdd", u"991224 便利ツール", u"便利ツール"},
      {"17 リリースノート", u"リリースノート 便利ツール", u"便利ツール"},
      {"18 readme.txt", u"便利ツール readme.txt", u"便利ツール"},
      {"19 インストール late", u"便利ツール一式のインストール", u"便利ツール一式"},
      {"20 ending テキスト", u"便利ツールのテキスト", u"便利ツール"},
      {"21 タイトル", u"タイトル：便利ツール", u"便利ツール"},
      {"22 to", u"To Lazy Typists", u"Lazy Typists"},
      {"23 thank you", u"Thank you for using WaveEdit", u"WaveEdit"},
      {"24 the following", u"The following is for WaveEdit", u"WaveEdit"},
      {"26 an open bracket", u"ABC（demo", u"ABC（demo)"},
      {"14, 25 keep enclosing 「」", u"★「ABC」★", u"「ABC」"},
      {"27 「 without 」", u"「ABC", u"「ABC」"},
      {"27 」 without 「", u"ABC」 X", u"「ABC」 X"},
      {"27 『 without 』", u"『ABC DEF", u"『ABC DEF』"},
  };
  for (const Row& r : rows) EXPECT_EQ(ReadmeTitle::PhraseRules(r.in), r.out) << r.why;
}

TEST(ReadmeTitleTest, WriteDocumentsAreReadPastTheirHeader) {
  // 128-byte header; bytes 14 and 15: text length + 130 (little endian); the
  // first text line is the document's own header line and is skipped.
  const std::string text = cp932::encode(u"WRITE-HEADER\r\n年賀状デザイナー Ver.3\r\n");
  std::string bytes(128, '\0');
  bytes[0] = '\x31';
  const unsigned length = static_cast<unsigned>(text.size()) + 130;
  bytes[14] = static_cast<char>(length & 0xFF);
  bytes[15] = static_cast<char>(length >> 8);
  bytes += text;
  bytes += std::string("\0\0\0garbage", 10);
  EXPECT_EQ(ReadmeTitle::of(bytes, u"E:\\NENGA\\README.WRI"), u"年賀状デザイナー Ver.3");
}

TEST(ReadmeTitleTest, DriverFoldersTakeTheLineNamingTheDriver) {
  const std::string bytes = readme(u"ドライバ名\nSNDX.DRV サウンドボードドライバ 1998/01/02\n");
  EXPECT_EQ(ReadmeTitle::of(bytes, u"E:\\DRIVER\\README.TXT", [] { return Text(u"SNDX.DRV"); }),
            u"サウンドボードドライバ");
  // Outside a driver folder the rule does not run.
  EXPECT_NE(ReadmeTitle::of(bytes, u"E:\\TOOLS\\README.TXT", [] { return Text(u"SNDX.DRV"); }),
            u"サウンドボードドライバ");
}

TEST(ReadmeTitleTest, GoldenCorpus) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::path(ZEVRO_TEST_FIXTURES) / "readmes";
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(folder))
    if (e.path().extension() == ".txt") files.push_back(e.path());
  std::sort(files.begin(), files.end());
  ASSERT_GE(files.size(), 10u);
  for (const fs::path& file : files) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    fs::path expected = file;
    expected.replace_extension(".title");
    std::ifstream want(expected, std::ios::binary);
    std::string title;
    std::getline(want, title);
    EXPECT_EQ(toUtf8(titleOf(fromUtf8(s.str()))), title) << file.filename();
  }
}

}  // namespace
}  // namespace zevro
