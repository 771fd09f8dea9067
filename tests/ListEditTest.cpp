#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/CatalogList.h"
#include "listview/ListEdit.h"
#include "platform/LinuxFileSystem.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

using namespace listedit;

struct Row {
  TextView name, comment, date, size, flag;
  int kind;
  int level;
  TextView medium = {};
};

// 0 title, 1 DOCS (folder), 2 README.TXT, 3 TOOLS.ZIP (archive), 4 X.TXT (member), 5 OLD (no flag char)
RowStore makeCatalog() {
  RowStore s;
  const Row rows[] = {
      {u"DISC", u"Games", u"", u"100", u"0", catalog::KindTitleCD, 0},
      {u"DOCS", u"", u"", u"100", u"0", catalog::KindFolder, 1},
      {u"README.TXT", u"Read me", u"03/04/05 12:34", u"10", u"0", catalog::KindFile, 2},
      {u"TOOLS.ZIP", u"", u"", u"50", u"0", catalog::KindArchiveFolder, 2},
      {u"X.TXT", u"member", u"", u"5", u"0", catalog::KindFile, 3},
      {u"OLD.DOC", u"", u"", u"1", u"", catalog::KindFile, 2},
  };
  for (const Row& r : rows) {
    const Text rec = r.flag.empty() ? catalog::buildRecord({r.name, r.comment, r.date, r.size})
                                    : catalog::buildRecord({r.name, r.comment, r.date, r.size, r.flag});
    s.appendShown(rec, 0, 0, r.kind, r.level);
  }
  s.setModified(false);
  return s;
}

TEST(ListEditNormalise, ControlCodesBecomeBlanksAndBreaksBecomeCrLf) {
  struct Case {
    Text in;
    Text out;
  } cases[] = {
      {Text(u"a\0b", 3), u"a b"},
      {u"x\x10y\x1Fz", u"x y z"},
      {u"\x03\x04\x05", u"   "},
      {u"tab\there", u"tab\there"},
      {u"a\rb", u"a\r\nb"},
      {u"a\nb", u"a\r\nb"},
      {u"a\r\nb\n\rc", u"a\r\nb\r\n\r\nc"},
      {u"plain", u"plain"},
  };
  for (const Case& c : cases) EXPECT_EQ(normaliseEntered(c.in), c.out);
}

TEST(ListEditDate, OnlyDateCharactersPass) {
  EXPECT_TRUE(dateAllowed(u"99/12/31 23:59"));
  EXPECT_TRUE(dateAllowed(u"+1-2 x3×(4)[5]'6\"7.8:9"));
  EXPECT_TRUE(dateAllowed(u""));
  EXPECT_FALSE(dateAllowed(u"99/12/31a"));
  EXPECT_FALSE(dateAllowed(u"１２"));
  EXPECT_EQ(DateMessage, u"半角数字と /：.+-x×()[]’\"以外の文字は登録できません");
}

TEST(ListEditFlags, MissingOrInvalidFlagCountsAsNone) {
  RowStore s = makeCatalog();
  EXPECT_EQ(flagBits(s, 5), 0);  // no field 4 at all
  s.setField(4, 2, u"\x02");
  EXPECT_EQ(flagBits(s, 2), 0);
  s.setField(4, 2, u"5");
  EXPECT_EQ(flagBits(s, 2), 5);
  EXPECT_EQ(flagText(0), u"0");
  EXPECT_EQ(flagText(15), u"?");
}

struct CommitCase {
  const char* what;
  int row;
  int column;
  Text typed;
  bool ok;
  bool beep;
  Text message;
  Text field;  // the field afterwards
  Text flag;
  Text medium;
};

