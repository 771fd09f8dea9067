#include "core/OptionStore.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <locale>
#include <optional>
#include <sstream>
#include <string>

#include "core/OptionValue.h"
#include "core/ProfileDocument.h"
#include "platform/FaultyFileSystem.h"
#include "platform/WriteLock.h"
#include "platform/LinuxFileSystem.h"

namespace zevro {
namespace {

namespace fs = std::filesystem;

class OptionStoreTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "zevro-options-XXXXXX").native();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root = pattern;
    file = root / "ZEVRO32.Opt";
  }
  void TearDown() override { fs::remove_all(root); }

  void put(const std::string& bytes) const { std::ofstream(file, std::ios::binary) << bytes; }

  std::string get(const NativePath& path) const {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::string get() const { return get(file); }

  FileTime modified() { return disk.stat(file)->modified; }

  // A store over the file as it is now.
  OptionStore loaded(FileSystem& files) {
    OptionStore store(files, file);
    EXPECT_FALSE(store.load());
    return store;
  }

  NativePath root;
  NativePath file;
  LinuxFileSystem disk;
  FaultyFileSystem faulty{disk};
};

// --- Value forms ------------------------------------------------------------

TEST_F(OptionStoreTest, ReadsEveryValueFormAsOlderVersionsWroteIt) {
  constexpr int NumberDefault = 42;
  constexpr std::uint32_t ColourDefault = 0x123456;
  struct Row {
    std::optional<std::string> line;  // the line of key K in [Options]; nullopt: no such key
    int number;                       // readNumber(K, 42)
    bool boolean;                     // readBoolean(K, true)
    bool onOff;                       // readOnOff(K, true)
    std::uint32_t colour;             // readColour(K, 0x123456)
  } rows[] = {
      {"K= 5", 5, true, false, 5},
      {"K=-1", -1, true, false, 0xFFFFFFFF},
      {"K= 0", 0, false, false, 0},
      {"K=12abc", 12, true, false, 12},
      {"K=abc", 0, false, false, 0},
      {"K=9.75", 9, true, false, 9},
      {"K=- 5", 0, false, false, 0},
      {"K=+7", 7, true, false, 7},
      {"K=  \t 8 \t", 8, true, false, 8},
      {"K=\"6\"", 6, true, false, 6},
      {"K='6'", 6, true, false, 6},
      {"K=1", 1, true, false, 1},
      {"K=ON", 0, false, true, 0},
      {"K=on", 0, false, true, 0},
      {"K=On", 0, false, true, 0},
      {"K=OFF", 0, false, false, 0},
      {"K=ONE", 0, false, false, 0},
      {"K=-2147483635", -2147483635, true, false, 0x8000000D},
      {"K=2147483662", 2147483647, true, false, 0x8000000E},
      {"K=99999999999999999999999", 2147483647, true, false, 0xFFFFFFFF},
      {"K=-99999999999999999999999", -2147483647 - 1, true, false, 0},
      {"K= 14733456", 14733456, true, false, 0xE0D090},
      {"K=", NumberDefault, true, true, ColourDefault},
      {"K=   ", NumberDefault, true, true, ColourDefault},
      {"K=\"\"", NumberDefault, true, true, ColourDefault},
      {std::nullopt, NumberDefault, true, true, ColourDefault},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.line.value_or("(missing)"));
    put("[Options]\r\n" + r.line.value_or("Other=1") + "\r\n");
    OptionStore store = loaded(disk);
    EXPECT_EQ(store.readNumber(u"K", NumberDefault), r.number);
    EXPECT_EQ(store.readBoolean(u"K", true), r.boolean);
    EXPECT_EQ(store.readOnOff(u"K", true), r.onOff);
    EXPECT_EQ(store.readColour(u"K", ColourDefault), r.colour);
  }
}

