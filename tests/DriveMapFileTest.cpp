#include "platform/DriveMapFile.h"

#include <gtest/gtest.h>

namespace zevro {
namespace {

TEST(DriveMapFileTest, LinesAreReadWithOptionalKindAndLabel) {
  const DriveMapFile map = DriveMapFile::parse(
      "# comment\n"
      "\n"
      "D\t/dev/sr0\n"
      "e:\t/media/kaori/STICK/\r\n"
      "K\t/srv/images//disc1\tcd\tGAMES 1\n"
      "L\t/srv/floppy\tFD\n"
      "M\t/srv/disk\tHD\t\n"
      "N\t/srv/odd\tTAPE\n");
  struct Row {
    char letter;
    const char* target;
    bool isDevice;
    std::optional<int> type;
    std::optional<std::string> label;
  } rows[] = {
      {'D', "/dev/sr0", true, std::nullopt, std::nullopt},
      {'E', "/media/kaori/STICK", false, std::nullopt, std::nullopt},
      {'K', "/srv/images/disc1", false, 5, "GAMES 1"},
      {'L', "/srv/floppy", false, 2, std::nullopt},
      {'M', "/srv/disk", false, 3, std::nullopt},
      {'N', "/srv/odd", false, std::nullopt, std::nullopt},  // an unknown kind is no kind
  };
  ASSERT_EQ(map.entries().size(), std::size(rows));
  for (const Row& row : rows) {
    SCOPED_TRACE(row.letter);
    const DriveMapFile::Entry* entry = map.find(row.letter);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->target, row.target);
    EXPECT_EQ(entry->isDevice(), row.isDevice);
    EXPECT_EQ(entry->type, row.type);
    EXPECT_EQ(entry->label, row.label);
  }
  EXPECT_EQ(map.find('d'), map.find('D'));
  EXPECT_EQ(map.find('D')->deviceName(), "sr0");
  EXPECT_EQ(map.findTarget("/srv/disk"), map.find('M'));
}

TEST(DriveMapFileTest, LinesThatCannotBeUsedAreIgnored) {
  const char* rows[] = {
      "C\t/srv/other",  // C: is always "/"
      "DE\t/srv/x",     // not a letter
      "1\t/srv/x",
      "F\trelative/folder",  // folders are absolute
      "G",                   // no folder
      "G\t",
      "  # indented comment\tx",
  };
  for (const char* line : rows) EXPECT_TRUE(DriveMapFile::parse(line).entries().empty()) << line;
}

TEST(DriveMapFileTest, FirstLineOfALetterWins) {
  const DriveMapFile map = DriveMapFile::parse("E\t/srv/first\nE\t/srv/second\n");
  ASSERT_EQ(map.entries().size(), 1u);
  EXPECT_EQ(map.find('E')->target, "/srv/first");
}

TEST(DriveMapFileTest, FreeLetterStartsAtDAndSkipsTakenOnes) {
  EXPECT_EQ(DriveMapFile::parse("").freeLetter(), 'D');
  EXPECT_EQ(DriveMapFile::parse("D\t/a\nE\t/b\nG\t/c\n").freeLetter(), 'F');
  std::string all;
  for (char c = 'D'; c <= 'Z'; ++c) all += std::string(1, c) + "\t/m/" + c + "\n";
  EXPECT_EQ(DriveMapFile::parse(all).freeLetter(), 0);
}

TEST(DriveMapFileTest, AssigningKeepsOtherLinesByteForByte) {
  const std::string original = "# mine\r\nE\t/srv/x\tCD\tX\r\nbroken line\nF\t/media/old\n";
  DriveMapFile map = DriveMapFile::parse(original);
  EXPECT_FALSE(map.changed());
  EXPECT_EQ(map.text(), original);

  map.assign('G', "/dev/sr0");
  map.assign('f', "/media/new");
  EXPECT_TRUE(map.changed());
  EXPECT_EQ(map.text(), "# mine\r\nE\t/srv/x\tCD\tX\r\nbroken line\nF\t/media/new\nG\t/dev/sr0\n");
  EXPECT_EQ(map.find('G')->target, "/dev/sr0");
  EXPECT_EQ(map.find('F')->target, "/media/new");
  // What was written reads back the same.
  const DriveMapFile again = DriveMapFile::parse(map.text());
  EXPECT_EQ(again.find('G')->target, "/dev/sr0");
  EXPECT_EQ(again.find('F')->target, "/media/new");
  EXPECT_EQ(again.find('E')->type, 5);
}

TEST(DriveMapFileTest, HeaderIsOnlyComments) {
  EXPECT_TRUE(DriveMapFile::parse(DriveMapFile::header()).entries().empty());
  EXPECT_FALSE(DriveMapFile::header().empty());
}

}  // namespace
}  // namespace zevro
