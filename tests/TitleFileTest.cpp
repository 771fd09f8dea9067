#include "media/TitleFile.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "MediaFixture.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

namespace fs = std::filesystem;

class TitleFileTest : public test::MediaFixture {
protected:
  TitleFile titleFile{info, ui, [this](const NativePath& p) {
                        hidden.push_back(p);
                        return IoError{};
                      }};
  std::vector<NativePath> hidden;

  // The prompt of the plain question: each line after its colour code.
  static Text plainPrompt() {
    Text prompt;
    prompt += char16_t{1};
    prompt += TitleFile::QuestionLine1;
    prompt += char16_t{2};
    prompt += TitleFile::QuestionLine2;
    prompt += char16_t{5};
    prompt += TitleFile::QuestionLine3;
    return prompt;
  }
};

TEST_F(TitleFileTest, TitleIsTheFirstLineUpToTheFirstComma) {
  struct Row {
    const char* bytes;  // CP932
    const char16_t* title;
  } rows[] = {
      {"My Disk\r\n", u"My Disk"},
      {"My Disk", u"My Disk"},
      {"My Disk,2\r\n", u"My Disk"},
      {"A,B,C", u"A"},
      {",x\r\n", u""},
      {"first\nsecond\n", u"first"},
      {"first\rsecond", u"first"},
      {"\x95\x5C\x8E\xA6 01\r\n", u"表示 01"},  // 表's second byte is "\"
      {"", u""},
  };
  for (const Row& row : rows) EXPECT_EQ(TitleFile::titleOfFile(row.bytes), row.title) << row.bytes;
}

TEST_F(TitleFileTest, OldTitleFileIsTakenOver) {
  struct Row {
    const char* what;
    std::optional<std::string> oldFile, newFile;  // contents of VolName.DAT and VolName.txt before
    std::optional<Text> title;
    std::vector<std::string> namesAfter;
  } rows[] = {
      {"only the old file: renamed", "OLD\r\n", std::nullopt, u"OLD", {"VolName.txt"}},
      {"both: the old one goes", "OLD\r\n", "NEW\r\n", u"NEW", {"VolName.txt"}},
      {"only the new file", std::nullopt, "NEW\r\n", u"NEW", {"VolName.txt"}},
      {"none", std::nullopt, std::nullopt, std::nullopt, {}},
      {"an empty title is no title", std::nullopt, ",x\r\n", std::nullopt, {"VolName.txt"}},
  };
  int n = 0;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const std::string folder = "medium" + std::to_string(n++);
    fs::create_directories(path(folder));
    if (row.oldFile) put(folder + "/VolName.DAT", *row.oldFile);
    if (row.newFile) put(folder + "/VolName.txt", *row.newFile);
    EXPECT_EQ(titleFile.storedTitle(path(folder)), row.title);
    EXPECT_EQ(namesIn(folder), row.namesAfter);
  }
}

TEST_F(TitleFileTest, OldTitleFileOfAnotherCaseIsTakenOver) {
  addDrive('A', drivetype::Removable, u"");
  put("drive-A/volname.dat", "LOWER\r\n");
  EXPECT_EQ(titleFile.ReadTitleFile(u"A:"), u"LOWER");
  EXPECT_EQ(namesIn("drive-A"), std::vector<std::string>{"VolName.txt"});
  EXPECT_EQ(ui.count(FakeUi::Kind::Input), 0);
}

TEST_F(TitleFileTest, StoredTitleIsReadWithoutAsking) {
  addDrive('A', drivetype::Removable, u"LABEL");
  put("drive-A/VolName.txt", "My Disk\r\n");
  EXPECT_EQ(titleFile.ReadTitleFile(u"a:\\DOCS"), u"My Disk");
  EXPECT_EQ(titles.title('A'), u"My Disk");
  EXPECT_TRUE(ui.calls.empty());
}

