#include "media/MediaReading.h"
#include "media/ReadingStore.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "MediaFixture.h"
#include "core/CatalogIndex.h"
#include "core/CatalogList.h"
#include "core/CatalogDocument.h"
#include "core/ListFile.h"
#include "core/Numbers.h"
#include "core/TitleCache.h"
#include "media/ReadingSplit.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

namespace fs = std::filesystem;
using Existing = MediaReading::Existing;
using Outcome = MediaReading::Outcome;

class MediaReadingTest : public test::MediaFixture {
protected:
  MediaReadingTest() {
    icons.BuildStandardTables();
    fs::create_directories(catalogs);
    addDrive('D', drivetype::CdRom, u"GAMES");
    put("drive-D/setup.exe", std::string(1500, 'x'));
    put("drive-D/DATA/a.dat", std::string(20, 'x'));
    addEmptyDrive('H', drivetype::CdRom);
    addDrive('X', drivetype::Fixed, u"WORK");
    put("drive-X/DOCS/OLD/note.txt", "12345");
    put("drive-X/top.txt", "1");
    addDrive('A', drivetype::Removable, u"");
  }

  MediaReading::Result read(TextView drivePath) {
    Platform platform{files, ui};
    MediaReading::Hooks hooks;
    hooks.askExisting = [&](const MediaReading::ExistingCatalog& e) {
      asked.push_back(e);
      return answer;
    };
    hooks.status = [&](TextView text) { statuses.emplace_back(text); };
    hooks.progress = progress;
    MediaReading reading({platform, info, titleFile, icons, catalogs}, settings, hooks);
    MediaReading::Result result = reading.read(drivePath, store);
    if (retire) ReadingStore(platform, index, path("backup")).finish(result, result.fileName);
    return result;
  }

  // A list file in the catalog folder whose title line carries a title.
  void catalogFile(const std::string& name, const char16_t* title = u"old title") {
    std::string bytes(64, ' ');
    bytes += cp932::encode(catalog::buildRecord({u"GAMES", title, u"", u"1", u"0"}));
    bytes += '\0';
    put("CatList/" + name, bytes);
  }

  IconTable icons;
  TitleFile titleFile{info, ui, [](const NativePath&) { return IoError{}; }};
  NativePath catalogs = path("CatList");
  CatalogIndex index{files, catalogs};
  MediaReading::Settings settings{.genre = 4, .walk = {}};
  WalkCallbacks progress;
  Existing answer = Existing::Cancel;
  bool retire = false;
  std::vector<MediaReading::ExistingCatalog> asked;
  std::vector<Text> statuses;
  RowStore store;
};

