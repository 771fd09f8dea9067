#pragma once
// The rows of one catalog that a search request finds, in row order, each
// once: one term, two terms joined by AND or OR, with the column filter and
// the whole-word test.
//
// The text is a record heap (folded with the request's foldText): every row
// starts with code 16, its name follows up to code 17, its comment up to
// code 18, and the further fields (date, size, …) follow; row 0 is the title
// line. The search runs from occurrence to occurrence over the whole text and
// takes apart only the rows that hold one:
//   - a row is found by the first term when the term occurs in it in a
//     column of the filter: the name column (before code 17) or the comment
//     column (everything after the name, date and size included);
//   - AND: the second term must occur too, in the same row, in the part the
//     filter names: the name (filter 1), the comment field only (filter 2),
//     or name and comment (filter 3); any occurrence that passes the
//     whole-word test will do;
//   - OR: a row found by either term (each by the first-term rule).
//
//   HitRowFinder rows(request, folded);
//   for (auto step = rows.next(1 << 20); step.kind != HitRowFinder::Done; step = rows.next(1 << 20)) {
//     if (step.kind == HitRowFinder::Paused) { pump(); if (cancelled()) break; continue; }
//     use(step.rowStart);   // position of the row's code 16 in the folded text
//   }
#include <array>
#include <cstddef>

#include "search/Match.h"
#include "search/SearchRequest.h"
#include "text/Text.h"

namespace zevro {

class HitRowFinder {
public:
  enum Kind { Row, Paused, Done };
  struct Step {
    Kind kind = Done;
    std::size_t rowStart = Match::npos;  // Row: where the row's code 16 stands (0 when none precedes the hit)
  };

  // Both the request and the text must outlive the finder.
  HitRowFinder(const SearchRequest& request, TextView text);

  // The next hit row. With a budget, each term tries at most that many
  // further candidate positions; when that is not enough to decide the next
  // row, the answer is Paused and the next call goes on from there (so a
  // caller can let the window system run on long texts).
  Step next(std::size_t budget = Match::npos);

private:
  struct Stream {
    const SearchTerm* term = nullptr;
    bool needsSecond = false;           // AND: the row must also hold the second term
    std::size_t pos = 0;                // where the next occurrence is looked for
    std::size_t pending = Match::npos;  // a row found and not yet handed out
    bool exhausted = false;
  };

  void advance(Stream& s, std::size_t budget) const;
  std::size_t rowStartBefore(std::size_t at) const;
  unsigned columnOf(std::size_t rowStart, std::size_t at) const;
  bool secondTermInRow(std::size_t rowStart, std::size_t at) const;

  const SearchRequest& request_;
  TextView text_;
  std::array<Stream, 2> streams_;
  std::size_t streamCount_ = 1;
};

}  // namespace zevro
