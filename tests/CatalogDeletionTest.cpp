#include "core/CatalogDeletion.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "CatalogTestFiles.h"
#include "TempFolder.h"
#include "core/FileOps.h"
#include "platform/FakeUi.h"
#include "platform/FaultyFileSystem.h"
#include "platform/LinuxFileSystem.h"

namespace zevro {
namespace {

using testfiles::currentListFile;
using Op = FaultyFileSystem::Op;
using namespace catalogdeletion;

class CatalogDeletionTest : public ::testing::Test {
protected:
  CatalogDeletionTest() : faulty(disk), platform{faulty, ui}, index(faulty, folder.path("Catalog")) {
    folder.put("Catalog/_03CD_GAMES.cct", currentListFile(u"GAMES", u"ゲーム集"));
    folder.put("Catalog/_p_CD_GAMES.ccj", "pictures");
    folder.put("Catalog/_00HD_DOCS.cct", currentListFile(u"DOCS", u"Documents"));
    index.load();
    index.titleOf(u"_03CD_GAMES.cct");
    index.titleOf(u"_00HD_DOCS.cct");
    index.write();
  }

  NativePath games() const { return folder.path("Catalog/_03CD_GAMES.cct"); }
  std::vector<Text> indexNames() const {
    std::vector<Text> names;
    for (const CatalogIndexEntry& e : CatalogIndex::decode(folder.get("Catalog/CatList.CCZ"))) names.push_back(e.name);
    return names;
  }