TEST_F(MediaReadingTest, WholeDriveAndFolderReadings) {
  const struct {
    const char16_t* path;
    const char16_t* fileName;
    const char16_t* title;
    int kind;
    std::int64_t total;
    std::int64_t freeSpace;  // a folder reading records none
    int rows;
  } rows[] = {
      {u"D:", u"_04CD_GAMES.CCT", u"GAMES", 1, 1520, 400'000, 4},
      {u"x:\\", u"_04HD_WORK.CCT", u"WORK", 3, 6, 400'000, 5},
      {u"X:\\DOCS\\", u"_04HD_WORK DOCS.CCT", u"WORK", 3, 5, 0, 3},
      {u"X:/DOCS/OLD", u"_04HD_WORK DOCS&OLD.CCT", u"WORK", 3, 5, 0, 2},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(toUtf8(row.path));
    const MediaReading::Result r = read(row.path);
    ASSERT_EQ(r.outcome, Outcome::Read);
    EXPECT_EQ(r.fileName, row.fileName);
    EXPECT_EQ(r.catalogPath, catalogs / toUtf8(row.fileName));
    EXPECT_EQ(r.mediumTitle, row.title);
    EXPECT_EQ(r.mediumKind, row.kind);
    EXPECT_EQ(r.total, row.total);
    EXPECT_EQ(r.freeSpace, row.freeSpace);
    EXPECT_EQ(store.rowCount(), row.rows);
    EXPECT_EQ(store.field(catalog::FieldName, 0), row.title);
    EXPECT_EQ(store.field(catalog::FieldSize, 0), groupedNumber(row.total));
    EXPECT_EQ(store.kind(0), row.kind + 1);
  }
  EXPECT_EQ(store.sortOrder(), ListSort::Kind);  // recorded by kind
  EXPECT_EQ(statuses.back(), MediaReading::SizePassText);
  EXPECT_EQ(statuses[statuses.size() - 2], Text(MediaReading::ReadingText) + u"WORK");
}

TEST_F(MediaReadingTest, NoMediumNoTitleAndMissingFolderEndWithoutQuestion) {
  store.appendShown(catalog::buildRecord({u"left", u"", u"", u"", u"0"}), 0, 0, 1, 0);
  const struct {
    const char16_t* path;
    Outcome outcome;
  } rows[] = {
      {u"H:", Outcome::NoMedium},  // an empty CD drive gives no "_04CD_.CCT"
      {u"Q:", Outcome::NoMedium},  // no such drive
      {u"A:", Outcome::NoTitle},   // a removable medium the user gives no title
      {u"X:\\MISSING", Outcome::Unreadable},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(toUtf8(row.path));
    EXPECT_EQ(read(row.path).outcome, row.outcome);
  }
  EXPECT_TRUE(asked.empty());
  EXPECT_EQ(store.rowCount(), 0);
  EXPECT_TRUE(namesIn("CatList").empty());
}

TEST_F(MediaReadingTest, MediumTitleLosesItsFirstDot) {
  const struct {
    const char16_t* label;
    const char16_t* title;
  } rows[] = {{u"MY.DISK", u"MYDISK"}, {u"A.B.C", u"AB.C"}, {u"PLAIN", u"PLAIN"}};
  for (const auto& row : rows) {
    addDrive('K', drivetype::Fixed, row.label);
    const MediaReading::Result r = read(u"K:");
    ASSERT_EQ(r.outcome, Outcome::Read);
    EXPECT_EQ(r.mediumTitle, row.title);
    EXPECT_EQ(store.field(catalog::FieldName, 0), row.title);
  }
}

TEST_F(MediaReadingTest, ExistingCatalogIsAskedAboutAndKeptOnCancel) {
  catalogFile("_01CD_GAMES.cct", u"ゲーム集");
  answer = Existing::Cancel;
  const MediaReading::Result r = read(u"D:");
  EXPECT_EQ(r.outcome, Outcome::Declined);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].fileName, u"_01CD_GAMES.cct");
  EXPECT_EQ(asked[0].title, u"ゲーム集");
  EXPECT_EQ(asked[0].drive, u"D:");
  EXPECT_EQ(asked[0].displayTitle, u"GAMES");
  EXPECT_TRUE(there("CatList/_01CD_GAMES.cct"));
}

TEST_F(MediaReadingTest, AnotherListTakesTheFirstFreeNumber) {
  catalogFile("_01CD_GAMES.CCT");
  catalogFile("_01CD_GAMES-01.CCT");
  answer = Existing::AddAnother;
  const MediaReading::Result r = read(u"D:");
  ASSERT_EQ(r.outcome, Outcome::Read);
  EXPECT_EQ(r.fileName, u"_04CD_GAMES-02.CCT");
  EXPECT_FALSE(r.replaced);
}

TEST_F(MediaReadingTest, AnotherListIsRefusedWhenAllNumbersAreTaken) {
  catalogFile("_01CD_GAMES.CCT");
  for (int n = 1; n <= 99; ++n) put("CatList/" + toUtf8(MediaReading::numberedName(u"_01CD_GAMES.CCT", n)), "x");
  answer = Existing::AddAnother;
  EXPECT_EQ(read(u"D:").outcome, Outcome::NoFreeNumber);
  EXPECT_EQ(ui.messages(), std::vector<Text>{Text(MediaReading::NoFreeNumberMessage)});
}

