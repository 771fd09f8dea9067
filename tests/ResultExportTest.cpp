// The search results as a saved file: the bytes of both forms against
// golden files, the comment column that is never cut, the choice of the
// file (dialog with CSV preselected, input box) and the write.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "TempFolder.h"
#include "core/ExportWriter.h"
#include "platform/FakeUi.h"
#include "platform/LinuxFileSystem.h"
#include "search/ResultExport.h"
#include "search/SearchResults.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

using Form = ExportWriter::Form;

std::string golden(const char* name) {
  std::ifstream in(std::string(ZEVRO_TEST_FIXTURES) + "/results/" + name, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Quotes and commas, half-width kana and full-width text (one character
// each), a line break, trailing blanks, a long comment, cut title and path.
struct Sample {
  RowStore grid;
  SearchResults results{grid};
  Sample() {
    results.start({{u"_00CD_A.cct", "_00CD_A.cct", 1, u""}, {u"_00HD_B.cct", "_00HD_B.cct", 3, u""}});
    results.append(0, {u"ゲーム集", u"DOS\\a\"b,c.TXT", u"99/12/31 23:55", u"Read \"me\""});
    results.append(0, {u"ｶﾞｲﾄﾞ集", u"x", u"", u"a comment longer than twelve"});
    results.append(1, {u"T", u"two\r\nlines", u"01/02/03", u"ab  "});
    results.append(1, {u"A title of thirty-five characters!", Text(45, u'P'), u"", u""});
  }
};

TEST(ResultExport, BothFormsMatchTheirGoldenFiles) {
  Sample s;
  EXPECT_EQ(resultexport::resultBytes(s.grid, Form::Csv), golden("results.csv"));
  EXPECT_EQ(resultexport::resultBytes(s.grid, Form::Text), golden("results.txt"));
}

TEST(ResultExport, CommentIsRightAlignedAndNeverCut) {
  struct Case {
    TextView comment;
    TextView tail;  // what follows the date column's blank
  };
  const Case cases[] = {
      {u"abc", u"         abc"},
      {u"123456789012", u"123456789012"},
      {u"1234567890123", u"1234567890123"},
      {u"全角のコメントは十二文字を超えても残る", u"全角のコメントは十二文字を超えても残る"},
      {u"two\r\nlines", u"   two lines"},
  };
  for (const Case& c : cases) {
    ExportWriter whole(Form::Text, ExportWriter::LastColumn::Whole);
    whole.addRow({u"t", u"p", u"d", c.comment});
    Text line = u"t" + Text(29, u' ') + u" p" + Text(39, u' ') + u" d" + Text(7, u' ') + u" " + Text(c.tail) + u"\r\n";
    EXPECT_EQ(whole.bytes(), cp932::encode(line)) << cp932::encode(Text(c.comment));
  }
  // The list export keeps its size column's rule: the rightmost 12.
  ExportWriter list(Form::Text);
  list.addRow({u"t", u"p", u"d", u"1,234,567,890,123"});
  EXPECT_EQ(list.bytes(), cp932::encode(u"t" + Text(29, u' ') + u" p" + Text(39, u' ') + u" d" + Text(7, u' ') +
                                        u" ,567,890,123\r\n"));
}

TEST(ResultExport, FormByExtension) {
  EXPECT_EQ(resultexport::formOf("/h/x.CSV"), Form::Csv);
  EXPECT_EQ(resultexport::formOf("/h/x.csv"), Form::Csv);
  EXPECT_EQ(resultexport::formOf("/h/data.v2.CSV"), Form::Csv);
  EXPECT_EQ(resultexport::formOf("/h/x.txt"), Form::Text);
  EXPECT_EQ(resultexport::formOf("/h/x"), Form::Text);
}

struct SaveFixture {
  test::TempFolder folder{"zevro-results"};
  LinuxFileSystem files;
  FakeUi ui;
  Platform platform{files, ui};
  NativePath last;
  resultexport::Request request{platform, folder.path("Catalog"), true, &last};
  Text pathOf(const char* name) const { return cp932::fromNativeName(folder.path(name).native()); }
};

TEST(ResultExport, DialogPreselectsCsvAndRemembersThePath) {
  SaveFixture f;
  Sample s;
  f.ui.saveFiles.push_back(f.pathOf("found.CSV"));
  ASSERT_TRUE(resultexport::saveResults(f.request, s.grid));
  ASSERT_EQ(f.ui.saveRequests.size(), 1u);
  EXPECT_EQ(f.ui.saveRequests[0].firstFilter, 1);
  EXPECT_EQ(f.ui.saveRequests[0].defaultExtension, u"CSV");
  EXPECT_EQ(f.ui.saveRequests[0].title, resultexport::DialogTitle);
  EXPECT_EQ(f.ui.saveRequests[0].filters, resultexport::DialogFilters);
  EXPECT_EQ(f.ui.saveRequests[0].fileName, u"");
  EXPECT_EQ(f.folder.get("found.CSV"), golden("results.csv"));
  EXPECT_EQ(f.ui.count(FakeUi::Kind::OpenDefault), 0);  // CSV is not opened
  EXPECT_EQ(f.last, f.folder.path("found.CSV"));

  // Next time the dialog starts on that name; a text file is opened.
  f.ui.saveFiles.push_back(f.pathOf("found.txt"));
  ASSERT_TRUE(resultexport::saveResults(f.request, s.grid));
  EXPECT_EQ(f.ui.saveRequests[1].fileName, u"found");
  EXPECT_EQ(f.ui.saveRequests[1].folder, cp932::fromNativeName(f.folder.root().native()));
  EXPECT_EQ(f.folder.get("found.txt"), golden("results.txt"));
  EXPECT_EQ(f.ui.count(FakeUi::Kind::OpenDefault), 1);
}

TEST(ResultExport, OnlyADoubledExportExtensionIsDropped) {
  struct Case {
    const char* chosen;
    const char* written;
  };
  const Case cases[] = {{"data.v2.CSV", "data.v2.CSV"}, {"a.csv.CSV", "a.csv"}, {"b.TXT.CSV", "b.TXT"}};
  for (const Case& c : cases) {
    SaveFixture f;
    Sample s;
    f.ui.saveFiles.push_back(f.pathOf(c.chosen));
    const auto written = resultexport::saveResults(f.request, s.grid);
    ASSERT_TRUE(written) << c.chosen;
    EXPECT_EQ(*written, f.folder.path(c.written)) << c.chosen;
    EXPECT_FALSE(f.folder.get(c.written).empty()) << c.chosen;
  }
}

TEST(ResultExport, FewerThanTwoRowsBeepAndCancelWritesNothing) {
  SaveFixture f;
  RowStore grid;
  SearchResults results(grid);
  results.start({{u"_00CD_A.cct", "_00CD_A.cct", 1, u""}});
  results.append(0, {u"T", u"p", u"", u""});
  EXPECT_FALSE(resultexport::saveResults(f.request, grid));
  EXPECT_EQ(f.ui.count(FakeUi::Kind::Beep), 1);
  EXPECT_EQ(f.ui.count(FakeUi::Kind::SaveFile), 0);
  Sample s;
  EXPECT_FALSE(resultexport::saveResults(f.request, s.grid));  // the dialog cancelled
  EXPECT_TRUE(f.last.empty());
}

TEST(ResultExport, InputBoxOffersTheCatalogFolderAndAsksBeforeReplacing) {
  SaveFixture f;
  f.request.fileDialogs = false;
  Sample s;
  f.folder.put("old.csv", "keep");
  f.ui.inputs.push_back(f.pathOf("old.csv"));
  f.ui.answers.push_back(AnswerNo);
  EXPECT_FALSE(resultexport::saveResults(f.request, s.grid));
  EXPECT_EQ(f.folder.get("old.csv"), "keep");
  ASSERT_FALSE(f.ui.calls.empty());
  EXPECT_EQ(f.ui.calls[0].kind, FakeUi::Kind::Input);
  EXPECT_EQ(f.ui.calls[0].text, resultexport::InputPrompt);
  f.ui.inputs.push_back(f.pathOf("old.csv"));
  f.ui.answers.push_back(AnswerYes);
  ASSERT_TRUE(resultexport::saveResults(f.request, s.grid));
  EXPECT_EQ(f.folder.get("old.csv"), golden("results.csv"));
}

TEST(ResultExport, AFailedWriteIsShownWithThePath) {
  SaveFixture f;
  Sample s;
  f.ui.saveFiles.push_back(f.pathOf("no/such/folder/x.csv"));
  EXPECT_FALSE(resultexport::saveResults(f.request, s.grid));
  const std::vector<Text> shown = f.ui.messages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_NE(shown[0].find(f.pathOf("no/such/folder/x.csv")), Text::npos);
}

}  // namespace
}  // namespace zevro
