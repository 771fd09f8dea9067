#include "select/GenreCommands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "SelectionFolder.h"
#include "core/OptionKeys.h"
#include "media/Program.h"
#include "platform/FakeDrives.h"
#include "platform/FakeUi.h"
#include "platform/LinuxFileSystem.h"
#include "select/CatalogSelection.h"
#include "select/JanreChoice.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

// The genre table written, the list built, the commands over it.
struct Folder : test::SelectionFolder {
  GenreCommands& open(int media = selection::MediaAll) {
    writeGenres();
    SelectionFolder::open(false, media);
    return *commands;
  }
  std::string bytes() { return genreBytes(); }
};

// Genre number -> position, for the genres in use.
std::vector<std::pair<int, int>> positions(const GenreTable& t) {
  std::vector<std::pair<int, int>> out;
  for (int g = 0; g < GenreTable::Count; ++g)
    if (t.inUse(g)) out.emplace_back(g, t.position(g));
  return out;
}

TEST(GenreCommandsTest, AddTakesTheLowestFreeNumberAndTheNextPosition) {
  Folder f;
  f.genre(0, u"A", 0);
  f.genre(2, u"B", 1);
  GenreCommands& c = f.open();
  f.ui.inputs.push_back(u"ポップス");
  EXPECT_EQ(c.add(), 1);
  EXPECT_EQ(positions(f.onDisk()), (std::vector<std::pair<int, int>>{{0, 0}, {1, 2}, {2, 1}}));
  EXPECT_EQ(f.onDisk().state(1), GenreTable::Closed);
  // Its row has the cursor, closed.
  EXPECT_EQ(f.selection->cursorStoredRow(), f.selection->rowOfGenre(1));
  EXPECT_EQ(f.selection->rows().kind(f.selection->cursorStoredRow()), selection::KindGenreClosed);
  // The question as asked.
  ASSERT_EQ(f.ui.calls.size(), 1u);
  EXPECT_EQ(f.ui.calls[0].title, genrecommands::AddTitle);
  EXPECT_EQ(f.ui.calls[0].text, u"\x01新しいジャンル名を入力して下さい");
  // An empty answer adds nothing.
  EXPECT_EQ(c.add(), -1);
}