TEST_F(OptionStoreTest, ReadsTextTrimmedWithOnePairOfQuotesRemoved) {
  struct Row {
    std::string line;
    Text text;
  } rows[] = {
      {"K=abc", u"abc"},
      {"K=  a b  ", u"a b"},
      {"K=\"  a b  \"", u"  a b  "},
      {"K='x'y'", u"x'y"},
      {"K=\"x'", u"\"x'"},
      {"K=a=b", u"a=b"},
      {"K=\x95\x5C\x8C\x76\x8E\x5A", u"表計算"},
      {"K=", u"default"},
      {"K =  9.75", u"9.75"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.line);
    put("[Options]\r\n" + r.line + "\r\n");
    EXPECT_EQ(loaded(disk).readText(u"K", u"default"), r.text);
  }
}

TEST_F(OptionStoreTest, WritesEveryValueFormAsOlderVersionsRead) {
  struct Row {
    const char* what;
    std::function<void(OptionStore&)> write;
    std::string line;
  } rows[] = {
      {"positive number", [](OptionStore& s) { s.writeNumber(u"K", 5); }, "K= 5"},
      {"zero", [](OptionStore& s) { s.writeNumber(u"K", 0); }, "K= 0"},
      {"negative number", [](OptionStore& s) { s.writeNumber(u"K", -1); }, "K=-1"},
      {"lowest number", [](OptionStore& s) { s.writeNumber(u"K", INT64_MIN); }, "K=-9223372036854775808"},
      {"true", [](OptionStore& s) { s.writeBoolean(u"K", true); }, "K=-1"},
      {"false", [](OptionStore& s) { s.writeBoolean(u"K", false); }, "K= 0"},
      {"on", [](OptionStore& s) { s.writeOnOff(u"K", true); }, "K=ON"},
      {"off", [](OptionStore& s) { s.writeOnOff(u"K", false); }, "K=OFF"},
      {"system colour", [](OptionStore& s) { s.writeColour(u"K", 0x8000000D); }, "K=-2147483635"},
      {"plain colour", [](OptionStore& s) { s.writeColour(u"K", 0xE0D090); }, "K= 14733456"},
      {"Japanese text", [](OptionStore& s) { s.writeText(u"K", u"表計算ソフト"); },
       "K=\x95\x5C\x8C\x76\x8E\x5A\x83\x5C\x83\x74\x83\x67"},
      {"text with line breaks", [](OptionStore& s) { s.writeText(u"K", u"a\r\n[Evil]\nb"); }, "K=a  [Evil] b"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    fs::remove(file);
    OptionStore store = loaded(disk);
    r.write(store);
    EXPECT_TRUE(store.changed());
    ASSERT_FALSE(store.save());
    EXPECT_EQ(get(), "[Options]\r\n" + r.line + "\r\n");
  }
}

TEST_F(OptionStoreTest, WhatIsWrittenReadsBackTheSameAfterARestart) {
  OptionStore store = loaded(disk);
  store.writeNumber(u"Number", -123456);
  store.writeNumber(u"Big", 2147483647);
  store.writeBoolean(u"Yes", true);
  store.writeBoolean(u"No", false);
  store.writeOnOff(u"Switch", true);
  store.writeColour(u"Selection", 0x8000000E);
  store.writeText(u"Name", u"ＭＳ Ｐゴシック 能");
  store.writeText(u"Emoji", u"写真\U0001F600");
  store.writePath(u"Folder", NativePath("/media/usb/\xff\xfe/表"));
  ASSERT_FALSE(store.save());

  OptionStore again = loaded(disk);
  EXPECT_EQ(again.readNumber(u"Number", 0), -123456);
  EXPECT_EQ(again.readNumber(u"Big", 0), 2147483647);
  EXPECT_TRUE(again.readBoolean(u"Yes", false));
  EXPECT_FALSE(again.readBoolean(u"No", true));
  EXPECT_TRUE(again.readOnOff(u"Switch", false));
  EXPECT_EQ(again.readColour(u"Selection", 0), 0x8000000Eu);
  EXPECT_EQ(again.readText(u"Name", u""), u"ＭＳ Ｐゴシック 能");
  EXPECT_EQ(again.readText(u"Emoji", u""), u"写真\U0001F600");
  EXPECT_EQ(again.readPath(u"Folder", {}), NativePath("/media/usb/\xff\xfe/表"));
}

// --- Older files -------------------------------------------------------------

TEST_F(OptionStoreTest, AnOlderFileKeepsEveryLineItDidNotChangeByteForByte) {
  const std::string before =
      "; written by an older version\r\n"
      "[Printer]\r\n"
      "Name=\x95\x5C\x8C\x76\r\n"
      "[options]\r\n"
      "listinterleave = 3\r\n"
      "OldKey=\x81\x20 broken\r\n"
      "Unix=line\n"
      "NoEquals\r\n"
      "\r\n"
      "[Tail]\r\n"
      "ListInterleave=9";
  const std::string after =
      "; written by an older version\r\n"
      "[Printer]\r\n"
      "Name=\x95\x5C\x8C\x76\r\n"
      "[options]\r\n"
      "listinterleave = 5\r\n"
      "OldKey=\x81\x20 broken\r\n"
      "Unix=line\n"
      "NoEquals\r\n"
      "FileFrames= 2\r\n"
      "\r\n"
      "[Tail]\r\n"
      "ListInterleave=9";
  put(before);
  OptionStore store = loaded(disk);
  EXPECT_EQ(store.readNumber(u"ListInterleave", 0), 3);
  EXPECT_EQ(store.readText(u"Unix", u""), u"line");
  EXPECT_FALSE(store.has(u"Name"));  // another section's key
  store.writeNumber(u"ListInterleave", 5);
  store.writeNumber(u"FileFrames", 2);
  ASSERT_FALSE(store.save());
  EXPECT_EQ(get(), after);
}

TEST_F(OptionStoreTest, AddsTheSectionWhereTheFileHasNone) {
  struct Row {
    std::string before;
    std::string after;
  } rows[] = {
      {"", "[Options]\r\nK= 1\r\n"},
      {"[Other]\r\nA=1\r\n", "[Other]\r\nA=1\r\n[Options]\r\nK= 1\r\n"},
      {"[Other]\r\nA=1", "[Other]\r\nA=1\r\n[Options]\r\nK= 1\r\n"},
      {"[Options]", "[Options]\r\nK= 1\r\n"},
      {"[Options]\r\n\r\n\r\n", "[Options]\r\nK= 1\r\n\r\n\r\n"},
      // A byte-order mark of an editor stays, and its section is still found.
      {"\xEF\xBB\xBF[Options]\r\nA=1\r\n", "\xEF\xBB\xBF[Options]\r\nA=1\r\nK= 1\r\n"},
      {"\xEF\xBB\xBF[Options]\r\nK=0\r\n", "\xEF\xBB\xBF[Options]\r\nK= 1\r\n"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.before);
    put(r.before);
    OptionStore store = loaded(disk);
    store.writeNumber(u"K", 1);
    ASSERT_FALSE(store.save());
    EXPECT_EQ(get(), r.after);
  }
}

TEST_F(OptionStoreTest, TheFirstOfTwoKeysOrSectionsCounts) {
  put("[Options]\r\nK=1\r\nK=2\r\n[OPTIONS]\r\nL=3\r\n");
  OptionStore store = loaded(disk);
  EXPECT_EQ(store.readNumber(u"k", 0), 1);
  EXPECT_FALSE(store.has(u"L"));
  store.writeNumber(u"K", 7);
  ASSERT_FALSE(store.save());
  EXPECT_EQ(get(), "[Options]\r\nK= 7\r\nK=2\r\n[OPTIONS]\r\nL=3\r\n");
}

TEST_F(OptionStoreTest, UsesTheFileWhateverTheCaseOfItsName) {
  const NativePath lower = root / "zevro32.opt";
  std::ofstream(lower, std::ios::binary) << "[Options]\r\nK=3\r\n";
  OptionStore store = loaded(disk);
  EXPECT_EQ(store.readNumber(u"K", 0), 3);
  store.writeNumber(u"K", 4);
  ASSERT_FALSE(store.save());
  EXPECT_FALSE(fs::exists(file));
  EXPECT_EQ(get(lower), "[Options]\r\nK= 4\r\n");
}

// --- Saving --------------------------------------------------------------------

TEST_F(OptionStoreTest, AWriteThatChangesNothingLeavesTheFileAndItsTime) {
  struct Row {
    const char* what;
    std::function<void(OptionStore&)> write;
  } rows[] = {
      {"same number without the blank", [](OptionStore& s) { s.writeNumber(u"N", 5); }},
      {"same boolean", [](OptionStore& s) { s.writeBoolean(u"B", true); }},
      {"same word", [](OptionStore& s) { s.writeOnOff(u"ColorF", true); }},
      {"same system colour", [](OptionStore& s) { s.writeColour(u"C", 0x8000000D); }},
      {"same colour written unsigned", [](OptionStore& s) { s.writeColour(u"U", 0x8000000D); }},
      {"same word in other case", [](OptionStore& s) { s.writeOnOff(u"colorf", true); }},
      {"same number after text", [](OptionStore& s) { s.writeNumber(u"Trail", 12); }},
      {"same text", [](OptionStore& s) { s.writeText(u"T", u"表計算"); }},
      {"changed and changed back",
       [](OptionStore& s) {
         s.writeNumber(u"N", 6);
         s.writeNumber(u"N", 5);
       }},
  };
  const std::string bytes =
      "[Options]\r\nN=5\r\nB=-1\r\nColorF=on\r\nC=-2147483635\r\nU=2147483661\r\nTrail=12abc\r\n"
      "T=\x95\x5C\x8C\x76\x8E\x5A\r\n";
  constexpr FileTime Old = 1000000000LL * 1000000000LL;  // 2001
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    put(bytes);
    ASSERT_FALSE(disk.setModified(file, Old));
    FaultyFileSystem counting(disk);
    OptionStore store = loaded(counting);
    r.write(store);
    ASSERT_FALSE(store.save());
    EXPECT_EQ(counting.calls(FaultyFileSystem::Op::Write), 0);
    EXPECT_EQ(get(), bytes);
    EXPECT_EQ(modified(), Old);
  }
}

