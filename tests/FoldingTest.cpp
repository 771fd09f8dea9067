#include "search/Folding.h"

#include <gtest/gtest.h>

#include <vector>

namespace zevro {
namespace {

struct TestCase {
  const char* behaviour;
  Text text;
  bool expected;
};

TEST(FoldingTest, NeedWidthFoldSeesHalfWidthAndTheirFullWidthForms) {
  const std::vector<TestCase> cases = {
      {"ASCII letters", u"abc", true},
      {"kanji only", u"漢字", false},
      {"full-width katakana", u"ガイド", true},
      {"hiragana only", u"がいど", false},
      {"full-width Latin", u"ＡＢＣ", true},
      {"full-width digits", u"２０２４", true},
      {"corner brackets", u"「本」", true},
      {"ideographic comma is not in the set", u"東京、大阪", false},
      {"full-width backslash is not in the set", u"＼", false},
      {"Greek capital alpha shares the katakana block", u"Α", true},
      {"Greek small alpha does not", u"α", false},
      {"half-width katakana", u"ｶ", true},
      {"prolonged sound mark", u"ー", true},
      {"middle dot is not in the set", u"・", false},
      {"right single quotation mark", u"’", true},
      {"full-width yen sign", u"￥", true},
      {"ideographic space", u"　", true},
      {"empty text", u"", false},
  };
  for (const TestCase& c : cases) {
    SCOPED_TRACE(c.behaviour);
    EXPECT_EQ(NeedWidthFold(c.text), c.expected);
  }
}

TEST(FoldingTest, HasLatinLetterCountsOnlyAsciiAndFullWidthLatin) {
  const std::vector<TestCase> cases = {
      {"lower case", u"abc", true},
      {"upper case among kanji", u"漢字Z", true},
      {"full-width upper", u"ＡＢＣ", true},
      {"full-width lower", u"ｚ", true},
      {"Greek", u"αβ", false},
      {"accented Latin", u"é", false},
      {"digits and punctuation", u"123-_", false},
      {"empty text", u"", false},
  };
  for (const TestCase& c : cases) {
    SCOPED_TRACE(c.behaviour);
    EXPECT_EQ(HasLatinLetter(c.text), c.expected);
  }
}

struct FoldCase {
  const char* behaviour;
  Text text;
  Text expected;
};

TEST(FoldingTest, ToFullWidthWidensAndJoinsVoicedMarks) {
  const std::vector<FoldCase> cases = {
      {"ASCII and blank", u"a b~", u"ａ　ｂ～"},
      {"voiced marks join their letters", u"ｶﾞｲﾄﾞ", u"ガイド"},
      {"semi-voiced mark joins ha-row", u"ﾊﾟﾝ", u"パン"},
      {"voiced and semi-voiced ha-row", u"ﾊﾞﾋﾞﾌﾟﾍﾟﾎﾞ", u"バビプペボ"},
      {"voiced tsu", u"ﾂﾞ", u"ヅ"},
      {"voiced u becomes vu", u"ｳﾞ", u"ヴ"},
      {"wa has no joined form", u"ﾜﾞ", u"ワ゛"},
      {"semi-voiced mark does not join ka", u"ｶﾟ", u"カ゜"},
      {"voiced mark does not join a", u"ｱﾞ", u"ア゛"},
      {"lone voiced mark", u"ﾞ", u"゛"},
      {"half-width punctuation", u"｡｢｣､･ｰ", u"。「」、・ー"},
      {"small letters and wo", u"ｧｨｩｪｫｬｭｮｯｦﾝ", u"ァィゥェォャュョッヲン"},
      {"full-width text stays", u"漢ガ", u"漢ガ"},
      {"quotes and backslash", u"'\"\\", u"＇＂＼"},
      {"their Japanese full-width forms fold alike", u"’”￥", u"＇＂＼"},
      {"field markers stay", Text{16} + u"a" + Text{17}, Text{16} + u"ａ" + Text{17}},
      {"empty text", u"", u""},
  };
  for (const FoldCase& c : cases) {
    SCOPED_TRACE(c.behaviour);
    EXPECT_EQ(toFullWidth(c.text), c.expected);
  }
}

TEST(FoldingTest, ToUpperLatinChangesOnlyLatinLetters) {
  Text text = u"abcａｂｃßα漢z";
  toUpperLatin(text);
  EXPECT_EQ(text, u"ABCＡＢＣßα漢Z");
}

TEST(FoldingTest, FoldTextAppliesWidthThenCaseIntoAReusedBuffer) {
  struct Case {
    const char* behaviour;
    Text text;
    bool width;
    bool upper;
    Text expected;
  };
  const std::vector<Case> cases = {
      {"no folding copies", u"abcｶﾞ", false, false, u"abcｶﾞ"},
      {"case only keeps width", u"abcａｂｃ", false, true, u"ABCＡＢＣ"},
      {"width only keeps case", u"abcｶﾞ", true, false, u"ａｂｃガ"},
      {"width then case", u"abcｶﾞ", true, true, u"ＡＢＣガ"},
  };
  Text out = u"left over from the previous row";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    foldText(c.text, c.width, c.upper, out);
    EXPECT_EQ(out, c.expected);
  }
}

}  // namespace
}  // namespace zevro
