#include "search/SearchRequest.h"

#include "search/Folding.h"

namespace zevro {

namespace {

TextView trimBlanks(TextView text) {
  const std::size_t first = text.find_first_not_of(u' ');
  if (first == TextView::npos) return {};
  return text.substr(first, text.find_last_not_of(u' ') - first + 1);
}

}  // namespace

SearchRequest::SearchRequest(TextView term, const MatchSwitches& switches, unsigned columns, Condition condition,
                             TextView secondTerm)
    : switches_(switches), columns_(columns), condition_(condition), first_(term, switches) {
  const TextView second = trimBlanks(secondTerm);
  if (second.empty()) condition_ = Condition::Off;
  if (condition_ != Condition::Off) second_ = SearchTerm(second, switches);
  width_ = first_.widthFolds() || second_.widthFolds();
  upper_ = first_.caseFolds() || second_.caseFolds();
}

void SearchRequest::foldText(TextView text, Text& out) const { zevro::foldText(text, width_, upper_, out); }

}  // namespace zevro
