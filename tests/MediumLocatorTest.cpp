#include "media/MediumLocator.h"

#include <gtest/gtest.h>

#include <deque>

#include "ArchiveFixtures.h"
#include "MediaFixture.h"
#include "core/CatalogDocument.h"
#include "core/CatalogList.h"
#include "media/ArchiveLibraries.h"
#include "media/DiskImage.h"
#include "core/OptionKeys.h"
#include "media/TitleFile.h"

namespace zevro::test {
namespace {

using catalog::buildRecord;

class ScriptedQuestion : public MediaDriveQuestion {
public:
  Text InputMediaDrive(const MediaQuestion& question) override {
    asked.push_back(question);
    if (answers.empty()) return {};
    Text answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::deque<Text> answers;
  std::vector<MediaQuestion> asked;
};

struct Row {
  Text name;
  int level;
  int kind = catalog::KindFile;
};

class MediumLocatorTest : public MediaFixture {
protected:
  MediumLocatorTest() { locator.setQuestion(&question); }

  // A catalog list: the title line, then the rows.
  void makeCatalog(const std::string& fileName, TextView label, TextView title, std::vector<Row> rows,
                   TextView sourceFolder = {}) {
    list.clear();
    catalog::makeCatalogList(list);
    const Text flags = sourceFolder.empty() ? u"0" : u"1";
    list.appendShown(buildRecord({label, title, u"", u"0", flags, sourceFolder}), 0, 0, catalog::KindTitleCD, 0);
    for (const Row& r : rows) list.appendShown(buildRecord({r.name, u"", u"", u"1", u"0"}), 0, 0, r.kind, r.level);
    shown.listFile = path("cat alogs") / fileName;
  }

