#include "media/RowOpener.h"

#include <gtest/gtest.h>

#include "ArchiveFixtures.h"
#include "MediaFixture.h"
#include "core/CatalogList.h"
#include "media/ArchiveLibraries.h"
#include "media/RowDataShow.h"

namespace zevro::test {
namespace {

using catalog::buildRecord;

TEST(RowOpenerRules, ActionByExtension) {
  struct Case {
    const char16_t* extension;
    bool useExternal;
    bool lzh;
    bool zip;
    OpenAction action;
  };
  const Case cases[] = {
      {u"LZH", false, true, true, OpenAction::ExtractArchive}, {u"LZH", true, true, true, OpenAction::ShellOpen},
      {u"LZH", false, false, true, OpenAction::ShellOpen},     {u"ZIP", false, true, true, OpenAction::ExtractArchive},
      {u"ZIP", false, true, false, OpenAction::ShellOpen},     {u"ZIP", true, true, true, OpenAction::ShellOpen},
      {u"EXE", false, true, true, OpenAction::AskThenOpen},    {u"SYS", false, true, true, OpenAction::BeepOnly},
      {u"COM", false, true, true, OpenAction::BeepOnly},       {u"CAB", false, true, true, OpenAction::BeepOnly},
      {u"386", false, true, true, OpenAction::BeepOnly},       {u"INS", false, true, true, OpenAction::BeepOnly},
      {u"MPN", false, true, true, OpenAction::LockedVideo},    {u"MPNG", false, true, true, OpenAction::LockedVideo},
      {u"AVN", false, true, true, OpenAction::LockedVideo},    {u"MPG", false, true, true, OpenAction::Play},
      {u"RM", false, true, true, OpenAction::Play},            {u"VOB", false, true, true, OpenAction::Play},
      {u"IFO", false, true, true, OpenAction::Play},           {u"TXT", false, true, true, OpenAction::ShellOpen},
      {u"EX_", false, true, true, OpenAction::ShellOpen},      {u"", false, true, true, OpenAction::ShellOpen},
      {u"M", false, true, true, OpenAction::ShellOpen},
  };
  for (const Case& c : cases)
    EXPECT_EQ(RowOpener::actionFor(c.extension, c.useExternal, c.lzh, c.zip), c.action)
        << cp932::toNativeName(c.extension);
}

TEST(RowOpenerRules, RunQuestionWarnsOffHardDisks) {
  EXPECT_EQ(RowOpener::runQuestion(u"GAME.EXE", u"CD"),
            u"\x08GAME.EXE\x07 をこの場所で実行していいですか？||※ ハードディスクにインストールしないと正しく動作しないソフトがあります");
  EXPECT_EQ(RowOpener::runQuestion(u"GAME.EXE", u"HD"), u"\x08GAME.EXE\x07 をこの場所で実行していいですか？");
}

TEST(RowOpenerRules, AudioTrackCommandWords) {
  EXPECT_EQ(RowOpener::audioCdArguments(u"vlc cdda:///dev/sr0 --cdda-track=%1", "/m/Track03.CDA"),
            (std::vector<std::string>{"vlc", "cdda:///dev/sr0", "--cdda-track=", "/m/Track03.CDA"}));
  EXPECT_EQ(RowOpener::audioCdArguments(u"cdplay  -q", "/m/a b.CDA"),
            (std::vector<std::string>{"cdplay", "-q", "/m/a b.CDA"}));
}

TEST(RowOpenerRules, FitArithmetic) {
  struct Case {
    int w, h;
    bool fixed;
    int frameW, frameH, border;
    PictureFit want;
  };
  const Case cases[] = {
      {800, 600, true, 400, 600, 0, {0, 150, 400, 300, 400, 700}},
      {200, 100, true, 400, 600, 0, {100, 250, 200, 100, 400, 700}},
      // Taller than the frame: the height decides.
      {300, 1200, true, 400, 600, 0, {125, 0, 150, 600, 400, 700}},
      // The border of the window is taken off the frame width.
      {200, 100, true, 400, 600, 8, {96, 250, 200, 100, 400, 700}},
      // Without the fixed frame the window fits the picture.
      {800, 600, false, 400, 600, 8, {0, 0, 800, 600, 812, 634}},
  };
  for (const Case& c : cases) {
    const PictureFit f = fitPicture(c.w, c.h, c.fixed, c.frameW, 700, c.frameH, c.border, 30);
    EXPECT_EQ(f.x, c.want.x) << c.w << "x" << c.h;
    EXPECT_EQ(f.y, c.want.y) << c.w << "x" << c.h;
    EXPECT_EQ(f.width, c.want.width) << c.w << "x" << c.h;
    EXPECT_EQ(f.height, c.want.height) << c.w << "x" << c.h;
    EXPECT_EQ(f.windowWidth, c.want.windowWidth) << c.w << "x" << c.h;
    EXPECT_EQ(f.windowHeight, c.want.windowHeight) << c.w << "x" << c.h;
  }
  EXPECT_EQ(pictureCaption(u"PHOTOS\\photo.jpg", 640, 480), u"photo.jpg (640x480)");
}

// ------------------------------------------------------------ opening rows

class FakeDataWindow : public DataWindow {
public:
  bool loaded() const override { return wasLoaded; }
  void DispDoc(const NativePath& file, TextView name) override {
    docs.push_back({file, Text(name)});
    wasLoaded = true;
  }
  void DispPic(const PictureShow& picture) override {
    pictures.push_back(picture);
    wasLoaded = true;
  }
  void DispNull() override { ++cleared; }
  bool wasLoaded = false;
  std::vector<std::pair<NativePath, Text>> docs;
  std::vector<PictureShow> pictures;
  int cleared = 0;
};

class RowOpenerTest : public MediaFixture {
protected:
  RowOpenerTest() {
    addDrive('E', drivetype::CdRom, u"GAMES");
    put("drive-E/SETUP.EXE", "x");
    put("drive-E/INSTALL.EXE", "x");
    put("drive-E/GAME.EXE", "x");
    put("drive-E/SETUP.EX_", "x");
    put("drive-E/DRIVER.SYS", "x");
    put("drive-E/MOVIE.vob", "x");
    put("drive-E/LOCKED.MPN", "x");
    put("drive-E/DOCS/ORIG.TXT", "original");
    put("drive-E/DOCS/PHOTO.JPG", "jpeg");
    writeZip(path("drive-E/PACK.ZIP"), {{"a/b.txt", "b"}, {"../x", "escape"}});
    makeCatalog({{u"SETUP.EXE", 1},
                 {u"INSTALL.EXE", 1},
                 {u"GAME.EXE", 1},
                 {u"SETUP.EX_", 1},
                 {u"DRIVER.SYS", 1},
                 {u"MOVIE.vob", 1},
                 {u"LOCKED.MPN", 1},
                 {u"DOCS", 1, catalog::KindFolder},
                 {u"NEW.TXT", 2, catalog::KindFile, u"ORIG.TXT"},
                 {u"PHOTO.JPG", 2},
                 {u"PACK.ZIP", 1},
                 {u"GONE.TXT", 1}});
    opener.settings.audioCdCommand = u"cdplayer --track %1";
  }

