#pragma once
// Editing a catalog in place: the rules every edit, paste, erase and delete
// follows, over plain row stores (the catalog and the file pane's rows with
// the pane's map back to the catalog). The window's edit lines, menus and
// keys call these; the headless tool's `edit` command calls CommitEdit.
//
//   normaliseEntered(u"a\rb\0c")        -> u"a\r\nb c"
//   dateAllowed(u"99/12/31 23:59")       -> true;  dateAllowed(u"Mon") -> false
//   copyText(store, 1, {1, 2})           -> u"first\r\n\"two\r\nlines\""
//   splitPaste(u"first\r\n\"two\r\nlines\"") -> {u"first", u"two\r\nlines"}
//
// A commit answers whether the edit line may close; when it may not, a
// beep or a message says why and nothing of the edit is stored.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "core/RowStore.h"
#include "grid/GridSettings.h"
#include "platform/FileSystem.h"
#include "text/Text.h"

namespace zevro::listedit {

inline constexpr TextView ExtensionChangedMessage = u"拡張子は変更できません";
inline constexpr TextView RenameFailedMessage = u"ファイル名を変更できません";
inline constexpr TextView TargetExistsHead = u"『 ";
inline constexpr TextView TargetExistsTail = u" 』というファイルは既に存在します";
inline constexpr TextView DateMessage = u"半角数字と /：.+-x×()[]’\"以外の文字は登録できません";
// The question before rows leave the list (colour codes 1, 2, 4 and CR).
inline constexpr TextView TitleLineMessage =
    u"タイトル行は、抹消できません\r\rリスト全体を抹消したいときは 「 削除 」 を選択して下さい。";
inline constexpr TextView DeleteQuestion = u"選択された行を、\x02リストから抹消します\x01\r\r";
inline constexpr TextView DeleteSubtreeQuestion =
    u"選択された行を、\x02リストから抹消します\r\r\x04※ 下位フォルダーの行、ファイルの行も 総て削除されます";
inline constexpr TextView DeleteFilesQuestion = u"選択された行を、\x02リストから抹消します\x01";
inline constexpr TextView DeleteFilesWithMembersQuestion = u"選択された行とその下位レベルの行を、\x02リストから抹消します\x01";

// Text as it may enter a field: every code below 32 other than TAB, CR and
// LF becomes a blank (a code 0 would end the record heap, 3 to 5 are the
// paste's placeholders, 16 to 31 field markers); line breaks become CR LF.
Text normaliseEntered(TextView text);

// A date field holds only " 0123456789/:.'+-x×()[]" and the double quote.
bool dateAllowed(TextView text);

// The flag bits of a row (field 4): a missing or invalid flag character
// ("0".."?" are the valid ones) counts as no flags, so that storing never
// writes a control character as a flag.
int flagBits(const RowStore& store, int row);
Text flagText(int bits);  // 3 -> u"3"

enum class RenameMode { ListOnly, ListAndMedium };

// How an edit line looks over its cell: light yellow, pink while a name is
// about to change on the medium too, and plain white over a grid whose
// background is not white (a tint over a tint would hide the text).
inline constexpr Colour EditLineBack = rgb(255, 255, 192);
inline constexpr Colour EditLineMediumBack = rgb(255, 224, 246);
inline constexpr Colour EditLineWhite = rgb(255, 255, 255);
Colour editLineBackground(RenameMode mode, int column, Colour gridBackground);
// Names and comments are typed in any script through the input method; a
// date is digits and signs only, so the input method stays off there.
bool editLineTakesInputMethod(int column);

// Turning a row's path from the medium root (u"DOCS\\README.TXT") into the
// file's full path on the drive holding the medium; nullopt when the medium
// is not there. Without it a rename changes the list only.
using LocateRowFile = std::function<std::optional<NativePath>(TextView rowPath)>;

struct MediumAccess {
  LocateRowFile locate;
  FileSystem* files = nullptr;
};

// Where an edit goes: the catalog row, and for the file grid the pane's
// store and the pane row showing it.
struct EditPlace {
  RowStore* catalog = nullptr;
  int catalogRow = -1;
  RowStore* pane = nullptr;
  int paneRow = -1;
  int column = 1;
};

struct CommitResult {
  bool ok = true;      // the edit line may close (or move on)
  bool beep = false;   // refused without a message
  Text message;        // refused with this message
  bool stored = false; // something changed in the catalog
};

// Stores `typed` into the place (name, comment or date); see the header
// comment. With rename mode ListAndMedium a file row's name changes on the
// medium too, never replacing another file.
CommitResult CommitEdit(const EditPlace& place, TextView typed, RenameMode mode, const MediumAccess* medium);

// Stores a comment for catalog row `row` (row 0 and below: nothing), with
// flag bit 2, also in the pane row that shows it (pane may be null).
// Answers whether anything was stored.
bool EditComment(RowStore& catalog, int row, TextView text, RowStore* pane, std::span<const std::int32_t> paneMap);

// The cells of column k of the display rows joined with CR LF; a cell with
// a double quote or a line break is enclosed in double quotes, each quote
// inside doubled.
Text copyText(const RowStore& store, int column, std::span<const int> displayRows);
// The text a copy made, cut back into its cells (lines not starting with a
// double quote are taken as they are).
std::vector<Text> splitPaste(TextView text);

// Pasting lines into column `column` from display row `firstRow` down of
// `grid` (the catalog, or the pane with its map to the catalog).
struct PasteResult {
  int stored = 0;
  bool beep = false;  // ran past the last row
  Text message;       // a line failed the date check
};
PasteResult pasteLines(RowStore& grid, RowStore* catalogOfPane, std::span<const std::int32_t> paneMap, int column,
                       int firstRow, std::span<const Text> lines);

// Empties column `column` of the display rows of `grid` (and of their
// catalog rows when `grid` is the pane); flags are left. Answers how many
// fields were emptied.
int eraseCells(RowStore& grid, RowStore* catalogOfPane, std::span<const std::int32_t> paneMap, int column,
               std::span<const int> displayRows);

// The stored rows of a pane that deleting the given stored rows takes: each
// row with its stored subtree (an archive's members), whatever the display
// order. `grown` tells whether rows were added.
std::vector<std::uint8_t> paneDeleteMarks(const RowStore& pane, std::span<const int> storedRows, bool& grown);

}  // namespace zevro::listedit
