#include "core/CatalogDocument.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "core/CatalogList.h"
#include "core/IconTable.h"
#include "core/ListFile.h"
#include "core/Record.h"
#include "core/Strings.h"
#include "platform/FakeUi.h"
#include "platform/FaultyFileSystem.h"
#include "platform/LinuxFileSystem.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

namespace fs = std::filesystem;
using catalog::buildRecord;
using Op = FaultyFileSystem::Op;

constexpr FileTime OldTime = 1'700'000'000LL * 1'000'000'000LL;
constexpr FileTime OneSecond = 1'000'000'000LL;

struct Title {
  Text label;
  Text title;
};

class CatalogDocumentTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "zevro-document-XXXXXX").native();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root = pattern;
    program = root / "zevro";
    catalogs = program / "Catalog";
    fs::create_directories(catalogs);
    fs::create_directories(program / "Backup");
    index.emplace(faulty, catalogs);
    hooks.refreshCatalogList = [this](TextView name) { refreshed.emplace_back(name); };
    hooks.openGenre = [this](int genre) { genresOpened.push_back(genre); };
  }
  void TearDown() override { fs::remove_all(root); }

  CatalogDocument& doc() {
    if (!document) document.emplace(CatalogDocument::Services{platform, catalogs, program, *index, titles}, hooks);
    return *document;
  }

  // A catalog: title line, a folder with a Japanese name, a file.
  static RowStore catalogStore(const Title& t, TextView fileName = u"README.TXT") {
    RowStore store;
    catalog::makeCatalogList(store);
    EXPECT_TRUE(store.appendShown(buildRecord({t.label, t.title, u"", u"1,234"}), 0, 0, catalog::KindTitleFD, 0));
    EXPECT_TRUE(store.appendShown(buildRecord({u"表ソ能", u"フォルダー"}), 0, 0, catalog::KindFolder, 1));
    EXPECT_TRUE(store.appendShown(buildRecord({fileName, u"comment", u"24/01/31 12:00", u"1,234", u"0"}), 0, 0,
                                  catalog::KindFile, 2));
    store.setSortOrder(ListSort::Name);
    catalog::assignColourIndexes(store);
    return store;
  }

  static std::string fileBytes(const RowStore& store, const std::string& tag = "BX", std::int64_t free = 4242) {
    listfile::Header header;
    header.freeSpace = free;
    header.iconStamp = u"240131120000";
    std::string bytes = *listfile::build(store, header);
    bytes.replace(0, 2, tag);
    return bytes;
  }

  void put(const std::string& name, const std::string& bytes, FileTime time = OldTime) {
    std::ofstream(catalogs / name, std::ios::binary) << bytes;
    ASSERT_FALSE(disk.setModified(catalogs / name, time));
  }
  void putCatalog(const std::string& name, const Title& t, const std::string& tag = "BX") {
    put(name, fileBytes(catalogStore(t), tag));
  }

  static std::string get(const NativePath& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  std::vector<std::string> namesIn(const NativePath& folder) const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().native());
    std::sort(names.begin(), names.end());
    return names;
  }

  FileTime timeOf(const NativePath& path) { return disk.stat(path)->modified; }

  // The title line of a list file on disk: {label, title}.
  static std::pair<Text, Text> titleLineOf(const NativePath& path) {
    RowStore store;
    EXPECT_TRUE(listfile::parse(get(path), store).loaded()) << path;
    return {store.field(0, 0), store.field(1, 0)};
  }

  void indexHolds(const std::vector<CatalogIndexEntry>& entries) {
    std::ofstream(catalogs / CatalogIndex::FileName, std::ios::binary) << CatalogIndex::encode(entries);
    ASSERT_FALSE(index->load());
  }
  bool indexed(TextView name) const {
    const auto& e = index->entries();
    return std::any_of(e.begin(), e.end(), [&](const CatalogIndexEntry& x) { return x.name == name; });
  }

  NativePath root, program, catalogs;
  LinuxFileSystem disk;
  FaultyFileSystem faulty{disk};
  FakeUi ui;
  Platform platform{faulty, ui};
  std::optional<CatalogIndex> index;
  TitleCache titles;
  CatalogDocument::Hooks hooks;
  std::optional<CatalogDocument> document;
  std::vector<Text> refreshed;
  std::vector<int> genresOpened;
};

// --- Load -------------------------------------------------------------------

