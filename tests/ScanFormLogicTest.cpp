#include "media/ScanFormLogic.h"

#include <gtest/gtest.h>

#include "GeometryPrinting.h"

#include <functional>
#include <string>
#include <vector>

#include "MediaFixture.h"
#include "core/CatalogDocument.h"
#include "core/CatalogIndex.h"
#include "core/CatalogList.h"
#include "core/OptionKeys.h"
#include "core/OptionStore.h"
#include "media/ReadQuestion.h"
#include "media/ReadingStore.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

namespace fs = std::filesystem;
using Existing = MediaReading::Existing;
using Outcome = MediaReading::Outcome;
using RunState = ScanFormLogic::RunState;

// The reading window's logic over fake drives, a scripted Ui and a real
// catalog folder. `user` is what the user does while the window waits for
// Start; `duringWalk` runs at every look the walk takes at pending events.
class ScanFormLogicTest : public test::MediaFixture {
protected:
  ScanFormLogicTest() {
    icons.BuildStandardTables();
    fs::create_directories(catalogs);
    options.writeNumber(opt::CurrentJanreNo, 4);
    addDrive('C', drivetype::Fixed, u"ROOT");
    addDrive('D', drivetype::CdRom, u"GAMES");
    put("drive-D/setup.exe", std::string(1500, 'x'));
    put("drive-D/DATA/a.dat", std::string(20, 'x'));
    put("drive-D/DATA/MORE/b.dat", std::string(30, 'x'));
    addDrive('X', drivetype::Fixed, u"WORK");
    put("drive-X/DOCS/OLD/note.txt", "12345");
    put("drive-X/top.txt", "1");
  }

  ScanFormLogic& logic() {
    if (!logic_) {
      ScanFormLogic::Hooks hooks;
      hooks.changed = [this] { ++redraws; };
      hooks.waitForStart = [this] {
        if (user) user(*logic_);
      };
      hooks.pump = [this] {
        ++pumps;
        if (duringWalk) duringWalk(*logic_);
      };
      hooks.askExisting = [this](const MediaReading::ExistingCatalog& e) {
        asked.push_back(e);
        return answer;
      };
      hooks.hideMainWindow = [this](bool hidden) { mainHidden.push_back(hidden); };
      logic_.emplace(ScanFormLogic::Services{{platform_, info, titleFile, icons, catalogs}, options, nullptr, archives},
                     hooks);
      logic_->load();
    }
    return *logic_;
  }

  // The user picks the drive of the letter and presses Start.
  static std::function<void(ScanFormLogic&)> startOn(char letter) {
    return [letter](ScanFormLogic& l) {
      for (int i = 0; i < static_cast<int>(l.drives().size()); ++i)
        if (l.drives()[i].letter == letter) l.selectDrive(i);
      l.start();
    };
  }

  std::optional<MediaReading::Result> read() { return logic().readMedium(document.list()); }

  SavedReading save(const MediaReading::Result& result) {
    return ReadingStore(platform_, index, path("program/Backup")).store(result, document, icons);
  }

  // A list file in the catalog folder whose title line carries a title.
  void catalogFile(const std::string& name, const char16_t* title = u"old title") {
    std::string bytes(64, ' ');
    bytes += cp932::encode(catalog::buildRecord({u"GAMES", title, u"", u"1", u"0"}));
    bytes += '\0';
    put("Catalog/" + name, bytes);
  }

  Platform platform_{files, ui};
  IconTable icons;
  TitleFile titleFile{info, ui, [](const NativePath&) { return IoError{}; }};
  NativePath catalogs = path("Catalog");
  OptionStore options{files, path("program/ZEVRO32.Opt")};
  CatalogIndex index{files, catalogs};
  CatalogDocument document{{platform_, catalogs, path("program"), index, titles}};
  ArchiveLister* archives = nullptr;

  std::function<void(ScanFormLogic&)> user = startOn('D');
  std::function<void(ScanFormLogic&)> duringWalk;
  Existing answer = Existing::Cancel;
  std::vector<MediaReading::ExistingCatalog> asked;
  std::vector<bool> mainHidden;
  int redraws = 0;
  int pumps = 0;

private:
  std::optional<ScanFormLogic> logic_;
};

