// The text and CSV export of a list: the bytes of both forms, the proposed
// name, the doubled extension, the form by extension and the command's flow
// with a scripted Ui.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "TempFolder.h"
#include "core/CatalogList.h"
#include "core/ExportWriter.h"
#include "core/ListExport.h"
#include "core/OptionKeys.h"
#include "core/OptionStore.h"
#include "listview/FolderViewBuilder.h"
#include "platform/FakeUi.h"
#include "platform/FaultyFileSystem.h"
#include "platform/LinuxFileSystem.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

using Form = ExportWriter::Form;

Text blanks(std::size_t n) { return Text(n, u' '); }

// title (0), DOCS (1), SUB (2), 漢字名.TXT (3), PICS (1)
RowStore sampleList() {
  RowStore store;
  catalog::makeCatalogList(store);
  const Text comment50 = u"0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMN";
  store.appendShown(catalog::buildRecord({u"MYDISC", u"ゲーム集", u"", u"1,234", u"0"}), 0, 0, 4, 0);
  store.appendShown(catalog::buildRecord({u"DOCS", u"a\"b,c", u"03/04/05 12:34", u"<DIR>", u"0"}), 2, 0, 1, 1);
  store.appendShown(catalog::buildRecord({u"SUB", u"two\r\nlines", u"03/04/05", u"12", u"0"}), 3, 0, 1, 2);
  store.appendShown(catalog::buildRecord({u"漢字名.TXT", comment50, u"24/01/31 12:00", u"1,234,567,890,123", u"0"}),
                    0, 0, 6, 3);
  store.appendShown(catalog::buildRecord({u"PICS", u"", u"", u"0", u"0"}), 2, 0, 1, 1);
  return store;
}

TEST(ExportWriter, TextLinesAreFixedColumnsWithoutTrailingBlanks) {
  const RowStore store = sampleList();
  const std::string bytes = listexport::shownRowsBytes(store, Form::Text);
  const Text comment50 = u"0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMN";
  Text expected;
  // title: name 6 + 24 pad, blank, comment 4 + 36 pad, blank, 8 blanks, blank, size right in 12
  expected += u"MYDISC" + blanks(25) + u"ゲーム集" + blanks(37) + blanks(9) + blanks(7) + u"1,234\r\n";
  expected += u"  DOCS" + blanks(25) + u"a\"b,c" + blanks(36) + u"03/04/05" + blanks(1) + blanks(7) + u"<DIR>\r\n";
  expected += u"    SUB" + blanks(24) + u"two lines" + blanks(32) + u"03/04/05" + blanks(1) + blanks(10) + u"12\r\n";
  expected += u"      漢字名.TXT" + blanks(18) + comment50.substr(0, 40) + blanks(1) + u"24/01/31" + blanks(1) +
              u",567,890,123\r\n";
  expected += u"  PICS" + blanks(25) + blanks(41) + blanks(9) + blanks(11) + u"0\r\n";
  EXPECT_EQ(bytes, cp932::encode(expected));
}

TEST(ExportWriter, TextLineBreaksBecomeOneBlankEach) {
  struct Case {
    TextView comment;
    TextView line;
  };
  const Case cases[] = {
      {u"a\r\nb", u"a b"},
      {u"a\rb", u"a b"},
      {u"a\nb", u"a b"},
      {u"a\n\nb", u"a  b"},
  };
  for (const Case& c : cases) {
    ExportWriter writer(Form::Text);
    writer.addRow({u"N", c.comment, u"", u""});
    EXPECT_EQ(writer.bytes(), cp932::encode(u"N" + blanks(30) + Text(c.line) + u"\r\n")) << toUtf8(c.comment);
  }
}

TEST(ExportWriter, CsvQuotesEveryValueDoublesInnerQuotesKeepsLineBreaks) {
  const RowStore store = sampleList();
  const std::string bytes = listexport::shownRowsBytes(store, Form::Csv);
  // The header's bytes, as a spreadsheet reads them.
  const std::string header =
      "\"Folder/File\",\"\x83\x52\x83\x81\x83\x93\x83\x67\",\"\x93\xfa\x95\x74\",\"\x83\x54\x83\x43\x83\x59\"\r\n";
  ASSERT_EQ(bytes.substr(0, header.size()), header);
  Text rows;
  rows += u"\"MYDISC\",\"ゲーム集\",\"\",\"1,234\"\r\n";
  rows += u"\"  DOCS\",\"a\"\"b,c\",\"03/04/05 12:34\",\"<DIR>\"\r\n";
  rows += u"\"    SUB\",\"two\r\nlines\",\"03/04/05\",\"12\"\r\n";
  rows += u"\"      漢字名.TXT\",\"0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMN\",\"24/01/31 12:00\","
          u"\"1,234,567,890,123\"\r\n";
  rows += u"\"  PICS\",\"\",\"\",\"0\"\r\n";
  EXPECT_EQ(bytes.substr(header.size()), cp932::encode(rows));
}