TEST_F(MediaReadingTest, ReplacedCatalogIsRetiredOnlyAfterASuccessfulReading) {
  catalogFile("_01CD_GAMES.cct");
  index.titleOf(u"_01CD_GAMES.cct");
  ASSERT_FALSE(index.write());
  answer = Existing::Replace;
  retire = true;

  progress.pump = [] { return false; };  // the reading is stopped: nothing is lost
  put("drive-D/SUB/x", "x");
  EXPECT_EQ(read(u"D:").outcome, Outcome::Stopped);
  EXPECT_TRUE(there("CatList/_01CD_GAMES.cct"));
  EXPECT_EQ(index.entries().size(), 1u);

  progress.pump = {};
  const MediaReading::Result r = read(u"D:");
  ASSERT_EQ(r.outcome, Outcome::Read);
  ASSERT_TRUE(r.replaced);
  EXPECT_FALSE(there("CatList/_01CD_GAMES.cct"));
  EXPECT_TRUE(there("backup/_01CD_GAMES.cct"));
  EXPECT_TRUE(index.entries().empty());
}

TEST_F(MediaReadingTest, ReplacedCatalogOfTheSameNameIsLeftToTheNewFile) {
  settings.genre = 1;
  catalogFile("_01cd_games.cct");
  answer = Existing::Replace;
  retire = true;
  const MediaReading::Result r = read(u"D:");
  ASSERT_EQ(r.outcome, Outcome::Read);
  EXPECT_TRUE(there("CatList/_01cd_games.cct"));
  EXPECT_FALSE(there("backup"));
}

TEST_F(MediaReadingTest, UnreachableCatalogFolderIsReportedAndAskedAgain) {
  files.fail(FaultyFileSystem::Op::List, EACCES, catalogs, 1);
  ui.answers = {AnswerOk};  // look again: the second listing works
  EXPECT_EQ(read(u"D:").outcome, Outcome::Read);
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_TRUE(ui.messages()[0].starts_with(Text(MediaReading::CatalogFolderMessage) + u"||　　"));

  files.fail(FaultyFileSystem::Op::List, EACCES, catalogs, -1);
  ui.answers = {AnswerCancel};
  EXPECT_EQ(read(u"D:").outcome, Outcome::CatalogFolderUnreachable);
  files.clearFaults();
}

TEST_F(MediaReadingTest, UnreadableTopFolderFailsTheReading) {
  files.fail(FaultyFileSystem::Op::List, EACCES, path("drive-X"), 1);
  EXPECT_EQ(read(u"X:").outcome, Outcome::Unreadable);
  EXPECT_EQ(store.rowCount(), 0);
}

TEST(MediaReadingNames, ExistingTitleAndNumberedNames) {
  std::string withTitle(64, ' ');
  withTitle += cp932::encode(catalog::buildRecord({u"LABEL", u"表示テスト", u"", u"1", u"0"}));
  const std::string noTitle = std::string(64, ' ') + cp932::encode(catalog::buildRecord({u"LABEL", u"", u"", u"1"}));
  const struct {
    std::string bytes;
    const char16_t* name;
    const char16_t* title;
  } rows[] = {
      {withTitle, u"_01CD_X.cct", u"表示テスト"},  // 表 has "\" as its second byte
      {noTitle, u"_01CD_GAMES.CCT", u"GAMES"},
      {"", u"_01CD_GAMES-02.CCT", u"GAMES-02"},
  };
  for (const auto& row : rows) EXPECT_EQ(MediaReading::existingTitle(row.bytes, row.name), row.title);
  EXPECT_EQ(MediaReading::numberedName(u"_04CD_GAMES.CCT", 2), u"_04CD_GAMES-02.CCT");
  EXPECT_EQ(MediaReading::numberedName(u"_??CD_A.B.CCT", 17), u"_??CD_A.B-17.CCT");
}

}  // namespace
}  // namespace zevro

namespace zevro {
namespace {

// A reading recorded as several catalogs. The tree of drive X is tiny, so the
// reading is given lists of four rows, where a large one has the list file's.
class SplitReadingTest : public MediaReadingTest {
protected:
  SplitReadingTest() {
    settings.walk.sortOrder = WalkOrder::Name;
    settings.listLimits = {4, std::size_t{1} << 30};  // parts closed at three rows
  }

