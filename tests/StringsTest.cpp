#include "core/Strings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zevro {
namespace {

// The u"\x02" escape would swallow a following hex letter; build lists from this.
const Text S(1, ch::ListSep);

struct PathCase {
  const char* behaviour;
  Text path;
  Text expected;
};

void checkPath(const std::vector<PathCase>& cases, Text (*op)(TextView)) {
  for (const PathCase& c : cases) {
    SCOPED_TRACE(c.behaviour);
    EXPECT_EQ(op(c.path), c.expected);
  }
}

TEST(StringsTest, ParentFolderDropsSeparatorButKeepsDriveColon) {
  checkPath(
      {
          {"file in folder", u"C:\\A\\B.TXT", u"C:\\A"},
          {"folder on drive root", u"C:\\A", u"C:"},
          {"drive root loses its separator", u"C:\\", u"C:"},
          {"drive-relative name", u"C:B.TXT", u"C:"},
          {"bare name has no parent", u"B.TXT", u""},
          {"empty path", u"", u""},
          {"folder named 表 is not split", u"C:\\表計算\\A.TXT", u"C:\\表計算"},
          {"name ending in ソ is kept whole", u"C:\\ソ", u"C:"},
      },
      [](TextView p) { return parentFolder(p); });
}

TEST(StringsTest, FileNamePartAndFolderPartSplitAtLastSeparator) {
  const std::vector<PathCase> names = {
      {"after last separator", u"C:\\A\\B.TXT", u"B.TXT"},
      {"after drive colon", u"C:B.TXT", u"B.TXT"},
      {"bare name", u"B.TXT", u"B.TXT"},
      {"folder with separator has empty name", u"C:\\A\\", u""},
      {"表 inside the name is no separator", u"C:\\データ\\表.TXT", u"表.TXT"},
  };
  checkPath(names, [](TextView p) { return fileNamePart(p); });
  checkPath(
      {
          {"keeps trailing separator", u"C:\\A\\B.TXT", u"C:\\A\\"},
          {"drive-relative keeps colon", u"C:B.TXT", u"C:"},
          {"bare name has no folder", u"B.TXT", u""},
          {"root stays root", u"C:\\", u"C:\\"},
          {"表 folder kept whole", u"C:\\表\\A.TXT", u"C:\\表\\"},
      },
      [](TextView p) { return folderWithSeparator(p); });
}

TEST(StringsTest, BaseNameCutsAtLastDotOfTheName) {
  checkPath(
      {
          {"only the last extension goes", u"C:\\A\\ARCHIVE.TAR.GZ", u"ARCHIVE.TAR"},
          {"drive prefix skipped", u"C:README", u"README"},
          {"long extension still goes", u"A.VERYLONGEXT", u"A"},
          {"dot in folder is not the name's", u"C:\\A.B\\C", u"C"},
          {"表 name", u"C:\\表.TXT", u"表"},
      },
      [](TextView p) { return baseName(p); });
}

TEST(StringsTest, ExtensionIsLookedForInTheLastSixCharacters) {
  struct Case {
    const char* behaviour;
    Text path;
    bool upper;
    Text expected;
  };
  const std::vector<Case> cases = {
      {"last of two extensions", u"ARCHIVE.TAR.GZ", false, u"GZ"},
      {"no dot", u"README", false, u""},
      {"dot further than six from the end", u"A.VERYLONGEXT", false, u""},
      {"dot exactly six from the end", u"A.BCDEF", false, u"BCDEF"},
      {"dot seven from the end", u"A.BCDEFG", false, u""},
      {"kept as written", u"a.txt", false, u"txt"},
      {"upper-cased on request", u"a.txt", true, u"TXT"},
      {"full-width letters not upper-cased", u"a.ｔx", true, u"ｔX"},
      {"dot in a folder name is no extension", u"C:\\V1.0\\READ", false, u""},
      {"trailing dot gives empty", u"ABC.", false, u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    EXPECT_EQ(extensionOf(c.path, c.upper), c.expected);
  }
}

TEST(StringsTest, ChangeExtensionReplacesOrAppends) {
  struct Case {
    const char* behaviour;
    Text path, extension, expected;
  };
  const std::vector<Case> cases = {
      {"replaces extension", u"A.TXT", u"CSV", u"A.CSV"},
      {"replaces only the last", u"ARCHIVE.TAR.GZ", u"BZ2", u"ARCHIVE.TAR.BZ2"},
      {"appends to a name without one", u"README", u"TXT", u"README.TXT"},
      {"appends beside a far dot", u"A.VERYLONGEXT", u"TXT", u"A.VERYLONGEXT.TXT"},
      {"leaves a dotted folder alone", u"C:\\V1.0\\READ", u"TXT", u"C:\\V1.0\\READ.TXT"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    EXPECT_EQ(changeExtension(c.path, c.extension), c.expected);
  }
}

TEST(StringsTest, JoinPathResolvesSeparatorsAndParentSteps) {
  struct Case {
    const char* behaviour;
    Text folder, name, expected;
  };
  const std::vector<Case> cases = {
      {"parent step goes up one folder", u"C:\\DATA", u"..\\X\\Y.TXT", u"C:\\X\\Y.TXT"},
      {"two parent steps", u"C:\\A\\B", u"..\\..\\X", u"C:\\X"},
      {"parent steps stop at the drive", u"C:\\DATA", u"..\\..\\X", u"C:\\X"},
      {"separator not doubled", u"C:\\DATA\\", u"\\X", u"C:\\DATA\\X"},
      {"folder with separator plus name", u"C:\\DATA\\", u"X", u"C:\\DATA\\X"},
      {"name with separator appended directly", u"C:\\DATA", u"\\X", u"C:\\DATA\\X"},
      {"separator added between", u"C:\\DATA", u"X", u"C:\\DATA\\X"},
      {"name with drive is absolute", u"C:\\DATA", u"D:\\Y", u"D:\\Y"},
      {"name starting with two dots is a name", u"C:\\DATA", u"..foo", u"C:\\DATA\\..foo"},
      {"表 folder joins", u"C:\\表", u"ソ.TXT", u"C:\\表\\ソ.TXT"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    EXPECT_EQ(joinPath(c.folder, c.name), c.expected);
  }
}

TEST(StringsTest, DropLastRemovesCharactersFromTheEnd) {
  struct Case {
    const char* behaviour;
    Text text;
    int n;
    Text expected;
  };
  const std::vector<Case> cases = {
      {"drops extension", u"ABC.TXT", 4, u"ABC"},    {"drops all", u"AB", 2, u""},
      {"shorter than n gives empty", u"AB", 3, u""}, {"zero keeps all", u"AB", 0, u"AB"},
      {"negative keeps all", u"AB", -1, u"AB"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    EXPECT_EQ(dropLast(c.text, c.n), c.expected);
  }
}

TEST(StringsTest, AsciiCaseTouchesOnlyAsciiLetters) {
  EXPECT_EQ(asciiLower(u"ABC xyz@[Ａａ表]"), u"abc xyz@[Ａａ表]");
  EXPECT_EQ(asciiUpper(u"abc XYZ`{Ａａ表}"), u"ABC XYZ`{Ａａ表}");
}

TEST(StringsTest, TrimRemovesBlanksTabsAndLeadingIdeographicSpaces) {
  struct Case {
    const char* behaviour;
    Text text, left, both;
  };
  const std::vector<Case> cases = {
      {"leading blank, tab and U+3000", u" \t\u3000abc", u"abc", u"abc"},
      {"trailing tab then blank", u"\t\u3000 abc \t", u"abc \t", u"abc"},
      {"tab before a trailing blank stays", u"abc\t ", u"abc\t ", u"abc\t"},
      {"trailing U+3000 stays", u"abc\u3000", u"abc\u3000", u"abc\u3000"},
      {"inner blanks stay", u" a b ", u"a b ", u"a b"},
      {"only spaces", u" \t\u3000 ", u"", u""},
      {"empty", u"", u"", u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    EXPECT_EQ(trimLeft(c.text), c.left);
    EXPECT_EQ(trim(c.text), c.both);
  }
}

TEST(StringsTest, LastOccurrenceStartsAtOrBeforeLimit) {
  struct Case {
    const char* behaviour;
    int limit;
    Text text, pattern;
    int expected;
  };
  const std::vector<Case> cases = {
      {"limit past the end finds the last", 10, u"a.b.c", u".", 4},
      {"limit on an occurrence finds it", 4, u"a.b.c", u".", 4},
      {"limit just before skips it", 3, u"a.b.c", u".", 2},
      {"none before the limit", 1, u"a.b.c", u".", 0},
      {"zero limit", 0, u"a.b.c", u".", 0},
      {"pattern may run past the limit", 3, u"abab", u"ab", 3},
      {"multi-character pattern", 2, u"abab", u"ab", 1},
      {"pattern longer than text", 9, u"ab", u"abc", 0},
      {"not present", 9, u"abc", u"x", 0},
      {"empty pattern finds nothing", 3, u"abc", u"", 0},
      {"separator after 表", 9, u"C:\\表\\A", u"\\", 5},
      {"表 itself is no separator", 4, u"C:\\表\\A", u"\\", 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    EXPECT_EQ(lastOccurrence(c.limit, c.text, c.pattern), c.expected);
  }
}

TEST(StringsTest, ControlDumpShowsControlCharactersInBrackets) {
  struct Case {
    const char* behaviour;
    Text text;
    int start;
    Text expected;
  };
  const std::vector<Case> cases = {
      {"closing bracket added", u"ab\rc", 1, u"     1 [ab[CR]c]"},
      {"no second bracket after a named code", u"ab\r", 1, u"     1 [ab[CR]"},
      {"no second bracket after a text bracket", u"a]", 1, u"     1 [a]"},
      {"named codes", Text(u"\0\b\t\n\v\f\r\x7F", 8) + u"x", 1, u"     1 [[NL][BS][TB][LF][HM][CL][CR][DL]x]"},
      {"other codes in hex", Text(u"\x01\x02\x10\x1F", 4) + u"x", 1, u"     1 [[01][02][10][1F]x]"},
      {"start is 1-based", u"abcdef", 3, u"     3 [cdef]"},
      {"start past the end", u"abc", 99, u"    99 []"},
      {"start below 1 counts as 1", u"ab", 0, u"     1 [ab]"},
      {"Japanese text is not a control", u"表\u3000", 1, u"     1 [表\u3000]"},
      {"at most 256 characters", Text(300, u'a'), 2, u"     2 [" + Text(256, u'a') + u"]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    EXPECT_EQ(controlDump(c.text, c.start), c.expected);
  }
}

TEST(StringsTest, NameListsFrameEveryNameWithCodeTwo) {
  struct Case {
    const char* behaviour;
    std::vector<Text> names;
    Text list;
  };
  const std::vector<Case> cases = {
      {"empty list is empty text", {}, u""},
      {"one name", {u"A.TXT"}, S + u"A.TXT" + S},
      {"two names in order", {u"A", u"表.TXT"}, S + u"A" + S + u"表.TXT" + S},
      {"empty name survives", {u"", u"B"}, S + S + u"B" + S},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    EXPECT_EQ(nameList(c.names), c.list);
    EXPECT_EQ(namesOf(c.list), c.names);
  }
}

TEST(StringsTest, NameListWalkToleratesMissingFinalSeparator) {
  EXPECT_EQ(namesOf(S + u"A" + S + u"B"), (std::vector<Text>{u"A", u"B"}));
  Text list;
  appendName(list, u"A");
  appendName(list, u"B");
  std::vector<Text> seen;
  forEachName(list, [&seen](TextView name) { seen.emplace_back(name); });
  EXPECT_EQ(seen, (std::vector<Text>{u"A", u"B"}));
}

}  // namespace
}  // namespace zevro
