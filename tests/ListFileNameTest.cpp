#include "core/ListFileName.h"

#include <gtest/gtest.h>

#include "text/Cp932.h"

namespace zevro {
namespace {

using namespace listfilename;

std::string repeat(std::string_view piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

TEST(ListFileName, ReplacesTheCharactersThatCannotStandInFileNames) {
  struct Row {
    const char16_t* label;
    const char16_t* replaced;
  } rows[] = {
      {u"A/B:C?", u"A&B-C@"},
      {u"\\/:,;*?<>|\"", u"&&---@@---'"},
      {u"WORK SOFT\\TOOLS", u"WORK SOFT&TOOLS"},
      {u"表示ソフト", u"表示ソフト"},  // 0x5C trail bytes are characters, not separators
      {u"", u""},
  };
  for (const Row& r : rows) EXPECT_EQ(replaceNameCharacters(r.label), r.replaced) << toUtf8(r.label);
}

TEST(ListFileName, FormsTheNameFromGenreKindAndLabel) {
  struct Row {
    int genre;
    const char16_t* kind;
    const char16_t* label;
    const char16_t* name;
  } rows[] = {
      {3, u"CD", u"GAMES", u"_03CD_GAMES.CCT"},
      {3, u"FD", u"My Disk", u"_03FD_My Disk.CCT"},
      {12, u"HD", u"A/B:C?", u"_12HD_A&B-C@.CCT"},
      {0, u"CD", u"表計算", u"_00CD_表計算.CCT"},
  };
  for (const Row& r : rows) EXPECT_EQ(formName(r.genre, r.kind, r.label), r.name) << toUtf8(r.label);
}

TEST(ListFileName, NormalisesKindAndExtensionForWriting) {
  struct Row {
    const char16_t* name;
    const char16_t* written;
  } rows[] = {
      {u"_03fd_My Disk.CCT", u"_03FD_My Disk.cct"},
      {u"_03cd_x.Cct", u"_03CD_x.cct"},
      {u"_00hd_v1.0 DOCS.CCT", u"_00HD_v1.0 DOCS.cct"},
      {u"_00hd_noext", u"_00HD_noext.cct"},
      {u"_00hd_ab.c", u"_00HD_ab.c.cct"},    // not a three-character extension
      {u"_03ｃｄ_x.CCT", u"_03ｃｄ_x.cct"},  // only ASCII letters change case
  };
  for (const Row& r : rows) EXPECT_EQ(normalizedForWriting(r.name), r.written) << toUtf8(r.name);
}

TEST(ListFileName, ReadsMediumKindAndGenreFromTheName) {
  struct Row {
    const char16_t* name;
    int kind;
    int genre;
  } rows[] = {
      {u"_03fd_My Disk.CCT", KindFD, 3}, {u"_03CD_X.cct", KindCD, 3},  {u"_19cD_X.cct", KindCD, 19},
      {u"_00HD_X.cct", KindHD, 0},       {u"_99XX_X.cct", KindHD, 99}, {u"_7xFD_X.cct", KindFD, 7},
      {u"_x3FD_X.cct", KindFD, 0},       {u"_0", KindHD, 0},           {u"", KindHD, 0},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(mediumKindOf(r.name), r.kind) << toUtf8(r.name);
    EXPECT_EQ(genreOf(r.name), r.genre) << toUtf8(r.name);
  }
  EXPECT_EQ(kindName(KindCD), u"CD");
  EXPECT_EQ(kindName(KindFD), u"FD");
  EXPECT_EQ(kindName(KindHD), u"HD");
}

TEST(ListFileName, CutsLongNamesToFitALinuxFileNameKeepingTheExtension) {
  struct Row {
    const char* what;
    std::string name;
    std::string fitted;
  } rows[] = {
      {"short names stay", "_03CD_GAMES.cct", "_03CD_GAMES.cct"},
      {"255 bytes stay", "_03CD_" + std::string(245, 'a') + ".cct", "_03CD_" + std::string(245, 'a') + ".cct"},
      {"ASCII is cut to 255", "_03CD_" + std::string(300, 'a') + ".cct", "_03CD_" + std::string(245, 'a') + ".cct"},
      {"three-byte characters are never split", "_03CD_" + repeat("表", 300) + ".cct",
       "_03CD_" + repeat("表", 81) + ".cct"},
      {"four-byte characters are never split", "_03CD_" + repeat("\xF0\x9F\x98\x80", 100) + ".cct",
       "_03CD_" + repeat("\xF0\x9F\x98\x80", 61) + ".cct"},
  };
  for (const Row& r : rows) {
    const std::string fitted = fitNativeName(r.name);
    EXPECT_EQ(fitted, r.fitted) << r.what;
    EXPECT_LE(fitted.size(), MaxNativeNameBytes) << r.what;
  }
}

TEST(ListFileName, FormedAndWrittenNamesFitEvenForLongLabels) {
  const Text label = cp932::fromNativeName(repeat("表", 200));
  const Text formed = formName(3, u"CD", label);
  EXPECT_LE(cp932::toNativeName(formed).size(), MaxNativeNameBytes);
  EXPECT_EQ(formed.substr(formed.size() - 4), u".CCT");
  const Text written = normalizedForWriting(u"_03cd_" + label + u".CCT");
  EXPECT_LE(cp932::toNativeName(written).size(), MaxNativeNameBytes);
  EXPECT_EQ(written.substr(0, 6), u"_03CD_");
  EXPECT_EQ(written.substr(written.size() - 4), u".cct");
}

}  // namespace
}  // namespace zevro
