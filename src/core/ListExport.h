#pragma once
// The main window's export of its folder pane: the rows shown, in display
// order, as a text listing or CSV (ExportWriter.h), to a file the user names.
//
//   title u"ゲーム/1998: 1"  -> proposed name u"ゲーム-1998- 1.TXT"
//   "/home/kaori/list.TXT.TXT" -> "/home/kaori/list.TXT" (a doubled extension)
//   "/home/kaori/list.csv"     -> the CSV form; any other extension the text form
//
// Each row gives its level and fields 0 to 3; the name is indented by two
// blanks per level in both forms. The file is written whole to a temporary
// file and renamed, so a failed export leaves an earlier file as it was.
#include <iterator>
#include <optional>
#include <string>

#include "core/ExportWriter.h"
#include "core/OptionStore.h"
#include "core/RowStore.h"
#include "platform/Platform.h"
#include "text/Text.h"

namespace zevro::listexport {

// --- Texts of the program ---------------------------------------------------
inline constexpr TextView DialogTitle = u"テキスト･ファイルへのリスト保存";
inline constexpr TextView DialogFilters = u"ﾃｷｽﾄ･ﾌｧｲﾙ (TXT)|*.TXT|ﾃｷｽﾄ-ｶﾝﾏ区切り (CSV)|*.CSV";
inline constexpr TextView DefaultExtension = u"TXT";
inline constexpr TextView EmptyTitleName = u"Catalog.TXT";
inline constexpr TextView InputTitle = u"ZEVRO";
inline constexpr char16_t InputPromptText[] = u"\x01テキスト・ファイルに現在の情報を書き込みます\0|||ファイル名：";
inline constexpr TextView InputPrompt{InputPromptText, std::size(InputPromptText) - 1};
inline constexpr TextView ExistsQuestionTail = u"は、既に存在します。　上書きしていいですか？";
inline constexpr ExportWriter::Values CsvHeader = {u"Folder/File", u"コメント", u"日付", u"サイズ"};

// The catalog title with \ / : , ; * ? < > | and " replaced by "-", then
// ".TXT"; u"Catalog.TXT" for an empty title.
Text proposedName(TextView title);

// A path whose name ends in a doubled ".TXT" or ".CSV" (any case) loses the
// last 4 characters: "a.csv.TXT" -> "a.csv"; "v1.2.TXT" stays as it is.
Text withoutDoubledExtension(TextView path);

// CSV when the extension of the path's file name is "CSV" in any case.
ExportWriter::Form formOf(const NativePath& path);

// The four values of stored row r as exported: the name indented by two
// blanks per level, the comment, the date text and the size text.
void addRow(ExportWriter& writer, const RowStore& store, int row);

// Every display row of the store (the CSV form after its header), as CP932.
std::string shownRowsBytes(const RowStore& store, ExportWriter::Form form);

// Asks for the file and writes it, as the main window's command does. The
// proposed name comes from `title`; the folder of RecentTextName (else the
// catalog folder) is where the dialog starts; the path chosen is stored as
// RecentTextName. Without a file dialog the input box asks for the path.
// A text-form file is opened with the default program afterwards. The path
// written, or nullopt (cancelled, refused or failed: beeps and messages
// given).
struct Request {
  Platform& platform;
  OptionStore& options;
  NativePath catalogFolder;
  bool fileDialogs = true;
};
std::optional<NativePath> exportList(const Request& request, const RowStore& shown, TextView title,
                                     bool hasCurrentFile);

}  // namespace zevro::listexport
