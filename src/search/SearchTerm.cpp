#include "search/SearchTerm.h"

#include <algorithm>

#include "search/Folding.h"

namespace zevro {

SearchTerm::SearchTerm(TextView term, const MatchSwitches& switches)
    : width_(switches.widthFold && NeedWidthFold(term)),
      upper_(switches.caseFold && HasLatinLetter(term)),
      wholeWord_(switches.wholeWord) {
  zevro::foldText(term, width_, upper_, folded_);
  if (IsWildKey(folded_, switches.pattern))
    pattern_.emplace(folded_);
  else
    plain_ = PlainSearcher(folded_);
}

void SearchTerm::foldText(TextView text, Text& out) const { zevro::foldText(text, width_, upper_, out); }

Match SearchTerm::find(TextView text, std::size_t from, std::size_t candidatesEnd, TextStart start) const {
  if (folded_.empty()) return {};
  if (pattern_) return pattern_->find(text, from, candidatesEnd, wholeWord_, start);
  return findPlain(text, from, candidatesEnd, start);
}

Match SearchTerm::findPlain(TextView text, std::size_t from, std::size_t candidatesEnd, TextStart start) const {
  const std::size_t limit = std::min(candidatesEnd, text.size());
  // Occurrences start before limit; they may reach past it.
  const std::size_t end = limit + folded_.size() - 1;
  for (std::size_t at = from; at < limit; ++at) {
    at = plain_.find(text, at, end);
    if (at == TextView::npos) return {};
    if (!wholeWord_ || IsWholeWord(text, at, folded_.size(), start)) return {at, folded_.size()};
  }
  return {};
}

}  // namespace zevro
