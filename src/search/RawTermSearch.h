#pragma once
// The fast way through a catalog: the terms of a plain search, encoded as
// CP932, are looked for in the list file's bytes as read, and only the rows
// where they occur are decoded (and then judged exactly by the matching
// rules). Nothing is decoded for a catalog without such bytes.
//
//   RawTermSearch raw(request);            // request "README", no folding, no pattern
//   raw.reset(file.heap());
//   for (std::size_t at = raw.next(0); at != RawTermSearch::npos; at = raw.next(rowEnd)) { … }
//
// A byte occurrence is a candidate, not yet a hit: it may begin inside a
// double-byte character ("ソ" is 83 5C, so "\" occurs in its bytes), and the
// column filter, the whole-word test and a second AND term are not applied
// here. Every row that does hold a hit holds a byte occurrence, so judging
// the decoded candidate rows finds exactly the rows of a search over the
// decoded text.
//
// That holds only when every character of a term has exactly one CP932 form
// and the text is compared unfolded; suits() tells when (no width or case
// folding, no pattern, no control character, no character CP932 lacks or
// writes in two ways, like "≒" 81 E0 / 87 90). Other requests decode the
// whole catalog.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "search/ByteSearcher.h"
#include "search/SearchRequest.h"

namespace zevro {

class RawTermSearch {
public:
  static constexpr std::size_t npos = std::string_view::npos;

  // Whether the request can be searched this way.
  static bool suits(const SearchRequest& request);

  // The bytes looked for: the first term, and with OR the second one (with
  // AND a row must hold the first term anyway). Only for a request that suits.
  explicit RawTermSearch(const SearchRequest& request);

  // Starts over on another text (a list file's records).
  void reset(std::string_view bytes);

  // The position of the first byte occurrence of a term at or after `from`
  // (the smallest of the terms'); npos when there is none. Positions asked
  // for must not go down between resets.
  std::size_t next(std::size_t from);

private:
  struct Needle {
    ByteSearcher bytes;
    std::size_t found = 0;  // the occurrence last found, valid for searches from up to there
    bool searched = false;
  };
  std::size_t nextOf(Needle& needle, std::size_t from) const;

  std::array<Needle, 2> needles_;
  std::size_t count_ = 1;
  std::string_view text_;
};

}  // namespace zevro
