#include "media/TextOps.h"

#include <gtest/gtest.h>

#include "text/Text.h"

namespace zevro::textops {
namespace {

struct Case {
  const char* why;
  Text in;
  Text out;
};

TEST(TextOpsTest, TrimDecorationTakesSymbolsOffBothEnds) {
  const Case cases[] = {
      {"stars and blanks", u"★☆ すごいツール Ver1 ☆★", u"すごいツール Ver1"},
      {"ASCII symbols", u"*** [Tool] ***", u"Tool"},
      {"full-width punctuation and box drawing", u"━【ツール】━", u"ツール"},
      {"letters and digits stay", u"ABC123", u"ABC123"},
      {"half-width kana is a letter", u"ｱｲｳ", u"ｱｲｳ"},
      {"full-width blank", u"　ゲーム　", u"ゲーム"},
      {"only decoration", u"=====", u""},
      {"@ counts as a letter (code 64)", u"@echo", u"@echo"},
      {"0x815B (ー) is no decoration", u"ーabcー", u"ーabcー"},
  };
  for (const Case& c : cases) EXPECT_EQ(TrimDecoration(c.in), c.out) << c.why;
}

TEST(TextOpsTest, TrimBlanksTakesBlankClassOnly) {
  EXPECT_EQ(TrimBlanks(u"　 \tabc \t　"), u"abc");
  EXPECT_EQ(TrimBlanks(u"*abc*"), u"*abc*");
}

TEST(TextOpsTest, StripPairsDropsEnclosingDecoration) {
  const Case cases[] = {
      {"CR LF and blanks; 【】 is no decoration pair", u"\r\n 【 \"ABC\" 】", u"【 \"ABC\" 】"},
      {"a line break at each end", u"\n(ABC)\r\n", u"ABC"},
      {"ascii pairs", u"(ABC)", u"ABC"},
      {"nested pairs", u"*[ABC]*", u"ABC"},
      {"full-width pairs", u"（ABC）", u"ABC"},
      {"leading marks", u"●◎ ABC", u"ABC"},
      {"double quotes once", u"\"\"ABC\"\"", u"\"ABC\""},
      {"only an opening", u"(ABC", u"(ABC"},
      {"stars", u"★ABC★", u"ABC"},
  };
  for (const Case& c : cases) EXPECT_EQ(StripPairs(c.in), c.out) << c.why;
}

TEST(TextOpsTest, RemoveDatesBlanksTheFirstDate) {
  const Case cases[] = {
      {"era", u"平成11年12月 ツール", u"         ツール"},
      {"year", u"1999年12月24日 ツール", Text(12, u' ') + u"ツール"},
      {"slashes", u"ツール 99/12/24", u"ツール         "},
      {"four-digit year", u"ツール 1999/12/24", u"ツール           "},
      {"english month", u"Tool Dec 24, 1999", u"Tool" + Text(13, u' ')},
      {"english month needs a 9 in the text", u"Tool Dec 24, 2001", u"Tool Dec 24, 2001"},
      {"issue mark keeps it", u"1999年5月号", u"1999年5月号"},
      {"a year 90 or below is no date", u"ツール 12/24", u"ツール 12/24"},
      {"no date", u"ツール", u"ツール"},
  };
  for (const Case& c : cases) {
    Text t = c.in;
    RemoveDates(t);
    EXPECT_EQ(t, c.out) << c.why;
  }
}

TEST(TextOpsTest, FindWordForgivesMissingHiraganaAndExtraBlanks) {
  struct Row {
    const char* why;
    Text text;
    Text word;
    std::optional<std::pair<std::size_t, std::size_t>> match;
  };
  const Row rows[] = {
      {"exact", u"xx使用説明書", u"使用説明書", std::pair<std::size_t, std::size_t>{2, 7}},
      {"blanks in the text", u"使用 説明 書", u"使用説明書", std::pair<std::size_t, std::size_t>{0, 7}},
      {"hiragana missing in the text", u"取扱い", u"取り扱い", std::pair<std::size_t, std::size_t>{0, 3}},
      {"blank of the word missing", u"【名称】", u"【 名称 】", std::pair<std::size_t, std::size_t>{0, 4}},
      {"other characters between", u"使用の説明書", u"使用説明書", std::nullopt},
      {"not there", u"abc", u"使用", std::nullopt},
  };
  for (const Row& r : rows) {
    const std::optional<Match> m = FindWord(r.text, r.word);
    ASSERT_EQ(m.has_value(), r.match.has_value()) << r.why;
    if (m) {
      EXPECT_EQ(std::make_pair(m->begin, m->end), *r.match) << r.why;
    }
  }
}

TEST(TextOpsTest, FindWordBeforeForgivesMissingEndings) {
  EXPECT_TRUE(FindWordBefore(u"この試用版", u"この", 2));
  EXPECT_TRUE(FindWordBefore(u"この 試用版", u"この", 3));
  EXPECT_FALSE(FindWordBefore(u"その試用版", u"この", 2));
  // い, き, し … of the word may be missing: "取扱" ends like "取り扱い".
  const std::optional<Match> m = FindWordBefore(u"取扱説明", u"取り扱い", 2);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->begin, 0u);
  EXPECT_EQ(m->end, 2u);
}

TEST(TextOpsTest, TokensRunToSeparatorsOrTheMatchingQuote) {
  const std::optional<Token> plain = NextToken(u"  SETUP.EXE\tインストーラ");
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->text, u"SETUP.EXE");
  EXPECT_EQ(plain->next, 11u);
  const std::optional<Token> quoted = NextToken(u"\"My Tool.exe\" 説明");
  ASSERT_TRUE(quoted);
  EXPECT_EQ(quoted->text, u"My Tool.exe");
  const std::optional<Token> single = NextToken(u", 'a b'");
  ASSERT_TRUE(single);
  EXPECT_EQ(single->text, u"a b");
  EXPECT_FALSE(NextToken(u" ,;: \t"));
}