TEST(GenreCommandsTest, NamesAreStoredSoThatTheFileStaysWhole) {
  struct Case {
    const char* what;
    Text typed;
    Text stored;
  } cases[] = {
      {"second byte 0x7C (ポ)", u"ポップス", u"ポップス"},
      {"second byte 0x5C (表)", u"表計算", u"表計算"},
      {"a bar", u"a|b", u"a｜b"},
      {"control characters dropped", u"a\tb\x01" u"c\r\n", u"abc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Folder f;
    f.genre(0, u"A", 0);
    f.genre(1, u"Z", 1);
    GenreCommands& commands = f.open();
    EXPECT_EQ(commands.addNamed(c.typed), 2);
    const std::string bytes = f.bytes();
    const std::string names = cp932::encode(u"|A|Z|" + c.stored + u"|") + std::string(17, '|');
    EXPECT_EQ(bytes.substr(304), names);
    EXPECT_EQ(bytes.substr(300, 4), std::to_string(10000 + 21 + 2 + c.stored.size()).substr(1));
    const GenreTable back = f.onDisk();
    EXPECT_EQ(back.name(0), u"A");
    EXPECT_EQ(back.name(1), u"Z");
    EXPECT_EQ(back.name(2), c.stored);
    for (int g = 3; g < GenreTable::Count; ++g) EXPECT_EQ(back.name(g), u"");
  }
}

TEST(GenreCommandsTest, RefusalsChangeNothingOnDisk) {
  // All twenty in use: the message.
  {
    Folder f;
    for (int g = 0; g < GenreTable::Count; ++g) f.genre(g, u"G", g);
    GenreCommands& c = f.open();
    const std::string before = f.bytes();
    EXPECT_EQ(c.add(), -1);
    EXPECT_EQ(f.ui.messages(), std::vector<Text>{Text(genrecommands::FullMessage)});
    EXPECT_EQ(f.bytes(), before);
  }
  // Names longer than the length field can say: a beep.
  {
    Folder f;
    f.genre(0, Text(5000, u'あ'), 0);
    GenreCommands& c = f.open();
    const std::string before = f.bytes();
    GenreOutcome outcome = GenreOutcome::Done;
    EXPECT_EQ(c.addNamed(Text(5000, u'い'), &outcome), -1);
    EXPECT_EQ(outcome, GenreOutcome::Refused);
    EXPECT_EQ(c.renameTo(0, Text(9990, u'う')), GenreOutcome::Refused);
    EXPECT_EQ(f.ui.count(FakeUi::Kind::Beep), 2);
    EXPECT_EQ(f.bytes(), before);
  }
}

TEST(GenreCommandsTest, RenameAsksWithTheOldName) {
  Folder f;
  f.genre(0, u"旧名", 0);
  GenreCommands& c = f.open();
  f.ui.inputs.push_back(u"新名");
  EXPECT_EQ(c.rename(0), GenreOutcome::Done);
  EXPECT_EQ(f.ui.calls[0].text, u"\x01新しいジャンル名を入力して下さい||\x02旧ジャンル名＝旧名");
  EXPECT_EQ(f.ui.calls[0].title, u"ジャンル名の変更");
  EXPECT_EQ(f.onDisk().name(0), u"新名");
  EXPECT_EQ(f.selection->rows().field(0, f.selection->rowOfGenre(0)), u"新名");
  EXPECT_EQ(c.lastName(), u"新名");
  f.ui.inputs.push_back(u"新名");
  EXPECT_EQ(c.rename(0), GenreOutcome::Unchanged);
}

TEST(GenreCommandsTest, DeleteIsRefusedWhileListFilesOfTheGenreExistEvenWhenFilteredOut) {
  Folder f;
  f.genre(0, u"A", 0);
  f.genre(2, u"B", 1);
  f.genre(5, u"C", 2);
  f.genre(7, u"D", 3);
  f.list("_05HD_x.cct", u"X");
  GenreCommands& c = f.open(selection::MediaCD);  // the HD catalog is not listed
  const std::string before = f.bytes();
  EXPECT_EQ(c.remove(5), GenreOutcome::Refused);
  EXPECT_EQ(f.ui.messages(), std::vector<Text>{Text(genrecommands::HasListsMessage)});
  EXPECT_EQ(f.bytes(), before);

  // Moved away, the genre goes; the later genres move up one place.
  const CatalogMove moved = moveCatalog(f.platform, f.index, f.root, u"_05hd_x.cct", 2);
  ASSERT_EQ(moved.outcome, GenreOutcome::Done);
  f.ui.answers.push_back(AnswerYes);
  EXPECT_EQ(c.remove(5), GenreOutcome::Done);
  EXPECT_EQ(f.ui.calls.back().text, u"ジャンル　「 \x08" u"C\x07 」 を\x05削除していいですか？" + Text(1, u'\0'));
  EXPECT_EQ(f.ui.calls.back().flags, mb::YesNo | mb::IconQuestion | mb::DefaultSecond);
  EXPECT_EQ(positions(f.onDisk()), (std::vector<std::pair<int, int>>{{0, 0}, {2, 1}, {7, 2}}));
  EXPECT_EQ(f.onDisk().name(5), u"");
  // The cursor is on the genre that followed.
  EXPECT_EQ(f.selection->cursorStoredRow(), f.selection->rowOfGenre(7));
  // No keeps it.
  f.ui.answers.push_back(AnswerNo);
  EXPECT_EQ(c.remove(7), GenreOutcome::Unchanged);
  EXPECT_TRUE(f.onDisk().inUse(7));
}

TEST(GenreCommandsTest, MovingUpAndDown) {
  struct Case {
    const char* what;
    bool up;
    int genre;
    GenreOutcome outcome;
    std::vector<std::pair<int, int>> after;
  } cases[] = {
      {"first up: nothing", true, 0, GenreOutcome::Unchanged, {{0, 0}, {3, 1}, {9, 2}}},
      {"last down: nothing", false, 9, GenreOutcome::Unchanged, {{0, 0}, {3, 1}, {9, 2}}},
      {"second up", true, 3, GenreOutcome::Done, {{0, 1}, {3, 0}, {9, 2}}},
      {"first down", false, 0, GenreOutcome::Done, {{0, 1}, {3, 0}, {9, 2}}},
      {"free genre", true, 4, GenreOutcome::Refused, {{0, 0}, {3, 1}, {9, 2}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Folder f;
    f.genre(0, u"A", 0);
    f.genre(3, u"B", 1);
    f.genre(9, u"C", 2);
    GenreCommands& commands = f.open();
    EXPECT_EQ(c.up ? commands.moveUp(c.genre) : commands.moveDown(c.genre), c.outcome);
    EXPECT_EQ(positions(f.onDisk()), c.after);
    if (c.outcome == GenreOutcome::Done) {
      EXPECT_EQ(f.selection->cursorStoredRow(), f.selection->rowOfGenre(c.genre));
    }
  }
}

TEST(CatalogMoveTest, RenamesTheFileAndRemovesTheWholeIndexEntryOnly) {
  Folder f;
  f.genre(0, u"A", 0);
  f.genre(7, u"B", 1, GenreTable::ClosedByUser);
  f.list("_00CD_X.cct", u"Ex");
  // Its name ends like the moved one: a search for the name alone would hit it.
  f.list("_00HD_Y_00cd_x.cct", u"Why");
  f.open();
  const CatalogMove move = moveCatalog(f.platform, f.index, f.root, u"_00cd_x.cct", 7);
  ASSERT_EQ(move.outcome, GenreOutcome::Done);
  EXPECT_EQ(move.newName, u"_07CD_X.cct");
  EXPECT_TRUE(std::filesystem::exists(f.temp.path("_07CD_X.cct")));
  EXPECT_FALSE(std::filesystem::exists(f.temp.path("_00CD_X.cct")));
  EXPECT_EQ(CatalogIndex::decode(f.temp.get(CatalogIndex::FileName)),
            (std::vector<CatalogIndexEntry>{{u"_00hd_y_00cd_x.cct", u"Why"}}));

  f.selection->ChangeJanre(u"_00cd_x.cct", 7);
  EXPECT_EQ(f.onDisk().state(7), GenreTable::Open);
  EXPECT_EQ(f.selection->cursorStoredRow(), f.selection->rowOfFile(u"_07cd_x.cct"));
  EXPECT_EQ(f.selection->rows().kind(f.selection->rowOfGenre(7)), selection::KindGenreOpen);
  EXPECT_EQ(CatalogIndex::decode(f.temp.get(CatalogIndex::FileName)),
            (std::vector<CatalogIndexEntry>{{u"_00hd_y_00cd_x.cct", u"Why"}, {u"_07cd_x.cct", u"Ex"}}));
}

TEST(CatalogMoveTest, RefusesToReplaceACatalogOfTheNewNameInAnyCase) {
  Folder f;
  f.genre(0, u"A", 0);
  f.genre(7, u"B", 1);
  f.list("_00CD_X.cct", u"Mine");
  f.temp.put("_07cd_X.CCT", "theirs");
  f.open();
  const std::string index = f.temp.get(CatalogIndex::FileName);
  const CatalogMove move = moveCatalog(f.platform, f.index, f.root, u"_00CD_X.cct", 7);
  EXPECT_EQ(move.outcome, GenreOutcome::Refused);
  EXPECT_EQ(f.ui.count(FakeUi::Kind::Message), 1);
  EXPECT_EQ(f.temp.get("_07cd_X.CCT"), "theirs");
  EXPECT_EQ(f.temp.get("_00CD_X.cct"), testfiles::currentListFile(u"LABEL", u"Mine"));
  EXPECT_EQ(f.temp.get(CatalogIndex::FileName), index);
}

TEST(CatalogMoveTest, SameGenreAndNamesWithoutDigits) {
  Folder f;
  f.genre(0, u"A", 0);
  f.list("_00CD_X.cct", u"X");
  f.list("_x0CD_Y.cct", u"Y");
  f.open();
  EXPECT_EQ(moveCatalog(f.platform, f.index, f.root, u"_00cd_x.cct", 0).outcome, GenreOutcome::Unchanged);
  EXPECT_EQ(moveCatalog(f.platform, f.index, f.root, u"_x0cd_y.cct", 3).outcome, GenreOutcome::Refused);
  EXPECT_EQ(moveCatalog(f.platform, f.index, f.root, u"_00cd_none.cct", 3).outcome, GenreOutcome::Failed);
  EXPECT_TRUE(std::filesystem::exists(f.temp.path("_00CD_X.cct")));
}

TEST(JanreChoiceTest, OneChoiceAndSeveral) {
  GenreTable t;
  t.setName(0, u"A");
  t.setPosition(0, 1);
  t.setName(4, u"B");
  t.setPosition(4, 0);
  t.setName(9, u"C");
  t.setPosition(9, 2);
  JanreChoice one = JanreChoice::single(t, 0);
  EXPECT_EQ(one.entries, (std::vector<JanreChoice::Entry>{{u"B", 4, false}, {u"A", 0, true}, {u"C", 9, false}}));
  one.select(2);
  EXPECT_EQ(one.chosen(), std::vector<int>{9});
  JanreChoice several = JanreChoice::several(t, u"00001000010000000000");
  EXPECT_EQ(several.chosen(), (std::vector<int>{4, 9}));
  several.select(1);
  EXPECT_EQ(JanreChoice::janreListOf(several.chosen()), u"10001000010000000000");
}

// Program: the genre table is migrated from the options when missing, and a
// new catalog folder brings its own index and genre table.
TEST(ProgramGenresTest, MigrationAndFolderChange) {
  test::TempFolder temp("zevro-genres-program");
  LinuxFileSystem disk;
  FakeUi ui;
  Platform platform{disk, ui};
  FakeDrives drives;
  Program program(platform, temp.root(), &drives);
  program.options().writeText(opt::groupKey(1), u"Foo");
  ASSERT_TRUE(program.settleCatalogFolder());
  const NativePath first = program.catalogFolder();
  temp.put((first / "_00CD_A.cct").lexically_relative(temp.root()).native(), testfiles::currentListFile(u"L", u"A"));
  temp.put((first / "_04CD_B.cct").lexically_relative(temp.root()).native(), testfiles::currentListFile(u"L", u"B"));
  const GenreTable& genres = program.genres();
  EXPECT_FALSE(program.genresError());
  EXPECT_EQ(positions(genres), (std::vector<std::pair<int, int>>{{0, 0}, {1, 1}, {4, 2}}));
  EXPECT_EQ(genres.name(0), u"ジャンル00");
  EXPECT_EQ(genres.name(1), u"Foo");
  EXPECT_EQ(genres.name(4), u"ジャンル04");
  EXPECT_TRUE(std::filesystem::exists(first / GenreTable::FileName));

  // A second folder with files of its own.
  const NativePath second = temp.path("Other");
  GenreTable theirs;
  theirs.setName(3, u"あちら");
  theirs.setPosition(3, 0);
  temp.put("Other/_03CD_C.cct", testfiles::currentListFile(u"L", u"C"));
  temp.put("Other/CatJan.CCZ", theirs.encode());
  temp.put("Other/CatList.CCZ", CatalogIndex::encode({{u"_03cd_c.cct", u"Their title"}}));
  program.index().load();
  program.index().titleOf(u"_00CD_A.cct");
  EXPECT_FALSE(program.changeCatalogFolder(second));
  EXPECT_EQ(program.genres(), theirs);
  EXPECT_EQ(program.index().titleOf(u"_03cd_c.cct"), u"Their title");
  EXPECT_EQ(program.options().readPath(opt::CatalogDir, {}), second);
  CatalogSelection s({disk, program.index(), program.genres(), second, {}, {}});
  s.build();
  EXPECT_EQ(s.rows().rowCount(), 2);
  EXPECT_EQ(temp.get("Other/CatJan.CCZ"), theirs.encode());
  EXPECT_EQ(temp.get("Other/CatList.CCZ"), CatalogIndex::encode({{u"_03cd_c.cct", u"Their title"}}));
}

}  // namespace
}  // namespace zevro
