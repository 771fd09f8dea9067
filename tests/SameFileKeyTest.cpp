#include "compare/SameFileKey.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "search/Folding.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

// What the key must hold whatever way it is reached: the name decoded in
// full and folded as the search folds it.
Text slowFold(std::string_view bytes) {
  Text folded;
  foldText(cp932::decode(bytes), true, true, folded);
  return folded;
}

FileRow rowOf(std::string_view name, std::uint64_t size, std::string_view date = "24/04/05 12:00") {
  FileRow row;
  row.name = name;
  row.size = size;
  row.date = date;
  return row;
}

// Every name of one or two ASCII bytes (and every byte alone): the byte-wise
// folding gives the full folding's text.
TEST(SameFileKeyTest, AsciiNamesFoldByteByByteAsInFull) {
  SameFileKey key(SameFileKey::By::NameSize);
  std::vector<std::string> names;
  for (int a = 1; a < 0x80; ++a) names.emplace_back(1, static_cast<char>(a));
  for (int a = 0x20; a < 0x7F; ++a)
    for (int b = 0x20; b < 0x7F; ++b) names.push_back({static_cast<char>(a), static_cast<char>(b)});
  for (const std::string& name : names) ASSERT_EQ(key.fold(name), slowFold(name)) << name;
}

TEST(SameFileKeyTest, FoldedKeysOfEveryKindOfName) {
  const struct {
    Text name;
    Text folded;
  } cases[] = {
      {u"readme.txt", u"ＲＥＡＤＭＥ．ＴＸＴ"},
      {u"ReadMe.Txt", u"ＲＥＡＤＭＥ．ＴＸＴ"},
      {u"ＡＢＣ.TXT", u"ＡＢＣ．ＴＸＴ"},
      {u"ａｂｃ．ｔｘｔ", u"ＡＢＣ．ＴＸＴ"},
      {u"写真_img01.jpg", u"写真＿ＩＭＧ０１．ＪＰＧ"},
      {u"a&b.txt", u"Ａ＆Ｂ．ＴＸＴ"},
  };
  SameFileKey key(SameFileKey::By::NameSize);
  for (const auto& c : cases) {
    const std::string bytes = cp932::encode(c.name);
    EXPECT_EQ(key.fold(bytes), c.folded) << toUtf8(c.name);
    EXPECT_EQ(key.fold(bytes), slowFold(bytes)) << toUtf8(c.name);
  }
  // Half-width kana fold as the search folds them (voiced marks joined).
  const std::string kana = cp932::encode(u"ｶﾞｲﾄﾞ.txt");
  EXPECT_EQ(key.fold(kana), slowFold(kana));
  EXPECT_EQ(key.fold(kana), key.fold(cp932::encode(u"ガイド．ＴＸＴ")));
}

// A plain-ASCII name and the same name written in full width (reached
// through the full decoding) give one hash and one exact key; other sizes,
// names or dates do not.
TEST(SameFileKeyTest, AsciiAndFullWidthSpellingsKeyAlike) {
  const std::vector<std::string> names = {"readme.txt",        "SETUP.EXE",  "img_00100017.jpg",
                                          "a b-c_d(1).tar.gz", "~$word.doc", "x",
                                          "ab",                "abc",        "data.csv1234567"};
  for (const SameFileKey::By by : {SameFileKey::By::NameSize, SameFileKey::By::NameSizeDate}) {
    SameFileKey key(by);
    for (const std::string& name : names) {
      const Text folded = slowFold(name);
      const std::string wide = cp932::encode(folded);
      ASSERT_EQ(cp932::decode(wide), folded) << name;
      ASSERT_NE(wide, name);
      const FileRow ascii = rowOf(name, 1234);
      const FileRow full = rowOf(wide, 1234);
      EXPECT_EQ(key.hashOf(ascii), key.hashOf(full)) << name;
      const Text exact = key.textOf(ascii);
      EXPECT_EQ(exact, key.textOf(full)) << name;
      EXPECT_EQ(exact.substr(0, folded.size() + 5), folded + u'\0' + u"1234") << name;
      EXPECT_NE(key.hashOf(ascii), key.hashOf(rowOf(name, 1235))) << name;
      EXPECT_NE(key.hashOf(ascii), key.hashOf(rowOf(name + "1", 1234))) << name;
      EXPECT_NE(exact, key.textOf(rowOf(name, 12340))) << name;
      if (by == SameFileKey::By::NameSizeDate)
        EXPECT_NE(key.hashOf(ascii), key.hashOf(rowOf(name, 1234, "24/04/05 12:01"))) << name;
      else
        EXPECT_EQ(key.hashOf(ascii), key.hashOf(rowOf(name, 1234, "24/04/05 12:01"))) << name;
    }
  }
}

}  // namespace
}  // namespace zevro
