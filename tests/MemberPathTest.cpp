#include "media/MemberPath.h"

#include <gtest/gtest.h>

#include "text/Cp932.h"

namespace zevro {
namespace {

std::string utf8(TextView t) { return cp932::toNativeName(t); }

TEST(MemberPathTest, OnlyPathsThatStayBelowTheTargetHaveComponents) {
  struct Case {
    TextView path;
    std::vector<Text> parts;  // empty: refused
  } cases[] = {
      {u"doc/readme.txt", {u"doc", u"readme.txt"}},
      {u"doc\\readme.txt", {u"doc", u"readme.txt"}},
      {u"./a//b/", {u"a", u"b"}},
      {u"表示 リスト.txt", {u"表示 リスト.txt"}},
      {u"a..b/c..", {u"a..b", u"c.."}},
      {u"../evil.txt", {}},
      {u"..\\evil.txt", {}},
      {u"a/../../b", {}},
      {u"a\\..", {}},
      {u"/etc/passwd", {}},
      {u"\\evil.txt", {}},
      {u"C:\\evil.txt", {}},
      {u"c:evil.txt", {}},
      {u"", {}},
      {u"./", {}},
  };
  for (const Case& c : cases) {
    const auto parts = safeMemberComponents(c.path);
    if (c.parts.empty()) {
      EXPECT_FALSE(parts) << utf8(c.path);
      continue;
    }
    ASSERT_TRUE(parts) << utf8(c.path);
    EXPECT_EQ(*parts, c.parts) << utf8(c.path);
  }
}

TEST(MemberPathTest, ARequestedPathMatchesExactlyFirstThenIgnoringAsciiCase) {
  const std::vector<Text> members = {u"DOC/README.TXT", u"doc/readme.txt", u"Tool.exe", u"表/ソ.txt"};
  struct Case {
    TextView requested;
    int index;
  } cases[] = {
      {u"doc/readme.txt", 1}, {u"DOC\\README.TXT", 0}, {u"Doc/ReadMe.txt", 0},
      {u"tool.EXE", 2},       {u"表\\ソ.txt", 3},      {u"missing.txt", -1},
  };
  for (const Case& c : cases) EXPECT_EQ(findMember(members, c.requested), c.index) << utf8(c.requested);
}

}  // namespace
}  // namespace zevro