  MediaReading::Result readSplit() {
    MediaReading::Hooks hooks;
    hooks.askExisting = [&](const MediaReading::ExistingCatalog& e) {
      asked.push_back(e);
      return answer;
    };
    MediaReading reading({platform, info, titleFile, icons, catalogs}, settings, hooks);
    return reading.read(u"X:", document.list());
  }
  SavedReading storeReading(const MediaReading::Result& r) {
    return ReadingStore(platform, index, path("backup")).store(r, document, icons);
  }

  Platform platform{files, ui};
  TitleCache titleCache;
  CatalogDocument document{{platform, catalogs, path(""), index, titleCache}};
};

TEST_F(SplitReadingTest, AllPartsAreWrittenAndReplacingReplacesEveryOne) {
  const MediaReading::Result first = readSplit();
  ASSERT_EQ(first.outcome, Outcome::Read);
  ASSERT_EQ(first.parts.size(), 2u);  // top.txt; X:\DOCS with OLD and note.txt
  EXPECT_EQ(first.partNames, (std::vector<Text>{u"_04HD_WORK.CCT", u"_04HD_WORK DOCS.CCT"}));
  const SavedReading saved = storeReading(first);
  ASSERT_TRUE(saved.saved);
  EXPECT_EQ(saved.fileNames, (std::vector<Text>{u"_04HD_WORK.cct", u"_04HD_WORK DOCS.cct"}));
  EXPECT_EQ(namesIn("CatList"),
            (std::vector<std::string>{std::string(CatalogIndex::FileName), "_04HD_WORK DOCS.cct", "_04HD_WORK.cct"}));
  RowStore docs;
  ASSERT_TRUE(listfile::read(files, catalogs / "_04HD_WORK DOCS.cct", docs).loaded());
  EXPECT_EQ(docs.rowCount(), 3);
  EXPECT_EQ(docs.field(catalog::FieldMediumName, 0), u"X:\\DOCS");
  EXPECT_EQ(docs.field(catalog::FieldSize, 0), u"5");

  // The medium is catalogued: the question names its own catalog, and the
  // reading knows the other part.
  answer = Existing::Replace;
  MediaReading::Result again = readSplit();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].fileName, u"_04HD_WORK.cct");
  ASSERT_EQ(again.replacedParts.size(), 1u);
  EXPECT_EQ(again.replacedParts[0].fileName, u"_04HD_WORK DOCS.cct");

  // Stored as one catalog now: the old part goes to Backup/, the old catalog
  // of the same name is overwritten after its copy there.
  again.parts.clear();
  again.partNames.clear();
  const SavedReading replaced = storeReading(again);
  ASSERT_TRUE(replaced.saved);
  EXPECT_TRUE(replaced.retired);
  EXPECT_EQ(namesIn("CatList"), (std::vector<std::string>{std::string(CatalogIndex::FileName), "_04HD_WORK.cct"}));
  EXPECT_TRUE(there("backup/_04HD_WORK DOCS.cct"));
  EXPECT_TRUE(there("backup/_04HD_WORK.cct"));
}

TEST_F(SplitReadingTest, NothingIsWrittenWhenOnePartCannotBe) {
  // A catalog that is not the medium's holds the name of the second part.
  catalogFile("_04HD_WORK DOCS.cct");
  const SavedReading taken = storeReading(readSplit());
  EXPECT_FALSE(taken.saved);
  EXPECT_EQ(taken.taken, u"_04HD_WORK DOCS.cct");
  EXPECT_EQ(namesIn("CatList"), (std::vector<std::string>{"_04HD_WORK DOCS.cct"}));

  // Every part is written, then the second cannot take its name: the first
  // gives its name up again, and no temporary stays.
  fs::remove(path("CatList/_04HD_WORK DOCS.cct"));
  const MediaReading::Result r = readSplit();
  files.fail(FaultyFileSystem::Op::Rename, EXDEV, catalogs / "._04HD_WORK DOCS.cct.zevro-tmp-000001");
  const SavedReading failed = storeReading(r);
  EXPECT_FALSE(failed.saved);
  EXPECT_TRUE(namesIn("CatList").empty()) << namesIn("CatList").front();
  EXPECT_EQ(files.calls(FaultyFileSystem::Op::Rename), 2);
  ASSERT_FALSE(ui.messages().empty());
  EXPECT_EQ(ui.messages().back().rfind(CatalogDocument::WriteFailedMessage, 0), 0u);
}

