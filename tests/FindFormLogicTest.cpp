// The search window's decisions: the shared history and switches, the two
// term boxes, the condition switch, the filters and their Alt keys, the
// checks before a search, a search through the engine with its pump, and
// the jump into a fake main window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempFolder.h"
#include "core/CatalogList.h"
#include "core/ListFile.h"
#include "core/OptionKeys.h"
#include "core/TermHistory.h"
#include "platform/LinuxFileSystem.h"
#include "search/SearchIndexes.h"
#include "search/SharedSearch.h"
#include "select/FindFormLogic.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

std::vector<Text> numbered(int n) {
  std::vector<Text> words;
  for (int i = 0; i < n; ++i) words.push_back(u"word" + fromUtf8(std::to_string(i)));
  return words;
}

TEST(TermHistory, CommitsPutTheTextOnTopAndReplaceItsEqual) {
  struct Case {
    std::vector<Text> before;
    TextView text;
    std::vector<Text> after;
  };
  const Case cases[] = {
      {{}, u"readme", {u"readme"}},
      {{u"cat", u"dog"}, u"dog", {u"dog", u"cat"}},
      {{u"Readme", u"cat"}, u" README ", {u" README ", u"cat"}},
      {{u"cat", u"readme\t"}, u"ReadMe", {u"ReadMe", u"cat"}},
      {{u"ＡＢＣ"}, u"ａｂｃ", {u"ａｂｃ", u"ＡＢＣ"}},  // full-width letters keep their case
      {{u"cat"}, u"", {u"cat"}},
  };
  for (const Case& c : cases) {
    std::vector<Text> words = c.before;
    EXPECT_EQ(termhistory::commit(words, c.text), !c.text.empty());
    EXPECT_EQ(words, c.after) << cp932::encode(Text(c.text));
  }
}

TEST(TermHistory, TheThirtyThirdEntryPushesTheOldestOut) {
  std::vector<Text> words = numbered(32);
  ASSERT_TRUE(termhistory::commit(words, u"new"));
  ASSERT_EQ(words.size(), 32u);
  EXPECT_EQ(words.front(), u"new");
  EXPECT_EQ(words.back(), u"word30");
  // Committing an entry already there keeps all 32.
  ASSERT_TRUE(termhistory::commit(words, u"WORD30"));
  EXPECT_EQ(words.size(), 32u);
  EXPECT_EQ(words[1], u"new");
  EXPECT_EQ(words.back(), u"word29");
}

TEST(SharedSearch, ObserversSeeEveryChangeAndMenuMarksFollowTheSwitches) {
  SharedSearch shared;
  int calls = 0;
  shared.observe([&] { ++calls; });
  shared.observe([&] { ++calls; });
  EXPECT_TRUE(shared.commitWord(u"abc"));
  EXPECT_EQ(shared.selectedWord(), 0);
  EXPECT_EQ(calls, 2);
  EXPECT_FALSE(shared.commitWord(u""));
  EXPECT_EQ(calls, 2);

  struct Case {
    SwitchKind kind;
    bool checkedWhenOff;
  };
  const Case cases[] = {{SwitchKind::Case, true},
                        {SwitchKind::Width, true},
                        {SwitchKind::Pattern, false},
                        {SwitchKind::WholeWord, false}};
  for (const Case& c : cases) {
    EXPECT_EQ(shared.menuChecked(c.kind), c.checkedWhenOff);
    shared.toggle(c.kind);
    EXPECT_TRUE(shared.isOn(c.kind));
    EXPECT_EQ(shared.menuChecked(c.kind), !c.checkedWhenOff);
    EXPECT_EQ(shared.lampLit(c.kind), shared.menuChecked(c.kind));
  }
  EXPECT_TRUE(shared.switches().caseFold && shared.switches().widthFold && shared.switches().pattern &&
              shared.switches().wholeWord);
  EXPECT_EQ(calls, 2 + 2 * 4);
  shared.set(SwitchKind::Case, true);  // no change, no call
  EXPECT_EQ(calls, 10);
}