TEST_F(CatalogDocumentTest, LoadShowsTheCatalogWithItsFileState) {
  putCatalog("_03FD_表ソ.cct", {u"VOL", u"題名"});
  ASSERT_EQ(doc().load(u"_03fd_表ソ.CCT", true), CatalogDocument::LoadResult::Loaded);
  EXPECT_EQ(doc().currentFile(), catalogs / "_03FD_表ソ.cct");  // spelled as on disk
  EXPECT_EQ(doc().title(), u"題名");
  EXPECT_EQ(doc().list().rowCount(), 3);
  EXPECT_EQ(doc().list().field(0, 1), u"表ソ能");
  EXPECT_EQ(doc().mediumKind(), 2);
  EXPECT_EQ(doc().genre(), 3);
  EXPECT_EQ(doc().freeSpace(), 4242);
  EXPECT_EQ(doc().iconStamp(), u"240131120000");
  EXPECT_EQ(doc().list().colour(1), 2);  // colour indexes assigned for the display
  EXPECT_FALSE(doc().modified());
  EXPECT_EQ(refreshed, std::vector<Text>{u"_03FD_表ソ.cct"});
  EXPECT_EQ(CatalogDocument::rowCountText(1234567), u" 記録行数: 1,234,567行");
}

TEST_F(CatalogDocumentTest, LoadRefusesWhatItCannotShow) {
  putCatalog("_03FD_GOOD.cct", {u"VOL", u"Good"});
  put("_03FD_DAMAGED.cct", "BX0000G garbage");
  put("_03FD_OLD.cct", "AX0003000300001400000");
  struct Row {
    const char* what;
    const char16_t* name;
    CatalogDocument::LoadResult result;
    TextView message;  // empty: none
  } rows[] = {
      {"missing file: beep only", u"_03FD_NONE.cct", CatalogDocument::LoadResult::Missing, u""},
      {"damaged header", u"_03FD_DAMAGED.cct", CatalogDocument::LoadResult::Refused, CatalogDocument::DamagedMessage},
      {"old layout without its conversion", u"_03FD_OLD.cct", CatalogDocument::LoadResult::Refused,
       CatalogDocument::OldLayoutMessage},
  };
  for (const Row& r : rows) {
    ASSERT_EQ(doc().load(u"_03FD_GOOD.cct", true), CatalogDocument::LoadResult::Loaded);
    ui.calls.clear();
    EXPECT_EQ(doc().load(r.name, true), r.result) << r.what;
    EXPECT_TRUE(doc().currentFile().empty()) << r.what;
    EXPECT_EQ(doc().list().rowCount(), 0) << r.what;
    EXPECT_EQ(ui.count(FakeUi::Kind::Beep), 1) << r.what;
    const std::vector<Text> messages = ui.messages();
    if (r.message.empty()) {
      EXPECT_TRUE(messages.empty()) << r.what;
    } else {
      ASSERT_EQ(messages.size(), 1u) << r.what;
      EXPECT_EQ(messages[0].substr(0, r.message.size()), r.message) << r.what;
    }
  }
}

TEST_F(CatalogDocumentTest, AnOldFileIsConvertedOnceNeverInALoop) {
  struct Row {
    const char* what;
    bool converts;
    CatalogDocument::LoadResult result;
  } rows[] = {
      {"conversion that leaves the file old", false, CatalogDocument::LoadResult::Refused},
      {"conversion that succeeds", true, CatalogDocument::LoadResult::Loaded},
  };
  for (const Row& r : rows) {
    put("_03FD_OLD.cct", "AX0003000300001400000");
    int conversions = 0;
    hooks.convertOldFiles = [&] {
      ++conversions;
      if (r.converts) putCatalog("_03FD_OLD.cct", {u"VOL", u"Converted"});
      return true;
    };
    document.reset();
    EXPECT_EQ(doc().load(u"_03FD_OLD.cct", true), r.result) << r.what;
    EXPECT_EQ(conversions, 1) << r.what;
  }
  EXPECT_EQ(doc().title(), u"Converted");
}