TEST(ExportWriter, HalfWidthKanaAndKanjiCountOneCharacterEach) {
  ExportWriter writer(Form::Text);
  writer.addRow({u"ｱｲｳ漢字", u"", u"", u"1"});
  const std::string bytes = writer.bytes();
  // 5 characters + 25 pad + blank + 40 + blank + 8 + blank + 11 blanks + "1"
  EXPECT_EQ(bytes, "\xb1\xb2\xb3\x8a\xbf\x8e\x9a" + std::string(25 + 1 + 40 + 1 + 8 + 1 + 11, ' ') + "1\r\n");
}

TEST(ExportWriter, CollapsedFolderLeavesItsRowsOut) {
  RowStore store = sampleList();
  catalog::prepareMarks(store);
  store.setTreeFlags(1, store.treeFlags(1) | catalog::TreeCollapsed);
  FolderViewBuilder().buildKeepingState(store, 1);
  const std::string bytes = listexport::shownRowsBytes(store, Form::Csv);
  EXPECT_NE(bytes.find("\"  DOCS\""), std::string::npos);
  EXPECT_EQ(bytes.find("SUB"), std::string::npos);
  EXPECT_EQ(bytes.find(cp932::encode(u"漢字名")), std::string::npos);
  EXPECT_NE(bytes.find("\"  PICS\""), std::string::npos);
}

TEST(ListExport, ProposedNameReplacesCharactersFileNamesCannotHold) {
  struct Case {
    TextView title;
    TextView name;
  };
  const Case cases[] = {
      {u"A/B:C", u"A-B-C.TXT"},
      {u"", u"Catalog.TXT"},
      {u"a\\b,c;d*e?f<g>h|i\"j", u"a-b-c-d-e-f-g-h-i-j.TXT"},
      {u"ゲーム集 1998", u"ゲーム集 1998.TXT"},
  };
  for (const Case& c : cases) EXPECT_EQ(listexport::proposedName(c.title), c.name) << toUtf8(c.title);
}

TEST(ListExport, OnlyADoubledExportExtensionIsRemoved) {
  struct Case {
    TextView path;
    TextView kept;
  };
  const Case cases[] = {
      {u"/h/list.TXT.TXT", u"/h/list.TXT"}, {u"/h/list.csv.TXT", u"/h/list.csv"},
      {u"/h/v1.2.TXT", u"/h/v1.2.TXT"},     {u"/h/list.TXT", u"/h/list.TXT"},
      {u"/h/a.b.CSV", u"/h/a.b.CSV"},       {u"/h/x.txt.csv", u"/h/x.txt"},
  };
  for (const Case& c : cases) EXPECT_EQ(listexport::withoutDoubledExtension(c.path), c.kept) << toUtf8(c.path);
}

TEST(ListExport, FormFollowsTheExtension) {
  EXPECT_EQ(listexport::formOf("/h/x.csv"), Form::Csv);
  EXPECT_EQ(listexport::formOf("/h/x.CSV"), Form::Csv);
  EXPECT_EQ(listexport::formOf("/h/x.Csv"), Form::Csv);
  EXPECT_EQ(listexport::formOf("/h/x.TXT"), Form::Text);
  EXPECT_EQ(listexport::formOf("/h/x.lst"), Form::Text);
  EXPECT_EQ(listexport::formOf("/h.csv/x"), Form::Text);
}

struct ExportFixture {
  test::TempFolder folder{"zevro-export"};
  LinuxFileSystem files;
  FakeUi ui;
  Platform platform{files, ui};
  OptionStore options{files, folder.path("ZEVRO32.Opt")};
  listexport::Request request{platform, options, folder.path("Catalog")};
};