  struct Row {
    Text name;
    int level;
    int kind = catalog::KindFile;
    Text mediumName{};
  };
  void makeCatalog(std::vector<Row> rows, TextView label = u"GAMES", const char* file = "_03CD_GAMES.cct") {
    list.clear();
    catalog::makeCatalogList(list);
    list.appendShown(buildRecord({label, u""}), 0, 0, catalog::KindTitleCD, 0);
    for (const Row& r : rows)
      list.appendShown(buildRecord({r.name, u"", u"", u"1", r.mediumName.empty() ? u"0" : u"1", r.mediumName}), 0, 0,
                       r.kind, r.level);
    shown.listFile = path("Catalog") / file;
  }
  int rowOf(TextView p) { return list.findRowByPath(p, 1); }
  void open(TextView p) { opener.OpenRowFile(shown, rowOf(p), 0); }

  ArchiveLibraries archives{ListTime::Zone::Japan};
  TitleFile titleFile{info, ui};
  MediumLocator locator{{info, titleFile, files, ui, archives, path("program/TempFile")}};
  FakePrograms programs;
  RowOpener opener{{locator, archives, files, ui, programs, path("program/TempFile")}};
  RowStore list;
  ShownCatalog shown{{}, &list};
};

TEST_F(RowOpenerTest, SetupAndInstallRunWithoutAQuestion) {
  open(u"SETUP.EXE");
  open(u"INSTALL.EXE");
  ASSERT_EQ(ui.count(FakeUi::Kind::OpenDefault), 2);
  EXPECT_EQ(ui.count(FakeUi::Kind::Message), 0);
  EXPECT_EQ(ui.calls[0].text, cp932::fromNativeName(path("drive-E/SETUP.EXE").native()));
}

TEST_F(RowOpenerTest, OtherProgramsAskWithTheHardDiskWarningOnACd) {
  ui.answers = {AnswerNo, AnswerYes};
  open(u"GAME.EXE");
  EXPECT_EQ(ui.count(FakeUi::Kind::OpenDefault), 0);
  open(u"GAME.EXE");
  EXPECT_EQ(ui.count(FakeUi::Kind::OpenDefault), 1);
  ASSERT_EQ(ui.messages().size(), 2u);
  EXPECT_EQ(ui.messages()[0], RowOpener::runQuestion(u"GAME.EXE", u"CD"));
  EXPECT_EQ(ui.calls[0].flags, mb::YesNo | mb::DefaultSecond | mb::IconExclamation);
}

TEST_F(RowOpenerTest, CompressedInstallerFileIsFoundButNotOpened) {
  open(u"SETUP.EX_");
  EXPECT_TRUE(ui.calls.empty());
  open(u"GONE.TXT");
  EXPECT_EQ(ui.count(FakeUi::Kind::Beep), 1) << "not on the medium";
}

TEST_F(RowOpenerTest, BeepOnlyTypes) {
  open(u"DRIVER.SYS");
  ASSERT_EQ(ui.calls.size(), 1u);
  EXPECT_EQ(ui.calls[0].kind, FakeUi::Kind::Beep);
}

TEST_F(RowOpenerTest, RenamedRowOpensTheNameOnTheMedium) {
  EXPECT_EQ(RowOpener::relativePath(list, rowOf(u"DOCS\\NEW.TXT")), u"DOCS\\ORIG.TXT");
  open(u"DOCS\\NEW.TXT");
  ASSERT_EQ(ui.count(FakeUi::Kind::OpenDefault), 1);
  EXPECT_EQ(ui.calls[0].text, cp932::fromNativeName(path("drive-E/DOCS/ORIG.TXT").native()));
}

TEST_F(RowOpenerTest, PlayersInTheirOrderWithTheFileAsOneArgument) {
  open(u"MOVIE.vob");
  EXPECT_TRUE(programs.started.empty()) << "no player: nothing happens";
  EXPECT_EQ(ui.calls.size(), 0u);

  programs.installed = {{"vlc", "/usr/bin/vlc"}};
  open(u"MOVIE.vob");
  programs.installed.push_back({"mpv", "/usr/bin/mpv"});
  programs.installed.push_back({"mplayer", "/usr/bin/mplayer"});
  open(u"MOVIE.vob");
  opener.settings.useOldPlayer = true;
  open(u"MOVIE.vob");
  ASSERT_EQ(programs.started.size(), 3u);
  EXPECT_EQ(programs.started[0].program, "/usr/bin/vlc");
  EXPECT_EQ(programs.started[1].program, "/usr/bin/mpv");
  EXPECT_EQ(programs.started[2].program, "/usr/bin/mplayer");
  EXPECT_EQ(programs.started[1].arguments, std::vector<std::string>{path("drive-E/MOVIE.vob").native()});
  EXPECT_TRUE(opener.oldPlayerInstalled());
}

TEST_F(RowOpenerTest, LockedVideoAsksForThePasswordUntilItIsRight) {
  programs.installed = {{"mpv", "/usr/bin/mpv"}};
  ui.inputs = {u"hoshi", Text(RowOpener::Password)};
  open(u"LOCKED.MPN");
  EXPECT_TRUE(programs.started.empty());
  open(u"LOCKED.MPN");
  open(u"LOCKED.MPN");
  EXPECT_EQ(ui.count(FakeUi::Kind::Input), 2) << "accepted once for the run";
  EXPECT_EQ(programs.started.size(), 2u);
  EXPECT_EQ(ui.calls[0].text, RowOpener::PasswordPrompt);
  EXPECT_EQ(ui.calls[0].title, u"ZEVRO");
}

TEST_F(RowOpenerTest, WholeArchiveGoesSafelyIntoTheChosenFolder) {
  put("out/a/keep.txt", "mine");
  ui.folders = {cp932::fromNativeName(path("out").native())};
  open(u"PACK.ZIP");
  ASSERT_EQ(ui.count(FakeUi::Kind::BrowseFolder), 1);
  EXPECT_EQ(ui.calls[0].title, u"PACK.ZIP" + Text(RowOpener::ExtractTitleTail));
  EXPECT_EQ(ui.calls[0].text, cp932::fromNativeName(path("drive-E").native()));
  EXPECT_EQ(get("out/a/b.txt"), "b");
  EXPECT_FALSE(there("x"));
  EXPECT_EQ(ui.count(FakeUi::Kind::Beep), 1) << "the unsafe member was refused";

  // Again: nothing is overwritten.
  put("out/a/b.txt", "changed");
  ui.folders = {cp932::fromNativeName(path("out").native())};
  open(u"PACK.ZIP");
  EXPECT_EQ(get("out/a/b.txt"), "changed");
}

TEST_F(RowOpenerTest, AudioCdTrackFallsBackToTheTrackCommand) {
  put("drive-E/Track03.CDA", "");
  makeCatalog({{u"01", 1}, {u"02", 1}, {u"03", 1}}, u"Audio CD", "_03CD_Audio CD.cct");
  info.titles().setTitle('E', u"Audio CD");
  drives.set('E', {drivetype::CdRom, path("drive-E"), u"Audio CD", 0, false, DriveSpace{1, 0}, true});
  ui.openSucceeds = false;
  programs.installed = {{"cdplayer", "/usr/bin/cdplayer"}};
  opener.OpenRowFile(shown, 3, 3);
  EXPECT_EQ(ui.count(FakeUi::Kind::OpenDefault), 1);
  ASSERT_EQ(programs.started.size(), 1u);
  EXPECT_EQ(programs.started[0].program, "/usr/bin/cdplayer");
  EXPECT_EQ(programs.started[0].arguments,
            (std::vector<std::string>{"--track", path("drive-E/Track03.CDA").native()}));
}

TEST_F(RowOpenerTest, FailedShellOpenIsTriedOnceMoreThenReported) {
  ui.openSucceeds = false;
  open(u"DOCS\\PHOTO.JPG");
  EXPECT_EQ(ui.count(FakeUi::Kind::OpenDefault), 2);
  ASSERT_EQ(ui.count(FakeUi::Kind::Message), 1);
  EXPECT_EQ(ui.calls.back().text, Text(RowOpener::NoProgramMessage) + u"PHOTO.JPG");
  ui.openSucceeds = true;
  open(u"DOCS\\PHOTO.JPG");
  EXPECT_EQ(ui.count(FakeUi::Kind::Message), 1) << "an opened file needs no message";
}

// ------------------------------------------------------------ showing rows

class RowDataShowTest : public RowOpenerTest {
protected:
  Platform platform{files, ui};
  AttachedPictures pictures{{platform, path("Catalog"), path("program/temp")}};
  FakeDataWindow window;
  std::vector<Text> console;
  RowDataShow show{{locator, pictures, files, ui, window,
                    [](const NativePath& file) -> std::optional<std::pair<int, int>> {
                      if (file.extension() == ".jpg" || file.extension() == ".JPG") return std::pair{640, 480};
                      return std::nullopt;
                    },
                    path("program/TempFile"), [this](TextView t) { console.push_back(Text(t)); }}};
};

TEST_F(RowDataShowTest, TextPictureAndAttachedPicture) {
  EXPECT_EQ(show.ShowRowData(shown, rowOf(u"DOCS\\NEW.TXT")), RowDataShow::Shown::Document);
  ASSERT_EQ(window.docs.size(), 1u);
  EXPECT_EQ(window.docs[0].first, path("drive-E/DOCS/ORIG.TXT"));
  EXPECT_EQ(window.docs[0].second, u"DOCS\\ORIG.TXT");

  EXPECT_EQ(show.ShowRowData(shown, rowOf(u"DOCS\\PHOTO.JPG")), RowDataShow::Shown::Picture);
  ASSERT_EQ(window.pictures.size(), 1u);
  EXPECT_EQ(window.pictures[0].caption, u"PHOTO.JPG (640x480)");

  put("attach.jpg", "attached jpeg");
  std::filesystem::create_directories(path("Catalog"));
  ASSERT_TRUE(pictures.AddPicture(list, rowOf(u"GAME.EXE"), nullptr, -1, u"_03CD_GAMES.cct", path("attach.jpg")));
  std::filesystem::remove_all(path("program/temp"));  // as after a restart
  EXPECT_EQ(show.ShowRowData(shown, rowOf(u"GAME.EXE")), RowDataShow::Shown::AttachedPicture);
  ASSERT_EQ(window.pictures.size(), 2u);
  EXPECT_EQ(window.pictures[1].file, path("program/temp/001.jpg"));
  EXPECT_EQ(get("program/temp/001.jpg"), "attached jpeg");
  EXPECT_EQ(window.pictures[1].caption, u"GAME.EXE (640x480)");
}

TEST_F(RowDataShowTest, MissingFileIsToldOnTheConsoleAndOtherTypesClear) {
  put("drive-E/GONE.JPG", "");
  std::filesystem::remove(path("drive-E/GONE.JPG"));
  makeCatalog({{u"GONE.TXT", 1}, {u"GAME.EXE", 1}, {u"DOCS", 1, catalog::KindFolder}});
  window.wasLoaded = true;
  EXPECT_EQ(show.ShowRowData(shown, 1), RowDataShow::Shown::Nothing);
  EXPECT_EQ(console, std::vector<Text>{u"ファイル無し：GONE.TXT"});
  EXPECT_EQ(show.ShowRowData(shown, 2), RowDataShow::Shown::Nothing);
  EXPECT_EQ(show.ShowRowData(shown, 3), RowDataShow::Shown::Nothing);
  EXPECT_EQ(window.cleared, 3);
  EXPECT_EQ(console.size(), 1u);
}

TEST_F(RowDataShowTest, NothingWhileTheLocateIsCancelled) {
  drives.remove('E');
  locator.userAction = true;
  struct Cancel : MediaDriveQuestion {
    Text InputMediaDrive(const MediaQuestion&) override { return {}; }
  } cancel;
  locator.setQuestion(&cancel);
  EXPECT_EQ(show.ShowRowData(shown, rowOf(u"DOCS\\NEW.TXT")), RowDataShow::Shown::Nothing);
  EXPECT_TRUE(locator.locateCancelled);
  EXPECT_TRUE(console.empty()) << "a cancelled question is no missing file";
  addDrive('E', drivetype::CdRom, u"GAMES");
  put("drive-E/DOCS/ORIG.TXT", "original");
  EXPECT_EQ(show.ShowRowData(shown, rowOf(u"DOCS\\NEW.TXT")), RowDataShow::Shown::Nothing);
  locator.locateCancelled = false;
  EXPECT_EQ(show.ShowRowData(shown, rowOf(u"DOCS\\NEW.TXT")), RowDataShow::Shown::Document);
}

}  // namespace
}  // namespace zevro::test