TEST_F(ScanFormLogicTest, NewMediumIsReadAndStoredAsACatalog) {
  bool shownWhileWaiting = false;
  bool escapeWhileWaiting = false;
  user = [&](ScanFormLogic& l) {
    shownWhileWaiting = l.shown();
    escapeWhileWaiting = l.escapeStops();
    startOn('D')(l);
  };
  duringWalk = [](ScanFormLogic& l) {
    EXPECT_FALSE(l.settingsEnabled());
    EXPECT_FALSE(l.escapeStops());
    EXPECT_EQ(l.titleText(), Text(MediaReading::ReadingText) + u"GAMES");
    EXPECT_EQ(l.titleColours().back, ScanFormLogic::ReadingColours.back);
  };
  const std::optional<MediaReading::Result> r = read();
  ASSERT_TRUE(r && r->ok());
  EXPECT_TRUE(shownWhileWaiting);
  EXPECT_TRUE(escapeWhileWaiting);
  EXPECT_GT(pumps, 0);
  EXPECT_EQ(r->fileName, u"_04CD_GAMES.CCT");
  EXPECT_EQ(r->freeSpace, 400'000);
  EXPECT_EQ(document.list().rowCount(), 6);
  EXPECT_FALSE(logic().shown());
  EXPECT_EQ(logic().runState(), RunState::Started);
  EXPECT_EQ(logic().titleColours().back, ScanFormLogic::PlainColours.back);
  EXPECT_TRUE(asked.empty());

  const SavedReading saved = save(*r);
  EXPECT_TRUE(saved.saved);
  EXPECT_EQ(namesIn("Catalog"), (std::vector<std::string>{"CatList.CCZ", "_04CD_GAMES.cct"}));
  ASSERT_EQ(index.entries().size(), 1u);
  EXPECT_EQ(index.entries()[0].name, u"_04cd_games.cct");
}

TEST_F(ScanFormLogicTest, ProgressShowsTheFolderAndTheCount) {
  const struct {
    const char* behaviour;
    bool lowPriority;
    int minimumPumps;  // files and folders: setup.exe, the root, a.dat, DATA, b.dat, MORE
  } rows[] = {
      {"high priority: a look at events after each folder", false, 2},
      {"low priority: a look at events after every item", true, 6},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.behaviour);
    pumps = 0;
    std::vector<std::pair<Text, int>> seen;
    user = [&](ScanFormLogic& l) {
      l.setLowPriority(row.lowPriority);
      startOn('D')(l);
    };
    duringWalk = [&](ScanFormLogic& l) { seen.emplace_back(l.progressFolder(), l.progressCount()); };
    ASSERT_TRUE(read());
    EXPECT_GE(pumps, row.minimumPumps);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().first, u"D:\\DATA\\MORE");
    if (row.lowPriority) {
      EXPECT_EQ(seen.back().second, 6);
    }
  }
}

