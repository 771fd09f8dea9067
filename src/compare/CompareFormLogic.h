#pragma once
// The decisions of the comparison window: which comparison runs (duplicates
// across media, the files of the shown catalog kept on no other medium, the
// changes between the shown catalog and another), the rows it shows in its
// result grid, their group colours, and the jump from a row to the main
// window. The window only draws this state.
//
//   CompareFormLogic logic(rows);                   rows: the result grid's store
//   logic.findDuplicates(files, catalogFolder, filters, hooks);
//   rows.field(0, 0) -> u"ゲーム集"   (catalog title)
//   rows.field(1, 0) -> u"DOS\\SETUP.EXE"   (row path)
//   rows.field(2, 0) -> u"99/12/31 23:55",  rows.field(3, 0) -> u"700,000,000"
//   highlight mark of a row: its group's colour number 1..13 (consecutive
//   groups differ); the changes: 1 added, 2 removed, 3 changed, 4 moved
//   logic.jump(displayRow, true, target)   loads the catalog, marks the
//   other rows of the group in it, shows the row and marks it current
#include <cstdint>
#include <optional>
#include <vector>

#include "compare/CatalogDiff.h"
#include "compare/CompareScan.h"
#include "compare/FoundFiles.h"
#include "core/RowStore.h"
#include "platform/FileSystem.h"
#include "select/FindFormLogic.h"
#include "text/Text.h"

namespace zevro {

class CompareFormLogic {
public:
  enum class Mode { None, Duplicates, OnlyHere, Changes };

  // Captions of the window and its controls.
  static constexpr TextView DuplicatesCaption = u"重複ファイル";
  static constexpr TextView OnlyHereCaption = u"このメディアにしかないファイル";
  static constexpr TextView ChangesCaption = u"カタログの比較";
  static constexpr TextView StartCaption = u"検索 開始";
  static constexpr TextView StopCaption = u"検索 中止";
  static constexpr TextView ProgressHead = u"検索中： ";
  static constexpr TextView StoppedText = u"中止しました";
  static constexpr TextView NothingText = u"見つかりませんでした";
  static constexpr TextView ChooseTitle = u"比較するカタログを選択";
  static constexpr TextView ChooseFilter = u"カタログ (CCT)|*.CCT|すべてのファイル (*.*)|*.*";
  static constexpr TextView NotAListFile = u"カタログ・ファイルではありません：|";
  static constexpr TextView ChangeNames[4] = {u"追加", u"削除", u"変更", u"移動"};
  static constexpr int GroupColours = 13;

  explicit CompareFormLogic(RowStore& grid);

  Mode mode() const { return mode_; }
  bool running() const { return running_; }
  // The stop button: the running comparison ends at its next chance.
  void requestStop() { stopRequested_ = true; }

  // Each fills the grid afresh; false when the user stopped it (the grid is
  // then left empty). hooks.pump is asked between catalogs and every so
  // many rows; a stop request ends it too.
  bool findDuplicates(FileSystem& files, const NativePath& catalogFolder, const CompareFilters& filters,
                      CatalogScan::Hooks hooks);
  // fileName: the shown catalog, u"_03CD_GAMES.cct", in the catalog folder.
  bool findOnlyHere(FileSystem& files, const NativePath& catalogFolder, TextView fileName,
                    const CompareFilters& filters, CatalogScan::Hooks hooks);
  // What changed from `other` (a list file anywhere) to the shown catalog
  // (its file name in the catalog folder). An `other` that is no list file
  // gives nullopt (the window says so); else the number of changes.
  std::optional<int> compareWith(FileSystem& files, const NativePath& catalogFolder, TextView shownName,
                                 const NativePath& other, bool members);

  // The summary under the grid: u"3 グループ  7 ファイル  1,234,567 バイト" for
  // duplicates (the bytes the copies waste), u"12 ファイル  98,765 バイト"
  // for the files on one medium, u"5 件" for the changes.
  Text summary() const;
  // The caption of the window for the comparison shown: the mode's caption,
  // with the catalog's title for the two that work on one.
  Text caption() const;
  int groupOf(int storedRow) const;  // 1.. for duplicates, 0 otherwise

  // The jump to the row shown at displayRow; false when there is none or
  // its catalog could not be shown.
  bool jump(int displayRow, bool show, JumpTarget& target);

  const FoundFiles& found() const { return found_; }

private:
  struct Target {
    Text fileName;  // the list file holding the row
    int group = 0;
  };
  CatalogScan::Hooks withStop(CatalogScan::Hooks hooks);
  void start(Mode mode);
  void fillRows();
  bool append(TextView title, TextView path, TextView date, std::uint64_t size, int mark, Target target);

  RowStore& grid_;
  Mode mode_ = Mode::None;
  bool running_ = false;
  bool stopRequested_ = false;
  FoundFiles found_;
  std::vector<CatalogDiff::Change> changes_;
  Text subject_;  // the title of the catalog compared, for the caption
  std::vector<Target> targets_;  // by stored grid row
};

}  // namespace zevro