TEST_F(OptionStoreTest, AnUnchangedStoreCreatesNoFile) {
  OptionStore store = loaded(disk);
  EXPECT_EQ(store.readNumber(u"K", 4), 4);
  EXPECT_FALSE(store.changed());
  ASSERT_FALSE(store.save());
  EXPECT_FALSE(fs::exists(file));
}

TEST_F(OptionStoreTest, AFailedSaveLeavesTheOldFileAndKeepsTheValuesPending) {
  const std::string bytes = "[Options]\r\nK= 1\r\n; keep me\r\n";
  struct Row {
    const char* what;
    bool partWay;  // the disk fills up in the middle of the new file
  } rows[] = {{"refused write", false}, {"disk full part-way", true}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    put(bytes);
    LinuxFileSystem fullDisk(failingWriter(8, ENOSPC));
    FaultyFileSystem refusing(disk);
    refusing.fail(FaultyFileSystem::Op::Write, EACCES);
    FileSystem& files = r.partWay ? static_cast<FileSystem&>(fullDisk) : refusing;
    OptionStore store = loaded(files);
    store.writeNumber(u"K", 2);
    IoError error = store.save();
    EXPECT_TRUE(error);
    EXPECT_EQ(get(), bytes);
    EXPECT_TRUE(store.changed());
    EXPECT_EQ(store.readNumber(u"K", 0), 2);
    // No temporary file left: the option file and the write lock only.
    EXPECT_EQ(std::count_if(fs::directory_iterator(root), fs::directory_iterator(),
                            [](const fs::directory_entry& e) { return e.path().filename() != WriteLock::FileName; }),
              1);
  }
  // Once the disk has room again, the pending value goes in.
  OptionStore store = loaded(disk);
  store.writeNumber(u"K", 2);
  ASSERT_FALSE(store.save());
  EXPECT_EQ(get(), "[Options]\r\nK= 2\r\n; keep me\r\n");
}

