#pragma once
// The search results saved as a file: CSV or the text form of
// ExportWriter.h, chosen by the file's extension, CP932 with CR LF.
//
// CSV: a header line, then fields 0 to 3 of every result row in display order:
//   "カタログ名","Folder/File","日付","コメント"\r\n
//   "ゲーム集","DOS\README.TXT","99/12/31 23:55","Read ""me"""\r\n
// Text: title left in 30, path left in 40, the first 8 characters of the
// date, the comment right-aligned in 12 and never cut (it is the last
// column); trailing blanks removed:
//   ゲーム集 + 26 blanks, blank, DOS\README.TXT + 26 blanks, blank, 99/12/31, blank, "     Read me"\r\n
#include <iterator>
#include <optional>
#include <string>

#include "core/ExportWriter.h"
#include "core/RowStore.h"
#include "platform/Platform.h"
#include "text/Text.h"

namespace zevro::resultexport {

// --- Texts of the program ---------------------------------------------------
inline constexpr TextView DialogTitle = u"テキスト･ファイルへのリスト保存";
inline constexpr TextView DialogFilters = u"ﾃｷｽﾄ･ﾌｧｲﾙ (TXT)|*.TXT|ﾃｷｽﾄ-ｶﾝﾏ区切り (CSV)|*.CSV";
inline constexpr int CsvFilter = 1;  // the second filter is preselected
inline constexpr TextView DefaultExtension = u"CSV";
inline constexpr TextView DefaultFileName = u"検索結果.CSV";
inline constexpr TextView InputTitle = u"ZEVRO";
inline constexpr char16_t InputPromptText[] = u"\x01テキスト・ファイルに現在の情報を書き込みます||||\0ファイル名：";
inline constexpr TextView InputPrompt{InputPromptText, std::size(InputPromptText) - 1};
inline constexpr TextView ExistsQuestionTail = u"は、既に存在します。　上書きしていいですか？";
inline constexpr ExportWriter::Values CsvHeader = {u"カタログ名", u"Folder/File", u"日付", u"コメント"};

// The form a path's extension picks: CSV when it is "CSV" in any case.
ExportWriter::Form formOf(const NativePath& path);

// Every result row of the grid, in display order, as the file's bytes.
std::string resultBytes(const RowStore& grid, ExportWriter::Form form);

// Writes the bytes by temporary file and rename; the error, if any.
IoError writeResults(FileSystem& files, const NativePath& path, const RowStore& grid);

// Save, as the search window's button does: beeps with fewer than 2 rows;
// asks for the file (the save dialog with the last export path, else the
// input box offering the catalog folder's "検索結果.CSV" and asking before
// overwriting); writes; opens a text-form file with the default program. A
// failed write shows the error and the path. The path written, or nullopt.
struct Request {
  Platform& platform;
  NativePath catalogFolder;
  bool fileDialogs = true;
  NativePath* lastExportPath = nullptr;  // read and updated by the dialog
};
std::optional<NativePath> saveResults(const Request& request, const RowStore& grid);

}  // namespace zevro::resultexport
