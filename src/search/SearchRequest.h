#pragma once
// What one search looks for: the first term, optionally a second term joined
// by AND or OR, the columns searched and the matching switches; the terms are
// folded once here and then run against every catalog.
//
//   SearchRequest r(u"readme", switches);                          one term, both columns
//   SearchRequest r(u"ｶﾞｲﾄﾞ", switches, column::Name);             names only
//   SearchRequest r(u"cat", switches, column::Both, Condition::And, u"dog");
//
// A catalog's text is folded with foldText (once per catalog) and then
// searched with findIn or, row by row, with HitRowFinder.
#include <cstddef>

#include "search/CharClass.h"
#include "search/Match.h"
#include "search/MatchSwitches.h"
#include "search/SearchTerm.h"
#include "text/Text.h"

namespace zevro {

// How the second term joins the first.
enum class Condition { Off, And, Or };

// The column filter (option SearchMode): a bit set.
namespace column {
inline constexpr unsigned Name = 1;     // folder and file names (field 0)
inline constexpr unsigned Comment = 2;  // everything after the name field
inline constexpr unsigned Both = 3;
}  // namespace column

class SearchRequest {
public:
  // secondTerm is taken with blanks trimmed at both ends; when it is then
  // empty, or condition is Off, the request is a one-term search.
  SearchRequest(TextView term, const MatchSwitches& switches, unsigned columns = column::Both,
                Condition condition = Condition::Off, TextView secondTerm = {});

  const SearchTerm& first() const { return first_; }
  const SearchTerm& second() const { return second_; }  // empty in a one-term search
  Condition condition() const { return condition_; }
  bool isTwoTerm() const { return condition_ != Condition::Off; }
  unsigned columns() const { return columns_; }
  const MatchSwitches& switches() const { return switches_; }

  // How a searched text is folded: W and C of either term. A text folded
  // to full width may be shorter than the original ("ｶﾞ" -> "ガ"), so map
  // positions back by row, not by offset.
  bool foldsWidth() const { return width_; }
  bool foldsCase() const { return upper_; }
  bool foldsText() const { return width_ || upper_; }

  // out := text folded as above (out's storage is reused).
  void foldText(TextView text, Text& out) const;

  // The first occurrence of the first term in a folded text (SearchTerm::find).
  Match findIn(TextView text, std::size_t from = 0, std::size_t candidatesEnd = Match::npos,
               TextStart start = TextStart::Empty) const {
    return first_.find(text, from, candidatesEnd, start);
  }

private:
  MatchSwitches switches_;
  unsigned columns_;
  Condition condition_;
  SearchTerm first_;
  SearchTerm second_;
  bool width_ = false;
  bool upper_ = false;
};

}  // namespace zevro