TEST_F(OptionStoreTest, AFileThatCannotBeReadIsNeverReplaced) {
  const std::string bytes = "[Options]\r\nK= 1\r\nOther=keep\r\n";
  put(bytes);
  FaultyFileSystem unreadable(disk);
  unreadable.fail(FaultyFileSystem::Op::Read, EACCES, file, -1);
  OptionStore store(unreadable, file);
  EXPECT_EQ(store.load().code, EACCES);
  EXPECT_EQ(store.readNumber(u"K", 9), 9);
  store.writeNumber(u"K", 2);
  EXPECT_EQ(store.save().code, EACCES);
  EXPECT_EQ(unreadable.calls(FaultyFileSystem::Op::Write), 0);
  EXPECT_EQ(get(), bytes);
}

TEST_F(OptionStoreTest, SavingKeepsWhatAnotherProgramWroteMeanwhile) {
  put("[Options]\r\nA= 1\r\n");
  OptionStore store = loaded(disk);
  put("[Options]\r\nA= 1\r\nB=theirs\r\n");
  store.writeNumber(u"A", 2);
  ASSERT_FALSE(store.save());
  EXPECT_EQ(get(), "[Options]\r\nA= 2\r\nB=theirs\r\n");
  EXPECT_EQ(store.readText(u"B", u""), u"theirs");
}