TEST_F(CatalogDocumentTest, LoadAsksBeforeAModifiedCatalogIsReplaced) {
  putCatalog("_03FD_A.cct", {u"A", u"Alpha"});
  putCatalog("_03FD_B.cct", {u"B", u"Beta"});
  struct Row {
    const char* what;
    int answer;
    CatalogDocument::LoadResult result;
    const char16_t* shownTitle;
    const char16_t* titleOnDiskOfA;
  } rows[] = {
      {"Cancel keeps the edited catalog", AnswerCancel, CatalogDocument::LoadResult::Cancelled, u"Edited", u"Alpha"},
      {"No discards the edit", AnswerNo, CatalogDocument::LoadResult::Loaded, u"Beta", u"Alpha"},
      {"Yes saves first", AnswerYes, CatalogDocument::LoadResult::Loaded, u"Beta", u"Edited"},
  };
  for (const Row& r : rows) {
    putCatalog("_03FD_A.cct", {u"A", u"Alpha"});
    ASSERT_EQ(doc().load(u"_03FD_A.cct", true), CatalogDocument::LoadResult::Loaded);
    doc().list().setField(1, 0, u"Edited");
    doc().setModified(true);
    ui.calls.clear();
    ui.answers = {r.answer};
    EXPECT_EQ(doc().load(u"_03FD_B.cct", true), r.result) << r.what;
    ASSERT_GE(ui.messages().size(), 1u) << r.what;
    EXPECT_EQ(ui.messages()[0], CatalogDocument::SaveQuestion) << r.what;
    EXPECT_EQ(ui.calls[0].flags & mb::ButtonMask, mb::YesNoCancel) << r.what;
    EXPECT_EQ(doc().title(), r.shownTitle) << r.what;
    EXPECT_EQ(titleLineOf(catalogs / "_03FD_A.cct").second, r.titleOnDiskOfA) << r.what;
    doc().setModified(false);
  }
}

TEST_F(CatalogDocumentTest, ANewerTagIsWrittenBackAsCurrentKeepingTheTimeAndABackup) {
  putCatalog("_03FD_NEW.cct", {u"VOL", u"Newer"}, "CX");
  const std::string before = get(catalogs / "_03FD_NEW.cct");
  ASSERT_EQ(doc().load(u"_03FD_NEW.cct", true), CatalogDocument::LoadResult::Loaded);
  const std::string after = get(catalogs / "_03FD_NEW.cct");
  EXPECT_EQ(after.substr(0, 2), "BX");
  EXPECT_TRUE(after.substr(2) == before.substr(2));
  EXPECT_EQ(timeOf(catalogs / "_03FD_NEW.cct"), OldTime + OneSecond);
  EXPECT_TRUE(get(program / "Backup" / "_03FD_NEW.cct") == before);
  EXPECT_EQ(timeOf(program / "Backup" / "_03FD_NEW.cct"), OldTime);
  EXPECT_EQ(namesIn(catalogs), std::vector<std::string>{"_03FD_NEW.cct"});  // no pending file left

  // Without the full display nothing is written.
  putCatalog("_03FD_NEW2.cct", {u"VOL", u"Newer"}, "CX");
  ASSERT_EQ(doc().load(u"_03FD_NEW2.cct", false), CatalogDocument::LoadResult::Loaded);
  EXPECT_EQ(get(catalogs / "_03FD_NEW2.cct").substr(0, 2), "CX");
}

TEST_F(CatalogDocumentTest, KindCodesFollowAChangedIconTable) {
  IconTable icons;
  icons.BuildStandardTables();  // the standard table: a blank stamp
  RowStore store = catalogStore({u"A", u"Alpha"});
  store.setKind(2, 9);  // README.TXT with a code the current table would not give
  struct Row {
    const char* what;
    const char16_t* listStamp;
    int fileKind;
    const char16_t* stampAfter;
  } rows[] = {
      {"the list's stamp is the table's: kinds kept", u"            ", 9, u"            "},
      {"another stamp: kinds derived again", u"240131120000", icons.IconCodeOf(u"TXT"), u"            "},
  };
  for (const Row& r : rows) {
    listfile::Header header;
    header.iconStamp = r.listStamp;
    put("_03FD_A.cct", *listfile::build(store, header));
    document.reset();
    document.emplace(CatalogDocument::Services{platform, catalogs, program, *index, titles, &icons}, hooks);
    ASSERT_EQ(doc().load(u"_03FD_A.cct", true), CatalogDocument::LoadResult::Loaded);
    EXPECT_EQ(doc().list().kind(2), r.fileKind) << r.what;
    EXPECT_EQ(doc().list().kind(1), catalog::KindFolder) << r.what;
    EXPECT_EQ(doc().iconStamp(), r.stampAfter) << r.what;
    // Saved, the list carries the stamp its kinds follow.
    doc().setModified(true);
    ASSERT_TRUE(doc().save()) << r.what;
    EXPECT_EQ(get(catalogs / "_03FD_A.cct").substr(30, 12), std::string(12, ' ')) << r.what;
  }
  EXPECT_NE(icons.IconCodeOf(u"TXT"), 9);
}