TEST(SharedSearch, SwitchesGoThroughTheOptionStore) {
  test::TempFolder folder;
  LinuxFileSystem files;
  OptionStore options(files, folder.path("ZEVRO32.Opt"));
  SharedSearch shared;
  shared.set(SwitchKind::Width, true);
  shared.set(SwitchKind::WholeWord, true);
  shared.writeSwitches(options);
  EXPECT_FALSE(opt::readBoolean(options, opt::AlphaSame));
  EXPECT_TRUE(opt::readBoolean(options, opt::HanZenSame));
  EXPECT_FALSE(opt::readBoolean(options, opt::UseWildCard));
  EXPECT_TRUE(opt::readBoolean(options, opt::FindTerm));
  SharedSearch other;
  other.readSwitches(options);
  EXPECT_TRUE(other.isOn(SwitchKind::Width));
  EXPECT_TRUE(other.isOn(SwitchKind::WholeWord));
  EXPECT_FALSE(other.isOn(SwitchKind::Case));
}

struct FindFixture {
  test::TempFolder folder{"zevro-find"};
  LinuxFileSystem files;
  OptionStore options{files, folder.path("ZEVRO32.Opt")};
  SharedSearch shared;
  FindFormLogic logic{shared, options};
};

TEST(FindFormLogic, FirstBoxFeedsTheSharedHistorySecondBoxOnlyItsOwn) {
  FindFixture f;
  f.shared.setWords({u"old", u"Readme"});
  EXPECT_TRUE(f.logic.commitTerm(u"readme ", 0));
  EXPECT_EQ(f.logic.term(), u"readme ");
  EXPECT_EQ(f.shared.words(), (std::vector<Text>{u"readme ", u"old"}));
  EXPECT_EQ(f.shared.selectedWord(), 0);

  EXPECT_TRUE(f.logic.commitTerm(u"second", 1));
  EXPECT_EQ(f.logic.secondTerms(), std::vector<Text>{u"second"});
  EXPECT_EQ(f.shared.words(), (std::vector<Text>{u"readme ", u"old"}));  // untouched
  EXPECT_EQ(f.logic.term(), u"readme ");

  EXPECT_FALSE(f.logic.commitTerm(u"", 0));
  EXPECT_EQ(f.logic.term(), u"readme ");
  f.logic.open(u"from the main window");
  EXPECT_EQ(f.logic.term(), u"from the main window");
  EXPECT_EQ(f.shared.words().front(), u"from the main window");
}

TEST(FindFormLogic, SecondBoxKeepsThirtyTwo) {
  FindFixture f;
  f.logic.setSecondTerms(numbered(40));
  EXPECT_EQ(f.logic.secondTerms().size(), 32u);
  f.logic.commitTerm(u"x", 1);
  EXPECT_EQ(f.logic.secondTerms().size(), 32u);
  EXPECT_EQ(f.logic.secondTerms().back(), u"word30");
}

TEST(FindFormLogic, ConditionSwitchByPart) {
  struct Case {
    std::vector<int> clicks;  // y in twips
    Condition after;
  };
  const Case cases[] = {
      {{}, Condition::And},       {{10}, Condition::Off},     {{10, 10}, Condition::And},
      {{150}, Condition::Or},     {{150, 150}, Condition::Off}, {{200, 149}, Condition::And},
      {{10, 300}, Condition::Or}, {{149, 150, 150}, Condition::Off},
  };
  for (const Case& c : cases) {
    FindFixture f;
    for (int y : c.clicks) f.logic.clickCondition(y);
    EXPECT_EQ(f.logic.condition(), c.after) << c.clicks.size();
    EXPECT_EQ(f.logic.secondBoxEnabled(), c.after != Condition::Off);
  }
}