  test::TempFolder folder{"zevro-delete"};
  LinuxFileSystem disk;
  FaultyFileSystem faulty;
  FakeUi ui;
  Platform platform;
  CatalogIndex index;
};

TEST(CatalogDeletionNames, PictureCompanionHasNoGenreAndAnUpperCaseKind) {
  struct Row {
    const char16_t* list;
    const char16_t* companion;
  } rows[] = {
      {u"_03CD_GAMES.cct", u"_p_CD_GAMES.ccj"},
      {u"_03cd_GAMES.cct", u"_p_CD_GAMES.ccj"},
      {u"_00hd_DOCS&OLD Disk.CCT", u"_p_HD_DOCS&OLD Disk.ccj"},
      {u"_12FD_v1.2.cct", u"_p_FD_v1.2.ccj"},
  };
  for (const Row& row : rows) EXPECT_EQ(pictureCompanionName(row.list), row.companion) << toUtf8(row.list);
}

TEST(CatalogDeletionNames, QuestionFramesTheTitleInBoldAndTheQuestionInColour5) {
  const Text expected = Text(u"表示中の 『 \x08ゲーム集\x07 』 を\x05カタログから削除していいですか？") + char16_t(0);
  EXPECT_EQ(questionText(u"ゲーム集"), expected);
}

TEST_F(CatalogDeletionTest, YesDeletesListFilePictureFileAndEntry) {
  ui.answers.push_back(AnswerYes);

  EXPECT_EQ(deleteCatalog(platform, index, games(), u"ゲーム集"), DeleteOutcome::Deleted);

  ASSERT_EQ(ui.calls.size(), 1u);
  EXPECT_EQ(ui.calls[0].text, questionText(u"ゲーム集"));
  EXPECT_EQ(ui.calls[0].flags, mb::YesNo | mb::DefaultSecond | mb::IconQuestion);
  EXPECT_FALSE(folder.there("Catalog/_03CD_GAMES.cct"));
  EXPECT_FALSE(folder.there("Catalog/_p_CD_GAMES.ccj"));
  EXPECT_EQ(indexNames(), std::vector<Text>{u"_00hd_docs.cct"});
}

TEST_F(CatalogDeletionTest, PictureFileStaysWhileTheMediumHasACatalogInAnotherGenre) {
  struct Row {
    const char* what;
    const char* other;  // another file in the catalog folder
    bool pictureKept;
  } rows[] = {
      {"same medium in genre 5", "_05cd_GAMES.cct", true},
      {"same medium, name in another case", "_07CD_games.CCT", true},
      {"another medium", "_05CD_GAMES2.cct", false},
      {"another kind", "_05FD_GAMES.cct", false},
  };
  for (const Row& row : rows) {
    folder.put("Catalog/_03CD_GAMES.cct", currentListFile(u"GAMES", u"ゲーム集"));
    folder.put("Catalog/_p_CD_GAMES.ccj", "pictures");
    folder.put(std::string("Catalog/") + row.other, currentListFile(u"GAMES", u"Other"));
    ui.answers.push_back(AnswerYes);

    EXPECT_EQ(deleteCatalog(platform, index, games(), u"ゲーム集"), DeleteOutcome::Deleted) << row.what;

    EXPECT_FALSE(folder.there("Catalog/_03CD_GAMES.cct")) << row.what;
    EXPECT_EQ(folder.there("Catalog/_p_CD_GAMES.ccj"), row.pictureKept) << row.what;
    std::filesystem::remove(folder.path(std::string("Catalog/") + row.other));
  }
}

TEST_F(CatalogDeletionTest, NoAnswerOrNoFileChangesNothing) {
  struct Row {
    const char* what;
    NativePath listFile;
    std::deque<int> answers;
    DeleteOutcome outcome;
    int questions;
    int beeps;
  } rows[] = {
      {"answer No", games(), {AnswerNo}, DeleteOutcome::Declined, 1, 0},
      {"no catalog shown", NativePath(), {}, DeleteOutcome::Refused, 0, 1},
      {"file already gone", folder.path("Catalog/_09CD_GONE.cct"), {}, DeleteOutcome::Refused, 0, 1},
  };
  const std::string indexBefore = folder.get("Catalog/CatList.CCZ");
  for (const Row& row : rows) {
    ui.calls.clear();
    ui.answers = row.answers;

    EXPECT_EQ(deleteCatalog(platform, index, row.listFile, u"T"), row.outcome) << row.what;

    EXPECT_EQ(ui.count(FakeUi::Kind::Message), row.questions) << row.what;
    EXPECT_EQ(ui.count(FakeUi::Kind::Beep), row.beeps) << row.what;
    EXPECT_TRUE(folder.there("Catalog/_03CD_GAMES.cct")) << row.what;
    EXPECT_TRUE(folder.there("Catalog/_p_CD_GAMES.ccj")) << row.what;
    EXPECT_EQ(folder.get("Catalog/CatList.CCZ"), indexBefore) << row.what;
  }
}

TEST_F(CatalogDeletionTest, AListFileThatCannotBeDeletedKeepsItsPicturesAndEntry) {
  const std::string indexBefore = folder.get("Catalog/CatList.CCZ");
  faulty.fail(Op::Remove, EACCES, games(), -1);
  ui.answers.push_back(AnswerYes);

  EXPECT_EQ(deleteCatalog(platform, index, games(), u"ゲーム集"), DeleteOutcome::Failed);

  EXPECT_EQ(ui.messages().back(), fileops::cannotDeleteText(games()));
  EXPECT_TRUE(folder.there("Catalog/_03CD_GAMES.cct"));
  EXPECT_TRUE(folder.there("Catalog/_p_CD_GAMES.ccj"));
  EXPECT_EQ(folder.get("Catalog/CatList.CCZ"), indexBefore);
  EXPECT_EQ(index.entries().size(), 2u);
}

TEST_F(CatalogDeletionTest, AFailedIndexWriteIsReportedAndTheEntryStaysOutOfTheIndex) {
  faulty.fail(Op::Write, ENOSPC);
  ui.answers.push_back(AnswerYes);

  EXPECT_EQ(deleteCatalog(platform, index, games(), u"ゲーム集"), DeleteOutcome::Deleted);

  EXPECT_EQ(ui.count(FakeUi::Kind::SystemMessage), 1);
  EXPECT_NE(ui.messages().back().find(u"CatList.CCZ"), Text::npos);
  EXPECT_FALSE(folder.there("Catalog/_03CD_GAMES.cct"));
  EXPECT_TRUE(index.changed());
  ASSERT_FALSE(index.writeIfChanged());
  EXPECT_EQ(indexNames(), std::vector<Text>{u"_00hd_docs.cct"});
}

}  // namespace
}  // namespace zevro