// --- Save -------------------------------------------------------------------

TEST_F(CatalogDocumentTest, SaveReplacesTheFileAndTheIndexEntry) {
  putCatalog("_03fd_My Disk.CCT", {u"VOL", u"Old"});
  putCatalog("_00CD_OTHER.cct", {u"OTHER", u"Other"});
  indexHolds({{u"_03fd_my disk.cct", u"Old"}, {u"_00cd_other.cct", u"Other"}});
  ASSERT_EQ(doc().load(u"_03FD_My Disk.cct", true), CatalogDocument::LoadResult::Loaded);
  doc().list().setField(1, 0, u"New");
  doc().setModified(true);
  refreshed.clear();
  ASSERT_TRUE(doc().save());
  EXPECT_FALSE(doc().modified());
  // Written under the normalised name; the old spelling does not stay beside it.
  EXPECT_EQ(namesIn(catalogs), (std::vector<std::string>{"CatList.CCZ", "_00CD_OTHER.cct", "_03FD_My Disk.cct"}));
  EXPECT_EQ(doc().currentFile(), catalogs / "_03FD_My Disk.cct");
  EXPECT_EQ(titleLineOf(doc().currentFile()).second, u"New");
  EXPECT_TRUE(namesIn(program / "Backup").empty());
  EXPECT_FALSE(indexed(u"_03fd_my disk.cct"));  // entered again, with the new title, by the refresh
  EXPECT_TRUE(indexed(u"_00cd_other.cct"));
  EXPECT_EQ(refreshed, std::vector<Text>{u"_03FD_My Disk.cct"});
  EXPECT_EQ(genresOpened, std::vector<int>{3});
}

TEST_F(CatalogDocumentTest, AFailedSaveKeepsOldFileIndexEntryAndModifiedMark) {
  struct Row {
    const char* what;
    Op op;
    int code;
  } rows[] = {
      {"disk full", Op::Write, ENOSPC},
      {"no permission", Op::Write, EACCES},
  };
  for (const Row& r : rows) {
    putCatalog("_03FD_A.cct", {u"VOL", u"Old"});
    indexHolds({{u"_03fd_a.cct", u"Old"}});
    const std::string before = get(catalogs / "_03FD_A.cct");
    document.reset();
    ASSERT_EQ(doc().load(u"_03FD_A.cct", true), CatalogDocument::LoadResult::Loaded);
    doc().list().setField(1, 0, u"New");
    doc().setModified(true);
    ui.calls.clear();
    faulty.fail(r.op, r.code, catalogs / "_03FD_A.cct");
    EXPECT_FALSE(doc().save()) << r.what;
    EXPECT_TRUE(doc().modified()) << r.what;
    EXPECT_TRUE(get(catalogs / "_03FD_A.cct") == before) << r.what;
    EXPECT_TRUE(indexed(u"_03fd_a.cct")) << r.what;
    ASSERT_EQ(ui.messages().size(), 1u) << r.what;
    EXPECT_EQ(ui.messages()[0].substr(0, CatalogDocument::WriteFailedMessage.size()),
              CatalogDocument::WriteFailedMessage)
        << r.what;
    faulty.clearFaults();
  }
}

TEST_F(CatalogDocumentTest, APartWrittenFileNeverReplacesTheOldOne) {
  LinuxFileSystem fillingDisk(failingWriter(100, ENOSPC));
  FaultyFileSystem files(fillingDisk);
  Platform full{files, ui};
  CatalogIndex fullIndex{files, catalogs};
  putCatalog("_03FD_A.cct", {u"VOL", u"Old"});
  const std::string before = get(catalogs / "_03FD_A.cct");
  CatalogDocument d({full, catalogs, program, fullIndex, titles});
  ASSERT_EQ(d.load(u"_03FD_A.cct", true), CatalogDocument::LoadResult::Loaded);
  d.setModified(true);
  EXPECT_FALSE(d.save());
  EXPECT_TRUE(d.modified());
  EXPECT_TRUE(get(catalogs / "_03FD_A.cct") == before);
  EXPECT_EQ(namesIn(catalogs), std::vector<std::string>{"_03FD_A.cct"});
}