TEST(FindFormLogic, ValidationMessagesBeforeASearch) {
  FindFixture f;
  EXPECT_FALSE(f.logic.startProblem());
  f.logic.act(FilterAction::ToggleNames);
  f.logic.act(FilterAction::ToggleComments);
  ASSERT_TRUE(f.logic.startProblem());
  EXPECT_EQ(*f.logic.startProblem(), FindFormLogic::NoColumnMessage);
  f.logic.act(FilterAction::ToggleCd);
  f.logic.act(FilterAction::ToggleFd);
  f.logic.act(FilterAction::ToggleHd);
  // No medium is told first.
  EXPECT_EQ(*f.logic.startProblem(), FindFormLogic::NoMediumMessage);
  const Text medium(FindFormLogic::NoMediumMessage);
  EXPECT_EQ(medium.substr(0, 13), u"検索対象となるメディアを、");
  EXPECT_EQ(medium.substr(13, 2), (Text{8, 1}));
  EXPECT_NE(medium.find(Text{7, 0} + u" の中から|少なくとも１つは選択して下さい"), Text::npos);
  f.logic.act(FilterAction::ToggleFd);
  EXPECT_EQ(*f.logic.startProblem(), FindFormLogic::NoColumnMessage);
  f.logic.act(FilterAction::ToggleComments);
  EXPECT_FALSE(f.logic.startProblem());
}

TEST(FindFormLogic, AltKeys) {
  struct Case {
    int key;
    FilterAction action;
  };
  const Case cases[] = {
      {'A', FilterAction::AllGenres},      {'J', FilterAction::SomeGenres},  {'1', FilterAction::ToggleCd},
      {'2', FilterAction::ToggleFd},       {98, FilterAction::ToggleFd},     {'3', FilterAction::ToggleHd},
      {'F', FilterAction::ToggleNames},    {'C', FilterAction::ToggleComments}, {'7', FilterAction::ToggleWidth},
      {105, FilterAction::ToggleWholeWord}, {'8', FilterAction::TogglePattern}, {'6', FilterAction::None},
      {102, FilterAction::None},           {'Z', FilterAction::None},        {'0', FilterAction::None},
  };
  for (const Case& c : cases) EXPECT_EQ(FindFormLogic::altKey(c.key), c.action) << c.key;
}

TEST(FindFormLogic, FiltersReadStoredAndSaveAtTheEnd) {
  FindFixture f;
  EXPECT_EQ(f.logic.media(), media::All);
  EXPECT_EQ(f.logic.columns(), column::Both);
  EXPECT_FALSE(f.logic.genresOn());
  EXPECT_EQ(f.logic.genreList(), Text(20, u'0'));
  f.logic.act(FilterAction::ToggleFd);
  f.logic.act(FilterAction::ToggleComments);
  f.logic.act(FilterAction::SomeGenres);
  f.logic.pickGenres({0, 5, 19, 20});
  EXPECT_EQ(f.options.readText(opt::JanreList, u""), u"10000100000000000001");  // stored at once
  f.logic.saveOptions();
  FindFormLogic again(f.shared, f.options);
  EXPECT_EQ(again.media(), media::CD | media::HD);
  EXPECT_EQ(again.columns(), column::Name);
  EXPECT_TRUE(again.genresOn());
  EXPECT_EQ(again.genreList(), u"10000100000000000001");
}

// A list file as the program writes it: the title line and README.TXT.
std::string listFileWithReadme() {
  RowStore store;
  catalog::makeCatalogList(store);
  EXPECT_TRUE(store.appendShown(u"\x10LABEL\x11Title\x12\x13" u"1\x14" u"0", 0, 0, catalog::KindTitleCD, 0));
  EXPECT_TRUE(store.appendShown(u"\x10README.TXT\x11\x12\x13" u"1\x14" u"0", 0, 0, catalog::KindFile, 1));
  return *listfile::build(store, listfile::Header{});
}