TEST_F(TitleFileTest, MissingTitleIsAskedForAndWritten) {
  struct Row {
    const char* what;
    const char16_t* answer;
    const char16_t* title;
    std::optional<std::string> written;  // VolName.txt afterwards
  } rows[] = {
      {"a title", u"My Disk", u"My Disk", "My Disk\r\n"},
      {"Japanese", u"表示ディスク", u"表示ディスク", cp932::encode(u"表示ディスク") + "\r\n"},
      {"cancelled", u"", u"", std::nullopt},
      // the answer is kept as typed; the title is what reads back from it
      {"a comma", u"Disk 1, backup", u"Disk 1", "Disk 1, backup\r\n"},
      {"only after a comma", u",x", u"", std::nullopt},
  };
  int n = 0;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const char letter = static_cast<char>('A' + n++);
    const Text drive{static_cast<char16_t>(letter), u':'};
    const NativePath root = addDrive(letter, drivetype::Removable, u"LABEL");
    ui.calls.clear();
    hidden.clear();
    ui.inputs.push_back(row.answer);
    EXPECT_EQ(titleFile.ReadTitleFile(drive), row.title);
    ASSERT_EQ(ui.calls.size(), 1u);
    EXPECT_EQ(ui.calls[0].kind, FakeUi::Kind::Input);
    EXPECT_EQ(ui.calls[0].text, plainPrompt());
    EXPECT_EQ(ui.calls[0].title, TitleFile::QuestionCaption);
    const std::string name = root.filename().string() + "/VolName.txt";
    EXPECT_EQ(there(name), row.written.has_value());
    if (!row.written) continue;
    EXPECT_EQ(get(name), *row.written);
    EXPECT_EQ(hidden, std::vector<NativePath>{root / "VolName.txt"});
    EXPECT_EQ(titles.title(letter), row.title);
  }
}

TEST_F(TitleFileTest, TitleWithACommaIsFoundAgain) {
  addDrive('A', drivetype::Removable, u"LABEL");
  ui.inputs.push_back(u"Disk 1, backup");
  const Text title = titleFile.ReadTitleFile(u"A:");
  // Later the medium is looked for by the title shown for the drive.
  titles.setTitle('A', u"");
  EXPECT_EQ(titleFile.DisplayTitle(u"A:"), title);
  EXPECT_EQ(titleFile.ReadTitleFile(u"A:"), title);
  EXPECT_EQ(ui.count(FakeUi::Kind::Input), 1);
}

TEST_F(TitleFileTest, WriteProtectedMediumAsksToRetry) {
  struct Row {
    const char* what;
    int failures;
    std::vector<int> answers;
    const char16_t* title;
    int messages;
  } rows[] = {
      {"cancel gives up", -1, {AnswerCancel}, u"", 1},
      {"OK tries again", 1, {AnswerOk}, u"My Disk", 1},
      {"twice", 2, {AnswerOk, AnswerOk}, u"My Disk", 2},
  };
  int n = 0;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const char letter = static_cast<char>('A' + n++);
    const NativePath root = addDrive(letter, drivetype::Removable, u"");
    ui.calls.clear();
    ui.inputs.push_back(u"My Disk");
    ui.answers.assign(row.answers.begin(), row.answers.end());
    files.clearFaults();
    files.fail(FaultyFileSystem::Op::Write, EROFS, {}, row.failures);
    EXPECT_EQ(titleFile.ReadTitleFile(Text{static_cast<char16_t>(letter), u':'}), row.title);
    const std::vector<Text> messages = ui.messages();
    ASSERT_EQ(static_cast<int>(messages.size()), row.messages);
    for (const FakeUi::Call& call : ui.calls) {
      if (call.kind != FakeUi::Kind::Message) continue;
      EXPECT_EQ(call.text, TitleFile::MsgWriteProtected);
      EXPECT_EQ(call.flags, mb::OkCancel | mb::DefaultSecond);
    }
    EXPECT_EQ(there(root.filename().string() + "/VolName.txt"), *row.title != u'\0');
  }
}

