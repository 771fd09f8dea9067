#pragma once
// Search patterns: the test that makes a term a pattern, and the matcher.
//
// Pattern syntax:
//   ?        one character, never a control character (codes 0..31)
//   *        a run of characters within the current field; the character it
//            starts on must not be a control character ("ab*" does not find a
//            name that ends in "ab")
//   [xy] [!xy] [a-c]
//            one character in (not in) the list; "a-c" is a range by code
//   #        one digit 0-9, but only after the first "*"; before it "#" is
//            an ordinary character ("a#?" finds "a#x", "a*#" finds "ab1")
//   other    the character itself ("\" included; use [*] [?] [#] [[] for the
//            special characters)
// A field ends at a field marker (codes 16..31), the end marker (code 0) or
// the end of the text; no part of a pattern ever matches across one, so a
// match always lies inside one field of one row.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "search/CharClass.h"
#include "search/Match.h"
#include "search/PlainSearcher.h"
#include "text/Text.h"

namespace zevro {

// Whether a (folded) term is matched as a pattern. Always false when pattern
// mode is off. A term with "?" or "*" is a pattern unless it starts with one
// of them; a term with neither is a pattern when it holds "[", later "]",
// and something in between:
//   "a*b", "a?c", "[xy]z" -> true;   "*abc", "?abc", "abc", "[]z", "a[b" -> false.
bool IsWildKey(TextView term, bool patternMode);

// A pattern compiled once and run against many texts.
class WildPattern {
public:
  explicit WildPattern(TextView pattern);

  // The first match that starts at or after from and before candidatesEnd
  // (0-based; the match itself may run on past candidatesEnd). With
  // wholeWord, a match counts only when it passes the whole-word test on its
  // matched extent; a "*" match that could end at several places counts when
  // one of the ends does. The length is that of the longest counting match.
  Match find(TextView text, std::size_t from = 0, std::size_t candidatesEnd = Match::npos, bool wholeWord = false,
             TextStart start = TextStart::Empty) const;

  // The run of ordinary characters the pattern starts with ("ab" for "ab?c*");
  // candidates are the places where it occurs.
  TextView literalPrefix() const { return prefix_.needle(); }

private:
  enum class Op : std::uint8_t { Char, Any, Digit, Set, Star, Never };
  struct Element {
    Op op = Op::Char;
    bool negated = false;     // Set: [!…]
    char16_t c = 0;           // Char
    std::uint32_t first = 0;  // Set: ranges_[first, first + count)
    std::uint32_t count = 0;
  };
  struct Range {
    char16_t low;
    char16_t high;
  };
  // The outcome of trying one candidate position.
  static constexpr std::size_t NoMatch = Match::npos;
  static constexpr std::size_t TextEnded = Match::npos - 1;

  void addSet(TextView list, std::vector<Element>& out);
  bool setHas(const Element& e, char16_t x) const;
  bool headMatches(const Element& e, char16_t x) const;
  bool tailMatches(const Element& e, char16_t x) const;
  std::size_t matchAt(TextView text, std::size_t n, bool wholeWord) const;
  std::size_t longestTail(TextView text, std::size_t l, bool wholeWord) const;

  std::vector<Element> head_;  // the elements before the first "*"
  std::vector<Element> tail_;  // from the first "*" on (empty when there is none)
  std::vector<Range> ranges_;
  PlainSearcher prefix_;
};

// The first place at or after from where pattern matches in text (compiles
// the pattern on every call; keep a WildPattern to search many texts).
Match FindWild(std::size_t from, TextView text, TextView pattern);

}  // namespace zevro