// Catalog files with a few hits each, searched through the engine.
struct SearchFixture : FindFixture {
  RowStore grid;
  SearchResults results{grid};
  NativePath catalogs = folder.path("Catalog");
};

TEST(FindFormLogic, SearchesThroughTheEngineAndStopEndsTheScan) {
  SearchFixture f;
  for (const char* name : {"_00CD_ONE.cct", "_00CD_TWO.cct", "_00HD_THREE.cct"})
    f.folder.put(std::string("Catalog/") + name, listFileWithReadme());
  f.logic.commitTerm(u"R", 0);
  EXPECT_FALSE(f.logic.search(f.files, f.catalogs, u"", f.results, {}));  // one byte: the window beeps

  // A whole search: README.TXT in each catalog.
  f.logic.commitTerm(u"README", 0);
  int pumps = 0;
  CatalogScan::Hooks counting;
  counting.pump = [&] {
    ++pumps;
    EXPECT_TRUE(f.logic.running());
    EXPECT_EQ(f.logic.buttonCaption(), FindFormLogic::StopCaption);
    return true;
  };
  auto outcome = f.logic.search(f.files, f.catalogs, u"", f.results, counting);
  ASSERT_TRUE(outcome);
  EXPECT_FALSE(outcome->cancelled);
  EXPECT_GT(pumps, 0);
  EXPECT_EQ(f.results.rowCount(), 3);
  EXPECT_FALSE(f.logic.running());
  EXPECT_EQ(f.logic.buttonCaption(), FindFormLogic::StartCaption);

  // Stop pressed at the first pump: the scan ends there, with what it found.
  CatalogScan::Hooks stopping;
  stopping.pump = [&] {
    // While it runs, filters, switches and term boxes refuse (the window beeps).
    EXPECT_FALSE(f.logic.act(FilterAction::ToggleCd));
    EXPECT_FALSE(f.logic.act(FilterAction::ToggleWidth));
    EXPECT_FALSE(f.logic.commitTerm(u"other", 0));
    f.logic.requestStop();
    return true;
  };
  outcome = f.logic.search(f.files, f.catalogs, u"", f.results, stopping);
  ASSERT_TRUE(outcome);
  EXPECT_TRUE(outcome->cancelled);
  EXPECT_LT(f.results.rowCount(), 3);
  EXPECT_EQ(f.logic.media(), media::All);
  EXPECT_FALSE(f.shared.isOn(SwitchKind::Width));
  EXPECT_EQ(f.logic.term(), u"README");
  EXPECT_FALSE(f.logic.stopRequested());

  // Media filter: the hard-disk catalog only.
  f.logic.act(FilterAction::ToggleCd);
  f.logic.act(FilterAction::ToggleFd);
  outcome = f.logic.search(f.files, f.catalogs, u"", f.results, {});
  ASSERT_TRUE(outcome);
  ASSERT_EQ(f.results.rowCount(), 1);
  EXPECT_EQ(f.results.catalogOf(0)->fileName, u"_00HD_THREE.cct");
}

// A list file of 300 rows: folders of files, README.TXT the 200th of them.
std::string largeListFile(int variant) {
  RowStore store;
  catalog::makeCatalogList(store);
  EXPECT_TRUE(store.appendShown(u"\x10LABEL\x11Title " + fromUtf8(std::to_string(variant)) + u"\x12\x13" u"1\x14" u"0", 0,
                                0, catalog::KindTitleCD, 0));
  for (int i = 1; i < 300; ++i) {
    const bool folder = i % 30 == 1;
    const Text name = i == 200 ? Text(u"README.TXT") : u"file" + fromUtf8(std::to_string(i * 7 + variant)) + u".dat";
    EXPECT_TRUE(store.appendShown(u"\x10" + name + u"\x11\x12\x13" u"1\x14" u"0", 0, 0,
                                  folder ? catalog::KindFolder : catalog::KindFile, folder ? 1 : 2));
  }
  return *listfile::build(store, listfile::Header{});
}

