#include "text/Text.h"

#include <gtest/gtest.h>

namespace zevro {
namespace {

struct Utf8Case {
  const char* behaviour;
  std::string utf8;
  Text text;
};

TEST(TextTest, FromUtf8ReadsCharactersAndReplacesInvalidBytes) {
  const Utf8Case cases[] = {
      {"ascii", "abc", u"abc"},
      {"japanese", "表示ソフト", u"表示ソフト"},
      {"astral_as_surrogate_pair", "😀", u"\xD83D\xDE00"},
      {"invalid_byte",
       "a\xFF"
       "b",
       u"a\uFFFD"
       "b"},
      {"truncated_sequence", "\xE3\x81", u"\uFFFD\uFFFD"},
      {"overlong_form", "\xC0\xAF", u"\uFFFD\uFFFD"},
      {"encoded_surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
  };
  for (const auto& c : cases) EXPECT_EQ(fromUtf8(c.utf8), c.text) << c.behaviour;
}

TEST(TextTest, ToUtf8WritesCharactersAndReplacesLoneSurrogates) {
  const Utf8Case cases[] = {
      {"ascii", "abc", u"abc"},
      {"japanese", "表示ソフト", u"表示ソフト"},
      {"surrogate_pair", "😀", u"\xD83D\xDE00"},
      {"lone_high_surrogate",
       "\xEF\xBF\xBD"
       "a",
       u"\xD800"
       "a"},
      {"lone_low_surrogate", "\xEF\xBF\xBD", u"\xDC80"},
  };
  for (const auto& c : cases) EXPECT_EQ(toUtf8(c.text), c.utf8) << c.behaviour;
}

TEST(TextTest, AsciiWidensAndNarrowAsciiMarksOtherUnits) {
  EXPECT_EQ(ascii("A1-\x10"), u"A1-\x10");
  EXPECT_EQ(narrowAscii(u"A表1\x10"), "A?1\x10");
}

}  // namespace
}  // namespace zevro
