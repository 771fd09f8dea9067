// The desktop program keeps the search indexes along with the list files it
// writes, deletes and moves.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "MainWindowFixture.h"
#include "listview/MainMenu.h"
#include "listview/MainWindowLogic.h"
#include "search/SearchIndexes.h"

namespace zevro {
namespace {

using C = Command;

class SearchIndexUpkeepTest : public ::testing::Test, protected test::MainWindowFixture {
protected:
  void open(MainWindowLogic& logic, const std::string& name) {
    logic.hooks().chooseListFile = [this, name](const NativePath&, TextView, TextView) {
      return std::optional<NativePath>(catalogs / name);
    };
    logic.run(C::MF_リスト開く);
  }
  SearchIndexes indexes() { return SearchIndexes(disk, program, catalogs); }
};

TEST_F(SearchIndexUpkeepTest, ASavedCatalogHasAFreshIndex) {
  writeCatalog("_00HD_DATA.cct", sampleCatalog());
  MainWindowLogic& logic = start();
  open(logic, "_00HD_DATA.cct");
  EXPECT_EQ(indexes().check("_00HD_DATA.cct"), SearchIndexes::State::Missing);
  ui.inputs = {u"改題"};
  logic.run(C::NAMDSP);  // a new title saves the catalog
  EXPECT_EQ(indexes().check("_00HD_DATA.cct"), SearchIndexes::State::Fresh);
}

TEST_F(SearchIndexUpkeepTest, ADeletedCatalogLosesItsIndex) {
  writeCatalog("_00HD_DATA.cct", sampleCatalog());
  ASSERT_EQ(indexes().update("_00HD_DATA.cct", false), SearchIndexes::State::Built);
  const NativePath index = indexes().pathOf("_00HD_DATA.cct");
  ASSERT_TRUE(std::filesystem::exists(index));
  MainWindowLogic& logic = start();
  open(logic, "_00HD_DATA.cct");
  ui.answers = {AnswerYes};
  logic.run(C::MF_リスト削除);
  EXPECT_FALSE(std::filesystem::exists(catalogs / "_00HD_DATA.cct"));
  EXPECT_FALSE(std::filesystem::exists(index));
}

TEST_F(SearchIndexUpkeepTest, AMovedCatalogTakesItsIndexAlong) {
  writeCatalog("_00HD_DATA.cct", sampleCatalog());
  ASSERT_EQ(indexes().update("_00HD_DATA.cct", false), SearchIndexes::State::Built);
  MainWindowLogic& logic = start();
  logic.hooks().moveToGenre = [&](TextView) -> std::optional<Text> {
    std::filesystem::rename(catalogs / "_00HD_DATA.cct", catalogs / "_07HD_DATA.cct");
    return Text(u"_07HD_DATA.cct");
  };
  open(logic, "_00HD_DATA.cct");
  logic.run(C::JANDSP);
  EXPECT_EQ(indexes().check("_07HD_DATA.cct"), SearchIndexes::State::Fresh);
  EXPECT_FALSE(std::filesystem::exists(indexes().pathOf("_00HD_DATA.cct")));
}

}  // namespace
}  // namespace zevro