TEST_F(CatalogDocumentTest, SaveRefusesListsBeyondTheFileLimits) {
  struct Row {
    const char* what;
    std::size_t rows;
    std::size_t longRecord;  // characters of field 1 of the title line
    bool saved;
    TextView message;
  } rows[] = {
      {"1,048,575 rows are saved", 0xFFFFF, 0, true, u""},
      {"1,048,576 rows are refused", 0x100000, 0, false, CatalogDocument::TooManyRowsMessage},
      {"16,777,216 heap characters are refused", 1, 0xFFFFFF, false, CatalogDocument::TooManyCharactersMessage},
  };
  for (const Row& r : rows) {
    putCatalog("_03FD_BIG.cct", {u"VOL", u"Big"});
    const std::string before = get(catalogs / "_03FD_BIG.cct");
    document.reset();
    ASSERT_EQ(doc().load(u"_03FD_BIG.cct", true), CatalogDocument::LoadResult::Loaded);
    // Title line "VOL" + title, then rows of a bare marker: built in one piece.
    Text heap = u"\x10VOL\x11" + Text(r.longRecord, u'x');
    heap.append(r.rows - 1, record::FirstMarker);
    heap += ch::Null;
    ASSERT_TRUE(doc().list().loadBlocks(heap, std::string(r.rows, '\x01'), "", "", ""));
    doc().setModified(true);
    ui.calls.clear();
    EXPECT_EQ(doc().save(), r.saved) << r.what;
    if (r.saved) {
      RowStore back;
      ASSERT_EQ(listfile::parse(get(catalogs / "_03FD_BIG.cct"), back).status, listfile::ReadStatus::Ok);
      EXPECT_EQ(static_cast<std::size_t>(back.rowCount()), r.rows) << r.what;
      EXPECT_TRUE(ui.messages().empty()) << r.what;
    } else {
      EXPECT_TRUE(get(catalogs / "_03FD_BIG.cct") == before) << r.what;
      EXPECT_EQ(ui.messages(), std::vector<Text>{Text(r.message)}) << r.what;
      EXPECT_TRUE(doc().modified()) << r.what;
    }
  }
}

TEST_F(CatalogDocumentTest, SaveAsksForATitleOnlyWhenTitleAndLabelAreEmpty) {
  struct Row {
    const char* what;
    Title line;
    std::deque<Text> inputs;
    bool saved;
    int inputsAsked;
    std::vector<Text> messages;
    const char16_t* titleOnDisk;
  } rows[] = {
      {"a label is enough", {u"VOL", u""}, {}, true, 0, {}, u""},
      {"a title is enough", {u"", u"Title"}, {}, true, 0, {}, u"Title"},
      {"both empty: the title asked for is saved", {u"", u""}, {u"Given"}, true, 1, {}, u"Given"},
      {"both empty, no title given: not saved, said why",
       {u"", u""},
       {u""},
       false,
       1,
       {Text(CatalogDocument::TitleRequiredMessage)},
       u"Old"},
  };
  for (const Row& r : rows) {
    putCatalog("_03FD_T.cct", {u"VOL", u"Old"});
    document.reset();
    ASSERT_EQ(doc().load(u"_03FD_T.cct", true), CatalogDocument::LoadResult::Loaded);
    doc().list().setField(0, 0, r.line.label);
    doc().list().setField(1, 0, r.line.title);
    doc().setModified(true);
    ui.calls.clear();
    ui.inputs = r.inputs;
    EXPECT_EQ(doc().save(), r.saved) << r.what;
    EXPECT_EQ(ui.count(FakeUi::Kind::Input), r.inputsAsked) << r.what;
    EXPECT_EQ(ui.messages(), r.messages) << r.what;  // never the change-title question
    EXPECT_EQ(doc().modified(), !r.saved) << r.what;
    EXPECT_EQ(titleLineOf(catalogs / "_03FD_T.cct").second, r.titleOnDisk) << r.what;
  }
}

