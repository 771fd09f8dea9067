#include "core/SearchHistory.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>

#include "core/ShutdownMessages.h"
#include "platform/FakeUi.h"
#include "platform/FaultyFileSystem.h"
#include "platform/LinuxFileSystem.h"

namespace zevro {
namespace {

namespace fs = std::filesystem;
using Words = std::vector<Text>;

// "表計算" and "ソフト" in CP932: both hold a 0x5C byte.
const std::string Hyokeisan = "\x95\x5C\x8C\x76\x8E\x5A";
const std::string Soft = "\x83\x5C\x83\x74\x83\x67";
const std::string End{"\x1A\0", 2};

class SearchHistoryTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "zevro-history-XXXXXX").native();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root = pattern;
    words = root / "Catalog.Opt";
    terms = root / "SearchText.Opt";
  }
  void TearDown() override { fs::remove_all(root); }

  void put(const NativePath& path, const std::string& bytes) const { std::ofstream(path, std::ios::binary) << bytes; }

  std::string get(const NativePath& path) const {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  NativePath root;
  NativePath words;
  NativePath terms;
  LinuxFileSystem disk;
  FaultyFileSystem faulty{disk};
  FakeUi ui;
  Platform platform{faulty, ui};
};

// --- Catalog.Opt ------------------------------------------------------------

TEST_F(SearchHistoryTest, ANewWordFileEndsWithCode26AndCode0) {
  ASSERT_TRUE(saveSearchWords(platform, words, {u"表計算", u"readme", u"ソフト"}));
  const std::string bytes = get(words);
  EXPECT_EQ(bytes, "[ZEVRO32]\r\n\r\n" + Hyokeisan + "\r\nreadme\r\n" + Soft + "\r\n" + End);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes[bytes.size() - 2], '\x1A');
  EXPECT_EQ(bytes[bytes.size() - 1], '\0');
  EXPECT_EQ(readSearchWords(disk, words).words, (Words{u"表計算", u"readme", u"ソフト"}));
}

TEST_F(SearchHistoryTest, ReadsWordsAfterTheFirstTwoLinesUpToCode26) {
  struct Row {
    const char* what;
    std::string bytes;
    Words words;
  } rows[] = {
      {"as written", "[ZEVRO32]\r\n\r\nw1\r\nw2\r\n" + End, {u"w1", u"w2"}},
      {"no line end before code 26", "[ZEVRO32]\r\n\r\nw1\r\nw2" + End, {u"w1", u"w2"}},
      {"no end mark", "[ZEVRO32]\r\n\r\nw1\r\nw2", {u"w1", u"w2"}},
      {"text after code 26", "[ZEVRO32]\r\n\r\nw1\r\n\x1Aw2\r\n", {u"w1"}},
      {"LF line ends", "[ZEVRO32]\nx\nw1\nw2\n", {u"w1", u"w2"}},
      {"CR line ends", "[ZEVRO32]\rx\rw1\rw2\r", {u"w1", u"w2"}},
      {"empty lines", "[ZEVRO32]\r\n\r\nw1\r\n\r\nw2\r\n" + End, {u"w1", u"w2"}},
      {"Japanese", "[ZEVRO32]\r\n\r\n" + Hyokeisan + "\r\n" + Soft + "\r\n" + End, {u"表計算", u"ソフト"}},
      {"header only", "[ZEVRO32]\r\n\r\n" + End, {}},
      {"empty file", "", {}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(parseSearchWords(r.bytes).words, r.words);
  }
}

TEST_F(SearchHistoryTest, KeepsTheFirstTwoLinesAsFound) {
  const std::string second = "x=" + Hyokeisan + "\x81";  // not even valid CP932
  put(words, "[ZEVRO32 old]\r\n" + second + "\r\nw1\r\n" + End);
  ASSERT_TRUE(saveSearchWords(platform, words, {u"new"}));
  EXPECT_EQ(get(words), "[ZEVRO32 old]\r\n" + second + "\r\nnew\r\n" + End);
}

TEST_F(SearchHistoryTest, AMissingFileReadsAsANewOne) {
  SearchWordHistory history = readSearchWords(disk, words);
  EXPECT_EQ(history.firstLine, "[ZEVRO32]");
  EXPECT_EQ(history.secondLine, "");
  EXPECT_TRUE(history.words.empty());
  EXPECT_TRUE(readSecondTerms(disk, terms).empty());
}

TEST_F(SearchHistoryTest, AWordCannotEndItsLineEarly) {
  ASSERT_TRUE(saveSearchWords(platform, words,
                              {u"a\r\nb",
                               u"c\x1A"
                               u"d",
                               u"", u"e"}));
  EXPECT_EQ(get(words), "[ZEVRO32]\r\n\r\na  b\r\nc d\r\ne\r\n" + End);
  EXPECT_EQ(readSearchWords(disk, words).words, (Words{u"a  b", u"c d", u"e"}));
}

TEST_F(SearchHistoryTest, UsesTheFileWhateverTheCaseOfItsName) {
  const NativePath lower = root / "catalog.opt";
  put(lower, "[ZEVRO32]\r\n\r\nold\r\n" + End);
  EXPECT_EQ(readSearchWords(disk, words).words, (Words{u"old"}));
  ASSERT_TRUE(saveSearchWords(platform, words, {u"new"}));
  EXPECT_FALSE(fs::exists(words));
  EXPECT_EQ(get(lower), "[ZEVRO32]\r\n\r\nnew\r\n" + End);
}

TEST_F(SearchHistoryTest, AFailedWriteIsShownAndLeavesTheOldFile) {
  struct Row {
    const char* what;
    NativePath file;
    std::string old;
    std::function<bool()> save;
  } rows[] = {
      {"search words", words, "[ZEVRO32]\r\n\r\nold\r\n" + End,
       [&] { return saveSearchWords(platform, words, {u"new"}); }},
      {"second terms", terms, "old\r\n", [&] { return saveSecondTerms(platform, terms, {u"new"}); }},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    put(r.file, r.old);
    ui.calls.clear();
    faulty.fail(FaultyFileSystem::Op::Write, ENOSPC);
    EXPECT_FALSE(r.save());
    EXPECT_EQ(get(r.file), r.old);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0], Text(MsgFileWriteError) + fromUtf8(r.file.native()));
  }
}

// --- SearchText.Opt ---------------------------------------------------------

TEST_F(SearchHistoryTest, SecondTermsRoundTripOneALine) {
  ASSERT_TRUE(saveSecondTerms(platform, terms, {u"表計算", u"ソフト", u"zip"}));
  EXPECT_EQ(get(terms), Hyokeisan + "\r\n" + Soft + "\r\nzip\r\n");
  EXPECT_EQ(readSecondTerms(disk, terms), (Words{u"表計算", u"ソフト", u"zip"}));
  EXPECT_TRUE(ui.calls.empty());
}

TEST_F(SearchHistoryTest, ReadsSecondTermsOfAnyLineEnd) {
  struct Row {
    std::string bytes;
    Words terms;
  } rows[] = {
      {"a\r\nb\r\n", {u"a", u"b"}},
      {"a\nb", {u"a", u"b"}},
      {"a\r\n\r\nb\r\n", {u"a", u"b"}},
      {"", {}},
  };
  for (const Row& r : rows) EXPECT_EQ(parseSecondTerms(r.bytes), r.terms);
}

}  // namespace
}  // namespace zevro