TEST(ListEditCommit, ListOnlyCatalogRows) {
  const CommitCase cases[] = {
      {"comment", 2, 1, u"New", true, false, u"", u"New", u"2", u""},
      {"comment with NUL", 2, 1, Text(u"a\0b", 3), true, false, u"", u"a b", u"2", u""},
      {"date", 2, 2, u"99/12/31 23:59", true, false, u"", u"99/12/31 23:59", u"4", u""},
      {"bad date", 2, 2, u"yesterday", false, false, Text(DateMessage), u"03/04/05 12:34", u"0", u""},
      {"rename, no extension added", 2, 0, u"NOTES", true, false, u"", u"NOTES", u"1", u"README.TXT"},
      {"rename changes extension", 2, 0, u"NOTES.DOC", false, false, Text(ExtensionChangedMessage), u"README.TXT",
       u"0", u""},
      {"rename keeps extension in other case", 2, 0, u"NOTES.txt", true, false, u"", u"NOTES.txt", u"1",
       u"README.TXT"},
      {"no base name", 2, 0, u".TXT", false, true, u"", u"README.TXT", u"0", u""},
      {"folder name", 1, 0, u"X", false, true, u"", u"DOCS", u"0", u""},
      {"title comment", 0, 1, u"New title", true, false, u"", u"New title", u"2", u""},
      {"row without flag char", 5, 1, u"c", true, false, u"", u"c", u"2", u""},
      {"same text stores nothing", 2, 1, u"Read me", true, false, u"", u"Read me", u"0", u""},
      {"size column stores nothing", 2, 3, u"99", true, false, u"", u"10", u"0", u""},
  };
  for (const CommitCase& c : cases) {
    SCOPED_TRACE(c.what);
    RowStore s = makeCatalog();
    const CommitResult r = CommitEdit({&s, c.row, nullptr, -1, c.column}, c.typed, RenameMode::ListOnly, nullptr);
    EXPECT_EQ(r.ok, c.ok);
    EXPECT_EQ(r.beep, c.beep);
    EXPECT_EQ(r.message, c.message);
    EXPECT_EQ(s.field(c.column, c.row), c.field);
    EXPECT_EQ(s.field(4, c.row), c.row == 5 && !r.stored ? u"" : c.flag);
    EXPECT_EQ(s.field(5, c.row), c.medium);
    EXPECT_EQ(s.modified(), r.stored);
  }
}

TEST(ListEditCommit, RenameBackToMediumNameEmptiesFieldFiveKeepsBit) {
  RowStore s = makeCatalog();
  ASSERT_TRUE(CommitEdit({&s, 2, nullptr, -1, 0}, u"NOTES", RenameMode::ListOnly, nullptr).ok);
  ASSERT_TRUE(CommitEdit({&s, 2, nullptr, -1, 0}, u"README.TXT", RenameMode::ListOnly, nullptr).ok);
  EXPECT_EQ(s.field(0, 2), u"README.TXT");
  EXPECT_EQ(s.field(5, 2), u"");
  EXPECT_EQ(s.field(4, 2), u"1");
  // An empty name goes back to the medium name.
  ASSERT_TRUE(CommitEdit({&s, 2, nullptr, -1, 0}, u"OTHER.TXT", RenameMode::ListOnly, nullptr).ok);
  ASSERT_TRUE(CommitEdit({&s, 2, nullptr, -1, 0}, u"", RenameMode::ListOnly, nullptr).ok);
  EXPECT_EQ(s.field(0, 2), u"README.TXT");
}

TEST(ListEditCommit, PaneEditReachesBothStores) {
  RowStore cat = makeCatalog();
  RowStore pane;
  pane.appendShown(cat.record(2), 0, 0, catalog::KindFile, 0);
  const CommitResult r = CommitEdit({&cat, 2, &pane, 0, 1}, u"both", RenameMode::ListOnly, nullptr);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(cat.field(1, 2), u"both");
  EXPECT_EQ(pane.field(1, 0), u"both");
  EXPECT_EQ(pane.field(4, 0), u"2");
  ASSERT_TRUE(CommitEdit({&cat, 2, &pane, 0, 0}, u"NOTES", RenameMode::ListOnly, nullptr).ok);
  EXPECT_EQ(pane.field(0, 0), u"NOTES");
  EXPECT_EQ(pane.field(5, 0), u"README.TXT");
  EXPECT_EQ(cat.field(5, 2), u"README.TXT");
  EXPECT_EQ(cat.field(4, 2), u"3");
}

TEST(ListEditComment, StoresWithBitTwoAndSkipsTitle) {
  RowStore cat = makeCatalog();
  RowStore pane;
  pane.appendShown(cat.record(2), 0, 0, catalog::KindFile, 0);
  const std::int32_t map[] = {2};
  EXPECT_FALSE(EditComment(cat, 0, u"x", &pane, map));
  EXPECT_FALSE(cat.modified());
  EXPECT_EQ(cat.field(1, 0), u"Games");
  EXPECT_TRUE(EditComment(cat, 2, u"line1\nline2", &pane, map));
  EXPECT_EQ(cat.field(1, 2), u"line1\r\nline2");
  EXPECT_EQ(pane.field(1, 0), u"line1\r\nline2");
  EXPECT_EQ(pane.field(4, 0), u"2");
  EXPECT_TRUE(EditComment(cat, 5, u"old", nullptr, {}));
  EXPECT_EQ(cat.field(4, 5), u"2");
  EXPECT_TRUE(cat.modified());
}