TEST(TextOpsTest, ByteColumnsLeaveOutCutDoubleByteCharacters) {
  struct Row {
    const char* why;
    Text line;
    std::size_t first;
    std::size_t count;
    Text out;
  };
  const Row rows[] = {
      {"cut at the start", u"表示ABC", 1, 3, u"示"},
      {"from a column to the end", u"表示ABC", 4, std::u16string::npos, u"ABC"},
      {"0x5C second bytes are whole characters", u"ソ能表", 0, 6, u"ソ能表"},
      {"cut at the end", u"AB表", 0, 3, u"AB"},
      {"half-width kana take one byte", u"ｱｲｳ表", 3, 2, u"表"},
  };
  for (const Row& r : rows) EXPECT_EQ(ByteColumns(r.line, r.first, r.count), r.out) << r.why;
  EXPECT_EQ(ByteWidth(u"表ABｱ"), 5u);
}

TEST(TextOpsTest, FitCommentBlanksControlsSqueezesThenCuts) {
  // Field markers (16 to 23) must never reach a record.
  EXPECT_EQ(FitComment(u"a\x10" u"b\x17" u"c", 128, false), u"a b c");
  EXPECT_EQ(FitComment(u"a\r\nb\x11", 128, true), u"a\r\nb ");
  EXPECT_EQ(FitComment(u"a\r\nb", 128, false), u"a  b");
  const Text long200(200, u'あ');
  EXPECT_EQ(FitComment(long200, 128, false), Text(128, u'あ'));
  // Long runs of blanks are squeezed first, and then it fits.
  Text spaced = Text(60, u'a') + Text(100, u' ') + Text(60, u'b');
  EXPECT_EQ(FitComment(spaced, 128, false), Text(60, u'a') + u" " + Text(60, u'b'));
  // A short comment keeps its runs.
  EXPECT_EQ(FitComment(u"a    b", 128, false), u"a    b");
}

TEST(TextOpsTest, LinesSplitAtCrLfOnce) {
  const std::vector<TextView> lines = LinesOf(u"a\r\nb\nc\rd");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[3], u"d");
  EXPECT_EQ(LinesOf(u"a\r\nb", false).size(), 1u);
}

}  // namespace
}  // namespace zevro::textops
