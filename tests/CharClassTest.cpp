#include "search/CharClass.h"

#include <gtest/gtest.h>

#include <vector>

namespace zevro {
namespace {

TEST(CharClassTest, ClassesOfSingleCharacters) {
  struct Case {
    char16_t c;
    int expected;
  };
  const std::vector<Case> cases = {
      {u' ', 0},   {u'.', 0},  {17, 0},    {0, 0},     {u'0', 1},  {u'０', 1}, {u'a', 2},   {u'Ｚ', 2}, {u'_', 2},
      {u'＿', 4},  {u'あ', 3}, {u'ゝ', 4}, {u'ァ', 3}, {u'ヴ', 3}, {u'ヵ', 4}, {u'ー', 3},  {u'ｱ', 3},  {u'｡', 3},
      {u'。', 0},  {u'、', 0}, {u'　', 0}, {u'！', 0}, {u'／', 0}, {u'：', 0}, {u'；', 0},  {u'，', 0}, {u'＝', 4},
      {u'［', 4},  {u'漢', 4}, {u'α', 4},  {u'・', 4}, {u'ん', 3}, {u'ヶ', 4}, {0xDCA0, 3},  // byte 0xA0, kept as a raw
                                                                                             // byte, sits with the
                                                                                             // half-width katakana
      {0xDC80, 0},  // other raw bytes are single-byte punctuation
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "U+" << std::hex << static_cast<int>(c.c));
    EXPECT_EQ(CharClass(c.c), c.expected);
  }
}

TEST(CharClassTest, PositionsOutsideTheTextAreTheEmptyCharacter) {
  const TextView text = u"ab";
  EXPECT_EQ(CharClassAt(text, 0), 2);
  EXPECT_EQ(CharClassAt(text, 2), EmptyCharClass);
  EXPECT_EQ(CharClassAt(text, TextView::npos), EmptyCharClass);
}

TEST(CharClassTest, WholeWordTestComparesClassesAtBothEdges) {
  struct Case {
    const char* behaviour;
    Text text;
    std::size_t pos;
    std::size_t length;
    TextStart start;
    bool expected;
  };
  const std::vector<Case> cases = {
      {"word at text start", u"cat.txt", 0, 3, TextStart::Empty, true},
      {"word after a blank", u"my cat", 3, 3, TextStart::Empty, true},
      {"letters go on before", u"concat", 3, 3, TextStart::Empty, false},
      {"letters go on after", u"cats", 0, 3, TextStart::Empty, false},
      {"digit after letters is a boundary", u"cat1", 0, 3, TextStart::Empty, true},
      {"kanji after katakana is a boundary", u"ファイル名", 0, 4, TextStart::Empty, true},
      {"prolonged mark after katakana is not", u"ファイルー", 0, 4, TextStart::Empty, false},
      {"punctuation at the start meets the empty character", u".txt", 0, 4, TextStart::Empty, false},
      {"unless the text start counts as a boundary", u".txt", 0, 4, TextStart::WordBoundary, true},
      {"the boundary rule is for the text start only", u"..txt", 1, 4, TextStart::WordBoundary, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    EXPECT_EQ(IsWholeWord(c.text, c.pos, c.length, c.start), c.expected);
  }
}

}  // namespace
}  // namespace zevro