  TitleFile titleFile{info, ui};
  ArchiveLibraries archives{ListTime::Zone::Japan};
  MediumLocator locator{{info, titleFile, files, ui, archives, path("program/TempFile")}};
  ScriptedQuestion question;
  RowStore list;
  ShownCatalog shown{{}, &list};
};

// ------------------------------------------------------------ the rules

TEST(MediumLocatorRules, MediumFromTheFileNameAndTheTitleLine) {
  struct Case {
    const char16_t* file;
    const char16_t* label;
    const char16_t* kind;
    const char16_t* wantLabel;
    const char16_t* folder;
  };
  const Case cases[] = {
      {u"_03CD_GAMES.cct", u"GAMES", u"CD", u"GAMES", u""},
      {u"_03cd_GAMES.cct", u"GAMES", u"CD", u"GAMES", u""},
      {u"_00HD_WORK SOFT&TOOLS.CCT", u"WORK", u"HD", u"WORK", u"SOFT\\TOOLS"},
      // A label with a blank: the whole medium, not folder "Disk" of "My".
      {u"_03fd_My Disk.CCT", u"My Disk", u"FD", u"My Disk", u""},
      {u"_03FD_My Disk DOCS&OLD.cct", u"My Disk", u"FD", u"My Disk", u"DOCS\\OLD"},
      // A label whose name characters were replaced ("A/B" is "A&B" in names).
      {u"_00HD_A&B TOOLS.cct", u"A/B", u"HD", u"A/B", u"TOOLS"},
      // A title line that says nothing about the name: the first blank splits.
      {u"_00HD_WORK SOFT.cct", u"", u"HD", u"WORK", u"SOFT"},
  };
  for (const Case& c : cases) {
    const MediumLocator::Medium m = MediumLocator::mediumOf(c.file, c.label);
    EXPECT_EQ(m.kind, c.kind) << cp932::toNativeName(c.file);
    EXPECT_EQ(m.label, c.wantLabel) << cp932::toNativeName(c.file);
    EXPECT_EQ(m.folderPart, c.folder) << cp932::toNativeName(c.file);
  }
}

TEST(MediumLocatorRules, LabelsMatchAsFoundOrWithoutTheirFirstDot) {
  struct Case {
    const char16_t* found;
    const char16_t* label;
    bool ignoreCase;
    bool match;
  };
  const Case cases[] = {
      {u"GAMES", u"GAMES", false, true},   {u"games", u"GAMES", false, false}, {u"games", u"GAMES", true, true},
      {u"V1.0", u"V10", false, true},      {u"v1.0", u"V10", true, true},      {u"V1.0.2", u"V10.2", false, true},
      {u"V1.0.2", u"V102", false, false},  {u"", u"", false, false},           {u"X", u"", true, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MediumLocator::labelMatches(c.found, c.label, c.ignoreCase), c.match)
        << cp932::toNativeName(c.found) << " / " << cp932::toNativeName(c.label);
}

TEST(MediumLocatorRules, QuestionTexts) {
  EXPECT_EQ(MediumLocator::questionMessage(MediumLocator::KindTextFD),
            u"このラベルと同じ USBメモリー、USBディスク を 接続して、そのドライブ名をクリックして下さい。");
  EXPECT_EQ(MediumLocator::questionMessage(MediumLocator::KindTextCD),
            u"このラベルと同じ CD-ROM、DVD-ROM を ドライブにセットして、そのドライブ名をクリックして下さい。");
  struct Case {
    const char16_t* kind;
    const char16_t* label;
    const char16_t* title;
    const char16_t* substitute;
    const char16_t* shown;
  };
  const Case cases[] = {
      {u"FD", u"TRIP", u"旅行", u"", u"旅行||（TRIP）"},
      {u"FD", u"TRIP", u"TRIP", u"", u"TRIP"},
      {u"FD", u"TRIP", u"", u"", u"TRIP"},
      {u"FD", u"ZIP-100", u"旅行", u"", u"旅行"},
      {u"CD", u"GAMES", u"ゲーム", u"", u"ゲーム"},
      {u"CD", u"GAMES", u"", u"", u"GAMES"},
      {u"FD", u"ZIP-100", u"", u"", u"ZIP-100"},
      {u"FD", u"", u"", u"タイトル未定", u"タイトル未定"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MediumLocator::questionLabel(c.kind, c.label, c.title, c.substitute), c.shown)
        << cp932::toNativeName(c.shown);
  const Text wrongType = MediumLocator::wrongTypeMessage(MediumLocator::KindTextFD);
  EXPECT_EQ(wrongType, Text(u"\x08\x01USBメモリー、USBディスク\x07") + char16_t(0) + u" のドライブを指定して下さい");
  const Text wrongTitle = MediumLocator::wrongTitleMessage(u"other", u"GAMES");
  EXPECT_EQ(wrongTitle, Text(u"指定されたドライブには、「 \x08\x01other\x07") + char16_t(0) +
                            u" 」というタイトルが入っています。||「 \x08\x01GAMES\x07" + char16_t(0) +
                            u" 」の入ったドライブを指定して下さい。");
}

// ------------------------------------------------------------ finding the drive

TEST_F(MediumLocatorTest, FolderReadingOnAFixedDiskByItsLabel) {
  const NativePath x = addDrive('X', drivetype::Fixed, u"WORK");
  put("drive-X/SOFT/TOOLS/A/B.TXT", "b");
  addDrive('Y', drivetype::Fixed, u"OTHER");
  makeCatalog("_00HD_WORK SOFT&TOOLS.cct", u"WORK", u"", {{u"A", 1, catalog::KindFolder}, {u"B.TXT", 2}});
  EXPECT_EQ(locator.LocateOnMedium(shown, u"A\\B.TXT", false, true), x / "SOFT/TOOLS/A/B.TXT");
  EXPECT_EQ(locator.LocateOnMedium(shown, u"a\\b.txt", false, true), x / "SOFT/TOOLS/A/B.TXT");
  EXPECT_TRUE(locator.LocateOnMedium(shown, u"A", false, true).empty()) << "a folder, not accepted";
  EXPECT_EQ(locator.LocateOnMedium(shown, u"A", true, true), x / "SOFT/TOOLS/A");
  EXPECT_TRUE(locator.LocateOnMedium(shown, u"A\\..\\..\\B.TXT", false, true).empty());
  // The medium of a list to be refreshed: anything in its folder will do.
  EXPECT_EQ(locator.LocateOnMedium(shown, u"*", true, false), x / "SOFT/TOOLS/*");
  addDrive('W', drivetype::Fixed, u"EMPTY");
  makeCatalog("_00HD_EMPTY.cct", u"EMPTY", u"", {});
  EXPECT_TRUE(locator.LocateOnMedium(shown, u"*", true, false).empty()) << "nothing on the medium";
  EXPECT_EQ(ui.calls.size(), 0u);
}

TEST_F(MediumLocatorTest, CdFoundThroughTheCacheThenByTheScanNeverInA) {
  const NativePath e = addDrive('E', drivetype::CdRom, u"GAMES");
  put("drive-E/DOCS/README.TXT", "r");
  makeCatalog("_03CD_GAMES.cct", u"GAMES", u"ゲーム", {{u"DOCS", 1, catalog::KindFolder}, {u"README.TXT", 2}});
  locator.userAction = true;

  titles.setTitle('E', u"games");
  EXPECT_EQ(locator.LocateOnMedium(shown, u"DOCS\\README.TXT", false, true), e / "DOCS/README.TXT");

  titles = TitleCache();
  EXPECT_EQ(locator.LocateOnMedium(shown, u"DOCS\\README.TXT", false, true), e / "DOCS/README.TXT");
  EXPECT_TRUE(question.asked.empty());

  // The same medium in A: is not scanned; without the user acting, nobody is asked.
  drives.remove('E');
  types.setStored('E', drivetype::NoRoot);
  titles = TitleCache();
  addDrive('A', drivetype::CdRom, u"GAMES");
  put("drive-A/DOCS/README.TXT", "r");
  locator.userAction = false;
  EXPECT_TRUE(locator.LocateOnMedium(shown, u"DOCS\\README.TXT", false, true).empty());
  EXPECT_TRUE(question.asked.empty());
  EXPECT_FALSE(locator.locateCancelled);
}

TEST_F(MediumLocatorTest, DiskImageFolderBeforeTheDrivesAndDrivesWhenTheFileIsMissingThere) {
  put("image/GAMES/DOCS/A.TXT", "a");
  const Text image = cp932::fromNativeName(path("image/GAMES").native());
  makeCatalog("_03CD_GAMES.cct", u"GAMES", u"", {{u"DOCS", 1, catalog::KindFolder}, {u"A.TXT", 2}}, image);
  EXPECT_EQ(locator.LocateOnMedium(shown, u"DOCS\\A.TXT", false, true), path("image/GAMES/DOCS/A.TXT"));
  EXPECT_TRUE(locator.LocateOnMedium(shown, u"DOCS\\A.TXT", false, false).empty()) << "source folder not tried";

  const NativePath e = addDrive('E', drivetype::CdRom, u"GAMES");
  put("drive-E/DOCS/B.TXT", "b");
  EXPECT_EQ(locator.LocateOnMedium(shown, u"DOCS\\B.TXT", false, true), e / "DOCS/B.TXT");
}

TEST_F(MediumLocatorTest, LabelWithABlankOnARemovableDrive) {
  const NativePath f = addDrive('F', drivetype::Removable, u"");
  put("drive-F/VolName.txt", "My Disk\r\n");
  put("drive-F/NOTES.TXT", "n");
  makeCatalog("_03FD_My Disk.cct", u"My Disk", u"", {{u"NOTES.TXT", 1}});
  EXPECT_EQ(locator.LocateOnMedium(shown, u"NOTES.TXT", false, true), f / "NOTES.TXT");
}

TEST_F(MediumLocatorTest, LabelWithADotStoredWithoutIt) {
  const NativePath e = addDrive('E', drivetype::CdRom, u"V1.0");
  put("drive-E/SETUP.TXT", "s");
  makeCatalog("_03CD_V10.cct", u"V10", u"", {{u"SETUP.TXT", 1}});
  EXPECT_EQ(locator.LocateOnMedium(shown, u"SETUP.TXT", false, true), e / "SETUP.TXT");
  titles = TitleCache();
  titles.setTitle('E', u"V1.0");
  EXPECT_EQ(locator.LocateOnMedium(shown, u"SETUP.TXT", false, true), e / "SETUP.TXT");

  const NativePath d = addDrive('D', drivetype::Fixed, u"DATA1.5");
  put("drive-D/X.TXT", "x");
  makeCatalog("_00HD_DATA15.cct", u"DATA15", u"", {{u"X.TXT", 1}});
  EXPECT_EQ(locator.LocateOnMedium(shown, u"X.TXT", false, true), d / "X.TXT");
}

// ------------------------------------------------------------ the drive question

TEST_F(MediumLocatorTest, QuestionWrongTypeThenTheRightDrive) {
  addDrive('E', drivetype::CdRom, u"");
  const NativePath g = addDrive('G', drivetype::Removable, u"");
  put("drive-G/VolName.txt", "TRIP\r\n");
  put("drive-G/A.TXT", "a");
  makeCatalog("_03FD_TRIP.cct", u"TRIP", u"旅行", {{u"A.TXT", 1}});
  // The scan takes a CD-ROM drive for an FD catalog; this one holds no TRIP.
  drives.remove('G');
  locator.userAction = true;
  question.answers = {u"E:", u"G:"};
  ui.answers = {AnswerOk};
  // G: is inserted while the question is shown.
  struct Insert : MediaDriveQuestion {
    ScriptedQuestion& inner;
    FakeDrives& drives;
    NativePath g;
    explicit Insert(ScriptedQuestion& q, FakeDrives& d, NativePath folder) : inner(q), drives(d), g(std::move(folder)) {}
    Text InputMediaDrive(const MediaQuestion& q) override {
      drives.set('G', {drivetype::Removable, g, u"", 0, false, DriveSpace{1, 1}, true});
      return inner.InputMediaDrive(q);
    }
  } insert(question, drives, g);
  locator.setQuestion(&insert);
  EXPECT_EQ(locator.LocateOnMedium(shown, u"A.TXT", false, true), g / "A.TXT");
  ASSERT_EQ(question.asked.size(), 2u);
  EXPECT_EQ(question.asked[0].label, u"旅行||（TRIP）");
  EXPECT_EQ(question.asked[0].message, MediumLocator::questionMessage(MediumLocator::KindTextFD));
  EXPECT_EQ(question.asked[0].preselect, 'G');
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(ui.messages()[0], MediumLocator::wrongTypeMessage(MediumLocator::KindTextFD));
  EXPECT_EQ(ui.calls[0].flags, mb::OkCancel | mb::IconExclamation);
}

TEST_F(MediumLocatorTest, QuestionWrongTypeCancelled) {
  addDrive('E', drivetype::CdRom, u"");
  makeCatalog("_03FD_TRIP.cct", u"TRIP", u"", {{u"A.TXT", 1}});
  locator.userAction = true;
  question.answers = {u"E:"};
  ui.answers = {AnswerCancel};
  EXPECT_TRUE(locator.LocateOnMedium(shown, u"A.TXT", false, true).empty());
  EXPECT_EQ(question.asked.size(), 1u);
  EXPECT_FALSE(locator.locateCancelled);
}

TEST_F(MediumLocatorTest, QuestionMediumWithoutTitleGetsTheLabelWritten) {
  const NativePath g = addDrive('G', drivetype::Removable, u"");
  put("drive-G/A.TXT", "a");
  makeCatalog("_03FD_TRIP.cct", u"TRIP", u"", {{u"A.TXT", 1}});
  EXPECT_TRUE(locator.LocateOnMedium(shown, u"A.TXT", false, true).empty()) << "not acting: no question";
  EXPECT_TRUE(question.asked.empty());

  locator.userAction = true;
  question.answers = {u"g:"};
  EXPECT_EQ(locator.LocateOnMedium(shown, u"A.TXT", false, true), g / "A.TXT");
  EXPECT_EQ(get("drive-G/VolName.txt"), "TRIP\r\n");
  EXPECT_EQ(titles.title('G'), u"TRIP");
  // From now on it is found by itself.
  question.asked.clear();
  EXPECT_EQ(locator.LocateOnMedium(shown, u"A.TXT", false, true), g / "A.TXT");
  EXPECT_TRUE(question.asked.empty());
}

TEST_F(MediumLocatorTest, QuestionWrongTitleThenCancel) {
  addDrive('E', drivetype::CdRom, u"OTHER");
  makeCatalog("_03CD_GAMES.cct", u"GAMES", u"ゲーム", {{u"A.TXT", 1}});
  locator.userAction = true;
  question.answers = {u"E:", u""};
  ui.answers = {AnswerOk};
  EXPECT_TRUE(locator.LocateOnMedium(shown, u"A.TXT", false, true).empty());
  ASSERT_EQ(question.asked.size(), 2u);
  EXPECT_EQ(question.asked[0].label, u"ゲーム");
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(ui.messages()[0], MediumLocator::wrongTitleMessage(u"other", u"GAMES"));
  EXPECT_TRUE(locator.locateCancelled);
}

TEST_F(MediumLocatorTest, QuestionRightTitleRemembersTheDrive) {
  const NativePath e = addDrive('E', drivetype::CdRom, u"GAMES");
  put("drive-E/A.TXT", "a");
  // The scan looks for the label exactly; the answer ignores case.
  makeCatalog("_03CD_games.cct", u"games", u"", {{u"A.TXT", 1}});
  locator.userAction = true;
  question.answers = {u"E:"};
  EXPECT_EQ(locator.LocateOnMedium(shown, u"A.TXT", false, true), e / "A.TXT");
  EXPECT_EQ(question.asked.size(), 1u);
  EXPECT_EQ(titles.title('E'), u"games");
  EXPECT_FALSE(locator.locateCancelled);
}

TEST_F(MediumLocatorTest, CdWithoutLabelIsAskedForByTitle) {
  makeCatalog("_03CD_CDA1A2B3C4D.cct", u"", u"名曲集", {{u"A.TXT", 1}});
  locator.userAction = true;
  EXPECT_TRUE(locator.LocateOnMedium(shown, u"A.TXT", false, true).empty());
  ASSERT_EQ(question.asked.size(), 1u);
  EXPECT_EQ(question.asked[0].label, u"名曲集");
  EXPECT_TRUE(locator.locateCancelled);
}

// ------------------------------------------------------------ archives

class LocateFileTest : public MediumLocatorTest {
protected:
  LocateFileTest() {
    addDrive('E', drivetype::CdRom, u"GAMES");
    std::filesystem::create_directories(path("drive-E/DOCS"));
    EXPECT_TRUE(writeZip(path("drive-E/DOCS/PACK.ZIP"), {{"README.TXT", "inside the zip"}}));
    put("drive-E/X.ZIP/NOTE.TXT", "a folder named like an archive");
    makeCatalog("_03CD_GAMES.cct", u"GAMES", u"",
                {{u"DOCS", 1, catalog::KindFolder},
                 {u"PACK.ZIP", 2, 7},
                 {u"README.TXT", 3},
                 {u"X.ZIP", 1, catalog::KindFolder},
                 {u"NOTE.TXT", 2}});
  }
};

TEST_F(LocateFileTest, ZipMemberIsExtracted) {
  const NativePath got = locator.LocateFile(shown, u"DOCS\\PACK.ZIP\\README.TXT");
  EXPECT_EQ(got, path("program/TempFile/README.TXT"));
  EXPECT_EQ(get("program/TempFile/README.TXT"), "inside the zip");
  // A second open finds the first copy in the way and replaces it.
  EXPECT_EQ(locator.LocateFile(shown, u"DOCS\\PACK.ZIP\\README.TXT"), got);
  // Without the rows, the path's text tells where the archive ends.
  EXPECT_EQ(locator.LocateFile(shown, u"docs\\pack.zip\\README.TXT"), got);
}

TEST_F(LocateFileTest, ZipMemberWithoutUseExtactZipIsNotFound) {
  locator.setZipUsable(false);
  EXPECT_TRUE(locator.LocateFile(shown, u"DOCS\\PACK.ZIP\\README.TXT").empty());
  EXPECT_FALSE(there("program/TempFile/README.TXT"));
}

TEST_F(LocateFileTest, StaleCopyIsNeverReturned) {
  put("program/TempFile/README.TXT", "left from before");
  drives.remove('E');  // the medium is gone: nothing can be extracted
  EXPECT_TRUE(locator.LocateFile(shown, u"DOCS\\PACK.ZIP\\README.TXT").empty());
  EXPECT_FALSE(there("program/TempFile/README.TXT"));

  put("program/TempFile/GONE.TXT", "left from before");
  addDrive('E', drivetype::CdRom, u"GAMES");
  EXPECT_TRUE(writeZip(path("drive-E/DOCS/PACK.ZIP"), {{"README.TXT", "inside the zip"}}));
  EXPECT_TRUE(locator.LocateFile(shown, u"DOCS\\PACK.ZIP\\GONE.TXT").empty()) << "no such member";
  EXPECT_FALSE(there("program/TempFile/GONE.TXT"));
}

TEST_F(LocateFileTest, FolderNamedLikeAnArchiveIsAFolder) {
  EXPECT_EQ(locator.LocateFile(shown, u"X.ZIP\\NOTE.TXT"), path("drive-E/X.ZIP/NOTE.TXT"));
  EXPECT_FALSE(there("program/TempFile/NOTE.TXT"));
}

TEST_F(LocateFileTest, LzhMemberIsExtractedAndAnUnreadableLzhGivesNothing) {
  writeBytes(path("drive-E/TOOL.LZH"), lzhArchive({{"BIN\\RUN.TXT", "lzh data"}}, 1));
  makeCatalog("_03CD_GAMES.cct", u"GAMES", u"",
              {{u"TOOL.LZH", 1, 8}, {u"BIN", 2, catalog::KindArchiveFolder}, {u"RUN.TXT", 3}});
  EXPECT_EQ(locator.LocateFile(shown, u"TOOL.LZH\\BIN\\RUN.TXT"), path("program/TempFile/BIN/RUN.TXT"));
  EXPECT_EQ(get("program/TempFile/BIN/RUN.TXT"), "lzh data");

  ArchiveLibraries none(ListTime::Zone::Japan, false);
  MediumLocator without({info, titleFile, files, ui, none, path("program/TempFile")});
  EXPECT_TRUE(without.LocateFile(shown, u"TOOL.LZH\\BIN\\RUN.TXT").empty());
  EXPECT_TRUE(without.LocateFile(shown, u"TOOL.LZH\\RUN.TXT", -1).empty());
}

// ------------------------------------------------------------ disk image, File menu

TEST(DiskImageRules, FolderAboveTheMediumsTopEntry) {
  struct Case {
    const char* chosen;
    const char16_t* first;
    const char* folder;
  };
  const Case cases[] = {
      {"/img/GAMES/VIDEO_TS/x.vob", u"VIDEO_TS", "/img/GAMES"},
      {"/img/GAMES/video_ts/x.vob", u"VIDEO_TS", "/img/GAMES"},
      {"/img/GAMES/x.vob", u"VIDEO_TS", "/img/GAMES"},
      {"/img/GAMES/x.vob", u"", "/img/GAMES"},
  };
  for (const Case& c : cases) EXPECT_EQ(diskimage::folderFor(c.chosen, c.first), NativePath(c.folder)) << c.chosen;
}

TEST(MediumCommandsTable, EnablingOfTheFileMenu) {
  struct Case {
    const char16_t* kind;
    const char16_t* label;
    bool shown, modified;
    MediumCommands want;
  };
  const Case cases[] = {
      {u"CD", u"GAMES", true, false, {true, true, false, false}},
      {u"FD", u"TRIP", true, true, {true, true, true, true}},
      {u"HD", u"WORK", true, false, {true, false, false, false}},
      {u"CD", u"", true, false, {false, true, false, false}},
      {u"CD", u"GAMES", false, true, {false, true, true, false}},
      {u"", u"", false, false, {false, false, false, false}},
  };
  for (const Case& c : cases) {
    const MediumCommands got = mediumCommands(c.kind, c.label, c.shown, c.modified);
    EXPECT_EQ(got.refreshList, c.want.refreshList) << cp932::toNativeName(c.kind);
    EXPECT_EQ(got.diskImage, c.want.diskImage) << cp932::toNativeName(c.kind);
    EXPECT_EQ(got.save, c.want.save) << cp932::toNativeName(c.kind);
    EXPECT_EQ(got.changeTitle, c.want.changeTitle) << cp932::toNativeName(c.kind);
  }
}

class DiskImageTest : public MediumLocatorTest {
protected:
  CatalogIndex index{files, path("cat alogs")};
  Platform platform{files, ui};
  CatalogDocument document{{platform, path("cat alogs"), path("program"), index, titles, nullptr}};
  OptionStore options{files, path("program/ZEVRO32.Opt")};
};

TEST_F(DiskImageTest, ChosenFileRecordsItsFolderAndTheDrivesWaitBehindIt) {
  RowStore& l = document.list();
  catalog::makeCatalogList(l);
  l.appendShown(buildRecord({u"GAMES", u"", u"", u"0", u"0"}), 0, 0, catalog::KindTitleCD, 0);
  l.appendShown(buildRecord({u"VIDEO_TS", u"", u"", u"0", u"0"}), 0, 0, catalog::KindFolder, 1);
  l.appendShown(buildRecord({u"VTS_01_1.VOB", u"", u"", u"0", u"0"}), 0, 0, catalog::KindFile, 2);
  l.setModified(false);
  put("img/GAMES/VIDEO_TS/VTS_01_1.VOB", "v");
  ui.chosenFiles = {cp932::fromNativeName(path("img/GAMES/VIDEO_TS/VTS_01_1.VOB").native())};
  options.writeText(opt::DiskImageFile, u"/old/place/movie.mpg");
  ASSERT_TRUE(diskimage::ChooseDiskImage(document, ui, options, u""));
  ASSERT_EQ(ui.fileRequests.size(), 1u);
  EXPECT_EQ(ui.fileRequests[0].title, diskimage::DialogTitle);
  EXPECT_EQ(ui.fileRequests[0].initialName, u"movie.mpg");
  EXPECT_EQ(ui.fileRequests[0].initialFolder, u"/old/place");
  EXPECT_EQ(l.field(catalog::FieldMediumName, 0), cp932::fromNativeName(path("img/GAMES").native()));
  EXPECT_EQ(l.field(catalog::FieldFlags, 0), u"1");
  EXPECT_TRUE(l.modified());
  EXPECT_EQ(opt::readText(options, opt::DiskImageFile),
            cp932::fromNativeName(path("img/GAMES/VIDEO_TS/VTS_01_1.VOB").native()));

  ShownCatalog image{path("cat alogs/_03CD_GAMES.cct"), &l};
  EXPECT_EQ(locator.LocateOnMedium(image, u"VIDEO_TS\\VTS_01_1.VOB", false, true),
            path("img/GAMES/VIDEO_TS/VTS_01_1.VOB"));

  // Cancelled: nothing changes.
  l.setModified(false);
  EXPECT_FALSE(diskimage::ChooseDiskImage(document, ui, options, u"VTS_01_1.VOB"));
  EXPECT_EQ(ui.fileRequests[1].initialName, u"VTS_01_1.VOB");
  EXPECT_EQ(ui.fileRequests[1].defaultExtension, u"VOB");
  EXPECT_FALSE(l.modified());
}

}  // namespace
}  // namespace zevro::test