TEST(ListEditClipboard, CopyQuotesAndPasteRestores) {
  const Text cells[] = {u"first", u"two \"quoted\"\r\nlines", u"third", u"\"ABC\"", u"say \"\"hi\"\"", u""};
  RowStore s;
  s.appendShown(catalog::buildRecord({u"T", u""}), 0, 0, catalog::KindTitleCD, 0);
  for (const Text& c : cells) s.appendShown(catalog::buildRecord({u"F", c, u"", u"", u"0"}), 0, 0, 6, 1);
  const int rows[] = {1, 2, 3};
  EXPECT_EQ(copyText(s, 1, rows), u"first\r\n\"two \"\"quoted\"\"\r\nlines\"\r\nthird");
  const int all[] = {1, 2, 3, 4, 5};
  const Text text = copyText(s, 1, all);
  const std::vector<Text> lines = splitPaste(normaliseEntered(text));
  ASSERT_EQ(lines.size(), 5u);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(lines[static_cast<std::size_t>(i)], cells[i]);

  // Pasted into other rows, every cell comes back exactly.
  RowStore t;
  t.appendShown(catalog::buildRecord({u"T", u""}), 0, 0, catalog::KindTitleCD, 0);
  for (int i = 0; i < 5; ++i) t.appendShown(catalog::buildRecord({u"G", u"x", u"", u"", u"0"}), 0, 0, 6, 1);
  const PasteResult p = pasteLines(t, nullptr, {}, 1, 1, lines);
  EXPECT_EQ(p.stored, 5);
  EXPECT_FALSE(p.beep);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(t.field(1, i + 1), cells[i]);
    EXPECT_EQ(t.field(4, i + 1), u"2");
  }
}

TEST(ListEditClipboard, PastePastLastRowBeepsKeepsStored) {
  RowStore s = makeCatalog();
  const std::vector<Text> lines = splitPaste(u"a\r\nb\r\nc\r\nd");
  const PasteResult p = pasteLines(s, nullptr, {}, 1, 4, lines);
  EXPECT_EQ(p.stored, 2);
  EXPECT_TRUE(p.beep);
  EXPECT_TRUE(s.modified());
  EXPECT_EQ(s.field(1, 4), u"a");
  EXPECT_EQ(s.field(1, 5), u"b");
}

TEST(ListEditClipboard, DatePasteChecksEveryLine) {
  RowStore s = makeCatalog();
  const std::vector<Text> good = {u"99/12/31 23:59"};
  EXPECT_EQ(pasteLines(s, nullptr, {}, 2, 2, good).stored, 1);
  EXPECT_EQ(s.field(4, 2), u"4");
  RowStore t = makeCatalog();
  const std::vector<Text> bad = {u"Monday"};
  const PasteResult p = pasteLines(t, nullptr, {}, 2, 2, bad);
  EXPECT_EQ(p.stored, 0);
  EXPECT_EQ(p.message, DateMessage);
  EXPECT_FALSE(t.modified());
  EXPECT_EQ(t.field(2, 2), u"03/04/05 12:34");
}

TEST(ListEditErase, EmptiesCellsInPaneAndCatalogKeepingFlags) {
  RowStore cat = makeCatalog();
  RowStore pane;
  pane.appendShown(cat.record(2), 0, 0, catalog::KindFile, 0);
  pane.appendShown(cat.record(4), 0, 0, catalog::KindFile, 0);
  cat.setField(4, 2, u"2");
  const std::int32_t map[] = {2, 4};
  const int rows[] = {0, 1};
  EXPECT_EQ(eraseCells(pane, &cat, map, 1, rows), 2);
  EXPECT_EQ(cat.field(1, 2), u"");
  EXPECT_EQ(cat.field(1, 4), u"");
  EXPECT_EQ(pane.field(1, 1), u"");
  EXPECT_EQ(cat.field(4, 2), u"2");
  EXPECT_TRUE(cat.modified());
}

TEST(ListEditDelete, PaneMarksTakeArchiveSubtreeWhateverTheOrder) {
  RowStore pane;
  pane.appendShown(catalog::buildRecord({u"B.ZIP"}), 0, 0, catalog::KindArchiveFolder, 0);
  pane.appendShown(catalog::buildRecord({u"Z.TXT"}), 0, 0, catalog::KindFile, 1);
  pane.appendShown(catalog::buildRecord({u"A.TXT"}), 0, 0, catalog::KindFile, 0);
  pane.setDisplayOrder({2, 0, 1});  // a name sort puts A.TXT first
  bool grown = false;
  const int selected[] = {0};
  const std::vector<std::uint8_t> marks = paneDeleteMarks(pane, selected, grown);
  EXPECT_TRUE(grown);
  EXPECT_EQ(marks, (std::vector<std::uint8_t>{1, 1, 0}));
  const int plain[] = {2};
  EXPECT_EQ(paneDeleteMarks(pane, plain, grown), (std::vector<std::uint8_t>{0, 0, 1}));
  EXPECT_FALSE(grown);
}