TEST_F(CatalogDocumentTest, ChangeTitleAsksAboutAModifiedListFirst) {
  struct Row {
    const char* what;
    bool modified;
    std::deque<int> answers;
    std::deque<Text> inputs;
    bool saved;
    int questions;
    const char16_t* shownTitle;
    const char16_t* titleOnDisk;
  } rows[] = {
      {"modified, No: nothing changes", true, {AnswerNo}, {u"New"}, false, 1, u"Edited", u"Old"},
      {"modified, Yes and a title: saved at once", true, {AnswerYes}, {u"New"}, true, 1, u"New", u"New"},
      {"not modified: no question", false, {}, {u"New"}, true, 0, u"New", u"New"},
      {"no title given: nothing changes", false, {}, {u""}, false, 0, u"Old", u"Old"},
  };
  for (const Row& r : rows) {
    putCatalog("_03FD_T.cct", {u"VOL", u"Old"});
    document.reset();
    ASSERT_EQ(doc().load(u"_03FD_T.cct", true), CatalogDocument::LoadResult::Loaded);
    if (r.modified) {
      doc().list().setField(1, 0, u"Edited");
      doc().setModified(true);
    }
    ui.calls.clear();
    ui.answers = r.answers;
    ui.inputs = r.inputs;
    refreshed.clear();
    EXPECT_EQ(doc().changeTitle(), r.saved) << r.what;
    EXPECT_EQ(ui.count(FakeUi::Kind::Message), r.questions) << r.what;
    if (r.questions) {
      EXPECT_EQ(ui.calls[0].text, CatalogDocument::ChangeTitleQuestion) << r.what;
      EXPECT_EQ(ui.calls[0].flags, mb::YesNo | mb::IconQuestion) << r.what;
    }
    EXPECT_EQ(doc().title(), r.shownTitle) << r.what;
    EXPECT_EQ(doc().modified(), r.modified && !r.saved) << r.what;
    EXPECT_EQ(titleLineOf(catalogs / "_03FD_T.cct").second, r.titleOnDisk) << r.what;
    EXPECT_EQ(refreshed.size(), r.saved ? 1u : 0u) << r.what;  // the selection window shows the new title
  }
  // The input box as the user sees it.
  const auto input = std::find_if(ui.calls.begin(), ui.calls.end(),
                                  [](const FakeUi::Call& c) { return c.kind == FakeUi::Kind::Input; });
  ASSERT_NE(input, ui.calls.end());
  EXPECT_EQ(input->text, CatalogDocument::ChangeTitlePrompt);
  EXPECT_EQ(input->title, CatalogDocument::ChangeTitleCaption);
}

// --- Write list file ----------------------------------------------------------

TEST_F(CatalogDocumentTest, KeepTimeGivesTheNewFileTheOldTimePlusOneSecond) {
  putCatalog("_03FD_K.cct", {u"VOL", u"Keep"});
  const std::string before = get(catalogs / "_03FD_K.cct");
  put("../Backup/_03FD_K.cct", "an older backup");
  ASSERT_EQ(doc().load(u"_03FD_K.cct", true), CatalogDocument::LoadResult::Loaded);
  doc().list().setField(1, 0, u"Changed");
  const std::optional<NativePath> written = doc().writeListFile(catalogs / "_03fd_K.CCT", true);
  ASSERT_TRUE(written);
  EXPECT_EQ(*written, catalogs / "_03FD_K.cct");
  EXPECT_EQ(timeOf(*written), OldTime + OneSecond);
  EXPECT_EQ(titleLineOf(*written).second, u"Changed");
  EXPECT_TRUE(get(program / "Backup" / "_03FD_K.cct") == before);  // replaced the older copy
  EXPECT_GE(faulty.calls(Op::SetModified), 1);
}

TEST_F(CatalogDocumentTest, AFailedKeepTimeWriteTouchesNothing) {
  struct Row {
    const char* what;
    Op op;
    Op also = Op::Stat;  // a second failure; Stat: none
  } rows[] = {
      {"the new file cannot be written", Op::Write},
      {"its time cannot be set", Op::SetModified},
      // The old list never leaves its name: nothing has to be put back.
      {"it cannot take the name, nor can anything be copied", Op::Rename, Op::Copy},
  };
  for (const Row& r : rows) {
    putCatalog("_03FD_K.cct", {u"VOL", u"Keep"});
    const std::string before = get(catalogs / "_03FD_K.cct");
    document.reset();
    ASSERT_EQ(doc().load(u"_03FD_K.cct", true), CatalogDocument::LoadResult::Loaded);
    ui.calls.clear();
    faulty.fail(r.op, EIO);
    if (r.also != Op::Stat) faulty.fail(r.also, EIO);
    EXPECT_FALSE(doc().writeListFile(catalogs / "_03FD_K.cct", true)) << r.what;
    EXPECT_TRUE(get(catalogs / "_03FD_K.cct") == before) << r.what;
    EXPECT_EQ(timeOf(catalogs / "_03FD_K.cct"), OldTime) << r.what;
    EXPECT_TRUE(namesIn(program / "Backup").empty()) << r.what;
    EXPECT_EQ(namesIn(catalogs), std::vector<std::string>{"_03FD_K.cct"}) << r.what;
    EXPECT_EQ(ui.messages().size(), r.also == Op::Stat ? 1u : 2u) << r.what;
    faulty.clearFaults();
  }
}