TEST_F(ScanFormLogicTest, MediumAlreadyCataloguedFollowsTheAnswer) {
  const struct {
    const char* behaviour;
    Existing answer;
    std::optional<Outcome> outcome;
    std::vector<std::string> catalogAfterSave;  // the catalog folder once a success is stored
    bool oldInBackup;
  } rows[] = {
      {"replace: the old list goes to Backup once the new one is stored",
       Existing::Replace,
       Outcome::Read,
       {"CatList.CCZ", "_01CD_GAMES-01.CCT", "_04CD_GAMES.cct"},
       true},
      {"another list: the first free number",
       Existing::AddAnother,
       Outcome::Read,
       {"CatList.CCZ", "_01CD_GAMES-01.CCT", "_01CD_GAMES.CCT", "_04CD_GAMES-02.cct"},
       false},
      {"cancel: nothing is read or written",
       Existing::Cancel,
       Outcome::Declined,
       {"_01CD_GAMES-01.CCT", "_01CD_GAMES.CCT"},
       false},
      {"the question closed by its frame counts as cancel",
       ReadQuestion::answerOf(-1),
       Outcome::Declined,
       {"_01CD_GAMES-01.CCT", "_01CD_GAMES.CCT"},
       false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.behaviour);
    fs::remove_all(catalogs);
    fs::remove_all(path("program"));
    catalogFile("_01CD_GAMES.CCT", u"ゲーム集");
    catalogFile("_01CD_GAMES-01.CCT");
    ASSERT_FALSE(index.load());
    asked.clear();
    answer = row.answer;

    const std::optional<MediaReading::Result> r = read();
    ASSERT_TRUE(r);
    EXPECT_EQ(r->outcome, row.outcome);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].fileName, u"_01CD_GAMES.CCT");
    EXPECT_EQ(asked[0].title, u"ゲーム集");
    EXPECT_EQ(asked[0].displayTitle, u"GAMES");
    // Whatever was answered, the old list is still there after the reading.
    EXPECT_TRUE(there("Catalog/_01CD_GAMES.CCT"));
    if (r->ok()) {
      EXPECT_TRUE(save(*r).saved);
    } else {
      EXPECT_EQ(document.list().rowCount(), 0);
    }
    EXPECT_EQ(namesIn("Catalog"), row.catalogAfterSave);
    EXPECT_EQ(there("program/Backup/_01CD_GAMES.CCT"), row.oldInBackup);
  }
}

TEST_F(ScanFormLogicTest, ReplacedListOfTheSameNameKeepsACopyInBackup) {
  options.writeNumber(opt::CurrentJanreNo, 1);
  catalogFile("_01CD_GAMES.CCT", u"ゲーム集");
  const std::string oldBytes = get("Catalog/_01CD_GAMES.CCT");
  answer = Existing::Replace;
  const std::optional<MediaReading::Result> r = read();
  ASSERT_TRUE(r && r->ok());
  ASSERT_TRUE(save(*r).saved);
  EXPECT_EQ(get("program/Backup/_01CD_GAMES.CCT"), oldBytes);
  EXPECT_NE(get("Catalog/_01CD_GAMES.CCT"), oldBytes);
}

TEST_F(ScanFormLogicTest, StoppingMidWalkLosesNothing) {
  const struct {
    const char* behaviour;
    std::function<void(ScanFormLogic&)> act;
    int stopAnswer;
    bool stopped;
    int questions;
  } rows[] = {
      {"stop confirmed with Yes", [](ScanFormLogic& l) { l.stop(); }, AnswerYes, true, 1},
      {"stop answered No: the reading goes on", [](ScanFormLogic& l) { l.stop(); }, AnswerNo, false, 1},
      {"the close box stops without a question", [](ScanFormLogic& l) { l.close(); }, AnswerYes, true, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.behaviour);
    fs::remove_all(catalogs);
    catalogFile("_01CD_GAMES.CCT");
    const std::string oldBytes = get("Catalog/_01CD_GAMES.CCT");
    ui.calls.clear();
    ui.answers = {row.stopAnswer};
    answer = Existing::Replace;
    bool once = true;
    duringWalk = [&](ScanFormLogic& l) {
      if (std::exchange(once, false)) row.act(l);
    };

    const std::optional<MediaReading::Result> r = read();
    ASSERT_TRUE(r);
    EXPECT_EQ(ui.count(FakeUi::Kind::Message), row.questions);
    if (row.questions > 0) {
      EXPECT_EQ(ui.calls[0].text, ScanFormLogic::StopQuestion);
      EXPECT_EQ(ui.calls[0].flags, mb::YesNo | mb::DefaultSecond);
    }
    EXPECT_EQ(r->outcome, row.stopped ? Outcome::Stopped : Outcome::Read);
    EXPECT_EQ(logic().runState(), row.stopped ? RunState::Stopped : RunState::Started);
    if (!row.stopped) continue;
    EXPECT_EQ(document.list().rowCount(), 0);
    EXPECT_FALSE(r->replaced);
    EXPECT_FALSE(save(*r).saved);
    EXPECT_EQ(namesIn("Catalog"), std::vector<std::string>{"_01CD_GAMES.CCT"});
    EXPECT_EQ(get("Catalog/_01CD_GAMES.CCT"), oldBytes);
    EXPECT_FALSE(there("program/Backup"));
  }
}

