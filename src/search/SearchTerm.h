#pragma once
// One search term, prepared once and run against many texts.
//
// Preparing "ｶﾞｲﾄﾞ" with width folding on: W (the text needs width folding),
// folded "ガイド", plain text. Preparing "a*b" with width folding and pattern
// mode on: folded "ａ＊ｂ", plain text (the folded "＊" is no pattern
// character). Preparing "ABC" with case folding on: C, folded "ABC".
//
// The searched text must be folded the same way first (foldText with the W
// and C of the term, or of either term of a two-term search): the term is
// compared exactly with it.
#include <cstddef>
#include <optional>

#include "search/CharClass.h"
#include "search/Match.h"
#include "search/MatchSwitches.h"
#include "search/PlainSearcher.h"
#include "search/WildPattern.h"
#include "text/Text.h"

namespace zevro {

class SearchTerm {
public:
  // The empty term: it is found nowhere.
  SearchTerm() = default;
  SearchTerm(TextView term, const MatchSwitches& switches);

  // The term as compared: to full width when W, then to upper case when C.
  const Text& folded() const { return folded_; }
  bool empty() const { return folded_.empty(); }
  bool widthFolds() const { return width_; }               // W: width folding is on and NeedWidthFold(term)
  bool caseFolds() const { return upper_; }                // C: case folding is on and HasLatinLetter(term)
  bool isPattern() const { return pattern_.has_value(); }  // IsWildKey(folded term)
  bool wholeWord() const { return wholeWord_; }

  // out := text folded with this term's W and C.
  void foldText(TextView text, Text& out) const;

  // The first occurrence at or after from (0-based) that starts before
  // candidatesEnd, skipping occurrences that fail the whole-word test when
  // whole-word mode is on. text must be folded already. Plain terms are
  // searched without allocating.
  Match find(TextView text, std::size_t from = 0, std::size_t candidatesEnd = Match::npos,
             TextStart start = TextStart::Empty) const;

private:
  Match findPlain(TextView text, std::size_t from, std::size_t candidatesEnd, TextStart start) const;

  Text folded_;
  bool width_ = false;
  bool upper_ = false;
  bool wholeWord_ = false;
  std::optional<WildPattern> pattern_;
  PlainSearcher plain_;
};

}  // namespace zevro