TEST(ListExport, DialogStartsAtTheProposedNameAndRemembersThePath) {
  ExportFixture f;
  const RowStore store = sampleList();
  const Text chosen = cp932::fromNativeName(f.folder.path("out.TXT").native());
  f.ui.saveFiles.push_back(chosen);
  const auto written = listexport::exportList(f.request, store, u"A/B", true);
  ASSERT_TRUE(written);
  ASSERT_EQ(f.ui.saveRequests.size(), 1u);
  const SaveFileRequest& asked = f.ui.saveRequests[0];
  EXPECT_EQ(asked.title, listexport::DialogTitle);
  EXPECT_EQ(asked.filters, listexport::DialogFilters);
  EXPECT_EQ(asked.defaultExtension, u"TXT");
  EXPECT_EQ(asked.firstFilter, 0);
  EXPECT_EQ(asked.fileName, u"A-B");
  EXPECT_EQ(f.folder.get("out.TXT"), listexport::shownRowsBytes(store, Form::Text));
  EXPECT_EQ(f.options.readText(opt::RecentTextName, u""), chosen);
  EXPECT_EQ(f.ui.count(FakeUi::Kind::OpenDefault), 1);

  // The next export starts in the folder of the path remembered.
  f.ui.saveFiles.push_back(cp932::fromNativeName(f.folder.path("out.csv.TXT").native()));
  ASSERT_TRUE(listexport::exportList(f.request, store, u"", true));
  EXPECT_EQ(f.ui.saveRequests[1].folder, cp932::fromNativeName(f.folder.root().native()));
  EXPECT_EQ(f.ui.saveRequests[1].fileName, u"Catalog");
  EXPECT_EQ(f.folder.get("out.csv"), listexport::shownRowsBytes(store, Form::Csv));
  EXPECT_EQ(f.ui.count(FakeUi::Kind::OpenDefault), 1);  // a CSV file is not opened
}

TEST(ListExport, NothingToExportOrCancelledWritesNothing) {
  ExportFixture f;
  RowStore empty;
  EXPECT_FALSE(listexport::exportList(f.request, empty, u"x", true));
  EXPECT_FALSE(listexport::exportList(f.request, sampleList(), u"x", false));
  EXPECT_EQ(f.ui.count(FakeUi::Kind::Beep), 2);
  EXPECT_EQ(f.ui.count(FakeUi::Kind::SaveFile), 0);
  EXPECT_FALSE(listexport::exportList(f.request, sampleList(), u"x", true));  // cancelled dialog
  EXPECT_FALSE(f.options.has(opt::RecentTextName));
}

TEST(ListExport, InputBoxWhereThereIsNoDialogAsksBeforeReplacing) {
  ExportFixture f;
  f.request.fileDialogs = false;
  f.folder.put("old.TXT", "keep");
  const Text path = cp932::fromNativeName(f.folder.path("old.TXT").native());
  f.ui.inputs.push_back(path);
  f.ui.answers.push_back(AnswerNo);
  EXPECT_FALSE(listexport::exportList(f.request, sampleList(), u"T", true));
  EXPECT_EQ(f.folder.get("old.TXT"), "keep");
  ASSERT_EQ(f.ui.calls[0].kind, FakeUi::Kind::Input);
  EXPECT_EQ(f.ui.calls[0].text, listexport::InputPrompt);
  EXPECT_EQ(f.ui.calls[0].title, u"ZEVRO");
  EXPECT_EQ(f.ui.messages().back(), u"\x08" + path + u"\x07" + Text(listexport::ExistsQuestionTail));

  f.ui.inputs.push_back(path);
  f.ui.answers.push_back(AnswerYes);
  EXPECT_TRUE(listexport::exportList(f.request, sampleList(), u"T", true));
  EXPECT_EQ(f.folder.get("old.TXT"), listexport::shownRowsBytes(sampleList(), Form::Text));
}

TEST(ListExport, FailedWriteIsReportedAndKeepsTheEarlierFile) {
  test::TempFolder folder{"zevro-export"};
  LinuxFileSystem real;
  FaultyFileSystem files(real);
  FakeUi ui;
  Platform platform{files, ui};
  OptionStore options{files, folder.path("ZEVRO32.Opt")};
  const listexport::Request request{platform, options, folder.path("Catalog")};
  folder.put("list.TXT", "earlier");
  files.fail(FaultyFileSystem::Op::Write, ENOSPC, folder.path("list.TXT"));
  ui.saveFiles.push_back(cp932::fromNativeName(folder.path("list.TXT").native()));
  EXPECT_FALSE(listexport::exportList(request, sampleList(), u"T", true));
  EXPECT_EQ(folder.get("list.TXT"), "earlier");
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_NE(ui.messages()[0].find(u"list.TXT"), Text::npos);
  EXPECT_EQ(ui.count(FakeUi::Kind::OpenDefault), 0);
}

}  // namespace
}  // namespace zevro