TEST_F(TitleFileTest, ReplacingATitleKeepsTheOldFileUntilTheNewIsComplete) {
  addDrive('A', drivetype::Removable, u"");
  put("drive-A/VolName.txt", "OLD\r\n");
  files.fail(FaultyFileSystem::Op::Write, EROFS, {}, -1);
  ui.answers.push_back(AnswerCancel);
  EXPECT_FALSE(titleFile.WriteTitleFile(u"A:", u"NEW"));
  EXPECT_EQ(get("drive-A/VolName.txt"), "OLD\r\n");
  files.clearFaults();
  EXPECT_TRUE(titleFile.WriteTitleFile(u"A:", u"NEW"));
  EXPECT_EQ(get("drive-A/VolName.txt"), "NEW\r\n");
  EXPECT_EQ(titles.title('A'), u"NEW");
}

TEST_F(TitleFileTest, ChangingAKnownTitleShowsIt) {
  ui.inputs.push_back(u"Neu");
  EXPECT_EQ(titleFile.askTitle(u"Alt"), u"Neu");
  Text expected = plainPrompt();
  expected += char16_t{0};
  expected += TitleFile::QuestionCurrent;
  expected += u"Alt";
  ASSERT_EQ(ui.calls.size(), 1u);
  EXPECT_EQ(ui.calls[0].text, expected);
  EXPECT_EQ(TitleFile::titlePrompt(u""), plainPrompt());
}

TEST_F(TitleFileTest, TitleOfOtherKinds) {
  addDrive('D', drivetype::CdRom, u"GAMES");
  addDrive('E', drivetype::CdRom, u"");
  fs::create_directories(path("drive-E/DATA"));
  fs::create_directories(path("drive-E/SETUP"));
  addDrive('F', drivetype::Fixed, u"WORK");
  put("drive-F/VolName.txt", "IGNORED\r\n");
  addEmptyDrive('G', drivetype::Removable);
  struct Row {
    const char16_t* drive;
    const char16_t* title;
  } rows[] = {
      {u"D:", u"GAMES"},      // CD: its label
      {u"E:", u"DATASETUP"},  // CD without a label: the synthetic label
      {u"F:", u""},           // fixed disks have no title
      {u"G:", u""},           // nothing in the drive
  };
  for (const Row& row : rows) EXPECT_EQ(titleFile.ReadTitleFile(row.drive), row.title) << toUtf8(row.drive);
  EXPECT_TRUE(ui.calls.empty());
}

TEST_F(TitleFileTest, DisplayTitleByDriveType) {
  addDrive('A', drivetype::Removable, u"LABEL");
  put("drive-A/VolName.txt", "My Disk,x\r\n");
  addDrive('B', drivetype::Removable, u"LABEL");
  addDrive('C', drivetype::Removable, u"");
  addDrive('D', drivetype::Fixed, u"WORK");
  addDrive('E', drivetype::CdRom, u"GAMES");
  addDrive('F', drivetype::CdRom, u"Audio CD", 0x1A2B3C4Du, true);
  addDrive('G', drivetype::CdRom, u"");
  fs::create_directories(path("drive-G/DATA"));
  fs::create_directories(path("drive-G/SETUP"));
  addDrive('H', drivetype::Network, u"SHARE");
  addDrive('I', drivetype::Changing, u"");
  put("drive-I/VolName.DAT", "OLD TITLE\r\n");
  struct Row {
    char letter;
    Text title;
  } rows[] = {
      {'A', u"My Disk"},      // removable: the title file, by the comma rule
      {'B', u"LABEL"},        // removable without a title file: the label
      {'C', Text(1, u'\0')},  // neither: one character 0, never an empty entry
      {'D', u"WORK"},         // fixed disk: the label
      {'E', u"GAMES"},
      {'F', u"CDA1A2B3C4D"},  // audio CD: its identity
      {'G', u"DATASETUP"},    // CD without a label: the synthetic label
      {'H', u""},             // other types: nothing
      {'I', u"OLD TITLE"},    // a changing drive is removable; the old file is taken over
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.letter);
    titles.setTitle(row.letter, u"STALE");
    EXPECT_EQ(titleFile.DisplayTitle(Text{static_cast<char16_t>(row.letter), u':'}), row.title);
    EXPECT_EQ(titles.title(row.letter), row.title);
  }
  EXPECT_EQ(namesIn("drive-I"), std::vector<std::string>{"VolName.txt"});
}

}  // namespace
}  // namespace zevro