TEST_F(CatalogDocumentTest, NamesCp932CannotHoldSurviveWriteAndRead) {
  // An emoji in the file name and in a row; 0x5C trail bytes in the label.
  const std::string name = "_03CD_\xF0\x9F\x98\x80 表ソ.cct";
  RowStore store = catalogStore({u"表ソ能\\", u"絵文字"}, u"\U0001F600.png");
  put(name, fileBytes(store));
  ASSERT_EQ(doc().load(cp932::fromNativeName(name), true), CatalogDocument::LoadResult::Loaded);
  EXPECT_EQ(doc().list().field(0, 2), u"\U0001F600.png");
  doc().setModified(true);
  ASSERT_TRUE(doc().save());
  EXPECT_EQ(doc().currentFile(), catalogs / name);
  const std::string bytes = get(catalogs / name);
  EXPECT_NE(bytes.find("&#x1F600;.png"), std::string::npos);
  document.reset();
  ASSERT_EQ(doc().load(cp932::fromNativeName(name), true), CatalogDocument::LoadResult::Loaded);
  EXPECT_EQ(doc().list().field(0, 2), u"\U0001F600.png");
  EXPECT_EQ(doc().list().field(0, 0), u"表ソ能\\");
  EXPECT_EQ(doc().list().field(0, 1), u"表ソ能");
}

// --- Relabel ------------------------------------------------------------------

TEST_F(CatalogDocumentTest, RelabelRenamesOnlyTheCatalogsOfTheMedium) {
  struct File {
    const char* before;
    const char* after;  // nullptr: left alone
    const char16_t* label = u"My Disk";
  } files[] = {
      {"_03FD_My Disk.cct", "_03FD_A&B.cct"},
      {"_03FD_My Disk SOFT&TOOLS.cct", "_03FD_A&B SOFT&TOOLS.cct"},
      {"_03fd_my disk-02.CCT", "_03FD_A&B-02.cct"},
      {"_03FD_My Stuff.cct", nullptr},
      {"_03FD_My DiskX.cct", nullptr},
      {"_03FD_My Disk-123.cct", nullptr},
      {"_04FD_My Disk.cct", nullptr},
      {"_03CD_My Disk.cct", nullptr},
      {"_03FD_My Disk Two.cct", nullptr, u"My Disk Two"},  // another medium, not a folder "Two"
  };
  std::vector<CatalogIndexEntry> entries;
  for (const File& f : files) {
    putCatalog(f.before, {f.label, u"Title"});
    entries.push_back({asciiLower(cp932::fromNativeName(f.before)), u"Title"});
  }
  indexHolds(entries);
  ASSERT_EQ(doc().load(u"_03FD_My Disk.cct", true), CatalogDocument::LoadResult::Loaded);
  refreshed.clear();

  EXPECT_TRUE(doc().relabel('E', u"My Disk", u"A/B"));
  for (const File& f : files) {
    const char* now = f.after ? f.after : f.before;
    ASSERT_TRUE(fs::exists(catalogs / now)) << now;
    EXPECT_EQ(titleLineOf(catalogs / now).first, f.after ? u"A/B" : f.label) << now;
    if (f.after) {
      EXPECT_FALSE(fs::exists(catalogs / f.before)) << f.before;
    }
    EXPECT_EQ(indexed(asciiLower(cp932::fromNativeName(f.before))), f.after == nullptr) << f.before;
  }
  EXPECT_EQ(doc().currentFile(), catalogs / "_03FD_A&B.cct");
  EXPECT_EQ(doc().list().field(0, 0), u"A/B");  // shown again from its new file
  EXPECT_EQ(titles.title('E'), u"A/B");
  EXPECT_EQ(std::count(refreshed.begin(), refreshed.end(), u"_03FD_A&B-02.cct"), 1);
}

