#pragma once
// The shown catalog as a file: the catalog list of the main window's folder
// pane, the list file it came from and the operations that load, save,
// retitle and relabel it. No window is involved: questions and messages go
// through the Ui seam, what other windows must learn goes through Hooks.
//
// State:
//   currentFile()  "/home/kaori/.local/share/zevro/Catalog/_03CD_GAMES.cct",
//                  spelled as on disk; empty when no catalog is shown
//   modified()     the catalog list's modified mark
//   freeSpace()    free bytes of the medium when it was read, like 123456789
//   iconStamp()    the icon-table stamp the kind codes follow, u"240131120000"
//                  or 12 blanks
//   mediumKind(), genre()  from the file name: 1 CD, 2 FD, 3 HD; 0..99
//
// Every write goes to a complete new file before anything old is touched; a
// write that fails is reported and leaves the old file, the catalog index and
// the modified mark as they were.
#include <cstdint>
#include <functional>
#include <iterator>
#include <optional>
#include <string_view>

#include "core/CatalogIndex.h"
#include "core/IconTable.h"
#include "core/ListFile.h"
#include "core/ListFileWriting.h"
#include "core/RowStore.h"
#include "core/TitleCache.h"
#include "platform/Platform.h"
#include "text/Text.h"

namespace zevro {

class CatalogDocument {
public:
  // --- Texts of the program (message markup: "|" breaks a line, codes 1, 2
  // and 5 colour a part, 0 ends the colour) ------------------------------
  static constexpr TextView SaveQuestion = u"現在 表示中のリストを、カタログに保存しますか";
  // Texts holding code 0 are kept in arrays so that the view covers all of them.
  static constexpr char16_t TooManyRowsText[] =
      u"\x05リストの行数が多すぎて、保存できません。\0"
      u"||不要な部分を編集メニューの削除で切り捨てるか、フォルダー別にリストを分割して下さい";
  static constexpr TextView TooManyRowsMessage{TooManyRowsText, std::size(TooManyRowsText) - 1};
  static constexpr char16_t TooManyCharactersText[] =
      u"\x05リストの文字数が多すぎて、保存できません。\0"
      u"||不要な部分を編集メニューの削除で切り捨てるか、フォルダー別にリストを分割して下さい";
  static constexpr TextView TooManyCharactersMessage{TooManyCharactersText, std::size(TooManyCharactersText) - 1};
  static constexpr TextView TitleRequiredMessage = u"タイトルを入力しないとカタログ保存できません";
  static constexpr char16_t ChangeTitleQuestionText[] =
      u"タイトル名を変更すると、修正されたリストも同時に\x05上書き保存されます\0"
      u"||上書き保存していいですか？";
  static constexpr TextView ChangeTitleQuestion{ChangeTitleQuestionText, std::size(ChangeTitleQuestionText) - 1};
  static constexpr TextView ChangeTitleCaption = u"タイトル名の変更";
  static constexpr TextView ChangeTitlePrompt =
      u"\x01新しいタイトル名を入力して下さい\x02||ここで修正したタイトル名は、このリストの|先頭行のコメントとなります";
  static constexpr TextView MediumCatalogNotFoundMessage = u"指定されたドライブのリストは見つかりません";
  static constexpr TextView RowCountHead = u" 記録行数: ";
  static constexpr TextView RowCountTail = u"行";
  // A list file that cannot be written, read or converted; a relabelling that
  // would replace another catalog. Each is followed by "|" and the details.
  static constexpr TextView WriteFailedMessage = u"リストファイルを保存できませんでした";
  static constexpr TextView DamagedMessage = u"リストファイルが壊れているため、読み込めません";
  static constexpr TextView ReadFailedMessage = u"リストファイルを読み込めませんでした";
  static constexpr TextView OldLayoutMessage = u"古い形式のリストファイルを変換できませんでした";
  static constexpr TextView RelabelTargetExistsMessage = u"同じ名前のリストファイルがあるため、名前を変更できません";

  // The parts of the program the document works with.
  struct Services {
    Platform& platform;
    NativePath catalogFolder;  // "/home/kaori/.local/share/zevro/Catalog"
    NativePath programFolder;  // "/home/kaori/.local/share/zevro"; old files go to its Backup/
    CatalogIndex& index;
    TitleCache& titleCache;
    // The current icon table; a list saved with another stamp gets its kind
    // codes derived again when it is loaded. None: kinds stay as saved.
    const IconTable* icons = nullptr;
  };

  // What windows and later steps add; every hook may be left empty.
  struct Hooks {
    std::function<void()> commitEdit;  // finishes an in-place edit
    // The selection window shows and selects the catalog, like u"_03CD_GAMES.cct".
    std::function<void(TextView fileName)> refreshCatalogList;
    // The selection list opens a genre (after a save).
    std::function<void(int genre)> openGenre;
    // Told when the icon table gives a file row a folder-like code (the
    // desktop program shows DebugStopMessage).
    std::function<void(int row, int code)> onLowKindCode;
    std::function<int()> displayMode;  // 0, 1, 2 or 4, written into the header
    // Converts the old list files of the catalog folder (untagged, "AH",
    // "AX"); false when it could not run.
    std::function<bool()> convertOldFiles;
    // Run around every write of the list file, whatever asked for it (a
    // save, the save question, a new title): before it (false stops the
    // write) and after it succeeded, with the written name like
    // u"_00HD_DATA.cct". A new reading stores itself through these.
    std::function<bool()> beforeWrite;
    std::function<void(TextView fileName)> afterWrite;
  };

