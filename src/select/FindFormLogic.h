#pragma once
// Everything the search window decides, without a window: committing the
// two term boxes into their histories, the condition switch, the filter
// buttons and their Alt keys, the checks before a search, the search itself
// through the engine (the window system runs through pump()), and the jump
// from a result row into the main window.
//
//   FindFormLogic logic(shared, options);       // shared with the main window
//   logic.commitTerm(u"readme", 0);             // first box: history + term
//   logic.startProblem()                        // nullopt, or the message to show
//   logic.search(files, catalogFolder, results, pump);
//   logic.jump(results, displayRow, true, mainWindow);
#include <functional>
#include <iterator>
#include <optional>
#include <vector>

#include "core/OptionStore.h"
#include "search/CatalogScan.h"
#include "search/SearchRequest.h"
#include "search/SearchResults.h"
#include "search/SharedSearch.h"
#include "text/Text.h"

namespace zevro {

// The main window as a jump sees it.
class JumpTarget {
public:
  virtual ~JumpTarget() = default;
  // Loads the catalog of the list file name (u"_03CD_GAMES.cct"); it may
  // fail (busy, the save question cancelled, the file gone).
  virtual void loadCatalog(TextView fileName) = 0;
  // The list file name of the catalog shown now; empty when none. Compared
  // without regard to ASCII case, as the folder's names are.
  virtual Text currentListFile() const = 0;
  // Shows the page holding the row of that path; `show` brings the window up.
  virtual void showPage(TextView path, bool show) = 0;
  // Marks the row of that path as a hit, the current hit when `current`.
  virtual void markRow(TextView path, bool current) = 0;
};

enum class FilterAction {
  None,
  AllGenres,
  SomeGenres,
  ToggleCd,
  ToggleFd,
  ToggleHd,
  ToggleNames,
  ToggleComments,
  ToggleWidth,
  TogglePattern,
  ToggleWholeWord,
};

class FindFormLogic {
public:
  // ---- Texts of the window ----
  static constexpr TextView Caption = u"検索リスト";
  static constexpr TextView StartCaption = u"検索 開始";
  static constexpr TextView StopCaption = u"検索 中止";
  static constexpr TextView CountTip = u"検索の結果、見つかった件数が表示されます";
  static constexpr TextView SwitchTip = u"クリックすると、オン･オフを切り替えられます";
  static constexpr char16_t NoMediumText[] =
      u"検索対象となるメディアを、\x08\x01" u"CD-ROM、FLOPPY、HD\x07\0 の中から|少なくとも１つは選択して下さい";
  static constexpr TextView NoMediumMessage{NoMediumText, std::size(NoMediumText) - 1};
  static constexpr char16_t NoColumnText[] =
      u"検索対象となる欄を、\x08\x01フォルダー欄、コメント欄\x07\0 の中から|少なくとも１つは選択して下さい";
  static constexpr TextView NoColumnMessage{NoColumnText, std::size(NoColumnText) - 1};
  static constexpr TextView PrintTitleHead = u"検索結果【";
  static constexpr TextView PrintTitleTail = u"】";
  // The condition switch: a click at this height (twips) or lower is on its lower part.
  static constexpr int ConditionLowerPart = 150;
  static constexpr std::size_t GenreCount = 20;

  FindFormLogic(SharedSearch& shared, OptionStore& options);

  // ---- term boxes ----
  // Box 0 (first term): the shared history and the search term. Box 1: the
  // second-term history only. Nothing for an empty text. False when nothing
  // was committed (empty text, or a search runs).
  bool commitTerm(TextView text, int box);
  const Text& term() const { return term_; }
  const std::vector<Text>& secondTerms() const { return secondTerms_; }
  void setSecondTerms(std::vector<Text> terms);
  // OpenFind(text): commits the text into box 0.
  void open(TextView text) { commitTerm(text, 0); }

  // ---- condition switch ----
  Condition condition() const { return condition_; }
  // A click at height y (twips) on the switch; the new position. Off: the
  // second box is disabled and the focus goes to start/stop; else the second
  // box is enabled and gets the focus.
  Condition clickCondition(int yTwips);
  bool secondBoxEnabled() const { return condition_ != Condition::Off; }

  // ---- filters (each false while a search runs: the window beeps) ----
  unsigned media() const { return media_; }
  unsigned columns() const { return columns_; }
  bool genresOn() const { return genresOn_; }
  const Text& genreList() const { return genreList_; }
  bool act(FilterAction action);
  // The genres picked in the genre picker (numbers 0..19): JanreList
  // becomes twenty "0" with a "1" for each, and is stored at once.
  void pickGenres(const std::vector<int>& genres);
  // The action of a key pressed with Alt (key codes: 'A', '1', numeric pad
  // 97..105); None for every other key.
  static FilterAction altKey(int keyCode);

  // ---- start/stop ----
  bool running() const { return running_; }
  TextView buttonCaption() const { return running_ ? StopCaption : StartCaption; }
  // The message that stops a search before it starts; nullopt when it may.
  std::optional<TextView> startProblem() const;
  // Searches with the window's settings (the committed term, the second
  // box's text when the condition is AND or OR). nullopt when the term is
  // too short (the window beeps). With indexes, catalogs are searched
  // through them (the results are the same, only sooner).
  std::optional<CatalogScan::Outcome> search(FileSystem& files, const NativePath& catalogFolder, TextView secondText,
                                             SearchResults& results, CatalogScan::Hooks hooks,
                                             SearchIndexes* indexes = nullptr);
  // Stop was pressed: the next pump() answers false.
  void requestStop() { stopRequested_ = true; }
  bool stopRequested() const { return stopRequested_; }

  // ---- jump ----
  // Jumps to the result row shown at displayRow. The rows of the same
  // catalog next to it get the hit mark once per catalog, the row itself the
  // current-hit mark. False when the catalog did not load (nothing marked).
  bool jump(const SearchResults& results, int displayRow, bool show, JumpTarget& target);
  const Text& lastJumpedCatalog() const { return lastJumped_; }

  // The print title: u"検索結果【readme】".
  Text printTitle() const;

  // MediaMode, SearchMode, JanreMode (when the program ends).
  void saveOptions() const;

private:
  SharedSearch& shared_;
  OptionStore& options_;
  Text term_;
  std::vector<Text> secondTerms_;
  Condition condition_ = Condition::And;
  unsigned media_ = media::All;
  unsigned columns_ = column::Both;
  bool genresOn_ = false;
  Text genreList_;
  bool running_ = false;
  bool stopRequested_ = false;
  Text lastJumped_;
};

}  // namespace zevro