TEST_F(CatalogDocumentTest, RelabelNeverReplacesAnotherCatalog) {
  putCatalog("_03FD_Old.cct", {u"Old", u"Mine"});
  putCatalog("_03FD_Old-02.cct", {u"Old", u"Copy"});
  putCatalog("_03fd_new-02.cct", {u"New", u"Someone else's"});
  ASSERT_EQ(doc().load(u"_03FD_Old.cct", true), CatalogDocument::LoadResult::Loaded);
  ui.calls.clear();
  EXPECT_FALSE(doc().relabel('E', u"Old", u"New"));
  EXPECT_EQ(namesIn(catalogs), (std::vector<std::string>{"_03FD_Old-02.cct", "_03FD_Old.cct", "_03fd_new-02.cct"}));
  EXPECT_EQ(titleLineOf(catalogs / "_03fd_new-02.cct").second, u"Someone else's");
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(ui.messages()[0].substr(0, CatalogDocument::RelabelTargetExistsMessage.size()),
            CatalogDocument::RelabelTargetExistsMessage);
  EXPECT_EQ(doc().currentFile(), catalogs / "_03FD_Old.cct");
}

TEST_F(CatalogDocumentTest, RelabelKeepsTheOldFileWhenTheNewCannotBeWritten) {
  putCatalog("_03FD_Old.cct", {u"Old", u"Mine"});
  ASSERT_EQ(doc().load(u"_03FD_Old.cct", true), CatalogDocument::LoadResult::Loaded);
  faulty.fail(Op::Write, ENOSPC, catalogs / "_03FD_New.cct");
  EXPECT_FALSE(doc().relabel('E', u"Old", u"New"));
  EXPECT_EQ(namesIn(catalogs), std::vector<std::string>{"_03FD_Old.cct"});
  EXPECT_EQ(titleLineOf(catalogs / "_03FD_Old.cct").first, u"Old");
  EXPECT_EQ(doc().currentFile(), catalogs / "_03FD_Old.cct");
}

TEST_F(CatalogDocumentTest, RelabelOnlyChangingCaseKeepsOneFile) {
  putCatalog("_03FD_disk.cct", {u"disk", u"Mine"});
  ASSERT_EQ(doc().load(u"_03FD_disk.cct", true), CatalogDocument::LoadResult::Loaded);
  EXPECT_TRUE(doc().relabel('E', u"disk", u"DISK"));
  EXPECT_EQ(namesIn(catalogs), std::vector<std::string>{"_03FD_DISK.cct"});
  EXPECT_EQ(titleLineOf(catalogs / "_03FD_DISK.cct").first, u"DISK");
}

// --- Find the catalog of a medium -----------------------------------------------

TEST_F(CatalogDocumentTest, FindsTheCatalogOfAMediumByKindAndLabel) {
  putCatalog("_00CD_GAMES.cct", {u"Games", u"CD games"});
  putCatalog("_01FD_GAMES.cct", {u"GAMES", u"Floppy games"});
  putCatalog("_02FD_games-01.cct", {u"games", u"Second floppy"});
  putCatalog("_00HD_NEWER.cct", {u"NEWER", u"Newer tag"}, "CX");
  putCatalog("_00HD_表ソ.cct", {u"表ソ", u"Japanese"});
  put("_00HD_BROKEN.cct", "BX0000");
  struct Row {
    const char* what;
    const char16_t* kind;
    const char16_t* title;
    std::optional<Text> found;
  } rows[] = {
      {"label ignoring case, kind CD", u"CD", u"GAMES", Text(u"_00CD_GAMES.cct")},
      {"first in listing order", u"FD", u"GAMES", Text(u"_01FD_GAMES.cct")},
      {"Japanese label", u"HD", u"表ソ", Text(u"_00HD_表ソ.cct")},
      {"a file of another tag is skipped", u"HD", u"NEWER", std::nullopt},
      {"no catalog of that kind", u"CD", u"表ソ", std::nullopt},
  };
  for (const Row& r : rows) {
    ui.calls.clear();
    EXPECT_EQ(doc().findCatalogOfMedium(r.kind, r.title), r.found) << r.what;
    EXPECT_EQ(ui.messages(),
              r.found ? std::vector<Text>{} : std::vector<Text>{Text(CatalogDocument::MediumCatalogNotFoundMessage)})
        << r.what;
  }
}

}  // namespace
}  // namespace zevro