// --- Locale ----------------------------------------------------------------------

// Groups thousands with "." and writes "," for the decimal point, as German does.
struct GermanNumbers : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
  char do_thousands_sep() const override { return '.'; }
  std::string do_grouping() const override { return "\3"; }
};

TEST_F(OptionStoreTest, NumbersDoNotDependOnTheLocale) {
  const std::locale before = std::locale::global(std::locale(std::locale::classic(), new GermanNumbers));
  const std::string cBefore = std::setlocale(LC_ALL, nullptr);
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"})
    if (std::setlocale(LC_ALL, name)) break;

  put("[Options]\r\nFontSize=9.75\r\nBig= 1234567\r\n");
  OptionStore store = loaded(disk);
  const Text fontSize = store.readText(u"FontSize", u"");
  const int big = store.readNumber(u"Big", 0);
  store.writeNumber(u"Written", 7654321);
  const IoError saved = store.save();
  const std::string bytes = get();

  std::setlocale(LC_ALL, cBefore.c_str());
  std::locale::global(before);
  EXPECT_EQ(fontSize, u"9.75");
  EXPECT_EQ(big, 1234567);
  EXPECT_FALSE(saved);
  EXPECT_EQ(bytes, "[Options]\r\nFontSize=9.75\r\nBig= 1234567\r\nWritten= 7654321\r\n");
}

// --- The value codec on its own ---------------------------------------------------

TEST(OptionValue, NumberTextPutsABlankWhereTheSignWouldBe) {
  struct Row {
    std::int64_t n;
    Text text;
  } rows[] = {
      {5, u" 5"},
      {0, u" 0"},
      {-1, u"-1"},
      {1234567, u" 1234567"},
      {INT64_MAX, u" 9223372036854775807"},
      {INT64_MIN, u"-9223372036854775808"},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(optval::numberText(r.n), r.text);
    EXPECT_EQ(optval::leadingNumber(r.text), r.n);
  }
}

TEST(ProfileDocument, GivesBackTheBytesItWasMadeFrom) {
  const std::string rows[] = {
      "",
      "\n",
      "\r\n",
      "a",
      "[x",
      "]\r\n=\r\n;[Options]\r\n",
      "\r\r\n\n",
      std::string("k=\0v\r\n", 6),
      "[Options]\r\nK=\x83\x7C|\x81\r\n",
  };
  for (const std::string& bytes : rows) EXPECT_EQ(ProfileDocument(bytes).bytes(), bytes);
}

}  // namespace
}  // namespace zevro