  enum class LoadResult {
    Loaded,     // the catalog is shown
    Cancelled,  // the save question was answered Cancel (or its save failed)
    Missing,    // no such file: beep, nothing shown
    Refused,    // damaged, unreadable or unconvertible: message, nothing shown
  };

  explicit CatalogDocument(Services services, Hooks hooks = {});

  RowStore& list() { return list_; }
  const RowStore& list() const { return list_; }
  Hooks& hooks() { return hooks_; }
  const NativePath& currentFile() const { return current_; }
  Text currentFileName() const;  // u"_03CD_GAMES.cct", empty when none
  // For a list that did not come from a file (a medium just read).
  void setCurrentFile(NativePath path) { current_ = std::move(path); }
  // The user chose another catalog folder: catalogs are loaded from there.
  void setCatalogFolder(NativePath folder) { catalogFolder_ = std::move(folder); }
  bool modified() const { return list_.modified(); }
  void setModified(bool on) { list_.setModified(on); }
  std::int64_t freeSpace() const { return freeSpace_; }
  void setFreeSpace(std::int64_t bytes) { freeSpace_ = bytes; }
  const Text& iconStamp() const { return iconStamp_; }
  void setIconStamp(Text stamp) { iconStamp_ = std::move(stamp); }
  int mediumKind() const { return mediumKind_; }
  int genre() const { return genre_; }
  // Field 1 of the title line, like u"ゲーム集".
  Text title() const;

  // The status line after a load: " 記録行数: 1,234行".
  static Text rowCountText(int rows);

  // Asks "現在 表示中のリストを…" when the catalog is modified: Yes saves,
  // No discards. False when the caller must stop (Cancel, or a failed save).
  bool confirmDiscard();

  // Loads a list file of the catalog folder by name (any case), like
  // u"_03CD_GAMES.cct". With `jump` (full display) colour indexes are
  // assigned, medium kind and genre taken from the name, and a file of
  // another tag than "BX" is written back at once (old file to Backup/).
  LoadResult load(TextView fileName, bool jump);

  // Saves the shown catalog to its file after the checks (row and character
  // limits, a title). True when it was written.
  bool save();

  // Asks for a new title, puts it into the title line and saves. True when
  // the catalog was saved with it.
  bool changeTitle();

  // Writes the shown catalog to a list file (name normalised: "_03FD_X.cct").
  // keepTime: an existing file goes to Backup/ once the new one is complete
  // and the new file gets the old time + 1 second. Failures are reported;
  // the path written, or nullopt.
  std::optional<NativePath> writeListFile(const NativePath& path, bool keepTime);

  // Renames every catalog of the shown catalog's medium from oldLabel to
  // newLabel: "_03FD_Old.cct", "_03FD_Old DOCS.cct", "_03FD_Old-02.cct"
  // become "_03FD_New…"; their title lines get the new label, the index
  // forgets the old names, the title cache remembers the label for the
  // drive and the shown catalog is loaded again. Refused (message) when a
  // new name is taken by another file. True when every catalog was renamed.
  bool relabel(char driveLetter, TextView oldLabel, TextView newLabel);

  // The first list file (listing order) of the medium kind (u"CD", u"FD",
  // u"HD") whose title line's label equals the title, ignoring ASCII case:
  // like u"_03CD_GAMES.cct". Not found: the message, nullopt.
  std::optional<Text> findCatalogOfMedium(TextView kind, TextView title);

private:
  enum class TitleOutcome { Saved, NotSaved, NoTitle };
  using WriteOutcome = listfile::WriteOutcome;

  TitleOutcome askTitleAndSave(bool askFirst);
  bool saveWithTitle();
  listfile::Header headerFor(std::int64_t freeSpace, const Text& iconStamp) const;
  WriteOutcome writeStore(const RowStore& store, const listfile::Header& header, const NativePath& path, bool keepTime);
  bool reportWrite(const WriteOutcome& outcome, const NativePath& path);
  void reportRead(const listfile::ReadResult& result, TextView fileName);
  bool isOldListFile(const listfile::ReadResult& result, const NativePath& path);
  void forget();  // no catalog shown
  Text nameOf(const NativePath& path) const;
  NativePath backupFolder() const;
  void message(TextView text, int flags);

  Platform& platform_;
  NativePath catalogFolder_;
  NativePath programFolder_;
  CatalogIndex& index_;
  TitleCache& titleCache_;
  const IconTable* icons_;
  Hooks hooks_;
  RowStore list_;
  NativePath current_;
  std::int64_t freeSpace_ = 0;
  Text iconStamp_;
  int mediumKind_ = 0;
  int genre_ = 0;
};

}  // namespace zevro