TEST(FindFormLogic, ASearchThroughTheIndexesShowsWhatTheScanShows) {
  SearchFixture f;
  for (int c = 0; c < 4; ++c) f.folder.put("Catalog/_00CD_DISC" + std::to_string(c) + ".cct", largeListFile(c));
  const auto rowsOf = [](const SearchResults& results) {
    std::vector<Text> rows;
    for (int r = 0; r < results.rowCount(); ++r)
      rows.push_back(Text(results.grid().record(r)) + u"|" + results.catalogOf(r)->title + u"|" +
                     fromUtf8(std::to_string(results.grid().highlight(r))));
    return rows;
  };
  SearchIndexes indexes(f.files, f.folder.path(""), f.catalogs);
  for (const Text& term : {Text(u"README"), Text(u"file1"), Text(u"LABEL"), Text(u"absent")}) {
    f.logic.commitTerm(term, 0);
    const auto scanned = f.logic.search(f.files, f.catalogs, u"", f.results, {});
    ASSERT_TRUE(scanned);
    EXPECT_EQ(scanned->catalogsByIndex, 0);
    const std::vector<Text> expected = rowsOf(f.results);
    const auto indexed = f.logic.search(f.files, f.catalogs, u"", f.results, {}, &indexes);
    ASSERT_TRUE(indexed);
    EXPECT_EQ(rowsOf(f.results), expected) << toUtf8(term);
    EXPECT_EQ(indexed->catalogsSearched, 4);
    // A rare word goes through the indexes; a word in every row does not need to.
    if (term == u"README" || term == u"absent") {
      EXPECT_EQ(indexed->catalogsByIndex, 4) << toUtf8(term);
    }
    EXPECT_EQ(indexed->catalogsUnread, term == u"absent" ? 4 : 0) << toUtf8(term);
  }
  EXPECT_EQ(rowsOf(f.results).size(), 0u);
  f.logic.commitTerm(u"README", 0);
  f.logic.search(f.files, f.catalogs, u"", f.results, {}, &indexes);
  EXPECT_EQ(f.results.rowCount(), 4);
}

// The main window as the jump sees it: a log of calls, and loads that work
// only for the catalogs it knows.
struct FakeMainWindow : JumpTarget {
  std::vector<Text> loadable;
  Text shown;
  std::vector<std::string> log;
  void loadCatalog(TextView fileName) override {
    log.push_back("load " + cp932::encode(Text(fileName)));
    for (const Text& name : loadable)
      if (name == fileName) shown = name;
  }
  Text currentListFile() const override { return shown; }
  void showPage(TextView path, bool show) override {
    log.push_back(std::string(show ? "show " : "page ") + cp932::encode(Text(path)));
  }
  void markRow(TextView path, bool current) override {
    log.push_back(std::string(current ? "current " : "mark ") + cp932::encode(Text(path)));
  }
};

// Two adjacent catalogs with the same title, then one with no title, then
// another with no title.
struct JumpFixture : FindFixture {
  RowStore grid;
  SearchResults results{grid};
  FakeMainWindow main;
  JumpFixture() {
    results.start({{u"_00CD_A.cct", "_00CD_A.cct", 1, u""},
                   {u"_01CD_B.cct", "_01CD_B.cct", 1, u""},
                   {u"_02HD_C.cct", "_02HD_C.cct", 3, u""},
                   {u"_03HD_D.cct", "_03HD_D.cct", 3, u""}});
    results.append(0, {u"Same", u"a1", u"", u""});
    results.append(0, {u"Same", u"a2", u"", u""});
    results.append(1, {u"Same", u"b1", u"", u""});
    results.append(1, {u"Same", u"b2", u"", u""});
    results.append(2, {u"", u"c1", u"", u""});
    results.append(3, {u"", u"d1", u"", u""});
    main.loadable = {u"_00CD_A.cct", u"_01CD_B.cct", u"_02HD_C.cct", u"_03HD_D.cct"};
  }
};