TEST_F(ScanFormLogicTest, StopOrCloseBeforeStartEndsWithoutAQuestion) {
  const struct {
    const char* behaviour;
    std::function<void(ScanFormLogic&)> act;
  } rows[] = {
      {"stop", [](ScanFormLogic& l) { l.stop(); }},
      {"close box", [](ScanFormLogic& l) { l.close(); }},
      {"nothing pressed", [](ScanFormLogic&) {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.behaviour);
    document.list().appendShown(catalog::buildRecord({u"left", u"", u"", u"", u"0"}), 0, 0, 1, 0);
    user = row.act;
    EXPECT_FALSE(read());
    EXPECT_EQ(logic().runState(), RunState::Stopped);
    EXPECT_FALSE(logic().shown());
    EXPECT_EQ(document.list().rowCount(), 0);
    EXPECT_TRUE(ui.calls.empty());
    EXPECT_TRUE(namesIn("Catalog").empty());
  }
}

TEST_F(ScanFormLogicTest, FolderChosenWithTheChooserIsReadAsAMedium) {
  ui.folders = {Text(cp932::fromNativeName(path("drive-X/DOCS").native()))};
  user = [](ScanFormLogic& l) {
    l.selectDrive(0);  // C:
    l.browse();
    l.start();
  };
  const std::optional<MediaReading::Result> r = read();
  ASSERT_TRUE(r && r->ok());
  ASSERT_EQ(ui.count(FakeUi::Kind::BrowseFolder), 1);
  EXPECT_EQ(ui.calls[0].title, ScanFormLogic::FolderChooserTitle);
  EXPECT_EQ(ui.calls[0].text, cp932::fromNativeName(path("drive-C").native()));
  EXPECT_EQ(logic().drives()[logic().selectedDrive()].letter, 'X');
  EXPECT_EQ(logic().selectedFolder(), u"X:\\DOCS");
  EXPECT_EQ(r->fileName, u"_04HD_WORK DOCS.CCT");
  EXPECT_EQ(r->freeSpace, 0);  // a folder reading records no free space
  ASSERT_TRUE(save(*r).saved);
  EXPECT_TRUE(there("Catalog/_04HD_WORK DOCS.cct"));
}

TEST_F(ScanFormLogicTest, ChoosingAnotherDriveForgetsTheFolder) {
  ui.folders = {Text(cp932::fromNativeName(path("drive-X/DOCS").native())), Text()};
  logic().readMedium(document.list());  // opens and closes once so the window is set up
  user = [](ScanFormLogic& l) {
    l.selectDrive(2);  // X:
    l.browse();
    EXPECT_EQ(l.selectedFolder(), u"X:\\DOCS");
    EXPECT_EQ(l.progressFolder(), u"X:\\DOCS");
    l.browse();  // cancelled: the folder stays
    EXPECT_EQ(l.selectedFolder(), u"X:\\DOCS");
    l.selectDrive(2);
    EXPECT_EQ(l.selectedFolder(), u"");
    l.start();
  };
  const std::optional<MediaReading::Result> r = read();
  ASSERT_TRUE(r && r->ok());
  EXPECT_EQ(r->fileName, u"_04HD_WORK.CCT");
}

TEST_F(ScanFormLogicTest, RemovableMediumWithoutTitle) {
  addDrive('A', drivetype::Removable, u"");
  put("drive-A/file.txt", "abc");
  const struct {
    const char* behaviour;
    std::vector<Text> typed;
    std::optional<Outcome> outcome;
    std::vector<std::string> catalog;
  } rows[] = {
      {"no title given: nothing is read", {}, Outcome::NoTitle, {}},
      {"a title given: written to the medium and read",
       {u"My Disk"},
       Outcome::Read,
       {"CatList.CCZ", "_04FD_My Disk.cct"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.behaviour);
    ui.inputs = {row.typed.begin(), row.typed.end()};
    user = startOn('A');
    const std::optional<MediaReading::Result> r = read();
    ASSERT_TRUE(r);
    EXPECT_EQ(r->outcome, row.outcome);
    EXPECT_EQ(ui.count(FakeUi::Kind::Input), 1);
    if (r->ok()) {
      EXPECT_TRUE(save(*r).saved);
    }
    EXPECT_EQ(namesIn("Catalog"), row.catalog);
    EXPECT_EQ(there("drive-A/VolName.txt"), r->ok());
    ui.calls.clear();
  }
}

TEST_F(ScanFormLogicTest, AnotherListIsRefusedWhenEveryNumberIsTaken) {
  catalogFile("_01CD_GAMES.CCT");
  for (int n = 1; n <= MediaReading::MaxSequence; ++n)
    put("Catalog/" + toUtf8(MediaReading::numberedName(u"_01CD_GAMES.CCT", n)), "x");
  answer = Existing::AddAnother;
  const std::optional<MediaReading::Result> r = read();
  ASSERT_TRUE(r);
  EXPECT_EQ(r->outcome, Outcome::NoFreeNumber);
  EXPECT_EQ(ui.messages(), std::vector<Text>{Text(MediaReading::NoFreeNumberMessage)});
  EXPECT_EQ(namesIn("Catalog").size(), 100u);
  EXPECT_FALSE(there("Catalog/_04CD_GAMES-00.CCT"));
  EXPECT_FALSE(save(*r).saved);
}

TEST_F(ScanFormLogicTest, DriveOfferedFirst) {
  const struct {
    const char* behaviour;
    std::vector<std::pair<char, int>> drives;
    char offered;
  } rows[] = {
      {"the last removable drive when there is no CD-ROM drive",
       {{'C', drivetype::Fixed}, {'E', drivetype::Removable}, {'F', drivetype::Removable}},
       'F'},
      {"a CD-ROM drive before removable ones",
       {{'C', drivetype::Fixed}, {'D', drivetype::CdRom}, {'E', drivetype::Removable}},
       'D'},
      {"the last of two CD-ROM drives",
       {{'C', drivetype::Fixed}, {'D', drivetype::CdRom}, {'G', drivetype::CdRom}},
       'G'},
      {"the first entry never counts", {{'A', drivetype::Removable}, {'C', drivetype::Fixed}}, 'C'},
      {"fixed disks only: C:", {{'C', drivetype::Fixed}, {'X', drivetype::Fixed}}, 'C'},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.behaviour);
    for (char letter = 'A'; letter <= 'Z'; ++letter) drives.remove(letter);
    for (const auto& [letter, type] : row.drives) addDrive(letter, type, u"L");
    ScanFormLogic l({{platform_, info, titleFile, icons, catalogs}, options});
    l.load();
    ASSERT_EQ(l.drives().size(), row.drives.size());
    ASSERT_GE(l.selectedDrive(), 0);
    EXPECT_EQ(l.drives()[l.selectedDrive()].letter, row.offered);
  }
}

TEST_F(ScanFormLogicTest, DriveEntriesNameLetterLabelAndFolder) {
  addEmptyDrive('H', drivetype::CdRom);
  ScanFormLogic& l = logic();
  ASSERT_EQ(l.drives().size(), 4u);
  EXPECT_EQ(l.drives()[1].text, u"d: [GAMES]  " + cp932::fromNativeName(path("drive-D").native()));
  EXPECT_EQ(l.drives()[2].text, u"h:");
  EXPECT_EQ(l.drives()[2].type, drivetype::CdRom);
}

TEST_F(ScanFormLogicTest, BrowseIsOfferedForEveryDriveButCdRom) {
  user = [](ScanFormLogic& l) {
    const struct {
      int index;
      bool browse;
    } rows[] = {{0, true}, {1, false}, {2, true}};
    for (const auto& row : rows) {
      l.selectDrive(row.index);
      EXPECT_EQ(l.browseEnabled(), row.browse) << row.index;
    }
  };
  EXPECT_FALSE(read());
  EXPECT_FALSE(logic().browseEnabled());  // nothing to choose once the window is hidden
}

TEST_F(ScanFormLogicTest, OptionBoxesFollowTheirRulesAndAreStored) {
  const struct {
    const char* behaviour;
    std::function<void(ScanFormLogic&)> act;
    int recordSort;
    int autoCreate;
  } rows[] = {
      {"checking kind clears extension",
       [](ScanFormLogic& l) {
         l.setSortByExtension(true);
         l.setSortByKind(true);
       },
       2, -1},
      {"checking extension clears kind",
       [](ScanFormLogic& l) {
         l.setSortByKind(true);
         l.setSortByExtension(true);
       },
       1, -1},
      {"neither checked is stored as 0",
       [](ScanFormLogic& l) {
         l.setSortByKind(false);
         l.setSortByExtension(false);
       },
       0, -1},
      {"comments off", [](ScanFormLogic& l) { l.setAutoCreate(false); }, 2, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.behaviour);
    options.writeNumber(opt::RecordSort, 2);
    options.writeNumber(opt::AutoCreate, -1);
    user = [&](ScanFormLogic& l) {
      l.load();
      row.act(l);
      EXPECT_FALSE(l.boxes().sortByExtension && l.boxes().sortByKind);
      l.stop();
    };
    read();
    EXPECT_EQ(options.readNumber(opt::RecordSort, -9), row.recordSort);
    EXPECT_EQ(options.readNumber(opt::AutoCreate, -9), row.autoCreate);
  }
}

TEST_F(ScanFormLogicTest, BoxesAreSetFromTheOptions) {
  const struct {
    int recordSort;
    bool byExtension;
    bool byKind;
  } rows[] = {{0, false, false}, {1, true, false}, {2, false, true}};
  for (const auto& row : rows) {
    options.writeNumber(opt::RecordSort, row.recordSort);
    options.writeNumber(opt::AutoCreate, 0);
    options.writeNumber(opt::HideScan, -1);
    ScanFormLogic l({{platform_, info, titleFile, icons, catalogs}, options});
    l.load();
    EXPECT_EQ(l.boxes().sortByExtension, row.byExtension) << row.recordSort;
    EXPECT_EQ(l.boxes().sortByKind, row.byKind) << row.recordSort;
    EXPECT_FALSE(l.boxes().autoCreate);
    EXPECT_TRUE(l.boxes().hideScan);
    EXPECT_EQ(l.recordSort(), row.recordSort);
  }
}

TEST_F(ScanFormLogicTest, CommentAndArchiveBoxesNeedTheirReaders) {
  NoArchiveContents reader;
  NoComments comments;
  const struct {
    const char* behaviour;
    CommentSource* comments;
    ArchiveLister* archives;
    bool autoCreate;
    bool autoCreateEnabled;
    bool autoCreateShown;
    bool recordUnzip;
    bool commentUnzip;
  } rows[] = {
      {"no readers: all disabled, comments shown off", nullptr, nullptr, true, false, false, false, false},
      {"no comment generator: comments off, archive names on", nullptr, &reader, true, false, false, true, false},
      {"no archive reader: archive boxes disabled", &comments, nullptr, true, true, true, false, false},
      {"both, comments on", &comments, &reader, true, true, true, true, true},
      {"both, comments off: archive comments disabled", &comments, &reader, false, true, false, true, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.behaviour);
    ScanFormLogic l({{platform_, info, titleFile, icons, catalogs}, options, row.comments, row.archives});
    ScanFormLogic::Hooks hooks;
    hooks.waitForStart = [&] {
      l.setAutoCreate(row.autoCreate);
      EXPECT_EQ(l.autoCreateEnabled(), row.autoCreateEnabled);
      EXPECT_EQ(l.autoCreateShown(), row.autoCreateShown);
      EXPECT_EQ(l.recordUnzipEnabled(), row.recordUnzip);
      EXPECT_EQ(l.commentUnzipEnabled(), row.commentUnzip);
    };
    l.setHooks(hooks);
    RowStore store;
    EXPECT_FALSE(l.readMedium(store));
    EXPECT_FALSE(l.recordUnzipEnabled());  // and nothing is enabled once the window is hidden
  }
}

// Keeps the switches a reading tells it.
class RecordingArchives final : public ArchiveLister {
public:
  std::vector<ArchiveOptions> told;
  void setOptions(const ArchiveOptions& options) override { told.push_back(options); }
  bool WalkArchive(const ArchiveVisit&, RowStore&) override { return false; }
};

TEST_F(ScanFormLogicTest, AReadingTellsTheArchiveListerItsBoxesAndTheZipOption) {
  RecordingArchives recording;
  archives = &recording;
  struct Row {
    const char* behaviour;
    bool recordUnzip, autoCreate, commentUnzip, useZip;
    bool told;  // archives go to the lister at all
    bool members, comments;
  } rows[] = {
      {"members", true, false, false, true, true, true, false},
      {"comments with generated comments", false, true, true, false, true, false, true},
      {"archive comments without generated comments: nothing", false, false, true, true, false, false, false},
      {"neither", false, true, false, true, false, false, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.behaviour);
    recording.told.clear();
    options.writeNumber(opt::UseExtactZip, row.useZip ? -1 : 0);
    user = [&row](ScanFormLogic& l) {
      l.setRecordUnzip(row.recordUnzip);
      l.setAutoCreate(row.autoCreate);
      l.setCommentUnzip(row.commentUnzip);
      for (int i = 0; i < static_cast<int>(l.drives().size()); ++i)
        if (l.drives()[i].letter == 'D') l.selectDrive(i);
      l.start();
    };
    read();
    ASSERT_EQ(recording.told.size(), row.told ? 1u : 0u);
    if (!row.told) continue;
    EXPECT_EQ(recording.told[0].recordMembers, row.members);
    EXPECT_EQ(recording.told[0].comments, row.comments);
    EXPECT_EQ(recording.told[0].zip, row.useZip);
  }
}

TEST_F(ScanFormLogicTest, HideListWindowBoxHidesTheListWindow) {
  options.writeNumber(opt::HideScan, -1);
  user = [](ScanFormLogic& l) {
    l.setHideScan(false);
    l.setHideScan(true);
    l.stop();
  };
  read();
  // Stopped: the list window is shown again with the reading window gone.
  EXPECT_EQ(mainHidden, (std::vector<bool>{true, false, true, false}));
  mainHidden.clear();
  user = startOn('D');
  ASSERT_TRUE(read());
  EXPECT_EQ(mainHidden, (std::vector<bool>{true, false}));  // after a reading that succeeded
  mainHidden.clear();
  addDrive('A', drivetype::Removable, u"");
  user = startOn('A');  // a removable medium without a title, and none given: the reading fails
  EXPECT_FALSE(read()->ok());
  EXPECT_EQ(mainHidden, (std::vector<bool>{true, false}));
  logic().unload(1440, 2880);
  EXPECT_EQ(options.readNumber(opt::HideScan, 0), -1);
  EXPECT_EQ(logic().storedPosition(), (std::pair{1440, 2880}));
}

TEST_F(ScanFormLogicTest, TheWindowOpensAtTheStoredPlaceElseAtTheListWindowElseInTheMiddle) {
  const Rect window{0, 0, 400, 300};
  const Rect screen{0, 0, 1920, 1080};
  const Rect owner{100, 50, 900, 640};
  // Nothing stored: at the owner's top left, else centred; where the user
  // left it once it was placed.
  EXPECT_EQ(logic().placement(window, owner, screen, 96, 96, false), (Rect{100, 50, 400, 300}));
  EXPECT_EQ(logic().placement(window, std::nullopt, screen, 96, 96, false), (Rect{760, 390, 400, 300}));
  EXPECT_EQ(logic().placement(window, owner, screen, 96, 96, true), std::nullopt);
  EXPECT_EQ(logic().placement(window, Rect{1700, 900, 900, 640}, screen, 96, 96, false),
            (Rect{1520, 780, 400, 300}));  // kept on the screen

  options.writeNumber(opt::ScanX, 300);
  EXPECT_FALSE(logic().storedPosition());  // both keys or none
  options.writeNumber(opt::ScanY, 600);
  EXPECT_EQ(logic().storedPosition(), (std::pair{300, 600}));
  EXPECT_EQ(logic().placement(window, owner, screen, 96, 96, true), (Rect{20, 40, 400, 300}));
  EXPECT_EQ(logic().placement(window, owner, screen, 192, 192, true), (Rect{40, 80, 400, 300}));
}

TEST(ReadQuestionTest, ButtonsAnswer) {
  const struct {
    int button;
    Existing answer;
  } rows[] = {{0, Existing::Replace}, {1, Existing::AddAnother}, {2, Existing::Cancel}, {-1, Existing::Cancel}};
  for (const auto& row : rows) EXPECT_EQ(ReadQuestion::answerOf(row.button), row.answer) << row.button;
  EXPECT_EQ(ReadQuestion::driveText(u"e:"), u"E:ドライブ　");
}

TEST_F(ScanFormLogicTest, RefreshReadsTheLockedSourceWithoutAQuestion) {
  catalogFile("_01CD_GAMES.CCT", u"ゲーム集");  // the medium is catalogued: no question all the same
  RowStore fresh;
  std::vector<Text> titles;
  bool lockedWhileWaiting = false;
  user = [&](ScanFormLogic& l) {
    lockedWhileWaiting = !l.driveListEnabled() && !l.browseEnabled() && l.startEnabled() && l.refreshing();
    titles.push_back(l.titleText());
    l.selectDrive(0);  // the drive list is locked: nothing moves
    l.start();
  };
  bool refreshColours = false;
  duringWalk = [&](ScanFormLogic& l) {
    refreshColours = l.titleColours().text == ScanFormLogic::RefreshColours.text &&
                     l.titleColours().back == ScanFormLogic::RefreshColours.back;
  };
  const std::optional<MediaReading::Result> r =
      logic().refreshMedium(fresh, u"D:\\DATA", u"_01CD_GAMES DATA.CCT", u"GAMES");
  ASSERT_TRUE(r && r->ok());
  EXPECT_TRUE(lockedWhileWaiting);
  EXPECT_EQ(titles, std::vector<Text>{u"GAMES"});
  EXPECT_EQ(logic().drives()[logic().selectedDrive()].letter, 'D');
  EXPECT_TRUE(refreshColours);
  EXPECT_TRUE(asked.empty());
  EXPECT_EQ(r->fileName, u"_01CD_GAMES DATA.CCT");
  EXPECT_EQ(r->freeSpace, 0);  // a folder reading
  // The folder's rows went to the store given, none to the shown list.
  EXPECT_EQ(fresh.rowCount(), 4);  // title, a.dat, MORE, b.dat
  EXPECT_EQ(fresh.field(catalog::FieldName, 0), u"GAMES");
  EXPECT_EQ(document.list().rowCount(), 0);
  EXPECT_FALSE(logic().refreshing());
  EXPECT_TRUE(logic().driveListEnabled() == false && logic().titleColours().back == ScanFormLogic::PlainColours.back);

  // A source on a drive the list does not have ends at once, unread.
  user = [](ScanFormLogic& l) { l.start(); };
  EXPECT_FALSE(logic().refreshMedium(fresh, u"Q:", u"_01CD_GAMES.CCT", u"GAMES"));
  // Stop before Start: nothing read.
  user = [](ScanFormLogic& l) { l.stop(); };
  EXPECT_FALSE(logic().refreshMedium(fresh, u"D:", u"_01CD_GAMES.CCT", u"GAMES"));
  EXPECT_EQ(fresh.rowCount(), 0);
}

}  // namespace
}  // namespace zevro
