#pragma once
// The genre commands of the selection window's menu POP_JAN (add, rename,
// delete, move up and down) and the move of a catalog to another genre.
// Each asks what it needs through the Ui (input box, message box), writes
// CatJan.CCZ and rebuilds the selection list.
//
//   GenreCommands commands(selection, ui);
//   commands.add();                 asks for the name
//   commands.addNamed(u"ゲーム");   zevro-cli's form, no question
#include "platform/Platform.h"
#include "platform/Ui.h"
#include "select/CatalogSelection.h"
#include "text/Text.h"

namespace zevro {

namespace genrecommands {

// Texts of the program, with their message codes (13 is a line break in the
// message box, 1 and 2 colour the prompt, 8/7 bold, 5/0 colour).
inline constexpr TextView FullMessage = u"これ以上の追加はできません\r\r不要なジャンル名を修正して下さい";
inline constexpr TextView AddTitle = u"ジャンル名の追加";
inline constexpr TextView AddPrompt = u"\x01新しいジャンル名を入力して下さい";
inline constexpr TextView RenameTitle = u"ジャンル名の変更";
inline constexpr TextView RenamePrompt = u"\x01新しいジャンル名を入力して下さい||\x02旧ジャンル名＝";
inline constexpr TextView HasListsMessage =
    u"このジャンルに登録されたリストがあります。\r\r削除する前に、このリストのジャンルを変更してください";
inline constexpr TextView DeleteHead = u"ジャンル　「 ";
inline constexpr TextView DeleteMiddle = u" 」 を";
inline constexpr TextView DeleteAsk = u"削除していいですか？";
inline constexpr int DeleteFlags = 4 | 0x20 | 0x100;  // Yes/No, question, No the default
// A move onto a catalog that is already in the target genre.
inline constexpr TextView MoveClashMessage = u"移動先のジャンルに同じ名前のリストがあります。|\x08";

// u"\x01新しいジャンル名を入力して下さい||\x02旧ジャンル名＝" + old
Text renamePrompt(TextView oldName);
// u"ジャンル　「 \x08" + name + u"\x07 」 を\x05削除していいですか？\x00"
Text deleteQuestion(TextView name);

}  // namespace genrecommands

// What a command came to: Done; Unchanged (nothing to do: cancelled, the
// same name, the first genre up); Refused (a rule says no; the user was told
// or heard a beep); Failed (a file could not be written or renamed; shown).
enum class GenreOutcome { Done, Unchanged, Refused, Failed };

class GenreCommands {
public:
  GenreCommands(CatalogSelection& selection, Platform& platform);

  // POPJADD: the input box, then addNamed. The new genre's number, -1 when
  // none was added.
  int add();
  // A genre of that name at the lowest free number, after the last genre,
  // closed; its row gets the cursor. -1 and the message when all 20 are in
  // use; -1 and a beep for an empty name (after dropping control characters)
  // or one that makes the names longer than CatJan.CCZ can hold.
  int addNamed(TextView name, GenreOutcome* outcome = nullptr);
  // POPJREN: the input box with the old name.
  GenreOutcome rename(int genre);
  GenreOutcome renameTo(int genre, TextView name);
  // POPJDEL: refused (with its message) while any list file "_NN?D_*.CCT" of
  // the genre is in the catalog folder, whatever the media filter shows;
  // asks Yes/No when `ask`; the later genres move up one place.
  GenreOutcome remove(int genre, bool ask = true);
  // POPJMOVU / POPJMOVD.
  GenreOutcome moveUp(int genre);
  GenreOutcome moveDown(int genre);

  // The genre of the row under the cursor, -1 when it is not a genre row of
  // the table (a catalog row, a genre 20..99).
  int cursorGenre() const;
  // The new name of the genre last renamed (what the main window's genre
  // label shows when it was the current genre).
  const Text& lastName() const { return lastName_; }

private:
  GenreOutcome written(int cursorGenre);
  GenreOutcome swapPlaces(int genre, int step);
  bool fits(int genre, TextView name);

  CatalogSelection& selection_;
  Platform& platform_;
  Text lastName_;
};

// The move of a catalog to another genre: the list file "_NNKK_label.cct"
// renamed to "_MMKK_label.cct" in the catalog folder and its index entry
// (the whole entry, never the tail of a longer name) removed. The listing
// pass makes the new entry (ChangeJanre).
struct CatalogMove {
  GenreOutcome outcome = GenreOutcome::Unchanged;
  Text newName;  // as on disk: u"_07CD_GAMES.cct"
  Text oldName;  // as it was on disk
};
// fileName: any case, a name of the catalog folder. Refused: the name has no
// genre digits (beep), or a list file of the new name is there, any case
// (message; nothing changes). Failed: not there, or the rename failed (the
// system's error text shown).
CatalogMove moveCatalog(Platform& platform, CatalogIndex& index, const NativePath& catalogFolder,
                        TextView fileName, int genre);

}  // namespace zevro