TEST_F(SplitReadingTest, APartThatCannotBeWrittenLeavesNothingAndIsNamed) {
  // The first part is written while the second is built, the second after
  // it: whichever write fails, no catalog and no temporary stays, and the
  // message names that part.
  const struct {
    const char* temporary;
    const char16_t* name;
  } cases[] = {
      {"._04HD_WORK.cct.zevro-tmp-000000", u"_04HD_WORK.cct"},
      {"._04HD_WORK DOCS.cct.zevro-tmp-000001", u"_04HD_WORK DOCS.cct"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.temporary);
    const MediaReading::Result r = readSplit();
    ASSERT_EQ(r.parts.size(), 2u);
    files.fail(FaultyFileSystem::Op::Write, ENOSPC, catalogs / c.temporary);
    const int messages = static_cast<int>(ui.messages().size());
    const SavedReading failed = storeReading(r);
    EXPECT_FALSE(failed.saved);
    EXPECT_TRUE(namesIn("CatList").empty()) << namesIn("CatList").front();
    EXPECT_EQ(files.calls(FaultyFileSystem::Op::Rename), 0);
    ASSERT_EQ(static_cast<int>(ui.messages().size()), messages + 1);
    const Text message = ui.messages().back();
    EXPECT_EQ(message.rfind(CatalogDocument::WriteFailedMessage, 0), 0u);
    EXPECT_NE(message.find(u"No space left on device"), Text::npos);
    EXPECT_TRUE(message.ends_with(c.name)) << toUtf8(message);
  }
  // And with no fault, both are written.
  EXPECT_TRUE(storeReading(readSplit()).saved);
  EXPECT_EQ(namesIn("CatList"),
            (std::vector<std::string>{std::string(CatalogIndex::FileName), "_04HD_WORK DOCS.cct", "_04HD_WORK.cct"}));
}

TEST_F(SplitReadingTest, AnotherListOfAMediumTooLargeForOneListIsRefusedWithAMessage) {
  ASSERT_TRUE(storeReading(readSplit()).saved);
  const std::vector<std::string> before = namesIn("CatList");

  // Asked when the reading starts: nothing is kept of the reading.
  answer = Existing::AddAnother;
  const MediaReading::Result again = readSplit();
  EXPECT_EQ(again.outcome, Outcome::TooLargeForAnother);
  EXPECT_EQ(document.list().rowCount(), 0);
  EXPECT_EQ(MediaReading::reportOf(again), MediaReading::TooLargeForAnotherMessage);
  EXPECT_FALSE(storeReading(again).saved);

  // Asked when the reading is stored (the catalogs turned up meanwhile).
  fs::remove_all(path("CatList"));
  fs::create_directories(path("CatList"));
  answer = Existing::Cancel;
  const MediaReading::Result alone = readSplit();
  ASSERT_EQ(alone.outcome, Outcome::Read);
  ASSERT_EQ(alone.parts.size(), 2u);
  for (const std::string& name : before)
    if (name != CatalogIndex::FileName) catalogFile(name);
  const SavedReading refused = ReadingStore(platform, index, path("backup"))
                                   .store(alone, document, icons, [](TextView) { return Existing::AddAnother; });
  EXPECT_FALSE(refused.saved);
  EXPECT_TRUE(refused.tooLargeForAnother);
  EXPECT_TRUE(refused.taken.empty());
  std::vector<std::string> catalogsOnly = before;
  std::erase(catalogsOnly, std::string(CatalogIndex::FileName));
  EXPECT_EQ(namesIn("CatList"), catalogsOnly);
}

}  // namespace
}  // namespace zevro
