#include "select/FindFormLogic.h"

#include <algorithm>

#include "core/OptionKeys.h"
#include "core/Strings.h"
#include "core/TermHistory.h"

namespace zevro {

namespace {

constexpr int DefaultMedia = 7;
constexpr int DefaultColumns = 3;
constexpr int NumPad0 = 96;

}  // namespace

FindFormLogic::FindFormLogic(SharedSearch& shared, OptionStore& options) : shared_(shared), options_(options) {
  media_ = static_cast<unsigned>(options.readNumber(opt::MediaMode, DefaultMedia)) & media::All;
  columns_ = static_cast<unsigned>(options.readNumber(opt::SearchMode, DefaultColumns)) & column::Both;
  genresOn_ = options.readNumber(opt::JanreMode, 0) != 0;
  genreList_ = options.readText(opt::JanreList, Text(GenreCount, u'0'));
  if (genreList_.size() != GenreCount) genreList_.resize(GenreCount, u'0');
}

bool FindFormLogic::commitTerm(TextView text, int box) {
  if (running_ || text.empty()) return false;
  if (box == 0) {
    term_ = Text(text);
    return shared_.commitWord(text);
  }
  return termhistory::commit(secondTerms_, text);
}

void FindFormLogic::setSecondTerms(std::vector<Text> terms) {
  if (terms.size() > termhistory::Limit) terms.resize(termhistory::Limit);
  secondTerms_ = std::move(terms);
}

Condition FindFormLogic::clickCondition(int yTwips) {
  if (yTwips >= ConditionLowerPart)
    condition_ = condition_ == Condition::Or ? Condition::Off : Condition::Or;
  else
    condition_ = condition_ == Condition::And ? Condition::Off : Condition::And;
  return condition_;
}

bool FindFormLogic::act(FilterAction action) {
  if (running_) return false;
  switch (action) {
    case FilterAction::None: return true;
    case FilterAction::AllGenres: genresOn_ = false; return true;
    case FilterAction::SomeGenres: genresOn_ = true; return true;
    case FilterAction::ToggleCd: media_ ^= media::CD; return true;
    case FilterAction::ToggleFd: media_ ^= media::FD; return true;
    case FilterAction::ToggleHd: media_ ^= media::HD; return true;
    case FilterAction::ToggleNames: columns_ ^= column::Name; return true;
    case FilterAction::ToggleComments: columns_ ^= column::Comment; return true;
    case FilterAction::ToggleWidth: shared_.toggle(SwitchKind::Width); return true;
    case FilterAction::TogglePattern: shared_.toggle(SwitchKind::Pattern); return true;
    case FilterAction::ToggleWholeWord: shared_.toggle(SwitchKind::WholeWord); return true;
  }
  return true;
}

void FindFormLogic::pickGenres(const std::vector<int>& genres) {
  genreList_.assign(GenreCount, u'0');
  for (int g : genres)
    if (g >= 0 && g < static_cast<int>(GenreCount)) genreList_[static_cast<std::size_t>(g)] = u'1';
  options_.writeText(opt::JanreList, genreList_);
}

FilterAction FindFormLogic::altKey(int keyCode) {
  if (keyCode > NumPad0 && keyCode <= NumPad0 + 9) keyCode = '0' + keyCode - NumPad0;
  switch (keyCode) {
    case 'A': return FilterAction::AllGenres;
    case 'J': return FilterAction::SomeGenres;
    case '1': return FilterAction::ToggleCd;
    case '2': return FilterAction::ToggleFd;
    case '3': return FilterAction::ToggleHd;
    case 'F': return FilterAction::ToggleNames;
    case 'C': return FilterAction::ToggleComments;
    case '7': return FilterAction::ToggleWidth;
    case '8': return FilterAction::TogglePattern;
    case '9': return FilterAction::ToggleWholeWord;
    default: return FilterAction::None;
  }
}

std::optional<TextView> FindFormLogic::startProblem() const {
  if ((media_ & media::All) == 0) return NoMediumMessage;
  if ((columns_ & column::Both) == 0) return NoColumnMessage;
  return std::nullopt;
}

std::optional<CatalogScan::Outcome> FindFormLogic::search(FileSystem& files, const NativePath& catalogFolder,
                                                          TextView secondText, SearchResults& results,
                                                          CatalogScan::Hooks hooks, SearchIndexes* indexes) {
  if (running_ || !CatalogScan::termLongEnough(term_)) return std::nullopt;
  const SearchRequest request(term_, shared_.switches(), columns_, condition_, secondText);
  running_ = true;
  stopRequested_ = false;
  // Stop answers through the pump, whatever the window's own pump says.
  std::function<bool()> pump = std::move(hooks.pump);
  hooks.pump = [this, pump] { return (!pump || pump()) && !stopRequested_; };
  CatalogScan scan(files, catalogFolder, std::move(hooks));
  scan.useIndexes(indexes);
  const CatalogScan::Outcome outcome = scan.run(request, media_, GenreFilter{genresOn_, genreList_}, results);
  running_ = false;
  stopRequested_ = false;
  return outcome;
}

bool FindFormLogic::jump(const SearchResults& results, int displayRow, bool show, JumpTarget& target) {
  const RowStore& grid = results.grid();
  if (displayRow < 0 || displayRow >= grid.shownCount()) return false;
  const std::span<const std::int32_t> order = grid.displayOrder();
  const int row = order[static_cast<std::size_t>(displayRow)];
  const int catalog = results.catalogIndexOf(row);
  const SearchListEntry* entry = results.catalogOf(row);
  if (!entry) return false;
  target.loadCatalog(entry->fileName);
  // A load that did not happen leaves another catalog shown: its rows must not be marked.
  const Text shown = target.currentListFile();
  if (asciiLower(shown) != asciiLower(entry->fileName)) return false;
  if (asciiLower(shown) != asciiLower(lastJumped_)) {
    lastJumped_ = shown;
    // The run of neighbouring rows from this catalog; two catalogs of the
    // same (or no) title side by side stay apart.
    int first = displayRow;
    while (first > 0 && results.catalogIndexOf(order[static_cast<std::size_t>(first - 1)]) == catalog) --first;
    int last = displayRow;
    while (last + 1 < grid.shownCount() && results.catalogIndexOf(order[static_cast<std::size_t>(last + 1)]) == catalog)
      ++last;
    for (int r = first; r <= last; ++r) target.markRow(grid.fieldView(1, order[static_cast<std::size_t>(r)]), false);
  }
  const TextView path = grid.fieldView(1, row);
  target.showPage(path, show);
  target.markRow(path, true);
  return true;
}

Text FindFormLogic::printTitle() const {
  Text title(PrintTitleHead);
  title += term_;
  title += PrintTitleTail;
  return title;
}

void FindFormLogic::saveOptions() const {
  options_.writeNumber(opt::JanreMode, genresOn_ ? 1 : 0);
  options_.writeNumber(opt::MediaMode, media_);
  options_.writeNumber(opt::SearchMode, columns_);
}

}  // namespace zevro