// ---- Renaming on the medium, against a temporary folder ----

class ListEditMedium : public ::testing::Test {
protected:
  void SetUp() override {
    root_ = std::filesystem::temp_directory_path() /
            ("zevro-listedit-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_ / "DOCS");
    write("DOCS/README.TXT", "readme");
    access_.files = &files_;
    access_.locate = [this](TextView path) -> std::optional<NativePath> {
      Text p(path);
      for (auto& c : p)
        if (c == u'\\') c = u'/';
      return root_ / cp932::toNativeName(p);
    };
  }
  void TearDown() override { std::filesystem::remove_all(root_); }
  void write(const char* name, const char* text) { std::ofstream(root_ / name) << text; }
  std::string read(const char* name) {
    std::ifstream in(root_ / name);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  CommitResult rename(RowStore& s, TextView name) {
    return CommitEdit({&s, 2, nullptr, -1, 0}, name, RenameMode::ListAndMedium, &access_);
  }

  std::filesystem::path root_;
  LinuxFileSystem files_;
  MediumAccess access_;
};

TEST_F(ListEditMedium, RenameAddsMissingExtensionOnMediumAndList) {
  RowStore s = makeCatalog();
  const CommitResult r = rename(s, u"NOTES");
  ASSERT_TRUE(r.ok) << std::string(r.message.begin(), r.message.end()).size();
  EXPECT_EQ(read("DOCS/NOTES.TXT"), "readme");
  EXPECT_FALSE(std::filesystem::exists(root_ / "DOCS/README.TXT"));
  EXPECT_EQ(s.field(0, 2), u"NOTES.TXT");
  EXPECT_EQ(s.field(5, 2), u"");
  EXPECT_EQ(s.field(4, 2), u"1");
}

TEST_F(ListEditMedium, ExistingTargetRefusedAndUntouched) {
  write("DOCS/NOTES.TXT", "other");
  RowStore s = makeCatalog();
  const CommitResult r = rename(s, u"NOTES.TXT");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.message, u"『 NOTES.TXT 』というファイルは既に存在します");
  EXPECT_EQ(read("DOCS/NOTES.TXT"), "other");
  EXPECT_EQ(read("DOCS/README.TXT"), "readme");
  EXPECT_EQ(s.field(0, 2), u"README.TXT");
  EXPECT_FALSE(s.modified());
}

TEST_F(ListEditMedium, ExtensionChangeRefused) {
  RowStore s = makeCatalog();
  const CommitResult r = rename(s, u"README.DOC");
  EXPECT_EQ(r.message, ExtensionChangedMessage);
  EXPECT_EQ(read("DOCS/README.TXT"), "readme");
}

TEST_F(ListEditMedium, CaseOnlyRenameWorks) {
  RowStore s = makeCatalog();
  ASSERT_TRUE(rename(s, u"readme.txt").ok);
  EXPECT_EQ(read("DOCS/readme.txt"), "readme");
  EXPECT_FALSE(std::filesystem::exists(root_ / "DOCS/README.TXT"));
  EXPECT_EQ(s.field(0, 2), u"readme.txt");
  int entries = 0;
  for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(root_ / "DOCS")) ++entries;
  EXPECT_EQ(entries, 1);  // no temporary file left behind
}

TEST_F(ListEditMedium, CaseOnlyRenameNeverReplacesSibling) {
  write("DOCS/readme.txt", "sibling");
  RowStore s = makeCatalog();
  const CommitResult r = rename(s, u"readme.txt");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(read("DOCS/readme.txt"), "sibling");
  EXPECT_EQ(read("DOCS/README.TXT"), "readme");
  EXPECT_EQ(s.field(0, 2), u"README.TXT");
}

TEST_F(ListEditMedium, MediumAbsentChangesListOnly) {
  std::filesystem::remove(root_ / "DOCS/README.TXT");
  RowStore s = makeCatalog();
  ASSERT_TRUE(rename(s, u"NOTES").ok);
  EXPECT_EQ(s.field(0, 2), u"NOTES.TXT");
  EXPECT_EQ(s.field(5, 2), u"README.TXT");
  EXPECT_FALSE(std::filesystem::exists(root_ / "DOCS/NOTES.TXT"));
}

TEST_F(ListEditMedium, NoReplaceRenameRefusesExistingTarget) {
  write("a", "A");
  write("b", "B");
  const IoError e = files_.renameNoReplace(root_ / "a", root_ / "b");
  EXPECT_EQ(e.code, EEXIST);
  EXPECT_EQ(read("b"), "B");
  EXPECT_FALSE(files_.renameNoReplace(root_ / "a", root_ / "c"));
  EXPECT_EQ(read("c"), "A");
}

}  // namespace
}  // namespace zevro