TEST(FindFormLogic, JumpMarksOnlyTheRowsOfItsOwnCatalog) {
  struct Case {
    int row;
    std::vector<std::string> log;
  };
  const Case cases[] = {
      {1, {"load _00CD_A.cct", "mark a1", "mark a2", "show a2", "current a2"}},
      {2, {"load _01CD_B.cct", "mark b1", "mark b2", "show b1", "current b1"}},
      {4, {"load _02HD_C.cct", "mark c1", "show c1", "current c1"}},
      {5, {"load _03HD_D.cct", "mark d1", "show d1", "current d1"}},
  };
  for (const Case& c : cases) {
    JumpFixture f;
    EXPECT_TRUE(f.logic.jump(f.results, c.row, true, f.main));
    EXPECT_EQ(f.main.log, c.log) << c.row;
  }
}

TEST(FindFormLogic, ASecondJumpIntoTheSameCatalogMarksOnlyTheCurrentHit) {
  JumpFixture f;
  ASSERT_TRUE(f.logic.jump(f.results, 0, false, f.main));
  f.main.log.clear();
  ASSERT_TRUE(f.logic.jump(f.results, 1, false, f.main));
  EXPECT_EQ(f.main.log, (std::vector<std::string>{"load _00CD_A.cct", "page a2", "current a2"}));
  EXPECT_EQ(f.logic.lastJumpedCatalog(), u"_00CD_A.cct");
  // Another catalog and back: marked again.
  ASSERT_TRUE(f.logic.jump(f.results, 2, false, f.main));
  f.main.log.clear();
  ASSERT_TRUE(f.logic.jump(f.results, 0, true, f.main));
  EXPECT_EQ(f.main.log, (std::vector<std::string>{"load _00CD_A.cct", "mark a1", "mark a2", "show a1", "current a1"}));
}

TEST(FindFormLogic, AFailedLoadMarksNothing) {
  JumpFixture f;
  ASSERT_TRUE(f.logic.jump(f.results, 0, false, f.main));  // A is shown
  f.main.loadable = {u"_00CD_A.cct"};                      // B cannot load
  f.main.log.clear();
  EXPECT_FALSE(f.logic.jump(f.results, 2, true, f.main));
  EXPECT_EQ(f.main.log, std::vector<std::string>{"load _01CD_B.cct"});
  EXPECT_EQ(f.logic.lastJumpedCatalog(), u"_00CD_A.cct");
  EXPECT_FALSE(f.logic.jump(f.results, 6, true, f.main));   // outside the rows
  EXPECT_FALSE(f.logic.jump(f.results, -1, true, f.main));
}

TEST(FindFormLogic, ACatalogShownUnderAnotherCaseCountsAsLoaded) {
  JumpFixture f;
  f.main.loadable = {u"_00cd_a.CCT"};
  f.main.shown = u"_00cd_a.CCT";  // loaded earlier under this spelling; the load keeps it
  EXPECT_TRUE(f.logic.jump(f.results, 0, true, f.main));
  EXPECT_EQ(f.main.log.back(), "current a1");
}

TEST(FindFormLogic, JumpFollowsTheDisplayOrder) {
  JumpFixture f;
  // Shown backwards: display row 0 is the last stored row (catalog D).
  std::vector<std::int32_t> order{5, 4, 3, 2, 1, 0};
  f.grid.setDisplayOrder(order);
  ASSERT_TRUE(f.logic.jump(f.results, 2, true, f.main));
  EXPECT_EQ(f.main.log, (std::vector<std::string>{"load _01CD_B.cct", "mark b2", "mark b1", "show b2", "current b2"}));
}

TEST(FindFormLogic, PrintTitleNamesTheTerm) {
  FindFixture f;
  f.logic.commitTerm(u"表計算", 0);
  EXPECT_EQ(f.logic.printTitle(), u"検索結果【表計算】");
}

}  // namespace
}  // namespace zevro
